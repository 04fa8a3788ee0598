#include "platform/errors.h"

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

} // namespace glyvex::platform
