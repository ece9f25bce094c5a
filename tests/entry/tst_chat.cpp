// Reading pasted chat messages into bets: the forms customers write, their usual mistakes, headings
// over blocks of lines, the customer's name, the stated total, and hostile or huge pastes.
#include "entry/chat.h"
#include "entry/gates.h"
#include "testsupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>

using namespace varnoth;

Q_DECLARE_METATYPE(varnoth::ChatProblem)

namespace
{

const QString S3 = QStringLiteral("3ตัวตรง");
const QString T2 = QStringLiteral("2ตัวบน");
const QString B2 = QStringLiteral("2ตัวล่าง");
const QString R1 = QStringLiteral("วิ่งบน");
const QString Tote3 = QStringLiteral("3ตัวโต๊ด");

// Short names for the expected bets: "3t:123:50" is 50 on 123 of 3ตัวตรง.
QString typeCode(const QString& code)
{
    static const QHash<QString, QString> names{{"3t", "3ตัวตรง"},   {"3o", "3ตัวโต๊ด"},  {"3l", "3ตัวล่าง"}, {"2t", "2ตัวบน"},
                                               {"2o", "คู่โต๊ด"},     {"2l", "2ตัวล่าง"},  {"1t", "วิ่งบน"},   {"1l", "วิ่งล่าง"},
                                               {"3h", "3ตัวตรงหัว"}, {"3k", "3ตัวโต๊ดหัว"}};
    return names.value(code, code);
}

// The bets as "3t:123:50 3o:123:50", the form of the table below.
QString written(const QList<ChatBet>& bets)
{
    static QHash<QString, QString> codes;
    if (codes.isEmpty())
        for (const char* c : {"3t", "3o", "3l", "2t", "2o", "2l", "1t", "1l", "3h", "3k"})
            codes.insert(typeCode(c), c);
    QStringList out;
    for (const ChatBet& b : bets)
        out << codes.value(b.type, b.type) + ':' + b.number + ':' + b.amount;
    return out.join(' ');
}

// Every number of a gate list with the same type and amount.
QString each(const QString& code, const QString& gates, const QString& amount)
{
    QStringList out;
    for (const QString& n : gates.split(' ', Qt::SkipEmptyParts))
        out << code + ':' + n + ':' + amount;
    return out.join(' ');
}

} // namespace

class TestChat : public QObject
{
    Q_OBJECT
private slots:
    // One message (often one line) with the picked type: the bets expected, or "?" when its last
    // line must be marked not understood and give no bet.
    void lines_data();
    void lines();
    // Messages whose lines may mean two things: the bets that stand, the lines shown in red and the
    // reason given for the last of them.
    void twoMeanings_data();
    void twoMeanings();
    void customerName_data();
    void customerName();
    void statedTotal();
    void numbersAboveAnAmountLine();
    void notUnderstoodLinesAreKeptAsPasted();
    void hostileText();
    void tenThousandLines();
    void realisticMessages();
};

