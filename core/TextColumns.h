// The width a text takes where it is drawn, in columns of a half-width
// character: what every wrap, every cut to fit a box and every field limit
// of the forms and pages counts.
#pragma once

#include "platform/base/Strings.h"

// Whether the character is drawn full width: East Asian Wide or Fullwidth
// (the ideographs, Hangul, emoji, the fullwidth forms).
bool IsDrawnFullWidth(char32_t c);

// Columns of one character: its bytes in code page 932 (Shift-JIS) when 932
// holds it, as GetCharLength counts it; else 2 for a character drawn full
// width and 1 for any other (ü and é count 1 though GBK gives them two
// bytes; 这, which only GBK holds, counts 2 as it is drawn).
int GetCharColumns(char32_t c);

// Columns of the text (a surrogate pair counts as its one character).
int GetTextColumns(const wchar_t* text);

// The longest leading part of the text that takes at most `columns`
// columns; a character is never cut in half.
CString CutToColumns(const CString& text, int columns);
