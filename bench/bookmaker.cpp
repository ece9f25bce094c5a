#include "bookmaker.h"

#include "core/model/text.h"
#include "core/model/types.h"
#include "storage/folder/store.h"

#include <QFile>

namespace varnoth::bench
{

namespace
{

// The book is scratch data: its files are written without waiting for the disk (no atomic save),
// in the same bytes the store writes, so that a book of a thousand customers is made in seconds.
struct BookWriter {
    void WriteWholeFile(const QString& path, const QString& text)
    {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(encodeWindows874(text + CRLF));
    }
};

} // namespace

QStringList makeBook(const QString& folder, const BookSize& book)
{
    const Store paths(folder);
    BookWriter store;
    QStringList names;
    QString list = QStringLiteral("#");
    for (int c = 1; c <= book.customers; ++c) {
        names << QStringLiteral("c%1").arg(c);
        list += names.last() + QLatin1Char('#');
    }
    store.WriteWholeFile(paths.customerFile(), list);
    const QStringList& types = typeNames();
    for (int t = 0; t < types.size(); ++t) {
        const QStringList& set = NumberSet(types[t]);
        for (int c = 1; c <= book.customers; ++c) {
            QString text;
            text.reserve(set.size() * 12);
            for (int i = 0; i < set.size(); ++i)
                text += set[i] + QLatin1Char('-') + QString::number(10 + (i * 7 + c * 13) % 90) + CRLF;
            store.WriteWholeFile(paths.stakeFilePathAt(t, c), text);
        }
        QString counts, sent;
        for (const QString& n : set) {
            counts += n + QLatin1Char('-') + QString::number(book.customers) + CRLF;
            sent += n + QStringLiteral("-0") + CRLF;
        }
        store.WriteWholeFile(paths.TypeFilePath(types[t], Store::CountPrefix), counts);
        store.WriteWholeFile(paths.TypeFilePath(types[t], Store::SendOutPrefix), sent);
    }
    QString limits, rates, cuts, digits, discounts;
    for (const QString& t : types) {
        limits += t + QStringLiteral("#5000") + CRLF;
        rates += t + QStringLiteral("#90") + CRLF;
        cuts += t + QStringLiteral("#7") + CRLF;
        digits += t + QStringLiteral("#001") + CRLF;
        discounts += t + QStringLiteral("#10") + CRLF;
    }
    store.WriteWholeFile(paths.limitFile(), limits);
    store.WriteWholeFile(paths.rateFile(), rates);
    store.WriteWholeFile(paths.numberCutFile(), cuts);
    store.WriteWholeFile(paths.digitCutFile(), digits);
    store.WriteWholeFile(paths.discountFile(), discounts);
    store.WriteWholeFile(
        paths.resultFile(),
        QStringLiteral("123456#111#222#333#444#56#\r\n3ตัวตรง#456-\r\n3ตัวโต๊ด#456-465-546-564-645-654-\r\n"
                       "2ตัวบน#56-\r\nคู่โต๊ด#56-65-46-64-45-54-\r\n4ตัวโต๊ด#4-5-6-\r\nวิ่งบน#4-5-6-\r\n"
                       "5ตัวโต๊ด#4-5-6-\r\n3ตัวตรงหัว#123-\r\n3ตัวโต๊ดหัว#123-132-213-231-312-321-\r\n"
                       "3ตัวตรงหัวท้าย#123-456-\r\n3ตัวโต๊ดหัวท้าย#123-132-213-231-312-321-456-465-546-564-645-654-\r\n"
                       "3ตัวล่าง#111-222-333-444-\r\n2ตัวล่าง#56-\r\nวิ่งล่าง#5-6-"));
    store.WriteWholeFile(paths.historyFile(), QStringLiteral("#monday#"));
    store.WriteWholeFile(paths.savedListFile(QStringLiteral("monday")),
                         QStringLiteral("<3ตัวตรง>#123-50#456-20##<2ตัวบน>#12-100##"));
    return names;
}

} // namespace varnoth::bench