void TestChat::lines_data()
{
    QTest::addColumn<QString>("picked");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("expected");
    int n = 0;
    auto row = [&n](const QString& picked, const QString& message, const QString& expected) {
        QTest::newRow(qPrintable(QString::number(++n) + ' ' + QString(message).replace('\n', '|')))
            << picked << message << expected;
    };

    // A number and one amount, for the picked type.
    row(S3, "123=50", "3t:123:50");
    row(S3, "123 50", "3t:123:50");
    row(S3, "123-50", "3t:123:50");
    row(S3, "123 = 50", "3t:123:50");
    row(S3, "123  =  50 บาท", "3t:123:50");
    row(B2, "45=50บ.", "2l:45:50"); // "บ" glued after an amount is baht, not บน
    row(T2, "45-100", "2t:45:100");
    row(T2, "45=100", "2t:45:100");
    row(T2, "45 100", "2t:45:100");
    row(T2, "05=20", "2t:05:20");
    row(R1, "7=100", "1t:7:100");
    row(B2, "45=100", "2l:45:100");
    row(Tote3, "321=50", "3o:123:50");
    row(QStringLiteral("คู่โต๊ด"), "91=20", "2o:19:20");
    row(S3, "๑๒๓=๕๐", "3t:123:50");
    row(S3, "๑๒๓ 50", "3t:123:50");
    row(S3, "１２３＝５０", "3t:123:50");
    row(S3, "123=050", "3t:123:50");
    row(S3, "123=1,000", "3t:123:1000");
    row(S3, "123:50", "?");
    row(S3, "\t123\t=\t50\t", "3t:123:50");
    row(S3, "123=50 🙏", "3t:123:50");
    row(S3, "123=50 ครับ", "3t:123:50");
    row(S3, "เลข 123=50 ค่ะ", "3t:123:50");
    row(S3, "แทง 123 ตัวละ 50", "3t:123:50");

    // Straight and permutation together.
    row(S3, "123=50*50", "3t:123:50 3o:123:50");
    row(S3, "123 50x50", "3t:123:50 3o:123:50");
    row(S3, "123 50X50", "3t:123:50 3o:123:50");
    row(S3, "123=50x50", "3t:123:50 3o:123:50");
    row(S3, "123=50/50", "3t:123:50 3o:123:50");
    row(S3, "123=50+50", "3t:123:50 3o:123:50");
    row(S3, "123=50×50", "3t:123:50 3o:123:50");
    row(S3, "123-50-50", "3t:123:50 3o:123:50");
    row(S3, "321=100*20", "3t:321:100 3o:123:20");
    row(S3, "123 ตรง50 โต๊ด50", "3t:123:50 3o:123:50");
    row(S3, "123 ตรง 50 โต๊ด 50", "3t:123:50 3o:123:50");
    row(S3, "123ตรง50โต๊ด50", "3t:123:50 3o:123:50");
    row(S3, "123 ต50 โต๊ด20", "3t:123:50 3o:123:20");
    row(S3, "123 โต๊ด50", "3o:123:50");
    row(S3, "123 โต็ด50", "3o:123:50");
    row(S3, "123 โตด 50", "3o:123:50");
    row(S3, "123 50ตรง 50โต๊ด", "3t:123:50 3o:123:50");
    row(T2, "123=50*50", "3t:123:50 3o:123:50"); // two amounts on three digits whatever the type
    row(QStringLiteral("3ตัวตรงหัว"), "123=50*50", "3h:123:50 3k:123:50");

    // Top and bottom.
    row(S3, "45 บน100 ล่าง100", "2t:45:100 2l:45:100");
    row(S3, "45 บน 100 ล่าง 100", "2t:45:100 2l:45:100");
    row(S3, "45บน100ล่าง100", "2t:45:100 2l:45:100");
    row(S3, "45 บ100 ล100", "2t:45:100 2l:45:100");
    row(S3, "45 บ 100 ล 100", "2t:45:100 2l:45:100");
    row(S3, "45 บน=100 ล่าง=100", "2t:45:100 2l:45:100");
    row(S3, "45 100บน 50ล่าง", "2t:45:100 2l:45:50");
    row(S3, "45 ล่าง100", "2l:45:100");
    row(S3, "45=100*100", "2t:45:100 2l:45:100");
    row(S3, "45 100x100", "2t:45:100 2l:45:100");
    row(B2, "45=100*50", "2t:45:100 2l:45:50");
    row(S3, "45-100-100", "2t:45:100 2l:45:100");
    row(S3, "123 บน50 ล่าง50", "3t:123:50 3l:123:50");
    row(S3, "123 ล่าง50", "3l:123:50");
    row(S3, "5 บน100 ล่าง100", "1t:5:100 1l:5:100");
    row(S3, "5=100*100", "1t:5:100 1l:5:100");
    row(S3, "45 บนล่าง100", "2t:45:100 2l:45:100");
    row(S3, "45 100บนล่าง", "2t:45:100 2l:45:100");
    row(S3, "45=100 ล่าง", "2l:45:100");
    row(S3, "45=100 บน+ล่าง", "2t:45:100 2l:45:100");
    row(S3, "บน 45=100", "2t:45:100");
    row(S3, "ล่าง 45 67=100", "2l:45:100 2l:67:100");
    row(S3, "บ 45=100", "2t:45:100");
    row(S3, "5 วิ่ง100", "1t:5:100");
    row(S3, "5 วิ่งล่าง100", "1l:5:100");
    row(S3, "5 วิ่งบน 100 วิ่งล่าง 100", "1t:5:100 1l:5:100");

    // Headings over the lines below.
    row(S3, "บน\n45=100", "2t:45:100");
    row(S3, "ล่าง\n45=100", "2l:45:100");
    row(S3, "บน+ล่าง\n45=100", "2t:45:100 2l:45:100");
    row(S3, "บน + ล่าง\n45=100", "2t:45:100 2l:45:100");
    row(S3, "บนล่าง\n45=100", "2t:45:100 2l:45:100");
    row(S3, "บน-ล่าง\n45=100", "2t:45:100 2l:45:100");
    row(S3, "บ+ล\n45=100", "2t:45:100 2l:45:100");
    row(T2, "บน\n123=50", "3t:123:50");
    row(T2, "ล่าง\n123=50", "3l:123:50");
    row(T2, "3ตัว\n123=50", "3t:123:50");
    row(T2, "3ตัว\n123=50*50", "3t:123:50 3o:123:50");
    row(T2, "3 ตัว\n123=50", "3t:123:50");
    row(T2, "2 ตัวล่าง 45=20", "2l:45:20");
    row(T2, "3ตัว\n45=50", "?");
    row(S3, "โต๊ด\n321=50", "3o:123:50");
    row(S3, "โต๊ด\n12=50", "2o:12:50");
    row(S3, "วิ่ง\n5=100", "1t:5:100");
    row(S3, "วิ่งล่าง\n5=100", "1l:5:100");
    row(S3, "วิ่ง\n45=100", "?");
    row(S3, "บน:\n45=100", "2t:45:100");
    row(S3, "2ตัวล่าง\n45=100", "2l:45:100");
    row(S3, "คู่โต๊ด\n54=100", "2o:45:100");
    row(S3, "บน\n45=100\nล่าง\n45=100", "2t:45:100 2l:45:100");
    row(S3, "บน\n45=100\n\n67=20", "2t:45:100 2t:67:20"); // a blank line keeps the heading
    row(S3, "บน\n45 ล่าง100", "2l:45:100");
    row(S3, "ล่าง\n45=100*50", "2t:45:100 2l:45:50");
    row(T2, "บน\n5=100", "1t:5:100");

    // กลับ: every distinct order of the digits.
    row(S3, "123 กลับ=10", "3t:123:10 3t:132:10 3t:213:10 3t:231:10 3t:312:10 3t:321:10");
    row(S3, "112=10 กลับ", "3t:112:10 3t:121:10 3t:211:10");
    row(S3, "555 กลับ 10", "3t:555:10");
    row(T2, "12 กลับ 50", "2t:12:50 2t:21:50");
    row(T2, "12กลับ=50", "2t:12:50 2t:21:50");
    row(T2, "11 กลับ=50", "2t:11:50");
    row(T2, "12=50*50 กลับ", "2t:12:50 2l:12:50 2t:21:50 2l:21:50");
    row(S3, "45 บน100 กลับ", "2t:45:100 2t:54:100");
    row(Tote3, "123 กลับ=10", "?"); // every order of a permutation is the same bet
    row(S3, "123=50*50 กลับ", "?");

    // Gates and sweeps.
    row(T2, "5 19ประตู=10", each("2t", GatesContaining("5", 2), "10"));
    row(T2, "5 19 ประตู 10", each("2t", GatesContaining("5", 2), "10"));
    row(T2, "19ประตู 5=10", each("2t", GatesContaining("5", 2), "10"));
    row(S3, "5 19ประตู บน10", each("2t", GatesContaining("5", 2), "10"));
    row(S3, "บน\n5 19ประตู=10", each("2t", GatesContaining("5", 2), "10"));
    row(T2, "รูด 5=10", "?"); // 50–59 or 05–95: the customer is asked
    row(T2, "รูดหน้า 5=10", each("2t", "50 51 52 53 54 55 56 57 58 59", "10"));
    row(T2, "รูดหน้า5 10", each("2t", "50 51 52 53 54 55 56 57 58 59", "10"));
    row(T2, "รูดหลัง 5=10", each("2t", "05 15 25 35 45 55 65 75 85 95", "10"));
    row(S3, "รูดหลัง 5 ล่าง10", each("2l", "05 15 25 35 45 55 65 75 85 95", "10"));
    row(T2, "รูดหน้า 5 รูดหลัง 5=10", each("2t", "50 51 52 53 54 55 56 57 58 59 05 15 25 35 45 55 65 75 85 95", "10"));
    row(T2, "45 19ประตู=10", "?");
    row(T2, "รูดหน้า 45=10", "?");
    row(T2, "5 20ประตู=10", "?");
    row(S3, "5 19ประตู=10", "?"); // the gates have two digits, the picked type three

    // Several numbers before one amount.
    row(T2, "12 34 56 = 50", "2t:12:50 2t:34:50 2t:56:50");
    row(T2, "12 34 56=50", "2t:12:50 2t:34:50 2t:56:50");
    row(T2, "12-34-56=50", "2t:12:50 2t:34:50 2t:56:50");
    row(T2, "12,34,56=50", "2t:12:50 2t:34:50 2t:56:50");
    row(T2, "12.34.56=50", "2t:12:50 2t:34:50 2t:56:50");
    row(T2, "12 34 56 ตัวละ 50", "2t:12:50 2t:34:50 2t:56:50");
    row(T2, "12 34 56 ตัวละ50", "2t:12:50 2t:34:50 2t:56:50");
    row(T2, "12 34 56 ละ 50", "2t:12:50 2t:34:50 2t:56:50");
    row(T2, "12 34 = 50*50", "2t:12:50 2l:12:50 2t:34:50 2l:34:50");
    row(S3, "12 34 บน50 ล่าง50", "2t:12:50 2l:12:50 2t:34:50 2l:34:50");
    row(T2, "12=50 34=20", "2t:12:50 2t:34:20");
    row(T2, "12-50 34-20", "2t:12:50 2t:34:20");
    row(T2, "12=50 34 56=20", "2t:12:50 2t:34:20 2t:56:20");
    row(S3, "123=50*50 456=20*20", "3t:123:50 3o:123:50 3t:456:20 3o:456:20");

    // Mistakes: none of these is guessed.
    row(S3, "123", "?");
    row(S3, "123=", "?");
    row(S3, "=50", "?");
    row(S3, "123 = 50 *", "?");
    row(S3, "123=50*50*50", "?");
    row(S3, "123=50 50", "?");
    row(S3, "12 34 56 50", "?");
    row(S3, "1234=50", "?");
    row(S3, "12=50", "?");
    row(T2, "123=50", "?");
    row(T2, "5=50", "?");
    row(S3, "", "");
    row("", "123=50", "?");
    row("", "45=100", "?");
    row("", "45 บน100", "2t:45:100");
    row(S3, "12a3=50", "?");
    row(S3, "1o3=50", "?");
    row(S3, "l23=50", "?");
    row(S3, "123=5o", "?");
    row(S3, "12345=50", "?");
    row(S3, "123456=50", "?");
    row(S3, "0812345678", "?");
    row(S3, "123=0", "?");
    row(S3, "123=000", "?");
    row(S3, "123=12.5", "?");
    row(S3, "123=1234567890", "?");
    row(S3, "123 โต๊ด", "?");
    row(S3, "45 บน100 ล่าง", "?");
    row(S3, "45=100 ล่าง100", "?");
    row(S3, "45 ตรง100", "?");
    row(S3, "5 โต๊ด100", "?");
    row(S3, "45 วิ่ง100", "?");
    row(S3, "ตบ 45=100", "?"); // not two short forms
    row(S3, "ลบ 123=50", "?");
    row(S3, "123=50 ยกเลิก", "?");
    row(S3, "https://line.me/R/ti/p/abc123", "?");
    row(S3, "www.example.com/123=50", "?");
    row(S3, "123=50 @สมชาย", "?");
    row(S3, "งวด 16/12/67", "?");
    row(S3, "รวม 350\n123=", "?");
    row(S3, "1 2 3 = 50", "?");
    row(R1, "1 2 3 = 50", "1t:1:50 1t:2:50 1t:3:50");
}

