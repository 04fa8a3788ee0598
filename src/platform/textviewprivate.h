#pragma once
// The inside of TextView, shared by its drawing and scrolling (textview.cpp) and its keyboard
// and mouse handling (textviewinput.cpp): the rows, their layouts as far as drawn, the top line
// and the selection.
#include "platform/textrows.h"
#include "platform/textview.h"

#include <QHash>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextLayout>
#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

namespace glyvex::platform {

namespace textviewparts {

using textrows::Row;
using textrows::RowIndex;

constexpr int kMargin = 2;
// Layouts kept for the rows on screen and near it.
constexpr qsizetype kMaxCachedLayouts = 1024;

struct RowLayout {
    Row row;
    QTextLayout layout;
    qreal height = 0;
};

// A place in the view: a row and a screen line of it.
struct LinePos {
    qsizetype row = 0;
    int line = 0;
    bool operator<(const LinePos& o) const { return row < o.row || (row == o.row && line < o.line); }
};

} // namespace textviewparts

struct TextView::Private {
    using Row = textviewparts::Row;
    using RowIndex = textviewparts::RowIndex;
    using RowLayout = textviewparts::RowLayout;
    using LinePos = textviewparts::LinePos;
    TextView* q;
    QString text;
    RowIndex index;
    QFont font;
    QHash<qsizetype, std::shared_ptr<RowLayout>> layouts;
    int layoutWidth = -1;
    LinePos top;
    std::optional<LinePos> maxTop;
    qsizetype anchor = 0; // selection: [min(anchor, cursor), max(anchor, cursor))
    qsizetype cursor = 0;
    bool selecting = false;
    int wheelRemainder = 0;

    void invalidate()
    {
        layouts.clear();
        maxTop.reset();
    }

    int width() const { return std::max(1, q->viewport()->width() - 2 * textviewparts::kMargin); }

    const RowLayout& layout(qsizetype row)
    {
        if (layoutWidth != width()) {
            invalidate();
            layoutWidth = width();
        }
        if (auto found = layouts.constFind(row); found != layouts.constEnd())
            return **found;
        if (layouts.size() >= textviewparts::kMaxCachedLayouts)
            layouts.clear();
        auto made = std::make_shared<RowLayout>();
        made->row = index.row(row);
        made->layout.setText(text.mid(made->row.start, made->row.end - made->row.start));
        made->layout.setFont(font);
        made->layout.setCacheEnabled(true);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        made->layout.setTextOption(option);
        made->layout.beginLayout();
        qreal y = 0;
        for (;;) {
            QTextLine line = made->layout.createLine();
            if (!line.isValid())
                break;
            line.setLineWidth(layoutWidth);
            line.setPosition(QPointF(0, y));
            y += line.height();
        }
        made->layout.endLayout();
        made->height = y;
        return **layouts.insert(row, std::move(made));
    }

    int lineCount(qsizetype row) { return std::max(1, layout(row).layout.lineCount()); }

    qreal lineY(qsizetype row, int line)
    {
        const QTextLayout& l = layout(row).layout;
        return line < l.lineCount() ? l.lineAt(line).y() : 0;
    }

    // The furthest the view scrolls: the last screen lines fill the pane.
    LinePos furthestTop()
    {
        if (maxTop)
            return *maxTop;
        qreal room = q->viewport()->height();
        qsizetype row = index.count() - 1;
        LinePos result;
        for (;;) {
            const RowLayout& l = layout(row);
            if (l.height >= room) {
                int line = l.layout.lineCount() - 1;
                while (line > 0 && l.height - l.layout.lineAt(line).y() < room)
                    --line;
                result = {row, line};
                break;
            }
            room -= l.height;
            if (row == 0) {
                result = {0, 0};
                break;
            }
            --row;
        }
        maxTop = result;
        return result;
    }

    void setTop(LinePos to)
    {
        const LinePos furthest = furthestTop();
        if (furthest < to)
            to = furthest;
        to.line = std::clamp(to.line, 0, lineCount(to.row) - 1);
        top = to;
        syncScrollBar();
        q->viewport()->update();
    }

    void syncScrollBar()
    {
        QScrollBar* bar = q->verticalScrollBar();
        const QSignalBlocker blocker(bar);
        const qreal spacing = std::max<qreal>(1, QFontMetricsF(font).lineSpacing());
        bar->setRange(0, static_cast<int>(std::min<qsizetype>(furthestTop().row, INT_MAX)));
        bar->setSingleStep(1);
        bar->setPageStep(std::max(1, static_cast<int>(q->viewport()->height() / spacing) - 1));
        bar->setValue(static_cast<int>(std::min<qsizetype>(top.row, INT_MAX)));
    }

    void scrollLines(qsizetype count)
    {
        LinePos to = top;
        while (count > 0) {
            const int left = lineCount(to.row) - 1 - to.line;
            if (count <= left) {
                to.line += static_cast<int>(count);
                break;
            }
            if (to.row + 1 >= index.count()) {
                to.line = lineCount(to.row) - 1;
                break;
            }
            count -= left + 1;
            to = {to.row + 1, 0};
            if (furthestTop() < to)
                break;
        }
        while (count < 0) {
            if (-count <= to.line) {
                to.line += static_cast<int>(count);
                break;
            }
            if (to.row == 0) {
                to.line = 0;
                break;
            }
            count += to.line + 1;
            to.row -= 1;
            to.line = lineCount(to.row) - 1;
        }
        setTop(to);
    }

    int pageLines() const
    {
        const qreal spacing = std::max<qreal>(1, QFontMetricsF(font).lineSpacing());
        return std::max(1, static_cast<int>(q->viewport()->height() / spacing) - 1);
    }

    // Calls visit(row layout, y of the row's top) for each row on screen, top to bottom.
    template <class Visit> void forVisibleRows(Visit visit)
    {
        const int height = q->viewport()->height();
        qreal y = textviewparts::kMargin - lineY(top.row, top.line);
        for (qsizetype row = top.row; row < index.count() && y < height; ++row) {
            const RowLayout& l = layout(row);
            if (!visit(l, y))
                return;
            y += l.height;
        }
    }

    // The text position under a point of the viewport.
    qsizetype positionAt(QPointF point)
    {
        qsizetype found = -1;
        qsizetype last = 0;
        const qreal x = point.x() - textviewparts::kMargin;
        if (point.y() < textviewparts::kMargin) {
            const RowLayout& l = layout(top.row);
            const QTextLine line = l.layout.lineAt(std::min(top.line, l.layout.lineCount() - 1));
            return l.row.start + (line.isValid() ? line.xToCursor(x) : 0);
        }
        forVisibleRows([&](const RowLayout& l, qreal y) {
            last = l.row.end;
            if (point.y() >= y + l.height)
                return true;
            for (int i = 0; i < l.layout.lineCount(); ++i) {
                const QTextLine line = l.layout.lineAt(i);
                if (point.y() < y + line.y() + line.height() || i + 1 == l.layout.lineCount()) {
                    found = l.row.start + line.xToCursor(x);
                    return false;
                }
            }
            found = l.row.start;
            return false;
        });
        return found >= 0 ? found : last;
    }

    std::pair<qsizetype, qsizetype> selection() const { return std::minmax(anchor, cursor); }
};

} // namespace glyvex::platform
