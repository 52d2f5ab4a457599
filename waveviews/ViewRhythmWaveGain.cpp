// Auto gain of the multi-lead view: where each trace's zero line lies in its
// column and, in the automatic sense mode, the gain of each lead group so that
// the traces of a column fit its height.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "core/TavrionDoc.h"
#include "documents/RestViewDoc.h"
#include "waveviews/RhythmWaveStyle.h"
#include "waveviews/ViewRhythmWave.h"

namespace {

const int kGroups = 7;   // sense indices 0 to 6
const float kLadderTop = 10.0f;
const float kLadderBottom = 1.25f;

// How the traces of a column are placed.
enum class CFit {
    LeftAlone,   // too tall even spread out: the row centres stay
    Stacked,     // the traces stacked fit the column with room to share
    OwnRows,     // each trace fits its own row
    Spread,      // the traces fit only with uneven gaps between them
};

// One column being fitted: the column's facts and, at the working gain g,
// the pixel height each position takes.
struct ColumnFit {
    const _AUTO_GAIN_INFO& info;
    int h;            // the column height less its last pixel
    int pitch;        // h / slots
    double g;         // the working gain, mm/mV
    std::vector<int> px;
    long slack = 0;   // the traces' total height over the column's, plus a square

    ColumnFit(const _AUTO_GAIN_INFO& gainInfo, double gain)
        : info(gainInfo), h(gainInfo.height - 1), pitch((gainInfo.height - 1) / gainInfo.slots), g(gain),
          px(static_cast<size_t>(gainInfo.count), 0)
    {
    }
    bool Filled(int i) const { return info.leads[i] >= 0; }
    double Span(int i) const { return info.maxima[i] - info.minima[i]; }
    int Centre(int i) const { return static_cast<int>((info.maxima[i] + info.minima[i]) * g * 0.5); }
    long Total() const
    {
        long total = 0;
        for (int v : px) total += v;
        return total;
    }
    // The pixels of every position below i.
    long Later(int i) const
    {
        long sum = 0;
        for (int j = i + 1; j < info.count; ++j) sum += px[static_cast<size_t>(j)];
        return sum;
    }
    int FilledBefore(int i) const
    {
        for (int j = i - 1; j >= 0; --j)
            if (Filled(j)) return j;
        return -1;
    }
    int FilledAfter(int i) const
    {
        for (int j = i + 1; j < info.count; ++j)
            if (Filled(j)) return j;
        return -1;
    }
};

// The height of each position at the working gain; false when a lead does
// not fit even at 10 mm/mV (the next ladder gain in `retry`).
bool MeasureHeights(ColumnFit& fit, float& retry)
{
    for (int i = 0; i < fit.info.count; ++i) {
        if (!fit.Filled(i)) {
            fit.px[i] = 0;
            continue;
        }
        fit.px[i] = std::max(static_cast<int>(fit.g * fit.Span(i)), fit.info.minimumHalf);
        const double perGain = fit.px[i] / fit.g;
        if (perGain * kLadderTop > fit.h) {
            retry = perGain * 5.0 <= fit.h ? 5.0f : (perGain * 2.5 <= fit.h ? 2.5f : kLadderBottom);
            return false;
        }
    }
    return true;
}

// Every neighbouring pair of traces fits within two rows.
bool PairsFitTheirRows(const ColumnFit& fit)
{
    const int slots = fit.info.slots;
    std::vector<int> s(static_cast<size_t>(slots) + 1, 0);
    int n = 1;
    for (int i = 0; i < fit.info.count && n <= slots; ++i)
        if (fit.Filled(i)) s[static_cast<size_t>(n++)] = fit.px[static_cast<size_t>(i)];
    s[0] = s[1];
    int j = 0;
    while (j < slots - 1 && s[j] != 0 && s[j + 1] != 0 && (s[j] + s[j + 1]) * fit.g <= 2.0 * fit.pitch) ++j;
    return j == slots - 1;
}

// The placement the column takes, halving the gain down the ladder while
// choosing gains; false when a halved gain leaves a lead too tall (the
// working gain is then the gain to try).
bool ChooseFit(ColumnFit& fit, bool choosesGain, bool strip, CFit& kind)
{
    float retry = 0.0f;
    for (;;) {
        if (PairsFitTheirRows(fit) && !strip) {
            kind = CFit::OwnRows;
            return true;
        }
        const long total = fit.Total();
        fit.slack = total - fit.h + fit.info.square;
        if (fit.slack < 0) {
            kind = CFit::Stacked;
            return true;
        }
        if (!choosesGain || fit.g == kLadderBottom) {
            kind = total > static_cast<long>(fit.h * 1.5) ? CFit::LeftAlone : CFit::Spread;
            return true;
        }
        fit.g /= 2.0;
        if (!MeasureHeights(fit, retry)) return false;
    }
}

// The traces stacked from the bottom, the spare room shared out evenly.
void PlaceStacked(const ColumnFit& fit, int* baseline)
{
    const int slots = fit.info.slots;
    const int square = fit.info.square;
    const double gap = static_cast<double>(fit.slack) / slots;
    int k = slots - 1;
    for (int i = fit.info.count - 1; i >= 0; --i) {
        if (!fit.Filled(i)) continue;
        baseline[i] = static_cast<int>((slots - 0.5 - k) * gap + fit.Centre(i) - fit.px[i] / 2 - square / 2 + fit.h -
                                       fit.Later(i));
        --k;
    }
}

// Each trace centred in its own row, none reaching into the trace below.
void PlaceInOwnRows(const ColumnFit& fit, int* baseline)
{
    const int square = fit.info.square;
    int m = 0;
    int below = -1;
    for (int i = fit.info.count - 1; i >= 0; --i) {
        if (!fit.Filled(i)) continue;
        ++m;
        baseline[i] = fit.h - square / 2 - ((2 * m - 1) * fit.pitch) / 2 + fit.Centre(i);
        const double low = std::fabs(fit.g * fit.info.minima[i]);
        if (below < 0) {
            if (fit.h - low < baseline[i]) baseline[i] = static_cast<int>(fit.h - low) - square / 2;
        } else {
            const int limit = static_cast<int>(baseline[below] - fit.g * fit.info.maxima[below] - low);
            baseline[i] = std::min(baseline[i], limit);
        }
        below = i;
    }
}

// ---- the spread placement -------------------------------------------------------------------

// The state carried up the column from the last position to the first.
struct SpreadState {
    std::vector<double> gaps;   // the gap above each slot
    double accumulated = 0.0;   // the gaps passed so far
    double previous = 0.0;      // the baseline placed last
    int k = 0;                  // the slot of the position being placed
    int third = 0;              // a third of the least half height
};

// How far the trace's unused margin moves it: towards the smaller neighbour.
int MarginOffset(const ColumnFit& fit, int i)
{
    const double spare = fit.px[i] - fit.Span(i) * fit.g;
    if (i == 0) return static_cast<int>(spare * -0.5);
    if (i == fit.info.count - 1) return static_cast<int>(spare * 0.5);
    const int above = fit.FilledBefore(i);
    const int below = fit.FilledAfter(i);
    const int a = above >= 0 ? fit.px[above] : 0;
    const int b = below >= 0 ? fit.px[below] : 0;
    return a > b ? static_cast<int>(spare * 0.5) : (a < b ? static_cast<int>(spare * -0.5) : 0);
}

// A small trace between two taller ones takes its gaps from the side where
// the neighbours reach towards each other less.
void ReshareGapsAroundSmallTrace(const ColumnFit& fit, int i, SpreadState& state)
{
    const int k = state.k;
    const int above = fit.FilledBefore(i);
    const int below = fit.FilledAfter(i);
    if (!fit.Filled(i) || k <= 0 || k >= fit.info.slots - 2 || above < 0 || below < 0) return;
    if (fit.px[i] >= fit.px[above] || fit.px[i] >= fit.px[below]) return;
    const _AUTO_GAIN_INFO& info = fit.info;
    if (std::fabs(info.minima[above]) + std::fabs(info.maxima[below]) >=
        std::fabs(info.minima[below]) + std::fabs(info.maxima[above]))
        return;
    std::vector<double>& gap = state.gaps;
    const double t = gap[k - 1] + gap[k] + gap[k + 1];
    const double s = fit.px[i] + fit.px[above] + fit.px[below];
    const double oldNext = gap[k + 1];
    gap[k] = t * (fit.px[above] + fit.px[below]) / (2.0 * s);
    gap[k - 1] = t * fit.px[i] / (3.0 * s);
    gap[k + 1] = 2.0 * t * fit.px[i] / (3.0 * s);
    state.accumulated += gap[k + 1] - oldNext;
}

// The top trace reaching over the column's top pushes the whole column down,
// squeezed back into its height.
void KeepTopTraceInside(const ColumnFit& fit, int i, int* baseline)
{
    const double peak = fit.g * fit.info.maxima[i] + fit.info.square / 2;
    if (baseline[i] > peak) return;
    const int shift = static_cast<int>(peak - baseline[i]);
    if (shift + fit.h == 0) return;
    for (int j = 0; j < fit.info.count; ++j) baseline[j] = (baseline[j] + shift) * fit.h / (shift + fit.h);
}

// The first trace at least a square down, then the baselines in ascending order.
void OrderSpreadBaselines(const ColumnFit& fit, int* baseline)
{
    bool first = true;
    for (int i = 0; i < fit.info.count; ++i) {
        if (!fit.Filled(i)) continue;
        if (first) {
            baseline[i] = std::max(baseline[i], fit.info.square);
            first = false;
        }
        for (int j = i + 1; j < fit.info.count; ++j)
            if (fit.Filled(j) && baseline[j] < baseline[i]) std::swap(baseline[i], baseline[j]);
    }
}

void PlaceSpread(const ColumnFit& fit, int* baseline)
{
    const int slots = fit.info.slots;
    const int square = fit.info.square;
    SpreadState state;
    // With one slot there is no gap to share.
    const double gap = slots > 1 ? static_cast<double>(fit.slack) / (slots - 1) : 0.0;
    state.gaps.assign(static_cast<size_t>(std::max(slots - 1, 1)) + 2, gap);
    state.third = fit.info.minimumHalf / 3;
    state.k = slots - 1;
    for (int i = fit.info.count - 1; i >= 0; --i) {
        const bool filled = fit.Filled(i);
        const int offset = MarginOffset(fit, i);
        ReshareGapsAroundSmallTrace(fit, i, state);
        baseline[i] = static_cast<int>(state.accumulated + offset - fit.px[i] / 2 + fit.Centre(i) - square / 2 + fit.h -
                                       fit.Later(i));
        if (std::abs(baseline[i] - state.previous) <= state.third && filled && baseline[i] > 0)
            baseline[i] -= state.third;
        if (state.k == 0 && filled) KeepTopTraceInside(fit, i, baseline);
        if (state.k == slots - 1 && fit.h + std::fabs(fit.g * fit.info.minima[i]) <= baseline[i])
            baseline[i] -= offset / 2;
        state.previous = baseline[i];
        if (filled && state.k >= 1) state.accumulated += state.gaps[state.k - 1];
        if (filled) --state.k;
    }
    OrderSpreadBaselines(fit, baseline);
}

}  // namespace

