#pragma once
// Bills on paper, in a PDF file and as a picture for a phone: the bill lines of the core put on
// pages under the page header, or drawn on one tall image that a chat program shows at full width.

#include "tools/printing.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace varnoth
{

// What heads every page or picture of a bill: the shop, when it was made and which draw it is.
struct BillHeader {
    QString shopName;
    QDateTime madeAt;
    QString drawLabel; // "" for the draw being kept
};

// The subject line of a bill's pages: "บิลลูกค้า somchai", with the draw when it is a past one.
QString billSubject(const QString& customer, const QString& drawLabel);

// Every bill on pages of its own (its first line names the customer), one job for the printer.
PrintJob billsJob(const QList<QStringList>& bills, const QStringList& customers, const PageGeometry& geometry,
                  const BillHeader& header, int fontSize = 10);

// Writes the bills into one PDF, replacing the file whole only when every page was drawn.
bool writeBillsPdf(const QList<QStringList>& bills, const QStringList& customers, const BillHeader& header,
                   const QString& path);

// A phone screen's width in pixels; the picture is as tall as the bill needs.
inline constexpr int BillImageWidth = 1080;
QImage billImage(const QStringList& lines, const BillHeader& header);
bool writeBillPng(const QStringList& lines, const BillHeader& header, const QString& path);
// The picture's file name for a customer: his name, with what cannot stand in a file name replaced.
QString billImageName(const QString& customer);

// A file name the operator picked, with `suffix` (".pdf") added when it does not end in it already.
QString withSuffix(const QString& path, const QString& suffix);

// Where bills as PDF go: `pick` (title, proposed path, filter) is asked, starting with a new dated
// name among the book's printouts; "" when the operator cancels, else the path ending in ".pdf".
using SaveFilePicker = std::function<QString(const QString&, const QString&, const QString&)>;
QString pickBillsPdfPath(const SaveFilePicker& pick, const QString& dataFolder, const QDateTime& now);

} // namespace varnoth
