// The comment box of the interpretation forms: a multi-line field made at
// run time over the template's plain edit, which stays hidden, taking that
// edit's place in the tab order; and its stretch to the client's right edge.
#pragma once

#include "platform/base/WinTypes.h"

class CMultiEdit;
class CScrollView;
class CWnd;

// Creates `comment` (id `uID`) at the template edit's left, top and width
// with `nHeight` (design units, not scaled; the edit's own height when not
// above 0), after the edit in the tab order; hides the edit. Nothing when
// the box exists already or the edit is missing.
void CreateCommentBox(CWnd& form, CMultiEdit& comment, CWnd& templateEdit, UINT uID, int nHeight);
// The box reaches the client's right edge less 5 × g_dXUnit, and less the
// scroll bar's width while the form's content is as high as its client.
void StretchCommentBox(CScrollView& form, CMultiEdit& comment);
