#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/base/CodePage.h"
#include "platform/base/File.h"
#include "platform/base/Kernel.h"

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Each test works in its own folder and names files the way the system does:
// with '\' separators (Windows-style paths from the system's own code).
class FileTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "morvelance-file-XXXXXX").string();
        ASSERT_NE(nullptr, mkdtemp(&pattern[0]));
        m_root = pattern;
        m_findHandlesAtStart = platform::OpenFindHandleCount();
    }
    void TearDown() override
    {
        EXPECT_EQ(m_findHandlesAtStart, platform::OpenFindHandleCount()) << "a find handle leaked";
        std::error_code ignored;
        std::filesystem::permissions(m_root, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(m_root, ignored);
    }
    // The native path of a name inside the test folder.
    std::string Native(const std::string& relative) const { return m_root + "/" + relative; }
    // The same path as the system would spell it.
    std::wstring Win(const std::string& relative) const
    {
        std::wstring path = platform::FromUtf8(m_root + "/" + relative);
        for (wchar_t& ch : path) {
            if (ch == L'/') ch = L'\\';
        }
        return path;
    }

    std::string m_root;
    long m_findHandlesAtStart = 0;
};

// ---- paths -----------------------------------------------------------------------

TEST(Paths, EitherSlashSeparatesAndNativePathsUseForwardSlashes)
{
    EXPECT_EQ("/a/b/c.xml", platform::NativePath(L"\\a\\b/c.xml"));
    EXPECT_EQ("データ/記録.xml", platform::NativePath(L"データ\\記録.xml"));
    EXPECT_EQ("", platform::NativePath(nullptr));

    struct Case {
        const wchar_t* path;
        int index;
    };
    const Case cases[] = {{L"C:\\work\\Tavrion.xsl", 7}, {L"/work/dir/Tavrion.xsl", 9}, {L"dir\\sub/x", 7},
                          {L"dir/sub\\x", 7},            {L"Tavrion.xsl", -1},           {L"", -1},
                          {L"\\", 0}};
    for (const Case& c : cases) EXPECT_EQ(c.index, PathLastSeparator(CString(c.path))) << platform::ToUtf8(c.path);
}

// ---- CFile ------------------------------------------------------------------------

TEST_F(FileTest, BytesRoundTripThroughWritesAndSeeksBothWays)
{
    std::string bytes(70000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + i / 256);
    {
        CFile out;
        ASSERT_TRUE(out.Open(Win("record.bin").c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary));
        out.Write(bytes.data(), 1000);
        out.Write(bytes.data() + 1000, static_cast<UINT>(bytes.size() - 1000));
        EXPECT_EQ(0u, out.GetFileError());
        EXPECT_EQ(bytes.size(), out.GetLength());
    }   // the destructor closes
    EXPECT_EQ(bytes, ReadAll(Native("record.bin")));

    CFile in(Win("record.bin").c_str(), CFile::modeRead | CFile::shareDenyWrite);
    ASSERT_NE(CFile::hFileNull, in.m_hFile);
    EXPECT_EQ(L"record.bin", in.GetFileName());
    EXPECT_EQ(L"record", in.GetFileTitle());
    EXPECT_EQ(Win("record.bin"), in.GetFilePath().str());
    char chunk[16];
    EXPECT_EQ(bytes.size(), in.SeekToEnd());
    EXPECT_EQ(100u, in.Seek(100, CFile::begin));
    ASSERT_EQ(16u, in.Read(chunk, 16));
    EXPECT_EQ(bytes.substr(100, 16), std::string(chunk, 16));
    EXPECT_EQ(58u, in.Seek(-58, CFile::current));   // backward
    ASSERT_EQ(16u, in.Read(chunk, 16));
    EXPECT_EQ(bytes.substr(58, 16), std::string(chunk, 16));
    EXPECT_EQ(bytes.size() - 10, in.Seek(-10, CFile::end));
    EXPECT_EQ(10u, in.Read(chunk, 16));   // a short read at the end
    EXPECT_EQ(0u, in.Read(chunk, 16));
    EXPECT_EQ(bytes.size(), in.GetPosition());

    // A seek before the start fails and leaves the position alone.
    EXPECT_EQ(static_cast<ULONGLONG>(-1), in.Seek(-1, CFile::begin));
    EXPECT_EQ(ERROR_NEGATIVE_SEEK, GetLastError());
    EXPECT_EQ(bytes.size(), in.GetPosition());
}

