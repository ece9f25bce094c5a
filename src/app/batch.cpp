#include "app/batch.h"

#include "app/Ledger.h"
#include "audit/auditread.h"
#include "audit/replay.h"

#include "accounts/accounttexts.h"
#include "accounts/billseal.h"
#include "accounts/dealerreply.h"
#include "accounts/dealerstatement.h"
#include "accounts/dealertexts.h"
#include "accounts/drawhistory.h"
#include "accounts/exporttexts.h"
#include "app/BillPainter.h"
#include "app/SlipPainter.h"
#include "app/batchusers.h"
#include "app/picturerecognizer.h"
#include "app/spreadsheet.h"
#include "core/model/customername.h"
#include "core/model/listtexts.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "entry/chat.h"
#include "entry/chattexts.h"
#include "entry/sheet.h"
#include "reports/analysis.h"
#include "reports/cutting.h"
#include "reports/overlimit.h"
#include "reports/prize.h"
#include "reports/reportresult.h"
#include "reports/reportstate.h"
#include "reports/statistics.h"
#include "reports/view.h"
#include "settings/customers.h"
#include "settings/history.h"
#include "settings/numberrules.h"
#include "settings/numberruletexts.h"
#include "settings/options.h"
#include "storage/folder/store.h"
#include "storage/pg/bookcopytexts.h"
#ifdef VARNOTH_HAVE_PG
#include "storage/pg/bookcopy.h"
#include "storage/pg/pgbookstore.h"
#endif
#include "tools/backup.h"
#include "tools/newdraw.h"
#include "tools/restore.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <memory>

