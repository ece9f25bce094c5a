#include "app/BillPainter.h"

#include "accounts/accounttexts.h"
#include "accounts/dealertexts.h"
#include "core/model/datetexts.h"
#include "core/model/text.h"
#include "settings/options.h"
#include "storage/folder/store.h"

#include <QFileInfo>
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

// The packed bets keep their columns in a font of one width; Tlwg Mono has the Thai letters.
QFont betsFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Tlwg Mono"), QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Courier New"),
                      QStringLiteral("Loma")});
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    return font;
}

bool isTotal(const QString& line)
{
    return line.startsWith(TotalDueText) || line.startsWith(BillHeadingText) || line.startsWith(StatementTotalText) ||
           line.startsWith(StatementHead);
}

QString headingOf(const QString& heading)
{
    return heading.isEmpty() ? BillHeadingText : heading;
}

// The blanks between two packed bets on a picture: a phone is narrower than paper.
constexpr int PictureGutter = 3;

} // namespace

BillHeader billHeader(const Store& current, Store& billed, const QDateTime& madeAt, const QString& drawLabel)
{
    return {optionValue(current, option::ShopName), madeAt, drawLabel, drawDate(billed), yearStyle(current)};
}

QString drawDateLine(const BillHeader& header)
{
    return header.drawDate.isValid() ? DrawDateText + thaiDate(header.drawDate, header.years) : QString();
}

QString billSubject(const QString& customer, const BillHeader& header)
{
    QString subject = headingOf(header.heading) + customer;
    if (const QString date = drawDateLine(header); !date.isEmpty()) subject += QLatin1Char(' ') + date;
    if (!header.drawLabel.isEmpty()) subject += QLatin1Char(' ') + PastDrawMark + header.drawLabel;
    return subject;
}

