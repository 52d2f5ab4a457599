#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <new>
#include <string>
#include <thread>

#include <dlfcn.h>
#include <unistd.h>

#include "platform/base/CodePage.h"
#include "platform/base/Kernel.h"

namespace {

// MulDiv(number, numerator, denominator) = expected.
struct MulDivCase {
    int number, numerator, denominator, expected;
};
const MulDivCase kMulDiv[] = {
    {5, 1, 2, 3},                       // halves round away from zero
    {-5, 1, 2, -3},
    {5, -1, 2, -3},
    {5, 1, -2, -3},
    {-5, 1, -2, 3},
    {3, 5, -2, -8},                     // -7.5
    {7, 1, 3, 2},                       // 2.33 down
    {8, 1, 3, 3},                       // 2.67 up
    {-8, 1, 3, -3},
    {1, 1, 0, -1},                      // zero divisor
    {0, 0, 0, -1},
    {0, 7, 3, 0},
    {INT_MAX, INT_MAX, INT_MAX, INT_MAX},   // the 64-bit intermediate
    {INT_MAX, 2, 2, INT_MAX},
    {INT_MAX, 2, 1, -1},                // overflow
    {INT_MIN, -1, 1, -1},               // 2^31 does not fit
    {INT_MIN, 2, -2, -1},
    {1000000, 1000000, 3, -1},
    {600, 254, 1000, 152},              // 152.4: a typical device-unit conversion
};

TEST(MulDiv, HalvesRoundAwayFromZeroAndOverflowGivesMinusOne)
{
    for (const MulDivCase& c : kMulDiv) {
        EXPECT_EQ(c.expected, MulDiv(c.number, c.numerator, c.denominator))
            << "MulDiv(" << c.number << ", " << c.numerator << ", " << c.denominator << ")";
    }
}

TEST(MulDiv, AgreesWithExactArithmeticOnAGrid)
{
    for (int a = -50; a <= 50; a += 7) {
        for (int b = -9; b <= 9; ++b) {
            for (int c = -6; c <= 6; ++c) {
                if (c == 0) continue;
                const double exact = static_cast<double>(a) * b / c;
                const double rounded = exact < 0 ? -std::floor(-exact + 0.5) : std::floor(exact + 0.5);
                EXPECT_EQ(static_cast<int>(rounded), MulDiv(a, b, c)) << a << "*" << b << "/" << c;
            }
        }
    }
}

struct WtoiCase {
    const wchar_t* text;
    long long expected;
};
const WtoiCase kWtoi[] = {
    {L"42", 42},
    {L"  42abc", 42},
    {L"\t\n\v\f\r 5", 5},
    {L"-17", -17},
    {L"+8", 8},
    {L"- 5", 0},
    {L"abc", 0},
    {L"", 0},
    {L"0x10", 0},
    {L"\x3000" L"7", 0},                // an ideographic space is not the runtime's white space
    {L"\xFF11\xFF12", 0},               // full-width digits are not digits
    {L"2147483647", INT_MAX},
    {L"2147483648", INT_MAX},           // saturates
    {L"-2147483648", INT_MIN},
    {L"-2147483649", INT_MIN},
    {L"99999999999999999999999", INT_MAX},
    {L"-000000000000000000000012", -12},
};

TEST(Wtoi, ReadsLeadingDigitsAndSaturatesOnOverflow)
{
    for (const WtoiCase& c : kWtoi) {
        EXPECT_EQ(c.expected, _wtoi(c.text)) << '"' << platform::ToUtf8(c.text) << '"';
        EXPECT_EQ(c.expected, _wtol(c.text)) << '"' << platform::ToUtf8(c.text) << '"';
    }
    EXPECT_EQ(0, _wtoi(nullptr));
    EXPECT_EQ(LLONG_MAX, _wtoi64(L"9223372036854775808"));
    EXPECT_EQ(LLONG_MIN, _wtoi64(L"-9223372036854775808"));
    EXPECT_EQ(LLONG_MIN, _wtoi64(L"-99999999999999999999"));
    EXPECT_EQ(4294967296LL, _wtoi64(L" 4294967296 "));
}

TEST(Wtof, ParsesWithAPointWhateverTheLocale)
{
    EXPECT_DOUBLE_EQ(350.0, _wtof(L"3.5e2x"));
    EXPECT_DOUBLE_EQ(-0.25, _wtof(L"  -0.25"));
    EXPECT_DOUBLE_EQ(0.0, _wtof(L"abc"));
    EXPECT_DOUBLE_EQ(0.0, _wtof(nullptr));
    EXPECT_DOUBLE_EQ(1.0, _wtof(L"1,5"));   // the comma ends the number
}

TEST(IntegerToText, OtherRadixesShowTheBitsAndBadRadixesGiveNothing)
{
    wchar_t buffer[80];
    EXPECT_STREQ(L"-255", _itow(-255, buffer, 10));
    EXPECT_STREQ(L"ffffffff", _itow(-1, buffer, 16));   // other radixes show the bits
    EXPECT_STREQ(L"11111111", _itow(255, buffer, 2));
    EXPECT_STREQ(L"z", _itow(35, buffer, 36));
    EXPECT_STREQ(L"-2147483648", _itow(INT_MIN, buffer, 10));
    EXPECT_STREQ(L"0", _ltow(0, buffer, 8));
    EXPECT_STREQ(L"4294967295", _ultow(0xFFFFFFFFu, buffer, 10));
    EXPECT_STREQ(L"-9223372036854775808", _i64tow(LLONG_MIN, buffer, 10));
    EXPECT_STREQ(L"ffffffffffffffff", _i64tow(-1, buffer, 16));
    EXPECT_STREQ(L"18446744073709551615", _ui64tow(ULLONG_MAX, buffer, 10));
    EXPECT_STREQ(L"", _itow(5, buffer, 1));
    EXPECT_STREQ(L"", _itow(5, buffer, 37));
    EXPECT_EQ(nullptr, _itow(5, nullptr, 10));
}

TEST(CaseInsensitiveCompare, FoldsAsciiOnly)
{
    EXPECT_EQ(0, _wcsicmp(L"Tavrion.XSL", L"tavrion.xsl"));
    EXPECT_LT(_wcsicmp(L"a", L"B"), 0);
    EXPECT_GT(_wcsicmp(L"b", L"A"), 0);
    EXPECT_LT(_wcsicmp(L"abc", L"abcd"), 0);
    EXPECT_NE(0, _wcsicmp(L"\x00E9", L"\x00C9"));   // the "C" locale leaves é alone
    EXPECT_LT(_wcsicmp(L"_", L"A"), 0);             // folds to lower case: '_' (0x5F) sorts before 'a'
    EXPECT_EQ(0, _wcsnicmp(L"ZARN90.DLL", L"zarn90.so", 6));
    EXPECT_NE(0, _wcsnicmp(L"ZARN90.DLL", L"zarn90.so", 8));
    EXPECT_EQ(0, _stricmp("MFER", "mfer"));
    EXPECT_EQ(0, _strnicmp("abcX", "ABCy", 3));
    EXPECT_LT(_stricmp("abc", "ABD"), 0);
}

TEST(BoundedCopies, CopiesTruncateOnlyWhenAskedAndOtherwiseRefuse)
{
    wchar_t small[6] = L"xxxxx";
    EXPECT_EQ(0, wcscpy_s(small, L"abcde"));
    EXPECT_STREQ(L"abcde", small);
    EXPECT_EQ(ERANGE, wcscpy_s(small, L"abcdef"));
    EXPECT_STREQ(L"", small);
    EXPECT_EQ(EINVAL, wcscpy_s(small, nullptr));
    EXPECT_EQ(EINVAL, wcscpy_s(nullptr, 4, L"a"));

    EXPECT_EQ(0, wcsncpy_s(small, L"abcdefgh", 3));
    EXPECT_STREQ(L"abc", small);
    EXPECT_EQ(STRUNCATE, wcsncpy_s(small, L"abcdefgh", _TRUNCATE));
    EXPECT_STREQ(L"abcde", small);

    EXPECT_EQ(0, wcscpy_s(small, L"ab"));
    EXPECT_EQ(0, wcscat_s(small, L"cde"));
    EXPECT_STREQ(L"abcde", small);
    EXPECT_EQ(ERANGE, wcscat_s(small, L"f"));
    EXPECT_STREQ(L"", small);
}

TEST(BoundedFormat, OverlongOutputIsTruncatedOnlyWhenAsked)
{
    wchar_t buffer[8];
    EXPECT_EQ(5, _snwprintf_s(buffer, 8, _TRUNCATE, L"%s-%d", L"ab", 12));
    EXPECT_STREQ(L"ab-12", buffer);
    EXPECT_EQ(-1, _snwprintf_s(buffer, 8, _TRUNCATE, L"%s", L"abcdefghij"));
    EXPECT_STREQ(L"abcdefg", buffer);
    EXPECT_EQ(-1, _snwprintf_s(buffer, 8, 3, L"%s", L"abcdef"));
    EXPECT_STREQ(L"abc", buffer);
    EXPECT_EQ(-1, swprintf_s(buffer, 8, L"%s", L"abcdefghij"));
    EXPECT_STREQ(L"", buffer);
    EXPECT_EQ(3, swprintf_s(buffer, 8, L"%03d", 7));
    EXPECT_STREQ(L"007", buffer);
}

// ---- heap ------------------------------------------------------------------------------

class ProcessHeap : public testing::Test {
protected:
    void SetUp() override { m_liveAtStart = platform::HeapLiveBlockCount(); }
    void TearDown() override
    {
        platform::SetHeapFailureCountdown(0);
        EXPECT_EQ(m_liveAtStart, platform::HeapLiveBlockCount()) << "a heap block leaked";
    }
    long m_liveAtStart = 0;
};

TEST_F(ProcessHeap, ReallocationKeepsTheContentAndZeroesTheGrownPart)
{
    const HANDLE heap = GetProcessHeap();
    ASSERT_NE(nullptr, heap);
    unsigned char* block = static_cast<unsigned char*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, 64));
    ASSERT_NE(nullptr, block);
    for (int i = 0; i < 64; ++i) ASSERT_EQ(0, block[i]);
    EXPECT_EQ(64u, HeapSize(heap, 0, block));
    for (int i = 0; i < 64; ++i) block[i] = static_cast<unsigned char>(i + 1);

    block = static_cast<unsigned char*>(HeapReAlloc(heap, HEAP_ZERO_MEMORY, block, 4096));
    ASSERT_NE(nullptr, block);
    EXPECT_EQ(4096u, HeapSize(heap, 0, block));
    for (int i = 0; i < 64; ++i) ASSERT_EQ(i + 1, block[i]);   // kept
    for (int i = 64; i < 4096; ++i) ASSERT_EQ(0, block[i]);    // grown part zeroed

    EXPECT_EQ(nullptr, HeapReAlloc(heap, HEAP_REALLOC_IN_PLACE_ONLY, block, 8192));
    EXPECT_EQ(block, HeapReAlloc(heap, HEAP_REALLOC_IN_PLACE_ONLY, block, 16));
    EXPECT_EQ(16u, HeapSize(heap, 0, block));
    EXPECT_TRUE(HeapFree(heap, 0, block));

    void* empty = HeapAlloc(heap, 0, 0);   // a zero-byte block is a real block
    ASSERT_NE(nullptr, empty);
    EXPECT_EQ(0u, HeapSize(heap, 0, empty));
    EXPECT_TRUE(HeapFree(heap, 0, empty));
}

