// Where the serial comparison's leads stand in their column, and the gain
// the one-lead style fits. The fitter works on each lead's extremes in pixels
// at 1 mm/mV: it either finds a gain at which the leads fit and places every
// baseline, or answers a smaller gain to try.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>
#include <vector>

#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "waveviews/ViewSerialComRhy.h"

namespace {

const int kOneLeadStyle = 13;
const int kSixLeadStyle = 29;

enum class Fit { Fit, Stack, Overlap, Fail };

int BitCount(unsigned bits)
{
    int n = 0;
    for (; bits; bits &= bits - 1) ++n;
    return n;
}

// What the fitter works with for one column.
struct Column {
    const _AUTO_GAIN_INFO& info;
    float g;
    std::vector<int> px;
    int n, k, h, m, p;

    explicit Column(const _AUTO_GAIN_INFO& i) : info(i), g(i.gain), px(i.count, 0), n(i.count), k(i.slots),
                                                h(i.height - 1), m(i.minimumHalf), p(i.square) {}
    bool Shown(int i) const { return info.leads[i] != -1; }
    float Span(int i) const { return info.maxima[i] - info.minima[i]; }
    int A(int i) const { return static_cast<int>(-0.5f * g * (info.maxima[i] + info.minima[i])); }
    // The pixel spans at g; false with `retry` set when a lead cannot fit even at 10 mm/mV.
    bool Spans(float& retry)
    {
        for (int i = 0; i < n; ++i) {
            px[i] = Shown(i) ? std::max(static_cast<int>(g * Span(i)), m) : 0;
            const float unit = Shown(i) ? px[i] / g : 0.0f;
            if (unit * 10.0f > h) {
                retry = unit * 5.0f <= h ? 5.0f : unit * 2.5f <= h ? 2.5f : 1.25f;
                return false;
            }
        }
        return true;
    }
    // The pair scan over the shown spans: where the first pair too tall for
    // two slots stands, k when none is.
    int Scan() const
    {
        std::vector<short> q(static_cast<size_t>(k) + 1, 0);
        int idx = 1;
        for (int i = 0; i < n && idx <= k; ++i)
            if (Shown(i)) q[idx++] = static_cast<short>(px[i]);
        q[0] = q[1];
        const int r = h / k;
        int j = 0;
        for (; j < k; ++j)
            if ((q[j] + q[j + 1]) * g > 2 * r || q[j] == 0 || q[j + 1] == 0) break;
        return j;
    }
    long Total() const { return std::accumulate(px.begin(), px.end(), 0L); }
    long After(int i) const { return std::accumulate(px.begin() + i + 1, px.end(), 0L); }
    int NextShown(int i) const
    {
        for (int j = i + 1; j < n; ++j)
            if (Shown(j)) return j;
        return -1;
    }
    int PreviousShown(int i) const
    {
        for (int j = i - 1; j >= 0; --j)
            if (Shown(j)) return j;
        return -1;
    }
};

void PlaceStack(Column& col, double spacing, int* base)
{
    int c = col.k - 1;
    for (int i = col.n - 1; i >= 0; --i) {
        base[i] = static_cast<int>(((col.k - 0.5) - c) * spacing) - col.A(i) - col.px[i] / 2 - col.p / 2 + col.h -
                  static_cast<int>(col.After(i));
        if (col.Shown(i)) --c;
    }
}

void PlaceFit(Column& col, int* base)
{
    const int r = col.h / col.k;
    long acc = r;
    int c = col.k - 1;
    for (int i = col.n - 1; i >= 0; --i) {
        base[i] = col.h - static_cast<int>(acc / 2) - col.p / 2 - col.A(i);
        const float below = std::fabs(col.g * col.info.minima[i]);
        if (c == col.k - 1) {
            if (col.h - below < base[i]) base[i] = static_cast<int>(col.h - below) - col.p / 2;
        } else if (c >= 0 && i + 1 < col.n) {
            const float limit = (base[i + 1] - col.g * col.info.maxima[i + 1]) - below;
            if (base[i] > limit) base[i] = static_cast<int>(limit);
        }
        if (col.Shown(i)) {
            acc += 2L * r;
            --c;
        }
    }
}

int OverlapAdjustment(const Column& col, int i)
{
    const double excess = col.px[i] - col.g * col.Span(i);
    if (i == 0) return static_cast<int>(excess * -0.5);
    if (i == col.n - 1) return static_cast<int>(excess * 0.5);
    const int next = col.NextShown(i);
    const int prev = col.PreviousShown(i);
    // A middle position without a shown neighbour on one side stays where it is.
    if (next < 0 || prev < 0 || col.px[prev] == col.px[next]) return 0;
    return static_cast<int>(excess * (col.px[prev] > col.px[next] ? 0.5 : -0.5));
}

// Shares the three gaps around slot c again for a low lead between two taller ones.
void Regap(const Column& col, int i, int c, std::vector<double>& gap, double& acc)
{
    const int next = col.NextShown(i);
    const int prev = col.PreviousShown(i);
    if (next < 0 || prev < 0 || !col.Shown(i)) return;
    const int pi = col.px[i], pn = col.px[next], pp = col.px[prev];
    if (!(pi < pn && pi < pp && 0 < c && c < col.k - 2)) return;
    const auto& in = col.info;
    if (!(std::fabs(in.minima[prev]) + std::fabs(in.maxima[next]) < std::fabs(in.minima[next]) + std::fabs(in.maxima[prev])))
        return;
    const double s = gap[c - 1] + gap[c] + gap[c + 1];
    const double u = pi + pn + pp;
    acc -= gap[c + 1];
    gap[c] = (pn + pp) * s / (2 * u);
    gap[c - 1] = pi * s / (3 * u);
    gap[c + 1] = 2 * pi * s / (3 * u);
    acc += gap[c + 1];
}

void PlaceOverlap(Column& col, std::vector<double>& gap, int* base)
{
    const int t3 = col.m / 3;
    double acc = 0.0;
    int previous = 0;
    int c = col.k - 1;
    for (int i = col.n - 1; i >= 0; --i) {
        const int adjustment = OverlapAdjustment(col, i);
        if (i > 0 && i < col.n - 1) Regap(col, i, c, gap, acc);
        int b = col.h + static_cast<int>(acc) - col.A(i) - col.px[i] / 2 - col.p / 2 + adjustment -
                static_cast<int>(col.After(i));
        const bool shown = col.Shown(i);
        if (std::abs(b - previous) <= t3 && shown && b > 0) b -= t3;
        if (c == 0 && shown && b <= col.g * col.info.maxima[i] + col.p / 2) {
            // The top lead would leave the column: everything moves down and shrinks to fit.
            const int u = static_cast<int>(col.g * col.info.maxima[i] + col.p / 2 - b);
            base[i] = b;
            for (int j = 0; j < col.n; ++j) base[j] = (base[j] + u) * col.h / (u + col.h);
            b = base[i];
        }
        if (c == col.k - 1 && col.h + std::fabs(col.g * col.info.minima[i]) <= b) b -= adjustment / 2;
        base[i] = previous = b;
        if (c >= 1 && shown) acc += gap[c - 1];
        if (shown) --c;
    }
    // Top to bottom in order: each shown lead takes the smallest baseline left.
    bool first = true;
    for (int i = 0; i < col.n; ++i) {
        if (!col.Shown(i)) continue;
        if (first) base[i] = std::max(base[i], col.p);
        first = false;
        for (int j = i + 1; j < col.n; ++j)
            if (base[j] < base[i]) std::swap(base[i], base[j]);
    }
    for (int i = col.n - 1; i >= 1; --i) {
        if (!col.Shown(i)) continue;
        const int prev = col.PreviousShown(i);
        if (prev >= 0 && base[i] - base[prev] < t3) base[prev] = base[i] - t3;
    }
}

}  // namespace

