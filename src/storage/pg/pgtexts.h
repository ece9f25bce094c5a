#pragma once
// The Thai lines of a book kept on the shop's server.

#include <QString>

namespace varnoth
{

inline const QString PgConnectFailedText = QStringLiteral("เชื่อมต่อเครื่องหลักไม่ได้ ");
inline const QString PgNewerSchemaText =
    QStringLiteral("ข้อมูลในเครื่องหลักมาจากโปรแกรมรุ่นใหม่กว่า ต้องอัปเดตโปรแกรมก่อนใช้งาน");
// A whole book is moved only into a server book that holds nothing yet.
inline const QString PgBookNotEmptyText = QStringLiteral("ข้อมูลในเครื่องหลักมีอยู่แล้ว ย้ายข้อมูลเข้าได้เฉพาะเมื่อยังว่าง");
inline const QString PgSchemaFailedText = QStringLiteral("เตรียมข้อมูลในเครื่องหลักไม่สำเร็จ ");

} // namespace varnoth
