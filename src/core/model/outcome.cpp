#include "core/model/outcome.h"

#include <algorithm>

namespace varnoth
{

namespace
{

// The last part of a path (on Windows a backslash also parts it).
QString lastPart(const QString& path)
{
    qsizetype at = path.lastIndexOf(QLatin1Char('/'));
#ifdef Q_OS_WIN
    at = std::max(at, path.lastIndexOf(QLatin1Char('\\')));
#endif
    return path.mid(at + 1);
}

// A path as the operator's system writes it.
QString shownPath(QString path)
{
#ifdef Q_OS_WIN
    path.replace(QLatin1Char('/'), QLatin1Char('\\'));
#endif
    return path;
}

} // namespace

QString outcomeLine(const Outcome& o)
{
    const QString name = lastPart(o.file);
    switch (o.status) {
    case Status::Ok:
        return {};
    case Status::ReadFailed:
        return ReadFailedText + name;
    case Status::WriteFailed:
        return WriteFailedText + name;
    case Status::AlreadyMerged:
        return AlreadyMergedText;
    case Status::OwnBackup:
        return OwnBackupText;
    case Status::NoBackup:
        return NoBackupText + shownPath(o.file);
    case Status::BackupFailed:
        return BackupFailedText;
    case Status::CopyFailed:
        return DrawCopyFailedText + shownPath(o.file);
    case Status::NameTaken:
        return DuplicateNameText;
    case Status::UnsafeName:
        return UnsafeNameText;
    case Status::HasStakes:
        return CustomerHasStakesText;
    case Status::NothingToSave:
    case Status::ManyCustomers: // the restore says how many
    case Status::NeedsOwner:    // the refusal says why in its own line
    case Status::Refused:       // so does this
        return {};
    }
    return {};
}

QString outcomeReason(Status status)
{
    switch (status) {
    case Status::Ok:
        return QStringLiteral("done");
    case Status::ReadFailed:
        return QStringLiteral("a file could not be read");
    case Status::WriteFailed:
        return QStringLiteral("a file could not be written");
    case Status::AlreadyMerged:
        return QStringLiteral("this backup was already added since the last new draw");
    case Status::OwnBackup:
        return QStringLiteral("this backup was made from this book, which still holds stakes");
    case Status::NoBackup:
        return QStringLiteral("no backup there");
    case Status::BackupFailed:
        return QStringLiteral("the backup failed");
    case Status::CopyFailed:
        return QStringLiteral("the copy of the book failed; nothing was deleted");
    case Status::NothingToSave:
        return QStringLiteral("the report left no send-out list");
    case Status::NameTaken:
        return QStringLiteral("the name is already taken");
    case Status::UnsafeName:
        return QStringLiteral("the name cannot be a file name");
    case Status::HasStakes:
        return QStringLiteral("the customer still holds stakes");
    case Status::ManyCustomers:
        return QStringLiteral("the backup would add more new customers than allowed");
    case Status::NeedsOwner:
        return QStringLiteral("refused for the user's role");
    case Status::Refused:
        return QStringLiteral("refused");
    }
    return {};
}

} // namespace varnoth
