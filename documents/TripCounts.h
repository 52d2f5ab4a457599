// The trip count and total of a trip record as every box that edits them
// shows them, and what a box's text puts back into the record: the resting
// forms, the patient sheet's pages and the master-step page share it, so a
// count reads and saves alike wherever it is edited.
#pragma once

#include "platform/base/Strings.h"

// A count as its box shows it: an uncounted one ("*") shows empty.
CString TripCountShown(const CString& stored);

// The count kept after a box that was loaded with `stored` reads `text`.
// A box that still reads as it was loaded keeps the stored count as it
// stands (an uncounted "*", or a count past what the box takes, the person
// never touched). A typed plain number is kept without its leading zeros;
// in a model-8000 record one past `limit` (255 for the count, 256 for the
// total), or any text that is not a plain number, is emptied. Any other
// typed text, an empty box included, is kept as typed.
CString TripCountFromBox(const CString& text, const CString& stored, bool b8000, int limit);

// The highest count and total a model-8000 record holds.
constexpr int kTripCountLimit8000 = 255;
constexpr int kTripTotalLimit8000 = 256;