namespace varnoth
{

namespace
{

struct JobOption {
    const char* name;
    BatchJob job;
    const char* valueName; // nullptr for a switch
    const char* help;
};

const JobOption Jobs[] = {
    {"enter-sheet", BatchJob::EnterSheet, "FILE",
     "Enter the bets of a sheet file (entry lines, windows-874 or UTF-8) for --type and --customer. Rejected "
     "lines and bets above the amount ceiling are not stored (exit status 1)."},
    {"enter-chat", BatchJob::EnterChat, "FILE",
     "Enter the bets of a pasted chat message (UTF-8 or windows-874) for the customer named in it or "
     "--customer; --type is the type of lines with one plain amount and no heading. Lines not understood "
     "are not stored (exit status 1); a stated total that does not match stores nothing (exit status 1)."},
    {"enter-image", BatchJob::EnterImage, "FILE",
     "Enter the bets read from a picture (PNG or JPEG: a screenshot of a chat or a photo of a slip) as "
     "--enter-chat enters a message; a line read with a doubtful character is not understood and not stored."},
    {"view", BatchJob::View, nullptr, "List every type's stakes with their totals and discounts."},
    {"search", BatchJob::Search, nullptr,
     "Search the stakes of --number (all numbers when left out) in --type and --customer."},
    {"over-limit", BatchJob::OverLimit, nullptr,
     "List what lies above each type's limit (with --keep: what stays within it)."},
    {"number-cut", BatchJob::NumberCut, nullptr, "List the stakes of the cut numbers and digit positions."},
    {"prize-check", BatchJob::PrizeCheck, nullptr,
     "Check the stakes of --type and --customer against the drawn numbers."},
    {"analysis", BatchJob::Analysis, nullptr, "Forecast the profit or loss of --type."},
    {"statistics", BatchJob::Statistics, nullptr, "List how often each number of --type was played."},
    {"open-list", BatchJob::OpenList, "NAME", "List a saved send-out list."},
    {"backup", BatchJob::Backup, "DIR", "Back the book up into DIR/image_2/cat.gif."},
    {"restore", BatchJob::Restore, "DIR",
     "Add the backup DIR/image_2/cat.gif into the book. Records above the amount ceiling times their number's "
     "count are stored only with --allow-large (exit status 1 otherwise); a backup bringing more than 100 new "
     "customers is added only with --allow-many-customers (exit status 1 and nothing stored otherwise)."},
    {"audit", BatchJob::Audit, nullptr,
     "List the audit log, newest first (tab-separated: time, user, operator, action, type, customer, number, "
     "before, after, entry, detail), narrowed by --customer, --type, --number and --since; with --verify, check "
     "that no line was changed, removed or inserted (exit status 1 when one was)."},
    {"new-draw", BatchJob::NewDraw, nullptr,
     "Copy the book into draws/ beside the data folder, then delete every stake, count, send-out list, "
     "setting and customer (needs --confirm-new-draw); the number rules stay unless --clear-rules is given."},
    {"rules", BatchJob::Rules, nullptr, "List the number rules (own limits, closed numbers, reduced pay) by type."},
    {"set-rule", BatchJob::SetRule, "TYPE",
     "Set the rule of a number: --set-rule TYPE NUMBER limit N | closed | pay P (P from 0 to 100 percent of the "
     "rate); with --permutations it covers every order of the digits."},
    {"clear-rule", BatchJob::ClearRule, "TYPE", "Clear the rule of a number: --clear-rule TYPE NUMBER."},
    {"bill", BatchJob::Bill, nullptr,
     "Show the bill of --customer (every customer when left out); --png DIR saves each bill as a picture for a "
     "phone, --pdf FILE saves all of them in one PDF, --past-draw NAME bills a past draw without changing it."},
    {"set-rate", BatchJob::SetRate, nullptr,
     "Set the own --payout rate and --discount percentage of --customer for --type; a figure left out or empty "
     "goes back to the type's."},
    {"pay", BatchJob::Pay, "AMOUNT",
     "Record that AMOUNT baht (or \"all\") of what --customer owes, or is owed, has been paid."},
    {"owed", BatchJob::Owed, nullptr, "List what every customer owes or is owed over all draws, oldest first."},
    {"draws", BatchJob::Draws, nullptr, "List the past draws kept by the new draw."},
    {"full-backup", BatchJob::FullBackup, "DIR",
     "Copy every file of the book and its past draws into DIR/image_2/full and check the copy."},
    {"full-restore", BatchJob::FullRestore, "DIR",
     "Bring the full backup DIR/image_2/full back into this book, which must be empty."},
    {"verify-bill", BatchJob::VerifyBill, "CODE",
     "Check the seal CODE printed on a bill: whether the book still holds exactly what the bill was made from, "
     "or which logged changes touched it since (exit status 1 unless it holds)."},
    {"add-user", BatchJob::AddUser, "NAME",
     "Add a user with --role owner or keyer (the first user is the owner); the new PIN (4 to 8 digits) from "
     "VARNOTH_NEW_PIN or else standard input."},
    {"remove-user", BatchJob::RemoveUser, "NAME", "Remove a user."},
    {"reset-pin", BatchJob::ResetPin, "NAME",
     "Give a user a new PIN (from VARNOTH_NEW_PIN or else standard input), which also ends a lock."},
    {"users", BatchJob::Users, nullptr, "List the users of the book with their roles (tab-separated)."},
    {"dealers", BatchJob::Dealers, nullptr, "List the upstream dealers and their terms, in the order of preference."},
    {"add-dealer", BatchJob::AddDealer, "NAME",
     "Add the dealer NAME (last in the order of preference), or change his terms: each --type T starts a group "
     "of --payout R, --discount P (percent) and --cap N (the most he takes on one number); a type not named keeps "
     "its terms. A figure that is not digits refuses the whole job (exit status 1)."},
    {"split-send", BatchJob::SplitSend, "NAME",
     "Run the over-limit report of --type and split what is not yet sent over the dealers, in the order of "
     "preference and within their caps; each dealer's share is saved as the send-out list NAME.DEALER. What no "
     "dealer takes is listed and stays unsent."},
    {"check-dealer", BatchJob::CheckDealer, "FILE",
     "Read the message FILE the dealer --dealer NAME wrote back (as --enter-chat reads one; --type for lines with "
     "one plain amount) and list, number by number, what is missing, extra or of another amount than what was "
     "sent to him (exit status 1 unless all agrees)."},
    {"statement", BatchJob::Statement, nullptr,
     "The statement of this draw with --dealer NAME: per type what was sent to him, his discount, the net, the "
     "winning numbers among it at his payout rate, who pays whom, the payments made with him and what is due over "
     "all draws; with --chat, laid out as a message to paste into a chat."},
    {"pay-dealer", BatchJob::PayDealer, "AMOUNT",
     "Record that AMOUNT baht (or \"all\") of what the dealer --dealer NAME owes the book, or is owed by it, over "
     "all draws has been paid; --overpay records more than is due."},
    {"import-book", BatchJob::ImportBook, "DIR",
     "Put the book of the data folder DIR into the server book --book URI, which must hold nothing yet: all of it "
     "in one transaction or nothing (exit status 1). The folder's files the server does not keep yet are named "
     "and stay in DIR."},
    {"export-book", BatchJob::ExportBook, "DIR",
     "Write the server book --book URI out as a data folder into DIR, which must be missing or empty."},
};

const QString TypeOption = QStringLiteral("type");
const QString CustomerOption = QStringLiteral("customer");
const QString NumberOption = QStringLiteral("number");
const QString KeepOption = QStringLiteral("keep");
const QString SaveOption = QStringLiteral("save-list");
const QString ConfirmOption = QStringLiteral("confirm-new-draw");
const QString DryRunOption = QStringLiteral("dry-run");
const QString JsonOption = QStringLiteral("json");
const QString SinceOption = QStringLiteral("since");
const QString VerifyOption = QStringLiteral("verify");
const QString ClearRulesOption = QStringLiteral("clear-rules");
const QString PermutationsOption = QStringLiteral("permutations");
const QString PngOption = QStringLiteral("png");
const QString PdfOption = QStringLiteral("pdf");
const QString PastDrawOption = QStringLiteral("past-draw");
const QString TotalsOnlyOption = QStringLiteral("totals-only");
const QString PayoutOption = QStringLiteral("payout");
const QString DiscountOption = QStringLiteral("discount");
const QString OverpayOption = QStringLiteral("overpay");
const QString AfterResultOption = QStringLiteral("after-result");
const QString AllowLargeOption = QStringLiteral("allow-large");
const QString AllowManyCustomersOption = QStringLiteral("allow-many-customers");
const QString SlipOption = QStringLiteral("slip");
const QString XlsxOption = QStringLiteral("xlsx");
const QString CsvOption = QStringLiteral("csv");
const QString UserOption = QStringLiteral("user");
const QString RoleOption = QStringLiteral("role");
const QString CapOption = QStringLiteral("cap");
const QString DealerOption = QStringLiteral("dealer");
const QString ServerBookOption = QStringLiteral("book");
const QString ChatOption = QStringLiteral("chat");

enum class Need { No, AllByDefault, Required, Optional };

// Which of the other options a job takes, and whether "ทั้งหมด" stands for every type or customer.
struct JobRules {
    Need type = Need::No;
    Need customer = Need::No;
    bool typeMayBeAll = true;
    bool number = false;
    bool keep = false;
    bool save = false;
    bool confirm = false;
    bool chat = false;  // --dry-run and --json
    bool audit = false; // --since and --verify
    bool clearRules = false;
    bool permutations = false;
    bool afterResult = false;
    bool allowLarge = false;
    bool allowManyCustomers = false;
};

JobRules rulesOf(BatchJob job)
{
    switch (job) {
    case BatchJob::EnterSheet:
        return {.type = Need::Required, .customer = Need::Required, .typeMayBeAll = false, .afterResult = true};
    case BatchJob::EnterChat:
    case BatchJob::EnterImage:
        return {.type = Need::Optional,
                .customer = Need::Optional,
                .typeMayBeAll = false,
                .chat = true,
                .afterResult = true};
    case BatchJob::Search:
        return {Need::AllByDefault, Need::AllByDefault, true, true};
    case BatchJob::OverLimit:
        return {Need::AllByDefault, Need::No, true, false, true, true};
    case BatchJob::SplitSend:
        return {Need::AllByDefault};
    case BatchJob::CheckDealer:
        return {.type = Need::Optional, .customer = Need::No, .typeMayBeAll = false};
    case BatchJob::Statement:
        return {};
    case BatchJob::NumberCut:
        return {Need::AllByDefault, Need::No, true, false, false, true};
    case BatchJob::PrizeCheck:
        return {Need::AllByDefault, Need::AllByDefault};
    case BatchJob::Analysis:
        return {Need::AllByDefault};
    case BatchJob::Statistics:
        return {Need::Required};
    case BatchJob::NewDraw:
        return {.type = Need::No, .customer = Need::No, .confirm = true, .clearRules = true};
    case BatchJob::Audit:
        return {.type = Need::AllByDefault,
                .customer = Need::AllByDefault,
                .number = true,
                .audit = true,
                .afterResult = true};
    case BatchJob::Rules:
        return {.type = Need::AllByDefault};
    case BatchJob::SetRule:
        return {.type = Need::No, .customer = Need::No, .permutations = true};
    case BatchJob::Bill:
        return {Need::No, Need::AllByDefault};
    case BatchJob::SetRate:
        return {Need::Required, Need::Required, false};
    case BatchJob::Pay:
        return {Need::No, Need::Required};
    case BatchJob::Restore:
        return {.allowLarge = true, .allowManyCustomers = true};
    default:
        return {};
    }
}

QString dashed(const QString& name)
{
    return QStringLiteral("--") + name;
}

QString jobName(BatchJob job)
{
    for (const JobOption& j : Jobs)
        if (j.job == job) return dashed(QString::fromLatin1(j.name));
    return {};
}

QString unknownTypeText(const QString& given, bool mayBeAll)
{
    QString text = QStringLiteral("unknown type \"") + given + QStringLiteral("\"; the types are ") +
                   typeNames().join(QStringLiteral(", "));
    if (mayBeAll) text += QStringLiteral(", and ") + AllChoice + QStringLiteral(" for every type");
    return text;
}

// "2026-12-09", "2026-12-09 14:05" or "2026-12-09T14:05:33" as local time; invalid when it is none.
QDateTime sinceTime(const QString& text)
{
    const QString t = text.trimmed();
    for (const QString& format : {QStringLiteral("yyyy-MM-dd HH:mm:ss"), QStringLiteral("yyyy-MM-ddTHH:mm:ss"),
                                  QStringLiteral("yyyy-MM-dd HH:mm"), QStringLiteral("yyyy-MM-ddTHH:mm")}) {
        const QDateTime when = QDateTime::fromString(t, format);
        if (when.isValid()) return when;
    }
    const QDate day = QDate::fromString(t, QStringLiteral("yyyy-MM-dd"));
    return day.isValid() ? day.startOfDay() : QDateTime();
}

// The jobs whose lines are a list worth keeping in a spreadsheet.
bool listsReport(BatchJob job)
{
    switch (job) {
    case BatchJob::View:
    case BatchJob::Search:
    case BatchJob::OverLimit:
    case BatchJob::NumberCut:
    case BatchJob::PrizeCheck:
    case BatchJob::Analysis:
    case BatchJob::Statistics:
    case BatchJob::OpenList:
    case BatchJob::Audit:
    case BatchJob::Rules:
    case BatchJob::Bill:
    case BatchJob::Owed:
    case BatchJob::Draws:
    case BatchJob::Dealers:
    case BatchJob::Statement:
        return true;
    default:
        return false;
    }
}

// --slip, --xlsx and --csv; the first thing wrong, or "".
QString checkExportOptions(const QCommandLineParser& parser, BatchJob job, BatchOptions& o)
{
    for (const QString& option : {XlsxOption, CsvOption}) {
        if (!parser.isSet(option)) continue;
        if (!listsReport(job)) return dashed(option) + QStringLiteral(" does not go with ") + jobName(job);
        if (parser.value(option).isEmpty()) return dashed(option) + QStringLiteral(" needs a file");
    }
    if (parser.isSet(XlsxOption) && !workbooksAvailable())
        return QStringLiteral("this build of the program cannot write Excel workbooks; use --csv FILE");
    o.xlsxFile = parser.value(XlsxOption);
    o.csvFile = parser.value(CsvOption);
    if (!parser.isSet(SlipOption)) return {};
    if (job != BatchJob::Bill) return dashed(SlipOption) + QStringLiteral(" does not go with ") + jobName(job);
    PaperWidth width;
    if (!paperWidthFromText(parser.value(SlipOption), width)) return QStringLiteral("--slip takes 58, 80 or A4");
    if (width != PaperWidth::A4 && !parser.isSet(PdfOption))
        return QStringLiteral("--slip needs --pdf FILE for the slips");
    o.slip = parser.value(SlipOption).trimmed();
    return {};
}

// The options of the bill, the customer's own figures and payments.
QString checkAccountOptions(const QCommandLineParser& parser, BatchJob job, BatchOptions& o)
{
    const QString name = jobName(job);
    const bool bill = job == BatchJob::Bill;
    const bool rate = job == BatchJob::SetRate;
    const bool dealer = job == BatchJob::AddDealer;
    const bool pictures = bill || job == BatchJob::Statement;
    for (const auto& [option, allowed] :
         {std::pair{PngOption, pictures}, std::pair{PdfOption, pictures}, std::pair{PastDrawOption, bill},
          std::pair{TotalsOnlyOption, bill}, std::pair{PayoutOption, rate || dealer},
          std::pair{DiscountOption, rate || dealer}, std::pair{CapOption, dealer},
          std::pair{OverpayOption, job == BatchJob::Pay || job == BatchJob::PayDealer}})
        if (!allowed && parser.isSet(option)) return dashed(option) + QStringLiteral(" does not go with ") + name;
    if ((rate || job == BatchJob::Pay) && o.customer == AllChoice)
        return name + QStringLiteral(" needs one customer, not ") + AllChoice;
    o.pngFolder = parser.value(PngOption);
    o.pdfFile = parser.value(PdfOption);
    o.pastDraw = parser.value(PastDrawOption);
    o.totalsOnly = parser.isSet(TotalsOnlyOption);
    o.payout = parser.value(PayoutOption).trimmed();
    o.discount = parser.value(DiscountOption).trimmed();
    o.overpay = parser.isSet(OverpayOption);
    if (parser.isSet(PngOption) && o.pngFolder.isEmpty()) return QStringLiteral("--png needs a folder");
    if (parser.isSet(PdfOption) && o.pdfFile.isEmpty()) return QStringLiteral("--pdf needs a file");
    if (parser.isSet(PastDrawOption) && o.pastDraw.isEmpty()) return QStringLiteral("--past-draw needs a name");
    const bool pay = job == BatchJob::Pay || job == BatchJob::PayDealer;
    if (pay && o.amount.compare(QStringLiteral("all"), Qt::CaseInsensitive) == 0)
        o.amount.clear();
    else if (pay && !checkAmount(o.amount).isEmpty())
        return QStringLiteral("the amount of ") + name +
               QStringLiteral(" must be digits (at most two after a point) or \"all\"");
    if (rate && !checkPayout(o.payout).isEmpty())
        return QStringLiteral("--payout must be digits only, at most ") + QString::number(MaxPayoutDigits) + ": " +
               checkPayout(o.payout);
    if (rate && !checkPercent(o.discount).isEmpty()) return QStringLiteral("--discount must be digits from 0 to 100");
    return {};
}

// The --type groups of --add-dealer: the command line's order says which --payout, --discount and --cap
// belong to which --type. The first thing wrong, or "".
QString dealerTermGroups(const QCommandLineParser& parser, QList<DealerTerms>& groups)
{
    QHash<QString, int> taken;
    for (const QString& name : parser.optionNames()) {
        QString DealerTerms::* field = nullptr;
        if (name == PayoutOption) field = &DealerTerms::payout;
        if (name == DiscountOption) field = &DealerTerms::discount;
        if (name == CapOption) field = &DealerTerms::cap;
        if (name != TypeOption && !field) continue;
        const QString value = parser.values(name).value(taken[name]++);
        if (name == TypeOption) {
            const QString type = CleanName(value);
            if (typeIndex(type) < 0) return unknownTypeText(value, false);
            for (const DealerTerms& g : std::as_const(groups))
                if (g.type == type) return QStringLiteral("--type ") + value + QStringLiteral(" is given twice");
            groups << DealerTerms{type, {}, {}, {}};
            continue;
        }
        if (groups.isEmpty()) return dashed(name) + QStringLiteral(" comes after the --type it is for");
        QString& slot = groups.last().*field;
        if (!slot.isEmpty()) return dashed(name) + QStringLiteral(" is given twice for one --type");
        slot = value.trimmed();
    }
    return {};
}

// Checks the options around the job; the first thing wrong, or "".
QString checkAround(const QCommandLineParser& parser, BatchJob job, BatchOptions& o)
{
    const JobRules rules = rulesOf(job);
    const QString name = jobName(job);
    auto refuseExtra = [&](bool allowed, const QString& option) -> QString {
        if (allowed || !parser.isSet(option)) return {};
        return dashed(option) + QStringLiteral(" does not go with ") + name;
    };
    for (const QString& problem :
         {refuseExtra(rules.type != Need::No || job == BatchJob::AddDealer, TypeOption), refuseExtra(rules.customer != Need::No, CustomerOption),
          refuseExtra(rules.number, NumberOption), refuseExtra(rules.keep, KeepOption),
          refuseExtra(rules.save, SaveOption), refuseExtra(rules.confirm, ConfirmOption),
          refuseExtra(rules.chat, DryRunOption), refuseExtra(rules.chat, JsonOption),
          refuseExtra(rules.audit, SinceOption), refuseExtra(rules.audit, VerifyOption),
          refuseExtra(rules.clearRules, ClearRulesOption), refuseExtra(rules.permutations, PermutationsOption),
          refuseExtra(rules.afterResult, AfterResultOption), refuseExtra(rules.allowLarge, AllowLargeOption),
          refuseExtra(rules.allowManyCustomers, AllowManyCustomersOption)})
        if (!problem.isEmpty()) return problem;
    if (parser.isSet(RoleOption) != (job == BatchJob::AddUser))
        return job == BatchJob::AddUser ? name + QStringLiteral(" needs --role owner or keyer")
                                        : dashed(RoleOption) + QStringLiteral(" does not go with ") + name;
    o.role = parser.value(RoleOption);

    if (rules.type == Need::Optional && !parser.isSet(TypeOption)) {
        // no type: lines with one plain amount need a heading
    } else if (rules.type != Need::No) {
        if (!parser.isSet(TypeOption) && rules.type == Need::Required) return name + QStringLiteral(" needs --type");
        const QString given = parser.isSet(TypeOption) ? parser.value(TypeOption) : AllChoice;
        o.type = CleanName(given);
        const bool known = typeIndex(o.type) >= 0 || (rules.typeMayBeAll && o.type == AllChoice);
        if (!known) return unknownTypeText(given, rules.typeMayBeAll);
    }
    if (rules.customer == Need::Optional && !parser.isSet(CustomerOption)) {
        // the customer named in the message, if any
    } else if (rules.customer != Need::No) {
        if (!parser.isSet(CustomerOption) && rules.customer == Need::Required)
            return name + QStringLiteral(" needs --customer");
        const QString given = parser.isSet(CustomerOption) ? parser.value(CustomerOption) : AllChoice;
        o.customer = customerName(given);
        if (job == BatchJob::EnterChat || job == BatchJob::EnterImage) {
            if (o.customer.isEmpty() || o.customer == AllChoice)
                return QStringLiteral("\"") + given + QStringLiteral("\" is not a customer name");
        } else if (job == BatchJob::EnterSheet) {
            // A customer called "all" could never be picked on his own in a report.
            if (o.customer == AllChoice) return AllChoice + QStringLiteral(" is not a customer name");
            // As in the group-entry window, a sheet without a customer name goes to "x".
            if (o.customer.isEmpty()) o.customer = QStringLiteral("x");
        } else if (o.customer.isEmpty()) {
            return QStringLiteral("the customer name is empty");
        } else if (job == BatchJob::Search) {
            o.customer = given; // the search cleans what is typed itself
        }
    }
    if (job == BatchJob::AddDealer) {
        if (const QString why = dealerTermGroups(parser, o.dealerTerms); !why.isEmpty()) return why;
    }
    const QString accounts = checkAccountOptions(parser, job, o);
    if (!accounts.isEmpty()) return accounts;
    if (const QString exports = checkExportOptions(parser, job, o); !exports.isEmpty()) return exports;
    o.number = parser.value(NumberOption);
    o.verify = parser.isSet(VerifyOption);
    if (parser.isSet(SinceOption)) {
        o.since = sinceTime(parser.value(SinceOption));
        if (!o.since.isValid())
            return QStringLiteral("--since takes a date, YYYY-MM-DD, or a date and time, \"YYYY-MM-DD HH:MM\"");
    }
    if (o.verify && (parser.isSet(TypeOption) || parser.isSet(CustomerOption) || parser.isSet(NumberOption) ||
                     parser.isSet(SinceOption) || parser.isSet(AfterResultOption)))
        return QStringLiteral("--verify checks the whole log and takes no other option");
    o.keep = parser.isSet(KeepOption);
    o.confirmed = parser.isSet(ConfirmOption);
    o.dryRun = parser.isSet(DryRunOption);
    o.json = parser.isSet(JsonOption);
    o.clearRules = parser.isSet(ClearRulesOption);
    o.permutations = parser.isSet(PermutationsOption);
    o.afterResult = parser.isSet(AfterResultOption);
    o.allowLarge = parser.isSet(AllowLargeOption);
    o.allowManyCustomers = parser.isSet(AllowManyCustomersOption);
    if (job == BatchJob::SetRule || job == BatchJob::ClearRule) {
        if (typeIndex(o.type) < 0) return unknownTypeText(o.type, false);
        o.ruleArguments = parser.positionalArguments();
        const QStringList& a = o.ruleArguments;
        if (job == BatchJob::ClearRule && a.size() != 1) return name + QStringLiteral(" takes TYPE NUMBER");
        if (job == BatchJob::SetRule) {
            const QString kind = a.value(1);
            const bool shape = (kind == QStringLiteral("closed") && a.size() == 2) ||
                               ((kind == QStringLiteral("limit") || kind == QStringLiteral("pay")) && a.size() == 3);
            if (!shape) return name + QStringLiteral(" takes TYPE NUMBER, then limit N, closed or pay P");
        }
    }
    if (parser.isSet(SaveOption)) {
        o.saveName = parser.value(SaveOption);
        if (enteredName(o.saveName).isEmpty()) return QStringLiteral("the name of --save-list is empty");
    }
    if (job == BatchJob::SplitSend && enteredName(o.saveName).isEmpty())
        return QStringLiteral("the name of --split-send is empty");
    const bool moves = job == BatchJob::ImportBook || job == BatchJob::ExportBook;
    if (parser.isSet(ServerBookOption) != moves)
        return moves ? name + QStringLiteral(" needs --book postgresql://USER@HOST/DB")
                     : QStringLiteral("--book goes with --import-book DIR or --export-book DIR");
    o.book = parser.value(ServerBookOption);
    if (moves && o.book.isEmpty()) return QStringLiteral("--book needs the server book's URI");
    const bool namesDealer =
        job == BatchJob::CheckDealer || job == BatchJob::Statement || job == BatchJob::PayDealer;
    if (namesDealer && !parser.isSet(DealerOption)) return name + QStringLiteral(" needs --dealer NAME");
    if (parser.isSet(ChatOption) && job != BatchJob::Statement)
        return dashed(ChatOption) + QStringLiteral(" does not go with ") + name;
    o.chat = parser.isSet(ChatOption);
    if (parser.isSet(DealerOption)) {
        if (!parser.isSet(SaveOption) && !namesDealer)
            return QStringLiteral("--dealer goes with --save-list NAME, --check-dealer FILE, --statement or --pay-dealer");
        o.dealer = dealerName(parser.value(DealerOption));
        if (o.dealer.isEmpty()) return QStringLiteral("the name of --dealer is empty");
    }
    return {};
}

BatchResult refused(BatchResult r, const QString& reason)
{
    r.err << reason;
    r.exitCode = BatchRefused;
    return r;
}

// Once the result is saved a job stores bets only with --after-result; it is refused before it
// touches the book, so that not even the customer is added.
QString afterResultRefusal(Ledger& ledger, const BatchOptions& o)
{
    const QString refusal = ledger.afterResultRefusal(o.afterResult);
    if (refusal.isEmpty()) return {};
    return refusal + QStringLiteral(": the drawn numbers are saved, so nothing was stored; give --after-result to "
                                    "store bets keyed after the result (each is marked in the audit log)");
}

// The group-entry window's sheet entry: the header of the pair (after the creation sequence), then a
// row for every bet of the sheet.
BatchResult enterSheet(Ledger& ledger, const BatchOptions& o)
{
    Store& store = ledger.store();
    BatchResult r;
    QFile file(o.sheetFile);
    if (!QFileInfo(o.sheetFile).isFile() || !file.open(QIODevice::ReadOnly))
        return refused(r, QStringLiteral("cannot read the sheet file: ") + ReadFailedText +
                              QDir::toNativeSeparators(o.sheetFile));
    file.close();
    const QString sheet = LoadSheetFile(o.sheetFile);
    if (sheet.size() >= BatchSheetLimit)
        return refused(r, QStringLiteral("the sheet holds ") + QString::number(sheet.size()) +
                              QStringLiteral(" characters; a sheet must stay below ") +
                              QString::number(BatchSheetLimit) + QStringLiteral(": split the file"));

    if (const QString late = afterResultRefusal(ledger, o); !late.isEmpty()) return refused(r, late);
    // A name that cannot be a customer's stores nothing, not even the name.
    if (const QString why = customerNameRefusal(o.customer); !why.isEmpty()) {
        r.out << why;
        return refused(r, QStringLiteral("refused, nothing stored: the customer name cannot be stored"));
    }
    const ChangeResult prepared = ledger.prepareCustomer(o.customer);
    r.out << headerLine(o.type, o.customer);
    if (!store.StakeFilePath(o.type, o.customer).isEmpty()) r.out << ReadyForBetsText;
    r.out << prepared.lines;
    // A file of his that could not be made fails the job, whatever the sheet then stores.
    if (!prepared.ok()) {
        r.err << QStringLiteral("the customer's files could not all be made: ") + outcomeReason(prepared.outcome.status);
        r.exitCode = BatchRefused;
    }
    int closed = 0;
    int rejected = 0;
    int notSaved = 0;
    const int above = sheet.isEmpty() ? 0 : [&] {
        const EntryResult entered = ledger.enterSheet(sheet, o.type, o.customer, o.afterResult);
        r.out << entered.lines;
        closed = entered.closed;
        rejected = entered.rejected;
        notSaved = entered.notSaved;
        return entered.aboveCeiling;
    }();
    if (rejected > 0) {
        r.err << QString::number(rejected) + QStringLiteral(" line(s) or bet(s) were rejected and not stored (") +
                     BetRejectedText.trimmed() + QStringLiteral("); correct them and enter them again");
        r.exitCode = BatchRefused;
    }
    if (notSaved > 0) {
        r.err << QString::number(notSaved) +
                     QStringLiteral(" bet(s) were not stored: their file could not be written (") +
                     BetNotSavedText.trimmed() + QLatin1Char(')');
        r.exitCode = BatchRefused;
    }
    if (closed > 0) {
        r.err << QString::number(closed) + QStringLiteral(" bet(s) on closed numbers were not stored (") +
                     ClosedNumberText.trimmed() + QLatin1Char(')');
        r.exitCode = BatchRefused;
    }
    // A bet above the ceiling needs the operator's word, which a batch job cannot ask for: the job
    // stores the rest and says what it left out.
    if (above > 0) {
        r.err << QString::number(above) + QStringLiteral(" bet(s) above the amount ceiling of ") +
                     QString::number(amountCeiling(store)) + QStringLiteral(" were not stored (") +
                     AboveCeilingText.trimmed() +
                     QStringLiteral("); enter them in the main window, which asks before storing");
        r.exitCode = BatchRefused;
    }
    return r;
}

QJsonObject chatJson(const ChatParse& parse, const QString& customer)
{
    QJsonArray bets;
    for (const ChatBet& b : parse.bets())
        bets.append(QJsonObject{{"type", b.type}, {"number", b.number}, {"amount", Val(b.amount)}});
    return QJsonObject{
        {"customer", customer.isEmpty() ? QJsonValue() : QJsonValue(customer)},
        {"bets", bets},
        {"not_understood", QJsonArray::fromStringList(parse.notUnderstood())},
        {"stated_total", parse.hasStatedTotal ? QJsonValue(parse.statedTotal) : QJsonValue()},
        {"total_mismatch", parse.totalMismatch()},
    };
}

// What was read from a message or a picture: shown, checked, and every understood bet stored at once.
BatchResult storeReadBets(Ledger& ledger, const BatchOptions& o, const ChatParse& parse, const QJsonObject& json,
                          const QByteArray& digest)
{
    BatchResult r;
    const QString customer = o.customer.isEmpty() ? parse.customer : o.customer;
    if (o.json) r.out << QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Compact));
    for (const QString& line : parse.notUnderstood())
        r.err << QStringLiteral("not understood, not stored: ") + line;
    if (!parse.notUnderstood().isEmpty()) r.exitCode = BatchRefused;

