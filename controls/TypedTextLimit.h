// A field's limit guards what the person types, never what the program put
// in it: a text loaded from the store or the record XML is shown and saved
// whole, however long. Typing into a field already past its limit may not
// lengthen it (the key is refused) but never cuts it; deleting is always
// allowed, and so is typing over a selection with less (in a field whose
// store lays the text out, where that pushes no more of it out of the
// layout); a text pasted or typed is cut to what still fits. An undo, and
// the redo after it, brings back the text the field held before, loaded
// text included.
#pragma once

#include "platform/base/Strings.h"

class CWnd;

// The part of a text a field's store keeps whole, a leading part of it (the
// exercise comment's three lines): a text fits when it is kept whole.
using TextFit = CString (*)(const CString&);

// What the guard keeps of a field between the person's changes.
struct GuardedText {
    CString accepted;       // the text after the last change
    CString before;         // the text before it: what the edit's undo brings back
    bool canUndo = false;   // `before` is what the edit's undo holds; false after a load or a cut

    // The program put `text` in: the next change counts against it, and
    // the edit, its text set, has nothing to undo.
    void Load(const CString& text);
    // The same with the text the program just set in `edit` (at its
    // WM_SETTEXT: a multi-line edit or a combo box's tells no change).
    void Load(const CWnd& edit);
};

// What a change the person made, from `before` to `after`, leaves in a field
// of `limit` columns (GetTextColumns). The change is what lies between the
// parts the two texts share at their start and end; the field may take
// `limit` columns, or as many as it had before when that was more, and the
// inserted part is cut to what fits. `caret` is set to the end of what was
// kept of the inserted part.
CString FitTypedChange(const CString& before, const CString& after, int limit, int& caret);
// The same for a field whose store keeps what `fit` gives: a change is
// taken when the text after it is kept whole, or when it only deletes, or,
// in a text loaded past what is kept, when it leaves the text no wider and
// the store drops no more of it; else its inserted part is cut to the
// longest leading part with which it is taken (a line break and a
// character never split).
CString FitTypedChange(const CString& before, const CString& after, TextFit fit, int& caret);

// The guard of an edit window at its EN_UPDATE (or CBN_EDITUPDATE). A
// text the program set (the edit's modified flag is clear) is taken whole
// and loaded into `field`; so is an undo or a redo, which brings back the
// text the field held before its last change; any other change the person
// made is fitted against the text accepted after the last one. TRUE when
// the window's text was replaced by a shorter one.
BOOL GuardTypedText(CWnd& edit, int limit, GuardedText& field);
BOOL GuardTypedText(CWnd& edit, TextFit fit, GuardedText& field);
