// The page frames and traces of the multi-lead view: rest, rhythm/RR and
// extra families, for the screen and for printing.
#include <algorithm>
#include <cmath>

#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "documents/ExtraViewDoc.h"
#include "documents/MFERViewDoc.h"
#include "documents/RRViewDoc.h"
#include "documents/RestViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "platform/gdi/DCStateSaver.h"
#include "waveviews/ViewRhythmWave.h"

namespace {

int RoundHalfUp(double value)
{
    return static_cast<int>(std::floor(value + 0.5));
}

bool IsOneLeadRestStyle(int style)
{
    return style == 13 || style == 14 || style == 15 || style == 19;
}

int CountBits(short mask)
{
    int n = 0;
    for (int bit = 0; bit < 15; ++bit)
        if (mask & (1 << bit)) ++n;
    return n;
}

// The set bits of the mask from `from` to 14, ascending.
std::vector<int> MaskLeads(short mask, int from)
{
    std::vector<int> leads;
    for (int bit = from; bit < 15; ++bit)
        if (mask & (1 << bit)) leads.push_back(bit);
    return leads;
}

}  // namespace

// ---- item texts -----------------------------------------------------------------------------

CString CViewRhythmWave::LeadName(int lead) const
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc || lead < 0 || lead >= RHYTHM_VIEW_LEADS) return CString();
    switch (m_nDocType) {
    case DOC_TYPE_REST:
        if (auto* rest = DYNAMIC_DOWNCAST(CRestViewDoc, doc))
            if (_RESTDATAITEM* item = rest->GetCurrentDataItem()) return item->stLeadName.strDispName[lead];
        break;
    case DOC_TYPE_RHYTHM:
        if (auto* rhythm = DYNAMIC_DOWNCAST(CRhythmViewDoc, doc))
            if (_RHYTHMDATAITEM* item = rhythm->GetCurrentDataItem()) return item->stLeadName.strDispName[lead];
        break;
    case DOC_TYPE_RR:
        if (auto* rr = DYNAMIC_DOWNCAST(CRRViewDoc, doc))
            if (_RRDATAITEM* item = rr->GetCurrentDataItem()) return item->stLeadName.strDispName[lead];
        break;
    case DOC_TYPE_EXTRA:
        if (auto* extra = DYNAMIC_DOWNCAST(CExtraViewDoc, doc))
            if (_EXTRADATAITEM* item = extra->GetCurrentDataItem()) return item->stLeadName.strDispName[lead];
        break;
    case DOC_TYPE_MFER:
        if (auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, doc)) {
            if (_MFERDATAITEM* item = mfer->GetCurrentDataItem()) {
                if (m_nWaveStyle >= 22 && item->pMFERParser) return item->pMFERParser->GetLeadName(lead);
                return item->stLeadName.strDispName[lead];
            }
        }
        break;
    default:
        break;
    }
    return CString();
}

CString CViewRhythmWave::StartTimeText(int sample) const
{
    int minutes = 0;
    int seconds = 0;
    CTavrionDoc* doc = GetTavrionDoc();
    if (doc && m_nDocType == DOC_TYPE_RHYTHM) {
        if (auto* rhythm = DYNAMIC_DOWNCAST(CRhythmViewDoc, doc)) {
            if (_RHYTHMDATAITEM* item = rhythm->GetCurrentDataItem()) {
                minutes = item->byStartMinute;
                seconds = item->byStartSecond;
            }
        }
    } else if (doc && m_nDocType == DOC_TYPE_RR) {
        if (auto* rr = DYNAMIC_DOWNCAST(CRRViewDoc, doc)) {
            if (_RRDATAITEM* item = rr->GetCurrentDataItem()) {
                minutes = item->byStartTime[0];
                seconds = item->byStartTime[1];
            }
        }
    }
    // Extra and MFER items keep no start time of their own: they start at 0:00.
    const int rate = m_nSampleRate > 0 ? m_nSampleRate : 1;
    const int total = sample / rate + minutes * 60 + seconds;
    CString text;
    text.Format(L"%d:%02d", total / 60, total % 60);
    return text;
}

// ---- page frames ------------------------------------------------------------------------------

void CViewRhythmWave::PlaceZeroLines(CRect rect, int gridY, int print)
{
    CalAutoSensPos(rect, gridY, print);
    if (!print) {
        if (CWnd* parent = GetSafeHwnd() ? GetParent() : nullptr)
            parent->SendMessage(WM_USER + 0x15, static_cast<WPARAM>(m_nWaveStyle), 0);
    }
}

