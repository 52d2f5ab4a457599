// The width a text takes where it is drawn, in columns of a half-width
// character: what every wrap, every cut to fit a box and every field limit
// of the forms and pages counts.
#pragma once

#include "platform/base/Strings.h"

// Whether the character is drawn full width though neither code page 932
// nor 936 holds it (Hangul, CJK extension ideographs, emoji, fullwidth forms).
bool IsDrawnFullWidth(char32_t c);

// Columns of one character: its bytes in code page 932 (Shift-JIS) when 932
// holds it, else its bytes in code page 936 (GBK) when 936 holds it, else 2
// for a character drawn full width and 1 for any other. A character both
// code pages hold counts its Shift-JIS bytes, as GetCharLength does.
int GetCharColumns(char32_t c);

// Columns of the text (a surrogate pair counts as its one character).
int GetTextColumns(const wchar_t* text);

// The longest leading part of the text that takes at most `columns`
// columns; a character is never cut in half.
CString CutToColumns(const CString& text, int columns);
