// The operations the benchmark times. Each one calls the same logic function that its window calls,
// with the arguments the operator's choices give, and names the files that the work cannot avoid:
// those are what the floor of the same run reads, writes and deletes.

#include "bench.h"
#include "bookmaker.h"

#include "accounts/dealers.h"
#include "accounts/dealersent.h"
#include "accounts/dealerstatement.h"
#include "accounts/drawhistory.h"
#include "app/BillPainter.h"
#include "app/picturerecognizer.h"
#include "app/spreadsheet.h"
#include "audit/auditlog.h"
#include "audit/replay.h"
#include "core/model/types.h"
#include "entry/chat.h"
#include "entry/entry.h"
#include "entry/gates.h"
#include "entry/sheet.h"
#include "entry/totals.h"
#include "gui/main/session.h"
#include "reports/analysis.h"
#include "reports/cutting.h"
#include "reports/overlimit.h"
#include "reports/prize.h"
#include "reports/statistics.h"
#include "reports/view.h"
#include "settings/customers.h"
#include "settings/history.h"
#include "settings/numberrules.h"
#include "storage/folder/foldertransaction.h"
#include "storage/folder/store.h"
#include "tools/backup.h"
#include "tools/newdraw.h"
#include "tools/restore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>

namespace varnoth::bench
{

namespace
{

const QString All = QStringLiteral("ทั้งหมด");
const QString Straight3 = QStringLiteral("3ตัวตรง");
const QString Tote3 = QStringLiteral("3ตัวโต๊ด");
const QString Tote5 = QStringLiteral("5ตัวโต๊ด");

QStringList settingsFiles(Context& ctx)
{
    Store& s = *ctx.store;
    return {s.limitFile(),    s.rateFile(),   s.numberCutFile(), s.digitCutFile(),
            s.discountFile(), s.resultFile(), s.customerFile()};
}

QStringList countFiles(Context& ctx)
{
    return typeFiles(ctx, Store::CountPrefix);
}

QStringList sendOutFiles(Context& ctx)
{
    return typeFiles(ctx, Store::SendOutPrefix);
}

// Every file of the data folder.
QStringList bookFiles(Context& ctx)
{
    const QDir dir(ctx.folder);
    QStringList files;
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        files << dir.filePath(name);
    return files;
}

// Reports read every stake file of the book and the settings they apply.
QStringList reportReads(Context& ctx)
{
    return stakeFiles(ctx) + settingsFiles(ctx);
}

QStringList noFiles(Context&)
{
    return {};
}

// The stake and count files that the entry of one customer on these types changes.
QStringList entryFiles(Context& ctx, const QString& customer, const QStringList& types)
{
    QStringList out;
    for (const QString& t : types)
        out << ctx.store->StakeFilePath(t, customer) << ctx.store->TypeFilePath(t, Store::CountPrefix);
    return out;
}

// The entry of the main window's fields: the creation sequence and the bets of one entry.
struct FieldsEntered {
    bool created = false;
    EntryResult result;
};

FieldsEntered commitFields(Context& ctx, const QString& numberText, const QString& amountText, const QString& type)
{
    Store& store = *ctx.store;
    const QString customer = ctx.customers.first();
    const QStringList failures = store.creationSequence(customer);
    const std::optional<GateExpansion> gates = expandNumberField(numberText);
    const FieldEntry entry = planFieldEntry(gates ? gates->gates : QString(), numberText, amountText, type, customer);
    EntryBatch batch(store, customer);
    batch.addPlan(entry.plan);
    return {failures.isEmpty(), batch.commit()};
}

// Enter in the main window: the creation sequence, the bets of the fields, the customer's figures.
qint64 enterFields(Context& ctx, const QString& numberText, const QString& amountText, const QString& type)
{
    const FieldsEntered entered = commitFields(ctx, numberText, amountText, type);
    const StakeTotals totals = customerTotals(*ctx.store, type, ctx.customers.first());
    return entered.created && totals.count > 0 ? entered.result.changes.size() : 0;
}

// The key the ledger chains its lines with, and where it keeps the anchor (beside the book).
const AuditKey& benchKey()
{
    static const AuditKey key = auditKeyOf(QByteArray(32, 'b'));
    return key;
}
QString anchorFile(Context& ctx)
{
    return ctx.scratch + QStringLiteral("/") + AuditAnchorFileName;
}

// The bets of the entry field with the lines the ledger adds to the audit log for them: one per bet,
// keyed, appended and flushed each, to a log kept open as the ledger keeps it; then the anchor.
qint64 enterFieldsLogged(Context& ctx, const QString& numberText, const QString& amountText, const QString& type)
{
    static AuditWriter log;
    const QString path = QDir(ctx.folder).filePath(AuditLogFileName);
    if (log.path() != path || !log.isOpen())
        log.open(path, QStringLiteral("bench"), QStringLiteral("bench"), benchKey());
    const QString customer = ctx.customers.first();
    const FieldsEntered entered = commitFields(ctx, numberText, amountText, type);
    const qint64 number = log.nextEntry();
    const QDateTime now = QDateTime::currentDateTime();
    bool logged = true;
    for (const BetChange& bet : entered.result.changes)
        logged =
            log.append({AuditAction::Bet, bet.type, customer, bet.number, {}, bet.amount, {}}, number, now) && logged;
    logged = writeAuditAnchor(anchorFile(ctx), log.anchor()) && logged;
    const StakeTotals totals = customerTotals(*ctx.store, type, customer);
    return entered.created && logged && totals.count > 0 ? entered.result.changes.size() : 0;
}

// A log of 100,000 bets over the book's customers, keyed, beside the book.
QString replayLog(Context& ctx)
{
    const QString path = ctx.scratch + QStringLiteral("/replay/") + AuditLogFileName;
    if (QFile::exists(path)) return path;
    QDir().mkpath(QFileInfo(path).path());
    AuditWriter log;
    log.open(path, QStringLiteral("bench"), QStringLiteral("bench"), benchKey());
    const QDateTime now = QDateTime::currentDateTime();
    for (int i = 0; i < 100000; ++i) {
        const QString number = QStringLiteral("%1").arg((i * 37) % 1000, 3, 10, QLatin1Char('0'));
        log.append({AuditAction::Sheet,
                    Straight3,
                    ctx.customers[i % ctx.customers.size()],
                    number,
                    {},
                    QString::number(10 + i % 90),
                    {}},
                   1 + i / 50, now);
    }
    return path;
}

// A sheet of mixed entry lines: single amounts, paired amounts (the second on the permuted type)
// and the gate codes of an entry line.
QString mixedSheet(int lines)
{
    static const char* const codes[] = {"6", "3", "2"};
    QString sheet;
    sheet.reserve(lines * 14);
    for (int i = 0; i < lines; ++i) {
        const QString number = QStringLiteral("%1").arg((i * 37) % 1000, 3, 10, QLatin1Char('0'));
        const QString amount = QString::number(10 + i % 90);
        switch (i % 3) {
        case 0:
            sheet += number + QLatin1Char('-') + amount;
            break;
        case 1:
            sheet += number + QLatin1Char('-') + amount + QStringLiteral("+20");
            break;
        default:
            sheet += number + QLatin1Char('+') + QLatin1String(codes[i % 9 / 3]) + QLatin1Char('-') + amount;
        }
        sheet += QStringLiteral("\r\n");
    }
    return sheet;
}

// A chat screenshot as a phone shows it: a bubble of bets on the chat's background, 44-pixel text.
QImage chatScreenshot()
{
    QImage image(1080, 2400, QImage::Format_RGB32);
    image.fill(QColor(221, 231, 240));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRect(40, 200, 700, 30 * 64 + 40), Qt::white);
    QFont font(QStringLiteral("Loma"));
    font.setPixelSize(44);
    p.setFont(font);
    p.setPen(QColor(17, 27, 33));
    p.drawText(QPoint(70, 270), QStringLiteral("ลูกค้า สมชาย"));
    for (int i = 1; i < 30; ++i)
        p.drawText(QPoint(70, 270 + 64 * i), QStringLiteral("%1=%2*%2").arg(100 + 29 * i).arg(10 * (i % 5 + 1)));
    return image;
}

// A pasted chat message of the forms customers write, headings and a few lines that are not bets.
QString chatMessage(int lines)
{
    static const char* const forms[] = {"%1=50",     "%1 50x50",      "%1 ตรง20 โต๊ด20", "%2 บน100 ล่าง100", "%2=100*100",
                                        "%1 กลับ=10", "%2 %3 ตัวละ 20", "%2 19ประตู=5",    "สวัสดีครับ 🙏",       "%1=",
                                        "บน",        "%2-40"};
    QStringList out{QStringLiteral("ลูกค้า สมชาย")};
    for (int i = 0; out.size() < lines; ++i) {
        const QString three = QStringLiteral("%1").arg((i * 37) % 1000, 3, 10, QLatin1Char('0'));
        const QString two = QStringLiteral("%1").arg((i * 13) % 100, 2, 10, QLatin1Char('0'));
        const QString one = QString::number(i % 10);
        QString line = QString::fromUtf8(forms[i % 12]);
        line.replace(QStringLiteral("%1"), three).replace(QStringLiteral("%3"), two);
        line.replace(QStringLiteral("%2 19"), one + QStringLiteral(" 19")).replace(QStringLiteral("%2"), two);
        out << line;
    }
    return out.join(QLatin1Char('\n'));
}

qint64 linesOf(const ReportResult& r)
{
    return r.lines.size();
}

// A thousand number rules over five types: own limits on every odd number of the straight 3 digits
// and reduced pay on 100 of its even ones, reduced pay on 200 permutation numbers, and the closed
// numbers on the two 2-digit types, which the entries timed here do not play (a closed number would
// leave bets out and so make the entry cheaper than it is).
QString thousandRules()
{
    QStringList lines;
    for (int i = 1; i < 1000; i += 2)
        lines << ruleLine(
            {Straight3, QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0')), RuleKind::Limit, 500, false});
    for (int i = 0; i < 200; i += 2)
        lines << ruleLine({Straight3, QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0')), RuleKind::Pay, 50, false});
    const QStringList& tote = NumberSet(Tote3);
    for (int i = 0; i < 200; ++i)
        lines << ruleLine({Tote3, tote[i], RuleKind::Pay, 50, false});
    for (const QString& type : {QStringLiteral("2ตัวบน"), QStringLiteral("2ตัวล่าง")})
        for (int i = 0; i < 100; ++i)
            lines << ruleLine({type, QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0')), RuleKind::Closed, 0, false});
    return lines.join(QStringLiteral("\r\n"));
}

// The same operation on the book with the thousand rules; its rows come after every row without
// rules, so the file never reaches those.
Operation withRules(Operation op)
{
    op.name += QStringLiteral(", 1,000 rules");
    const auto prepare = op.prepare;
    op.prepare = [prepare](Context& ctx) {
        // Written once: the rules of a book stay as they are from one entry to the next.
        static const QString rules = thousandRules() + QStringLiteral("\r\n");
        const QString path = ctx.store->path(NumberRulesFileName);
        if (ctx.store->ReadWholeFile(path) != rules) ctx.store->writeExact(path, rules);
        if (prepare) prepare(ctx);
    };
    const auto reads = op.reads;
    op.reads = [reads](Context& ctx) { return reads(ctx) + QStringList{ctx.store->path(NumberRulesFileName)}; };
    return op;
}

// The backup of a book of one customer, whose name stands in every stake heading.
const QString OneCustomerName = QStringLiteral("c1");

QString oneCustomerBackup(Context& ctx)
{
    static QString text;
    if (text.isEmpty()) {
        const QString folder = ctx.scratch + QStringLiteral("/one");
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        makeBook(folder, BookSize{1});
        Store store(folder);
        text = BuildBackupText(store);
        QDir(folder).removeRecursively();
    }
    return text;
}

QString restoredName(Context& ctx)
{
    return QStringLiteral("r%1").arg(ctx.serial);
}

QString driveFolder(Context& ctx)
{
    return ctx.scratch + QStringLiteral("/drive");
}

// Every tenth customer has his own payout rate and discount on the straight three digits.
void ownRates(Context& ctx)
{
    Store& store = *ctx.store;
    if (store.exists(store.path(CustomerRatesFileName))) return;
    for (qsizetype i = 0; i < ctx.customers.size(); i += 10)
        setCustomerRate(store, ctx.customers[i], Straight3, QStringLiteral("550"), QStringLiteral("15"));
}

QStringList billReads(Context& ctx, const QString& customer)
{
    Store& s = *ctx.store;
    QStringList r;
    for (const QString& t : typeNames())
        r << s.StakeFilePath(t, customer);
    return r + settingsFiles(ctx) + QStringList{s.path(CustomerRatesFileName)};
}

// Two dealers with terms on every type share what lies above the limits: boss takes up to 500 a
// number, noi the rest. Their lists are saved and recorded as any split is.
void dealersSent(Context& ctx)
{
    Store& store = *ctx.store;
    if (store.exists(store.path(DealersFileName))) return;
    QList<DealerTerms> boss;
    QList<DealerTerms> noi;
    for (const QString& t : typeNames()) {
        boss << DealerTerms{t, QStringLiteral("600"), QStringLiteral("10"), QStringLiteral("500")};
        noi << DealerTerms{t, {}, QStringLiteral("5"), {}};
    }
    addDealer(store, QStringLiteral("boss"), boss);
    addDealer(store, QStringLiteral("noi"), noi);
    Session session;
    OverLimit(store, session, AllChoice, false);
    const Split split = splitExcess(sendOutItems(session.SendOutData), loadDealers(store).items, {});
    QList<ListToSave> lists;
    QList<DealerList> added;
    for (const DealerShare& share : split.shares) {
        if (share.items.isEmpty()) continue;
        const QString name = splitListName(QStringLiteral("bench"), share.dealer);
        lists << ListToSave{name, sendOutText(share.items)};
        added << DealerList{share.dealer, enteredName(name)};
    }
    const DealerLists none = loadDealerLists(store);
    saveSendOutLists(store, lists, [&](FolderTransaction& tx) { writeDealerLists(store, tx, none, added, {}); });
}

QStringList dealerReads(Context& ctx)
{
    Store& s = *ctx.store;
    QStringList r{s.path(DealersFileName), s.path(DealerListsFileName), s.historyFile(), s.rateFile(), s.resultFile()};
    for (const DealerList& d : loadDealerLists(s).items)
        if (d.dealer == QStringLiteral("boss")) r << s.savedListFile(d.list);
    return r;
}

} // namespace

QStringList stakeFiles(Context& ctx)
{
    QStringList out;
    for (int t = 0; t < typeNames().size(); ++t)
        for (int c = 1; c <= ctx.customers.size(); ++c)
            out << ctx.store->stakeFilePathAt(t, c);
    return out;
}

QStringList typeFiles(Context& ctx, const QString& prefix)
{
    QStringList out;
    for (const QString& t : typeNames())
        out << ctx.store->TypeFilePath(t, prefix);
    return out;
}

std::vector<Operation> operations()
{
    std::vector<Operation> ops;

    // Start-up: the number-set caches, then picking a type and customer (the creation sequence,
    // the customer's figures and the figures over the whole book), on a store that has not yet
    // seen the folder.
    ops.push_back({.name = QStringLiteral("start-up"),
                   .run =
                       [](Context& ctx) {
                           buildNumberSetCaches();
                           Store store(ctx.folder);
                           store.creationSequence(ctx.customers.first());
                           StakeTotals one = customerTotals(store, Straight3, ctx.customers.first());
                           StakeTotals all = bookTotals(store);
                           return static_cast<qint64>(one.count + all.count);
                       },
                   .reads =
                       [](Context& ctx) {
                           QStringList r = stakeFiles(ctx);
                           r << ctx.store->customerFile();
                           return r;
                       },
                   .writes = noFiles,
                   .listsFolder = true});

    ops.push_back(
        {.name = QStringLiteral("one bet"),
         .run = [](Context& ctx) { return enterFields(ctx, QStringLiteral("123"), QStringLiteral("50"), Straight3); },
         .reads = [](Context& ctx) { return QStringList{ctx.store->customerFile()}; },
         .writes = [](Context& ctx) { return entryFiles(ctx, ctx.customers.first(), {Straight3}); }});

    // The same bet with its audit line: the log's share of a bet's time is the difference of the two rows.
    ops.push_back({.name = QStringLiteral("one bet, logged"),
                   .run =
                       [](Context& ctx) {
                           return enterFieldsLogged(ctx, QStringLiteral("123"), QStringLiteral("50"), Straight3);
                       },
                   .reads = [](Context& ctx) { return QStringList{ctx.store->customerFile()}; },
                   .writes =
                       [](Context& ctx) {
                           return entryFiles(ctx, ctx.customers.first(), {Straight3}) + QStringList{anchorFile(ctx)};
                       }});

    // What a log of 100,000 lines says the book holds, against every stake, count and accounts file.
    ops.push_back({.name = QStringLiteral("audit replay 100,000 lines"),
                   .prepare = [](Context& ctx) { replayLog(ctx); },
                   .run =
                       [](Context& ctx) {
                           AuditIndex index;
                           index.load(replayLog(ctx));
                           const AuditReplay replay = replayAudit(index, *ctx.store);
                           return index.lineCount() + (replay.differences.isEmpty() ? 0 : 1);
                       },
                   .reads =
                       [](Context& ctx) {
                           return stakeFiles(ctx) + typeFiles(ctx, Store::CountPrefix) +
                                  QStringList{replayLog(ctx), ctx.store->customerFile()};
                       },
                   .writes = noFiles});

    ops.push_back(
        {.name = QStringLiteral("271-gate entry"),
         .run = [](Context& ctx) { return enterFields(ctx, QStringLiteral("5+271"), QStringLiteral("10"), Straight3); },
         .reads = [](Context& ctx) { return QStringList{ctx.store->customerFile()}; },
         .writes = [](Context& ctx) { return entryFiles(ctx, ctx.customers.first(), {Straight3}); }});

    ops.push_back({.name = QStringLiteral("sheet 10,000 lines"),
                   .run =
                       [](Context& ctx) {
                           static const QString sheet = mixedSheet(10000);
                           const QStringList lines = SplitSheet(*ctx.store, sheet, Straight3, ctx.customers.first());
                           return static_cast<qint64>(lines.size());
                       },
                   .reads = [](Context& ctx) { return QStringList{ctx.store->customerFile()}; },
                   .writes =
                       [](Context& ctx) {
                           return entryFiles(ctx, ctx.customers.first(), {Straight3, Tote3});
                       }});

    // Reading the message is the operator's wait between pasting and seeing the bets; it touches no file.
    ops.push_back({.name = QStringLiteral("chat paste 10,000 lines"),
                   .run =
                       [](Context&) {
                           static const QString message = chatMessage(10000);
                           return static_cast<qint64>(parseChat(message, Straight3).bets().size());
                       },
                   .reads = noFiles,
                   .writes = noFiles});

    // A phone screenshot of a chat, 1080 x 2400, read by the recogniser and the chat reader: the
    // operator's wait between dropping the picture and seeing its rows.
    ops.push_back({.name = QStringLiteral("picture 1080x2400 read"),
                   .run =
                       [](Context&) {
                           static const QImage screenshot = chatScreenshot();
                           const RecognizedPicture read = recognizePicture(screenshot);
                           return static_cast<qint64>(
                               parsePicture(pictureTextLines(read.lines), Straight3).chat.bets().size());
                       },
                   .reads = noFiles,
                   .writes = noFiles});

    ops.push_back({.name = QStringLiteral("view all data"),
                   .run =
                       [](Context& ctx) {
                           Session session;
                           return linesOf(ViewAllData(*ctx.store, session));
                       },
                   .reads = reportReads,
                   .writes = noFiles});

    ops.push_back({.name = QStringLiteral("search all"),
                   .run =
                       [](Context& ctx) {
                           Session session;
                           return linesOf(SearchReport(*ctx.store, session, QString(), All, All));
                       },
                   .reads = reportReads,
                   .writes = noFiles});

    ops.push_back({.name = QStringLiteral("over-limit all"),
                   .run =
                       [](Context& ctx) {
                           Session session;
                           // A small book stays within the limits: the report then says so in one line.
                           return linesOf(OverLimit(*ctx.store, session, All, false));
                       },
                   .reads = [](Context& ctx) { return reportReads(ctx) + sendOutFiles(ctx); },
                   .writes = noFiles});

    ops.push_back({.name = QStringLiteral("number cut all"),
                   .run =
                       [](Context& ctx) {
                           Session session;
                           const qint64 n = linesOf(NumberCutReport(*ctx.store, session, All));
                           return session.SendOutData.isEmpty() ? 0 : n;
                       },
                   .reads = [](Context& ctx) { return reportReads(ctx) + sendOutFiles(ctx); },
                   .writes = noFiles});

    ops.push_back({.name = QStringLiteral("prize check all"),
                   .run =
                       [](Context& ctx) {
                           Session session;
                           return linesOf(PrizeCheck(*ctx.store, session, All, All));
                       },
                   .reads = reportReads,
                   .writes = noFiles});

    ops.push_back({.name = QStringLiteral("analysis all"),
                   .run = [](Context& ctx) { return linesOf(Analysis(*ctx.store, All)); },
                   .reads = reportReads,
                   .writes = noFiles});

    ops.push_back(
        {.name = QStringLiteral("statistics 5-digit"),
         .run = [](Context& ctx) { return linesOf(NumberStatistics(*ctx.store, Tote5)); },
         .reads = [](Context& ctx) { return QStringList{ctx.store->TypeFilePath(Tote5, Store::CountPrefix)}; },
         .writes = noFiles});

    ops.push_back(
        {.name = QStringLiteral("backup"),
         .run =
             [](Context& ctx) {
                 const QStringList lines = runBackup(*ctx.store, driveFolder(ctx));
                 return lines.size() == 3 ? QFileInfo(backupFilePath(driveFolder(ctx))).size() : 0;
             },
         .reads =
             [](Context& ctx) { return stakeFiles(ctx) + countFiles(ctx) + QStringList{ctx.store->customerFile()}; },
         .writes = [](Context& ctx) { return QStringList{backupFilePath(driveFolder(ctx))}; }});

    // Restore of another computer's backup holding one customer; a new name each run, because the
    // same content is merged only once per draw.
    ops.push_back({.name = QStringLiteral("restore one customer"),
                   .prepare =
                       [](Context& ctx) {
                           QString text = oneCustomerBackup(ctx);
                           text.replace(QLatin1Char('#') + OneCustomerName + QStringLiteral("\r\n"),
                                        QLatin1Char('#') + restoredName(ctx) + QStringLiteral("\r\n"));
                           Store::MakeHiddenFolder(backupFolderPath(driveFolder(ctx)));
                           ctx.store->WriteWholeFile(backupFilePath(driveFolder(ctx)), text);
                       },
                   .run =
                       [](Context& ctx) {
                           const MergeResult r = runRestore(*ctx.store, driveFolder(ctx));
                           ctx.customers << restoredName(ctx);
                           return static_cast<qint64>(r.count);
                       },
                   .reads =
                       [](Context& ctx) {
                           return countFiles(ctx) + QStringList{backupFilePath(driveFolder(ctx)),
                                                                ctx.store->customerFile(),
                                                                ctx.store->path(MergedBackupsFileName)};
                       },
                   .writes =
                       [](Context& ctx) {
                           QStringList w = countFiles(ctx);
                           const int index = ctx.customers.size() + 1;
                           for (int t = 0; t < typeNames().size(); ++t)
                               w << ctx.store->stakeFilePathAt(t, index);
                           return w + QStringList{ctx.store->customerFile(), ctx.store->path(MergedBackupsFileName)};
                       }});

    // Restore of a backup of a million records on one customer (8 MB): the backup is read as a stream,
    // so the peak memory stays far below the size a whole text and its lines would need.
    ops.push_back({.name = QStringLiteral("restore 1,000,000 records"),
                   .prepare =
                       [](Context& ctx) {
                           QByteArray bytes = encodeWindows874(QStringLiteral("3ตัวตรง#") + restoredName(ctx)) + "\r\n";
                           bytes.reserve(8 * 1000000 + 64);
                           for (int i = 0; i < 1000000; ++i) {
                               char line[16];
                               std::snprintf(line, sizeof line, "%03d-%d\r\n", i % 1000, 1 + i % 9);
                               bytes += line;
                           }
                           Store::MakeHiddenFolder(backupFolderPath(driveFolder(ctx)));
                           QFile f(backupFilePath(driveFolder(ctx)));
                           if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
                       },
                   .run =
                       [](Context& ctx) {
                           const MergeResult r = runRestore(*ctx.store, driveFolder(ctx));
                           ctx.customers << restoredName(ctx);
                           return static_cast<qint64>(r.count);
                       },
                   .reads =
                       [](Context& ctx) {
                           return countFiles(ctx) + QStringList{backupFilePath(driveFolder(ctx)),
                                                                ctx.store->customerFile(),
                                                                ctx.store->path(MergedBackupsFileName)};
                       },
                   .writes =
                       [](Context& ctx) {
                           QStringList w;
                           const int index = ctx.customers.size() + 1;
                           for (int t = 0; t < typeNames().size(); ++t)
                               w << ctx.store->stakeFilePathAt(t, index);
                           return w + QStringList{ctx.store->customerFile(), ctx.store->path(MergedBackupsFileName)};
                       }});

    // The rows of entry and reports again, with the rules applied.
    for (const QString& name : {QStringLiteral("one bet"), QStringLiteral("sheet 10,000 lines"),
                                QStringLiteral("over-limit all"), QStringLiteral("prize check all")}) {
        const auto plain = std::find_if(ops.begin(), ops.end(), [&](const Operation& o) { return o.name == name; });
        if (plain != ops.end()) ops.push_back(withRules(*plain));
    }

    // The new draw copies the whole book beside it (every file read, written once and read back),
    // deletes it and leaves fresh count and send-out files. Writing every file of the book in place
    // stands for writing its copy.
    ops.push_back({.name = QStringLiteral("new draw"),
                   .run = [](Context& ctx) { return static_cast<qint64>(startNewDraw(*ctx.store).done ? 1 : 0); },
                   .reads = [](Context& ctx) { return bookFiles(ctx) + bookFiles(ctx); },
                   .writes = [](Context& ctx) { return bookFiles(ctx); },
                   .removes =
                       [](Context& ctx) {
                           Store& s = *ctx.store;
                           return stakeFiles(ctx) + settingsFiles(ctx) +
                                  QStringList{s.historyFile(), s.savedListFile(QStringLiteral("monday"))};
                       },
                   .listsFolder = true,
                   .destroysBook = true});
    // One customer's bill, as the bill window shows it, on a book where some customers have their
    // own figures: his stake files, the settings and the accounts files are what it must read.
    ops.push_back({.name = QStringLiteral("bill of one customer"),
                   .prepare = [](Context& ctx) { ownRates(ctx); },
                   .run =
                       [](Context& ctx) {
                           Store& store = *ctx.store;
                           const QString customer = ctx.customers[ctx.customers.size() / 2];
                           qint64 lines = 0;
                           for (const Statement& s : statementsFor(store, store, customer))
                               lines += billLines(s).size();
                           return lines;
                       },
                   .reads = [](Context& ctx) { return billReads(ctx, ctx.customers[ctx.customers.size() / 2]); },
                   .writes = noFiles});
    ops.push_back({.name = QStringLiteral("all bills as PDF"),
                   .prepare = [](Context& ctx) { ownRates(ctx); },
                   .run =
                       [](Context& ctx) {
                           Store& store = *ctx.store;
                           QList<QStringList> pages;
                           QStringList customers;
                           for (const Statement& s : statementsFor(store, store, All)) {
                               pages << billLines(s);
                               customers << s.bill.customer;
                           }
                           const QString path = ctx.scratch + QStringLiteral("/bills.pdf");
                           const BillHeader header{QStringLiteral("bench"), QDateTime::currentDateTime(), {}};
                           if (!writeBillsPdf(pages, customers, header, path)) return qint64(0);
                           return QFileInfo(path).size();
                       },
                   .reads = reportReads,
                   .writes = [](Context& ctx) { return QStringList{ctx.scratch + QStringLiteral("/bills.pdf")}; }});

    // The view of every stake as a workbook: the report, its rows and the file.
    ops.push_back(
        {.name = QStringLiteral("view all as xlsx"),
         .run =
             [](Context& ctx) {
                 Session session;
                 const QString path = ctx.scratch + QStringLiteral("/view.xlsx");
                 if (!writeXlsx(reportTable(ViewAllData(*ctx.store, session).lines), QStringLiteral("view"), path))
                     return qint64(0);
                 return QFileInfo(path).size();
             },
         .reads = reportReads,
         .writes = [](Context& ctx) { return QStringList{ctx.scratch + QStringLiteral("/view.xlsx")}; }});

    // A dealer's account as the dealers window and --statement show it: what went to him this draw,
    // his winners at his rates, the payments and what the past draws left.
    ops.push_back({.name = QStringLiteral("dealer statement"),
                   .prepare = [](Context& ctx) { dealersSent(ctx); },
                   .run =
                       [](Context& ctx) {
                           Store& store = *ctx.store;
                           const Dealers dealers = loadDealers(store);
                           const Dealer* boss = dealers.find(QStringLiteral("boss"));
                           if (!boss) return qint64(0);
                           return qint64(accountLines(dealerAccount(store, *boss, loadDealerLists(store))).size());
                       },
                   .reads = dealerReads,
                   .writes = noFiles});
    return ops;
}

} // namespace varnoth::bench
