#pragma once
// Batch jobs: one job of the main window run from the command line without a window, for sheets that
// arrive as files and for nightly backups. A job prints the lines the main list would show for it and
// changes the data folder exactly as the windows would.

#include "accounts/dealers.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

class QCommandLineParser;

namespace varnoth
{

class Ledger;

enum class BatchJob {
    None,
    EnterSheet,
    EnterChat,
    View,
    Search,
    OverLimit,
    NumberCut,
    PrizeCheck,
    Analysis,
    Statistics,
    OpenList,
    Backup,
    Restore,
    NewDraw,
    Audit,
    Rules,
    SetRule,
    ClearRule,
    Bill,
    SetRate,
    Pay,
    Owed,
    Draws,
    FullBackup,
    FullRestore,
    VerifyBill,
    EnterImage,
    AddUser,
    RemoveUser,
    Users,
    ResetPin,
    Dealers,
    AddDealer,
    SplitSend,
    CheckDealer,
    Statement,
    ImportBook,
    ExportBook,
    PayDealer,
};

struct BatchOptions {
    BatchJob job = BatchJob::None;
    QString sheetFile;               // enter a sheet
    QString type;                    // a type name, or "ทั้งหมด" where the job's window offers it
    QString customer;                // a customer name, or "ทั้งหมด" where the job's window offers it
    QString number;                  // search
    bool keep = false;               // over-limit: the keep list instead of the send-out list
    QString listName;                // the saved send-out list to open
    QString saveName;                // over-limit and number cut: save the pending send-out list under this name
    QString folder;                  // backup and restore, full or not: the folder that holds (or gets) "image_2";
                                     // import and export of a book: the data folder
    QString book;                    // import and export of a book: the server book (a libpq URI)
    bool confirmed = false;          // new draw: the operator said yes
    QString chatFile;                // enter a pasted message
    QString imageFile;               // enter the bets read from a picture
    bool dryRun = false;             // enter a pasted message: read it, store nothing
    bool json = false;               // enter a pasted message: print what was read as one JSON object
    QDateTime since;                 // audit: the lines from this moment on (invalid for all)
    bool verify = false;             // audit: check the log's chain instead of listing it
    bool clearRules = false;         // new draw: the number rules go too
    QStringList ruleArguments;       // set and clear a rule: NUMBER, then "limit N", "closed" or "pay P"
    bool permutations = false;       // set a rule: every order of the number's digits
    QString pngFolder;               // bill: a picture of each bill into this folder
    QString pdfFile;                 // bill: every bill into this PDF
    QString pastDraw;                // bill: the past draw (its folder name in "draws"), read only
    bool totalsOnly = false;         // bill: each type's totals without the bets
    QString payout;                  // set-rate: the customer's own payout rate ("" for the type's)
    QString discount;                // set-rate: the customer's own discount percentage ("" for the type's)
    QString amount;                  // pay, pay a dealer: the amount, "" for all that is due
    bool overpay = false;            // pay, pay a dealer: more than is due may be paid
    bool afterResult = false;        // enter a sheet or a message once the result is saved; audit: only such bets
    bool allowLarge = false;         // restore: store records above the ceiling times their number's count
    bool allowManyCustomers = false; // restore: add a backup bringing more than 100 new customers
    QString slip;                    // bill: "58" or "80" puts the PDF's bills on receipt-roll pages, "A4" on pages
    QString xlsxFile;                // a report job: its lines into this Excel workbook too
    QString csvFile;                 // ... and into this CSV file
    QString sealCode;                // verify a bill: the seal printed on it
    QString user;                    // who runs the job, in a book with users ("" for nobody)
    QString userName;                // add, remove a user or reset his PIN
    QString role;                    // add a user: "owner" or "keyer"
    // The PINs, when the caller has them; otherwise read from VARNOTH_PIN (the user's) and
    // VARNOTH_NEW_PIN (the new one), or else a line each of standard input. Never an argument.
    std::optional<QString> pin;
    std::optional<QString> newPin;
    QString dealer;                  // add a dealer, --dealer: his name
    QList<DealerTerms> dealerTerms;  // add a dealer: one group per --type, in the order given
    bool chat = false;               // a dealer's statement: as text to paste into a chat
};

// A bill or statement job that draws pictures or a PDF needs a (windowless) GUI application for its fonts.
inline bool batchNeedsGui(const BatchOptions& o)
{
    return (o.job == BatchJob::Bill || o.job == BatchJob::Statement) && (!o.pngFolder.isEmpty() || !o.pdfFile.isEmpty());
}

// What the command line asks for: no job at all (the window starts), one job, or a usage error.
struct BatchRequest {
    bool batch = false;
    bool argumentsTaken = false; // the job takes the plain arguments of the command line
    QString usageError;
    BatchOptions options;
};

struct BatchResult {
    QStringList out; // exactly what the main list would show, one line each
    QStringList err; // refusals and failures, for standard error
    int exitCode = 0;
};

inline constexpr int BatchRan = 0;
inline constexpr int BatchRefused = 1;
inline constexpr int BatchUsageError = 2;

// The longest sheet the group-entry window takes: one character less than this.
inline constexpr int BatchSheetLimit = 60000;
// The largest message file a chat job reads.
inline constexpr qint64 BatchChatLimit = 4 * 1024 * 1024;

// Adds the job options to the program's parser.
void addBatchOptions(QCommandLineParser& parser);

// Reads the job options of a parsed command line. Type names are checked here, so a mistyped type
// never reaches the data folder.
BatchRequest batchRequest(const QCommandLineParser& parser);

// Runs one job on the data folder through the ledger, so that a job changes the book exactly as the
// windows do. The caller holds the folder's lock.
BatchResult runBatch(Ledger& ledger, const BatchOptions& options);

} // namespace varnoth
