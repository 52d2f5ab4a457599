#include "platform/ui/windowing/ShellExecute.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cwctype>
#include <string>
#include <thread>

#include "platform/base/CodePage.h"
#include "platform/base/Kernel.h"
#include "platform/base/MessageBox.h"
#include "platform/base/PathNames.h"
#include "platform/base/Strings.h"

extern char** environ;

namespace {

const char kOpener[] = "xdg-open";
// How long the opener is given to report; it normally hands the target on
// and ends at once.
const std::chrono::milliseconds kOpenerReportTime(5000);
const std::chrono::milliseconds kOpenerPoll(5);
// The opener's exit codes that name the fault.
const int kOpenerFileMissing = 2;
const int kOpenerToolMissing = 3;
const int kStartedApp = 42;   // any value above 32 says the program started

enum class Outcome { Started, FileNotFound, FolderNotFound, NoOpener, OpenerFailed };

struct Failure {
    Outcome outcome;
    DWORD error;
    int seError;
    const wchar_t* text;   // %s: the target
};

const Failure kFailures[] = {
    {Outcome::FileNotFound, ERROR_FILE_NOT_FOUND, SE_ERR_FNF,
     L"Cannot find '%s'. Make sure the name is written correctly."},
    {Outcome::FolderNotFound, ERROR_PATH_NOT_FOUND, SE_ERR_PNF, L"Cannot find the folder in which to open '%s'."},
    {Outcome::NoOpener, ERROR_NO_ASSOCIATION, SE_ERR_NOASSOC, L"No program is set up to open '%s'."},
    {Outcome::OpenerFailed, ERROR_GEN_FAILURE, SE_ERR_ASSOCINCOMPLETE,
     L"The program set up to open '%s' could not open it."},
};

// What the opener runs on: its one argument and the folder it starts in.
struct OpenRequest {
    std::string argument;
    std::string folder;   // empty: the caller's
};

bool IsEmpty(LPCWSTR text)
{
    return !text || !*text;
}

bool IsOpenVerb(LPCWSTR verb)
{
    if (IsEmpty(verb)) return true;   // the default verb is "open"
    std::wstring given = verb;
    for (wchar_t& c : given) c = static_cast<wchar_t>(std::towlower(c));
    return given == L"open";
}

bool IsWellFormed(const SHELLEXECUTEINFOW* info)
{
    return info && info->cbSize == sizeof(SHELLEXECUTEINFOW) && !IsEmpty(info->lpFile) &&
           IsEmpty(info->lpParameters);
}

// "scheme:…" with a scheme of two characters or more ("C:\x" is a path).
bool IsAddress(const std::wstring& target)
{
    const size_t colon = target.find(L':');
    if (colon == std::wstring::npos || colon < 2 || !std::iswalpha(target[0])) return false;
    for (size_t i = 1; i < colon; ++i) {
        const wchar_t c = target[i];
        if (!std::iswalnum(c) && c != L'+' && c != L'-' && c != L'.') return false;
    }
    return true;
}

bool Exists(const std::string& path, bool folder)
{
    struct stat info = {};
    if (stat(path.c_str(), &info) != 0) return false;
    return !folder || S_ISDIR(info.st_mode);
}

// An address goes to the opener unchanged; a path gets '/' separators, must
// exist (read against the folder when relative), and never starts with
// '-', which the opener would take for an option.
Outcome Prepare(const SHELLEXECUTEINFOW& info, OpenRequest& request)
{
    if (!IsEmpty(info.lpDirectory)) {
        request.folder = platform::NativePath(info.lpDirectory);
        if (!Exists(request.folder, true)) return Outcome::FolderNotFound;
    }
    const std::wstring target = info.lpFile;
    if (IsAddress(target)) {
        request.argument = platform::ToUtf8(target);
        return Outcome::Started;
    }
    request.argument = platform::NativePath(info.lpFile);
    const bool relative = request.argument[0] != '/';
    const std::string seen = relative && !request.folder.empty() ? request.folder + "/" + request.argument
                                                                 : request.argument;
    if (!Exists(seen, false)) return Outcome::FileNotFound;
    if (request.argument[0] == '-') request.argument = "./" + request.argument;
    return Outcome::Started;
}

Outcome FromExitStatus(int status)
{
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return Outcome::Started;
    if (WIFEXITED(status) && WEXITSTATUS(status) == kOpenerFileMissing) return Outcome::FileNotFound;
    if (WIFEXITED(status) && WEXITSTATUS(status) == kOpenerToolMissing) return Outcome::NoOpener;
    return Outcome::OpenerFailed;
}

// Waits a bounded while for the opener's exit status; one still running is
// taken to have started its program and is reaped when it ends.
Outcome AwaitOpener(pid_t pid)
{
    const auto deadline = std::chrono::steady_clock::now() + kOpenerReportTime;
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) return FromExitStatus(status);
        if (done < 0 && errno != EINTR) return Outcome::OpenerFailed;
        if (std::chrono::steady_clock::now() >= deadline) break;
        std::this_thread::sleep_for(kOpenerPoll);
    }
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return Outcome::Started;
}

// Starts the opener with the target as its one argument, no shell between,
// its input from /dev/null so that it never waits on a terminal.
Outcome RunOpener(const OpenRequest& request)
{
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) return Outcome::OpenerFailed;
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (!request.folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, request.folder.c_str());
    char* argv[] = {const_cast<char*>(kOpener), const_cast<char*>(request.argument.c_str()), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, kOpener, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned == ENOENT) return Outcome::NoOpener;
    if (spawned != 0) return Outcome::OpenerFailed;
    return AwaitOpener(pid);
}

const Failure& FailureOf(Outcome outcome)
{
    for (const Failure& failure : kFailures)
        if (failure.outcome == outcome) return failure;
    return kFailures[sizeof(kFailures) / sizeof(kFailures[0]) - 1];
}

BOOL Fail(SHELLEXECUTEINFOW& info, Outcome outcome)
{
    const Failure& failure = FailureOf(outcome);
    info.hInstApp = reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(failure.seError));
    if (!(info.fMask & SEE_MASK_FLAG_NO_UI)) {
        CString text;
        text.Format(failure.text, info.lpFile);
        MessageBoxW(info.hwnd, text, info.lpFile, MB_OK | MB_ICONERROR);
    }
    SetLastError(failure.error);
    return FALSE;
}

}  // namespace

BOOL ShellExecuteExW(SHELLEXECUTEINFOW* pExecInfo)
{
    if (!IsWellFormed(pExecInfo)) {
        if (pExecInfo) pExecInfo->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_ACCESSDENIED));
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    SHELLEXECUTEINFOW& info = *pExecInfo;
    if (!IsOpenVerb(info.lpVerb)) return Fail(info, Outcome::NoOpener);
    OpenRequest request;
    Outcome outcome = Prepare(info, request);
    if (outcome == Outcome::Started) outcome = RunOpener(request);
    if (outcome != Outcome::Started) return Fail(info, outcome);
    info.hInstApp = reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(kStartedApp));
    return TRUE;
}
