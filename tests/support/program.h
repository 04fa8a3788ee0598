#pragma once
// Starts the program as main() does, on a test's platform.
#include "app/frmsplash.h"
#include "preview/frmmain.h"
#include "support/guitest.h"

#include <QCoreApplication>

namespace glyvex::testing {

struct Program {
    explicit Program(platform::Platform& platform)
        : preview(platform)
    {
        splash.Load();
        QCoreApplication::sendPostedEvents();
    }
    frmMain preview;
    frmSplash splash{preview};
};

} // namespace glyvex::testing
