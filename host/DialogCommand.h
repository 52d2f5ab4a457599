// The host's "dialog" command: opens one of the library's dialogs on a
// record's document as its opener would, saves the painted dialog as PNG
// and cancels it (a modeless one is created, painted and destroyed).
#pragma once

#include "host/ViewCommand.h"

namespace host {

// argv holds the arguments after "dialog": FILE --dialog CLASS --png OUT.png
// [--group G] [--template 172|173|174], or FILE --dialog all --out DIR.
// The record is opened by `open`, as for the views. Returns the exit status
// (0 when every requested dialog was saved).
int RunDialogCommand(int argc, char** argv, const RecordOpener& open);

}  // namespace host
