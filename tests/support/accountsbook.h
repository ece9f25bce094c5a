#pragma once
// A book with customers who have their own figures, winners and payments, shared by the accounts
// tests of the logic and of the bill files.

#include "accounts/customerrates.h"
#include "testsupport.h"

#include <QDateTime>
#include <QTest>

namespace varnoth::test
{

inline const QString Straight3 = QStringLiteral("3ตัวตรง");
inline const QString Top2 = QStringLiteral("2ตัวบน");

inline QDateTime at(const char* stamp)
{
    return QDateTime::fromString(QString::fromLatin1(stamp), QStringLiteral("yyyy-MM-dd HH:mm"));
}

// The type-wide figures and the drawn numbers 123456 (straight three 456, top two 56).
inline void drawnAndPriced(const TempBook& book)
{
    book.put(QStringLiteral("lotto4.gif"), QStringLiteral("3ตัวตรง#500\r\n2ตัวบน#70\r\n"));
    book.put(QStringLiteral("lotto7.gif"), QStringLiteral("3ตัวตรง#10\r\n2ตัวบน#5\r\n"));
    book.put(QStringLiteral("lotto3.gif"),
             QStringLiteral("123456#111#222#333#444#56#\r\n3ตัวตรง#456-\r\n2ตัวบน#56-\r\n"));
}

// somchai has his own 550 and 15% on the straight three and wins on both types; daeng loses.
inline void accountsBook(TempBook& book)
{
    drawnAndPriced(book);
    book.stake(Straight3, QStringLiteral("somchai"), QStringLiteral("456"), 20);
    book.stake(Straight3, QStringLiteral("somchai"), QStringLiteral("123"), 100);
    book.stake(Top2, QStringLiteral("somchai"), QStringLiteral("56"), 10);
    book.stake(Top2, QStringLiteral("somchai"), QStringLiteral("12"), 50);
    book.stake(Straight3, QStringLiteral("daeng"), QStringLiteral("789"), 1000);
    QVERIFY(
        setCustomerRate(*book.store, QStringLiteral("somchai"), Straight3, QStringLiteral("550"), QStringLiteral("15"))
            .changed());
}

// somchai's bill of that book, after the bookmaker paid him 5,000 of it.
inline const QStringList SomchaiBill = {
    QStringLiteral("บิลลูกค้า <somchai>"),
    QStringLiteral("<3ตัวตรง>"),
    QStringLiteral("123-100"),
    QStringLiteral("456-20*"),
    QStringLiteral("ยอดแทง= 120.00 บาท"),
    QStringLiteral("ส่วนลด 15%= 18.00 บาท (เฉพาะลูกค้า)"),
    QStringLiteral("ยอดสุทธิ= 102.00 บาท"),
    QStringLiteral("ถูก 456 แทง 20.00 x 550 ได้ 11,000.00 บาท (เฉพาะลูกค้า)"),
    QStringLiteral("ถูกรางวัล= 11,000.00 บาท"),
    QStringLiteral("งวดนี้ เจ้ามือต้องจ่าย 10,898.00 บาท"),
    QStringLiteral("====================="),
    QStringLiteral("<2ตัวบน>"),
    QStringLiteral("12-50"),
    QStringLiteral("56-10*"),
    QStringLiteral("ยอดแทง= 60.00 บาท"),
    QStringLiteral("ส่วนลด 5%= 3.00 บาท"),
    QStringLiteral("ยอดสุทธิ= 57.00 บาท"),
    QStringLiteral("ถูก 56 แทง 10.00 x 70 ได้ 700.00 บาท"),
    QStringLiteral("ถูกรางวัล= 700.00 บาท"),
    QStringLiteral("งวดนี้ เจ้ามือต้องจ่าย 643.00 บาท"),
    QStringLiteral("====================="),
    QStringLiteral("รวมทุกชนิด"),
    QStringLiteral("ยอดแทง= 180.00 บาท"),
    QStringLiteral("ส่วนลด= 21.00 บาท"),
    QStringLiteral("ยอดสุทธิ= 159.00 บาท"),
    QStringLiteral("ถูกรางวัล= 11,700.00 บาท"),
    QStringLiteral("งวดนี้ เจ้ามือต้องจ่าย 11,541.00 บาท"),
    QStringLiteral("จ่ายให้ลูกค้า 09/12/2569 18:05 5,000.00 บาท"),
    QStringLiteral("จ่ายให้ลูกค้าแล้ว 5,000.00 บาท"),
    QStringLiteral("ยอดรวม เจ้ามือต้องจ่าย 6,541.00 บาท"),
    QStringLiteral("====================="),
};

} // namespace varnoth::test
