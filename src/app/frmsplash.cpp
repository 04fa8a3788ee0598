#include "app/frmsplash.h"

#include "platform/toolkit.h"
#include "platform/twips.h"
#include "preview/frmmain.h"

namespace glyvex {

using namespace platform;

namespace {
const QString kFace = QStringLiteral("Century Gothic");

// A line of white text on the black background.
ControlSpec text(const char* name, Rect rect, const char* caption, float size, bool autoSize, Align align)
{
    return {.name = QString::fromLatin1(name),
            .rect = rect,
            .caption = QString::fromUtf8(caption),
            .font = FontSpec{kFace, size, 400},
            .autoSize = autoSize,
            .alignment = align,
            .foreColor = QColor(255, 255, 255),
            .transparent = true};
}
} // namespace

frmSplash::frmSplash(Platform& platform, std::function<frmMain&()> makePreview)
    : Form(platform, QStringLiteral("frmSplash"),
           FormDesign{.caption = QStringLiteral("GLYVEX"),
                      .borderStyle = BorderStyle::None,
                      .minButton = false,
                      .maxButton = false,
                      .clientWidth = 7092,
                      .clientHeight = 3936,
                      .font = FontSpec{kFace, 10.8f, 600},
                      .backColor = QColor(0, 0, 0)})
    , m_makePreview(std::move(makePreview))
{
    lblPlatform = add<Label>(text("lblPlatform", {2760, 1680, 2328, 396}, "for Windows 9x", 16.2f, true, Align::Left));
    lblVersion = add<Label>(text("lblVersion", {3840, 2160, 1236, 276}, "Version 2.0", 12.0f, true, Align::Left));
    Label1 = add<Label>(text("Label1", {120, 2640, 6900, 192}, "Loading System Fonts...", 7.8f, false, Align::Center));
    lblCopyright
        = add<Label>(text("lblCopyright", {120, 2940, 6900, 192},
                          "\u00A9 2026 The Glyvex developers. Free to use and share.", 7.8f, false, Align::Center));
    Image1 = add<Image>({.name = u"Image1"_qs, .rect = {240, 240, 852, 732}, .picture = u":/glyvex/icon.png"_qs});
    Image2 = add<Image>({.name = u"Image2"_qs, .rect = {1560, 600, 3972, 1068}, .picture = u":/glyvex/banner.png"_qs});
}

void frmSplash::Form_Load()
{
    Screen().setMousePointer(MousePointer::ArrowHourglass);
    centre(CentringRule::Exact, FirstEdge::Top);
    Show();
    DoEvents();

    frmMain& preview = m_makePreview();
    preview.Load();
    ComboBox& list = *preview.cboFonts;
    for (std::int32_t i = 0; i <= Screen().FontCount() - 1; ++i)
        list.AddItem(Screen().Fonts(i));
    for (std::int32_t i = 0; i <= list.ListCount() - 1; ++i) {
        list.setListIndex(i);
        if (list.Text() == QLatin1String("Arial"))
            break;
    }

    preview.centre(CentringRule::Exact, FirstEdge::Top);
    preview.Show();
    Screen().setMousePointer(MousePointer::Default);
    Unload();
}

} // namespace glyvex
