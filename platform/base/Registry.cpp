#include "platform/base/Registry.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/base/CodePage.h"
#include "platform/base/Profile.h"
#include "platform/base/StoreLock.h"

namespace textfile = platform::textfile;

namespace {

// ---- the tree ------------------------------------------------------------------

struct RegValue {
    std::wstring name;   // "" is the key's default value
    DWORD type;
    std::vector<BYTE> data;
};

struct RegKey {
    std::wstring name;               // as first spelled
    std::vector<RegValue> values;    // in creation order
    std::vector<RegKey> subkeys;     // in case-insensitive alphabetical order
};

const int kRootCount = 5;
const wchar_t* const kRootNames[kRootCount] = {L"HKEY_CLASSES_ROOT", L"HKEY_CURRENT_USER", L"HKEY_LOCAL_MACHINE",
                                               L"HKEY_USERS", L"HKEY_CURRENT_CONFIG"};
const wchar_t* const kRootShortNames[kRootCount] = {L"HKCR", L"HKCU", L"HKLM", L"HKU", L"HKCC"};

struct RegTree {
    RegKey roots[kRootCount];
    RegTree()
    {
        for (int i = 0; i < kRootCount; ++i) roots[i].name = kRootNames[i];
    }
};

typedef std::vector<std::wstring> KeyPath;

int CompareNoCase(const std::wstring& a, const std::wstring& b)
{
    size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        wint_t ca = std::towlower(a[i]);
        wint_t cb = std::towlower(b[i]);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool EqualNoCase(const std::wstring& a, const std::wstring& b)
{
    return CompareNoCase(a, b) == 0;
}

KeyPath SplitKeyPath(LPCWSTR text)
{
    KeyPath path;
    if (!text) return path;
    std::wstring part;
    for (const wchar_t* p = text;; ++p) {
        if (*p == L'\\' || *p == L'\0') {
            if (!part.empty()) path.push_back(part);   // "a\\b" and a leading "\" are forgiven
            part.clear();
            if (*p == L'\0') break;
        } else {
            part.push_back(*p);
        }
    }
    return path;
}

KeyPath Join(const KeyPath& base, const KeyPath& tail)
{
    KeyPath path(base);
    path.insert(path.end(), tail.begin(), tail.end());
    return path;
}

RegKey* FindChild(RegKey& key, const std::wstring& name)
{
    for (RegKey& child : key.subkeys) {
        if (EqualNoCase(child.name, name)) return &child;
    }
    return nullptr;
}

RegKey* Resolve(RegTree& tree, int root, const KeyPath& path)
{
    RegKey* key = &tree.roots[root];
    for (const std::wstring& part : path) {
        key = FindChild(*key, part);
        if (!key) return nullptr;
    }
    return key;
}

// Opens the key, creating what is missing. Pointers into the tree are
// invalid afterwards (the subkey vectors may have grown).
RegKey& Ensure(RegTree& tree, int root, const KeyPath& path, bool* created)
{
    RegKey* key = &tree.roots[root];
    for (const std::wstring& part : path) {
        RegKey* child = FindChild(*key, part);
        if (!child) {
            auto at = std::find_if(key->subkeys.begin(), key->subkeys.end(),
                                   [&](const RegKey& k) { return CompareNoCase(k.name, part) > 0; });
            child = &*key->subkeys.insert(at, RegKey{part, {}, {}});
            if (created) *created = true;
        }
        key = child;
    }
    return *key;
}

RegValue* FindValue(RegKey& key, const std::wstring& name)
{
    for (RegValue& value : key.values) {
        if (EqualNoCase(value.name, name)) return &value;
    }
    return nullptr;
}

void SetValue(RegKey& key, const std::wstring& name, DWORD type, std::vector<BYTE> data)
{
    if (RegValue* value = FindValue(key, name)) {
        value->type = type;
        value->data = std::move(data);
        return;
    }
    key.values.push_back(RegValue{name, type, std::move(data)});
}

bool RemoveValue(RegKey& key, const std::wstring& name)
{
    auto it = std::find_if(key.values.begin(), key.values.end(),
                           [&](const RegValue& v) { return EqualNoCase(v.name, name); });
    if (it == key.values.end()) return false;
    key.values.erase(it);
    return true;
}

bool RemoveKey(RegTree& tree, int root, const KeyPath& path)
{
    if (path.empty()) return false;
    RegKey* parent = Resolve(tree, root, KeyPath(path.begin(), path.end() - 1));
    if (!parent) return false;
    auto it = std::find_if(parent->subkeys.begin(), parent->subkeys.end(),
                           [&](const RegKey& k) { return EqualNoCase(k.name, path.back()); });
    if (it == parent->subkeys.end()) return false;
    parent->subkeys.erase(it);
    return true;
}

// ---- value data --------------------------------------------------------------------

bool IsStringType(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

std::vector<BYTE> WideBytes(const std::wstring& text)
{
    std::vector<BYTE> bytes((text.size() + 1) * sizeof(wchar_t), 0);
    std::memcpy(bytes.data(), text.data(), text.size() * sizeof(wchar_t));
    return bytes;
}

std::wstring WideUnits(const std::vector<BYTE>& data)
{
    std::wstring units(data.size() / sizeof(wchar_t), L'\0');
    if (!units.empty()) std::memcpy(&units[0], data.data(), units.size() * sizeof(wchar_t));
    return units;
}

// Strings are kept as their text and one NUL, whatever length the caller
// counted, so the size a reader gets back is always the text's plus the NUL.
std::vector<BYTE> StoredData(DWORD type, const BYTE* data, DWORD cbData)
{
    std::vector<BYTE> bytes(data, data + cbData);
    if (type == REG_MULTI_SZ) bytes.resize(bytes.size() / sizeof(wchar_t) * sizeof(wchar_t));
    if (!IsStringType(type)) return bytes;
    std::wstring units = WideUnits(bytes);
    return WideBytes(units.substr(0, units.find(L'\0')));
}

// ---- the .reg text ----------------------------------------------------------------

const wchar_t* const kHeader5 = L"Windows Registry Editor Version 5.00";
const wchar_t* const kHeader4 = L"REGEDIT4";

std::wstring TrimBlanks(const std::wstring& text)
{
    size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return std::wstring();
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

bool StartsWithNoCase(const std::wstring& text, const wchar_t* prefix)
{
    size_t length = std::wcslen(prefix);
    return text.size() >= length && EqualNoCase(text.substr(0, length), prefix);
}

int RootIndex(const std::wstring& name)
{
    for (int i = 0; i < kRootCount; ++i) {
        if (EqualNoCase(name, kRootNames[i]) || EqualNoCase(name, kRootShortNames[i])) return i;
    }
    return -1;
}

// A quoted string from text[pos] (the opening quote); only \\ and \" are
// escapes, as the registry editor writes them. pos ends after the closing quote.
bool ParseQuoted(const std::wstring& text, size_t& pos, std::wstring& out)
{
    out.clear();
    for (size_t i = pos + 1; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == L'"') {
            pos = i + 1;
            return true;
        }
        if (c == L'\\' && i + 1 < text.size() && (text[i + 1] == L'\\' || text[i + 1] == L'"')) c = text[++i];
        out.push_back(c);
    }
    return false;
}

int HexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

bool ParseHexNumber(const std::wstring& text, size_t maxDigits, DWORD& value)
{
    if (text.empty() || text.size() > maxDigits) return false;
    value = 0;
    for (wchar_t c : text) {
        int digit = HexDigit(c);
        if (digit < 0) return false;
        value = (value << 4) | static_cast<DWORD>(digit);
    }
    return true;
}

bool ParseHexBytes(const std::wstring& text, std::vector<BYTE>& bytes)
{
    bytes.clear();
    std::wstring list = TrimBlanks(text);
    if (list.empty()) return true;
    size_t start = 0;
    for (;;) {
        size_t comma = list.find(L',', start);
        DWORD value;
        if (!ParseHexNumber(TrimBlanks(list.substr(start, comma - start)), 2, value)) return false;
        bytes.push_back(static_cast<BYTE>(value));
        if (comma == std::wstring::npos) return true;
        start = comma + 1;
    }
}

// String types stored as hex carry UTF-16LE in the file (ANSI bytes in the
// older REGEDIT4 format) and wchar_t here.
std::vector<BYTE> HexTextToWide(const std::vector<BYTE>& bytes, bool ansi)
{
    std::string raw(ansi ? "" : "\xFF\xFE");
    raw.append(bytes.begin(), bytes.end());
    std::wstring units = ansi ? platform::DecodeCodePage(932, raw) : textfile::Decode(raw, nullptr);
    std::vector<BYTE> out(units.size() * sizeof(wchar_t));
    if (!out.empty()) std::memcpy(out.data(), units.data(), out.size());
    return out;
}

std::vector<BYTE> WideToUtf16(const std::vector<BYTE>& data)
{
    std::string raw = textfile::Encode(WideUnits(data), textfile::Encoding::Utf16LeBom);
    return std::vector<BYTE>(raw.begin() + 2, raw.end());
}

enum class DataKind { Value, Delete, Bad };

DataKind ParseData(const std::wstring& text, bool ansi, DWORD& type, std::vector<BYTE>& data)
{
    std::wstring rest = TrimBlanks(text);
    if (rest == L"-") return DataKind::Delete;
    if (!rest.empty() && rest[0] == L'"') {
        size_t pos = 0;
        std::wstring value;
        if (!ParseQuoted(rest, pos, value) || !TrimBlanks(rest.substr(pos)).empty()) return DataKind::Bad;
        type = REG_SZ;
        data = WideBytes(value);
        return DataKind::Value;
    }
    if (StartsWithNoCase(rest, L"dword:")) {
        DWORD value;
        if (!ParseHexNumber(TrimBlanks(rest.substr(6)), 8, value)) return DataKind::Bad;
        type = REG_DWORD;
        data.assign(reinterpret_cast<BYTE*>(&value), reinterpret_cast<BYTE*>(&value) + sizeof value);
        return DataKind::Value;
    }
    if (!StartsWithNoCase(rest, L"hex")) return DataKind::Bad;
    size_t colon = rest.find(L':');
    if (colon == std::wstring::npos) return DataKind::Bad;
    std::wstring kind = rest.substr(3, colon - 3);
    type = REG_BINARY;
    if (!kind.empty()) {
        if (kind.size() < 3 || kind.front() != L'(' || kind.back() != L')') return DataKind::Bad;
        if (!ParseHexNumber(kind.substr(1, kind.size() - 2), 8, type)) return DataKind::Bad;
    }
    if (!ParseHexBytes(rest.substr(colon + 1), data)) return DataKind::Bad;
    if (IsStringType(type) || type == REG_MULTI_SZ) {
        std::vector<BYTE> wide = HexTextToWide(data, ansi);
        data = StoredData(type, wide.data(), static_cast<DWORD>(wide.size()));
    }
    return DataKind::Value;
}

class RegParser {
public:
    RegParser(const std::wstring& text, RegTree& tree) : m_tree(tree) { SplitLines(text); }

    // Returns the first line skipped, 0 when none.
    int Run()
    {
        bool headerSeen = false;
        for (size_t i = 0; i < m_lines.size(); ++i) {
            std::wstring line = TrimBlanks(m_lines[i]);
            if (line.empty() || line[0] == L';') continue;
            if (!headerSeen) {
                headerSeen = true;
                m_ansi = line == kHeader4;
                if (line == kHeader5 || line == kHeader4) continue;
                Fail(i);
            }
            if (line[0] == L'[') {
                Section(line, i);
            } else if (line[0] == L'@' || line[0] == L'"') {
                Value(line, i);
            } else {
                Fail(i);
            }
        }
        return m_errorLine;
    }

private:
    void SplitLines(const std::wstring& text)
    {
        size_t start = 0;
        while (start <= text.size()) {
            size_t newline = text.find(L'\n', start);
            size_t stop = newline == std::wstring::npos ? text.size() : newline;
            std::wstring line = text.substr(start, stop - start);
            if (!line.empty() && line.back() == L'\r') line.pop_back();
            m_lines.push_back(line);
            if (newline == std::wstring::npos) break;
            start = newline + 1;
        }
    }

    void Fail(size_t index)
    {
        if (m_errorLine == 0) m_errorLine = static_cast<int>(index) + 1;
    }

    void Section(const std::wstring& line, size_t index)
    {
        m_key = nullptr;
        size_t close = line.rfind(L']');
        if (close == std::wstring::npos || close < 1) return Fail(index);
        std::wstring inner = line.substr(1, close - 1);
        bool remove = !inner.empty() && inner[0] == L'-';
        KeyPath path = SplitKeyPath(inner.c_str() + (remove ? 1 : 0));
        int root = path.empty() ? -1 : RootIndex(path[0]);
        if (root < 0) return Fail(index);
        path.erase(path.begin());
        if (remove) {
            RemoveKey(m_tree, root, path);
            return;
        }
        m_key = &Ensure(m_tree, root, path, nullptr);
    }

    void Value(const std::wstring& first, size_t& index)
    {
        const std::wstring& line = first;
        std::wstring name;   // "@" is the default value, named ""
        size_t pos = 0;
        if (line[0] == L'@') {
            pos = 1;
        } else if (!ParseQuoted(line, pos, name)) {
            return Fail(index);
        }
        size_t equals = line.find_first_not_of(L" \t", pos);
        if (equals == std::wstring::npos || line[equals] != L'=') return Fail(index);
        std::wstring data = TrimBlanks(line.substr(equals + 1));
        size_t startLine = index;
        // Long hex data continues on the next lines after a trailing backslash.
        while (StartsWithNoCase(data, L"hex") && !data.empty() && data.back() == L'\\' && index + 1 < m_lines.size()) {
            data.pop_back();
            data += TrimBlanks(m_lines[++index]);
        }
        if (!m_key) return Fail(startLine);
        DWORD type = REG_NONE;
        std::vector<BYTE> bytes;
        switch (ParseData(data, m_ansi, type, bytes)) {
        case DataKind::Value: SetValue(*m_key, name, type, std::move(bytes)); break;
        case DataKind::Delete: RemoveValue(*m_key, name); break;
        case DataKind::Bad: Fail(startLine); break;
        }
    }

    RegTree& m_tree;
    std::vector<std::wstring> m_lines;
    RegKey* m_key = nullptr;   // the current section's key; null after a bad or deleting section
    bool m_ansi = false;       // a REGEDIT4 file: hex strings are code page 932 bytes
    int m_errorLine = 0;       // 1-based; 0 while every line was understood
};

std::wstring Escaped(const std::wstring& text)
{
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'\\' || c == L'"') out.push_back(L'\\');
        out.push_back(c);
    }
    return out;
}

// Hex data wrapped as the registry editor wraps it, before column 80.
void WriteHex(std::wstring& out, const std::wstring& prefix, const std::vector<BYTE>& bytes)
{
    out += prefix;
    size_t column = prefix.size();
    static const wchar_t kDigits[] = L"0123456789abcdef";
    for (size_t i = 0; i < bytes.size(); ++i) {
        bool last = i + 1 == bytes.size();
        if (column + 3 > 78 && column > 2) {
            out += L"\\\n  ";
            column = 2;
        }
        out.push_back(kDigits[bytes[i] >> 4]);
        out.push_back(kDigits[bytes[i] & 15]);
        if (!last) out.push_back(L',');
        column += last ? 2 : 3;
    }
    out += L"\n";
}

bool HasControlCharacters(const std::wstring& text)
{
    return std::any_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x20; });
}

