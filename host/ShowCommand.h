// The host's "show" command: a record's page pane in a frame (or a patient
// sheet) on a real X display, worked by the person in front of it until the
// frame (the sheet) is closed.
#pragma once

#include "host/ViewCommand.h"

namespace host {

// morvelance-host show FILE... --pane CLASS [--style N] [--no-patient]
//   [--magnifier] [--size WxH] [--user NAME] [--display NAME]: each record's
//   pane in turn; a serial comparison pane shows every FILE at once, as the
//   pane command's. With --user the host acts for that user, whom the
//   editor and doctor prompts of the page list.
// morvelance-host show FILE --dialog CDlgPatientInfoComment|CDlgInfoCommentGeneral
//   [--user NAME] [--display NAME]: the patient sheet on its own; with --user
//   the host acts for that user, who may save.
// args: the files and options after the command word. 0 once the frame is
// closed; 1 when the display cannot be opened or is lost; 2 for bad options.
int RunShowCommand(int argc, char** argv, const RecordOpener& open);

}  // namespace host
