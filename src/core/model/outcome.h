#pragma once
// What an operation of the book came to, as a status the callers can act on, and the one place
// where a status becomes the Thai line the operator reads. Batch mode takes its exit status from
// the status, never from the text.

#include <QString>
#include <QStringList>

namespace varnoth
{

// --- the Thai lines of failures and refusals ---------------------------------------------------------
inline const QString WriteFailedText = QStringLiteral("บันทึกข้อมูลไม่สำเร็จ ");
inline const QString ReadFailedText = QStringLiteral("อ่านข้อมูลไม่ได้ ");
inline const QString AlreadyMergedText = QStringLiteral("ข้อมูลชุดนี้ถูกนำเข้าแล้ว");
inline const QString OwnBackupText = QStringLiteral("ข้อมูลสำรองนี้ทำจากข้อมูลชุดนี้เอง นำเข้าซ้ำไม่ได้");
inline const QString NoBackupText = QStringLiteral("ไม่พลข้อมูลในไดรว์ ");
inline const QString BackupFailedText = QStringLiteral("การสำรองข้อมูลเกิดการผิดพลาด");
inline const QString DrawCopyFailedText = QStringLiteral("คัดลอกข้อมูลไม่สำเร็จ ยังไม่ได้ลบข้อมูล ");
inline const QString UnsafeNameText = QStringLiteral("ชื่อนี้ใช้ไม่ได้");
inline const QString DuplicateNameText = QStringLiteral("ซื่อช้ำกัน");
inline const QString CustomerHasStakesText = QStringLiteral("ลูกค้านี้ยังมีข้อมูลอยู่ ลบไม่ได้");

enum class Status {
    Ok,
    ReadFailed,    // a file is there but could not be read
    WriteFailed,   // a file could not be written or removed
    AlreadyMerged, // the backup was already restored since the last new draw
    OwnBackup,     // the backup is this book's own, and the book holds stakes
    NoBackup,      // the drive holds no backup
    BackupFailed,  // the backup could not be written and checked
    CopyFailed,    // the new draw's copy of the book failed: nothing was removed
    NothingToSave, // no send-out list is pending
    NameTaken,     // a saved list or customer has that name
    UnsafeName,    // the name cannot become a file name
    HasStakes,     // the customer still holds stakes
    ManyCustomers, // a restore would add more new customers than the operator agreed to
    NeedsOwner,    // the user at the seat may not do this (or nobody is signed in): nothing was done
    Refused,       // what was asked cannot be done as given (the lines say why): nothing was done
};

struct Outcome {
    Status status = Status::Ok;
    QString file; // the file or folder concerned, where there is one
    bool ok() const { return status == Status::Ok; }
};

// What a change of the book that has only lines to tell came to: the status the callers act on,
// never the text, and the lines for the operator (refusals, failures, or what a step taken back had
// to say).
struct ChangeResult {
    Outcome outcome;
    QStringList lines;
    bool ok() const { return outcome.ok(); }
};

// The line the operator reads for an outcome ("" for Ok and for outcomes the windows show otherwise).
QString outcomeLine(const Outcome& outcome);

// A change that did nothing, with the outcome's own line.
inline ChangeResult changeFailed(const Outcome& outcome)
{
    return {outcome, {outcomeLine(outcome)}};
}

// A short English reason for standard error in batch mode.
QString outcomeReason(Status status);

} // namespace varnoth
