#include "gui/settings/Form8.h"

#include "app/bookreader.h"
#include "app/Ledger.h"
#include "gui/main/Shell.h"
#include "settings/result.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace varnoth
{

Form8::Form8(AppContext& context, QWidget* parent)
    : SecondaryWindow(context, WindowId::Result, parent), Label1(new QLabel(QStringLiteral("รางวัลที่ 1"), this)),
      Label2(new QLabel(QStringLiteral(" 3 ตัวล่าง  4  ครั้ง "), this)),
      Label3(new QLabel(QStringLiteral("2 ตัวล่าง"), this)), Label4(new QLabel(this)),
      Command1(new QPushButton(QStringLiteral("บันทึก"), this)), Command2(new QPushButton(QStringLiteral("ยกเลิก"), this))
{
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("Lottery Result"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3->setObjectName(QStringLiteral("Label3"));
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setWordWrap(true);
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label4->setStyleSheet(QStringLiteral("color: rgb(192,0,0);"));
    // A smaller letter, so that the longest warning fits beside the two-digit box.
    QFont small = Label4->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    Label4->setFont(small);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2->setObjectName(QStringLiteral("Command2"));
    for (int i = 0; i < 6; ++i) {
        m_fields[i] = new QLineEdit(this);
        m_fields[i]->setObjectName(QStringLiteral("Text%1").arg(i + 1));
        m_fields[i]->installEventFilter(this);
        // What the operator keys again takes the warning away until the next save.
        connect(m_fields[i], &QLineEdit::textEdited, this, [this] { showProblems({}); });
    }
    Text1 = m_fields[0], Text2 = m_fields[1], Text3 = m_fields[2];
    Text4 = m_fields[3], Text5 = m_fields[4], Text6 = m_fields[5];
    for (QPushButton* b : {Command1, Command2})
        b->setAutoDefault(false);

    place(Label1, 120, 120, 3100, 240);
    place(m_fields[0], 120, 360, 3100, 360);
    place(Label2, 120, 840, 3100, 240);
    for (int i = 0; i < 4; ++i)
        place(m_fields[i + 1], 120 + i * 790, 1080, 730, 360);
    place(Label3, 120, 1560, 3100, 240);
    place(m_fields[5], 120, 1800, 1500, 360);
    place(Label4, 1720, 1560, 1640, 780);
    place(Command1, 120, 2340, 1500, 400);
    place(Command2, 1720, 2340, 1500, 400);
    // Tab walks the boxes as the window shows them; Enter keeps the order of the draw's announcement.
    QWidget* const order[] = {Text1, Text2, Text3, Text4, Text5, Text6, Command1, Command2};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    hoverHighlight(Command1, QColor(0, 192, 0), {Command2});
    hoverHighlight(Command2, QColor(255, 0, 0), {Command1});
    connect(Command1, &QPushButton::clicked, this, &Form8::SaveResult);
    connect(Command2, &QPushButton::clicked, this, &Form8::closeWindow);
}

void Form8::setUp()
{
    const DrawnNumbers fields = ctx.book.result();
    for (int i = 0; i < 6; ++i)
        m_fields[i]->setText(fields[i]);
    showProblems({});
    // The operator types the first prize first.
    Text1->setFocus();
    Text1->selectAll();
}

bool Form8::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // The first prize, then the two-digit lower number, then the four lower numbers.
            static const int next[6] = {5, 2, 3, 4, -1, 1};
            for (int i = 0; i < 6; ++i) {
                if (watched != m_fields[i]) continue;
                if (next[i] < 0)
                    Command1->click();
                else
                    m_fields[next[i]]->setFocus();
                return true;
            }
        }
    }
    return SecondaryWindow::eventFilter(watched, event);
}

void Form8::SaveResult()
{
    DrawnNumbers fields;
    for (int i = 0; i < 6; ++i)
        fields[i] = m_fields[i]->text();
    // Checked here too, to point at the boxes; the ledger refuses the same numbers.
    const ResultCheck check = checkDrawnNumbers(fields);
    showProblems(check);
    if (!check.ok()) {
        if (ctx.shell) ctx.shell->addLines(check.lines);
        return;
    }
    const ChangeResult saved = ctx.ledger.saveResult(fields);
    if (!saved.ok()) {
        // The typed numbers stay in the window so that the save can be tried again.
        if (ctx.shell) ctx.shell->addLines(saved.lines);
        return;
    }
    closeWindow();
}

void Form8::showProblems(const ResultCheck& check)
{
    // The window shows what the first wrong box must hold; the main list gets every line.
    Label4->setText(check.lines.value(0));
    for (int i = 0; i < 6; ++i) {
        const qsizetype at = check.boxes.indexOf(i);
        m_fields[i]->setStyleSheet(at >= 0 ? QStringLiteral("border: 2px solid rgb(192,0,0);") : QString());
        m_fields[i]->setToolTip(at >= 0 ? check.lines.value(at) : QString());
    }
    if (check.boxes.isEmpty()) return;
    // The first box that is wrong takes the focus, its text selected, to be keyed again.
    QLineEdit* first = m_fields[check.boxes.first()];
    first->setFocus();
    first->selectAll();
}

void Form8::closeWindow()
{
    if (ctx.shell)
        ctx.shell->closeWindow(WindowId::Result);
    else
        close();
}

} // namespace varnoth
