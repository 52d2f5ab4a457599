#include "platform/base/Kernel.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <new>

#include <sys/mman.h>

// ---- process heap ---------------------------------------------------------------------

namespace {

// Every block carries its size in front, so HeapSize can answer; the tag lets
// HeapFree refuse a pointer that did not come from here or was freed already.
struct alignas(std::max_align_t) BlockHeader {
    size_t size;
    uint64_t tag;
};
const uint64_t kLiveTag = 0x6d6f7276'68656170ULL;
const uint64_t kFreedTag = 0x64656164'626c6f6bULL;

int g_processHeapObject;   // only its address is used: the process heap's handle
std::atomic<int> g_failureCountdown{0};
std::atomic<long> g_liveBlocks{0};

bool IsProcessHeap(HANDLE heap)
{
    return heap == static_cast<HANDLE>(&g_processHeapObject);
}

bool InjectedFailure()
{
    int current = g_failureCountdown.load();
    while (current > 0) {
        if (g_failureCountdown.compare_exchange_weak(current, current - 1)) return current == 1;
    }
    return false;
}

BlockHeader* HeaderOf(LPCVOID block)
{
    if (!block) return nullptr;
    BlockHeader* header = reinterpret_cast<BlockHeader*>(const_cast<void*>(block)) - 1;
    return header->tag == kLiveTag ? header : nullptr;
}

LPVOID AllocationFailed(DWORD flags)
{
    if (flags & HEAP_GENERATE_EXCEPTIONS) throw std::bad_alloc();
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

bool FitsWithHeader(SIZE_T bytes)
{
    return bytes <= std::numeric_limits<SIZE_T>::max() / 2 - sizeof(BlockHeader);
}

}  // namespace

HANDLE GetProcessHeap()
{
    return static_cast<HANDLE>(&g_processHeapObject);
}

LPVOID HeapAlloc(HANDLE hHeap, DWORD dwFlags, SIZE_T dwBytes)
{
    if (!IsProcessHeap(hHeap)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (InjectedFailure() || !FitsWithHeader(dwBytes)) return AllocationFailed(dwFlags);
    void* raw = (dwFlags & HEAP_ZERO_MEMORY) ? std::calloc(1, sizeof(BlockHeader) + dwBytes)
                                             : std::malloc(sizeof(BlockHeader) + dwBytes);
    if (!raw) return AllocationFailed(dwFlags);
    BlockHeader* header = static_cast<BlockHeader*>(raw);
    header->size = dwBytes;
    header->tag = kLiveTag;
    ++g_liveBlocks;
    platform::PreferHugePages(header + 1, dwBytes);
    return header + 1;
}

LPVOID HeapReAlloc(HANDLE hHeap, DWORD dwFlags, LPVOID lpMem, SIZE_T dwBytes)
{
    BlockHeader* header = HeaderOf(lpMem);
    if (!IsProcessHeap(hHeap) || !header) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (InjectedFailure() || !FitsWithHeader(dwBytes)) return AllocationFailed(dwFlags);
    const size_t oldSize = header->size;
    if (dwFlags & HEAP_REALLOC_IN_PLACE_ONLY) {
        if (dwBytes > oldSize) return AllocationFailed(dwFlags);
        header->size = dwBytes;
        return lpMem;
    }
    void* raw = std::realloc(header, sizeof(BlockHeader) + dwBytes);
    if (!raw) return AllocationFailed(dwFlags);   // the old block stays valid, as Win32 promises
    header = static_cast<BlockHeader*>(raw);
    header->size = dwBytes;
    if ((dwFlags & HEAP_ZERO_MEMORY) && dwBytes > oldSize) {
        std::memset(reinterpret_cast<char*>(header + 1) + oldSize, 0, dwBytes - oldSize);
    }
    return header + 1;
}

BOOL HeapFree(HANDLE hHeap, DWORD, LPVOID lpMem)
{
    if (!IsProcessHeap(hHeap)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!lpMem) return TRUE;
    BlockHeader* header = HeaderOf(lpMem);
    if (!header) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    header->tag = kFreedTag;
    std::free(header);
    --g_liveBlocks;
    return TRUE;
}

SIZE_T HeapSize(HANDLE hHeap, DWORD, LPCVOID lpMem)
{
    const BlockHeader* header = HeaderOf(lpMem);
    if (!IsProcessHeap(hHeap) || !header) return static_cast<SIZE_T>(-1);
    return header->size;
}

namespace platform {
void SetHeapFailureCountdown(int n)
{
    g_failureCountdown.store(n < 0 ? 0 : n);
}

long HeapLiveBlockCount()
{
    return g_liveBlocks.load();
}

void PreferHugePages(void* block, size_t bytes)
{
    constexpr uintptr_t kHuge = 2u << 20;
    if (!block || bytes < 2 * kHuge) return;
    const uintptr_t begin = (reinterpret_cast<uintptr_t>(block) + kHuge - 1) & ~(kHuge - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(block) + bytes) & ~(kHuge - 1);
    // Only a hint: a kernel that refuses it still gives ordinary pages.
    if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}
}  // namespace platform
