// The files of the spool: names made from document names, and the sidecar
// that describes a finished job.
#pragma once

#include <string>

#include "platform/print/PrintSetup.h"

namespace platform {
namespace print {

// The part of a file name a document name gives (UTF-8): characters that
// a file name cannot hold on either platform become '_', and it is cut to
// a length every file system takes. Empty for an empty name.
std::string SpoolFileNamePart(const std::wstring& document);

// The sidecar text of a job and its reading back ("key=value" lines, UTF-8,
// with '\', CR and LF escaped as \\, \r, \n so every value stays one line).
std::string FormatSidecar(const SpooledJob& job);
bool ParseSidecar(const std::string& text, SpooledJob& job);

}  // namespace print
}  // namespace platform
