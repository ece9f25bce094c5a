// Sheet files as they arrive from phones and chat bots: decoding, collapsing and entering them.
#include "core/model/types.h"
#include "entry/sheet.h"
#include "fuzzsupport.h"

#include <QFile>

using namespace varnoth;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 20000) return 0;
    fuzz::Book& b = fuzz::book();
    const QString path = b.root.path() + QStringLiteral("/sheet.txt");
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly)) std::abort();
        f.write(fuzz::bytes(data, size));
    }
    const QString sheet = LoadSheetFile(path);
    QFile::remove(path);
    if (sheet.contains(QStringLiteral("  ")) || sheet.contains(QStringLiteral("\r\n\r\n"))) std::abort();
    SplitSheet(*b.store, sheet, typeNames()[size % 12], QStringLiteral("somchai"));
    SplitSheet(*b.store, decodeSheet(fuzz::bytes(data, size)), QStringLiteral("2ตัวบน"), QStringLiteral("x"));
    b.checkContained();
    return 0;
}