void CViewRhythmWave::DrawCalAndWave(CDC* pDC, CRect rect, int gridX, int gridY, int print, PartDraw cal,
                                     PartDraw wave)
{
    const int k = MulDiv(rect.Width(), 10, gridX);
    (this->*cal)(pDC, CRect(rect.left, rect.top, rect.left + k, rect.bottom), gridX, gridY, print);
    (this->*wave)(pDC, CRect(rect.left + k, rect.top, rect.right, rect.bottom), gridX, gridY, print);
}

int CViewRhythmWave::DrawRestView(CDC* pDC, CRect rect, int gridX, int gridY, int print)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc || gridX <= 0 || gridY <= 0) return 1;
    const COLORREF old = pDC->SetTextColor(print ? RGB(0, 0, 0) : doc->GetWaveColor(3));
    if (IsOneLeadRestStyle(m_nWaveStyle)) Draw1LeadWaveInfo(pDC, rect, gridX, gridY, print);
    PlaceZeroLines(rect, gridY, print);
    DrawCalAndWave(pDC, rect, gridX, gridY, print, &CViewRhythmWave::DrawRestCAL, &CViewRhythmWave::DrawRestWave);
    pDC->SetTextColor(old);
    return 1;
}

int CViewRhythmWave::DrawExtraView(CDC* pDC, CRect rect, int gridX, int gridY, int print)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc || gridX <= 0 || gridY <= 0) return 1;
    const COLORREF old = pDC->SetTextColor(print ? RGB(0, 0, 0) : doc->GetWaveColor(3));
    PlaceZeroLines(rect, gridY, print);
    DrawCalAndWave(pDC, rect, gridX, gridY, print, &CViewRhythmWave::DrawExtraCAL, &CViewRhythmWave::DrawExtraWave);
    pDC->SetTextColor(old);
    return 1;
}

int CViewRhythmWave::DrawRhythmRRView(CDC* pDC, CRect rect, int gridX, int gridY, int print)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc || gridX <= 0 || gridY <= 0) return 1;
    const COLORREF old = pDC->SetTextColor(print ? RGB(0, 0, 0) : doc->GetWaveColor(3));
    if (m_nDocType == DOC_TYPE_RHYTHM || m_nDocType == DOC_TYPE_MFER) {
        unsigned code = 0;
        if (auto* rhythm = DYNAMIC_DOWNCAST(CRhythmViewDoc, doc)) {
            if (_RHYTHMDATAITEM* item = rhythm->GetCurrentDataItem()) code = item->uSystemCode;
        } else if (auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, doc)) {
            if (_MFERDATAITEM* item = mfer->GetCurrentDataItem()) code = item->uSystemCode;
        }
        const short mask = doc->GetLeadSelection(static_cast<int>(code), m_nWaveStyle);
        if (CountBits(mask) == m_nLeadGroups) {
            const std::vector<int> leads = MaskLeads(mask, 0);
            for (size_t row = 0; row < leads.size() && row < 3; ++row) m_nRhythmRowLead[row] = leads[row];
        } else {
            // No selection of the record's own yet: the first loaded leads.
            int lead = 0;
            for (int row = 0; row < m_nLeadGroups && row < 3; ++row) {
                if (m_nRhythmRowLead[row] >= 0) continue;
                while (lead < RHYTHM_VIEW_LEADS && !m_pLeadData[lead]) ++lead;
                if (lead < RHYTHM_VIEW_LEADS) m_nRhythmRowLead[row] = lead++;
            }
        }
    }
    if (m_nWaveStyle == 18) Draw1LeadWaveInfo(pDC, rect, gridX, gridY, print);
    DrawCalAndWave(pDC, rect, gridX, gridY, print, &CViewRhythmWave::DrawRhythmRRCAL,
                   &CViewRhythmWave::DrawRhythmRRWave);
    pDC->SetTextColor(old);
    return 1;
}

void CViewRhythmWave::ColumnSpan(int c, int columns, int gridX, float speed, int start, bool continuous, int print,
                                 int millimetre, int& first, int& count, int& shift) const
{
    count = static_cast<int>(static_cast<float>(m_nSampleRate * (gridX - 10) / columns) / speed);
    first = start + count * c * (continuous ? 1 : 0);
    if (!print && c > 0) {
        // The screen leaves one millimetre between columns.
        const int gap = static_cast<int>(m_nSampleRate / speed);
        first += gap;
        count -= gap;
        shift = millimetre;
    }
}

