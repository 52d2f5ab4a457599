#include "core/MemoryHelpers.h"

#include <cstring>
#include <vector>

#include "core/ECGData.h"
#include "platform/base/CodePage.h"
#include "platform/base/Kernel.h"
#include "platform/base/VersionInfo.h"

void* MemoryAlloc(UINT size)
{
    if (size == 0) return nullptr;
    return HeapAlloc(GetProcessHeap(), HEAP_NO_SERIALIZE | HEAP_GENERATE_EXCEPTIONS | HEAP_ZERO_MEMORY, size);
}

BOOL MemoryFree(void* block)
{
    if (!block) return FALSE;
    return HeapFree(GetProcessHeap(), HEAP_NO_SERIALIZE, block);
}

int CopyChars(BYTE* dest, const BYTE* src, int count)
{
    if (count <= 0 || !dest || !src) return 0;
    std::memcpy(dest, src, static_cast<size_t>(count));
    return count;
}

int GetCharLength(const wchar_t* text)
{
    if (!text) return 0;
    const size_t length = std::wcslen(text);
    if (length == 0) return 0;
    // Unmappable characters become the one-byte default character.
    return static_cast<int>(platform::EncodeCodePage(932, text, length).size());
}

namespace {

CString QueryVersionString(const std::vector<BYTE>& block, LPCWSTR key)
{
    LPVOID value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), key, &value, &length) || !value || length == 0) return CString();
    return CString(static_cast<LPCWSTR>(value));
}

}  // namespace

void GetVersionBuild(CString& text)
{
    text.Empty();
    // The program's module name with ".exe": the version resource of a
    // Linux executable is the sidecar of that name beside it.
    wchar_t modulePath[MAX_PATH * 4] = {};
    if (GetModuleFileNameW(nullptr, modulePath, MAX_PATH * 4) == 0) return;
    CString exe(modulePath);
    exe += L".exe";

    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe, &handle);
    if (size == 0) return;
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(exe, handle, size, block.data())) return;

    text += QueryVersionString(block, L"\\StringFileInfo\\040904e4\\ProductVersion");
    text += L"0";
    text += QueryVersionString(block, L"\\StringFileInfo\\040904e4\\SpecialBuild");
    text.MakeUpper();
    text.Replace(L"VER.", L"");
    text.Replace(L"-", L"");
    text.Replace(L"BUILD", L"");
}

void FreeECGData(_ECGDATA*& image)
{
    if (!image) return;
    if (image->pBlob3836) MemoryFree(image->pBlob3836);
    if (image->pBlob3855) MemoryFree(image->pBlob3855);
    image->pBlob3836 = nullptr;
    image->pBlob3855 = nullptr;
    MemoryFree(image);
    image = nullptr;
}
