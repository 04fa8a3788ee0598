// glyvex_mapwatch: times a program from launch to its windows being mapped, seen from the
// X server, with no help from the program.
//
//   glyvex_mapwatch [-t SECONDS] [-s MS] -n TITLE [-n TITLE]... -- PROGRAM [ARGS...]
//
// It asks the server for the map events of every top-level window (SubstructureNotify on
// the root window), then starts PROGRAM. Each time a window whose title (_NET_WM_NAME, else
// WM_NAME) is one of the TITLEs is mapped for the first time it prints
//   mapped MS TITLE
// (milliseconds since just before the fork). Once the last TITLE given has been mapped it
// waits -s MS more (default 300) for the program to draw, prints the program's peak
// resident memory so far
//   peak_rss_kb KB
// and kills it, then prints the processor time it used (user and system)
//   cpu_ms MS
// Exit status 0 when every TITLE was seen, 3 when the program ended or the
// timeout (-t, default 60 s) passed first, 2 on a usage or X error. Needs DISPLAY, and a
// server without a window manager (one that reparents would be seen just the same, but a
// compositor's own windows do not matter either).

#include "xwatch.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <sys/wait.h>
#include <vector>

namespace {

using xwatch::ignoreErrors;
using xwatch::nowMs;

long peakRssKb(pid_t pid)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/status", static_cast<int>(pid));
    FILE* file = std::fopen(path, "r");
    if (!file)
        return -1;
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof line, file))
        if (std::sscanf(line, "VmHWM: %ld kB", &kb) == 1)
            break;
    std::fclose(file);
    return kb;
}

int usage()
{
    std::fprintf(stderr, "usage: glyvex_mapwatch [-t SECONDS] [-s MS] -n TITLE [-n TITLE]... -- PROGRAM [ARGS...]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> titles;
    double timeoutMs = 60000, settleMs = 300;
    for (int option; (option = getopt(argc, argv, "+n:t:s:")) != -1;) {
        if (option == 'n')
            titles.emplace_back(optarg);
        else if (option == 't')
            timeoutMs = std::atof(optarg) * 1000;
        else if (option == 's')
            settleMs = std::atof(optarg);
        else
            return usage();
    }
    const int i = optind;
    if (titles.empty() || i >= argc)
        return usage();

    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "glyvex_mapwatch: cannot open display\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    const int fd = ConnectionNumber(display);
    fcntl(fd, F_SETFD, FD_CLOEXEC);

    const double start = nowMs();
    const pid_t child = xwatch::launch("glyvex_mapwatch", argv + i);
    if (child < 0)
        return 2;

    std::vector<bool> seen(titles.size(), false);
    const std::string& last = titles.back();
    bool lastSeen = false, ended = false;
    double lastAt = 0;
    while (true) {
        const double now = nowMs();
        if (lastSeen && now - lastAt >= settleMs)
            break;
        if (now - start >= timeoutMs)
            break;
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            ended = true;
            std::fprintf(stderr, "glyvex_mapwatch: program ended (status %d) before its windows were seen\n",
                         WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status));
            break;
        }
        if (!XPending(display)) {
            const double until = lastSeen ? lastAt + settleMs : start + timeoutMs;
            pollfd p{fd, POLLIN, 0};
            poll(&p, 1, static_cast<int>(std::min(50.0, std::max(1.0, until - now))));
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != MapNotify || lastSeen)
            continue;
        const double at = nowMs() - start;
        const std::string title = xwatch::title(display, event.xmap.window);
        for (size_t k = 0; k < titles.size(); ++k) {
            if (!seen[k] && titles[k] == title) {
                seen[k] = true;
                std::printf("mapped %.1f %s\n", at, title.c_str());
                if (title == last) {
                    lastSeen = true;
                    lastAt = nowMs();
                }
            }
        }
    }
    if (!ended) {
        std::printf("peak_rss_kb %ld\n", peakRssKb(child));
        kill(child, SIGKILL);
        rusage usage{};
        wait4(child, nullptr, 0, &usage);
        const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
        std::printf("cpu_ms %.1f\n", ms(usage.ru_utime) + ms(usage.ru_stime));
    }
    std::fflush(stdout);
    XCloseDisplay(display);
    return lastSeen ? 0 : 3;
}