void TestChat::lines()
{
    QFETCH(QString, picked);
    QFETCH(QString, message);
    QFETCH(QString, expected);
    const ChatParse parse = parseChat(message, picked);
    if (expected == "?") {
        QVERIFY(!parse.lines.isEmpty());
        QCOMPARE(parse.lines.last().kind, ChatLineKind::NotUnderstood);
        QVERIFY(parse.lines.last().bets.isEmpty());
        QVERIFY(parse.lines.last().problem != ChatProblem::None);
        QCOMPARE(parse.notUnderstood().last(), message.split('\n').last());
        return;
    }
    QStringList codes;
    for (const QString& bet : expected.split(' ', Qt::SkipEmptyParts))
        codes << typeCode(bet.section(':', 0, 0)) + ':' + bet.section(':', 1);
    QStringList found;
    for (const ChatBet& b : parse.bets())
        found << b.type + ':' + b.number + ':' + b.amount;
    QCOMPARE(found, codes);
    QCOMPARE(parse.notUnderstood(), QStringList());
}

void TestChat::twoMeanings_data()
{
    QTest::addColumn<QString>("picked");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("red"); // the red lines, "|" between them
    QTest::addColumn<ChatProblem>("reason");
    const auto row = [](const char* name, const QString& picked, const QString& message, const QString& expected,
                        const QString& red = {}, ChatProblem reason = ChatProblem::Ambiguous) {
        QTest::newRow(name) << picked << message << expected << red << (red.isEmpty() ? ChatProblem::None : reason);
    };
    const QString H3 = QStringLiteral("3ตัวตรงหัว");
    const QString HK = QStringLiteral("3ตัวโต๊ดหัว");
    const QString front5 = "50 51 52 53 54 55 56 57 58 59";

    // Sweeps: a bare "รูด" is written for the front and for the back alike.
    row("sweep bare", T2, "รูด 5=10", "", "รูด 5=10");
    row("sweep bare glued", T2, "รูด5 10", "", "รูด5 10");
    row("sweep bare under a heading", S3, "บน\nรูด 5=10", "", "รูด 5=10");
    row("sweep front and back at once", T2, "รูดหน้าหลัง 5=10", "", "รูดหน้าหลัง 5=10", ChatProblem::Shape);
    row("sweep front kept", T2, "รูดหน้า 5=10", each("2t", front5, "10"));

    // An amount heading over bare numbers.
    row("amount heading", B2, "บน ตัวละ 50\n12 34\n56", "2t:12:50 2t:34:50 2t:56:50");
    row("amount heading, no type word", B2, "ตัวละ 20\n12 34 56 78", each("2l", "12 34 56 78", "20"));
    row("amount heading, type name", T2, "2ตัวล่าง ตัวละ 30\n06 60", "2l:06:30 2l:60:30");
    row("amount heading, two amounts", T2, "ตัวละ 20*20\n12 23", "2t:12:20 2l:12:20 2t:23:20 2l:23:20");
    row("amount heading, every number", T2, "บน50 ล่าง20 ทุกตัว\n12 34", "2t:12:50 2l:12:20 2t:34:50 2l:34:20");
    row("amount heading across a blank line", T2, "ตัวละ 10\n\n12 34", "2t:12:10 2t:34:10");
    row("amount heading, its type heads the lines below", B2, "บน ตัวละ 50\n12\n45=100", "2t:12:50 2t:45:100");
    row("amount heading, dashes that read no other way", T2, "ตัวละ 5\n12-34-56-78", each("2t", "12 34 56 78", "5"));
    row("amount heading, dashes that read as 12=34*56", T2, "ตัวละ 5\n12-34-56", "", "12-34-56");
    row("amount heading, a number and amount", T2, "ตัวละ 5\n12-50", "", "12-50");
    row("amount heading, a row with its own type word", T2, "ตัวละ 5\n12 34 ล่าง", "", "12 34 ล่าง");
    row("amount heading, wrong width", T2, "ตัวละ 5\n12\n345\n67", "2t:12:5 2t:67:5", "345", ChatProblem::Width);
    row("amount heading over nothing", T2, "บน ตัวละ 50\n45=100", "2t:45:100", "บน ตัวละ 50", ChatProblem::NoAmount);
    row("amount heading over nothing keeps the heading before", B2, "บน\n12=5\nล่าง ตัวละ 50\n45=100",
        "2t:12:5 2t:45:100", "ล่าง ตัวละ 50", ChatProblem::NoAmount);
    row("second amount under the heading's rows", T2, "บน ตัวละ 50\n12 34\nตัวละ 20\n56 78", "",
        "บน ตัวละ 50|12 34|ตัวละ 20|56 78");
    row("amount under numbers, numbers under it", T2, "12 34\nตัวละ 50\n56 78", "2t:12:50 2t:34:50", "56 78");
    row("amount under numbers, then a next block", T2, "12 34\nตัวละ 50\n56 78\n=20",
        "2t:12:50 2t:34:50 2t:56:20 2t:78:20");
    row("a row of two later in the same block", T2, "ตัวละ 50\n10 20\n45=100\n12 34", "2t:10:50 2t:20:50 2t:45:100",
        "12 34");
    row("a row of two under a new heading", T2, "12 34\nตัวละ 50\nบน\n56 78", "2t:12:50 2t:34:50 2t:56:78");
    row("numbers, blank line, amount", T2, "12 34\n\nตัวละ 50\n56 78", "", "12 34|ตัวละ 50|56 78");
    row("numbers, blank line, plain amount", T2, "12 34\n\n=50", "", "12 34|=50");

    // The head types when the window is on one of them.
    row("head window, plain amount", H3, "123=50", "3h:123:50");
    row("head window, two amounts", H3, "123=50*50", "3h:123:50 3k:123:50");
    row("head window, labelled", H3, "123 ตรง50 โต๊ด50", "", "123 ตรง50 โต๊ด50");
    row("head window, labelled permutation", HK, "123 โต๊ด50", "", "123 โต๊ด50");
    row("head window, top heading", HK, "บน\n456=50", "", "456=50");
    row("head window, width heading, two amounts", H3, "3ตัว\n777=100*100", "", "777=100*100");
    row("head window, bottom is certain", H3, "ล่าง\n123=50", "3l:123:50");
    row("head window, two digits", H3, "45=100*100", "2t:45:100 2l:45:100");
    row("head window, a type name decides", H3, "3ตัวตรง\n123=50*50", "3t:123:50 3o:123:50");
    row("head window, type name heading", H3, "3ตัวโต๊ด\n123=20\n456 ตรง20", "3o:123:20 3t:456:20");

    // "ต." for ตรง or โต๊ด.
    row("short t", S3, "123 ต.50", "", "123 ต.50");
    row("short t twice", S3, "537 ต.50 ต.50", "", "537 ต.50 ต.50");
    row("short t beside tote", S3, "128 ต50 โต๊ด50", "3t:128:50 3o:128:50");
    row("short t beside straight", S3, "128 ตรง50 ต20", "3t:128:50 3o:128:20");
    row("short t apart from tote", S3, "123 ต โต๊ด 50", "", "123 ต โต๊ด 50");
    row("short t heading", S3, "ต.\n123=50\n456=20*20\n789 ตรง10", "3t:456:20 3o:456:20 3t:789:10", "ต.|123=50");
    row("short t heading of the line", S3, "ต 123=50", "", "ต 123=50");

    // One digit under a heading that says two digits, whatever form its amount takes.
    row("one digit, two-digit type name", T2, "2ตัวบน\n12=50\n5=50*50", "2t:12:50", "5=50*50", ChatProblem::Width);
    row("one digit, 2ตัว labelled", T2, "2 ตัว\n7 บน50", "", "7 บน50", ChatProblem::Width);
    row("three digits under 2ตัว", T2, "2ตัว\n123=50*50", "", "123=50*50", ChatProblem::Width);
    row("two digits under 3ตัว", S3, "3ตัว\n45=100*100", "", "45=100*100", ChatProblem::Width);
    row("one digit, own heading", T2, "2 ตัวล่าง 5=20", "", "2 ตัวล่าง 5=20", ChatProblem::Width);
    row("label over a type name heading", T2, "2ตัวบน\n45 ล่าง100", "2l:45:100");
    row("one digit under บน is วิ่ง", T2, "บน\n5=100", "1t:5:100");

    // A label with no amount beside it.
    row("label on numbers over an amount", B2, "36 บน\n=100", "", "36 บน|=100", ChatProblem::NoAmount);
    row("labels apart before one amount", T2, "45 บน ล่าง 100", "", "45 บน ล่าง 100");
    row("labels apart after one amount", T2, "45=100 บน ล่าง", "", "45=100 บน ล่าง");
    row("straight and tote apart", S3, "123 ตรง โต๊ด 50", "", "123 ตรง โต๊ด 50");
    row("labels joined", T2, "45 บนล่าง 100", "2t:45:100 2l:45:100");
    row("labels joined by a sign", T2, "45 บน+ล่าง 100", "2t:45:100 2l:45:100");
    row("labels apart as a heading", S3, "บน ล่าง 45=100", "2t:45:100 2l:45:100");
    row("run and top apart name one type", S3, "5 วิ่ง บน 100", "1t:5:100");
    row("last label without amount", T2, "61 บน 100 ล่าง", "", "61 บน 100 ล่าง", ChatProblem::Shape);

    // "บ." apart after an amount: บน or baht; read when both give the same bets.
    row("loose b, same either way", T2, "45=100 บ.", "2t:45:100");
    row("loose b, three digits", S3, "728 100 บ.", "3t:728:100");
    row("loose b, two meanings", B2, "63 = 50 บ.", "", "63 = 50 บ.");
    row("glued b is baht", B2, "45=50บ.", "2l:45:50");
    row("loose b in an amount line", B2, "12 34\n=50 บ.", "", "12 34|=50 บ.");

    // Counted orders.
    row("six orders", S3, "345 6กลับ 10", each("3t", "345 354 435 453 534 543", "10"));
    row("three orders", S3, "112 3กลับ=10", "3t:112:10 3t:121:10 3t:211:10");
    row("orders miscounted", S3, "112 6กลับ 10", "", "112 6กลับ 10");
    row("count apart from the word", S3, "345 6 กลับ", "", "345 6 กลับ");

    // Forms read the one way they can be.
    row("slash between numbers", T2, "12/21=50", "2t:12:50 2t:21:50");
    row("doubled equals", T2, "12==50", "2t:12:50");
    row("chat program prefix", T2, "[19:02] ป้าแดง: 47=100*100", "2t:47:100 2l:47:100");
    row("chat program prefix, seconds", S3, "[ 19:02:11 ] Som: 123=50", "3t:123:50");
    row("a time without the prefix", S3, "19:02 123=50", "", "19:02 123=50", ChatProblem::BadAmount);
    row("direction override", S3, QString::fromUtf16(u"123=\u202e50"), "3t:123:50");
    row("direction marks and soft hyphen", S3, QString::fromUtf16(u"1\u200f2\u00ad3=\u202a50\u202c"), "3t:123:50");
    row("width in words", S3, "สองตัวล่าง\n12=50\nสามตัว\n123=5", "2l:12:50 3t:123:5");
    row("run before the number", T2, "วิ่ง 7 บน 500 ล่าง 500", "1t:7:500 1l:7:500");
    row("amounts in words", T2, "36 กับ 63 บนล่างตัวละร้อย\n45 บนพันล่างร้อย",
        "2t:36:100 2l:36:100 2t:63:100 2l:63:100 2t:45:1000 2l:45:100");
    row("a word amount is no number", S3, "ร้อย=50", "", "ร้อย=50", ChatProblem::Shape);
    row("percent is no bet", S3, "ร้อยละ 50", "", "ร้อยละ 50", ChatProblem::Shape);
    row("and joins numbers only", T2, "12 กับ 50", "", "12 กับ 50", ChatProblem::NoAmount);
    row("and over an amount line", T2, "12 กับ 21\nตัวละ 50", "2t:12:50 2t:21:50");
    row("a spelled figure is not read", T2, "45=สองร้อย", "", "45=สองร้อย", ChatProblem::UnknownWord);
}

