// A field's limit guards what the person types, never what the program put
// in it: a text loaded from the store or the record XML is shown and saved
// whole, however long. Typing into a field already past its limit may not
// lengthen it (the key is refused) but never cuts it; deleting is always
// allowed; a text pasted or typed is cut to what still fits.
#pragma once

#include "platform/base/Strings.h"

class CWnd;

// The part of a text a field's store keeps whole, a leading part of it (the
// exercise comment's three lines): a text fits when it is kept whole.
using TextFit = CString (*)(const CString&);

// What a change the person made, from `before` to `after`, leaves in a field
// of `limit` columns (GetTextColumns). The change is what lies between the
// parts the two texts share at their start and end; the field may take
// `limit` columns, or as many as it had before when that was more, and the
// inserted part is cut to what fits. `caret` is set to the end of what was
// kept of the inserted part.
CString FitTypedChange(const CString& before, const CString& after, int limit, int& caret);
// The same for a field whose store keeps what `fit` gives: a change is
// taken when the text after it is kept whole, or when it only deletes;
// else its inserted part is cut to the longest leading part with which the
// text is still kept whole (a line break and a character never split).
CString FitTypedChange(const CString& before, const CString& after, TextFit fit, int& caret);

// The guard of an edit window at its EN_UPDATE (or CBN_EDITUPDATE).
// `accepted` is the text the field held after its last change: a text the
// program set (the edit's modified flag is clear) is taken whole and
// becomes it; a change the person made is fitted against it. TRUE when the
// window's text was replaced by a shorter one.
BOOL GuardTypedText(CWnd& edit, int limit, CString& accepted);
BOOL GuardTypedText(CWnd& edit, TextFit fit, CString& accepted);