void WriteValue(std::wstring& out, const RegValue& value)
{
    std::wstring name = value.name.empty() ? L"@" : L"\"" + Escaped(value.name) + L"\"";
    if (value.type == REG_SZ) {
        std::wstring units = WideUnits(value.data);
        std::wstring text = units.substr(0, units.find(L'\0'));
        if (!HasControlCharacters(text) && WideBytes(text) == value.data) {
            out += name + L"=\"" + Escaped(text) + L"\"\n";
            return;
        }
    }
    if (value.type == REG_DWORD && value.data.size() == sizeof(DWORD)) {
        DWORD number;
        std::memcpy(&number, value.data.data(), sizeof number);
        wchar_t digits[16];
        std::swprintf(digits, 16, L"%08x", number);
        out += name + L"=dword:" + digits + L"\n";
        return;
    }
    if (value.type == REG_BINARY) return WriteHex(out, name + L"=hex:", value.data);
    wchar_t kind[24];
    std::swprintf(kind, 24, L"=hex(%x):", static_cast<unsigned>(value.type));
    bool text = IsStringType(value.type) || value.type == REG_MULTI_SZ;
    WriteHex(out, name + kind, text ? WideToUtf16(value.data) : value.data);
}

void WriteKey(std::wstring& out, const std::wstring& path, const RegKey& key, bool isRoot)
{
    if (!isRoot || !key.values.empty()) {
        out += L"[" + path + L"]\n";
        for (const RegValue& value : key.values) WriteValue(out, value);
        out += L"\n";
    }
    for (const RegKey& child : key.subkeys) WriteKey(out, path + L"\\" + child.name, child, false);
}

