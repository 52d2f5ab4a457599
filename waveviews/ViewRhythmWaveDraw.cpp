// The page frames and traces of the multi-lead view: rest, rhythm/RR and
// extra families, for the screen and for printing.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "documents/ExtraDataItem.h"
#include "documents/ExtraViewDoc.h"
#include "documents/MFERViewDoc.h"
#include "documents/RRViewDoc.h"
#include "documents/RestViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "platform/gdi/DCStateSaver.h"
#include "waveviews/RhythmWaveStyle.h"
#include "waveviews/ViewRhythmWave.h"

namespace {

int RoundHalfUp(double value)
{
    return static_cast<int>(std::floor(value + 0.5));
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

// Where a top-aligned text wanted at `at` goes so that it does not cover a
// bottom-aligned label at `label`: where it was when clear of the label; else
// the nearer of just above the label (not higher than `highest`) and just
// right of it.
CPoint ClearOfLabel(CDC* pDC, CPoint at, const CString& text, CPoint label, const CString& name, int highest)
{
    const CSize size = pDC->GetTextExtent(text);
    const CSize named = pDC->GetTextExtent(name);
    const CRect labelBox(label.x, label.y - named.cy, label.x + named.cx, label.y);
    const CRect box(at.x, at.y, at.x + size.cx, at.y + size.cy);
    CRect common;
    if (name.IsEmpty() || !common.IntersectRect(&box, &labelBox)) return at;
    const CPoint right(labelBox.right + std::max(1, static_cast<int>(size.cy / 3)), at.y);
    const CPoint above(at.x, labelBox.top - size.cy);
    if (above.y < highest) return right;
    return at.y - above.y <= right.x - at.x ? above : right;
}

}  // namespace

// ---- item texts -----------------------------------------------------------------------------

CString CViewRhythmWave::LeadName(int lead) const
{
    if (lead < 0 || lead >= RHYTHM_VIEW_LEADS) return CString();
    const CWaveItemRef item = CurrentItem();
    // The extra layouts of an MFER file name the leads as the file does.
    CMFERParser* reader = item.GetReader();
    if (reader && IsExtraFamilyStyle(m_nWaveStyle)) return reader->GetLeadName(lead);
    return item.GetLeadName(lead);
}

CString CViewRhythmWave::StartTimeText(int sample) const
{
    const int rate = m_nSampleRate > 0 ? m_nSampleRate : 1;
    const int total = sample / rate + CurrentItem().GetStartSeconds();
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
            parent->SendMessage(WM_DISPLAY_INFO_CHANGED, static_cast<WPARAM>(m_nWaveStyle), 0);
    }
}

int CViewRhythmWave::DrawCalAndWave(CDC* pDC, CRect rect, int gridX, int gridY, int print, PartDraw cal,
                                    PartDraw wave)
{
    const int k = MulDiv(rect.Width(), 10, gridX);
    (this->*cal)(pDC, CRect(rect.left, rect.top, rect.left + k, rect.bottom), gridX, gridY, print);
    return (this->*wave)(pDC, CRect(rect.left + k, rect.top, rect.right, rect.bottom), gridX, gridY, print);
}

int CViewRhythmWave::DrawRestView(CDC* pDC, CRect rect, int gridX, int gridY, int print)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc || gridX <= 0 || gridY <= 0) return 1;
    CDCStateSaver saver(*pDC);
    pDC->SetTextColor(print ? RGB(0, 0, 0) : doc->GetWaveColor(3));
    if (IsOneLeadRestStyle(m_nWaveStyle)) Draw1LeadWaveInfo(pDC, rect, gridX, gridY, print);
    PlaceZeroLines(rect, gridY, print);
    // A trace that fails to draw leaves the page unfinished: the caller must know.
    return DrawCalAndWave(pDC, rect, gridX, gridY, print, &CViewRhythmWave::DrawRestCAL,
                          &CViewRhythmWave::DrawRestWave);
}

int CViewRhythmWave::DrawExtraView(CDC* pDC, CRect rect, int gridX, int gridY, int print)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc || gridX <= 0 || gridY <= 0) return 1;
    CDCStateSaver saver(*pDC);
    pDC->SetTextColor(print ? RGB(0, 0, 0) : doc->GetWaveColor(3));
    PlaceZeroLines(rect, gridY, print);
    return DrawCalAndWave(pDC, rect, gridX, gridY, print, &CViewRhythmWave::DrawExtraCAL,
                          &CViewRhythmWave::DrawExtraWave);
}

