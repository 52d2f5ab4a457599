// Shared helpers of the test programs: where things are, temporary folders,
// and the installation the library starts with.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "platform/base/CodePage.h"
#include "platform/base/Strings.h"

namespace testsupport {

std::string SourceDir();
std::string BinaryDir();
// The assembled work directory of the build (layout stylesheet, master files, readers).
std::string WorkDir();
// The folder holding libzarn90.so and libzarn80.so.
std::string ZarnDir();
// A file of the shared real-data folder, or "" when the folder is absent.
std::string SharedData(const std::string& relative);
// The shared real-data folder itself, whether or not it is there.
std::string SharedDataDir();
// The registry file the test program runs with.
std::string RegistryFile();

// Writes a registry whose server path lies in `workDir` (an empty folder
// writes a registry without the key) and makes it the one the platform reads.
void UseRegistryWithWorkDir(const std::string& workDir);
// The same with the server's full path given (an empty path: no key).
void UseRegistryServerPath(const std::string& serverPath);

// A UTF-8 text (paths, test data) as wide text.
inline CString Wide(const std::string& utf8)
{
    return CString(platform::FromUtf8(utf8));
}

// A wide text as UTF-8, for paths and messages.
inline std::string Utf8(const CString& text)
{
    return platform::ToUtf8(std::wstring(text.GetString()));
}

// A fresh folder under the system's temporary folder ("<stem>XXXXXX"),
// removed with its contents when the test process ends; "" when none could
// be made.
std::string ProcessTempFolder(const std::string& stem);

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }
    // Writes bytes to a file in the folder and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::string m_path;
};

std::string ReadFileBytes(const std::string& path);

// The names in a folder ("." and ".." left out), sorted; none when the
// folder cannot be read.
std::vector<std::string> FolderEntries(const std::string& folder);

}  // namespace testsupport

// Failures show the texts, not their addresses; declared once here so that
// every test program prints a CString the same way.
inline void PrintTo(const CString& text, std::ostream* os)
{
    *os << '"' << testsupport::Utf8(text) << '"';
}

// Skips the test with a message when a shared real-data file is absent.
#define REQUIRE_SHARED_DATA(var, relative)                                                          \
    const std::string var = testsupport::SharedData(relative);                                      \
    if (var.empty()) GTEST_SKIP() << "shared data not present (" << (relative) << "); skipping"
