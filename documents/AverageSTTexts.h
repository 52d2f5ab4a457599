// The texts the average-beat views show beside each lead and the caliper
// reading needs, derived once when a resting or MFER record opens.
#pragma once

#include "documents/MeasureInfo.h"
#include "platform/base/Strings.h"

// The measurement row whose per-lead values are the averaged beats' ST
// levels (ST MID, in microvolts): the level the master-step comparisons
// take as well.
#define AVERAGE_ST_ROW 16

// Fills the twelve ST texts from the record's measurements: the value as
// decimal microvolts, or "****" when the record has none for the lead (a
// missing or non-numeric measurement is never shown as a level).
void FillAverageSTTexts(const _MEASURE_INFO& measure, CString (&st)[MEASURE_LEADS]);

// The record's heart rate as decimal text, or empty when the measured text
// is missing ("***") or holds no positive number.
CString HeartRateText(const _MEASURE_INFO& measure);

// Fills a resting or MFER item's ST texts and heart-rate text from the
// measurements its record XML gave.
template <class Item>
void FillItemBeatTexts(Item& item)
{
    FillAverageSTTexts(item.stMeasure, item.strST);
    item.strHeartRate = HeartRateText(item.stMeasure);
}
