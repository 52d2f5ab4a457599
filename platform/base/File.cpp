#include "platform/base/File.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/base/CodePage.h"
#include "platform/base/Kernel.h"
#include "platform/base/Temporaries.h"

// ---- paths -------------------------------------------------------------------------

int PathLastSeparator(const CString& path)
{
    const size_t index = path.str().find_last_of(L"\\/");
    return index == std::wstring::npos ? -1 : static_cast<int>(index);
}

namespace {

using platform::NativePath;

std::string CurrentDirectory()
{
    std::vector<char> buffer(4096);
    while (!getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE) return std::string();
        buffer.resize(buffer.size() * 2);
    }
    return std::string(buffer.data());
}

bool IsAbsolute(const std::wstring& path)
{
    return !path.empty() && (path[0] == L'/' || path[0] == L'\\');
}

// The caller's path made absolute; its own separators are kept.
std::wstring AbsolutePath(const std::wstring& path)
{
    if (IsAbsolute(path)) return path;
    return platform::WidePath(CurrentDirectory()) + L'/' + path;
}

std::string ParentFolder(const std::string& native)
{
    std::string trimmed = native;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    const size_t slash = trimmed.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return trimmed.substr(0, slash);
}

// errno for a path -> the Win32 code: Windows tells a missing file
// (ERROR_FILE_NOT_FOUND) from a missing folder on the way (ERROR_PATH_NOT_FOUND).
DWORD PathError(int err, const std::string& native)
{
    if (err == ENOENT) {
        struct stat st;
        const std::string parent = ParentFolder(native);
        if (stat(parent.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return ERROR_PATH_NOT_FOUND;
        return ERROR_FILE_NOT_FOUND;
    }
    return platform::ErrorFromErrno(err);
}

BOOL Fail(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

bool IsReadOnlyMode(mode_t mode)
{
    return (mode & S_IWUSR) == 0;
}

DWORD AttributesFromStat(const struct stat& st)
{
    DWORD attributes = 0;
    if (S_ISDIR(st.st_mode)) attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (IsReadOnlyMode(st.st_mode)) attributes |= FILE_ATTRIBUTE_READONLY;
    return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

int FdFromHandle(HANDLE handle)
{
    return static_cast<int>(reinterpret_cast<intptr_t>(handle));
}

HANDLE HandleFromFd(int fd)
{
    return reinterpret_cast<HANDLE>(static_cast<intptr_t>(fd));
}

// Copies everything from in to out; 0 or the errno of the failure.
int CopyContents(int in, int out)
{
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t got = read(in, buffer.data(), buffer.size());
        if (got == 0) return 0;
        if (got < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = write(out, buffer.data() + done, static_cast<size_t>(got - done));
            if (put < 0) {
                if (errno == EINTR) continue;
                return errno;
            }
            done += put;
        }
    }
}

// Copies the bytes, permission bits and times of the open file `in` into a
// new file at `target`; 0 or an errno. O_EXCL keeps an existing file safe.
int CopyIntoNewFile(int in, const struct stat& source, const std::string& target, bool exclusive)
{
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (exclusive ? O_EXCL : O_TRUNC);
    const int out = open(target.c_str(), flags, source.st_mode & 0777);
    if (out < 0) return errno;
    int err = CopyContents(in, out);
    if (!err && fchmod(out, source.st_mode & 07777) != 0) err = errno;
    const struct timespec times[2] = {source.st_atim, source.st_mtim};
    if (!err && futimens(out, times) != 0) err = errno;
    if (close(out) != 0 && !err) err = errno;
    if (err) unlink(target.c_str());
    return err;
}

// Puts `from` in place at `to` unless `to` exists (EEXIST then); 0 or an errno.
int PutInPlaceExclusive(const std::string& from, const std::string& to)
{
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // A file system without the flag: a hard link fails the same way on an existing name.
    if (link(from.c_str(), to.c_str()) != 0) return errno;
    unlink(from.c_str());
    return 0;
}

// Copies the open file `in` to `target` through a temporary beside it that is
// renamed over it at the end, so the target is at every moment either what it
// was or the whole copy, whenever the copy stops (a kill, a full disk).
// With `exclusive` an existing target is kept (EEXIST). 0 or an errno.
int CopyThroughTemporary(int in, const struct stat& source, const std::string& to, bool exclusive)
{
    // A link is replaced where it points, as writing through it would.
    std::string target = to;
    struct stat link;
    if (lstat(to.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        char* resolved = realpath(to.c_str(), nullptr);
        if (resolved) {
            target = resolved;
            free(resolved);
        }
    }
    platform::RemoveStaleTemporaries(target);
    std::string temp;
    const int out = platform::CreateTemporaryBeside(target, temp, source.st_mode & 0777);
    if (out < 0) return errno;
    int err = CopyContents(in, out);
    if (!err && fchmod(out, source.st_mode & 07777) != 0) err = errno;
    const struct timespec times[2] = {source.st_atim, source.st_mtim};
    if (!err && futimens(out, times) != 0) err = errno;
    if (!err && fsync(out) != 0) err = errno;
    if (close(out) != 0 && !err) err = errno;
    if (!err) err = exclusive ? PutInPlaceExclusive(temp, target) : (rename(temp.c_str(), target.c_str()) == 0 ? 0 : errno);
    if (err) unlink(temp.c_str());
    return err;
}

}  // namespace

// ---- CFileException ----------------------------------------------------------------

CFileException::CFileException(int cause, LONG lOsError, LPCWSTR lpszArchiveName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(std::wstring(lpszArchiveName ? lpszArchiveName : L""))
{
}

int CFileException::OsErrorToException(LONG lOsError)
{
    switch (static_cast<DWORD>(lOsError)) {
    case ERROR_SUCCESS: return none;
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE: return badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return accessDenied;
    case ERROR_INVALID_HANDLE: return invalidFile;
    case ERROR_CURRENT_DIRECTORY: return removeCurrentDir;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK: return badSeek;
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE: return hardIO;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case ERROR_LOCK_VIOLATION: return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return diskFull;
    case ERROR_HANDLE_EOF: return endOfFile;
    default: return genericException;
    }
}

BOOL CFileException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const
{
    static const wchar_t* const kTexts[] = {
        L"No error occurred.",          L"An unspecified error occurred.",   L"The file could not be located.",
        L"The path is invalid.",        L"Too many files are open.",         L"Access to the file was denied.",
        L"The file handle is invalid.", L"The current folder cannot be removed.", L"The folder is full.",
        L"The seek failed.",            L"A hardware I/O error occurred.",   L"A sharing violation occurred.",
        L"A locking violation occurred.", L"The disk is full.",              L"The end of the file was reached."};
    if (pnHelpContext) *pnHelpContext = 0;
    if (!lpszError || nMaxError == 0) return FALSE;
    const int cause = (m_cause >= none && m_cause <= endOfFile) ? m_cause : genericException;
    std::wstring text = kTexts[cause];
    if (!m_strFileName.IsEmpty()) text += L" (" + m_strFileName.str() + L")";
    wcsncpy_s(lpszError, nMaxError, text.c_str(), _TRUNCATE);
    return TRUE;
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

// ---- Win32 file functions ----------------------------------------------------------------------

DWORD GetFileAttributesW(LPCWSTR lpFileName)
{
    if (!lpFileName || !*lpFileName) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    const std::string native = NativePath(lpFileName);
    struct stat st;
    if (stat(native.c_str(), &st) != 0) {
        SetLastError(PathError(errno, native));
        return INVALID_FILE_ATTRIBUTES;
    }
    return AttributesFromStat(st);
}

BOOL SetFileAttributesW(LPCWSTR lpFileName, DWORD dwFileAttributes)
{
    if (!lpFileName) return Fail(ERROR_INVALID_PARAMETER);
    const std::string native = NativePath(lpFileName);
    struct stat st;
    if (stat(native.c_str(), &st) != 0) return Fail(PathError(errno, native));
    mode_t mode = st.st_mode & 07777;
    if (dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
        mode &= static_cast<mode_t>(~(S_IWUSR | S_IWGRP | S_IWOTH));
    } else if (IsReadOnlyMode(st.st_mode)) {
        // Give back the write bits the process's umask allows.
        const mode_t mask = umask(0);
        umask(mask);
        mode |= static_cast<mode_t>((S_IWUSR | S_IWGRP | S_IWOTH) & ~mask) | S_IWUSR;
    }
    if (chmod(native.c_str(), mode) != 0) return Fail(platform::ErrorFromErrno(errno));
    return TRUE;
}

BOOL DeleteFileW(LPCWSTR lpFileName)
{
    if (!lpFileName || !*lpFileName) return Fail(ERROR_PATH_NOT_FOUND);
    const std::string native = NativePath(lpFileName);
    struct stat st;
    if (lstat(native.c_str(), &st) != 0) return Fail(PathError(errno, native));
    if (S_ISDIR(st.st_mode) || (S_ISREG(st.st_mode) && IsReadOnlyMode(st.st_mode))) return Fail(ERROR_ACCESS_DENIED);
    if (unlink(native.c_str()) != 0) return Fail(PathError(errno, native));
    return TRUE;
}

namespace {

// Renames without replacing; falls back to a check-then-rename where the
// file system has no RENAME_NOREPLACE.
int RenameNoReplace(const std::string& from, const std::string& to)
{
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    struct stat st;
    if (lstat(to.c_str(), &st) == 0) return EEXIST;
    return rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

// A move across file systems: copy next to the target, put it in place with
// one rename (so a replaced target is never half-written), then delete the source.
DWORD CopyAcrossFileSystems(const std::string& from, const std::string& to, bool replace)
{
    const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return PathError(errno, from);
    struct stat st;
    if (fstat(in, &st) != 0) {
        close(in);
        return platform::ErrorFromErrno(errno);
    }
    const std::string staging = to + ".morvelance-move-" + std::to_string(getpid());
    int err = CopyIntoNewFile(in, st, staging, true);
    close(in);
    if (err) return platform::ErrorFromErrno(err);
    err = replace ? (rename(staging.c_str(), to.c_str()) == 0 ? 0 : errno) : RenameNoReplace(staging, to);
    if (err) {
        unlink(staging.c_str());
        return err == EEXIST ? ERROR_ALREADY_EXISTS : platform::ErrorFromErrno(err);
    }
    if (unlink(from.c_str()) != 0) return platform::ErrorFromErrno(errno);
    return ERROR_SUCCESS;
}

}  // namespace

BOOL MoveFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName)
{
    return MoveFileExW(lpExistingFileName, lpNewFileName, MOVEFILE_COPY_ALLOWED);
}

BOOL MoveFileExW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, DWORD dwFlags)
{
    if (dwFlags & MOVEFILE_DELAY_UNTIL_REBOOT) return Fail(ERROR_NOT_SUPPORTED);
    if (!lpExistingFileName || !lpNewFileName || !*lpExistingFileName || !*lpNewFileName) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    const std::string from = NativePath(lpExistingFileName);
    const std::string to = NativePath(lpNewFileName);
    struct stat source;
    if (lstat(from.c_str(), &source) != 0) return Fail(PathError(errno, from));
    const bool replace = (dwFlags & MOVEFILE_REPLACE_EXISTING) != 0;
    struct stat target;
    const bool targetExists = lstat(to.c_str(), &target) == 0;
    if (targetExists && !replace) return Fail(ERROR_ALREADY_EXISTS);
    // Windows replaces files only: never a folder, never a read-only file.
    if (targetExists && (S_ISDIR(target.st_mode) || S_ISDIR(source.st_mode))) return Fail(ERROR_ACCESS_DENIED);
    if (targetExists && S_ISREG(target.st_mode) && IsReadOnlyMode(target.st_mode)) return Fail(ERROR_ACCESS_DENIED);

    const int err = replace ? (rename(from.c_str(), to.c_str()) == 0 ? 0 : errno) : RenameNoReplace(from, to);
    if (err == 0) return TRUE;
    if (err == EEXIST) return Fail(ERROR_ALREADY_EXISTS);
    if (err != EXDEV) return Fail(err == ENOENT ? PathError(err, to) : platform::ErrorFromErrno(err));
    if (!(dwFlags & MOVEFILE_COPY_ALLOWED) || !S_ISREG(source.st_mode)) return Fail(ERROR_NOT_SAME_DEVICE);
    const DWORD copyError = CopyAcrossFileSystems(from, to, replace);
    if (copyError != ERROR_SUCCESS) return Fail(copyError);
    return TRUE;
}

BOOL CopyFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, BOOL bFailIfExists)
{
    if (!lpExistingFileName || !lpNewFileName || !*lpExistingFileName || !*lpNewFileName) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    const std::string from = NativePath(lpExistingFileName);
    const std::string to = NativePath(lpNewFileName);
    const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return Fail(PathError(errno, from));
    struct stat source;
    if (fstat(in, &source) != 0 || S_ISDIR(source.st_mode)) {
        close(in);
        return Fail(ERROR_ACCESS_DENIED);
    }
    struct stat target;
    DWORD refusal = ERROR_SUCCESS;
    if (stat(to.c_str(), &target) == 0) {
        if (target.st_dev == source.st_dev && target.st_ino == source.st_ino) {
            refusal = ERROR_SHARING_VIOLATION;   // copying onto itself would empty the source
        } else if (bFailIfExists) {
            refusal = ERROR_FILE_EXISTS;
        } else if (S_ISDIR(target.st_mode) || IsReadOnlyMode(target.st_mode)) {
            refusal = ERROR_ACCESS_DENIED;
        }
    }
    if (refusal != ERROR_SUCCESS) {
        close(in);
        return Fail(refusal);
    }
    const int err = CopyThroughTemporary(in, source, to, bFailIfExists != FALSE);
    close(in);
    if (err == EEXIST) return Fail(ERROR_FILE_EXISTS);
    if (err) return Fail(err == ENOENT ? PathError(err, to) : platform::ErrorFromErrno(err));
    return TRUE;
}

BOOL CreateDirectoryW(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES)
{
    if (!lpPathName || !*lpPathName) return Fail(ERROR_PATH_NOT_FOUND);
    const std::string native = NativePath(lpPathName);
    if (mkdir(native.c_str(), 0777) != 0) {
        if (errno == ENOENT) return Fail(ERROR_PATH_NOT_FOUND);
        return Fail(platform::ErrorFromErrno(errno));
    }
    return TRUE;
}

BOOL RemoveDirectoryW(LPCWSTR lpPathName)
{
    if (!lpPathName || !*lpPathName) return Fail(ERROR_PATH_NOT_FOUND);
    const std::string native = NativePath(lpPathName);
    if (rmdir(native.c_str()) != 0) {
        if (errno == ENOTDIR) return Fail(ERROR_DIRECTORY);
        if (errno == EEXIST || errno == ENOTEMPTY) return Fail(ERROR_DIR_NOT_EMPTY);
        return Fail(PathError(errno, native));
    }
    return TRUE;
}

BOOL PathFileExistsW(LPCWSTR pszPath)
{
    if (!pszPath || !*pszPath) return FALSE;
    struct stat st;
    if (stat(NativePath(pszPath).c_str(), &st) != 0) return Fail(ERROR_FILE_NOT_FOUND);
    return TRUE;
}

namespace {
// Win32's convention for "fill this buffer with a string".
DWORD CopyOrSizeNeeded(const std::wstring& text, DWORD nBufferLength, LPWSTR lpBuffer)
{
    if (!lpBuffer || nBufferLength < text.size() + 1) return static_cast<DWORD>(text.size() + 1);
    std::wmemcpy(lpBuffer, text.c_str(), text.size() + 1);
    return static_cast<DWORD>(text.size());
}
}  // namespace

DWORD GetTempPathW(DWORD nBufferLength, LPWSTR lpBuffer)
{
    const char* tmpdir = std::getenv("TMPDIR");
    std::wstring path = platform::WidePath(tmpdir && *tmpdir ? tmpdir : "/tmp");
    if (path.back() != L'/') path += L'/';
    return CopyOrSizeNeeded(path, nBufferLength, lpBuffer);
}

UINT GetTempFileNameW(LPCWSTR lpPathName, LPCWSTR lpPrefixString, UINT uUnique, LPWSTR lpTempFileName)
{
    if (!lpPathName || !lpTempFileName) return Fail(ERROR_INVALID_PARAMETER);
    std::wstring base = lpPathName;
    struct stat st;
    const std::string folder = base.empty() ? std::string(".") : NativePath(base.c_str());
    if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return Fail(ERROR_DIRECTORY);
    if (!base.empty() && base.back() != L'/' && base.back() != L'\\') base += L'/';
    base += std::wstring(lpPrefixString ? lpPrefixString : L"").substr(0, 3);

    auto nameFor = [&base](UINT number) {
        wchar_t hex[8];
        swprintf(hex, 8, L"%X", number);
        return base + hex + L".TMP";
    };
    auto deliver = [lpTempFileName](const std::wstring& name) {
        std::wmemcpy(lpTempFileName, name.c_str(), name.size() + 1);
    };
    if (nameFor(0xFFFF).size() >= MAX_PATH) return Fail(ERROR_BUFFER_OVERFLOW);

    uUnique &= 0xFFFFu;   // only the low 16 bits count, as on Windows
    if (uUnique != 0) {
        deliver(nameFor(uUnique));
        return uUnique;
    }
    const UINT start = (GetTickCount() ^ static_cast<UINT>(getpid())) % 0xFFFFu;
    for (UINT i = 0; i < 0xFFFFu; ++i) {
        const UINT number = (start + i) % 0xFFFFu + 1;
        const std::wstring name = nameFor(number);
        const int fd = open(NativePath(name.c_str()).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            close(fd);
            deliver(name);
            return number;
        }
        if (errno != EEXIST) return Fail(platform::ErrorFromErrno(errno));
    }
    return Fail(ERROR_FILE_EXISTS);
}

DWORD GetCurrentDirectoryW(DWORD nBufferLength, LPWSTR lpBuffer)
{
    const std::string cwd = CurrentDirectory();
    if (cwd.empty()) {
        SetLastError(platform::ErrorFromErrno(errno));
        return 0;
    }
    return CopyOrSizeNeeded(platform::WidePath(cwd), nBufferLength, lpBuffer);
}

BOOL SetCurrentDirectoryW(LPCWSTR lpPathName)
{
    if (!lpPathName || !*lpPathName) return Fail(ERROR_INVALID_PARAMETER);
    const std::string native = NativePath(lpPathName);
    if (chdir(native.c_str()) != 0) return Fail(errno == ENOENT ? ERROR_FILE_NOT_FOUND : PathError(errno, native));
    return TRUE;
}

// ---- finding files ---------------------------------------------------------------------------

namespace {

// Windows compares file names through an upper-case table; ASCII, Latin-1 and
// the full-width Latin letters cover the names this system meets.
wchar_t FoldFileChar(wchar_t ch)
{
    if (ch >= L'a' && ch <= L'z') return static_cast<wchar_t>(ch - 0x20);
    if (ch >= 0xE0 && ch <= 0xFE && ch != 0xF7) return static_cast<wchar_t>(ch - 0x20);
    if (ch >= 0xFF41 && ch <= 0xFF5A) return static_cast<wchar_t>(ch - 0x20);
    return ch;
}

std::wstring FoldFileName(const std::wstring& name)
{
    std::wstring folded(name);
    std::transform(folded.begin(), folded.end(), folded.begin(), FoldFileChar);
    return folded;
}

bool GlobMatch(const std::wstring& pattern, const std::wstring& name)
{
    size_t p = 0, n = 0;
    size_t starAt = std::wstring::npos, resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == L'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == L'*') {
            starAt = p++;
            resumeAt = n;
        } else if (starAt != std::wstring::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*') ++p;
    return p == pattern.size();
}

struct FindState {
    std::vector<WIN32_FIND_DATAW> entries;
    size_t next = 0;
};

std::mutex g_findMutex;
std::map<uintptr_t, std::unique_ptr<FindState>> g_finds;
uintptr_t g_nextFindId = 0x4600;   // never reused, so a closed handle stays dead

bool FillFindData(const std::string& folder, const std::string& entryName, WIN32_FIND_DATAW& data)
{
    const std::wstring wide = platform::WidePath(entryName);
    if (wide.size() >= MAX_PATH) return false;   // no room in cFileName
    const std::string full = folder + "/" + entryName;
    struct stat st;
    if (stat(full.c_str(), &st) != 0 && lstat(full.c_str(), &st) != 0) return false;
    std::memset(&data, 0, sizeof(data));
    data.dwFileAttributes = AttributesFromStat(st);
    data.ftCreationTime = platform::FileTimeFromUnix(st.st_ctim.tv_sec, st.st_ctim.tv_nsec);
    data.ftLastAccessTime = platform::FileTimeFromUnix(st.st_atim.tv_sec, st.st_atim.tv_nsec);
    data.ftLastWriteTime = platform::FileTimeFromUnix(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
    const unsigned long long size = S_ISDIR(st.st_mode) ? 0ULL : static_cast<unsigned long long>(st.st_size);
    data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data.nFileSizeLow = static_cast<DWORD>(size);
    std::wmemcpy(data.cFileName, wide.c_str(), wide.size() + 1);
    return true;
}

int DotRank(const wchar_t* name)
{
    if (std::wcscmp(name, L".") == 0) return 0;
    if (std::wcscmp(name, L"..") == 0) return 1;
    return 2;
}

bool FindOrder(const WIN32_FIND_DATAW& a, const WIN32_FIND_DATAW& b)
{
    const int rankA = DotRank(a.cFileName), rankB = DotRank(b.cFileName);
    if (rankA != rankB) return rankA < rankB;
    const std::wstring foldedA = FoldFileName(a.cFileName), foldedB = FoldFileName(b.cFileName);
    if (foldedA != foldedB) return foldedA < foldedB;
    return std::wcscmp(a.cFileName, b.cFileName) < 0;
}

FindState* LookupFind(HANDLE handle)
{
    auto it = g_finds.find(reinterpret_cast<uintptr_t>(handle));
    return it == g_finds.end() ? nullptr : it->second.get();
}

}  // namespace

namespace platform {
bool MatchFileName(const std::wstring& pattern, const std::wstring& name)
{
    const std::wstring foldedPattern = FoldFileName(pattern);
    const std::wstring foldedName = FoldFileName(name);
    if (GlobMatch(foldedPattern, foldedName)) return true;
    // "name.*" also matches "name": Windows treats a trailing ".*" as an optional extension.
    const size_t n = foldedPattern.size();
    return n >= 2 && foldedPattern.compare(n - 2, 2, L".*") == 0 && GlobMatch(foldedPattern.substr(0, n - 2), foldedName);
}

long OpenFindHandleCount()
{
    std::lock_guard<std::mutex> lock(g_findMutex);
    return static_cast<long>(g_finds.size());
}
}  // namespace platform

HANDLE FindFirstFileW(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData)
{
    if (!lpFileName || !lpFindFileData) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const std::wstring pattern = lpFileName;
    const size_t separator = pattern.find_last_of(L"\\/");
    const std::wstring mask = separator == std::wstring::npos ? pattern : pattern.substr(separator + 1);
    std::string folder = separator == std::wstring::npos ? std::string(".")
                                                         : NativePath(pattern.substr(0, separator + 1).c_str());
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (mask.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    DIR* dir = opendir(folder.c_str());
    if (!dir) {
        SetLastError(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : platform::ErrorFromErrno(errno));
        return INVALID_HANDLE_VALUE;
    }
    auto state = std::make_unique<FindState>();
    while (struct dirent* entry = readdir(dir)) {
        WIN32_FIND_DATAW data;
        if (!platform::MatchFileName(mask, platform::WidePath(entry->d_name))) continue;
        if (FillFindData(folder, entry->d_name, data)) state->entries.push_back(data);
    }
    closedir(dir);
    if (state->entries.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    std::sort(state->entries.begin(), state->entries.end(), FindOrder);
    *lpFindFileData = state->entries[0];
    state->next = 1;
    std::lock_guard<std::mutex> lock(g_findMutex);
    const uintptr_t id = g_nextFindId;
    g_nextFindId += 4;
    g_finds[id] = std::move(state);
    return reinterpret_cast<HANDLE>(id);
}

BOOL FindNextFileW(HANDLE hFindFile, LPWIN32_FIND_DATAW lpFindFileData)
{
    std::lock_guard<std::mutex> lock(g_findMutex);
    FindState* state = LookupFind(hFindFile);
    if (!state) return Fail(ERROR_INVALID_HANDLE);
    if (!lpFindFileData) return Fail(ERROR_INVALID_PARAMETER);
    if (state->next >= state->entries.size()) return Fail(ERROR_NO_MORE_FILES);
    *lpFindFileData = state->entries[state->next++];
    return TRUE;
}

BOOL FindClose(HANDLE hFindFile)
{
    std::lock_guard<std::mutex> lock(g_findMutex);
    if (g_finds.erase(reinterpret_cast<uintptr_t>(hFindFile)) == 0) return Fail(ERROR_INVALID_HANDLE);
    return TRUE;
}

// ---- CFileFind ----------------------------------------------------------------------------------

CFileFind::CFileFind() : m_hContext(nullptr), m_bGotLast(FALSE), m_bHaveCurrent(FALSE)
{
    std::memset(&m_found, 0, sizeof(m_found));
    std::memset(&m_next, 0, sizeof(m_next));
}

CFileFind::~CFileFind()
{
    Close();
}

void CFileFind::Close()
{
    if (m_hContext) FindClose(m_hContext);
    m_hContext = nullptr;
    m_bGotLast = FALSE;
    m_bHaveCurrent = FALSE;
}

BOOL CFileFind::FindFile(LPCWSTR pstrName, DWORD)
{
    Close();
    const std::wstring pattern = pstrName ? pstrName : L"*.*";
    const size_t separator = pattern.find_last_of(L"\\/");
    const std::wstring root = separator == std::wstring::npos ? std::wstring() : pattern.substr(0, separator + 1);
    m_strRoot = CString(AbsolutePath(root));
    const HANDLE found = FindFirstFileW(pattern.c_str(), &m_next);
    if (found == INVALID_HANDLE_VALUE) return FALSE;
    m_hContext = found;
    return TRUE;
}

BOOL CFileFind::FindNextFile()
{
    if (!m_hContext || m_bGotLast) return FALSE;
    m_found = m_next;
    m_bHaveCurrent = TRUE;
    if (!FindNextFileW(m_hContext, &m_next)) m_bGotLast = TRUE;
    return !m_bGotLast;
}

CString CFileFind::GetFileName() const
{
    return m_bHaveCurrent ? CString(std::wstring(m_found.cFileName)) : CString();
}

CString CFileFind::GetFilePath() const
{
    return m_bHaveCurrent ? m_strRoot + GetFileName() : CString();
}

CString CFileFind::GetFileTitle() const
{
    const std::wstring name = GetFileName().str();
    const size_t dot = name.rfind(L'.');
    return CString(dot == std::wstring::npos ? name : name.substr(0, dot));
}

ULONGLONG CFileFind::GetLength() const
{
    if (!m_bHaveCurrent) return 0;
    return (static_cast<ULONGLONG>(m_found.nFileSizeHigh) << 32) | m_found.nFileSizeLow;
}

BOOL CFileFind::GetLastWriteTime(CTime& refTime) const
{
    if (!m_bHaveCurrent) return FALSE;
    const long long ticks = static_cast<long long>(
        (static_cast<unsigned long long>(m_found.ftLastWriteTime.dwHighDateTime) << 32) |
        m_found.ftLastWriteTime.dwLowDateTime);
    refTime = CTime(static_cast<time_t>((ticks - 116444736000000000LL) / 10000000LL));
    return TRUE;
}

BOOL CFileFind::IsDots() const
{
    return m_bHaveCurrent && IsDirectory() && DotRank(m_found.cFileName) < 2;
}

BOOL CFileFind::MatchesMask(DWORD dwMask) const
{
    return m_bHaveCurrent && (m_found.dwFileAttributes & dwMask) != 0;
}