TEST_F(FileTest, CreateTruncatesUnlessNoTruncate)
{
    WriteAll(Native("a.txt"), "0123456789");
    {
        CFile keep;
        ASSERT_TRUE(keep.Open(Win("a.txt").c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite));
        EXPECT_EQ(10u, keep.GetLength());
        keep.SeekToEnd();
        keep.Write("AB", 2);
        keep.SetLength(4);
        keep.SetLength(6);   // grows with zeros
    }
    EXPECT_EQ(std::string("0123\0\0", 6), ReadAll(Native("a.txt")));
    {
        CFile fresh;
        ASSERT_TRUE(fresh.Open(Win("a.txt").c_str(), CFile::modeCreate | CFile::modeWrite));
        EXPECT_EQ(0u, fresh.GetLength());
    }
    EXPECT_EQ("", ReadAll(Native("a.txt")));
}

TEST_F(FileTest, OpenFailuresReportCauseAndOsError)
{
    std::filesystem::create_directory(Native("folder"));
    struct Case {
        std::wstring path;
        UINT flags;
        int cause;
        DWORD osError;
    };
    const Case cases[] = {
        {Win("missing.bin"), CFile::modeRead, CFileException::fileNotFound, ERROR_FILE_NOT_FOUND},
        {Win("nofolder\\x.bin"), CFile::modeCreate | CFile::modeWrite, CFileException::badPath, ERROR_PATH_NOT_FOUND},
        {Win("folder"), CFile::modeRead, CFileException::accessDenied, ERROR_ACCESS_DENIED},
        {Win("x.bin"), CFile::modeCreate | 0x3u, CFileException::genericException, ERROR_INVALID_PARAMETER},
        {L"", CFile::modeRead, CFileException::badPath, ERROR_PATH_NOT_FOUND},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(platform::ToUtf8(c.path));
        CFile file;
        CFileException error;
        EXPECT_FALSE(file.Open(c.path.c_str(), c.flags, &error));
        EXPECT_EQ(c.cause, error.m_cause);
        EXPECT_EQ(static_cast<LONG>(c.osError), error.m_lOsError);
        EXPECT_EQ(c.osError, GetLastError());
        EXPECT_EQ(CFile::hFileNull, file.m_hFile);
    }
    wchar_t message[128];
    EXPECT_TRUE(CFileException(CFileException::fileNotFound, 2, L"x.bin").GetErrorMessage(message, 128));
    EXPECT_NE(std::wstring::npos, std::wstring(message).find(L"x.bin"));
}

TEST_F(FileTest, FailedWritesAreRecordedNotThrown)
{
    WriteAll(Native("ro.txt"), "abc");
    CFile reader;
    ASSERT_TRUE(reader.Open(Win("ro.txt").c_str(), CFile::modeRead | CFile::shareDenyNone));
    reader.Write("x", 1);
    EXPECT_EQ(ERROR_ACCESS_DENIED, reader.GetFileError());
    reader.Close();
    EXPECT_EQ(CFile::hFileNull, reader.m_hFile);

    CFile closed;
    closed.Write("x", 1);
    EXPECT_EQ(ERROR_INVALID_HANDLE, closed.GetFileError());
    char buffer[4];
    EXPECT_EQ(0u, closed.Read(buffer, 4));
    EXPECT_EQ(static_cast<ULONGLONG>(-1), closed.Seek(0, CFile::begin));
    EXPECT_EQ("abc", ReadAll(Native("ro.txt")));
}

