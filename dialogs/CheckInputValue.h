// The value check of the patient pages: a field's text must be an unsigned
// number (integer, or decimal with at most one point) within the bounds.
// A failure is shown at once as a box without owner, captioned
// "無効値です", and answered with 255; a pass, or check 0, gives 0. Empty
// and blank texts always pass.
#pragma once

#include "platform/base/Strings.h"

int CheckInputValue(CString text, CString name, float upper, float lower, int check, int decimal, int reserved);

// The caption of every box the patient pages show for a refused value.
extern const wchar_t* const kInvalidValueCaption;
