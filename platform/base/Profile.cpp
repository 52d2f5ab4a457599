#include "platform/base/Profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <vector>

#include "platform/base/CodePage.h"
#include "platform/base/File.h"
#include "platform/base/Registry.h"
#include "platform/base/StoreLock.h"
#include "platform/base/Temporaries.h"

namespace textfile = platform::textfile;
using textfile::Encoding;

// ---- text files ------------------------------------------------------------------

namespace platform {
namespace textfile {

std::string FolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return std::string();
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

bool IsValidUtf8(const char* bytes, size_t length)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes);
    size_t i = 0;
    while (i < length) {
        unsigned char lead = p[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        size_t extra;
        uint32_t code;
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (length - i <= extra) return false;
        for (size_t k = 1; k <= extra; ++k) {
            if ((p[i + k] & 0xC0) != 0x80) return false;
            code = (code << 6) | (p[i + k] & 0x3F);
        }
        bool overlong = (extra == 2 && code < 0x800) || (extra == 3 && code < 0x10000);
        if (overlong || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

namespace {

std::wstring DecodeUtf16Le(const std::string& bytes, size_t start)
{
    std::wstring out;
    out.reserve((bytes.size() - start) / 2);
    for (size_t i = start; i + 1 < bytes.size(); i += 2) {
        uint32_t unit = static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
        bool high = unit >= 0xD800 && unit <= 0xDBFF;
        if (high && i + 3 < bytes.size()) {
            uint32_t low = static_cast<unsigned char>(bytes[i + 2]) | (static_cast<unsigned char>(bytes[i + 3]) << 8);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                out.push_back(static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00)));
                i += 2;
                continue;
            }
        }
        bool lone = unit >= 0xD800 && unit <= 0xDFFF;
        out.push_back(lone ? L'\xFFFD' : static_cast<wchar_t>(unit));
    }
    return out;
}

void AppendUtf16Le(std::string& out, uint32_t unit)
{
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>((unit >> 8) & 0xFF));
}

std::string EncodeUtf16Le(const std::wstring& text)
{
    std::string out;
    out.reserve(text.size() * 2);
    for (wchar_t ch : text) {
        uint32_t code = static_cast<uint32_t>(ch);
        if (code >= 0x10000 && code <= 0x10FFFF) {
            code -= 0x10000;
            AppendUtf16Le(out, 0xD800 + (code >> 10));
            AppendUtf16Le(out, 0xDC00 + (code & 0x3FF));
        } else {
            AppendUtf16Le(out, code > 0x10FFFF ? 0xFFFD : code);
        }
    }
    return out;
}

}  // namespace

std::wstring Decode(const std::string& bytes, Encoding* found, bool allowCodePage932)
{
    Encoding encoding = Encoding::Utf8;
    std::wstring text;
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        encoding = Encoding::Utf8Bom;
        text = FromUtf8(bytes.substr(3));
    } else if (bytes.size() >= 2 && bytes.compare(0, 2, "\xFF\xFE") == 0) {
        encoding = Encoding::Utf16LeBom;
        text = DecodeUtf16Le(bytes, 2);
    } else if (IsValidUtf8(bytes.data(), bytes.size()) || !allowCodePage932) {
        text = FromUtf8(bytes);
    } else {
        encoding = Encoding::CodePage932;
        text = DecodeCodePage(932, bytes);
    }
    if (found) *found = encoding;
    return text;
}

std::string Encode(const std::wstring& text, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8Bom: return "\xEF\xBB\xBF" + ToUtf8(text);
    case Encoding::Utf16LeBom: return "\xFF\xFE" + EncodeUtf16Le(text);
    case Encoding::CodePage932: return EncodeCodePage(932, text);
    case Encoding::Utf8: break;
    }
    return ToUtf8(text);
}

bool Read(const std::string& path, std::string& bytes)
{
    bytes.clear();
    if (path.empty()) return false;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    char chunk[16384];
    for (;;) {
        ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            ::close(fd);
            bytes.clear();
            return false;
        }
        if (got == 0) break;
        bytes.append(chunk, static_cast<size_t>(got));
    }
    ::close(fd);
    return true;
}

