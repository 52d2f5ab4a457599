// The host's "pane" command: a record shown in a page pane the way a host
// frame holds one, painted into a PNG.
#pragma once

#include <string>

#include "host/ViewCommand.h"

namespace host {

// morvelance-host pane FILE... --pane CLASS|all [--style N] [--no-patient]
//   [--click ID,...] [--ms N] [--size WxH] (--png OUT.png | --out DIR)
// args: the files and options after the command word. Returns the exit status.
int RunPaneCommand(int argc, char** argv, const RecordOpener& open);

}  // namespace host
