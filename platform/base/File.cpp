#include "platform/base/File.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cwchar>
#include <memory>
#include <mutex>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/base/FileHelpers.h"
#include "platform/base/Kernel.h"

using platform::NativePath;
using namespace platform::fileio;

// ---- paths -------------------------------------------------------------------------

int PathLastSeparator(const CString& path)
{
    const size_t index = path.str().find_last_of(L"\\/");
    return index == std::wstring::npos ? -1 : static_cast<int>(index);
}

// ---- share-mode locks ------------------------------------------------------------------

namespace {

// Far beyond any file the system writes, so the locks never meet data locks.
const off_t kShareLockBase = static_cast<off_t>(0x7FFFFFFF00000000LL);
enum ShareByte { kSomeoneReads = 0, kSomeoneWrites = 1, kSomeoneDeniesRead = 2, kSomeoneDeniesWrite = 3 };

struct ShareIntent {
    bool reads;
    bool writes;
    bool deniesRead;
    bool deniesWrite;
};

bool ShareIntentFromFlags(UINT flags, ShareIntent& intent)
{
    const UINT access = flags & 0x3u;
    if (access == 0x3u) return false;
    intent.reads = access != CFile::modeWrite;
    intent.writes = access != CFile::modeRead;
    switch (flags & 0x70u) {
    case CFile::shareCompat:
    case CFile::shareExclusive: intent.deniesRead = intent.deniesWrite = true; return true;
    case CFile::shareDenyWrite: intent.deniesRead = false; intent.deniesWrite = true; return true;
    case CFile::shareDenyRead: intent.deniesRead = true; intent.deniesWrite = false; return true;
    case CFile::shareDenyNone: intent.deniesRead = intent.deniesWrite = false; return true;
    default: return false;
    }
}

struct flock ShareLock(ShareByte byte, short type)
{
    struct flock lock;
    std::memset(&lock, 0, sizeof(lock));
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = kShareLockBase + byte;
    lock.l_len = 1;
    return lock;
}

// 0 when held, else errno (EINVAL: the file system has no such locks).
int HoldShareByte(int fd, ShareByte byte)
{
    struct flock lock = ShareLock(byte, F_RDLCK);
    return fcntl(fd, F_OFD_SETLK, &lock) == 0 ? 0 : errno;
}

bool HeldByAnother(int fd, ShareByte byte)
{
    struct flock lock = ShareLock(byte, F_WRLCK);
    if (fcntl(fd, F_OFD_GETLK, &lock) != 0) return false;
    return lock.l_type != F_UNLCK;
}

// Announces the intent, then looks for a conflicting one. Two openers racing
// each see the other at worst, so both may fail but never both succeed.
DWORD AcquireShareLocks(int fd, const ShareIntent& intent)
{
    const std::pair<bool, ShareByte> own[] = {{intent.reads, kSomeoneReads},
                                              {intent.writes, kSomeoneWrites},
                                              {intent.deniesRead, kSomeoneDeniesRead},
                                              {intent.deniesWrite, kSomeoneDeniesWrite}};
    for (const auto& item : own) {
        if (!item.first) continue;
        const int err = HoldShareByte(fd, item.second);
        if (err == EINVAL || err == ENOLCK || err == EOPNOTSUPP) return ERROR_SUCCESS;   // no locks here: no sharing rules
        if (err) return platform::ErrorFromErrno(err);
    }
    const std::pair<bool, ShareByte> conflicts[] = {{intent.reads, kSomeoneDeniesRead},
                                                    {intent.writes, kSomeoneDeniesWrite},
                                                    {intent.deniesRead, kSomeoneReads},
                                                    {intent.deniesWrite, kSomeoneWrites}};
    for (const auto& item : conflicts) {
        if (item.first && HeldByAnother(fd, item.second)) return ERROR_SHARING_VIOLATION;
    }
    return ERROR_SUCCESS;
}

}  // namespace

// ---- CFile ---------------------------------------------------------------------------------

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

CFile::CFile() : m_hFile(hFileNull), m_bCloseOnDelete(FALSE), m_dwFileError(0), m_nShareLockFd(-1) {}

CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(FALSE), m_dwFileError(0), m_nShareLockFd(-1) {}

CFile::CFile(LPCWSTR lpszFileName, UINT nOpenFlags) : CFile()
{
    Open(lpszFileName, nOpenFlags);
}

CFile::~CFile()
{
    if (m_hFile != hFileNull && m_bCloseOnDelete) Abort();
}

