#include "app/SlipPainter.h"

#include "accounts/accounttexts.h"
#include "accounts/billseal.h"
#include "accounts/exporttexts.h"
#include "core/model/text.h"

#include <QFontMetricsF>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#ifdef VARNOTH_HAVE_QRENCODE
#include <qrencode.h>
#endif

#include <cmath>
#include <memory>

namespace varnoth
{

namespace
{

constexpr double MmPerInch = 25.4;
constexpr int SlipDotsPerInch = 203; // the common resolution of receipt printers
constexpr int QuietZone = 4;         // light modules around a QR code

// The part of the roll a receipt printer reaches: 48 mm of a 58 mm roll, 72 mm of an 80 mm one.
double sideMarginMm(PaperWidth width)
{
    return width == PaperWidth::Roll58 ? 5.0 : 4.0;
}

// Thai needs room above and below its letters: 10 points on the narrow roll, 11 on the wide one,
// large enough to read at arm's length.
double fontPoints(PaperWidth width)
{
    return width == PaperWidth::Roll58 ? 10.0 : 11.0;
}

QFont slipFont(double dotsPerMm, double points)
{
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Loma"), QStringLiteral("Garuda"),
                      QStringLiteral("Noto Sans Thai"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(points / 72.0 * MmPerInch * dotsPerMm))));
    return font;
}

// Lays one slip out from the top of the page, drawing it when `painter` is given; returns the
// height it takes, in dots.
double layOut(QPainter* painter, const QPaintDevice* device, double dotsPerMm, const QStringList& lines,
              const SlipHeader& header, PaperWidth width)
{
    const double paper = paperWidthMm(width) * dotsPerMm;
    const double margin = sideMarginMm(width) * dotsPerMm;
    const double textWidth = paper - 2 * margin;
    const QFont font = slipFont(dotsPerMm, fontPoints(width));
    QFont bold = font;
    bold.setBold(true);
    const QFont small = slipFont(dotsPerMm, fontPoints(width) - 1);
    double y = 3 * dotsPerMm;

    const auto text = [&](const QString& s, const QFont& f, Qt::Alignment align) {
        const int flags = Qt::TextWordWrap | static_cast<int>(align);
        const QRectF room(margin, y, textWidth, 1e6);
        const QRectF needed = QFontMetricsF(f, device).boundingRect(room, flags, s);
        if (painter) {
            painter->setFont(f);
            painter->drawText(QRectF(margin, y, textWidth, needed.height()), flags, s);
        }
        y += needed.height();
    };
    const auto rule = [&] {
        if (painter) {
            painter->setPen(QPen(Qt::black, std::max(1.0, 0.25 * dotsPerMm)));
            painter->drawLine(QPointF(margin, y + dotsPerMm), QPointF(paper - margin, y + dotsPerMm));
        }
        y += 2 * dotsPerMm;
    };

    if (painter) painter->setPen(Qt::black);
    if (!header.shopName.isEmpty()) text(header.shopName, bold, Qt::AlignHCenter);
    if (!header.drawLabel.isEmpty()) text(PastDrawMark + header.drawLabel, small, Qt::AlignHCenter);
    text(BillMadeText + header.madeAt.toString(QStringLiteral("dd/MM/yyyy hh:mm")), small, Qt::AlignHCenter);
    if (!header.keyer.isEmpty()) text(SlipKeyerText + header.keyer, small, Qt::AlignHCenter);
    rule();
    for (const QString& line : lines) {
        if (line == Separator) {
            rule();
            continue;
        }
        const bool total = line.startsWith(TotalDueText) || line.startsWith(BillHeadingText);
        text(line, total ? bold : font, Qt::AlignLeft);
    }

    const QString seal = sealOfLines(lines);
    const QImage qr = seal.isEmpty() ? QImage() : qrCodeImage(seal.toLatin1());
    if (!qr.isNull()) {
        // Whole dots a module, so that every module prints the same size and a phone reads it.
        const double side = std::min(textWidth, 30 * dotsPerMm);
        const double module = std::max(1.0, std::floor(side / qr.width()));
        const double drawn = module * qr.width();
        y += dotsPerMm;
        if (painter) {
            painter->save();
            painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
            painter->drawImage(QRectF((paper - drawn) / 2, y, drawn, drawn), qr);
            painter->restore();
        }
        y += drawn;
    }
    return y + 4 * dotsPerMm;
}

