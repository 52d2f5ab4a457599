#include "tools/EcgModel.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace morvelance {

namespace {

struct Vec3 {
    double x, y, z;  // x: to the patient's left, y: to the feet, z: to the front
};

Vec3 Norm(double x, double y, double z) {
    double n = std::sqrt(x * x + y * y + z * z);
    return {x / n, y / n, z / n};
}
double Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// One wave of the heart vector: amplitude (mV) along a direction, a Gaussian
// in time around an offset from the R peak (different widths before/after).
struct Wave {
    double offset;      // s from the R peak (T: scaled with sqrt(RR))
    double sigmaBefore; // s
    double sigmaAfter;  // s
    double amplitude;   // mV
    Vec3 direction;
    bool scalesWithRr;
};

const Wave kWaves[] = {
    {-0.165, 0.022, 0.022, 0.18, Norm(0.55, 0.75, 0.25), false},    // P
    {-0.030, 0.008, 0.008, 0.22, Norm(-0.70, 0.15, 0.70), false},   // septal Q
    {0.000, 0.0105, 0.0105, 1.50, Norm(0.62, 0.72, -0.10), false},  // R
    {0.028, 0.010, 0.010, 0.35, Norm(-0.50, -0.50, -0.55), false},  // S
    {0.260, 0.055, 0.038, 0.38, Norm(0.60, 0.60, 0.50), true},      // T (offset at RR = 1 s)
};

// Lead direction and gain for the leads computed by projection.
struct LeadVector {
    LeadId id;
    Vec3 dir;
    double gain;
};

Vec3 Horizontal(double degrees) {
    double a = degrees * M_PI / 180.0;
    return {std::cos(a), 0.0, std::sin(a)};
}
Vec3 Frontal(double degrees) {
    double a = degrees * M_PI / 180.0;
    return {std::cos(a), std::sin(a), 0.0};
}

const LeadVector* FindVector(LeadId id) {
    static const LeadVector kVectors[] = {
        {LeadId::I, Frontal(0), 1.0},          {LeadId::II, Frontal(60), 1.0},
        {LeadId::V1, Horizontal(120), 1.0},    {LeadId::V2, Horizontal(95), 1.6},
        {LeadId::V3, Horizontal(75), 1.6},     {LeadId::V4, Horizontal(55), 2.0},
        {LeadId::V5, Horizontal(30), 1.6},     {LeadId::V6, Horizontal(5), 1.0},
        {LeadId::V7, Horizontal(-20), 0.9},    {LeadId::V8, Horizontal(-40), 0.8},
        {LeadId::V9, Horizontal(-60), 0.7},    {LeadId::V3R, Horizontal(105), 1.2},
        {LeadId::V4R, Horizontal(125), 1.0},   {LeadId::V5R, Horizontal(145), 0.9},
        {LeadId::X, {1, 0, 0}, 1.0},           {LeadId::Y, {0, 1, 0}, 1.0},
        {LeadId::Z, {0, 0, -1}, 1.0},  // Frank Z: positive toward the back
    };
    for (const auto& v : kVectors)
        if (v.id == id) return &v;
    return nullptr;
}

// A small deterministic generator (splitmix64 seeding a xorshift-style
// stream), identical on every platform and standard library.
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0xD1B54A32D192ED03ull) {}
    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }  // [0, 1)
    double Normal() {
        double u1 = Uniform(), u2 = Uniform();
        if (u1 < 1e-300) u1 = 1e-300;
        return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * M_PI * u2);
    }

private:
    uint64_t state_;
};

// The heart vector's contribution along `dir` (already scaled by gain) of one
// beat at time dt from its R peak.
double BeatValue(const Vec3& dir, double dt, double rr, bool pacemaker, double sampleRate) {
    double v = 0.0;
    const double rrScale = std::sqrt(rr);
    for (const Wave& w : kWaves) {
        double offset = w.scalesWithRr ? w.offset * rrScale : w.offset;
        double d = dt - offset;
        double sigma = d < 0 ? w.sigmaBefore : w.sigmaAfter;
        if (std::fabs(d) > 5 * sigma) continue;
        v += w.amplitude * std::exp(-0.5 * (d / sigma) * (d / sigma)) * Dot(dir, w.direction);
    }
    if (pacemaker) {
        // A 2 ms (at least one sample) pacing pulse 45 ms before the R peak,
        // then a small exponential recovery.
        static const Vec3 kSpike = Norm(0.3, 0.9, 0.3);
        const double start = -0.045, width = std::max(0.002, 1.0 / sampleRate);
        double d = dt - start;
        if (d >= 0 && d < width) v += 4.0 * Dot(dir, kSpike);
        else if (d >= width && d < width + 0.05) v -= 0.15 * std::exp(-(d - width) / 0.01) * Dot(dir, kSpike);
    }
    return v;
}

}  // namespace

std::vector<LeadId> StandardLeads() {
    return {LeadId::I,  LeadId::II, LeadId::III, LeadId::aVR, LeadId::aVL, LeadId::aVF,
            LeadId::V1, LeadId::V2, LeadId::V3,  LeadId::V4,  LeadId::V5,  LeadId::V6};
}

std::vector<LeadId> FifteenLeads() {
    auto v = StandardLeads();
    v.insert(v.end(), {LeadId::V3R, LeadId::V4R, LeadId::V7});
    return v;
}

std::vector<LeadId> ExtraLeadSet() {
    auto v = StandardLeads();
    v.insert(v.end(), {LeadId::V3R, LeadId::V4R, LeadId::V5R, LeadId::V7, LeadId::V8, LeadId::V9});
    return v;
}