// Windows share rules between two openers of one file.
struct ShareCase {
    UINT first;
    UINT second;
    bool secondOpens;
};
const UINT R = CFile::modeRead, W = CFile::modeWrite, RW = CFile::modeReadWrite;
const UINT None = CFile::shareDenyNone, DenyW = CFile::shareDenyWrite, DenyR = CFile::shareDenyRead,
           Excl = CFile::shareExclusive, Compat = CFile::shareCompat;
const ShareCase kShareRules[] = {
    // first opener       second opener       second opens
    {R | Compat,          R | Compat,         false},   // compatibility mode denies everything
    {R | DenyW,           R | DenyW,          true},
    {R | DenyW,           W | None,           false},
    {R | DenyW,           RW | None,          false},
    {R | None,            W | None,           true},
    {W | None,            R | DenyW,          false},   // denies writing, but a writer is there
    {W | None,            W | None,           true},
    {R | None,            R | Excl,           false},
    {R | DenyR,           W | None,           true},
    {R | DenyR,           R | None,           false},
    {RW | DenyW,          R | None,           true},
    {RW | DenyW,          R | DenyW,          false},
    {R | None,            W | DenyW,          true},    // the writer denies writing; the reader does not write
    {W | Excl,            R | None,           false},
};

TEST_F(FileTest, ShareModesFollowTheWindowsRules)
{
    WriteAll(Native("shared.bin"), "payload");
    for (const ShareCase& c : kShareRules) {
        SCOPED_TRACE(testing::Message() << "first 0x" << std::hex << c.first << ", second 0x" << c.second);
        CFile first;
        ASSERT_TRUE(first.Open(Win("shared.bin").c_str(), c.first));
        CFile second;
        CFileException error;
        EXPECT_EQ(c.secondOpens, second.Open(Win("shared.bin").c_str(), c.second, &error) != FALSE);
        if (!c.secondOpens) {
            EXPECT_EQ(CFileException::sharingViolation, error.m_cause);
            first.Close();
            EXPECT_TRUE(second.Open(Win("shared.bin").c_str(), c.second));   // free once the first closes
        }
    }
}

