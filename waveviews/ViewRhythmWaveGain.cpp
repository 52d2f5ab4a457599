// Auto gain of the multi-lead view: where each trace's zero line lies in its
// column and, in the automatic sense mode, the gain of each lead group so that
// the traces of a column fit its height.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "core/TavrionDoc.h"
#include "documents/ExtraViewDoc.h"
#include "documents/MFERViewDoc.h"
#include "documents/RRViewDoc.h"
#include "documents/RestViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "waveviews/ViewRhythmWave.h"

namespace {

const int kGroups = 7;   // sense indices 0 to 6

// px of each position at gain g; false when a lead does not fit even at
// 10 mm/mV (next ladder gain in `retry`).
bool Heights(const _AUTO_GAIN_INFO& info, double g, int h, std::vector<int>& px, float& retry)
{
    for (int i = 0; i < info.count; ++i) {
        if (info.leads[i] < 0) {
            px[i] = 0;
            continue;
        }
        const double span = info.maxima[i] - info.minima[i];
        px[i] = std::max(static_cast<int>(g * span), info.minimumHalf);
        const double perGain = px[i] / g;
        if (perGain * 10.0 > h) {
            retry = perGain * 5.0 <= h ? 5.0f : (perGain * 2.5 <= h ? 2.5f : 1.25f);
            return false;
        }
    }
    return true;
}

bool PairsPass(const _AUTO_GAIN_INFO& info, const std::vector<int>& px, double g, int pitch)
{
    std::vector<int> s(static_cast<size_t>(info.slots) + 1, 0);
    int n = 1;
    for (int i = 0; i < info.count && n <= info.slots; ++i)
        if (info.leads[i] >= 0) s[static_cast<size_t>(n++)] = px[static_cast<size_t>(i)];
    s[0] = s.size() > 1 ? s[1] : 0;
    int j = 0;
    while (j < info.slots - 1 && s[j] != 0 && s[j + 1] != 0 && (s[j] + s[j + 1]) * g <= 2.0 * pitch) ++j;
    return j == info.slots - 1;
}

}  // namespace