std::string Serialize(const RegTree& tree)
{
    std::wstring out = std::wstring(kHeader5) + L"\n\n";
    for (const RegKey& root : tree.roots) WriteKey(out, root.name, root, true);
    return platform::ToUtf8(out);
}

// ---- the store --------------------------------------------------------------------

struct FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    time_t modifiedSeconds = 0;
    long modifiedNanoseconds = 0;
    bool operator==(const FileStamp& o) const
    {
        return exists == o.exists && device == o.device && inode == o.inode && size == o.size &&
               modifiedSeconds == o.modifiedSeconds && modifiedNanoseconds == o.modifiedNanoseconds;
    }
};

FileStamp StampOf(const std::string& path)
{
    FileStamp stamp;
    struct stat info;
    if (path.empty() || ::stat(path.c_str(), &info) != 0) return stamp;
    stamp.exists = true;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.modifiedSeconds = info.st_mtim.tv_sec;
    stamp.modifiedNanoseconds = info.st_mtim.tv_nsec;
    return stamp;
}

struct HandleSlot {
    UINT generation = 1;   // 1..0x7FFF; bumped when the slot is freed
    bool used = false;
    int root = 0;
    KeyPath path;
    REGSAM access = 0;
};

// What a handle names.
struct KeyRef {
    int root;
    KeyPath path;
    REGSAM access;
};

