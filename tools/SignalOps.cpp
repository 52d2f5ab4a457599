#include "tools/SignalOps.h"

#include <algorithm>
#include <cmath>

namespace morvelance {

std::vector<float> ResampleLinear(const std::vector<float>& x, double fromRate, double toRate) {
    if (x.empty() || fromRate <= 0 || toRate <= 0) return {};
    if (fromRate == toRate) return x;
    const size_t n = x.size();
    const size_t m = static_cast<size_t>(std::floor(static_cast<double>(n - 1) * toRate / fromRate + 1e-9)) + 1;
    std::vector<float> y(m);
    const double step = fromRate / toRate;
    for (size_t k = 0; k < m; ++k) {
        double pos = static_cast<double>(k) * step;
        size_t i = static_cast<size_t>(pos);
        if (i >= n - 1) {
            y[k] = x[n - 1];
            continue;
        }
        double f = pos - static_cast<double>(i);
        y[k] = static_cast<float>(x[i] + (x[i + 1] - x[i]) * f);
    }
    return y;
}

int64_t ConvertPosition(int64_t position, double fromRate, double toRate) {
    return static_cast<int64_t>(std::llround(static_cast<double>(position) * toRate / fromRate));
}

int16_t ToUnit(double value, double unit) {
    double v = std::round(value / unit);
    if (!(v > -32768.0)) return v != v ? 0 : -32768;  // NaN -> 0
    if (v > 32767.0) return 32767;
    return static_cast<int16_t>(v);
}

std::vector<int16_t> ToUnits(const std::vector<float>& microvolts, double microvoltsPerUnit) {
    std::vector<int16_t> out(microvolts.size());
    for (size_t i = 0; i < microvolts.size(); ++i) out[i] = ToUnit(microvolts[i], microvoltsPerUnit);
    return out;
}

std::vector<int64_t> DetectBeats(const std::vector<const std::vector<float>*>& leads, double sampleRate) {
    std::vector<int64_t> beats;
    if (leads.empty() || sampleRate <= 0) return beats;
    size_t n = leads[0]->size();
    for (auto* l : leads) n = std::min(n, l->size());
    if (n < 5) return beats;

    // Slope summed over leads, each lead normalised by its own robust slope scale.
    std::vector<double> slope(n, 0.0);
    for (auto* l : leads) {
        std::vector<double> d(n, 0.0);
        for (size_t i = 1; i + 1 < n; ++i) d[i] = std::fabs((*l)[i + 1] - (*l)[i - 1]);
        std::vector<double> sorted(d);
        size_t q = sorted.size() * 99 / 100;
        std::nth_element(sorted.begin(), sorted.begin() + static_cast<long>(q), sorted.end());
        double scale = sorted[q] > 0 ? sorted[q] : 1.0;
        for (size_t i = 0; i < n; ++i) slope[i] += d[i] / scale;
    }
    // Envelope: moving average over 80 ms.
    const size_t w = std::max<size_t>(1, static_cast<size_t>(0.08 * sampleRate));
    std::vector<double> env(n, 0.0);
    double acc = 0;
    for (size_t i = 0; i < n; ++i) {
        acc += slope[i];
        if (i >= w) acc -= slope[i - w];
        env[i] = acc / static_cast<double>(std::min(i + 1, w));
    }
    std::vector<double> sorted(env);
    size_t q = sorted.size() * 98 / 100;
    std::nth_element(sorted.begin(), sorted.begin() + static_cast<long>(q), sorted.end());
    const double threshold = 0.35 * sorted[q];
    if (threshold <= 0) return beats;

    const int64_t refractory = static_cast<int64_t>(0.25 * sampleRate);
    size_t i = 0;
    while (i < n) {
        if (env[i] <= threshold) {
            ++i;
            continue;
        }
        size_t start = i;
        while (i < n && env[i] > threshold) ++i;
        // The envelope lags the slope by up to one window: search the raw slope.
        size_t from = start >= w ? start - w : 0, to = std::min(n - 1, i);
        size_t best = from;
        for (size_t k = from; k <= to; ++k)
            if (slope[k] > slope[best]) best = k;
        int64_t pos = static_cast<int64_t>(best);
        if (!beats.empty() && pos - beats.back() < refractory) {
            // Keep the steeper one.
            if (slope[best] > slope[static_cast<size_t>(beats.back())]) beats.back() = pos;
        } else {
            beats.push_back(pos);
        }
    }
    // Refine each fiducial to the R peak: the largest summed absolute deviation
    // from the local mean (over +-100 ms) within +-60 ms.
    const int64_t half = static_cast<int64_t>(0.1 * sampleRate), search = static_cast<int64_t>(0.06 * sampleRate);
    const int64_t nn = static_cast<int64_t>(n);
    for (int64_t& b : beats) {
        const int64_t lo = std::max<int64_t>(0, b - half), hi = std::min<int64_t>(nn - 1, b + half);
        std::vector<double> mean;
        for (auto* l : leads) {
            double m = 0;
            for (int64_t k = lo; k <= hi; ++k) m += (*l)[static_cast<size_t>(k)];
            mean.push_back(m / static_cast<double>(hi - lo + 1));
        }
        int64_t best = b;
        double bestDev = -1;
        for (int64_t k = std::max<int64_t>(0, b - search); k <= std::min<int64_t>(nn - 1, b + search); ++k) {
            double dev = 0;
            for (size_t j = 0; j < leads.size(); ++j) dev += std::fabs((*leads[j])[static_cast<size_t>(k)] - mean[j]);
            if (dev > bestDev) {
                bestDev = dev;
                best = k;
            }
        }
        b = best;
    }
    return beats;
}

std::vector<float> AverageBeat(const std::vector<float>& x, const std::vector<int64_t>& beats, int before, int after,
                               int* firstValid, int* lastValid) {
    const int len = before + after;
    std::vector<double> sum(static_cast<size_t>(std::max(0, len)), 0.0);
    std::vector<int> count(sum.size(), 0);
    const int64_t n = static_cast<int64_t>(x.size());
    for (int64_t b : beats) {
        for (int k = 0; k < len; ++k) {
            int64_t i = b - before + k;
            if (i < 0 || i >= n) continue;
            sum[static_cast<size_t>(k)] += x[static_cast<size_t>(i)];
            count[static_cast<size_t>(k)]++;
        }
    }
    std::vector<float> avg(sum.size(), 0.0f);
    int first = -1, last = -1;
    for (size_t k = 0; k < sum.size(); ++k) {
        if (count[k] == 0) continue;
        avg[k] = static_cast<float>(sum[k] / count[k]);
        if (first < 0) first = static_cast<int>(k);
        last = static_cast<int>(k);
    }
    if (firstValid) *firstValid = first;
    if (lastValid) *lastValid = last;
    return avg;
}

int AverageBaselineIndex(const std::vector<std::vector<float>>& averages, int rIndex) {
    if (averages.empty() || rIndex <= 0) return 0;
    size_t len = averages[0].size();
    for (const auto& a : averages) len = std::min(len, a.size());
    if (len < 3 || static_cast<size_t>(rIndex) >= len) return 0;
    std::vector<double> slope(len, 0.0);
    for (const auto& a : averages)
        for (size_t i = 1; i < len; ++i) slope[i] += std::fabs(a[i] - a[i - 1]);
    // QRS maximum slope within 60 ms around the R index (at 500 Hz: 30 samples).
    const int span = 30;
    double peak = 0;
    for (int i = std::max(1, rIndex - span); i < std::min<int>(static_cast<int>(len), rIndex + span); ++i)
        peak = std::max(peak, slope[static_cast<size_t>(i)]);
    if (peak <= 0) return std::max(0, rIndex - 30);
    int onset = rIndex;
    while (onset > 1 && (slope[static_cast<size_t>(onset)] > 0.15 * peak || rIndex - onset < 5)) --onset;
    return std::max(0, onset - 8);
}

double HeartRateOf(const std::vector<int64_t>& beats, double sampleRate) {
    if (beats.size() < 2 || sampleRate <= 0) return 0;
    std::vector<int64_t> rr;
    for (size_t i = 1; i < beats.size(); ++i) rr.push_back(beats[i] - beats[i - 1]);
    std::nth_element(rr.begin(), rr.begin() + static_cast<long>(rr.size() / 2), rr.end());
    double median = static_cast<double>(rr[rr.size() / 2]);
    return median > 0 ? 60.0 * sampleRate / median : 0;
}

}  // namespace morvelance
