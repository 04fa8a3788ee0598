// Any bytes, read as text, written as RTF and read back strictly: the text, the face and the size
// come back exactly as the writer documents.
#include "formats/rtfwriter.h"
#include "formats/textdecode.h"
#include "support/rtfreader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
[[noreturn]] void fail(const char* what, const QString& detail)
{
    std::fprintf(stderr, "%s: %s\n", what, qPrintable(detail.left(400)));
    std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The first four of six bytes give the point size (the seed corpus keeps its layout); the
    // face is the text's first line, cut to 8 UTF-16 units, so that the header stays one line of
    // less than 200 bytes, as the reader wants it (the writer never breaks the header).
    float points = 12.0f;
    if (size >= 6) {
        std::memcpy(&points, data, 4);
        data += 6;
        size -= 6;
    }
    const QString text
        = glyvex::formats::decodeText(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    const QString face = text.left(std::min<qsizetype>(text.indexOf(u'\n') < 0 ? text.size() : text.indexOf(u'\n'), 8));

    const QByteArray rtf = glyvex::testing::toRtf(text, face, points);
    const glyvex::testing::ReadBack back = glyvex::testing::readRtf(rtf);
    if (!back.error.isEmpty())
        fail("not read back", back.error);
    if (back.text != glyvex::testing::expectedReadBack(text))
        fail("text changed", back.text);
    if (back.face != glyvex::formats::rtfFontName(face))
        fail("face changed", back.face);
    if (back.halfPoints != glyvex::formats::rtfHalfPoints(points))
        fail("size changed", QString::number(back.halfPoints));
    return 0;
}
