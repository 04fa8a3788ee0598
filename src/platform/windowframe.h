#pragma once
// The frame the window system draws around a top-level window (title bar and borders), in
// device-independent pixels on each side of the client area.
#include <QMargins>

class QWidget;

namespace glyvex::platform {

// The frame of a window that is not shown yet, where the window system can tell it before
// mapping (an X11 window manager answering _NET_REQUEST_FRAME_EXTENTS); empty otherwise.
QMargins frameBeforeMapping(QWidget* window);
// The frame of a shown window as the window system reports it now; null while it has not
// reported one (yet).
QMargins reportedFrame(const QWidget* window);

} // namespace glyvex::platform
