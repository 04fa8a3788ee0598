#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

class QIODevice;

namespace glyvex::formats {

// Plain text to RTF in one font and size.
//
// The document is
//   {\rtf1\ansi\ansicpg1252\deff0\uc1{\fonttbl{\f0\fnil\fcharset0 NAME;}}
//   {\*\generator Glyvex 2.0;}\pard\plain\f0\fsN BODY}
// (one line; the generator group keeps LibreOffice from turning runs of
// spaces into other space characters). The output is 7-bit ASCII.
//
// Body, character by character:
//   printable ASCII          as is, with \ { } written \\ \{ \}
//   CR LF, LF, CR,
//   U+2029, U+0085           \par   (CR LF is one line end)
//   tab                      \tab
//   U+2028, vertical tab     \line
//   form feed                \page
//   other C0 controls, DEL,
//   other C1 controls        dropped (NUL included)
//   anything else            \uN\'hh: N is the UTF-16 unit as a signed
//                            16-bit number, hh its Windows-1252 byte in
//                            lowercase hex or 3f ('?') where 1252 has none;
//                            a character above U+FFFF is its two surrogates
//                            written that way, an unpaired surrogate U+FFFD
//
// Every line, the last one included, ends in \par, so a document of n line
// ends has n + 1 paragraphs: "" -> \par, "a\nb" -> a\par b\par, and
// "a\n" -> a\par\par. Readers that count a paragraph per \par and none for
// an empty tail (LibreOffice, Word) thus give back the text exactly when
// their paragraphs are joined with "\n", after the line ends above are read
// as "\n", vertical tab as U+2028, unpaired surrogates as U+FFFD, and the
// dropped controls are left out. (LibreOffice starts a new paragraph at a
// \page.)
//
// A control word is followed by a space only when the next character could
// be taken as part of it (a letter, a digit, '-' or a space). Output lines
// are broken with CR LF once they reach 200 bytes, and only right before a
// backslash, where readers ignore the break: a run of plain text is never
// broken, and neither is a \uN\'hh group or a surrogate pair.

// \fs takes whole half-points: pointSize * 2 rounded half up, clamped to
// 1..3276 (the 1638 pt Word allows); NaN gives 24 (12 pt).
int rtfHalfPoints(double pointSize);

// The face name as it goes into the font table, before escaping. A ';' ends
// a name there, so semicolons are dropped, as are control characters and
// line and paragraph separators; surrounding white space is trimmed, an
// unpaired surrogate becomes U+FFFD, and an empty result becomes "Arial".
QString rtfFontName(const QString& faceName);

// Writes the document to an open device in blocks of a few hundred KiB, so
// the only extra memory is one such block. Returns false if the device
// is not writable or a write fails; a write the device takes only in part
// is continued, and fails when the device then takes nothing.
bool writeRtf(QIODevice* device, QStringView text, const QString& faceName, double pointSize);

} // namespace glyvex::formats
