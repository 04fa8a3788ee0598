// glyvex_startsteps: Glyvex's own share of start-up, timed inside the process (offscreen), with the
// program's own classes: the pass over fontconfig's fonts that names the installed families, the
// font list filled with them (AddItem, then sorted), and the loop that selects each entry until
// "Arial", every selection giving the Preview window's 68 preview labels the entry's face. What
// Qt and fontconfig do for every program (loading fontconfig's caches, Qt's font database) is not
// in these figures. Prints
//   families N
//   names MS
//   fill MS
//   loop MS
// Usage: glyvex_startsteps (run with FONTCONFIG_FILE for the fonts to list)
#include "platform/dialogs.h"
#include "platform/platform.h"
#include "preview/frmmain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <fontconfig/fontconfig.h>

using namespace glyvex;
using namespace glyvex::platform;

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Fontconfig's caches, loaded and read through once, as any program that lists fonts does.
    const FcFontSet* fonts = FcConfigGetFonts(nullptr, FcSetSystem);
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        FcChar8* family = nullptr;
        (void)FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &family);
    }
    Platform platform(qtDialogs(), std::make_unique<FontSource>());
    QElapsedTimer clock;
    clock.start();
    const std::int32_t count = platform.Screen().FontCount();
    const double names = clock.nsecsElapsed() / 1e6;

    platform.fonts().useInstalledDefaultFont(); // as main() makes the Preview window
    frmMain preview(platform);
    preview.Load();
    ScreenObject& screen = platform.Screen();
    ComboBox& list = *preview.cboFonts;
    clock.restart();
    for (std::int32_t i = 0; i <= count - 1; ++i)
        list.AddItem(screen.Fonts(i));
    (void)list.List(0); // sorted in
    const double fill = clock.nsecsElapsed() / 1e6;

    clock.restart();
    for (std::int32_t i = 0; i <= list.ListCount() - 1; ++i) {
        list.setListIndex(i);
        if (list.Text() == QLatin1String("Arial"))
            break;
    }
    const double loop = clock.nsecsElapsed() / 1e6;

    std::printf("families %d\nnames %.1f\nfill %.1f\nloop %.1f\n", count, names, fill, loop);
    return 0;
}
