#include "platform/base/VersionInfo.h"

#include <cstring>
#include <cwchar>
#include <cwctype>
#include <string>
#include <vector>

#include "platform/base/File.h"
#include "platform/base/Profile.h"

namespace textfile = platform::textfile;

namespace {

// The block: a header, the fixed information, the translations (one DWORD
// each), the string entries, then the wide strings they point at. Offsets
// count from the start of the block, so a copied block still works.
const DWORD kBlockMagic = 0x3152564Du;   // "MVR1"

struct BlockHeader {
    DWORD magic;
    DWORD totalSize;          // bytes, the whole block
    DWORD entryCount;
    DWORD translationCount;
};

struct BlockEntry {
    DWORD keyOffset;          // bytes from the block's start
    DWORD keyChars;           // without the NUL
    DWORD valueOffset;
    DWORD valueChars;         // with the NUL
};

const size_t kFixedOffset = sizeof(BlockHeader);
const size_t kTranslationOffset = kFixedOffset + sizeof(VS_FIXEDFILEINFO);
const wchar_t* const kTranslationKey = L"varfileinfo\\translation";

struct SidecarEntry {
    std::wstring key;     // normalised: lower case, no leading, trailing or doubled "\"
    std::wstring value;
};

std::wstring Trim(const std::wstring& text)
{
    size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return std::wstring();
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

std::wstring NormalizeKey(const std::wstring& key)
{
    std::wstring out;
    for (wchar_t c : key) {
        if (c == L'\\') {
            if (!out.empty() && out.back() != L'\\') out.push_back(L'\\');
            continue;
        }
        out.push_back(static_cast<wchar_t>(std::towlower(c)));
    }
    if (!out.empty() && out.back() == L'\\') out.pop_back();
    return out;
}

bool ReadSidecar(LPCWSTR fileName, std::vector<SidecarEntry>& entries)
{
    std::string bytes;
    if (!fileName || !*fileName || !textfile::Read(platform::NativePath(fileName) + ".version", bytes)) return false;
    std::wstring text = textfile::Decode(bytes, nullptr, false);
    size_t start = 0;
    while (start < text.size()) {
        size_t newline = text.find(L'\n', start);
        size_t stop = newline == std::wstring::npos ? text.size() : newline;
        std::wstring line = Trim(text.substr(start, stop - start));
        start = stop + 1;
        if (!line.empty() && line.back() == L'\r') line = Trim(line.substr(0, line.size() - 1));
        size_t equals = line.find(L'=');
        if (line.empty() || line[0] == L'#' || line[0] == L';' || equals == std::wstring::npos) continue;
        std::wstring key = NormalizeKey(Trim(line.substr(0, equals)));
        std::wstring value = Trim(line.substr(equals + 1));
        if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"') value = value.substr(1, value.size() - 2);
        if (key.empty()) continue;
        bool replaced = false;
        for (SidecarEntry& entry : entries) {
            if (entry.key != key) continue;
            entry.value = value;   // a later line overrides an earlier one
            replaced = true;
        }
        if (!replaced) entries.push_back(SidecarEntry{key, value});
    }
    return true;
}

const SidecarEntry* Find(const std::vector<SidecarEntry>& entries, const std::wstring& key)
{
    for (const SidecarEntry& entry : entries) {
        if (entry.key == key) return &entry;
    }
    return nullptr;
}

// "1.2.3.4" or "1, 2, 3, 4"; missing parts are 0, text after a part's digits
// is ignored ("4 (beta)"). False when the first part has no digits.
bool ParseVersion(const std::wstring& text, DWORD& ms, DWORD& ls)
{
    DWORD parts[4] = {0, 0, 0, 0};
    size_t pos = 0;
    int count = 0;
    while (count < 4 && pos <= text.size()) {
        size_t stop = text.find_first_of(L".,", pos);
        std::wstring part = Trim(text.substr(pos, stop == std::wstring::npos ? std::wstring::npos : stop - pos));
        DWORD value = 0;
        size_t digits = 0;
        for (; digits < part.size() && part[digits] >= L'0' && part[digits] <= L'9' && value <= 0xFFFF; ++digits) {
            value = value * 10 + static_cast<DWORD>(part[digits] - L'0');
        }
        if (digits == 0 || value > 0xFFFF) break;
        parts[count++] = value;
        if (stop == std::wstring::npos) break;
        pos = stop + 1;
    }
    if (count == 0) return false;
    ms = (parts[0] << 16) | parts[1];
    ls = (parts[2] << 16) | parts[3];
    return true;
}

// Decimal, or hexadecimal after "0x".
bool ParseNumber(const std::wstring& text, DWORD& value)
{
    bool hex = text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X');
    std::wstring digits = hex ? text.substr(2) : text;
    const wchar_t* allowed = hex ? L"0123456789abcdefABCDEF" : L"0123456789";
    if (digits.empty() || digits.find_first_not_of(allowed) != std::wstring::npos) return false;
    unsigned long long parsed = std::wcstoull(digits.c_str(), nullptr, hex ? 16 : 10);
    if (parsed > 0xFFFFFFFFull) return false;
    value = static_cast<DWORD>(parsed);
    return true;
}

void SetNumber(const std::vector<SidecarEntry>& entries, const wchar_t* key, DWORD& field)
{
    const SidecarEntry* entry = Find(entries, key);
    DWORD value;
    if (entry && ParseNumber(entry->value, value)) field = value;
}

DWORD DefaultFileType(LPCWSTR fileName)
{
    std::wstring name = NormalizeKey(fileName);
    size_t dot = name.rfind(L'.');
    std::wstring extension = dot == std::wstring::npos ? std::wstring() : name.substr(dot);
    if (extension == L".exe") return VFT_APP;
    if (extension == L".dll" || extension == L".ocx" || extension == L".drv") return VFT_DLL;
    return VFT_UNKNOWN;
}

VS_FIXEDFILEINFO FixedInfo(const std::vector<SidecarEntry>& entries, LPCWSTR fileName)
{
    VS_FIXEDFILEINFO info;
    std::memset(&info, 0, sizeof info);
    info.dwSignature = VS_FFI_SIGNATURE;
    info.dwStrucVersion = VS_FFI_STRUCVERSION;
    info.dwFileFlagsMask = VS_FFI_FILEFLAGSMASK;
    info.dwFileOS = VOS_NT_WINDOWS32;
    info.dwFileType = DefaultFileType(fileName);
    const SidecarEntry* fileVersion = Find(entries, L"fileversion");
    const SidecarEntry* productVersion = Find(entries, L"productversion");
    // Without numeric lines, the first string table's texts stand in, as a resource compiler would have them agree.
    for (const SidecarEntry& entry : entries) {
        bool inTable = entry.key.compare(0, 15, L"stringfileinfo\\") == 0;
        size_t nameAt = entry.key.rfind(L'\\');
        if (!inTable || nameAt == std::wstring::npos) continue;
        std::wstring name = entry.key.substr(nameAt + 1);
        if (!fileVersion && name == L"fileversion") fileVersion = &entry;
        if (!productVersion && name == L"productversion") productVersion = &entry;
    }
    if (fileVersion) ParseVersion(fileVersion->value, info.dwFileVersionMS, info.dwFileVersionLS);
    if (productVersion) ParseVersion(productVersion->value, info.dwProductVersionMS, info.dwProductVersionLS);
    SetNumber(entries, L"fileflagsmask", info.dwFileFlagsMask);
    SetNumber(entries, L"fileflags", info.dwFileFlags);
    SetNumber(entries, L"fileos", info.dwFileOS);
    SetNumber(entries, L"filetype", info.dwFileType);
    SetNumber(entries, L"filesubtype", info.dwFileSubtype);
    return info;
}

DWORD Translation(DWORD language, DWORD codePage)
{
    return (language & 0xFFFF) | ((codePage & 0xFFFF) << 16);   // WORD language, then WORD code page
}

// Tokens of "0x0411 0x03a4, 041103a4": eight hex digits are a pair, shorter
// ones pair up in order.
std::vector<DWORD> ParseTranslations(const std::wstring& text)
{
    std::vector<DWORD> pairs;
    bool pending = false;   // a language word waits for its code page
    DWORD language = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t start = text.find_first_not_of(L" \t,", pos);
        if (start == std::wstring::npos) break;
        size_t stop = text.find_first_of(L" \t,", start);
        std::wstring token = text.substr(start, stop == std::wstring::npos ? std::wstring::npos : stop - start);
        pos = stop == std::wstring::npos ? text.size() : stop;
        if (token.size() > 2 && token[0] == L'0' && (token[1] == L'x' || token[1] == L'X')) token = token.substr(2);
        DWORD value;
        if (token.size() > 8 || !ParseNumber(L"0x" + token, value)) break;
        if (token.size() > 4 && !pending) {
            pairs.push_back(Translation(value >> 16, value));
        } else if (pending) {
            pairs.push_back(Translation(language, value));
            pending = false;
        } else {
            language = value;
            pending = true;
        }
    }
    return pairs;
}

std::vector<DWORD> Translations(const std::vector<SidecarEntry>& entries)
{
    if (const SidecarEntry* listed = Find(entries, kTranslationKey)) return ParseTranslations(listed->value);
    std::vector<DWORD> pairs;
    for (const SidecarEntry& entry : entries) {
        if (entry.key.compare(0, 15, L"stringfileinfo\\") != 0) continue;
        std::wstring table = entry.key.substr(15, entry.key.find(L'\\', 15) - 15);
        DWORD value;
        if (table.size() != 8 || !ParseNumber(L"0x" + table, value)) continue;
        DWORD pair = Translation(value >> 16, value);
        bool known = false;
        for (DWORD p : pairs) known = known || p == pair;
        if (!known) pairs.push_back(pair);
    }
    return pairs;
}

class BlockWriter {
public:
    explicit BlockWriter(size_t size) : m_bytes(size, 0) {}
    void Put(size_t offset, const void* data, size_t size)
    {
        if (size) std::memcpy(&m_bytes[offset], data, size);
    }
    // Appends a wide string with its NUL at the string cursor; returns its offset.
    DWORD PutString(size_t& cursor, const std::wstring& text)
    {
        DWORD offset = static_cast<DWORD>(cursor);
        Put(cursor, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        cursor += (text.size() + 1) * sizeof(wchar_t);
        return offset;
    }
    std::vector<BYTE>& Bytes() { return m_bytes; }

private:
    std::vector<BYTE> m_bytes;
};

// Empty when the file has no version resource.
std::vector<BYTE> BuildBlock(LPCWSTR fileName)
{
    std::vector<SidecarEntry> entries;
    if (!ReadSidecar(fileName, entries)) return std::vector<BYTE>();
    std::vector<const SidecarEntry*> strings;
    size_t textBytes = 0;
    for (const SidecarEntry& entry : entries) {
        if (entry.key.find(L'\\') == std::wstring::npos || entry.key == kTranslationKey) continue;
        strings.push_back(&entry);
        textBytes += (entry.key.size() + entry.value.size() + 2) * sizeof(wchar_t);
    }
    std::vector<DWORD> translations = Translations(entries);
    size_t entryOffset = kTranslationOffset + translations.size() * sizeof(DWORD);
    size_t cursor = entryOffset + strings.size() * sizeof(BlockEntry);
    BlockWriter writer(cursor + textBytes);
    BlockHeader header{kBlockMagic, static_cast<DWORD>(cursor + textBytes), static_cast<DWORD>(strings.size()),
                       static_cast<DWORD>(translations.size())};
    writer.Put(0, &header, sizeof header);
    VS_FIXEDFILEINFO fixed = FixedInfo(entries, fileName);
    writer.Put(kFixedOffset, &fixed, sizeof fixed);
    writer.Put(kTranslationOffset, translations.data(), translations.size() * sizeof(DWORD));
    for (size_t i = 0; i < strings.size(); ++i) {
        BlockEntry entry;
        entry.keyChars = static_cast<DWORD>(strings[i]->key.size());
        entry.keyOffset = writer.PutString(cursor, strings[i]->key);
        entry.valueChars = static_cast<DWORD>(strings[i]->value.size() + 1);
        entry.valueOffset = writer.PutString(cursor, strings[i]->value);
        writer.Put(entryOffset + i * sizeof(BlockEntry), &entry, sizeof entry);
    }
    return std::move(writer.Bytes());
}

}  // namespace

DWORD GetFileVersionInfoSizeW(LPCWSTR fileName, LPDWORD handle)
{
    if (handle) *handle = 0;
    return static_cast<DWORD>(BuildBlock(fileName).size());
}

BOOL GetFileVersionInfoW(LPCWSTR fileName, DWORD handle, DWORD len, LPVOID data)
{
    (void)handle;
    if (!data) return FALSE;
    std::vector<BYTE> block = BuildBlock(fileName);
    if (block.empty() || len < block.size()) return FALSE;
    std::memcpy(data, block.data(), block.size());
    return TRUE;
}

BOOL VerQueryValueW(LPCVOID block, LPCWSTR subBlock, LPVOID* buffer, PUINT len)
{
    if (!block || !subBlock || !buffer) return FALSE;
    const BYTE* base = static_cast<const BYTE*>(block);
    BlockHeader header;
    std::memcpy(&header, base, sizeof header);
    if (header.magic != kBlockMagic) return FALSE;
    std::wstring key = NormalizeKey(subBlock);
    UINT found = 0;
    const BYTE* at = nullptr;
    if (key.empty()) {
        at = base + kFixedOffset;
        found = sizeof(VS_FIXEDFILEINFO);
    } else if (key == kTranslationKey) {
        if (header.translationCount == 0) return FALSE;
        at = base + kTranslationOffset;
        found = header.translationCount * sizeof(DWORD);
    } else {
        size_t entryOffset = kTranslationOffset + header.translationCount * sizeof(DWORD);
        for (DWORD i = 0; i < header.entryCount && !at; ++i) {
            BlockEntry entry;
            std::memcpy(&entry, base + entryOffset + i * sizeof(BlockEntry), sizeof entry);
            bool inside = entry.keyOffset + entry.keyChars * sizeof(wchar_t) <= header.totalSize &&
                          entry.valueOffset + entry.valueChars * sizeof(wchar_t) <= header.totalSize;
            if (!inside || entry.keyChars != key.size()) continue;
            if (std::memcmp(base + entry.keyOffset, key.data(), key.size() * sizeof(wchar_t)) != 0) continue;
            at = base + entry.valueOffset;
            found = entry.valueChars;
        }
        if (!at) return FALSE;
    }
    *buffer = const_cast<BYTE*>(at);
    if (len) *len = found;
    return TRUE;
}
