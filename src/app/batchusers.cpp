#include "app/batchusers.h"

#include "accounts/users.h"
#include "accounts/usertexts.h"
#include "app/Ledger.h"

#include <iostream>
#include <string>

namespace varnoth
{

namespace
{

BatchResult refusedJob(const QString& reason)
{
    return {{}, {reason}, BatchRefused};
}

// A PIN from the environment variable, or else the next line of standard input; never an argument,
// so that it shows in no list of processes.
QString readPin(const char* variable)
{
    if (qEnvironmentVariableIsSet(variable)) return qEnvironmentVariable(variable).trimmed();
    std::string line;
    if (!std::getline(std::cin, line)) return {};
    return QString::fromStdString(line).trimmed();
}

// The act a job is, for the access rule; none for a job that only reads.
std::optional<Act> actOf(const BatchOptions& o)
{
    switch (o.job) {
    case BatchJob::EnterSheet:
        return Act::KeyBets;
    case BatchJob::EnterChat:
    case BatchJob::EnterImage:
        if (o.dryRun) return std::nullopt;
        return Act::KeyBets;
    case BatchJob::OverLimit:
    case BatchJob::NumberCut:
        if (o.saveName.isEmpty()) return std::nullopt;
        return Act::SendOut;
    case BatchJob::SplitSend:
        return Act::SendOut;
    case BatchJob::Restore:
    case BatchJob::FullRestore:
        return Act::Restore;
    case BatchJob::NewDraw:
        return Act::NewDraw;
    case BatchJob::SetRule:
    case BatchJob::ClearRule:
        return Act::NumberRules;
    case BatchJob::SetRate:
        return Act::OwnRates;
    case BatchJob::Pay:
    case BatchJob::PayDealer:
        return Act::Payments;
    case BatchJob::AddDealer:
        return Act::Settings;
    case BatchJob::AddUser:
    case BatchJob::RemoveUser:
    case BatchJob::ResetPin:
        return Act::ManageUsers;
    default:
        return std::nullopt;
    }
}

QString refusalReason(const QString& line)
{
    if (line == NotSignedInText) return QStringLiteral("the book has users: give --user NAME");
    if (line == NeedsOwnerText) return QStringLiteral("the job needs the owner");
    if (line.startsWith(UsersDamagedText)) return QStringLiteral("the users file cannot be read: only reading jobs run");
    return QStringLiteral("refused");
}

} // namespace

std::optional<BatchResult> seatRefusal(Ledger& ledger, const BatchOptions& o)
{
    if (!o.user.isEmpty()) {
        if (!ledger.hasUsers()) return refusedJob(QStringLiteral("--user: the book has no users"));
        const PinResult r = ledger.signIn(o.user, o.pin ? *o.pin : readPin("VARNOTH_PIN"));
        if (!r.ok()) return refusedJob(QStringLiteral("sign-in refused for ") + o.user + QStringLiteral(" (") + r.line + u')');
    }
    const std::optional<Act> act = actOf(o);
    // The first user of a book is made by whoever has the book, and is its owner.
    if (!act || (o.job == BatchJob::AddUser && !ledger.hasUsers())) return std::nullopt;
    if (const QString no = ledger.refusal(*act); !no.isEmpty())
        return refusedJob(QStringLiteral("refused: ") + refusalReason(no) + QStringLiteral("; nothing was changed (") +
                          no + u')');
    return std::nullopt;
}

BatchResult userJob(Ledger& ledger, const BatchOptions& o)
{
    BatchResult r;
    ChangeResult done;
    switch (o.job) {
    case BatchJob::Users: {
        const Users users = ledger.users();
        if (users.damaged) return refusedJob(UsersDamagedText + UsersFileName);
        for (const User& u : users.items)
            r.out << QStringList{u.name, roleKey(u.role),
                                 u.lockedUntil.isValid() && ledger.now() < u.lockedUntil
                                     ? u.lockedUntil.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                     : QString()}
                         .join(u'\t');
        return r;
    }
    case BatchJob::AddUser: {
        Role role;
        if (!roleFromKey(o.role, role)) return {{}, {QStringLiteral("--role is owner or keyer")}, BatchUsageError};
        done = ledger.addUser(o.userName, role, o.newPin ? *o.newPin : readPin("VARNOTH_NEW_PIN"));
        if (done.ok()) r.out << UserAddedText + o.userName;
        break;
    }
    case BatchJob::RemoveUser:
        done = ledger.removeUser(o.userName);
        if (done.ok()) r.out << UserRemovedText + o.userName;
        break;
    case BatchJob::ResetPin:
        done = ledger.resetPin(o.userName, o.newPin ? *o.newPin : readPin("VARNOTH_NEW_PIN"));
        if (done.ok()) r.out << PinResetText + o.userName;
        break;
    default:
        break;
    }
    if (!done.ok()) return refusedJob(done.lines.join(u'\n'));
    return r;
}

} // namespace varnoth
