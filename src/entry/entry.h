#pragma once
// Committing bets: each bet adds its amount to its number's line in the stake file of its type and
// customer and one to that number's line in the type's count file. A batch holds every file it
// touches in memory and writes each changed file once, so a gate list or a whole sheet costs one
// read and one write per file, with the same bytes and list lines as storing the bets one by one.

#include "core/model/text.h"
#include "entry/gates.h"
#include "entry/rulemarks.h"
#include "storage/folder/numberfile.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

namespace varnoth
{

class Store;

// Shown after a bet that is not stored (the text begins with a blank).
inline const QString& BetRejectedText = RejectedText;
// Shown after a bet whose stake file could not be written.
inline const QString BetNotSavedText = QStringLiteral(" บันทึกข้อมูลไม่สำเร็จ");
// Shown after a bet of a sheet whose amount is above the amount ceiling: it is not stored.
inline const QString AboveCeilingText = QStringLiteral(" เกินยอดสูงสุด");
// The main window's question before it stores a bet above the amount ceiling, and its answers.
inline const QString AboveCeilingTitle = QStringLiteral("ยอดแทงเกินยอดสูงสุด");
inline const QString StoreAnywayText = QStringLiteral("บันทึก");
inline const QString DoNotStoreText = QStringLiteral("ไม่บันทึก");

// One stored bet, as far as taking it back needs to know.
struct BetChange {
    QString type;
    QString number; // as stored: the digits of the file's line
    QString amount; // the digits keyed
    double value = 0;
};

struct EntryResult {
    QString customer;
    QStringList lines;        // the main-list lines, in order
    QList<BetChange> changes; // the bets that were stored and counted, in order
    QList<int> storedLines;   // where in `lines` each of those bets is listed
    int aboveCeiling = 0;     // bets left out because their amount is above the ceiling
    int closed = 0;           // bets left out because their number is closed
    int rejected = 0;         // bets and whole lines listed with BetRejectedText
    int notSaved = 0;         // bets listed with BetNotSavedText: their stake file could not be written
};

class EntryBatch
{
public:
    // `customer` is the cleaned name; it must already be in the customer list to store anything.
    // A bet above the book's amount ceiling is listed with AboveCeilingText and not stored, unless
    // the operator allowed it.
    EntryBatch(Store& store, const QString& customer);

    qint64 ceiling() const { return m_ceiling; }
    // The question to ask before storing a plan that holds a bet above the ceiling that would
    // otherwise be stored (the highest amount and how many bets carry one); "" when there is none.
    QString aboveCeilingQuestion(const EntryPlan& plan);
    // The operator confirmed the amounts above the ceiling of the bets to come.
    void allowAboveCeiling() { m_aboveCeilingAllowed = true; }

    // One bet, number and amount as keyed. A type or customer without a stake file lists nothing.
    void addBet(const QString& number, const QString& amount, const QString& type);
    // A line of the main list between bets (headers of a paired amount).
    void addListLine(const QString& line);
    // The bets of a plan with the lines that follow each; a gate list advances the progress
    // indicator once per gate when `gateProgress` is set, and hides it at the end.
    void addPlan(const EntryPlan& plan, bool gateProgress = true);
    // The bets of one entry line for the type.
    void addLine(const QString& line, const QString& type, bool gateProgress = true);

    // Writes every changed stake file, then counts the bets whose stake file was written and writes
    // the count files. Returns the list lines and the record of what was stored.
    EntryResult commit();
    // The bets that commit() would store, without storing anything (the checking pass).
    QList<BetChange> pendingBets() const;

private:
    struct PendingBet {
        QString type;
        QString number;
        QString amount;
        QString stakePath;
        int line; // index into m_lines
    };

    NumberFile* stakeFile(const QString& type);
    // The digits of the amount when the bet can be stored in the file, "" when it is rejected.
    static QString storableAmount(const NumberFile& stake, const QString& number, const QString& amount);
    NumberFile* countFile(const QString& type);
    int stakeTypeIndex(const QString& type);

    Store& m_store;
    QString m_customer;
    QString m_customerIndex;
    qint64 m_ceiling;
    bool m_aboveCeilingAllowed = false;
    int m_aboveCeiling = 0;
    int m_closed = 0;
    int m_rejected = 0;
    RuleMarks m_marks;
    QString m_lastType;
    int m_lastTypeIndex = -1;
    QHash<QString, QString> m_stakePaths; // type -> stake file path ("" when none)
    QHash<QString, QString> m_countPaths; // type -> count file path ("" when none)
    QHash<QString, NumberFile> m_files;   // path -> file in memory
    std::vector<PendingBet> m_bets;       // moved, not copied, as it grows
    QStringList m_lines;
};

// The bets of the main window's entry: the gate box, the number field and the amount field.
// `clearFields` is false when a gate list has no amount: then nothing happens and the fields stay.
struct FieldEntry {
    EntryPlan plan;
    bool clearFields = true;
};
FieldEntry planFieldEntry(const QString& gateList, const QString& numberText, const QString& amountText,
                          const QString& type, const QString& customer);

} // namespace varnoth