std::vector<double> SynthBeatTimes(const SynthOptions& o) {
    std::vector<double> times;
    const double rr = 60.0 / o.heartRate;
    Rng rng(o.seed ^ 0x5EEDBEA7ull);
    double t = o.firstBeatSeconds;
    // Beats slightly past the end still show their P wave inside the record.
    while (t < o.seconds + 0.3) {
        times.push_back(t);
        double jitter = o.irregularity > 0 ? o.irregularity * (2.0 * rng.Uniform() - 1.0) : 0.0;
        t += rr * (1.0 + jitter);
    }
    return times;
}

EcgRecord Synthesize(const SynthOptions& o) {
    if (!(o.heartRate >= 20 && o.heartRate <= 300)) throw std::invalid_argument("heart rate must be 20..300 bpm");
    if (!(o.seconds > 0 && o.seconds <= 24 * 3600)) throw std::invalid_argument("duration must be 0..86400 s");
    if (!(o.sampleRate >= 50 && o.sampleRate <= 20000)) throw std::invalid_argument("sampling rate must be 50..20000 Hz");
    if (!(o.irregularity >= 0 && o.irregularity <= 0.5)) throw std::invalid_argument("irregularity must be 0..0.5");

    const std::vector<LeadId> wanted = o.leads.empty() ? StandardLeads() : o.leads;
    const size_t n = static_cast<size_t>(std::llround(o.seconds * o.sampleRate));
    const std::vector<double> beatTimes = SynthBeatTimes(o);
    const double nominalRr = 60.0 / o.heartRate;

    // Leads that are computed by projection: I and II always (the limb leads
    // derive from them), plus every wanted lead that has a vector.
    std::vector<LeadId> projected = {LeadId::I, LeadId::II};
    for (LeadId id : wanted)
        if (id != LeadId::I && id != LeadId::II && FindVector(id)) projected.push_back(id);
    for (LeadId id : wanted) {
        bool limb = id == LeadId::III || id == LeadId::aVR || id == LeadId::aVL || id == LeadId::aVF;
        if (!limb && !FindVector(id)) throw std::invalid_argument(std::string("no model for lead ") + LeadName(id));
    }

    std::vector<std::vector<double>> signal(projected.size(), std::vector<double>(n, 0.0));
    for (size_t b = 0; b < beatTimes.size(); ++b) {
        const double tr = beatTimes[b];
        const double rr = b + 1 < beatTimes.size() ? beatTimes[b + 1] - tr : (b > 0 ? tr - beatTimes[b - 1] : nominalRr);
        long first = static_cast<long>(std::floor((tr - 0.35) * o.sampleRate));
        long last = static_cast<long>(std::ceil((tr + 0.3 * std::sqrt(rr) + 0.35) * o.sampleRate));
        if (first < 0) first = 0;
        if (last > static_cast<long>(n) - 1) last = static_cast<long>(n) - 1;
        for (size_t k = 0; k < projected.size(); ++k) {
            const LeadVector* lv = FindVector(projected[k]);
            Vec3 dir = {lv->dir.x * lv->gain, lv->dir.y * lv->gain, lv->dir.z * lv->gain};
            for (long i = first; i <= last; ++i) {
                double dt = static_cast<double>(i) / o.sampleRate - tr;
                signal[k][static_cast<size_t>(i)] += BeatValue(dir, dt, rr, o.pacemaker, o.sampleRate);
            }
        }
    }

    if (o.noise) {
        Rng rng(o.seed);
        for (auto& lead : signal) {
            const double p1 = 2 * M_PI * rng.Uniform(), p2 = 2 * M_PI * rng.Uniform();
            const double f1 = 0.12 + 0.1 * rng.Uniform(), f2 = 0.3 + 0.15 * rng.Uniform();
            const double w = o.wanderMicrovolts / 1000.0, s = o.noiseMicrovolts / 1000.0;
            for (size_t i = 0; i < n; ++i) {
                double t = static_cast<double>(i) / o.sampleRate;
                lead[i] += w * (0.7 * std::sin(2 * M_PI * f1 * t + p1) + 0.3 * std::sin(2 * M_PI * f2 * t + p2)) +
                           s * rng.Normal();
            }
        }
    }

    EcgRecord rec;
    rec.source = "synthetic";
    rec.sampleRate = o.sampleRate;
    rec.pacemaker = o.pacemaker;
    for (double t : beatTimes) {
        long long s = std::llround(t * o.sampleRate);
        if (s >= 0 && static_cast<size_t>(s) < n) rec.beats.push_back(s);
    }
    const std::vector<double>& lI = signal[0];
    const std::vector<double>& lII = signal[1];
    for (LeadId id : wanted) {
        EcgLead lead;
        lead.id = id;
        lead.label = LeadName(id);
        lead.microvolts.resize(n);
        int k = -1;
        for (size_t j = 0; j < projected.size(); ++j)
            if (projected[j] == id) k = static_cast<int>(j);
        for (size_t i = 0; i < n; ++i) {
            double v;
            switch (id) {
                case LeadId::III: v = lII[i] - lI[i]; break;
                case LeadId::aVR: v = -(lI[i] + lII[i]) / 2; break;
                case LeadId::aVL: v = lI[i] - lII[i] / 2; break;
                case LeadId::aVF: v = lII[i] - lI[i] / 2; break;
                default: v = signal[static_cast<size_t>(k)][i]; break;
            }
            lead.microvolts[i] = static_cast<float>(v * 1000.0);
        }
        rec.leads.push_back(std::move(lead));
    }
    return rec;
}

}  // namespace morvelance