int CViewRhythmWave::AutoWaveAdjust(_AUTO_GAIN_INFO info, _AUTO_GAIN_RETURN& result, int applyGain)
{
    if (info.count <= 0 || info.slots <= 0 || !info.maxima || !info.minima || !info.leads || !result.pBaseline)
        return 0;
    double gain = info.gain;
    if (applyGain && gain < kLadderTop) gain = kLadderTop;
    ColumnFit fit(info, gain);
    float retry = 0.0f;
    if (!MeasureHeights(fit, retry)) {
        result.fGain = retry;
        return 0;
    }
    CFit kind = CFit::LeftAlone;
    const bool fitted = ChooseFit(fit, applyGain != 0, IsAutoPlacedStripStyle(m_nWaveStyle), kind);
    result.fGain = static_cast<float>(fit.g);
    if (!fitted) return 0;
    switch (kind) {
    case CFit::LeftAlone: return 0;
    case CFit::Stacked: PlaceStacked(fit, result.pBaseline); break;
    case CFit::OwnRows: PlaceInOwnRows(fit, result.pBaseline); break;
    case CFit::Spread: PlaceSpread(fit, result.pBaseline); break;
    }
    return 1;
}

// ---- the leads of a column ---------------------------------------------------------------------

int CViewRhythmWave::CColumnLeads::Slots() const
{
    return static_cast<int>(std::count_if(positions.begin(), positions.end(), [](int lead) { return lead >= 0; }));
}

