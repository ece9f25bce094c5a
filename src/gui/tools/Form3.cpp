#include "gui/tools/Form3.h"

#include "app/Ledger.h"
#include "entry/entry.h"
#include "gui/main/Shell.h"
#include "gui/main/session.h"
#include "settings/numberruletexts.h"
#include "tools/backup.h"
#include "tools/backuptexts.h"
#include "tools/drives.h"
#include "tools/fullbackup.h"
#include "tools/newdraw.h"
#include "tools/restore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnoth
{

namespace
{
const QColor Highlight(0, 192, 192);
}

Form3::Form3(AppContext& context, QWidget* parent)
    : SecondaryWindow(context, WindowId::Backup, parent), Label1(new QLabel(this)), Drive1(new QComboBox(this)),
      Command1(new QPushButton(QStringLiteral("ตกลง"), this)), Command2(new QPushButton(QStringLiteral("ยกเลิก"), this)),
      Check1(new QCheckBox(ClearRulesOnNewDrawText, this))
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Backup"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignCenter);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2->setObjectName(QStringLiteral("Command2"));
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->hide();
    Command1->setAutoDefault(true);
    Command2->setAutoDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Drive1);
    layout->addWidget(Check1);
    layout->addStretch();
    layout->addLayout(buttons);

    hoverHighlight(Command1, Highlight, {Command2});
    hoverHighlight(Command2, Highlight, {Command1});
    Drive1->installEventFilter(this);
    connect(Command1, &QPushButton::clicked, this, &Form3::confirm);
    connect(Command2, &QPushButton::clicked, this, &QWidget::close);
    fillDrives();
}

void Form3::fillDrives()
{
    Drive1->clear();
    for (const Drive& d : availableDrives())
        Drive1->addItem(d.label, d.root);
}

void Form3::prepare(const QString& caption, const QString& prompt)
{
    setWindowTitle(caption);
    Label1->setText(prompt);
    const bool needsDrive = caption != QStringLiteral("Start");
    Drive1->setVisible(needsDrive);
    // A bookmaker's closed numbers often carry over to the next draw: keeping them is the default.
    Check1->setVisible(!needsDrive);
    Check1->setChecked(false);
    // The new draw deletes the book: the button that Enter presses is the one that keeps it.
    Command1->setDefault(false);
    Command2->setDefault(!needsDrive);
    if (needsDrive)
        Drive1->setFocus();
    else
        Command2->setFocus();
}

QString Form3::drive() const
{
    if (Drive1->currentIndex() < 0) return {};
    const QString root = Drive1->currentData().toString();
    return root.isEmpty() ? Drive1->currentText() : root;
}

bool Form3::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Drive1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Command1->click();
            return true;
        }
    }
    return SecondaryWindow::eventFilter(watched, event);
}

void Form3::confirm()
{
    Shell* shell = ctx.shell;
    const QString job = windowTitle();
    if (job == FullBackupMenuText) {
        const QStringList lines = ctx.ledger.fullBackup(drive()).lines;
        if (shell) {
            shell->clearList();
            shell->addLines(lines);
        }
        close();
    } else if (job == FullRestoreMenuText) {
        const FullRestoreResult r = ctx.ledger.fullRestore(drive());
        if (shell) {
            shell->clearList();
            shell->addLines(r.lines);
            if (r.done()) shell->refreshPickLists();
        }
        close();
    } else if (job == QStringLiteral("Backup")) {
        const QStringList lines = ctx.ledger.backup(drive()).lines;
        if (shell) {
            shell->clearList();
            shell->addLines(lines);
        }
        close();
    } else if (job == QStringLiteral("Restore")) {
        // Records above the ceiling, and a backup bringing a great many new customers, are stored
        // only when the operator says so; the default answer stores nothing of them.
        const MergeResult r = ctx.ledger.restore(
            drive(),
            [this](const QString& question) {
                return askStoreAnyway(this, AboveCeilingTitle, question, QStringLiteral("AboveCeilingBox"));
            },
            [this](const QString& question) {
                return askStoreAnyway(this, ManyCustomersTitle, question, QStringLiteral("ManyCustomersBox"));
            });
        if (shell) {
            if (r.clearList) shell->clearList();
            shell->addLines(r.lines);
            shell->refreshPickLists();
        }
        close();
    } else if (job == QStringLiteral("Start")) {
        const NewDrawResult r = ctx.ledger.newDraw(Check1->isChecked());
        if (!shell) {
            close();
            return;
        }
        if (!r.done) {
            shell->clearList();
            shell->addLines(r.lines);
            close();
            return;
        }
        // The main window has refilled its pick lists and emptied its boxes on the ledger's word.
        // This closes the dialog too: nothing of it is used below.
        shell->closeSecondaryWindows();
        shell->clearList();
        shell->addLines(r.lines);
    }
}

void Form3::keyPressEvent(QKeyEvent* event)
{
    // An Enter that no button took: in the new draw it is the safe answer.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && windowTitle() == QStringLiteral("Start")) {
        Command2->click();
        return;
    }
    SecondaryWindow::keyPressEvent(event);
}

} // namespace varnoth
