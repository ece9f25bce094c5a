#include "gui/tools/Form4.h"

#include "app/Ledger.h"
#include "core/model/text.h"
#include "gui/main/Shell.h"
#include "gui/main/session.h"
#include "gui/tools/PagePainter.h"
#include "settings/options.h"
#include "app/bookreader.h"
#include "tools/printing.h"
#include "tools/readme.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>

namespace varnoth
{

namespace
{

QComboBox* numberBox(const QString& name, int first, int last, int shown, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    for (int n = first; n <= last; ++n)
        combo->addItem(QString::number(n));
    combo->setCurrentText(QString::number(shown));
    return combo;
}

} // namespace

Form4::Form4(AppContext& context, QWidget* parent) : SecondaryWindow(context, WindowId::Print, parent)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Print"));

    Label1 = new QLabel(QStringLiteral(" เลือกขนาดตัวอักษร "), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Combo1 = numberBox(QStringLiteral("Combo1"), 7, 20, 10, this);
    Label2 = new QLabel(QStringLiteral(" เลือกจำนวนผ่น "), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Combo2 = numberBox(QStringLiteral("Combo2"), 1, 12, 1, this);
    Command1 = new QPushButton(QStringLiteral("พิมพ์"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("ยกเลิก"), this);
    Command2->setObjectName(QStringLiteral("Command2"));

    Label1->setGeometry(twips(120), twips(120), twips(3000), twips(285));
    Combo1->setGeometry(twips(120), twips(420), twips(3000), twips(330));
    Label2->setGeometry(twips(120), twips(900), twips(3000), twips(285));
    Combo2->setGeometry(twips(120), twips(1200), twips(3000), twips(330));
    Command1->setGeometry(twips(120), twips(1860), twips(1440), twips(480));
    Command2->setGeometry(twips(1680), twips(1860), twips(1440), twips(480));

    const QColor highlight(192, 192, 255);
    hoverHighlight(Command1, highlight, {Command2});
    hoverHighlight(Command2, highlight, {Command1});
    Combo2->installEventFilter(this);

    connect(Command1, &QPushButton::clicked, this, &Form4::print);
    connect(Command2, &QPushButton::clicked, this, &QWidget::close);
}

bool Form4::eventFilter(QObject* watched, QEvent* event)
{
    // Enter in the last field presses the print button.
    if (watched == Combo2 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Command1->click();
            return true;
        }
    }
    return SecondaryWindow::eventFilter(watched, event);
}

void Form4::setUp()
{
    m_mode = ctx.session.WindowMode;
}

QString Form4::readmeText() const
{
    if (ctx.shell)
        if (const SecondaryWindow* viewer = ctx.shell->loadedWindow(WindowId::Readme)) return viewer->printableText();
    return ReadmeLines().join(CRLF);
}

void Form4::print()
{
    const int fontSize = static_cast<int>(Val(Combo1->currentText()));
    const int copies = static_cast<int>(Val(Combo2->currentText()));
    PageHeader header{ctx.book.option(option::ShopName), QDateTime::currentDateTime(), {}, ctx.book.yearStyle()};
    JobBuilder build;
    QString name;
    if (m_mode == WindowMode::PrintList) {
        const QStringList rows = ctx.shell ? ctx.shell->listRows() : QStringList();
        header.subject = listSubject(rows);
        name = QStringLiteral("list");
        build = [rows, fontSize, copies, header](const PageGeometry& g) {
            return PrintMainList(rows, fontSize, copies, g, header);
        };
    } else {
        const QString text = readmeText();
        header.subject = QStringLiteral("Readme");
        name = QStringLiteral("readme");
        build = [text, fontSize, copies, header](const PageGeometry& g) {
            return PrintReadme(text, fontSize, copies, g, header);
        };
    }
    const PrintOutcome outcome = printOnDefault(build, fontSize, ctx.book.printoutsPlace(), name);
    // The path goes to the status bar: a line in the list would be printed with the list next time.
    if (ctx.shell) {
        ctx.shell->addLines(outcome.failures);
        if (!outcome.pdfPath.isEmpty())
            ctx.shell->showStatus(PrintedToPdfText + QDir::toNativeSeparators(outcome.pdfPath));
    }
    close();
}

} // namespace varnoth
