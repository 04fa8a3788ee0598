#pragma once
// The splash window. Its load handler is the whole start-up sequence: it lists the installed
// fonts in the Preview window it is handed, selects the first face, shows that window and
// closes itself.
#include "platform/form.h"

namespace glyvex {

class frmMain;

class frmSplash final : public platform::Form {
    Q_OBJECT
public:
    explicit frmSplash(frmMain& preview);

    platform::Label* lblPlatform = nullptr;
    platform::Label* lblVersion = nullptr;
    platform::Label* Label1 = nullptr;
    platform::Label* lblCopyright = nullptr;
    platform::Picture* Image1 = nullptr;
    platform::Picture* Image2 = nullptr;

    void Form_Load() override;

private:
    frmMain& m_preview;
};

} // namespace glyvex
