// The measurement texts of a resting or MFER record: 23 per-lead items for
// the 12 standard leads, then the 10 record-wide values.
#pragma once

#include "platform/base/Strings.h"

#define MEASURE_ITEMS 23
#define MEASURE_LEADS 12
#define MEASURE_GLOBALS 10

struct _MEASURE_INFO {
    // Item i (0 to 22) of lead l (0 to 11, I, II, III, aVR, aVL, aVF, V1 to V6)
    // is strMeasure[i * 12 + l]. A text holding "*" means no value.
    CString strMeasure[MEASURE_ITEMS * MEASURE_LEADS];
    // Heart rate, PR, QRS, QT, QTc, P axis, QRS axis, T axis, RV5, SV1.
    CString strGlobal[MEASURE_GLOBALS];

    CString& At(int item, int lead) { return strMeasure[item * MEASURE_LEADS + lead]; }
    const CString& At(int item, int lead) const { return strMeasure[item * MEASURE_LEADS + lead]; }
};
