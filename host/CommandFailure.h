// How the host's commands say why they failed: every failure message names
// the record the command was working on and the cause, on standard error.
#pragma once

#include <string>

namespace host {

// The record a command is working on; every command opens its records
// through the host's opener, which sets it.
void SetCurrentRecord(const std::string& path);
const std::string& CurrentRecord();

// "morvelance-host: RECORD: CAUSE" (without a current record, "morvelance-host: CAUSE").
void ReportFailure(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The library reports what it refuses in message boxes; the host shows them
// on standard error as the default does and keeps the last one's text, so
// that a refusal can be told with the library's own cause.
void EchoLibraryMessages();
// The text of the last box since the last call, empty when none was shown.
std::string TakeLibraryMessage();

}  // namespace host
