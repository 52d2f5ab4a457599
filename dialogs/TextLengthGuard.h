// The length guard of the dialogs' edit fields, run on EN_UPDATE (or
// CBN_EDITUPDATE). The limit counts the columns a text is drawn in
// (GetTextColumns) and guards what the person types (GuardTypedText): a
// text the dialog loaded is shown and kept whole however long; a change the
// person makes may not take the field past its limit (or past its length,
// when it was loaded longer), what was typed or pasted being cut to fit and
// the caret put after it; an undo or a redo brings back the text as it was.
#pragma once

#include "controls/TypedTextLimit.h"
#include "platform/base/Strings.h"

class CWnd;

// Fits the person's change to the limit; TRUE when it cut.
BOOL GuardTextLength(CWnd& edit, int limit);
// The same for a field whose store keeps the leading part `fit` gives: a
// change that would leave more than that part is cut to what it keeps.
BOOL GuardTextLength(CWnd& edit, TextFit fit);
// Notes the text the program just put in an edit or a combo box whose edit
// tells no change when set (a multi-line edit, the edit of a combo box), so
// that the next key counts against it rather than against what the field
// held before.
void NoteLoadedText(CWnd* control);

// The guard of an edit against its own EM_LIMITTEXT, scrolled to the caret
// after a cut: the pages' EN_UPDATE handlers.
void GuardEditToItsLimit(CWnd* edit);
// The same for the edit field of a drop-down combo box: CBN_EDITUPDATE.
void GuardComboToItsLimit(CWnd* combo);
// The guard of a drop-down combo box's edit field against `limit`; TRUE
// when it cut.
BOOL GuardComboTextLength(CWnd* combo, int limit);
