#include "gui/users/SeatControl.h"

#include "accounts/usertexts.h"
#include "app/Ledger.h"
#include "gui/users/PinDialog.h"
#include "gui/users/UsersWindow.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>

namespace varnoth
{

SeatControl::SeatControl(Ledger& ledger, QMainWindow& window, QObject* parent)
    : QObject(parent), m_ledger(ledger), m_window(window), m_title(window.windowTitle()),
      m_seatLabel(new QLabel(&window)), m_timer(new QTimer(this))
{
    m_seatLabel->setObjectName(QStringLiteral("seat"));
    window.statusBar()->addPermanentWidget(m_seatLabel);
    auto* switching = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+L")), &window);
    connect(switching, &QShortcut::activated, this, &SeatControl::switchUser);
    auto* owner = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+O")), &window);
    connect(owner, &QShortcut::activated, this, &SeatControl::askOwnerPin);
    auto* users = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+M")), &window);
    connect(users, &QShortcut::activated, this, &SeatControl::openUsers);
    // A refused owner's act asks the owner's PIN at once, once the refused call has returned.
    connect(&ledger, &Ledger::ownerNeeded, this, &SeatControl::askOwnerPin, Qt::QueuedConnection);
    qApp->installEventFilter(this);
    m_lastActivity = now();
    connect(m_timer, &QTimer::timeout, this, &SeatControl::checkIdle);
    m_timer->start(5000);
    showSeat();
}

bool SeatControl::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
        m_lastActivity = now();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void SeatControl::checkIdle()
{
    if (!m_ledger.hasUsers()) return;
    if (!locked() && m_lastActivity.secsTo(now()) >= m_idleSeconds) lock();
}

void SeatControl::lock()
{
    m_lockDialog = new PinDialog(m_ledger, PinDialog::Purpose::Unlock, &m_window);
    m_lockDialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_lockDialog, &QDialog::finished, this, [this](int result) {
        // A lock cannot be waved away: without a PIN the program closes, as a sign-in refused at start.
        if (result != QDialog::Accepted) qApp->quit();
        m_lastActivity = now();
        showSeat();
    });
    m_lockDialog->open();
}

void SeatControl::showSeat()
{
    if (!m_ledger.hasUsers()) {
        m_window.setWindowTitle(m_title);
        m_seatLabel->clear();
        return;
    }
    const User* user = nullptr;
    const Users users = m_ledger.users();
    user = users.find(m_ledger.seatUser());
    const QString seat = user ? AtSeatText.arg(user->name, roleText(user->role)) : NotSignedInText;
    m_window.setWindowTitle(m_title + QStringLiteral(" - ") + seat);
    m_seatLabel->setText(seat);
}

void SeatControl::switchUser()
{
    if (locked() || !m_ledger.hasUsers()) return;
    m_ledger.signOut();
    lock();
}

void SeatControl::askOwnerPin()
{
    if (locked() || !m_ledger.hasUsers()) return;
    PinDialog dialog(m_ledger, PinDialog::Purpose::OwnerPin, &m_window);
    if (dialog.exec() == QDialog::Accepted) m_window.statusBar()->showMessage(OwnerAllowedText, 10000);
}

void SeatControl::openUsers()
{
    UsersWindow window(m_ledger, &m_window);
    window.exec();
    showSeat();
}

} // namespace varnoth
