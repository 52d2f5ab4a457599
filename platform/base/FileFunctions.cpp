#include "platform/base/File.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/base/FileHelpers.h"
#include "platform/base/Kernel.h"
#include "platform/base/Temporaries.h"

using platform::NativePath;
using namespace platform::fileio;

namespace {

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
