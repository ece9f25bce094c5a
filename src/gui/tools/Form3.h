#pragma once
// The drive dialog of Backup, Restore, the full backup and its restore, and Start: its caption is
// the job, read back on OK.

#include "gui/main/SecondaryWindow.h"

class QComboBox;
class QLabel;
class QPushButton;

class QCheckBox;

namespace varnoth
{

struct Session;

class Form3 : public SecondaryWindow
{
    Q_OBJECT
public:
    explicit Form3(AppContext& context, QWidget* parent = nullptr);
    // Sets the job ("Backup", "Restore", the full backup's or its restore's caption, or "Start") and
    // the prompt; the drive list shows for every job but the new draw.
    void prepare(const QString& caption, const QString& prompt) override;
    // The folder of the chosen drive, "" when none is chosen.
    QString drive() const;

    QLabel* Label1;
    QComboBox* Drive1;
    QPushButton* Command1;
    QPushButton* Command2;
    QCheckBox* Check1; // the new draw clears the number rules too

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fillDrives();
    void confirm();
};

} // namespace varnoth
