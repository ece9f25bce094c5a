#include "app/BillPainter.h"

#include "accounts/accounttexts.h"
#include "core/model/text.h"

#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace varnoth
{

namespace
{

constexpr double TwipsPerInch = 1440.0;

QFont billFont()
{
    QFont font;
    // Thai shapes need a font that has them; Qt falls back further where none of these is there.
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Loma"), QStringLiteral("Garuda"),
                      QStringLiteral("Noto Sans Thai"), QStringLiteral("DejaVu Sans")});
    return font;
}

bool isTotal(const QString& line)
{
    return line.startsWith(TotalDueText) || line.startsWith(BillHeadingText);
}

} // namespace

QString billSubject(const QString& customer, const QString& drawLabel)
{
    QString subject = BillHeadingText + customer;
    if (!drawLabel.isEmpty()) subject += QLatin1Char(' ') + PastDrawMark + drawLabel;
    return subject;
}

PrintJob billsJob(const QList<QStringList>& bills, const QStringList& customers, const PageGeometry& geometry,
                  const BillHeader& header, int fontSize)
{
    PrintJob all;
    all.fontSize = fontSize;
    all.pageCount = 0;
    for (qsizetype i = 0; i < bills.size(); ++i) {
        const PageHeader pageHeader{header.shopName, header.madeAt, billSubject(customers.value(i), header.drawLabel)};
        const PrintJob one = PrintMainList(bills[i], fontSize, 1, geometry, pageHeader);
        for (PrintedLine line : one.lines) {
            line.page += all.pageCount;
            all.lines << line;
        }
        all.pageCount += one.pageCount;
    }
    all.pageCount = std::max(1, all.pageCount);
    return all;
}

bool writeBillsPdf(const QList<QStringList>& bills, const QStringList& customers, const BillHeader& header,
                   const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    bool drawn = false;
    {
        QPdfWriter pdf(&file);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setResolution(300);
        pdf.setTitle(BillWindowTitle);
        QFont font = billFont();
        font.setPointSize(10);
        const double twipsPerDot = TwipsPerInch / pdf.resolution();
        const QFontMetricsF metrics(font, &pdf);
        const QRect paper = pdf.pageLayout().paintRectPixels(pdf.resolution());
        const PageGeometry geometry{static_cast<int>(std::ceil(metrics.lineSpacing() * twipsPerDot)),
                                    static_cast<int>(paper.height() * twipsPerDot)};
        const PrintJob job = billsJob(bills, customers, geometry, header);
        QPainter painter;
        if (painter.begin(&pdf)) {
            painter.setFont(font);
            const double dotsPerTwip = 1 / twipsPerDot;
            drawn = true;
            auto line = job.lines.cbegin();
            for (int page = 1; page <= job.pageCount && drawn; ++page) {
                if (page > 1) drawn = pdf.newPage();
                for (; line != job.lines.cend() && line->page == page; ++line)
                    if (!line->text.isEmpty())
                        painter.drawText(QPointF(line->x * dotsPerTwip, line->y * dotsPerTwip + metrics.ascent()),
                                         line->text);
            }
            drawn = painter.end() && drawn;
        }
    }
    if (!drawn) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QImage billImage(const QStringList& lines, const BillHeader& header)
{
    constexpr int Margin = 48;
    QFont font = billFont();
    font.setPixelSize(36);
    QFont bold = font;
    bold.setBold(true);
    QFont small = font;
    small.setPixelSize(28);
    const QFontMetricsF metrics(font);
    const int step = static_cast<int>(std::ceil(metrics.lineSpacing() * 1.15));

    QStringList top;
    if (!header.shopName.isEmpty()) top << header.shopName;
    if (!header.drawLabel.isEmpty()) top << PastDrawMark + header.drawLabel;
    top << BillMadeText + header.madeAt.toString(QStringLiteral("dd/MM/yyyy hh:mm"));
    const int height = 2 * Margin + step * static_cast<int>(top.size() + lines.size() + 1);

    QImage image(BillImageWidth, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(Qt::black);
    int y = Margin;
    auto text = [&](const QString& s, const QFont& f, const QColor& colour) {
        painter.setFont(f);
        painter.setPen(colour);
        // A line wider than the screen is cut short with "…" rather than off the edge.
        const QString shown = QFontMetricsF(f).elidedText(s, Qt::ElideRight, BillImageWidth - 2 * Margin);
        painter.drawText(QRectF(Margin, y, BillImageWidth - 2 * Margin, step), Qt::AlignLeft | Qt::AlignVCenter, shown);
        y += step;
    };
    for (qsizetype i = 0; i < top.size(); ++i)
        text(top[i], i == 0 && !header.shopName.isEmpty() ? bold : small, Qt::darkGray);
    painter.setPen(QPen(Qt::gray, 2));
    painter.drawLine(Margin, y + step / 2, BillImageWidth - Margin, y + step / 2);
    y += step;
    for (const QString& line : lines) {
        if (line == Separator) {
            painter.setPen(QPen(Qt::lightGray, 2));
            painter.drawLine(Margin, y + step / 2, BillImageWidth - Margin, y + step / 2);
            y += step;
            continue;
        }
        const bool owes = line.contains(CustomerPaysText);
        const bool owed = line.contains(BookmakerPaysText);
        const QColor colour = owes ? QColor(160, 0, 0) : owed ? QColor(0, 110, 0) : QColor(Qt::black);
        text(line, isTotal(line) ? bold : font, colour);
    }
    painter.end();
    return image;
}

bool writeBillPng(const QStringList& lines, const BillHeader& header, const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (!billImage(lines, header).save(&file, "PNG")) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QString billImageName(const QString& customer)
{
    QString name = customer;
    for (QChar& c : name)
        if (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c)) c = QLatin1Char('_');
    if (name.isEmpty() || name.startsWith(QLatin1Char('.'))) name.prepend(QLatin1Char('_'));
    return name + QStringLiteral(".png");
}

QString withSuffix(const QString& path, const QString& suffix)
{
    return path.endsWith(suffix, Qt::CaseInsensitive) ? path : path + suffix;
}

QString pickBillsPdfPath(const SaveFilePicker& pick, const QString& dataFolder, const QDateTime& now)
{
    const QString proposed = printoutPath(dataFolder, now, QStringLiteral("bill"));
    const QString path =
        pick(PdfBillCaption, proposed.isEmpty() ? printoutsFolder(dataFolder) : proposed, PdfFilterText);
    return path.isEmpty() ? path : withSuffix(path, QStringLiteral(".pdf"));
}

} // namespace varnoth