int CViewRhythmWave::AutoWaveAdjust(_AUTO_GAIN_INFO info, _AUTO_GAIN_RETURN& result, int applyGain)
{
    if (info.count <= 0 || info.slots <= 0 || !info.maxima || !info.minima || !info.leads || !result.pBaseline)
        return 0;
    const int h = info.height - 1;
    const int pitch = h / info.slots;
    const int square = info.square;
    double g = info.gain;
    if (applyGain && g < 10.0) g = 10.0;
    std::vector<int> px(static_cast<size_t>(info.count), 0);
    float retry = 0.0f;
    if (!Heights(info, g, h, px, retry)) {
        result.fGain = retry;
        return 0;
    }
    int kind = 0;
    long slack = 0;
    if (PairsPass(info, px, g, pitch) && m_nWaveStyle != 13) {
        kind = 3;
    } else {
        for (;;) {
            long total = 0;
            for (int v : px) total += v;
            slack = total - h + square;
            if (slack < 0) {
                kind = 2;
                break;
            }
            if (!applyGain || g == 1.25) {
                kind = total > static_cast<long>(h * 1.5) ? 1 : 4;
                break;
            }
            g /= 2.0;
            if (!Heights(info, g, h, px, retry)) {
                result.fGain = static_cast<float>(g);
                return 0;
            }
            if (PairsPass(info, px, g, pitch) && m_nWaveStyle != 13) {
                kind = 3;
                break;
            }
        }
    }
    result.fGain = static_cast<float>(g);
    if (kind == 1) return 0;

    int* baseline = result.pBaseline;
    auto centre = [&](int i) { return static_cast<int>((info.maxima[i] + info.minima[i]) * g * 0.5); };
    auto later = [&](int i) {
        long sum = 0;
        for (int j = i + 1; j < info.count; ++j) sum += px[static_cast<size_t>(j)];
        return sum;
    };
    if (kind == 2) {
        const double gap = static_cast<double>(slack) / info.slots;
        int k = info.slots - 1;
        for (int i = info.count - 1; i >= 0; --i) {
            if (info.leads[i] < 0) continue;
            baseline[i] = static_cast<int>((info.slots - 0.5 - k) * gap + centre(i) - px[i] / 2 - square / 2 + h -
                                           later(i));
            --k;
        }
        return 1;
    }
    if (kind == 3) {
        int m = 0;
        int below = -1;
        for (int i = info.count - 1; i >= 0; --i) {
            if (info.leads[i] < 0) continue;
            ++m;
            baseline[i] = h - square / 2 - ((2 * m - 1) * pitch) / 2 + centre(i);
            const double low = std::fabs(g * info.minima[i]);
            if (below < 0) {
                if (h - low < baseline[i]) baseline[i] = static_cast<int>(h - low) - square / 2;
            } else {
                const int limit = static_cast<int>(baseline[below] - g * info.maxima[below] - low);
                baseline[i] = std::min(baseline[i], limit);
            }
            below = i;
        }
        return 1;
    }

    // Kind 4: the traces spread with uneven gaps. With one slot there is no
    // gap to share.
    const int gaps = std::max(info.slots - 1, 1);
    const double gap = info.slots > 1 ? static_cast<double>(slack) / (info.slots - 1) : 0.0;
    std::vector<double> gapOf(static_cast<size_t>(gaps) + 2, gap);
    const int third = info.minimumHalf / 3;
    double accumulated = 0.0;
    double previous = 0.0;
    int k = info.slots - 1;
    auto filledBefore = [&](int i) {
        for (int j = i - 1; j >= 0; --j)
            if (info.leads[j] >= 0) return j;
        return -1;
    };
    auto filledAfter = [&](int i) {
        for (int j = i + 1; j < info.count; ++j)
            if (info.leads[j] >= 0) return j;
        return -1;
    };
    for (int i = info.count - 1; i >= 0; --i) {
        const bool filled = info.leads[i] >= 0;
        const double span = info.maxima[i] - info.minima[i];
        const double spare = px[i] - span * g;
        const int above = filledBefore(i);
        const int below = filledAfter(i);
        int offset;
        if (i == 0) {
            offset = static_cast<int>(spare * -0.5);
        } else if (i == info.count - 1) {
            offset = static_cast<int>(spare * 0.5);
        } else {
            const int a = above >= 0 ? px[above] : 0;
            const int b = below >= 0 ? px[below] : 0;
            offset = a > b ? static_cast<int>(spare * 0.5) : (a < b ? static_cast<int>(spare * -0.5) : 0);
        }
        if (filled && k > 0 && k < info.slots - 2 && above >= 0 && below >= 0 && px[i] < px[above] &&
            px[i] < px[below] &&
            std::fabs(info.minima[above]) + std::fabs(info.maxima[below]) <
                std::fabs(info.minima[below]) + std::fabs(info.maxima[above])) {
            const double t = gapOf[k - 1] + gapOf[k] + gapOf[k + 1];
            const double s = px[i] + px[above] + px[below];
            const double oldNext = gapOf[k + 1];
            gapOf[k] = t * (px[above] + px[below]) / (2.0 * s);
            gapOf[k - 1] = t * px[i] / (3.0 * s);
            gapOf[k + 1] = 2.0 * t * px[i] / (3.0 * s);
            accumulated += gapOf[k + 1] - oldNext;
        }
        baseline[i] = static_cast<int>(accumulated + offset - px[i] / 2 + centre(i) - square / 2 + h - later(i));
        if (std::abs(baseline[i] - previous) <= third && filled && baseline[i] > 0) baseline[i] -= third;
        if (k == 0 && filled && baseline[i] <= g * info.maxima[i] + square / 2) {
            const int shift = static_cast<int>(g * info.maxima[i] + square / 2 - baseline[i]);
            if (shift + h != 0)
                for (int j = 0; j < info.count; ++j) baseline[j] = (baseline[j] + shift) * h / (shift + h);
        }
        if (k == info.slots - 1 && h + std::fabs(g * info.minima[i]) <= baseline[i]) baseline[i] -= offset / 2;
        previous = baseline[i];
        if (filled && k >= 1) accumulated += gapOf[k - 1];
        if (filled) --k;
    }
    bool first = true;
    for (int i = 0; i < info.count; ++i) {
        if (info.leads[i] < 0) continue;
        if (first) {
            baseline[i] = std::max(baseline[i], square);
            first = false;
        }
        for (int j = i + 1; j < info.count; ++j)
            if (info.leads[j] >= 0 && baseline[j] < baseline[i]) std::swap(baseline[i], baseline[j]);
    }
    return 1;
}

