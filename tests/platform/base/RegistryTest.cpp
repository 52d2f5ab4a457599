#include "platform/base/Registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/base/CodePage.h"

namespace {

const wchar_t* const kServerKey = L"CLSID\\{5B2E6F1A-9C3D-4E7B-8A10-2F4C6D8E0B13}\\InprocServer32";

// Each test gets its own folder and registry file, named through the
// environment as a host would.
class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/morvelance-registry-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_folder = pattern;
        m_path = m_folder + "/registry.reg";
        const char* previous = std::getenv("MORVELANCE_REGISTRY");
        m_hadPrevious = previous != nullptr;
        if (previous) m_previous = previous;
        ::setenv("MORVELANCE_REGISTRY", m_path.c_str(), 1);
        platform::ReloadRegistry();
    }

    void TearDown() override
    {
        if (m_hadPrevious) {
            ::setenv("MORVELANCE_REGISTRY", m_previous.c_str(), 1);
        } else {
            ::unsetenv("MORVELANCE_REGISTRY");
        }
        platform::ReloadRegistry();
        std::string command = "rm -rf '" + m_folder + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }

    void WriteFile(const std::string& bytes)
    {
        std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
        out << bytes;
    }

    std::string ReadFile() const
    {
        std::ifstream in(m_path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::vector<std::string> FolderEntries() const
    {
        std::vector<std::string> names;
        DIR* dir = ::opendir(m_folder.c_str());
        while (dirent* entry = dir ? ::readdir(dir) : nullptr) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) names.push_back(entry->d_name);
        }
        if (dir) ::closedir(dir);
        return names;
    }

    std::string m_folder;
    std::string m_path;
    std::string m_previous;
    bool m_hadPrevious = false;
};

std::wstring QueryString(HKEY key, LPCWSTR name, LONG* status = nullptr)
{
    wchar_t buffer[512] = {};
    DWORD size = sizeof buffer;
    DWORD type = 0;
    LONG rc = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &size);
    if (status) *status = rc;
    return rc == ERROR_SUCCESS ? std::wstring(buffer) : std::wstring();
}

const char* const kExport =
    "Windows Registry Editor Version 5.00\r\n"
    "\r\n"
    "[HKEY_CLASSES_ROOT\\CLSID\\{5B2E6F1A-9C3D-4E7B-8A10-2F4C6D8E0B13}]\r\n"
    "@=\"Tavrion Control\"\r\n"
    "\r\n"
    "[HKEY_CLASSES_ROOT\\CLSID\\{5B2E6F1A-9C3D-4E7B-8A10-2F4C6D8E0B13}\\InprocServer32]\r\n"
    "@=\"C:\\\\Program Files\\\\Tavrion\\\\Tavrion.ocx\"\r\n"
    "\"ThreadingModel\"=\"Apartment\"\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Morvelance]\r\n"
    "\"Count\"=dword:0000001f\r\n"
    "\"Quote\"=\"say \\\"hi\\\" to C:\\\\temp\"\r\n"
    "\"Flags\"=hex:01,02,\\\r\n"
    "  03,ff\r\n"
    "\"Path\"=hex(2):25,00,54,00,4d,00,50,00,25,00,00,00\r\n";

}  // namespace

