#include "host/PdfJobFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/base/CodePage.h"
#include "platform/base/Profile.h"
#include "platform/base/Registry.h"
#include "platform/base/Temporaries.h"
#include "platform/print/PrintSetup.h"
#include "platform/print/SpoolJob.h"

namespace host {
namespace {

const wchar_t kPdfPrinterKey[] = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Acrobat Distiller";

const char kPrintFolderStem[] = "morvelance-print-";

std::string TempRoot()
{
    const char* tmp = std::getenv("TMPDIR");
    return tmp && *tmp ? tmp : "/tmp";
}

// Whether a job folder ("morvelance-print-<pid>-XXXXXX") was left by a job
// that is gone: its process no longer runs, or (the older form without a
// process id) it is older than any job takes.
bool AbandonedJobFolder(const std::string& name, const struct stat& st)
{
    const std::string stem = kPrintFolderStem;
    if (name.compare(0, stem.size(), stem) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid()) return false;
    const std::string rest = name.substr(stem.size());
    const size_t dash = rest.find('-');
    const std::string pid = dash == std::string::npos ? std::string() : rest.substr(0, dash);
    if (pid.empty() || pid.size() > 9 || pid.find_first_not_of("0123456789") != std::string::npos)
        return platform::OlderThan(st.st_mtim.tv_sec, platform::kStaleTemporarySeconds);
    const pid_t writer = static_cast<pid_t>(std::atol(pid.c_str()));
    return writer != getpid() && !platform::ProcessIsAlive(writer);
}

// Removes the folders of killed jobs, so that they do not pile up. The
// temporary folder is shared with every other program: only the names of
// our own jobs are looked at further, or each print would pay for a look at
// each of thousands of entries.
void SweepAbandonedJobFolders(const std::string& root)
{
    const size_t stem = sizeof kPrintFolderStem - 1;
    std::vector<std::string> abandoned;
    if (DIR* dir = opendir(root.c_str())) {
        while (dirent* entry = readdir(dir)) {
            if (std::strncmp(entry->d_name, kPrintFolderStem, stem) != 0) continue;
            if (entry->d_type != DT_DIR && entry->d_type != DT_UNKNOWN) continue;
            const std::string path = root + "/" + entry->d_name;
            struct stat st;
            if (lstat(path.c_str(), &st) == 0 && AbandonedJobFolder(entry->d_name, st)) abandoned.push_back(path);
        }
        closedir(dir);
    }
    for (const std::string& path : abandoned) RemoveTree(path);
}

// ---- the folders of jobs under way, for a host stopped by a signal ----------------------------
//
// A host stopped by SIGTERM, SIGINT or SIGHUP in the middle of a print takes
// its job folders with it: the folders this process made and has not yet
// removed are kept where the signal's handler can read them, and the handler
// removes them with plain system calls before the signal ends the process as
// it would have; the spool jobs under way go from their spool folders the
// same way. SIGKILL leaves them to the next job's sweep.

constexpr int kFolderSlots = 4;             // jobs under way at once: one, now and then two
constexpr size_t kFolderPathBytes = 4096;
constexpr int kDeepestFolder = 16;          // a job's folder is three levels deep

struct JobFolderSlot {
    volatile sig_atomic_t used;
    char path[kFolderPathBytes];
};
JobFolderSlot g_jobFolders[kFolderSlots];

// The job names the printing library reserves for this process under the
// temporary folder ("TavrionJobs/Tavrion_...", each holding a file named by
// the process id) go the same way: the folder of reservations and this
// process's id, as text, are noted when the handlers are installed.
char g_reservations[kFolderPathBytes];
char g_processId[24];
char g_making[32];   // "Making_<pid>": a reservation of this process being made or removed

const int kStoppingSignals[] = {SIGTERM, SIGINT, SIGHUP};
struct sigaction g_before[sizeof kStoppingSignals / sizeof kStoppingSignals[0]];
bool g_handlersInstalled = false;

// Hands `visit` the name of each entry of the open folder from where it is
// read now to its end, read with system calls that a signal handler may make.
template <class Visit> void ForEachEntryNow(int folder, Visit visit)
{
    alignas(struct dirent64) char buffer[2048];
    for (;;) {
        const long got = syscall(SYS_getdents64, folder, buffer, sizeof buffer);
        if (got <= 0) return;
        for (long at = 0; at < got;) {
            const auto* entry = reinterpret_cast<const struct dirent64*>(buffer + at);
            at += entry->d_reclen;
            visit(entry->d_name);
        }
    }
}

// Everything under the open folder, removed with system calls that a signal
// handler may make. Entries are removed while the folder is read, so it is
// read again until a reading finds it empty.
void EmptyFolderNow(int folder, int depth)
{
    for (int reading = 0; reading < 8; ++reading) {
        if (lseek(folder, 0, SEEK_SET) < 0) return;
        bool found = false;
        ForEachEntryNow(folder, [&](const char* name) {
            if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) return;
            found = true;
            if (unlinkat(folder, name, 0) == 0) return;
            if (depth < kDeepestFolder) {
                const int inner = openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
                if (inner >= 0) {
                    EmptyFolderNow(inner, depth + 1);
                    close(inner);
                }
            }
            unlinkat(folder, name, AT_REMOVEDIR);
        });
        if (!found) return;
    }
}

void RemoveTreeNow(const char* path)
{
    const int folder = open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder >= 0) {
        EmptyFolderNow(folder, 0);
        close(folder);
    }
    rmdir(path);
}

