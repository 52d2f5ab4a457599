// The host's "view" and "print" commands: a record's view painted into a PNG
// or printed through the PDF printer, the host playing the page pane.
#pragma once

#include <functional>
#include <memory>
#include <string>

class CTavrionDoc;

namespace host {

// Opens one record file quietly into its examination document.
using RecordOpener = std::function<bool(const std::string& path, std::unique_ptr<CTavrionDoc>& doc)>;

// args: the files and options after the command word. Returns the exit status.
int RunViewCommand(const std::string& command, int argc, char** argv, const RecordOpener& open);

}  // namespace host
