// Backup files brought from other computers: whatever a drive holds is merged into the book, and
// nothing it names may land outside the data folder. The fingerprint that keeps a backup from being
// merged twice must not depend on how its bytes are sliced, on its line ends or on blank lines.
#include "fuzzsupport.h"
#include "storage/folder/store.h"
#include "tools/restore.h"

#include <QDir>

using namespace varnoth;

namespace
{

// The merge creates a customer and twelve stake files for every new heading; start over before the
// folder gets big enough to slow every later input down.
void keepSmall(fuzz::Book& b)
{
    if (QDir(b.folder).count() < 400) return;
    b.reset();
}

// The same records in other clothes: CR LF turned into LF, a blank line after every line, and
// blanks before each line end; and the bytes fed in two slices cut anywhere.
void checkFingerprint(const QByteArray& bytes, size_t cut)
{
    const QString print = recordFingerprint(bytes);
    QByteArray lf = bytes;
    lf.replace("\r\n", "\n");
    QByteArray spaced = lf;
    spaced.replace("\n", " \t\r\n\r\n");
    if (recordFingerprint(lf) != print || recordFingerprint(spaced) != print) std::abort();
    const qsizetype at = qsizetype(cut % size_t(bytes.size() + 1));
    RecordFingerprint sliced;
    sliced.add(QByteArrayView(bytes).first(at));
    sliced.add(QByteArrayView(bytes).sliced(at));
    if (sliced.result() != print) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 20000) return 0;
    fuzz::Book& b = fuzz::book();
    keepSmall(b);
    const QByteArray bytes = fuzz::bytes(data, size);
    checkFingerprint(bytes, size > 0 ? data[0] * 97u : 0u);
    // Records above the ceiling are stored for some inputs and held back for others.
    const bool confirm = size > 0 && (data[size - 1] & 1);
    int asked = 0;
    const MergeResult r = MergeBackupText(*b.store, decodeWindows874(bytes), [&](const QString&) {
        ++asked;
        return confirm;
    });
    if (r.count < 0 || r.amount < 0 || asked > 1 || r.aboveCeiling < 0 || (confirm && r.aboveCeiling > 0)) std::abort();
    b.checkContained();
    return 0;
}
