#pragma once
// Reading a whole file for the rich text box, and how its messages name a file.
#include <QByteArray>
#include <QString>

namespace glyvex::platform {

// A path as messages show it: in double quotes.
QString displayName(const QString& path);

// Throws Error saying that the file cannot be read, and why.
[[noreturn]] void cannotRead(const QString& path, const QString& reason);

// Opens a file for reading, never waiting: a missing name, a folder, a missing or unreadable file
// and anything that is not a regular file (a pipe, a device) throw Error naming the file and the
// reason. The descriptor is the caller's to close.
int openRegularFile(const QString& path);

// The file's whole content. A missing name, a folder, a missing, unreadable or non-regular file
// (a pipe or a device is refused without waiting on it) and a file of more than maxBytes throw
// Error naming the file and the reason.
QByteArray readWholeFile(const QString& path, qint64 maxBytes);

} // namespace glyvex::platform