void TestChat::twoMeanings()
{
    QFETCH(QString, picked);
    QFETCH(QString, message);
    QFETCH(QString, expected);
    QFETCH(QString, red);
    QFETCH(ChatProblem, reason);
    const ChatParse parse = parseChat(message, picked);
    QStringList codes;
    for (const QString& bet : expected.split(' ', Qt::SkipEmptyParts))
        codes << bet;
    QCOMPARE(written(parse.bets()).split(' ', Qt::SkipEmptyParts), codes);
    QCOMPARE(parse.notUnderstood(), red.split('|', Qt::SkipEmptyParts));
    ChatProblem last = ChatProblem::None;
    for (const ChatLine& l : parse.lines)
        if (l.kind == ChatLineKind::NotUnderstood) last = l.problem;
    QCOMPARE(last, reason);
    for (const ChatLine& l : parse.lines)
        QCOMPARE(l.kind == ChatLineKind::NotUnderstood, l.problem != ChatProblem::None);
}

void TestChat::customerName_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("customer");
    QTest::addColumn<int>("bets");
    QTest::newRow("word") << "ลูกค้า สมชาย\n123=50"
                          << "สมชาย" << 1;
    QTest::newRow("word and colon") << "ลูกค้า: สมชาย ใจดี\n123=50"
                                    << "สมชายใจดี" << 1;
    QTest::newRow("at") << "@สมชาย\n123=50"
                        << "สมชาย" << 1;
    QTest::newRow("at, latin") << "@Som Chai\n123=50"
                               << "somchai" << 1;
    QTest::newRow("name alone") << "พี่แดง\n123=50"
                                << "พี่แดง" << 1;
    QTest::newRow("name and politeness") << "พี่แดง ครับ 🙏\n123=50"
                                         << "พี่แดง" << 1;
    QTest::newRow("after a greeting line") << "สวัสดีครับ\nพี่แดง\n123=50"
                                           << "พี่แดง" << 1;
    QTest::newRow("name not on the first line") << "123=50\nพี่แดง"
                                                << "" << 1;
    QTest::newRow("heading is no name") << "บน\n45=50"
                                        << "" << 1;
    QTest::newRow("total is no name") << "รวม 50\n123=50"
                                      << "" << 1;
    QTest::newRow("bets on the first line") << "123=50"
                                            << "" << 1;
    QTest::newRow("empty name") << "ลูกค้า\n123=50"
                                << "" << 1;
    QTest::newRow("name with bets is no name") << "ลูกค้า สมชาย 123=50\n45=100"
                                               << "" << 0;
    QTest::newRow("at with digits") << "@somchai99\n123=50"
                                    << "somchai99" << 1;
    QTest::newRow("a link is no name") << "https://line.me/ti/abc\n123=50"
                                       << "" << 1;
    QTest::newRow("a sentence is no name") << "วันนี้ขอเล่นเยอะหน่อยนะครับเพราะฝันดีมากเมื่อคืนนี้เลยครับ\n123=50"
                                           << "" << 1;
}

