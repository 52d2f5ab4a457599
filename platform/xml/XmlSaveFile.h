// Whole-file replacement for saved XML documents: the bytes go to a
// temporary file in the same folder, are flushed to the disk and then renamed
// over the target, so a crash or a full disk leaves either the old file or
// the new one, never a half-written record. The temporaries that killed saves
// left in the folder are removed by the next save there.
#pragma once

#include <string>

namespace platform {

// The steps of a save, for the fault seam below.
enum class XmlSaveStep { CreateTemporary, Write, Flush, Rename };

// Tests install a hook that answers true for the step that should fail, to
// prove the target survives a failure at any point; null removes it.
typedef bool (*XmlSaveFaultHook)(XmlSaveStep step);
void SetXmlSaveFaultHook(XmlSaveFaultHook hook);

// Replaces the file at nativePath (a '/' path) with bytes. An existing file
// keeps its permission bits; a read-only file (no owner write bit) or a
// folder is refused, as Windows refuses to open them for writing. False on
// any failure, with the target untouched and no temporary file left behind.
bool ReplaceFileContents(const std::string& nativePath, const std::string& bytes);

// As above; on failure `failedStep` (when given) names the step that failed:
// CreateTemporary when the file could not be opened for writing at all (no
// path, a read-only file or a folder, no temporary beside it), Write when the
// bytes could not be written or flushed, Rename when they could not replace
// the file.
bool ReplaceFileContents(const std::string& nativePath, const std::string& bytes, XmlSaveStep* failedStep);

// Writes bytes to a file at nativePath that must not exist yet: they are
// written and flushed beside it first and then linked in under its name in
// one step, so that the file appears whole or not at all, and never where
// another writer's file appeared in the meantime. False when anything is
// already there (GetLastReplaceError gives EEXIST) or on any other failure,
// with nothing left behind.
bool CreateFileContents(const std::string& nativePath, const std::string& bytes);

// Whether CreateFileContents created the file at nativePath in this process.
bool WasCreatedHere(const std::string& nativePath);

// Why the last ReplaceFileContents or CreateFileContents of this thread failed, as a system error
// number: EACCES for a read-only file or a folder that may not be written,
// EISDIR for a folder under the file's name, ENOENT for a missing folder,
// ENOSPC, ...; 0 after a success and for a failure a test injected.
int GetLastReplaceError();

}  // namespace platform
