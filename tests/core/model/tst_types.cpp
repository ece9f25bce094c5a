#include "core/model/text.h"
#include "core/model/types.h"

#include <QTest>

using namespace varnoth;

class TestTypes : public QObject
{
    Q_OBJECT
private slots:
    void typeOrderIsTheStoredFormat()
    {
        const QStringList names = typeNames();
        QCOMPARE(names.size(), 12);
        QCOMPARE(names.first(), QString("3ตัวตรง"));
        QCOMPARE(names[4], QString("คู่โต๊ด"));
        QCOMPARE(names.last(), QString("5ตัวโต๊ด"));
        QCOMPARE(typeIndex("วิ่งล่าง"), 7);
        QCOMPARE(typeIndex("ทั้งหมด"), -1);
        QCOMPARE(typeIndex(""), -1);
    }

    void setSizes_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::newRow("3 straight") << "3ตัวตรง" << 1000 << "000"
                                    << "999";
        QTest::newRow("3 perm") << "3ตัวโต๊ด" << 220 << "000"
                                << "999";
        QTest::newRow("3 lower") << "3ตัวล่าง" << 1000 << "000"
                                 << "999";
        QTest::newRow("2 top") << "2ตัวบน" << 100 << "00"
                               << "99";
        QTest::newRow("pair perm") << "คู่โต๊ด" << 55 << "00"
                                   << "99";
        QTest::newRow("run") << "วิ่งบน" << 10 << "0"
                             << "9";
        QTest::newRow("3 head") << "3ตัวตรงหัว" << 1000 << "000"
                                << "999";
        QTest::newRow("3 head perm") << "3ตัวโต๊ดหัว" << 220 << "000"
                                     << "999";
        QTest::newRow("4 perm") << "4ตัวโต๊ด" << 715 << "0000"
                                << "9999";
        QTest::newRow("5 perm") << "5ตัวโต๊ด" << 2002 << "00000"
                                << "99999";
        QTest::newRow("unknown") << "หวยลาว" << 0 << ""
                                 << "";
    }
    void setSizes()
    {
        QFETCH(QString, type);
        QFETCH(int, size);
        QFETCH(QString, first);
        QFETCH(QString, last);
        const QStringList& set = NumberSet(type);
        QCOMPARE(set.size(), size);
        if (size) {
            QCOMPARE(set.first(), first);
            QCOMPARE(set.last(), last);
        }
    }

    void ascendingSetIsSortedAndNonDecreasing()
    {
        const QStringList& set = NumberSet(3, true);
        for (int i = 0; i < set.size(); ++i) {
            QCOMPARE(SortDigits(set[i]), set[i]);
            if (i) QVERIFY(set[i - 1] < set[i]);
        }
        QCOMPARE(NumberSet(2, true).mid(0, 12),
                 QStringList({"00", "01", "02", "03", "04", "05", "06", "07", "08", "09", "11", "12"}));
    }

    void freshContent()
    {
        QCOMPARE(InitialContent("วิ่งบน"),
                 QString("0-0\r\n1-0\r\n2-0\r\n3-0\r\n4-0\r\n5-0\r\n6-0\r\n7-0\r\n8-0\r\n9-0\r\n"));
        const QString five = InitialContent("5ตัวโต๊ด");
        QVERIFY(five.startsWith("00000-0\r\n00001-0\r\n"));
        QVERIFY(five.endsWith("99999-0\r\n"));
        QCOMPARE(NumberSetList("3ตัวตรง").left(12), QString("000#001#002#"));
        QCOMPARE(InitialContent("nothing"), QString());
    }

    void classification()
    {
        QCOMPARE(classifyType("3ตัวตรงหัวท้าย").digits, 3); // caught by the first rule
        QVERIFY(!classifyType("3ตัวตรงหัวท้าย").ascending);
        QVERIFY(classifyType("3ตัวโต๊ดหัว").ascending);
        QVERIFY(isPermutationType("คู่โต๊ด"));
        QVERIFY(!isPermutationType("2ตัวบน"));
    }
};

QTEST_APPLESS_MAIN(TestTypes)
#include "tst_types.moc"
