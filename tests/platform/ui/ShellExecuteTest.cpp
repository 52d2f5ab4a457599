// The shell's "open" through a stand-in opener first on PATH: the target
// reaches it as one argument that no shell reads, a path with '/' and run in
// its folder; failures are reported with their codes and an error box
// unless the caller asks for none.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/base/Kernel.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "platform/ui/windowing/ShellExecute.h"
#include "tests/support/StandInOpener.h"

using testsupport::OpenerBehaviour;
using testsupport::StandInOpener;

namespace {

SHELLEXECUTEINFOW OpenRequest(LPCWSTR file, ULONG mask = SEE_MASK_FLAG_NO_UI, LPCWSTR folder = nullptr)
{
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = mask;
    info.lpVerb = L"open";
    info.lpFile = file;
    info.lpDirectory = folder;
    info.nShow = SW_SHOWMAXIMIZED;
    return info;
}

INT_PTR AppCode(const SHELLEXECUTEINFOW& info)
{
    return reinterpret_cast<INT_PTR>(info.hInstApp);
}

}  // namespace

TEST(ShellExecute, AnAddressReachesTheOpenerAsOneArgumentThatNoShellReads)
{
    StandInOpener opener;
    platform::ui::MessageBoxRecorder boxes;
    const std::string address = "https://example.com/report?id=1&x=$(touch pwned); `id` | cat > out";
    const CString wide = testsupport::Wide(address);
    SHELLEXECUTEINFOW info = OpenRequest(wide, SEE_MASK_DEFAULT);
    ASSERT_TRUE(ShellExecuteExW(&info));
    EXPECT_GT(AppCode(info), 32);
    EXPECT_EQ(std::vector<std::string>{address}, opener.Arguments());
    EXPECT_EQ(0, boxes.Count());
}

TEST(ShellExecute, APathGoesWithSlashesAndRunsInItsFolder)
{
    StandInOpener opener;
    const std::string folder = opener.Scratch();
    std::filesystem::create_directory(folder + "/sub");
    std::ofstream(folder + "/sub/doc 1.txt") << "x";
    std::ofstream(folder + "/-help") << "x";
    const CString wideFolder = testsupport::Wide(folder);

    SHELLEXECUTEINFOW relative = OpenRequest(L"sub\\doc 1.txt", SEE_MASK_FLAG_NO_UI, wideFolder);
    ASSERT_TRUE(ShellExecuteExW(&relative));
    EXPECT_EQ(std::vector<std::string>{"sub/doc 1.txt"}, opener.Arguments());
    EXPECT_EQ(std::filesystem::canonical(folder), std::filesystem::canonical(opener.Folder()));

    // A name that starts like an option is handed on as a path.
    SHELLEXECUTEINFOW option = OpenRequest(L"-help", SEE_MASK_FLAG_NO_UI, wideFolder);
    ASSERT_TRUE(ShellExecuteExW(&option));
    EXPECT_EQ(std::vector<std::string>{"./-help"}, opener.Arguments());
}

// Each way to fail: what GetLastError and hInstApp say, and whether the
// opener ran.
struct FailureRow {
    const char* name;
    OpenerBehaviour behaviour;
    const wchar_t* verb;
    const wchar_t* file;     // "%s" stands for the scratch folder
    const wchar_t* folder;   // the same; null for none
    DWORD error;
    INT_PTR appCode;
    bool openerRuns;
};

static const FailureRow kFailures[] = {
    // name                 opener                         verb      file                 folder            error                  hInstApp                openerRuns
    {"missing file",        OpenerBehaviour::Opens,        L"open",  L"%s/none.txt",      nullptr,          ERROR_FILE_NOT_FOUND,  SE_ERR_FNF,             false},
    {"missing folder",      OpenerBehaviour::Opens,        L"open",  L"doc.txt",          L"%s/nowhere",    ERROR_PATH_NOT_FOUND,  SE_ERR_PNF,             false},
    {"another verb",        OpenerBehaviour::Opens,        L"print", L"%s/doc.txt",       nullptr,          ERROR_NO_ASSOCIATION,  SE_ERR_NOASSOC,         false},
    {"no opener",           OpenerBehaviour::Absent,       L"open",  L"https://x.example", nullptr,         ERROR_NO_ASSOCIATION,  SE_ERR_NOASSOC,         false},
    {"opener fails",        OpenerBehaviour::FailsToOpen,  L"open",  L"https://x.example", nullptr,         ERROR_GEN_FAILURE,     SE_ERR_ASSOCINCOMPLETE, true},
};

TEST(ShellExecute, FailuresAreReportedWithAnErrorBoxUnlessNoneIsAsked)
{
    for (const FailureRow& row : kFailures) {
        for (ULONG mask : {SEE_MASK_DEFAULT, SEE_MASK_FLAG_NO_UI}) {
            SCOPED_TRACE(std::string(row.name) + (mask ? " without a box" : " with a box"));
            StandInOpener opener(row.behaviour);
            std::ofstream(opener.Scratch() + "/doc.txt") << "x";
            CString file, folder;
            file.Format(row.file, testsupport::Wide(opener.Scratch()).GetString());
            if (row.folder) folder.Format(row.folder, testsupport::Wide(opener.Scratch()).GetString());
            platform::ui::MessageBoxRecorder boxes;
            SHELLEXECUTEINFOW info = OpenRequest(file, mask, row.folder ? folder.GetString() : nullptr);
            info.lpVerb = row.verb;
            SetLastError(0);
            EXPECT_FALSE(ShellExecuteExW(&info));
            EXPECT_EQ(row.error, GetLastError());
            EXPECT_EQ(row.appCode, AppCode(info));
            EXPECT_EQ(row.openerRuns, opener.Ran());
            ASSERT_EQ(mask ? 0 : 1, boxes.Count());
            if (!mask) {
                EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), boxes.Last().type);
                EXPECT_EQ(file, boxes.Last().caption);
                EXPECT_NE(-1, boxes.Last().text.Find(file));
            }
        }
    }
}

TEST(ShellExecute, MalformedRequestsAreRefusedWithoutABox)
{
    StandInOpener opener;
    platform::ui::MessageBoxRecorder boxes;
    SetLastError(0);
    EXPECT_FALSE(ShellExecuteExW(nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    SHELLEXECUTEINFOW small = OpenRequest(L"https://x.example", SEE_MASK_DEFAULT);
    small.cbSize = sizeof(small) - 1;
    EXPECT_FALSE(ShellExecuteExW(&small));
    SHELLEXECUTEINFOW empty = OpenRequest(L"", SEE_MASK_DEFAULT);
    EXPECT_FALSE(ShellExecuteExW(&empty));
    SHELLEXECUTEINFOW parameters = OpenRequest(L"https://x.example", SEE_MASK_DEFAULT);
    parameters.lpParameters = L"--new-window";
    EXPECT_FALSE(ShellExecuteExW(&parameters));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    EXPECT_FALSE(opener.Ran());
    EXPECT_EQ(0, boxes.Count());
}