    if (parse.totalMismatch()) {
        r.err << QStringLiteral("the bets read add up to ") + shortestDecimal(parse.total) +
                     QStringLiteral(", the message states ") + shortestDecimal(parse.statedTotal) +
                     (o.dryRun ? QString() : QStringLiteral(": nothing was stored"));
        r.exitCode = BatchRefused;
        return r;
    }
    if (o.dryRun) {
        if (o.json) return r;
        QString shown;
        for (const ChatBet& b : parse.bets()) {
            if (b.type != shown) r.out << headerLine(b.type, customer.isEmpty() ? QStringLiteral("?") : customer);
            shown = b.type;
            r.out << b.number + QLatin1Char('-') + b.amount;
        }
        return r;
    }
    if (parse.bets().isEmpty()) {
        r.err << QStringLiteral("no bet was understood: nothing was stored");
        r.exitCode = BatchRefused;
        return r;
    }
    if (customer.isEmpty()) {
        r.err << QStringLiteral("no customer: give --customer or name him on the first line of the message; "
                                "nothing was stored");
        r.exitCode = BatchRefused;
        return r;
    }
    if (const QString late = afterResultRefusal(ledger, o); !late.isEmpty()) return refused(r, late);
    if (const QString why = customerNameRefusal(customer); !why.isEmpty()) {
        r.out << why;
        return refused(r, QStringLiteral("refused, nothing stored: the customer name cannot be stored"));
    }
    const EntryResult entered = digest.isEmpty() ? ledger.enterChat(parse.bets(), customer, o.afterResult)
                                                 : ledger.enterPicture(parse.bets(), customer, digest, o.afterResult);
    if (!o.json) r.out << entered.lines;
    const int notStored = static_cast<int>(parse.bets().size() - entered.changes.size());
    if (notStored > 0) {
        r.err << QString::number(notStored) + QStringLiteral(" bet(s) were not stored:");
        for (const QString& line : entered.lines)
            if (line.endsWith(AboveCeilingText) || line.endsWith(BetRejectedText) || line.endsWith(BetNotSavedText))
                r.err << line;
        r.exitCode = BatchRefused;
    }
    return r;
}

