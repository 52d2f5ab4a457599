#include "platform/base/StoreLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

std::string StoreLock::LockPathOf(const std::string& storePath)
{
    const size_t slash = storePath.rfind('/');
    if (slash == std::string::npos) return "." + storePath + ".lock";
    return storePath.substr(0, slash + 1) + "." + storePath.substr(slash + 1) + ".lock";
}

StoreLock::StoreLock(const std::string& storePath)
{
    if (storePath.empty()) return;
    const std::string path = LockPathOf(storePath);
    m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (m_fd < 0) return;
    while (::flock(m_fd, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        ::close(m_fd);
        m_fd = -1;
        return;
    }
}

StoreLock::~StoreLock()
{
    if (m_fd >= 0) ::close(m_fd);   // closing the descriptor releases the lock
}

}  // namespace platform
