// Where wrapped text may break, for every caller that wraps: DrawText with
// DT_WORDBREAK, and the edit control, which must count its lines exactly as
// DrawText lays the same text out (the system paints multi-line fields with
// DrawText and sizes its forms from the edit control's line count).
//
// A line may break after blanks and between Japanese characters (ideographs,
// kana, full-width forms), never before closing punctuation or small kana,
// never after an opening bracket, and never before a combining mark.
#pragma once

#include <cstddef>
#include <string>

namespace platform::gdi {

// A combining mark: it belongs to the character before it.
bool IsCombiningMark(wchar_t c);

// Whether a wrapped line may begin with text[i] (never at 0 or past the end).
bool CanBreakBefore(const std::wstring& text, size_t i);

}  // namespace platform::gdi
