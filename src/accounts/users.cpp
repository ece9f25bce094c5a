#include "accounts/users.h"

#include "accounts/usertexts.h"
#include "core/model/codepage874.h"
#include "core/model/text.h"
#include "settings/options.h"
#include "storage/folder/store.h"


#if VARNOTH_HAVE_SODIUM
#include <sodium.h>
#endif

namespace varnoth
{

namespace
{

const QString Separator = QStringLiteral("#");
const QString TimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

#if VARNOTH_HAVE_SODIUM
bool sodiumReady()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}
#endif

QString userLine(const User& u)
{
    return QStringList{u.name, roleKey(u.role), QString::fromLatin1(u.hash), QString::number(u.failures),
                       u.lockedUntil.isValid() ? u.lockedUntil.toString(TimeFormat) : QString()}
        .join(Separator);
}

bool parseUser(const QString& line, User& u)
{
    const QStringList f = line.split(Separator);
    if (f.size() != 5 || f[0].trimmed().isEmpty() || !roleFromKey(f[1], u.role)) return false;
    if (!f[2].startsWith(QLatin1Char('$'))) return false;
    bool number = false;
    u.name = f[0];
    u.hash = f[2].toLatin1();
    u.failures = f[3].toInt(&number);
    if (!number || u.failures < 0) return false;
    if (!f[4].isEmpty()) {
        u.lockedUntil = QDateTime::fromString(f[4], TimeFormat);
        if (!u.lockedUntil.isValid()) return false;
    }
    return true;
}

// The hash of a PIN nobody has: an unknown name costs the same time as a known one.
const QByteArray& decoyHash()
{
    static const QByteArray hash = hashPin(QStringLiteral("00000000"));
    return hash;
}

QString nameRefusal(const QString& name)
{
    if (name.trimmed().isEmpty() || name != name.trimmed() || name.contains(Separator) ||
        !operatorNameRefusal(name).isEmpty())
        return UserNameInvalidText;
    // The users file is windows-874 like the rest of the book: a name it cannot hold is refused.
    bool ok = false;
    cp874::encode(name, &ok);
    return ok ? QString() : UserNameInvalidText;
}

} // namespace

bool roleMay(Role role, Act act)
{
    if (role == Role::Owner) return true;
    return act == Act::KeyBets || act == Act::TakeBackOwn || act == Act::CorrectOwn;
}

QString roleKey(Role role)
{
    return role == Role::Owner ? QStringLiteral("owner") : QStringLiteral("keyer");
}

bool roleFromKey(const QString& key, Role& role)
{
    if (key == QLatin1String("owner")) role = Role::Owner;
    else if (key == QLatin1String("keyer")) role = Role::Keyer;
    else return false;
    return true;
}

QString roleText(Role role)
{
    return role == Role::Owner ? OwnerRoleText : KeyerRoleText;
}

const User* Users::find(const QString& name) const
{
    for (const User& u : items)
        if (u.name == name) return &u;
    return nullptr;
}

int Users::owners() const
{
    int n = 0;
    for (const User& u : items)
        n += u.role == Role::Owner;
    return n;
}

Users loadUsers(const Store& store)
{
    Users users;
    const FileText file = store.readFile(store.path(UsersFileName));
    users.exists = file.exists;
    if (!file.exists) return users;
    if (!file.readable) {
        users.damaged = true;
        return users;
    }
    const QStringList lines = file.text.split(QStringLiteral("\r\n"));
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].isEmpty()) continue;
        User u;
        if (parseUser(lines[i], u) && !users.find(u.name)) users.items << u;
        else users.badLines << i + 1;
    }
    // A file that holds no owner is no list anybody can mend from the program: it is damaged too.
    users.damaged = !users.badLines.isEmpty() || users.owners() == 0;
    return users;
}

bool saveUsers(Store& store, const QList<User>& users)
{
    QStringList lines;
    for (const User& u : users)
        lines << userLine(u);
    return store.WriteWholeFile(store.path(UsersFileName), lines.join(QStringLiteral("\r\n")));
}

QString pinRefusal(const QString& pin)
{
    if (pin.size() < 4 || pin.size() > 8) return PinFormText;
    for (QChar c : pin)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return PinFormText;
    return {};
}

