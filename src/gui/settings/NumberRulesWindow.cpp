#include "gui/settings/NumberRulesWindow.h"

#include "app/Ledger.h"
#include "core/model/types.h"
#include "gui/main/Shell.h"
#include "settings/numberruletexts.h"
#include "app/bookreader.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnoth
{

NumberRulesWindow::NumberRulesWindow(AppContext& context, QWidget* parent)
    : SecondaryWindow(context, WindowId::NumberRules, parent), Combo1(new QComboBox(this)), Text1(new QLineEdit(this)),
      Combo2(new QComboBox(this)), Text2(new QLineEdit(this)), Check1(new QCheckBox(RulePermutationsLabel, this)),
      Command1(new QPushButton(RuleSaveButton, this)), Command2(new QPushButton(RuleClearButton, this)),
      List1(new QListWidget(this)), Label1(new QLabel(this))
{
    setObjectName(QStringLiteral("NumberRulesWindow"));
    setWindowTitle(RulesWindowCaption);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Text1->setObjectName(QStringLiteral("Text1"));
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Text2->setObjectName(QStringLiteral("Text2"));
    Check1->setObjectName(QStringLiteral("Check1"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2->setObjectName(QStringLiteral("Command2"));
    List1->setObjectName(QStringLiteral("List1"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    for (QPushButton* b : {Command1, Command2})
        b->setAutoDefault(false);
    Combo1->addItems(typeNames());
    Combo2->addItems({RuleKindLimit, RuleKindClosed, RuleKindPay});

    auto* form = new QFormLayout;
    form->addRow(RuleTypeLabel, Combo1);
    form->addRow(RuleNumberLabel, Text1);
    form->addRow(Combo2, Text2);
    form->addRow(QString(), Check1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addWidget(Label1);
    layout->addWidget(List1, 1);

    connect(Combo1, &QComboBox::currentIndexChanged, this, &NumberRulesWindow::refresh);
    connect(Combo2, &QComboBox::currentIndexChanged, this,
            [this] { Text2->setEnabled(chosenKind() != RuleKind::Closed); });
    connect(Command1, &QPushButton::clicked, this, &NumberRulesWindow::save);
    connect(Command2, &QPushButton::clicked, this, &NumberRulesWindow::clearRule);
    connect(Text2, &QLineEdit::returnPressed, this, &NumberRulesWindow::save);
    connect(List1, &QListWidget::currentRowChanged, this, &NumberRulesWindow::pick);
    connect(&ctx.ledger, &Ledger::numberRulesChanged, this, &NumberRulesWindow::refresh);
}

void NumberRulesWindow::setUp()
{
    const QString keyed = ctx.shell ? ctx.shell->keyedType() : QString();
    const int i = Combo1->findText(keyed);
    if (i >= 0) Combo1->setCurrentIndex(i);
    showOutcome({}, true);
    refresh();
}

RuleKind NumberRulesWindow::chosenKind() const
{
    switch (Combo2->currentIndex()) {
    case 0:
        return RuleKind::Limit;
    case 2:
        return RuleKind::Pay;
    default:
        return RuleKind::Closed;
    }
}

void NumberRulesWindow::refresh()
{
    const QString type = Combo1->currentText();
    const std::shared_ptr<const NumberRules> rules = ctx.book.numberRules();
    const QSignalBlocker block(List1);
    List1->clear();
    m_shown.clear();
    for (const QString& problem : ctx.book.numberRuleProblems())
        List1->addItem(problem);
    const int t = typeIndex(type);
    for (const NumberRule& rule : rules->all()) {
        // A number listed twice in a file edited by hand shows the rule that applies.
        if (rule.type != type || rules->find(t, rule.number) != &rule) continue;
        m_shown << rule;
        List1->addItem(describeRule(rule));
    }
    if (m_shown.isEmpty()) List1->addItem(NoRulesText);
}

void NumberRulesWindow::pick(int row)
{
    const qsizetype first = List1->count() - m_shown.size() - (m_shown.isEmpty() ? 1 : 0);
    const qsizetype i = row - first;
    if (i < 0 || i >= m_shown.size()) return;
    const NumberRule& rule = m_shown[i];
    Text1->setText(rule.number);
    Combo2->setCurrentIndex(rule.kind == RuleKind::Limit ? 0 : rule.kind == RuleKind::Closed ? 1 : 2);
    Text2->setText(rule.kind == RuleKind::Closed ? QString() : QString::number(rule.value));
    Check1->setChecked(rule.permutations);
}

void NumberRulesWindow::save()
{
    const RuleInput input =
        makeRule(Combo1->currentText(), Text1->text(), chosenKind(), Text2->text(), Check1->isChecked());
    if (!input.error.isEmpty()) {
        showOutcome({input.error}, false);
        return;
    }
    const RuleChange change = ctx.ledger.setNumberRule(input.rule);
    showOutcome(change.lines, change.outcome.ok() && change.error.isEmpty());
    refresh();
}

void NumberRulesWindow::clearRule()
{
    const RuleChange change = ctx.ledger.clearNumberRule(Combo1->currentText(), Text1->text());
    showOutcome(change.lines, change.outcome.ok() && change.error.isEmpty());
    refresh();
}

void NumberRulesWindow::showOutcome(const QStringList& lines, bool done)
{
    Label1->setText(lines.join(QLatin1Char('\n')));
    // A refusal or a failure stands out in red; what was done reads in the window's own colour.
    Label1->setStyleSheet(done ? QString() : QStringLiteral("color: #a00000;"));
}

} // namespace varnoth
