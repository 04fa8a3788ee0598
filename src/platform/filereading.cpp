#include "platform/filereading.h"

#include "platform/errors.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace glyvex::platform {

namespace {

QString sizeText(qint64 bytes)
{
    return QLocale::system().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

[[noreturn]] void tooLarge(const QString& path, qint64 size, qint64 maxBytes)
{
    cannotRead(path,
               QStringLiteral("the file is too large to show (%1; files of up to %2 can be shown)")
                   .arg(size >= 0 ? sizeText(size) : QStringLiteral("more than %1").arg(sizeText(maxBytes)),
                        sizeText(maxBytes)));
}

} // namespace

QString displayName(const QString& path) { return QStringLiteral("\"%1\"").arg(path); }

void cannotRead(const QString& path, const QString& reason)
{
    throw Error(QStringLiteral("Cannot read %1: %2.").arg(displayName(path), reason));
}

int openRegularFile(const QString& path)
{
    if (path.isEmpty())
        cannotRead(path, QStringLiteral("no file name was given"));
    const QFileInfo info(path);
    if (info.isDir())
        cannotRead(path, QStringLiteral("it is a folder, not a file"));
    // A pipe or a device could block in open() or in read() for good: anything that is not a
    // regular file is refused before it is opened, and the open itself never waits (the
    // check and the open are two steps, so what was opened is checked again).
    if (info.exists() && !info.isFile())
        cannotRead(path, QStringLiteral("it is not a regular file"));
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        cannotRead(path, QString::fromLocal8Bit(std::strerror(errno)));
    struct stat status { };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        cannotRead(path, QStringLiteral("it is not a regular file"));
    }
    return fd;
}

QByteArray readWholeFile(const QString& path, qint64 maxBytes)
{
    const int fd = openRegularFile(path);
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        cannotRead(path, file.errorString());
    }
    const qint64 size = file.size();
    if (size > maxBytes)
        tooLarge(path, size, maxBytes);

    QByteArray bytes(size, Qt::Uninitialized);
    qint64 filled = 0;
    while (filled < size) {
        const qint64 got = file.read(bytes.data() + filled, size - filled);
        if (got < 0)
            cannotRead(path, file.errorString());
        if (got == 0)
            break; // the file got shorter
        filled += got;
    }
    bytes.resize(filled);
    // On to the real end: files in /proc report no size, and a file may have grown.
    char chunk[64 * 1024];
    for (;;) {
        const qint64 got = file.read(chunk, sizeof chunk);
        if (got < 0)
            cannotRead(path, file.errorString());
        if (got == 0)
            break;
        if (bytes.size() + got > maxBytes)
            tooLarge(path, -1, maxBytes);
        bytes.append(chunk, got);
    }
    return bytes;
}

} // namespace glyvex::platform
