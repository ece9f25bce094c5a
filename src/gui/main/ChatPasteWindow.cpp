#include "gui/main/ChatPasteWindow.h"

#include "app/Ledger.h"
#include "core/model/customername.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "entry/chattexts.h"
#include "gui/main/Shell.h"
#include "gui/main/session.h"
#include "storage/folder/store.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTextBlock>
#include <QVBoxLayout>

namespace varnoth
{

namespace
{

const QColor Red(200, 0, 0);
const QColor Grey(110, 110, 110);
const QColor Ink(0, 0, 0);

QString describe(const ChatLine& line)
{
    switch (line.kind) {
    case ChatLineKind::Customer:
        return ChatCustomerRowText;
    case ChatLineKind::Heading:
        return ChatHeadingRowText;
    case ChatLineKind::Total:
        return ChatTotalRowText;
    case ChatLineKind::Bets:
        return ChatAmountAboveRowText; // "ตัวละ 50" under a row of numbers: the bets are on their lines
    default:
        return {};
    }
}

} // namespace

void ChatModel::setParse(const ChatParse* parse)
{
    beginResetModel();
    m_parse = parse;
    m_rows.clear();
    for (int i = 0; parse && i < parse->lines.size(); ++i) {
        const ChatLine& line = parse->lines[i];
        if (line.kind == ChatLineKind::Empty) continue;
        if (line.kind == ChatLineKind::Bets && !line.bets.isEmpty()) {
            for (int b = 0; b < line.bets.size(); ++b)
                m_rows.append({i, b});
        } else {
            m_rows.append({i, -1});
        }
    }
    endResetModel();
}

int ChatModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ChatModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ChatModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
    case LineColumn:
        return ChatLineColumn;
    case TypeColumn:
        return ChatTypeColumn;
    case NumberColumn:
        return ChatNumberColumn;
    case AmountColumn:
        return ChatAmountColumn;
    default:
        return {};
    }
}

QVariant ChatModel::data(const QModelIndex& index, int role) const
{
    if (!m_parse || !index.isValid() || index.row() >= m_rows.size()) return {};
    const Row& row = m_rows[index.row()];
    const ChatLine& line = m_parse->lines[row.line];
    const bool red = line.kind == ChatLineKind::NotUnderstood;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (index.column() == LineColumn) return row.bet <= 0 ? line.text : QString();
        if (row.bet < 0) {
            if (index.column() != TypeColumn) return {};
            return red ? ChatNotUnderstoodText + QStringLiteral(": ") + chatProblemText(line.problem) : describe(line);
        }
        if (index.column() == TypeColumn) return line.bets[row.bet].type;
        if (index.column() == NumberColumn) return line.bets[row.bet].number;
        return formatCount(Val(line.bets[row.bet].amount));
    case Qt::ForegroundRole:
        return red ? Red : row.bet < 0 ? Grey : Ink;
    case Qt::TextAlignmentRole:
        return index.column() >= NumberColumn ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    default:
        return {};
    }
}

Qt::ItemFlags ChatModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_parse && index.isValid() && index.column() == LineColumn && index.row() < m_rows.size() &&
        m_parse->lines[m_rows[index.row()].line].kind == ChatLineKind::NotUnderstood)
        f |= Qt::ItemIsEditable;
    return f;
}

bool ChatModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
    const int line = m_rows[index.row()].line;
    const QString text = value.toString();
    // The rows are made again from the message; let the editor that sent this finish first.
    QTimer::singleShot(0, this, [this, line, text] { emit lineEdited(line, text); });
    return true;
}

