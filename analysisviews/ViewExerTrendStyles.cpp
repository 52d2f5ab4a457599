// CViewExerTrend: what each trend style reads and draws. Every walk is
// bounded by every array it reads: no word outside an array is taken.
#include <algorithm>
#include <cmath>

#include "analysisviews/ViewExerTrend.h"
#include "core/Globals.h"
#include "documents/ExerTags.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"

namespace {

const int kMissingHr = 65535;
const int kMissing = 32768;

// The frame of a style: the arguments of DrawTrendFrame after the time
// step (a third of the span on the time axes).
struct FrameSpec {
    int yStep, xCount, yCount, lines;
    const wchar_t* unit;
    int heavy, marker, centred;
};

// A style drawn along the time axis from an exercise and a recovery array.
struct TimeStyle {
    int style;
    const wchar_t* title;   // "%s" takes the lead's name
    UINT exerTag;           // the recovery tag follows; lead styles add the lead, recovery 12 further
    bool leadTag;
    int scaleMax, divisor, invalid;
    FrameSpec frame;
    bool staircase;
};

const TimeStyle kTimeStyles[] = {
    {1, L"心拍数 [bpm]", 3320, false, 250, 1, kMissingHr, {50, 4, 6, 4, L"(min)", 0, 1, 0}, false},
    {4, L"速度[km/h]", 3342, false, 20, 10, kMissing, {5, 4, 5, 3, L"(min)", 1, 1, 0}, true},
    {5, L"傾斜[%]", 3344, false, 25, 10, kMissing, {5, 4, 6, 4, L"(min)", 1, 1, 0}, true},
    {6, L"負荷量[w]", 3330, false, 4, 100, kMissing, {100, 4, 5, 3, L"(min)", 1, 1, 0}, true},
    {8, L"Kcal[Kcal]", 3338, false, 500, 1, kMissing, {100, 4, 6, 4, L"(min)", 0, 1, 0}, false},
    {9, L"METs", 3334, false, 25, 10, kMissing, {5, 4, 6, 4, L"(min)", 1, 1, 0}, true},
    {16, L"ST Slope[mm/s]  %s", 3158, true, 100, 1, kMissing, {50, 4, 3, 9, L"(min)", 0, 1, 1}, false},
    {17, L"ST Index  %s", 3134, true, 20, 1, kMissing, {10, 4, 3, 9, L"(min)", 0, 1, 1}, false},
    {18, L"R波高 [mV]  %s", 3110, true, 5, 100, kMissing, {1, 4, 6, 4, L"(min)", 0, 1, 0}, false},
};

const TimeStyle* FindTimeStyle(int style)
{
    for (const TimeStyle& s : kTimeStyles)
        if (s.style == style) return &s;
    return nullptr;
}

// Words a draw routine hands a primitive: half the byte size for styles 1
// to 9 (whose arrays hold their words twice), the byte size for the others.
long Handed(const std::vector<BYTE>& bytes, bool halfWords)
{
    const long size = static_cast<long>(bytes.size());
    return halfWords ? size / 2 : size;
}

ExerTrendWords WordsOf(const std::vector<BYTE>& bytes, long handed)
{
    ExerTrendWords words;
    words.pBytes = &bytes;
    words.count = static_cast<int>(handed / 2);
    return words;
}

}  // namespace

std::vector<BYTE> CViewExerTrend::ReadTag(UINT tag) const
{
    std::vector<BYTE> bytes;
    const _EXERDATAITEM* item = CurrentItem();
    if (item) exer::ReadItem(*GetExerDoc(), item->pECGData, tag, 0, bytes);
    return bytes;
}

UINT CViewExerTrend::LeadTag(UINT base) const
{
    const _EXERDATAITEM* item = CurrentItem();
    const int lead = m_nLeadID < 0 ? 0 : m_nLeadID;
    return base + CTavrionDoc::GetDataLeadID(static_cast<UINT>(lead), item ? static_cast<int>(item->uSystemCode) : 0);
}

