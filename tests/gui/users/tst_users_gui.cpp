#include "accounts/usertexts.h"
#include "app/Ledger.h"
#include "audit/auditlog.h"
#include "gui/main/WindowDispatch.h"
#include "gui/main/session.h"
#include "gui/users/PinDialog.h"
#include "gui/users/SeatControl.h"
#include "gui/users/UsersWindow.h"
#include "guisupport.h"
#include "mainui.h"
#include "testsupport.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <memory>

using namespace varnoth;
using namespace varnoth::test;

namespace
{
const QString Owner = QStringLiteral("เจ๊หมวย");
const QString Keyer = QStringLiteral("แดง");

struct Fixture {
    TempBook book;
    Session session;
    Ledger ledger{*book.store, session};
    Fixture()
    {
        QVERIFY(ledger.addUser(Owner, Role::Owner, QStringLiteral("9876")).ok());
        QVERIFY(ledger.addUser(Keyer, Role::Keyer, QStringLiteral("1234")).ok());
        ledger.signOut();
    }
};

// A main window on a book with an owner and a keyer, the keyer at the seat, as the program opens it.
struct MainFixture {
    TempBook book;
    Session session;
    MainWindow main{*book.store, session};
    Ledger& ledger = main.ledger();
    std::unique_ptr<SeatControl> seat;
    MainFixture()
    {
        book.store->creationSequence(QStringLiteral("x"));
        acceptNewCustomers(main);
        main.finishStartup();
        main.dispatch().setInstantGrowIn(true);
        ledger.addUser(Owner, Role::Owner, QStringLiteral("9876"));
        ledger.addUser(Keyer, Role::Keyer, QStringLiteral("1234"));
        ledger.signIn(Keyer, QStringLiteral("1234"));
        main.show();
        seat = std::make_unique<SeatControl>(ledger, main);
    }
    ~MainFixture() { seat.reset(); }
    QString lastAuditLine() const
    {
        const QList<QByteArray> lines = book.bytes(AuditLogFileName).trimmed().split('\n');
        return QString::fromUtf8(lines.last());
    }
    QString seatShown() const { return main.statusBar()->findChild<QLabel*>(QStringLiteral("seat"))->text(); }
};

void typePin(PinDialog& dialog, const QString& name, const QString& pin)
{
    dialog.names()->setCurrentText(name);
    QTest::keyClicks(dialog.pin(), pin);
    QTest::keyClick(dialog.pin(), Qt::Key_Return);
}
} // namespace

