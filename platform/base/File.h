// Files and paths.
//
// Paths: every call here takes the library's wide path and meets the file
// system with NativePath, the one path rule of PathNames.h (UTF-8 bytes, '\'
// turned into '/').
//
// Sharing: Linux has no mandatory share modes. CFile emulates them with
// advisory open-file-description locks (F_OFD_SETLK) on four bytes far past
// any real data: "someone reads", "someone writes", "someone denies reading",
// "someone denies writing". Each opener holds a shared lock on the bytes that
// describe it and then checks that nobody holds the bytes it conflicts with,
// which gives exactly the Windows rules between morvelance processes and
// handles (programs that do not take these locks are not kept out). A
// conflict fails the Open with sharingViolation, never waits. shareCompat
// denies both, as the framework maps it. A write-only opener holds its locks
// on a second, read-only descriptor (lock type needs read access); a file the
// process may only write, not read, therefore goes without share rules.
#pragma once

#include <string>

#include "platform/base/DateTime.h"
#include "platform/base/PathNames.h"
#include "platform/base/Object.h"
#include "platform/base/Strings.h"
#include "platform/base/WinTypes.h"


// Index of the last '\' or '/' in path; -1 when there is none.
int PathLastSeparator(const CString& path);

// ---- CFileException ------------------------------------------------------------

class CFileException : public CObject {
public:
    enum {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    CFileException(int cause = none, LONG lOsError = -1, LPCWSTR lpszArchiveName = nullptr);

    // The cause for a Win32 error code (genericException when none fits).
    static int OsErrorToException(LONG lOsError);
    // A short English text of the cause and the file name; FALSE for a null buffer.
    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const;
    // For handlers written against the framework's heap-allocated exceptions.
    void Delete() { delete this; }

    int m_cause;
    LONG m_lOsError;        // the Win32 error code; -1 when unknown
    CString m_strFileName;
};

// ---- CFileStatus -----------------------------------------------------------------

struct CFileStatus {
    CTime m_ctime;              // status change time (Linux keeps no creation time)
    CTime m_mtime;              // last write
    CTime m_atime;              // last access
    ULONGLONG m_size;           // bytes
    BYTE m_attribute;           // CFile::Attribute bits
    WCHAR m_szFullName[MAX_PATH];   // absolute path with '/' separators; empty when longer
};

// ---- CFile -------------------------------------------------------------------------

class CFile : public CObject {
public:
    enum OpenFlags {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000
    };
    enum Attribute { normal = 0x00, readOnly = 0x01, hidden = 0x02, system = 0x04, volume = 0x08, directory = 0x10, archive = 0x20 };
    enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };

    static const HANDLE hFileNull;

    CFile();
    // Attaches an open descriptor (stored as a HANDLE); it is not closed on destruction.
    explicit CFile(HANDLE hFile);
    // Opens as Open does; on failure m_hFile stays hFileNull (nothing is thrown).
    CFile(LPCWSTR lpszFileName, UINT nOpenFlags);
    ~CFile() override;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // FALSE on failure, with *pError filled when given.
    virtual BOOL Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
    virtual void Close();
    virtual void Abort();   // Close that never reports failure

    // Reads until nCount bytes or the end of the file; the count read.
    virtual UINT Read(void* lpBuf, UINT nCount);
    // Never throws: a failure (disk full, closed file) is kept in GetFileError()
    // and SetLastError.
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual void Flush();

    // The new position, or (ULONGLONG)-1 (ERROR_NEGATIVE_SEEK, ERROR_INVALID_HANDLE).
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetLength() const;
    virtual ULONGLONG GetPosition() const;
    virtual void SetLength(ULONGLONG dwNewLen);

    virtual CString GetFilePath() const { return m_strFileName; }
    virtual CString GetFileName() const;    // after the last separator
    virtual CString GetFileTitle() const;   // the name without its extension
    BOOL GetStatus(CFileStatus& rStatus) const;
    static BOOL GetStatus(LPCWSTR lpszFileName, CFileStatus& rStatus);
    // The framework throws from these; here they report FALSE and SetLastError.
    static BOOL Rename(LPCWSTR lpszOldName, LPCWSTR lpszNewName);
    static BOOL Remove(LPCWSTR lpszFileName);