TEST_F(ProcessHeap, CallerMistakesFailQuietly)
{
    const HANDLE heap = GetProcessHeap();
    EXPECT_TRUE(HeapFree(heap, 0, nullptr));
    int notFromTheHeap[8] = {};
    EXPECT_FALSE(HeapFree(heap, 0, &notFromTheHeap[4]));
    EXPECT_EQ(static_cast<SIZE_T>(-1), HeapSize(heap, 0, &notFromTheHeap[4]));
    EXPECT_EQ(nullptr, HeapAlloc(reinterpret_cast<HANDLE>(0x1234), 0, 8));
    EXPECT_EQ(nullptr, HeapReAlloc(heap, 0, nullptr, 8));
    EXPECT_EQ(nullptr, HeapAlloc(heap, 0, static_cast<SIZE_T>(-1)));
    EXPECT_THROW(HeapAlloc(heap, HEAP_GENERATE_EXCEPTIONS, static_cast<SIZE_T>(-1)), std::bad_alloc);
}

TEST_F(ProcessHeap, FailureInjectionHitsTheNthAllocationOnce)
{
    const HANDLE heap = GetProcessHeap();
    platform::SetHeapFailureCountdown(3);
    void* first = HeapAlloc(heap, 0, 16);
    void* second = HeapAlloc(heap, 0, 16);
    void* third = HeapAlloc(heap, 0, 16);
    void* fourth = HeapAlloc(heap, 0, 16);
    EXPECT_NE(nullptr, first);
    EXPECT_NE(nullptr, second);
    EXPECT_EQ(nullptr, third);
    EXPECT_NE(nullptr, fourth);

    platform::SetHeapFailureCountdown(1);
    EXPECT_THROW(HeapAlloc(heap, HEAP_GENERATE_EXCEPTIONS | HEAP_ZERO_MEMORY, 16), std::bad_alloc);

    platform::SetHeapFailureCountdown(1);   // a failed reallocation leaves the old block alive
    EXPECT_EQ(nullptr, HeapReAlloc(heap, 0, first, 1024));
    EXPECT_EQ(16u, HeapSize(heap, 0, first));

    for (void* block : {first, second, fourth}) EXPECT_TRUE(HeapFree(heap, 0, block));
}