TEST_F(FileTest, ShareModesHoldBetweenProcesses)
{
    CFile holder;
    ASSERT_TRUE(holder.Open(Win("shared.bin").c_str(), CFile::modeCreate | CFile::modeWrite | CFile::shareDenyWrite));
    const pid_t child = fork();
    ASSERT_NE(-1, child);
    if (child == 0) {
        CFile reader, writer;
        const bool readerOpens = reader.Open(Win("shared.bin").c_str(), CFile::modeRead | CFile::shareDenyNone);
        const bool writerOpens = writer.Open(Win("shared.bin").c_str(), CFile::modeWrite | CFile::shareDenyNone);
        _exit((readerOpens ? 1 : 0) | (writerOpens ? 2 : 0));
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(1, WEXITSTATUS(status));   // the reader gets in, the writer is denied
}

TEST_F(FileTest, RefusedCreateLeavesTheFileAlone)
{
    WriteAll(Native("kept.bin"), "precious");
    CFile holder;
    ASSERT_TRUE(holder.Open(Win("kept.bin").c_str(), CFile::modeRead | CFile::shareDenyWrite));
    CFile writer;
    EXPECT_FALSE(writer.Open(Win("kept.bin").c_str(), CFile::modeCreate | CFile::modeWrite));
    EXPECT_EQ(ERROR_SHARING_VIOLATION, GetLastError());
    EXPECT_EQ("precious", ReadAll(Native("kept.bin")));
}

TEST_F(FileTest, StatusGivesSizeTimeAndReadOnlyOrFolderAttributes)
{
    WriteAll(Native("s.bin"), std::string(1234, 'x'));
    CFileStatus status;
    ASSERT_TRUE(CFile::GetStatus(Win("s.bin").c_str(), status));
    EXPECT_EQ(1234u, status.m_size);
    EXPECT_EQ(0, status.m_attribute);
    EXPECT_EQ(platform::FromUtf8(Native("s.bin")), status.m_szFullName);
    EXPECT_LE(std::llabs(static_cast<long long>(status.m_mtime.GetTime() - time(nullptr))), 60);

    chmod(Native("s.bin").c_str(), 0444);
    ASSERT_TRUE(CFile::GetStatus(Win("s.bin").c_str(), status));
    EXPECT_EQ(CFile::readOnly, status.m_attribute);
    ASSERT_TRUE(CFile::GetStatus(platform::FromUtf8(m_root).c_str(), status));
    EXPECT_EQ(CFile::directory, status.m_attribute);
    EXPECT_FALSE(CFile::GetStatus(Win("none").c_str(), status));
}

// ---- attributes, delete, move, copy ---------------------------------------------------

TEST_F(FileTest, ReadOnlyFilesRefuseDeletionUntilTheAttributeIsCleared)
{
    WriteAll(Native("f.txt"), "x");
    std::filesystem::create_directory(Native("d"));
    EXPECT_EQ(FILE_ATTRIBUTE_NORMAL, GetFileAttributesW(Win("f.txt").c_str()));
    EXPECT_EQ(FILE_ATTRIBUTE_DIRECTORY, GetFileAttributesW(Win("d").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Win("none.txt").c_str()));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, GetLastError());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Win("none\\f.txt").c_str()));
    EXPECT_EQ(ERROR_PATH_NOT_FOUND, GetLastError());

    ASSERT_TRUE(SetFileAttributesW(Win("f.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(FILE_ATTRIBUTE_READONLY, GetFileAttributesW(Win("f.txt").c_str()));
    EXPECT_FALSE(DeleteFileW(Win("f.txt").c_str()));   // Windows refuses, whoever asks
    EXPECT_EQ(ERROR_ACCESS_DENIED, GetLastError());
    ASSERT_TRUE(SetFileAttributesW(Win("f.txt").c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(DeleteFileW(Win("f.txt").c_str()));
    EXPECT_FALSE(PathFileExistsW(Win("f.txt").c_str()));
    EXPECT_FALSE(DeleteFileW(Win("f.txt").c_str()));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, GetLastError());
    EXPECT_FALSE(DeleteFileW(Win("d").c_str()));
    EXPECT_EQ(ERROR_ACCESS_DENIED, GetLastError());
}

TEST_F(FileTest, MoveRefusesOrReplacesAsAsked)
{
    WriteAll(Native("new.xml"), "new");
    WriteAll(Native("old.xml"), "old");
    EXPECT_FALSE(MoveFileW(Win("new.xml").c_str(), Win("old.xml").c_str()));
    EXPECT_EQ(ERROR_ALREADY_EXISTS, GetLastError());
    EXPECT_EQ("new", ReadAll(Native("new.xml")));
    EXPECT_EQ("old", ReadAll(Native("old.xml")));

    ASSERT_TRUE(MoveFileExW(Win("new.xml").c_str(), Win("old.xml").c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ("new", ReadAll(Native("old.xml")));
    EXPECT_FALSE(PathFileExistsW(Win("new.xml").c_str()));

    ASSERT_TRUE(MoveFileW(Win("old.xml").c_str(), Win("moved.xml").c_str()));
    EXPECT_EQ("new", ReadAll(Native("moved.xml")));
    EXPECT_FALSE(MoveFileW(Win("old.xml").c_str(), Win("x.xml").c_str()));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, GetLastError());

    std::filesystem::create_directory(Native("dir"));
    EXPECT_FALSE(MoveFileExW(Win("moved.xml").c_str(), Win("dir").c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(ERROR_ACCESS_DENIED, GetLastError());
    WriteAll(Native("locked.xml"), "locked");
    chmod(Native("locked.xml").c_str(), 0444);
    EXPECT_FALSE(MoveFileExW(Win("moved.xml").c_str(), Win("locked.xml").c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ("locked", ReadAll(Native("locked.xml")));
    EXPECT_FALSE(MoveFileExW(Win("moved.xml").c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));
    EXPECT_TRUE(CFile::Rename(Win("moved.xml").c_str(), Win("renamed.xml").c_str()));
    EXPECT_TRUE(CFile::Remove(Win("renamed.xml").c_str()));
}

TEST_F(FileTest, MoveAcrossFileSystemsNeedsCopyAllowed)
{
    struct stat here, shm;
    if (stat("/dev/shm", &shm) != 0 || access("/dev/shm", W_OK) != 0) GTEST_SKIP() << "no /dev/shm";
    ASSERT_EQ(0, stat(m_root.c_str(), &here));
    if (here.st_dev == shm.st_dev) GTEST_SKIP() << "/dev/shm is on the test folder's file system";
    const std::string outside = "/dev/shm/morvelance-move-" + std::to_string(getpid());
    WriteAll(outside, "across");
    const std::wstring wideOutside = platform::FromUtf8(outside);

    EXPECT_FALSE(MoveFileExW(wideOutside.c_str(), Win("in.bin").c_str(), 0));
    EXPECT_EQ(ERROR_NOT_SAME_DEVICE, GetLastError());
    WriteAll(Native("in.bin"), "old");
    ASSERT_TRUE(MoveFileExW(wideOutside.c_str(), Win("in.bin").c_str(),
                            MOVEFILE_COPY_ALLOWED | MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ("across", ReadAll(Native("in.bin")));
    EXPECT_FALSE(PathFileExistsW(wideOutside.c_str()));
    EXPECT_EQ(std::vector<std::string>({"in.bin"}), [&] {
        std::vector<std::string> names;   // no staging file left behind
        for (const auto& entry : std::filesystem::directory_iterator(m_root)) names.push_back(entry.path().filename());
        return names;
    }());
}

TEST_F(FileTest, CopyKeepsTimeAndRefusesWhenAsked)
{
    WriteAll(Native("src.bin"), "source bytes");
    const struct timespec past[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(0, utimensat(AT_FDCWD, Native("src.bin").c_str(), past, 0));

    ASSERT_TRUE(CopyFileW(Win("src.bin").c_str(), Win("dst.bin").c_str(), TRUE));
    EXPECT_EQ("source bytes", ReadAll(Native("dst.bin")));
    struct stat copied;
    ASSERT_EQ(0, stat(Native("dst.bin").c_str(), &copied));
    EXPECT_EQ(1000000000, copied.st_mtime);

    WriteAll(Native("dst.bin"), "other");
    EXPECT_FALSE(CopyFileW(Win("src.bin").c_str(), Win("dst.bin").c_str(), TRUE));
    EXPECT_EQ(ERROR_FILE_EXISTS, GetLastError());
    EXPECT_EQ("other", ReadAll(Native("dst.bin")));
    EXPECT_TRUE(CopyFileW(Win("src.bin").c_str(), Win("dst.bin").c_str(), FALSE));
    EXPECT_EQ("source bytes", ReadAll(Native("dst.bin")));

    // Onto itself (through another spelling): refused, and the source survives.
    EXPECT_FALSE(CopyFileW(Win("src.bin").c_str(), platform::FromUtf8(Native("./src.bin")).c_str(), FALSE));
    EXPECT_EQ("source bytes", ReadAll(Native("src.bin")));
    EXPECT_FALSE(CopyFileW(Win("none.bin").c_str(), Win("x.bin").c_str(), FALSE));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, GetLastError());
}

TEST_F(FileTest, FoldersAreMadeOnceAndRemovedOnlyWhenEmpty)
{
    EXPECT_TRUE(CreateDirectoryW(Win("a").c_str(), nullptr));
    EXPECT_FALSE(CreateDirectoryW(Win("a").c_str(), nullptr));
    EXPECT_EQ(ERROR_ALREADY_EXISTS, GetLastError());
    EXPECT_FALSE(CreateDirectoryW(Win("x\\y").c_str(), nullptr));
    EXPECT_EQ(ERROR_PATH_NOT_FOUND, GetLastError());
    WriteAll(Native("a/f"), "x");
    EXPECT_FALSE(RemoveDirectoryW(Win("a").c_str()));
    EXPECT_EQ(ERROR_DIR_NOT_EMPTY, GetLastError());
    EXPECT_FALSE(RemoveDirectoryW(Win("a\\f").c_str()));
    EXPECT_EQ(ERROR_DIRECTORY, GetLastError());
    ASSERT_TRUE(DeleteFileW(Win("a\\f").c_str()));
    EXPECT_TRUE(RemoveDirectoryW(Win("a\\").c_str()));
    EXPECT_FALSE(PathFileExistsW(Win("a").c_str()));
}

TEST_F(FileTest, TempFileNamesTakeSixteenBitsAndThreePrefixCharacters)
{
    const DWORD needed = GetTempPathW(0, nullptr);
    ASSERT_GT(needed, 1u);
    std::wstring path(needed, L'\0');
    EXPECT_EQ(needed - 1, GetTempPathW(needed, &path[0]));
    EXPECT_EQ(L'/', path[needed - 2]);

    wchar_t name[MAX_PATH];
    const std::wstring folder = Win("");
    EXPECT_EQ(0x1A2Bu, GetTempFileNameW(folder.c_str(), L"ECGDATA", 0x51A2B, name));   // 16 bits, 3 prefix chars
    EXPECT_EQ(folder + L"ECG1A2B.TMP", name);
    EXPECT_FALSE(PathFileExistsW(name));   // only named

    std::set<std::wstring> made;
    for (int i = 0; i < 3; ++i) {
        const UINT unique = GetTempFileNameW(folder.c_str(), L"mv", 0, name);
        ASSERT_NE(0u, unique);
        EXPECT_TRUE(PathFileExistsW(name));   // created, so the next call picks another
        made.insert(name);
    }
    EXPECT_EQ(3u, made.size());
    EXPECT_EQ(0u, GetTempFileNameW(Win("nowhere").c_str(), L"mv", 0, name));
    EXPECT_EQ(ERROR_DIRECTORY, GetLastError());

    wchar_t cwd[4096];
    const DWORD length = GetCurrentDirectoryW(4096, cwd);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(length + 1, GetCurrentDirectoryW(2, cwd));   // short: the size needed
}

// ---- finding files ---------------------------------------------------------------------

class FindTest : public FileTest {
protected:
    void SetUp() override
    {
        FileTest::SetUp();
        std::filesystem::create_directories(Native("data/Sub"));
        for (const char* name : {"Alpha.TXT", "beta.txt", "gamma.dat", "noext", "a1.txt", "ab12.txt"}) {
            WriteAll(Native(std::string("data/") + name), name);
        }
    }

    std::vector<std::wstring> Find(const std::string& mask, DWORD* error = nullptr)
    {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW(Win("data\\" + mask).c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) {
            if (error) *error = GetLastError();
            return names;
        }
        do {
            names.push_back(data.cFileName);
        } while (FindNextFileW(find, &data));
        EXPECT_EQ(ERROR_NO_MORE_FILES, GetLastError());
        EXPECT_TRUE(FindClose(find));
        return names;
    }
};

TEST_F(FindTest, WildcardsMatchCaseInsensitivelyInNameOrder)
{
    typedef std::vector<std::wstring> Names;
    EXPECT_EQ(Names({L"a1.txt", L"ab12.txt", L"Alpha.TXT", L"beta.txt"}), Find("*.txt"));
    EXPECT_EQ(Names({L"a1.txt"}), Find("?1.TXT"));
    EXPECT_EQ(Names({L"ab12.txt"}), Find("a??2.*"));
    EXPECT_EQ(Names({L"beta.txt"}), Find("BETA.TXT"));   // no wildcard: still case-blind
    EXPECT_EQ(Names({L"noext"}), Find("noext.*"));       // ".*" may match nothing
    const Names all = {L".", L"..", L"a1.txt", L"ab12.txt", L"Alpha.TXT", L"beta.txt", L"gamma.dat", L"noext", L"Sub"};
    EXPECT_EQ(all, Find("*.*"));
    EXPECT_EQ(all, Find("*"));

    DWORD error = 0;
    EXPECT_TRUE(Find("zz*", &error).empty());
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, error);
    WIN32_FIND_DATAW data;
    EXPECT_EQ(INVALID_HANDLE_VALUE, FindFirstFileW(Win("nowhere\\*.*").c_str(), &data));
    EXPECT_EQ(ERROR_PATH_NOT_FOUND, GetLastError());
}

TEST_F(FindTest, EntriesCarryAttributesAndSizes)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(Win("data\\gamma.dat").c_str(), &data);
    ASSERT_NE(INVALID_HANDLE_VALUE, find);
    EXPECT_EQ(FILE_ATTRIBUTE_NORMAL, data.dwFileAttributes);
    EXPECT_EQ(9u, data.nFileSizeLow);
    EXPECT_EQ(0u, data.nFileSizeHigh);
    SYSTEMTIME written;
    ASSERT_TRUE(FileTimeToSystemTime(&data.ftLastWriteTime, &written));
    EXPECT_GE(written.wYear, 2020);
    EXPECT_FALSE(FindNextFileW(find, &data));
    EXPECT_TRUE(FindClose(find));
    EXPECT_FALSE(FindClose(find));   // a closed handle stays dead
    EXPECT_FALSE(FindNextFileW(find, &data));
    EXPECT_EQ(ERROR_INVALID_HANDLE, GetLastError());

    find = FindFirstFileW(Win("data\\sub").c_str(), &data);
    ASSERT_NE(INVALID_HANDLE_VALUE, find);
    EXPECT_EQ(FILE_ATTRIBUTE_DIRECTORY, data.dwFileAttributes);
    EXPECT_TRUE(FindClose(find));
}

TEST_F(FindTest, FileFindLoopSeesEveryEntryOnce)
{
    CFileFind finder;
    BOOL working = finder.FindFile(Win("data\\*.*").c_str());
    ASSERT_TRUE(working);
    std::vector<std::wstring> files;
    int dots = 0, folders = 0;
    while (working) {
        working = finder.FindNextFile();
        if (finder.IsDots()) {
            ++dots;
            continue;
        }
        if (finder.IsDirectory()) {
            ++folders;
            continue;
        }
        files.push_back(finder.GetFileName().str());
        EXPECT_EQ(Win("data\\") + finder.GetFileName().str(), finder.GetFilePath().str());
    }
    EXPECT_EQ(2, dots);
    EXPECT_EQ(1, folders);
    EXPECT_EQ(6u, files.size());
    EXPECT_FALSE(finder.FindNextFile());
    EXPECT_EQ(L"noext", files[5]);   // the last entry is delivered with FALSE
    finder.Close();
    EXPECT_FALSE(finder.FindFile(Win("data\\*.none").c_str()));
}

TEST(FileNameMatch, WildcardsFollowTheWindowsRules)
{
    struct Case {
        const wchar_t* pattern;
        const wchar_t* name;
        bool matches;
    };
    const Case cases[] = {
        {L"*", L"", true},          {L"*.*", L"noext", true},     {L"*.xml", L"A.XML", true},
        {L"*.xml", L"a.xml.bak", false}, {L"a*b*c", L"aXXbYYc", true}, {L"a*b*c", L"aXXbYY", false},
        {L"???", L"ab", false},     {L"??", L"ab", true},         {L"Ｔ*", L"ｔest", true},   // full-width letters fold
        {L"É*", L"été", true},      {L"data.*", L"data", true},   {L"data.*", L"database", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.matches, platform::MatchFileName(c.pattern, c.name))
            << platform::ToUtf8(c.pattern) << " vs " << platform::ToUtf8(c.name);
    }
}

}  // namespace
