#pragma once
// Group entry and file entry: a whole sheet of entry lines for one type and one customer, typed or
// pasted into the window or read from a text file, committed in one go.

#include "gui/main/SecondaryWindow.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace varnoth
{

class Form13 : public SecondaryWindow
{
    Q_OBJECT
public:
    explicit Form13(AppContext& context, QWidget* parent = nullptr);
    void refillPickLists(const QStringList& types, const QStringList& customers) override;

    // A sheet holds fewer characters than this.
    static constexpr int SheetLimit = 60000;

    void setUp() override;
    // File entry hands over the lines of a file: the window's caption and the sheet.
    void prepare(const QString& caption, const QString& text) override;
    std::optional<std::pair<QString, QString>> keyedPair() const override;
    void hideProgress() override;

    // The sheet as the ledger reads it: lines joined by CR LF.
    QString sheet() const;
    void setSheet(const QString& text);

    void PickSheetPair();
    void EnterSheet();
    // The checking pass: the sheet is compared with an entry of the log and nothing is stored.
    void CheckSheet();
    bool checking() const;
    void AddToCustomerBox(const QString& customer);
    void ShowSheetProgress(int step);

    QLabel* Label1;
    QLabel* Label2;
    QComboBox* Combo1;
    QComboBox* Combo2;
    QPlainTextEdit* Text1;
    QLabel* Label3;
    QPushButton* Command1;
    QPushButton* Command2;
    QCheckBox* Check1; // the checking pass
    QLabel* Label4;
    QLineEdit* Text2; // the entry to compare with ("" for the customer's newest)
    QLabel* Label8;
    QFrame* Shape7;
    QFrame* Shape8;

    // The lines the sheet box shows without scrolling, at least.
    static constexpr int SheetLinesShown = 12;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void onSheetChanged();
    void onPairTextChanged();
    void prepareForEntry(const QString& type, const QString& customer);
    void onCheckToggled(bool on);
    void pickTypeByKey(int index);
};

} // namespace varnoth
