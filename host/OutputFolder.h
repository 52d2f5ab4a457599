// The folders the host's commands write their pictures and PDFs into.
#pragma once

#include <string>

namespace host {

// Makes the folder and its parents; false, with a message saying which
// folder, when it cannot be made.
bool MakeOutputFolder(const std::string& folder);
// The same for the folder a file goes into (nothing for a bare name).
bool MakeFolderOf(const std::string& file);

}  // namespace host
