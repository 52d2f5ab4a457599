// How an edit control's text falls into lines. Lines end at a line break
// (CR LF, and also a lone CR or LF, as DrawText and the newer edit controls
// take them); with word wrap they also break where DrawText breaks them
// with DT_WORDBREAK | DT_EDITCONTROL, by the one rule both take from
// platform/gdi/LineBreaks.h, and inside a word that is wider than the line. So a
// multi-line edit counts its lines (EM_GETLINECOUNT) exactly as DrawText
// lays the same text out at the same width and font.
//
// Blanks at a soft break stay on the line before it, so the next line
// starts at its first word, as in the edit control.
#pragma once

#include <string>
#include <vector>

namespace platform::ui {

struct EditLine {
    int start = 0;   // index of the line's first character
    int end = 0;     // index after its last character: blanks of a soft break included, a line break not
    int next = 0;    // where the next line starts: after the line break, or `end` at a soft break
};

// The lines of `text`; `advances` holds each character's advance width in
// pixels (a line break's is ignored). `wrapWidth` is the width lines wrap
// at, pixels; negative: no word wrap, lines end only at line breaks.
// Always at least one line; text ending in a line break has an empty last line.
std::vector<EditLine> BreakEditLines(const std::wstring& text, const std::vector<int>& advances, int wrapWidth);

}  // namespace platform::ui
