#include "platform/toolkit.h"

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

QColor systemColor(SystemColor color)
{
    return color == SystemColor::MenuBackground ? QApplication::palette("QMenu").color(QPalette::Window)
                                                : QApplication::palette().color(QPalette::Base);
}

QPixmap readPicture(const QString& path)
{
    QImageReader reader(path, QFileInfo(path).suffix().toLatin1());
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

} // namespace glyvex::platform
