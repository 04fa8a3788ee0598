#include "platform/shapes.h"

#include "platform/toolkit.h"
#include "platform/twips.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <optional>
#include <utility>

namespace glyvex::platform {

Frame::Frame(const ControlSpec& entry, QWidget* parent)
    : Control(entry, new QFrame(parent))
{
    static_cast<QFrame*>(m_widget)->setFrameShape(entry.borderStyle == 1 ? QFrame::Box : QFrame::NoFrame);
    relayMouse();
}

Picture::Picture(const ControlSpec& entry, QWidget* parent)
    : Control(entry, new QLabel(parent))
{
    auto* l = static_cast<QLabel*>(m_widget);
    if (entry.kind == ControlKind::Image) {
        // A stretched image's size is its own: the file is decoded with the window's other
        // deferred changes, once the window has been handed to the window system.
        m_picture = entry.picture;
        l->setScaledContents(true);
        schedule();
    } else {
        const QPixmap pixmap = readPicture(entry.picture);
        l->setPixmap(pixmap);
        m_rect.width = fromPixelsX(pixmap.width());
        m_rect.height = fromPixelsY(pixmap.height());
        applyGeometry();
    }
    if (entry.backColor) {
        QPalette palette = l->palette();
        palette.setColor(QPalette::Window, *entry.backColor);
        l->setPalette(palette);
        l->setAutoFillBackground(true);
    }
    relayMouse();
}

void Picture::sync()
{
    if (!m_picture.isEmpty()) // decoded once; a later deferred change keeps the picture
        static_cast<QLabel*>(m_widget)->setPixmap(readPicture(std::exchange(m_picture, {})));
}

namespace {

class LineWidget final : public QWidget {
public:
    LineWidget(QWidget* parent, std::optional<QColor> color)
        : QWidget(parent)
        , m_color(color)
    {
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(QPen(m_color.value_or(palette().color(QPalette::WindowText)), 1));
        if (width() >= height())
            painter.drawLine(0, height() / 2, width(), height() / 2);
        else
            painter.drawLine(width() / 2, 0, width() / 2, height());
    }

private:
    std::optional<QColor> m_color;
};

} // namespace

Line::Line(const ControlSpec& entry, QWidget* parent)
    : Control(entry, new LineWidget(parent, entry.foreColor))
{
}

} // namespace glyvex::platform
