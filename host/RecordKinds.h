// Which records each drawing of the host's commands takes. Every view and
// form class, dialog, pane and report is asked for by the name the commands
// take, and a record it cannot show is refused with the same message by
// every command that draws it (view, print, dialog, pane, show, and their
// "all" forms), instead of an empty picture reported as drawn.
#pragma once

#include <string>

class CTavrionDoc;

namespace host {

// Whether `name` draws the record of `doc`: by the record's kind (resting,
// master-step, rhythm, RR, extra-lead, exercise, MFER) and, within a kind,
// by what the picture is made of (the average beats of the overlap and the
// average views). A pane is asked of its own page (the documents its page
// takes); a name the host draws on every record takes every record.
bool Takes(const std::string& name, CTavrionDoc& doc);
// The same; when it does not, says why on standard error, naming the record
// and what `name` needs ("CViewEnlargedWave needs a resting, rhythm or MFER
// record").
bool TakesOrSays(const std::string& name, CTavrionDoc& doc);
// Why the report `name` does not print the record of `doc` ("the rr-result
// report prints RR records only; this is a resting record"), empty when it does.
std::string ReportRefusalOf(const std::string& name, CTavrionDoc& doc);

// Whether `name` is drawn by itself on the screen (the view and dialog
// commands) or on paper (the print command): a view shown only inside its
// dialog does not print, a form without a print of its own neither, and the
// magnifier's view draws only over another view. When it is not, says why.
bool ShownOrSays(const std::string& name);
bool PrintedOrSays(const std::string& name);
// The same without a word, for the commands that go through every class.
bool Shown(const std::string& name);
bool Printed(const std::string& name);

// Samples of the lead's average beat; 0 for a record that keeps none (an
// MFER file keeps its beats as its second waveform).
int AverageBeatSamples(CTavrionDoc& doc, int lead);

}  // namespace host
