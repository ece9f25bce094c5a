#include "accounts/billseal.h"
#include "accountsbook.h"
#include "app/SlipPainter.h"
#include "app/batch.h"
#include "app/spreadsheet.h"
#include "settings/options.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

const QString Seal = QStringLiteral("0004-01YY-BT5F");
const SlipHeader Header{QStringLiteral("ร้านทดสอบ"), {}, at("2026-12-09 19:00"), QStringLiteral("นก")};

QStringList sealedBill()
{
    return SomchaiBill + QStringList{QStringLiteral("ตราบิล ") + Seal};
}

// The page sizes of a PDF in points, as its MediaBox entries give them.
QList<QSizeF> pdfPageSizes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    static const QRegularExpression box(QStringLiteral("/MediaBox\\s*\\[\\s*0 0 ([\\d.]+) ([\\d.]+)"));
    QList<QSizeF> sizes;
    for (const auto& m : box.globalMatch(QString::fromLatin1(f.readAll())))
        sizes << QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble());
    return sizes;
}

QByteArray unzipped(const QString& zip, const QString& member)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), zip, member});
    if (!unzip.waitForFinished(10000) || unzip.exitCode() != 0) return {};
    return unzip.readAllStandardOutput();
}

// A workbook's first sheet as cell reference → (is it a number, its text).
QHash<QString, std::pair<bool, QString>> sheetCells(const QString& path)
{
    QStringList shared;
    QXmlStreamReader strings(unzipped(path, QStringLiteral("xl/sharedStrings.xml")));
    while (!strings.atEnd())
        if (strings.readNext() == QXmlStreamReader::StartElement && strings.name() == QLatin1String("t"))
            shared << strings.readElementText();
    QHash<QString, std::pair<bool, QString>> cells;
    QXmlStreamReader sheet(unzipped(path, QStringLiteral("xl/worksheets/sheet1.xml")));
    QString ref;
    bool isString = false;
    while (!sheet.atEnd()) {
        if (sheet.readNext() != QXmlStreamReader::StartElement) continue;
        if (sheet.name() == QLatin1String("c")) {
            ref = sheet.attributes().value(QLatin1String("r")).toString();
            isString = sheet.attributes().value(QLatin1String("t")) == QLatin1String("s");
        } else if (sheet.name() == QLatin1String("v")) {
            const QString v = sheet.readElementText();
            cells.insert(ref, isString ? std::pair{false, shared.value(v.toInt())} : std::pair{true, v});
        }
    }
    return cells;
}

BatchRequest parse(const QStringList& args)
{
    QCommandLineParser parser;
    addBatchOptions(parser);
    if (!parser.parse(QStringList{"varnoth"} + args)) return {.batch = true, .usageError = parser.errorText()};
    return batchRequest(parser);
}

} // namespace

