#include "gui/accounts/DealersWindow.h"

#include "accounts/accounttexts.h"
#include "accounts/dealers.h"
#include "accounts/dealersent.h"
#include "accounts/dealerstatement.h"
#include "accounts/dealertexts.h"
#include "accounts/exporttexts.h"
#include "app/BillPainter.h"
#include "app/bookreader.h"
#include "app/Ledger.h"
#include "core/model/types.h"

#include <QClipboard>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <cmath>

namespace varnoth
{

namespace
{

QPushButton* button(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QLineEdit* field(QWidget* parent, const char* name)
{
    auto* f = new QLineEdit(parent);
    f->setObjectName(QString::fromLatin1(name));
    return f;
}

// The picked dealer with the record of the lists sent to the dealers; a refusal line instead.
struct Picked {
    Dealer dealer;
    DealerLists lists;
    QStringList refusal;
};

Picked pickDealer(const BookReader& book, const QString& name)
{
    Picked p;
    if (name.isEmpty()) {
        p.refusal << DealerPickFirstText;
        return p;
    }
    const Dealers dealers = book.dealers();
    if (!dealers.outcome.ok()) {
        p.refusal << dealers.problem;
        return p;
    }
    const Dealer* d = dealers.find(name);
    if (!d) {
        p.refusal << DealerUnknownText + name;
        return p;
    }
    p.dealer = *d;
    p.lists = book.dealerLists();
    if (!p.lists.outcome.ok()) p.refusal << p.lists.problem;
    return p;
}

} // namespace

DealersWindow::DealersWindow(AppContext& context, QWidget* parent)
    : SecondaryWindow(context, WindowId::Dealers, parent), List1(new QListWidget(this)), Name1(field(this, "Name1")),
      Type1(new QComboBox(this)), Payout1(field(this, "Payout1")), Discount1(field(this, "Discount1")),
      Cap1(field(this, "Cap1")), Save1(button(this, "Save1", DealerSaveCaption)),
      Up1(button(this, "Up1", DealerUpCaption)), Down1(button(this, "Down1", DealerDownCaption)),
      Statement1(button(this, "Statement1", DealerStatementCaption)), Chat1(button(this, "Chat1", DealerChatCaption)),
      Picture1(button(this, "Picture1", CopyPictureCaption)),
      Amount1(field(this, "Amount1")), Pay1(button(this, "Pay1", DealerPayCaption)), Text1(new QPlainTextEdit(this)),
      Message1(new QLabel(this))
{
    setObjectName(QStringLiteral("DealersWindow"));
    setWindowTitle(DealersTitle);
    List1->setObjectName(QStringLiteral("List1"));
    Type1->setObjectName(QStringLiteral("Type1"));
    Text1->setObjectName(QStringLiteral("Text1"));
    Message1->setObjectName(QStringLiteral("Message1"));
    Type1->addItems(typeNames());
    Text1->setReadOnly(true);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Message1->setWordWrap(true);
    Amount1->setPlaceholderText(PayAllCaption);

    connect(List1, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> picked = List1->selectedItems();
        if (picked.isEmpty()) return;
        Name1->setText(picked.first()->data(Qt::UserRole).toString());
        showTerms();
        showStatement();
    });
    connect(Type1, &QComboBox::currentIndexChanged, this, [this] { showTerms(); });
    connect(Save1, &QPushButton::clicked, this, [this] { save(); });
    connect(Up1, &QPushButton::clicked, this, [this] { move(-1); });
    connect(Down1, &QPushButton::clicked, this, [this] { move(1); });
    connect(Statement1, &QPushButton::clicked, this, [this] { showStatement(); });
    connect(Chat1, &QPushButton::clicked, this, [this] { copyChat(); });
    connect(Picture1, &QPushButton::clicked, this, [this] { copyPicture(); });
    connect(Pay1, &QPushButton::clicked, this, [this] { pay(); });
    connect(Amount1, &QLineEdit::returnPressed, this, [this] { pay(); });

    auto* order = new QVBoxLayout;
    order->addWidget(Up1);
    order->addWidget(Down1);
    order->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(List1, 1);
    top->addLayout(order);

    auto* terms = new QGridLayout;
    terms->addWidget(new QLabel(DealerNameLabel, this), 0, 0);
    terms->addWidget(Name1, 0, 1);
    terms->addWidget(new QLabel(DealerTypeLabel, this), 0, 2);
    terms->addWidget(Type1, 0, 3);
    terms->addWidget(new QLabel(DealerPayoutLabel, this), 1, 0);
    terms->addWidget(Payout1, 1, 1);
    terms->addWidget(new QLabel(DealerDiscountLabel, this), 1, 2);
    terms->addWidget(Discount1, 1, 3);
    terms->addWidget(new QLabel(DealerCapLabel, this), 2, 0);
    terms->addWidget(Cap1, 2, 1);
    terms->addWidget(Save1, 2, 3);

