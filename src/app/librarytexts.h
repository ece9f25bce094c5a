#pragma once
// The lines of opening a book by its id.

#include <QString>

namespace varnoth
{

// A book the window cannot open: a server book (moved in and out only, by --import-book and
// --export-book, for now) or an id of no kind this program keeps. The id follows.
inline const QString BookKindUnknownText =
    QStringLiteral("โปรแกรมรุ่นนี้ยังเปิดข้อมูลนี้ในหน้าต่างไม่ได้ (ข้อมูลบนเครื่องหลักใช้ได้กับ --import-book และ --export-book) ");

} // namespace varnoth
