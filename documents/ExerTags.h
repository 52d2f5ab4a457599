// The data tags of an exercise test record and the reading of small raw
// items, shared by the exercise document's source files.
#pragma once

#include <vector>

#include "core/TavrionDoc.h"

namespace exer {

const UINT TAG_EXER_AVE_COUNT = 3282;   // i16: average blocks of the exercise series
const UINT TAG_POST_AVE_COUNT = 3283;   // i16: average blocks of the recovery series
const UINT TAG_SAMPLE_RATE = 3284;      // i16, Hz
const UINT TAG_BLOCK_INTERVAL = 3285;   // 1: 60 s, 2: 120 s, else 15 s
const UINT TAG_AVE_TIME = 3290;         // + series, index block: minutes, seconds
const UINT TAG_EXER_MEM_COUNT = 3292;
const UINT TAG_POST_MEM_COUNT = 3293;
const UINT TAG_MEM_TIME = 3298;         // + series, index strip: minutes, seconds
const UINT TAG_VO2MAX = 3304;           // three i32: VO2max and METs in tenths, heart rate
const UINT TAG_REST_WAVE = 3026;        // + stored lead
const UINT TAG_AVE_WAVE_EXER = 3038;
const UINT TAG_AVE_WAVE_POST = 3062;
const UINT TAG_STRIP_EXER = 3050;
const UINT TAG_STRIP_POST = 3450;
const UINT TAG_STRIP_AVE_EXER = 3484;
const UINT TAG_STRIP_AVE_POST = 3496;
// Per-block beat records (layout in ExerDataItem.h at nRefPos): the
// reference position is the i16 at byte 4.
const UINT TAG_BEAT_REF_EXER = 3478;    // index block; block 0 is the rest beat
const UINT TAG_BEAT_REF_POST = 3475;    // index block of the recovery series
const UINT TAG_BEAT_REF_MAX_ST = 3479;  // index 0: the beat of maximum ST depression
const UINT TAG_REST_MEAS_OFFSET = 3375; // i16: the rest beats' measuring offset
const UINT TAG_ST_EXER = 3086;          // + stored lead: i16 ST levels (0.1 mm), one per 15 s, element 0 the rest
const UINT TAG_ST_POST = 3098;
const UINT TAG_MEAS_OFFSET_EXER = 3182; // + stored lead: i16 measuring offsets, indexed as the ST levels
const UINT TAG_MEAS_OFFSET_POST = 3194;

const int STORED_LEADS = 8;   // I, II, V1-V6; III, aVR, aVL, aVF are derived
const int BLOCK_TIME_BYTES = 20;

// The whole raw item; false when it is absent or does not read.
inline bool ReadItem(CTavrionDoc& doc, _ECGDATA* image, UINT tag, UINT index, std::vector<BYTE>& bytes)
{
    bytes.clear();
    const long size = doc.ecgGetData(image, tag, index, nullptr, 0, ECG_DATA_RAW);
    if (size < 1) return false;
    bytes.assign(static_cast<size_t>(size), 0);
    return doc.ecgGetData(image, tag, index, bytes.data(), size, ECG_DATA_RAW) > 0;
}

// A little-endian 16-bit value at offset; false when the item is too short.
inline bool ItemShort(const std::vector<BYTE>& bytes, size_t offset, short& value)
{
    if (bytes.size() < offset + 2) return false;
    value = static_cast<short>(bytes[offset] | (bytes[offset + 1] << 8));
    return true;
}

inline bool ItemLong(const std::vector<BYTE>& bytes, size_t offset, int& value)
{
    if (bytes.size() < offset + 4) return false;
    const unsigned raw = bytes[offset] | (bytes[offset + 1] << 8) | (bytes[offset + 2] << 16) |
                         (static_cast<unsigned>(bytes[offset + 3]) << 24);
    value = static_cast<int>(raw);
    return true;
}

}  // namespace exer
