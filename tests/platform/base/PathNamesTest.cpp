// The one path rule: a file name's UTF-8 bytes and the library's wide path
// turn into each other without a code page, through the file system's own
// calls, and a narrow code page 932 form is refused rather than mangled.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/base/File.h"
#include "platform/base/PathNames.h"
#include "tests/support/TestSupport.h"

using namespace testsupport;

namespace {

const char* const kNames[] = {"検査/心電図.ecg", "心电图/患者记录.ecg", "Ünïcödé café/récord.ecg"};

std::string FolderOf(const std::string& path)
{
    return path.substr(0, path.rfind('/'));
}

}  // namespace

TEST(PathNames, AFileWrittenThroughItsWidePathIsFoundUnderItsUtf8Bytes)
{
    TempDir dir;
    for (const char* name : kNames) {
        const std::string native = dir.File(name);
        const std::wstring wide = platform::WidePath(native);
        ASSERT_TRUE(CreateDirectoryW(platform::WidePath(FolderOf(native)).c_str(), nullptr)) << name;
        CFile file;
        ASSERT_TRUE(file.Open(wide.c_str(), CFile::modeCreate | CFile::modeWrite)) << name;
        file.Write("ECG", 3);
        file.Close();

        EXPECT_EQ(ReadFileBytes(native), "ECG") << name;
        EXPECT_EQ(platform::NativePath(wide), native);
        CFileStatus status;
        ASSERT_TRUE(CFile::GetStatus(wide.c_str(), status)) << name;
        EXPECT_EQ(platform::NativePath(status.m_szFullName), native);
    }
}

TEST(PathNames, AFolderListingGivesTheNamesBackAsTheyWereWritten)
{
    TempDir dir;
    const std::string native = dir.File("記録 ü 记录.xml");
    dir.Write("記録 ü 记录.xml", "<a/>");
    CFileFind find;
    ASSERT_TRUE(find.FindFile(platform::WidePath(dir.File("*.xml")).c_str()));
    find.FindNextFile();
    EXPECT_EQ(find.GetFilePath(), CString(platform::WidePath(native).c_str()));
}

TEST(PathNames, WindowsSeparatorsMeetTheFileSystemAsSlashes)
{
    EXPECT_EQ(platform::NativePath(L"C:\\検査\\a.ecg"), "C:/検査/a.ecg");
}

TEST(PathNames, AHostsBareFileNameGetsTheCurrentFolder)
{
    EXPECT_EQ(platform::HostPath("q.ecg"), L"./q.ecg");
    EXPECT_EQ(platform::HostPath("検査.ecg"), L"./検査.ecg");
    EXPECT_EQ(platform::HostPath("rec/q.ecg"), L"rec/q.ecg");
    EXPECT_EQ(platform::HostPath("/tmp/ü.ecg"), L"/tmp/ü.ecg");
    EXPECT_EQ(platform::HostPath(""), L"");
}

TEST(PathNames, ABareNameOpensTheFileInTheCurrentFolder)
{
    TempDir dir;
    dir.Write("bare.ecg", "ECG");
    char saved[4096];
    ASSERT_NE(getcwd(saved, sizeof saved), nullptr);
    ASSERT_EQ(chdir(dir.Path().c_str()), 0);
    CFile file;
    const bool opened = file.Open(platform::HostPath("bare.ecg").c_str(), CFile::modeRead) != FALSE;
    const std::string full = opened ? platform::NativePath(file.GetFilePath().GetString()) : std::string();
    if (opened) file.Close();
    ASSERT_EQ(chdir(saved), 0);
    EXPECT_TRUE(opened);
    EXPECT_NE(full.find("bare.ecg"), std::string::npos);
}

TEST(PathNames, ACodePage932FormIsRefusedForACharacterTheCodePageLacks)
{
    std::string narrow = "untouched";
    EXPECT_FALSE(platform::PathInCodePage932(L"/data/Ünïcödé/a.ecg", &narrow));
    EXPECT_FALSE(platform::PathInCodePage932(L"/data/心电图/a.ecg", &narrow));   // 电 is simplified only
    EXPECT_EQ(narrow, "untouched");

    ASSERT_TRUE(platform::PathInCodePage932(L"/data/検査/a.ecg", &narrow));
    EXPECT_EQ(narrow, "/data/\x8C\x9F\x8D\xB8/a.ecg");
}
