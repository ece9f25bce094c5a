// The Ledger's side of the shop's users: who is at the seat, the owner's PIN for one act, and the
// check every call that changes the book makes first.

#include "app/Ledger.h"

#include "accounts/billkeyers.h"
#include "accounts/usertexts.h"
#include "core/model/customername.h"
#include "settings/result.h"
#include "storage/folder/store.h"

#include <QScopedValueRollback>

#include <algorithm>

namespace varnoth
{

namespace
{
const QString UsersSetting = QStringLiteral("users");
const QString LockedMark = QStringLiteral("locked");
} // namespace

bool Ledger::hasUsers() const
{
    return m_store.exists(m_store.path(UsersFileName));
}

QString Ledger::refusal(Act act) const
{
    if (!hasUsers()) return {};
    return accessRefusal(loadUsers(m_store), m_seat, act);
}

std::optional<Ledger::Refused> Ledger::guard(Act act)
{
    if (!hasUsers()) return std::nullopt;
    Users users = loadUsers(m_store);
    // An act the owner allowed at this seat was logged under him; every later one is the seat's again.
    m_audit.setOperatorName(m_seat.user.isEmpty() ? bookOperator() : m_seat.user);
    QString no = accessRefusal(users, m_seat, act);
    // The owner who gave his PIN for the act under way allows each of its calls; else he is asked.
    if (no == NeedsOwnerText && (!m_promptedOwner.isEmpty() || promptOwner())) {
        if (m_seat.ownerOnce.isEmpty()) m_seat.ownerOnce = m_promptedOwner;
        users = loadUsers(m_store);
        no = accessRefusal(users, m_seat, act);
    }
    if (!no.isEmpty()) {
        if (no == NeedsOwnerText) emit ownerNeeded();
        return Refused{no};
    }
    const User* at = users.find(m_seat.user);
    if (at && !roleMay(at->role, act) && !m_seat.ownerOnce.isEmpty()) {
        m_audit.setOperatorName(OwnerAtSeatText.arg(m_seat.ownerOnce, m_seat.user));
        m_seat.ownerOnce.clear();
    }
    return std::nullopt;
}

bool Ledger::promptOwner()
{
    if (!m_ownerPrompt || m_prompting) return false;
    const QScopedValueRollback asking(m_prompting, true);
    if (!m_ownerPrompt() || m_seat.ownerOnce.isEmpty()) return false;
    // A window's act may take several calls (a setting and its options): the owner's PIN covers them
    // all, up to the moment the program waits for the operator again.
    m_promptedOwner = m_seat.ownerOnce;
    QMetaObject::invokeMethod(this, [this] { m_promptedOwner.clear(); }, Qt::QueuedConnection);
    return true;
}

Act Ledger::undoAct(bool redo) const
{
    const int i = redo ? m_undo.index() : m_undo.index() - 1;
    if (i < 0 || i >= m_undo.count()) return Act::TakeBackOwn;
    if (resultSaved(m_store)) return Act::TakeBackOthers;
    return m_stepKeyers.value(m_undo.command(i)) == m_seat.user ? Act::TakeBackOwn : Act::TakeBackOthers;
}

Act Ledger::recordAct(const RecordRequest& request) const
{
    if (m_seat.user.isEmpty() || !hasUsers() || resultSaved(m_store)) return Act::EditRecords;
    const QString customer = customerName(request.customer);
    // Nobody but the seat's user keyed what stands of a number or changed it since.
    const auto onlySeat = [this](const QStringList& names) {
        return std::all_of(names.begin(), names.end(), [this](const QString& n) { return n == m_seat.user; });
    };
    const NumberHands old = handsOn(m_store, request.type, customer, request.oldNumber);
    if (old.keyers.isEmpty() || !onlySeat(old.keyers) || !onlySeat(old.others)) return Act::EditRecords;
    // An edit that moves the stake onto another number adds to that number too.
    if (!request.number.isEmpty() && request.number != request.oldNumber) {
        const NumberHands moved = handsOn(m_store, request.type, customer, request.number);
        if (!onlySeat(moved.keyers) || !onlySeat(moved.others)) return Act::EditRecords;
    }
    return Act::CorrectOwn;
}

void Ledger::nameKeyer(EntryResult& result) const
{
    if (m_seat.user.isEmpty() || !hasUsers()) return;
    for (const int i : std::as_const(result.storedLines))
        if (i >= 0 && i < result.lines.size()) result.lines[i] = withKeyers(result.lines[i], {m_seat.user});
}

void Ledger::auditUsers(const QString& name, const QString& before, const QString& after)
{
    audit({AuditAction::Setting, {}, name, {}, before, after, UsersSetting});
}

PinResult Ledger::signIn(const QString& name, const QString& pin)
{
    PinResult r = checkPin(m_store, name, pin, now());
    if (r.lockedNow) auditUsers(name, {}, LockedMark);
    if (r.ok()) {
        m_seat = {name, {}};
        m_promptedOwner.clear();
        m_audit.setOperatorName(name);
        emit seatChanged();
    }
    return r;
}

void Ledger::signOut()
{
    m_seat = {};
    m_promptedOwner.clear();
    m_audit.setOperatorName(bookOperator());
    emit seatChanged();
}

PinResult Ledger::allowOnce(const QString& owner, const QString& pin)
{
    PinResult r = checkPin(m_store, owner, pin, now());
    if (r.lockedNow) auditUsers(owner, {}, LockedMark);
    if (r.ok() && r.role != Role::Owner) {
        r.status = PinCheck::Wrong;
        r.line = NeedsOwnerText;
    }
    if (r.ok()) m_seat.ownerOnce = owner;
    return r;
}

ChangeResult Ledger::addUser(const QString& name, Role role, const QString& pin)
{
    const bool first = !hasUsers();
    if (!first)
        if (auto no = guard(Act::ManageUsers)) return *no;
    const qsizetype failuresBefore = m_store.failures().size();
    const QString failure = varnoth::addUser(m_store, name, role, pin);
    if (!failure.isEmpty()) return linesResult(failuresBefore, {failure});
    auditUsers(name, {}, roleKey(role));
    // Whoever makes the first user is that owner, at this seat.
    if (first) {
        m_seat = {name, {}};
        m_audit.setOperatorName(name);
    }
    emit seatChanged();
    return {};
}

ChangeResult Ledger::removeUser(const QString& name)
{
    if (auto no = guard(Act::ManageUsers)) return *no;
    const qsizetype failuresBefore = m_store.failures().size();
    const User* user = loadUsers(m_store).find(name);
    const QString role = user ? roleKey(user->role) : QString();
    const QString failure = varnoth::removeUser(m_store, name);
    if (!failure.isEmpty()) return linesResult(failuresBefore, {failure});
    auditUsers(name, role, {});
    if (m_seat.user == name) signOut();
    else emit seatChanged();
    return {};
}

ChangeResult Ledger::resetPin(const QString& name, const QString& pin)
{
    if (auto no = guard(Act::ManageUsers)) return *no;
    const qsizetype failuresBefore = m_store.failures().size();
    const QString failure = varnoth::resetPin(m_store, name, pin);
    if (!failure.isEmpty()) return linesResult(failuresBefore, {failure});
    auditUsers(name, QStringLiteral("pin"), QStringLiteral("pin"));
    return {};
}

} // namespace varnoth