namespace {

bool WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        done += static_cast<size_t>(wrote);
    }
    return true;
}

}  // namespace

bool ReplaceAtomically(const std::string& path, const std::string& bytes)
{
    if (path.empty()) return false;
    // Replace what a symbolic link points at, not the link itself.
    std::string target = path;
    struct stat link;
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        char* resolved = ::realpath(path.c_str(), nullptr);
        if (!resolved) return false;
        target = resolved;
        std::free(resolved);
    }
    // Temporaries that killed writers left here go first.
    RemoveStaleTemporaries(target);
    std::string temp;
    int fd = CreateTemporaryBeside(target, temp, 0600);
    if (fd < 0) return false;
    // Keep the mode of the file we replace.
    struct stat info;
    mode_t mode = ::stat(target.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0644;
    bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok && ::rename(temp.c_str(), target.c_str()) == 0) return true;
    ::unlink(temp.c_str());
    return false;
}

bool MakeFolders(const std::string& folder)
{
    if (folder.empty()) return true;
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) break;
    }
    struct stat info;
    return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace textfile

std::string WinIniPath()
{
    std::string folder = textfile::FolderOf(RegistryPath());
    return folder.empty() ? std::string("win.ini") : folder + "/win.ini";
}

}  // namespace platform

// ---- the INI document --------------------------------------------------------------

namespace {

const wchar_t* const kBlanks = L" \t";

std::wstring Trim(const std::wstring& text)
{
    size_t first = text.find_first_not_of(kBlanks);
    if (first == std::wstring::npos) return std::wstring();
    size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

bool EqualNoCase(const std::wstring& a, LPCWSTR b)
{
    size_t length = std::wcslen(b);
    if (a.size() != length) return false;
    for (size_t i = 0; i < length; ++i) {
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    }
    return true;
}

bool EqualNoCase(const std::wstring& a, const std::wstring& b)
{
    return EqualNoCase(a, b.c_str()) && a.size() == b.size();
}

struct IniDocument {
    std::vector<std::wstring> lines;
    Encoding encoding = Encoding::Utf8;
    std::wstring eol = L"\r\n";   // new files get the line ends the original platform writes
    bool exists = false;
};

struct IniSection {
    std::wstring name;
    size_t header;   // line of "[name]"
    size_t end;      // one past the section's last line
};

void LoadIni(const std::string& path, IniDocument& doc)
{
    std::string bytes;
    doc.exists = textfile::Read(path, bytes);
    if (!doc.exists) return;
    std::wstring text = textfile::Decode(bytes, &doc.encoding);
    if (text.find(L"\r\n") != std::wstring::npos) {
        doc.eol = L"\r\n";
    } else if (text.find(L'\n') != std::wstring::npos) {
        doc.eol = L"\n";
    }
    size_t start = 0;
    while (start < text.size()) {
        size_t newline = text.find(L'\n', start);
        size_t stop = newline == std::wstring::npos ? text.size() : newline;
        std::wstring line = text.substr(start, stop - start);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        doc.lines.push_back(line);
        start = stop + 1;
    }
}

bool SaveIni(const std::string& path, const IniDocument& doc)
{
    std::wstring text;
    for (const std::wstring& line : doc.lines) text += line + doc.eol;
    Encoding encoding = doc.exists ? doc.encoding : Encoding::Utf8;
    if (encoding == Encoding::CodePage932) {
        std::string bytes = textfile::Encode(text, encoding);
        if (platform::DecodeCodePage(932, bytes) != text) encoding = Encoding::Utf8;   // keep every character
    }
    return textfile::ReplaceAtomically(path, textfile::Encode(text, encoding));
}

bool ParseHeader(const std::wstring& line, std::wstring& name)
{
    std::wstring trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] != L'[') return false;
    size_t close = trimmed.find(L']');
    name = Trim(trimmed.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1));
    return true;
}

// A key line: "key = value", or a bare "key" (an entry without a value).
bool ParseEntry(const std::wstring& line, std::wstring& key, std::wstring& value)
{
    std::wstring trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] == L';' || trimmed[0] == L'[') return false;
    size_t equals = trimmed.find(L'=');
    key = Trim(trimmed.substr(0, equals));
    value = equals == std::wstring::npos ? std::wstring() : Trim(trimmed.substr(equals + 1));
    return true;
}

