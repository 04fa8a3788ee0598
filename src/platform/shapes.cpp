#include "platform/shapes.h"

#include "platform/twips.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <optional>

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
    const QPixmap pixmap(entry.picture);
    l->setPixmap(pixmap);
    if (entry.kind == ControlKind::Image) {
        l->setScaledContents(true);
    } else {
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
