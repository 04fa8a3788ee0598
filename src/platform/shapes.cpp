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

Frame::Frame(const ControlSpec& entry, const ControlHost& host, QWidget* parent)
    : Control(entry, new QFrame(parent), host.updates)
{
    static_cast<QFrame*>(m_widget)->setFrameShape(entry.borderStyle == BorderStyle::FixedSingle ? QFrame::Box
                                                                                                : QFrame::NoFrame);
    relayMouse();
}

Image::Image(const ControlSpec& entry, const ControlHost& host, QWidget* parent)
    : Control(entry, new QLabel(parent), host.updates)
    , m_picture(entry.picture)
{
    static_cast<QLabel*>(m_widget)->setScaledContents(true);
    schedule();
    relayMouse();
}

void Image::sync()
{
    if (!m_picture.isEmpty()) // decoded once; a later deferred change keeps the picture
        static_cast<QLabel*>(m_widget)->setPixmap(readPicture(std::exchange(m_picture, {})));
}

PictureBox::PictureBox(const ControlSpec& entry, const ControlHost& host, QWidget* parent)
    : Control(entry, new QLabel(parent), host.updates)
{
    const QPixmap pixmap = readPicture(entry.picture);
    static_cast<QLabel*>(m_widget)->setPixmap(pixmap);
    m_rect.width = fromPixelsX(pixmap.width());
    m_rect.height = fromPixelsY(pixmap.height());
    applyGeometry();
    if (entry.backColor)
        paintBackground(m_widget, *entry.backColor);
    relayMouse();
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

Line::Line(const ControlSpec& entry, const ControlHost& host, QWidget* parent)
    : Control(entry, new LineWidget(parent, entry.foreColor), host.updates)
{
}

} // namespace glyvex::platform