QPageSize slipPageSize(const QSizeF& mm)
{
    return QPageSize(mm, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
}

} // namespace

bool paperWidthFromText(const QString& text, PaperWidth& width)
{
    const QString t = text.trimmed();
    if (t == QStringLiteral("58"))
        width = PaperWidth::Roll58;
    else if (t == QStringLiteral("80"))
        width = PaperWidth::Roll80;
    else if (t.compare(QStringLiteral("A4"), Qt::CaseInsensitive) == 0)
        width = PaperWidth::A4;
    else
        return false;
    return true;
}

double paperWidthMm(PaperWidth width)
{
    switch (width) {
    case PaperWidth::Roll58:
        return 58;
    case PaperWidth::Roll80:
        return 80;
    case PaperWidth::A4:
        break;
    }
    return 0;
}

QImage qrCodeImage(const QByteArray& text)
{
#ifndef VARNOTH_HAVE_QRENCODE
    Q_UNUSED(text);
    return {}; // this build has no QR coder: the seal is printed as text only
#else
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString8bit(text.constData(), 0, QR_ECLEVEL_M), &QRcode_free);
    if (!code) return {};
    const int n = code->width;
    QImage image(n + 2 * QuietZone, n + 2 * QuietZone, QImage::Format_Mono);
    image.setColor(0, qRgb(255, 255, 255));
    image.setColor(1, qRgb(0, 0, 0));
    image.fill(0);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            if (code->data[y * n + x] & 1) image.setPixel(x + QuietZone, y + QuietZone, 1);
    return image;
#endif
}

QSizeF slipPageSizeMm(const QStringList& lines, const SlipHeader& header, PaperWidth width)
{
    const double dotsPerMm = SlipDotsPerInch / MmPerInch;
    QImage probe(1, 1, QImage::Format_RGB32);
    probe.setDotsPerMeterX(static_cast<int>(dotsPerMm * 1000));
    probe.setDotsPerMeterY(static_cast<int>(dotsPerMm * 1000));
    const double height = layOut(nullptr, &probe, dotsPerMm, lines, header, width);
    return {paperWidthMm(width), std::ceil(height / dotsPerMm)};
}

bool paintSlips(QPagedPaintDevice& device, int dotsPerInch, const QList<QStringList>& bills, const SlipHeader& header,
                PaperWidth width)
{
    if (bills.isEmpty() || width == PaperWidth::A4) return false;
    const double dotsPerMm = dotsPerInch / MmPerInch;
    QPainter painter;
    for (qsizetype i = 0; i < bills.size(); ++i) {
        device.setPageMargins(QMarginsF(0, 0, 0, 0));
        if (!device.setPageSize(slipPageSize(slipPageSizeMm(bills[i], header, width)))) return false;
        if (i == 0 ? !painter.begin(&device) : !device.newPage()) return false;
        painter.setRenderHint(QPainter::TextAntialiasing);
        layOut(&painter, &device, dotsPerMm, bills[i], header, width);
    }
    return painter.end();
}

bool writeSlipsPdf(const QList<QStringList>& bills, const SlipHeader& header, PaperWidth width, const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    bool drawn = false;
    {
        QPdfWriter pdf(&file);
        pdf.setResolution(300);
        pdf.setTitle(BillWindowTitle);
        drawn = paintSlips(pdf, pdf.resolution(), bills, header, width);
    }
    if (!drawn) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QImage slipImage(const QStringList& lines, const SlipHeader& header, PaperWidth width)
{
    const double dotsPerMm = SlipDotsPerInch / MmPerInch;
    const QSizeF mm = slipPageSizeMm(lines, header, width);
    QImage image(static_cast<int>(std::lround(mm.width() * dotsPerMm)),
                 static_cast<int>(std::lround(mm.height() * dotsPerMm)), QImage::Format_RGB32);
    image.setDotsPerMeterX(static_cast<int>(dotsPerMm * 1000));
    image.setDotsPerMeterY(static_cast<int>(dotsPerMm * 1000));
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    layOut(&painter, &image, dotsPerMm, lines, header, width);
    painter.end();
    return image;
}

} // namespace varnoth
