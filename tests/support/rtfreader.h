#pragma once
// The tests' reader of the RTF the writer produces (also the oracle of the writer's fuzz target).
#include <QByteArray>
#include <QString>

namespace glyvex::testing {

// Strictly what the writer means to produce, anything else an error: the frame as written; printable
// ASCII, \\ \{ \} and \uN\'hh (hh: the unit's Windows-1252 byte); in the body also \par \tab \line
// \page (a space after them only before a letter, digit, - or space); a CR LF only right before a
// backslash, none past column 222 (200, then one group that is never split).
struct ReadBack {
    QString face, text, error; // the paragraphs joined with "\n"
    int halfPoints = -1;
};
ReadBack readRtf(const QByteArray& rtf);
QByteArray toRtf(const QString& text, const QString& faceName, double pointSize); // the writer's, in memory
// The text a reader gets back, by the mapping the writer documents.
QString expectedReadBack(const QString& text);

} // namespace glyvex::testing
