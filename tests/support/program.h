#pragma once
// Starts the program as main() does, with a chosen list of installed fonts.
#include "app/frmsplash.h"
#include "platform/controls.h"
#include "preview/frmmain.h"
#include "support/guitest.h"

namespace glyvex::testing {

struct Program {
    explicit Program(const QStringList& fonts)
    {
        useFonts(fonts);
        splash.Load();
        platform::Control::flushPending();
    }
    frmMain preview;
    frmSplash splash{preview};
};

} // namespace glyvex::testing
