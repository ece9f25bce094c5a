#include "gui/main/placement.h"

#include <algorithm>

namespace varnoth
{

QRect placeCentred(const QSize& client, const QMargins& frame, const QRect& anchor, const QRect& screen)
{
    QSize outer = client.grownBy(frame);
    outer = outer.boundedTo(screen.size());
    QRect rect(QPoint(0, 0), outer);
    rect.moveCenter(anchor.center());
    rect.moveLeft(std::clamp(rect.left(), screen.left(), screen.right() + 1 - rect.width()));
    rect.moveTop(std::clamp(rect.top(), screen.top(), screen.bottom() + 1 - rect.height()));
    return rect.marginsRemoved(frame);
}

QRect placeBeside(const QSize& client, const QMargins& frame, const QRect& keepClear, const QRect& anchor,
                  const QRect& screen)
{
    QRect rect = placeCentred(client, frame, anchor, screen).marginsAdded(frame);
    const int roomLeft = keepClear.left() - screen.left();
    const int roomRight = screen.right() - keepClear.right();
    const bool left = rect.width() <= roomLeft || (rect.width() > roomRight && roomLeft >= roomRight);
    if (left)
        rect.moveRight(keepClear.left() - 1);
    else
        rect.moveLeft(keepClear.right() + 1);
    rect.moveLeft(std::clamp(rect.left(), screen.left(), screen.right() + 1 - rect.width()));
    return rect.marginsRemoved(frame);
}

} // namespace varnoth
