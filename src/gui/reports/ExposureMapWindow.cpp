#include "gui/reports/ExposureMapWindow.h"

#include "app/Ledger.h"
#include "core/model/text.h"
#include "core/model/types.h"
#include "gui/main/Shell.h"
#include "settings/numberruletexts.h"
#include "app/bookreader.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace varnoth
{

// --- model ---------------------------------------------------------------------------------------

void ExposureModel::setExposure(Exposure exposure)
{
    beginResetModel();
    m_exposure = std::move(exposure);
    m_tips.clear();
    endResetModel();
}

const ExposureCell* ExposureModel::cell(const QModelIndex& index) const
{
    if (!index.isValid()) return nullptr;
    const qsizetype i = static_cast<qsizetype>(index.row()) * m_exposure.columns + index.column();
    return i < m_exposure.cells.size() ? &m_exposure.cells[i] : nullptr;
}

int ExposureModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || m_exposure.cells.isEmpty()) return 0;
    return static_cast<int>((m_exposure.cells.size() + m_exposure.columns - 1) / m_exposure.columns);
}

int ExposureModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || m_exposure.cells.isEmpty() ? 0 : m_exposure.columns;
}

QColor ExposureModel::levelColour(ExposureLevel level)
{
    switch (level) {
    case ExposureLevel::None:
        return QColor(255, 255, 255);
    case ExposureLevel::UpToHalf:
        return QColor(200, 235, 200);
    case ExposureLevel::UpToLimit:
        return QColor(255, 230, 150);
    case ExposureLevel::Above:
        return QColor(255, 150, 150);
    }
    return {};
}

QVariant ExposureModel::data(const QModelIndex& index, int role) const
{
    const ExposureCell* c = cell(index);
    if (!c) return {};
    switch (role) {
    case Qt::DisplayRole: {
        QString number = c->number;
        if (c->payPercent != 100) number += QLatin1Char(' ') + QString::number(c->payPercent) + QLatin1Char('%');
        return c->stake > 0 ? number + QLatin1Char('\n') + formatCount(c->stake) : number;
    }
    case Qt::BackgroundRole:
        return levelColour(c->level);
    case Qt::ToolTipRole: {
        auto it = m_tips.constFind(c->number);
        if (it == m_tips.constEnd()) {
            QStringList lines{c->number + QStringLiteral(" รวม ") + formatAmount(c->stake) + QStringLiteral(" บาท")};
            if (c->excess > 0) lines << QStringLiteral("ส่งออก ") + formatAmount(c->excess) + QStringLiteral(" บาท");
            if (c->closed) lines << ClosedRuleText;
            if (!c->ownLimit.isEmpty()) lines << LimitRuleText.arg(formatCount(Val(c->ownLimit)));
            if (c->payPercent != 100) lines << PayRuleText.arg(c->payPercent);
            lines += m_book.customerStakes(m_exposure.type, c->number);
            it = m_tips.insert(c->number, lines.join(QLatin1Char('\n')));
        }
        return it.value();
    }
    case LevelRole:
        return static_cast<int>(c->level);
    case WinningRole:
        return c->winning;
    case StakeRole:
        return c->stake;
    case ClosedRole:
        return c->closed;
    case PayPercentRole:
        return c->payPercent;
    default:
        return {};
    }
}

// --- delegate: the cell's colour, a red frame round a winning number ----------------------------

namespace
{

class CellDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        painter->save();
        painter->fillRect(option.rect, index.data(Qt::BackgroundRole).value<QColor>());
        painter->setPen(QColor(60, 60, 60));
        painter->drawText(option.rect, Qt::AlignCenter, index.data(Qt::DisplayRole).toString());
        if (index.data(ExposureModel::ClosedRole).toBool()) {
            // A closed number is crossed out: it takes no new bet.
            painter->setPen(QPen(QColor(150, 0, 0), 1));
            const QRect r = option.rect.adjusted(3, 3, -3, -3);
            painter->drawLine(r.topLeft(), r.bottomRight());
            painter->drawLine(r.topRight(), r.bottomLeft());
        }
        if (index.data(ExposureModel::WinningRole).toBool()) {
            painter->setPen(QPen(Qt::red, 2));
            painter->drawRect(option.rect.adjusted(1, 1, -2, -2));
        }
        if (option.state & QStyle::State_Selected) {
            painter->setPen(QPen(Qt::blue, 1, Qt::DashLine));
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        }
        painter->restore();
    }
};

} // namespace

