#include "ui/main/SecondaryWindow.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace varnoth
{

int twips(double value)
{
    double dpi = 96;
    if (QScreen* s = QGuiApplication::primaryScreen()) dpi = s->logicalDotsPerInch();
    return static_cast<int>(std::lround(value * dpi / 1440.0));
}

void place(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(twips(left), twips(top), twips(width), twips(height));
}

SecondaryWindow::SecondaryWindow(AppContext& ctx, int number, QWidget* parent)
    : QWidget(parent, Qt::Window), ctx(ctx), m_number(number)
{
    setAttribute(Qt::WA_DeleteOnClose);
    Timer1.setInterval(1);
    connect(&Timer1, &QTimer::timeout, this, &SecondaryWindow::growTick);
}

void SecondaryWindow::startGrowIn()
{
    m_widthCounter = 0;
    m_heightCounter = 0;
    m_ticks = 0;
    // Placement: centred horizontally, the top at one third of the free screen height.
    QRect screen(0, 0, 1024, 768);
    if (QScreen* s = QGuiApplication::primaryScreen()) screen = s->availableGeometry();
    const int w = twips(m_grow.finalWidth), h = twips(m_grow.finalHeight);
    move(screen.x() + (screen.width() - w) / 2, screen.y() + (screen.height() - h) / 3);
    Timer1.start();
}

void SecondaryWindow::growTick()
{
    if (m_ticks++ == 0) show();
    m_heightCounter += m_grow.heightStep;
    m_widthCounter += m_grow.widthStep;
    if (m_grow.roundWidthToEven) m_widthCounter = std::nearbyint(m_widthCounter);
    if (m_heightCounter < m_grow.endHeight) {
        resize(std::max(1, twips(m_widthCounter)), std::max(1, twips(m_heightCounter)));
        return;
    }
    Timer1.stop();
    m_widthCounter = 0;
    m_heightCounter = 0;
    resize(twips(m_grow.finalWidth), twips(m_grow.finalHeight));
}

void SecondaryWindow::finishGrowIn()
{
    if (!Timer1.isActive()) return;
    while (Timer1.isActive())
        growTick();
}

void SecondaryWindow::hoverHighlight(QAbstractButton* button, const QColor& colour,
                                     const QList<QAbstractButton*>& others)
{
    button->setAutoFillBackground(true);
    button->installEventFilter(this);
    m_hover.insert(button, {colour, others});
}

bool SecondaryWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter) {
        auto it = m_hover.constFind(watched);
        if (it != m_hover.constEnd()) {
            auto* b = static_cast<QAbstractButton*>(watched);
            QPalette p = b->palette();
            p.setColor(QPalette::Button, it->colour);
            b->setPalette(p);
            for (QAbstractButton* o : it->others)
                o->setPalette(QPalette());
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SecondaryWindow::closeEvent(QCloseEvent* event)
{
    Timer1.stop();
    emit closed(m_number);
    QWidget::closeEvent(event);
}

} // namespace varnoth