CString CViewExerTrend::LeadName() const
{
    const _EXERDATAITEM* item = CurrentItem();
    if (!item || m_nLeadID < 0 || m_nLeadID >= EXER_LEAD_NAMES) return CString();
    return item->strLeadName[m_nLeadID];
}

void CViewExerTrend::DrawTimeTrend(CDC* pDC, UINT exerTag, UINT recTag, bool halfWords, bool staircase,
                                   bool unsignedWords, bool needWords)
{
    const std::vector<BYTE> exer = ReadTag(exerTag);
    const std::vector<BYTE> rec = ReadTag(recTag);
    if (needWords && exer.size() + rec.size() < 2) return;
    const long first = Handed(exer, halfWords);
    const long second = Handed(rec, halfWords);
    CDCStateSaver saver(*pDC);
    ClipToPlot(pDC, staircase);
    CDCObjectSelector<CPen> pen(*pDC, m_pCurvePen);
    if (staircase) {
        DrawTrendPloyLineBase(pDC, first, second, WordsOf(exer, first), WordsOf(rec, second));
    } else {
        DrawTrendPolyLine(pDC, first, second, WordsOf(exer, first), WordsOf(rec, second), unsignedWords);
        DrawCurrentTimeLine(pDC);
    }
}

// ---- the time-axis styles drawn by the table ----------------------------------------------

namespace {

void SetUp(CString& title, int& scaleMax, int& divisor, int& invalid, const TimeStyle& s, const CString& lead)
{
    title.Format(s.title, lead.GetString());
    scaleMax = s.scaleMax;
    divisor = s.divisor;
    invalid = s.invalid;
}

}  // namespace

#define EXER_TABLE_STYLE(Routine, Style)                                                                     \
    void CViewExerTrend::Routine(CDC* pDC)                                                                  \
    {                                                                                                       \
        const TimeStyle& s = *FindTimeStyle(Style);                                                         \
        if (s.leadTag && !CurrentItem()) return;                                                            \
        SetUp(m_strTitle, m_nScaleMax, m_nDivisor, m_nInvalid, s, LeadName());                              \
        const FrameSpec& f = s.frame;                                                                       \
        DrawTrendFrame(pDC, m_nTimeSpan / 3, f.yStep, f.xCount, f.yCount, f.lines, f.unit, f.heavy, f.marker, \
                       f.centred);                                                                          \
        if (!CurrentItem()) return;                                                                         \
        const UINT tag = s.leadTag ? LeadTag(s.exerTag) : s.exerTag;                                       \
        DrawTimeTrend(pDC, tag, s.leadTag ? tag + 12 : tag + 1, !s.leadTag, s.staircase, false, !s.leadTag); \
    }

EXER_TABLE_STYLE(DrawHRTrend, 1)
EXER_TABLE_STYLE(DrawSpeedTrend, 4)
EXER_TABLE_STYLE(DrawElevationTrend, 5)
EXER_TABLE_STYLE(DrawLoadTrend, 6)
EXER_TABLE_STYLE(DrawKcalTrend, 8)
EXER_TABLE_STYLE(DrawMTESTrend, 9)
EXER_TABLE_STYLE(DrawSTSlopeTrend, 16)
EXER_TABLE_STYLE(DrawSTIndexTrend, 17)
EXER_TABLE_STYLE(DrawRAmplitudeTrend, 18)

#undef EXER_TABLE_STYLE

void CViewExerTrend::DrawSTLTrend(CDC* pDC)
{
    const _EXERDATAITEM* item = CurrentItem();
    if (!item) return;
    m_strTitle.Format(item->nStMeasCondition ? L"R-ST[mm]  %s" : L"ST-L[mm]  %s", LeadName().GetString());
    m_nScaleMax = 10;
    m_nDivisor = 1;
    m_nInvalid = kMissing;
    DrawTrendFrame(pDC, m_nTimeSpan / 3, 5, 4, 3, 9, L"(min)", 0, 1, 1);
    const UINT tag = LeadTag(exer::TAG_ST_EXER);
    DrawTimeTrend(pDC, tag, tag + 12, false, false, false, false);
}