class TestUsersGui : public QObject
{
    Q_OBJECT
private slots:
    // A wrong PIN keeps the dialog open with its line and signs nobody in; the right one signs in.
    void signIn()
    {
        Fixture f;
        PinDialog dialog(f.ledger, PinDialog::Purpose::SignIn);
        dialog.show();
        QCOMPARE(dialog.names()->count(), 2);
        typePin(dialog, Keyer, QStringLiteral("1111"));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.message()->text(), WrongPinText);
        QVERIFY(dialog.pin()->text().isEmpty());
        QCOMPARE(f.ledger.seatUser(), QString());
        typePin(dialog, Keyer, QStringLiteral("1234"));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(f.ledger.seatUser(), Keyer);
    }

    // The owner's PIN prompt lists the owners only, and lets the refused act through once.
    void ownerPinOnTheSpot()
    {
        Fixture f;
        QVERIFY(f.ledger.signIn(Keyer, QStringLiteral("1234")).ok());
        QCOMPARE(f.ledger.setOption(QStringLiteral("shop"), QStringLiteral("a")).outcome.status, Status::NeedsOwner);
        PinDialog dialog(f.ledger, PinDialog::Purpose::OwnerPin);
        dialog.show();
        QCOMPARE(dialog.names()->count(), 1);
        QCOMPARE(dialog.message()->text(), NeedsOwnerText);
        typePin(dialog, Owner, QStringLiteral("9876"));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(f.ledger.setOption(QStringLiteral("shop"), QStringLiteral("a")).outcome.status, Status::Ok);
        QCOMPARE(f.ledger.seatUser(), Keyer);
    }

    // The seat shows in the title and status bar; ten idle minutes on the given clock lock it, a key
    // press puts the count back, and the PIN opens it again.
    void idleLock()
    {
        Fixture f;
        QVERIFY(f.ledger.signIn(Keyer, QStringLiteral("1234")).ok());
        QMainWindow window;
        window.setWindowTitle(QStringLiteral("Varnoth"));
        window.show();
        QDateTime now(QDate(2026, 12, 1), QTime(9, 0));
        SeatControl seat(f.ledger, window);
        seat.setClock([&] { return now; });
        seat.showSeat();
        const QString shown = AtSeatText.arg(Keyer, KeyerRoleText);
        QVERIFY(window.windowTitle().endsWith(shown));
        QCOMPARE(window.statusBar()->findChild<QLabel*>(QStringLiteral("seat"))->text(), shown);

        QTest::keyClick(&window, Qt::Key_Shift); // activity at 9:00 on the test's clock
        now = now.addSecs(9 * 60 + 59);
        seat.checkIdle();
        QVERIFY(!seat.locked());
        now = now.addSecs(1);
        seat.checkIdle();
        QVERIFY(seat.locked());
        PinDialog* lock = seat.lockDialog();
        QCOMPARE(lock->names()->currentText(), Keyer);
        typePin(*lock, Keyer, QStringLiteral("0000"));
        QVERIFY(seat.locked());
        typePin(*lock, Keyer, QStringLiteral("1234"));
        QTRY_VERIFY(!seat.locked());
    }

    // The users window opens from the menu. A keyer's change there asks the owner's PIN on the spot:
    // waved away, nothing changes and the window says why; given, the change is made at once and
    // logged under the owner with the keyer at the seat.
    void ownersPinRetriesTheWindowsAct()
    {
        MainFixture f;
        QAction* menu = f.main.findChild<QAction*>(QStringLiteral("mUsers"));
        QVERIFY(menu);
        menu->trigger();
        auto* users = f.main.dispatch().get<UsersWindow>(WindowId::Users);
        QVERIFY(users && users->isVisible());
        auto* name = users->findChild<QLineEdit*>(QStringLiteral("name"));
        auto* pin = users->findChild<QLineEdit*>(QStringLiteral("pin"));
        auto* add = users->findChild<QPushButton*>(QStringLiteral("add"));
        auto* message = users->findChild<QLabel*>(QStringLiteral("message"));
        const QString Toy = QStringLiteral("ต้อย");
        name->setText(Toy);
        pin->setText(QStringLiteral("4321"));
        const auto before = folderBytes(f.book.folder());
        QVERIFY(answerQuestion([&] { add->click(); },
                               [](QWidget* box) {
                                   QVERIFY(qobject_cast<PinDialog*>(box));
                                   QMetaObject::invokeMethod(box, "reject", Qt::QueuedConnection);
                               }));
        QCOMPARE(message->text(), NeedsOwnerText);
        QCOMPARE(folderBytes(f.book.folder()), before);

        pin->setText(QStringLiteral("4321"));
        QVERIFY(answerQuestion([&] { add->click(); },
                               [&](QWidget* box) {
                                   auto* dialog = qobject_cast<PinDialog*>(box);
                                   QVERIFY(dialog);
                                   typePin(*dialog, Owner, QStringLiteral("9876"));
                               }));
        QCOMPARE(message->text(), UserAddedText + Toy);
        QVERIFY(f.ledger.users().find(Toy));
        QVERIFY(f.lastAuditLine().contains(OwnerAtSeatText.arg(Owner, Keyer)));
        QCOMPARE(f.ledger.seatUser(), Keyer);
        // Once the program waits for the operator again, the next owner's act asks again.
        QCoreApplication::processEvents();
        QVERIFY(answerQuestion([&] { f.ledger.setOption(QStringLiteral("shop"), QStringLiteral("a")); },
                               [](QWidget* box) { QMetaObject::invokeMethod(box, "reject", Qt::QueuedConnection); }));
    }

    // The keyer's bets name him on the main list; the seat in the title and status bar follows every
    // sign-in and sign-out, the lock's included.
    void keyerOnTheListAndAtTheSeat()
    {
        MainFixture f;
        const QString keyerShown = AtSeatText.arg(Keyer, KeyerRoleText);
        QVERIFY2(f.main.windowTitle().endsWith(keyerShown), qPrintable(f.main.windowTitle()));
        QCOMPARE(f.seatShown(), keyerShown);
        MainUi ui(f.main);
        ui.Combo2->setEditText(QStringLiteral("x"));
        const int type = ui.Combo1->findText(QStringLiteral("2ตัวบน"));
        ui.Combo1->setCurrentIndex(type);
        emit ui.Combo1->activated(type);
        QTest::keyClicks(ui.Text1, QStringLiteral("12"));
        QTest::keyClicks(ui.Text2, QStringLiteral("100"));
        QTest::keyClick(ui.Text2, Qt::Key_Return);
        QCOMPARE(listLines(ui.List1).last(), QStringLiteral("12-100  (คีย์ แดง)"));

        f.seat->switchUser();
        QVERIFY(f.seat->locked());
        QCOMPARE(f.seatShown(), NotSignedInText);
        typePin(*f.seat->lockDialog(), Owner, QStringLiteral("9876"));
        QTRY_VERIFY(!f.seat->locked());
        const QString ownerShown = AtSeatText.arg(Owner, OwnerRoleText);
        QVERIFY(f.main.windowTitle().endsWith(ownerShown));
        QCOMPARE(f.seatShown(), ownerShown);
        QVERIFY(f.ledger.signIn(Keyer, QStringLiteral("1234")).ok());
        QCOMPARE(f.seatShown(), keyerShown);
    }
};

QTEST_MAIN(TestUsersGui)
#include "tst_users_gui.moc"