PrintJob billsJob(const QList<QStringList>& bills, const QStringList& customers, const PageGeometry& geometry,
                  const BillHeader& header, int fontSize)
{
    PrintJob all;
    all.fontSize = fontSize;
    all.pageCount = 0;
    for (qsizetype i = 0; i < bills.size(); ++i) {
        const PageHeader pageHeader{header.shopName, header.madeAt, billSubject(customers.value(i), header),
                                    header.years};
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
        // The bets are packed in columns of blanks, as on the printer's paper.
        QFont font = betsFont();
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

namespace
{

// A bet row of the bill ("123-100"): a record without blanks, unlike a line that names a file.
bool isBetRow(const QString& row)
{
    return RecordPacker::isRecord(row) && !row.contains(QLatin1Char(' '));
}

// The bill's lines under its heading.
QStringList bodyOf(const QStringList& lines, const QString& heading = {})
{
    QStringList body = lines;
    if (!body.isEmpty() && body.first().startsWith(headingOf(heading))) body.removeFirst();
    return body;
}

QStringList betRowsOf(const QStringList& body)
{
    QStringList bets;
    for (const QString& row : body)
        if (isBetRow(row)) bets << row;
    return bets;
}

// A packed line of bets starts with the gutter; no other line of a bill starts with a blank.
bool isPackedBets(const QString& line)
{
    return line.startsWith(QString(PictureGutter, QLatin1Char(' ')));
}

} // namespace

QList<QStringList> billPictureBodies(const QStringList& lines, int perLine, int rows, const QString& heading)
{
    QStringList body;
    {
        const QStringList all = bodyOf(lines, heading);
        RecordPacker packer(betRowsOf(all), PictureGutter, perLine);
        for (const QString& row : all) {
            if (isBetRow(row)) {
                if (packer.add(row)) body << packer.takeLine();
                continue;
            }
            if (packer.pending()) body << packer.takeLine();
            body << row;
        }
        if (packer.pending()) body << packer.takeLine();
    }
    QList<QStringList> pages;
    QStringList page;
    QString type; // the heading of the type whose bets are being laid out
    rows = std::max(1, rows);
    for (const QString& line : body) {
        if (page.size() >= rows) {
            pages << page;
            page.clear();
            // Bets that go on over to the next picture are named by their type there too.
            if (isPackedBets(line) && !type.isEmpty()) page << type;
        }
        if (line.startsWith(QLatin1Char('<')) && line.endsWith(QLatin1Char('>'))) type = line;
        page << line;
    }
    pages << page;
    return pages;
}

namespace
{

constexpr int Margin = 48;
constexpr int TextWidth = BillImageWidth - 2 * Margin;

QFont pictureBetsFont()
{
    QFont bets = betsFont();
    bets.setPixelSize(34);
    return bets;
}

} // namespace

int billPictureBetsPerLine(const QStringList& lines)
{
    const int recordWidth = RecordPacker(betRowsOf(bodyOf(lines))).width();
    if (recordWidth == 0) return 1;
    const double charWidth = QFontMetricsF(pictureBetsFont()).horizontalAdvance(QLatin1Char('0'));
    return std::max(1, static_cast<int>(TextWidth / (charWidth * (PictureGutter + recordWidth))));
}

QList<QImage> billImages(const QStringList& lines, const BillHeader& header)
{
    QFont font = billFont();
    font.setPixelSize(36);
    QFont bold = font;
    bold.setBold(true);
    QFont small = font;
    small.setPixelSize(28);
    const QFont bets = pictureBetsFont();
    const QFontMetricsF metrics(font);
    const int step = static_cast<int>(std::ceil(metrics.lineSpacing() * 1.15));
    const int textWidth = TextWidth;

    const QString heading =
        !lines.isEmpty() && lines.first().startsWith(headingOf(header.heading)) ? lines.first() : QString();
    const QList<QStringList> bodies =
        billPictureBodies(lines, billPictureBetsPerLine(lines), BillImageRows, header.heading);

    QList<QImage> images;
    for (qsizetype page = 0; page < bodies.size(); ++page) {
        const QStringList& body = bodies[page];
        QStringList top;
        if (!header.shopName.isEmpty()) top << header.shopName;
        if (!heading.isEmpty()) top << heading;
        if (const QString date = drawDateLine(header); !date.isEmpty()) top << date;
        top << BillMadeText + thaiDateTime(header.madeAt, header.years);
        if (bodies.size() > 1) top << pageNumberText(static_cast<int>(page + 1), static_cast<int>(bodies.size()));
        const int height = 2 * Margin + step * static_cast<int>(top.size() + body.size() + 1);

        QImage image(BillImageWidth, height, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        int y = Margin;
        auto text = [&](const QString& s, const QFont& f, const QColor& colour) {
            painter.setFont(f);
            painter.setPen(colour);
            // A line wider than the screen is cut short with "…" rather than off the edge.
            const QString shown = QFontMetricsF(f).elidedText(s, Qt::ElideRight, textWidth);
            painter.drawText(QRectF(Margin, y, textWidth, step), Qt::AlignLeft | Qt::AlignVCenter, shown);
            y += step;
        };
        for (const QString& line : top) {
            const bool strong = line == heading || (line == header.shopName && !line.isEmpty());
            text(line, strong ? bold : small, line == heading ? QColor(Qt::black) : QColor(Qt::darkGray));
        }
        painter.setPen(QPen(Qt::gray, 2));
        painter.drawLine(Margin, y + step / 2, BillImageWidth - Margin, y + step / 2);
        y += step;
        for (const QString& line : body) {
            if (line == Separator) {
                painter.setPen(QPen(Qt::lightGray, 2));
                painter.drawLine(Margin, y + step / 2, BillImageWidth - Margin, y + step / 2);
                y += step;
                continue;
            }
            if (isPackedBets(line)) {
                text(line, bets, Qt::black);
                continue;
            }
            // Red for money coming to the shop, green for money it pays: on a dealer's statement the
            // dealer is the one who pays or is paid.
            const bool dealerPays = line.contains(StatementHePaysText) || line.contains(StatementHeOwesHead);
            const bool dealerPaid = line.contains(StatementWePayText) || line.contains(StatementWeOweHead);
            const bool owes = dealerPays || (!dealerPaid && line.contains(CustomerPaysText));
            const bool owed = dealerPaid || (!dealerPays && line.contains(BookmakerPaysText));
            const QColor colour = owes ? QColor(160, 0, 0) : owed ? QColor(0, 110, 0) : QColor(Qt::black);
            text(line, isTotal(line) ? bold : font, colour);
        }
        painter.end();
        images << image;
    }
    return images;
}

QImage billImageWhole(const QStringList& lines, const BillHeader& header)
{
    const QList<QImage> pictures = billImages(lines, header);
    if (pictures.isEmpty()) return {};
    int height = 0;
    for (const QImage& picture : pictures)
        height += picture.height();
    QImage whole(pictures.first().width(), height, pictures.first().format());
    whole.fill(Qt::white);
    QPainter painter(&whole);
    int y = 0;
    for (const QImage& picture : pictures) {
        painter.drawImage(0, y, picture);
        y += picture.height();
    }
    painter.end();
    return whole;
}

QString numberedPicturePath(const QString& path, int n)
{
    const QFileInfo info(path);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    QString stem = path;
    stem.chop(suffix.size());
    return stem + QLatin1Char('-') + QString::number(n) + suffix;
}

BillPictures writeBillPng(const QStringList& lines, const BillHeader& header, const QString& path)
{
    BillPictures result;
    const QList<QImage> images = billImages(lines, header);
    for (qsizetype i = 0; i < images.size(); ++i) {
        const QString target = images.size() == 1 ? path : numberedPicturePath(path, static_cast<int>(i + 1));
        QSaveFile file(target);
        if (!file.open(QIODevice::WriteOnly) || !images[i].save(&file, "PNG") || !file.commit()) {
            result.failed = target;
            return result;
        }
        result.written << target;
    }
    return result;
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
