// Any bytes, read as text, written as RTF and read back strictly: the text, the face and the size
// come back exactly as the writer documents, and the streamed writer, fed the text in two
// pieces split anywhere, writes the same document.
#include "platform/rtfwriter.h"
#include "platform/textdecode.h"
#include "support/rtfreader.h"

#include <QBuffer>
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
    // The first six bytes give the point size and where the streamed text is split; the face is
    // the text's first line, cut to 8 UTF-16 units, so that the header stays one line of less
    // than 200 bytes, as the reader wants it (the writer never breaks the header).
    float points = 12.0f;
    std::uint16_t split = 0;
    if (size >= 6) {
        std::memcpy(&points, data, 4);
        std::memcpy(&split, data + 4, 2);
        data += 6;
        size -= 6;
    }
    const QString text = glyvex::decodeText(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    const QString face = text.left(std::min<qsizetype>(text.indexOf(u'\n') < 0 ? text.size() : text.indexOf(u'\n'), 8));

    const QByteArray rtf = glyvex::toRtf(text, face, points);
    const glyvex::testing::ReadBack back = glyvex::testing::readRtf(rtf);
    if (!back.error.isEmpty())
        fail("not read back", back.error);
    if (back.text != glyvex::testing::expectedReadBack(text))
        fail("text changed", back.text);
    if (back.face != glyvex::rtfFontName(face))
        fail("face changed", back.face);
    if (back.halfPoints != glyvex::rtfHalfPoints(points))
        fail("size changed", QString::number(back.halfPoints));

    QBuffer streamed;
    streamed.open(QIODevice::WriteOnly);
    glyvex::RtfWriter writer(&streamed, face, points);
    const qsizetype at = text.isEmpty() ? 0 : split % (text.size() + 1);
    if (!writer.write(QStringView(text).left(at)) || !writer.write(QStringView(text).mid(at)) || !writer.finish())
        fail("streamed write failed", {});
    if (streamed.data() != rtf)
        fail("streamed document differs", QString::fromLatin1(streamed.data()));
    return 0;
}