std::vector<IniSection> SectionsOf(const IniDocument& doc)
{
    std::vector<IniSection> sections;
    std::wstring name;
    for (size_t i = 0; i < doc.lines.size(); ++i) {
        if (!ParseHeader(doc.lines[i], name)) continue;
        if (!sections.empty()) sections.back().end = i;
        sections.push_back(IniSection{name, i, doc.lines.size()});
    }
    return sections;
}

const IniSection* FindSection(const std::vector<IniSection>& sections, LPCWSTR name)
{
    std::wstring wanted = Trim(name);
    for (const IniSection& section : sections) {
        if (EqualNoCase(section.name, wanted)) return &section;
    }
    return nullptr;
}

// The line of the section's first entry named key; npos when there is none.
size_t FindEntry(const IniDocument& doc, const IniSection& section, LPCWSTR key, std::wstring* value)
{
    std::wstring wanted = Trim(key);
    std::wstring name;
    std::wstring text;
    for (size_t i = section.header + 1; i < section.end; ++i) {
        if (!ParseEntry(doc.lines[i], name, text) || !EqualNoCase(name, wanted)) continue;
        if (value) *value = text;
        return i;
    }
    return std::wstring::npos;
}

void AddDistinct(std::vector<std::wstring>& names, const std::wstring& name)
{
    for (const std::wstring& known : names) {
        if (EqualNoCase(known, name)) return;
    }
    names.push_back(name);
}

std::vector<std::wstring> SectionNames(const IniDocument& doc)
{
    std::vector<std::wstring> names;
    for (const IniSection& section : SectionsOf(doc)) AddDistinct(names, section.name);
    return names;
}

std::vector<std::wstring> KeyNames(const IniDocument& doc, const IniSection& section)
{
    std::vector<std::wstring> names;
    std::wstring key;
    std::wstring value;
    for (size_t i = section.header + 1; i < section.end; ++i) {
        if (ParseEntry(doc.lines[i], key, value)) AddDistinct(names, key);
    }
    return names;
}

std::wstring Unquote(const std::wstring& value)
{
    if (value.size() < 2) return value;
    wchar_t quote = value.front();
    if ((quote != L'"' && quote != L'\'') || value.back() != quote) return value;
    return value.substr(1, value.size() - 2);
}

// A bare file name lives in the system folder, as on the original platform.
std::string ResolveProfilePath(LPCWSTR fileName)
{
    if (!fileName) return platform::WinIniPath();
    std::string native = platform::NativePath(fileName);
    if (native.empty() || native.find('/') != std::string::npos) return native;
    std::string folder = textfile::FolderOf(platform::RegistryPath());
    return folder.empty() ? native : folder + "/" + native;
}

bool LookupValue(const std::string& path, LPCWSTR section, LPCWSTR key, std::wstring& value)
{
    IniDocument doc;
    LoadIni(path, doc);
    std::vector<IniSection> sections = SectionsOf(doc);
    const IniSection* found = FindSection(sections, section);
    if (!found || FindEntry(doc, *found, key, &value) == std::wstring::npos) return false;
    value = Unquote(value);
    return true;
}

DWORD CopyValue(const std::wstring& value, LPWSTR out, DWORD size)
{
    size_t count = std::min<size_t>(value.size(), size - 1);
    std::wmemcpy(out, value.data(), count);
    out[count] = L'\0';
    return static_cast<DWORD>(count);
}

// NUL after each name and one more at the end; a list that does not fit is
// cut and still ends in two NULs.
DWORD CopyList(const std::vector<std::wstring>& names, LPWSTR out, DWORD size)
{
    std::wstring joined;
    for (const std::wstring& name : names) {
        joined += name;
        joined.push_back(L'\0');
    }
    if (joined.size() + 1 <= size) {
        std::wmemcpy(out, joined.data(), joined.size());
        out[joined.size()] = L'\0';
        if (joined.empty() && size >= 2) out[1] = L'\0';
        return static_cast<DWORD>(joined.size());
    }
    if (size < 2) {
        out[0] = L'\0';
        return 0;
    }
    std::wmemcpy(out, joined.data(), size - 2);
    out[size - 2] = L'\0';
    out[size - 1] = L'\0';
    return size - 2;
}

