#include "accounts/accounttexts.h"
#include "accounts/drawhistory.h"
#include "accountsbook.h"
#include "app/BillPainter.h"
#include "app/Ledger.h"
#include "app/batch.h"
#include "gui/main/session.h"
#include "reports/reportresult.h"
#include "settings/options.h"
#include "settings/result.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QImageReader>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

const QString Somchai = QStringLiteral("somchai");
const QString Daeng = QStringLiteral("daeng");

int pdfPages(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    return static_cast<int>(QString::fromLatin1(f.readAll()).count(page));
}

struct Fixture {
    TempBook book;
    Session session;
    Ledger ledger{*book.store, session};
    Fixture()
    {
        accountsBook(book);
        QVERIFY(ledger.recordPayment(Somchai, "5000", at("2026-12-09 18:05")).recorded());
    }
};

// somchai's bill without the rows of his bets.
QStringList totalsOnly(const QStringList& bill)
{
    QStringList lines;
    for (const QString& line : bill)
        if (!line.contains(QLatin1Char('-'))) lines << line;
    return lines;
}

// A bill whose first type carries `bets` more bets of 10 on the numbers from 100 up.
QStringList withBets(int bets)
{
    QStringList bill = SomchaiBill;
    for (int i = 0; i < bets; ++i)
        bill.insert(2 + i, QStringLiteral("%1-10").arg(100 + i));
    return bill;
}

BatchRequest parse(const QStringList& args)
{
    QCommandLineParser parser;
    addBatchOptions(parser);
    if (!parser.parse(QStringList{"varnoth"} + args)) return {.batch = true, .usageError = parser.errorText()};
    return batchRequest(parser);
}

} // namespace

class TestBills : public QObject
{
    Q_OBJECT
private slots:
    // The golden bill on pages and in a picture: a PDF page per bill (more for a long one), a
    // picture as wide as a phone screen that reads back as a PNG.
    void billFiles()
    {
        Fixture f;
        Store& store = *f.book.store;
        QList<QStringList> pages;
        QStringList customers;
        for (const Statement& s : statementsFor(store, store, AllChoice)) {
            pages << billLines(s);
            customers << s.bill.customer;
        }
        QCOMPARE(pages.first(), SomchaiBill);
        QTemporaryDir out;
        const BillHeader header{QStringLiteral("ร้านทดสอบ"), at("2026-12-09 19:00"), {}};
        QVERIFY(writeBillsPdf(pages, customers, header, out.filePath("bills.pdf")));
        QCOMPARE(pdfPages(out.filePath("bills.pdf")), 2);

        // A bill longer than a page goes on over as many pages as it needs.
        QStringList longBill = SomchaiBill;
        for (int i = 0; i < 120; ++i)
            longBill.insert(2, QStringLiteral("ถูก %1 แทง 1.00").arg(i));
        QVERIFY(writeBillsPdf({longBill, pages.last()}, customers, header, out.filePath("long.pdf")));
        QVERIFY(pdfPages(out.filePath("long.pdf")) >= 3);

        const QString png = out.filePath(billImageName(Somchai));
        QVERIFY(writeBillPng(SomchaiBill, header, png).ok());
        QImageReader reader(png);
        QCOMPARE(reader.format(), QByteArray("png"));
        const QImage image = reader.read();
        QVERIFY(!image.isNull());
        QCOMPARE(image.width(), BillImageWidth);
        QVERIFY(image.height() > SomchaiBill.size() * 30);
        QVERIFY(image.height() < 4000);
        // Text is drawn on it: many pixels are dark, not a blank page.
        int dark = 0;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2)
                if (qGray(image.pixel(x, y)) < 128) ++dark;
        QVERIFY(dark > 1000);

