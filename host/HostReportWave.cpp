#include "host/HostReportWave.h"

#include "core/TavrionDoc.h"
#include "dialogs/DlgPrintStatus.h"
#include "host/HostReportPane.h"
#include "printdevice/ECGDC.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/ViewScroll1LeadWave.h"

namespace host {

int CountViewPages(const CViewRhythmWave& view, int gridMm)
{
    // A printed page shows what the report's grid holds, whatever the grid
    // the view has on screen.
    return view.PageCount(gridMm, 1);
}

CString HostSettingsLine(CViewRhythmWave& view)
{
    auto* doc = dynamic_cast<CTavrionDoc*>(view.GetDocument());
    CString line;
    if (doc)
        line.Format(L"%.2f mm/mV  %.1f mm/s  %d Hz  %s", doc->GetSense(6, 0), doc->GetSpeed(), doc->GetFilter(),
                    view.IsHalfStyle() ? L"(1/2)" : L"");
    return line;
}

namespace {
StripKind StripOf(bool usStyle, bool interpre)
{
    return interpre ? StripKind::Interpretation : usStyle ? StripKind::UsStyle : StripKind::Wave;
}
}  // namespace

short CHostWaveReport::PrintReport()
{
    CHostReportPane pane(*m_pDoc, m_style, StripOf(m_bUsStyle, m_bInterpre));
    CViewRhythmWave* view = pane.View();
    if (!view) return 1;
    m_nPageCount = m_bInterpre ? 1 : CountViewPages(*view, kWaveGridMm);
    if (m_bInterpre) UpdateInterpreDisplay(pane.Average());
    for (int part = 0; part < m_nPageCount; ++part) {
        CString status;
        status.Format(L"%d/%d ページ", part + 1, m_nPageCount);
        if (m_pDlgPrintStatus) m_pDlgPrintStatus->SetStatusText(status);
        if (m_pECGDC->StartPage() <= 0) return 1;
        const int drawn = PrintWavePart(pane, part);
        if (m_pECGDC->EndPage() <= 0 || !drawn) return 1;
    }
    return 0;
}

int CHostWaveReport::PrintWavePart(CHostReportPane& pane, int nPart)
{
    if (m_bInterpre) return PrintRestInterpre(pane.Strip(), pane.Average(), nPart + 1);
    const BOOL numbered = m_nPageCount > 1;
    const int strip = m_bStrip ? 1 : 0;
    if (m_bUsStyle) return PrintRhythmWaveAme(pane.View(), pane.Strip(), nPart + 1, nPart, numbered, strip, -1);
    return PrintRhythmWave(pane.View(), pane.Strip(), nPart + 1, nPart, numbered, m_title, strip, -1);
}

short CHostWaveAnnoReport::PrintAnnotation()
{
    CHostReportPane pane(*m_pDoc, m_style, StripOf(m_bUsStyle, m_bInterpre));
    if (!pane.View() || m_pECGDC->StartPage() <= 0) return 1;
    const int drawn = PrintPage(pane);
    return m_pECGDC->EndPage() > 0 && drawn ? 0 : 1;
}

int CHostWaveAnnoReport::PrintPage(CHostReportPane& pane)
{
    if (m_bInterpre) {
        UpdateInterpreDisplay(pane.Average());
        return PrintRestInterpreAnnotation(pane.Strip(), pane.Average());
    }
    // The annotated page carries the strip only when asked for.
    CViewScroll1LeadWave* strip = m_bStrip ? pane.Strip() : nullptr;
    return m_bUsStyle ? PrintRhythmWaveAmeAnnotation(pane.View(), strip)
                      : PrintRhythmWaveAnnotation(pane.View(), strip, m_title);
}

}  // namespace host
