#include "app/batch.h"

#include "app/Ledger.h"

#include "accounts/BillPainter.h"
#include "accounts/accounttexts.h"
#include "accounts/drawhistory.h"
#include "entry/sheet.h"
#include "model/text.h"
#include "model/types.h"
#include "reports/analysis.h"
#include "reports/cutting.h"
#include "reports/overlimit.h"
#include "reports/prize.h"
#include "reports/reportresult.h"
#include "reports/statistics.h"
#include "reports/view.h"
#include "settings/customers.h"
#include "settings/history.h"
#include "settings/options.h"
#include "store/session.h"
#include "store/store.h"
#include "tools/backup.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>

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
     "Enter the bets of a sheet file (entry lines, windows-874 or UTF-8) for --type and --customer. Bets above "
     "the amount ceiling are not stored (exit status 1)."},
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
    {"restore", BatchJob::Restore, "DIR", "Add the backup DIR/image_2/cat.gif into the book."},
    {"new-draw", BatchJob::NewDraw, nullptr,
     "Copy the book into draws/ beside the data folder, then delete every stake, count, send-out list, "
     "setting and customer (needs --confirm-new-draw)."},
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
};

const QString TypeOption = QStringLiteral("type");
const QString CustomerOption = QStringLiteral("customer");
const QString NumberOption = QStringLiteral("number");
const QString KeepOption = QStringLiteral("keep");
const QString SaveOption = QStringLiteral("save-list");
const QString ConfirmOption = QStringLiteral("confirm-new-draw");
const QString PngOption = QStringLiteral("png");
const QString PdfOption = QStringLiteral("pdf");
const QString PastDrawOption = QStringLiteral("past-draw");
const QString PayoutOption = QStringLiteral("payout");
const QString DiscountOption = QStringLiteral("discount");

enum class Need { No, AllByDefault, Required };

// Which of the other options a job takes, and whether "ทั้งหมด" stands for every type or customer.
struct JobRules {
    Need type = Need::No;
    Need customer = Need::No;
    bool typeMayBeAll = true;
    bool number = false;
    bool keep = false;
    bool save = false;
    bool confirm = false;
};