// ---- run-time loading ------------------------------------------------------------------

struct LibraryNameCase {
    const wchar_t* given;
    const char* opened;
};
const LibraryNameCase kLibraryNames[] = {
    {L"ZARN90.DLL", "libzarn90.so"},
    {L"Zarn80.dll", "libzarn80.so"},
    {L"ZARN90", "libzarn90.so"},
    {L"Tavrion.ocx", "libtavrion.so"},
    {L"\\opt\\tavrion\\ZARN90.DLL", "/opt/tavrion/libzarn90.so"},
    {L"/opt/tavrion/ZARN90.DLL", "/opt/tavrion/libzarn90.so"},
    {L"work\\dir/ZARN80.DLL", "work/dir/libzarn80.so"},
    {L"libm.so.6", "libm.so.6"},
    {L"/usr/lib/libfoo.so", "/usr/lib/libfoo.so"},
    {L"folder.v2\\READER", "folder.v2/libreader.so"},   // a dot in the folder is no extension
    {L"", ""},
    {L"\\opt\\", ""},
    {L".DLL", ""},
};

TEST(LoadLibrary, WindowsLibraryNamesMapToSharedObjectFiles)
{
    for (const LibraryNameCase& c : kLibraryNames) {
        EXPECT_EQ(c.opened, platform::LibraryFileName(c.given)) << platform::ToUtf8(c.given);
    }
}