void CViewRhythmWave::FillRhythmRowLeads()
{
    // No selection of the record's own: each row of a group takes a loaded
    // lead no row above it shows, in the record's order. A row keeps its lead
    // while that holds, so that every paint lays the group out alike; the
    // rows past the record's leads stay empty.
    const int rows = std::min(m_nLeadGroups, 3);
    bool shown[RHYTHM_VIEW_LEADS] = {};
    for (int row = 0; row < rows; ++row) {
        int& lead = m_nRhythmRowLead[row];
        if (lead >= 0 && lead < RHYTHM_VIEW_LEADS && HasLead(lead) && !shown[lead])
            shown[lead] = true;
        else
            lead = -1;
    }
    int next = 0;
    for (int row = 0; row < rows; ++row) {
        if (m_nRhythmRowLead[row] >= 0) continue;
        while (next < RHYTHM_VIEW_LEADS && (!HasLead(next) || shown[next])) ++next;
        if (next >= RHYTHM_VIEW_LEADS) break;
        shown[next] = true;
        m_nRhythmRowLead[row] = next;
    }
}

int CViewRhythmWave::DrawRhythmRRView(CDC* pDC, CRect rect, int gridX, int gridY, int print)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc || gridX <= 0 || gridY <= 0) return 1;
    CDCStateSaver saver(*pDC);
    pDC->SetTextColor(print ? RGB(0, 0, 0) : doc->GetWaveColor(3));
    if (m_nDocType == DOC_TYPE_RHYTHM || m_nDocType == DOC_TYPE_MFER) {
        const short mask = doc->GetLeadSelection(static_cast<int>(CurrentItem().GetSystemCode()), m_nWaveStyle);
        if (CountBits(mask) == m_nLeadGroups) {
            const std::vector<int> leads = MaskLeads(mask, 0);
            for (size_t row = 0; row < leads.size() && row < 3; ++row) m_nRhythmRowLead[row] = leads[row];
        } else {
            FillRhythmRowLeads();
        }
    }
    if (IsOneLeadRhythmStyle(m_nWaveStyle)) Draw1LeadWaveInfo(pDC, rect, gridX, gridY, print);
    return DrawCalAndWave(pDC, rect, gridX, gridY, print, &CViewRhythmWave::DrawRhythmRRCAL,
                          &CViewRhythmWave::DrawRhythmRRWave);
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

BOOL CViewRhythmWave::DrawTraceSpan(CDC* pDC, CRect trace, int buffer, int first, int perSpan, int limit, int print)
{
    int count = perSpan;
    const int remaining = limit - first;
    if (remaining < count) {
        // The record ends inside the span: the trace ends with it.
        count = std::max(remaining, 0);
        if (perSpan > 0) trace.right = trace.left + MulDiv(count, trace.Width(), perSpan);
    }
    if (count <= 0 || first < 0) return TRUE;
    return DrawWave(pDC, trace, m_dAmplitudeUnit * 0.001, LeadData(buffer) + first, count, print, -1);
}

void CViewRhythmWave::DrawLeadLabel(CDC* pDC, int x, int y, const CString& name)
{
    CDCStateSaver saver(*pDC);
    pDC->SetTextAlign(TA_LEFT | TA_BOTTOM);
    pDC->TextOut(x, y, name);
}

void CViewRhythmWave::DrawStartTime(CDC* pDC, int x, int y, int sample)
{
    CDCStateSaver saver(*pDC);
    pDC->SetTextAlign(TA_LEFT | TA_TOP);
    pDC->TextOut(x, y, StartTimeText(sample));
}

