#pragma once
// Makes writes past a given file size fail, as on a full disk, for as long as it lives: the
// write that crosses the limit is cut short and the next one fails ("File too large"). It
// works as root too, which a read-only file or folder does not.
#include <csignal>
#include <sys/resource.h>

namespace glyvex::testing {

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

} // namespace glyvex::testing