ChatPasteWindow::ChatPasteWindow(AppContext& context, QWidget* parent)
    : SecondaryWindow(context, WindowId::ChatPaste, parent), Combo1(new QComboBox(this)), Combo2(new QComboBox(this)),
      Text1(new QPlainTextEdit(this)), Grid1(new QTableView(this)), Label1(new QLabel(this)), Label2(new QLabel(this)),
      Command1(new QPushButton(ChatCommitText, this)), Command2(new QPushButton(ChatClearText, this)),
      m_model(new ChatModel(this))
{
    setObjectName(QStringLiteral("ChatPasteWindow"));
    setWindowTitle(ChatWindowTitle);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Text1->setObjectName(QStringLiteral("Text1"));
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2->setObjectName(QStringLiteral("Command2"));
    Command1->setAutoDefault(false);
    Command2->setAutoDefault(false);

    Combo1->addItem(QString());
    Combo1->addItems(typeNames());
    Combo1->setMaxVisibleItems(13);
    Combo2->setEditable(true);
    Combo2->setInsertPolicy(QComboBox::NoInsert);
    fillPicker(Combo2, ctx.store.customers(), false);

    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setPlaceholderText(ChatPasteLabel);
    Grid1->setModel(m_model);
    Grid1->verticalHeader()->hide();
    // Fixed row heights and column widths: the view never measures 30,000 rows.
    Grid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Grid1->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    QHeaderView* columns = Grid1->horizontalHeader();
    columns->setSectionResizeMode(ChatModel::LineColumn, QHeaderView::Stretch);
    const QFontMetrics fm = fontMetrics();
    const int pad = 16;
    columns->resizeSection(ChatModel::TypeColumn, fm.horizontalAdvance(QStringLiteral("3ตัวโต๊ดหัว")) + pad);
    columns->resizeSection(ChatModel::NumberColumn, fm.horizontalAdvance(ChatNumberColumn + QStringLiteral("0")) + pad);
    columns->resizeSection(ChatModel::AmountColumn, fm.horizontalAdvance(QStringLiteral("1,000,000")) + pad);
    Grid1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    Grid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid1->setWordWrap(false);
    Label1->setWordWrap(true);

    auto* pair = new QHBoxLayout;
    pair->addWidget(new QLabel(ChatTypeLabel, this));
    pair->addWidget(Combo1, 1);
    pair->addWidget(new QLabel(ChatCustomerLabel, this));
    pair->addWidget(Combo2, 1);
    pair->addWidget(Label2, 1);

    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    auto* hint = new QLabel(ChatResultLabel + QStringLiteral(" (") + ChatEditHint + QLatin1Char(')'), right);
    rightLayout->addWidget(hint);
    rightLayout->addWidget(Grid1, 1);
    auto* left = new QWidget(this);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(new QLabel(ChatPasteLabel, left));
    leftLayout->addWidget(Text1, 1);
    auto* split = new QSplitter(this);
    split->addWidget(left);
    split->addWidget(right);
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 3);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Label1, 1);
    buttons->addWidget(Command2);
    buttons->addWidget(Command1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pair);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);

    hoverHighlight(Command1, QColor(255, 192, 192), {Command2});
    hoverHighlight(Command2, QColor(255, 192, 192), {Command1});

    // A long paste is read once the operator stops typing, not at every key.
    m_reread.setSingleShot(true);
    m_reread.setInterval(150);
    connect(&m_reread, &QTimer::timeout, this, &ChatPasteWindow::reread);
    connect(Text1, &QPlainTextEdit::textChanged, &m_reread, qOverload<>(&QTimer::start));
    connect(Combo1, &QComboBox::currentIndexChanged, this, &ChatPasteWindow::reread);
    connect(m_model, &ChatModel::lineEdited, this, &ChatPasteWindow::replaceLine);
    connect(Command1, &QPushButton::clicked, this, &ChatPasteWindow::commit);
    connect(Command2, &QPushButton::clicked, this, [this] {
        Text1->clear();
        reread();
        Text1->setFocus();
    });
    reread();
}

void ChatPasteWindow::setUp()
{
    Text1->setFocus();
    if (!Text1->toPlainText().isEmpty() || !ctx.shell) return;
    const int type = Combo1->findText(ctx.shell->keyedType());
    if (type > 0) Combo1->setCurrentIndex(type);
    if (Combo2->currentText().isEmpty()) Combo2->setEditText(ctx.shell->keyedCustomer());
}