CRect CViewRhythmWave::TraceSpanBox(CRect trace, int buffer, int first, int perSpan, int limit, int x0, int x1) const
{
    int count = perSpan;
    const int remaining = limit - first;
    if (remaining < count) {
        count = std::max(remaining, 0);
        if (perSpan > 0) trace.right = trace.left + MulDiv(count, trace.Width(), perSpan);
    }
    // What DrawWave leaves undrawn covers nothing.
    if (count < 10 || first < 0 || !HasLead(buffer) || trace.Width() <= 1) return CRect();
    const short* samples = LeadData(buffer) + first;
    const long long width = trace.Width();
    const double scale = m_dAmplitudeUnit * 0.001;
    int top = INT_MAX;
    int bottom = INT_MIN;
    // A pixel either side: the line to the next sample crosses the edge.
    const long long from = std::max(0LL, (x0 - 3 - trace.left) * static_cast<long long>(count) / width - 1);
    for (int i = static_cast<int>(std::min<long long>(from, count)); i < count; ++i) {
        const int x = trace.left + static_cast<int>(i * width / count);
        if (x < x0 - 2) continue;
        if (x > x1 + 2) break;
        const int y = TraceY(trace, scale, samples[i]);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    if (top > bottom) return CRect();
    return CRect(x0, top, x1, bottom + 1);
}

void CViewRhythmWave::DrawStartTimeClear(CDC* pDC, CPoint at, int sample, const BlockedAt& blockedAt, CRect bounds)
{
    const CSize size = pDC->GetTextExtent(StartTimeText(sample));
    // A line of text is taller than the squares it was given: the time would
    // run into the trace under it. Texts may touch, a trace keeps a gap.
    const int gap = std::max(1, static_cast<int>(size.cy / 10));
    auto clearAt = [&](const std::vector<CBlocked>& blocked, int x, int y) {
        if (y < bounds.top || y + size.cy > bounds.bottom || x + size.cx > bounds.right) return false;
        const CRect box(x, y, x + size.cx, y + size.cy);
        CRect common;
        for (const CBlocked& b : blocked) {
            CRect kept = b.box;
            if (!b.text) kept.InflateRect(gap, gap);
            if (!b.box.IsRectEmpty() && common.IntersectRect(&box, &kept)) return false;
        }
        return true;
    };
    auto clear = [&](int x, int y) { return clearAt(blockedAt(x - gap, x + size.cx + gap), x, y); };
    const std::vector<CBlocked> here = blockedAt(at.x - gap, at.x + size.cx + gap);
    if (clearAt(here, at.x, at.y)) return DrawStartTime(pDC, at.x, at.y, sample);
    int best = INT_MAX;
    CPoint place = at;
    auto consider = [&](CPoint p) {
        const int move = std::abs(p.x - at.x) + std::abs(p.y - at.y);
        if (move >= best || !clear(p.x, p.y)) return;
        best = move;
        place = p;
    };
    for (const CBlocked& b : here) {
        if (b.box.IsRectEmpty()) continue;
        if (b.text) {
            // On the line of a name it would cover, after the name; the name
            // of a row far above is no place for this row's time (two times
            // moved there would be drawn over each other).
            if (std::abs(b.box.top - at.y) <= size.cy)
                consider(CPoint(b.box.right + std::max(gap, static_cast<int>(size.cy / 3)), b.box.top));
            continue;
        }
        // Up or down by a line at most, so that the time stays by its row.
        for (const int y : {b.box.top - gap - static_cast<int>(size.cy), b.box.bottom + gap})
            if (std::abs(y - at.y) <= size.cy) consider(CPoint(at.x, y));
    }
    // Along the row, a few widths of the time at most either way: a time far
    // from its row's start would be read as the time of the beat beside it.
    const int reach = 3 * static_cast<int>(size.cx);
    for (int move = 1; move < best && move <= reach; ++move) {
        if (clear(at.x + move, at.y)) {
            place = CPoint(at.x + move, at.y);
            break;
        }
        if (at.x - move >= bounds.left && clear(at.x - move, at.y)) {
            place = CPoint(at.x - move, at.y);
            break;
        }
    }
    DrawStartTime(pDC, place.x, place.y, sample);
}

// ---- rest traces --------------------------------------------------------------------------------

// What every column of a rest page shares.
struct CViewRhythmWave::CRestPage {
    CRect rect;
    int gridX = 0;
    int gridY = 0;
    int print = 0;
    int w = 0;
    int h = 0;
    float speed = 0.0f;
    int columns = 0;
    float columnWidth = 0.0f;
    int millimetre = 0;   // pixels of one square across
    int start = 0;        // the page's first sample
    bool continuous = false;
    bool oneLead = false;
    bool startTimeShown = false;
    bool startTimeDrawn = false;
    // The start time waits for its column's traces, to keep clear of them.
    bool startTimePending = false;
    CPoint startTimeAt;
    // The column being drawn.
    int columnLeft = 0;
    int columnStart = 0;   // its first sample
    int perColumn = 0;     // the samples it shows
    bool Drawable() const { return speed > 0.0f && gridX > 10 && gridY > 0 && columns > 0 && w > 0 && h > 0; }
};

int CViewRhythmWave::RestZeroLine(const CRestPage& page, int buffer, int row, int rows, int mv)
{
    const CRect& rect = page.rect;
    int y = rect.top + page.h / (2 * rows) + row * (page.h / rows);
    const int baseline = Baselines(page.print)[buffer];
    if (baseline > 0) y = rect.top + baseline;
    if (page.print && IsPrintCentredStripStyle(m_nWaveStyle) && y + mv > rect.bottom) y = rect.top + page.h / 2;
    return y;
}

int CViewRhythmWave::RestLabelBottom(const CRestPage& page, int zeroLine, int rows) const
{
    int labelY = zeroLine;
    if (rows <= 6) labelY -= MulDiv(page.h, 3, page.gridY);
    return std::max(labelY, page.rect.top + MulDiv(page.h, 4, page.gridY));
}

CViewRhythmWave::CRestPage CViewRhythmWave::RestPageOf(CRect rect, int gridX, int gridY, int print) const
{
    const int style = m_nWaveStyle;
    const CWaveItemRef item = CurrentItem();
    CRestPage page;
    page.rect = rect;
    page.gridX = gridX;
    page.gridY = gridY;
    page.print = print;
    page.w = rect.Width();
    page.h = rect.Height();
    page.speed = DrawnSpeed(print);
    page.columns = m_nRows > 0 ? PageColumns() : 0;
    page.columnWidth = page.columns > 0 ? static_cast<float>(page.w) / static_cast<float>(page.columns) : 0.0f;
    page.millimetre = gridX > 10 ? page.w / (gridX - 10) : 0;
    page.start = GetStartTime();
    page.continuous = IsContinuousRestStyle(style);
    page.oneLead = IsOneLeadRestStyle(style);
    const unsigned code = item.GetSystemCode();
    const bool timedKind = (item.Mfer() && (CMFERViewDoc::IsFullLeadKind(code) || CMFERViewDoc::IsStripKind(code))) ||
                           item.Rhythm();
    page.startTimeShown = timedKind && !IsSerialStripStyle(style) && item.IsStartTimeShown() &&
                          !(print && IsStartTimeUnprintedStyle(style));
    return page;
}

double CViewRhythmWave::RestColumnSense(int leadColumn) const
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (IsLeadMaskStyle(m_nWaveStyle)) return doc->GetSense(6, 0);
    if (IsOneLeadRestStyle(m_nWaveStyle)) return doc->GetSense(2, 0);
    // Limb leads take the limb sense, V1 and after the chest sense.
    return m_nRows * leadColumn < 6 ? doc->GetSense(1, 0) : doc->GetSense(0, 0);
}