DWORD GetProfileStringAt(const std::string& path, LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue, LPWSTR out,
                         DWORD size)
{
    if (!out || size == 0) return 0;
    IniDocument doc;
    LoadIni(path, doc);
    if (!section) return CopyList(SectionNames(doc), out, size);
    std::vector<IniSection> sections = SectionsOf(doc);
    const IniSection* found = FindSection(sections, section);
    if (!key) return CopyList(found ? KeyNames(doc, *found) : std::vector<std::wstring>(), out, size);
    std::wstring value;
    if (found && FindEntry(doc, *found, key, &value) != std::wstring::npos) return CopyValue(Unquote(value), out, size);
    std::wstring fallback = defaultValue ? defaultValue : L"";
    size_t kept = fallback.find_last_not_of(L' ');
    fallback.resize(kept == std::wstring::npos ? 0 : kept + 1);   // the kernel drops the default's trailing blanks
    return CopyValue(fallback, out, size);
}

// The integer at the start of text: optional sign, then decimal digits or 0x
// and hexadecimal digits; 0 when there are none. Wraps like the kernel's
// 32-bit conversion.
UINT ParseProfileInt(const std::wstring& text)
{
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
    UINT base = 10;
    if (i + 1 < text.size() && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X')) {
        base = 16;
        i += 2;
    }
    UINT result = 0;
    for (; i < text.size(); ++i) {
        wchar_t c = text[i];
        UINT digit;
        if (c >= L'0' && c <= L'9') {
            digit = c - L'0';
        } else if (base == 16 && std::iswxdigit(c)) {
            digit = std::towlower(c) - L'a' + 10;
        } else {
            break;
        }
        result = result * base + digit;
    }
    return negative ? 0u - result : result;
}

UINT GetProfileIntAt(const std::string& path, LPCWSTR section, LPCWSTR key, INT defaultValue)
{
    std::wstring value;
    if (!section || !key || !LookupValue(path, section, key, value) || value.empty()) {
        return static_cast<UINT>(defaultValue);
    }
    return ParseProfileInt(value);
}

void RemoveSections(IniDocument& doc, LPCWSTR section, bool& changed)
{
    for (;;) {
        std::vector<IniSection> sections = SectionsOf(doc);
        const IniSection* found = FindSection(sections, section);
        if (!found) return;
        doc.lines.erase(doc.lines.begin() + found->header, doc.lines.begin() + found->end);
        changed = true;
    }
}

void RemoveKeys(IniDocument& doc, LPCWSTR section, LPCWSTR key, bool& changed)
{
    for (;;) {
        std::vector<IniSection> sections = SectionsOf(doc);
        const IniSection* found = FindSection(sections, section);
        size_t line = found ? FindEntry(doc, *found, key, nullptr) : std::wstring::npos;
        if (line == std::wstring::npos) return;
        doc.lines.erase(doc.lines.begin() + line);
        changed = true;
    }
}

void SetKey(IniDocument& doc, LPCWSTR section, LPCWSTR key, LPCWSTR value, bool& changed)
{
    std::vector<IniSection> sections = SectionsOf(doc);
    const IniSection* found = FindSection(sections, section);
    std::wstring newLine = Trim(key) + L"=" + value;
    if (!found) {
        if (!doc.lines.empty() && !Trim(doc.lines.back()).empty()) doc.lines.push_back(std::wstring());
        doc.lines.push_back(L"[" + Trim(section) + L"]");
        doc.lines.push_back(newLine);
        changed = true;
        return;
    }
    size_t line = FindEntry(doc, *found, key, nullptr);
    if (line != std::wstring::npos) {
        std::wstring oldKey;
        std::wstring oldValue;
        ParseEntry(doc.lines[line], oldKey, oldValue);
        newLine = oldKey + L"=" + value;   // the key keeps its spelling
        changed = doc.lines[line] != newLine;
        doc.lines[line] = newLine;
        return;
    }
    // After the section's last non-blank line, so the blank line before the next section stays put.
    size_t insertAt = found->end;
    while (insertAt > found->header + 1 && Trim(doc.lines[insertAt - 1]).empty()) --insertAt;
    doc.lines.insert(doc.lines.begin() + insertAt, newLine);
    changed = true;
}

