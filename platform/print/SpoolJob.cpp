#include "platform/print/SpoolJob.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>
#include <vector>

#include "platform/base/CodePage.h"
#include "platform/base/Kernel.h"
#include "platform/base/Profile.h"
#include "platform/base/Temporaries.h"
#include "platform/print/PrinterConfig.h"
#include "platform/print/SpoolFiles.h"

namespace platform {
namespace print {

namespace {

// Ids of at most five digits keep the folder listing in job order.
const DWORD kMaxJobId = 99999;

std::string IdText(DWORD id)
{
    char text[16];
    std::snprintf(text, sizeof(text), "%05u", (unsigned)id);
    return text;
}

// The leading number of a spool file name, 0 when it has none.
DWORD LeadingId(const char* name)
{
    DWORD id = 0;
    int digits = 0;
    for (const char* p = name; *p >= '0' && *p <= '9' && digits < 9; ++p, ++digits) id = id * 10 + (DWORD)(*p - '0');
    return digits > 0 ? id : 0;
}

// The highest id any file of the folder carries, and whether `id` is taken.
DWORD HighestId(const std::string& folder)
{
    DWORD highest = 0;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return 0;
    while (const dirent* entry = readdir(dir)) {
        const DWORD id = LeadingId(entry->d_name);
        if (id > highest) highest = id;
    }
    closedir(dir);
    return highest;
}

bool IdHasFinishedFiles(const std::string& folder, DWORD id)
{
    const std::string prefix = IdText(id) + "_";
    bool taken = false;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return false;
    while (const dirent* entry = readdir(dir)) {
        if (std::string(entry->d_name).compare(0, prefix.size(), prefix) == 0) taken = true;
    }
    closedir(dir);
    return taken;
}

bool WriteAll(int fd, const BYTE* bytes, size_t length, DWORD& error)
{
    while (length > 0) {
        const ssize_t written = ::write(fd, bytes, length);
        if (written < 0) {
            if (errno == EINTR) continue;
            error = ErrorFromErrno(errno);
            return false;
        }
        bytes += written;
        length -= (size_t)written;
    }
    return true;
}

bool IsReservationName(const std::string& name)
{
    return name.size() == 9 && name.compare(5, 4, ".SPL") == 0 &&
           name.find_first_not_of("0123456789") == 5;
}

// Whether a job holds the lock of the file (its reservation, or the data the
// reservation became). A reservation is locked before its name appears, so
// an unlocked one is a dead job's.
bool HeldByAJob(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);   // releases the lock if we got it
    return held;
}

// Removes a dead job's reservation while holding its lock, and only if the
// name still names the file locked: another sweeper may have removed it and
// a new job taken the id meanwhile.
void RemoveUnheldReservation(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat locked, named;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &locked) == 0 && ::lstat(path.c_str(), &named) == 0 &&
        locked.st_dev == named.st_dev && locked.st_ino == named.st_ino)
        ::unlink(path.c_str());
    ::close(fd);
}

bool Exists(const std::string& path)
{
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
}

// Whether a piece of job `id` (its data, a surface's output or partial file)
// belongs to a job still at work or finished. Asked now, not from the
// listing: a job may have begun or ended since. Both locks are asked before
// the sidecar: a job writes its sidecar before it lets its locks go, so a
// lock found free means the sidecar of a finished job is already there. (The
// sidecar asked first could be missing, the job then finish, and its data
// be found unlocked and taken for a dead job's.)
bool PieceIsLive(const std::string& folder, const std::string& name, const std::string& sidecar)
{
    if (HeldByAJob(folder + "/" + name.substr(0, 5) + ".SPL")) return true;
    if (HeldByAJob(folder + "/" + name)) return true;
    return !sidecar.empty() && Exists(folder + "/" + sidecar);
}

// Flushes a file's bytes to the disk; false with the Win32 error.
bool SyncFile(const std::string& path, DWORD& error)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    if (!synced) error = ErrorFromErrno(errno);
    if (fd >= 0) ::close(fd);
    return synced;
}

// Makes a rename within the folder durable before anything names its result.
void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Sweeps each folder once per process, before its first job.
void SweepOnce(const std::string& folder)
{
    static std::mutex lock;
    static std::set<std::string> swept;
    {
        std::lock_guard<std::mutex> guard(lock);
        if (!swept.insert(folder).second) return;
    }
    SpoolJob::SweepFolder(folder);
}

