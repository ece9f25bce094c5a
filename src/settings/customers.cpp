#include "settings/customers.h"

#include "core/model/customername.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "storage/folder/numberlines.h"
#include "storage/folder/store.h"

namespace varnoth
{

QString enteredName(const QString& text)
{
    QString name = CleanName(text);
    name.remove(DuplicateNameText);
    name.remove(QLatin1Char('_'));
    return name;
}

NameEntry AddCustomerName(Store& store, const QString& text1)
{
    NameEntry result{text1, {}};
    const QString name = customerName(enteredName(text1));
    if (name.isEmpty()) return result;
    if (const QString refusal = customerNameRefusal(name); !refusal.isEmpty()) {
        result.lines << refusal;
        return result;
    }
    const QString path = store.customerFile();
    const FileText file = store.readFile(path);
    // Writing over a list that could not be read would lose every customer in it.
    if (file.exists && !file.readable) {
        result.lines << outcomeLine({Status::ReadFailed, path});
        return result;
    }
    const QString list = withoutLineEnds(file.text);
    const QString entry = QLatin1Char('#') + name + QLatin1Char('#');
    QString text;
    if (list.isEmpty()) {
        text = entry;
    } else if (list.contains(entry)) {
        result.text1 = DuplicateNameText;
        return result;
    } else {
        text = list + name + QLatin1Char('#');
    }
    if (!store.WriteWholeFile(path, text)) {
        result.lines << outcomeLine({Status::WriteFailed, path});
        return result;
    }
    result.text1.clear();
    return result;
}

bool customerHasStakes(const Store& store, int customerIndex, QStringList* failures)
{
    for (int t = 0; t < typeNames().size(); ++t) {
        const QString path = store.stakeFilePathAt(t, customerIndex);
        const FileText file = store.readFile(path);
        if (file.exists && !file.readable) {
            // What cannot be read may hold stakes.
            if (failures) *failures << outcomeLine({Status::ReadFailed, path});
            return true;
        }
        bool staked = false;
        forEachNumberLine(QStringView(file.text), [&staked](const TextLine& line) {
            if (!staked && line.hasDash() && Val(line.rest().toString()) > 0) staked = true;
        });
        if (staked) return true;
    }
    return false;
}

ChangeResult removeCustomer(Store& store, const QString& name)
{
    const QString path = store.customerFile();
    const FileText file = store.readFile(path);
    if (file.exists && !file.readable) return changeFailed({Status::ReadFailed, path});
    const QString list = withoutLineEnds(file.text);
    if (name.isEmpty() || !list.contains(QLatin1Char('#') + name + QLatin1Char('#'))) return {};
    // A name listed twice (a list edited by hand) has stake files at each of its places: he is
    // removed only when none of them holds a stake, and then from every place.
    const QList<int> places = Store::customerPlaces(list, name);
    if (places.isEmpty()) return {};
    for (int place : places) {
        QStringList lines;
        if (customerHasStakes(store, place, &lines)) {
            // A stake file that cannot be read may hold stakes: the read is what failed.
            if (!lines.isEmpty()) return {{Status::ReadFailed, {}}, lines};
            return changeFailed({Status::HasStakes, {}});
        }
    }
    QStringList pieces = list.split(QLatin1Char('#'));
    for (int place : places)
        pieces[place].clear();
    if (!store.WriteWholeFile(path, pieces.join(QLatin1Char('#')))) return changeFailed({Status::WriteFailed, path});
    return {};
}

} // namespace varnoth