QByteArray hashPin(const QString& pin)
{
#if !VARNOTH_HAVE_SODIUM
    // A build without libsodium makes no hash, so no user can be added there.
    Q_UNUSED(pin);
    return {};
#else
    if (!sodiumReady()) return {};
    const QByteArray bytes = pin.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, bytes.constData(), static_cast<unsigned long long>(bytes.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        return {};
    return QByteArray(out);
#endif
}

bool pinMatches(const QByteArray& hash, const QString& pin)
{
#if !VARNOTH_HAVE_SODIUM
    Q_UNUSED(hash);
    Q_UNUSED(pin);
    return false;
#else
    if (!sodiumReady() || hash.isEmpty()) return false;
    const QByteArray bytes = pin.toUtf8();
    return crypto_pwhash_str_verify(hash.constData(), bytes.constData(),
                                    static_cast<unsigned long long>(bytes.size())) == 0;
#endif
}

PinResult checkPin(Store& store, const QString& name, const QString& pin, const QDateTime& now)
{
    PinResult r;
    Users users = loadUsers(store);
    if (users.damaged) {
        r.status = PinCheck::Damaged;
        r.line = UsersDamagedText + UsersFileName;
        return r;
    }
    qsizetype at = -1;
    for (qsizetype i = 0; i < users.items.size(); ++i)
        if (users.items[i].name == name) at = i;
    if (at < 0) {
        pinMatches(decoyHash(), pin);
        r.status = PinCheck::NoSuchUser;
        r.line = NoSuchUserText + name;
        return r;
    }
    User& u = users.items[at];
    r.role = u.role;
    if (u.lockedUntil.isValid() && now < u.lockedUntil) {
        r.status = PinCheck::Locked;
        r.lockedUntil = u.lockedUntil;
        r.line = UserLockedText.arg(u.lockedUntil.toString(QStringLiteral("HH:mm")));
        return r;
    }
    const bool right = pinMatches(u.hash, pin);
    const User before = u;
    if (right) {
        u.failures = 0;
        u.lockedUntil = {};
    } else if (++u.failures >= MaxWrongPins) {
        u.failures = 0;
        u.lockedUntil = now.addSecs(LockMinutes * 60);
        r.lockedNow = true;
        r.lockedUntil = u.lockedUntil;
    }
    const bool changed = u.failures != before.failures || u.lockedUntil != before.lockedUntil;
    if (changed && !saveUsers(store, users.items)) {
        r.status = PinCheck::WriteFailed;
        r.line = WriteFailedText + UsersFileName;
        return r;
    }
    r.status = right ? PinCheck::Ok : PinCheck::Wrong;
    if (!right) r.line = r.lockedNow ? UserLockedText.arg(r.lockedUntil.toString(QStringLiteral("HH:mm"))) : WrongPinText;
    return r;
}

QString addUser(Store& store, const QString& name, Role role, const QString& pin)
{
    Users users = loadUsers(store);
    if (users.damaged) return UsersDamagedText + UsersFileName;
    if (const QString no = nameRefusal(name); !no.isEmpty()) return no;
    if (users.find(name)) return UserExistsText + name;
    if (users.items.isEmpty() && role != Role::Owner) return FirstUserOwnerText;
    if (const QString no = pinRefusal(pin); !no.isEmpty()) return no;
    User u{name, role, hashPin(pin), 0, {}};
    if (u.hash.isEmpty()) return HashFailedText;
    users.items << u;
    return saveUsers(store, users.items) ? QString() : WriteFailedText + UsersFileName;
}

QString removeUser(Store& store, const QString& name)
{
    Users users = loadUsers(store);
    if (users.damaged) return UsersDamagedText + UsersFileName;
    const User* u = users.find(name);
    if (!u) return NoSuchUserText + name;
    if (u->role == Role::Owner && users.owners() == 1) return LastOwnerText;
    users.items.removeIf([&](const User& x) { return x.name == name; });
    return saveUsers(store, users.items) ? QString() : WriteFailedText + UsersFileName;
}

QString resetPin(Store& store, const QString& name, const QString& pin)
{
    Users users = loadUsers(store);
    if (users.damaged) return UsersDamagedText + UsersFileName;
    if (const QString no = pinRefusal(pin); !no.isEmpty()) return no;
    for (User& u : users.items) {
        if (u.name != name) continue;
        u.hash = hashPin(pin);
        if (u.hash.isEmpty()) return HashFailedText;
        u.failures = 0;
        u.lockedUntil = {};
        return saveUsers(store, users.items) ? QString() : WriteFailedText + UsersFileName;
    }
    return NoSuchUserText + name;
}

QString accessRefusal(const Users& users, const Seat& seat, Act act)
{
    if (!users.exists) return {};
    if (users.damaged) return UsersDamagedText + UsersFileName;
    const User* at = users.find(seat.user);
    if (!at) return NotSignedInText;
    if (roleMay(at->role, act)) return {};
    const User* owner = users.find(seat.ownerOnce);
    if (owner && owner->role == Role::Owner) return {};
    return NeedsOwnerText;
}

QString withKeyers(const QString& line, const QStringList& keyers)
{
    if (keyers.isEmpty()) return line;
    return line + KeyerTagText.arg(keyers.join(KeyerSeparator));
}

QStringView withoutKeyers(QStringView line)
{
    const QStringView open = QStringView(KeyerTagText).first(KeyerTagText.indexOf(QStringLiteral("%1")));
    const qsizetype at = line.lastIndexOf(open);
    if (at < 0 || !line.endsWith(QLatin1Char(')'))) return line;
    return line.first(at);
}

} // namespace varnoth