// ---- jobs under way, for a program stopped by a signal --------------------------------------
//
// Each job under way is noted in a slot that a signal handler can read: its
// folder and paths, written before the slot is marked as live, so that the
// handler, on whichever thread it runs, never reads a half-written path.

constexpr int kUnfinishedSlots = 8;
constexpr size_t kSpoolPathBytes = 4096;

struct UnfinishedSlot {
    std::atomic<int> state;             // 0 free, 1 being noted, 2 a job under way
    std::atomic<int> reservationOurs;   // the reservation still names this job's file
    std::atomic<int> committing;        // the data may stand under its final name, its sidecar not yet
    char folder[kSpoolPathBytes];
    char prefix[16];                    // "<id>.SPL.": what the reservation's bytes are called
    char reservation[kSpoolPathBytes];
    char finalData[kSpoolPathBytes];
    char sidecar[kSpoolPathBytes];
};
UnfinishedSlot g_unfinished[kUnfinishedSlots];

bool CopyPath(char (&to)[kSpoolPathBytes], const std::string& from)
{
    if (from.size() >= kSpoolPathBytes) return false;
    std::memcpy(to, from.c_str(), from.size() + 1);
    return true;
}

// Removes the entries of the folder whose names begin with `prefix`, with
// system calls alone.
void RemoveEntriesNow(const char* folderPath, const char* prefix)
{
    const int folder = ::open(folderPath, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return;
    const size_t length = std::strlen(prefix);
    // Entries removed while the folder is read: read again until a reading finds none.
    for (int reading = 0; reading < 4; ++reading) {
        if (::lseek(folder, 0, SEEK_SET) < 0) break;
        bool found = false;
        alignas(struct dirent64) char buffer[2048];
        for (;;) {
            const long got = ::syscall(SYS_getdents64, folder, buffer, sizeof buffer);
            if (got <= 0) break;
            for (long at = 0; at < got;) {
                const auto* entry = reinterpret_cast<const struct dirent64*>(buffer + at);
                at += entry->d_reclen;
                if (std::strncmp(entry->d_name, prefix, length) != 0) continue;
                found = true;
                ::unlinkat(folder, entry->d_name, 0);
            }
        }
        if (!found) break;
    }
    ::close(folder);
}

}  // namespace

void SpoolJob::NoteUnfinished()
{
    for (int i = 0; i < kUnfinishedSlots; ++i) {
        UnfinishedSlot& slot = g_unfinished[i];
        int free = 0;
        if (!slot.state.compare_exchange_strong(free, 1)) continue;
        const std::string prefix = IdText(m_id) + ".SPL.";
        if (!CopyPath(slot.folder, m_folder) || !CopyPath(slot.reservation, m_dataPath) ||
            prefix.size() >= sizeof slot.prefix) {
            slot.state.store(0);
            return;
        }
        std::memcpy(slot.prefix, prefix.c_str(), prefix.size() + 1);
        slot.finalData[0] = '\0';
        slot.sidecar[0] = '\0';
        slot.committing.store(0);
        slot.reservationOurs.store(1);
        slot.state.store(2);
        m_slot = i;
        return;
    }
}

void SpoolJob::ForgetUnfinished()
{
    if (m_slot < 0) return;
    g_unfinished[m_slot].state.store(0);
    m_slot = -1;
}

void SpoolJob::DropUnfinishedNow()
{
    for (UnfinishedSlot& slot : g_unfinished) {
        if (slot.state.load() != 2) continue;
        // Data under its final name without a sidecar is not a whole job.
        struct stat info;
        if (slot.committing.load() && ::stat(slot.sidecar, &info) != 0) ::unlink(slot.finalData);
        RemoveEntriesNow(slot.folder, slot.prefix);
        // The reservation last: while it stands, nobody else takes the id.
        if (slot.reservationOurs.load()) ::unlink(slot.reservation);
    }
}

