#include "platform/base/File.h"

#include <algorithm>
#include <cerrno>
#include <cwchar>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/base/CodePage.h"
#include "platform/base/FileHelpers.h"
#include "platform/base/Kernel.h"

using platform::NativePath;
using namespace platform::fileio;

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
