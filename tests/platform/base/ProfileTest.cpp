#include "platform/base/Profile.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/base/Registry.h"

namespace {

// A folder of its own per test; the registry file is named inside it, so the
// platform's system folder (and win.ini) is that folder too.
class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/morvelance-profile-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_folder = pattern;
        const char* previous = std::getenv("MORVELANCE_REGISTRY");
        m_hadPrevious = previous != nullptr;
        if (previous) m_previous = previous;
        ::setenv("MORVELANCE_REGISTRY", (m_folder + "/registry.reg").c_str(), 1);
    }

    void TearDown() override
    {
        if (m_hadPrevious) {
            ::setenv("MORVELANCE_REGISTRY", m_previous.c_str(), 1);
        } else {
            ::unsetenv("MORVELANCE_REGISTRY");
        }
        std::string command = "rm -rf '" + m_folder + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }

    std::string Path(const char* name) const { return m_folder + "/" + name; }
    std::wstring WidePath(const char* name) const
    {
        std::string path = Path(name);
        return std::wstring(path.begin(), path.end());
    }

    void Write(const char* name, const std::string& bytes) const
    {
        std::ofstream out(Path(name), std::ios::binary | std::ios::trunc);
        out << bytes;
    }

    std::string Read(const char* name) const
    {
        std::ifstream in(Path(name), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::wstring Get(LPCWSTR section, LPCWSTR key, LPCWSTR fallback, const char* file, DWORD* count = nullptr) const
    {
        wchar_t buffer[256];
        std::wmemset(buffer, L'#', 256);
        DWORD copied = GetPrivateProfileStringW(section, key, fallback, buffer, 256, WidePath(file).c_str());
        if (count) *count = copied;
        return std::wstring(buffer, copied);
    }

    std::string m_folder;
    std::string m_previous;
    bool m_hadPrevious = false;
};

const char* const kIni =
    "; host settings\r\n"
    "[General]\r\n"
    "  Language =  Japanese  \r\n"
    "Quoted=\"  padded  \"\r\n"
    "Single='x'\r\n"
    "Mismatched=\"x'\r\n"
    "Empty=\r\n"
    "Number= 42\r\n"
    "Language=second wins not\r\n"
    "\r\n"
    "[ Printer ]\r\n"
    "Device=PDF\r\n"
    "[general]\r\n"
    "Late=hidden by the first [General]\r\n";

struct LookupCase {
    const wchar_t* section;
    const wchar_t* key;
    const wchar_t* fallback;
    const wchar_t* expected;
};

}  // namespace

// GetPrivateProfileString on one file: names ignore case and blanks, values
// are trimmed and unquoted, a missing name gives the default without its
// trailing blanks.
TEST_F(ProfileTest, LookupsIgnoreCaseAndBlanksAndStripQuotes)
{
    Write("host.ini", kIni);
    static const LookupCase kCases[] = {
        // section      key            default      expected
        {L"General", L"Language", L"x", L"Japanese"},
        {L"GENERAL", L"language", L"x", L"Japanese"},
        {L" General ", L" Language ", L"x", L"Japanese"},
        {L"General", L"Quoted", L"x", L"  padded  "},
        {L"General", L"Single", L"x", L"x"},
        {L"General", L"Mismatched", L"x", L"\"x'"},
        {L"General", L"Empty", L"x", L""},
        {L"General", L"Number", L"x", L"42"},
        {L"General", L"Late", L"none", L"none"},
        {L"Printer", L"Device", L"x", L"PDF"},
        {L"General", L"Missing", L"fallback  ", L"fallback"},
        {L"General", L"Missing", L"  both  ", L"  both"},
        {L"General", L"Missing", nullptr, L""},
        {L"Nowhere", L"Language", L"dflt", L"dflt"},
        {L"host settings", L"Language", L"dflt", L"dflt"},
    };
    for (const LookupCase& c : kCases) {
        EXPECT_EQ(Get(c.section, c.key, c.fallback, "host.ini"), c.expected)
            << "[" << (c.section ? c.section : L"(null)") << "] " << c.key;
    }
    EXPECT_EQ(Get(L"General", L"Language", L"absent", "missing.ini"), L"absent");
}

