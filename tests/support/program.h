#pragma once
// Starts the program as main() does, on a test's platform.
#include "app/frmsplash.h"
#include "preview/frmmain.h"
#include "support/guitest.h"

#include <QCoreApplication>
#include <optional>

namespace glyvex::testing {

// The Preview window, made when the start-up sequence loads it, as main() makes it.
struct Program {
    explicit Program(platform::Platform& platform)
        : splash(platform, [&]() -> frmMain& { return made.emplace(platform); })
        , preview((splash.Load(), *made))
    {
        QCoreApplication::sendPostedEvents();
    }
    std::optional<frmMain> made;
    frmSplash splash;
    frmMain& preview;
};

} // namespace glyvex::testing