int CViewSerialComRhy::AutoWaveAdjust(_AUTO_GAIN_INFO info, _AUTO_GAIN_RETURN& result, BOOL automatic)
{
    if (info.count <= 0 || info.slots <= 0 || !info.maxima || !info.minima || !info.leads || !result.pBaseline)
        return 0;
    Column col(info);
    if (automatic && col.g < 10.0f) col.g = 10.0f;
    float retry = 0.0f;
    if (!col.Spans(retry)) {
        result.fGain = retry;
        return 0;
    }
    Fit status = Fit::Fail;
    double d = static_cast<double>(col.Total() - col.h + col.p);
    if (col.Scan() == col.k - 1 && m_nWaveStyle != kOneLeadStyle) {
        status = Fit::Fit;
    } else {
        for (;;) {
            const long total = col.Total();
            d = static_cast<double>(total - col.h + col.p);
            if (d < 0) {
                status = Fit::Stack;
                break;
            }
            if (!automatic || col.g == 1.25f) {
                status = total > static_cast<long>(1.5 * col.h) ? Fit::Fail : Fit::Overlap;
                break;
            }
            col.g /= 2.0f;
            if (!col.Spans(retry)) {
                result.fGain = retry;
                return 0;
            }
            if (col.Scan() == col.k - 1) {
                status = Fit::Fit;
                break;
            }
        }
    }
    result.fGain = col.g;
    // One lead has no gaps between leads: the array stays empty.
    std::vector<double> gap(static_cast<size_t>(col.k - 1), col.k > 1 ? d / (col.k - 1) : 0.0);
    switch (status) {
    case Fit::Fail: return 0;
    case Fit::Stack: PlaceStack(col, d / col.k, result.pBaseline); break;
    case Fit::Fit: PlaceFit(col, result.pBaseline); break;
    case Fit::Overlap: PlaceOverlap(col, gap, result.pBaseline); break;
    }
    return 1;
}

