#pragma once
// A self-sizing label as a person sees it: exactly as large as its text and border need in its
// face; wrapped, as wide as it was and tall enough for its lines.
#include "platform/controls.h"

#include <QFontMetricsF>
#include <QLabel>
#include <cmath>

namespace glyvex::testing {

inline bool fitsItsText(const platform::Label* label)
{
    (void)label->Width(); // brings a deferred caption or face change in
    const auto* shown = static_cast<const QLabel*>(label->widget());
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