// ---- one column -----------------------------------------------------------------------------------

float CViewRhythmWave::CalAutoSensPosForOneCol(UINT senseIndex, int column, int applyGain, CRect* rect, int gridY,
                                               int print)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc || !rect || gridY <= 0 || m_nRows <= 0) return 0.0f;
    float storedGain = 10.0f;
    bool hasItem = false;
    _RESTDATAITEM* restItem = nullptr;
    if (auto* rest = DYNAMIC_DOWNCAST(CRestViewDoc, doc)) {
        restItem = rest->GetCurrentDataItem();
        hasItem = restItem != nullptr;
        if (restItem) storedGain = restItem->fAcqSense;
    } else if (auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, doc)) {
        _MFERDATAITEM* item = mfer->GetCurrentDataItem();
        hasItem = item != nullptr;
        if (item) storedGain = item->fAcqSense;
    } else if (auto* rhythm = DYNAMIC_DOWNCAST(CRhythmViewDoc, doc)) {
        hasItem = rhythm->GetCurrentDataItem() != nullptr;
    } else if (auto* extra = DYNAMIC_DOWNCAST(CExtraViewDoc, doc)) {
        hasItem = extra->GetCurrentDataItem() != nullptr;
    }
    if (!hasItem) return 0.0f;

    const int style = m_nWaveStyle;
    const int h = rect->Height();
    const bool chestPage = m_bShowChestLead && (style == 2 || style == 4 || style == 9 || style == 10);
    const short mask = doc->GetLeadSelection(0, style);
    std::vector<int> leads;
    int slots = m_nRows;
    int firstLead = m_nRows * column;
    if (style == 11 || style == 12) {
        slots = 0;
        for (int p = 0; p < RHYTHM_VIEW_LEADS; ++p) {
            const bool set = (mask & (1 << p)) != 0;
            leads.push_back(set ? p : -1);
            slots += set ? 1 : 0;
        }
        firstLead = 0;
    } else if (IsFifteenLeadRecord() && style >= 5 && style <= 10 && (m_nRows * column >= 6 || chestPage)) {
        slots = 0;
        for (int p = 0; p < 9; ++p) {
            const bool set = (mask & (1 << (6 + p))) != 0;
            leads.push_back(set ? 6 + p : -1);
            slots += set ? 1 : 0;
        }
        firstLead = 6;
    } else {
        const int c = chestPage && (style == 2 || style == 4) ? column + 2 : column;
        const int shift = style == 27 && !m_bShowExtra1Lead ? 3 : 0;
        firstLead = m_nRows * c + shift;
        for (int i = 0; i < m_nRows; ++i) leads.push_back(firstLead + i);
    }
    int* baselines = print ? m_nPrintBaseline : m_nScreenBaseline;
    for (int lead = std::max(m_nRows * column, 0); lead < RHYTHM_VIEW_LEADS; ++lead) baselines[lead] = 0;
    if (slots <= 0 || firstLead < 0 || firstLead >= RHYTHM_VIEW_LEADS) return doc->GetSense(senseIndex, 0);
    const int count = static_cast<int>(leads.size());
    // Entry i of the column's baselines belongs to position i.
    const int room = RHYTHM_VIEW_LEADS - firstLead;
    auto centres = [&]() {
        int k = 0;
        for (int i = 0; i < count && i < room; ++i) {
            if (leads[i] < 0) continue;
            baselines[firstLead + i] = h * (2 * k + 1) / (2 * slots);
            ++k;
        }
    };
    if (restItem && m_nDocType == DOC_TYPE_REST) {
        auto* rest = static_cast<CRestViewDoc*>(doc);
        if (rest->Is8000File() && !applyGain && rest->IfPaceMakerON()) {
            centres();
            return doc->GetSense(senseIndex, 0);
        }
    }
    const float startGain = applyGain ? storedGain : doc->GetSense(senseIndex, 0);

    std::vector<float> maxima(static_cast<size_t>(count), 0.0f);
    std::vector<float> minima(static_cast<size_t>(count), 0.0f);
    const double toPixels = h * m_dAmplitudeUnit * 0.001 / gridY;
    for (int i = 0; i < count; ++i) {
        const int lead = leads[i];
        const int buffer = style == 13 ? 0 : lead;
        if (lead < 0 || buffer >= RHYTHM_VIEW_LEADS || !m_pLeadData[buffer]) {
            leads[i] = -1;
            continue;
        }
        short high = 0;
        short low = 0;
        doc->GetWaveMaxMin(m_pLeadData[buffer], m_nLeadCount[buffer], &high, &low);
        if (high == -32768 && low == -32768) high = low = 0;
        maxima[i] = static_cast<float>(high * toPixels);
        minima[i] = static_cast<float>(low * toPixels);
    }
    _AUTO_GAIN_INFO info;
    info.maxima = maxima.data();
    info.minima = minima.data();
    info.leads = leads.data();
    info.gain = startGain;
    info.count = std::min(count, room);
    info.slots = slots;
    info.height = h;
    info.minimumHalf = static_cast<int>(static_cast<double>(h) / count * 0.5);
    info.square = h / gridY;
    _AUTO_GAIN_RETURN result{baselines + firstLead, startGain};
    if (!AutoWaveAdjust(info, result, applyGain)) centres();
    return result.fGain;
}