TEST_F(ProfileTest, TruncatedReadsReturnTheCopiedLength)
{
    Write("host.ini", "[S]\nValue=abcdef\nA=1\nBB=2\n[T]\n");
    const std::wstring file = WidePath("host.ini");
    wchar_t buffer[16];

    std::wmemset(buffer, L'#', 16);
    EXPECT_EQ(GetPrivateProfileStringW(L"S", L"Value", L"", buffer, 4, file.c_str()), 3u);   // size - 1
    EXPECT_STREQ(buffer, L"abc");
    EXPECT_EQ(GetPrivateProfileStringW(L"S", L"Value", L"", buffer, 7, file.c_str()), 6u);   // fits exactly
    EXPECT_STREQ(buffer, L"abcdef");
    EXPECT_EQ(GetPrivateProfileStringW(L"S", L"Value", L"", buffer, 1, file.c_str()), 0u);
    EXPECT_EQ(buffer[0], L'\0');
    EXPECT_EQ(GetPrivateProfileStringW(L"S", L"Value", L"", buffer, 0, file.c_str()), 0u);
    EXPECT_EQ(GetPrivateProfileStringW(L"S", L"Value", L"", nullptr, 16, file.c_str()), 0u);
    EXPECT_EQ(GetPrivateProfileStringW(L"S", L"Missing", L"defaults", buffer, 4, file.c_str()), 3u);
    EXPECT_STREQ(buffer, L"def");

    // Key list "Value\0A\0BB\0\0": 11 characters without the last NUL.
    std::wmemset(buffer, L'#', 16);
    EXPECT_EQ(GetPrivateProfileStringW(L"S", nullptr, L"", buffer, 16, file.c_str()), 11u);
    EXPECT_EQ(std::wstring(buffer, 13), std::wstring(L"Value\0A\0BB\0\0#", 13));
    std::wmemset(buffer, L'#', 16);
    EXPECT_EQ(GetPrivateProfileStringW(L"S", nullptr, L"", buffer, 9, file.c_str()), 7u);   // size - 2
    EXPECT_EQ(std::wstring(buffer, 9), std::wstring(L"Value\0A\0\0", 9));
    EXPECT_EQ(buffer[9], L'#');
    std::wmemset(buffer, L'#', 16);
    EXPECT_EQ(GetPrivateProfileStringW(L"T", nullptr, L"", buffer, 16, file.c_str()), 0u);   // empty section
    EXPECT_EQ(buffer[0], L'\0');
    EXPECT_EQ(buffer[1], L'\0');
}

TEST_F(ProfileTest, SectionNamesAreListedOnceAndTrimmed)
{
    Write("host.ini", kIni);
    DWORD count = 0;
    std::wstring list = Get(nullptr, nullptr, L"ignored", "host.ini", &count);
    EXPECT_EQ(list, std::wstring(L"General\0Printer\0", 16));   // duplicates once, names trimmed
    wchar_t names[64];
    EXPECT_EQ(GetPrivateProfileSectionNamesW(names, 64, WidePath("host.ini").c_str()), count);
    EXPECT_EQ(Get(nullptr, nullptr, L"x", "missing.ini"), L"");
}

TEST_F(ProfileTest, ShiftJisFileStaysShiftJisUntilACharacterDoesNotFit)
{
    // "[General]\r\nLANGUAGE=日本語\r\n" in code page 932.
    Write("quarnel.ini", "[General]\r\nLANGUAGE=\x93\xfa\x96\x7b\x8c\xea\r\n");
    EXPECT_EQ(Get(L"General", L"LANGUAGE", L"", "quarnel.ini"), L"日本語");

    // A rewrite keeps Shift-JIS and the line ends while every character fits...
    ASSERT_TRUE(WritePrivateProfileStringW(L"General", L"Title", L"心電図", WidePath("quarnel.ini").c_str()));
    EXPECT_EQ(Read("quarnel.ini"), "[General]\r\nLANGUAGE=\x93\xfa\x96\x7b\x8c\xea\r\nTitle=\x90\x53\x93\x64\x90\x7d\r\n");
    // ...and becomes UTF-8 rather than lose one.
    ASSERT_TRUE(WritePrivateProfileStringW(L"General", L"Caption", L"连续", WidePath("quarnel.ini").c_str()));
    EXPECT_EQ(Read("quarnel.ini"),
              "[General]\r\nLANGUAGE=日本語\r\nTitle=心電図\r\nCaption=连续\r\n");
    EXPECT_EQ(Get(L"General", L"Caption", L"", "quarnel.ini"), L"连续");
    EXPECT_EQ(Get(L"General", L"LANGUAGE", L"", "quarnel.ini"), L"日本語");
}

TEST_F(ProfileTest, UnicodeFilesAreReadAndWrittenInTheirEncoding)
{
    Write("bom8.ini", "\xEF\xBB\xBF[A]\nK=日本語\n");
    EXPECT_EQ(Get(L"A", L"K", L"", "bom8.ini"), L"日本語");
    // "[A]\nK=日\n" in UTF-16LE.
    Write("bom16.ini", std::string("\xFF\xFE[\0A\0]\0\n\0K\0=\0\xE5\x65\n\0", 18));
    EXPECT_EQ(Get(L"A", L"K", L"", "bom16.ini"), L"日");
    ASSERT_TRUE(WritePrivateProfileStringW(L"A", L"New", L"語", WidePath("bom16.ini").c_str()));
    EXPECT_EQ(Read("bom16.ini"), std::string("\xFF\xFE[\0A\0]\0\n\0K\0=\0\xE5\x65\n\0N\0e\0w\0=\0\x9E\x8A\n\0", 30));
}

