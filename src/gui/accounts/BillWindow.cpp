#include "gui/accounts/BillWindow.h"

#include "accounts/accounttexts.h"
#include "accounts/billseal.h"
#include "accounts/drawhistory.h"
#include "accounts/entryslip.h"
#include "accounts/exporttexts.h"
#include "app/BillPainter.h"
#include "app/Ledger.h"
#include "app/SlipPainter.h"
#include "audit/auditread.h"
#include "core/model/text.h"
#include "gui/main/Shell.h"
#include "gui/tools/PagePainter.h"
#include "reports/reportresult.h"
#include "settings/options.h"
#include "app/bookreader.h"

#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QShortcut>

namespace varnoth
{

BillWindow::BillWindow(AppContext& context, QWidget* parent)
    : SecondaryWindow(context, WindowId::Bill, parent), Label1(new QLabel(CustomerLabelText, this)),
      Combo1(new QComboBox(this)), Command1(new QPushButton(ShowBillCaption, this)),
      Command2(new QPushButton(PrintBillCaption, this)), Command3(new QPushButton(PdfBillCaption, this)),
      Command4(new QPushButton(PngBillCaption, this)), Label2(new QLabel(AmountLabelText, this)),
      Text1(new QLineEdit(this)), Command5(new QPushButton(PayAmountCaption, this)),
      Command6(new QPushButton(PayAllCaption, this)), Command7(new QPushButton(OwedTitle, this)),
      Command8(new QPushButton(CopyPictureCaption, this)), Label3(new QLabel(SealFieldLabel, this)),
      Text2(new QLineEdit(this)), Command9(new QPushButton(SealCheckCaption, this)), Label4(new QLabel(this)),
      Command10(new QPushButton(EntrySlipCaption, this))
{
    setObjectName(QStringLiteral("BillWindow"));
    setWindowTitle(BillWindowTitle);
    const std::pair<QWidget*, const char*> names[] = {
        {Label1, "Label1"},      {Combo1, "Combo1"},     {Command1, "Command1"}, {Command2, "Command2"},
        {Command3, "Command3"},  {Command4, "Command4"}, {Label2, "Label2"},     {Text1, "Text1"},
        {Command5, "Command5"},  {Command6, "Command6"}, {Command7, "Command7"}, {Command8, "Command8"},
        {Label3, "Label3"},      {Text2, "Text2"},       {Command9, "Command9"}, {Label4, "Label4"},
        {Command10, "Command10"}};
    for (const auto& [widget, name] : names)
        widget->setObjectName(QString::fromLatin1(name));
    // The book's customers and "ทั้งหมด" to pick from; a name typed completes to one of them.
    takeTypedOnEnter(Combo1, [this] { Command1->click(); });
    fillPicker(Combo1, ctx.book.customers(), true);
    for (QPushButton* b :
         {Command1, Command2, Command3, Command4, Command5, Command6, Command7, Command8, Command9, Command10})
        b->setAutoDefault(false);

    place(Label1, 120, 120, 4200, 240);
    place(Combo1, 120, 360, 4200, 360);
    place(Command1, 120, 840, 2050, 400);
    place(Command2, 2270, 840, 2050, 400);
    place(Command3, 120, 1320, 2050, 400);
    place(Command4, 2270, 1320, 2050, 400);
    place(Command8, 120, 1800, 2050, 400);
    place(Command10, 2270, 1800, 2050, 400);
    place(Label2, 120, 2400, 4200, 240);
    place(Text1, 120, 2640, 4200, 360);
    place(Command5, 120, 3120, 2050, 400);
    place(Command6, 2270, 3120, 2050, 400);
    place(Command7, 120, 3720, 4200, 400);
    place(Label3, 120, 4320, 4200, 240);
    place(Text2, 120, 4560, 2900, 360);
    place(Command9, 3120, 4540, 1200, 400);
    place(Label4, 120, 5040, 4200, 480);
    Label4->setWordWrap(true);

    connect(Command1, &QPushButton::clicked, this, &BillWindow::showBills);
    connect(Command2, &QPushButton::clicked, this, &BillWindow::printBills);
    connect(Command3, &QPushButton::clicked, this, &BillWindow::saveBillsPdf);
    connect(Command4, &QPushButton::clicked, this, &BillWindow::saveBillPictures);
    connect(Command5, &QPushButton::clicked, this, [this] { pay(false); });
    connect(Command6, &QPushButton::clicked, this, [this] { pay(true); });
    connect(Command7, &QPushButton::clicked, this, &BillWindow::showOwed);
    connect(Text1, &QLineEdit::returnPressed, Command5, &QPushButton::click);
    connect(Command8, &QPushButton::clicked, this, &BillWindow::copyPicture);
    connect(Command9, &QPushButton::clicked, this, &BillWindow::checkSeal);
    connect(Command10, &QPushButton::clicked, this, &BillWindow::printEntrySlip);
    connect(Text2, &QLineEdit::returnPressed, Command9, &QPushButton::click);
    // Ctrl+C copies the picture; in a text box it copies the box's text, as everywhere.
    auto* copy = new QShortcut(QKeySequence::Copy, this);
    copy->setContext(Qt::WindowShortcut);
    connect(copy, &QShortcut::activated, this, &BillWindow::copyPicture);
}

BillWindow::Picked BillWindow::picked()
{
    Picked p;
    const QString customer = Combo1->currentText().trimmed();
    if (customer.isEmpty()) {
        // Nothing to make a bill of: the operator is told what to pick.
        say({ChooseCustomerText});
        return p;
    }
    // Each bill is sealed with the log as it stands when the bill is made.
    AuditIndex log;
    if (!log.load(ctx.ledger.auditLogPath())) {
        say({ReadFailedText + QDir::toNativeSeparators(ctx.ledger.auditLogPath())});
        return p;
    }
    const AuditHead head = auditHead(log);
    const BillLayout layout = ctx.book.billLayout();
    for (const Statement& s : ctx.book.statements(customer)) {
        p.pages << sealedBillLines(s, head, {}, layout);
        p.customers << s.bill.customer;
    }
    return p;
}

void BillWindow::say(const QStringList& lines)
{
    if (ctx.shell) ctx.shell->addLines(lines);
}

void BillWindow::showBills()
{
    const Picked p = picked();
    if (p.pages.isEmpty()) {
        Combo1->setFocus();
        if (Combo1->currentText().trimmed() == AllChoice && ctx.shell) {
            ctx.shell->clearList();
            say({NoCustomersText});
        }
        return;
    }
    if (!ctx.shell) return;
    ctx.shell->clearList();
    for (const QStringList& page : p.pages)
        say(page);
    // A damaged accounts file is named even where the bills shown are whole.
    const QStringList shown = ctx.shell->listRows();
    for (const QString& line : ctx.book.accountsDamage())
        if (!shown.contains(line)) say({line});
}

bool BillWindow::onRoll() const
{
    PaperWidth width = PaperWidth::A4;
    return paperWidthFromText(ctx.book.option(option::PaperWidth), width) && width != PaperWidth::A4;
}

void BillWindow::printSlips(const Picked& p, const QDateTime& now)
{
    PaperWidth width = PaperWidth::A4;
    paperWidthFromText(ctx.book.option(option::PaperWidth), width);
    const SlipHeader header{ctx.book.option(option::ShopName), {}, now, ctx.ledger.operatorName()};
    const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
    if (!printerInfo.isNull()) {
        // Trouble at a printer is for the print system to show.
        QPrinter printer(printerInfo, QPrinter::HighResolution);
        printer.setFullPage(true);
        if (!paintSlips(printer, printer.resolution(), p.pages, header, width))
            say({NoPrinterText + printerInfo.printerName()});
        return;
    }
    const QString path = printoutPath(ctx.book.printoutsPlace(), now, QStringLiteral("slip"));
    if (path.isEmpty() || !writeSlipsPdf(p.pages, header, width, path)) {
        say({WriteFailedText +
             QDir::toNativeSeparators(path.isEmpty() ? printoutsFolder(ctx.book.printoutsPlace()) : path)});
        return;
    }
    if (ctx.shell) ctx.shell->showStatus(PrintedToPdfText + QDir::toNativeSeparators(path));
}

void BillWindow::printBills()
{
    const Picked p = picked();
    if (p.pages.isEmpty()) return Combo1->setFocus();
    printPages(p);
}

void BillWindow::printEntrySlip()
{
    const QString customer = CleanName(Combo1->currentText().trimmed());
    if (customer.isEmpty() || customer == AllChoice) return Combo1->setFocus();
    AuditIndex log;
    if (!log.load(ctx.ledger.auditLogPath())) {
        say({ReadFailedText + QDir::toNativeSeparators(ctx.ledger.auditLogPath())});
        return;
    }
    const EntrySlip slip = entrySlip(log, customer);
    if (ctx.shell) ctx.shell->clearList();
    if (slip.entry == 0) return say(slip.lines);
    // Under the bets the seal of his bill as it stands with them.
    Picked p;
    p.pages << slip.lines;
    p.customers << customer;
    const QList<Statement> statements = ctx.book.statements(customer);
    if (!statements.isEmpty()) p.pages.first() << SealLineText + billSeal(auditHead(log), statements.first());
    say(p.pages.first());
    printPages(p);
}

void BillWindow::printPages(const Picked& p)
{
    if (onRoll()) return printSlips(p, QDateTime::currentDateTime());
    const BillHeader header = ctx.book.billHeader(QDateTime::currentDateTime());
    const auto build = [p, header](const PageGeometry& g) { return billsJob(p.pages, p.customers, g, header); };
    const PrintOutcome outcome = printOnDefault(build, 10, ctx.book.printoutsPlace(), QStringLiteral("bill"));
    say(outcome.failures);
    if (!outcome.pdfPath.isEmpty() && ctx.shell)
        ctx.shell->showStatus(PrintedToPdfText + QDir::toNativeSeparators(outcome.pdfPath));
}

void BillWindow::saveBillsPdf()
{
    const Picked p = picked();
    if (p.pages.isEmpty()) return Combo1->setFocus();
    const QDateTime now = QDateTime::currentDateTime();
    // The operator picks where it goes, starting with a new dated name among the other printouts.
    const QString path = pickBillsPdfPath(pickSaveFile, ctx.book.printoutsPlace(), now);
    if (path.isEmpty()) return;
    const BillHeader header = ctx.book.billHeader(now);
    PaperWidth width = PaperWidth::A4;
    paperWidthFromText(ctx.book.option(option::PaperWidth), width);
    const SlipHeader slip{header.shopName, header.drawLabel, now, ctx.ledger.operatorName()};
    const bool written = width == PaperWidth::A4 ? writeBillsPdf(p.pages, p.customers, header, path)
                                                 : writeSlipsPdf(p.pages, slip, width, path);
    if (!written) {
        say({WriteFailedText + QDir::toNativeSeparators(path)});
        return;
    }
    if (ctx.shell) ctx.shell->showStatus(SavedFileText + QDir::toNativeSeparators(path));
}

void BillWindow::saveBillPictures()
{
    const Picked p = picked();
    if (p.pages.isEmpty()) return Combo1->setFocus();
    const QDateTime now = QDateTime::currentDateTime();
    const BillHeader header = ctx.book.billHeader(now);
    const QString dataFolder = ctx.book.printoutsPlace();
    if (Combo1->currentText().trimmed() != AllChoice) {
        // One customer's picture: the operator picks its file.
        QString stem = billImageName(p.customers.first());
        stem.chop(4); // ".png"
        const QString proposed = printoutPath(dataFolder, now, stem, QStringLiteral(".png"));
        QString path =
            pickSaveFile(PngBillCaption, proposed.isEmpty() ? printoutsFolder(dataFolder) : proposed, PngFilterText);
        if (path.isEmpty()) return;
        path = withSuffix(path, QStringLiteral(".png"));
        const BillPictures written = writeBillPng(p.pages.first(), header, path);
        if (!written.ok()) {
            say({WriteFailedText + QDir::toNativeSeparators(written.failed)});
            return;
        }
        if (ctx.shell) ctx.shell->showStatus(SavedFileText + QDir::toNativeSeparators(written.written.join(u' ')));
        return;
    }
    // Everyone's pictures go into a new folder in the one the operator picks, named like the other
    // printouts, so that pictures sent earlier stay.
    QString start = printoutsFolder(dataFolder);
    if (!QDir().mkpath(start)) start = dataFolder;
    const QString chosen = pickFolder(PictureFolderTitle, start);
    if (chosen.isEmpty()) return;
    const QString folder =
        QDir(chosen).filePath(now.toString(QStringLiteral("yyyy-MM-dd_hhmmss_")) + QStringLiteral("bills"));
    if (!QDir().mkpath(folder)) {
        say({WriteFailedText + QDir::toNativeSeparators(folder)});
        return;
    }
    for (qsizetype i = 0; i < p.pages.size(); ++i) {
        const QString path = QDir(folder).filePath(billImageName(p.customers[i]));
        if (const BillPictures written = writeBillPng(p.pages[i], header, path); !written.ok()) {
            say({WriteFailedText + QDir::toNativeSeparators(written.failed)});
            return;
        }
    }
    if (ctx.shell) ctx.shell->showStatus(SavedFileText + QDir::toNativeSeparators(folder));
}

void BillWindow::pay(bool all)
{
    const QString customer = Combo1->currentText().trimmed();
    if (customer.isEmpty() || customer == AllChoice) return Combo1->setFocus();
    const QString amount = all ? QString() : Text1->text();
    const QDateTime now = QDateTime::currentDateTime();
    // Money is recorded only once the operator has seen whose it is and how much, and, when it is
    // more than is due, by how much.
    const PaymentResult plan = ctx.ledger.planPayment(customer, amount, now);
    if (!plan.refusal.isEmpty()) {
        say(plan.lines);
        if (!all) Text1->setFocus();
        return;
    }
    QString question = paymentText(plan.payment);
    if (plan.overpay) question += QLatin1Char('\n') + MoreThanDueText + balanceText(plan.due);
    question += QLatin1Char('\n') + PaymentQuestionText;
    if (!askStoreAnyway(this, PaymentQuestionTitle, question, QStringLiteral("PaymentQuestion"))) return;
    const PaymentResult result = ctx.ledger.recordPayment(customer, amount, now, plan.overpay);
    if (!result.recorded()) {
        say(result.lines);
        if (!all) Text1->setFocus();
        return;
    }
    // The bill as it now stands, with the payment just taken under it.
    Text1->clear();
    showBills();
    say(result.lines);
}

void BillWindow::showOwed()
{
    if (!ctx.shell) return;
    ctx.shell->clearList();
    say(owedLines(ctx.book.owed()));
}

void BillWindow::copyPicture()
{
    const Picked p = picked();
    if (p.pages.isEmpty()) return Combo1->setFocus();
    if (p.pages.size() > 1) {
        say({OneCustomerForCopyText});
        return Combo1->setFocus();
    }
    const BillHeader header = ctx.book.billHeader(QDateTime::currentDateTime());
    // A long bill is several pictures: on the clipboard they stand one under the other, as one.
    const QImage whole = billImageWhole(p.pages.first(), header);
    if (whole.isNull()) return;
    QGuiApplication::clipboard()->setImage(whole);
    if (ctx.shell) ctx.shell->showStatus(PictureCopiedText);
}

void BillWindow::checkSeal()
{
    const QString code = Text2->text().trimmed();
    if (code.isEmpty()) return Text2->setFocus();
    AuditIndex log;
    if (!log.load(ctx.ledger.auditLogPath())) {
        Label4->setText(ReadFailedText + QDir::toNativeSeparators(ctx.ledger.auditLogPath()));
        return;
    }
    const SealCheck check = ctx.book.checkSeal(log, code);
    Label4->setText(check.lines.value(0));
    // Green only when the bill still holds; every other finding is for the operator to look at.
    Label4->setStyleSheet(check.holds() ? QStringLiteral("color: #006e00;") : QStringLiteral("color: #a00000;"));
    if (ctx.shell) {
        ctx.shell->clearList();
        say(check.lines);
    }
}

void BillWindow::setUp()
{
    // The list as the book stands now; what the operator had picked stays.
    const QString picked = Combo1->currentText();
    fillPicker(Combo1, ctx.book.customers(), true);
    Combo1->setEditText(picked);
}

void BillWindow::refillPickLists(const QStringList& types, const QStringList& customers)
{
    Q_UNUSED(types);
    const QString picked = Combo1->currentText();
    fillPicker(Combo1, customers, true);
    Combo1->setEditText(picked);
}

} // namespace varnoth
