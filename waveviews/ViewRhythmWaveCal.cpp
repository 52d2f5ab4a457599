// The calibration column, the event marks of rhythm records and the one-lead
// strip's gain and speed of the multi-lead view.
#include <algorithm>
#include <cmath>

#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "documents/ExtraDataItem.h"
#include "documents/MFERViewDoc.h"
#include "documents/RhythmDataItem.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "waveviews/RhythmWaveStyle.h"
#include "waveviews/ViewRhythmWave.h"

namespace {

const UINT kTagElectrodeCode = 4097;   // index = lead: the lead's 16-bit electrode code
// From this electrode code on a freeze record's lead gets no pulse: the free
// leads (EXT1 to EXT6, 119 to 124) are drawn at a fixed gain, not the pulse's.
const int kFirstPulselessCode = 119;

int PulseHeight(double sense, int height, int gridY)
{
    return static_cast<int>(std::floor(sense * height / gridY + 0.5));
}

// Either sense is too tall for a pulse per group.
bool TooTallForGroups(int groups, double a, double b)
{
    return (groups == 6 && (a > 10.0 || b > 10.0)) || (groups >= 3 && (a > 20.0 || b > 20.0)) || a == 40.0 ||
           b == 40.0;
}

// How far a column of pulses, the first based at `first` and the last at
// `last`, moves down so that the first one's top (and the pen's width) stays
// inside the column where the rows are shorter than a pulse: a pulse cut by
// the page's edge reads as another gain. All move alike and keep their pitch.
int WholePulseShift(int first, int last, const int heights[2], BOOL dual, const CRect& column, int print)
{
    const int tallest = dual ? std::max(heights[0], heights[1]) : heights[0];
    const int pen = print ? 2 : 1;
    const int need = static_cast<int>(column.top) + tallest + pen - first;
    const int room = static_cast<int>(column.bottom) - pen - last;
    return std::max(0, std::min(need, room));
}

}  // namespace

int CViewRhythmWave::DrawRestCAL(CDC* pDC, CRect rect, int /*gridX*/, int gridY, int print)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc || m_nLeadGroups <= 0 || gridY <= 0) return 0;
    const CWaveItemRef item = CurrentItem();
    if (!item.Rest() && !item.Mfer() && !item.Rhythm() && !item.Extra()) return 0;

    const int style = m_nWaveStyle;
    const int w = rect.Width();
    const int h = rect.Height();
    double limb = doc->GetSense(1, 0);
    double chest = doc->GetSense(0, 0);
    int heights[2] = {PulseHeight(limb, h, gridY), PulseHeight(chest, h, gridY)};
    const bool dual = IsDualPulseRestStyle(style);
    int n = m_nLeadGroups;
    if (dual) {
        if (item.IsFifteenLead() && IsLimbChestColumnStyle(style)) n = 1;
        if (IsFullWidthPulseStyle(style) && TooTallForGroups(m_nLeadGroups, limb, chest)) n = 1;
        if (!IsFullWidthPulseStyle(style) && (m_nLeadGroups * chest >= gridY || m_nLeadGroups * limb >= gridY))
            n = 1;
    } else if (IsChestPageStyle(style)) {
        const double sense = m_bShowChestLead ? chest : limb;
        heights[0] = heights[1] = PulseHeight(sense, h, gridY);
        const bool byGroups = IsFullWidthPulseStyle(style);
        if (byGroups && TooTallForGroups(m_nLeadGroups, sense, sense)) n = 1;
        if (!byGroups && m_nLeadGroups * sense >= gridY) n = 1;
    } else if (IsLeadMaskStyle(style)) {
        heights[0] = PulseHeight(doc->GetSense(6, 0), h, gridY);
        n = 1;
    } else if (IsOneLeadStyle(style)) {
        heights[0] = heights[1] = PulseHeight(doc->GetSense(2, 0), h, gridY);
    }
    const int pitch = h / n;
    int y = rect.top + pitch / 2;
    y += WholePulseShift(y, y + (n - 1) * pitch, heights, dual, rect, print);
    for (int k = 0; k < n; ++k, y += pitch)
        DrawCAL(pDC, rect.left + MulDiv(w, 2, 10), y, MulDiv(w, 6, 10), heights, dual, print);
    return 1;
}

