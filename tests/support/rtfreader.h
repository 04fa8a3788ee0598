#pragma once
// The tests' reader of the RTF the writer produces (also the oracle of the writer's fuzz target).
#include <QByteArray>
#include <QString>

namespace glyvex::testing {

// A strict reader of exactly what the writer means to produce: the frame as written; in the face
// name and the body printable ASCII, \\ \{ \} and \uN\'hh (hh: the unit's Windows-1252 byte);
// in the body also \par \tab \line \page (a space after them delimits them); a CR LF only right
// before a backslash, and no backslash past column 222 (200, then at most one group that is never
// split). Paragraphs come back joined with "\n". Anything else is an error.
struct ReadBack {
    QString face, text, error;
    int halfPoints = -1;
};

ReadBack readRtf(const QByteArray& rtf);

// The writer's whole document, written to memory.
QByteArray toRtf(const QString& text, const QString& faceName, double pointSize);

// The text a reader gets back, by the mapping the writer documents.
QString expectedReadBack(const QString& text);

} // namespace glyvex::testing
