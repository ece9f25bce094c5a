#include "audit/audittexts.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "entry/chattexts.h"
#include "gui/main/windowtexts.h"
#include "settings/numberruletexts.h"
#include "settings/options.h"
#include "tools/readme.h"

#include <QSet>

#include <QRegularExpression>
#include <QResource>
#include <QTest>

using namespace varnoth;

class TestReadme : public QObject
{
    Q_OBJECT
private slots:
    // The guide is compiled into every program of the library from its text file, and read back line
    // by line: no line end is left in a line, and the last section keeps its closing empty line.
    void guideIsCompiledIn()
    {
        QVERIFY(QResource(QStringLiteral(":/guide/readme.txt")).isValid());
        const QStringList lines = ReadmeLines();
        QVERIFY(lines.size() > 200);
        QVERIFY(lines.first().startsWith(QLatin1Char('-')));
        QCOMPARE(lines.last(), QString());
        QVERIFY(!lines.join(QString()).contains(QLatin1Char('\r')));
        QCOMPARE(lines.join(QString()).count(QLatin1Char('\n')), 0);
    }

    void topicsInOrder()
    {
        const QStringList expected = {"-เกี่ยวกับโปรแกรม",       "-ระบบที่รองรับ",        "-คุณสมบัติของโปรแกรม",
                                      "-การติดตั้งโปรแกรม",      "-เริ่มต้นใช้โปรแกรม",    "-การคีย์ข้อมูลเข้า",
                                      "-คีย์ข้อมูลแบบเร็วด้วยคีย์ลัด", "-วิธีทำประตูอัตโนมัติ",    "-การตั้งค่า",
                                      "-การจัดการกับข้อมูล",      "-การสั่งพิมพ์ข้อมูล",      "-การใช้ 7 ปุ่ม",
                                      "-การเรียกดูข้อมูลทั้งหมด",   "-การเก็บสำรองข้อมูล",   "-การนำข้อมูลกลับมาใช้ใหม่",
                                      "-ถ่ายโอนข้อมูล เครื่องลูก",  "-ถ่ายโอนข้อมูล เครื่องแม่"};
        // The first sections stand as they always have; the guide to the later windows follows them.
        const QStringList topics = readmeTopics(ReadmeLines());
        QCOMPARE(topics.mid(0, expected.size()), expected);
        QVERIFY(topics.size() > expected.size());
        // A heading given twice would show both sections as one.
        QCOMPARE(QSet<QString>(topics.cbegin(), topics.cend()).size(), topics.size());
    }

    // Every window and step the menu offers beyond the first ones has its place in the guide under
    // the caption the operator sees, and every type key names its type.
    void guideCoversTheLaterWindowsAndKeys()
    {
        const QString guide = ReadmeLines().join(QLatin1Char('\n'));
        for (const QString& caption :
             {MapMenuText, RulesMenuText, BillsMenuText, OwedMenuText, PastDrawsMenuText, UndoMenuCaption,
              RedoMenuCaption, ChatWindowTitle, AuditWindowTitle, OptionsPickerEntry, RulesPickerEntry})
            QVERIFY2(guide.contains(QStringLiteral("-") + caption) || guide.contains(QStringLiteral("> ") + caption) ||
                         guide.contains(QStringLiteral("เลือก ") + caption),
                     qPrintable(caption));
        for (int i = 0; i < 12; ++i) {
            const QString key = QStringLiteral("F%1 ").arg(i + 1) + typeNames()[i];
            const QRegularExpression named(QStringLiteral("(^|\\s)") + QRegularExpression::escape(key) +
                                           QStringLiteral("(\\s|$)"));
            QVERIFY2(guide.contains(named), qPrintable(key));
        }
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
        const QString last = readmeTopics(lines).last();
        const int start = lines.indexOf(last);
        QVERIFY(start > 0);
        const QStringList body = lines.mid(start, lines.size() - 1 - start);
        QCOMPARE(readmeSection(lines, last), body.join(CRLF) + CRLF);
        QVERIFY(body.size() > 1);
    }
};

QTEST_GUILESS_MAIN(TestReadme)
#include "tst_readme.moc"
