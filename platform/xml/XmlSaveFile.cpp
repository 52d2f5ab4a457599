#include "platform/xml/XmlSaveFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>

#include "platform/base/Temporaries.h"

namespace platform {

namespace {

XmlSaveFaultHook g_pSaveFaultHook = nullptr;
thread_local int g_nLastReplaceError = 0;

// The files CreateFileContents made in this process, by path.
std::mutex g_createdLock;
std::set<std::string>& Created()
{
    static std::set<std::string>* created = new std::set<std::string>;   // never destroyed: saves may run at exit
    return *created;
}

bool Injected(XmlSaveStep step)
{
    return g_pSaveFaultHook && g_pSaveFaultHook(step);
}

std::string FolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// A link is replaced where it points, not turned into a plain file.
std::string ResolveTarget(const std::string& path)
{
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char resolved[PATH_MAX];
    if (!realpath(path.c_str(), resolved)) return path;
    return resolved;
}

bool WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<size_t>(written);
    }
    return true;
}

void SyncFolder(const std::string& folder)
{
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);   // best effort: the rename is already done
    close(fd);
}

bool FillTemporary(int fd, const std::string& bytes, const struct stat* existing)
{
    if (Injected(XmlSaveStep::Write) || !WriteAll(fd, bytes)) return false;
    if (existing && fchmod(fd, existing->st_mode & 07777) != 0) return false;
    return !Injected(XmlSaveStep::Flush) && fsync(fd) == 0;
}

// Gives the written temporary the target's name only where nothing is: a
// hard link, or where the file system has none, a rename that replaces
// nothing. 0, or -1 with errno.
int LinkAsNew(const std::string& tempPath, const std::string& target)
{
    if (link(tempPath.c_str(), target.c_str()) == 0) return 0;
    if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS) return -1;
    return renameat2(AT_FDCWD, tempPath.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE);
}

// The bytes written whole into a new temporary beside `target` (with the
// mode and owner of `like` when given), its path in tempPath: -1 when they
// were, else the cause (0 for an injected fault) with the step that failed,
// and no temporary left.
int WriteTemporaryBeside(const std::string& target, const std::string& bytes, const struct stat* like,
                         std::string& tempPath, XmlSaveStep& failedStep)
{
    const bool injectedCreate = Injected(XmlSaveStep::CreateTemporary);
    const int fd = injectedCreate ? -1 : CreateTemporaryBeside(target, tempPath);
    if (fd < 0) {
        failedStep = XmlSaveStep::CreateTemporary;
        return injectedCreate ? 0 : errno;
    }
    errno = 0;
    bool filled = FillTemporary(fd, bytes, like);
    int error = errno;
    if (close(fd) != 0 && filled) {
        filled = false;
        error = errno;
    }
    if (filled) return -1;
    unlink(tempPath.c_str());
    failedStep = XmlSaveStep::Write;
    return error;
}

}  // namespace

int GetLastReplaceError()
{
    return g_nLastReplaceError;
}

void SetXmlSaveFaultHook(XmlSaveFaultHook hook)
{
    g_pSaveFaultHook = hook;
}

bool ReplaceFileContents(const std::string& nativePath, const std::string& bytes)
{
    return ReplaceFileContents(nativePath, bytes, nullptr);
}

bool ReplaceFileContents(const std::string& nativePath, const std::string& bytes, XmlSaveStep* failedStep)
{
    // The cause is kept for the message that tells the user; errno is taken
    // before the clean-up below can change it.
    auto fail = [failedStep](XmlSaveStep step, int error) {
        if (failedStep) *failedStep = step;
        g_nLastReplaceError = error;
        return false;
    };
    if (nativePath.empty()) return fail(XmlSaveStep::CreateTemporary, ENOENT);
    const std::string target = ResolveTarget(nativePath);
    struct stat st;
    const bool exists = stat(target.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) return fail(XmlSaveStep::CreateTemporary, S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    if (exists && !(st.st_mode & S_IWUSR)) return fail(XmlSaveStep::CreateTemporary, EACCES);

    // Temporaries of saves that were killed before their rename go first.
    RemoveStaleTemporaries(target);
    std::string tempPath;
    XmlSaveStep step = XmlSaveStep::Write;
    int error = WriteTemporaryBeside(target, bytes, exists ? &st : nullptr, tempPath, step);
    if (error >= 0) return fail(step, error);
    const bool injectedRename = Injected(XmlSaveStep::Rename);
    if (injectedRename || rename(tempPath.c_str(), target.c_str()) != 0) {
        error = injectedRename ? 0 : errno;
        unlink(tempPath.c_str());
        return fail(XmlSaveStep::Rename, error);
    }
    SyncFolder(FolderOf(target));
    g_nLastReplaceError = 0;
    return true;
}

bool CreateFileContents(const std::string& nativePath, const std::string& bytes)
{
    auto fail = [](int error) {
        g_nLastReplaceError = error;
        return false;
    };
    if (nativePath.empty()) return fail(ENOENT);
    struct stat st;
    if (lstat(nativePath.c_str(), &st) == 0) return fail(EEXIST);

    RemoveStaleTemporaries(nativePath);
    std::string tempPath;
    XmlSaveStep step = XmlSaveStep::Write;
    int error = WriteTemporaryBeside(nativePath, bytes, nullptr, tempPath, step);
    if (error >= 0) return fail(error);
    const bool injectedLink = Injected(XmlSaveStep::Rename);
    const int linked = injectedLink ? -1 : LinkAsNew(tempPath, nativePath);
    error = injectedLink ? 0 : errno;
    unlink(tempPath.c_str());   // after a link, the file keeps its other name; after a rename, nothing is left
    if (linked != 0) return fail(error);
    SyncFolder(FolderOf(nativePath));
    {
        std::lock_guard<std::mutex> guard(g_createdLock);
        Created().insert(nativePath);
    }
    g_nLastReplaceError = 0;
    return true;
}

bool WasCreatedHere(const std::string& nativePath)
{
    std::lock_guard<std::mutex> guard(g_createdLock);
    return Created().count(nativePath) != 0;
}

}  // namespace platform
