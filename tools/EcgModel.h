// A synthetic ECG: a moving heart vector made of Gaussian waves (P, septal Q,
// R, S, T), projected onto each lead's direction. Limb leads III, aVR, aVL and
// aVF are derived from I and II (after noise), so the Einthoven and Goldberger
// relations hold exactly in the floating-point output. Deterministic for a
// given seed.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/EcgRecord.h"

namespace morvelance {

struct SynthOptions {
    std::vector<LeadId> leads;   // leads to output, in this order; empty = the 12 standard leads
    double heartRate = 70.0;     // beats per minute (20..300)
    double seconds = 10.0;       // duration
    double sampleRate = 500.0;   // Hz
    double irregularity = 0.0;   // RR jitter, a fraction of the RR interval (0..0.5), seeded
    bool noise = false;          // baseline wander and white noise, seeded
    double wanderMicrovolts = 100.0;
    double noiseMicrovolts = 15.0;  // standard deviation of the white noise
    bool pacemaker = false;      // a pacing spike before every QRS
    uint64_t seed = 1;
    double firstBeatSeconds = 0.6;  // time of the first R peak
};

// The 12 standard leads in display order: I, II, III, aVR, aVL, aVF, V1..V6.
std::vector<LeadId> StandardLeads();
// The 12 standard leads plus V3R, V4R, V7.
std::vector<LeadId> FifteenLeads();
// The 12 standard leads plus V3R, V4R, V5R, V7, V8, V9.
std::vector<LeadId> ExtraLeadSet();

// Throws std::invalid_argument on unusable options.
EcgRecord Synthesize(const SynthOptions& options);

// The beat times (seconds) the model uses for these options.
std::vector<double> SynthBeatTimes(const SynthOptions& options);

}  // namespace morvelance