// ---- blood pressure: a bar from systolic to diastolic where the pair changes -------------

void CViewExerTrend::DrawBars(CDC* pDC, const ExerTrendWords& sys, const ExerTrendWords& dia, bool recovery,
                              int last[2])
{
    const int start = recovery ? 0 : 1;
    for (int i = start; i < sys.count && sys.Has(i) && dia.Has(i); ++i) {
        const int s = sys.Signed(i);
        const int d = dia.Signed(i);
        if (s == static_cast<short>(m_nInvalid) || d == static_cast<short>(m_nInvalid)) continue;
        // Only the exercise's first pair is a mere start: with none seen
        // there, the recovery's first pair differs from nothing and is drawn.
        const bool firstPair = !recovery && last[0] == kMissing;
        const bool changed = s != last[0] || d != last[1];
        last[0] = s;
        last[1] = d;
        if (firstPair || !changed) continue;
        const int x = recovery ? RecoveryX(i) : ExerciseX(i - 1);
        pDC->MoveTo(x, ValueToYPoint(s));
        pDC->LineTo(x, ValueToYPoint(d));
    }
}

void CViewExerTrend::DrawBPTrend(CDC* pDC)
{
    m_strTitle = L"血圧[mmHg]";
    m_nScaleMax = 250;
    m_nDivisor = 1;
    m_nInvalid = kMissing;
    DrawTrendFrame(pDC, m_nTimeSpan / 3, 50, 4, 6, 4, L"(min)", 1, 1, 0);
    if (!CurrentItem()) return;
    const std::vector<BYTE> sysExer = ReadTag(3324), sysRec = ReadTag(3325);
    const std::vector<BYTE> diaExer = ReadTag(3326), diaRec = ReadTag(3327);
    // The smaller size of each phase counts; the polyline's word count of half of it.
    const long first = std::min(Handed(sysExer, true), Handed(diaExer, true));
    const long second = std::min(Handed(sysRec, true), Handed(diaRec, true));
    CDCStateSaver saver(*pDC);
    ClipToPlot(pDC, false);
    CDCObjectSelector<CPen> pen(*pDC, m_pCurvePen);
    int last[2] = {kMissing, kMissing};
    DrawBars(pDC, WordsOf(sysExer, first), WordsOf(diaExer, first), false, last);
    DrawBars(pDC, WordsOf(sysRec, second), WordsOf(diaRec, second), true, last);
    DrawCurrentTimeLine(pDC);
}

// ---- double product and the irregular-rhythm staircase ---------------------------------------

void CViewExerTrend::DrawIrregularSteps(CDC* pDC, const std::vector<BYTE>& exer, const std::vector<BYTE>& rec)
{
    const ExerTrendWords e = WordsOf(exer, static_cast<long>(exer.size()));
    const ExerTrendWords r = WordsOf(rec, static_cast<long>(rec.size()));
    const int L = static_cast<int>(exer.size() / 4);
    const int Lr = static_cast<int>(rec.size() / 4);
    auto y = [&](int count) { return static_cast<int>(m_dPlotTop + m_dPlotHeight - count * m_dPlotHeight / 50); };
    // One level a minute from exercise word 2; a walk stops at the end of its array.
    if (!e.Has(2)) return;
    int level = e.Unsigned(2);
    pDC->MoveTo(ExerciseX(0), y(level));
    for (int k = 4; k < L - 1 && e.Has(k + 2); k += 4) {
        pDC->LineTo(ExerciseX(k), y(level));
        level = e.Unsigned(k + 2);
        pDC->LineTo(ExerciseX(k), y(level));
    }
    if (L >= 2 && e.Has(L - 1)) {
        pDC->LineTo(ExerciseX(L - 2), y(level));
        pDC->LineTo(ExerciseX(L - 2), y(e.Unsigned(L - 2)));
        level = e.Unsigned(L - 1);
        pDC->LineTo(ExerciseX(L - 2), y(level));
    }
    for (int j = 0; j < Lr - 3 && r.Has(j + 4); j += 4) {
        pDC->LineTo(RecoveryX(j), y(level));
        level = r.Unsigned(j + 4);
        pDC->LineTo(RecoveryX(j), y(level));
    }
    if (Lr >= 2) pDC->LineTo(RecoveryX(Lr - 2), y(level));
}

