#include "core/model/types.h"
#include "entry/gates.h"

#include <QTest>

using namespace varnoth;

class TestGates : public QObject
{
    Q_OBJECT
private slots:
    // The rows of the number field in the order they are tried; count -1 means no gate box.
    void numberField_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("members"); // the whole list, or its start
        QTest::addColumn<QString>("status");
        const QString back = " กลับเลข ";
        QTest::newRow("1") << "5+19" << 19 << "05 15 25 35 45 50 51 52 53 54 55 56 57 58 59 65 75 85 95 "
                           << " ทำวิ่งเป็น2ตัว19 ประตู ";
        QTest::newRow("2") << "57+2" << 2 << "57 75 " << back;
        QTest::newRow("2 doubled") << "55+2" << 1 << "55 " << back;
        QTest::newRow("3") << "5+10" << 10 << "05 15 25 35 45 55 56 57 58 59 "
                           << " ทำวิ่งเป็นคู่โต๊ด 10 ประตู ";
        QTest::newRow("4") << "5+271" << 271 << "005 015 025 035 045 050 "
                           << " ทำวิ่งเป็น3ตัวตรง 271 ประตู ";
        QTest::newRow("5") << "5+55" << 55 << "005 015 025 "
                           << " ทำวิ่งเป็น3ตัวโต๊ด 55 ประตู ";
        QTest::newRow("6") << "12+54" << 54 << "012 021 102 112 120 "
                           << " ทำคู่โต๊ดเป็น3ตัวตรง 54 ประตู ";
        QTest::newRow("6 doubled") << "11+54" << 28 << "011 101 110 111 112 "
                                   << " ทำคู่โต๊ดเป็น3ตัวตรง 54 ประตู ";
        QTest::newRow("7") << "11+28" << 28 << "011 101 110 111 112 "
                           << " ทำคู่โต๊ดเป็น3ตัวตรง 28 ประตู ";
        QTest::newRow("8") << "57+10-" << 10 << "057 157 257 357 457 557 567 577 578 579 "
                           << " ทำคู่โต๊ดเป็น3ตัวโต๊ด 10 ประตู ";
        QTest::newRow("9") << "57+10" << 10 << "057 157 257 357 457 557 657 757 857 957 "
                           << " ทำ2ตัวเป็น3ตัวตรง 10 ประตู ";
        QTest::newRow("10") << "112+6" << 3 << "112 121 211 "
                            << " ทำ3ตัวโต๊ดเป็น3ตัวตรง 6 ประตู ";
        QTest::newRow("11") << "123+3" << 6 << "123 132 213 231 312 321 "
                            << " ทำ3ตัวโต๊ดเป็น3ตัวตรง 3 ประตู ";
        QTest::newRow("12 palindrome twice") << "121+2" << 2 << "121 121 " << back;
        QTest::newRow("letters hold no digit") << "ab+2" << 0 << "" << back;
        for (const char* text : {"5+", "5+1+9", "5+7", "05+19", "12+3", "+19"})
            QTest::newRow(text) << text << -1 << ""
                                << "";
    }
    void numberField()
    {
        QFETCH(QString, text);
        QFETCH(int, count);
        QFETCH(QString, members);
        QFETCH(QString, status);
        const std::optional<GateExpansion> e = expandNumberField(text);
        QCOMPARE(e.has_value(), count >= 0);
        if (!e) return;
        QCOMPARE(e->gates.count(' '), count);
        QCOMPARE(e->gates.left(members.size()), members);
        QCOMPARE(e->status, status);
        QCOMPARE(e->longList, status.contains("271") || status.contains(" 54 "));
    }

    // Each bet as number-amount@typeIndex.
    void entryLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("bets");
        QTest::newRow("orderings") << "358+6-10"
                                   << "3ตัวตรง"
                                   << "358-10@0 385-10@0 538-10@0 583-10@0 835-10@0 853-10@0";
        QTest::newRow("reverse, not sorted") << "321+2-5"
                                             << "3ตัวโต๊ด"
                                             << "321-5@1 123-5@1";
        QTest::newRow("gate takes the whole amount") << "57+2-1+2"
                                                     << "2ตัวบน"
                                                     << "57-1+2@3 75-1+2@3";
        QTest::newRow("paired") << "543-100+50"
                                << "3ตัวตรง"
                                << "543-100@0 345-50@1";
        QTest::newRow("paired two digits") << "57-1+2"
                                           << "2ตัวบน"
                                           << "57-1@3 57-2@5";
        QTest::newRow("paired runner") << "5-1+2"
                                       << "วิ่งบน"
                                       << "5-1@6 5-2@7";
        QTest::newRow("paired keeps another type") << "123-1+2"
                                                   << "3ตัวล่าง"
                                                   << "123-1@2 123-2@2";
        QTest::newRow("long number, whole amount") << "1234-1+1"
                                                   << "4ตัวโต๊ด"
                                                   << "1234-1+1@10";
        QTest::newRow("wrong length for 19") << "12+19-40"
                                             << "2ตัวบน"
                                             << "";
        QTest::newRow("number-field code") << "5+271-40"
                                           << "3ตัวตรง"
                                           << "";
    }
    void entryLine()
    {
        QFETCH(QString, line);
        QFETCH(QString, type);
        QFETCH(QString, bets);
        QStringList got;
        for (const PlannedBet& b : parseEntryLine(line, type, "x").bets)
            got << b.number + "-" + b.amount + "@" + QString::number(typeIndex(b.type));
        QCOMPARE(got.join(' '), bets);
    }

    // Gate lists are kept per digits once worked out: an answer must never cross over to another
    // set, another width or a number with other digits.
    void gatesFollowDigitsNotOrder()
    {
        auto scan = [](const QString& number, int width, bool ascending) {
            QString out;
            for (const QString& candidate : NumberSet(width, ascending)) {
                QString rest = candidate;
                bool all = true;
                for (QChar c : number) {
                    const qsizetype at = rest.indexOf(c);
                    if (at < 0) {
                        all = false;
                        break;
                    }
                    rest.remove(at, 1);
                }
                if (all) out += candidate + ' ';
            }
            return out;
        };
        for (const QString number : {"12", "21", "112", "211", "7", "55", "ab", "1a", "123456"}) {
            for (int width : {2, 3}) {
                for (int round = 0; round < 2; ++round) { // the second round is answered from the store
                    QCOMPARE(GatesContaining(number, width), scan(number, width, false));
                    QCOMPARE(GatesContainingAscending(number, width), scan(number, width, true));
                }
            }
        }
        QCOMPARE(GatesContaining("12", 2), QString("12 21 "));
        QCOMPARE(GatesContainingAscending("21", 2), QString("12 "));
    }
};

QTEST_APPLESS_MAIN(TestGates)
#include "tst_gates.moc"