// The paste window's commit: the message read as the window reads it, then every understood bet
// stored at once. The window's customer box wins over a name in the message.
BatchResult enterChat(Ledger& ledger, const BatchOptions& o)
{
    BatchResult r;
    QFile file(o.chatFile);
    if (!QFileInfo(o.chatFile).isFile() || !file.open(QIODevice::ReadOnly))
        return refused(r, QStringLiteral("cannot read the message file: ") + ReadFailedText +
                              QDir::toNativeSeparators(o.chatFile));
    if (file.size() > BatchChatLimit)
        return refused(r, QStringLiteral("the message file holds ") + QString::number(file.size()) +
                              QStringLiteral(" bytes; a message must stay below ") + QString::number(BatchChatLimit) +
                              QStringLiteral(": split the file"));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return refused(r, QStringLiteral("cannot read the message file: ") + ReadFailedText +
                              QDir::toNativeSeparators(o.chatFile));

    const ChatParse parse = parseChat(decodeSheet(bytes), o.type);
    const QString customer = o.customer.isEmpty() ? parse.customer : o.customer;
    return storeReadBets(ledger, o, parse, chatJson(parse, customer), {});
}

QJsonObject boxJson(const QRect& box)
{
    return QJsonObject{{"x", box.x()}, {"y", box.y()}, {"width", box.width()}, {"height", box.height()}};
}

// What --enter-chat --json prints, with the box of each bet and of each line in the picture, and each
// line as it was read.
QJsonObject pictureJson(const PictureParse& parse, const QString& customer, const LoadedPicture& picture)
{
    QJsonObject json = chatJson(parse.chat, customer);
    QJsonArray bets;
    QJsonArray lines;
    for (qsizetype i = 0; i < parse.chat.lines.size(); ++i) {
        const ChatLine& line = parse.chat.lines[i];
        const QRect box = parse.lines[i].box;
        for (const ChatBet& b : line.bets)
            bets.append(
                QJsonObject{{"type", b.type}, {"number", b.number}, {"amount", Val(b.amount)}, {"box", boxJson(box)}});
        lines.append(QJsonObject{{"text", line.text},
                                 {"box", boxJson(box)},
                                 {"understood", line.kind != ChatLineKind::NotUnderstood},
                                 {"problem", chatProblemText(line.problem)}});
    }
    json["bets"] = bets;
    json["lines"] = lines;
    json["picture"] = QJsonObject{{"sha256", QString::fromLatin1(picture.digest)},
                                  {"width", picture.image.width()},
                                  {"height", picture.image.height()}};
    return json;
}

// A picture read as the paste window reads it, then stored as a pasted message is.
BatchResult enterImage(Ledger& ledger, const BatchOptions& o)
{
    BatchResult r;
    const LoadedPicture picture = loadPicture(o.imageFile);
    if (!picture.error.isEmpty()) return refused(r, QStringLiteral("cannot read the picture: ") + picture.error);
    const RecognizedPicture read = recognizePicture(picture.image);
    if (!read.error.isEmpty()) return refused(r, QStringLiteral("cannot read the picture: ") + read.error);
    const PictureParse parse = parsePicture(pictureTextLines(read.lines), o.type);
    const QString customer = o.customer.isEmpty() ? parse.chat.customer : o.customer;
    return storeReadBets(ledger, o, parse.chat, pictureJson(parse, customer, picture), picture.digest);
}

// The lines and exit status of a save of send-out lists.
BatchResult savedListResult(BatchResult r, const HistorySave& save, const QString& typed)
{
    r.out << save.lines;
    switch (save.outcome.status) {
    case Status::Ok:
        return r;
    case Status::NameTaken:
        return refused(r, QStringLiteral("nothing saved: a saved list is already named \"") + typed +
                              QStringLiteral("\" or a name holding it (") + DuplicateNameText + QLatin1Char(')'));
    case Status::UnsafeName:
        return refused(r, QStringLiteral("nothing saved: \"") + typed +
                              QStringLiteral("\" cannot be a file name (") + UnsafeNameText + QLatin1Char(')'));
    default:
        return refused(r, QStringLiteral("the send-out list was not saved: ") + outcomeReason(save.outcome.status));
    }
}

