#include "app/frmsplash.h"

#include "platform/toolkit.h"
#include "platform/twips.h"
#include "preview/frmmain.h"

namespace glyvex {

using namespace platform;

namespace {
const QString kFace = QStringLiteral("Century Gothic");
const QColor kWhite(255, 255, 255);

ControlSpec text(const char* name, Rect rect, const char* caption, float size, bool autoSize, Align align)
{
    return {.kind = ControlKind::Label,
            .name = QString::fromLatin1(name),
            .rect = rect,
            .caption = QString::fromUtf8(caption),
            .font = FontSpec{kFace, size, 400},
            .autoSize = autoSize,
            .alignment = align,
            .foreColor = kWhite,
            .transparent = true};
}
} // namespace

frmSplash::frmSplash(frmMain& preview)
    : frmSplash(preview.platform(), [&preview]() -> frmMain& { return preview; })
{
}

frmSplash::frmSplash(Platform& platform, std::function<frmMain&()> makePreview)
    : Form(platform, QStringLiteral("frmSplash"),
           FormDesign{.caption = QStringLiteral("GLYVEX"),
                      .borderStyle = 0,
                      .minButton = false,
                      .maxButton = false,
                      .clientWidth = 7092,
                      .clientHeight = 3936,
                      .font = FontSpec{kFace, 10.8f, 600},
                      .backColor = QColor(0, 0, 0)})
    , m_makePreview(std::move(makePreview))
{
    const ControlSpec controls[] = {
        text("lblPlatform", {2760, 1680, 2328, 396}, "for Windows 9x", 16.2f, true, Align::Left),
        text("lblVersion", {3840, 2160, 1236, 276}, "Version 2.0", 12.0f, true, Align::Left),
        text("Label1", {120, 2640, 6900, 192}, "Loading System Fonts...", 7.8f, false, Align::Center),
        text("lblCopyright", {120, 2940, 6900, 192}, "\u00A9 2026 The Glyvex developers. Free to use and share.", 7.8f,
             false, Align::Center),
        {.kind = ControlKind::Image,
         .name = QStringLiteral("Image1"),
         .rect = {240, 240, 852, 732},
         .picture = QStringLiteral(":/glyvex/icon.png")},
        {.kind = ControlKind::Image,
         .name = QStringLiteral("Image2"),
         .rect = {1560, 600, 3972, 1068},
         .picture = QStringLiteral(":/glyvex/banner.png")},
    };
    createAll(controls);
    lblPlatform = control<Label>(QStringLiteral("lblPlatform"));
    lblVersion = control<Label>(QStringLiteral("lblVersion"));
    Label1 = control<Label>(QStringLiteral("Label1"));
    lblCopyright = control<Label>(QStringLiteral("lblCopyright"));
    Image1 = control<Picture>(QStringLiteral("Image1"));
    Image2 = control<Picture>(QStringLiteral("Image2"));
}

void frmSplash::Form_Load()
{
    Screen().setMousePointer(13);
    setTop(centreExact(Screen().Height(), Height()));
    setLeft(centreExact(Screen().Width(), Width()));
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

    preview.setTop(centreExact(Screen().Height(), preview.Height()));
    preview.setLeft(centreExact(Screen().Width(), preview.Width()));
    preview.Show();
    Screen().setMousePointer(0);
    Unload();
}

} // namespace glyvex
