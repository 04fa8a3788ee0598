#pragma once
// Where the program's users reach its authors: the web page the About window links to and
// the e-mail address both information windows give for bug reports and a missing README.txt.
#include <QString>

namespace glyvex::info {

inline const QString kWebPage = QStringLiteral("https://www.example.org/glyvex/");
inline const QString kEmail = QStringLiteral("glyvex@example.org");

} // namespace glyvex::info