        QCOMPARE(billImageName("a/b:c"), QString("a_b_c.png"));
        QCOMPARE(billImageName(".hidden"), QString("_.hidden.png"));
        // A file that cannot be written is reported, not left half-made.
        QVERIFY(!writeBillsPdf(pages, customers, header, out.filePath("no/such/folder/bills.pdf")));
    }

    // The printout packs the bets as it packs the main list's records, under a header that names the
    // shop, the time in the Buddhist year, the customer, the draw and the page.
    void billPagesWithBets()
    {
        const QDateTime made = at("2026-12-31 23:30");
        const BillHeader header{QStringLiteral("ร้านทดสอบ"), made, {}, QDate(2027, 1, 1)};
        const PrintJob job = billsJob({SomchaiBill}, {Somchai}, PageGeometry{240, 15840}, header);
        QStringList texts;
        for (const PrintedLine& line : job.lines)
            texts << line.text;
        QCOMPARE(job.pageCount, 1);
        QCOMPARE(texts.mid(0, 4),
                 QStringList({"ร้านทดสอบ    31/12/2569 23:30", "บิลลูกค้า somchai งวดวันที่ 1 มกราคม 2570    หน้า 1/1",
                              Separator, "บิลลูกค้า <somchai>"}));
        const QString blanks(20, QLatin1Char(' '));
        QCOMPARE(texts.mid(4, 3),
                 QStringList({"<3ตัวตรง>", blanks + "123-100" + blanks + "456-20*", "ยอดแทง= 120.00 บาท"}));
        QVERIFY(texts.contains(blanks + "  12-50" + blanks + " 56-10*"));

        BillHeader gregorian = header;
        gregorian.years = YearStyle::Gregorian;
        QCOMPARE(billsJob({SomchaiBill}, {Somchai}, PageGeometry{240, 15840}, gregorian).lines.first().text,
                 QStringLiteral("ร้านทดสอบ    31/12/2026 23:30"));

        // Three hundred bets pack three to a line: a hundred lines, over more than one page.
        QTemporaryDir out;
        QVERIFY(writeBillsPdf({withBets(300)}, {Somchai}, header, out.filePath("long.pdf")));
        const PrintJob longJob = billsJob({withBets(300)}, {Somchai}, PageGeometry{240, 15840}, header);
        QVERIFY(pdfPages(out.filePath("long.pdf")) > 1);
        QCOMPARE(std::count_if(longJob.lines.cbegin(), longJob.lines.cend(),
                               [](const PrintedLine& l) { return l.text.contains("-10 "); }),
                 100);
    }

    // The picture packs as many bets on a line as its width holds and grows with them; a long list
    // goes on over numbered pictures, each under the header.
    void billPicturesWithBets()
    {
        const BillHeader header{QStringLiteral("ร้านทดสอบ"), at("2026-12-09 19:00"), {}, QDate(2026, 12, 16)};
        const int perLine = billPictureBetsPerLine(SomchaiBill);
        QVERIFY(perLine >= 2);
        // The widest packed line fits the picture: nothing is cut off with "…".
        const QStringList packed = billPictureBodies(withBets(40), billPictureBetsPerLine(withBets(40)), 1000).first();
        QFont mono;
        mono.setFamilies({"Tlwg Mono", "DejaVu Sans Mono"});
        mono.setPixelSize(34);
        for (const QString& line : packed)
            if (line.contains('-')) QVERIFY(QFontMetricsF(mono).horizontalAdvance(line) <= BillImageWidth - 96);

        // Four bets on two types make two lines; one line more of text is one step taller.
        const int withAll = billImages(SomchaiBill, header).first().height();
        const int totals = billImages(totalsOnly(SomchaiBill), header).first().height();
        const int step = billImages(totalsOnly(SomchaiBill) << "x", header).first().height() - totals;
        QVERIFY(step > 30);
        QCOMPARE(withAll - totals, 2 * step);

        // The heading moves into the header of every picture; the body is cut into pictures.
        const QList<QStringList> bodies = billPictureBodies(withBets(400), 5);
        QCOMPARE(bodies.first().first(), "<3ตัวตรง>");
        // 26 lines besides the heading and the bets, 82 lines of 402 and 2 bets: 108 lines; the
        // second picture goes on with the type's bets under its heading.
        QCOMPARE(bodies.size(), 3);
        QCOMPARE(bodies[0].size(), BillImageRows);
        QCOMPARE(bodies[1].size(), BillImageRows);
        QCOMPARE(bodies[1].first(), "<3ตัวตรง>");
        QVERIFY(bodies[1][1].contains("-10"));
        QCOMPARE(bodies[2].size(), 108 - 2 * BillImageRows + 1);
        QVERIFY(!bodies[2].first().startsWith('<'));

        QTemporaryDir out;
        const QString path = out.filePath(billImageName(Somchai));
        const QStringList bill = withBets(400);
        const BillPictures written = writeBillPng(bill, header, path);
        QVERIFY(written.ok());
        const qsizetype pictures = billPictureBodies(bill, billPictureBetsPerLine(bill)).size();
        QVERIFY(pictures >= 2);
        QCOMPARE(written.written.size(), pictures);
        QVERIFY(!QFile::exists(path));
        for (int n = 1; n <= pictures; ++n) {
            QCOMPARE(written.written[n - 1], out.filePath(QStringLiteral("somchai-%1.png").arg(n)));
            const QImage image(written.written[n - 1]);
            QCOMPARE(image.width(), BillImageWidth);
            // Every full picture is as tall as the first: the same header, the same count of rows.
            if (n < pictures) QCOMPARE(image.height(), QImage(written.written[0]).height());
        }
        QVERIFY(!QFile::exists(out.filePath(QStringLiteral("somchai-%1.png").arg(pictures + 1))));
        // A picture that cannot be written is named.
        const BillPictures failed = writeBillPng(bill, header, out.filePath("no/such/somchai.png"));
        QVERIFY(!failed.ok());
        QCOMPARE(failed.failed, out.filePath("no/such/somchai-1.png"));
        QCOMPARE(numberedPicturePath("/a/b.c/somchai.png", 2), QString("/a/b.c/somchai-2.png"));

        // Only bets are packed: a dash in the customer's name or in a file named on the bill is no bet.
        const QString damage = DamagedFileText + "/data/x-y/pay.gif";
        QCOMPARE(billPictureBodies({BillHeadingText + "<a-b>", damage, "<2ตัวบน>", "12-5", "34-10"}, 2),
                 QList<QStringList>({{damage, "<2ตัวบน>", "    12-5   34-10"}}));
        QCOMPARE(billPictureBetsPerLine({BillHeadingText + "<a-b-c-d-e-f-g-h-i>", "12-5"}),
                 billPictureBetsPerLine({"12-5"}));
    }

    // Folded to totals by the option or by the batch job; the header takes the draw's date from
    // the saved result, else from the option.
    void totalsOnlyAndTheDrawDate()
    {
        Fixture f;
        Store& store = *f.book.store;
        QCOMPARE(billLines(statementOf(store, Somchai, {}), {}, {true}), totalsOnly(SomchaiBill));
        BatchOptions bill;
        bill.job = BatchJob::Bill;
        bill.customer = Somchai;
        bill.totalsOnly = true;
        QCOMPARE(runBatch(f.ledger, bill).out.mid(0, totalsOnly(SomchaiBill).size()), totalsOnly(SomchaiBill));
        bill.totalsOnly = false;
        QVERIFY(f.ledger.setOption(option::BillTotalsOnly, "1").ok());
        QCOMPARE(runBatch(f.ledger, bill).out.mid(0, totalsOnly(SomchaiBill).size()), totalsOnly(SomchaiBill));

        const QDateTime now = at("2026-12-16 20:00");
        QVERIFY(!billHeader(store, store, now).drawDate.isValid());
        QVERIFY(f.ledger.setOption(option::DrawDate, "16/12/2569").ok());
        QCOMPARE(drawDateLine(billHeader(store, store, now)), QStringLiteral("งวดวันที่ 16 ธันวาคม 2569"));
        QVERIFY(f.ledger.setOption(option::GregorianYear, "1").ok());
        QCOMPARE(drawDateLine(billHeader(store, store, now)), QStringLiteral("งวดวันที่ 16 ธันวาคม 2026"));
        QVERIFY(f.ledger.saveResult({"654321", "111", "222", "333", "444", "21"}).ok());
        QCOMPARE(billHeader(store, store, now).drawDate, QDate::currentDate());
    }

    // Each change of the accounts is one ledger call that says what changed and carries the
    // figures before and after it.
    void ledgerCalls()
    {
        Fixture f;
        QSignalSpy accounts(&f.ledger, &Ledger::accountsChanged);
        const RateChange rate = f.ledger.setCustomerRate(Daeng, Straight3, "450", "12");
        QCOMPARE(rate.before.payout, QString());
        QCOMPARE(rate.after.discount, QString("12"));
        QCOMPARE(accounts.size(), 1);
        QVERIFY(!f.ledger.setCustomerRate(Daeng, Straight3, "45x", "").refusal.isEmpty());
        QCOMPARE(accounts.size(), 1);

        // daeng owes 880 at his own 12%: paying all of it settles him.
        const PaymentResult paid = f.ledger.recordPayment(Daeng, "");
        QVERIFY(paid.recorded());
        QCOMPARE(paid.payment.amount, 880.0);
        QCOMPARE(accounts.size(), 2);
        QVERIFY(!f.ledger.recordPayment(Daeng, "").recorded());
        QCOMPARE(accounts.size(), 2);
    }

    void batchOptions_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("bill of everyone") << QStringList{"--bill"} << true;
        QTest::newRow("bill with files") << QStringList{"--bill", "--png", "d", "--pdf", "f.pdf"} << true;
        QTest::newRow("png with another job") << QStringList{"--view", "--png", "d"} << false;
        QTest::newRow("set-rate") << QStringList{"--set-rate", "--type",   Straight3, "--customer",
                                                 Somchai,      "--payout", "500"}
                                  << true;
        QTest::newRow("set-rate for everyone")
            << QStringList{"--set-rate", "--type", Straight3, "--customer", AllChoice} << false;
        QTest::newRow("set-rate bad percent")
            << QStringList{"--set-rate", "--type", Straight3, "--customer", Somchai, "--discount", "120"} << false;
        QTest::newRow("pay all") << QStringList{"--pay", "all", "--customer", Somchai} << true;
        QTest::newRow("pay words") << QStringList{"--pay", "lots", "--customer", Somchai} << false;
        QTest::newRow("pay without customer") << QStringList{"--pay", "100"} << false;
        QTest::newRow("owed") << QStringList{"--owed"} << true;
        QTest::newRow("bill totals only") << QStringList{"--bill", "--totals-only"} << true;
        QTest::newRow("totals only with another job") << QStringList{"--view", "--totals-only"} << false;
    }
    void batchOptions()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, accepted);
        const BatchRequest r = parse(args);
        QVERIFY(r.batch);
        QVERIFY2(r.usageError.isEmpty() == accepted, qPrintable(r.usageError));
    }

    // The batch jobs print what the windows show and change the book through the ledger.
    void batchJobs()
    {
        Fixture f;
        BatchOptions bill;
        bill.job = BatchJob::Bill;
        bill.customer = Somchai;
        QTemporaryDir out;
        bill.pngFolder = out.filePath("png");
        bill.pdfFile = out.filePath("bills.pdf");
        BatchResult r = runBatch(f.ledger, bill);
        QCOMPARE(r.exitCode, BatchRan);
        QCOMPARE(r.out.mid(0, SomchaiBill.size()), SomchaiBill);
        QVERIFY(QImage(out.filePath("png/somchai.png")).width() == BillImageWidth);
        QCOMPARE(pdfPages(bill.pdfFile), 1);

        BatchOptions pay;
        pay.job = BatchJob::Pay;
        pay.customer = Daeng;
        pay.amount = "abc";
        QCOMPARE(runBatch(f.ledger, pay).exitCode, BatchRefused);
        pay.amount = "300";
        QCOMPARE(runBatch(f.ledger, pay).exitCode, BatchRan);

        BatchOptions owed;
        owed.job = BatchJob::Owed;
        r = runBatch(f.ledger, owed);
        QCOMPARE(r.exitCode, BatchRan);
        QVERIFY(r.out.contains("<daeng> ลูกค้าต้องจ่าย 600.00 บาท ตั้งแต่ งวดนี้"));

        BatchOptions past;
        past.job = BatchJob::Bill;
        past.customer = AllChoice;
        past.pastDraw = "2020-01-01_0000";
        QCOMPARE(runBatch(f.ledger, past).exitCode, BatchRefused);
    }

    // A bill that cannot be priced (a win with no payout rate) takes no payment, and the batch jobs
    // that print it or what is owed exit 1 until the rate is set. Paying all of a bill with a
    // discount of 7.5% settles it to the satang.
    void unknownFiguresAndSatang()
    {
        TempBook book;
        drawnAndPriced(book);
        book.put(QStringLiteral("lotto4.gif"), QStringLiteral("3ตัวตรง#500\r\n"));
        book.stake(Top2, Somchai, "56", 10);
        Session session;
        Ledger ledger{*book.store, session};
        const PaymentResult refused = ledger.recordPayment(Somchai, "");
        QVERIFY(!refused.recorded());
        QCOMPARE(refused.refusal, NoRateOfTypesText + Top2);
        QVERIFY(!QFile::exists(book.file(PaymentsFileName)));

        BatchOptions bill;
        bill.job = BatchJob::Bill;
        bill.customer = Somchai;
        BatchResult r = runBatch(ledger, bill);
        QCOMPARE(r.exitCode, BatchRefused);
        QVERIFY(r.out.contains(BillNoRateText));
        BatchOptions owed;
        owed.job = BatchJob::Owed;
        QCOMPARE(runBatch(ledger, owed).exitCode, BatchRefused);

        book.put(QStringLiteral("lotto4.gif"), QStringLiteral("3ตัวตรง#500\r\n2ตัวบน#70\r\n"));
        book.put(QStringLiteral("lotto7.gif"), QStringLiteral("2ตัวบน#7.5\r\n"));
        book.stake(Top2, Daeng, "12", 15);
        QCOMPARE(runBatch(ledger, bill).exitCode, BatchRan);
        r = runBatch(ledger, owed);
        QCOMPARE(r.exitCode, BatchRan);
        // somchai: 10 less 0.75 against 700.
        QVERIFY(r.out.contains("<somchai> เจ้ามือต้องจ่าย 690.75 บาท ตั้งแต่ งวดนี้"));
        QVERIFY(r.out.contains("<daeng> ลูกค้าต้องจ่าย 13.87 บาท ตั้งแต่ งวดนี้"));
        const PaymentResult paid = ledger.recordPayment(Daeng, "");
        QVERIFY(paid.recorded());
        QCOMPARE(paid.payment.amount, 13.87);
        r = runBatch(ledger, owed);
        QVERIFY(r.out.filter("<daeng>").isEmpty());
        QVERIFY(r.out.contains(OwedByCustomersText + "0.00 บาท"));
        QVERIFY(!ledger.recordPayment(Daeng, "").recorded());
    }

    // Bills of one customer are shown at once on a book of 200 customers.
    void oneBillIsQuick()
    {
        TempBook book;
        drawnAndPriced(book);
        for (int c = 1; c <= 200; ++c) {
            const QString name = QStringLiteral("c%1").arg(c);
            book.stake(Straight3, name, QString::number(100 + c), 10 + c);
        }
        Store& store = *book.store;
        QElapsedTimer timer;
        timer.start();
        const QStringList lines = billLines(statementsFor(store, store, "c100").first());
        const qint64 ms = timer.elapsed();
        QVERIFY(lines.contains("ยอดแทง= 110.00 บาท"));
        QVERIFY2(ms < timeLimit(100), qPrintable(QString::number(ms)));
    }
};

QTEST_MAIN(TestBills)
#include "tst_bills.moc"
