#include "platform/windowframe.h"

#include <QGuiApplication>
#include <QThread>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace glyvex::platform {

namespace {
xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return result;
}

// The 32-bit values of a property, empty when it is absent or of another type.
QList<quint32> property(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name, xcb_atom_t type)
{
    QList<quint32> values;
    xcb_get_property_reply_t* reply
        = xcb_get_property_reply(c, xcb_get_property(c, 0, window, name, type, 0, 1024), nullptr);
    if (reply && reply->type == type && reply->format == 32) {
        const auto* data = static_cast<const quint32*>(xcb_get_property_value(reply));
        values = QList<quint32>(data, data + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return values;
}

// Asks an EWMH window manager for the frame it will put around the (unmapped) window and waits
// briefly for its answer.
QMargins requestFrameExtents(QWidget* widget)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return {};
    xcb_connection_t* c = x11->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_atom_t request = atom(c, "_NET_REQUEST_FRAME_EXTENTS");
    const xcb_atom_t extents = atom(c, "_NET_FRAME_EXTENTS");
    if (!property(c, root, atom(c, "_NET_SUPPORTED"), XCB_ATOM_ATOM).contains(request))
        return {}; // no window manager, or one that cannot tell in advance
    const auto window = static_cast<xcb_window_t>(widget->winId());
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = request;
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(c);
    const double ratio = widget->windowHandle() ? widget->windowHandle()->devicePixelRatio() : 1.0;
    for (int attempt = 0; attempt < 50; ++attempt) {
        const QList<quint32> v = property(c, window, extents, XCB_ATOM_CARDINAL);
        if (v.size() == 4) // left, right, top, bottom
        {
            const auto px = [ratio](quint32 value) { return static_cast<int>(std::lround(value / ratio)); };
            return QMargins(px(v[0]), px(v[2]), px(v[1]), px(v[3]));
        }
        QThread::msleep(10);
    }
    return {};
}
} // namespace

QMargins frameBeforeMapping(QWidget* window)
{
    if (window->windowFlags() & Qt::FramelessWindowHint)
        return {};
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        return requestFrameExtents(window);
    if (QGuiApplication::platformName() == QLatin1String("wayland"))
        return {}; // Qt makes its decoration when the window is shown
    // Platforms that know their frame as soon as the window exists (offscreen, for one).
    window->winId();
    return window->windowHandle() ? window->windowHandle()->frameMargins() : QMargins();
}

QMargins reportedFrame(const QWidget* window)
{
    if (!window->isVisible())
        return {};
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    const bool sane = frame.left() >= 0 && frame.top() >= 0 && frame.right() >= 0 && frame.bottom() >= 0;
    return sane ? frame : QMargins();
}

} // namespace glyvex::platform
