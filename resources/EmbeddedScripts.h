// The resource scripts the library carries (resources/dialogs/*.rc, made
// into text by the build) and how they become resources when it loads.
#pragma once

#include <string>

#include "platform/ui/windowing/Resources.h"

struct EmbeddedScript {
    const char* name;   // the script's path in the source tree, for messages
    const char* text;   // UTF-8
};

// Every embedded script, in file-name order.
const EmbeddedScript* EmbeddedScripts(int& count);

// Compiles one script into `table`. An error gives false and `error` as
// "name:line:column: what is wrong"; nothing is added then.
bool CompileEmbeddedScript(const EmbeddedScript& script, platform::ui::ResourceTable& table, std::string& error);

// Compiles every embedded script. A script error is a fault of the build, not
// of the user's data, so it stops the program with the message on stderr.
void CompileEmbeddedScriptsOrStop(platform::ui::ResourceTable& table);
