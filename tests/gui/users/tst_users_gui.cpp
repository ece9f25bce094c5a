#include "accounts/usertexts.h"
#include "app/Ledger.h"
#include "gui/main/session.h"
#include "gui/users/PinDialog.h"
#include "gui/users/SeatControl.h"
#include "testsupport.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QStatusBar>
#include <QTest>

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
};

QTEST_MAIN(TestUsersGui)
#include "tst_users_gui.moc"