BOOL CViewRhythmWave::DrawRestColumn(CDC* pDC, CRestPage& page, int c)
{
    const int leadColumn = LeadColumnOf(c);
    const std::vector<int> leads = ColumnLeads(leadColumn).Listed();
    const int rows = static_cast<int>(leads.size());
    if (rows <= 0) return TRUE;
    int perColumn = 0;
    int columnStart = page.start;
    int shift = 0;
    if (page.oneLead) {
        perColumn =
            static_cast<int>(static_cast<float>((page.gridX - 10) * m_nSampleRate / page.columns) / page.speed);
    } else {
        ColumnSpan(c, page.columns, page.gridX, page.speed, page.start, page.continuous, page.print, page.millimetre,
                   columnStart, perColumn, shift);
    }
    m_nSamplesPerColumn = std::max(perColumn, 0);
    page.columnStart = columnStart;
    page.perColumn = m_nSamplesPerColumn;
    const int mv = RoundHalfUp(RestColumnSense(leadColumn) * page.h / page.gridY);
    const int left = page.rect.left + static_cast<int>(c * page.columnWidth);
    const int right = page.rect.left + static_cast<int>((c + 1) * page.columnWidth);
    page.columnLeft = left;
    for (int r = 0; r < rows; ++r) {
        const CRect trace(left + shift, 0, right, mv);
        if (!DrawRestTrace(pDC, page, leads[static_cast<size_t>(r)], r, rows, trace)) return FALSE;
    }
    if (page.startTimePending) {
        page.startTimePending = false;
        // What the time meets between two x: the names and traces of the column.
        auto blockedAt = [&](int x0, int x1) {
            std::vector<CBlocked> blocked;
            for (int r = 0; r < rows; ++r) {
                const int lead = leads[static_cast<size_t>(r)];
                const int buffer = page.oneLead ? 0 : lead;
                if (lead < 0 || lead >= RHYTHM_VIEW_LEADS || !HasLead(buffer)) continue;
                const int y = RestZeroLine(page, buffer, r, rows, mv);
                const int labelY = RestLabelBottom(page, y, rows);
                const int labelX = left + MulDiv(page.w, 5, page.gridX);
                const CSize named = pDC->GetTextExtent(LeadName(page.oneLead ? m_nRhythm1LeadID : lead));
                if (named.cx > 0)
                    blocked.push_back({CRect(labelX, labelY - named.cy, labelX + named.cx, labelY), true});
                const int limit = IsOneLeadRecordLengthStyle(m_nWaveStyle) ? m_nOneLeadLength : LeadCount(buffer);
                blocked.push_back({TraceSpanBox(CRect(left + shift, y, right, y + mv), buffer, page.columnStart,
                                                page.perColumn, limit, x0, x1)});
            }
            return blocked;
        };
        DrawStartTimeClear(pDC, page.startTimeAt, page.start, blockedAt, page.rect);
    }
    if (page.print && GetShowMarkFlag()) {
        // The ticks mark time on the traces as they are drawn.
        DrawMarkLine(pDC, page.speed, CRect(left, page.rect.top, right, page.rect.bottom),
                     page.w / (page.gridX - 10.0));
    }
    return TRUE;
}

