#include "gui/tools/Form10.h"

#include "app/Ledger.h"
#include "core/model/text.h"
#include "gui/main/Shell.h"
#include "gui/main/session.h"
#include "tools/readme.h"

#include <QAction>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>

namespace varnoth
{

Form10::Form10(AppContext& context, QWidget* parent) : SecondaryWindow(context, WindowId::Readme, parent)
{
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("Readme"));

    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    mFile = menuBar->addMenu(QStringLiteral("&File"));
    mFile->setObjectName(QStringLiteral("mFile"));
    mPrint = mFile->addAction(QStringLiteral("Print"));
    mPrint->setObjectName(QStringLiteral("mPrint"));
    mFile->addSeparator();
    mClose = mFile->addAction(QStringLiteral("Close"));
    mClose->setObjectName(QStringLiteral("mClose"));

    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    // Printing takes what the box shows, so the operator reads it but does not change it.
    Text1->setReadOnly(true);

    auto* layout = new QHBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->setContentsMargins(twips(60), twips(60), twips(60), twips(60));
    layout->addWidget(List1, 2);
    layout->addWidget(Text1, 3);

    // A click, or moving from one topic to another with the keys, shows that topic. The list
    // making its first row current when it takes the focus is not a choice: the whole guide stays.
    connect(List1, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { showSection(item->text()); });
    connect(List1, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* current, QListWidgetItem* previous) {
        if (current && previous) showSection(current->text());
    });
    connect(mPrint, &QAction::triggered, this, &Form10::print);
    connect(mClose, &QAction::triggered, this, &QWidget::close);
}

void Form10::setUp()
{
    List1->clear();
    setText(QString());
    const QStringList lines = ReadmeLines();
    List1->addItems(readmeTopics(lines));
    setText(lines.join(CRLF));
}

void Form10::showSection(const QString& heading)
{
    setText(readmeSection(ReadmeLines(), heading));
}

void Form10::setText(const QString& text)
{
    m_text = text;
    QString shown = text;
    Text1->setPlainText(shown.replace(CRLF, QStringLiteral("\n")));
}

void Form10::print()
{
    ctx.session.WindowMode = WindowMode::PrintReadme;
    if (ctx.shell) ctx.shell->openWindow(WindowId::Print);
}

} // namespace varnoth
