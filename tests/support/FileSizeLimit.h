#pragma once
#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>

// While it lives, no file of this process grows beyond a number of bytes: a
// write past it fails (EFBIG) as it would on a full disk, at any privilege.
// The signal the kernel sends for it is ignored meanwhile, so the write
// fails instead of ending the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = m_old.rlim_max == RLIM_INFINITY || bytes < m_old.rlim_max ? bytes : m_old.rlim_max;
        m_ok = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool Ok() const { return m_ok; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = SIG_DFL;
    bool m_ok = false;
};
#endif