const UINT kMaxHandles = 0xFFFF;
const UINT kMaxGeneration = 0x7FFF;

class RegistryStore {
public:
    std::mutex& Lock() { return m_lock; }

    // Reads the file again when the environment names another one or it
    // changed on disk since we read or wrote it. A deferred registry is this
    // process's alone: what is in memory is newer than its file, which no
    // one else changes.
    void Refresh()
    {
        std::string path = platform::RegistryPath();
        if (m_loaded && path == m_path && Deferred()) return;
        FileStamp stamp = StampOf(path);
        if (m_loaded && path == m_path && stamp == m_stamp) return;
        Flush();
        Load(path, stamp);
    }

    void Forget()
    {
        Flush();
        m_loaded = false;
    }

    // Changes to the file at `path` are kept in memory from now on and written
    // once by Flush; "" writes every change again as it is made.
    void DeferWritesTo(const std::string& path)
    {
        Flush();
        m_deferredPath = path;
    }
    bool Deferred() const { return !m_deferredPath.empty() && m_path == m_deferredPath; }
    bool DefersWritesTo(const std::string& path) const { return !m_deferredPath.empty() && path == m_deferredPath; }

    // Writes the changes a deferred registry holds; false when they are
    // still unwritten.
    bool Flush()
    {
        if (!m_unwritten) return true;
        textfile::MakeFolders(textfile::FolderOf(m_path));
        if (!textfile::ReplaceAtomically(m_path, Serialize(m_tree))) return false;
        m_stamp = StampOf(m_path);
        m_unwritten = false;
        return true;
    }
    int ErrorLine() const { return m_errorLine; }
    RegTree& Tree() { return m_tree; }
    const FileStamp& Stamp() const { return m_stamp; }