void CViewExerTrend::DrawDPTrend(CDC* pDC)
{
    m_strTitle = L"DPX1000 Irr.Rhy.[times]";
    m_nScaleMax = 50;
    m_nDivisor = 1;
    m_nInvalid = kMissingHr;
    DrawTrendFrame(pDC, m_nTimeSpan / 3, 10, 4, 6, 4, L"(min)", 1, 1, 0);
    if (!CurrentItem()) return;
    const std::vector<BYTE> exer = ReadTag(3328), rec = ReadTag(3329);
    const std::vector<BYTE> irrExer = ReadTag(3340), irrRec = ReadTag(3341);
    const long first = Handed(exer, true);
    const long second = Handed(rec, true);
    CDCStateSaver saver(*pDC);
    ClipToPlot(pDC, true);
    CDCObjectSelector<CPen> pen(*pDC, m_pCurvePen);
    DrawTrendPolyLine(pDC, first, second, WordsOf(exer, first), WordsOf(rec, second), true);
    DrawIrregularSteps(pDC, irrExer, irrRec);
    DrawCurrentTimeLine(pDC);
}

// ---- METs against heart rate -----------------------------------------------------------------------

void CViewExerTrend::DrawDropLine(CDC* pDC, CPen* pen, double hr, double slope, double intercept)
{
    CDCObjectSelector<CPen> selector(*pDC, pen);
    const int x = BpmToXPoint(hr);
    const int y = ValueToYPoint((slope * hr + intercept) * 10);
    pDC->MoveTo(x, static_cast<int>(m_dPlotTop + m_dPlotHeight));
    pDC->LineTo(x, y);
    pDC->LineTo(static_cast<int>(m_dPlotLeft), y);
}

void CViewExerTrend::DrawMETsHRTrend(CDC* pDC)
{
    m_strTitle = L"METs-HR";
    m_nScaleMax = 25;
    m_nDivisor = 1;
    m_nInvalid = kMissing;
    DrawTrendFrame(pDC, 50, 5, 6, 6, 4, L"(bpm)", 1, 0, 0);
    const _EXERDATAITEM* item = CurrentItem();
    if (!item) return;
    const double a = item->stResult.dSlope;
    const double b = item->stResult.dIntercept;
    if (a == 0 && b == 0) return;
    const std::vector<BYTE> hrBytes = ReadTag(3320), metsBytes = ReadTag(3334);
    const ExerTrendWords hr = WordsOf(hrBytes, static_cast<long>(hrBytes.size()));
    const ExerTrendWords mets = WordsOf(metsBytes, static_cast<long>(metsBytes.size()));
    CDCStateSaver saver(*pDC);
    ClipToPlot(pDC, true);
    CDCObjectSelector<CPen> pen(*pDC, m_pCurvePen);
    {
        // One dot a minute, while both arrays have the word.
        const int r = static_cast<int>(5 * DotScale(pDC));
        CDCObjectSelector<CBrush> brush(*pDC, m_pOpenBrush);
        for (int i = 4; i < static_cast<int>(hrBytes.size() / 4) && hr.Has(i) && mets.Has(i); i += 4) {
            const int rate = hr.Unsigned(i);
            if (rate > 65534 || mets.Unsigned(i) == kMissing) continue;
            const int x = BpmToXPoint(rate);
            const int y = ValueToYPoint(mets.Signed(i));
            pDC->Ellipse(x - r, y - r, x + r, y + r);
        }
    }
    if (a == 0) {
        const int y = ValueToYPoint(b * 10);
        pDC->MoveTo(static_cast<int>(m_dPlotLeft), y);
        pDC->LineTo(static_cast<int>(m_dPlotRight), y);
    } else {
        pDC->MoveTo(BpmToXPoint(-b / a), static_cast<int>(m_dPlotTop + m_dPlotHeight));
        pDC->LineTo(static_cast<int>(m_dPlotRight), ValueToYPoint((a * 250 + b) * 10));
    }
    const std::vector<BYTE> first = ReadTag(3385), second = ReadTag(3024);
    const ExerTrendWords target = WordsOf(first, static_cast<long>(first.size()));
    const ExerTrendWords peak = WordsOf(second, static_cast<long>(second.size()));
    if (target.Has(0)) DrawDropLine(pDC, m_bPrinting ? g_pPenDark : g_pPenSlGreen, target.Signed(0), a, b);
    if (peak.Has(0)) {
        CPen red(PS_SOLID, 1, RGB(120, 40, 40));
        DrawDropLine(pDC, m_bPrinting ? g_pPenDark : &red, peak.Signed(0), a, b);
    }
}

