#include "platform/ui/windowing/Clipboard.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "platform/base/CodePage.h"
#include "platform/base/Kernel.h"
#include "platform/ui/windowing/Window.h"

namespace {

struct GlobalBlock {
    std::vector<BYTE> bytes;
    int locks = 0;
};

// Handles are the blocks' addresses; only those in the table are handles.
std::map<HGLOBAL, std::unique_ptr<GlobalBlock>>& Blocks()
{
    static auto* blocks = new std::map<HGLOBAL, std::unique_ptr<GlobalBlock>>;
    return *blocks;
}

GlobalBlock* FindBlock(HGLOBAL handle)
{
    auto found = Blocks().find(handle);
    return found == Blocks().end() ? nullptr : found->second.get();
}

struct ClipboardState {
    bool open = false;
    HWND opener = nullptr;           // the window that opened it; null for the process
    HWND owner = nullptr;            // who emptied it last
    std::map<UINT, HGLOBAL> data;    // format -> object the clipboard owns
};

ClipboardState& Clip()
{
    static ClipboardState state;
    return state;
}

void FreeData(ClipboardState& clip)
{
    for (auto& entry : clip.data) GlobalFree(entry.second);
    clip.data.clear();
}

HGLOBAL TextObject(const std::wstring& text)
{
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    auto* bytes = static_cast<wchar_t*>(GlobalLock(handle));
    if (!bytes) return nullptr;
    std::copy(text.begin(), text.end(), bytes);
    bytes[text.size()] = L'\0';
    GlobalUnlock(handle);
    return handle;
}

// The text held in an object, up to its first terminator or its end.
std::wstring ReadWide(HGLOBAL handle)
{
    GlobalBlock* block = FindBlock(handle);
    if (!block) return std::wstring();
    const size_t count = block->bytes.size() / sizeof(wchar_t);
    std::wstring text(count, L'\0');
    std::memcpy(&text[0], block->bytes.data(), count * sizeof(wchar_t));
    text.resize(std::wcslen(text.c_str()));
    return text;
}

std::string ReadNarrow(HGLOBAL handle)
{
    GlobalBlock* block = FindBlock(handle);
    if (!block) return std::string();
    std::string text(block->bytes.begin(), block->bytes.end());
    text.resize(std::strlen(text.c_str()));
    return text;
}

// Text kept as CF_TEXT converts through the ANSI code page, as Windows' synthesised formats do.
HGLOBAL Convert(UINT wanted, HGLOBAL source)
{
    if (wanted == CF_UNICODETEXT) {
        const std::string narrow = ReadNarrow(source);
        const int count = MultiByteToWideChar(CP_ACP, 0, narrow.c_str(), static_cast<int>(narrow.size()), nullptr, 0);
        std::wstring wide(static_cast<size_t>(std::max(count, 0)), L'\0');
        if (count > 0)
            MultiByteToWideChar(CP_ACP, 0, narrow.c_str(), static_cast<int>(narrow.size()), &wide[0], count);
        return TextObject(wide);
    }
    const std::wstring wide = ReadWide(source);
    const int count = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0,
                                          nullptr, nullptr);
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<size_t>(std::max(count, 0)) + 1);
    auto* bytes = static_cast<char*>(GlobalLock(handle));
    if (!bytes) return nullptr;
    if (count > 0)
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), bytes, count, nullptr, nullptr);
    GlobalUnlock(handle);
    return handle;
}

bool IsTextFormat(UINT format)
{
    return format == CF_UNICODETEXT || format == CF_TEXT;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT uFlags, size_t dwBytes)
{
    (void)uFlags;   // every block starts zeroed; moveable and fixed blocks behave alike here
    auto block = std::make_unique<GlobalBlock>();
    block->bytes.assign(std::max<size_t>(dwBytes, 1), 0);
    HGLOBAL handle = static_cast<HGLOBAL>(block.get());
    Blocks()[handle] = std::move(block);
    return handle;
}

LPVOID GlobalLock(HGLOBAL hMem)
{
    GlobalBlock* block = FindBlock(hMem);
    if (!block) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    ++block->locks;
    return block->bytes.data();
}

