// Signal helpers shared by the record writers: resampling, unit conversion,
// a simple QRS detector and beat averaging.
#pragma once

#include <cstdint>
#include <vector>

namespace morvelance {

// Linear interpolation from one rate to another; the output covers the same
// time span (first sample at t = 0).
std::vector<float> ResampleLinear(const std::vector<float>& x, double fromRate, double toRate);
// A sample position converted between rates (rounded).
int64_t ConvertPosition(int64_t position, double fromRate, double toRate);

// Rounds value/unit to int16, clamping to [-32768, 32767].
int16_t ToUnit(double value, double unit);
std::vector<int16_t> ToUnits(const std::vector<float>& microvolts, double microvoltsPerUnit);

// QRS detection over one or more leads of equal rate: a steepness envelope
// summed over the leads, thresholded, one fiducial (the steepest point of the
// QRS, summed over leads) per beat, with a 250 ms refractory period; each
// fiducial is then moved to the R peak (the largest summed deviation from the
// local mean within 60 ms).
std::vector<int64_t> DetectBeats(const std::vector<const std::vector<float>*>& leads, double sampleRate);

// Averages x over windows [beat - before, beat + after). Samples no beat
// covers are 0; *firstValid / *lastValid receive the covered range (-1 when
// nothing is covered).
std::vector<float> AverageBeat(const std::vector<float>& x, const std::vector<int64_t>& beats, int before, int after,
                               int* firstValid = nullptr, int* lastValid = nullptr);

// A base-line (PR segment) index of average beats with the R peak at rIndex:
// 16 ms before the QRS onset, the onset being where the summed slope falls
// below 15% of its QRS maximum, searching back from the R peak.
int AverageBaselineIndex(const std::vector<std::vector<float>>& averages, int rIndex);

// The median RR interval in samples converted to beats per minute (0 when
// fewer than two beats).
double HeartRateOf(const std::vector<int64_t>& beats, double sampleRate);

}  // namespace morvelance
