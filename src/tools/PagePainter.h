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

// Where a PDF goes when there is no printer: the documents folder, else the temporary folder.
QString pdfOutputFolder();

// Prints the job that `build` lays out for the device on the default printer, or into a new PDF
// file in `pdfFolder` when the system has no printer. Returns the lines for the main list: the PDF's
// path, or the write failure with the path.
QStringList printOnDefault(const JobBuilder& build, int fontSize, const QString& pdfFolder);

} // namespace varnoth
