#pragma once
// A customer's bill for one draw: per type what he staked, his discount, the net, the numbers he won
// with their prize, and what is left to settle, with what earlier draws left unpaid and what he
// has paid since.

#include "accounts/customerrates.h"
#include "accounts/payments.h"
#include "core/model/thaidate.h"
#include "reports/prize.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace varnoth
{

class Store;

// Every figure of a bill is in whole satang: the discount and each prize are rounded once, and the
// net, the balances and the totals are made of the rounded figures, so that the lines add up as they
// are printed and paying the printed total settles the account.
struct BillWin {
    QString number;
    double stake = 0;
    PayTerms terms;
    double prize = 0;
};

// One number the customer bet on, his stakes on it added up in the order he first keyed it; `won`
// when it is a winning number (its prize is on the type's win of that number).
struct BillBet {
    QString number;
    double amount = 0;
    bool won = false;
    QStringList keyers; // who keyed it, in a book with users (accounts/billkeyers.h)
};

struct BillType {
    QString type;
    QList<BillBet> bets;
    double stake = 0;
    Figures figures;
    double discount = 0;
    double net = 0;
    QList<BillWin> wins;
    double prize = 0;
    // He won on it while no payout rate is set: his prize, and so his balance, cannot be known.
    bool unpriced() const { return !wins.isEmpty() && !wins.first().terms.priced(); }
    // What the customer owes for this type (negative: what he is owed).
    double balance() const { return toSatang(net - prize); }
};

struct Bill {
    QString customer;
    QList<BillType> types; // only the types he staked on, in type order
    double stake = 0;
    double discount = 0;
    double net = 0;
    double prize = 0;
    double balance() const { return toSatang(net - prize); }
    // The types he won on while no payout rate is set; his balance is unknown while there is one.
    QStringList unpricedTypes() const;
    bool priced() const { return unpricedTypes().isEmpty(); }
};

// The bill of one customer on the book of `store`, with his own figures where `rates` has them.
// He is paid on his whole stake on a winning number: the limit and the cuts are the bookmaker's
// matter, not his.
Bill computeBill(Store& store, const CustomerRates& rates, const QString& customer);

// What the draw leaves with `customers` over every type: their bills' balances added up (what the
// bookmaker takes, negative when he pays), and the types whose wins no rate prices, in the order
// the bills name them; the result is not known while there is one.
struct DrawResult {
    double result = 0;
    QStringList unpriced;
};
DrawResult drawResult(Store& store, const CustomerRates& rates, const QStringList& customers);

// The line that says why a balance is not known: "ยังไม่ได้ตั้งค่าอัตราจ่าย 2ตัวบน" ("" when priced).
QString unpricedText(const Bill& bill);

// A bill with what stands around it.
struct Statement {
    Bill bill;
    double carried = 0;      // left unpaid by earlier draws (negative: owed to the customer)
    double paid = 0;         // paid since this draw's book was started (negative: paid to him)
    QList<Payment> payments; // those payments, oldest first
    QStringList problems;    // damaged files and unknown earlier balances, each a line for the operator
    double due() const { return toSatang(carried + bill.balance() - paid); }
    // Every line that makes what is due unknown: the problems, and a win of this draw with no rate.
    QStringList unknowns() const;
};

// "ลูกค้าต้องจ่าย 1,200.00 บาท", "เจ้ามือต้องจ่าย …" or "ไม่มียอดค้าง".
QString balanceText(double balance);

// How a bill is written out: with every bet under its type or its totals only, and its dates.
struct BillLayout {
    bool totalsOnly = false;
    YearStyle years = YearStyle::Buddhist;
};

// The layout the book's options ask for.
BillLayout billLayout(const Store& store);

// A bet as the bill lists it: "12-100", and "12-100*" for a winning number, followed by who keyed it
// when the bill names them. The printouts and the
// picture pack these rows several to a line, as they pack the records of the main list.
QString betRow(const BillBet& bet);

// The lines of the bill, as the main list shows them and the printouts carry them. `drawLabel`
// names the draw ("" for the book being kept).
QStringList billLines(const Statement& statement, const QString& drawLabel = {}, const BillLayout& layout = {});

} // namespace varnoth