// ---- rest traces --------------------------------------------------------------------------------

int CViewRhythmWave::DrawRestWave(CDC* pDC, CRect rect, int gridX, int gridY, int print)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc) return 0;
    bool hasItem = false;
    unsigned mferCode = 0;
    int startTimeFlag = 1;
    unsigned systemCode = 0;
    switch (m_nDocType) {
    case DOC_TYPE_REST:
        if (auto* rest = DYNAMIC_DOWNCAST(CRestViewDoc, doc))
            if (_RESTDATAITEM* item = rest->GetCurrentDataItem()) hasItem = true, systemCode = item->uSystemCode;
        break;
    case DOC_TYPE_MFER:
        if (auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, doc)) {
            if (_MFERDATAITEM* item = mfer->GetCurrentDataItem()) {
                hasItem = true;
                systemCode = mferCode = item->uSystemCode;
                startTimeFlag = item->bRhythmRecording;
            }
        }
        break;
    case DOC_TYPE_RHYTHM:
        if (auto* rhythm = DYNAMIC_DOWNCAST(CRhythmViewDoc, doc))
            if (_RHYTHMDATAITEM* item = rhythm->GetCurrentDataItem()) hasItem = true, systemCode = item->uSystemCode;
        break;
    case DOC_TYPE_EXTRA:
        if (auto* extra = DYNAMIC_DOWNCAST(CExtraViewDoc, doc))
            if (_EXTRADATAITEM* item = extra->GetCurrentDataItem()) hasItem = true, systemCode = item->uSystemCode;
        break;
    default:
        return 0;
    }
    if (!hasItem) return 0;
    const int style = m_nWaveStyle;
    const float speed = doc->GetSpeed();
    const int w = rect.Width();
    const int h = rect.Height();
    // A page needs a speed, a size and rows to lay the traces out on.
    if (speed <= 0.0f || gridX <= 10 || gridY <= 0 || m_nRows <= 0 || m_nColumns <= 0 || w <= 0 || h <= 0) return 1;

    const bool fifteen = m_nDocType != DOC_TYPE_EXTRA && IsFifteenLeadRecord();
    const bool oneLead = IsOneLeadRestStyle(style);
    const bool continuous = style == 1 || style == 2 || style == 5 || style == 6 || style == 9 || style == 10;
    const bool chestPage = m_bShowChestLead && (style == 2 || style == 4 || style == 9 || style == 10);
    const int columns = (chestPage && fifteen && (style == 2 || style == 4)) ? 3 : m_nColumns;
    const float columnWidth = static_cast<float>(w) / static_cast<float>(columns);
    const short mask = doc->GetLeadSelection(static_cast<int>(systemCode), style);
    const int millimetre = w / (gridX - 10);
    const int start = GetStartTime();
    bool startDrawn = false;
    const bool startTimeKind =
        (m_nDocType == DOC_TYPE_MFER && (mferCode == 0x800C || mferCode == 0x800F || mferCode == 0x8001 ||
                                         mferCode == 0x8003)) ||
        m_nDocType == DOC_TYPE_RHYTHM;
    const bool startTimeShown = startTimeKind && style != 19 &&
                                !((mferCode == 0x800C || mferCode == 0x800F) && startTimeFlag == 0) &&
                                !(print && style == 13);

    for (int c = 0; c < columns; ++c) {
        int rows = m_nRows;
        std::vector<int> leads;
        if (style == 11 || style == 12) {
            leads = MaskLeads(mask, 0);
            rows = static_cast<int>(leads.size());
        } else if (fifteen && style >= 5 && style <= 10 && (m_nRows * c >= 6 || chestPage)) {
            leads = MaskLeads(mask, 6);
            rows = static_cast<int>(leads.size());
        } else {
            for (int r = 0; r < rows; ++r)
                leads.push_back(oneLead ? m_nRhythm1LeadID : rows * c + 6 * (chestPage ? 1 : 0) + r);
        }
        if (rows <= 0) continue;

        double sense;
        if (style == 11 || style == 12)
            sense = doc->GetSense(6, 0);
        else if (oneLead)
            sense = doc->GetSense(2, 0);
        else if (m_nRows * c < 6 && !chestPage)
            sense = doc->GetSense(1, 0);
        else
            sense = doc->GetSense(0, 0);
        const int mv = RoundHalfUp(sense * h / gridY);

        int perColumn;
        int columnStart = start;
        int shift = 0;
        if (oneLead) {
            const float oneSpeed = Get1LeadWaveSpeed(print);
            if (oneSpeed <= 0.0f) return 1;
            perColumn = static_cast<int>(static_cast<float>((gridX - 10) * m_nSampleRate / columns) / oneSpeed);
        } else {
            ColumnSpan(c, columns, gridX, speed, start, continuous, print, millimetre, columnStart, perColumn, shift);
        }
        if (perColumn < 0) perColumn = 0;
        m_nSamplesPerColumn = perColumn;

        const int columnLeft = rect.left + static_cast<int>(c * columnWidth);
        const int columnRight = rect.left + static_cast<int>((c + 1) * columnWidth);
        for (int r = 0; r < rows; ++r) {
            const int lead = leads[static_cast<size_t>(r)];
            const int buffer = oneLead ? 0 : lead;
            if (lead < 0 || lead >= RHYTHM_VIEW_LEADS || !m_pLeadData[buffer]) continue;
            int y = rect.top + h / (2 * rows) + r * (h / rows);
            const int baseline = print ? m_nPrintBaseline[buffer] : m_nScreenBaseline[buffer];
            if (baseline > 0) y = rect.top + baseline;
            if (print && (style == 13 || style == 15) && y + mv > rect.bottom) y = rect.top + h / 2;
            CRect trace(columnLeft + shift, y, columnRight, y + mv);

            int labelY = y;
            if (rows <= 6) labelY -= MulDiv(h, 3, gridY);
            labelY = std::max(labelY, rect.top + MulDiv(h, 4, gridY));
            {
                CDCStateSaver saver(*pDC);
                pDC->SetTextAlign(TA_LEFT | TA_BOTTOM);
                pDC->TextOut(columnLeft + MulDiv(w, 5, gridX), labelY, LeadName(lead));
            }

            const int limit = (style == 14 || style == 19) ? m_nOneLeadLength : m_nLeadCount[buffer];
            int count = perColumn;
            const int remaining = limit - columnStart;
            if (remaining < count) {
                count = std::max(remaining, 0);
                if (perColumn > 0) trace.right = trace.left + MulDiv(count, trace.Width(), perColumn);
            }
            if (count > 0 && columnStart >= 0) {
                if (!DrawWave(pDC, trace, m_dAmplitudeUnit * 0.001, m_pLeadData[buffer] + columnStart, count, print,
                              -1))
                    return 0;
            }
            if (startTimeShown && !startDrawn) {
                startDrawn = true;
                const bool wide = style == 11 || style == 12;
                const int x = rect.left + MulDiv(w, wide ? 10 : 5, gridX);
                const int below = MulDiv(h, wide ? 2 : 1, gridY);
                CDCStateSaver saver(*pDC);
                pDC->SetTextAlign(TA_LEFT | TA_TOP);
                pDC->TextOut(x, labelY + below, StartTimeText(start));
            }
        }
        if (print && GetShowMarkFlag()) {
            const double interval = style == 13 ? Get1LeadWaveSpeed(print) : speed;
            DrawMarkLine(pDC, interval, CRect(columnLeft, rect.top, columnRight, rect.bottom), w / (gridX - 10.0));
        }
    }
    if (!print && g_bDisplayVersion) {
        static const int kVersionStyles[] = {3, 4, 6, 9, 10, 12, 15, 16, 18, 21, 22, 24, 27, 28, 30, 31, 32};
        const int page = doc->GetRhythmWaveStyle();
        const bool rhythmPage = m_nDocType == DOC_TYPE_RHYTHM && (page == 16 || page == 17);
        const bool restPage = (m_nDocType == DOC_TYPE_REST || m_nDocType == DOC_TYPE_MFER) &&
                              std::find(std::begin(kVersionStyles), std::end(kVersionStyles), page) !=
                                  std::end(kVersionStyles);
        if (rhythmPage || restPage) {
            CDCStateSaver saver(*pDC);
            pDC->SetTextAlign(TA_LEFT | TA_BOTTOM);
            pDC->TextOut(rect.left, rect.bottom, GetVersionText());
        }
    }
    if (print) DrawDurationMarks(pDC, rect, gridX);
    return 1;
}