    // Saves a changed copy of the tree and makes it current; false leaves
    // both the file and the tree as they were.
    bool Commit(RegTree&& changed)
    {
        if (m_path.empty()) return false;
        if (Deferred()) {
            m_tree = std::move(changed);
            m_unwritten = true;
            return true;
        }
        textfile::MakeFolders(textfile::FolderOf(m_path));
        if (!textfile::ReplaceAtomically(m_path, Serialize(changed))) return false;
        m_tree = std::move(changed);
        m_stamp = StampOf(m_path);
        return true;
    }

    bool Lookup(HKEY key, KeyRef& ref) const
    {
        for (int i = 0; i < kRootCount; ++i) {
            if (key != Predefined(i)) continue;
            ref = KeyRef{i, KeyPath(), KEY_ALL_ACCESS};
            return true;
        }
        UINT_PTR bits = reinterpret_cast<UINT_PTR>(key);
        if (bits == 0 || bits > 0x7FFFFFFFu || (bits & 0xFFFF) == 0) return false;
        size_t index = (bits & 0xFFFF) - 1;
        UINT generation = static_cast<UINT>(bits >> 16);
        if (index >= m_handles.size()) return false;
        const HandleSlot& slot = m_handles[index];
        if (!slot.used || slot.generation != generation) return false;
        ref = KeyRef{slot.root, slot.path, slot.access};
        return true;
    }

    LONG Open(int root, const KeyPath& path, REGSAM access, PHKEY result)
    {
        size_t index;
        if (!m_free.empty()) {
            index = m_free.back();
            m_free.pop_back();
        } else if (m_handles.size() < kMaxHandles) {
            index = m_handles.size();
            m_handles.emplace_back();
        } else {
            return ERROR_OUTOFMEMORY;
        }
        HandleSlot& slot = m_handles[index];
        slot.used = true;
        slot.root = root;
        slot.path = path;
        slot.access = access & ~(KEY_WOW64_64KEY | KEY_WOW64_32KEY);
        *result = reinterpret_cast<HKEY>(static_cast<UINT_PTR>((slot.generation << 16) | (index + 1)));
        return ERROR_SUCCESS;
    }

