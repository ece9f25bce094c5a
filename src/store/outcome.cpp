#include "store/outcome.h"

#include <QDir>
#include <QFileInfo>

namespace varnoth
{

QString outcomeLine(const Outcome& o)
{
    const QString name = QFileInfo(o.file).fileName();
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
        return NoBackupText + QDir::toNativeSeparators(o.file);
    case Status::BackupFailed:
        return BackupFailedText;
    case Status::CopyFailed:
        return DrawCopyFailedText + QDir::toNativeSeparators(o.file);
    case Status::NameTaken:
        return DuplicateNameText;
    case Status::UnsafeName:
        return UnsafeNameText;
    case Status::HasStakes:
        return CustomerHasStakesText;
    case Status::NothingToSave:
    case Status::ManyCustomers: // the restore says how many
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
    }
    return {};
}

} // namespace varnoth
