#include "gui/users/SeatControl.h"

#include "accounts/usertexts.h"
#include "app/Ledger.h"
#include "gui/users/PinDialog.h"

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
    connect(owner, &QShortcut::activated, this, [this] {
        if (askOwnerPin()) m_window.statusBar()->showMessage(OwnerAllowedText, 10000);
    });
    // Whoever signs in or out, from the lock, the users window or anywhere else, shows at once.
    connect(&ledger, &Ledger::seatChanged, this, &SeatControl::showSeat);
    // An act that needs the owner asks his PIN on the spot, from whichever window it was started, and
    // then goes ahead.
    ledger.setOwnerPrompt([this] { return askOwnerPin(); });
    qApp->installEventFilter(this);
    m_lastActivity = now();
    connect(m_timer, &QTimer::timeout, this, &SeatControl::checkIdle);
    m_timer->start(5000);
    showSeat();
}

SeatControl::~SeatControl()
{
    m_ledger.setOwnerPrompt({});
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

bool SeatControl::askOwnerPin()
{
    if (locked() || !m_ledger.hasUsers()) return false;
    // Over the window the act was started from, so that it shows above it.
    QWidget* over = QApplication::activeModalWidget();
    if (!over) over = QApplication::activeWindow();
    PinDialog dialog(m_ledger, PinDialog::Purpose::OwnerPin, over ? over : &m_window);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace varnoth
