#pragma once
// The record dialog: shows the selected stake of the main list and, on confirmation, edits its
// amount or deletes it.

#include "gui/main/SecondaryWindow.h"
#include "tools/records.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace varnoth
{

class Form7 : public SecondaryWindow
{
    Q_OBJECT
public:
    explicit Form7(AppContext& context, QWidget* parent = nullptr);

    // Fills the dialog from the main list's selection for the job named by the caption, "Edit" or
    // "Delete" (the text is not used). The selection is kept as it is now: the rewrite acts on this
    // record even when the operator clicks elsewhere in the list before confirming.
    void prepare(const QString& caption, const QString& text = QString()) override;

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLineEdit* Text1;
    QLineEdit* Text2;
    QLineEdit* Text3;
    QLineEdit* Text4;
    QPushButton* Command1;
    QPushButton* Command2;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void confirm();
    void unload();
    void applyToList(const RecordResult& result);

    QString m_line;
    int m_index = -1;
};

} // namespace varnoth
