#pragma once
// A failing platform call throws platform::Error. Handlers do not catch it: every handler is
// invoked through Platform::runHandler(), the one place that reports an untrapped error to the
// user.
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

// The same for a control array: the handler receives the element's index first.
template <class Control, class Sender, class Window, class... Args>
void onArray(const QList<Control*>& array, void (Sender::*signal)(Args...), Window* window,
             void (Window::*handler)(int, Args...))
{
    for (int index = 0; index < array.size(); ++index) {
        QObject::connect(array[index], signal, window, [window, handler, index](Args... args) {
            window->platform().runHandler([&] { (window->*handler)(index, args...); });
        });
    }
}

} // namespace glyvex::platform