// The system's work-directory lookup: the server key's default value, cut at
// its last backslash.
TEST_F(RegistryTest, ReadsTheServerPathFromAnExport)
{
    WriteFile(kExport);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, kServerKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    wchar_t path[256];
    DWORD size = 1024;   // the system passes 1024 bytes
    DWORD type = 0;
    ASSERT_EQ(RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<LPBYTE>(path), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    std::wstring server(path);
    EXPECT_EQ(server, L"C:\\Program Files\\Tavrion\\Tavrion.ocx");
    EXPECT_EQ(size, (server.size() + 1) * sizeof(wchar_t));
    EXPECT_EQ(server.substr(0, server.rfind(L'\\')), L"C:\\Program Files\\Tavrion");
    EXPECT_EQ(QueryString(key, L""), server);   // "" is the default value too
    EXPECT_EQ(QueryString(key, L"ThreadingModel"), L"Apartment");
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(platform::RegistryParseErrorLine(), 0);
}

TEST_F(RegistryTest, ReadsEveryDataForm)
{
    WriteFile(kExport);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Morvelance", 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD count = 0;
    DWORD size = sizeof count;
    DWORD type = 0;
    ASSERT_EQ(RegQueryValueExW(key, L"Count", nullptr, &type, reinterpret_cast<LPBYTE>(&count), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(count, 31u);
    EXPECT_EQ(QueryString(key, L"Quote"), L"say \"hi\" to C:\\temp");   // \" and \\ are the only escapes
    BYTE flags[8] = {};
    size = sizeof flags;
    ASSERT_EQ(RegQueryValueExW(key, L"Flags", nullptr, &type, flags, &size), ERROR_SUCCESS);   // continued hex line
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    ASSERT_EQ(size, 4u);
    EXPECT_EQ(std::vector<BYTE>(flags, flags + 4), (std::vector<BYTE>{1, 2, 3, 0xff}));
    wchar_t expand[32] = {};
    size = sizeof expand;
    ASSERT_EQ(RegQueryValueExW(key, L"Path", nullptr, &type, reinterpret_cast<LPBYTE>(expand), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));   // UTF-16 in the file, wchar_t here
    EXPECT_STREQ(expand, L"%TMP%");
    EXPECT_EQ(size, 6 * sizeof(wchar_t));
    RegCloseKey(key);
}

// Size queries and short buffers follow the original platform's contract.
TEST_F(RegistryTest, SizeQueriesGiveTheNeededSizeAndShortBuffersMoreData)
{
    WriteFile(kExport);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, kServerKey, 0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
    const DWORD needed = (std::wcslen(L"Apartment") + 1) * sizeof(wchar_t);

    DWORD size = 0;
    DWORD type = 0;
    EXPECT_EQ(RegQueryValueExW(key, L"ThreadingModel", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, needed);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));

    wchar_t buffer[16];
    std::wmemset(buffer, L'#', 16);
    size = needed - 1;
    EXPECT_EQ(RegQueryValueExW(key, L"ThreadingModel", nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, needed);
    EXPECT_EQ(buffer[0], L'#');   // nothing copied

    size = needed;
    EXPECT_EQ(RegQueryValueExW(key, L"ThreadingModel", nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer), &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(buffer, L"Apartment");

    EXPECT_EQ(RegQueryValueExW(key, L"ThreadingModel", nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer), nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueExW(key, L"ThreadingModel", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(RegistryTest, MissingKeysAndValuesAreNotFound)
{
    WriteFile(kExport);
    HKEY key = reinterpret_cast<HKEY>(1);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID\\{00000000-0000-0000-0000-000000000000}", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Morvelance", 0, KEY_READ, &key), ERROR_SUCCESS);
    LONG status = 0;
    QueryString(key, L"Absent", &status);
    EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
    QueryString(key, nullptr, &status);   // a key without a default value
    EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, nullptr), ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryTest, KeysAndValueNamesIgnoreCase)
{
    WriteFile(std::string(kExport) +
              "\r\n[hkey_current_user\\SOFTWARE\\morvelance\\Sub]\r\n\"X\"=\"1\"\r\n");   // merges with the key above
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L"clsid\\{5b2e6f1a-9c3d-4e7b-8a10-2f4c6d8e0b13}\\INPROCSERVER32", 0,
                            KEY_READ, &key),
              ERROR_SUCCESS);
    EXPECT_EQ(QueryString(key, L"threadingmodel"), L"Apartment");
    RegCloseKey(key);
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Morvelance\\SUB", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(QueryString(key, L"x"), L"1");
    RegCloseKey(key);
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Morvelance", 0, KEY_READ, &key), ERROR_SUCCESS);
    wchar_t name[32];
    DWORD length = 32;
    ASSERT_EQ(RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_STREQ(name, L"Sub");   // one key, spelled as first met
    length = 32;
    EXPECT_EQ(RegEnumKeyExW(key, 1, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    RegCloseKey(key);
}

TEST_F(RegistryTest, ReadsUtf16WithByteOrderMark)
{
    std::wstring text = L"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Morvelance]\r\n"
                        L"\"Name\"=\"心電図 𝄞\"\r\n";
    std::string bytes("\xFF\xFE");
    for (wchar_t c : text) {
        auto unit = [&](unsigned u) {
            bytes.push_back(static_cast<char>(u & 0xFF));
            bytes.push_back(static_cast<char>(u >> 8));
        };
        if (c >= 0x10000) {
            unit(0xD800 + ((c - 0x10000) >> 10));
            unit(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            unit(static_cast<unsigned>(c));
        }
    }
    WriteFile(bytes);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Morvelance", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(QueryString(key, L"Name"), L"心電図 𝄞");
    RegCloseKey(key);
}

// The older export format is in the ANSI code page, hex strings included.
TEST_F(RegistryTest, ReadsRegedit4Files)
{
    WriteFile("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Morvelance]\r\n"
              "\"Name\"=\"\x93\xfa\x96\x7b\"\r\n"
              "\"Path\"=hex(2):25,54,4d,50,25,00\r\n");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Morvelance", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(QueryString(key, L"Name"), L"日本");
    EXPECT_EQ(QueryString(key, L"Path"), L"%TMP%");
    EXPECT_EQ(platform::RegistryParseErrorLine(), 0);
    RegCloseKey(key);
}

TEST_F(RegistryTest, WritesSurviveAReload)
{
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Adobe\\Acrobat Distiller\\5.0", 0, nullptr,
                              REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    const wchar_t* job = L"eBook";
    ASSERT_EQ(RegSetValueExW(key, L"JobOptions", 0, REG_SZ, reinterpret_cast<const BYTE*>(job),
                             (std::wcslen(job) + 1) * sizeof(wchar_t)),
              ERROR_SUCCESS);
    const wchar_t* tricky = L"a \"quoted\" C:\\path\twith tab";
    ASSERT_EQ(RegSetValueExW(key, L"Tricky", 0, REG_SZ, reinterpret_cast<const BYTE*>(tricky),
                             (std::wcslen(tricky) + 1) * sizeof(wchar_t)),
              ERROR_SUCCESS);
    BYTE one = 1;
    ASSERT_EQ(RegSetValueExW(key, L"DeleteLogFiles", 0, REG_BINARY, &one, 1), ERROR_SUCCESS);
    DWORD number = 0xDEADBEEF;
    ASSERT_EQ(RegSetValueExW(key, L"Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number),
              ERROR_SUCCESS);
    std::vector<BYTE> blob(100);
    for (size_t i = 0; i < blob.size(); ++i) blob[i] = static_cast<BYTE>(i * 7);
    ASSERT_EQ(RegSetValueExW(key, L"Blob", 0, REG_BINARY, blob.data(), blob.size()), ERROR_SUCCESS);
    const wchar_t multi[] = L"one\0two\0";
    ASSERT_EQ(RegSetValueExW(key, L"Multi", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(multi), sizeof multi),
              ERROR_SUCCESS);
    RegCloseKey(key);

    std::string file = ReadFile();
    EXPECT_EQ(file.rfind("Windows Registry Editor Version 5.00\n", 0), 0u);
    EXPECT_NE(file.find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Adobe\\Acrobat Distiller\\5.0]"), std::string::npos);
    EXPECT_NE(file.find("\"JobOptions\"=\"eBook\""), std::string::npos);
    EXPECT_NE(file.find("\"Number\"=dword:deadbeef"), std::string::npos);
    std::istringstream lines(file);
    for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 80u) << line;

    platform::ReloadRegistry();
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Adobe\\Acrobat Distiller\\5.0", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    EXPECT_EQ(QueryString(key, L"JobOptions"), L"eBook");
    EXPECT_EQ(QueryString(key, L"Tricky"), tricky);
    BYTE data[128];
    DWORD size = sizeof data;
    DWORD type = 0;
    ASSERT_EQ(RegQueryValueExW(key, L"DeleteLogFiles", nullptr, &type, data, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(size, 1u);
    EXPECT_EQ(data[0], 1);
    size = sizeof data;
    ASSERT_EQ(RegQueryValueExW(key, L"Blob", nullptr, &type, data, &size), ERROR_SUCCESS);
    EXPECT_EQ(std::vector<BYTE>(data, data + size), blob);
    size = sizeof number;
    ASSERT_EQ(RegQueryValueExW(key, L"Number", nullptr, &type, reinterpret_cast<LPBYTE>(&number), &size), ERROR_SUCCESS);
    EXPECT_EQ(number, 0xDEADBEEFu);
    size = sizeof data;
    ASSERT_EQ(RegQueryValueExW(key, L"Multi", nullptr, &type, data, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_MULTI_SZ));
    ASSERT_EQ(size, sizeof multi);
    EXPECT_EQ(std::memcmp(data, multi, sizeof multi), 0);
    RegCloseKey(key);

    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"software\\adobe", 0, nullptr, 0, KEY_READ, nullptr, &key,
                              &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    RegCloseKey(key);
}

// A string's stored size is its text plus one NUL, however the caller counted.
TEST_F(RegistryTest, StringsAreStoredWithOneTerminator)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyW(HKEY_CURRENT_USER, L"Software\\Morvelance", &key), ERROR_SUCCESS);
    const wchar_t* text = L"abc";
    ASSERT_EQ(RegSetValueExW(key, L"NoNul", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), 3 * sizeof(wchar_t)),
              ERROR_SUCCESS);
    DWORD size = 0;
    ASSERT_EQ(RegQueryValueExW(key, L"NoNul", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 4 * sizeof(wchar_t));
    EXPECT_EQ(RegSetValueExW(key, L"Bad", 0, REG_SZ, nullptr, 8), ERROR_INVALID_PARAMETER);
    RegCloseKey(key);
}

// Every change replaces the file through a rename: a reader holding the old
// file still sees it whole, and no temporary file stays behind.
TEST_F(RegistryTest, WritesAreAtomic)
{
    WriteFile(kExport);
    struct stat before;
    ASSERT_EQ(::stat(m_path.c_str(), &before), 0);
    std::ifstream oldReader(m_path, std::ios::binary);

    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyW(HKEY_CURRENT_USER, L"Software\\Morvelance\\New", &key), ERROR_SUCCESS);
    DWORD value = 7;
    ASSERT_EQ(RegSetValueExW(key, L"Seven", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4), ERROR_SUCCESS);
    RegCloseKey(key);

    struct stat after;
    ASSERT_EQ(::stat(m_path.c_str(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino);
    std::stringstream oldText;
    oldText << oldReader.rdbuf();
    EXPECT_EQ(oldText.str(), kExport);
    // No temporary stays behind; the writers' lock file stays beside the store.
    std::vector<std::string> entries = FolderEntries();
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{".registry.reg.lock", "registry.reg"}));
    // What was in the file before is kept.
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, kServerKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(QueryString(key, L"ThreadingModel"), L"Apartment");
    RegCloseKey(key);
}

DWORD QueryNumber(HKEY key, LPCWSTR name)
{
    DWORD value = 0, size = sizeof value;
    return RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<LPBYTE>(&value), &size) == ERROR_SUCCESS
               ? value
               : 0xFFFFFFFFu;
}

// A private copy this process alone uses: its changes wait in memory and the
// file is written once, when they are flushed or the copy is left; after
// that every change is written at once again.
TEST_F(RegistryTest, ADeferredCopyIsWrittenOnceWhenFlushedOrLeft)
{
    WriteFile(kExport);
    struct DeferralEnds {
        ~DeferralEnds() { platform::DeferRegistryWritesTo(std::string()); }
    } ends;
    platform::DeferRegistryWritesTo(m_path);
    platform::ReloadRegistry();
    struct stat before;
    ASSERT_EQ(::stat(m_path.c_str(), &before), 0);

    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyW(HKEY_CURRENT_USER, L"Software\\Morvelance\\Job", &key), ERROR_SUCCESS);
    for (DWORD i = 0; i < 27; ++i)
        ASSERT_EQ(RegSetValueExW(key, L"Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&i), 4), ERROR_SUCCESS);
    EXPECT_EQ(26u, QueryNumber(key, L"Count"));
    // Nothing reached the file: the same file with the same bytes, and no
    // lock or temporary beside it.
    struct stat during;
    ASSERT_EQ(::stat(m_path.c_str(), &during), 0);
    EXPECT_EQ(before.st_ino, during.st_ino);
    EXPECT_EQ(kExport, ReadFile());
    EXPECT_EQ(std::vector<std::string>{"registry.reg"}, FolderEntries());

    EXPECT_EQ(ERROR_SUCCESS, RegFlushKey(key));
    EXPECT_NE(std::string::npos, ReadFile().find("\"Count\"=dword:0000001a")) << ReadFile();

    const wchar_t yes[] = L"yes";
    ASSERT_EQ(RegSetValueExW(key, L"Left", 0, REG_SZ, reinterpret_cast<const BYTE*>(yes), sizeof yes), ERROR_SUCCESS);
    EXPECT_EQ(std::string::npos, ReadFile().find("Left"));
    platform::DeferRegistryWritesTo(std::string());
    EXPECT_NE(std::string::npos, ReadFile().find("\"Left\"=\"yes\"")) << ReadFile();

    ASSERT_EQ(RegSetValueExW(key, L"After", 0, REG_SZ, reinterpret_cast<const BYTE*>(yes), sizeof yes), ERROR_SUCCESS);
    EXPECT_NE(std::string::npos, ReadFile().find("\"After\"=\"yes\"")) << ReadFile();
    RegCloseKey(key);
}

// While a job's copy defers its writes, the user's registry keeps writing
// every change at once, and moving from the copy to another registry writes
// what the copy still held.
TEST_F(RegistryTest, OnlyTheDeferredCopyWaitsAndLeavingItWritesItsChanges)
{
    WriteFile(kExport);
    const std::string copy = m_folder + "/job.reg";
    std::ofstream(copy, std::ios::binary) << kExport;
    struct DeferralEnds {
        ~DeferralEnds() { platform::DeferRegistryWritesTo(std::string()); }
    } ends;
    platform::DeferRegistryWritesTo(copy);
    DWORD seven = 7;
    ASSERT_EQ(RegSetValueExW(HKEY_CURRENT_USER, L"User", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&seven), 4),
              ERROR_SUCCESS);
    EXPECT_NE(std::string::npos, ReadFile().find("\"User\"=dword:00000007"));

    ::setenv("MORVELANCE_REGISTRY", copy.c_str(), 1);
    platform::ReloadRegistry();
    ASSERT_EQ(RegSetValueExW(HKEY_CURRENT_USER, L"Job", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&seven), 4),
              ERROR_SUCCESS);
    std::ifstream during(copy, std::ios::binary);
    EXPECT_EQ(kExport, std::string(std::istreambuf_iterator<char>(during), std::istreambuf_iterator<char>()));

    ::setenv("MORVELANCE_REGISTRY", m_path.c_str(), 1);
    platform::ReloadRegistry();
    EXPECT_EQ(0xFFFFFFFFu, QueryNumber(HKEY_CURRENT_USER, L"Job"));
    std::ifstream after(copy, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(after)), std::istreambuf_iterator<char>());
    EXPECT_NE(std::string::npos, written.find("\"Job\"=dword:00000007")) << written;
    EXPECT_EQ(std::string::npos, ReadFile().find("\"Job\""));
}

// When the file cannot be written, the change is refused and nothing changes.
TEST_F(RegistryTest, FailedSaveChangesNothing)
{
    std::string blocker = m_folder + "/plain-file";
    std::ofstream(blocker) << "x";
    ::setenv("MORVELANCE_REGISTRY", (blocker + "/registry.reg").c_str(), 1);
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyW(HKEY_CURRENT_USER, L"Software\\Morvelance", &key), ERROR_REGISTRY_IO_FAILED);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Morvelance", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_REGISTRY_IO_FAILED);
    EXPECT_EQ(RegSetValueExW(HKEY_CURRENT_USER, L"Root", 0, REG_BINARY, reinterpret_cast<const BYTE*>("x"), 1),
              ERROR_REGISTRY_IO_FAILED);
    EXPECT_EQ(RegQueryValueExW(HKEY_CURRENT_USER, L"Root", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
}

// Another process's edit is seen at the next call.
TEST_F(RegistryTest, RereadsTheFileWhenItChanges)
{
    WriteFile("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Morvelance]\n\"V\"=\"old\"\n");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Morvelance", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(QueryString(key, L"V"), L"old");
    WriteFile("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Morvelance]\n\"V\"=\"newer\"\n");
    EXPECT_EQ(QueryString(key, L"V"), L"newer");   // the open handle names the key by path
    RegCloseKey(key);
}

TEST_F(RegistryTest, ClosedAndForeignHandlesFail)
{
    WriteFile(kExport);
    HKEY first = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, kServerKey, 0, KEY_READ, &first), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(first), ERROR_SUCCESS);
    LONG status = 0;
    QueryString(first, L"ThreadingModel", &status);
    EXPECT_EQ(status, ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(first), ERROR_INVALID_HANDLE);

    // The freed slot is reused with a new generation: the old handle stays dead.
    HKEY second = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, kServerKey, 0, KEY_READ, &second), ERROR_SUCCESS);
    EXPECT_NE(second, first);
    QueryString(first, L"ThreadingModel", &status);
    EXPECT_EQ(status, ERROR_INVALID_HANDLE);
    EXPECT_EQ(QueryString(second, L"ThreadingModel"), L"Apartment");
    RegCloseKey(second);

    HKEY sub = nullptr;
    EXPECT_EQ(RegOpenKeyExW(first, L"x", 0, KEY_READ, &sub), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegOpenKeyExW(nullptr, L"x", 0, KEY_READ, &sub), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(reinterpret_cast<HKEY>(0x12345678)), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(HKEY_CLASSES_ROOT), ERROR_SUCCESS);   // predefined keys never close
    EXPECT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, kServerKey, 0, KEY_READ, &sub), ERROR_SUCCESS);
    RegCloseKey(sub);
}