// The job names reserved by this process, and their folder when no other
// process holds one there any more.
void RemoveReservationsNow()
{
    if (!g_reservations[0] || !g_processId[0]) return;
    const int folder = open(g_reservations, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder < 0) return;
    ForEachEntryNow(folder, [folder](const char* name) {
        if (std::strncmp(name, "Tavrion_", 8) != 0) return;
        const int reservation = openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (reservation < 0) return;
        const bool ours = unlinkat(reservation, g_processId, 0) == 0;
        close(reservation);
        if (ours) unlinkat(folder, name, AT_REMOVEDIR);
    });
    if (g_making[0]) {
        const int making = openat(folder, g_making, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (making >= 0) {
            unlinkat(making, g_processId, 0);
            close(making);
            unlinkat(folder, g_making, AT_REMOVEDIR);
        }
    }
    close(folder);
    rmdir(g_reservations);
}

extern "C" void RemoveJobFoldersOnSignal(int signal, siginfo_t* info, void* context)
{
    const int savedErrno = errno;
    // Nothing half written stays in a spool folder either.
    platform::print::SpoolJob::DropUnfinishedNow();
    for (JobFolderSlot& slot : g_jobFolders) {
        if (!slot.used) continue;
        RemoveTreeNow(slot.path);
        slot.used = 0;
    }
    RemoveReservationsNow();
    size_t index = 0;
    while (kStoppingSignals[index] != signal) ++index;
    const struct sigaction& before = g_before[index];
    if (before.sa_flags & SA_SIGINFO) {
        before.sa_sigaction(signal, info, context);
    } else if (before.sa_handler != SIG_DFL && before.sa_handler != SIG_IGN) {
        before.sa_handler(signal);
    } else {
        // The signal ends the process as it would have without us, once
        // this handler returns and the signal is no longer held.
        sigaction(signal, &before, nullptr);
        raise(signal);
    }
    errno = savedErrno;
}

// Installed with the first job folder (under `root`); a signal the host was
// started to ignore stays ignored.
void InstallStopHandlers(const std::string& root)
{
    if (g_handlersInstalled) return;
    g_handlersInstalled = true;
    const std::string reservations = root + "/TavrionJobs";
    const std::string id = std::to_string(getpid());
    if (reservations.size() < sizeof g_reservations && id.size() < sizeof g_processId) {
        std::memcpy(g_reservations, reservations.c_str(), reservations.size() + 1);
        std::memcpy(g_processId, id.c_str(), id.size() + 1);
        const std::string making = "Making_" + id;
        if (making.size() < sizeof g_making) std::memcpy(g_making, making.c_str(), making.size() + 1);
    }
    for (size_t i = 0; i < sizeof kStoppingSignals / sizeof kStoppingSignals[0]; ++i) {
        struct sigaction current {};
        if (sigaction(kStoppingSignals[i], nullptr, &current) != 0 || current.sa_handler == SIG_IGN) continue;
        g_before[i] = current;
        struct sigaction handler {};
        handler.sa_sigaction = RemoveJobFoldersOnSignal;
        handler.sa_flags = SA_SIGINFO | SA_RESTART;
        sigfillset(&handler.sa_mask);   // the folders are removed once, by one handler
        sigaction(kStoppingSignals[i], &handler, nullptr);
    }
}

// The stopping signals held in this thread while it lives, so that a folder
// is never made without being noted, nor noted as gone while still there.
class StopSignalsHeld {
public:
    StopSignalsHeld()
    {
        sigset_t held;
        sigemptyset(&held);
        for (int signal : kStoppingSignals) sigaddset(&held, signal);
        pthread_sigmask(SIG_BLOCK, &held, &m_before);
    }
    ~StopSignalsHeld() { pthread_sigmask(SIG_SETMASK, &m_before, nullptr); }
    StopSignalsHeld(const StopSignalsHeld&) = delete;
    StopSignalsHeld& operator=(const StopSignalsHeld&) = delete;

private:
    sigset_t m_before;
};

// Notes a folder as the job's: false when it cannot be (its path too long,
// too many jobs at once), and the folder is then not to be used.
bool NoteJobFolder(const std::string& path)
{
    if (path.size() >= kFolderPathBytes) return false;
    for (JobFolderSlot& slot : g_jobFolders) {
        if (slot.used) continue;
        std::memcpy(slot.path, path.c_str(), path.size() + 1);
        std::atomic_signal_fence(std::memory_order_release);
        slot.used = 1;
        return true;
    }
    return false;
}

void ForgetJobFolder(const std::string& path)
{
    for (JobFolderSlot& slot : g_jobFolders)
        if (slot.used && path == slot.path) slot.used = 0;
}

// Copies a file that may be absent; false when one that is there cannot be copied.
bool CopyIfPresent(const std::string& from, const std::string& to)
{
    std::string bytes;
    if (from.empty() || access(from.c_str(), F_OK) != 0) return true;
    return platform::textfile::Read(from, bytes) && platform::textfile::ReplaceAtomically(to, bytes);
}

}  // namespace

