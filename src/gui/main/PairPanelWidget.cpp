#include "gui/main/PairPanelWidget.h"

#include "core/model/listtexts.h"
#include "core/model/text.h"
#include "gui/main/keyingtexts.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace varnoth
{

namespace
{

QTreeWidget* table(const QString& name, const QStringList& columns, QWidget* parent)
{
    auto* t = new QTreeWidget(parent);
    t->setObjectName(name);
    t->setRootIsDecorated(false);
    t->setUniformRowHeights(true);
    t->setHeaderLabels(columns);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setFocusPolicy(Qt::ClickFocus); // keying goes on in the entry fields
    t->header()->setStretchLastSection(false);
    t->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int c = 1; c < columns.size(); ++c)
        t->header()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    return t;
}

} // namespace

PairPanel::PairPanel(QWidget* parent)
    : QWidget(parent), m_heading(new QLabel(PanelNoPairText, this)),
      m_stakes(table(QStringLiteral("PairStakes"), {PanelNumberColumn, PanelAmountColumn}, this)),
      m_typesHeading(new QLabel(PanelTypesHeading, this)),
      m_types(table(QStringLiteral("PairTypes"), {PanelTypeColumn, PanelCountColumn, PanelAmountColumn}, this))
{
    setObjectName(QStringLiteral("PairPanel"));
    m_heading->setObjectName(QStringLiteral("PairHeading"));
    m_heading->setWordWrap(true);
    m_stakes->setToolTip(PanelEditHint);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_heading);
    layout->addWidget(m_stakes, 3);
    layout->addWidget(m_typesHeading);
    layout->addWidget(m_types, 2);
    connect(m_stakes, &QTreeWidget::itemDoubleClicked, this, &PairPanel::onStakeActivated);
}

void PairPanel::showPair(const QString& type, const QString& customer, const PairSummary& summary)
{
    m_type = type;
    m_customer = customer;
    m_stakes->setUpdatesEnabled(false);
    m_stakes->clear();
    m_types->clear();
    if (type.isEmpty() || customer.isEmpty()) {
        m_heading->setText(PanelNoPairText);
        m_stakes->setUpdatesEnabled(true);
        return;
    }
    m_heading->setText(headerLine(type, customer));
    QList<QTreeWidgetItem*> rows;
    rows.reserve(summary.stakes.size());
    for (const PairStake& stake : summary.stakes) {
        auto* row = new QTreeWidgetItem({stake.number, formatAmount(stake.value)});
        row->setData(0, Qt::UserRole, stake.amount);
        row->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        rows << row;
    }
    m_stakes->addTopLevelItems(rows);
    m_stakes->setUpdatesEnabled(true);

    auto figures = [this](const QString& name, const StakeTotals& t, bool bold) {
        auto* row = new QTreeWidgetItem(m_types, {name, formatCount(t.count), formatAmount(t.total)});
        for (int c = 1; c < 3; ++c)
            row->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        if (bold) {
            QFont f = row->font(0);
            f.setBold(true);
            for (int c = 0; c < 3; ++c)
                row->setFont(c, f);
        }
        // The type being keyed stands out among the others.
        if (name == m_type) row->setSelected(true);
    };
    for (const TypeFigures& t : summary.types)
        figures(t.type, t.totals, false);
    figures(PanelAllTypesText, summary.all, true);
}

QSize PairPanel::sizeHint() const
{
    const QFontMetrics fm = m_types->fontMetrics();
    const int columns = fm.horizontalAdvance(QStringLiteral("3ตัวโต๊ดหัว 10,000 1,234,567.00"));
    return {columns + 60, QWidget::sizeHint().height()};
}

QSize PairPanel::minimumSizeHint() const
{
    return {m_types->fontMetrics().horizontalAdvance(QStringLiteral("000 1,000.00")) + 40,
            QWidget::minimumSizeHint().height()};
}

void PairPanel::onStakeActivated(QTreeWidgetItem* item)
{
    if (!item || m_type.isEmpty() || m_customer.isEmpty()) return;
    emit stakeActivated(item->text(0), item->data(0, Qt::UserRole).toString());
}

} // namespace varnoth