    // The first failure of Read, Write, Seek, SetLength or Flush since Open; 0 when none.
    DWORD GetFileError() const { return m_dwFileError; }

    HANDLE m_hFile;           // the descriptor as (HANDLE)(intptr_t)fd; hFileNull when closed
    BOOL m_bCloseOnDelete;    // FALSE for an attached descriptor

protected:
    int Descriptor() const;
    void RecordError(DWORD error);

    CString m_strFileName;    // as the caller gave it, made absolute
    DWORD m_dwFileError;      // Win32 error code, 0 when none
    int m_nShareLockFd;       // read-only descriptor holding the share locks of a write-only
                              // file; -1 when m_hFile holds them itself or none are held
};

// ---- Win32 file functions -------------------------------------------------------------

#define INVALID_FILE_ATTRIBUTES 0xFFFFFFFFu
#define FILE_ATTRIBUTE_READONLY 0x00000001u
#define FILE_ATTRIBUTE_HIDDEN 0x00000002u
#define FILE_ATTRIBUTE_SYSTEM 0x00000004u
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010u
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020u
#define FILE_ATTRIBUTE_NORMAL 0x00000080u

#define MOVEFILE_REPLACE_EXISTING 0x00000001u
#define MOVEFILE_COPY_ALLOWED 0x00000002u
#define MOVEFILE_DELAY_UNTIL_REBOOT 0x00000004u
#define MOVEFILE_WRITE_THROUGH 0x00000008u

struct _SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
};
typedef _SECURITY_ATTRIBUTES SECURITY_ATTRIBUTES;
typedef SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;

struct _WIN32_FIND_DATAW {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;     // the status change time
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    WCHAR cFileName[MAX_PATH];
    WCHAR cAlternateFileName[14];   // always empty: no short names here
};
typedef _WIN32_FIND_DATAW WIN32_FIND_DATAW;
typedef WIN32_FIND_DATAW* LPWIN32_FIND_DATAW;
typedef WIN32_FIND_DATAW WIN32_FIND_DATA;
typedef LPWIN32_FIND_DATAW LPWIN32_FIND_DATA;

// FILE_ATTRIBUTE_DIRECTORY for folders; READONLY when the owner may not
// write (the bit, not the caller's rights, as on Windows); NORMAL otherwise.
DWORD GetFileAttributesW(LPCWSTR lpFileName);
// Only FILE_ATTRIBUTE_READONLY is kept (it clears or restores the write bits).
BOOL SetFileAttributesW(LPCWSTR lpFileName, DWORD dwFileAttributes);
// A read-only file is refused (ERROR_ACCESS_DENIED), as on Windows.
BOOL DeleteFileW(LPCWSTR lpFileName);
// Fails when the destination exists; a file may move to another file system.
BOOL MoveFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName);
// REPLACE_EXISTING replaces a file atomically (never a folder or a read-only
// file); COPY_ALLOWED copies a file across file systems; DELAY_UNTIL_REBOOT
// is not supported (ERROR_NOT_SUPPORTED).
BOOL MoveFileExW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, DWORD dwFlags);
// Copies the bytes, the read-only bit and the last write time.
BOOL CopyFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, BOOL bFailIfExists);
BOOL CreateDirectoryW(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES lpSecurityAttributes);
BOOL RemoveDirectoryW(LPCWSTR lpPathName);
BOOL PathFileExistsW(LPCWSTR pszPath);
// $TMPDIR or /tmp, ending with '/'. As Win32: the length without the
// terminator, or the size needed with it when the buffer is short.
DWORD GetTempPathW(DWORD nBufferLength, LPWSTR lpBuffer);
// <path>/<up to 3 prefix chars><hex>.TMP. With uUnique 0 the file is created
// (empty) under a free number, which is returned; otherwise only the name is
// made. lpTempFileName holds MAX_PATH characters. 0 on failure.
UINT GetTempFileNameW(LPCWSTR lpPathName, LPCWSTR lpPrefixString, UINT uUnique, LPWSTR lpTempFileName);
DWORD GetCurrentDirectoryW(DWORD nBufferLength, LPWSTR lpBuffer);
BOOL SetCurrentDirectoryW(LPCWSTR lpPathName);

