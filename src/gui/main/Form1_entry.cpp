// Bet entry from the main window: the live gate expansion of the number field and Enter.
#include "gui/main/Form1.h"

#include "core/model/customername.h"
#include "core/model/text.h"
#include "entry/entry.h"
#include "entry/gates.h"
#include "gui/main/SecondaryWindow.h"
#include "gui/main/session.h"
#include "settings/numberruletexts.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <cmath>

namespace varnoth
{

namespace
{

// The gate box keeps the width of the entry column, so the window does not shift while the number
// is typed; it takes the height the list needs, as far as the column has room, and scrolls beyond.
void sizeGateBox(QPlainTextEdit* box, const QString& gates, int columnWidth)
{
    const int count = static_cast<int>(gates.count(QLatin1Char(' ')));
    const QFontMetrics fm(box->font());
    const int cell = fm.horizontalAdvance(gates.section(QLatin1Char(' '), 0, 0) + QLatin1Char(' '));
    const int margins = 2 * box->frameWidth() + 2 * static_cast<int>(box->document()->documentMargin()) + 4;
    const int columns = std::max(1, (columnWidth - margins) / std::max(1, cell));
    const int rows = std::max(1, static_cast<int>(std::ceil(count / static_cast<double>(columns))));
    box->setMinimumHeight(std::min(rows, 2) * fm.lineSpacing() + margins);
    box->setMaximumHeight(rows * fm.lineSpacing() + margins);
}

// Asks before a bet above the amount ceiling is stored; the default answer stores nothing, so an
// Enter pressed out of habit cannot book it.
bool storeAboveCeiling(QWidget* parent, const QString& question)
{
    return askStoreAnyway(parent, AboveCeilingTitle, question, QStringLiteral("AboveCeilingBox"));
}

} // namespace

void Form1::onText1Changed(const QString& text)
{
    Text3->clear();
    const std::optional<GateExpansion> expansion = expandNumberField(text);
    if (!expansion) {
        Text3->hide();
        Label6->hide();
        return;
    }
    Text3->setPlainText(expansion->gates);
    Label6->setText(expansion->status);
    sizeGateBox(Text3, expansion->gates, Text1->width());
    Text3->show();
    Label6->show();
}

void Form1::Inp2()
{
    // No bet is booked to a customer nobody named: the operator names one first ("x" when typed).
    if (customerName(Combo2->currentText()).isEmpty()) {
        Combo2->setFocus();
        return;
    }
    if (Text1->text().isEmpty()) {
        Text1->setFocus();
        return;
    }
    if (Text2->text().isEmpty()) {
        Text2->setFocus();
        return;
    }
    if (Combo1->currentText().isEmpty()) {
        Combo1->setFocus();
        return;
    }
    Inp1();
}

void Form1::Inp1()
{
    const QString type = Combo1->currentText();
    const QString customer = customerName(Combo2->currentText());
    if (!customerAccepted(customer)) {
        Combo2->setFocus();
        Combo2->lineEdit()->selectAll();
        return;
    }
    const QStringList failures = m_ledger.prepareCustomer(customer).lines;

    if (Combo2->count() > 0 && Combo2->findText(customer) < 0) {
        Combo2->addItem(customer);
        Combo2->setCurrentIndex(Combo2->count() - 1);
        clearList();
        m_session.HeaderFlag = false;
    }
    if (!m_session.HeaderFlag) {
        ShowCustomerBets(type, customer);
        m_session.HeaderFlag = true;
    }
    listAddLines(failures);

    const FieldEntry entry = planFieldEntry(Text3->toPlainText(), Text1->text(), Text2->text(), type, customer);
    // Once the result is out, the operator says first that this bet comes after it.
    const QString lateQuestion = entry.plan.bets.isEmpty() ? QString() : m_ledger.afterResultQuestion();
    if (!lateQuestion.isEmpty() && !askAfterResult(this, lateQuestion)) {
        Text2->setFocus();
        Text2->selectAll();
        return;
    }
    bool aboveCeilingAllowed = false;
    if (const QString question = m_ledger.aboveCeilingQuestion(entry.plan, customer); !question.isEmpty()) {
        if (!storeAboveCeiling(this, question)) {
            Text2->setFocus();
            Text2->selectAll();
            return;
        }
        aboveCeilingAllowed = true;
    }
    const QScopedValueRollback ownChange(m_ownChange, true);
    const EntryResult result = m_ledger.enterPlan(entry.plan, customer, aboveCeilingAllowed, !lateQuestion.isEmpty());
    // The list colours each marked bet; a bet refused for a closed number is also heard.
    listAddLines(result.lines);
    if (result.closed > 0) QApplication::beep();
    if (entry.clearFields) {
        Text1->clear();
        Text2->clear();
        Text1->setFocus();
    }
    // A paired amount writes the files of more than one type.
    QStringList written{type};
    for (const BetChange& change : result.changes)
        if (!written.contains(change.type)) written << change.type;
    refreshTotalsAfter(written, customer);
}

} // namespace varnoth