// --- window --------------------------------------------------------------------------------------

namespace
{

// A line of text that never makes the window wider than the screen: it wraps where it has blanks and
// gives up width rather than push the window past a small screen, where wide fonts (Windows' Thai
// fonts) would.
void fitToWidth(QLabel* label)
{
    label->setWordWrap(true);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

} // namespace

ExposureMapWindow::ExposureMapWindow(AppContext& context, QWidget* parent)
    : SecondaryWindow(context, WindowId::ExposureMap, parent), Combo1(new QComboBox(this)), Grid1(new QTableView(this)),
      List1(new QListWidget(this)), Label1(new QLabel(this)), Command1(new QPushButton(RulesPickerEntry, this)),
      m_model(new ExposureModel(ctx.book, this))
{
    setObjectName(QStringLiteral("ExposureMap"));
    setWindowTitle(QStringLiteral("ผังยอดเลข"));
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Grid1->setObjectName(QStringLiteral("Grid1"));
    List1->setObjectName(QStringLiteral("List1"));
    Label1->setObjectName(QStringLiteral("Label1"));
    fitToWidth(Label1);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAutoDefault(false);
    {
        const QSignalBlocker block(Combo1);
        Combo1->addItems(typeNames());
        Combo1->setCurrentIndex(-1);
    }
    Grid1->setModel(m_model);
    Grid1->setItemDelegate(new CellDelegate(Grid1));
    Grid1->horizontalHeader()->hide();
    Grid1->verticalHeader()->hide();
    Grid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    Grid1->verticalHeader()->setDefaultSectionSize(34);
    Grid1->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid1->setMouseTracking(true);

    // The legend in rows of three, so that the window still fits a screen of 800 × 600 with wide
    // Thai fonts.
    auto* legend = new QGridLayout;
    const std::pair<ExposureLevel, QString> levels[] = {{ExposureLevel::None, QStringLiteral("ไม่มียอด")},
                                                        {ExposureLevel::UpToHalf, QStringLiteral("ไม่เกินครึ่งวงเงินอั้น")},
                                                        {ExposureLevel::UpToLimit, QStringLiteral("ไม่เกินวงเงินอั้น")},
                                                        {ExposureLevel::Above, QStringLiteral("เกินอั้น ต้องส่งออก")}};
    int item = 0;
    for (const auto& [level, text] : levels) {
        auto* swatch = new QLabel(text, this);
        swatch->setAutoFillBackground(true);
        QPalette p = swatch->palette();
        p.setColor(QPalette::Window, ExposureModel::levelColour(level));
        swatch->setPalette(p);
        swatch->setFrameShape(QFrame::Box);
        fitToWidth(swatch);
        legend->addWidget(swatch, item / 3, item % 3);
        ++item;
    }
    auto* won = new QLabel(QStringLiteral("กรอบแดง = ถูกรางวัล"), this);
    won->setStyleSheet(QStringLiteral("color: red;"));
    fitToWidth(won);
    legend->addWidget(won, item / 3, item % 3);
    // The columns share the width: a label that gives up its own width gets its share of the window's.
    for (int column = 0; column < 3; ++column)
        legend->setColumnStretch(column, 1);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("ชนิดหวย"), this));
    top->addWidget(Combo1);
    top->addWidget(Label1, 1);
    top->addWidget(Command1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(Grid1, 4);
    middle->addWidget(List1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(legend);
    layout->addLayout(middle, 1);

    connect(Combo1, &QComboBox::currentIndexChanged, this, &ExposureMapWindow::refresh);
    connect(Grid1, &QTableView::clicked, this, &ExposureMapWindow::showCustomers);
    connect(Grid1, &QTableView::entered, this, &ExposureMapWindow::showCustomers);
    Grid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Grid1, &QTableView::customContextMenuRequested, this, [this](const QPoint& at) {
        if (QMenu* menu = ruleMenu(Grid1->indexAt(at))) {
            menu->exec(Grid1->viewport()->mapToGlobal(at));
            menu->deleteLater();
        }
    });
    connect(Command1, &QPushButton::clicked, this, [this] {
        if (ctx.shell) ctx.shell->openWindow(WindowId::NumberRules);
    });
    connect(&ctx.ledger, &Ledger::numberRulesChanged, this, &ExposureMapWindow::refresh);
    // The map follows every entry, edit, restore and new draw, from wherever it comes: it is built
    // again when the stakes of its type, the customers, the limits, the result or the number rules changed.
    ctx.ledger.followBook();
    connect(&ctx.ledger, &Ledger::bookTouched, this, [this](const Changes& what) {
        if (what.hasType(Combo1->currentText()) || what.customerList || what.hasSetting(BookSetting::Limit) ||
            what.hasSetting(BookSetting::Result) || what.hasSetting(BookSetting::Rules))
            refresh();
    });
}