std::vector<int> CViewRhythmWave::CColumnLeads::Listed() const
{
    std::vector<int> leads;
    for (int lead : positions)
        if (lead >= 0) leads.push_back(lead);
    return leads;
}

CViewRhythmWave::CColumnLeads CViewRhythmWave::ColumnLeads(int leadColumn) const
{
    CColumnLeads column;
    const int style = m_nWaveStyle;
    auto fromMask = [&](int from, int to) {
        const short mask = LeadMask();
        column.firstLead = from;
        for (int bit = from; bit <= to; ++bit) column.positions.push_back((mask & (1 << bit)) ? bit : -1);
    };
    if (IsLeadMaskStyle(style)) {
        fromMask(0, RHYTHM_VIEW_LEADS - 1);
    } else if (IsSixRowRestStyle(style) && m_nRows * leadColumn >= 6 && IsFifteenLeadRecord()) {
        fromMask(6, RHYTHM_VIEW_LEADS - 1);
    } else {
        const int shift = IsShiftedExtraStyle(style) && !m_bShowExtra1Lead ? 3 : 0;
        column.firstLead = m_nRows * leadColumn + shift;
        for (int i = 0; i < m_nRows; ++i) column.positions.push_back(column.firstLead + i);
    }
    return column;
}

int CViewRhythmWave::LeadColumnOf(int column) const
{
    // A chest page shows the leads from V1 (lead 6) on.
    return IsChestPage() && m_nRows > 0 ? column + 6 / m_nRows : column;
}

