#pragma once
// The About window: the banner, the version, the credit and rights notices, where to report
// bugs, and a link to the web page that turns red under the pointer.
#include "platform/form.h"

namespace glyvex {

class frmAbout final : public platform::Form {
    Q_OBJECT
public:
    explicit frmAbout(platform::Platform& platform);

    platform::Button* cmdOK = nullptr;
    platform::Picture* picIcon = nullptr;
    platform::Label* lblWebPage = nullptr;
    platform::Label* Label4 = nullptr;
    platform::Label* Label2 = nullptr;
    platform::Label* Label3 = nullptr;
    platform::Label* Label1 = nullptr;
    platform::Line* Line1 = nullptr; // the only member, index 1, of the control array Line1
    platform::Label* lblVersion = nullptr;
    platform::Picture* Image2 = nullptr;

    void Form_Load() override;
    void Form_MouseMove(int Button, int Shift, float X, float Y);
    void lblWebPage_MouseMove(int Button, int Shift, float X, float Y);
    void lblWebPage_Click();
    void cmdOK_Click();

private:
    void wire();
};

} // namespace glyvex