BOOL CViewRhythmWave::DrawRestTrace(CDC* pDC, CRestPage& page, int lead, int row, int rows, CRect trace)
{
    const int style = m_nWaveStyle;
    const int buffer = page.oneLead ? 0 : lead;
    if (lead < 0 || lead >= RHYTHM_VIEW_LEADS || !HasLead(buffer)) return TRUE;
    const CRect& rect = page.rect;
    const int mv = trace.Height();
    const int y = RestZeroLine(page, buffer, row, rows, mv);
    trace.OffsetRect(0, y);

    const int labelY = RestLabelBottom(page, y, rows);
    const int labelX = page.columnLeft + MulDiv(page.w, 5, page.gridX);
    DrawLeadLabel(pDC, labelX, labelY, LeadName(page.oneLead ? m_nRhythm1LeadID : lead));

    const int limit = IsOneLeadRecordLengthStyle(style) ? m_nOneLeadLength : LeadCount(buffer);
    if (!DrawTraceSpan(pDC, trace, buffer, page.columnStart, page.perColumn, limit, page.print)) return FALSE;
    if (page.startTimeShown && !page.startTimeDrawn) {
        page.startTimeDrawn = true;
        page.startTimePending = true;
        const bool wide = IsLeadMaskStyle(style);
        page.startTimeAt = CPoint(rect.left + MulDiv(page.w, wide ? 10 : 5, page.gridX),
                                  labelY + MulDiv(page.h, wide ? 2 : 1, page.gridY));
    }
    return TRUE;
}

int CViewRhythmWave::DocPageStyle() const
{
    CTavrionDoc* doc = GetTavrionDoc();
    switch (m_nDocType) {
    case DOC_TYPE_REST:
        if (auto* rest = DYNAMIC_DOWNCAST(CRestViewDoc, doc)) return static_cast<int>(rest->GetPageStyle());
        break;
    case DOC_TYPE_RHYTHM:
        if (auto* rhythm = DYNAMIC_DOWNCAST(CRhythmViewDoc, doc)) return static_cast<int>(rhythm->GetPageStyle());
        break;
    case DOC_TYPE_RR:
        if (auto* rr = DYNAMIC_DOWNCAST(CRRViewDoc, doc)) return static_cast<int>(rr->GetPageStyle());
        break;
    case DOC_TYPE_EXTRA:
        if (auto* extra = DYNAMIC_DOWNCAST(CExtraViewDoc, doc)) return static_cast<int>(extra->GetPageStyle());
        break;
    case DOC_TYPE_MFER:
        if (auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, doc)) return static_cast<int>(mfer->GetPageStyle());
        break;
    default: break;
    }
    return -1;
}

