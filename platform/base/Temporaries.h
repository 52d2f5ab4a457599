// Temporary files that writers put beside a file they replace: the bytes go
// to a hidden temporary in the same folder, which is then renamed over the
// file. A writer killed between the two leaves its temporary behind; the
// names carry the writer's process id, so that the next writer in the folder
// can tell an abandoned temporary from one being written and remove it.
//
// Name: "<folder>/.<file name>.<pid>.<8 hex digits>.tmp".
#pragma once

#include <sys/types.h>

#include <string>

namespace platform {

// A temporary is abandoned when its writer is no longer alive, or when it is
// older than this whatever its writer (no honest write takes an hour).
constexpr long kStaleTemporarySeconds = 3600;

// Creates a new, empty temporary beside target (O_EXCL, with the given
// permission bits before the umask); its open descriptor, or -1 with errno.
int CreateTemporaryBeside(const std::string& target, std::string& tempPath, mode_t mode = 0666);

// Removes the abandoned temporaries of every file in target's folder. Best
// effort: what cannot be removed stays.
void RemoveStaleTemporaries(const std::string& target);

// Whether a process of this id exists (a process of another user counts).
bool ProcessIsAlive(pid_t pid);

// Whether a file last modified at `modified` (seconds since the epoch) is
// older than `seconds` now.
bool OlderThan(long long modified, long seconds);

}  // namespace platform
