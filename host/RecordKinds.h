// Which records each drawing of the host's commands takes. Every view and
// form class, dialog, pane and report is asked for by the name the commands
// take, and a record it cannot show is refused with the same message by
// every command that draws it (view, print, dialog, pane, show, and their
// "all" forms), instead of an empty picture reported as drawn.
#pragma once

#include <string>
#include <vector>

class CTavrionDoc;
class CWnd;

namespace host {

struct PaneKind;

// Whether `name` draws the record of `doc`: by the record's kind (resting,
// master-step, rhythm, RR, extra-lead, exercise, MFER) and, within a kind,
// by what the picture is made of (the average beats of the overlap and the
// average views, the analysis, comparisons and results only the record XML
// brings). A pane is asked of its own page (the documents its page takes)
// and, for a page made for its pictures (a result page, the
// interpretation page), of whether any of them draws the record; a name the
// host draws on every record takes every record.
bool Takes(const std::string& name, CTavrionDoc& doc);
// The same; when it does not, says why on standard error, naming the record
// and what `name` needs ("CViewEnlargedWave needs a resting, rhythm or MFER
// record").
bool TakesOrSays(const std::string& name, CTavrionDoc& doc);
// Why the report `name` does not print the record of `doc` ("the rr-result
// report prints RR records only; this is a resting record"), empty when it does.
std::string ReportRefusalOf(const std::string& name, CTavrionDoc& doc);

// Says, as a note naming the record, which of its views the report `name`
// (which prints the record) leaves out: the rest-interpre page of a rhythm
// record is printed without the average beats it does not have.
void NoteReportLeavesOut(const std::string& name, CTavrionDoc& doc);

// Whether `name` is drawn by itself on the screen (the view and dialog
// commands) or on paper (the print command): a view shown only inside its
// dialog does not print, a form without a print of its own neither, and the
// magnifier's view draws only over another view. When it is not, says why.
bool ShownOrSays(const std::string& name);
bool PrintedOrSays(const std::string& name);
// The same without a word, for the commands that go through every class.
bool Shown(const std::string& name);
bool Printed(const std::string& name);

// Whether the exercise trend draws the record of `doc` in trend style
// `style`: the METs-HR line (style 7) is fitted to what the record XML holds,
// and a record without it has no line to draw. The same, saying why when it
// does not ("CViewExerTrend --style 7 needs an exercise record; this one is
// without a METs-HR line: ...").
bool TrendStyleDraws(int style, CTavrionDoc& doc);
bool TrendStyleOrSays(int style, CTavrionDoc& doc);

// A page that has something of its own to show (a comment page, whose list
// of RR intervals comes with the record XML; the master-step summary with
// its interpretation form) is drawn without the views it has nothing for:
// each view of `pane` made of what the record XML brings that this record
// lacks, and the average beats of a record without them (a rhythm record's
// interpretation page), is hidden rather than drawn as empty axes, frames or
// an empty table, and said as a note naming the page ("note: CWndRRComment
// is shown without CViewRRIntervalList, which needs ...") unless `say` is
// false (a page asked again after clicks says it then). A page none of whose
// pictures draws the record is refused by TakesOrSays.
void LeaveOutEmptyViews(CWnd& pane, CTavrionDoc& doc, const std::string& paneName, bool say = true);

// The wave styles of the multi-lead view (CViewRhythmWave, and the wave
// reports drawn from it) that draw the record of `doc`: a style of another
// family leaves its page as empty paper (the RR rows of a resting record).
bool WaveStyleDraws(int style, CTavrionDoc& doc);
// The same; when it does not, says so naming the record's kind and the
// styles it takes ("--style 99: CViewRhythmWave draws a resting record in
// styles 1 to 15").
bool WaveStyleOrSays(const std::string& name, int style, CTavrionDoc& doc);
// The page style `style` among `styles`, the page styles pane or report
// `name` takes on `doc` (null: on any record); when it is not, says which
// they are ("--style 3: CWndExtraWave takes styles 1, 2 and 5 to 10 on an
// extra-lead record").
bool PageStyleOrSays(const std::string& name, const std::vector<int>& styles, int style, CTavrionDoc* doc);

// Whether pane `kind` has a page in style `style` (below 0: none asked) on
// `doc`: those StylesOn gives, and on an MFER file the same in the MFER
// numbering where the pane has one. When it has none, says which it has: a
// style of no page would show the pane on no page at all, or on its first.
bool PaneTakesStyleOrSays(const PaneKind& kind, CTavrionDoc& doc, int style);

// Whether `name` prints the record of `doc` on paper: a view drawn on screen
// for every record of its kind may print only some of them (the protocol
// summary prints the step-and-trip protocol only). When it does not, says why.
bool PrintsRecordOrSays(const std::string& name, CTavrionDoc& doc);
bool PrintsRecord(const std::string& name, CTavrionDoc& doc);

// Samples of the lead's average beat; 0 for a record that keeps none (an
// MFER file keeps its beats as its second waveform).
int AverageBeatSamples(CTavrionDoc& doc, int lead);

}  // namespace host