bool CViewRhythmWave::IsVersionPage(CTraceFamily family) const
{
    auto among = [](int style, std::initializer_list<std::pair<int, int>> ranges) {
        for (const auto& range : ranges)
            if (style >= range.first && style <= range.second) return true;
        return false;
    };
    const int page = DocPageStyle();
    const int kind = m_nDocType;
    switch (family) {
    case CTraceFamily::Rest:
        if (kind == DOC_TYPE_RHYTHM) return page == 16 || page == 17;
        // The resting and MFER pages share their numbers here.
        return (kind == DOC_TYPE_REST || kind == DOC_TYPE_MFER) &&
               among(page, {{3, 4}, {6, 6}, {9, 10}, {12, 12}, {15, 16}, {18, 18}, {21, 22}, {24, 24}, {27, 28},
                            {30, 32}});
    case CTraceFamily::RhythmRR:
        if (kind == DOC_TYPE_RR) return page >= 3 && page <= 5;
        if (!m_bShowFlag) return false;
        if (kind == DOC_TYPE_RHYTHM) return page >= 20 && page <= 25;
        return kind == DOC_TYPE_MFER && page >= 35 && page <= 40;
    case CTraceFamily::Extra:
        if (kind == DOC_TYPE_EXTRA) return among(page, {{1, 2}, {5, 10}, {17, 19}, {23, 25}});
        return kind == DOC_TYPE_MFER && among(page, {{52, 53}, {56, 61}, {68, 70}, {74, 76}});
    }
    return false;
}

void CViewRhythmWave::DrawVersionOnPage(CDC* pDC, CRect rect, CTraceFamily family)
{
    if (!g_bDisplayVersion || !IsVersionPage(family)) return;
    CDCStateSaver saver(*pDC);
    pDC->SetTextAlign(TA_LEFT | TA_BOTTOM);
    pDC->TextOut(rect.left, rect.bottom, GetVersionText());
}

int CViewRhythmWave::DrawRestWave(CDC* pDC, CRect rect, int gridX, int gridY, int print)
{
    const int kind = m_nDocType;
    const bool restKind = kind == DOC_TYPE_REST || kind == DOC_TYPE_MFER || kind == DOC_TYPE_RHYTHM ||
                          kind == DOC_TYPE_EXTRA;
    if (!GetTavrionDoc() || !restKind || !HasCurrentItem()) return 0;
    CRestPage page = RestPageOf(rect, gridX, gridY, print);
    // A page needs a speed, a size and rows to lay the traces out on.
    if (!page.Drawable()) return 1;
    for (int c = 0; c < page.columns; ++c)
        if (!DrawRestColumn(pDC, page, c)) return 0;
    if (!print) DrawVersionOnPage(pDC, rect, CTraceFamily::Rest);
    if (print) DrawDurationMarks(pDC, rect, gridX);
    return 1;
}
// ---- rhythm and RR traces -----------------------------------------------------------------------

double CViewRhythmWave::RhythmRowSense() const
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc) return 0.0;
    return CurrentItem().RR() ? doc->GetCommonSense(0) : doc->GetSense(6, 0);
}

