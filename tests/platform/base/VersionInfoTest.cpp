#include "platform/base/VersionInfo.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

class VersionInfoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/morvelance-version-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_folder = pattern;
    }

    void TearDown() override
    {
        std::string command = "rm -rf '" + m_folder + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }

    // The file itself need not exist: only its sidecar carries the resource.
    std::wstring File(const char* name, const std::string& sidecar) const
    {
        std::string path = m_folder + "/" + name;
        std::ofstream(path + ".version", std::ios::binary) << sidecar;
        return std::wstring(path.begin(), path.end());
    }

    static std::vector<BYTE> Block(const std::wstring& file)
    {
        DWORD handle = 99;
        DWORD size = GetFileVersionInfoSizeW(file.c_str(), &handle);
        EXPECT_EQ(handle, 0u);
        std::vector<BYTE> block(size);
        if (size) {
            EXPECT_TRUE(GetFileVersionInfoW(file.c_str(), 0, size, block.data()));
        }
        return block;
    }

    static std::wstring Text(const void* block, LPCWSTR subBlock, UINT* length = nullptr)
    {
        LPVOID value = nullptr;
        UINT len = 0;
        if (!VerQueryValueW(block, subBlock, &value, &len)) return L"<none>";
        if (length) *length = len;
        return std::wstring(static_cast<const wchar_t*>(value));
    }

    std::string m_folder;
};

const char* const kOcxSidecar =
    "# Tavrion.ocx\n"
    "FileVersion = 3.1.0.12\n"
    "ProductVersion = 3, 1, 0, 0\n"
    "StringFileInfo\\041103a4\\FileVersion = 3, 1, 0, 00012\n"
    "StringFileInfo\\041103a4\\FileDescription = \xE5\xBF\x83\xE9\x9B\xBB\xE5\x9B\xB3\n"   // 心電図
    "\\StringFileInfo\\040904e4\\ProductVersion = \"1.20 \"\r\n"
    "StringFileInfo\\040904e4\\SpecialBuild =\n"
    "; VarFileInfo\\Translation = ignored comment\n";

}  // namespace

TEST_F(VersionInfoTest, StringValuesAreFoundIgnoringCaseButNotIntermediateLevels)
{
    std::vector<BYTE> block = Block(File("Tavrion.ocx", kOcxSidecar));
    ASSERT_FALSE(block.empty());
    UINT length = 0;
    EXPECT_EQ(Text(block.data(), L"\\StringFileInfo\\040904e4\\ProductVersion", &length), L"1.20 ");
    EXPECT_EQ(length, 6u);   // characters with the NUL
    EXPECT_EQ(Text(block.data(), L"StringFileInfo\\041103A4\\fileversion"), L"3, 1, 0, 00012");
    EXPECT_EQ(Text(block.data(), L"\\StringFileInfo\\041103a4\\FileDescription"), L"心電図");
    EXPECT_EQ(Text(block.data(), L"\\StringFileInfo\\040904e4\\SpecialBuild", &length), L"");
    EXPECT_EQ(length, 1u);
    EXPECT_EQ(Text(block.data(), L"\\StringFileInfo\\040904e4\\Comments"), L"<none>");
    EXPECT_EQ(Text(block.data(), L"\\StringFileInfo\\040904e4"), L"<none>");   // intermediate levels are not values
    EXPECT_EQ(Text(block.data(), L"\\StringFileInfo"), L"<none>");
}

TEST_F(VersionInfoTest, FixedInformationCarriesTheFileVersionAndType)
{
    std::vector<BYTE> block = Block(File("Tavrion.ocx", kOcxSidecar));
    ASSERT_FALSE(block.empty());
    LPVOID value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &value, &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    const VS_FIXEDFILEINFO* info = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(info->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(info->dwFileVersionMS, 0x00030001u);
    EXPECT_EQ(info->dwFileVersionLS, 0x0000000Cu);
    EXPECT_EQ(info->dwProductVersionMS, 0x00030001u);
    EXPECT_EQ(info->dwProductVersionLS, 0x00000000u);
    EXPECT_EQ(info->dwFileType, VFT_DLL);
}

// Without numeric lines, the first string table's texts give the fixed versions.
TEST_F(VersionInfoTest, FixedVersionIsParsedFromTheStringTable)
{
    std::vector<BYTE> block = Block(File("Host.exe",
                                         "StringFileInfo\\041103a4\\FileVersion = 2, 5, 1, 300 (beta)\n"
                                         "StringFileInfo\\041103a4\\ProductVersion = 2.5\n"
                                         "FileFlags = 0x2\n"));
    LPVOID value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &value, &length));
    const VS_FIXEDFILEINFO* info = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(info->dwFileVersionMS, 0x00020005u);
    EXPECT_EQ(info->dwFileVersionLS, 0x0001012Cu);
    EXPECT_EQ(info->dwProductVersionMS, 0x00020005u);
    EXPECT_EQ(info->dwProductVersionLS, 0u);
    EXPECT_EQ(info->dwFileFlags, 2u);
    EXPECT_EQ(info->dwFileType, VFT_APP);
}