void TestChat::customerName()
{
    QFETCH(QString, message);
    QFETCH(QString, customer);
    QFETCH(int, bets);
    const ChatParse parse = parseChat(message, S3);
    QCOMPARE(parse.customer, customer);
    QCOMPARE(parse.bets().size(), bets);
}

void TestChat::statedTotal()
{
    const QString message = "ลูกค้า สมชาย\n123=50*50\n45 บน100 ล่าง100\n";
    ChatParse p = parseChat(message + "รวม 300", S3);
    QVERIFY(p.hasStatedTotal);
    QCOMPARE(p.total, 300.0);
    QVERIFY(!p.totalMismatch());

    p = parseChat(message + "ยอด 350 บาท", S3);
    QCOMPARE(p.statedTotal, 350.0);
    QVERIFY(p.totalMismatch());

    // A line that is not understood counts nothing, so the stated total shows it.
    p = parseChat(message + "67=\nยอดรวม = 300", S3);
    QVERIFY(!p.totalMismatch());
    p = parseChat(message + "67=\nรวมทั้งหมด 1,300", S3);
    QCOMPARE(p.statedTotal, 1300.0);
    QVERIFY(p.totalMismatch());

    p = parseChat(message, S3);
    QVERIFY(!p.hasStatedTotal);
    QVERIFY(!p.totalMismatch());

    // Two figures after the word are no total, and no bet either.
    p = parseChat("รวม 300 400", S3);
    QVERIFY(!p.hasStatedTotal);
    QCOMPARE(p.notUnderstood(), QStringList{"รวม 300 400"});
}