// ---- the view's columns -----------------------------------------------------------------------------------

bool CViewSerialComRhy::IsTwelveFifteenRecord() const
{
    return m_pRestItem || (m_pMferItem && (m_pMferItem->uSystemCode == 0x800F || m_pMferItem->uSystemCode == 0x800C));
}

bool CViewSerialComRhy::IsFifteenLeadRecord() const
{
    if (m_pRestItem) {
        const unsigned low = m_pRestItem->uSystemCode & 0xFF;
        return low == 11 || low == 226 || low == 227;
    }
    return m_pMferItem && m_pMferItem->uSystemCode == 0x800F;
}

short CViewSerialComRhy::ChestSelection() const
{
    CTavrionDoc* doc = RecordDoc();
    const unsigned code = m_pRestItem ? m_pRestItem->uSystemCode : m_pMferItem ? m_pMferItem->uSystemCode : 0;
    return doc ? doc->GetLeadSelection(static_cast<int>(code), kSixLeadStyle) : 0;
}

void CViewSerialComRhy::SpaceEvenly(const std::vector<int>& leads, int height, int* baselines) const
{
    const int n = static_cast<int>(leads.size());
    for (int j = 0; j < n; ++j)
        if (leads[j] >= 0 && leads[j] < SERIAL_VIEW_LEADS) baselines[leads[j]] = height * (2 * j + 1) / (2 * n);
}

void CViewSerialComRhy::CalAutoSensPos(CRect* rect, int gridY, BOOL print)
{
    CTavrionDoc* doc = RecordDoc();
    const UINT mode = doc ? doc->GetSenseMode() : 0;
    if (doc && (mode == 2 || mode == 4 || mode == 5) && m_nWaveStyle == kOneLeadStyle) {
        const float gain = CalAutoSensPosForOneCol(2, 0, mode == 5, rect, gridY, print);
        if (mode == 5 && gain > 0.0f && gain < 40.0f && m_nViewIndex == 0 && LeadCount(0) <= kLongRecord) {
            doc->SetSense(2, gain, 0);
            doc->SetRhythmSense(gain);
            doc->SetSenseMode(5);
        }
        return;
    }
    int* baselines = print ? m_nPrintBaseline : m_nScreenBaseline;
    const int rows = m_nRows[1];
    int chestCount = -1;
    for (int c = 0; c < m_nColumns[0]; ++c) {
        std::vector<int> leads;
        const bool chest = IsTwelveFifteenRecord() && m_nWaveStyle == kSixLeadStyle && (rows * c >= 6 || m_bShowChestLead);
        if (chest) {
            const unsigned selection = static_cast<unsigned short>(ChestSelection());
            for (int lead = 6; lead < SERIAL_VIEW_LEADS; ++lead)
                if (selection & (1u << lead)) leads.push_back(lead);
            chestCount = BitCount(selection);
        }
        if (!chest || leads.empty()) {
            // A selection that lists no chest lead shows the column's own rows.
            leads.clear();
            const int n = chest && chestCount > 0 ? chestCount : rows;
            for (int j = 0; j < n; ++j) leads.push_back(rows * c + j + (chest ? 6 : 0));
        }
        std::fill(baselines + std::min(rows * c, SERIAL_VIEW_LEADS), baselines + SERIAL_VIEW_LEADS, 0);
        SpaceEvenly(leads, rect->Height(), baselines);
    }
}

