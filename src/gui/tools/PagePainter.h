#pragma once
// Puts the page model on paper: the default printer, or a PDF file where the system has no printer.

#include "tools/printing.h"

#include <QFont>
#include <QStringList>
#include <functional>

class QPrinter;

namespace varnoth
{

class PagePainter
{
public:
    PagePainter(QPrinter& printer, int fontSize);
    // The device's line height and printable height in twips, for the page model.
    PageGeometry geometry() const;
    // Draws every page of the job; all copies are drawn here when the device cannot make them.
    bool paint(const PrintJob& job);

private:
    QPrinter& m_printer;
    QFont m_font;
};

using JobBuilder = std::function<PrintJob(const PageGeometry&)>;

struct PrintOutcome {
    QString pdfPath;      // the PDF written where the system has no printer
    QStringList failures; // lines for the main list when the PDF could not be written
};

// Prints the job that `build` lays out for the device on the default printer, or, where the system
// has no printer, into a new dated PDF in the "printouts" folder beside `dataFolder` (printoutPath).
PrintOutcome printOnDefault(const JobBuilder& build, int fontSize, const QString& dataFolder, const QString& name);

} // namespace varnoth
