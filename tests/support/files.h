#pragma once
// Files for tests: whole-file reads and writes, a disk that fills up, and bytes and UTF-16
// units given as numbers.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <csignal>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

namespace glyvex::testing {

inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

inline QString units(std::initializer_list<char16_t> values)
{
    return QStringView(values.begin(), qsizetype(values.size())).toString();
}

inline bool writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// The file's bytes, or "<unreadable>".
inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Makes writes past a given file size fail, as on a full disk, for as long as it lives: the
// write that crosses the limit is cut short and the next one fails ("File too large"). It
// works as root too, which a read-only file or folder does not.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_handler = std::signal(SIGXFSZ, SIG_IGN); // otherwise the crossing write ends the process
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limited = m_old;
        limited.rlim_cur = bytes;
        m_ok = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool ok() const { return m_ok; }

private:
    rlimit m_old{};
    void (*m_handler)(int) = SIG_DFL;
    bool m_ok = false;
};

// The memory the process holds (resident), after what was freed went back to the system.
inline long long residentBytes()
{
    ::malloc_trim(0);
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * ::sysconf(_SC_PAGESIZE) : -1;
}

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
inline constexpr bool kAddressSanitizer = __has_feature(address_sanitizer);
#else
inline constexpr bool kAddressSanitizer = false;
#endif

// Ends the process (and so fails the test) if it still lives after some seconds: for calls
// that must never block.
class StopAfter {
public:
    explicit StopAfter(unsigned seconds) { ::alarm(seconds); }
    ~StopAfter() { ::alarm(0); }
    StopAfter(const StopAfter&) = delete;
    StopAfter& operator=(const StopAfter&) = delete;
};

} // namespace glyvex::testing
