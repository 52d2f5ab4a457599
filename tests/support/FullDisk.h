// A full disk for the life of the object: no file of this process can grow,
// so every write into a file fails (EFBIG) and a save must report it. The
// tests run as root, for whom a read-only folder or file is no obstacle; a
// file-size limit binds root as it binds everyone.
#pragma once

#include <signal.h>
#include <sys/resource.h>

namespace testsupport {

class ScopedFullDisk {
public:
    ScopedFullDisk()
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldSignal = ::signal(SIGXFSZ, SIG_IGN);   // the write fails rather than ending the process
        const struct rlimit none = {0, m_old.rlim_max};
        m_limited = ::setrlimit(RLIMIT_FSIZE, &none) == 0;
    }
    ~ScopedFullDisk()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        ::signal(SIGXFSZ, m_oldSignal);
    }
    ScopedFullDisk(const ScopedFullDisk&) = delete;
    ScopedFullDisk& operator=(const ScopedFullDisk&) = delete;

    bool Limited() const { return m_limited; }

private:
    struct rlimit m_old {};
    sighandler_t m_oldSignal = SIG_DFL;
    bool m_limited = false;
};

}  // namespace testsupport
