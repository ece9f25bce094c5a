#include "gui/tools/PagePainter.h"

#include "core/model/outcome.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cmath>

namespace varnoth
{

namespace
{

constexpr double TwipsPerInch = 1440.0;

} // namespace

PagePainter::PagePainter(QPrinter& printer, int fontSize)
    : m_printer(printer), m_font(QFontDatabase::systemFont(QFontDatabase::FixedFont))
{
    // A fixed pitch keeps the blank-padded record columns lined up on paper.
    m_font.setPointSize(std::max(1, fontSize));
}

PageGeometry PagePainter::geometry() const
{
    const double twipsPerDot = TwipsPerInch / m_printer.resolution();
    const QFontMetricsF metrics(m_font, &m_printer);
    const QRect paper = m_printer.pageLayout().paintRectPixels(m_printer.resolution());
    return {static_cast<int>(std::ceil(metrics.lineSpacing() * twipsPerDot)),
            static_cast<int>(paper.height() * twipsPerDot)};
}

bool PagePainter::paint(const PrintJob& job)
{
    const int copies = std::max(1, job.copies);
    int rounds = 1;
    if (m_printer.supportsMultipleCopies()) {
        m_printer.setCopyCount(copies);
    } else {
        m_printer.setCopyCount(1);
        rounds = copies;
    }
    QPainter painter;
    if (!painter.begin(&m_printer)) return false;
    painter.setFont(m_font);
    const double dotsPerTwip = m_printer.resolution() / TwipsPerInch;
    const double ascent = QFontMetricsF(m_font, &m_printer).ascent();

    bool first = true;
    for (int round = 0; round < rounds; ++round) {
        auto line = job.lines.cbegin();
        for (int page = 1; page <= job.pageCount; ++page) {
            if (!first && !m_printer.newPage()) return false;
            first = false;
            for (; line != job.lines.cend() && line->page == page; ++line)
                if (!line->text.isEmpty())
                    painter.drawText(QPointF(line->x * dotsPerTwip, line->y * dotsPerTwip + ascent), line->text);
        }
    }
    return painter.end();
}

PrintOutcome printOnDefault(const JobBuilder& build, int fontSize, const QString& dataFolder, const QString& name)
{
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (!defaultPrinter.isNull()) {
        // Trouble at a printer is for the print system to show; the list stays as it is.
        QPrinter printer(defaultPrinter, QPrinter::HighResolution);
        PagePainter painter(printer, fontSize);
        painter.paint(build(painter.geometry()));
        return {};
    }
    const QString path = printoutPath(dataFolder, QDateTime::currentDateTime(), name);
    if (path.isEmpty()) return {{}, {WriteFailedText + QDir::toNativeSeparators(printoutsFolder(dataFolder))}};
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    PagePainter painter(printer, fontSize);
    const PrintJob job = build(painter.geometry());
    if (!painter.paint(job)) {
        QFile::remove(path); // a half-written PDF is no print
        return {{}, {WriteFailedText + QDir::toNativeSeparators(path)}};
    }
    return {path, {}};
}

} // namespace varnoth