namespace {
BOOL ReportOpenFailure(CFileException* pError, DWORD error, LPCWSTR name)
{
    if (pError) {
        pError->m_cause = CFileException::OsErrorToException(static_cast<LONG>(error));
        pError->m_lOsError = static_cast<LONG>(error);
        pError->m_strFileName = CString(std::wstring(name ? name : L""));
    }
    SetLastError(error);
    return FALSE;
}
}  // namespace

BOOL CFile::Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    if (m_hFile != hFileNull) return ReportOpenFailure(pError, ERROR_INVALID_HANDLE, lpszFileName);
    ShareIntent intent;
    if (!lpszFileName || !ShareIntentFromFlags(nOpenFlags, intent)) {
        return ReportOpenFailure(pError, ERROR_INVALID_PARAMETER, lpszFileName);
    }
    if (!*lpszFileName) return ReportOpenFailure(pError, ERROR_PATH_NOT_FOUND, lpszFileName);
    const std::string native = NativePath(lpszFileName);
    int flags = O_CLOEXEC | (intent.reads && intent.writes ? O_RDWR : (intent.writes ? O_WRONLY : O_RDONLY));
    if (nOpenFlags & modeCreate) flags |= O_CREAT;
    const int fd = open(native.c_str(), flags, 0666);
    if (fd < 0) return ReportOpenFailure(pError, PathError(errno, native), lpszFileName);

    struct stat st;
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {   // Windows opens no folder as a file
        close(fd);
        return ReportOpenFailure(pError, ERROR_ACCESS_DENIED, lpszFileName);
    }
    // Share locks need a readable descriptor; a write-only file gets a second one.
    int lockFd = -1;
    if (!intent.reads) lockFd = open(("/proc/self/fd/" + std::to_string(fd)).c_str(), O_RDONLY | O_CLOEXEC);
    const DWORD shareError = (intent.reads || lockFd >= 0) ? AcquireShareLocks(intent.reads ? fd : lockFd, intent)
                                                           : ERROR_SUCCESS;
    if (shareError != ERROR_SUCCESS) {
        if (lockFd >= 0) close(lockFd);
        close(fd);
        return ReportOpenFailure(pError, shareError, lpszFileName);
    }
    // Truncate only once the file is ours: a refused opener must not empty it.
    if ((nOpenFlags & modeCreate) && !(nOpenFlags & modeNoTruncate)) {
        const int err = intent.writes ? (ftruncate(fd, 0) == 0 ? 0 : errno)
                                      : (truncate(native.c_str(), 0) == 0 ? 0 : errno);
        if (err) {
            if (lockFd >= 0) close(lockFd);
            close(fd);
            return ReportOpenFailure(pError, platform::ErrorFromErrno(err), lpszFileName);
        }
    }
    m_hFile = HandleFromFd(fd);
    m_nShareLockFd = lockFd;
    m_bCloseOnDelete = TRUE;
    m_dwFileError = 0;
    m_strFileName = CString(AbsolutePath(lpszFileName));
    if (pError) pError->m_cause = CFileException::none;
    return TRUE;
}

int CFile::Descriptor() const
{
    return m_hFile == hFileNull ? -1 : FdFromHandle(m_hFile);
}

void CFile::RecordError(DWORD error)
{
    if (!m_dwFileError) m_dwFileError = error;
    SetLastError(error);
}

void CFile::Close()
{
    if (m_hFile == hFileNull) return;
    const int fd = Descriptor();
    m_hFile = hFileNull;
    if (m_nShareLockFd >= 0) close(m_nShareLockFd);
    m_nShareLockFd = -1;
    m_bCloseOnDelete = FALSE;
    if (close(fd) != 0) RecordError(platform::ErrorFromErrno(errno));
}

void CFile::Abort()
{
    const DWORD kept = GetLastError();
    Close();
    SetLastError(kept);
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    const int fd = Descriptor();
    if (fd < 0) {
        RecordError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (!lpBuf || nCount == 0) return 0;
    UINT done = 0;
    while (done < nCount) {
        const ssize_t got = read(fd, static_cast<char*>(lpBuf) + done, nCount - done);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            RecordError(errno == EBADF ? ERROR_ACCESS_DENIED : platform::ErrorFromErrno(errno));
            break;
        }
        done += static_cast<UINT>(got);
    }
    return done;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    const int fd = Descriptor();
    if (fd < 0) {
        RecordError(ERROR_INVALID_HANDLE);
        return;
    }
    if (nCount == 0) return;
    if (!lpBuf) {
        RecordError(ERROR_INVALID_PARAMETER);
        return;
    }
    for (UINT done = 0; done < nCount;) {
        const ssize_t put = write(fd, static_cast<const char*>(lpBuf) + done, nCount - done);
        if (put < 0) {
            if (errno == EINTR) continue;
            // A descriptor opened for reading refuses writes with EBADF; Windows says access denied.
            RecordError(errno == EBADF ? ERROR_ACCESS_DENIED : platform::ErrorFromErrno(errno));
            return;
        }
        done += static_cast<UINT>(put);
    }
}

