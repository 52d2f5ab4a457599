// Binary values long enough to wrap, written to the registry file as the
// registry editor writes them and read back byte for byte.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/base/Registry.h"
#include "tests/support/TestSupport.h"

namespace {

// A registry file of the test's own, named through the environment.
class RegistryHexWrap : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* previous = std::getenv("MORVELANCE_REGISTRY");
        if (previous) m_previous = previous;
        m_hadPrevious = previous != nullptr;
        m_path = m_dir.File("wrap.reg");
        ::setenv("MORVELANCE_REGISTRY", m_path.c_str(), 1);
        platform::ReloadRegistry();
    }
    void TearDown() override
    {
        if (m_hadPrevious) ::setenv("MORVELANCE_REGISTRY", m_previous.c_str(), 1);
        else ::unsetenv("MORVELANCE_REGISTRY");
        platform::ReloadRegistry();
    }

    testsupport::TempDir m_dir;
    std::string m_path, m_previous;
    bool m_hadPrevious = false;
};

// The lines of the value `name` in the file: its first line and its continuations.
std::vector<std::string> ValueLines(const std::string& file, const std::string& name)
{
    std::vector<std::string> lines;
    std::istringstream in(file);
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("\"" + name + "\"=", 0) == 0) inside = true;
        if (!inside) continue;
        lines.push_back(line);
        if (line.empty() || line.back() != '\\') break;
    }
    return lines;
}

}  // namespace

TEST_F(RegistryHexWrap, LongBinaryValuesWrapBeforeColumnSeventyNineAndReadBackWhole)
{
    // Names of three lengths, so the first line starts at each column modulo 3.
    const std::vector<std::string> names = {"B", "Bl", "Blob", "A much longer value name"};
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Morvelance\\Wrap", 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    std::vector<BYTE> blob(200);
    for (size_t i = 0; i < blob.size(); ++i) blob[i] = static_cast<BYTE>(i * 37 + 11);
    for (const std::string& name : names)
        ASSERT_EQ(RegSetValueExW(key, testsupport::Wide(name).GetString(), 0, REG_BINARY, blob.data(),
                                 static_cast<DWORD>(blob.size())),
                  ERROR_SUCCESS);
    RegCloseKey(key);

    std::ifstream in(m_path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::vector<std::string> lines = ValueLines(text.str(), name);
        ASSERT_GT(lines.size(), 2u);
        size_t bytes = 0;
        for (size_t i = 0; i < lines.size(); ++i) {
            const std::string& line = lines[i];
            const bool wrapped = i + 1 < lines.size();
            if (i > 0) {
                EXPECT_EQ(line.rfind("  ", 0), 0u) << line;
            }
            if (wrapped) {
                // Each wrapped line is as full as it can be: "xx," more would pass column 78.
                ASSERT_EQ(line.substr(line.size() - 2), ",\\") << line;
                const size_t content = line.size() - 1;
                EXPECT_LE(content, 78u) << line;
                EXPECT_GT(content + 3, 78u) << line;
            } else {
                EXPECT_NE(line.back(), ',') << line;
            }
            const size_t from = i == 0 ? line.find(':') + 1 : 2;
            const std::string digits = line.substr(from, line.size() - from - (wrapped ? 1 : 0));
            bytes += (digits.size() + 1) / 3;
        }
        EXPECT_EQ(bytes, blob.size());
        // A continuation line holds 25 bytes, as the registry editor's do.
        EXPECT_EQ(lines[1].size(), 2u + 25 * 3 + 1) << lines[1];
    }

    platform::ReloadRegistry();
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Morvelance\\Wrap", 0, KEY_READ, &key), ERROR_SUCCESS);
    for (const std::string& name : names) {
        std::vector<BYTE> back(400);
        DWORD size = static_cast<DWORD>(back.size()), type = 0;
        ASSERT_EQ(RegQueryValueExW(key, testsupport::Wide(name).GetString(), nullptr, &type, back.data(), &size),
                  ERROR_SUCCESS);
        EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
        back.resize(size);
        EXPECT_EQ(back, blob) << name;
    }
    RegCloseKey(key);
}
