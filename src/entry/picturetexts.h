#pragma once
// The Thai texts of reading bets from a picture: what the paste window and the batch job say about
// the picture itself. Kept together for review.

#include <QString>

namespace varnoth
{

inline const QString PictureReadFailedText = QStringLiteral("อ่านรูปไม่ได้ ");
inline const QString PictureNotPictureText = QStringLiteral("ไฟล์นี้ไม่ใช่รูป PNG หรือ JPEG ");
inline const QString PictureTooLargeText = QStringLiteral("รูปใหญ่เกินไป ");
inline const QString PictureNoReaderText = QStringLiteral("เปิดตัวอ่านตัวอักษรไม่ได้ (ไม่พบข้อมูลภาษาไทยและอังกฤษ)");
inline const QString PictureOpenText = QStringLiteral("เปิดรูป…");
inline const QString PictureOpenTitle = QStringLiteral("เปิดรูป");
inline const QString PictureFilesText = QStringLiteral("รูป (*.png *.jpg *.jpeg)");
inline const QString PictureReadingText = QStringLiteral("กำลังอ่านรูป…");
inline const QString PictureCancelText = QStringLiteral("หยุดอ่าน");
inline const QString PictureCancelledText = QStringLiteral("หยุดอ่านรูปแล้ว");
inline const QString PictureBackToTextText = QStringLiteral("กลับไปวางข้อความ");
inline const QString PictureZoomInText = QStringLiteral("ขยาย");
inline const QString PictureZoomOutText = QStringLiteral("ย่อ");
inline const QString PictureNoTextText = QStringLiteral("ไม่พบตัวอักษรในรูป");
// The detail of each bet's line in the audit log: where it was read, and the picture's fingerprint.
inline const QString PictureAuditText = QStringLiteral("จากรูป sha256:");
// The step of a commit, to take back: "อ่านจากรูป 12 รายการ".
inline const QString PictureStepText = QStringLiteral("อ่านจากรูป ");

} // namespace varnoth
