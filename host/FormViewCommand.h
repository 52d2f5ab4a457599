// The interpretation forms and the patient strip in the host's "view" and
// "print" commands: the host plays the page pane (a frame of the pane's size
// holding the form, filled from the record and laid out), types into the
// form's controls as a person would, saves through the document as the pane
// does, and prints the forms that print into a page rectangle.
#pragma once

#include <string>
#include <vector>

#include "host/ViewCommand.h"

class CECGDC;
class CRect;
class CTavrionDoc;
class CView;
class CWnd;

namespace host {

// The forms' layout tables, loaded before a record opens: they bind the
// patient and interpretation fields to the record XML, which the documents
// read through them.
void LoadFormLayouts();
// True when --view names one of the forms.
bool IsFormViewRequest(int argc, char** argv);
// "view" of a form: args are the files and options after the command word. Returns the exit status.
int RunFormViewCommand(int argc, char** argv, const RecordOpener& open);
// `--view all`: every form the kind of each record shows, as DIR/CLASS.png
// (DIR/CLASS-N.png for the N-th record). The number of failures.
int RenderAllForms(const std::vector<std::string>& files, const std::string& outDir, const RecordOpener& open);
// Control `id` of `holder` (a form, or a page of a sheet) as a person finds
// it to type into: shown, enabled and not read-only; of two of one id (a
// comment box over the hidden template it replaced), the one they see. Null
// when there is none they can type into, `why` then saying why not ("is
// hidden", "is disabled", "is read-only", "is a read-only list", "is not
// there").
CWnd* TypeableControl(CWnd& holder, int id, std::string& why);

// True for the forms that print themselves (the rest form and the strip).
bool IsPrintingForm(CView* view);
// Fills and lays out the form as its pane would, then prints it into the area; false when it failed.
bool PrintFormPage(CTavrionDoc& doc, CView* view, CECGDC* dc, const CRect& area);

}  // namespace host