bool CViewRhythmWave::IsChestPage() const
{
    return m_bShowChestLead && IsChestPageStyle(m_nWaveStyle);
}

int CViewRhythmWave::PageColumns() const
{
    // A 15-lead record's chest page of three rows needs a third column for V7 to V9.
    return IsChestPage() && IsThreeRowChestPageStyle(m_nWaveStyle) && IsFifteenLeadRecord() ? 3 : m_nColumns;
}

int* CViewRhythmWave::Baselines(int print)
{
    return print ? m_nPrintBaseline : m_nScreenBaseline;
}

void CViewRhythmWave::ClearBaselinesFrom(int firstLead, int print)
{
    int* baselines = Baselines(print);
    for (int lead = std::max(firstLead, 0); lead < RHYTHM_VIEW_LEADS; ++lead) baselines[lead] = 0;
}

void CViewRhythmWave::PlaceRowCentres(const CColumnLeads& column, int height, int print)
{
    int* baselines = Baselines(print);
    const std::vector<int> listed = column.Listed();
    const int n = static_cast<int>(listed.size());
    for (int k = 0; k < n; ++k)
        if (listed[k] < RHYTHM_VIEW_LEADS) baselines[listed[k]] = height * (2 * k + 1) / (2 * n);
}

// ---- one column -----------------------------------------------------------------------------------

