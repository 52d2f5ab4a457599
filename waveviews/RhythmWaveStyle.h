// What a wave style of the multi-lead view is, asked by name rather than by
// its number: which family draws it, which lead list and which column layout
// it takes. The numbers are the stored styles of the record files and panes.
#pragma once

#include "core/TavrionDoc.h"

// ---- the families --------------------------------------------------------------------
inline bool IsRestFamilyStyle(_RHYTHM_WAVE_STYLE s) { return (s >= 1 && s <= 15) || s == 19; }
inline bool IsRhythmRRFamilyStyle(_RHYTHM_WAVE_STYLE s) { return s == 16 || s == 17 || s == 18 || s == 20 || s == 21; }
inline bool IsExtraFamilyStyle(_RHYTHM_WAVE_STYLE s) { return s >= 22 && s <= 28; }
inline bool IsKnownWaveStyle(_RHYTHM_WAVE_STYLE s) { return s >= 1 && s <= 28; }
// The multi-lead rest layouts (every lead of a 12 or 15-lead record).
inline bool IsMultiLeadRestStyle(_RHYTHM_WAVE_STYLE s) { return s >= 1 && s <= 12; }
// The rhythm rows of a rhythm record (16, 17) and of an RR record (20, 21).
inline bool IsRhythmRowsStyle(_RHYTHM_WAVE_STYLE s) { return s == 16 || s == 17; }
inline bool IsRRRowsStyle(_RHYTHM_WAVE_STYLE s) { return s == 20 || s == 21; }

// ---- the one-lead strips ---------------------------------------------------------------
// The rest family's one-lead strip (samples in buffer 0).
inline bool IsOneLeadRestStyle(_RHYTHM_WAVE_STYLE s) { return s == 13 || s == 14 || s == 15 || s == 19; }
// Every one-lead strip, rhythm's 18 included: no dividers, no scale.
inline bool IsOneLeadStyle(_RHYTHM_WAVE_STYLE s) { return IsOneLeadRestStyle(s) || s == 18; }
// The strip of the record's own lead whatever the document (13 to 15).
inline bool IsOneLeadAnyRecordStyle(_RHYTHM_WAVE_STYLE s) { return s >= 13 && s <= 15; }
// The strips that keep the record's length for the trace's end.
inline bool IsOneLeadRecordLengthStyle(_RHYTHM_WAVE_STYLE s) { return s == 14 || s == 19; }
// The one-millimetre strip of the whole record, at its exact fitting speed.
inline bool IsWholeRecordStripStyle(_RHYTHM_WAVE_STYLE s) { return s == 15; }
// The one-lead strip that auto gain places (the others keep the row centre).
inline bool IsAutoPlacedStripStyle(_RHYTHM_WAVE_STYLE s) { return s == 13; }
// The strips whose zero line is pulled to the middle when the pulse would
// pass the printed bottom.
inline bool IsPrintCentredStripStyle(_RHYTHM_WAVE_STYLE s) { return s == 13 || s == 15; }
// The strip whose start time is left out on paper.
inline bool IsStartTimeUnprintedStyle(_RHYTHM_WAVE_STYLE s) { return s == 13; }
// The strips drawn in the dialog font rather than the document's.
inline bool IsDialogFontStyle(_RHYTHM_WAVE_STYLE s) { return s == 14 || s == 19; }
// The rhythm family's one-lead strip.
inline bool IsOneLeadRhythmStyle(_RHYTHM_WAVE_STYLE s) { return s == 18; }
// The rhythm strip at a fixed 25 mm/s under the serial comparison.
inline bool IsSerialStripStyle(_RHYTHM_WAVE_STYLE s) { return s == 19; }

// The strips and rhythm rows, whose width the half-style flag decides.
inline bool IsHalfWidthDecidedStyle(_RHYTHM_WAVE_STYLE s) { return s >= 13 && s <= 21; }

