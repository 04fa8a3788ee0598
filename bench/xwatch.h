#pragma once
// What the benchmarks' X watchers (mapwatch.cpp, keywatch.cpp) share: the clock they time with and
// a window's title as the X server holds it, the program started.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <unistd.h>

namespace xwatch {

// Milliseconds on the monotonic clock.
inline double nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

// A text property of a window, empty when it has none.
inline std::string property(Display* display, Window window, Atom name)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string value;
    if (XGetWindowProperty(display, window, name, 0, 1024, False, AnyPropertyType, &type, &format, &count, &after,
                           &data)
            == Success
        && data) {
        if (format == 8)
            value.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    return value;
}

// A window's title: _NET_WM_NAME, else WM_NAME.
inline std::string title(Display* display, Window window)
{
    const std::string name = property(display, window, XInternAtom(display, "_NET_WM_NAME", False));
    return name.empty() ? property(display, window, XA_WM_NAME) : name;
}

// Starts the program argv[0] with its arguments; its process id, or -1 (said on standard error).
inline pid_t launch(const char* watcher, char** argv)
{
    const pid_t child = fork();
    if (child < 0) {
        std::fprintf(stderr, "%s: fork: %s\n", watcher, std::strerror(errno));
    } else if (child == 0) {
        execvp(argv[0], argv);
        std::fprintf(stderr, "%s: cannot run %s: %s\n", watcher, argv[0], std::strerror(errno));
        _exit(127);
    }
    return child;
}

// An error handler for windows gone before the watcher looked at them.
inline int ignoreErrors(Display*, XErrorEvent*) { return 0; }

} // namespace xwatch
