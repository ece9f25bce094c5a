#include "gui/users/UsersWindow.h"

#include "accounts/usertexts.h"
#include "app/Ledger.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace varnoth
{

UsersWindow::UsersWindow(AppContext& context, QWidget* parent)
    : SecondaryWindow(context, WindowId::Users, parent), m_ledger(context.ledger), m_list(new QListWidget(this)), m_name(new QLineEdit(this)),
      m_role(new QComboBox(this)), m_pin(new QLineEdit(this)), m_message(new QLabel(this))
{
    setObjectName(QStringLiteral("UsersWindow"));
    setWindowTitle(UsersTitle);
    m_list->setObjectName(QStringLiteral("users"));
    m_name->setObjectName(QStringLiteral("name"));
    m_role->setObjectName(QStringLiteral("role"));
    m_pin->setObjectName(QStringLiteral("pin"));
    m_message->setObjectName(QStringLiteral("message"));
    m_role->addItem(OwnerRoleText, static_cast<int>(Role::Owner));
    m_role->addItem(KeyerRoleText, static_cast<int>(Role::Keyer));
    m_role->setCurrentIndex(1);
    m_pin->setEchoMode(QLineEdit::Password);
    m_pin->setMaxLength(8);
    m_pin->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,8}")), m_pin));
    m_message->setWordWrap(true);

    auto* add = new QPushButton(AddUserCaption, this);
    auto* remove = new QPushButton(RemoveUserCaption, this);
    auto* reset = new QPushButton(ResetPinCaption, this);
    add->setObjectName(QStringLiteral("add"));
    remove->setObjectName(QStringLiteral("remove"));
    reset->setObjectName(QStringLiteral("reset"));
    // A user picked in the list (a click, the arrow keys) comes into the name box; the list taking the
    // focus back after a question picks nobody, so a name being typed stays as it is.
    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> picked = m_list->selectedItems();
        if (!picked.isEmpty()) m_name->setText(picked.first()->data(Qt::UserRole).toString());
    });
    connect(add, &QPushButton::clicked, this, [this] {
        const auto role = static_cast<Role>(m_role->currentData().toInt());
        report(m_ledger.addUser(m_name->text().trimmed(), role, m_pin->text()), UserAddedText);
    });
    connect(remove, &QPushButton::clicked, this,
            [this] { report(m_ledger.removeUser(m_name->text().trimmed()), UserRemovedText); });
    connect(reset, &QPushButton::clicked, this,
            [this] { report(m_ledger.resetPin(m_name->text().trimmed(), m_pin->text()), PinResetText); });

    auto* form = new QFormLayout;
    form->addRow(UserLabelText, m_name);
    form->addRow(RoleLabelText, m_role);
    form->addRow(PinLabelText, m_pin);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addWidget(reset);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addWidget(m_message);
    reload();
}

void UsersWindow::reload()
{
    // Filling the list again picks no user: the name being worked on stays in its box, and a refused
    // change is not turned into one about another user.
    const QSignalBlocker quiet(m_list);
    m_list->clear();
    const Users users = m_ledger.users();
    if (users.damaged) m_message->setText(UsersDamagedText + UsersFileName);
    for (const User& u : users.items) {
        QString text = u.name + QStringLiteral("   ") + roleText(u.role);
        if (u.lockedUntil.isValid() && m_ledger.now() < u.lockedUntil)
            text += QStringLiteral("   ") + UserLockedText.arg(u.lockedUntil.toString(QStringLiteral("HH:mm")));
        auto* item = new QListWidgetItem(text, m_list);
        item->setData(Qt::UserRole, u.name);
    }
}

void UsersWindow::report(const ChangeResult& result, const QString& done)
{
    m_pin->clear();
    m_message->setText(result.ok() ? done + m_name->text().trimmed() : result.lines.join(u'\n'));
    reload();
}

} // namespace varnoth