void CFile::Flush()
{
    const int fd = Descriptor();
    if (fd < 0) {
        RecordError(ERROR_INVALID_HANDLE);
        return;
    }
    if (fdatasync(fd) != 0 && errno != EINVAL) RecordError(platform::ErrorFromErrno(errno));
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    const int fd = Descriptor();
    if (fd < 0) {
        RecordError(ERROR_INVALID_HANDLE);
        return static_cast<ULONGLONG>(-1);
    }
    if (nFrom > end) {
        RecordError(ERROR_INVALID_PARAMETER);
        return static_cast<ULONGLONG>(-1);
    }
    static const int kWhence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    const off_t position = lseek(fd, static_cast<off_t>(lOff), kWhence[nFrom]);
    if (position < 0) {
        RecordError(errno == EINVAL ? ERROR_NEGATIVE_SEEK : platform::ErrorFromErrno(errno));
        return static_cast<ULONGLONG>(-1);
    }
    return static_cast<ULONGLONG>(position);
}

ULONGLONG CFile::GetLength() const
{
    struct stat st;
    const int fd = Descriptor();
    if (fd < 0 || fstat(fd, &st) != 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return static_cast<ULONGLONG>(st.st_size);
}

ULONGLONG CFile::GetPosition() const
{
    const int fd = Descriptor();
    const off_t position = fd < 0 ? -1 : lseek(fd, 0, SEEK_CUR);
    if (position < 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return static_cast<ULONGLONG>(-1);
    }
    return static_cast<ULONGLONG>(position);
}

void CFile::SetLength(ULONGLONG dwNewLen)
{
    const int fd = Descriptor();
    if (fd < 0) {
        RecordError(ERROR_INVALID_HANDLE);
        return;
    }
    if (ftruncate(fd, static_cast<off_t>(dwNewLen)) != 0) {
        RecordError(errno == EBADF || errno == EINVAL ? ERROR_ACCESS_DENIED : platform::ErrorFromErrno(errno));
    }
}

CString CFile::GetFileName() const
{
    const int separator = PathLastSeparator(m_strFileName);
    return CString(m_strFileName.str().substr(static_cast<size_t>(separator + 1)));
}

CString CFile::GetFileTitle() const
{
    const std::wstring name = GetFileName().str();
    const size_t dot = name.rfind(L'.');
    return CString(dot == std::wstring::npos ? name : name.substr(0, dot));
}

namespace {
void FillStatus(const struct stat& st, const std::wstring& absolutePath, CFileStatus& rStatus)
{
    rStatus.m_ctime = CTime(st.st_ctime);
    rStatus.m_mtime = CTime(st.st_mtime);
    rStatus.m_atime = CTime(st.st_atime);
    rStatus.m_size = static_cast<ULONGLONG>(st.st_size);
    rStatus.m_attribute = 0;
    if (S_ISDIR(st.st_mode)) rStatus.m_attribute |= CFile::directory;
    if (!S_ISDIR(st.st_mode) && IsReadOnlyMode(st.st_mode)) rStatus.m_attribute |= CFile::readOnly;
    std::wstring full = absolutePath;
    std::replace(full.begin(), full.end(), L'\\', L'/');
    if (full.size() >= MAX_PATH) full.clear();
    std::wmemcpy(rStatus.m_szFullName, full.c_str(), full.size() + 1);
}
}  // namespace

BOOL CFile::GetStatus(CFileStatus& rStatus) const
{
    struct stat st;
    const int fd = Descriptor();
    if (fd < 0 || fstat(fd, &st) != 0) return Fail(ERROR_INVALID_HANDLE);
    FillStatus(st, m_strFileName.str(), rStatus);
    return TRUE;
}

BOOL CFile::GetStatus(LPCWSTR lpszFileName, CFileStatus& rStatus)
{
    if (!lpszFileName || !*lpszFileName) return Fail(ERROR_PATH_NOT_FOUND);
    const std::string native = NativePath(lpszFileName);
    struct stat st;
    if (stat(native.c_str(), &st) != 0) return Fail(PathError(errno, native));
    FillStatus(st, AbsolutePath(lpszFileName), rStatus);
    return TRUE;
}

BOOL CFile::Rename(LPCWSTR lpszOldName, LPCWSTR lpszNewName)
{
    return MoveFileW(lpszOldName, lpszNewName);
}

BOOL CFile::Remove(LPCWSTR lpszFileName)
{
    return DeleteFileW(lpszFileName);
}
