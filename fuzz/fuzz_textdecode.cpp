// Any bytes read as text: decodeText never fails and always gives well-formed UTF-16.
#include "formats/textdecode.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = glyvex::formats::decodeText(bytes);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate()) {
            std::fprintf(stderr, "unpaired surrogate %04x at %lld of %lld\n", c.unicode(), static_cast<long long>(i),
                         static_cast<long long>(text.size()));
            std::abort();
        }
    }
    return 0;
}