int CViewRhythmWave::DrawExtraCAL(CDC* pDC, CRect rect, int /*gridX*/, int gridY, int print)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc || m_nLeadGroups <= 0 || gridY <= 0) return 0;
    CMFERParser* reader = nullptr;
    unsigned mferCode = 0;
    if (!FindExtraSource(reader, mferCode)) return 0;
    const int style = m_nWaveStyle;
    const int w = rect.Width();
    const int h = rect.Height();
    const double first = doc->GetSense(4, 0);
    const double second = doc->GetSense(5, 0);
    int heights[2] = {PulseHeight(first, h, gridY), PulseHeight(second, h, gridY)};
    const bool dual = IsDualPulseExtraStyle(style);
    int n = m_nLeadGroups;
    if (!dual) {
        const double sense = m_bShowExtra1Lead ? first : second;
        if (!m_bShowExtra1Lead) heights[0] = heights[1];
        if (TooTallForGroups(m_nLeadGroups, sense, sense)) n = 1;
    } else if ((m_nLeadGroups == 3 && (first > 20.0 || second > 20.0)) || first == 40.0 || second == 40.0) {
        n = 1;
    }
    // Freeze records leave out the pulses of the leads drawn at a fixed gain:
    // an MFER file's leads without a code, an extra record's leads of code
    // 119 or more. A lone pulse stands for the page while any lead takes the gain.
    const bool freezeMfer = reader && CMFERViewDoc::IsFreezeKind(mferCode);
    const _EXTRADATAITEM* extra = CurrentItem().Extra();
    const bool freezeExtra = extra && extra->IsFreeze();
    const auto takesGain = [&](int lead, bool unreadable) {
        if (freezeMfer) return reader->GetLeadCode(lead) != 0;
        int code = 0;
        if (!FreezeElectrodeCode(lead, code)) return unreadable;
        return code < kFirstPulselessCode;
    };
    bool anyTakesGain = !freezeMfer && !freezeExtra;
    const int leads = freezeMfer ? reader->GetLeadCount()
                                 : (freezeExtra ? std::min(extra->stExtraInfo.nLeadCount, RHYTHM_VIEW_LEADS) : 0);
    for (int lead = 0; lead < leads && !anyTakesGain; ++lead) anyTakesGain = takesGain(lead, false);
    const int pitch = h / n;
    int y = rect.top + pitch / 2;
    y += WholePulseShift(y, y + (n - 1) * pitch, heights, dual, rect, print);
    for (int k = 0; k < n; ++k, y += pitch) {
        const bool drawn = n == 1 ? anyTakesGain : (!freezeMfer && !freezeExtra) || takesGain(k, true);
        if (drawn) DrawCAL(pDC, rect.left + MulDiv(w, 2, 10), y, MulDiv(w, 6, 10), heights, dual, print);
    }
    return 1;
}

bool CViewRhythmWave::FreezeElectrodeCode(int lead, int& code) const
{
    CTavrionDoc* doc = GetTavrionDoc();
    const _EXTRADATAITEM* extra = CurrentItem().Extra();
    if (!doc || !extra || !extra->IsFreeze() || !extra->pECGData || lead < 0) return false;
    BYTE bytes[2] = {};
    if (doc->ecgGetData(extra->pECGData, kTagElectrodeCode, static_cast<UINT>(lead), bytes, sizeof(bytes),
                        ECG_DATA_RAW) < 2)
        return false;
    // An unsigned 16-bit value: codes from 0x8000 on are codes past the free leads too.
    code = bytes[0] | (bytes[1] << 8);
    return true;
}

int CViewRhythmWave::DrawRhythmRRCAL(CDC* pDC, CRect rect, int /*gridX*/, int gridY, int print)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc || gridY <= 0) return 0;
    double sense;
    if (m_nDocType == DOC_TYPE_RHYTHM || m_nDocType == DOC_TYPE_MFER)
        sense = doc->GetSense(6, 0);
    else if (m_nDocType == DOC_TYPE_RR)
        sense = doc->GetCommonSense(0);
    else
        return 0;
    if (m_nLeadGroups <= 0 || m_nRows <= 0) return 0;
    const int w = rect.Width();
    const int h = rect.Height();
    int heights[2] = {PulseHeight(sense, h, gridY), PulseHeight(sense, h, gridY)};
    int y = rect.top + h / m_nRows - MulDiv(h, 6, gridY);
    int n = m_nLeadGroups;
    if (m_nLeadGroups == 3 && sense >= 20.0) {
        n = 1;
        y += 2 * h / m_nRows;
    }
    y += WholePulseShift(y, y + (n - 1) * (h / m_nRows), heights, FALSE, rect, print);
    for (int k = 0; k < n; ++k, y += h / m_nRows)
        DrawCAL(pDC, rect.left + MulDiv(w, 2, 10), y, MulDiv(w, 6, 10), heights, FALSE, print);
    return 1;
}

