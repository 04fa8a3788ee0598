// Any bytes as a font file, opened for the run as the program opens one given on the command line
// (checked, then added to the application's fonts) and, when it opens, each of its faces drawing
// the characters the program previews, as the Preview window draws them. Nothing may crash.
#include "platform/errors.h"
#include "platform/fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdint>
#include <optional>

namespace {
const QString kCharacters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"
                                           "`~!@#$%^&*()-_=+{}[]\\|;:'\",<.>/?");
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir folder;
    static int count = 0;
    // A new name each time: faces are cached by the file they come from.
    const QString path = folder.filePath(QStringLiteral("font-%1").arg(++count));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)
            || file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
            return 0;
    }
    glyvex::platform::FontSource fonts;
    std::optional<QStringList> families;
    (void)glyvex::platform::caught([&] { families = fonts.addFile(path); });
    if (families) {
        QImage image(1200, 40, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        for (const QString& family : *families) {
            QFont font = fonts.font({.name = family, .size = 12, .ownGlyphsOnly = true});
            painter.setFont(font);
            painter.drawText(QPointF(2, 30), kCharacters);
            painter.drawText(QPointF(2, 30), kCharacters.toLower());
        }
    }
    QFontDatabase::removeAllApplicationFonts();
    QFile::remove(path);
    return 0;
}
