#include "platform/errors.h"

#include "platform/dialogs.h"

#include <QApplication>

namespace glyvex::platform {

Error::Error(const QString& message)
    : std::runtime_error(message.toStdString())
{
}

QString Error::message() const { return QString::fromStdString(what()); }

std::optional<QString> caught(const std::function<void()>& steps)
{
    try {
        steps();
        return std::nullopt;
    } catch (const Error& error) {
        return error.message();
    } catch (const std::exception& error) {
        return QString::fromLocal8Bit(error.what());
    }
}

void runHandler(const std::function<void()>& handler)
{
    if (const auto problem = caught(handler))
        dialogs().messageBox(QApplication::activeWindow(), *problem, vbCritical, QStringLiteral("Glyvex"));
}

} // namespace glyvex::platform
