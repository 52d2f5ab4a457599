// CPaperFont: printed texts are drawn in the font the caller selected into
// the print DC, unless that font is of screen size there (a printer DC's own
// font, or a screen font: characters under 2 mm on paper); then, for the
// object's lifetime, in the report's kind of font at 3.5 mm.
#pragma once

#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/Font.h"

class CPaperFont {
public:
    CPaperFont(CDC& dc, double pxPerMm);
    CPaperFont(const CPaperFont&) = delete;
    CPaperFont& operator=(const CPaperFont&) = delete;

    static bool IsPaperSized(CDC& dc, double pxPerMm);

private:
    CFont m_font;                        // declared first: it outlives its selection
    CDCObjectSelector<CFont> m_selector;
};
