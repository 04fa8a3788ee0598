#include "info/frmabout.h"

#include "info/addresses.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/toolkit.h"
#include "platform/twips.h"

#include <array>

namespace glyvex {

using namespace platform;

namespace {

const QString kFace = QStringLiteral("Century Gothic");
const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kLinkBlue(0, 0, 255);
const QColor kLinkRed(255, 0, 0);

ControlSpec text(const QString& name, Rect rect, const QString& caption, float size, Align align, int tabIndex)
{
    return {.kind = ControlKind::Label,
            .name = name,
            .rect = rect,
            .caption = caption,
            .font = FontSpec{kFace, size, 400},
            .tabIndex = tabIndex,
            .alignment = align,
            .foreColor = kWhite,
            .transparent = true};
}

ControlSpec autoSized(ControlSpec entry)
{
    entry.autoSize = true;
    return entry;
}

ControlSpec wrapped(ControlSpec entry)
{
    entry.wordWrap = true;
    return entry;
}

// The controls, bottom first: the link lies inside Label4's rectangle and above it.
const std::array<ControlSpec, 10> kControls{{
    {.kind = ControlKind::Image,
     .name = QStringLiteral("Image2"),
     .rect = {1200, 120, 3372, 708},
     .picture = QStringLiteral(":/glyvex/banner.png")},
    autoSized(text(QStringLiteral("lblVersion"), {1440, 840, 2580, 252}, QStringLiteral("Version 2.0 for Windows 9x"),
                   10.2f, Align::Left, 1)),
    {.kind = ControlKind::Line,
     .name = QStringLiteral("Line1(1)"),
     .rect = {120, 2400, 5340, 0},
     .foreColor = QColor(128, 128, 128)},
    wrapped(text(QStringLiteral("Label1"), {120, 1320, 5376, 408},
                 QStringLiteral("Glyvex, a font viewer, \u00A9 2026 the Glyvex developers. "
                                "Thanks to everyone who tried it and wrote back."),
                 7.8f, Align::Center, 2)),
    wrapped(text(QStringLiteral("Label3"), {120, 1920, 5376, 408},
                 QStringLiteral("Free to use and share: copy it and give it away, whole and unchanged, "
                                "but do not sell it."),
                 7.8f, Align::Center, 3)),
    text(QStringLiteral("Label2"), {120, 3000, 5376, 204}, QStringLiteral("Please report all bugs to ") + info::kEmail,
         7.8f, Align::Center, 4),
    wrapped(text(QStringLiteral("Label4"), {240, 3480, 5388, 444},
                 QStringLiteral("For updates to this program, as well as more free applications and code, "
                                "visit my web site at"),
                 7.8f, Align::Left, 5)),
    [] {
        ControlSpec link = autoSized(
            text(QStringLiteral("lblWebPage"), {2280, 3720, 2388, 204}, info::kWebPage, 7.8f, Align::Left, 6));
        link.foreColor = kLinkBlue;
        link.toolTip = QStringLiteral("Go to my web page!");
        link.mousePointer = 10;
        return link;
    }(),
    {.kind = ControlKind::PictureBox,
     .name = QStringLiteral("picIcon"),
     .rect = {240, 240, 384, 384},
     .tabIndex = 0,
     .backColor = kBlack,
     .picture = QStringLiteral(":/glyvex/icon.png")},
    {.kind = ControlKind::Button,
     .name = QStringLiteral("cmdOK"),
     .rect = {2400, 4200, 900, 345},
     .toolTip = QStringLiteral("Close"),
     .tabIndex = 7,
     .backColor = kBlack,
     .picture = QStringLiteral(":/glyvex/close.png"),
     .isDefault = true,
     .isCancel = true},
}};

} // namespace

frmAbout::frmAbout(platform::Platform& platform)
    : Form(platform, QStringLiteral("frmAbout"),
           FormDesign{.caption = QStringLiteral("About GLYVEX..."),
                      .borderStyle = 3,
                      .minButton = false,
                      .maxButton = false,
                      .clientWidth = 5604,
                      .clientHeight = 4728,
                      .backColor = kBlack})
{
    createAll(kControls);
    cmdOK = control<Button>(QStringLiteral("cmdOK"));
    picIcon = control<Picture>(QStringLiteral("picIcon"));
    lblWebPage = control<Label>(QStringLiteral("lblWebPage"));
    Label4 = control<Label>(QStringLiteral("Label4"));
    Label2 = control<Label>(QStringLiteral("Label2"));
    Label3 = control<Label>(QStringLiteral("Label3"));
    Label1 = control<Label>(QStringLiteral("Label1"));
    Line1 = control<Line>(QStringLiteral("Line1(1)"));
    lblVersion = control<Label>(QStringLiteral("lblVersion"));
    Image2 = control<Picture>(QStringLiteral("Image2"));
    applyTabOrder();
    wire();
}

void frmAbout::wire()
{
    on(background(), &Control::MouseMove, this, &frmAbout::Form_MouseMove);
    on(lblWebPage, &Control::MouseMove, this, &frmAbout::lblWebPage_MouseMove);
    on(lblWebPage, &Control::Click, this, &frmAbout::lblWebPage_Click);
    on(cmdOK, &Button::Click, this, &frmAbout::cmdOK_Click);
}

void frmAbout::Form_Load()
{
    setTop(centreExact(Screen().Height(), Height()));
    setLeft(centreExact(Screen().Width(), Width()));
}

void frmAbout::Form_MouseMove(int, int, float, float) { lblWebPage->setForeColor(kLinkBlue); }

void frmAbout::lblWebPage_MouseMove(int, int, float, float) { lblWebPage->setForeColor(kLinkRed); }

// The address is the program's own, not the label's text; whether a browser opened is not
// the window's concern.
void frmAbout::lblWebPage_Click() { (void)platform().dialogs().openUrl(QUrl(info::kWebPage)); }

void frmAbout::cmdOK_Click() { Unload(); }

} // namespace glyvex
