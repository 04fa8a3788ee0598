#pragma once
// The About window: the banner, the version, the credit and rights notices, where to report
// bugs, and a link to the web page that turns red under the pointer.
#include "platform/form.h"

namespace glyvex {

class frmAbout final : public platform::Form {
    Q_OBJECT
public:
    explicit frmAbout(platform::Platform& platform);

    // In the order they are made: the link lies inside Label4's rectangle and above it.
    platform::Image* Image2;
    platform::Label* lblVersion;
    platform::Line* Line1; // the only element, index 1, of the control array Line1
    platform::Label* Label1;
    platform::Label* Label3;
    platform::Label* Label2;
    platform::Label* Label4;
    platform::Label* lblWebPage;
    platform::PictureBox* picIcon;
    platform::Button* cmdOK;

    void Form_Load() override;
    void Form_MouseMove();
    void lblWebPage_MouseMove();
    void lblWebPage_Click();
    void cmdOK_Click();
};

} // namespace glyvex
