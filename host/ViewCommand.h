// The host's "view" and "print" commands: a record's view painted into a PNG
// or printed through the PDF printer, the host playing the page pane.
#pragma once

#include <functional>
#include <vector>
#include <memory>
#include <string>

#include <vector>

#include "platform/gdi/Dc.h"

class CECGDC;
class CTavrionDoc;
class CRect;
class CView;
class CViewRhythmWave;
struct CRuntimeClass;

namespace host {

// Opens one record file quietly into its examination document.
using RecordOpener = std::function<bool(const std::string& path, std::unique_ptr<CTavrionDoc>& doc)>;

// One page of a print job as the "print" command runs it (the PDF printer on
// A4 landscape, the report font selected): the device, the printable area
// and its device pixels per millimetre; false when the page failed.
using PdfPageDraw = std::function<bool(CECGDC* dc, const CRect& area, double pxPerMm)>;
// OUT.png for the first file, OUT-N.png for the N-th.
std::string Numbered(const std::string& path, size_t index);

// Opens each of `files` in turn, the document kept by the command, and runs
// `run` on it with the file's index. The exit status: 1 when a file could
// not be opened or a run failed (the others still run), else 0.
int ForEachRecord(const std::vector<std::string>& files, const RecordOpener& open,
                  const std::function<bool(CTavrionDoc& doc, size_t index)>& run);

// The class named after --view in the options; null without one.
const char* RequestedView(int argc, char** argv);

// The value of --lead (0 to 14) or of a sample option (0 to 100,000,000)
// into `value`; false (with a message) for anything else.
bool ParseLeadOrSample(const std::string& option, const char* text, int& value);

// The whole number `text` given to `option`, `low` to `high`, into `out`;
// false, saying `refusal` (without one, "OPTION takes a whole number from LOW
// to HIGH"), when it is empty, is no whole number or lies outside. Every
// number option of the host's commands is read here, so that none takes a
// missing or misspelt value for 0.
bool ReadNumberOption(const std::string& option, const char* text, long low, long high, const char* refusal,
                      long& out);
// The same into an int (the bounds fit one).
bool ReadNumberOption(const std::string& option, const char* text, int low, int high, const char* refusal, int& out);

// Whether `doc` holds lead `lead`, numbered as the lead options number them:
// a strip of samples for the records that have strips, one of the twelve
// leads of a master-step or exercise record's beats and trends.
bool RecordHasLead(CTavrionDoc& doc, int lead);
// The lead a lead option takes on `doc` into `lead`: `given` (0 or more) when
// the record has it, else false with a message naming the record, the lead
// and the leads it has; without one given (-1), `preferred` when the record
// has it, else its first lead (false, said, when it has none).
bool ChooseRecordLead(CTavrionDoc& doc, int given, int preferred, int& lead);
// The place of lead II among the record's leads, by the name the record
// gives it (a rhythm record of II, V5 and V1 keeps it first); the record's
// first lead when none is named so (MIT-BIH 100's MLII, not V5), -1 when it
// has none.
int RecordLeadII(CTavrionDoc& doc);
// The lead of the record's one-lead strip as its pages show it: the
// document's choice (the record XML's Rhythm_1lead, or its kind's own strip
// lead), none chosen (255) being lead 0, as the panes take it.
int RecordStripLead(CTavrionDoc& doc);

// The frame every view command paints in: --size WIDTHxHEIGHT, 16 to
// 10000 pixels each way; false (with a message) for anything else.
bool ParseFrameSize(const std::string& text, int& width, int& height);

// The value after option argv[i] into `out`, i moved onto it; false (with
// a message naming the option) when the options end first.
bool TakeOptionValue(int argc, char** argv, int& i, std::string& out);
// The whole number after option argv[i], `low` to `high`, into `out`, i
// moved onto it, read by ReadNumberOption; false (saying `refusal`) when it
// is missing, is no whole number or lies outside.
bool TakeNumberOption(int argc, char** argv, int& i, long low, long high, const char* refusal, long& out);
bool TakeNumberOption(int argc, char** argv, int& i, int low, int high, const char* refusal, int& out);

// Moves (or, across file systems, copies) a finished file to its place;
// false when it is not wholly there.
bool MoveFinishedFile(const std::string& from, const std::string& to);

// Every page into one PDF at `pdf`; false (with a message) on failure.
bool PrintPagesToPdf(CTavrionDoc& doc, const std::vector<PdfPageDraw>& pages, const std::string& pdf);

// For the other view commands of the host: a view made as the panes make
// it, set up by `setUp`, painted into a PNG; nothing is painted when `setUp`
// refuses (false, having said why).
bool PaintViewToPng(CTavrionDoc& doc, CRuntimeClass* viewClass, int width, int height, const std::string& png,
                    const std::function<bool(CView* view)>& setUp);

// The multi-lead view's first layout on the record, as its wave pane opens it.
int FirstRhythmStyle(CTavrionDoc& doc);

// As a pane does on a page change: the shapes of the annotations drawn on the
// page the view shows (an annotation keeps the start sample of the page it was
// drawn on) go to the view; the page's first area is the one view the host shows.
void LoadPageAnnotations(CTavrionDoc& doc, CViewRhythmWave& view);

// args: the files and options after the command word. Returns the exit status.
int RunViewCommand(const std::string& command, int argc, char** argv, const RecordOpener& open);

}  // namespace host
