#include "platform/label.h"

#include "platform/twips.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QLabel>
#include <algorithm>
#include <cmath>

namespace glyvex::platform {

Label::Label(const ControlSpec& entry, const ControlHost& host, QWidget* parent)
    : Control(entry, new QLabel(parent), host.updates)
    , m_fonts(host.fonts)
    , m_font(entry.font.value_or(host.font))
    , m_caption(entry.caption)
    , m_borderStyle(entry.borderStyle)
    , m_autoSize(entry.autoSize)
    , m_spokenWithFace(entry.spokenWithFace)
{
    QLabel* l = label();
    l->setTextFormat(Qt::PlainText);
    // Qt would indent the text of a bordered label by half an "x", beyond its measured size.
    l->setIndent(0);
    l->setWordWrap(entry.wordWrap);
    l->setAlignment((entry.alignment == Align::Center      ? Qt::AlignHCenter
                         : entry.alignment == Align::Right ? Qt::AlignRight
                                                           : Qt::AlignLeft)
                    | Qt::AlignTop);
    l->setAutoFillBackground(!entry.transparent);
    // Only the colours the window names are fixed; the others stay the palette's, so that the
    // label follows the desktop's theme (light text on a dark window, and so on).
    if (entry.foreColor)
        setForeColor(*entry.foreColor);
    if (entry.backColor)
        paintBackground(l, *entry.backColor);
    relayMouse();
    // The caption, the face and the size that fits them are applied with the window's other
    // deferred changes, before it is first drawn or when read.
    schedule();
}

QLabel* Label::label() const { return static_cast<QLabel*>(m_widget); }

QString Label::stripAccessKeys(const QString& caption)
{
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i; // "&x" shows x, "&&" shows "&"
        shown.append(caption[i]);
    }
    return shown;
}

QString Label::literal(const QString& text)
{
    QString caption = text;
    return caption.replace(u'&', QLatin1String("&&"));
}

void Label::setCaption(const QString& caption)
{
    m_caption = caption;
    schedule();
}

void Label::setFontName(const QString& name)
{
    m_font.name = name;
    schedule();
}

void Label::setForeColor(const QColor& color)
{
    QPalette palette = label()->palette();
    palette.setColor(QPalette::WindowText, color);
    label()->setPalette(palette);
}

void Label::setBorderStyle(BorderStyle style)
{
    m_borderStyle = style;
    schedule();
}

void Label::showCaption()
{
    QLabel* l = label();
    l->setFrameShape(m_borderStyle == BorderStyle::FixedSingle ? QFrame::Box : QFrame::NoFrame);
    const QString text = stripAccessKeys(m_caption);
    l->setText(text);
    // A character shown in two faces side by side is told apart by its face: "A in Arial".
    l->setAccessibleName(text.isEmpty()         ? m_spokenName
                             : m_spokenWithFace ? QStringLiteral("%1 in %2").arg(text, m_font.name)
                                                : text);
}

void Label::sync()
{
    QLabel* l = label();
    const QFont font = m_fonts.font(m_font);
    l->setFont(font);
    showCaption();
    const QString text = l->text();
    if (m_autoSize && l->wordWrap()) {
        // A label that wraps keeps its width and takes the height of its lines.
        m_rect.height = fromPixelsY(std::max(l->heightForWidth(l->width()), 2 * l->frameWidth()));
        applyGeometry();
    } else if (m_autoSize) {
        const QFontMetricsF metrics(font);
        const int frame = 2 * l->frameWidth();
        const int width = text.isEmpty() ? frame : static_cast<int>(std::ceil(metrics.horizontalAdvance(text))) + frame;
        const int height = static_cast<int>(std::ceil(metrics.height())) + frame;
        m_rect.width = fromPixelsX(width);
        m_rect.height = fromPixelsY(height);
        applyGeometry();
    }
}

} // namespace glyvex::platform