    auto* account = new QHBoxLayout;
    account->addWidget(Statement1);
    account->addWidget(Chat1);
    account->addWidget(Picture1);
    account->addStretch();
    account->addWidget(new QLabel(DealerAmountLabel, this));
    account->addWidget(Amount1);
    account->addWidget(Pay1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(terms);
    layout->addWidget(Text1, 3);
    layout->addLayout(account);
    layout->addWidget(Message1);
    reload();
}

QString DealersWindow::printableText() const
{
    return Text1->toPlainText();
}

void DealersWindow::reload()
{
    // The dealer in the name box (the one just saved, moved or picked) stays picked.
    const QString keep = dealerName(Name1->text());
    const QSignalBlocker quiet(List1);
    List1->clear();
    const Dealers dealers = ctx.book.dealers();
    if (!dealers.problem.isEmpty()) Message1->setText(dealers.problem);
    for (const Dealer& d : dealers.items) {
        QStringList terms = dealerLines(Dealers{{d}, {}, {}, {}});
        for (QString& t : terms)
            t = t.mid(d.name.size() + 1); // each line starts with his name
        auto* item = new QListWidgetItem(d.name + QStringLiteral("   ") + terms.join(QStringLiteral(" | ")), List1);
        item->setData(Qt::UserRole, d.name);
        if (d.name == keep) List1->setCurrentItem(item);
    }
}

QString DealersWindow::pickedName() const
{
    const QList<QListWidgetItem*> picked = List1->selectedItems();
    return picked.isEmpty() ? QString() : picked.first()->data(Qt::UserRole).toString();
}

void DealersWindow::showTerms()
{
    const Dealers dealers = ctx.book.dealers();
    const Dealer* d = dealers.find(dealerName(Name1->text()));
    const DealerTerms* t = d ? d->termsFor(Type1->currentText()) : nullptr;
    Payout1->setText(t ? t->payout : QString());
    Discount1->setText(t ? t->discount : QString());
    Cap1->setText(t ? t->cap : QString());
}

void DealersWindow::say(const QStringList& lines)
{
    Message1->setText(lines.join(QLatin1Char('\n')));
}

void DealersWindow::save()
{
    const DealerChange change = ctx.ledger.addDealer(
        Name1->text(), {{Type1->currentText(), Payout1->text(), Discount1->text(), Cap1->text()}});
    say(change.lines);
    if (!change.ok()) return Name1->setFocus();
    Name1->setText(change.after.name);
    reload();
}

void DealersWindow::move(int by)
{
    const QString name = pickedName();
    if (name.isEmpty()) return say({DealerPickFirstText});
    const DealerChange change = ctx.ledger.moveDealer(name, by);
    say(change.lines);
    reload();
}

void DealersWindow::showStatement()
{
    const Picked p = pickDealer(ctx.book, dealerName(Name1->text()));
    if (!p.refusal.isEmpty()) {
        Text1->clear();
        return say(p.refusal);
    }
    const DealerAccount account = ctx.book.dealerAccount(p.dealer, p.lists);
    Text1->setPlainText(accountLines(account).join(QLatin1Char('\n')));
    m_chat = accountChatText(account);
    say({});
}

void DealersWindow::copyChat()
{
    showStatement();
    if (Text1->toPlainText().isEmpty()) return;
    QGuiApplication::clipboard()->setText(m_chat);
    say({DealerChatCopiedText});
}

void DealersWindow::copyPicture()
{
    showStatement();
    const QStringList lines = Text1->toPlainText().split(QLatin1Char('\n'));
    if (Text1->toPlainText().isEmpty()) return;
    BillHeader header = ctx.book.billHeader(QDateTime::currentDateTime());
    header.heading = StatementHead;
    // A long statement is several pictures: on the clipboard they stand one under the other.
    const QImage whole = billImageWhole(lines, header);
    if (whole.isNull()) return;
    QGuiApplication::clipboard()->setImage(whole);
    say({DealerPictureCopiedText});
}

void DealersWindow::pay()
{
    const QString name = dealerName(Name1->text());
    const QString amount = Amount1->text().trimmed();
    const QDateTime now = QDateTime::currentDateTime();
    // As with a customer's payment: the operator sees to whom and how much, and by how much it is
    // more than is due, before the money is recorded.
    const PaymentResult plan = ctx.book.planDealerPayment(name, amount, now, true);
    if (!plan.refusal.isEmpty()) {
        say(plan.lines);
        return Amount1->setFocus();
    }
    QString question = paymentText(plan.payment);
    if (plan.overpay) question += QLatin1Char('\n') + MoreThanDueText + dealerOwingText(std::llround(plan.due * 100));
    question += QLatin1Char('\n') + PaymentQuestionText;
    if (!askStoreAnyway(this, PaymentQuestionTitle, question, QStringLiteral("PaymentQuestion"))) return;
    const PaymentResult result = ctx.ledger.recordDealerPayment(name, amount, now, plan.overpay);
    if (!result.recorded()) {
        say(result.lines);
        return Amount1->setFocus();
    }
    Amount1->clear();
    showStatement();
    say(result.lines);
}

} // namespace varnoth