// An over-limit or number-cut report, and the save of the send-out list it left when asked for.
BatchResult sendOutReport(Ledger& ledger, const BatchOptions& o)
{
    Store& store = ledger.store();
    ReportState& session = ledger.reportState();
    const ReportResult report = o.job == BatchJob::OverLimit ? OverLimit(store, session, o.type, o.keep)
                                                             : NumberCutReport(store, session, o.type);
    BatchResult r;
    r.out = report.lines;
    if (o.saveName.isEmpty()) return r;
    if (!report.saveCaption || session.SendOutData.isEmpty())
        return refused(r, QStringLiteral("nothing saved: the report left no send-out list"));
    if (!o.dealer.isEmpty()) {
        const DealerSave given = ledger.saveDealerList(o.saveName, o.dealer);
        if (!given.refusal.isEmpty()) {
            r.out << given.lines;
            return refused(r, QStringLiteral("nothing saved: ") + given.refusal);
        }
        return savedListResult(r, given.save, o.saveName);
    }
    return savedListResult(r, ledger.saveSendOutList(o.saveName), o.saveName);
}

// Splits what the over-limit report left over the dealers and saves each one's share.
BatchResult splitSend(Ledger& ledger, const BatchOptions& o)
{
    ReportState& session = ledger.reportState();
    const ReportResult report = OverLimit(ledger.store(), session, o.type, false);
    BatchResult r;
    r.out = report.lines;
    if (!report.saveCaption || session.SendOutData.isEmpty())
        return refused(r, QStringLiteral("nothing saved: nothing lies above the limits that is not yet sent"));
    const DealerSave split = ledger.splitSend(o.saveName);
    for (const DealerShare& share : split.shares) {
        r.out << DealerListHead + share.dealer + QStringLiteral(" (") + splitListName(o.saveName, share.dealer) +
                     QLatin1Char(')');
        for (const NumberAmount& a : share.items)
            r.out << a.type + QLatin1Char('\t') + a.number + QLatin1Char('-') + shortestDecimal(double(a.satang) / 100);
    }
    if (!split.unplaced.isEmpty()) {
        r.out << DealerUnplacedHead;
        for (const NumberAmount& a : split.unplaced)
            r.out << a.type + QLatin1Char('\t') + a.number + QLatin1Char('-') + shortestDecimal(double(a.satang) / 100);
    }
    if (!split.refusal.isEmpty()) {
        r.out << split.lines;
        return refused(r, QStringLiteral("nothing saved: ") + split.refusal);
    }
    return savedListResult(r, split.save, o.saveName);
}

// The dealer a job names, with the record of the lists sent to the dealers; the refusal instead when
// the dealer file or that record is damaged or names no such dealer.
struct NamedDealer {
    Dealer dealer;
    DealerLists lists;
    QString refusal;
};

NamedDealer namedDealer(Store& store, const BatchOptions& o)
{
    NamedDealer n;
    const Dealers dealers = loadDealers(store);
    if (!dealers.outcome.ok()) {
        n.refusal = QStringLiteral("the dealer file is damaged: ") + dealers.problem;
        return n;
    }
    const Dealer* dealer = dealers.find(o.dealer);
    if (!dealer) {
        n.refusal = QStringLiteral("no dealer is named \"") + o.dealer + QLatin1Char('"');
        return n;
    }
    n.dealer = *dealer;
    n.lists = loadDealerLists(store);
    if (!n.lists.outcome.ok()) n.refusal = QStringLiteral("the record of dealers is damaged: ") + n.lists.problem;
    return n;
}

// The dealer's reply checked against every list that went to him.
BatchResult checkDealer(Store& store, const BatchOptions& o)
{
    BatchResult r;
    const NamedDealer named = namedDealer(store, o);
    if (!named.refusal.isEmpty()) return refused(r, named.refusal);
    const Dealer* dealer = &named.dealer;
    const DealerLists& lists = named.lists;
    QFile file(o.chatFile);
    if (!QFileInfo(o.chatFile).isFile() || file.size() > BatchChatLimit || !file.open(QIODevice::ReadOnly))
        return refused(r, QStringLiteral("cannot read the message file (or it is too large): ") +
                              QDir::toNativeSeparators(o.chatFile));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return refused(r, QStringLiteral("cannot read the message file: ") + QDir::toNativeSeparators(o.chatFile));
    const ReplyCheck check = checkDealerReply(sentToDealers(store, {*dealer}, lists).value(0).items,
                                              parseChat(decodeSheet(bytes), o.type));
    r.out = replyCheckLines(check);
    if (!check.agrees()) r.exitCode = BatchRefused;
    return r;
}

// The dealer's account: as lines, or as the message for a chat. A damaged file of his account leaves
// the total unknown and fails the job.
BatchResult statement(Store& store, const BatchOptions& o)
{
    BatchResult r;
    const NamedDealer named = namedDealer(store, o);
    if (!named.refusal.isEmpty()) return refused(r, named.refusal);
    const DealerAccount account = dealerAccount(store, named.dealer, named.lists);
    const QStringList lines = accountLines(account);
    if (o.chat) {
        r.out = accountChatText(account).split(QLatin1Char('\n'));
        r.out.removeLast(); // the text ends with its last line's end
    } else {
        r.out = lines;
    }
    // The statement on paper and as a picture, drawn as a bill is.
    BillHeader header = billHeader(store, store, QDateTime::currentDateTime());
    header.heading = StatementHead;
    if (!o.pngFolder.isEmpty()) {
        if (!QDir().mkpath(o.pngFolder))
            return refused(r, QStringLiteral("cannot make the folder ") + QDir::toNativeSeparators(o.pngFolder));
        const BillPictures written =
            writeBillPng(lines, header, QDir(o.pngFolder).filePath(billImageName(named.dealer.name)));
        for (const QString& one : written.written)
            r.out << SavedFileText + QDir::toNativeSeparators(one);
        if (!written.ok()) return refused(r, WriteFailedText + QDir::toNativeSeparators(written.failed));
    }
    if (!o.pdfFile.isEmpty()) {
        if (!writeBillsPdf({lines}, {named.dealer.name}, header, o.pdfFile))
            return refused(r, WriteFailedText + QDir::toNativeSeparators(o.pdfFile));
        r.out << SavedFileText + QDir::toNativeSeparators(o.pdfFile);
    }
    if (!account.known())
        return refused(r, QStringLiteral("a file of the dealer's account is damaged: the total is not known"));
    return r;
}

// A payment refused for its amount or its account: the job's line and exit status; false when it was not.
bool paymentRefused(BatchResult& r, const PaymentResult& paid)
{
    if (paid.overpay && !paid.recorded()) {
        r = refused(r, QStringLiteral("refused: the amount is more than is due; add --overpay to record it"));
        return true;
    }
    if (!paid.refusal.isEmpty()) {
        r = refused(r, QStringLiteral("refused: ") + paid.refusal);
        return true;
    }
    return false;
}

BatchResult payDealer(Ledger& ledger, const BatchOptions& o)
{
    BatchResult r;
    const PaymentResult paid = ledger.recordDealerPayment(o.dealer, o.amount, QDateTime::currentDateTime(), o.overpay);
    r.out = paid.lines;
    if (paymentRefused(r, paid)) return r;
    if (!paid.recorded()) return refused(r, QStringLiteral("the payment was not recorded: ") + outcomeReason(paid.outcome.status));
    return r;
}

BatchResult openList(Store& store, const BatchOptions& o)
{
    BatchResult r;
    const QString name = CleanName(o.listName);
    const QStringList saved = ListHistory(store);
    if (!saved.contains(name)) {
        const QString known = saved.isEmpty()
                                  ? QStringLiteral("no list is saved")
                                  : QStringLiteral("the saved lists are ") + saved.join(QStringLiteral(", "));
        return refused(r, QStringLiteral("no saved send-out list is named \"") + o.listName + QStringLiteral("\"; ") +
                              known);
    }
    r.out = openSavedList(store, name);
    return r;
}

BatchResult backup(Ledger& ledger, const BatchOptions& o)
{
    BatchResult r;
    const BackupResult backup = ledger.backup(o.folder);
    r.out = backup.lines;
    if (backup.outcome.status == Status::BackupFailed)
        return refused(r, QStringLiteral("the backup into ") + QDir::toNativeSeparators(backupFilePath(o.folder)) +
                              QStringLiteral(" failed"));
    return r;
}

BatchResult restore(Ledger& ledger, const BatchOptions& o)
{
    BatchResult r;
    const bool allowLarge = o.allowLarge;
    const bool allowMany = o.allowManyCustomers;
    const MergeResult merge = ledger.restore(
        o.folder, [allowLarge](const QString&) { return allowLarge; },
        [allowMany](const QString&) { return allowMany; });
    r.out = merge.lines;
    // A record above what its number's bets could come to needs the operator's word: the job stores
    // the rest and says what it left out.
    if (merge.aboveCeiling > 0) {
        r.err << QString::number(merge.aboveCeiling) +
                     QStringLiteral(
                         " record(s) above the amount ceiling times their number's count were not stored (") +
                     AboveCeilingText.trimmed() + QStringLiteral("); give --allow-large to store them");
        r.exitCode = BatchRefused;
    }
    switch (merge.outcome.status) {
    case Status::AlreadyMerged:
    case Status::OwnBackup:
        return refused(r, QStringLiteral("refused: ") + outcomeReason(merge.outcome.status) + QStringLiteral(" (") +
                              outcomeLine(merge.outcome) + QLatin1Char(')'));
    case Status::NoBackup:
        return refused(r, QStringLiteral("no backup in ") + QDir::toNativeSeparators(backupFilePath(o.folder)));
    case Status::ManyCustomers:
        return refused(r, QStringLiteral("refused: the backup would add ") + QString::number(merge.newCustomers) +
                              QStringLiteral(" new customers; nothing was stored") +
                              (merge.newCustomers > MaxNewCustomers
                                   ? QStringLiteral(" (no backup brings more than ") +
                                         QString::number(MaxNewCustomers) + QLatin1Char(')')
                                   : QStringLiteral(" (give --allow-many-customers to add them)")));
    case Status::ReadFailed:
        return refused(r, QStringLiteral("cannot read the backup ") + QDir::toNativeSeparators(merge.outcome.file));
    default:
        break;
    }
    if (!merge.refusedHeadings.isEmpty())
        return refused(r, QString::number(merge.refusedHeadings.size()) +
                              QStringLiteral(" heading(s) name no customer the book can take; nothing under them "
                                             "was stored"));
    return r;
}