BOOL GlobalUnlock(HGLOBAL hMem)
{
    GlobalBlock* block = FindBlock(hMem);
    if (!block || block->locks == 0) return FALSE;
    --block->locks;
    return block->locks > 0;
}

HGLOBAL GlobalFree(HGLOBAL hMem)
{
    if (!hMem) return nullptr;
    if (Blocks().erase(hMem) == 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return hMem;
    }
    return nullptr;
}

size_t GlobalSize(HGLOBAL hMem)
{
    GlobalBlock* block = FindBlock(hMem);
    return block ? block->bytes.size() : 0;
}

BOOL OpenClipboard(HWND hWndNewOwner)
{
    ClipboardState& clip = Clip();
    if (hWndNewOwner && !IsWindow(hWndNewOwner)) return FALSE;
    // Windows lets the window that holds the clipboard open it again.
    if (clip.open && clip.opener != hWndNewOwner) return FALSE;
    clip.open = true;
    clip.opener = hWndNewOwner;
    return TRUE;
}

BOOL CloseClipboard()
{
    ClipboardState& clip = Clip();
    if (!clip.open) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return FALSE;
    }
    clip.open = false;
    clip.opener = nullptr;
    return TRUE;
}

BOOL EmptyClipboard()
{
    ClipboardState& clip = Clip();
    if (!clip.open) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return FALSE;
    }
    FreeData(clip);
    clip.owner = clip.opener;
    return TRUE;
}

HANDLE SetClipboardData(UINT uFormat, HANDLE hMem)
{
    ClipboardState& clip = Clip();
    if (!clip.open) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return nullptr;
    }
    if (!IsTextFormat(uFormat) || !FindBlock(hMem)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto existing = clip.data.find(uFormat);
    if (existing != clip.data.end() && existing->second != hMem) GlobalFree(existing->second);
    // One text lives on the clipboard: the other text format is made from it when asked for.
    const UINT other = uFormat == CF_UNICODETEXT ? CF_TEXT : CF_UNICODETEXT;
    auto stale = clip.data.find(other);
    if (stale != clip.data.end()) {
        GlobalFree(stale->second);
        clip.data.erase(stale);
    }
    clip.data[uFormat] = hMem;
    return hMem;
}

HANDLE GetClipboardData(UINT uFormat)
{
    ClipboardState& clip = Clip();
    if (!clip.open || !IsTextFormat(uFormat)) return nullptr;
    auto found = clip.data.find(uFormat);
    if (found != clip.data.end()) return found->second;
    const UINT other = uFormat == CF_UNICODETEXT ? CF_TEXT : CF_UNICODETEXT;
    auto source = clip.data.find(other);
    if (source == clip.data.end()) return nullptr;
    HGLOBAL converted = Convert(uFormat, source->second);
    if (converted) clip.data[uFormat] = converted;
    return converted;
}

BOOL IsClipboardFormatAvailable(UINT format)
{
    const ClipboardState& clip = Clip();
    return IsTextFormat(format) && !clip.data.empty();
}

HWND GetClipboardOwner()
{
    return IsWindow(Clip().owner) ? Clip().owner : nullptr;
}

HWND GetOpenClipboardWindow()
{
    return Clip().open ? Clip().opener : nullptr;
}

namespace platform::ui {

BOOL SetClipboardText(HWND owner, const wchar_t* text, size_t length)
{
    if (!OpenClipboard(owner)) return FALSE;
    EmptyClipboard();
    HGLOBAL handle = TextObject(std::wstring(text ? text : L"", text ? length : 0));
    if (!SetClipboardData(CF_UNICODETEXT, handle)) GlobalFree(handle);
    CloseClipboard();
    return TRUE;
}

BOOL GetClipboardText(HWND reader, std::wstring& out)
{
    out.clear();
    if (!OpenClipboard(reader)) return FALSE;
    HANDLE handle = GetClipboardData(CF_UNICODETEXT);
    if (handle) out = ReadWide(handle);
    CloseClipboard();
    return handle != nullptr;
}

void ResetClipboard()
{
    ClipboardState& clip = Clip();
    FreeData(clip);
    clip.open = false;
    clip.opener = nullptr;
    clip.owner = nullptr;
}

int LiveGlobalObjectCount()
{
    return static_cast<int>(Blocks().size());
}

}  // namespace platform::ui