    LONG Close(HKEY key)
    {
        KeyRef ref;
        if (!Lookup(key, ref)) return ERROR_INVALID_HANDLE;
        UINT_PTR bits = reinterpret_cast<UINT_PTR>(key);
        if (bits > 0x7FFFFFFFu) return ERROR_SUCCESS;   // closing a predefined key does nothing
        size_t index = (bits & 0xFFFF) - 1;
        HandleSlot& slot = m_handles[index];
        slot.used = false;
        slot.path.clear();
        slot.generation = slot.generation >= kMaxGeneration ? 1 : slot.generation + 1;
        m_free.push_back(index);
        return ERROR_SUCCESS;
    }

    static HKEY Predefined(int root)
    {
        static const HKEY handles[kRootCount] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS,
                                                 HKEY_CURRENT_CONFIG};
        return handles[root];
    }

private:
    void Load(const std::string& path, const FileStamp& stamp)
    {
        m_tree = RegTree();
        m_path = path;
        m_stamp = stamp;
        m_loaded = true;
        m_errorLine = 0;
        std::string bytes;
        if (!stamp.exists || !textfile::Read(path, bytes)) return;
        std::wstring text = textfile::Decode(bytes, nullptr);
        m_errorLine = RegParser(text, m_tree).Run();
    }

    std::mutex m_lock;
    RegTree m_tree;
    std::string m_path;   // the file m_tree was read from
    FileStamp m_stamp;    // that file as we last read or wrote it
    bool m_loaded = false;
    int m_errorLine = 0;  // 1-based line of the first line skipped; 0 when none
    std::string m_deferredPath;   // the registry whose writes wait for Flush; "" when none
    bool m_unwritten = false;     // m_tree holds changes its file does not
    std::vector<HandleSlot> m_handles;
    std::vector<size_t> m_free;   // indexes of unused slots
};

// Never destroyed: handles may be closed from other static destructors.
RegistryStore& Store()
{
    static RegistryStore* store = new RegistryStore;
    return *store;
}

// Locks the store, re-reads it when needed and looks a handle up. An access
// for a change also holds the registry file's lock across processes, from
// before the re-read until the replaced file is in place: another process's
// commit in between would otherwise be overwritten with the tree read before
// it, its keys and values lost.
class StoreAccess {
public:
    enum Purpose { Read, Change };
    explicit StoreAccess(Purpose purpose = Read) : m_guard(Store().Lock())
    {
        if (purpose == Change) {
            // A deferred registry has no other writer to keep out.
            const std::string path = platform::RegistryPath();
            if (!path.empty() && !Store().DefersWritesTo(path)) {
                textfile::MakeFolders(textfile::FolderOf(path));
                m_fileLock.emplace(path);
            }
        }
        Store().Refresh();
    }
    RegistryStore* operator->() { return &Store(); }

private:
    std::lock_guard<std::mutex> m_guard;
    std::optional<platform::StoreLock> m_fileLock;
};

// The registry hands data out the same way in RegQueryValueEx and RegEnumValue.
LONG CopyData(const RegValue& value, LPDWORD type, LPBYTE data, LPDWORD cbData)
{
    if (data && !cbData) return ERROR_INVALID_PARAMETER;
    if (type) *type = value.type;
    DWORD needed = static_cast<DWORD>(value.data.size());
    if (!cbData) return ERROR_SUCCESS;
    if (data && *cbData < needed) {
        *cbData = needed;
        return ERROR_MORE_DATA;
    }
    if (data && needed) std::memcpy(data, value.data.data(), needed);
    *cbData = needed;
    return ERROR_SUCCESS;
}

// Copies a name into a caller's buffer counted in characters.
LONG CopyName(const std::wstring& name, LPWSTR out, LPDWORD cchOut)
{
    if (*cchOut <= name.size()) return ERROR_MORE_DATA;
    std::wmemcpy(out, name.data(), name.size());
    out[name.size()] = L'\0';
    *cchOut = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
}

std::wstring ValueName(LPCWSTR name)
{
    return name ? std::wstring(name) : std::wstring();
}

}  // namespace

// ---- the API --------------------------------------------------------------------------

LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM samDesired, PHKEY result)
{
    (void)options;
    if (!result) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    StoreAccess store;
    KeyRef ref;
    if (!store->Lookup(key, ref)) return ERROR_INVALID_HANDLE;
    KeyPath path = Join(ref.path, SplitKeyPath(subKey));
    if (!Resolve(store->Tree(), ref.root, path)) return ERROR_FILE_NOT_FOUND;
    return store->Open(ref.root, path, samDesired, result);
}

LONG RegOpenKeyW(HKEY key, LPCWSTR subKey, PHKEY result)
{
    return RegOpenKeyExW(key, subKey, 0, KEY_ALL_ACCESS, result);
}