void RemoveTree(const std::string& path)
{
    if (DIR* dir = opendir(path.c_str())) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            const std::string child = path + "/" + name;
            struct stat st;
            if (lstat(child.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
                RemoveTree(child);
            else
                unlink(child.c_str());
        }
        closedir(dir);
    }
    rmdir(path.c_str());
}

// The job's own folder, named after its process so that the next job can
// tell it from one still at work.
std::string MakeTempFolder()
{
    const std::string root = TempRoot();
    SweepAbandonedJobFolders(root);
    std::string pattern = root + "/" + kPrintFolderStem + std::to_string(getpid()) + "-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    InstallStopHandlers(root);
    const StopSignalsHeld held;
    if (!mkdtemp(buffer.data())) return std::string();
    const std::string made = buffer.data();
    if (NoteJobFolder(made)) return made;
    rmdir(made.c_str());
    return std::string();
}

void TidyPrintsOnStop()
{
    InstallStopHandlers(TempRoot());
}

void RemoveJobFolder(const std::string& path)
{
    // Removed while still noted: a signal meanwhile finishes the removal.
    RemoveTree(path);
    const StopSignalsHeld held;
    ForgetJobFolder(path);
}


bool JobRegistry::Enter(const std::string& copy)
{
    const std::string user = platform::RegistryPath();
    if (!CopyIfPresent(user, copy) || !CopyIfPresent(platform::WinIniPath(), platform::textfile::FolderOf(copy) + "/win.ini"))
        return false;
    const char* named = std::getenv("MORVELANCE_REGISTRY");
    m_hadName = named != nullptr;
    m_oldName = named ? named : "";
    // The copy is the job's alone and goes with its folder: its changes are
    // written once, when the job leaves it, not synced and renamed one by one.
    platform::DeferRegistryWritesTo(copy);
    setenv("MORVELANCE_REGISTRY", copy.c_str(), 1);
    platform::ReloadRegistry();
    m_aside.reset(new platform::print::PrintServiceAside);
    m_entered = true;
    return true;
}

void JobRegistry::Leave()
{
    if (!m_entered) return;
    m_aside.reset();
    platform::DeferRegistryWritesTo(std::string());
    if (m_hadName)
        setenv("MORVELANCE_REGISTRY", m_oldName.c_str(), 1);
    else
        unsetenv("MORVELANCE_REGISTRY");
    platform::ReloadRegistry();
    m_entered = false;
}

bool InstallPdfPrinter(const std::string& work)
{
    const std::string port = work + "/printer";
    if (mkdir(port.c_str(), 0755) != 0) return false;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPdfPrinterKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        const std::wstring value = platform::FromUtf8(port + "/*.pdf");
        const LONG set = RegSetValueExW(key, L"Port", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
        return set == ERROR_SUCCESS;
    }
    platform::print::PdfPrinterSetup setup;
    setup.outputFolder = platform::FromUtf8(port);
    setup.installFolder = platform::FromUtf8(work + "/Adobe");
    return platform::print::ConfigurePdfPrinter(setup);
}

}  // namespace host