int CViewRhythmWave::DrawRhythmRRWave(CDC* pDC, CRect rect, int gridX, int gridY, int print)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc) return 0;
    const CWaveItemRef item = CurrentItem();
    if (!item.Rhythm() && !item.Mfer() && !item.RR()) return 0;
    const double sense = RhythmRowSense();
    const float speed = DrawnSpeed(print);
    const int w = rect.Width();
    const int h = rect.Height();
    if (speed <= 0.0f || gridX <= 10 || gridY <= 0 || m_nRows <= 0 || w <= 0 || h <= 0) return 1;
    const int rowSamples = static_cast<int>(static_cast<float>((gridX - 10) * m_nSampleRate) / speed);
    if (m_nLeadGroups <= 0) return 1;
    const int mv = RoundHalfUp(sense * h / gridY);
    const int square = h / gridY;
    int y = rect.top + h / (2 * m_nRows) + 5 * square;
    const int start = GetStartTime();
    const bool startShown = item.IsStartTimeShown();
    const int labelX = rect.left + MulDiv(w, 5, gridX);
    // The one-lead style holds the strip lead's samples in buffer 0 (the
    // others may hold what an earlier style loaded): its row draws them
    // under the strip lead's name.
    const bool oneLead = IsOneLeadRhythmStyle(m_nWaveStyle);
    auto rowLead = [&](int member) {
        return m_nLeadGroups == 1 ? m_nRhythmRowLead[0] : m_nRhythmRowLead[member % 3];
    };
    auto bufferOf = [&](int lead) { return oneLead ? 0 : lead; };
    auto nameOf = [&](int lead) { return LeadName(oneLead ? m_nRhythm1LeadID : lead); };

    // Every row of the page, for the start times to keep clear of: the
    // names over the first row group and the traces.
    struct PageRow {
        int lead;
        bool named;
        int from;
        int zeroLine;
    };
    std::vector<PageRow> pageRows;
    for (int g = 0, rowY = y; g < m_nRows / m_nLeadGroups; ++g)
        for (int j = 0; j < m_nLeadGroups; ++j, rowY += h / m_nRows) {
            const int lead = rowLead(j);
            if (lead >= 0 && lead < RHYTHM_VIEW_LEADS) pageRows.push_back({lead, g == 0, g * rowSamples + start, rowY});
        }
    auto blockedAt = [&](int x0, int x1) {
        std::vector<CBlocked> blocked;
        for (const PageRow& row : pageRows) {
            const int buffer = bufferOf(row.lead);
            if (row.named) {
                const int nameY = row.zeroLine - 5 * square;
                const CSize named = pDC->GetTextExtent(nameOf(row.lead));
                if (named.cx > 0) blocked.push_back({CRect(labelX, nameY - named.cy, labelX + named.cx, nameY), true});
            }
            blocked.push_back({TraceSpanBox(CRect(rect.left, row.zeroLine, rect.right, row.zeroLine + mv), buffer,
                                            row.from, rowSamples, LeadCount(buffer), x0, x1)});
        }
        return blocked;
    };

    // A row without a lead keeps its place: every group stands in its own
    // rows, where its time, its event marks and its dividers are.
    for (int g = 0; g < m_nRows / m_nLeadGroups; ++g) {
        for (int j = 0; j < m_nLeadGroups; ++j) {
            const int lead = rowLead(j);
            if (lead < 0 || lead >= RHYTHM_VIEW_LEADS) {
                y += h / m_nRows;
                continue;
            }
            const int buffer = bufferOf(lead);
            const int from = g * rowSamples + start;
            CRect trace(rect.left, y, rect.right, y + mv);
            // Only the first row group is named; the groups below repeat its leads.
            if (g == 0) DrawLeadLabel(pDC, labelX, y - 5 * square, nameOf(lead));
            if (HasLead(buffer) && !DrawTraceSpan(pDC, trace, buffer, from, rowSamples, LeadCount(buffer), print))
                return 0;
            // A group past the record's end (on the last printed page) has no
            // stretch to tell the time of.
            if (j == 0 && startShown && from < LeadCount(buffer))
                DrawStartTimeClear(pDC, CPoint(labelX, y - 5 * square), from, blockedAt, rect);
            y += h / m_nRows;
        }
        if (print && GetShowMarkFlag())
            DrawMarkLine(pDC, speed, CRect(rect.left, rect.top, rect.right, y - h / m_nRows + mv),
                         w / (gridX - 10.0));
    }
    if (!print) DrawVersionOnPage(pDC, rect, CTraceFamily::RhythmRR);
    if (print) DrawDurationMarks(pDC, rect, gridX);
    return 1;
}

// ---- extra traces -------------------------------------------------------------------------------

bool CViewRhythmWave::FindExtraSource(CMFERParser*& reader, unsigned& mferCode) const
{
    const CWaveItemRef item = CurrentItem();
    reader = item.GetReader();
    mferCode = item.Mfer() ? item.GetSystemCode() : 0;
    return item.Extra() || item.Mfer();
}

bool CViewRhythmWave::ExtraRowSense(int lead, int column, CMFERParser* reader, bool freezeMfer, double& sense) const
{
    CTavrionDoc* doc = GetTavrionDoc();
    const _EXTRADATAITEM* extra = CurrentItem().Extra();
    if (extra && extra->IsFreeze()) {
        // A freeze record's free leads (EXT1 to EXT6, codes 119 to 124) are
        // drawn at a fixed 10 mm/mV; a lead whose code cannot be read is not drawn.
        int code = 0;
        if (!FreezeElectrodeCode(lead, code)) return false;
        sense = code >= 119 && code <= 124 ? 10.0 : doc->GetSense(4, 0);
        return true;
    }
    // A freeze file's leads without a lead code are drawn at a fixed 10 mm/mV.
    if (freezeMfer)
        sense = reader && reader->GetLeadCode(lead) == 0 ? 10.0 : doc->GetSense(4, 0);
    else
        sense = ExtraGroupSense(column);
    return true;
}

