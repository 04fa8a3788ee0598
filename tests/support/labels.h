#pragma once
// A label as a person sees it: its text, its face and colour (its waiting changes applied). A
// self-sizing label is exactly as large as its text and border need in its face; wrapped, as wide
// as it was and tall enough for its lines.
#include "platform/controls.h"

#include <QFontMetricsF>
#include <QLabel>
#include <cmath>

namespace glyvex::testing {

inline const QLabel* shown(const platform::Control* label)
{
    (void)label->Width(); // brings a deferred caption or face change in
    return static_cast<const QLabel*>(label->widget());
}
inline QString shownText(const platform::Control* label) { return shown(label)->text(); }
inline QFont shownFont(const platform::Control* label) { return shown(label)->font(); }
inline QColor shownColor(const platform::Control* label) { return shown(label)->palette().color(QPalette::WindowText); }

inline bool fitsItsText(const platform::Label* label)
{
    const QLabel* shown = testing::shown(label);
    if (shown->wordWrap())
        return shown->heightForWidth(shown->width()) <= shown->height();
    const QFontMetricsF metrics(shown->font());
    const int border = 2 * shown->frameWidth();
    const int width = int(std::ceil(metrics.horizontalAdvance(shown->text()))) + border;
    const int height = int(std::ceil(metrics.height())) + border;
    return shown->width() >= width && shown->width() <= width + 1 && shown->height() >= height
        && shown->height() <= height + 1;
}

} // namespace glyvex::testing
