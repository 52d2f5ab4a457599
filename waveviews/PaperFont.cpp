#include "waveviews/PaperFont.h"

#include <cmath>
#include <cwchar>

namespace {

const double kLeastPrintTextMm = 2.0;
const double kPrintTextMm = 3.5;   // character height (em) of the font made here

// The report's kind of font (the print font's face and character set) at
// kPrintTextMm on paper.
bool CreatePaperFont(CFont& font, double pxPerMm)
{
    LOGFONT lf{};
    lf.lfHeight = -static_cast<LONG>(std::lround(kPrintTextMm * pxPerMm));
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lf.lfQuality = PROOF_QUALITY;
    lf.lfPitchAndFamily = FF_MODERN;
    std::wcsncpy(lf.lfFaceName, L"ＭＳ ゴシック", LF_FACESIZE - 1);
    return font.CreateFontIndirect(&lf) != FALSE;
}

}  // namespace

CPaperFont::CPaperFont(CDC& dc, double pxPerMm) : m_selector(dc)
{
    if (!IsPaperSized(dc, pxPerMm) && CreatePaperFont(m_font, pxPerMm)) m_selector.Select(&m_font);
}

bool CPaperFont::IsPaperSized(CDC& dc, double pxPerMm)
{
    TEXTMETRIC metrics{};
    if (!dc.GetTextMetrics(&metrics)) return false;
    return metrics.tmHeight - metrics.tmInternalLeading >= kLeastPrintTextMm * pxPerMm;
}
