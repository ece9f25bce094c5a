// Stake, count, send-out, settings and result files as a hand edit or a damaged disk may leave them,
// read by every report and by the main window's totals. The first byte picks the type and which
// file the rest becomes; the reports run on that type and now and then on every type together.
#include "core/model/types.h"
#include "entry/entry.h"
#include "entry/totals.h"
#include "fuzzsupport.h"
#include "gui/main/session.h"
#include "reports/analysis.h"
#include "reports/cutting.h"
#include "reports/overlimit.h"
#include "reports/prize.h"
#include "reports/statistics.h"
#include "reports/view.h"
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

// Settings that make every report take its longest road: a limit, a cut, a digit cut, rates,
// discounts and a drawn result.
void writeSettings(Store& store)
{
    QString limits, rates, cuts, digitCuts, discounts;
    for (const QString& type : typeNames()) {
        limits += type + QStringLiteral("#100\r\n");
        rates += type + QStringLiteral("#90\r\n");
        cuts += type + QStringLiteral("#1\r\n");
        digitCuts += type + QStringLiteral("#001\r\n");
        discounts += type + QStringLiteral("#10\r\n");
    }
    store.WriteWholeFile(store.limitFile(), limits);
    store.WriteWholeFile(store.rateFile(), rates);
    store.WriteWholeFile(store.numberCutFile(), cuts);
    store.WriteWholeFile(store.digitCutFile(), digitCuts);
    store.WriteWholeFile(store.discountFile(), discounts);
    QString result = QStringLiteral("123456#111#222#333#444#56#\r\n");
    for (const QString& type : typeNames())
        result += type + QStringLiteral("#123-456-56-6-12345-\r\n");
    store.WriteWholeFile(store.resultFile(), result);
    // Stakes above and below the limit on the winning numbers and beside them.
    for (const QString& customer : {QStringLiteral("x"), QStringLiteral("somchai")}) {
        EntryBatch batch(store, customer);
        for (const QString& type : typeNames())
            for (const char* line : {"123-500", "456-50", "12-300", "56-20", "5-100", "6-5", "1234-7", "12345-20"})
                batch.addLine(QString::fromLatin1(line), type, false);
        batch.commit();
    }
}

void runReports(Store& store, const QString& type)
{
    Session session;
    ViewAllData(store, session);
    SearchReport(store, session, QStringLiteral("12"), type, QStringLiteral("x"));
    SearchReport(store, session, QString(), AllChoice, AllChoice);
    OverLimit(store, session, type, false);
    OverLimit(store, session, type, true);
    NumberCutReport(store, session, type);
    PrizeCheck(store, session, type, QStringLiteral("x"));
    PrizeCheck(store, session, AllChoice, AllChoice);
    Analysis(store, type);
    NumberStatistics(store, type);
    customerTotals(store, type, QStringLiteral("x"));
    bookTotals(store);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 40000) return 0;
    fuzz::Book& b = fuzz::book();
    Store& store = *b.store;
    static const bool settled = (writeSettings(store), true);
    (void)settled;
    const QString type = typeNames()[data[0] % 12];
    const QString files[] = {store.StakeFilePath(type, QStringLiteral("x")),
                             store.TypeFilePath(type, Store::CountPrefix),
                             store.TypeFilePath(type, Store::SendOutPrefix),
                             store.limitFile(),
                             store.rateFile(),
                             store.numberCutFile(),
                             store.digitCutFile(),
                             store.discountFile(),
                             store.resultFile()};
    const QString& file = files[(data[0] / 12) % 9];
    const QByteArray before = [&] {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    // The main window reads stake files as bytes, the reports as text: they must count alike.
    const QByteArray content = fuzz::bytes(data + 1, size - 1);
    const StakeTotals fromBytes = totalsOfBytes(content);
    const StakeTotals fromText = totalsOfText(decodeWindows874(content));
    if (fromBytes.count != fromText.count || fromBytes.total != fromText.total) std::abort();
    put(file, content);
    runReports(store, type);
    // Every type together reads every stake file of the book; often enough to see the file in
    // company, not so often that it slows every input down.
    if (data[0] >= 0xc0) runReports(store, AllChoice);
    put(file, before);
    b.checkContained();
    return 0;
}