typedef double (*CosFunction)(double);

TEST(LoadLibrary, SharedObjectsLoadByNameAndGiveTheirSymbols)
{
    HMODULE math = LoadLibraryW(L"libm.so.6");
    ASSERT_NE(nullptr, math) << platform::LastLoaderError();
    CosFunction cosine = reinterpret_cast<CosFunction>(reinterpret_cast<void*>(GetProcAddress(math, "cos")));
    ASSERT_NE(nullptr, cosine);
    EXPECT_DOUBLE_EQ(1.0, cosine(0.0));

    EXPECT_EQ(nullptr, GetProcAddress(math, "no_such_symbol_here"));
    EXPECT_EQ(ERROR_PROC_NOT_FOUND, GetLastError());
    EXPECT_NE(std::string::npos, platform::LastLoaderError().find("no_such_symbol_here"));
    EXPECT_EQ(nullptr, GetProcAddress(math, reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(1))));   // no ordinals

    Dl_info where;   // the handle is the address the library is mapped at, as on Windows
    ASSERT_NE(0, dladdr(reinterpret_cast<void*>(cosine), &where));
    EXPECT_EQ(static_cast<void*>(math), where.dli_fbase);
    EXPECT_EQ(math, GetModuleHandleW(L"libm.so.6"));
    EXPECT_EQ(math, LoadLibraryW(L"libm.so.6"));   // one library, one handle, a second reference
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(math, path, MAX_PATH);
    ASSERT_GT(length, 0u);
    EXPECT_NE(std::wstring::npos, std::wstring(path).find(L"libm.so.6"));
    EXPECT_EQ(std::wstring::npos, std::wstring(path).find(L'\\'));

    EXPECT_TRUE(FreeLibrary(math));
    EXPECT_TRUE(FreeLibrary(math));
    EXPECT_FALSE(FreeLibrary(math));   // both references are gone
    EXPECT_EQ(ERROR_INVALID_HANDLE, GetLastError());
}

