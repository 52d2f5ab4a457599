#include "platform/base/File.h"

#include <cwchar>

#include "platform/base/Kernel.h"

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
