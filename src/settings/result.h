#pragma once
// The drawn numbers of the draw and the winning numbers derived from them for every type.

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

namespace varnoth
{

class Store;

// The six drawn numbers in the order of the result window: the first prize, the four three-digit
// lower numbers and the two-digit lower number.
using DrawnNumbers = std::array<QString, 6>;

// Every ordering of the digits of `number`, each once, in ascending order (456 gives 456, 465,
// 546, 564, 645, 654; 112 gives 112, 121, 211). Empty when the text holds anything but digits.
QStringList DigitPermutations(const QString& number);

// The text of the result file for the drawn numbers, without the closing line end of the write.
QString resultFileText(const DrawnNumbers& fields);

// The widths of the six boxes, in the order of DrawnNumbers.
inline constexpr int DrawnNumberWidths[6] = {6, 3, 3, 3, 3, 2};

// What is wrong with the drawn numbers as keyed, one Thai line per box, and the boxes (0 to 5) it
// names; empty when they can be saved. A box holds nothing or digits of its own width (after
// CleanName, as they are stored), and the four three-digit lower numbers come all together or not at
// all, so that a number keyed into the wrong box is never saved as a result.
struct ResultCheck {
    QStringList lines;
    QList<int> boxes;
    bool ok() const { return lines.isEmpty(); }
};
ResultCheck checkDrawnNumbers(const DrawnNumbers& fields);

// Whether the book holds drawn numbers: from then on a bet is keyed after the result.
bool resultSaved(Store& store);

// Writes the result file; returns the lines for the operator when the write failed.
QStringList SaveResult(Store& store, const DrawnNumbers& fields);

// The drawn numbers as the result file holds them (all empty when there is none).
DrawnNumbers LoadResult(Store& store);

} // namespace varnoth
