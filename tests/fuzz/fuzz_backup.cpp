// Backup files brought from other computers: whatever a drive holds is merged into the book, and
// nothing it names may land outside the data folder.
#include "fuzzsupport.h"
#include "store/store.h"
#include "tools/backup.h"

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 20000) return 0;
    fuzz::Book& b = fuzz::book();
    keepSmall(b);
    const MergeResult r = MergeBackupText(*b.store, decodeWindows874(fuzz::bytes(data, size)));
    if (r.count < 0 || r.amount < 0) std::abort();
    b.checkContained();
    return 0;
}
