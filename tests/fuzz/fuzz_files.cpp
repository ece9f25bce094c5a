// The settings, result, history and customer files as a hand edit or a damaged disk may leave them,
// read by every routine that reads them. The first byte picks the file; the rest is its content.
#include "core/model/types.h"
#include "fuzzsupport.h"
#include "settings/customers.h"
#include "settings/history.h"
#include "settings/keyed.h"
#include "settings/result.h"
#include "storage/folder/store.h"

#include <QFile>

using namespace varnoth;

namespace
{

void put(const QString& path, const QByteArray& content)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) std::abort();
    f.write(content);
}

void readSettings(Store& store)
{
    static const SettingKind kinds[] = {SettingKind::Rate, SettingKind::Limit, SettingKind::NumberCut,
                                        SettingKind::DigitCut, SettingKind::Discount};
    for (const SettingKind kind : kinds)
        for (const QString& type : typeNames())
            settingOf(store, kind, type);
    for (const SettingKind mode : {SettingKind::Rate, SettingKind::NumberCut, SettingKind::Discount, SettingKind::Limit,
                                   SettingKind::DigitCut}) {
        const QStringList items = FillSettingsList(store, mode);
        for (const QString& item : items)
            beginEdit(item);
    }
}

void readHistory(Store& store)
{
    const QStringList names = ListHistory(store);
    for (const QString& name : names.mid(0, 8))
        openSavedList(store, name);
}

void readCustomers(Store& store)
{
    const QStringList names = store.customers();
    for (const QString& type : typeNames())
        for (const QString& name : names.mid(0, 4)) {
            const QString path = store.StakeFilePath(type, name);
            if (!path.isEmpty() && !path.startsWith(store.dataFolder())) std::abort();
        }
    store.creationSequence(QStringLiteral("somchai"));
    if (!names.isEmpty()) removeCustomer(store, names.first());
    if (names.size() > 1) removeCustomer(store, names.last());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 20000) return 0;
    fuzz::Book& b = fuzz::book();
    Store& store = *b.store;
    const QByteArray content = fuzz::bytes(data + 1, size - 1);
    const QString type = typeNames()[data[0] % 12];
    switch (data[0] % 5) {
    case 0: {
        const QString files[] = {store.limitFile(), store.rateFile(), store.numberCutFile(), store.discountFile(),
                                 store.digitCutFile()};
        const QString& file = files[(data[0] / 5) % 5];
        put(file, content);
        store.LookupKeyed(file, type);
        readSettings(store);
        QFile::remove(file);
        break;
    }
    case 1:
        put(store.resultFile(), content);
        LoadResult(store);
        store.LookupKeyed(store.resultFile(), type);
        QFile::remove(store.resultFile());
        break;
    case 2:
        // Either the history itself, or a saved list named in a sound history.
        if ((data[0] / 5) % 2) {
            put(store.historyFile(), "#monday#\r\n");
            put(store.savedListFile(QStringLiteral("monday")), content);
        } else {
            put(store.historyFile(), content);
        }
        readHistory(store);
        QFile::remove(store.historyFile());
        QFile::remove(store.savedListFile(QStringLiteral("monday")));
        break;
    default: {
        // The customer list is the one file here that the creation sequence and the removal write,
        // and the creation sequence adds files; put the book back as it was afterwards so that
        // later inputs start from the same folder.
        // Each name costs twelve stake files, one of them with a hundred thousand lines.
        if (content.count('#') > 16) return 0;
        put(store.customerFile(), content);
        readCustomers(store);
        b.trim();
        break;
    }
    }
    b.checkContained();
    return 0;
}
