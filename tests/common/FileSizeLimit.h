#pragma once

#include <csignal>
#include <sys/resource.h>

// While it lives, no file of this process can grow beyond maxBytes: a write
// past it fails as on a full disk. Unlike a read-only folder, root cannot
// write past it either.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t maxBytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN); // fail the write instead of ending
        rlimit limit = m_old;
        limit.rlim_cur = maxBytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }

    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};
