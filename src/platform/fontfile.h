#pragma once
// Checking a font file before it is opened for a run.
#include <QString>

namespace glyvex::platform {

// Whether a font file can be shown: a regular file, readable without waiting, in which FreeType
// reads every face, each face names its family, and the glyphs of the printable ASCII characters
// (those the program previews) load. Otherwise throws Error naming the file and the reason.
void checkFontFile(const QString& path);

} // namespace glyvex::platform