TEST_F(ProfileTest, IntegersAreLeadingNumbersOrTheDefault)
{
    Write("n.ini", "[N]\nPlain=42\nNegative= -7\nHex=0x1F\nTrailing=12abc\nWord=abc\nEmpty=\nQuoted=\"9\"\n");
    const std::wstring file = WidePath("n.ini");
    struct {
        const wchar_t* key;
        UINT expected;
    } const kCases[] = {
        {L"Plain", 42u}, {L"Negative", static_cast<UINT>(-7)}, {L"Hex", 31u}, {L"Trailing", 12u},
        {L"Word", 0u},   {L"Empty", 5u},                        {L"Missing", 5u}, {L"Quoted", 9u},
    };
    for (const auto& c : kCases) EXPECT_EQ(GetPrivateProfileIntW(L"N", c.key, 5, file.c_str()), c.expected) << c.key;
    EXPECT_EQ(GetPrivateProfileIntW(L"N", L"Plain", 5, WidePath("missing.ini").c_str()), 5u);
}

TEST_F(ProfileTest, WritesKeepTheRestOfTheFile)
{
    Write("host.ini", "; comment\n[One]\nA=1\nb = 2\n\n[Two]\nC=3\n");
    const std::wstring file = WidePath("host.ini");
    ASSERT_TRUE(WritePrivateProfileStringW(L"one", L"B", L"two", file.c_str()));      // replaced, spelling kept
    ASSERT_TRUE(WritePrivateProfileStringW(L"One", L"New", L"x", file.c_str()));      // before the blank line
    ASSERT_TRUE(WritePrivateProfileStringW(L"Three", L"D", L"4", file.c_str()));      // a new section at the end
    EXPECT_EQ(Read("host.ini"), "; comment\n[One]\nA=1\nb=two\nNew=x\n\n[Two]\nC=3\n\n[Three]\nD=4\n");

    ASSERT_TRUE(WritePrivateProfileStringW(L"One", L"A", nullptr, file.c_str()));     // a null value removes the key
    ASSERT_TRUE(WritePrivateProfileStringW(L"Two", nullptr, nullptr, file.c_str()));  // a null key the section
    ASSERT_TRUE(WritePrivateProfileStringW(L"Absent", L"A", nullptr, file.c_str()));
    EXPECT_EQ(Read("host.ini"), "; comment\n[One]\nb=two\nNew=x\n\n[Three]\nD=4\n");
    EXPECT_EQ(Get(L"One", L"A", L"gone", "host.ini"), L"gone");

    EXPECT_FALSE(WritePrivateProfileStringW(nullptr, L"A", L"1", file.c_str()));
    EXPECT_TRUE(WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.c_str()));   // a flush
}

TEST_F(ProfileTest, WritesCreateTheFileAndReplaceItWhole)
{
    std::wstring backslashed = WidePath("fresh.ini");
    for (wchar_t& c : backslashed) {
        if (c == L'/') c = L'\\';
    }
    ASSERT_TRUE(WritePrivateProfileStringW(L"S", L"K", L"日本語", backslashed.c_str()));
    EXPECT_EQ(Read("fresh.ini"), "[S]\r\nK=日本語\r\n");
    EXPECT_EQ(Get(L"S", L"K", L"", "fresh.ini"), L"日本語");

    struct stat before;
    ASSERT_EQ(::stat(Path("fresh.ini").c_str(), &before), 0);
    ASSERT_TRUE(WritePrivateProfileStringW(L"S", L"K", L"2", backslashed.c_str()));
    struct stat after;
    ASSERT_EQ(::stat(Path("fresh.ini").c_str(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino);   // replaced through a rename
    std::vector<std::string> entries;
    DIR* dir = ::opendir(m_folder.c_str());
    while (dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] != '.') entries.push_back(entry->d_name);
    }
    ::closedir(dir);
    EXPECT_EQ(entries, std::vector<std::string>{"fresh.ini"});

    EXPECT_FALSE(WritePrivateProfileStringW(L"S", L"K", L"v", WidePath("no-folder/x.ini").c_str()));
}

// win.ini and bare file names live beside the registry file.
TEST_F(ProfileTest, BareNamesAndWinIniLiveInTheSystemFolder)
{
    EXPECT_EQ(platform::WinIniPath(), Path("win.ini"));
    Write("win.ini", "[windows]\ndevice=Acrobat Distiller,winspool,Ne00:\n");
    wchar_t device[128];
    EXPECT_GT(GetProfileStringW(L"windows", L"device", L"", device, 128), 0u);
    EXPECT_STREQ(device, L"Acrobat Distiller,winspool,Ne00:");
    EXPECT_EQ(GetPrivateProfileStringW(L"windows", L"device", L"", device, 128, nullptr), 32u);

    Write("bare.ini", "[S]\nK=found\n");
    EXPECT_EQ(GetPrivateProfileStringW(L"S", L"K", L"", device, 128, L"bare.ini"), 5u);
    EXPECT_STREQ(device, L"found");

    ASSERT_TRUE(WriteProfileStringW(L"windows", L"device", L"Other,winspool,Ne01:"));
    EXPECT_EQ(GetProfileIntW(L"windows", L"missing", 3), 3u);
    GetProfileStringW(L"windows", L"device", L"", device, 128);
    EXPECT_STREQ(device, L"Other,winspool,Ne01:");
}
