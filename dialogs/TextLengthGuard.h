// The length guard of the dialogs' edit fields: a text longer than the
// field's limit, counted in the columns it is drawn in (GetTextColumns: a
// double-byte or full-width character counts 2), is cut to its longest
// leading part within the limit and the caret goes to its end. Run on
// EN_UPDATE (or CBN_EDITUPDATE).
#pragma once

#include "platform/base/Strings.h"

class CWnd;

// Cuts the window's text when it is over the limit; TRUE when it cut.
BOOL GuardTextLength(CWnd& edit, int limit);
// The same for a field whose store keeps the leading part `fit` gives.
BOOL GuardTextLength(CWnd& edit, CString (*fit)(const CString&));

// The guard of an edit against its own EM_LIMITTEXT, scrolled to the caret
// after a cut: the pages' EN_UPDATE handlers.
void GuardEditToItsLimit(CWnd* edit);
// The same for the edit field of a drop-down combo box, whose cut text
// becomes the combo's text with the caret at its end: CBN_EDITUPDATE.
void GuardComboToItsLimit(CWnd* combo);