class TestSlips : public QObject
{
    Q_OBJECT
private slots:
    void pageWidth_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<double>("points");
        QTest::newRow("58 mm roll") << "58" << 58 / 25.4 * 72;
        QTest::newRow("80 mm roll") << "80" << 80 / 25.4 * 72;
    }
    // Each bill gets a page of the roll's width, as long as its lines need and no longer.
    void pageWidth()
    {
        QFETCH(QString, setting);
        QFETCH(double, points);
        PaperWidth width;
        QVERIFY(paperWidthFromText(setting, width));
        QTemporaryDir out;
        const QString path = out.filePath(QStringLiteral("slips.pdf"));
        const QStringList shortBill{QStringLiteral("บิลลูกค้า <daeng>"), QStringLiteral("ตราบิล ") + Seal};
        QVERIFY(writeSlipsPdf({sealedBill(), shortBill}, Header, width, path));
        const QList<QSizeF> pages = pdfPageSizes(path);
        QCOMPARE(pages.size(), 2);
        for (const QSizeF& page : pages)
            QVERIFY2(qAbs(page.width() - points) <= 1, qPrintable(QString::number(page.width())));
        QVERIFY(pages[0].height() > pages[1].height());
        // The short one still has room for its QR code under the head.
        QVERIFY(pages[1].height() > 30 / 25.4 * 72);
    }

    // The QR code under the bill reads back as the bill's seal.
    void qrCodeReadsAsTheSeal()
    {
        if (qrCodeImage("x").isNull()) QSKIP("this build has no QR coder");
        const QString zbar = QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
        if (zbar.isEmpty()) QSKIP("zbarimg (zbar-tools) is not installed");
        QTemporaryDir out;
        const QString png = out.filePath(QStringLiteral("slip.png"));
        const QImage slip = slipImage(sealedBill(), Header, PaperWidth::Roll58);
        QCOMPARE(slip.width(), qRound(58 / 25.4 * 203));
        QVERIFY(slip.save(png));
        QProcess reader;
        reader.start(zbar, {QStringLiteral("--raw"), QStringLiteral("-q"), png});
        QVERIFY(reader.waitForFinished(20000));
        QCOMPARE(QString::fromLatin1(reader.readAllStandardOutput()).trimmed(), Seal);
    }

    // A workbook keeps Thai text as text and figures as numbers; a number with a leading zero stays
    // text, so "05" is not 5.
    void workbook()
    {
        if (!workbooksAvailable()) QSKIP("this build has no workbook library");
        if (QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty()) QSKIP("unzip is not installed");
        QTemporaryDir out;
        const QString path = out.filePath(QStringLiteral("list.xlsx"));
        QVERIFY(writeListFile({QStringLiteral("<2ตัวบน>"), QStringLiteral("05-20"), QStringLiteral("12-2500"),
                               QStringLiteral("รวมเงิน= 2,520.00 บาท")},
                              QStringLiteral("รายงาน"), path));
        const auto cells = sheetCells(path);
        QCOMPARE(cells.value("A1"), std::pair(false, QStringLiteral("<2ตัวบน>")));
        QCOMPARE(cells.value("A2"), std::pair(false, QStringLiteral("05")));
        QCOMPARE(cells.value("B2"), std::pair(true, QStringLiteral("20")));
        QCOMPARE(cells.value("B3"), std::pair(true, QStringLiteral("2500")));
        QCOMPARE(cells.value("A4"), std::pair(false, QStringLiteral("รวมเงิน=")));
        QCOMPARE(cells.value("B4"), std::pair(true, QStringLiteral("2520")));
        QCOMPARE(cells.value("C4"), std::pair(false, QStringLiteral("บาท")));
        // A file that cannot be written is reported, not left half made.
        QVERIFY(!writeListFile({QStringLiteral("12-1")}, QStringLiteral("x"), out.filePath("no/such/list.xlsx")));
        QVERIFY(!QFile::exists(out.filePath("no/such/list.xlsx")));
    }

    void batchOptions_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("slip PDF") << QStringList{"--bill", "--slip", "58", "--pdf", "s.pdf"} << true;
        QTest::newRow("slip without PDF") << QStringList{"--bill", "--slip", "80"} << false;
        QTest::newRow("slip width unknown") << QStringList{"--bill", "--slip", "100", "--pdf", "s.pdf"} << false;
        QTest::newRow("slip with another job") << QStringList{"--view", "--slip", "58"} << false;
        QTest::newRow("view to xlsx and csv") << QStringList{"--view", "--xlsx", "v.xlsx", "--csv", "v.csv"} << true;
        QTest::newRow("send-out list to xlsx") << QStringList{"--open-list", "L", "--xlsx", "l.xlsx"} << true;
        QTest::newRow("xlsx with an entry job")
            << QStringList{"--enter-sheet", "s.txt", "--type", Top2, "--customer", "a", "--xlsx", "x.xlsx"} << false;
        QTest::newRow("verify a bill") << QStringList{"--verify-bill", Seal} << true;
    }
    void batchOptions()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, accepted);
        const BatchRequest r = parse(args);
        QVERIFY(r.batch);
        QVERIFY2(r.usageError.isEmpty() == accepted, qPrintable(r.usageError));
    }

    // The paper setting takes 58, 80 or A4 and nothing else.
    void paperSetting()
    {
        TempBook book;
        QCOMPARE(optionValue(*book.store, option::PaperWidth), QStringLiteral("A4"));
        QVERIFY(!setOptionValue(*book.store, option::PaperWidth, QStringLiteral("100")).isEmpty());
        QVERIFY(setOptionValue(*book.store, option::PaperWidth, QStringLiteral("58")).isEmpty());
        PaperWidth width;
        QVERIFY(paperWidthFromText(optionValue(*book.store, option::PaperWidth), width));
        QCOMPARE(width, PaperWidth::Roll58);
    }
};

QTEST_MAIN(TestSlips)
#include "tst_slips.moc"