TEST_F(VersionInfoTest, TranslationsListTheStringTablesInOrder)
{
    struct Pair {
        WORD language;
        WORD codePage;
    };
    LPVOID value = nullptr;
    UINT length = 0;

    std::vector<BYTE> derived = Block(File("a.dll", kOcxSidecar));   // from the string tables, in order
    ASSERT_TRUE(VerQueryValueW(derived.data(), L"\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 2 * sizeof(Pair));
    const Pair* pairs = static_cast<const Pair*>(value);
    EXPECT_EQ(pairs[0].language, 0x0411);
    EXPECT_EQ(pairs[0].codePage, 0x03a4);
    EXPECT_EQ(pairs[1].language, 0x0409);
    EXPECT_EQ(pairs[1].codePage, 0x04e4);

    std::vector<BYTE> listed = Block(File("b.dll", "VarFileInfo\\Translation = 0x0409 0x04b0, 041103a4\n"));
    ASSERT_TRUE(VerQueryValueW(listed.data(), L"\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 2 * sizeof(Pair));
    pairs = static_cast<const Pair*>(value);
    EXPECT_EQ(pairs[0].language, 0x0409);
    EXPECT_EQ(pairs[0].codePage, 0x04b0);
    EXPECT_EQ(pairs[1].language, 0x0411);
    EXPECT_EQ(pairs[1].codePage, 0x03a4);

    std::vector<BYTE> none = Block(File("c.dll", "FileVersion = 1.0\n"));
    EXPECT_FALSE(VerQueryValueW(none.data(), L"\\VarFileInfo\\Translation", &value, &length));
}

TEST_F(VersionInfoTest, MissingFilesAndShortBuffersFail)
{
    std::string missing = m_folder + "/NoSidecar.ocx";
    std::wstring wideMissing(missing.begin(), missing.end());
    DWORD handle = 5;
    EXPECT_EQ(GetFileVersionInfoSizeW(wideMissing.c_str(), &handle), 0u);
    EXPECT_EQ(handle, 0u);
    BYTE buffer[512];
    EXPECT_FALSE(GetFileVersionInfoW(wideMissing.c_str(), 0, sizeof buffer, buffer));
    EXPECT_EQ(GetFileVersionInfoSizeW(nullptr, nullptr), 0u);

    std::wstring file = File("Tavrion.ocx", kOcxSidecar);
    DWORD size = GetFileVersionInfoSizeW(file.c_str(), nullptr);
    std::vector<BYTE> block(size);
    EXPECT_FALSE(GetFileVersionInfoW(file.c_str(), 0, size - 1, block.data()));   // never cut short
    EXPECT_FALSE(GetFileVersionInfoW(file.c_str(), 0, size, nullptr));

    LPVOID value = nullptr;
    UINT length = 0;
    std::vector<BYTE> garbage(256, 0xAB);
    EXPECT_FALSE(VerQueryValueW(garbage.data(), L"\\", &value, &length));
    EXPECT_FALSE(VerQueryValueW(nullptr, L"\\", &value, &length));
    ASSERT_TRUE(GetFileVersionInfoW(file.c_str(), 0, size, block.data()));
    EXPECT_FALSE(VerQueryValueW(block.data(), nullptr, &value, &length));
    EXPECT_FALSE(VerQueryValueW(block.data(), L"\\", nullptr, &length));
}

// The caller may move the block: lookups still land inside the copy.
TEST_F(VersionInfoTest, BlockIsRelocatable)
{
    std::vector<BYTE> original = Block(File("Tavrion.ocx", kOcxSidecar));
    std::vector<BYTE> copy(original.size() + 16);
    std::memcpy(copy.data() + 8, original.data(), original.size());
    std::fill(original.begin(), original.end(), 0);
    LPVOID value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(copy.data() + 8, L"\\StringFileInfo\\041103a4\\FileVersion", &value, &length));
    const BYTE* at = static_cast<const BYTE*>(value);
    EXPECT_GE(at, copy.data() + 8);
    EXPECT_LE(at + length * sizeof(wchar_t), copy.data() + 8 + original.size());
    std::wstring version(static_cast<const wchar_t*>(value));
    EXPECT_EQ(version.substr(version.size() - 5), L"00012");   // the system keeps the last five characters
}
