#include "bookmaker.h"
#include "core/model/types.h"
#include "entry/entry.h"
#include "gui/main/Form1.h"
#include "gui/main/session.h"
#include "gui/reports/ExposureMapWindow.h"
#include "mainui.h"
#include "reports/exposure.h"
#include "storage/folder/store.h"
#include "testsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

void enter(Store& store, const QString& customer, const QStringList& lines, const QString& type)
{
    store.creationSequence(customer);
    EntryBatch batch(store, customer);
    for (const QString& l : lines)
        batch.addLine(l, type, false);
    batch.commit();
}

const ExposureCell& cellOf(const Exposure& e, const QString& number)
{
    for (const ExposureCell& c : e.cells)
        if (c.number == number) return c;
    qFatal("no cell %s", qPrintable(number));
}

} // namespace

class TestExposure : public QObject
{
    Q_OBJECT
private slots:
    void figuresAndLevels()
    {
        TempBook book;
        enter(*book.store, "x", {"12-40", "34-100", "56-300"}, "2ตัวบน");
        enter(*book.store, "y", {"12-10", "56-100"}, "2ตัวบน");
        book.put("lotto2.gif", "2ตัวบน#200\r\n\r\n");
        book.put("lotto3.gif", "123456#111#222#333#444#56#\r\n2ตัวบน#56-\r\n\r\n");
        // 56 holds 400 against a limit of 200; 150 of it was already sent.
        QString sent = book.text("b_3.gif");
        sent.replace("\r\n56-0\r\n", "\r\n56-150\r\n");
        book.put("b_3.gif", sent);

        const Exposure e = buildExposure(*book.store, "2ตัวบน");
        QCOMPARE(e.cells.size(), 100);
        QCOMPARE(e.columns, 10);
        QCOMPARE(e.limit, QString("200"));
        QCOMPARE(cellOf(e, "12").stake, 50.0);
        QCOMPARE(cellOf(e, "12").level, ExposureLevel::UpToHalf);
        QCOMPARE(cellOf(e, "34").level, ExposureLevel::UpToHalf); // 100 is half of 200
        QCOMPARE(cellOf(e, "56").stake, 400.0);
        QCOMPARE(cellOf(e, "56").excess, 50.0);
        QCOMPARE(cellOf(e, "56").level, ExposureLevel::Above);
        QVERIFY(cellOf(e, "56").winning);
        QCOMPARE(cellOf(e, "99").level, ExposureLevel::None);
        QCOMPARE(e.total, 550.0);
        QCOMPARE(e.totalExcess, 50.0);
        QCOMPARE(customerStakes(*book.store, "2ตัวบน", "56"), QStringList({"x: 300.00", "y: 100.00"}));

        // Once the whole excess is sent, the number holds the limit: up to the limit.
        sent.replace("\r\n56-150\r\n", "\r\n56-200\r\n");
        book.put("b_3.gif", sent);
        QCOMPARE(cellOf(buildExposure(*book.store, "2ตัวบน"), "56").level, ExposureLevel::UpToLimit);
        // Without a limit nothing is above it.
        book.put("lotto2.gif", "");
        QCOMPARE(cellOf(buildExposure(*book.store, "2ตัวบน"), "56").level, ExposureLevel::UpToHalf);
    }

