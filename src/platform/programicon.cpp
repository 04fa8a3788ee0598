#include "platform/programicon.h"

#include "platform/toolkit.h"

#include <QCoreApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <array>

namespace glyvex::platform {

namespace {

// The sizes drawn, each in its own file. The 32-pixel icon is the designed 16-colour one;
// the others are drawn from its geometry.
constexpr std::array<int, 8> kSizes{16, 22, 24, 32, 48, 64, 128, 256};
constexpr int kLargestWindowIcon = 64;

QString fileFor(int size)
{
    return size == 32 ? QStringLiteral(":/glyvex/icon.png") : QStringLiteral(":/glyvex/icon-%1.png").arg(size);
}

// One decoded picture per size, shared by every copy of the icon and read from its file the
// first time that size is asked for. (QIcon::addFile would decode every file at once, and
// each window's icon would repeat the work.)
class ProgramIconEngine final : public QIconEngine {
public:
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const int wanted = std::max(size.width(), size.height());
        if (wanted <= 0)
            return {};
        int index = static_cast<int>(kSizes.size()) - 1;
        for (int i = 0; i < static_cast<int>(kSizes.size()); ++i) {
            if (kSizes[i] >= wanted) {
                index = i;
                break;
            }
        }
        QPixmap& decoded = cache()[index];
        if (decoded.isNull())
            decoded = readPicture(fileFor(kSizes[index]));
        if (decoded.size() == size || decoded.isNull())
            return decoded;
        return decoded.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        painter->drawPixmap(rect, pixmap(rect.size() * ratio, mode, state));
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min(size.width(), size.height());
        return {side, side};
    }

    // The sizes the window system is given with every window. On X11 Qt sends each one it is
    // told of, converted, with every window it shows; 128 and 256 pixels would take longer than
    // all the rest of showing a window, and desktops draw those sizes from the installed icon
    // theme. They are still drawn here when asked for.
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const int size : kSizes) {
            if (size <= kLargestWindowIcon)
                sizes.append(QSize(size, size));
        }
        return sizes;
    }

    QIconEngine* clone() const override { return new ProgramIconEngine; }
    QString key() const override { return QStringLiteral("ProgramIconEngine"); }

private:
    using Pixmaps = std::array<QPixmap, kSizes.size()>;
    static Pixmaps& cache()
    {
        static Pixmaps* pixmaps = nullptr;
        if (!pixmaps) {
            // Pixmaps belong to the running application: dropped with it.
            pixmaps = new Pixmaps;
            qAddPostRoutine([] {
                delete pixmaps;
                pixmaps = nullptr;
            });
        }
        return *pixmaps;
    }
};

} // namespace

QIcon programIcon()
{
    static const QIcon icon(new ProgramIconEngine);
    return icon;
}

} // namespace glyvex::platform
