#pragma once

#include <QByteArray>
#include <QString>

namespace glyvex {

// How a file's bytes were read as text.
enum class TextEncoding {
    Utf8Bom,     // EF BB BF
    Utf16LeBom,  // FF FE
    Utf16BeBom,  // FE FF
    Utf32LeBom,  // FF FE 00 00 (wins over UTF-16 LE, whose mark it starts with)
    Utf32BeBom,  // 00 00 FE FF
    Utf16Le,     // no mark, NULs mostly in the odd (high) bytes of the start
    Utf16Be,     // no mark, NULs mostly in the even (high) bytes of the start
    Utf8,        // no mark, the whole file is well-formed UTF-8
    Windows1252, // everything else, binary data included
};

// Picks the encoding decodeText() uses, in this order: a byte-order mark;
// UTF-16 without a mark when the first 4 KiB hold NUL bytes at alternate
// positions (at least two, at least one pair in sixteen, and at most a quarter
// as many on the other side); strict UTF-8 (overlong forms, surrogates, code
// points above U+10FFFF and a sequence cut off at the end all disqualify it);
// otherwise Windows-1252.
TextEncoding detectEncoding(const QByteArray& bytes);

// Reads any bytes as text with the encoding detectEncoding() picks; when
// `used` is given it receives that encoding. Never fails: the byte-order mark
// is not part of the text, malformed units in UTF-8 with a mark, UTF-16 and
// UTF-32 become U+FFFD (as do unpaired surrogates and a trailing partial
// unit), and the result is always well-formed UTF-16. Windows-1252 maps every
// byte to one character; its five unassigned bytes 81 8D 8F 90 9D become the
// C1 controls U+0081 U+008D U+008F U+0090 U+009D.
QString decodeText(const QByteArray& bytes, TextEncoding* used = nullptr);

// Reads the bytes in a given encoding. For the *Bom encodings a leading mark
// of that kind is skipped when present; otherwise every byte is content.
// Utf8 here is lenient (malformed sequences become U+FFFD).
QString decodeText(const QByteArray& bytes, TextEncoding encoding);

} // namespace glyvex
