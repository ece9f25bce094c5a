#include "gui/tools/Form12.h"

#include "tools/calculator.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>

namespace varnoth
{

namespace
{

const std::array<QString, 5> Signs = {QStringLiteral("+"), QStringLiteral("-"), QStringLiteral("*"),
                                      QStringLiteral("/"), QStringLiteral("%")};

QLabel* label(const QString& name, const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

QLineEdit* field(const QString& name, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}

} // namespace

Form12::Form12(AppContext& context, QWidget* parent) : SecondaryWindow(context, WindowId::Calculator, parent)
{
    setObjectName(QStringLiteral("Form12"));
    setWindowTitle(QStringLiteral("Calculator"));

    Label4 = label(QStringLiteral("Label4"), QStringLiteral("เครื่องคิดเลข"), this);
    Label1 = label(QStringLiteral("Label1"), QStringLiteral("ตัวตั้ง"), this);
    Label2 = label(QStringLiteral("Label2"), QStringLiteral("ตัวกระทำ"), this);
    Label3 = label(QStringLiteral("Label3"), QStringLiteral("ผลลัพท์"), this);
    Text1 = field(QStringLiteral("Text1"), this);
    Text2 = field(QStringLiteral("Text2"), this);
    Text4 = field(QStringLiteral("Text4"), this);
    Text3 = field(QStringLiteral("Text3"), this);
    Text3->setReadOnly(true);
    Text4->setAlignment(Qt::AlignCenter);
    QPushButton** buttons[] = {&Command1, &Command2, &Command3, &Command4, &Command5};
    for (int i = 0; i < 5; ++i) {
        auto* b = new QPushButton(Signs[i], this);
        b->setObjectName(QStringLiteral("Command%1").arg(i + 1));
        b->setAutoDefault(false);
        b->setGeometry(twips(120 + i * 630), twips(1920), twips(570), twips(450));
        connect(b, &QPushButton::clicked, this, [this, i] { pressSign(i); });
        *buttons[i] = b;
    }

    Label4->setGeometry(twips(120), twips(60), twips(3160), twips(285));
    Label1->setGeometry(twips(60), twips(405), twips(800), twips(285));
    Text1->setGeometry(twips(1200), twips(360), twips(2040), twips(315));
    Label2->setGeometry(twips(60), twips(765), twips(800), twips(285));
    Text2->setGeometry(twips(1200), twips(720), twips(2040), twips(315));
    Text4->setGeometry(twips(880), twips(721), twips(280), twips(315));
    Label3->setGeometry(twips(60), twips(1365), twips(800), twips(285));
    Text3->setGeometry(twips(1200), twips(1320), twips(2040), twips(315));

    for (QLineEdit* e : {Text1, Text2, Text4})
        connect(e, &QLineEdit::textChanged, this, &Form12::Calculator);
}

void Form12::Calculator()
{
    const QString sign = Text4->text();
    moveOperator(operatorTop(sign));
    Text3->setText(calculate(Text1->text(), Text2->text(), sign));
}

void Form12::moveOperator(int top)
{
    Text4->move(Text4->x(), twips(top));
}

void Form12::pressSign(int index)
{
    Text4->setText(Signs[index]);
    if (index == 2 || index == 3) moveOperator(720);
    if (index == 4) moveOperator(960);
}

} // namespace varnoth
