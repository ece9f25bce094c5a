#pragma once
// The entry shorthand: gate codes that expand one keyed number into many, paired amounts that make
// two bets on a pair of types, and the one-line form used by group and file entry.

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace varnoth
{

// What the number field expands to while the operator types.
struct GateExpansion {
    QString gates;         // each number followed by one space
    QString status;        // the text shown beside the gate box
    bool longList = false; // the 271- and 54-gate lists need a taller box
};

// The expansion of the number field's text, or nothing when no gate row matches.
std::optional<GateExpansion> expandNumberField(const QString& text);

// Every `width`-digit number that holds all digits of `number` (a repeated digit must be there as
// often), in ascending order, each followed by a space. 5 at width 2 gives 05 15 25 … 95.
QString GatesContaining(const QString& number, int width);
// The same over the digits-ascending numbers of the width, which the permutation types store.
QString GatesContainingAscending(const QString& number, int width);
// Each digit 0 to 9 put in front of the number: 057 157 … 957 for 57.
QString GatesFrontDigit(const QString& number);
// The number and the number reversed; a palindrome is listed twice.
QString GatesReverse(const QString& number);

// One bet that an entry stands for, with the list lines that follow it in the main list.
struct PlannedBet {
    QString number; // as keyed (the store checks digits and width)
    QString amount; // as keyed
    QString type;
    QStringList linesAfter;
};

struct EntryPlan {
    QList<PlannedBet> bets;
    bool gates = false; // a gate list: progress advances once per bet
    // The line has pieces left over after its number and amount (a second "-", a third "+") or holds
    // a NUL: no bet of it is stored, and the whole line is listed as rejected.
    bool rejected = false;
    QString rejectedText;
};

// The two bets of a paired amount first+second on a number of 3, 2, or 1 and fewer characters: the
// second goes to the permuted or the lower type of the pair, followed by the header lines that tell
// the operator which type each bet went to.
QList<PlannedBet> pairedBets(const QString& number, const QString& first, const QString& second, const QString& type,
                             const QString& customer);

// The bets of one entry line: number, optionally "+" and a gate code, "-", the amount, optionally "+"
// and a second amount. A gate code that is not one of the line's four gives no bet. A line with
// anything more (a second "-", a second "+" on either side) is rejected whole: a sheet line that
// lost its line breaks must not become one huge bet. So is a line holding a NUL.
EntryPlan parseEntryLine(const QString& line, const QString& type, const QString& customer);

} // namespace varnoth
