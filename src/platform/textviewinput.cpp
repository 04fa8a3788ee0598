// The text view's keyboard and mouse: scrolling, selecting and copying.
#include "platform/textview.h"

#include "platform/textviewprivate.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

namespace glyvex::platform {

using namespace textviewparts;

void TextView::keyPressEvent(QKeyEvent* event)
{
    if (event == QKeySequence::Copy) {
        copy();
        return;
    }
    if (event == QKeySequence::SelectAll) {
        selectAll();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Up:
        d->scrollLines(-1);
        return;
    case Qt::Key_Down:
        d->scrollLines(1);
        return;
    case Qt::Key_PageUp:
        d->scrollLines(-d->pageLines());
        return;
    case Qt::Key_PageDown:
        d->scrollLines(d->pageLines());
        return;
    case Qt::Key_Home:
        scrollToStart();
        return;
    case Qt::Key_End:
        scrollToEnd();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter in the text stays here: it does not press the window's default button.
        return;
    default:
        event->ignore();
        return;
    }
}

void TextView::wheelEvent(QWheelEvent* event)
{
    d->wheelRemainder += event->angleDelta().y();
    const int steps = d->wheelRemainder / 120;
    d->wheelRemainder -= steps * 120;
    if (steps != 0)
        d->scrollLines(-qsizetype(steps) * QApplication::wheelScrollLines());
    event->accept();
}

void TextView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const qsizetype at = d->positionAt(event->position());
    if (!(event->modifiers() & Qt::ShiftModifier))
        d->anchor = at;
    d->cursor = at;
    d->selecting = true;
    viewport()->update();
}

void TextView::mouseMoveEvent(QMouseEvent* event)
{
    if (!d->selecting)
        return;
    const QPointF at = event->position();
    if (at.y() < 0)
        d->scrollLines(-1);
    else if (at.y() > viewport()->height())
        d->scrollLines(1);
    d->cursor = d->positionAt(at);
    viewport()->update();
}

void TextView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !d->selecting)
        return;
    d->selecting = false;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard->supportsSelection() && d->anchor != d->cursor)
        clipboard->setText(selectedText(), QClipboard::Selection);
}

} // namespace glyvex::platform
