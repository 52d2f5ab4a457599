#include "platform/base/PathNames.h"

#include <algorithm>

#include "platform/base/CodePage.h"

namespace platform {

std::string NativePath(LPCWSTR path)
{
    if (!path) return std::string();
    std::string native = ToUtf8(path);
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

std::wstring WidePath(const std::string& native)
{
    return FromUtf8(native);
}

std::wstring HostPath(const std::string& native)
{
    if (native.empty()) return std::wstring();
    const bool hasFolder = native.find_first_of("/\\") != std::string::npos;
    return WidePath(hasFolder ? native : "./" + native);
}

bool PathInCodePage932(const std::wstring& path, std::string* narrow)
{
    const std::string bytes = EncodeCodePage(932, path);
    // A character the code page lacks comes out as its default character.
    if (DecodeCodePage(932, bytes) != path) return false;
    if (narrow) *narrow = bytes;
    return true;
}

}  // namespace platform