void CViewRhythmWave::DrawEventInfo(CDC* pDC, CRect rect, int gridX, int gridY, int print)
{
    CTavrionDoc* doc = GetTavrionDoc();
    _RHYTHMDATAITEM* item = CurrentItem().Rhythm();
    if (!item || item->arrEvent.GetSize() == 0) return;
    int rowsPerGroup;
    int divisor;
    switch (m_nWaveStyle) {
    case 1: case 2: case 17: rowsPerGroup = 3, divisor = 1; break;
    case 3: rowsPerGroup = 3, divisor = 4; break;
    case 4: rowsPerGroup = 3, divisor = 2; break;
    case 5: case 6: case 8: case 9: case 10: rowsPerGroup = 6, divisor = 1; break;
    case 7: rowsPerGroup = 6, divisor = 2; break;
    case 11: rowsPerGroup = 12, divisor = 1; break;
    case 12: rowsPerGroup = 15, divisor = 1; break;
    case 16: case 19: rowsPerGroup = 1, divisor = 1; break;
    default: return;
    }
    // The marks stand where their samples are drawn.
    const float speed = DrawnSpeed(print);
    // A page without a speed, paper or rows has no place for the marks.
    if (speed <= 0.0f || gridX <= 10 || gridY <= 0 || m_nRows <= 0) return;
    const int samplesPerRow = static_cast<int>(static_cast<float>((gridX - 10) * m_nSampleRate / divisor) / speed);
    if (samplesPerRow <= 0) return;
    const int h = rect.Height();
    const int rowHeight = h / m_nRows;
    const int markHeight = rect.Width() / gridX - 1;
    const int x0 = rect.left + (rect.Width() * 10) / gridX;
    const int width = (rect.right - x0) / divisor;
    const int base = rect.top + (rowsPerGroup - 1) * h / m_nRows + rowHeight - MulDiv(h, 2, gridY);
    const int pageRows = m_nRows / rowsPerGroup;   // groups down the page
    const int drawnRight = DrawnColumnsRight(x0, rect.right);
    CPen pen(PS_SOLID, 1, print ? RGB(0, 0, 0) : doc->GetWaveColor(3));
    CDCObjectSelector<CPen> selector(*pDC, &pen);
    for (INT_PTR i = 0; i < item->arrEvent.GetSize(); ++i) {
        int q = item->arrEvent[i] - GetStartTime();
        if (q < 0) continue;
        int y = base;
        if (q > samplesPerRow) {
            const int k = q / samplesPerRow;
            // Events past the page's last group would land below its rows.
            if (k >= (pageRows > 0 ? pageRows : 1)) continue;
            q -= k * samplesPerRow;
            y += rowHeight * k * rowsPerGroup;
        }
        const int offset = static_cast<int>(static_cast<long long>(width) * q / samplesPerRow);
        if (x0 + offset > drawnRight) continue;
        DrawEvent(pDC, x0, y, markHeight, offset);
    }
}

int CViewRhythmWave::DrawnColumnsRight(int left, int right) const
{
    // The marks belong to the traces: columns whose leads the record does not
    // have stay empty, and so do their marks.
    if (!IsMultiLeadRestStyle(m_nWaveStyle) || m_nRows <= 0) return right;
    const int columns = PageColumns();
    if (columns <= 0) return right;
    return left + static_cast<int>(static_cast<long long>(right - left) * DrawnColumns() / columns);
}

int CViewRhythmWave::DrawnColumns() const
{
    const int style = m_nWaveStyle;
    if (m_nRows <= 0) return 0;
    int drawn = 0;
    if (IsMultiLeadRestStyle(style)) {
        for (int c = 0; c < PageColumns(); ++c)
            for (int lead : ColumnLeads(LeadColumnOf(c)).Listed())
                if (HasLead(lead)) drawn = c + 1;
    } else if (IsExtraFamilyStyle(style)) {
        // The extra pages draw leads 0 to 6, a column after the other.
        const int shift = IsShiftedExtraStyle(style) && !m_bShowExtra1Lead ? 3 : 0;
        for (int c = 0; c < m_nColumns; ++c)
            for (int r = 0; r < m_nRows; ++r) {
                const int lead = m_nRows * c + r + shift;
                if (lead <= 6 && HasLead(lead)) drawn = c + 1;
            }
    }
    return drawn;
}

