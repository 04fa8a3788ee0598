#include "platform/control.h"

#include "platform/label.h"
#include "platform/twips.h"

#include <QAccessible>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace glyvex::platform {

namespace {

MouseButton buttonOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return MouseButton::Left;
    case Qt::RightButton:
        return MouseButton::Right;
    case Qt::MiddleButton:
        return MouseButton::Middle;
    default:
        return MouseButton::None;
    }
}

} // namespace

void paintBackground(QWidget* widget, const QColor& color, QPalette::ColorRole role)
{
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

Control::Control(const ControlSpec& entry, QWidget* widget, UpdateQueue* updates)
    : QObject(widget)
    , m_widget(widget)
    , m_rect(entry.rect)
    , m_visible(entry.visible)
    , m_updates(updates)
{
    setObjectName(entry.name);
    widget->setObjectName(entry.name);
    if (!entry.toolTip.isEmpty())
        widget->setToolTip(entry.toolTip);
    // What a screen reader says: the caption a person sees, else the tooltip, else the control's
    // role read from its name; a tooltip is also the description. (Labels keep their name in
    // step with their caption.) Given with the other deferred changes: the first name given
    // starts the desktop's accessibility bridge, which takes a few milliseconds the splash
    // window would otherwise wait for.
    m_spokenName = entry.toolTip.isEmpty() ? spokenName(entry.name) : entry.toolTip;
    m_accessibleName = entry.caption.isEmpty() ? m_spokenName : Label::stripAccessKeys(entry.caption);
    m_unnamed = true;
    schedule();
    if (entry.mousePointer == MousePointer::UpArrow)
        widget->setCursor(Qt::UpArrowCursor);
    else if (entry.mousePointer == MousePointer::ArrowHourglass)
        widget->setCursor(Qt::BusyCursor);
    applyGeometry();
    widget->setVisible(entry.visible);
}

Control::~Control() = default;

QString Control::spokenName(const QString& name)
{
    // "fraLetters" -> "Letters", "rtfReadMe" -> "Read Me", "Image2" -> "Image 2", "Line1(1)" -> "Line 1"
    QString base = name.section(u'(', 0, 0);
    qsizetype start = 0;
    while (start < base.size() && base[start].isLower())
        ++start;
    if (start == base.size() || !base[start].isUpper())
        start = 0; // no kind prefix: all of it is the role
    QString spoken;
    for (qsizetype i = start; i < base.size(); ++i) {
        const QChar c = base[i];
        if (!spoken.isEmpty() && i > start
            && ((c.isUpper() && base[i - 1].isLower()) || (c.isDigit() && !base[i - 1].isDigit())))
            spoken.append(u' ');
        spoken.append(c);
    }
    return spoken;
}

float Control::Width() const
{
    applyPending();
    return m_rect.width;
}

float Control::Height() const
{
    applyPending();
    return m_rect.height;
}

void Control::setLeft(float value)
{
    m_rect.left = value;
    applyGeometry();
}

void Control::setTop(float value)
{
    m_rect.top = value;
    applyGeometry();
}

void Control::setVisible(bool value)
{
    m_visible = value;
    m_widget->setVisible(value);
}

void Control::applyGeometry()
{
    const int left = toPixelsX(m_rect.left);
    const int top = toPixelsY(m_rect.top);
    const int right = toPixelsX(m_rect.left + m_rect.width);
    const int bottom = toPixelsY(m_rect.top + m_rect.height);
    m_widget->setGeometry(left, top, std::max(1, right - left), std::max(1, bottom - top));
}

void Control::schedule()
{
    if (m_pending)
        return;
    m_pending = true;
    if (m_updates)
        m_updates->add(this);
}

void Control::applyPending() const
{
    if (!m_pending)
        return;
    auto* self = const_cast<Control*>(this);
    self->m_pending = false;
    if (std::exchange(self->m_unnamed, false)) {
        m_widget->setAccessibleDescription(m_widget->toolTip());
        m_widget->setAccessibleName(m_accessibleName);
    }
    self->sync();
}

void UpdateQueue::add(Control* control)
{
    m_controls.append(control);
    if (!m_posted) {
        m_posted = true;
        QMetaObject::invokeMethod(this, &UpdateQueue::flush, Qt::QueuedConnection);
    }
}

void UpdateQueue::flush()
{
    m_posted = false;
    const QList<QPointer<Control>> waiting = std::exchange(m_controls, {});
    for (const QPointer<Control>& control : waiting) {
        if (control)
            control->applyPending();
    }
}

void Control::relayMouse() { m_widget->installEventFilter(this); }

void Control::connectNotify(const QMetaMethod& signal)
{
    if (signal == QMetaMethod::fromSignal(&Control::MouseMove))
        m_widget->setMouseTracking(true);
    // A label that does something when clicked (a link) is also reached with Tab and pressed
    // with the space bar, so that no command needs the mouse.
    if (signal == QMetaMethod::fromSignal(&Control::Click) && qobject_cast<QLabel*>(m_widget))
        m_widget->setFocusPolicy(Qt::TabFocus);
}

bool Control::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_widget)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        m_pressed = mouse->button() == Qt::LeftButton;
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPointF at = mouse->position();
        const bool click = m_pressed && mouse->button() == Qt::LeftButton && m_widget->rect().contains(at.toPoint());
        m_pressed = false;
        emit MouseUp(buttonOf(mouse->button()));
        if (click)
            emit Click();
        return true;
    }
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space && m_widget->focusPolicy() == Qt::TabFocus
            && qobject_cast<QLabel*>(m_widget)) {
            emit Click();
            return true;
        }
        return false;
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            emit DblClick();
        return true;
    case QEvent::MouseMove:
        emit MouseMove();
        return true;
    default:
        return false;
    }
}

} // namespace glyvex::platform
