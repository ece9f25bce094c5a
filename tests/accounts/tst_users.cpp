#include "accounts/users.h"
#include "accounts/usertexts.h"
#include "core/model/outcome.h"
#include "testsupport.h"
#include "tools/fullbackup.h"
#include "tools/newdraw.h"

#include <QDirIterator>

#include <QElapsedTimer>
#include <QTest>

using namespace varnoth;
using namespace varnoth::test;

namespace
{
const QString Owner = QStringLiteral("เจ๊หมวย");
const QString Keyer = QStringLiteral("แดง");
const QDateTime Noon = QDateTime(QDate(2026, 12, 1), QTime(12, 0));
} // namespace

class TestUsers : public QObject
{
    Q_OBJECT
private slots:
    // The file keeps the hash, never the PIN, in the book's own style; the hash takes the right PIN only.
    void fileHoldsHashNotPin()
    {
        TempBook book;
        QCOMPARE(addUser(*book.store, Owner, Role::Owner, QStringLiteral("482913")), QString());
        QCOMPARE(addUser(*book.store, Keyer, Role::Keyer, QStringLiteral("5566")), QString());
        const QByteArray bytes = book.bytes(UsersFileName);
        QVERIFY(!bytes.contains("482913"));
        QVERIFY(!bytes.contains("5566#"));
        QVERIFY(bytes.endsWith("\r\n"));
        QVERIFY(bytes.contains(cp874(Owner + QStringLiteral("#owner#$argon2id$"))));
        const Users users = loadUsers(*book.store);
        QVERIFY(!users.damaged);
        QCOMPARE(users.items.size(), 2);
        QVERIFY(pinMatches(users.find(Owner)->hash, QStringLiteral("482913")));
        QVERIFY(!pinMatches(users.find(Owner)->hash, QStringLiteral("482914")));
        // Salted: the same PIN hashes differently each time.
        QVERIFY(hashPin(QStringLiteral("5566")) != users.find(Keyer)->hash);
    }

    void listRules()
    {
        TempBook book;
        QCOMPARE(addUser(*book.store, Keyer, Role::Keyer, QStringLiteral("1234")), FirstUserOwnerText);
        QVERIFY(!book.store->exists(book.file(UsersFileName)));
        for (const QString& pin : {QStringLiteral("123"), QStringLiteral("123456789"), QStringLiteral("12a4"),
                                   QStringLiteral("１２３４")})
            QCOMPARE(addUser(*book.store, Owner, Role::Owner, pin), PinFormText);
        for (const QString& name : {QString(), QStringLiteral("a#b"), QStringLiteral(" a"), QStringLiteral("李")})
            QCOMPARE(addUser(*book.store, name, Role::Owner, QStringLiteral("1234")), UserNameInvalidText);
        QCOMPARE(addUser(*book.store, Owner, Role::Owner, QStringLiteral("1234")), QString());
        QCOMPARE(addUser(*book.store, Owner, Role::Keyer, QStringLiteral("1234")), UserExistsText + Owner);
        QCOMPARE(removeUser(*book.store, Owner), LastOwnerText);
        QCOMPARE(addUser(*book.store, Keyer, Role::Keyer, QStringLiteral("12345678")), QString());
        QCOMPARE(removeUser(*book.store, Keyer), QString());
        QCOMPARE(loadUsers(*book.store).items.size(), 1);
    }

    // Five wrong PINs in a row lock the user five minutes; a right one before that starts the count again;
    // the owner's reset ends the lock.
    void lockoutAndReset()
    {
        TempBook book;
        addUser(*book.store, Owner, Role::Owner, QStringLiteral("9999"));
        addUser(*book.store, Keyer, Role::Keyer, QStringLiteral("1111"));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(checkPin(*book.store, Keyer, QStringLiteral("0000"), Noon).status, PinCheck::Wrong);
        QVERIFY(checkPin(*book.store, Keyer, QStringLiteral("1111"), Noon).ok());
        for (int i = 0; i < 4; ++i)
            QCOMPARE(checkPin(*book.store, Keyer, QStringLiteral("0000"), Noon).status, PinCheck::Wrong);
        const PinResult fifth = checkPin(*book.store, Keyer, QStringLiteral("0000"), Noon);
        QCOMPARE(fifth.status, PinCheck::Wrong);
        QVERIFY(fifth.lockedNow);
        QCOMPARE(fifth.lockedUntil, Noon.addSecs(300));
        // Locked even for the right PIN, and the lock is in the file, so a restart keeps it.
        QCOMPARE(checkPin(*book.store, Keyer, QStringLiteral("1111"), Noon.addSecs(299)).status, PinCheck::Locked);
        QCOMPARE(loadUsers(*book.store).find(Keyer)->lockedUntil, Noon.addSecs(300));
        QVERIFY(checkPin(*book.store, Keyer, QStringLiteral("1111"), Noon.addSecs(300)).ok());
        // Another lock, ended by the owner's new PIN.
        for (int i = 0; i < MaxWrongPins; ++i)
            checkPin(*book.store, Keyer, QStringLiteral("0000"), Noon);
        QCOMPARE(checkPin(*book.store, Keyer, QStringLiteral("1111"), Noon).status, PinCheck::Locked);
        QCOMPARE(resetPin(*book.store, Keyer, QStringLiteral("2222")), QString());
        QVERIFY(checkPin(*book.store, Keyer, QStringLiteral("2222"), Noon).ok());
        QCOMPARE(checkPin(*book.store, Keyer, QStringLiteral("1111"), Noon).status, PinCheck::Wrong);
    }