BatchResult fullBackup(Ledger& ledger, const BatchOptions& o)
{
    BatchResult r;
    const FullBackupResult backup = ledger.fullBackup(o.folder);
    r.out = backup.lines;
    if (!backup.outcome.ok())
        return refused(r, QStringLiteral("the full backup into ") +
                              QDir::toNativeSeparators(fullBackupFolderPath(o.folder)) + QStringLiteral(" failed"));
    return r;
}

BatchResult fullRestore(Ledger& ledger, const BatchOptions& o)
{
    BatchResult r;
    const FullRestoreResult restore = ledger.fullRestore(o.folder);
    r.out = restore.lines;
    const QString from = QDir::toNativeSeparators(fullBackupFolderPath(o.folder));
    switch (restore.status) {
    case FullRestoreStatus::Done:
        return r;
    case FullRestoreStatus::NoBackup:
        return refused(r, QStringLiteral("no full backup in ") + from);
    case FullRestoreStatus::NotEmpty:
        return refused(r, QStringLiteral("refused: a full backup is brought back into an empty book only"));
    case FullRestoreStatus::Damaged:
        return refused(r,
                       QStringLiteral("the full backup in ") + from + QStringLiteral(" is damaged; nothing restored"));
    case FullRestoreStatus::WriteFailed:
        break;
    }
    return refused(r, QStringLiteral("the book could not be written; nothing restored"));
}

BatchResult newDraw(Ledger& ledger, const BatchOptions& o)
{
    BatchResult r;
    if (!o.confirmed)
        return refused(r, QStringLiteral("a new draw deletes every stake, setting and customer of the book; "
                                         "add --confirm-new-draw to go ahead"));
    const NewDrawResult draw = ledger.newDraw(o.clearRules);
    r.out = draw.lines;
    if (draw.outcome.status == Status::CopyFailed)
        return refused(r, QStringLiteral("the book could not be copied before the new draw, so nothing was deleted (") +
                              outcomeLine(draw.outcome) + QLatin1Char(')'));
    return r;
}

// The audit log, narrowed as asked, or the check of its chain.
BatchResult audit(Ledger& ledger, const BatchOptions& o)
{
    BatchResult r;
    AuditIndex index;
    if (!index.load(ledger.auditLogPath()))
        return refused(r,
                       QStringLiteral("cannot read the audit log ") + QDir::toNativeSeparators(ledger.auditLogPath()));
    if (o.verify) {
        AuditVerification v = verifyAudit(index, nullptr, ledger.auditKey());
        checkAuditAnchor(v, index, ledger.auditAnchorFile());
        v.missing = auditLogMissing(index, ledger.store());
        r.out = verificationLines(v);
        // What the log says the book holds, against the files.
        const AuditReplay replay = replayAudit(index, ledger.store());
        r.out += replayLines(replay);
        if (v.anchorFailed() || !v.anchorBreaks.empty())
            return refused(r, QStringLiteral("the audit log ") + QDir::toNativeSeparators(ledger.auditLogPath()) +
                                  QStringLiteral(" does not match the anchor this computer keeps of it (") +
                                  QDir::toNativeSeparators(ledger.auditAnchorFile()) +
                                  QStringLiteral("): it was cut, emptied or written anew"));
        if (v.missing)
            return refused(r, QStringLiteral("the audit log ") + QDir::toNativeSeparators(ledger.auditLogPath()) +
                                  QStringLiteral(" is missing or empty, yet the book holds stakes or past draws"));
        if (v.firstBroken > 0)
            return refused(r, QStringLiteral("the audit log is broken from line ") + QString::number(v.firstBroken) +
                                  QStringLiteral(": a line was changed, removed or inserted, or the log was cut"));
        if (replay.failed())
            return refused(r, QStringLiteral("the book differs from what its audit log says in ") +
                                  QString::number(replay.differenceCount) +
                                  QStringLiteral(" places: its files were changed outside the program"));
        return r;
    }
    AuditFilter filter;
    filter.customer = o.customer == AllChoice ? QString() : o.customer;
    filter.type = o.type == AllChoice ? QString() : o.type;
    filter.number = o.number.trimmed();
    filter.since = o.since;
    filter.afterResult = o.afterResult;
    const AuditSelection selection = selectAudit(index, filter);
    r.out.reserve(static_cast<qsizetype>(selection.rows.size()));
    for (qint64 row : selection.rows) {
        AuditRecord record;
        index.record(row, record);
        r.out << auditDisplayLine(record);
    }
    return r;
}

BatchResult bills(Ledger& ledger, const BatchOptions& o)
{
    BatchResult r;
    Store& current = ledger.store();
    QString drawLabel;
    std::unique_ptr<Store> past;
    if (!o.pastDraw.isEmpty()) {
        const QList<PastDraw> draws = listPastDraws(current);
        QStringList names;
        for (const PastDraw& d : draws) {
            names << QFileInfo(d.folder).fileName();
            if (names.last() == o.pastDraw) {
                past = std::make_unique<Store>(d.folder);
                drawLabel = d.label;
            }
        }
        if (!past)
            return refused(r, QStringLiteral("no past draw is named \"") + o.pastDraw + QStringLiteral("\"; ") +
                                  (names.isEmpty()
                                       ? QStringLiteral("there is none")
                                       : QStringLiteral("the past draws are ") + names.join(QStringLiteral(", "))));
    }
    Store& store = past ? *past : current;
    const QList<PastDraw> earlier = drawsBefore(current, store);
    QList<Statement> statements;
    if (o.customer == AllChoice)
        statements = allStatements(store, earlier);
    else
        statements << statementOf(store, o.customer, earlier);
    if (statements.isEmpty()) r.out << NoCustomersText;
    // Every bill carries the seal of the log as it stands now.
    AuditIndex log;
    if (!log.load(store.path(AuditLogFileName)))
        return refused(r, QStringLiteral("cannot read the audit log ") +
                              QDir::toNativeSeparators(store.path(AuditLogFileName)) +
                              QStringLiteral(", so the bills cannot be sealed"));
    const AuditHead head = auditHead(log);
    QList<QStringList> pages;
    QStringList customers;
    BillLayout layout = billLayout(current);
    if (o.totalsOnly) layout.totalsOnly = true;
    for (const Statement& s : std::as_const(statements)) {
        pages << sealedBillLines(s, head, drawLabel, layout);
        customers << s.bill.customer;
        r.out << pages.last();
        if (!s.unknowns().isEmpty()) r.exitCode = BatchRefused;
    }
    // A damaged accounts file fails the job even where it leaves the bills shown whole.
    const QStringList damage = accountsDamage(store, earlier);
    if (!damage.isEmpty()) {
        r.err << QStringLiteral("a file of the accounts is damaged; the totals due it leaves unknown are left out:")
              << damage;
        r.exitCode = BatchRefused;
    } else if (r.exitCode == BatchRefused) {
        r.err << QStringLiteral("a figure of the accounts cannot be known (see the bill); the totals due are left out");
    }
    const BillHeader header = billHeader(current, store, QDateTime::currentDateTime(), drawLabel);
    if (!o.pngFolder.isEmpty()) {
        if (!QDir().mkpath(o.pngFolder))
            return refused(r, QStringLiteral("cannot make the folder ") + QDir::toNativeSeparators(o.pngFolder));
        // One picture that cannot be written (a name the drive refuses, a full disk) leaves the
        // others to be written; the job then names every one it could not write.
        QStringList notWritten;
        for (qsizetype i = 0; i < pages.size(); ++i) {
            const QString path = QDir(o.pngFolder).filePath(billImageName(customers[i]));
            const BillPictures written = writeBillPng(pages[i], header, path);
            for (const QString& one : written.written)
                r.out << SavedFileText + QDir::toNativeSeparators(one);
            if (!written.ok()) notWritten << WriteFailedText + QDir::toNativeSeparators(written.failed);
        }
        if (!notWritten.isEmpty()) {
            r.err << QString::number(notWritten.size()) + QStringLiteral(" of ") + QString::number(pages.size()) +
                         QStringLiteral(" bill picture(s) were not written:")
                  << notWritten;
            r.exitCode = BatchRefused;
        }
    }
    PaperWidth paper = PaperWidth::A4;
    if (!paperWidthFromText(o.slip.isEmpty() ? optionValue(current, option::PaperWidth) : o.slip, paper))
        paper = PaperWidth::A4;
    if (!o.pdfFile.isEmpty() && paper != PaperWidth::A4) {
        const SlipHeader slip{header.shopName, drawLabel, header.madeAt, ledger.operatorName()};
        if (!writeSlipsPdf(pages, slip, paper, o.pdfFile))
            return refused(r, WriteFailedText + QDir::toNativeSeparators(o.pdfFile));
        r.out << SavedFileText + QDir::toNativeSeparators(o.pdfFile);
    } else if (!o.pdfFile.isEmpty()) {
        if (!writeBillsPdf(pages, customers, header, o.pdfFile))
            return refused(r, WriteFailedText + QDir::toNativeSeparators(o.pdfFile));
        r.out << SavedFileText + QDir::toNativeSeparators(o.pdfFile);
    }
    return r;
}

