#pragma once
// The Thai lines of moving a book between a data folder and the shop's server.

#include <QString>

namespace varnoth
{

// Followed by the number of customers.
inline const QString BookImportedText = QStringLiteral("ย้ายข้อมูลเข้าเครื่องหลักแล้ว ลูกค้า %1 ราย");
// Followed by the number of customers and the folder.
inline const QString BookExportedText = QStringLiteral("ส่งออกข้อมูลจากเครื่องหลักแล้ว ลูกค้า %1 ราย ไปที่ %2");
// A file of the folder the server book does not keep yet, followed by its name: it stays in the folder.
inline const QString BookLeftBehindText = QStringLiteral("ไม่ได้ย้ายไปเครื่องหลัก (ยังอยู่ในโฟลเดอร์เดิม): ");
// Said after every failure of a move.
inline const QString NothingMovedText = QStringLiteral("ไม่ได้ย้ายข้อมูลใดเลย");
// The folder holds no book, followed by the folder.
inline const QString NoFolderBookText = QStringLiteral("ไม่พบข้อมูลในโฟลเดอร์ ");
// The folder holds a save that was cut off, followed by the folder.
inline const QString UnfinishedSaveText = QStringLiteral("ข้อมูลในโฟลเดอร์มีบันทึกที่ค้างอยู่ ให้เปิดด้วยโปรแกรมก่อนย้าย: ");
// A file holding lines the server book cannot keep as they stand, followed by its name.
inline const QString NotMovableFileText = QStringLiteral("ไฟล์นี้มีบรรทัดที่ย้ายไปเครื่องหลักไม่ได้ ต้องแก้ก่อน: ");
// The folder to export into holds something, followed by the folder.
inline const QString ExportFolderNotEmptyText = QStringLiteral("โฟลเดอร์นี้มีไฟล์อยู่แล้ว ส่งออกได้เฉพาะโฟลเดอร์ว่าง: ");
// A program built without the server's client library.
inline const QString NoServerSupportText = QStringLiteral("โปรแกรมรุ่นนี้ยังเชื่อมต่อเครื่องหลักไม่ได้");

} // namespace varnoth
