#pragma once
// The screen object, the application object and a few free operations of the toolkit.
#include <QColor>
#include <QObject>
#include <QString>
#include <cstdint>

namespace glyvex::platform {

namespace Screen {
float Width(); // twips
float Height(); // twips
// Number and names of the installed screen fonts, read once (32-bit: no limit of 32,767).
std::int32_t FontCount();
QString Fonts(std::int32_t index);
// Forgets the font names read so far (after the font source was replaced).
void reloadFonts();
// 13: arrow with hourglass (busy), 0: default pointer; over every window of the program.
void setMousePointer(int code);
int MousePointer();
} // namespace Screen

namespace App {
// The directory of the executable (links resolved), without a trailing separator.
QString Path();
// Makes Path() answer another directory (tests of the windows that read files beside the
// program); an empty text goes back to the executable's directory.
void overridePath(const QString& directory);
} // namespace App

// A colour of the system by its index: 4 the menu background, 5 the window (text area)
// background. Any other index throws Error.
QColor systemColor(int index);

// Processes all pending events once and returns.
void DoEvents();

// The whole text in small letters / in capitals.
QString LCase(const QString& text);
QString UCase(const QString& text);

// Boolean of the toolkit: True is -1, False is 0.
using Boolean = std::int16_t;
inline constexpr Boolean True = -1;
inline constexpr Boolean False = 0;

} // namespace glyvex::platform
