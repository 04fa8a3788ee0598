#pragma once
// The splash window. Its load handler is the whole start-up sequence: it loads the Preview
// window, lists the installed fonts in it, selects the first face, shows that window and closes
// itself.
#include "platform/form.h"

#include <functional>

namespace glyvex {

class frmMain;

class frmSplash final : public platform::Form {
    Q_OBJECT
public:
    // The Preview window is made by `makePreview` when the sequence loads it, after the splash
    // window has been drawn.
    frmSplash(platform::Platform& platform, std::function<frmMain&()> makePreview);

    platform::Label* lblPlatform;
    platform::Label* lblVersion;
    platform::Label* Label1;
    platform::Label* lblCopyright;
    platform::Image* Image1;
    platform::Image* Image2;

    void Form_Load() override;

private:
    std::function<frmMain&()> m_makePreview;
};

} // namespace glyvex