LONG RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR className, DWORD options, REGSAM samDesired,
                     const _SECURITY_ATTRIBUTES* security, PHKEY result, LPDWORD disposition)
{
    (void)reserved;
    (void)className;
    (void)options;
    (void)security;
    if (!result) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    StoreAccess store(StoreAccess::Change);
    KeyRef ref;
    if (!store->Lookup(key, ref)) return ERROR_INVALID_HANDLE;
    if (!Resolve(store->Tree(), ref.root, ref.path)) return ERROR_KEY_DELETED;
    KeyPath path = Join(ref.path, SplitKeyPath(subKey));
    bool exists = Resolve(store->Tree(), ref.root, path) != nullptr;
    if (!exists) {
        if (!(ref.access & KEY_CREATE_SUB_KEY)) return ERROR_ACCESS_DENIED;
        RegTree changed = store->Tree();
        Ensure(changed, ref.root, path, nullptr);
        if (!store->Commit(std::move(changed))) return ERROR_REGISTRY_IO_FAILED;
    }
    if (disposition) *disposition = exists ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
    return store->Open(ref.root, path, samDesired, result);
}

LONG RegCreateKeyW(HKEY key, LPCWSTR subKey, PHKEY result)
{
    return RegCreateKeyExW(key, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, result, nullptr);
}

LONG RegCloseKey(HKEY key)
{
    std::lock_guard<std::mutex> guard(Store().Lock());
    return Store().Close(key);
}

LONG RegFlushKey(HKEY key)
{
    StoreAccess store;
    KeyRef ref;
    if (!store->Lookup(key, ref)) return ERROR_INVALID_HANDLE;
    // Every change is on disk already, but for a deferred registry's.
    return store->Flush() ? ERROR_SUCCESS : ERROR_REGISTRY_IO_FAILED;
}

