#pragma once
// A few free operations of the toolkit.
#include <QColor>
#include <QObject>
#include <QPixmap>
#include <QString>

namespace glyvex::platform {

// The system's colours the program uses, by the toolkit's indices.
enum class SystemColor { MenuBackground = 4, WindowBackground = 5 };
QColor systemColor(SystemColor color);

// Processes all pending events once and returns.
void DoEvents();

// One of the program's own pictures, decoded as the format its name ends in. (Left to guess,
// Qt would first load every image plugin installed, to ask each whether it reads that format.)
QPixmap readPicture(const QString& path);

// The whole text in small letters / in capitals.
QString LCase(const QString& text);
QString UCase(const QString& text);

} // namespace glyvex::platform