void SpoolJob::SweepFolder(const std::string& folder)
{
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir)) names.push_back(entry->d_name);
        closedir(dir);
    }
    for (const std::string& name : names) {
        if (name.size() < 6 || LeadingId(name.c_str()) == 0 || name.find_first_not_of("0123456789") != 5) continue;
        const std::string path = folder + "/" + name;
        if (IsReservationName(name)) {
            if (!HeldByAJob(path)) RemoveUnheldReservation(path);
            continue;
        }
        const size_t dot = name.rfind('.');
        if (dot == std::string::npos || name.compare(dot, std::string::npos, ".job") == 0) continue;
        // A reservation's bytes (a surface's output, its partial files) have
        // no sidecar of their own; a data file's sidecar shares its stem.
        const bool reservationBytes = name.compare(5, 5, ".SPL.") == 0;
        const std::string sidecar = reservationBytes ? std::string() : name.substr(0, dot) + ".job";
        if (!PieceIsLive(folder, name, sidecar)) ::unlink(path.c_str());
    }
    // The sidecars' and reservations' temporaries.
    RemoveStaleTemporaries(folder + "/.");
}

std::unique_ptr<SpoolJob> SpoolJob::Begin(const std::string& folder, const std::wstring& printer,
                                          const std::wstring& document, const std::wstring& datatype, DWORD& error)
{
    if (!textfile::MakeFolders(folder)) {
        error = ERROR_PATH_NOT_FOUND;
        return nullptr;
    }
    std::unique_ptr<SpoolJob> job(new SpoolJob());
    job->m_folder = folder;
    job->m_printer = printer;
    job->m_document = document;
    job->m_datatype = datatype;
    SweepOnce(folder);
    // The reservation is made and locked under a temporary name, then linked
    // to its id: it never stands in the folder unlocked while its job lives,
    // so a sweep can tell a dead job's at once. The link fails when another
    // process has the id; an id whose finished files already exist (the
    // other job ended between our look and our link) is passed over.
    std::string temporary;
    const int fd = CreateTemporaryBeside(folder + "/reservation", temporary, 0644);
    if (fd < 0) {
        error = ErrorFromErrno(errno);
        return nullptr;
    }
    ::flock(fd, LOCK_EX | LOCK_NB);
    bool failed = false;
    for (DWORD id = HighestId(folder) + 1; id <= kMaxJobId; ++id) {
        const std::string path = folder + "/" + IdText(id) + ".SPL";
        if (::link(temporary.c_str(), path.c_str()) != 0) {
            if (errno == EEXIST) continue;
            error = ErrorFromErrno(errno);
            failed = true;
            break;
        }
        if (IdHasFinishedFiles(folder, id)) {
            ::unlink(path.c_str());
            continue;
        }
        ::unlink(temporary.c_str());
        // The lock lives on a second descriptor that outlasts the data's,
        // through the renames of Commit.
        job->m_lockFd = ::dup(fd);
        job->m_fd = fd;
        job->m_id = id;
        job->m_dataPath = path;
        job->NoteUnfinished();
        return job;
    }
    ::unlink(temporary.c_str());
    ::close(fd);
    if (failed) return nullptr;
    error = ERROR_DISK_FULL;   // every id is in use: the spool folder needs emptying
    return nullptr;
}

std::unique_ptr<SpoolJob> SpoolJob::BeginToFile(const std::string& path, const std::wstring& printer,
                                                const std::wstring& document, const std::wstring& datatype,
                                                DWORD& error)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = ErrorFromErrno(errno);
        return nullptr;
    }
    std::unique_ptr<SpoolJob> job(new SpoolJob());
    job->m_fd = fd;
    job->m_id = 1;
    job->m_dataPath = path;
    job->m_printer = printer;
    job->m_document = document;
    job->m_datatype = datatype;
    return job;
}

SpoolJob::~SpoolJob()
{
    if (!m_finished) Abort();
    ReleaseLock();
}

void SpoolJob::ReleaseLock()
{
    if (m_lockFd >= 0) ::close(m_lockFd);
    m_lockFd = -1;
}

bool SpoolJob::Write(const void* bytes, size_t length, DWORD& error)
{
    if (m_finished || m_fd < 0) {
        error = ERROR_INVALID_HANDLE;
        return false;
    }
    return WriteAll(m_fd, static_cast<const BYTE*>(bytes), length, error);
}

