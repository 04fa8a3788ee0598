#include "platform/programicon.h"

namespace glyvex::platform {

QIcon programIcon()
{
    // The 32-pixel icon is the designed 16-colour one; the others are drawn from its geometry.
    // Files are read only when a size is first drawn.
    QIcon icon(QStringLiteral(":/glyvex/icon.png"));
    for (const int size : {16, 22, 24, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/glyvex/icon-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace glyvex::platform