LONG RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD cbData)
{
    (void)reserved;
    StoreAccess store;
    KeyRef ref;
    if (!store->Lookup(key, ref)) return ERROR_INVALID_HANDLE;
    if (!(ref.access & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
    RegKey* found = Resolve(store->Tree(), ref.root, ref.path);
    if (!found) return ERROR_KEY_DELETED;
    RegValue* value = FindValue(*found, ValueName(valueName));
    if (!value) return ERROR_FILE_NOT_FOUND;
    return CopyData(*value, type, data, cbData);
}

LONG RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type, const BYTE* data, DWORD cbData)
{
    (void)reserved;
    if (!data && cbData != 0) return ERROR_INVALID_PARAMETER;
    StoreAccess store(StoreAccess::Change);
    KeyRef ref;
    if (!store->Lookup(key, ref)) return ERROR_INVALID_HANDLE;
    if (!(ref.access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
    if (!Resolve(store->Tree(), ref.root, ref.path)) return ERROR_KEY_DELETED;
    RegTree changed = store->Tree();
    SetValue(*Resolve(changed, ref.root, ref.path), ValueName(valueName), type, StoredData(type, data, cbData));
    return store->Commit(std::move(changed)) ? ERROR_SUCCESS : ERROR_REGISTRY_IO_FAILED;
}

LONG RegDeleteValueW(HKEY key, LPCWSTR valueName)
{
    StoreAccess store(StoreAccess::Change);
    KeyRef ref;
    if (!store->Lookup(key, ref)) return ERROR_INVALID_HANDLE;
    if (!(ref.access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
    if (!Resolve(store->Tree(), ref.root, ref.path)) return ERROR_KEY_DELETED;
    RegTree changed = store->Tree();
    if (!RemoveValue(*Resolve(changed, ref.root, ref.path), ValueName(valueName))) return ERROR_FILE_NOT_FOUND;
    return store->Commit(std::move(changed)) ? ERROR_SUCCESS : ERROR_REGISTRY_IO_FAILED;
}

LONG RegDeleteKeyW(HKEY key, LPCWSTR subKey)
{
    if (!subKey) return ERROR_INVALID_PARAMETER;
    StoreAccess store(StoreAccess::Change);
    KeyRef ref;
    if (!store->Lookup(key, ref)) return ERROR_INVALID_HANDLE;
    KeyPath path = Join(ref.path, SplitKeyPath(subKey));
    if (path.empty()) return ERROR_ACCESS_DENIED;   // the predefined keys cannot go
    RegKey* victim = Resolve(store->Tree(), ref.root, path);
    if (!victim) return ERROR_FILE_NOT_FOUND;
    if (!victim->subkeys.empty()) return ERROR_ACCESS_DENIED;
    RegTree changed = store->Tree();
    RemoveKey(changed, ref.root, path);
    return store->Commit(std::move(changed)) ? ERROR_SUCCESS : ERROR_REGISTRY_IO_FAILED;
}

LONG RegDeleteTreeW(HKEY key, LPCWSTR subKey)
{
    StoreAccess store(StoreAccess::Change);
    KeyRef ref;
    if (!store->Lookup(key, ref)) return ERROR_INVALID_HANDLE;
    KeyPath path = Join(ref.path, SplitKeyPath(subKey));
    if (!Resolve(store->Tree(), ref.root, path)) return subKey ? ERROR_FILE_NOT_FOUND : ERROR_KEY_DELETED;
    RegTree changed = store->Tree();
    if (!subKey || path.empty()) {
        RegKey* emptied = Resolve(changed, ref.root, path);
        emptied->values.clear();
        emptied->subkeys.clear();
    } else {
        RemoveKey(changed, ref.root, path);
    }
    return store->Commit(std::move(changed)) ? ERROR_SUCCESS : ERROR_REGISTRY_IO_FAILED;
}

LONG RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD cchName, LPDWORD reserved, LPWSTR className,
                   LPDWORD cchClass, FILETIME* lastWriteTime)
{
    (void)reserved;
    if (!name || !cchName) return ERROR_INVALID_PARAMETER;
    StoreAccess store;
    KeyRef ref;
    if (!store->Lookup(key, ref)) return ERROR_INVALID_HANDLE;
    if (!(ref.access & KEY_ENUMERATE_SUB_KEYS)) return ERROR_ACCESS_DENIED;
    RegKey* found = Resolve(store->Tree(), ref.root, ref.path);
    if (!found) return ERROR_KEY_DELETED;
    if (index >= found->subkeys.size()) return ERROR_NO_MORE_ITEMS;
    LONG status = CopyName(found->subkeys[index].name, name, cchName);
    if (status != ERROR_SUCCESS) return status;
    if (className && cchClass && *cchClass > 0) className[0] = L'\0';   // keys have no class names here
    if (cchClass) *cchClass = 0;
    if (lastWriteTime) {
        const FileStamp& stamp = store->Stamp();
        ULONGLONG ticks = (static_cast<ULONGLONG>(stamp.modifiedSeconds) + 11644473600ull) * 10000000ull +
                          static_cast<ULONGLONG>(stamp.modifiedNanoseconds) / 100;
        lastWriteTime->dwLowDateTime = static_cast<DWORD>(ticks);
        lastWriteTime->dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    }
    return ERROR_SUCCESS;
}

LONG RegEnumValueW(HKEY key, DWORD index, LPWSTR valueName, LPDWORD cchValueName, LPDWORD reserved, LPDWORD type,
                   LPBYTE data, LPDWORD cbData)
{
    (void)reserved;
    if (!valueName || !cchValueName) return ERROR_INVALID_PARAMETER;
    StoreAccess store;
    KeyRef ref;
    if (!store->Lookup(key, ref)) return ERROR_INVALID_HANDLE;
    if (!(ref.access & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
    RegKey* found = Resolve(store->Tree(), ref.root, ref.path);
    if (!found) return ERROR_KEY_DELETED;
    if (index >= found->values.size()) return ERROR_NO_MORE_ITEMS;
    const RegValue& value = found->values[index];
    LONG status = CopyName(value.name, valueName, cchValueName);
    if (status != ERROR_SUCCESS) return status;
    return CopyData(value, type, data, cbData);
}

namespace platform {

std::string RegistryPath()
{
    const char* explicitPath = std::getenv("MORVELANCE_REGISTRY");
    if (explicitPath && *explicitPath) return explicitPath;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') return std::string(config) + "/morvelance/registry.reg";   // a relative one is to be ignored
    const char* home = std::getenv("HOME");
    std::string folder = home && *home ? home : "";
    if (folder.empty()) {
        struct passwd entry;
        struct passwd* found = nullptr;
        char buffer[4096];
        if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found && found->pw_dir) {
            folder = found->pw_dir;
        }
    }
    if (folder.empty()) return std::string();
    return folder + "/.config/morvelance/registry.reg";
}

void ReloadRegistry()
{
    std::lock_guard<std::mutex> guard(Store().Lock());
    Store().Forget();
    Store().Refresh();
}

void DeferRegistryWritesTo(const std::string& path)
{
    std::lock_guard<std::mutex> guard(Store().Lock());
    Store().DeferWritesTo(path);
}

bool FlushRegistry()
{
    std::lock_guard<std::mutex> guard(Store().Lock());
    return Store().Flush();
}

int RegistryParseErrorLine()
{
    StoreAccess store;
    return store->ErrorLine();
}

}  // namespace platform
