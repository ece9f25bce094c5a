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

} // namespace varnoth
