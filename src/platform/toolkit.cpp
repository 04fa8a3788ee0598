#include "platform/toolkit.h"

#include "platform/errors.h"

#include <QApplication>
#include <QFileInfo>
#include <QImageReader>
#include <QPalette>

namespace glyvex::platform {

void DoEvents()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

QString LCase(const QString& text) { return text.toLower(); }
QString UCase(const QString& text) { return text.toUpper(); }

QColor systemColor(int index)
{
    switch (index) {
    case 4:
        return QApplication::palette("QMenu").color(QPalette::Window);
    case 5:
        return QApplication::palette().color(QPalette::Base);
    default:
        throw Error(QStringLiteral("Invalid system colour %1").arg(index));
    }
}

QPixmap readPicture(const QString& path)
{
    QImageReader reader(path, QFileInfo(path).suffix().toLatin1());
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

} // namespace glyvex::platform
