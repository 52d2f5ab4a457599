// CExerBeatCell: one beat cell of the exercise average-beat views.
#include "analysisviews/ExerBeatCell.h"

#include "documents/ExerViewDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/gdi/Image.h"
#include "waveviews/WaveView.h"
#include "waveviews/WaveViewMagnifier.h"

namespace {

// 2.5 microvolts per count of an averaged beat.
const double kBeatScale = 0.0025;
const int kTicks = 5;

}  // namespace

CExerBeatCell::CExerBeatCell(CWaveView& view, CExerViewDoc& doc, const _EXERDATAITEM& item, BOOL print)
    : m_view(view), m_doc(doc), m_item(item), m_bPrint(print)
{
}

void CExerBeatCell::TickPositions(const _EXERDATAITEM& item, const ExerBeat& beat, int positions[5])
{
    const int jPoint = beat.nReference + item.nOffset;
    positions[0] = beat.nReference - item.nOnset;
    positions[1] = jPoint;
    positions[2] = jPoint + item.nStLevelPoint;
    positions[3] = jPoint + item.nSlope1Point;
    positions[4] = positions[3] + beat.nMeasOffset;
}

BOOL CExerBeatCell::Draw(CDC* pDC, const CRect& cell, const ExerBeat& beat, int traceColour, int tickColour) const
{
    if (beat.nLength < MIN_SAMPLES || !beat.pSamples) return TRUE;
    if (!m_view.DrawWave(pDC, cell, kBeatScale, beat.pSamples, beat.nLength, m_bPrint, traceColour)) return FALSE;
    if (!m_doc.GetMeasurePoint() || beat.nReference == 0) return TRUE;
    int positions[kTicks];
    TickPositions(m_item, beat, positions);
    for (int i = 0; i < kTicks; ++i) {
        // A tick off the beat (before its second sample or past its end) draws nothing.
        const BOOL upward = i != 2;
        if (!m_view.DrawMeasLine(pDC, cell, kBeatScale, beat.pSamples, beat.nLength, positions[i], upward, m_bPrint,
                                 tickColour))
            return FALSE;
    }
    return TRUE;
}

CString CExerBeatCell::StValueText(int level)
{
    CString text;
    if (level == NO_VALUE)
        text = L"*.*";
    else if (level > 0)
        text.Format(L"+%3.1f", level * 0.1);
    else if (level == 0)
        text.Format(L"%3.1f", 0.0);
    else
        text.Format(L"-%3.1f", -level * 0.1);
    return text;
}

CString CExerBeatCell::StText(int level, BOOL restBeat) const
{
    const wchar_t* label = !restBeat && m_item.nStMeasCondition ? L"R-ST" : L"ST-L";
    return CString(label) + L": " + StValueText(level);
}

CString CExerBeatCell::PhaseText(const _EXERDATAITEM& item)
{
    CString text;
    if (item.nCurTime < item.nExerTime) {
        text.Format(L"Ex. %d'%02d''", item.nCurTime / 60, item.nCurTime % 60);
    } else {
        const int after = item.nCurTime - item.nExerTime;
        text.Format(L"Af. %d'%02d''", after / 60, after % 60);
    }
    return text;
}

void CExerBeatCell::PaintView(CWaveView& view, CDC* pDC, const DrawFunction& draw)
{
    PaintViewWhenDrawn(view, pDC, [&draw](CDC* page, const CRect& client, int across, int down) {
        draw(page, client, across, down);
        return 1;
    });
}

void CExerBeatCell::PaintViewWhenDrawn(CWaveView& view, CDC* pDC, const CheckedDrawFunction& draw)
{
    CRect client;
    view.GetClientRect(&client);
    if (client.Width() <= 0 || client.Height() <= 0) return;
    CDC page;
    if (!page.Attach(platform::gdi::CreateImageDC(client.Width(), client.Height()))) return;
    view.CWaveView::OnDraw(&page);
    int drawn = 0;
    {
        CDCStateSaver saver(page);
        CDCObjectSelector<CFont> font(page);
        CTavrionDoc* doc = view.GetTavrionDoc();
        font.Select(doc ? doc->GetDocFont(TEXT_FONT) : nullptr);
        page.SetBkMode(TRANSPARENT);
        page.SetTextAlign(TA_LEFT | TA_TOP);
        page.SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
        int across = 0;
        int down = 0;
        view.GetGridCount(across, down);
        drawn = draw(&page, client, across, down);
    }
    if (!drawn) return;
    view.DrawAnnotation(&page, client, FALSE, 1.0f);
    pDC->BitBlt(0, 0, client.Width(), client.Height(), &page, 0, 0, SRCCOPY);
}

CString CExerBeatCell::SenseText(double sense)
{
    CString text;
    text.Format(L"%.2f mm/mV", sense);
    return text;
}

void CExerBeatCell::SetUpMagnifier(CWaveView& view, CWaveViewMagnifier& magnifier, const DrawFunction& draw)
{
    CWaveViewMagnifier::Drawing drawing;
    drawing.drawView = [&view, draw](CDC* dc, const CRect& rect, float) {
        int across = 0;
        int down = 0;
        view.GetGridCount(across, down);
        draw(dc, rect, across, down);
        return TRUE;
    };
    CTavrionDoc* doc = view.GetTavrionDoc();
    drawing.pFont = doc ? doc->GetDocFont(TEXT_FONT) : nullptr;
    magnifier.SetDrawing(drawing);
}