    void windowFollowsEntries()
    {
        TempBook book;
        enter(*book.store, "x", {"12-40"}, "2ตัวบน");
        Session session;
        MainWindow main(*book.store, session);
        main.finishStartup();
        main.dispatch().setInstantGrowIn(true);
        main.show();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QTest::keyClick(ui(main).Text1, Qt::Key_M, Qt::ControlModifier);
        auto* map = main.dispatch().get<ExposureMapWindow>(WindowId::ExposureMap);
        QVERIFY(map);
        QCOMPARE(map->windowTitle(), QString("ผังยอดเลข"));
        map->Combo1->setCurrentText("2ตัวบน");
        const QModelIndex twelve = map->model()->index(1, 2);
        QCOMPARE(map->model()->data(twelve, ExposureModel::StakeRole).toDouble(), 40.0);
        enter(*book.store, "y", {"12-60"}, "2ตัวบน");
        QTRY_COMPARE(map->model()->data(map->model()->index(1, 2), ExposureModel::StakeRole).toDouble(), 100.0);
        QTest::mouseClick(map->Grid1->viewport(), Qt::LeftButton, {},
                          map->Grid1->visualRect(map->model()->index(1, 2)).center());
        QVERIFY(map->List1->count() >= 3);
        QCOMPARE(map->List1->item(1)->text(), QString("x: 40.00"));
    }

    // With the wider Thai fonts of another system (Tahoma on Windows) the map still fits a screen of
    // 800 × 600: its long lines wrap or shrink instead of widening the window.
    void fitsASmallScreenWithWideFonts()
    {
        TempBook book;
        enter(*book.store, "x", {"12-4000000"}, "2ตัวบน");
        book.put("lotto2.gif", "2ตัวบน#1000000\r\n\r\n");
        const QFont before = QApplication::font();
        QFont wide = before;
        wide.setPointSizeF(before.pointSizeF() * 1.35);
        QApplication::setFont(wide);
        Session session;
        {
            MainWindow main(*book.store, session);
            main.finishStartup();
            main.dispatch().setInstantGrowIn(true);
            main.show();
            main.OpenWindow(WindowId::ExposureMap);
            auto* map = main.dispatch().get<ExposureMapWindow>(WindowId::ExposureMap);
            QVERIFY(map);
            map->Combo1->setCurrentText("2ตัวบน");
            const QSize least = map->minimumSizeHint();
            QVERIFY2(least.width() <= 780 && least.height() <= 560,
                     qPrintable(QStringLiteral("%1x%2").arg(least.width()).arg(least.height())));
            // ... and every line of text still gets room to be read.
            QVERIFY(QTest::qWaitForWindowExposed(map));
            for (const QLabel* label : map->findChildren<QLabel*>())
                if (!label->text().isEmpty()) QVERIFY2(label->width() > 60, qPrintable(label->text()));
        }
        QApplication::setFont(before);
    }

    void fastOnAFullBook()
    {
        QTemporaryDir dir;
        bench::makeBook(dir.path(), bench::BookSize{200});
        Store store(dir.path());
        QElapsedTimer t;
        t.start();
        const Exposure e = buildExposure(store, "5ตัวโต๊ด");
        const qint64 open = t.elapsed();
        QCOMPARE(e.cells.size(), 2002);
        QVERIFY(e.total > 0);
        QVERIFY2(open < timeLimit(300), "the map must open within 300 ms");
        // The window keeps each customer's sums and reads again only what changed.
        ExposureSource source(store);
        t.restart();
        const Exposure first = source.build("5ตัวโต๊ด");
        const qint64 sourceOpen = t.elapsed();
        QCOMPARE(first.total, e.total);
        EntryBatch batch(store, "c7");
        batch.addLine("12345-100", "5ตัวโต๊ด", false);
        batch.commit();
        t.restart();
        const Exposure after = source.build("5ตัวโต๊ด");
        const qint64 update = t.elapsed();
        QCOMPARE(after.total, e.total + 100);
        QCOMPARE(after.total, buildExposure(store, "5ตัวโต๊ด").total);
        qInfo("exposure map of 5ตัวโต๊ด on 200 customers: %lld ms (kept sums: %lld ms), after an entry %lld ms", open,
              sourceOpen, update);
        QVERIFY2(sourceOpen < timeLimit(300), "the map must open within 300 ms");
        QVERIFY2(update < timeLimit(50), "the map must follow an entry within 50 ms");
    }
};

QTEST_MAIN(TestExposure)
#include "tst_exposure_gui.moc"