void TestChat::numbersAboveAnAmountLine()
{
    ChatParse p = parseChat("12 34\n56\nตัวละ 50", T2);
    QCOMPARE(written(p.bets()), QString("2t:12:50 2t:34:50 2t:56:50"));
    QCOMPARE(p.notUnderstood(), QStringList());
    QCOMPARE(p.lines[0].bets.size(), 2); // each line shows its own bets
    QCOMPARE(p.lines[1].bets.size(), 1);

    p = parseChat("12\n34\n=50*50", S3);
    QCOMPARE(written(p.bets()), QString("2t:12:50 2l:12:50 2t:34:50 2l:34:50"));

    p = parseChat("45\n67\nบน50 ล่าง20", S3);
    QCOMPARE(written(p.bets()), QString("2t:45:50 2l:45:20 2t:67:50 2l:67:20"));

    // Without the amount line the numbers stay not understood; a blank line ends the numbers.
    p = parseChat("12 34 56\n\nตัวละ 50", T2);
    QCOMPARE(p.notUnderstood(), (QStringList{"12 34 56", "ตัวละ 50"}));
    QVERIFY(p.bets().isEmpty());

    // One wrong width among the numbers: no bet of the block is guessed.
    p = parseChat("12 34\n567\nตัวละ 50", T2);
    QVERIFY(p.bets().isEmpty());
    QCOMPARE(p.notUnderstood(), (QStringList{"12 34", "567", "ตัวละ 50"}));
}

