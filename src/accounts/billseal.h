#pragma once
// The seal on a bill: a short code made from where the audit log's chain stood when the bill was
// made, the customer and the bill's figures. The code names the log's position, so the check can
// tell whether the book still holds what the bill was made from, and list the logged changes since.
//
// A code is groups of four letters and digits joined by "-": the position (one group, more for a
// very long log), then two groups that only this customer's bill at that position gives, the first
// over the customer alone and the second over his figures too: "00A3-7KQ2-M9XA".

#include "accounts/bill.h"
#include "audit/auditread.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace varnoth
{

class Store;

// Where the chain stands: how many whole lines the log holds and the hash that ends the last one.
struct AuditHead {
    qint64 lines = 0;
    QByteArray hash = AuditChainStart;
};

// The head after the first `lines` whole lines of the log. Everything the seal takes from the log
// goes through here.
AuditHead auditHeadAt(const AuditIndex& index, qint64 lines);
// The head after every whole line.
AuditHead auditHead(const AuditIndex& index);

// The seal of a statement made at `head`.
QString billSeal(const AuditHead& head, const Statement& statement);

// The bill's lines with its seal as the last one.
QStringList sealedBillLines(const Statement& statement, const AuditHead& head, const QString& drawLabel = {},
                            const BillLayout& layout = {});
// The seal a bill's lines end with; "" when they end with none.
QString sealOfLines(const QStringList& lines);

// A code as typed: blanks dropped, small letters taken as capitals and the letters that look like
// digits (O, I, L) as those digits. False when it is no code.
struct SealCode {
    qint64 lines = 0;
    quint32 who = 0;
    quint32 what = 0;
};
bool parseSeal(const QString& typed, SealCode& code);

struct SealCheck {
    enum class Verdict {
        Malformed, // not a code
        LogShort,  // the log holds fewer lines than when the bill was made
        LogBroken, // the log's chain is broken: it cannot vouch for anything
        NotFound,  // no customer's bill gives this code at that position
        Unchanged, // the book still holds exactly what the bill was made from
        Changed,   // logged changes since touch the customer's bill
        Unlogged,  // his figures differ, yet the log shows no change
    };
    Verdict verdict = Verdict::Malformed;
    QString customer;
    qint64 sealedAt = 0;         // the log's line count when the bill was made
    std::vector<qint64> changes; // indices of the log lines since then that touch his bill
    QStringList lines;           // what the operator reads
    bool holds() const { return verdict == Verdict::Unchanged; }
};

// Checks a code against the book being kept and its log.
SealCheck checkBillSeal(Store& store, const AuditIndex& index, const QString& typed, const AuditKey& key = {});

} // namespace varnoth
