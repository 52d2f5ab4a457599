// An advisory lock across processes for a file that is read, changed and
// replaced as a whole (the registry file, ini files): held on a hidden lock
// file beside it, ".<name>.lock", for the life of the object. Every writer
// takes it before it reads the file for a change and keeps it until the
// replacement is in place, so a change made in between is never overwritten.
// Threads of one process exclude each other too (each lock opens its own
// descriptor). Readers need no lock: the replacement is atomic.
#pragma once

#include <string>

namespace platform {

class StoreLock {
public:
    // Blocks until the lock is held. A lock file that cannot be opened (a
    // folder that does not exist or cannot be written) leaves the lock not
    // held; the write that follows fails on its own then.
    explicit StoreLock(const std::string& storePath);
    ~StoreLock();
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

    bool Held() const { return m_fd >= 0; }
    // The lock file of a store.
    static std::string LockPathOf(const std::string& storePath);

private:
    int m_fd = -1;
};

}  // namespace platform