void TestChat::notUnderstoodLinesAreKeptAsPasted()
{
    const QString message = "123=50\r\n  12a3=50 😀\r\n\r\n45=\r\n456=20";
    const ChatParse p = parseChat(message, S3);
    QCOMPARE(p.notUnderstood(), (QStringList{"  12a3=50 😀", "45="}));
    QCOMPARE(written(p.bets()), QString("3t:123:50 3t:456:20"));
    QCOMPARE(p.lines.size(), 5);
    QCOMPARE(p.lines[1].problem, ChatProblem::UnknownWord);
    QCOMPARE(p.lines[3].problem, ChatProblem::NoAmount);
}

void TestChat::hostileText()
{
    // Control characters, lone surrogates, joiners and right-to-left marks neither crash the reader
    // nor become bets.
    QString junk;
    for (char16_t c = 0; c < 0x40; ++c)
        junk += QChar(c);
    junk += QChar(0xD800);
    junk += QChar(0xDFFF);
    junk += QString::fromUtf16(u"\u200B\u200F\u202E\uFEFF\uFFFD");
    const ChatParse p = parseChat(junk + "\n" + junk + "123=50", S3);
    QVERIFY(p.bets().isEmpty());

    // Zero-width characters inside a line are not there for the reader.
    QCOMPARE(written(parseChat(QString::fromUtf16(u"12\u200B3=5\u200D0"), S3).bets()), QString("3t:123:50"));
    // A control character separates like a blank.
    QCOMPARE(written(parseChat(QString::fromUtf16(u"123\u0007=50"), S3).bets()), QString("3t:123:50"));

    // A line of 100,000 characters is one line; one stray word in it refuses it whole.
    const QString longLine = QString("123=50 ").repeated(14000);
    QCOMPARE(parseChat(longLine, S3).bets().size(), 14000);
    const ChatParse big = parseChat(longLine + "ยกเลิก", S3);
    QCOMPARE(big.lines.size(), 1);
    QVERIFY(big.bets().isEmpty());
}

