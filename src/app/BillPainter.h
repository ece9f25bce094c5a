#pragma once
// Bills on paper, in a PDF file and as a picture for a phone: the bill lines of the core put on
// pages under the page header, or drawn on one tall image that a chat program shows at full width.

#include "core/model/thaidate.h"
#include "tools/printing.h"

#include <QDate>
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
    QDate drawDate;    // the draw's date, invalid while the book does not know it
    YearStyle years = YearStyle::Buddhist;
    // What the first line of the pages starts with: "" for a customer's bill ("บิลลูกค้า "); a
    // dealer's statement is drawn the same way under its own heading.
    QString heading;
};

class Store;
// The header of the bills of `billed` (the book being kept or one of its past draws): the shop and
// the way years are shown come from the book being kept, the draw's date from the billed one.
BillHeader billHeader(const Store& current, Store& billed, const QDateTime& madeAt, const QString& drawLabel = {});

// "งวดวันที่ 16 ธันวาคม 2569"; "" while the draw's date is not known.
QString drawDateLine(const BillHeader& header);

// The subject line of a bill's pages: "บิลลูกค้า somchai", with the draw's date and, for a past one,
// the draw.
QString billSubject(const QString& customer, const BillHeader& header);

// Every bill on pages of its own (its first line names the customer), one job for the printer.
PrintJob billsJob(const QList<QStringList>& bills, const QStringList& customers, const PageGeometry& geometry,
                  const BillHeader& header, int fontSize = 10);

// Writes the bills into one PDF, replacing the file whole only when every page was drawn.
bool writeBillsPdf(const QList<QStringList>& bills, const QStringList& customers, const BillHeader& header,
                   const QString& path);

// A phone screen's width in pixels; the picture is as tall as the bill needs, up to
// BillImageRows lines under its header, and a longer bill goes on to a second picture and more.
inline constexpr int BillImageWidth = 1080;
inline constexpr int BillImageRows = 48;

// The bill's lines as its pictures hold them: its heading (which names the customer) goes into the
// header of every picture, the bets are packed `perLine` to a line, and the rest is cut into
// pictures of at most `rows` lines each; a picture that goes on with a type's bets starts with the
// type's heading again.
QList<QStringList> billPictureBodies(const QStringList& lines, int perLine, int rows = BillImageRows,
                                     const QString& heading = {});

// How many bets a line of the bill's pictures holds: as many of the widest as the width takes.
int billPictureBetsPerLine(const QStringList& lines);

// Every picture of a bill, the header on each and "หน้า n/N" where there is more than one.
QList<QImage> billImages(const QStringList& lines, const BillHeader& header);
// The same pictures one under the other, as one (for the clipboard); a null image when there is none.
QImage billImageWhole(const QStringList& lines, const BillHeader& header);

// Writes the bill's pictures: `path` for one, and for more "NAME-1.png", "NAME-2.png" … beside it.
// Each file is replaced whole; `failed` names the first that could not be written.
struct BillPictures {
    QStringList written;
    QString failed;
    bool ok() const { return failed.isEmpty(); }
};
BillPictures writeBillPng(const QStringList& lines, const BillHeader& header, const QString& path);
// The picture's file name for a customer: his name, with what cannot stand in a file name replaced.
QString billImageName(const QString& customer);
// The n-th of several pictures beside `path`: "somchai.png" gives "somchai-2.png".
QString numberedPicturePath(const QString& path, int n);

// A file name the operator picked, with `suffix` (".pdf") added when it does not end in it already.
QString withSuffix(const QString& path, const QString& suffix);

// Where bills as PDF go: `pick` (title, proposed path, filter) is asked, starting with a new dated
// name among the book's printouts; "" when the operator cancels, else the path ending in ".pdf".
using SaveFilePicker = std::function<QString(const QString&, const QString&, const QString&)>;
QString pickBillsPdfPath(const SaveFilePicker& pick, const QString& dataFolder, const QDateTime& now);

} // namespace varnoth