// ---- the ST-HR loop --------------------------------------------------------------------------------

void CViewExerTrend::DrawSTHRTrend(CDC* pDC)
{
    const _EXERDATAITEM* item = CurrentItem();
    if (!item) return;
    m_strTitle.Format(item->nStMeasCondition ? L"R-ST[mm]  ST-HR loop  %s" : L"ST-L[mm]  ST-HR loop  %s",
                      LeadName().GetString());
    m_nScaleMax = 10;
    m_nDivisor = 1;
    m_nInvalid = kMissing;
    DrawTrendFrame(pDC, 50, 5, 6, 3, 9, L"(bpm)", 1, 0, 1);
    const UINT tag = LeadTag(exer::TAG_ST_EXER);
    const std::vector<BYTE> stExer = ReadTag(tag), stRec = ReadTag(tag + 12);
    if (stExer.empty() && stRec.empty()) return;
    const std::vector<BYTE> hrExer = ReadTag(3320), hrRec = ReadTag(3321);
    const ExerTrendWords st[2] = {WordsOf(stExer, static_cast<long>(stExer.size())),
                                  WordsOf(stRec, static_cast<long>(stRec.size()))};
    const ExerTrendWords hr[2] = {WordsOf(hrExer, static_cast<long>(hrExer.size())),
                                  WordsOf(hrRec, static_cast<long>(hrRec.size()))};
    // A pair is valid with an ST word other than 32768 and a heart rate
    // below 65535; a pair past either array is none.
    auto valid = [&](int phase, int i) {
        return st[phase].Has(i) && hr[phase].Has(i) && st[phase].Unsigned(i) != kMissing &&
               hr[phase].Unsigned(i) < kMissingHr;
    };
    auto at = [&](int phase, int i) {
        return CPoint(BpmToXPoint(hr[phase].Unsigned(i)), ValueToYPoint(st[phase].Signed(i)));
    };
    CDCStateSaver saver(*pDC);
    ClipToPlot(pDC, true);
    // The loop is drawn in the label pen rather than the curve pen.
    CDCObjectSelector<CPen> pen(*pDC, m_pLabelPen);
    bool started = false;
    for (int i = 1; i < st[0].count - 1; ++i) {
        if (!valid(0, i)) continue;
        const CPoint p = at(0, i);
        if (started) pDC->LineTo(p.x, p.y);
        else pDC->MoveTo(p.x, p.y);
        started = true;
    }
    const int r = static_cast<int>(DotScale(pDC) * 2.5 + 0.5);
    pDC->SetBkMode(OPAQUE);
    for (int phase = 1; phase >= 0; --phase) {
        CDCObjectSelector<CBrush> brush(*pDC, phase == 1 ? m_pOpenBrush : m_pFilledBrush);
        for (int i = phase == 1 ? 0 : 1; i < st[phase].count; ++i) {
            if (!valid(phase, i)) continue;
            const CPoint p = at(phase, i);
            pDC->Ellipse(p.x - r, p.y - r, p.x + r, p.y + r);
        }
    }
    pDC->SetBkMode(TRANSPARENT);
}
