#pragma once
// The Thai texts of the transfer between computers and of the full backup of the book, kept
// together for review.

#include <QString>

namespace varnoth
{

// The File menu: the transfer carries stakes and counts from a client computer to the main one;
// the full backup keeps every file of the book and brings it back into an empty book.
inline const QString TransferBackupMenuText = QStringLiteral("ส่งยอดแทงไปเครื่องแม่ (ถ่ายโอนข้อมูล)");
inline const QString TransferRestoreMenuText = QStringLiteral("รวมยอดแทงจากเครื่องลูก (ถ่ายโอนข้อมูล)");
inline const QString FullBackupMenuText = QStringLiteral("สำรองข้อมูลทั้งหมด");
inline const QString FullRestoreMenuText = QStringLiteral("นำข้อมูลสำรองทั้งหมดกลับมาใช้");
inline const QString ChooseDriveText = QStringLiteral("เลือกไดร์ฟ");

// The full backup.
inline const QString FullBackupDoneText = QStringLiteral("สำรองข้อมูลทั้งหมดเสร็จสิ้นแล้ว");
inline const QString FullBackupFailedText = QStringLiteral("สำรองข้อมูลทั้งหมดไม่สำเร็จ ข้อมูลสำรองเดิมยังอยู่");
inline const QString FullBackupFilesText = QStringLiteral("จำนวนไฟล์= %1 ไฟล์ ตรวจทานแล้วตรงกับต้นฉบับทุกไฟล์");
inline const QString FullBackupSizeText = QStringLiteral("ปริมาณข้อมูล= %1 บิท");
inline const QString FullBackupPlaceText = QStringLiteral("เก็บไว้ที่ ");
inline const QString FullBackupPastDrawsText = QStringLiteral("งวดเก่า= %1 งวด");
// A file whose name a backup cannot list (a tab or a line end in it).
inline const QString FullBackupNameText = QStringLiteral("ชื่อไฟล์นี้สำรองไม่ได้ ");

// Bringing a full backup back.
inline const QString FullRestoreDoneText = QStringLiteral("นำข้อมูลสำรองทั้งหมดกลับมาแล้ว");
inline const QString NoFullBackupText = QStringLiteral("ไม่พบข้อมูลสำรองทั้งหมดในไดรว์ ");
inline const QString FullBackupDamagedText = QStringLiteral("ข้อมูลสำรองเสียหาย ไม่ได้นำกลับมา ");
inline const QString BookNotEmptyText = QStringLiteral("ข้อมูลชุดนี้มีข้อมูลอยู่แล้ว นำข้อมูลสำรองทั้งหมดกลับได้เฉพาะข้อมูลชุดที่ว่าง");
inline const QString FullRestoreFailedText = QStringLiteral("นำข้อมูลสำรองกลับไม่สำเร็จ ข้อมูลชุดนี้ยังว่างเหมือนเดิม");

// The audit lines a client computer sends with its stakes, as the main computer's log shows them:
// "เครื่องลูก คีย์ 2026-12-09 14:05:33 ผู้คีย์ แดง (somchai)".
inline const QString TransferredDetailText = QStringLiteral("เครื่องลูก %1 %2 ผู้คีย์ %3 (%4)");
inline const QString TransferredAuditText = QStringLiteral("ประวัติการคีย์จากเครื่องลูก= %1 รายการ");

// Asked before a restore stores records above the amount ceiling times their number's count:
// how many, the highest, and the ceiling.
inline const QString RestoreAboveCeilingText =
    QStringLiteral("ข้อมูลที่นำเข้ามียอดแทง %1 รายการเกินยอดสูงสุดต่อรายการ %3 บาท คูณจำนวนครั้งที่แทง "
                   "(สูงสุด %2 บาท)\nต้องการบันทึกหรือไม่");

// Asked before a restore adds more than a hundred new customers (how many, and the hundred); the
// line when it was not agreed, and the one for a backup naming far more than any transfer brings.
inline const QString ManyCustomersTitle = QStringLiteral("ลูกค้าใหม่จำนวนมาก");
inline const QString ManyCustomersQuestionText =
    QStringLiteral("ข้อมูลที่นำเข้ามีลูกค้าใหม่ %1 ราย (เกิน %2 ราย)\nต้องการเพิ่มลูกค้าทั้งหมดหรือไม่");
inline const QString ManyCustomersRefusedText = QStringLiteral("ไม่ได้นำข้อมูลเข้า มีลูกค้าใหม่ %1 ราย เกิน %2 ราย");
inline const QString TooManyCustomersText = QStringLiteral("ไม่ได้นำข้อมูลเข้า มีลูกค้าใหม่เกิน %1 ราย");

// After the rows of a large restore: the records that were merged but not listed one by one.
inline const QString RowsNotListedText = QStringLiteral("ไม่ได้แสดงอีก %1 รายการ");
// At start, of a new draw that was cut off (a kill, a power cut): completed from its checked copy;
// not completed because the book changed after the copy; or cut off before it deleted anything.
inline const QString DrawCompletedText = QStringLiteral("เริ่มงวดใหม่ที่ค้างไว้เสร็จแล้ว สำเนาข้อมูลงวดเก่าอยู่ที่ ");
inline const QString DrawNotCompletedText =
    QStringLiteral("เริ่มงวดใหม่ค้างไว้ แต่ข้อมูลถูกแก้ไขหลังคัดลอก จึงไม่ได้ลบต่อ สำเนาข้อมูลงวดเก่าอยู่ที่ ");
inline const QString DrawNotStartedText = QStringLiteral("เริ่มงวดใหม่ครั้งก่อนไม่เสร็จ ยังไม่ได้ลบข้อมูล ข้อมูลงวดเดิมยังอยู่ครบ");

} // namespace varnoth