float CViewSerialComRhy::CalAutoSensPosForOneCol(UINT which, int column, BOOL automatic, CRect* rect, int gridY,
                                                 BOOL print)
{
    if (gridY <= 0) return 0.03125f;
    CTavrionDoc* doc = RecordDoc();
    const int rows = m_nRows[1];
    const int height = rect->Height();
    int n = rows;
    int k = rows;
    std::vector<int> leads;
    const bool fifteenChest = IsFifteenLeadRecord() && m_nWaveStyle == kSixLeadStyle && (rows * column > 5 || m_bShowChestLead);
    if (fifteenChest) {
        const unsigned selection = static_cast<unsigned short>(ChestSelection());
        n = 6;
        for (int j = 0; j < 6; ++j) leads.push_back(selection & (1u << (6 + j)) ? 6 + j : -1);
        k = std::max(1, BitCount(selection));
    } else {
        for (int j = 0; j < n; ++j) leads.push_back(rows * column + j);
    }
    int* baselines = print ? m_nPrintBaseline : m_nScreenBaseline;
    std::fill(baselines + std::min(rows * column, 12), baselines + 12, 0);
    // A listed lead's slot in the column: its place among the listed ones.
    auto spaceListed = [&] {
        int q = 0;
        for (int lead : leads)
            if (lead >= 0 && lead < SERIAL_VIEW_LEADS) baselines[lead] = height * (2 * q++ + 1) / (2 * k);
    };
    auto* rest = m_nDocType == DOC_TYPE_REST ? m_pRestDoc : nullptr;
    const bool pacedDoc = rest && rest->IfPaceMakerON();
    if (m_pRestItem && m_pRestItem->b8000File && !automatic && pacedDoc) {
        spaceListed();
        return doc ? doc->GetSense(which, 0) : 10.0f;
    }
    const float storedAuto = m_pRestItem ? m_pRestItem->fAcqSense : m_pMferItem ? m_pMferItem->fAcqSense : 10.0f;
    const float start = automatic ? storedAuto : doc ? doc->GetSense(which, 0) : 10.0f;
    std::vector<float> maxima(static_cast<size_t>(n), 0.0f), minima(static_cast<size_t>(n), 0.0f);
    for (int j = 0; j < n; ++j) {
        // In the one-lead style the shown lead sits in buffer 0.
        const int buffer = m_nWaveStyle == kOneLeadStyle ? 0 : leads[j];
        if (buffer < 0 || buffer >= SERIAL_VIEW_LEADS || !m_leadData[buffer]) continue;
        short hi = 0, lo = 0;
        if (m_pRestItem && !m_pRestItem->b8000File && pacedDoc)
            rest->GetPaceMakerWaveMaxMin(leads[j], &hi, &lo);
        else if (doc)
            doc->GetWaveMaxMin(m_leadData[buffer].samples.get(), LeadCount(buffer), &hi, &lo);
        if (hi == -32768 && lo == -32768) hi = lo = 0;
        maxima[j] = static_cast<float>(hi * height * m_dAmplitudeUnit * 0.001 / gridY);
        minima[j] = static_cast<float>(lo * height * m_dAmplitudeUnit * 0.001 / gridY);
    }
    _AUTO_GAIN_INFO info{maxima.data(), minima.data(), leads.data(), start, n, k, height,
                         static_cast<int>(height / n * 0.5), height / gridY};
    const int first = m_bShowChestLead && m_nWaveStyle == kSixLeadStyle ? 6 : rows * column;
    _AUTO_GAIN_RETURN result{baselines + std::min(first, SERIAL_VIEW_LEADS - 1), start};
    if (!AutoWaveAdjust(info, result, automatic)) spaceListed();
    return result.fGain;
}
