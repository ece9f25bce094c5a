#include "model/text.h"
#include "tools/readme.h"

#include <QRegularExpression>
#include <QTest>

using namespace varnoth;

class TestReadme : public QObject
{
    Q_OBJECT
private slots:
    void topicsInOrder()
    {
        const QStringList expected = {"-เกี่ยวกับโปรแกรม",       "-ระบบที่รองรับ",        "-คุณสมบัติของโปรแกรม",
                                      "-การติดตั้งโปรแกรม",      "-เริ่มต้นใช้โปรแกรม",    "-การคีย์ข้อมูลเข้า",
                                      "-คีย์ข้อมูลแบบเร็วด้วยคีย์ลัด", "-วิธีทำประตูอัตโนมัติ",    "-การตั้งค่า",
                                      "-การจัดการกับข้อมูล",      "-การสั่งพิมพ์ข้อมูล",      "-การใช้ 7 ปุ่ม",
                                      "-การเรียกดูข้อมูลทั้งหมด",   "-การเก็บสำรองข้อมูล",   "-การนำข้อมูลกลับมาใช้ใหม่",
                                      "-ถ่ายโอนข้อมูล เครื่องลูก",  "-ถ่ายโอนข้อมูล เครื่องแม่"};
        QCOMPARE(readmeTopics(ReadmeLines()), expected);
    }

    // Every section is a heading, indented body lines and one empty line, so a click finds it whole.
    void everyLineHasItsForm()
    {
        const QStringList lines = ReadmeLines();
        const QRegularExpression body(QStringLiteral("^ {1,18}(\\S.*)?$"));
        bool afterEmpty = true;
        for (const QString& line : lines) {
            if (line.isEmpty()) {
                QVERIFY2(!afterEmpty, "two empty lines in a row");
                afterEmpty = true;
            } else if (afterEmpty) {
                QVERIFY2(line.startsWith('-'), qPrintable(line));
                afterEmpty = false;
            } else {
                QVERIFY2(body.match(line).hasMatch(), qPrintable(line));
            }
        }
        QVERIFY(lines.last().isEmpty());
    }

    void sections_data()
    {
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QStringList>("section");
        QTest::newRow("backup alone") << "-การเก็บสำรองข้อมูล"
                                      << QStringList{"-การเก็บสำรองข้อมูล", " 1. เสียบแฟลชไดร์ฟ",
                                                     " 2. เลือกเมนู File > Backup", " 3. เลือกไดร์ฟ", " 4. กดปุ่ม ตกลง"};
        QTest::newRow("restore ends merging")
            << "-การนำข้อมูลกลับมาใช้ใหม่"
            << QStringList{
                   "-การนำข้อมูลกลับมาใช้ใหม่", " 1. เสียบแฟลชไดร์ฟที่มีข้อมูลสำรอง", " 2. เลือกเมนู File > Restore", " 3. เลือกไดร์ฟ",
                   " 4. กดปุ่ม ตกลง",        " 5. ข้อมูลจะถูกนำมารวมกับข้อมูลเดิม"};
    }
    void sections()
    {
        QFETCH(QString, heading);
        QFETCH(QStringList, section);
        QString expected;
        for (const QString& line : section)
            expected += line + CRLF;
        QCOMPARE(readmeSection(ReadmeLines(), heading), expected);
    }

    void lastSectionRunsToItsEmptyLine()
    {
        const QStringList lines = ReadmeLines();
        const int start = lines.indexOf("-ถ่ายโอนข้อมูล เครื่องแม่");
        QVERIFY(start > 0);
        const QStringList body = lines.mid(start, lines.size() - 1 - start);
        QCOMPARE(readmeSection(lines, "-ถ่ายโอนข้อมูล เครื่องแม่"), body.join(CRLF) + CRLF);
        QVERIFY(body.size() > 5);
    }
};

QTEST_GUILESS_MAIN(TestReadme)
#include "tst_readme.moc"
