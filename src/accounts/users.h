#pragma once
// The shop's users and what each may do. The users live in one extra file of the book, one user a line:
// "name#role#hash#failures#locked until" ("สมชาย#owner#$argon2id$...#0#"). The PIN itself is never
// stored: only libsodium's salted, slow hash of it. A book without the file has no users and works as
// it always has: anyone at the keyboard may do everything.

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace varnoth
{

class Store;

inline const QString UsersFileName = QStringLiteral("users.gif");

enum class Role { Owner, Keyer };

// The acts of the book that ask who is at the seat. Keyers key bets, and take back and correct their own
// entries before the result is saved; every other act here is the owner's.
enum class Act {
    KeyBets,        // every entry path, and the customer a new name brings
    TakeBackOwn,    // take back or do again a step keyed at this seat, before the result is saved
    TakeBackOthers, // ... a step keyed by someone else, or any step once the result is saved
    CorrectOwn,     // edit or delete a record of the main list whose stake only this seat keyed, before the result
    EditRecords,    // ... any other record
    Settings,       // rates, limits, discounts, cuts, the book's options, removing a customer
    Result,         // the drawn numbers
    NumberRules,
    OwnRates,  // a customer's own payout rate and discount
    Payments,  // record a payment
    SendOut,   // save or delete a send-out list
    Restore,   // merge a backup, bring back a full backup
    NewDraw,   // copy and empty the book
    ManageUsers,
};

bool roleMay(Role role, Act act);
QString roleKey(Role role);                       // "owner", "keyer" (the file's and the command line's)
bool roleFromKey(const QString& key, Role& role); // false for any other text
QString roleText(Role role);                      // the Thai name

struct User {
    QString name;
    Role role = Role::Keyer;
    QByteArray hash;      // libsodium's encoded hash string
    int failures = 0;     // wrong PINs in a row
    QDateTime lockedUntil; // invalid when not locked
};

struct Users {
    bool exists = false;  // the book has a users file
    bool damaged = false; // the file is there but unreadable, or a line is no user
    QList<int> badLines;  // 1-based numbers of the lines that are no user
    QList<User> items;
    const User* find(const QString& name) const;
    int owners() const;
};

Users loadUsers(const Store& store);
// Writes the whole list atomically; false when it could not be written.
bool saveUsers(Store& store, const QList<User>& users);

// A PIN is 4 to 8 ASCII digits: "" when the text is one, else the line that refuses it.
QString pinRefusal(const QString& pin);
// libsodium's salted slow hash of the PIN ("" when it could not be made).
QByteArray hashPin(const QString& pin);
bool pinMatches(const QByteArray& hash, const QString& pin);

inline constexpr int MaxWrongPins = 5;
inline constexpr int LockMinutes = 5;

enum class PinCheck { Ok, Wrong, Locked, NoSuchUser, Damaged, WriteFailed };
struct PinResult {
    PinCheck status = PinCheck::NoSuchUser;
    Role role = Role::Keyer;
    bool lockedNow = false; // this wrong PIN locked the user
    QDateTime lockedUntil;
    QString line; // the Thai line of a failure ("" for Ok)
    bool ok() const { return status == PinCheck::Ok; }
};
// Checks the user's PIN at `now`, counting wrong ones in the users file: the MaxWrongPins-th wrong PIN
// in a row locks the user for LockMinutes; a locked user is refused without looking at the PIN. A wrong
// PIN or an unknown name costs the time the hash takes, as a right one does.
PinResult checkPin(Store& store, const QString& name, const QString& pin, const QDateTime& now);

// Changes of the list; each returns "" when done, else the Thai line that refuses or reports it.
// The first user of a book must be an owner, and the last owner cannot be removed or made a keyer.
QString addUser(Store& store, const QString& name, Role role, const QString& pin);
QString removeUser(Store& store, const QString& name);
// A new PIN for the user, which also ends a lock.
QString resetPin(Store& store, const QString& name, const QString& pin);

// A bet's line with who keyed it after its marks: "12-100  (คีย์ แดง)", the line itself without names.
QString withKeyers(const QString& line, const QStringList& keyers);
// The line without those names, as the rules of marks and records read it.
QStringView withoutKeyers(QStringView line);

// Who is at the seat, as the access rule sees it.
struct Seat {
    QString user;       // "" while nobody is signed in
    QString ownerOnce;  // an owner who gave his PIN for the next owner-only act
};

// The one access rule: "" when the act may go ahead for the seat, else the Thai line that refuses it.
// Without a users file every act goes ahead; a damaged one refuses every act until the owner mends it.
QString accessRefusal(const Users& users, const Seat& seat, Act act);

} // namespace varnoth