// ---- rhythm and RR traces -----------------------------------------------------------------------

int CViewRhythmWave::DrawRhythmRRWave(CDC* pDC, CRect rect, int gridX, int gridY, int print)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc) return 0;
    double sense = 0.0;
    unsigned mferCode = 0;
    int startTimeFlag = 1;
    if (m_nDocType == DOC_TYPE_RHYTHM) {
        auto* rhythm = DYNAMIC_DOWNCAST(CRhythmViewDoc, doc);
        if (!rhythm || !rhythm->GetCurrentDataItem()) return 0;
        sense = doc->GetSense(6, 0);
    } else if (m_nDocType == DOC_TYPE_MFER) {
        auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, doc);
        _MFERDATAITEM* item = mfer ? mfer->GetCurrentDataItem() : nullptr;
        if (!item) return 0;
        mferCode = item->uSystemCode;
        startTimeFlag = item->bRhythmRecording;
        sense = doc->GetSense(6, 0);
    } else if (m_nDocType == DOC_TYPE_RR) {
        auto* rr = DYNAMIC_DOWNCAST(CRRViewDoc, doc);
        if (!rr || !rr->GetCurrentDataItem()) return 0;
        sense = doc->GetCommonSense(0);
    } else {
        return 0;
    }
    const float speed = doc->GetSpeed();
    const int w = rect.Width();
    const int h = rect.Height();
    if (speed <= 0.0f || gridX <= 10 || gridY <= 0 || m_nRows <= 0 || w <= 0 || h <= 0) return 1;
    const int rowSamples = static_cast<int>(static_cast<float>((gridX - 10) * m_nSampleRate) / speed);
    if (m_nLeadGroups <= 0) return 1;
    const int mv = RoundHalfUp(sense * h / gridY);
    const int square = h / gridY;
    int y = rect.top + h / (2 * m_nRows) + 5 * square;
    const int start = GetStartTime();
    const bool startShown = !(mferCode == 0x800F || mferCode == 0x800C) || startTimeFlag != 0;
    const int labelX = rect.left + MulDiv(w, 5, gridX);

    for (int g = 0; g < m_nRows / m_nLeadGroups; ++g) {
        for (int j = 0; j < m_nLeadGroups; ++j) {
            const int lead = m_nLeadGroups == 1 ? m_nRhythmRowLead[0] : m_nRhythmRowLead[j % 3];
            if (lead < 0 || lead >= RHYTHM_VIEW_LEADS) continue;
            const int from = g * rowSamples + start;
            CRect trace(rect.left, y, rect.right, y + mv);
            if (g == 0) {
                CDCStateSaver saver(*pDC);
                pDC->SetTextAlign(TA_LEFT | TA_BOTTOM);
                pDC->TextOut(labelX, y - 5 * square, LeadName(lead));
            }
            if (m_pLeadData[lead] && m_nLeadCount[lead] > from && rowSamples > 0) {
                int count = rowSamples;
                if (m_nLeadCount[lead] - from < count) {
                    count = m_nLeadCount[lead] - from;
                    trace.right = trace.left + MulDiv(count, trace.Width(), rowSamples);
                }
                if (!DrawWave(pDC, trace, m_dAmplitudeUnit * 0.001, m_pLeadData[lead] + from, count, print, -1))
                    return 0;
            }
            if (j == 0 && startShown) {
                CDCStateSaver saver(*pDC);
                pDC->SetTextAlign(TA_LEFT | TA_TOP);
                pDC->TextOut(labelX, y - 5 * square, StartTimeText(from));
            }
            y += h / m_nRows;
        }
        if (print && GetShowMarkFlag())
            DrawMarkLine(pDC, speed, CRect(rect.left, rect.top, rect.right, y - h / m_nRows + mv),
                         w / (gridX - 10.0));
    }
    if (print) DrawDurationMarks(pDC, rect, gridX);
    return 1;
}

