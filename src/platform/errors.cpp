#include "platform/errors.h"

#include "platform/dialogs.h"

#include <QApplication>

namespace glyvex::platform {

Error::Error(const QString& message)
    : std::runtime_error(message.toStdString())
{
}

QString Error::message() const
{
    return QString::fromStdString(what());
}

void runHandler(const std::function<void()>& handler)
{
    QString problem;
    try {
        handler();
        return;
    } catch (const Error& error) {
        problem = error.message();
    } catch (const std::exception& error) {
        problem = QString::fromLocal8Bit(error.what());
    }
    dialogs().messageBox(QApplication::activeWindow(), problem, 16, QStringLiteral("Glyvex"));
}

} // namespace glyvex::platform
