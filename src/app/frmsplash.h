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
    // window has been drawn; the other constructor takes one made already.
    frmSplash(platform::Platform& platform, std::function<frmMain&()> makePreview);
    explicit frmSplash(frmMain& preview);

    platform::Label* lblPlatform = nullptr;
    platform::Label* lblVersion = nullptr;
    platform::Label* Label1 = nullptr;
    platform::Label* lblCopyright = nullptr;
    platform::Picture* Image1 = nullptr;
    platform::Picture* Image2 = nullptr;

    void Form_Load() override;

private:
    std::function<frmMain&()> m_makePreview;
};

} // namespace glyvex