// ---- the page --------------------------------------------------------------------------------------

void CViewRhythmWave::CalAutoSensPos(CRect rect, int gridY, int print)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc || gridY <= 0 || m_nRows <= 0) return;
    const int style = m_nWaveStyle;
    const bool chestPage = m_bShowChestLead && (style == 2 || style == 4 || style == 9 || style == 10);
    const bool fullLead = m_nDocType == DOC_TYPE_REST || IsFifteenLeadRecord() ||
                          (m_nDocType == DOC_TYPE_MFER && !IsExtendedLeadRecord()) ||
                          (m_nDocType == DOC_TYPE_RHYTHM && !IsExtendedLeadRecord());
    const int columns = chestPage && fullLead && (style == 2 || style == 4) ? 3 : m_nColumns;
    bool hasItem = true;
    if (m_nDocType == DOC_TYPE_REST) {
        auto* rest = DYNAMIC_DOWNCAST(CRestViewDoc, doc);
        hasItem = rest && rest->GetCurrentDataItem();
    } else if (m_nDocType == DOC_TYPE_MFER) {
        auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, doc);
        hasItem = mfer && mfer->GetCurrentDataItem();
    } else if (m_nDocType == DOC_TYPE_RHYTHM) {
        auto* rhythm = DYNAMIC_DOWNCAST(CRhythmViewDoc, doc);
        hasItem = rhythm && rhythm->GetCurrentDataItem();
    }
    if (!hasItem) return;
    int* baselines = print ? m_nPrintBaseline : m_nScreenBaseline;
    const int h = rect.Height();
    const UINT mode = doc->GetSenseMode();
    if (mode != 2 && mode != 4 && mode != 5) {
        const short mask = doc->GetLeadSelection(0, style);
        for (int c = 0; c < columns; ++c) {
            std::vector<int> leads;
            if (style == 11 || style == 12) {
                for (int bit = 0; bit < RHYTHM_VIEW_LEADS; ++bit)
                    if (mask & (1 << bit)) leads.push_back(bit);
            } else if (fullLead && IsFifteenLeadRecord() && style >= 5 && style <= 10 &&
                       (m_nRows * c >= 6 || chestPage)) {
                for (int bit = 6; bit < RHYTHM_VIEW_LEADS; ++bit)
                    if (mask & (1 << bit)) leads.push_back(bit);
            } else if (style == 27 && (m_nRows * c >= 3 || !m_bShowExtra1Lead)) {
                for (int i = 0; i < m_nRows; ++i) leads.push_back(3 + m_nRows * c + i);
            } else {
                const int k = chestPage && fullLead && (style == 2 || style == 4) ? c + 2 : c;
                for (int i = 0; i < m_nRows; ++i) leads.push_back(m_nRows * k + i);
            }
            for (int lead = std::max(m_nRows * c, 0); lead < RHYTHM_VIEW_LEADS; ++lead) baselines[lead] = 0;
            const int n = static_cast<int>(leads.size());
            for (int i = 0; i < n; ++i)
                if (leads[i] >= 0 && leads[i] < RHYTHM_VIEW_LEADS) baselines[leads[i]] = h * (2 * i + 1) / (2 * n);
        }
        return;
    }

    const int apply = mode == 5 ? 1 : 0;
    float gains[kGroups];
    bool computed[kGroups] = {};
    for (float& g : gains) g = 40.0f;
    auto place = [&](int group, int column) {
        const float g = CalAutoSensPosForOneCol(static_cast<UINT>(group), column, apply, &rect, gridY, print);
        if (g > 0.0f && g < gains[group]) gains[group] = g;
        computed[group] = true;
    };
    switch (style) {
    case 1: case 3:
        for (int c = 0; c < columns; ++c) place(c < 2 ? 1 : 0, c);
        break;
    case 2: case 4:
        for (int c = 0; c < columns; ++c) place(chestPage ? 0 : 1, c);
        break;
    case 5: case 6: case 7: case 8:
        place(1, 0);
        place(0, 1);
        break;
    case 9: case 10:
        if (chestPage)
            place(0, 1);
        else
            place(1, 0);
        break;
    case 11: case 12: place(6, 0); break;
    case 13: place(2, 0); break;
    case 22: case 23: case 24: case 25: place(m_bShowExtra1Lead ? 4 : 5, 0); break;
    case 26: case 28:
        place(4, 0);
        place(5, 1);
        break;
    case 27:
        if (m_bShowExtra1Lead)
            place(4, 0);
        else
            place(5, 1);
        break;
    default: break;
    }
    if (mode != 5) return;
    const bool stores = m_nDocType == DOC_TYPE_REST || m_nDocType == DOC_TYPE_RHYTHM || m_nDocType == DOC_TYPE_MFER ||
                        m_nDocType == DOC_TYPE_EXTRA;
    if (!stores) return;
    for (int group = 0; group < kGroups; ++group) {
        if (!computed[group] || group == 3) continue;
        const bool groupStored = m_nDocType == DOC_TYPE_EXTRA ? (group == 4 || group == 5 || group == 2)
                                 : m_nDocType == DOC_TYPE_MFER ? true
                                                               : (group <= 2 || group == 6);
        if (!groupStored) continue;
        doc->SetSense(static_cast<UINT>(group), gains[group], 0);
        if (group == 2) doc->SetRhythmSense(gains[group]);
    }
    doc->SetSenseMode(5);
}
