#pragma once
// Who is at the seat, kept in view and in hand: the user in the main window's title and status bar, the
// lock after a spell without a key or a click (asking the PIN again), and the shortcuts to switch user,
// give the owner's PIN for one act, and the owner's PIN asked on the spot when an act needs him.
// In a book without users it shows nothing and locks nothing.

#include <QDateTime>
#include <QObject>
#include <QPointer>

#include <functional>

class QLabel;
class QMainWindow;
class QTimer;

namespace varnoth
{

class Ledger;
class PinDialog;

class SeatControl : public QObject
{
    Q_OBJECT
public:
    static constexpr int DefaultIdleMinutes = 10;
    SeatControl(Ledger& ledger, QMainWindow& window, QObject* parent = nullptr);
    ~SeatControl() override;

    void setIdleLimit(qint64 seconds) { m_idleSeconds = seconds; }
    // The clock of the idle lock (tests put their own) and one look at it.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    void checkIdle();
    bool locked() const { return !m_lockDialog.isNull(); }
    PinDialog* lockDialog() const { return m_lockDialog; }

    // The user at the seat into the title and the status bar.
    void showSeat();
    void switchUser();
    // The owner's PIN for the next owner-only act: true when he gave it.
    bool askOwnerPin();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void lock();
    QDateTime now() const { return m_clock ? m_clock() : QDateTime::currentDateTime(); }

    Ledger& m_ledger;
    QMainWindow& m_window;
    QString m_title;
    QLabel* m_seatLabel;
    QTimer* m_timer;
    std::function<QDateTime()> m_clock;
    qint64 m_idleSeconds = DefaultIdleMinutes * 60;
    QDateTime m_lastActivity;
    QPointer<PinDialog> m_lockDialog;
};

} // namespace varnoth