void TestChat::tenThousandLines()
{
    QStringList lines{"ลูกค้า สมชาย", "บน"};
    const char* forms[] = {"%1=50", "%1 50x20", "%1 บน100 ล่าง100", "%1 กลับ=10", "%1=", "%1 ตัวละ 5"};
    for (int i = 0; lines.size() < 10000; ++i)
        lines << QString::fromUtf8(forms[i % 6]).arg(i % 1000, 3, 10, QLatin1Char('0'));
    const QString text = lines.join('\n');
    QElapsedTimer timer;
    timer.start();
    const ChatParse p = parseChat(text, S3);
    const qint64 ms = timer.elapsed();
    QCOMPARE(p.lines.size(), 10000);
    QVERIFY(p.bets().size() > 10000);
    qInfo("10,000 lines read in %lld ms", ms);
    QVERIFY2(ms < test::timeLimit(200), qPrintable(QString::number(ms) + " ms"));
}

// On a set of messages written as customers write them, each with the bets its customer meant: the
// reader makes no bet nobody meant, and finds at least 93 % of those meant. The lines it refuses
// because they read two ways count as not found.
void TestChat::realisticMessages()
{
    QFile file(QFINDTESTDATA("entry/data/chat_messages.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    struct Message {
        QString picked;
        QStringList lines;
        QStringList bets;
    };
    QList<Message> messages;
    bool inBets = false;
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
        if (line.startsWith("#")) continue;
        if (line.startsWith(">>> ")) {
            messages.append({line.mid(4) == "-" ? QString() : line.mid(4), {}, {}});
            inBets = false;
        } else if (line == "<<<") {
            inBets = true;
        } else if (!messages.isEmpty() && !(inBets && line.isEmpty())) {
            (inBets ? messages.last().bets : messages.last().lines) << line;
        }
    }
    int meant = 0, found = 0, wrong = 0;
    for (const Message& m : messages) {
        QStringList expected = m.bets;
        meant += static_cast<int>(expected.size());
        for (const ChatBet& b : parseChat(m.lines.join('\n'), m.picked).bets()) {
            const QString bet = b.type + ' ' + b.number + ' ' + b.amount;
            if (expected.removeOne(bet)) {
                ++found;
            } else {
                ++wrong;
                qWarning("not meant: %s", qPrintable(bet));
            }
        }
    }
    qInfo("%lld messages: %d of %d bets found (%.1f%%), %d not meant", static_cast<long long>(messages.size()), found,
          meant, 100.0 * found / meant, wrong);
    QCOMPARE(wrong, 0);
    QVERIFY2(found >= meant * 0.93, qPrintable(QString::number(100.0 * found / meant, 'f', 1) + " %"));
}

QTEST_GUILESS_MAIN(TestChat)
#include "tst_chat.moc"
