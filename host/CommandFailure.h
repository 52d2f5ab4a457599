// How the host's commands say why they failed: every failure message names
// the record the command was working on and the cause, on standard error.
#pragma once

#include <initializer_list>
#include <string>

enum class FileListFailure;
enum class MferStatus;

namespace host {

// The record a command is working on; every command opens its records
// through the host's opener, which sets it.
void SetCurrentRecord(const std::string& path);
const std::string& CurrentRecord();

// "morvelance-host: RECORD: CAUSE" (without a current record, "morvelance-host: CAUSE").
void ReportFailure(const char* format, ...) __attribute__((format(printf, 1, 2)));

// An option as the command line gave it: whether it was given, its name,
// and whether what the command draws or saves applies it.
struct GivenOption {
    bool given;
    const char* option;
    bool taken;
};

// False, said as "WHAT takes no OPTION" (`what` names the command and class,
// as "view CViewAverageWave"), for the first option given that is not
// taken: an option left out without a word would pass for one applied.
bool OptionsTakenOrSays(const std::string& what, std::initializer_list<GivenOption> options);

// Why the library's file-list reader did not read a record, in words
// ("not enough memory for the record", ...); empty for None.
std::string FileListFailureText(FileListFailure failure);
// Whether the file-list reader failed to read the record at all (a record
// it read but gives no examination kind is described, not failed).
bool FileListCouldNotRead(FileListFailure failure);
// "morvelance-host: RECORD: not read: CAUSE" for a record the file list
// could not read; a record it refuses for its kind is said to be refused.
void ReportFileListFailure(const std::string& path, FileListFailure failure);

// "morvelance-host: RECORD: ..." for an MFER file the reader refused: "not
// read" for a file there is not the memory for or past the reader's bounds,
// "not an MFER file this library can read" for one of another form; with
// the reader's cause.
void ReportMferRefusal(const std::string& path, MferStatus status);

// Which file the last failed save of a record XML was to write and why
// ("PATH: CAUSE", as the sheets tell the user in their box), then forgotten;
// empty when no save failed since the last call.
std::string TakeSaveFailure();

// The library reports what it refuses in message boxes; the host shows them
// on standard error as the default does and keeps the last one's text, so
// that a refusal can be told with the library's own cause.
void EchoLibraryMessages();
// The text of the last box since the last call, empty when none was shown.
std::string TakeLibraryMessage();

}  // namespace host
