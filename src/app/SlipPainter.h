#pragma once
// Bills on the narrow paper of a receipt printer (58 or 80 mm rolls): each bill on one page as long
// as it needs, the shop, the draw, when and who keyed at its head, and below it the bill's seal as a
// QR code that a phone reads.

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QList>
#include <QSizeF>
#include <QString>
#include <QStringList>

class QPagedPaintDevice;

namespace varnoth
{

// The paper bills are printed on: A4 pages, or a receipt roll.
enum class PaperWidth { A4, Roll58, Roll80 };

// "58", "80" or "A4" (any case); false for anything else.
bool paperWidthFromText(const QString& text, PaperWidth& width);
// The roll's width in millimetres (0 for A4).
double paperWidthMm(PaperWidth width);

struct SlipHeader {
    QString shopName;
    QString drawLabel; // "" for the draw being kept
    QDateTime madeAt;
    QString keyer;
};

// The QR code of `text`, one pixel a module with a quiet zone of four around it; a null image
// when the text cannot be coded, or the build has no QR coder (the seal is then printed as text only).
QImage qrCodeImage(const QByteArray& text);

// The page one bill needs on the roll, in millimetres.
QSizeF slipPageSizeMm(const QStringList& lines, const SlipHeader& header, PaperWidth width);

// Every bill on a page of its own on `device` (a printer or a PDF writer) at `dotsPerInch`; the seal
// each ends with becomes its QR code. False when a page could not be drawn.
bool paintSlips(QPagedPaintDevice& device, int dotsPerInch, const QList<QStringList>& bills, const SlipHeader& header,
                PaperWidth width);

// The bills on slips in one PDF, replaced whole only when every page was drawn.
bool writeSlipsPdf(const QList<QStringList>& bills, const SlipHeader& header, PaperWidth width, const QString& path);

// One slip as a picture at a receipt printer's 203 dots per inch.
QImage slipImage(const QStringList& lines, const SlipHeader& header, PaperWidth width);

} // namespace varnoth