TEST(LoadLibrary, MissingLibrariesAndForeignHandlesFail)
{
    EXPECT_EQ(nullptr, LoadLibraryW(L"NOSUCHREADER.DLL"));
    EXPECT_EQ(ERROR_MOD_NOT_FOUND, GetLastError());
    EXPECT_NE(std::string::npos, platform::LastLoaderError().find("libnosuchreader.so"));
    EXPECT_EQ(nullptr, LoadLibraryW(nullptr));

    int notAModule = 0;
    HMODULE foreign = reinterpret_cast<HMODULE>(&notAModule);
    EXPECT_EQ(nullptr, GetProcAddress(foreign, "cos"));
    EXPECT_FALSE(FreeLibrary(foreign));
    wchar_t path[MAX_PATH];
    EXPECT_EQ(0u, GetModuleFileNameW(foreign, path, MAX_PATH));
    EXPECT_EQ(nullptr, GetModuleHandleW(L"NOTLOADED.DLL"));
}

TEST(LoadLibrary, FolderNamesOpenTheMappedFileThere)
{
    // A copy of the maths library under the name the mapping produces.
    HMODULE math = LoadLibraryW(L"libm.so.6");
    ASSERT_NE(nullptr, math);
    wchar_t source[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(math, source, MAX_PATH), 0u);
    FreeLibrary(math);
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("morvelance-load-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(platform::ToUtf8(source), folder / "libmathcopy90.so");

    std::wstring windowsStyle = platform::FromUtf8(folder.string()) + L"\\MATHCOPY90.DLL";
    HMODULE copy = LoadLibraryW(windowsStyle.c_str());
    ASSERT_NE(nullptr, copy) << platform::LastLoaderError();
    EXPECT_NE(nullptr, GetProcAddress(copy, "cos"));
    wchar_t opened[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(copy, opened, MAX_PATH), 0u);
    EXPECT_EQ(platform::FromUtf8((folder / "libmathcopy90.so").string()), opened);
    EXPECT_TRUE(FreeLibrary(copy));

    // Without the folder the copy is not on the search path.
    EXPECT_EQ(nullptr, LoadLibraryW(L"MATHCOPY90.DLL"));
    std::filesystem::remove_all(folder);
}

TEST(ModuleFileName, GivesTheExecutableAndTruncatesToShortBuffers)
{
    char exe[4096];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof(exe) - 1);
    ASSERT_GT(n, 0);
    const std::wstring expected = platform::FromUtf8(std::string(exe, static_cast<size_t>(n)));
    wchar_t path[4096];
    EXPECT_EQ(expected.size(), GetModuleFileNameW(nullptr, path, 4096));
    EXPECT_EQ(expected, path);
    EXPECT_EQ(expected.size(), GetModuleFileNameW(GetModuleHandleW(nullptr), path, 4096));

    wchar_t shortBuffer[5];
    EXPECT_EQ(5u, GetModuleFileNameW(nullptr, shortBuffer, 5));   // truncated and terminated
    EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
    EXPECT_EQ(expected.substr(0, 4), shortBuffer);
    EXPECT_EQ(0u, GetModuleFileNameW(nullptr, shortBuffer, 0));
}

