// The root record of an opened MFER file, laid out byte for byte as the
// closed reader library hands it out: the system reads its fields by offset,
// so the gaps between them are kept as padding.
#pragma once

#include <cstddef>

#include "platform/base/WinTypes.h"

#pragma pack(push, 1)
struct MFER_ROOT {
    BYTE  byReserved0[566];
    char  szDescription[256];       // preamble text (or the waveform description), NUL-terminated
    BYTE  byReserved1[40162 - 566 - 256];
    char  szPatientName[128];       // code page 932, NUL-terminated
    char  szPatientId[65];          // code page 932, NUL-terminated
    short nYear;                    // measurement time; 0 when absent
    BYTE  byMonth;
    BYTE  byDay;
    BYTE  byHour;
    BYTE  byMinute;
    BYTE  bySecond;
    WORD  wMillisecond;
    WORD  wMicrosecond;
    BYTE  byReserved2[40373 - 40366];
    DWORD dwSampleCount;            // samples of one channel
    DWORD dwPatientNamePresent;     // non-zero when the file carries a patient name
    DWORD dwPatientIdPresent;       // non-zero when the file carries a patient id
    BYTE  byReserved3[40393 - 40385];
    DWORD dwTimePresent;            // non-zero when the file carries a measurement time
};
#pragma pack(pop)

static_assert(offsetof(MFER_ROOT, szDescription) == 566, "description offset");
static_assert(offsetof(MFER_ROOT, szPatientName) == 40162, "patient name offset");
static_assert(offsetof(MFER_ROOT, szPatientId) == 40290, "patient id offset");
static_assert(offsetof(MFER_ROOT, nYear) == 40355, "year offset");
static_assert(offsetof(MFER_ROOT, byMonth) == 40357, "month offset");
static_assert(offsetof(MFER_ROOT, bySecond) == 40361, "second offset");
static_assert(offsetof(MFER_ROOT, dwSampleCount) == 40373, "sample count offset");
static_assert(offsetof(MFER_ROOT, dwPatientNamePresent) == 40377, "name flag offset");
static_assert(offsetof(MFER_ROOT, dwPatientIdPresent) == 40381, "id flag offset");
static_assert(offsetof(MFER_ROOT, dwTimePresent) == 40393, "time flag offset");
