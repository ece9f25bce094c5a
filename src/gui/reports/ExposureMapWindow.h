#pragma once
// The exposure map window: every number of a type as a cell, coloured by its stake against the limit.

#include "gui/main/SecondaryWindow.h"
#include "reports/exposure.h"
#include "settings/numberrules.h"

#include <QAbstractTableModel>
#include <QHash>

class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QTableView;

namespace varnoth
{

class BookReader;

class ExposureModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit ExposureModel(BookReader& book, QObject* parent = nullptr) : QAbstractTableModel(parent), m_book(book) {}
    void setExposure(Exposure exposure);
    const Exposure& exposure() const { return m_exposure; }
    const ExposureCell* cell(const QModelIndex& index) const;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    static QColor levelColour(ExposureLevel level);
    enum Roles { LevelRole = Qt::UserRole + 1, WinningRole, StakeRole, ClosedRole, PayPercentRole };

private:
    BookReader& m_book;
    Exposure m_exposure;
    mutable QHash<QString, QString> m_tips; // number -> each customer's stake, built when asked
};

class ExposureMapWindow : public SecondaryWindow
{
    Q_OBJECT
public:
    explicit ExposureMapWindow(AppContext& context, QWidget* parent = nullptr);
    void setUp() override;
    // Rebuilds the map of the chosen type from the files.
    void refresh();
    ExposureModel* model() const { return m_model; }
    // The menu of a cell's number rule (set a limit, close, half pay, clear); null off the cells.
    QMenu* ruleMenu(const QModelIndex& index);

    QComboBox* Combo1;
    QTableView* Grid1;
    QListWidget* List1;
    QLabel* Label1;
    QPushButton* Command1; // the rules window

private:
    void showCustomers(const QModelIndex& index);
    void applyRule(const QString& number, RuleKind kind, const QString& value);
    void clearRule(const QString& number);
    void showRuleLines(const QStringList& lines);
    ExposureModel* m_model;
};

} // namespace varnoth