    // An unknown name costs the hash's time too, so timing does not tell which names exist.
    void wrongPinCostsTheHash()
    {
        TempBook book;
        addUser(*book.store, Owner, Role::Owner, QStringLiteral("9999"));
        QElapsedTimer t;
        t.start();
        QVERIFY(checkPin(*book.store, Owner, QStringLiteral("9999"), Noon).ok());
        const qint64 right = t.restart();
        QCOMPARE(checkPin(*book.store, QStringLiteral("nobody"), QStringLiteral("9999"), Noon).status,
                 PinCheck::NoSuchUser);
        const qint64 unknown = t.elapsed();
        QVERIFY2(unknown * 3 >= right, qPrintable(QStringLiteral("%1 ms / %2 ms").arg(unknown).arg(right)));
    }

    // The one rule: no file lets everything; a keyer keys and takes back his own; the owner's PIN lets
    // one owner act; a damaged file refuses everything and is never taken for "no users".
    void accessRule()
    {
        TempBook book;
        Users none = loadUsers(*book.store);
        QCOMPARE(accessRefusal(none, {}, Act::NewDraw), QString());
        addUser(*book.store, Owner, Role::Owner, QStringLiteral("9999"));
        addUser(*book.store, Keyer, Role::Keyer, QStringLiteral("1111"));
        const Users users = loadUsers(*book.store);
        QCOMPARE(accessRefusal(users, {}, Act::KeyBets), NotSignedInText);
        const Seat keyer{Keyer, {}};
        QCOMPARE(accessRefusal(users, keyer, Act::KeyBets), QString());
        QCOMPARE(accessRefusal(users, keyer, Act::TakeBackOwn), QString());
        QCOMPARE(accessRefusal(users, keyer, Act::CorrectOwn), QString());
        for (Act act : {Act::TakeBackOthers, Act::EditRecords, Act::Settings, Act::Result, Act::NumberRules,
                        Act::OwnRates, Act::Payments, Act::SendOut, Act::Restore, Act::NewDraw, Act::ManageUsers})
            QCOMPARE(accessRefusal(users, keyer, act), NeedsOwnerText);
        QCOMPARE(accessRefusal(users, Seat{Keyer, Owner}, Act::NewDraw), QString());
        QCOMPARE(accessRefusal(users, Seat{Keyer, Keyer}, Act::NewDraw), NeedsOwnerText);
        QCOMPARE(accessRefusal(users, Seat{Owner, {}}, Act::NewDraw), QString());

        const QByteArray good = book.bytes(UsersFileName);
        book.put(UsersFileName, QString::fromLatin1(good) + QStringLiteral("garbage line\r\n"));
        Users damaged = loadUsers(*book.store);
        QVERIFY(damaged.damaged);
        QCOMPARE(damaged.badLines, QList<int>{3});
        QCOMPARE(accessRefusal(damaged, Seat{Owner, {}}, Act::KeyBets), UsersDamagedText + UsersFileName);
        QCOMPARE(checkPin(*book.store, Owner, QStringLiteral("9999"), Noon).status, PinCheck::Damaged);
        QVERIFY(!addUser(*book.store, QStringLiteral("x"), Role::Keyer, QStringLiteral("1234")).isEmpty());
        QVERIFY(book.bytes(UsersFileName).endsWith("garbage line\r\n"));
        // A file left empty names no owner: damaged too, never "no users".
        book.put(UsersFileName, QString());
        QVERIFY(loadUsers(*book.store).damaged);
    }

    // The users are the shop's, not the draw's: a new draw keeps them.
    void newDrawKeepsUsers()
    {
        TempBook book;
        addUser(*book.store, Owner, Role::Owner, QStringLiteral("9999"));
        book.stake(QStringLiteral("2ตัวบน"), QStringLiteral("somchai"), QStringLiteral("12"), 10);
        const QByteArray before = book.bytes(UsersFileName);
        QVERIFY(startNewDraw(*book.store).done);
        QCOMPARE(book.bytes(UsersFileName), before);
        // ... and the full backup carries them, byte for byte.
        QTemporaryDir drive;
        QVERIFY(writeFullBackup(*book.store, drive.path()).outcome.ok());
        QStringList carried;
        for (QDirIterator it(fullBackupFolderPath(drive.path()), QDir::Files, QDirIterator::Subdirectories);
             it.hasNext();) {
            const QString path = it.next();
            if (QFileInfo(path).fileName() != UsersFileName) continue;
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            if (file.readAll() == before) carried << path;
        }
        QVERIFY(!carried.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestUsers)
#include "tst_users.moc"