// ---- names, version, last error ------------------------------------------------------------

TEST(ComputerName, NameIsUpperCaseAndSizesFollowWin32)
{
    DWORD size = 1;
    wchar_t tiny[1];
    EXPECT_FALSE(GetComputerNameW(tiny, &size));
    EXPECT_EQ(ERROR_BUFFER_OVERFLOW, GetLastError());
    ASSERT_GT(size, 1u);
    const DWORD needed = size;

    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    size = MAX_COMPUTERNAME_LENGTH + 1;
    ASSERT_TRUE(GetComputerNameW(name, &size));
    EXPECT_EQ(needed - 1, size);             // out: the length without the terminator
    EXPECT_EQ(size, std::wcslen(name));
    EXPECT_LE(size, static_cast<DWORD>(MAX_COMPUTERNAME_LENGTH));
    for (DWORD i = 0; i < size; ++i) {
        EXPECT_FALSE(name[i] >= L'a' && name[i] <= L'z');
        EXPECT_NE(L'.', name[i]);
    }
    EXPECT_FALSE(GetComputerNameW(name, nullptr));
}

TEST(UserName, SizeCountsTheTerminator)
{
    DWORD size = 0;
    EXPECT_FALSE(GetUserNameW(nullptr, &size));
    EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
    ASSERT_GT(size, 1u);
    std::wstring name(size, L'?');
    DWORD given = size;
    ASSERT_TRUE(GetUserNameW(&name[0], &given));
    EXPECT_EQ(size, given);
    EXPECT_EQ(size - 1, std::wcslen(name.c_str()));
}

TEST(Version, ReportsNt10AndChecksTheSize)
{
    OSVERSIONINFOW info = {};
    EXPECT_FALSE(GetVersionExW(&info));
    EXPECT_FALSE(GetVersionExW(nullptr));
    info.dwOSVersionInfoSize = sizeof(info);
    ASSERT_TRUE(GetVersionEx(&info));
    EXPECT_EQ(10u, info.dwMajorVersion);
    EXPECT_EQ(0u, info.dwMinorVersion);
    EXPECT_EQ(static_cast<DWORD>(VER_PLATFORM_WIN32_NT), info.dwPlatformId);
    EXPECT_STREQ(L"", info.szCSDVersion);
}

TEST(LastError, BelongsToTheThread)
{
    SetLastError(ERROR_ACCESS_DENIED);
    DWORD seenByOther = 12345;
    std::thread other([&seenByOther] {
        seenByOther = GetLastError();
        SetLastError(ERROR_FILE_NOT_FOUND);
    });
    other.join();
    EXPECT_EQ(ERROR_SUCCESS, seenByOther);
    EXPECT_EQ(ERROR_ACCESS_DENIED, GetLastError());
}

}  // namespace