// ---- extra traces -------------------------------------------------------------------------------

bool CViewRhythmWave::FindExtraSource(CMFERParser*& reader, unsigned& mferCode) const
{
    reader = nullptr;
    mferCode = 0;
    CTavrionDoc* doc = GetTavrionDoc();
    if (m_nDocType == DOC_TYPE_EXTRA) {
        auto* extra = DYNAMIC_DOWNCAST(CExtraViewDoc, doc);
        return extra && extra->GetCurrentDataItem();
    }
    if (m_nDocType == DOC_TYPE_MFER) {
        auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, doc);
        _MFERDATAITEM* item = mfer ? mfer->GetCurrentDataItem() : nullptr;
        if (!item) return false;
        reader = item->pMFERParser;
        mferCode = item->uSystemCode;
        return true;
    }
    return false;
}

int CViewRhythmWave::DrawExtraWave(CDC* pDC, CRect rect, int gridX, int gridY, int print)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc) return 0;
    unsigned mferCode = 0;
    CMFERParser* reader = nullptr;
    if (!FindExtraSource(reader, mferCode)) return 0;
    const int style = m_nWaveStyle;
    const float speed = doc->GetSpeed();
    const int w = rect.Width();
    const int h = rect.Height();
    if (speed <= 0.0f || gridX <= 10 || gridY <= 0 || m_nRows <= 0 || m_nColumns <= 0 || w <= 0 || h <= 0) return 1;
    const bool continuous = style >= 22 && style <= 27;
    const float columnWidth = static_cast<float>(w) / static_cast<float>(m_nColumns);
    const int millimetre = w / (gridX - 10);
    const int start = GetStartTime();
    const bool freezeMfer = mferCode >= MFER_KIND_FREEZE1 && mferCode <= MFER_KIND_FREEZE6;
    bool startDrawn = false;

    for (int c = 0; c < m_nColumns; ++c) {
        int perColumn = 0;
        int columnStart = start;
        int shift = 0;
        ColumnSpan(c, m_nColumns, gridX, speed, start, continuous, print, millimetre, columnStart, perColumn, shift);
        if (perColumn < 0) perColumn = 0;
        m_nSamplesPerColumn = perColumn;
        const int columnLeft = rect.left + static_cast<int>(c * columnWidth);
        const int columnRight = rect.left + static_cast<int>((c + 1) * columnWidth);
        for (int r = 0; r < m_nRows; ++r) {
            const int lead = m_nRows * c + r + ((style == 27 && !m_bShowExtra1Lead) ? 3 : 0);
            if (lead < 0 || lead > 6 || !m_pLeadData[lead]) continue;
            double sense;
            if (freezeMfer && reader && reader->GetLeadCode(lead) == 0)
                sense = 10.0;
            else if (freezeMfer)
                sense = doc->GetSense(4, 0);
            else if (m_nColumns == 1)
                sense = doc->GetSense(m_bShowExtra1Lead ? 4 : 5, 0);
            else
                sense = doc->GetSense(c == 0 ? 4 : 5, 0);
            const int mv = RoundHalfUp(sense * h / gridY);
            int y = rect.top + h / (2 * m_nRows) + r * (h / m_nRows);
            const int baseline = print ? m_nPrintBaseline[lead] : m_nScreenBaseline[lead];
            if (baseline > 0) y = rect.top + baseline;
            CRect trace(columnLeft + shift, y, columnRight, y + mv);
            const int labelY = std::max(y - 5 * (h / gridY), rect.top + MulDiv(h, 5, gridY));
            {
                CDCStateSaver saver(*pDC);
                pDC->SetTextAlign(TA_LEFT | TA_BOTTOM);
                pDC->TextOut(columnLeft + MulDiv(w, 5, gridX), labelY, LeadName(lead));
            }
            int count = perColumn;
            const int remaining = m_nLeadCount[lead] - columnStart;
            if (remaining < count) {
                count = std::max(remaining, 0);
                if (perColumn > 0) trace.right = trace.left + MulDiv(count, trace.Width(), perColumn);
            }
            if (count > 0 && columnStart >= 0) {
                if (!DrawWave(pDC, trace, m_dAmplitudeUnit * 0.001, m_pLeadData[lead] + columnStart, count, print, -1))
                    return 0;
            }
            if (!startDrawn) {
                startDrawn = true;
                const int timeY = std::max(labelY - 4 * (h / gridY), rect.top + MulDiv(h, 6, gridY));
                CDCStateSaver saver(*pDC);
                pDC->SetTextAlign(TA_LEFT | TA_TOP);
                pDC->TextOut(rect.left + MulDiv(w, 5, gridX), timeY, StartTimeText(start));
            }
        }
    }
    if (print) DrawDurationMarks(pDC, rect, gridX);
    return 1;
}
