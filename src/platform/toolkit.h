#pragma once
// A few free operations of the toolkit.
#include <QColor>
#include <QObject>
#include <QPixmap>
#include <QString>
#include <cstdint>

namespace glyvex::platform {

// A colour of the system by its index: 4 the menu background, 5 the window (text area)
// background. Any other index throws Error.
QColor systemColor(int index);

// Processes all pending events once and returns.
void DoEvents();

// One of the program's own pictures, decoded as the format its name ends in. (Left to guess,
// Qt would first load every image plugin installed, to ask each whether it reads that format.)
QPixmap readPicture(const QString& path);

// The whole text in small letters / in capitals.
QString LCase(const QString& text);
QString UCase(const QString& text);

// Boolean of the toolkit: True is -1, False is 0.
using Boolean = std::int16_t;
inline constexpr Boolean True = -1;
inline constexpr Boolean False = 0;

} // namespace glyvex::platform
