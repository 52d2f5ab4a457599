// A machine short of memory, in a child process: the address space limited
// (RLIMIT_AS) and taken up to a few spare megabytes, so that an allocation
// the size of a long record fails as it would there while small ones still
// succeed. The child reports through its exit status.
#pragma once

#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <vector>

namespace testsupport {

#if defined(__SANITIZE_ADDRESS__)
#define MORVELANCE_TEST_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MORVELANCE_TEST_UNDER_ASAN 1
#endif
#endif

// A sanitizer's shadow memory needs more address space than any limit leaves.
inline bool MemoryLimitsCanBeTested()
{
#ifdef MORVELANCE_TEST_UNDER_ASAN
    return false;
#else
    return true;
#endif
}

// While it lives, at most `spareMegabytes` more can be allocated.
class ShortOfMemory {
public:
    explicit ShortOfMemory(int spareMegabytes)
    {
        mallopt(M_MMAP_THRESHOLD, 128 * 1024);   // megabyte blocks are mapped, and given back when freed
        ::getrlimit(RLIMIT_AS, &m_old);
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t used = static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE));
        const struct rlimit tight = {used + (64u << 20), m_old.rlim_max};
        m_limited = ::setrlimit(RLIMIT_AS, &tight) == 0;
        while (void* block = std::malloc(1u << 20)) m_taken.push_back(block);
        for (int i = 0; i < spareMegabytes && !m_taken.empty(); ++i) {
            std::free(m_taken.back());
            m_taken.pop_back();
        }
    }
    ~ShortOfMemory()
    {
        for (void* block : m_taken) std::free(block);
        ::setrlimit(RLIMIT_AS, &m_old);
    }
    ShortOfMemory(const ShortOfMemory&) = delete;
    ShortOfMemory& operator=(const ShortOfMemory&) = delete;

    bool Limited() const { return m_limited; }

private:
    struct rlimit m_old {};
    std::vector<void*> m_taken;
    bool m_limited = false;
};

// Runs `body` in a child process and returns its exit status: what body
// returned, or 128 + the signal that ended the child (134: an abort). An
// exception leaving body aborts the child, as it would end a program (the
// test framework around the call must not catch it and run on in the child).
inline int RunInChild(const std::function<int()>& body)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        try {
            ::_exit(body());
        } catch (...) {
            std::abort();
        }
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace testsupport