void CViewRhythmWave::MeasureColumn(const CColumnLeads& column, int height, int gridY, std::vector<int>& leads,
                                    std::vector<float>& maxima, std::vector<float>& minima)
{
    CTavrionDoc* doc = GetTavrionDoc();
    const int count = static_cast<int>(column.positions.size());
    leads = column.positions;
    maxima.assign(static_cast<size_t>(count), 0.0f);
    minima.assign(static_cast<size_t>(count), 0.0f);
    const double toPixels = height * m_dAmplitudeUnit * 0.001 / gridY;
    // A paced record of another series brings its spikes' extremes: the
    // spikes, not the wave, decide how much room a trace needs.
    CRestViewDoc* paced = PacedSpikeExtremesDoc();
    for (int i = 0; i < count; ++i) {
        const int lead = leads[i];
        if (lead < 0 || !HasLead(lead)) {
            leads[i] = -1;
            continue;
        }
        short high = 0;
        short low = 0;
        if (paced)
            paced->GetPaceMakerWaveMaxMin(IsOneLeadRestStyle(m_nWaveStyle) ? m_nRhythm1LeadID : lead, &high, &low);
        else
            doc->GetWaveMaxMin(LeadData(lead), LeadCount(lead), &high, &low);
        if (high == -32768 && low == -32768) high = low = 0;
        maxima[i] = static_cast<float>(high * toPixels);
        minima[i] = static_cast<float>(low * toPixels);
    }
}

CRestViewDoc* CViewRhythmWave::PacedSpikeExtremesDoc() const
{
    if (m_nDocType != DOC_TYPE_REST) return nullptr;
    auto* rest = DYNAMIC_DOWNCAST(CRestViewDoc, GetTavrionDoc());
    return rest && !rest->Is8000File() && rest->IfPaceMakerON() ? rest : nullptr;
}

bool CViewRhythmWave::KeepsPacedRowCentres(int applyGain) const
{
    // A paced record of the newer series keeps its rows: its spikes would set the scale.
    if (applyGain || m_nDocType != DOC_TYPE_REST) return false;
    auto* rest = DYNAMIC_DOWNCAST(CRestViewDoc, GetTavrionDoc());
    return rest && rest->Is8000File() && rest->IfPaceMakerON();
}

float CViewRhythmWave::CalAutoSensPosForOneCol(UINT senseIndex, int column, int applyGain, CRect* rect, int gridY,
                                               int print)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc || !rect || gridY <= 0 || m_nRows <= 0 || !HasCurrentItem()) return 0.0f;
    const int h = rect->Height();
    const CColumnLeads leads = ColumnLeads(column);
    ClearBaselinesFrom(leads.firstLead, print);
    const int slots = leads.Slots();
    if (slots <= 0 || leads.firstLead < 0 || leads.firstLead >= RHYTHM_VIEW_LEADS) return doc->GetSense(senseIndex, 0);
    if (KeepsPacedRowCentres(applyGain)) {
        PlaceRowCentres(leads, h, print);
        return doc->GetSense(senseIndex, 0);
    }
    const float startGain = applyGain ? StoredAutoSense() : doc->GetSense(senseIndex, 0);

    std::vector<int> positions;
    std::vector<float> maxima;
    std::vector<float> minima;
    MeasureColumn(leads, h, gridY, positions, maxima, minima);
    const int count = static_cast<int>(positions.size());
    _AUTO_GAIN_INFO info;
    info.maxima = maxima.data();
    info.minima = minima.data();
    info.leads = positions.data();
    info.gain = startGain;
    info.count = std::min(count, RHYTHM_VIEW_LEADS - leads.firstLead);
    info.slots = slots;
    info.height = h;
    info.minimumHalf = static_cast<int>(static_cast<double>(h) / count * 0.5);
    info.square = h / gridY;
    // Entry i of the column's baselines belongs to position i.
    _AUTO_GAIN_RETURN result{Baselines(print) + leads.firstLead, startGain};
    if (!AutoWaveAdjust(info, result, applyGain)) PlaceRowCentres(leads, h, print);
    return result.fGain;
}

// ---- the page --------------------------------------------------------------------------------------

