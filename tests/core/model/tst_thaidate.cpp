// Dates as the operator reads them: the Buddhist year across the turn of a year, the Gregorian
// choice, and the dates he types.
#include "core/model/thaidate.h"

#include <QTest>

using namespace varnoth;

class TestThaiDate : public QObject
{
    Q_OBJECT
private slots:
    void shownDates_data()
    {
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<bool>("gregorian");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("shortDateTime");
        const QDateTime lastMinute(QDate(2026, 12, 31), QTime(23, 59, 59));
        const QDateTime firstMinute(QDate(2027, 1, 1), QTime(0, 0));
        QTest::newRow("last minute of 2569") << lastMinute << false << "31 ธันวาคม 2569"
                                             << "31/12/2569 23:59";
        QTest::newRow("first minute of 2570") << firstMinute << false << "1 มกราคม 2570"
                                              << "01/01/2570 00:00";
        QTest::newRow("gregorian last minute") << lastMinute << true << "31 ธันวาคม 2026"
                                               << "31/12/2026 23:59";
        QTest::newRow("gregorian first minute") << firstMinute << true << "1 มกราคม 2027"
                                                << "01/01/2027 00:00";
        QTest::newRow("leap day") << QDateTime(QDate(2028, 2, 29), QTime(9, 5)) << false << "29 กุมภาพันธ์ 2571"
                                  << "29/02/2571 09:05";
        QTest::newRow("invalid") << QDateTime() << false << QString() << QString();
    }
    void shownDates()
    {
        QFETCH(QDateTime, when);
        QFETCH(bool, gregorian);
        QFETCH(QString, date);
        QFETCH(QString, shortDateTime);
        const YearStyle style = gregorian ? YearStyle::Gregorian : YearStyle::Buddhist;
        QCOMPARE(thaiDate(when.date(), style), date);
        QCOMPARE(thaiShortDateTime(when, style), shortDateTime);
        QCOMPARE(thaiDateTime(when, style), date.isEmpty() ? QString() : date + shortDateTime.mid(10));
    }

    // Every month has its own name: a table off by one would still give twelve names.
    void monthNames()
    {
        QCOMPARE(thaiMonthName(1), QStringLiteral("มกราคม"));
        QCOMPARE(thaiMonthName(4), QStringLiteral("เมษายน"));
        QCOMPARE(thaiMonthName(12), QStringLiteral("ธันวาคม"));
        QCOMPARE(thaiMonthName(0), QString());
        QCOMPARE(thaiMonthName(13), QString());
    }

    void typedDates_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("date");
        QTest::newRow("buddhist") << "16/12/2569" << QDate(2026, 12, 16);
        QTest::newRow("gregorian") << "16/12/2026" << QDate(2026, 12, 16);
        QTest::newRow("iso") << "2026-12-16" << QDate(2026, 12, 16);
        QTest::newRow("dots, short day and month") << " 1.1.2570 " << QDate(2027, 1, 1);
        QTest::newRow("no 31 February") << "31/02/2569" << QDate();
        QTest::newRow("two-digit year") << "16/12/69" << QDate();
        QTest::newRow("words") << "พรุ่งนี้" << QDate();
        QTest::newRow("empty") << "" << QDate();
    }
    void typedDates()
    {
        QFETCH(QString, typed);
        QFETCH(QDate, date);
        QCOMPARE(parseTypedDate(typed), date);
    }

    // The logs keep ISO stamps; the reader sees the day first and the Buddhist year, seconds kept.
    void logStamps_data()
    {
        QTest::addColumn<QString>("stamp");
        QTest::addColumn<QString>("shown");
        QTest::newRow("new year's eve") << "2026-12-31 23:59:58"
                                        << "31/12/2569 23:59:58";
        QTest::newRow("with T") << "2027-01-01T00:00:01"
                                << "01/01/2570 00:00:01";
        QTest::newRow("date only") << "2027-01-01"
                                   << "01/01/2570";
        QTest::newRow("no such day") << "2026-13-01 10:00:00"
                                     << "2026-13-01 10:00:00";
        QTest::newRow("not a stamp") << "x2026-12-31"
                                     << "x2026-12-31";
    }
    void logStamps()
    {
        QFETCH(QString, stamp);
        QFETCH(QString, shown);
        QCOMPARE(thaiStamp(stamp, YearStyle::Buddhist), shown);
    }
};

QTEST_MAIN(TestThaiDate)
#include "tst_thaidate.moc"
