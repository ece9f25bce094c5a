#pragma once
// The audit window: the log newest first, narrowed by customer, type, number, action and time, with
// the running stake of the chosen number and customer. Enter on a line shows the whole entry it
// belongs to. The chain of the log is checked in the background and the first broken line named.

#include "audit/auditread.h"
#include "core/model/thaidate.h"
#include "gui/main/SecondaryWindow.h"
#include "gui/main/SecondaryWindow.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QThread>
#include <QTimer>
#include <memory>

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace varnoth
{

// The selected lines of the log; a line is read from the mapped file only when it is shown.
class AuditModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    void setSelection(std::shared_ptr<const AuditIndex> index, AuditSelection selection);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // The record shown in a row (an empty one past the end).
    AuditRecord recordAt(int row) const;
    // How the times show their year.
    void setYears(YearStyle years) { m_years = years; }

private:
    YearStyle m_years = YearStyle::Buddhist;
    std::shared_ptr<const AuditIndex> m_index;
    AuditSelection m_selection;
    mutable QHash<int, AuditRecord> m_cache; // the rows on the screen
};

class AuditWindow : public SecondaryWindow
{
    Q_OBJECT
public:
    explicit AuditWindow(AppContext& context, QWidget* parent = nullptr);
    ~AuditWindow() override;
    void setUp() override;
    void refillPickLists(const QStringList& types, const QStringList& customers) override;

    // Reads the log again and starts the check of its chain.
    void reload();
    // The lines of the current line's entry, or back to the whole selection.
    void showEntry(int row);
    void showAll();
    // Waits for the check of the chain (tests).
    void waitForCheck();
    AuditModel* model() const { return m_model; }

    QComboBox* Combo1; // customer
    QComboBox* Combo2; // type
    QLineEdit* Text1;  // number
    QComboBox* Combo3; // action
    QCheckBox* Check1;
    QDateTimeEdit* Date1; // since
    QCheckBox* Check2;
    QDateTimeEdit* Date2; // until
    QPushButton* Command1;
    QTableView* Grid1;
    QLabel* Label1; // how many lines
    QLabel* Label2; // the check of the chain

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AuditFilter filter() const;
    void applyFilter();
    void stopCheck();
    void showCount();

    AuditModel* m_model;
    std::shared_ptr<AuditIndex> m_index;
    qint64 m_entry = 0; // the entry being shown, 0 for the selection
    QTimer m_filterTimer;
    QTimer m_reloadTimer;
    bool m_drawRunning = false; // a new draw is moving the log: no reload until it ends
    QThread* m_check = nullptr;
    std::shared_ptr<std::atomic_bool> m_cancel;
};

} // namespace varnoth
