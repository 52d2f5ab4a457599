#include "platform/base/Kernel.h"

#include <cerrno>
#include <climits>
#include <ctime>

// ---- last error, sleeping ------------------------------------------------------

namespace {
thread_local DWORD t_lastError = ERROR_SUCCESS;
}

DWORD GetLastError()
{
    return t_lastError;
}

void SetLastError(DWORD dwErrCode)
{
    t_lastError = dwErrCode;
}

void Sleep(DWORD dwMilliseconds)
{
    struct timespec remaining;
    remaining.tv_sec = static_cast<time_t>(dwMilliseconds / 1000);
    remaining.tv_nsec = static_cast<long>(dwMilliseconds % 1000) * 1000000L;
    while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
}

namespace platform {
DWORD ErrorFromErrno(int err)
{
    switch (err) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return ERROR_ACCESS_DENIED;
    case EEXIST: return ERROR_ALREADY_EXISTS;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case ENOSPC:
    case EDQUOT: return ERROR_DISK_FULL;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EBADF: return ERROR_INVALID_HANDLE;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case EXDEV: return ERROR_NOT_SAME_DEVICE;
    case EBUSY: return ERROR_BUSY;
    case EWOULDBLOCK: return ERROR_SHARING_VIOLATION;
    case ESPIPE: return ERROR_SEEK;
    case ELOOP: return ERROR_PATH_NOT_FOUND;
    case ENOSYS:
    case EOPNOTSUPP: return ERROR_NOT_SUPPORTED;
    default: return ERROR_GEN_FAILURE;
    }
}
}  // namespace platform

// ---- MulDiv --------------------------------------------------------------------

int MulDiv(int nNumber, int nNumerator, int nDenominator)
{
    if (nDenominator == 0) return -1;
    const long long product = static_cast<long long>(nNumber) * nNumerator;
    if (product == 0) return 0;
    const bool negative = (product < 0) != (nDenominator < 0);
    const unsigned long long magnitude =
        product < 0 ? 0ULL - static_cast<unsigned long long>(product) : static_cast<unsigned long long>(product);
    const unsigned long long divisor = nDenominator < 0 ? 0ULL - static_cast<unsigned long long>(nDenominator)
                                                        : static_cast<unsigned long long>(nDenominator);
    const unsigned long long quotient = (magnitude + divisor / 2) / divisor;
    if (negative) {
        if (quotient > static_cast<unsigned long long>(INT_MAX) + 1ULL) return -1;
        return static_cast<int>(-static_cast<long long>(quotient));
    }
    if (quotient > static_cast<unsigned long long>(INT_MAX)) return -1;
    return static_cast<int>(quotient);
}
