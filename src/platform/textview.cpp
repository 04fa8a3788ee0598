#include "platform/textview.h"

#include "platform/textviewprivate.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>

namespace glyvex::platform {

using namespace textviewparts;

TextView::TextView(QWidget* parent)
    : QAbstractScrollArea(parent)
    , d(std::make_unique<Private>())
{
    d->q = this;
    d->font = font();
    d->index.build(d->text);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
}

TextView::~TextView() = default;

void TextView::setText(const QString& text)
{
    d->text = text;
    d->index.build(d->text);
    d->invalidate();
    d->anchor = d->cursor = 0;
    d->top = {};
    d->setTop({});
}

const QString& TextView::text() const { return d->text; }

void TextView::setTextFont(const QFont& font)
{
    setFont(font); // what the widget says of its text (to screen readers too)
    d->font = font;
    d->invalidate();
    d->setTop(d->top);
}

QString TextView::selectedText() const
{
    const auto [from, to] = d->selection();
    return d->text.mid(from, to - from);
}

void TextView::selectAll()
{
    d->anchor = 0;
    d->cursor = d->text.size();
    viewport()->update();
}

void TextView::copy() const
{
    const auto [from, to] = d->selection();
    if (from < to)
        QGuiApplication::clipboard()->setText(selectedText());
}

void TextView::scrollToStart() { d->setTop({}); }
void TextView::scrollToEnd() { d->setTop(d->furthestTop()); }

void TextView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    // Lines above the top one are laid out with it but not shown, not even their descenders.
    painter.setClipRect(QRect(0, kMargin, viewport()->width(), viewport()->height() - kMargin));
    const std::pair<qsizetype, qsizetype> selection = d->selection(); // plain names: the lambda below uses them
    const qsizetype from = selection.first, to = selection.second;
    QTextCharFormat selected;
    selected.setBackground(palette().brush(QPalette::Highlight));
    selected.setForeground(palette().brush(QPalette::HighlightedText));
    painter.setPen(palette().color(QPalette::Text));
    d->forVisibleRows([&](const RowLayout& l, qreal y) {
        QList<QTextLayout::FormatRange> ranges;
        const qsizetype start = std::max(from, l.row.start);
        const qsizetype end = std::min(to, l.row.end);
        if (start < end)
            ranges.append({static_cast<int>(start - l.row.start), static_cast<int>(end - start), selected});
        l.layout.draw(&painter, QPointF(kMargin, y), ranges);
        return true;
    });
}

void TextView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    d->invalidate();
    d->setTop(d->top);
}

void TextView::scrollContentsBy(int, int)
{
    // The scroll bar was moved: it counts rows.
    d->setTop({verticalScrollBar()->value(), 0});
}

} // namespace glyvex::platform