// ---- lead lists and columns ----------------------------------------------------------------
// Successive time in successive columns; the others show one time in every column.
inline bool IsContinuousRestStyle(_RHYTHM_WAVE_STYLE s)
{
    return s == 1 || s == 2 || s == 5 || s == 6 || s == 9 || s == 10;
}
inline bool IsContinuousExtraStyle(_RHYTHM_WAVE_STYLE s) { return s >= 22 && s <= 27; }
// One column whose rows are the set bits of the record's lead mask.
inline bool IsLeadMaskStyle(_RHYTHM_WAVE_STYLE s) { return s == 11 || s == 12; }
// The six-row layouts, whose chest column of a 15-lead record comes from the mask.
inline bool IsSixRowRestStyle(_RHYTHM_WAVE_STYLE s) { return s >= 5 && s <= 10; }
// The half-width layouts that show the chest leads instead of the limb leads on request.
inline bool IsChestPageStyle(_RHYTHM_WAVE_STYLE s) { return s == 2 || s == 4 || s == 9 || s == 10; }
// The three-row chest pages, which take a third column for a 15-lead record.
inline bool IsThreeRowChestPageStyle(_RHYTHM_WAVE_STYLE s) { return s == 2 || s == 4; }
// The single-column six-row pages, whose chest page is its second column.
inline bool IsSixRowChestPageStyle(_RHYTHM_WAVE_STYLE s) { return s == 9 || s == 10; }
// Limb columns 0 and 1, chest columns after them.
inline bool IsFourColumnRestStyle(_RHYTHM_WAVE_STYLE s) { return s == 1 || s == 3; }
// The limb column then the chest column.
inline bool IsLimbChestColumnStyle(_RHYTHM_WAVE_STYLE s) { return s >= 5 && s <= 8; }
// The extra layouts of one column over the first group of leads.
inline bool IsOneGroupExtraStyle(_RHYTHM_WAVE_STYLE s) { return s >= 22 && s <= 25; }
// The extra layouts with two groups side by side.
inline bool IsTwoGroupExtraStyle(_RHYTHM_WAVE_STYLE s) { return s == 26 || s == 28; }
// The extra layout whose hidden strip moves the leads down by three.
inline bool IsShiftedExtraStyle(_RHYTHM_WAVE_STYLE s) { return s == 27; }

// ---- pulses, dividers and events -----------------------------------------------------------------
inline bool IsDualPulseRestStyle(_RHYTHM_WAVE_STYLE s) { return s == 1 || s == 3 || (s >= 5 && s <= 8); }
// The full-width pages, whose pulse count follows the lead groups and the
// sense; the half-width pages count by the page height.
inline bool IsFullWidthPulseStyle(_RHYTHM_WAVE_STYLE s) { return s == 1 || s == 3 || s == 5 || s == 7 || s == 9; }
inline bool IsDualPulseExtraStyle(_RHYTHM_WAVE_STYLE s) { return IsTwoGroupExtraStyle(s); }
// A divider spans the three rows of a lead group.
inline bool IsThreeRowDividerStyle(_RHYTHM_WAVE_STYLE s) { return s == 17 || s == 21; }
// The rhythm record's events are marked under these pages.
inline bool HasEventMarksStyle(_RHYTHM_WAVE_STYLE s) { return IsMultiLeadRestStyle(s) || s == 16 || s == 17 || s == 19; }

// ---- measuring tools and the mouse -----------------------------------------------------------------
// The half-width pages, where neither the scale nor the dividers follow the mouse.
inline bool IsHalfWidthStyle(_RHYTHM_WAVE_STYLE s)
{
    return s == 2 || s == 4 || s == 6 || s == 8 || s == 10 || s == 23 || s == 25 || s == 27;
}
// The strips in the dialog font, on which the scale is neither used nor drawn.
inline bool IsScaleLessStyle(_RHYTHM_WAVE_STYLE s) { return s == 14 || s == 19; }
// A double-click on these strips opens the divider pop-up.
inline bool IsDividerPopupStyle(_RHYTHM_WAVE_STYLE s) { return IsOneLeadStyle(s) && !IsWholeRecordStripStyle(s); }
// Rhythm or RR rows: a double-click finds its lead by the row.
inline bool IsRowsPopupStyle(_RHYTHM_WAVE_STYLE s) { return IsRhythmRowsStyle(s) || IsRRRowsStyle(s); }
// The pulse groups a press in the calibration column reports: one group for
// the whole column (6), the strip's (2), by the shown set in one column, or
// by the half of the column in two.
inline bool IsSixPulseGroupStyle(_RHYTHM_WAVE_STYLE s) { return IsLeadMaskStyle(s) || IsRowsPopupStyle(s); }
inline bool IsStripPulseGroupStyle(_RHYTHM_WAVE_STYLE s) { return s == 13 || s == 18; }
inline bool IsOneColumnPulseStyle(_RHYTHM_WAVE_STYLE s)
{
    return s == 2 || s == 4 || s == 9 || s == 10 || (s >= 22 && s <= 25) || s == 27;
}
inline bool IsTwoColumnPulseStyle(_RHYTHM_WAVE_STYLE s)
{
    return IsFourColumnRestStyle(s) || IsLimbChestColumnStyle(s) || IsTwoGroupExtraStyle(s);
}
// Where the clicked sample is found: within the hit cell, or across the whole wave area.
inline bool IsCellSampleStyle(_RHYTHM_WAVE_STYLE s)
{
    return s == 1 || s == 2 || s == 5 || s == 6 || (s >= 9 && s <= 12) || (s >= 22 && s <= 27);
}
inline bool IsAreaSampleStyle(_RHYTHM_WAVE_STYLE s) { return s == 3 || s == 4 || s == 7 || s == 8 || s == 28; }