JobRules rulesOf(BatchJob job)
{
    switch (job) {
    case BatchJob::EnterSheet:
        return {Need::Required, Need::Required, false};
    case BatchJob::Search:
        return {Need::AllByDefault, Need::AllByDefault, true, true};
    case BatchJob::OverLimit:
        return {Need::AllByDefault, Need::No, true, false, true, true};
    case BatchJob::NumberCut:
        return {Need::AllByDefault, Need::No, true, false, false, true};
    case BatchJob::PrizeCheck:
        return {Need::AllByDefault, Need::AllByDefault};
    case BatchJob::Analysis:
        return {Need::AllByDefault};
    case BatchJob::Statistics:
        return {Need::Required};
    case BatchJob::NewDraw:
        return {Need::No, Need::No, true, false, false, false, true};
    case BatchJob::Bill:
        return {Need::No, Need::AllByDefault};
    case BatchJob::SetRate:
        return {Need::Required, Need::Required, false};
    case BatchJob::Pay:
        return {Need::No, Need::Required};
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

// The options of the bill, the customer's own figures and payments.
QString checkAccountOptions(const QCommandLineParser& parser, BatchJob job, BatchOptions& o)
{
    const QString name = jobName(job);
    const bool bill = job == BatchJob::Bill;
    const bool rate = job == BatchJob::SetRate;
    for (const auto& [option, allowed] :
         {std::pair{PngOption, bill}, std::pair{PdfOption, bill}, std::pair{PastDrawOption, bill},
          std::pair{PayoutOption, rate}, std::pair{DiscountOption, rate}})
        if (!allowed && parser.isSet(option)) return dashed(option) + QStringLiteral(" does not go with ") + name;
    if ((rate || job == BatchJob::Pay) && o.customer == AllChoice)
        return name + QStringLiteral(" needs one customer, not ") + AllChoice;
    o.pngFolder = parser.value(PngOption);
    o.pdfFile = parser.value(PdfOption);
    o.pastDraw = parser.value(PastDrawOption);
    o.payout = parser.value(PayoutOption).trimmed();
    o.discount = parser.value(DiscountOption).trimmed();
    if (parser.isSet(PngOption) && o.pngFolder.isEmpty()) return QStringLiteral("--png needs a folder");
    if (parser.isSet(PdfOption) && o.pdfFile.isEmpty()) return QStringLiteral("--pdf needs a file");
    if (parser.isSet(PastDrawOption) && o.pastDraw.isEmpty()) return QStringLiteral("--past-draw needs a name");
    if (job == BatchJob::Pay && o.amount.compare(QStringLiteral("all"), Qt::CaseInsensitive) == 0)
        o.amount.clear();
    else if (job == BatchJob::Pay && !checkAmount(o.amount).isEmpty())
        return QStringLiteral("the amount of --pay must be digits (at most two after a point) or \"all\"");
    if (rate && !checkPayout(o.payout).isEmpty()) return QStringLiteral("--payout must be digits only");
    if (rate && !checkPercent(o.discount).isEmpty()) return QStringLiteral("--discount must be digits from 0 to 100");
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
         {refuseExtra(rules.type != Need::No, TypeOption), refuseExtra(rules.customer != Need::No, CustomerOption),
          refuseExtra(rules.number, NumberOption), refuseExtra(rules.keep, KeepOption),
          refuseExtra(rules.save, SaveOption), refuseExtra(rules.confirm, ConfirmOption)})
        if (!problem.isEmpty()) return problem;

    if (rules.type != Need::No) {
        if (!parser.isSet(TypeOption) && rules.type == Need::Required) return name + QStringLiteral(" needs --type");
        const QString given = parser.isSet(TypeOption) ? parser.value(TypeOption) : AllChoice;
        o.type = CleanName(given);
        const bool known = typeIndex(o.type) >= 0 || (rules.typeMayBeAll && o.type == AllChoice);
        if (!known) return unknownTypeText(given, rules.typeMayBeAll);
    }
    if (rules.customer != Need::No) {
        if (!parser.isSet(CustomerOption) && rules.customer == Need::Required)
            return name + QStringLiteral(" needs --customer");
        const QString given = parser.isSet(CustomerOption) ? parser.value(CustomerOption) : AllChoice;
        o.customer = CleanName(given);
        if (job == BatchJob::EnterSheet) {
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
    const QString accounts = checkAccountOptions(parser, job, o);
    if (!accounts.isEmpty()) return accounts;
    o.number = parser.value(NumberOption);
    o.keep = parser.isSet(KeepOption);
    o.confirmed = parser.isSet(ConfirmOption);
    if (parser.isSet(SaveOption)) {
        o.saveName = parser.value(SaveOption);
        if (enteredName(o.saveName).isEmpty()) return QStringLiteral("the name of --save-list is empty");
    }
    return {};
}

BatchResult refused(BatchResult r, const QString& reason)
{
    r.err << reason;
    r.exitCode = BatchRefused;
    return r;
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

    const QStringList failures = ledger.prepareCustomer(o.customer);
    r.out << QLatin1Char('<') + o.type + QStringLiteral("> <") + o.customer + QLatin1Char('>');
    if (!store.StakeFilePath(o.type, o.customer).isEmpty()) r.out << QStringLiteral("พร้อมรับข้อมูล");
    r.out << failures;
    const int above = sheet.isEmpty() ? 0 : [&] {
        const EntryResult entered = ledger.enterSheet(sheet, o.type, o.customer);
        r.out << entered.lines;
        return entered.aboveCeiling;
    }();
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

// An over-limit or number-cut report, and the save of the send-out list it left when asked for.
BatchResult sendOutReport(Ledger& ledger, const BatchOptions& o)
{
    Store& store = ledger.store();
    Session& session = ledger.session();
    const ReportResult report = o.job == BatchJob::OverLimit ? OverLimit(store, session, o.type, o.keep)
                                                             : NumberCutReport(store, session, o.type);
    BatchResult r;
    r.out = report.lines;
    if (o.saveName.isEmpty()) return r;
    if (!report.saveCaption || session.SendOutData.isEmpty())
        return refused(r, QStringLiteral("nothing saved: the report left no send-out list"));
    const HistorySave save = ledger.saveSendOutList(o.saveName);
    r.out << save.lines;
    switch (save.outcome.status) {
    case Status::Ok:
        return r;
    case Status::NameTaken:
        return refused(r, QStringLiteral("nothing saved: a saved list is already named \"") + o.saveName +
                              QStringLiteral("\" or a name holding it (") + DuplicateNameText + QLatin1Char(')'));
    case Status::UnsafeName:
        return refused(r, QStringLiteral("nothing saved: \"") + o.saveName +
                              QStringLiteral("\" cannot be a file name (") + UnsafeNameText + QLatin1Char(')'));
    default:
        return refused(r, QStringLiteral("the send-out list was not saved: ") + outcomeReason(save.outcome.status));
    }
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
    const MergeResult merge = ledger.restore(o.folder);
    r.out = merge.lines;
    switch (merge.outcome.status) {
    case Status::AlreadyMerged:
    case Status::OwnBackup:
        return refused(r, QStringLiteral("refused: ") + outcomeReason(merge.outcome.status) + QStringLiteral(" (") +
                              outcomeLine(merge.outcome) + QLatin1Char(')'));
    case Status::NoBackup:
        return refused(r, QStringLiteral("no backup in ") + QDir::toNativeSeparators(backupFilePath(o.folder)));
    case Status::ReadFailed:
        return refused(r, QStringLiteral("cannot read the backup ") + QDir::toNativeSeparators(merge.outcome.file));
    default:
        return r;
    }
}

BatchResult newDraw(Ledger& ledger, const BatchOptions& o)
{
    BatchResult r;
    if (!o.confirmed)
        return refused(r, QStringLiteral("a new draw deletes every stake, setting and customer of the book; "
                                         "add --confirm-new-draw to go ahead"));
    const NewDrawResult draw = ledger.newDraw();
    r.out = draw.lines;
    if (draw.outcome.status == Status::CopyFailed)
        return refused(r, QStringLiteral("the book could not be copied before the new draw, so nothing was deleted (") +
                              outcomeLine(draw.outcome) + QLatin1Char(')'));
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
    QList<QStringList> pages;
    QStringList customers;
    for (const Statement& s : std::as_const(statements)) {
        pages << billLines(s, drawLabel);
        customers << s.bill.customer;
        r.out << pages.last();
        if (!s.problems.isEmpty()) r.exitCode = BatchRefused;
    }
    if (r.exitCode == BatchRefused)
        r.err << QStringLiteral("a file of the accounts is damaged; the totals due are left out");
    const BillHeader header{optionValue(current, option::ShopName), QDateTime::currentDateTime(), drawLabel};
    if (!o.pngFolder.isEmpty()) {
        if (!QDir().mkpath(o.pngFolder))
            return refused(r, QStringLiteral("cannot make the folder ") + QDir::toNativeSeparators(o.pngFolder));
        for (qsizetype i = 0; i < pages.size(); ++i) {
            const QString path = QDir(o.pngFolder).filePath(billImageName(customers[i]));
            if (!writeBillPng(pages[i], header, path))
                return refused(r, WriteFailedText + QDir::toNativeSeparators(path));
            r.out << SavedFileText + QDir::toNativeSeparators(path);
        }
    }
    if (!o.pdfFile.isEmpty()) {
        if (!writeBillsPdf(pages, customers, header, o.pdfFile))
            return refused(r, WriteFailedText + QDir::toNativeSeparators(o.pdfFile));
        r.out << SavedFileText + QDir::toNativeSeparators(o.pdfFile);
    }
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

BatchResult pay(Ledger& ledger, const BatchOptions& o)
{
    BatchResult r;
    const PaymentResult paid = ledger.recordPayment(o.customer, o.amount);
    r.out = paid.lines;
    if (!paid.refusal.isEmpty()) return refused(r, QStringLiteral("refused: ") + paid.refusal);
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
    }
    return r;
}

BatchResult runJob(Ledger& ledger, const BatchOptions& o)
{
    Store& store = ledger.store();
    Session& session = ledger.session();
    auto report = [](const ReportResult& rr) { return BatchResult{rr.lines, {}, BatchRan}; };
    switch (o.job) {
    case BatchJob::EnterSheet:
        return enterSheet(ledger, o);
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
    case BatchJob::Bill:
        return bills(ledger, o);
    case BatchJob::SetRate:
        return setRate(ledger, o);
    case BatchJob::Pay:
        return pay(ledger, o);
    case BatchJob::Owed:
        return report(ReportResult{owedLines(owedReport(store))});
    case BatchJob::Draws:
        return pastDraws(store);
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
    parser.addOption(
        {PngOption, QStringLiteral("With --bill: save each bill as DIR/NAME.png."), QStringLiteral("DIR")});
    parser.addOption({PdfOption, QStringLiteral("With --bill: save the bills in one PDF."), QStringLiteral("FILE")});
    parser.addOption({PastDrawOption,
                      QStringLiteral("With --bill: the past draw NAME (as --draws lists its folder), read only."),
                      QStringLiteral("NAME")});
    parser.addOption(
        {PayoutOption, QStringLiteral("With --set-rate: the payout rate, digits only."), QStringLiteral("RATE")});
    parser.addOption(
        {DiscountOption, QStringLiteral("With --set-rate: the discount, 0 to 100."), QStringLiteral("PERCENT")});
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
            if (j.job == BatchJob::OpenList) request.options.listName = value;
            if (j.job == BatchJob::Backup || j.job == BatchJob::Restore) request.options.folder = value;
            if (j.job == BatchJob::Pay) request.options.amount = value.trimmed();
            if (value.isEmpty()) request.usageError = dashed(name) + QStringLiteral(" needs a value");
        }
    }
    const bool modifiers = parser.isSet(TypeOption) || parser.isSet(CustomerOption) || parser.isSet(NumberOption) ||
                           parser.isSet(KeepOption) || parser.isSet(SaveOption) || parser.isSet(ConfirmOption) ||
                           parser.isSet(PngOption) || parser.isSet(PdfOption) || parser.isSet(PastDrawOption) ||
                           parser.isSet(PayoutOption) || parser.isSet(DiscountOption);
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
    return request;
}

BatchResult runBatch(Ledger& ledger, const BatchOptions& options)
{
    Store& store = ledger.store();
    store.takeFailures();
    BatchResult r = runJob(ledger, options);
    const QList<Outcome> failures = store.takeFailures();
    if (!failures.isEmpty() && r.exitCode == BatchRan) {
        r.err << QStringLiteral("the job did not complete:");
        for (const Outcome& f : failures)
            r.err << outcomeLine(f);
        r.exitCode = BatchRefused;
    }
    return r;
}

} // namespace varnoth
