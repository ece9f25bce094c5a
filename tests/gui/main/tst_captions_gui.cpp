// Every caption the operator reads on a menu item, a window's title bar or a button is Thai, apart from
// the English captions the first windows have always had: the real windows are opened in every mode
// and their widgets walked.
#include "gui/main/Form1.h"
#include "gui/main/session.h"
#include "gui/reports/ExposureMapWindow.h"
#include "guisupport.h"
#include "mainui.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QRegularExpression>
#include <QSet>
#include <QTableView>
#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{

// The English captions the first windows have always had; the program keeps them as they are.
const QSet<QString> KeptEnglish = {
    "Varnoth V3.3 Pro",
    "File",
    "Open Database",
    "Start",
    "Restore",
    "Backup",
    "Printer",
    "Print",
    "Notepad",
    "Close",
    "More",
    "Edit",
    "Delete",
    "Search",
    "Calculator",
    "Help",
    "Read Me",
    "Enter",
    "C",
    "Readme",
    "Over",
    "Check Limit",
    "Lottery Result",
    "Debit",
    "Promotion",
    "Limiter",
    "Cutting",
    "Digit Cutting",
    "Package",
    "Result",
    "Operating",
    "Scoring",
    "Customer",
    "Open",
    "Save",
};

// A caption with Latin letters and no Thai one.
bool latinOnly(const QString& caption)
{
    static const QRegularExpression latin(QStringLiteral("[A-Za-z]"));
    static const QRegularExpression thai(QStringLiteral("[\\x{0E00}-\\x{0E7F}]"));
    return caption.contains(latin) && !caption.contains(thai);
}

// The captions of a window: its title, its buttons (check boxes included), its menus and their items.
QStringList captionsOf(const QWidget* w)
{
    QStringList out{w->windowTitle()};
    for (const QAbstractButton* b : w->findChildren<QAbstractButton*>())
        out << b->text();
    for (const QMenu* m : w->findChildren<QMenu*>()) {
        out << m->title();
        for (const QAction* a : m->actions())
            if (!a->isSeparator()) out << a->text();
    }
    return out;
}

// The captions not kept from the first windows that are not Thai, each with where it was found.
QStringList strays(const QString& where, const QStringList& captions)
{
    QStringList found;
    for (QString caption : captions) {
        caption.remove(QLatin1Char('&'));
        caption = caption.trimmed();
        if (latinOnly(caption) && !KeptEnglish.contains(caption)) found << where + QStringLiteral(": ") + caption;
    }
    return found;
}

struct Fixture {
    TempBook book;
    Session session;
    MainWindow main{*book.store, session};
    Fixture()
    {
        main.finishStartup();
        main.dispatch().setInstantGrowIn(true);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
    }
};

} // namespace

class TestCaptionsGui : public QObject
{
    Q_OBJECT
private slots:
    // The check itself tells a stray caption from a Thai one and from a kept one.
    void theCheckFindsAStray_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("stray");
        QTest::newRow("english") << "Exposure Map" << true;
        QTest::newRow("english with a mnemonic") << "&Zoom" << true;
        QTest::newRow("thai") << "ผังยอดเลข" << false;
        QTest::newRow("thai around a latin word") << "บันทึก PDF" << false;
        QTest::newRow("kept with its mnemonic") << "&File" << false;
        QTest::newRow("signs only") << "+" << false;
    }
    void theCheckFindsAStray()
    {
        QFETCH(QString, caption);
        QFETCH(bool, stray);
        QCOMPARE(strays("w", {caption}).isEmpty(), !stray);
    }

    void everyWindowInEveryMode()
    {
        Fixture f;
        QStringList found = strays(QStringLiteral("Form1"), captionsOf(&f.main));
        int opened = 0;
        for (int id = 0; id < WindowIdEnd; ++id) {
            for (int mode = 0; mode <= static_cast<int>(WindowMode::BookOptions); ++mode) {
                f.session.WindowMode = static_cast<WindowMode>(mode);
                SecondaryWindow* w = f.main.OpenWindow(static_cast<WindowId>(id));
                if (!w) continue;
                ++opened;
                found << strays(w->objectName(), captionsOf(w));
                f.main.dispatch().closeWindow(static_cast<WindowId>(id));
            }
        }
        QCOMPARE(opened, 22 * 9); // every window, in each of the nine modes
        found.removeDuplicates();
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral("; "))));
    }

    // The map's small box that asks for a number's limit has Thai buttons too.
    void theMapsLimitBox()
    {
        Fixture f;
        auto* map = qobject_cast<ExposureMapWindow*>(f.main.OpenWindow(WindowId::ExposureMap));
        QVERIFY(map);
        QMenu* menu = map->ruleMenu(map->Grid1->model()->index(0, 0));
        QVERIFY(menu);
        QAction* setLimit = menu->findChild<QAction*>(QStringLiteral("mapSetLimit"));
        QVERIFY(setLimit);
        QStringList found;
        const bool asked = answerQuestion([&] { setLimit->trigger(); },
                                          [&](QWidget* box) {
                                              found = strays(box->objectName(), captionsOf(box));
                                              QMetaObject::invokeMethod(box, "reject", Qt::QueuedConnection);
                                          });
        QVERIFY(asked);
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral("; "))));
        delete menu;
    }
};

QTEST_MAIN(TestCaptionsGui)
#include "tst_captions_gui.moc"