BOOL WriteProfileStringAt(const std::string& path, LPCWSTR section, LPCWSTR key, LPCWSTR value)
{
    if (!section) return (!key && !value) ? TRUE : FALSE;   // all null only flushes the kernel's cache
    if (path.empty()) return FALSE;
    // Read, change and replace under the file's lock: another process's
    // change in between would otherwise be overwritten with the old text.
    platform::StoreLock lock(path);
    IniDocument doc;
    LoadIni(path, doc);
    bool changed = false;
    if (!key) {
        RemoveSections(doc, section, changed);
    } else if (!value) {
        RemoveKeys(doc, section, key, changed);
    } else {
        SetKey(doc, section, key, value, changed);
    }
    if (!changed) return TRUE;
    return SaveIni(path, doc) ? TRUE : FALSE;
}

}  // namespace

DWORD GetPrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue, LPWSTR out, DWORD size,
                               LPCWSTR fileName)
{
    return GetProfileStringAt(ResolveProfilePath(fileName), section, key, defaultValue, out, size);
}

UINT GetPrivateProfileIntW(LPCWSTR section, LPCWSTR key, INT defaultValue, LPCWSTR fileName)
{
    return GetProfileIntAt(ResolveProfilePath(fileName), section, key, defaultValue);
}

DWORD GetPrivateProfileSectionNamesW(LPWSTR out, DWORD size, LPCWSTR fileName)
{
    return GetProfileStringAt(ResolveProfilePath(fileName), nullptr, nullptr, nullptr, out, size);
}

BOOL WritePrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR fileName)
{
    return WriteProfileStringAt(ResolveProfilePath(fileName), section, key, value);
}

namespace {

std::atomic<platform::DefaultDeviceSource> g_defaultDeviceSource{nullptr};

// The [windows] device entry as the print service names it, where win.ini
// itself holds none; empty otherwise.
std::wstring DefaultDeviceFromService(const std::string& path, LPCWSTR section, LPCWSTR key)
{
    const platform::DefaultDeviceSource source = g_defaultDeviceSource.load();
    if (!source || !section || !key || ::wcscasecmp(section, L"windows") != 0 || ::wcscasecmp(key, L"device") != 0)
        return std::wstring();
    IniDocument doc;
    LoadIni(path, doc);
    std::vector<IniSection> sections = SectionsOf(doc);
    const IniSection* found = FindSection(sections, section);
    std::wstring value;
    if (found && FindEntry(doc, *found, key, &value) != std::wstring::npos) return std::wstring();
    return source();
}

}  // namespace

void platform::SetDefaultDeviceSource(DefaultDeviceSource source)
{
    g_defaultDeviceSource.store(source);
}

DWORD GetProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue, LPWSTR out, DWORD size)
{
    const std::string path = platform::WinIniPath();
    if (out && size) {
        const std::wstring device = DefaultDeviceFromService(path, section, key);
        if (!device.empty()) return CopyValue(device, out, size);
    }
    return GetProfileStringAt(path, section, key, defaultValue, out, size);
}

UINT GetProfileIntW(LPCWSTR section, LPCWSTR key, INT defaultValue)
{
    return GetProfileIntAt(platform::WinIniPath(), section, key, defaultValue);
}

BOOL WriteProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR value)
{
    std::string path = platform::WinIniPath();
    platform::textfile::MakeFolders(platform::textfile::FolderOf(path));   // win.ini's folder is ours to create
    return WriteProfileStringAt(path, section, key, value);
}

UINT GetWindowsDirectoryW(LPWSTR lpBuffer, UINT uSize)
{
    const std::string folder = platform::textfile::FolderOf(platform::WinIniPath());
    if (folder.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return 0;
    }
    const std::wstring wide = platform::WidePath(folder);
    if (!lpBuffer || uSize <= wide.size()) return (UINT)wide.size() + 1;
    wide.copy(lpBuffer, wide.size());
    lpBuffer[wide.size()] = 0;
    return (UINT)wide.size();
}