TEST_F(RegistryTest, AccessRightsAreChecked)
{
    WriteFile(kExport);
    HKEY reader = nullptr;
    HKEY writer = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Morvelance", 0, KEY_READ, &reader), ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Morvelance", 0, KEY_WRITE, &writer), ERROR_SUCCESS);
    DWORD value = 1;
    EXPECT_EQ(RegSetValueExW(reader, L"X", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteValueW(reader, L"Count"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegQueryValueExW(writer, L"Count", nullptr, nullptr, nullptr, nullptr), ERROR_ACCESS_DENIED);
    HKEY created = nullptr;
    EXPECT_EQ(RegCreateKeyExW(reader, L"Child", 0, nullptr, 0, KEY_READ, nullptr, &created, nullptr),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegSetValueExW(writer, L"X", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4), ERROR_SUCCESS);
    RegCloseKey(reader);
    RegCloseKey(writer);
}

TEST_F(RegistryTest, EnumeratesKeysAlphabeticallyAndValuesInOrder)
{
    HKEY parent = nullptr;
    ASSERT_EQ(RegCreateKeyW(HKEY_CURRENT_USER, L"Software\\Morvelance", &parent), ERROR_SUCCESS);
    for (const wchar_t* name : {L"zeta", L"Alpha", L"beta"}) {
        HKEY child = nullptr;
        ASSERT_EQ(RegCreateKeyW(parent, name, &child), ERROR_SUCCESS);
        RegCloseKey(child);
    }
    std::vector<std::wstring> keys;
    wchar_t name[16];
    for (DWORD i = 0;; ++i) {
        DWORD length = 16;
        FILETIME written{};
        LONG rc = RegEnumKeyExW(parent, i, name, &length, nullptr, nullptr, nullptr, &written);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        ASSERT_EQ(rc, ERROR_SUCCESS);
        EXPECT_EQ(length, std::wcslen(name));
        EXPECT_NE(written.dwHighDateTime, 0u);
        keys.push_back(name);
    }
    EXPECT_EQ(keys, (std::vector<std::wstring>{L"Alpha", L"beta", L"zeta"}));
    DWORD tiny = 5;   // "Alpha" needs 6 with its NUL
    EXPECT_EQ(RegEnumKeyExW(parent, 0, name, &tiny, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);

    DWORD one = 1;
    const wchar_t* text = L"text";
    ASSERT_EQ(RegSetValueExW(parent, L"Second", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(parent, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), 5 * sizeof(wchar_t)),
              ERROR_SUCCESS);
    DWORD length = 16;
    DWORD type = 0;
    DWORD size = 0;
    ASSERT_EQ(RegEnumValueW(parent, 0, name, &length, nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_STREQ(name, L"Second");
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(size, 4u);
    BYTE data[4];
    length = 16;
    size = sizeof data;   // the default value needs 20 bytes
    EXPECT_EQ(RegEnumValueW(parent, 1, name, &length, nullptr, &type, data, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 5 * sizeof(wchar_t));
    EXPECT_STREQ(name, L"");
    length = 16;
    EXPECT_EQ(RegEnumValueW(parent, 2, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    RegCloseKey(parent);
}

TEST_F(RegistryTest, DeletesKeysAndValues)
{
    WriteFile(kExport);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, kServerKey, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueW(key, L"threadingmodel"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueW(key, L"ThreadingModel"), ERROR_FILE_NOT_FOUND);

    EXPECT_EQ(RegDeleteKeyW(HKEY_CLASSES_ROOT, L"CLSID\\{5B2E6F1A-9C3D-4E7B-8A10-2F4C6D8E0B13}"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKeyW(HKEY_CLASSES_ROOT, kServerKey), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyW(HKEY_CLASSES_ROOT, kServerKey), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKeyW(HKEY_CLASSES_ROOT, nullptr), ERROR_INVALID_PARAMETER);
    LONG status = 0;
    QueryString(key, nullptr, &status);
    EXPECT_EQ(status, ERROR_KEY_DELETED);   // the handle outlives its key
    RegCloseKey(key);

    EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, L"Software"), ERROR_SUCCESS);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Morvelance", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    platform::ReloadRegistry();
    EXPECT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, kServerKey, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID\\{5B2E6F1A-9C3D-4E7B-8A10-2F4C6D8E0B13}", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    EXPECT_EQ(QueryString(key, nullptr), L"Tavrion Control");
    RegCloseKey(key);
}

// A line that cannot be read is skipped and reported; the rest still loads.
TEST_F(RegistryTest, ReportsTheFirstBadLine)
{
    WriteFile("Windows Registry Editor Version 5.00\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\Morvelance]\n"
              "\"Good\"=\"yes\"\n"
              "\"Broken\"=dword:xyz\n"
              "\"Unterminated=\"no\n"
              "\"Gone\"=\"soon\"\n"
              "\"Gone\"=-\n"
              "[HKEY_NOWHERE\\X]\n"
              "\"Orphan\"=\"lost\"\n"
              "[HKEY_CURRENT_USER\\Software\\Morvelance\\Doomed]\n"
              "[-HKEY_CURRENT_USER\\Software\\Morvelance\\Doomed]\n"
              "[HKEY_CURRENT_USER\\Software\\Morvelance]\n"
              "\"After\"=\"fine\"\n");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Morvelance", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(platform::RegistryParseErrorLine(), 5);
    EXPECT_EQ(QueryString(key, L"Good"), L"yes");
    EXPECT_EQ(QueryString(key, L"After"), L"fine");
    LONG status = 0;
    QueryString(key, L"Broken", &status);
    EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
    QueryString(key, L"Gone", &status);
    EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
    HKEY doomed = nullptr;
    EXPECT_EQ(RegOpenKeyExW(key, L"Doomed", 0, KEY_READ, &doomed), ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
}

TEST_F(RegistryTest, PathFollowsTheEnvironment)
{
    EXPECT_EQ(platform::RegistryPath(), m_path);
    ::unsetenv("MORVELANCE_REGISTRY");
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string savedConfig = config ? config : "";
    ::setenv("XDG_CONFIG_HOME", "/somewhere/config", 1);
    EXPECT_EQ(platform::RegistryPath(), "/somewhere/config/morvelance/registry.reg");
    ::setenv("XDG_CONFIG_HOME", "relative/config", 1);   // not absolute: ignored
    const char* home = std::getenv("HOME");
    if (home && *home) {
        EXPECT_EQ(platform::RegistryPath(), std::string(home) + "/.config/morvelance/registry.reg");
    }
    if (config) {
        ::setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
    } else {
        ::unsetenv("XDG_CONFIG_HOME");
    }
    ::setenv("MORVELANCE_REGISTRY", m_path.c_str(), 1);
}

// ---- files written by hand ----------------------------------------------------------

namespace {

struct ValueRead {
    LONG status = ERROR_FILE_NOT_FOUND;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

ValueRead QueryValue(HKEY key, LPCWSTR name)
{
    ValueRead read;
    DWORD size = 0;
    read.status = RegQueryValueExW(key, name, nullptr, &read.type, nullptr, &size);
    if (read.status != ERROR_SUCCESS) return read;
    read.data.resize(size);
    read.status = RegQueryValueExW(key, name, nullptr, &read.type, read.data.data(), &size);
    read.data.resize(size);
    return read;
}

std::vector<BYTE> DwordBytes(DWORD value)
{
    return std::vector<BYTE>(reinterpret_cast<BYTE*>(&value), reinterpret_cast<BYTE*>(&value) + sizeof value);
}

std::vector<BYTE> WideTextBytes(const std::wstring& text)
{
    std::vector<BYTE> bytes((text.size() + 1) * sizeof(wchar_t), 0);
    std::memcpy(bytes.data(), text.c_str(), text.size() * sizeof(wchar_t));
    return bytes;
}

// The 40 bytes 0x00, 0x07, 0x0E, ... written the way a person types them:
// capitals, blanks after the commas, wrapped with a backslash over four
// lines indented by tabs and spaces, one with blanks after its backslash.
const char* const kWrappedBlob =
    "\"Table\" = HEX:00, 07, 0E, 15, 1C, 23, 2A, 31, 38, 3F, \\\r\n"
    "\t46,4D,54,5B,62,69,70,77,7E,85,\\   \r\n"
    "    8C,93,9A,A1,A8,AF,B6,BD,C4,CB,\\\r\n"
    "  D2,D9,E0,E7,EE,F5,FC,03,0A,11\r\n";

}  // namespace

TEST_F(RegistryTest, ReadsAFileTypedByHand)
{
    WriteFile(std::string("\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"   // a text editor's UTF-8 mark
                          "\r\n"
                          "; typed, not exported\r\n"
                          "  [HKEY_CURRENT_USER\\Software\\Morvelance\\Typed]  \r\n"
                          "\"Upper\" = dword:0000001A\r\n"
                          "\"Capitals\"=DWORD:FFFFFFFE\r\n"
                          "\"Short\"=dword:7\r\n"
                          "  \"Blanks\"  =  \"two  words \"  \r\n"
                          "@ = \"the default\"\r\n"
                          "\"Tabbed\"\t=\tdword:\t0000BEEF\t\r\n") +
              kWrappedBlob +
              "\"Expand\"=HEX(2):25,00,41,00,25,00,00,00\r\n"
              "\"Quad\"=hex(B):01,02,03,04,05,06,07,08\r\n");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Morvelance\\Typed", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(platform::RegistryParseErrorLine(), 0);

    // name, type, bytes
    const struct {
        LPCWSTR name;
        DWORD type;
        std::vector<BYTE> data;
    } expected[] = {
        {L"Upper", REG_DWORD, DwordBytes(26)},
        {L"Capitals", REG_DWORD, DwordBytes(0xFFFFFFFEu)},
        {L"Short", REG_DWORD, DwordBytes(7)},
        {L"Blanks", REG_SZ, WideTextBytes(L"two  words ")},   // blanks inside the quotes are the value's
        {L"", REG_SZ, WideTextBytes(L"the default")},
        {L"Tabbed", REG_DWORD, DwordBytes(0xBEEF)},
        {L"Expand", REG_EXPAND_SZ, WideTextBytes(L"%A%")},
        {L"Quad", REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 8}},
    };
    for (const auto& value : expected) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(value.name)));
        const ValueRead read = QueryValue(key, value.name);
        ASSERT_EQ(read.status, ERROR_SUCCESS);
        EXPECT_EQ(read.type, value.type);
        EXPECT_EQ(read.data, value.data);
    }
    const ValueRead table = QueryValue(key, L"Table");
    ASSERT_EQ(table.status, ERROR_SUCCESS);
    EXPECT_EQ(table.type, static_cast<DWORD>(REG_BINARY));
    std::vector<BYTE> steps(40);
    for (size_t i = 0; i < steps.size(); ++i) steps[i] = static_cast<BYTE>(i * 7);
    EXPECT_EQ(table.data, steps);
    RegCloseKey(key);
}

// Each line below is a slip of the hand. It is refused as a whole (the value
// is not there, the first such line is reported), never read as some other
// value, and the good lines around it are still read.
TEST_F(RegistryTest, RefusesSlipsOfTheHandWithoutGuessing)
{
    // line, text
    static const struct {
        int line;
        const char* text;
        LPCWSTR name;
    } kSlips[] = {
        {4, "\"Spaced\"=dword:00 1A\r\n", L"Spaced"},           // a blank inside the number
        {5, "\"Long\"=dword:100000000\r\n", L"Long"},           // nine digits
        {6, "\"Prefixed\"=dword:0x1A\r\n", L"Prefixed"},
        {7, "\"Signed\"=dword:-1\r\n", L"Signed"},
        {8, "\"Colon\"=dword : 1A\r\n", L"Colon"},
        {9, "\"Wide\"=hex:0A,100,0B\r\n", L"Wide"},             // three digits
        {10, "\"Gap\"=hex:0A,,0B\r\n", L"Gap"},
        {11, "\"Joined\"=hex:0A,0B\\\r\n", L"Joined"},         // no comma before the wrap:
        {12, "0C,0D\r\n", nullptr},                              //   0B0C would be one byte
        {13, "\"Blank\"=hex:0A 0B\r\n", L"Blank"},
        {14, "\"Open\"=\"no end\r\n", L"Open"},
        {15, "\"Trailing\"=\"text\" more\r\n", L"Trailing"},   // words after the closing quote
    };
    std::string file = "Windows Registry Editor Version 5.00\r\n"
                       "[HKEY_CURRENT_USER\\Software\\Morvelance\\Slips]\r\n"
                       "\"Before\"=dword:00000001\r\n";
    for (const auto& slip : kSlips) file += slip.text;
    file += "\"After\"=hex:0A,\\\r\n  0B\r\n";
    WriteFile(file);

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Morvelance\\Slips", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(platform::RegistryParseErrorLine(), kSlips[0].line);
    for (const auto& slip : kSlips) {
        if (!slip.name) continue;
        EXPECT_EQ(QueryValue(key, slip.name).status, ERROR_FILE_NOT_FOUND) << slip.text;
    }
    EXPECT_EQ(QueryValue(key, L"Before").data, DwordBytes(1));
    EXPECT_EQ(QueryValue(key, L"After").data, (std::vector<BYTE>{0x0A, 0x0B}));
    // Nothing else was made of the slips: the key holds the two good values only.
    std::vector<std::wstring> names;
    wchar_t name[64];
    for (DWORD i = 0;; ++i) {
        DWORD length = 64;
        if (RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.push_back(name);
    }
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Before", L"After"}));
    RegCloseKey(key);
}

// The line numbers reported count the lines of a wrapped value, and a bad
// wrapped value is reported at its first line, where its name stands.
TEST_F(RegistryTest, TheReportedLineCountsWrappedLines)
{
    WriteFile(std::string("Windows Registry Editor Version 5.00\r\n"
                          "[HKEY_CURRENT_USER\\Software\\Morvelance\\Slips]\r\n") +
              kWrappedBlob + "\"Bad\"=hex:01,02,\\\r\n  03,0G,\\\r\n  05\r\n");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Morvelance\\Slips", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(platform::RegistryParseErrorLine(), 7);
    EXPECT_EQ(QueryValue(key, L"Bad").status, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(QueryValue(key, L"Table").data.size(), 40u);
    RegCloseKey(key);
}
