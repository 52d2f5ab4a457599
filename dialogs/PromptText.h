// What the small prompts of the library share when they show their texts:
// every control and the dialog itself take the normal dialog font.
#pragma once

#include "platform/base/Strings.h"

class CWnd;
class CStringArray;

// Gives control `id` of `dialog` its text and the normal dialog font.
void SetPromptText(CWnd& dialog, int id, LPCWSTR text);

// Fills the drop-down list `id` with the names in list order and selects the
// first; with exactly one name the list is disabled, as there is no choice.
void FillNameList(CWnd& dialog, int id, const CStringArray* names);

// Puts the up (139) and down (140) arrow icons of the library on two buttons.
void SetIconButtons(CWnd& dialog, int upId, int downId);