void SpoolJob::AddDetail(const std::string& key, const std::wstring& value)
{
    m_details.emplace_back(key, value);
}

bool SpoolJob::CloseData(DWORD& error)
{
    if (m_fd < 0) return true;
    const int result = ::close(m_fd);
    m_fd = -1;
    if (result != 0 && errno != EINTR) {
        error = ErrorFromErrno(errno);
        return false;
    }
    return true;
}

std::string SpoolJob::FinalStem() const
{
    const std::string name = SpoolFileNamePart(m_document);
    return name.empty() ? IdText(m_id) : IdText(m_id) + "_" + name;
}

bool SpoolJob::Commit(const std::string& extension, const std::string* producedFile, DWORD& error)
{
    if (m_finished) {
        error = ERROR_INVALID_HANDLE;
        return false;
    }
    // The sidecar is the job's promise that its data is complete: the data
    // reaches the disk first, whoever wrote it.
    if (m_fd >= 0 && ::fsync(m_fd) != 0 && errno != EINVAL) {
        error = ErrorFromErrno(errno);
        Abort();
        return false;
    }
    if (!CloseData(error) || (producedFile && !SyncFile(*producedFile, error))) {
        Abort();
        return false;
    }
    if (m_folder.empty()) {   // printed to a file: it is complete as it stands
        if (producedFile && ::rename(producedFile->c_str(), m_dataPath.c_str()) != 0) {
            error = ErrorFromErrno(errno);
            Abort();
            return false;
        }
        m_finished = true;
        return true;
    }
    const std::string stem = FinalStem();
    const std::string dataName = stem + "." + extension;
    const std::string finalData = m_folder + "/" + dataName;
    const std::string source = producedFile ? *producedFile : m_dataPath;
    if (m_slot >= 0) {
        UnfinishedSlot& slot = g_unfinished[m_slot];
        if (CopyPath(slot.finalData, finalData) && CopyPath(slot.sidecar, m_folder + "/" + stem + ".job"))
            slot.committing.store(1);
    }
    if (::rename(source.c_str(), finalData.c_str()) != 0) {
        error = ErrorFromErrno(errno);
        Abort();
        return false;
    }
    // A raw job's reservation has become its data.
    if (m_slot >= 0 && !producedFile) g_unfinished[m_slot].reservationOurs.store(0);
    SyncFolder(m_folder);
    m_finalData = finalData;
    m_sidecar = m_folder + "/" + stem + ".job";
    SpooledJob record;
    record.id = m_id;
    record.printer = m_printer;
    record.document = m_document;
    record.datatype = m_datatype;
    record.pages = m_pages;
    record.dataFile = dataName;
    record.details = m_details;
    // Whose job it is: programs printing to one queue at the same time each
    // find their own among the finished jobs.
    record.details.emplace_back("Process", std::to_wstring(static_cast<long>(::getpid())));
    if (!textfile::ReplaceAtomically(m_sidecar, FormatSidecar(record))) {
        error = ERROR_WRITE_FAULT;
        ::unlink(finalData.c_str());
        if (producedFile) ::unlink(m_dataPath.c_str());
        m_finalData.clear();
        m_sidecar.clear();
        m_finished = true;
        ForgetUnfinished();
        ReleaseLock();
        return false;
    }
    // The reservation goes last: until the sidecar is there, it tells a
    // sweeping process that the data is this job's.
    if (producedFile) ::unlink(m_dataPath.c_str());
    m_finished = true;
    ForgetUnfinished();
    ReleaseLock();
    return true;
}

void SpoolJob::Withdraw()
{
    if (m_sidecar.empty()) return;
    // The sidecar goes first: no sidecar may name data that is gone.
    ::unlink(m_sidecar.c_str());
    ::unlink(m_finalData.c_str());
    m_sidecar.clear();
    m_finalData.clear();
}

void SpoolJob::Abort()
{
    if (m_finished) return;
    DWORD ignored = 0;
    CloseData(ignored);
    ::unlink(m_dataPath.c_str());
    m_finished = true;
    ForgetUnfinished();
    ReleaseLock();
}

std::string SpoolJob::ExtensionOf(const std::wstring& datatype)
{
    return EqualNoCase(datatype, L"TEXT") ? "txt" : "prn";
}

}  // namespace print
}  // namespace platform
