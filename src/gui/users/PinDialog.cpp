#include "gui/users/PinDialog.h"

#include "accounts/usertexts.h"
#include "app/Ledger.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace varnoth
{

PinDialog::PinDialog(Ledger& ledger, Purpose purpose, QWidget* parent)
    : QDialog(parent), m_ledger(ledger), m_purpose(purpose), m_names(new QComboBox(this)),
      m_pin(new QLineEdit(this)), m_message(new QLabel(this))
{
    setWindowTitle(purpose == Purpose::SignIn ? SignInTitle
                   : purpose == Purpose::Unlock ? LockedTitle
                                                : OwnerPinTitle);
    m_names->setObjectName(QStringLiteral("names"));
    m_pin->setObjectName(QStringLiteral("pin"));
    m_message->setObjectName(QStringLiteral("message"));
    for (const User& u : ledger.users().items)
        if (purpose != Purpose::OwnerPin || u.role == Role::Owner) m_names->addItem(u.name);
    // After a lock the one at the seat comes first; another may still sign in.
    if (const int at = m_names->findText(ledger.seatUser()); at >= 0 && purpose == Purpose::Unlock)
        m_names->setCurrentIndex(at);
    m_pin->setEchoMode(QLineEdit::Password);
    m_pin->setMaxLength(8);
    m_pin->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,8}")), m_pin));
    m_message->setWordWrap(true);
    if (purpose == Purpose::OwnerPin) m_message->setText(NeedsOwnerText);

    auto* form = new QFormLayout;
    form->addRow(UserLabelText, m_names);
    form->addRow(PinLabelText, m_pin);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(OkCaption, QDialogButtonBox::AcceptRole)->setObjectName(QStringLiteral("ok"));
    buttons->addButton(CancelCaption, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &PinDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PinDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_message);
    layout->addWidget(buttons);
    m_pin->setFocus();
}

void PinDialog::accept()
{
    const QString name = m_names->currentText();
    const PinResult r = m_purpose == Purpose::OwnerPin ? m_ledger.allowOnce(name, m_pin->text())
                                                       : m_ledger.signIn(name, m_pin->text());
    m_pin->clear();
    if (!r.ok()) {
        m_message->setText(r.line);
        return;
    }
    QDialog::accept();
}

} // namespace varnoth
