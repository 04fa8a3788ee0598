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
                      .borderStyle = BorderStyle::FixedSingle,
                      .minButton = false,
                      .maxButton = false,
                      .clientWidth = 6960,
                      .clientHeight = 5028})
{
    rtfReadMe = add<RichTextBox>({.name = u"rtfReadMe"_qs,
                                  .rect = {120, 120, 6732, 3852},
                                  .font = FontSpec{u"Courier New"_qs, 9.0f, 400},
                                  .tabIndex = 1,
                                  .backColor = systemColor(SystemColor::MenuBackground)});
    cmdOK = add<Button>({.name = u"cmdOK"_qs,
                         .rect = {3120, 4560, 972, 372},
                         .caption = u"&OK"_qs,
                         .toolTip = u"Close Window"_qs,
                         .tabIndex = 0,
                         .isDefault = true});
    lblNotFound = add<Label>(
        {.name = u"lblNotFound"_qs,
         .rect = {0, 4200, 6888, 192},
         .caption = u"If you did not recieve a copy of README.txt with Glyvex, please contact "_qs + info::kEmail,
         .visible = false,
         .tabIndex = 2,
         .autoSize = true,
         .foreColor = QColor(255, 0, 0),
         .wordWrap = true});
    applyTabOrder();
    on(cmdOK, &Button::Click, this, &frmReadMe::cmdOK_Click);
}

void frmReadMe::Form_Load()
{
    centre(CentringRule::WholeTwip, FirstEdge::Top);
    trapErrors([this] { rtfReadMe->LoadFile(App().Path() + QStringLiteral("/README.txt")); },
               [this](const QString&) { showNotFound(); });
}

// Whatever went wrong (no file, a folder, no permission), the same message and note.
void frmReadMe::showNotFound()
{
    platform().dialogs().messageBox(
        window(),
        QStringLiteral("Glyvex was unable to find the README.txt file.\r\n\r\n"
                       "If you did not recieve a copy of README.txt with fonts, please contact ")
            + info::kEmail,
        MsgBoxStyle::Critical, QStringLiteral("README.txt Not Found"));
    lblNotFound->setVisible(true);
    // The note wraps when the window's font is too wide for one line; it then grows upward
    // so that it stays clear of the button.
    lblNotFound->setTop(std::min(lblNotFound->Top(), cmdOK->Top() - kNoteGap - lblNotFound->Height()));
}

void frmReadMe::cmdOK_Click() { Unload(); }

} // namespace glyvex