void ChatPasteWindow::refillPickLists(const QStringList& types, const QStringList& customers)
{
    Q_UNUSED(types); // every type can stand in a message
    const QString shown = Combo2->currentText();
    fillPicker(Combo2, customers, false);
    const QSignalBlocker block(Combo2);
    Combo2->setEditText(shown);
}

std::optional<std::pair<QString, QString>> ChatPasteWindow::keyedPair() const
{
    return std::pair{Combo1->currentText(), customer()};
}

QString ChatPasteWindow::customer() const
{
    const QString typed = customerName(Combo2->currentText());
    return typed.isEmpty() ? m_parse.customer : typed;
}

void ChatPasteWindow::reread()
{
    m_reread.stop();
    m_parse = parseChat(Text1->toPlainText(), Combo1->currentText());
    showParse();
}

void ChatPasteWindow::showParse()
{
    m_model->setParse(&m_parse);
    // The note of a line without bets (why it was not understood) is longer than a type: it runs on
    // over the number and amount columns.
    Grid1->clearSpans();
    for (int row = 0; row < m_model->rowCount(); ++row)
        if (!m_model->holdsBet(row)) Grid1->setSpan(row, ChatModel::TypeColumn, 1, 3);

    const qsizetype count = m_parse.bets().size();
    const qsizetype unread = m_parse.notUnderstood().size();
    QString summary = ChatSummaryText.arg(count).arg(formatCount(m_parse.total));
    if (m_parse.hasStatedTotal) summary += ChatStatedTotalText.arg(formatCount(m_parse.statedTotal));
    if (m_parse.totalMismatch()) summary += ChatTotalMismatchText;
    if (unread > 0) summary += ChatNotUnderstoodCountText.arg(unread);
    Label1->setText(summary);
    const bool warn = m_parse.totalMismatch() || unread > 0;
    Label1->setStyleSheet(warn ? QStringLiteral("color: rgb(200,0,0); font-weight: bold;") : QString());
    Label2->setText(m_parse.customer.isEmpty() ? QString() : ChatCustomerFoundText + m_parse.customer);
    Combo2->lineEdit()->setPlaceholderText(m_parse.customer);
    Command1->setEnabled(count > 0);
}

void ChatPasteWindow::replaceLine(int line, const QString& text)
{
    QTextBlock block = Text1->document()->findBlockByNumber(line);
    if (!block.isValid()) return;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(text);
    reread();
}

void ChatPasteWindow::commit()
{
    reread();
    const QList<ChatBet> bets = m_parse.bets();
    if (bets.isEmpty()) {
        Label1->setText(ChatNothingText);
        return;
    }
    const QString name = customer();
    if (name.isEmpty()) {
        Label1->setText(ChatNoCustomerText);
        Label1->setStyleSheet(QStringLiteral("color: rgb(200,0,0); font-weight: bold;"));
        Combo2->setFocus();
        return;
    }
    // The message stays in the box while the name is put right.
    if (const QString refusal = customerNameRefusal(name); !refusal.isEmpty()) {
        Label1->setText(refusal);
        Label1->setStyleSheet(QStringLiteral("color: rgb(200,0,0); font-weight: bold;"));
        Combo2->setFocus();
        return;
    }
    if (m_parse.totalMismatch()) {
        const QString question = ChatMismatchQuestion.arg(formatCount(m_parse.total), formatCount(m_parse.statedTotal));
        if (!askStoreAnyway(this, ChatWindowTitle, question, QStringLiteral("TotalMismatchBox"))) return;
    }
    const QString lateQuestion = ctx.ledger.afterResultQuestion();
    if (!lateQuestion.isEmpty() && !askAfterResult(this, lateQuestion)) return;
    const EntryResult entered = ctx.ledger.enterChat(bets, name, !lateQuestion.isEmpty());
    // The main list now shows the paste, not the pair being keyed: its next entry shows its header.
    ctx.session.HeaderFlag = false;
    if (ctx.shell) {
        ctx.shell->clearList();
        ctx.shell->addLines(entered.lines);
        ctx.shell->refreshPickLists();
    }
    Text1->clear();
    reread();
    Text1->setFocus();
}

} // namespace varnoth
