// The one placement rule of the forms' layout tables: a control's row gives
// left, top, width and height in design units (-1 keeps the design value),
// scaled by the document's screen factors and truncated toward zero. The
// forms call it with their own closing-up rules around it.
#pragma once

#include "platform/base/WinTypes.h"

struct _POSITION_CTRL;
class CWnd;

// A design value on screen: value × factor, truncated toward zero.
int ScaleDesignValue(int value, double factor);

// The screen rectangle of a control from its layout row and its design
// rectangle; `xOffset` and `yOffset` (design units) shift it, as a form
// closing up empty sections does.
RECT PlaceFromLayoutRow(const _POSITION_CTRL& row, const RECT& design, double xFactor, double yFactor,
                        int xOffset = 0, int yOffset = 0);

// Moves the control (with repaint) to its place from the row; a visible
// value of 0 hides it. Enabling is the form's own rule and is not done here.
void MoveToLayoutRow(CWnd& control, const _POSITION_CTRL& row, const RECT& design, double xFactor, double yFactor,
                     int xOffset = 0, int yOffset = 0);
