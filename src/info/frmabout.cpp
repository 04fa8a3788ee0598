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
const QColor kLinkBlue(0, 0, 255);
const QColor kLinkRed(255, 0, 0);

// A line of white text on the black background.
ControlSpec text(const char* name, Rect rect, const QString& caption, float size, Align align, int tabIndex)
{
    return {.name = QString::fromLatin1(name),
            .rect = rect,
            .caption = caption,
            .font = FontSpec{kFace, size, 400},
            .tabIndex = tabIndex,
            .alignment = align,
            .foreColor = QColor(255, 255, 255),
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

} // namespace

frmAbout::frmAbout(platform::Platform& platform)
    : Form(platform, QStringLiteral("frmAbout"),
           FormDesign{.caption = QStringLiteral("About GLYVEX..."),
                      .borderStyle = BorderStyle::FixedDialog,
                      .minButton = false,
                      .maxButton = false,
                      .clientWidth = 5604,
                      .clientHeight = 4728,
                      .backColor = kBlack})
{
    Image2 = add<Image>({.name = u"Image2"_qs, .rect = {1200, 120, 3372, 708}, .picture = u":/glyvex/banner.png"_qs});
    lblVersion = add<Label>(
        autoSized(text("lblVersion", {1440, 840, 2580, 252}, u"Version 2.0 for Windows 9x"_qs, 10.2f, Align::Left, 1)));
    Line1 = add<Line>({.name = u"Line1(1)"_qs, .rect = {120, 2400, 5340, 0}, .foreColor = QColor(128, 128, 128)});
    Label1 = add<Label>(wrapped(text("Label1", {120, 1320, 5376, 408},
                                     u"Glyvex, a font viewer, \u00A9 2026 the Glyvex developers. "
                                     "Thanks to everyone who tried it and wrote back."_qs,
                                     7.8f, Align::Center, 2)));
    Label3 = add<Label>(wrapped(text("Label3", {120, 1920, 5376, 408},
                                     u"Free to use and share: copy it and give it away, whole and unchanged, "
                                     "but do not sell it."_qs,
                                     7.8f, Align::Center, 3)));
    Label2 = add<Label>(text("Label2", {120, 3000, 5376, 204}, u"Please report all bugs to "_qs + info::kEmail, 7.8f,
                             Align::Center, 4));
    Label4 = add<Label>(wrapped(text("Label4", {240, 3480, 5388, 444},
                                     u"For updates to this program, as well as more free applications and code, "
                                     "visit my web site at"_qs,
                                     7.8f, Align::Left, 5)));
    ControlSpec link = autoSized(text("lblWebPage", {2280, 3720, 2388, 204}, info::kWebPage, 7.8f, Align::Left, 6));
    link.foreColor = kLinkBlue;
    link.toolTip = u"Go to my web page!"_qs;
    link.mousePointer = MousePointer::UpArrow;
    lblWebPage = add<Label>(link);
    picIcon = add<PictureBox>({.name = u"picIcon"_qs,
                               .rect = {240, 240, 384, 384},
                               .tabIndex = 0,
                               .backColor = kBlack,
                               .picture = u":/glyvex/icon.png"_qs});
    cmdOK = add<Button>({.name = u"cmdOK"_qs,
                         .rect = {2400, 4200, 900, 345},
                         .toolTip = u"Close"_qs,
                         .tabIndex = 7,
                         .backColor = kBlack,
                         .picture = u":/glyvex/close.png"_qs,
                         .isDefault = true,
                         .isCancel = true});
    applyTabOrder();
    on(background(), &Control::MouseMove, this, &frmAbout::Form_MouseMove);
    on(lblWebPage, &Control::MouseMove, this, &frmAbout::lblWebPage_MouseMove);
    on(lblWebPage, &Control::Click, this, &frmAbout::lblWebPage_Click);
    on(cmdOK, &Button::Click, this, &frmAbout::cmdOK_Click);
}

void frmAbout::Form_Load() { centre(CentringRule::Exact, FirstEdge::Top); }

void frmAbout::Form_MouseMove() { lblWebPage->setForeColor(kLinkBlue); }

void frmAbout::lblWebPage_MouseMove() { lblWebPage->setForeColor(kLinkRed); }

// The address is the program's own, not the label's text; whether a browser opened is not
// the window's concern.
void frmAbout::lblWebPage_Click() { (void)platform().dialogs().openUrl(QUrl(info::kWebPage)); }

void frmAbout::cmdOK_Click() { Unload(); }

} // namespace glyvex