// Wildcards '*' and '?' in the last path element, matched case-insensitively
// as Windows does ("*.*" also matches names without a dot). Entries come in
// name order, "." and ".." first. INVALID_HANDLE_VALUE with
// ERROR_FILE_NOT_FOUND (no match) or ERROR_PATH_NOT_FOUND (no folder).
HANDLE FindFirstFileW(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData);
BOOL FindNextFileW(HANDLE hFindFile, LPWIN32_FIND_DATAW lpFindFileData);   // FALSE, ERROR_NO_MORE_FILES at the end
BOOL FindClose(HANDLE hFindFile);

namespace platform {
// The wildcard match FindFirstFileW uses, for other platform code.
bool MatchFileName(const std::wstring& pattern, const std::wstring& name);
// Open FindFirstFileW handles, for leak checks.
long OpenFindHandleCount();
}  // namespace platform

// The names the system's code uses in its Unicode build.
inline DWORD GetFileAttributes(LPCWSTR name) { return GetFileAttributesW(name); }
inline BOOL SetFileAttributes(LPCWSTR name, DWORD attributes) { return SetFileAttributesW(name, attributes); }
inline BOOL DeleteFile(LPCWSTR name) { return DeleteFileW(name); }
inline BOOL MoveFile(LPCWSTR from, LPCWSTR to) { return MoveFileW(from, to); }
inline BOOL MoveFileEx(LPCWSTR from, LPCWSTR to, DWORD flags) { return MoveFileExW(from, to, flags); }
inline BOOL CopyFile(LPCWSTR from, LPCWSTR to, BOOL failIfExists) { return CopyFileW(from, to, failIfExists); }
inline BOOL CreateDirectory(LPCWSTR path, LPSECURITY_ATTRIBUTES sa) { return CreateDirectoryW(path, sa); }
inline BOOL RemoveDirectory(LPCWSTR path) { return RemoveDirectoryW(path); }
inline BOOL PathFileExists(LPCWSTR path) { return PathFileExistsW(path); }
inline DWORD GetTempPath(DWORD size, LPWSTR buffer) { return GetTempPathW(size, buffer); }
inline UINT GetTempFileName(LPCWSTR path, LPCWSTR prefix, UINT unique, LPWSTR out) { return GetTempFileNameW(path, prefix, unique, out); }
inline DWORD GetCurrentDirectory(DWORD size, LPWSTR buffer) { return GetCurrentDirectoryW(size, buffer); }
inline BOOL SetCurrentDirectory(LPCWSTR path) { return SetCurrentDirectoryW(path); }
inline HANDLE FindFirstFile(LPCWSTR pattern, LPWIN32_FIND_DATAW data) { return FindFirstFileW(pattern, data); }
inline BOOL FindNextFile(HANDLE find, LPWIN32_FIND_DATAW data) { return FindNextFileW(find, data); }

// ---- CFileFind -----------------------------------------------------------------------

// The framework's loop: FindFile, then FindNextFile before each entry;
// FindNextFile returns FALSE when the entry it just made current is the last.
class CFileFind : public CObject {
public:
    CFileFind();
    ~CFileFind() override;
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    BOOL FindFile(LPCWSTR pstrName = nullptr, DWORD dwUnused = 0);   // null means "*.*"
    BOOL FindNextFile();
    void Close();

    CString GetFileName() const;
    CString GetFilePath() const;    // the pattern's folder part plus the name
    CString GetFileTitle() const;   // the name without its extension
    CString GetRoot() const { return m_strRoot; }
    ULONGLONG GetLength() const;
    BOOL GetLastWriteTime(CTime& refTime) const;
    BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
    BOOL IsReadOnly() const { return MatchesMask(FILE_ATTRIBUTE_READONLY); }
    BOOL IsDots() const;
    BOOL MatchesMask(DWORD dwMask) const;

protected:
    HANDLE m_hContext;             // FindFirstFileW handle; null when closed
    BOOL m_bGotLast;               // the entry read ahead is the last one
    BOOL m_bHaveCurrent;           // FindNextFile has made an entry current
    WIN32_FIND_DATAW m_found;      // the current entry
    WIN32_FIND_DATAW m_next;       // read ahead, to know when the current one is the last
    CString m_strRoot;             // the pattern up to and including its last separator
};
