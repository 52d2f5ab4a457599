// The host's "dialog" command: opens one of the library's dialogs on a
// record's document as its opener would, saves the painted dialog as PNG
// and cancels it (a modeless one is created, painted and destroyed).
#pragma once

#include <string>

#include "host/ViewCommand.h"

namespace host {

// argv holds the arguments after "dialog": FILE --dialog CLASS --png OUT.png
// [--group G] [--template 172|173|174], or FILE --dialog all --out DIR.
// The record is opened by `open`, as for the views. Returns the exit status
// (0 when every requested dialog was saved).
int RunDialogCommand(int argc, char** argv, const RecordOpener& open);

// Whether the command opens dialog class `name` ("panels" included).
bool IsDialogClass(const std::string& name);
// Opens dialog `name` on the record `file` (opened by `open`) as the command
// does, but on the attached display, run by the person in front of it until
// closed. False when it does not open on the record or the display was lost.
bool ShowDialogOnRecord(const std::string& name, const std::string& file, const RecordOpener& open);

}  // namespace host
