#pragma once
// A failing platform call throws platform::Error. Every handler is invoked through
// Platform::runHandler() (on() connects it so), which reports an error escaping it to the user.
// A handler that traps errors does it through Form::trapErrors() (the converter's and the README
// window's); opening several font files goes on past one that fails, each through caught(). No
// other code catches Error.
#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <stdexcept>

namespace glyvex::platform {

class Error : public std::runtime_error {
public:
    explicit Error(const QString& message);
    QString message() const;
};

// Runs steps and gives the message of an error escaping them (an Error, or any other exception:
// out of memory for a very large document), or nothing when they finish.
std::optional<QString> caught(const std::function<void()>& steps);

// Connects a signal to a window's handler through its platform's runHandler(). Function-pointer
// syntax only.
template <class Sender, class SignalOwner, class Window, class... Args>
QMetaObject::Connection on(Sender* sender, void (SignalOwner::*signal)(Args...), Window* window,
                           void (Window::*handler)(Args...))
{
    return QObject::connect(static_cast<SignalOwner*>(sender), signal, window, [window, handler](Args... args) {
        window->platform().runHandler([&] { (window->*handler)(args...); });
    });
}

} // namespace glyvex::platform
