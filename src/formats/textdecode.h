#pragma once

#include <QByteArray>
#include <QString>

namespace glyvex::formats {

// Reads any bytes as text, the way the rich text box loads a file as plain text. In this order:
//  1. a byte-order mark (UTF-32 LE/BE, UTF-8, UTF-16 LE/BE) names the encoding; the mark is not
//     part of the text, a second one is;
//  2. UTF-16 without a mark, when the first 4 KiB hold NUL bytes at alternate positions (at
//     least two, at least one pair in sixteen, and at most a quarter as many on the other side);
//  3. UTF-8, when the whole file is well-formed UTF-8;
//  4. UTF-8 with U+FFFD in the broken places, when the only faults are a sequence cut short at
//     the very end or a few malformed sequences among many good multi-byte ones (the threshold
//     is set out in textdecode.cpp);
//  5. otherwise the legacy encoding uchardet finds (KOI8-R, Windows-1251, ISO-8859-7,
//     Shift_JIS, EUC-JP, GB18030, Big5, EUC-KR, ...), decoded by Qt's converter of that name;
//     Windows-1252 when the detector names none that Qt can decode.
// Never fails, binary data included: malformed units become U+FFFD (bytes that a legacy
// encoding leaves unassigned become what Qt's converter makes of them) and the result is always
// well-formed UTF-16.
QString decodeText(const QByteArray& bytes);

} // namespace glyvex::formats