void CViewRhythmWave::PlaceFixedRows(const CRect& rect, int print)
{
    for (int c = 0; c < PageColumns(); ++c) {
        const CColumnLeads leads = ColumnLeads(LeadColumnOf(c));
        ClearBaselinesFrom(leads.firstLead, print);
        PlaceRowCentres(leads, rect.Height(), print);
    }
}

// Which lead group (sense index) each column of a page belongs to.
std::vector<std::pair<int, int>> CViewRhythmWave::GroupColumns() const
{
    const int style = m_nWaveStyle;
    const bool chest = IsChestPage();
    std::vector<std::pair<int, int>> groups;   // (sense index, column)
    if (IsFourColumnRestStyle(style)) {
        for (int c = 0; c < PageColumns(); ++c) groups.push_back({c < 2 ? 1 : 0, c});
    } else if (IsThreeRowChestPageStyle(style)) {
        for (int c = 0; c < PageColumns(); ++c) groups.push_back({chest ? 0 : 1, LeadColumnOf(c)});
    } else if (IsLimbChestColumnStyle(style)) {
        groups = {{1, 0}, {0, 1}};
    } else if (IsSixRowChestPageStyle(style)) {
        groups.push_back(chest ? std::make_pair(0, 1) : std::make_pair(1, 0));
    } else if (IsLeadMaskStyle(style)) {
        groups.push_back({6, 0});
    } else if (IsAutoPlacedStripStyle(style)) {
        groups.push_back({2, 0});
    } else if (IsOneGroupExtraStyle(style)) {
        groups.push_back({m_bShowExtra1Lead ? 4 : 5, 0});
    } else if (IsTwoGroupExtraStyle(style)) {
        groups = {{4, 0}, {5, 1}};
    } else if (IsShiftedExtraStyle(style)) {
        groups.push_back(m_bShowExtra1Lead ? std::make_pair(4, 0) : std::make_pair(5, 0));
    }
    return groups;
}

void CViewRhythmWave::StoreGroupGains(const float* gains, const bool* computed)
{
    CTavrionDoc* doc = GetTavrionDoc();
    const int kind = m_nDocType;
    if (kind != DOC_TYPE_REST && kind != DOC_TYPE_RHYTHM && kind != DOC_TYPE_MFER && kind != DOC_TYPE_EXTRA) return;
    for (int group = 0; group < kGroups; ++group) {
        if (!computed[group] || group == 3) continue;
        const bool stored = kind == DOC_TYPE_EXTRA ? (group == 4 || group == 5 || group == 2)
                            : kind == DOC_TYPE_MFER ? true
                                                    : (group <= 2 || group == 6);
        if (!stored) continue;
        doc->SetSense(static_cast<UINT>(group), gains[group], 0);
        if (group == 2) doc->SetRhythmSense(gains[group]);
    }
    doc->SetSenseMode(5);
}

void CViewRhythmWave::PlaceAutomatically(CRect rect, int gridY, int print, bool choosesGain)
{
    float gains[kGroups];
    bool computed[kGroups] = {};
    for (float& g : gains) g = 40.0f;
    for (const auto& [group, column] : GroupColumns()) {
        const float g = CalAutoSensPosForOneCol(static_cast<UINT>(group), column, choosesGain ? 1 : 0, &rect, gridY,
                                                print);
        if (g > 0.0f && g < gains[group]) gains[group] = g;
        computed[group] = true;
    }
    if (choosesGain) StoreGroupGains(gains, computed);
}

void CViewRhythmWave::CalAutoSensPos(CRect rect, int gridY, int print)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc || gridY <= 0 || m_nRows <= 0) return;
    const bool itemKind = m_nDocType == DOC_TYPE_REST || m_nDocType == DOC_TYPE_MFER || m_nDocType == DOC_TYPE_RHYTHM;
    if (itemKind && !HasCurrentItem()) return;
    const UINT mode = doc->GetSenseMode();
    if (mode != 2 && mode != 4 && mode != 5)
        PlaceFixedRows(rect, print);
    else
        PlaceAutomatically(rect, gridY, print, mode == 5);
}