BatchResult ruleChange(Ledger& ledger, const BatchOptions& o)
{
    BatchResult r;
    const QStringList& a = o.ruleArguments;
    RuleChange change;
    if (o.job == BatchJob::ClearRule) {
        change = ledger.clearNumberRule(o.type, a.value(0));
    } else {
        const QString word = a.value(1);
        const RuleKind kind = word == QStringLiteral("limit") ? RuleKind::Limit
                              : word == QStringLiteral("pay") ? RuleKind::Pay
                                                              : RuleKind::Closed;
        const RuleInput input = makeRule(o.type, a.value(0), kind, a.value(2), o.permutations);
        if (!input.error.isEmpty()) return refused(r, QStringLiteral("rule refused: ") + input.error);
        change = ledger.setNumberRule(input.rule);
    }
    r.out = change.lines;
    if (!change.error.isEmpty()) return refused(r, QStringLiteral("rule refused: ") + change.error);
    if (o.job == BatchJob::ClearRule && !change.before && change.outcome.ok())
        return refused(r, QStringLiteral("no rule is set on ") + a.value(0));
    if (!change.outcome.ok())
        return refused(r, QStringLiteral("the rules were not changed: ") + outcomeReason(change.outcome.status));
    if (!change.reopened.isEmpty())
        r.err << QStringLiteral("closed numbers taking bets again: ") + change.reopened.join(QStringLiteral(", "));
    return r;
}

BatchResult setRate(Ledger& ledger, const BatchOptions& o)
{
    BatchResult r;
    const RateChange change = ledger.setCustomerRate(o.customer, o.type, o.payout, o.discount);
    r.out = change.lines;
    if (!change.refusal.isEmpty()) return refused(r, QStringLiteral("refused: ") + change.refusal);
    return r;
}

BatchResult addDealer(Ledger& ledger, const BatchOptions& o)
{
    BatchResult r;
    const DealerChange change = ledger.addDealer(o.dealer, o.dealerTerms);
    r.out = change.lines;
    if (!change.refusal.isEmpty()) return refused(r, QStringLiteral("refused: ") + change.refusal);
    if (!change.outcome.ok()) return refused(r, QStringLiteral("the dealer was not saved: ") + outcomeReason(change.outcome.status));
    return r;
}

BatchResult pay(Ledger& ledger, const BatchOptions& o)
{
    BatchResult r;
    const PaymentResult paid = ledger.recordPayment(o.customer, o.amount, QDateTime::currentDateTime(), o.overpay);
    r.out = paid.lines;
    paymentRefused(r, paid);
    return r;
}

// What is owed; a damaged accounts file fails the job, as it fails a bill.
BatchResult owed(Store& store)
{
    const OwedReport report = owedReport(store);
    BatchResult r{owedLines(report), {}, BatchRan};
    if (!report.problems.isEmpty()) {
        r.err << QStringLiteral("a file of the accounts is damaged; what it leaves unknown is left out:")
              << report.problems;
        r.exitCode = BatchRefused;
    } else if (!report.complete()) {
        r.err << QStringLiteral("a figure of the accounts cannot be known (see the list)");
        r.exitCode = BatchRefused;
    }
    return r;
}

BatchResult pastDraws(Store& store)
{
    BatchResult r;
    const QList<PastDraw> draws = listPastDraws(store);
    if (draws.isEmpty()) r.out << NoPastDrawsText;
    for (const PastDraw& d : draws) {
        const DrawSummary s = summariseDraw(d);
        r.out << QFileInfo(d.folder).fileName() + QStringLiteral("  ") + drawRow(s).join(QStringLiteral("  "));
        r.out << s.problems;
        // As with the bill and the owed list, a damaged accounts file fails the job.
        if (!s.problems.isEmpty()) {
            r.err << s.problems;
            r.exitCode = BatchRefused;
        }
    }
    return r;
}

// A bill's seal checked against the book being kept.
BatchResult verifyBill(Ledger& ledger, const BatchOptions& o)
{
    BatchResult r;
    AuditIndex index;
    if (!index.load(ledger.auditLogPath()))
        return refused(r,
                       QStringLiteral("cannot read the audit log ") + QDir::toNativeSeparators(ledger.auditLogPath()));
    const SealCheck check = checkBillSeal(ledger.store(), index, o.sealCode, ledger.auditKey());
    r.out = check.lines;
    if (check.verdict == SealCheck::Verdict::Malformed)
        return refused(r, QStringLiteral("\"") + o.sealCode +
                              QStringLiteral("\" is not a seal: groups of four letters and digits joined by \"-\""));
    if (!check.holds())
        return refused(r, QStringLiteral("the bill's seal does not hold: the book is not what the bill was made from"));
    return r;
}

// The lines of a report job also into the spreadsheet files asked for.
void exportLines(BatchResult& r, const BatchOptions& o)
{
    const QStringList lines = r.out;
    if (lines.isEmpty()) return; // a job refused before it listed anything
    for (const QString& path : {o.xlsxFile, o.csvFile}) {
        if (path.isEmpty()) continue;
        const bool written = path == o.xlsxFile ? writeXlsx(reportTable(lines), SheetNameText, path)
                                                : writeCsv(reportTable(lines), path);
        if (written) {
            r.out << SavedFileText + QDir::toNativeSeparators(path);
            continue;
        }
        r.err << WriteFailedText + QDir::toNativeSeparators(path);
        r.exitCode = BatchRefused;
    }
}

// Moving a book between a data folder and the server: the folder is the one named, never this
// program's own book (which the job leaves alone).
BatchResult moveBook(const BatchOptions& o)
{
#ifdef VARNOTH_HAVE_PG
    QString error;
    const std::unique_ptr<PgBookStore> server = PgBookStore::open(o.book, &error);
    if (!server) return {{}, {error, NothingMovedText}, BatchRefused};
    const BookCopyResult moved =
        o.job == BatchJob::ImportBook ? importFolderBook(o.folder, *server) : exportServerBook(*server, o.folder);
    if (!moved.ok()) return {{}, moved.lines, BatchRefused};
    return {moved.lines, {}, BatchRan};
#else
    Q_UNUSED(o);
    return {{}, {NoServerSupportText}, BatchRefused};
#endif
}

BatchResult runJob(Ledger& ledger, const BatchOptions& o)
{
    Store& store = ledger.store();
    ReportState& session = ledger.reportState();
    auto report = [](const ReportResult& rr) { return BatchResult{rr.lines, {}, BatchRan}; };
    switch (o.job) {
    case BatchJob::EnterSheet:
        return enterSheet(ledger, o);
    case BatchJob::EnterChat:
        return enterChat(ledger, o);
    case BatchJob::EnterImage:
        return enterImage(ledger, o);
    case BatchJob::View:
        return report(ViewAllData(store, session));
    case BatchJob::Search:
        return report(SearchReport(store, session, o.number, o.type, o.customer));
    case BatchJob::OverLimit:
    case BatchJob::NumberCut:
        return sendOutReport(ledger, o);
    case BatchJob::PrizeCheck:
        return report(PrizeCheck(store, session, o.type, o.customer));
    case BatchJob::Analysis:
        return report(Analysis(store, o.type));
    case BatchJob::Statistics:
        return report(NumberStatistics(store, o.type));
    case BatchJob::OpenList:
        return openList(store, o);
    case BatchJob::Backup:
        return backup(ledger, o);
    case BatchJob::Restore:
        return restore(ledger, o);
    case BatchJob::NewDraw:
        return newDraw(ledger, o);
    case BatchJob::Audit:
        return audit(ledger, o);
    case BatchJob::Rules:
        return {listNumberRules(store, o.type), {}, BatchRan};
    case BatchJob::SetRule:
    case BatchJob::ClearRule:
        return ruleChange(ledger, o);
    case BatchJob::Bill:
        return bills(ledger, o);
    case BatchJob::SetRate:
        return setRate(ledger, o);
    case BatchJob::AddDealer:
        return addDealer(ledger, o);
    case BatchJob::SplitSend:
        return splitSend(ledger, o);
    case BatchJob::CheckDealer:
        return checkDealer(store, o);
    case BatchJob::Statement:
        return statement(store, o);
    case BatchJob::ImportBook:
    case BatchJob::ExportBook:
        return moveBook(o);
    case BatchJob::Dealers: {
        const Dealers dealers = loadDealers(store);
        BatchResult r{dealerLines(dealers), {}, BatchRan};
        return dealers.outcome.ok() ? r : refused(r, QStringLiteral("the dealer file is damaged"));
    }
    case BatchJob::Pay:
        return pay(ledger, o);
    case BatchJob::PayDealer:
        return payDealer(ledger, o);
    case BatchJob::Owed:
        return owed(store);
    case BatchJob::Draws:
        return pastDraws(store);
    case BatchJob::FullBackup:
        return fullBackup(ledger, o);
    case BatchJob::FullRestore:
        return fullRestore(ledger, o);
    case BatchJob::VerifyBill:
        return verifyBill(ledger, o);
    case BatchJob::AddUser:
    case BatchJob::RemoveUser:
    case BatchJob::ResetPin:
    case BatchJob::Users:
        return userJob(ledger, o);
    case BatchJob::None:
        break;
    }
    return {{}, {QStringLiteral("no job was given")}, BatchUsageError};
}

} // namespace

