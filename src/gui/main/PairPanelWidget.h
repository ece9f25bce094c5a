#pragma once
// The side panel of the main window: the stakes of the pair being keyed, the last changed first,
// and the customer's figures per type. It shows what it is handed; a double-click on a stake asks
// for that record to be edited.

#include "entry/totals.h"

#include <QWidget>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace varnoth
{

class PairPanel : public QWidget
{
    Q_OBJECT
public:
    explicit PairPanel(QWidget* parent = nullptr);

    // The pair and its figures; an empty type or customer shows no pair.
    void showPair(const QString& type, const QString& customer, const PairSummary& summary);
    QString type() const { return m_type; }
    QString customer() const { return m_customer; }
    // Wide enough for a type's figures; it gives up room down to the least width first.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // A stake of the pair shown was double-clicked: its number and amount as the file holds them.
    void stakeActivated(const QString& number, const QString& amount);

private:
    void onStakeActivated(QTreeWidgetItem* item);

    QLabel* m_heading;
    QTreeWidget* m_stakes;
    QLabel* m_typesHeading;
    QTreeWidget* m_types;
    QString m_type;
    QString m_customer;
};

} // namespace varnoth
