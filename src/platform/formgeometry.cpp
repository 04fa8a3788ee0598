// Where a window is and how big: twips as written, the frame added around the client area
// once the window system makes it known.
#include "platform/form.h"
#include "platform/formwindow.h"
#include "platform/twips.h"

#include <QLayout>
#include <algorithm>

namespace glyvex::platform {

void Form::setLeft(float value)
{
    m_left = value;
    applyGeometry();
}

void Form::setTop(float value)
{
    m_top = value;
    applyGeometry();
}

void Form::setWidth(float value)
{
    m_width = value;
    m_widthSet = true;
    applyGeometry();
}

void Form::setHeight(float value)
{
    m_height = value;
    m_heightSet = true;
    applyGeometry();
}

void Form::applyGeometry()
{
    QMainWindow* w = m_window;
    m_applying = true;
    if (w->layout())
        w->layout()->activate();
    const QSize smallest = w->minimumSizeHint().expandedTo(QSize(1, 1));
    const int frameWidth = m_frame.left() + m_frame.right();
    const int frameHeight = m_frame.top() + m_frame.bottom();
    const int width = std::max(toPixelsX(m_width) - frameWidth, smallest.width());
    const int height = std::max(toPixelsY(m_height) - frameHeight, smallest.height());
    if (fixedBorder())
        w->setFixedSize(width, height);
    else
        w->resize(width, height);
    // Left and Top place the frame, with the frame this program knows: the toolkit's own idea
    // of it may lag behind (X11 before the window manager reparents).
    const QPoint toolkitFrame = w->geometry().topLeft() - w->frameGeometry().topLeft();
    w->move(QPoint(toPixelsX(m_left) + m_frame.left(), toPixelsY(m_top) + m_frame.top()) - toolkitFrame);
    m_applying = false;
    // A height below the smallest the window can have reads back as the real height.
    const int realHeight = w->height() + frameHeight;
    if (realHeight > toPixelsY(m_height))
        m_height = fromPixelsY(realHeight);
}

// The window system told the frame (again). A size nobody has set keeps its client area, so
// the outer size grows by the frame; a size that was set stays the outer size. A window that
// has had a frame keeps it when a later report has none (X11 maps before it reparents).
void Form::frameKnown(QMargins frame)
{
    if (frame.isNull() || frame == m_frame)
        return;
    if (!m_widthSet)
        m_width += fromPixelsX(frame.left() + frame.right() - m_frame.left() - m_frame.right());
    if (!m_heightSet)
        m_height += fromPixelsY(frame.top() + frame.bottom() - m_frame.top() - m_frame.bottom());
    m_frame = frame;
    applyGeometry();
}

void Form::systemGeometryChanged()
{
    if (m_applying || !m_window->isVisible())
        return;
    const QMargins frame = m_platform.reportedFrame(m_window);
    if (!frame.isNull() && frame != m_frame) {
        frameKnown(frame);
        return;
    }
    // A change the user or the window system made: take it over, unless it is only the
    // pixel rounding of the value last written. A fixed-border window keeps its size.
    const QRect outer = m_window->geometry().marginsAdded(m_frame);
    if (fixedBorder() && (toPixelsX(m_width) != outer.width() || toPixelsY(m_height) != outer.height())) {
        applyGeometry();
        return;
    }
    if (toPixelsX(m_width) != outer.width()) {
        m_width = fromPixelsX(outer.width());
        m_widthSet = true;
    }
    if (toPixelsY(m_height) != outer.height()) {
        m_height = fromPixelsY(outer.height());
        m_heightSet = true;
    }
    if (toPixelsX(m_left) != outer.x())
        m_left = fromPixelsX(outer.x());
    if (toPixelsY(m_top) != outer.y())
        m_top = fromPixelsY(outer.y());
}

WindowState Form::windowState() const
{
    const Qt::WindowStates state = m_window->windowState();
    if (state & Qt::WindowMinimized)
        return WindowState::Minimized;
    if (state & Qt::WindowMaximized)
        return WindowState::Maximized;
    return WindowState::Normal;
}

void Form::centre(CentringRule rule, FirstEdge first)
{
    const auto centred = rule == CentringRule::Exact ? centreExact : centreWholeTwip;
    const float left = centred(Screen().Width(), Width());
    const float top = centred(Screen().Height(), Height());
    if (first == FirstEdge::Top) {
        setTop(top);
        setLeft(left);
    } else {
        setLeft(left);
        setTop(top);
    }
}

} // namespace glyvex::platform
