#pragma once
// For tests: bytes and UTF-16 units as numbers, whole files, a full disk, a time limit.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <csignal>
#include <sys/resource.h>
#include <algorithm>
#include <grp.h>
#include <unistd.h>
#include <vector>

namespace glyvex::testing {

inline QByteArray bytes(std::initializer_list<uchar> v) { return QByteArrayView(v.begin(), v.end()).toByteArray(); }
inline QString units(std::initializer_list<char16_t> v) { return QStringView(v.begin(), v.end()).toString(); }
inline bool writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}
inline QByteArray readFile(const QString& path) // or "<unreadable>"
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}
// While it lives, writes past a file size fail as on a full disk (as root too): the one crossing it is cut short.
struct FileSizeLimit {
    explicit FileSizeLimit(rlim_t bytes)
        : handler(std::signal(SIGXFSZ, SIG_IGN)) // SIGXFSZ would end us
    {
        getrlimit(RLIMIT_FSIZE, &old);
        const rlimit limited{bytes, old.rlim_max};
        okay = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old), std::signal(SIGXFSZ, handler); }
    bool ok() const { return okay; }
    void (*handler)(int);
    rlimit old{};
    bool okay;
};
// While it lives (when asked for), the process acts as user and group "nobody", in no other group,
// so that file permissions apply to it as to a person who is not root, also when tests run as root.
struct AnotherUser {
    explicit AnotherUser(bool wanted)
        : root(wanted && ::geteuid() == 0)
    {
        if (!root)
            return;
        groups.resize(::getgroups(0, nullptr));
        groups.resize(std::max(0, ::getgroups(int(groups.size()), groups.data())));
        root = ::setgroups(0, nullptr) == 0 && ::setegid(65534) == 0 && ::seteuid(65534) == 0;
    }
    ~AnotherUser()
    {
        if (root)
            (void)(::seteuid(0) + ::setegid(0) + ::setgroups(groups.size(), groups.data()));
    }
    bool root;
    std::vector<gid_t> groups;
};
// Ends the process (and so fails the test) if it still lives after some seconds.
struct StopAfter {
    explicit StopAfter(unsigned seconds) { ::alarm(seconds); }
    ~StopAfter() { ::alarm(0); }
};

} // namespace glyvex::testing