double CViewRhythmWave::ExtraGroupSense(int column) const
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc) return 0.0;
    if (m_nColumns == 1) return doc->GetSense(m_bShowExtra1Lead ? 4 : 5, 0);
    return doc->GetSense(column == 0 ? 4 : 5, 0);
}

double CViewRhythmWave::ExtraSenseAt(CPoint point, int column) const
{
    CSquares s;
    CMFERParser* reader = nullptr;
    unsigned mferCode = 0;
    if (!GetSquares(s) || !FindExtraSource(reader, mferCode)) return ExtraGroupSense(column);
    CRect cells[RHYTHM_VIEW_LEADS];
    ClickCells(CRect(MulDiv(s.w, 10, s.gridX), 0, s.w, s.h), cells);
    for (int lead = 0; lead < RHYTHM_VIEW_LEADS; ++lead) {
        double sense = 0.0;
        if (!cells[lead].IsRectEmpty() && cells[lead].PtInRect(point) &&
            ExtraRowSense(lead, column, reader, CMFERViewDoc::IsFreezeKind(mferCode), sense))
            return sense;
    }
    return ExtraGroupSense(column);
}

int CViewRhythmWave::DrawExtraWave(CDC* pDC, CRect rect, int gridX, int gridY, int print)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc) return 0;
    unsigned mferCode = 0;
    CMFERParser* reader = nullptr;
    if (!FindExtraSource(reader, mferCode)) return 0;
    const float speed = DrawnSpeed(print);
    const int w = rect.Width();
    const int h = rect.Height();
    if (speed <= 0.0f || gridX <= 10 || gridY <= 0 || m_nRows <= 0 || m_nColumns <= 0 || w <= 0 || h <= 0) return 1;
    const bool continuous = IsContinuousExtraStyle(m_nWaveStyle);
    const float columnWidth = static_cast<float>(w) / static_cast<float>(m_nColumns);
    const int square = h / gridY;
    const int start = GetStartTime();
    const int shiftLeads = IsShiftedExtraStyle(m_nWaveStyle) && !m_bShowExtra1Lead ? 3 : 0;
    bool startDrawn = false;

    for (int c = 0; c < m_nColumns; ++c) {
        int perColumn = 0;
        int columnStart = start;
        int shift = 0;
        ColumnSpan(c, m_nColumns, gridX, speed, start, continuous, print, w / (gridX - 10), columnStart, perColumn,
                   shift);
        m_nSamplesPerColumn = std::max(perColumn, 0);
        const int columnLeft = rect.left + static_cast<int>(c * columnWidth);
        const int columnRight = rect.left + static_cast<int>((c + 1) * columnWidth);
        for (int r = 0; r < m_nRows; ++r) {
            const int lead = m_nRows * c + r + shiftLeads;
            double sense = 0.0;
            if (lead < 0 || lead > 6 || !HasLead(lead) ||
                !ExtraRowSense(lead, c, reader, CMFERViewDoc::IsFreezeKind(mferCode), sense))
                continue;
            const int mv = RoundHalfUp(sense * h / gridY);
            int y = rect.top + h / (2 * m_nRows) + r * (h / m_nRows);
            const int baseline = Baselines(print)[lead];
            if (baseline > 0) y = rect.top + baseline;
            const int labelY = std::max(y - 5 * square, rect.top + MulDiv(h, 5, gridY));
            DrawLeadLabel(pDC, columnLeft + MulDiv(w, 5, gridX), labelY, LeadName(lead));
            const CRect trace(columnLeft + shift, y, columnRight, y + mv);
            if (!DrawTraceSpan(pDC, trace, lead, columnStart, m_nSamplesPerColumn, LeadCount(lead), print)) return 0;
            if (!startDrawn) {
                startDrawn = true;
                const int highest = rect.top + MulDiv(h, 6, gridY);
                const int timeY = std::max(labelY - 4 * square, highest);
                // Small squares on screen are smaller than a line of text: the
                // time would cover the first lead's name.
                const CPoint at = ClearOfLabel(pDC, CPoint(rect.left + MulDiv(w, 5, gridX), timeY), StartTimeText(start),
                                               CPoint(columnLeft + MulDiv(w, 5, gridX), labelY), LeadName(lead), highest);
                DrawStartTime(pDC, at.x, at.y, start);
            }
        }
    }
    if (!print) DrawVersionOnPage(pDC, rect, CTraceFamily::Extra);
    if (print) DrawDurationMarks(pDC, rect, gridX);
    return 1;
}
