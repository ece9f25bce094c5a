#pragma once
// The past draws: the dated copies of the book that every new draw keeps in "draws" beside the data
// folder, each named by its book, so that books sharing a parent folder never read each other's. They are only ever
// read here; a report, a bill or a balance runs on a Store pointed at the copy and writes nothing there.

#include "accounts/bill.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace varnoth
{

class Store;

struct PastDraw {
    QString folder; // the copy, a full path
    QString label;  // "09/12/2569 14:30", or with " (2)" for a second copy in the same minute
    QDateTime when; // when the new draw that kept it was started
};

// The past draws of the book, oldest first.
QList<PastDraw> listPastDraws(const Store& current);

// One past draw seen whole: its customers, stakes, first prize and what it came to for the
// bookmaker (the customers' balances of that draw added up).
struct DrawSummary {
    PastDraw draw;
    int customers = 0;
    double stake = 0;
    QString result; // the first prize as stored, "" when none was entered
    double profit = 0;
    // Per customer, in the order of the draw's customer list: what that draw left to settle (his
    // balance less what he paid in it).
    QList<std::pair<QString, double>> left;
    QStringList problems; // the damage of the copy's accounts files
    AccountsDoubt doubt;  // ... and whose figures it leaves unknown
    bool profitKnown = true;
    // The customers whose balance of that draw is not known (a win with no payout rate), and why;
    // while there is one, neither is the draw's profit.
    QHash<QString, QString> unknown;
};
DrawSummary summariseDraw(const PastDraw& draw);

// A customer's statement on the book of `store`: his bill, what he paid in it and what the draws
// before it left unpaid (`earlier`, oldest first).
Statement statementOf(Store& store, const QString& customer, const QList<PastDraw>& earlier);

// Every customer's statement on the book of `store`: each customer of the book, each who paid in it
// and each whom the earlier draws left owing or owed, in that order. Each earlier draw is read once.
QList<Statement> allStatements(Store& store, const QList<PastDraw>& earlier);

// The statements of one customer, or of every one for "ทั้งหมด", on the book of `store`, which is
// the book being kept (`current`) or one of its past draws.
QList<Statement> statementsFor(const Store& current, Store& store, const QString& customer);

// The damage of the accounts files of the book of `store` and of the draws before it, each a line
// for the operator; empty when every file reads whole.
QStringList accountsDamage(const Store& store, const QList<PastDraw>& earlier);

// The past draws that came before the book of `store`: all of them for the book being kept, those
// older than it for a past draw.
QList<PastDraw> drawsBefore(const Store& current, const Store& store);

// What each customer owes or is owed over every draw up to and with the book being kept, oldest
// debt first: who has owed (or been owed) since the earliest draw comes first.
struct Owed {
    QString customer;
    double amount = 0; // > 0 the customer owes
    QString since;     // the label of the draw since which the balance has stood
    int order = 0;     // position of that draw, the book being kept last
    // What the row says in place of the amount when it cannot be known (a damaged accounts file, a
    // win with no payout rate; the amount is then 0); "" when it is known.
    QString unknown;
    bool known() const { return unknown.isEmpty(); }
};
struct OwedReport {
    QList<Owed> rows;
    QStringList problems;
    // Every figure is known: no damaged file and no customer whose balance cannot be priced.
    bool complete() const;
};
OwedReport owedReport(Store& current);
QStringList owedLines(const OwedReport& report);

// The lines of the past-draw list: date, customers, stake, first prize, profit or loss.
QStringList drawRow(const DrawSummary& summary);

} // namespace varnoth