int CViewRhythmWave::Draw1LeadWaveInfo(CDC* pDC, CRect rect, int gridX, int gridY, int print)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc || gridX <= 10 || gridY <= 0) return 1;
    // The rhythm one-lead style draws its row as the rhythm rows are drawn,
    // at the paper speed and the rhythm gain: its label says so, not the
    // fitted strip's speed and gain, which no trace of that page is drawn at.
    const bool rhythmRow = IsOneLeadRhythmStyle(m_nWaveStyle);
    const double sense = rhythmRow ? RhythmRowSense() : RestColumnSense(0);
    CDCStateSaver saver(*pDC);
    pDC->SetTextColor(print ? RGB(0, 0, 0) : doc->GetWaveColor(3));
    const int length = gridX - 10;
    if (!print && g_bDisplayVersion) {
        pDC->SetTextAlign(TA_LEFT | TA_BOTTOM);
        pDC->TextOut(rect.left + MulDiv(rect.Width(), 10, length), rect.bottom, GetVersionText());
    }
    if (!HasLead(0)) return 1;
    const float speed = DrawnSpeed(print);
    CString gain;
    if (sense == std::floor(sense))
        gain.Format(L"%d mm/mV", static_cast<int>(sense));
    else
        gain.Format(L"%3.2f mm/mV", sense);
    CString speedText;
    const int count = LeadCount(0);
    const int rate = m_nSampleRate;
    if (count <= 0) {
        speedText = L"    mm/s";
    } else {
        // The exact fitting speed in whole squares per second; a record under
        // one second has none.
        const int seconds = rate > 0 ? count / rate : 0;
        if (seconds > 0 && speed == static_cast<float>(length / seconds))
            speedText.Format(L"   %d mm/s", static_cast<int>(speed));
        else
            speedText.Format(L"   %5.2f mm/s", speed);
    }
    pDC->SetTextAlign(TA_RIGHT | TA_BOTTOM);
    pDC->TextOut(rect.right - MulDiv(rect.Width(), 5, length), rect.top + MulDiv(rect.Height(), 5, gridY),
                 gain + speedText);
    return 1;
}

float CViewRhythmWave::Get1LeadWaveSpeed(int print) const
{
    int gridX = 0;
    int gridY = 0;
    GetGridCount(gridX, gridY);
    int length = gridX - 10;
    if (m_nDocType == DOC_TYPE_MFER) {
        _MFERDATAITEM* item = CurrentItem().Mfer();
        if (!item) {
            length = 250;
        } else if (print) {
            const unsigned code = item->uSystemCode;
            const bool extraKind = code == MFER_KIND_EXTRA3 || code == MFER_KIND_EXTRA4 || code == MFER_KIND_EXTRA6 ||
                                   code == MFER_KIND_EXTRA7 || (code >= MFER_KIND_FREEZE1 && code <= MFER_KIND_FREEZE6);
            if (!extraKind) length = 250;
        }
    } else if (print && m_nDocType != DOC_TYPE_EXTRA) {
        length = 250;
    }
    // A strip that shows part of the lead (the divider dialog's) fits that part.
    const int count = m_nStripCount > 0 ? m_nStripCount : LeadCount(0);
    if (count <= 0 || m_nSampleRate <= 0 || length <= 0) return 0.0f;
    const float v = static_cast<float>(length) / (static_cast<float>(count) / static_cast<float>(m_nSampleRate));
    if (!print && !m_bSnapSpeed) return v;
    static const float kLadder[] = {50.0f, 25.0f, 12.5f, 10.0f, 5.0f};
    for (float step : kLadder)
        if (step <= v) return step;
    return 2.5f;
}

float CViewRhythmWave::DrawnSpeed(int print) const
{
    if (IsOneLeadRestStyle(m_nWaveStyle)) return Get1LeadWaveSpeed(print);
    CTavrionDoc* doc = GetTavrionDoc();
    return doc ? doc->GetSpeed() : 0.0f;
}