void addBatchOptions(QCommandLineParser& parser)
{
    for (const JobOption& j : Jobs) {
        const QString name = QString::fromLatin1(j.name);
        const QString help = QString::fromLatin1(j.help);
        parser.addOption(j.valueName ? QCommandLineOption(name, help, QString::fromLatin1(j.valueName))
                                     : QCommandLineOption(name, help));
    }
    parser.addOption({TypeOption,
                      QStringLiteral("The lottery type, as the windows name it; ") + AllChoice +
                          QStringLiteral(" (the default where a report offers it) for every type."),
                      QStringLiteral("TYPE")});
    parser.addOption({CustomerOption,
                      QStringLiteral("The customer; ") + AllChoice +
                          QStringLiteral(" (the default for a search or prize check) for everyone."),
                      QStringLiteral("NAME")});
    parser.addOption({NumberOption, QStringLiteral("The number to search for."), QStringLiteral("NUMBER")});
    parser.addOption({KeepOption, QStringLiteral("With --over-limit: list what stays within the limit.")});
    parser.addOption({SaveOption,
                      QStringLiteral("With --over-limit or --number-cut: save the send-out list under NAME and "
                                     "record its amounts as sent."),
                      QStringLiteral("NAME")});
    parser.addOption({ConfirmOption, QStringLiteral("Confirms --new-draw.")});
    parser.addOption({DryRunOption, QStringLiteral("With --enter-chat or --enter-image: read, store nothing.")});
    parser.addOption(
        {JsonOption, QStringLiteral("With --enter-chat or --enter-image: print what was read as one JSON object.")});
    parser.addOption({SinceOption,
                      QStringLiteral("With --audit: the lines from this date (YYYY-MM-DD) or moment "
                                     "(\"YYYY-MM-DD HH:MM\") on."),
                      QStringLiteral("WHEN")});
    parser.addOption({VerifyOption, QStringLiteral("With --audit: check the log's keyed chain and this computer's "
                                                   "anchor of it, and compare what the log says the book holds "
                                                   "with its files.")});
    parser.addOption({ClearRulesOption, QStringLiteral("With --new-draw: clear the number rules too.")});
    parser.addOption({PermutationsOption, QStringLiteral("With --set-rule: every order of the number's digits.")});
    parser.addOption(
        {PngOption,
         QStringLiteral(
             "With --bill: save each bill as DIR/NAME.png (a long one as DIR/NAME-1.png, DIR/NAME-2.png ...); with "
             "--statement, the dealer's statement the same way."),
         QStringLiteral("DIR")});
    parser.addOption({TotalsOnlyOption, QStringLiteral("With --bill: each type's totals only, without the bets.")});
    parser.addOption({PdfOption, QStringLiteral("With --bill: save the bills in one PDF; with --statement, the dealer's "
                                                "statement."),
                      QStringLiteral("FILE")});
    parser.addOption({PastDrawOption,
                      QStringLiteral("With --bill: the past draw NAME (as --draws lists its folder), read only."),
                      QStringLiteral("NAME")});
    parser.addOption(
        {PayoutOption, QStringLiteral("With --set-rate: the payout rate, at most 6 digits."), QStringLiteral("RATE")});
    parser.addOption(
        {DiscountOption, QStringLiteral("With --set-rate: the discount, 0 to 100."), QStringLiteral("PERCENT")});
    parser.addOption({CapOption, QStringLiteral("With --add-dealer --type: the most the dealer takes on one number."),
                      QStringLiteral("N")});
    parser.addOption({OverpayOption, QStringLiteral("With --pay or --pay-dealer: record an amount above what is due.")});
    parser.addOption({ChatOption, QStringLiteral("With --statement: the statement as a message to paste into a chat.")});
    parser.addOption(
        {AllowLargeOption, QStringLiteral("With --restore: store the records above the amount ceiling times their "
                                          "number's count too.")});
    parser.addOption(
        {AllowManyCustomersOption,
         QStringLiteral("With --restore: add the backup although it brings more than 100 new customers.")});
    parser.addOption({SlipOption,
                      QStringLiteral("With --bill --pdf: the paper, 58 or 80 (a receipt roll's width in mm) or A4; "
                                     "the book's setting when left out."),
                      QStringLiteral("WIDTH")});
    parser.addOption({XlsxOption,
                      QStringLiteral("With a report job (--view, --search, --over-limit, --open-list, --bill ...): "
                                     "save its list in an Excel workbook too, figures as numbers."),
                      QStringLiteral("FILE")});
    parser.addOption(
        {CsvOption, QStringLiteral("With a report job: save its list as CSV (UTF-8) too."), QStringLiteral("FILE")});
    parser.addOption({UserOption,
                      QStringLiteral("In a book with users: who runs the job; the PIN from VARNOTH_PIN or else "
                                     "standard input. A job the user may not do exits 1 and changes nothing."),
                      QStringLiteral("NAME")});
    parser.addOption({RoleOption, QStringLiteral("With --add-user: owner or keyer."), QStringLiteral("ROLE")});
    parser.addOption({ServerBookOption,
                      QStringLiteral("With --import-book or --export-book: the server book, as a libpq URI "
                                     "(postgresql://USER@HOST/DB); the password from PGPASSFILE. Without a job: "
                                     "the book the window opens, folder:PATH for a data folder."),
                      QStringLiteral("URI")});
    parser.addOption({DealerOption,
                      QStringLiteral("With --save-list: the dealer the list goes to, as --dealers names him; with "
                                     "--check-dealer, --statement and --pay-dealer: the dealer."),
                      QStringLiteral("NAME")});
    parser.addOption({AfterResultOption,
                      QStringLiteral("With --enter-sheet or --enter-chat: store the bets although the drawn numbers "
                                     "are saved (each is marked in the audit log); with --audit: list only such "
                                     "bets.")});
}

BatchRequest batchRequest(const QCommandLineParser& parser)
{
    BatchRequest request;
    QStringList given;
    for (const JobOption& j : Jobs) {
        const QString name = QString::fromLatin1(j.name);
        if (!parser.isSet(name)) continue;
        given << dashed(name);
        request.options.job = j.job;
        if (j.valueName) {
            const QString value = parser.value(name);
            if (j.job == BatchJob::EnterSheet) request.options.sheetFile = value;
            if (j.job == BatchJob::EnterChat) request.options.chatFile = value;
            if (j.job == BatchJob::EnterImage) request.options.imageFile = value;
            if (j.job == BatchJob::OpenList) request.options.listName = value;
            if (j.job == BatchJob::Backup || j.job == BatchJob::Restore || j.job == BatchJob::FullBackup ||
                j.job == BatchJob::FullRestore || j.job == BatchJob::ImportBook || j.job == BatchJob::ExportBook)
                request.options.folder = value;
            if (j.job == BatchJob::SetRule || j.job == BatchJob::ClearRule) request.options.type = CleanName(value);
            if (j.job == BatchJob::Pay || j.job == BatchJob::PayDealer) request.options.amount = value.trimmed();
            if (j.job == BatchJob::VerifyBill) request.options.sealCode = value;
            if (j.job == BatchJob::AddUser || j.job == BatchJob::RemoveUser || j.job == BatchJob::ResetPin)
                request.options.userName = value;
            if (j.job == BatchJob::AddDealer) request.options.dealer = value;
            if (j.job == BatchJob::SplitSend) request.options.saveName = value;
            if (j.job == BatchJob::CheckDealer) request.options.chatFile = value;
            if (value.isEmpty()) request.usageError = dashed(name) + QStringLiteral(" needs a value");
        }
    }
    const bool modifiers = parser.isSet(TypeOption) || parser.isSet(CustomerOption) || parser.isSet(NumberOption) ||
                           parser.isSet(KeepOption) || parser.isSet(SaveOption) || parser.isSet(ConfirmOption) ||
                           parser.isSet(DryRunOption) || parser.isSet(JsonOption) || parser.isSet(SinceOption) ||
                           parser.isSet(VerifyOption) || parser.isSet(ClearRulesOption) ||
                           parser.isSet(PermutationsOption) || parser.isSet(PngOption) || parser.isSet(PdfOption) ||
                           parser.isSet(PastDrawOption) || parser.isSet(PayoutOption) || parser.isSet(DiscountOption) ||
                           parser.isSet(OverpayOption) || parser.isSet(AfterResultOption) ||
                           parser.isSet(AllowLargeOption) || parser.isSet(AllowManyCustomersOption) ||
                           parser.isSet(SlipOption) || parser.isSet(XlsxOption) || parser.isSet(CsvOption) ||
                           parser.isSet(UserOption) || parser.isSet(RoleOption) ||
                           parser.isSet(CapOption) || parser.isSet(DealerOption) || parser.isSet(ChatOption);
    request.options.user = parser.value(UserOption);
    request.batch = !given.isEmpty() || modifiers;
    if (!request.batch || !request.usageError.isEmpty()) return request;
    if (given.isEmpty()) {
        request.usageError = QStringLiteral("no job was given: name one, such as --view or --over-limit");
        return request;
    }
    if (given.size() > 1) {
        request.usageError = QStringLiteral("one job at a time: ") + given.join(QStringLiteral(", "));
        return request;
    }
    request.usageError = checkAround(parser, request.options.job, request.options);
    request.argumentsTaken = request.options.job == BatchJob::SetRule || request.options.job == BatchJob::ClearRule;
    return request;
}

BatchResult runBatch(Ledger& ledger, const BatchOptions& options)
{
    Store& store = ledger.store();
    store.takeFailures();
    // In a book with users the job runs for the user signed in with --user, and only when he may do it.
    if (std::optional<BatchResult> no = seatRefusal(ledger, options)) return *no;
    BatchResult r = runJob(ledger, options);
    exportLines(r, options);
    const QList<Outcome> failures = store.takeFailures();
    // Named also when the job failed for another reason (a rejected line): a file not written is
    // never left unsaid.
    if (!failures.isEmpty()) {
        r.err << QStringLiteral("the job did not complete:");
        for (const Outcome& f : failures)
            r.err << outcomeLine(f);
        r.exitCode = BatchRefused;
    }
    return r;
}

} // namespace varnoth