void ExposureMapWindow::setUp()
{
    // Open on the type the operator is keying, when there is one.
    const QString keyed = ctx.shell ? ctx.shell->keyedType() : QString();
    const int i = Combo1->findText(keyed);
    if (i >= 0 && i != Combo1->currentIndex())
        Combo1->setCurrentIndex(i); // refreshes
    else if (Combo1->currentIndex() < 0)
        Combo1->setCurrentIndex(0);
    else
        refresh();
}

void ExposureMapWindow::refresh()
{
    const QString type = Combo1->currentText();
    m_model->setExposure(ctx.book.exposure(type));
    const Exposure& e = m_model->exposure();
    Label1->setText(QStringLiteral("ยอดรวม ") + formatAmount(e.total) + QStringLiteral(" บาท   วงเงินอั้น ") +
                    (e.limit.isEmpty() ? QStringLiteral("ยังไม่ได้ตั้ง") : e.limit) + QStringLiteral("   ต้องส่งออก ") +
                    formatAmount(e.totalExcess) + QStringLiteral(" บาท"));
    List1->clear();
}

void ExposureMapWindow::showCustomers(const QModelIndex& index)
{
    List1->clear();
    if (m_model->cell(index))
        List1->addItems(m_model->data(index, Qt::ToolTipRole).toString().split(QLatin1Char('\n')));
}

QMenu* ExposureMapWindow::ruleMenu(const QModelIndex& index)
{
    const ExposureCell* c = m_model->cell(index);
    if (!c) return nullptr;
    const QString number = c->number;
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("ruleMenu"));
    auto add = [menu](const char* name, const QString& text) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    connect(add("mapSetLimit", MapSetLimitAction), &QAction::triggered, this, [this, number] {
        QInputDialog box(this);
        box.setObjectName(QStringLiteral("MapLimitBox"));
        box.setWindowTitle(RulesWindowCaption);
        box.setLabelText(MapLimitPrompt.arg(number));
        box.setOkButtonText(OkButtonText);
        box.setCancelButtonText(CancelButtonText);
        if (box.exec() == QDialog::Accepted) applyRule(number, RuleKind::Limit, box.textValue());
    });
    connect(add("mapClose", MapCloseAction), &QAction::triggered, this,
            [this, number] { applyRule(number, RuleKind::Closed, QString()); });
    connect(add("mapHalfPay", MapHalfPayAction), &QAction::triggered, this,
            [this, number] { applyRule(number, RuleKind::Pay, QStringLiteral("50")); });
    connect(add("mapClear", MapClearAction), &QAction::triggered, this, [this, number] { clearRule(number); });
    return menu;
}

void ExposureMapWindow::applyRule(const QString& number, RuleKind kind, const QString& value)
{
    const RuleInput input = makeRule(Combo1->currentText(), number, kind, value, false);
    if (!input.error.isEmpty()) {
        showRuleLines({input.error});
        return;
    }
    showRuleLines(ctx.ledger.setNumberRule(input.rule).lines);
}

void ExposureMapWindow::clearRule(const QString& number)
{
    showRuleLines(ctx.ledger.clearNumberRule(Combo1->currentText(), number).lines);
}

void ExposureMapWindow::showRuleLines(const QStringList& lines)
{
    List1->clear();
    List1->addItems(lines);
}

} // namespace varnoth
