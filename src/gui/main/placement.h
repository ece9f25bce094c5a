#pragma once
// Where a secondary window opens: centred on the main window and wholly on the screen.

#include <QMargins>
#include <QRect>

namespace varnoth
{

// The client rectangle of a window of `client` size with a frame of `frame` around it, centred on
// `anchor` and moved, or shrunk when it is larger, so that the whole frame, its title bar included,
// lies inside `screen`.
QRect placeCentred(const QSize& client, const QMargins& frame, const QRect& anchor, const QRect& screen);

// The same window beside `keepClear` (a part of the anchor that must stay in sight): left of it
// where the whole frame fits on the screen there, else right of it, else on the side with more
// room, as far from `keepClear` as the screen allows. Vertically centred on `anchor`.
QRect placeBeside(const QSize& client, const QMargins& frame, const QRect& keepClear, const QRect& anchor,
                  const QRect& screen);

} // namespace varnoth
