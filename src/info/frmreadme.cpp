#include "info/frmreadme.h"

#include "info/addresses.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/richtextbox.h"
#include "platform/toolkit.h"
#include "platform/twips.h"

#include <algorithm>

namespace glyvex {

using namespace platform;

namespace {

// Space kept between the note and the button when the note needs more than one line.
constexpr float kNoteGap = 60;

} // namespace

frmReadMe::frmReadMe(platform::Platform& platform)
    : Form(platform, QStringLiteral("frmReadMe"),
           FormDesign{.caption = QStringLiteral("Glyvex README.txt"),
                      .borderStyle = 1,
                      .minButton = false,
                      .maxButton = false,
                      .clientWidth = 6960,
                      .clientHeight = 5028})
{
    const ControlSpec controls[] = {
        {.kind = ControlKind::RichTextBox,
         .name = QStringLiteral("rtfReadMe"),
         .rect = {120, 120, 6732, 3852},
         .font = FontSpec{QStringLiteral("Courier New"), 9.0f, 400},
         .tabIndex = 1,
         .backColor = systemColor(4)},
        {.kind = ControlKind::Button,
         .name = QStringLiteral("cmdOK"),
         .rect = {3120, 4560, 972, 372},
         .caption = QStringLiteral("&OK"),
         .toolTip = QStringLiteral("Close Window"),
         .tabIndex = 0,
         .isDefault = true},
        {.kind = ControlKind::Label,
         .name = QStringLiteral("lblNotFound"),
         .rect = {0, 4200, 6888, 192},
         .caption
         = QStringLiteral("If you did not recieve a copy of README.txt with Glyvex, please contact ") + info::kEmail,
         .visible = false,
         .tabIndex = 2,
         .autoSize = true,
         .foreColor = QColor(255, 0, 0),
         .wordWrap = true},
    };
    createAll(controls);
    rtfReadMe = control<RichTextBox>(QStringLiteral("rtfReadMe"));
    cmdOK = control<Button>(QStringLiteral("cmdOK"));
    lblNotFound = control<Label>(QStringLiteral("lblNotFound"));
    applyTabOrder();
    wire();
}

void frmReadMe::wire() { on(cmdOK, &Button::Click, this, &frmReadMe::cmdOK_Click); }

void frmReadMe::Form_Load()
{
    setTop(centreWholeTwip(Screen().Height(), Height()));
    setLeft(centreWholeTwip(Screen().Width(), Width()));
    try {
        rtfReadMe->LoadFile(App().Path() + QStringLiteral("/README.txt"), RichTextBox::rtfText);
    } catch (const Error&) {
        showNotFound();
    }
}

// Whatever went wrong (no file, a folder, no permission), the same message and note.
void frmReadMe::showNotFound()
{
    platform().dialogs().messageBox(
        window(),
        QStringLiteral("Glyvex was unable to find the README.txt file.\r\n\r\n"
                       "If you did not recieve a copy of README.txt with fonts, please contact ")
            + info::kEmail,
        vbCritical, QStringLiteral("README.txt Not Found"));
    lblNotFound->setVisible(true);
    // The note wraps when the window's font is too wide for one line; it then grows upward
    // so that it stays clear of the button.
    lblNotFound->setTop(std::min(lblNotFound->Top(), cmdOK->Top() - kNoteGap - lblNotFound->Height()));
}

void frmReadMe::cmdOK_Click() { Unload(); }

} // namespace glyvex
