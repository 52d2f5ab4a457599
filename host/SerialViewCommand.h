// The host's "view" and "print" commands for the one-lead scroll strip: the
// strip under its multi-lead page, as the rest, rhythm, extra and MFER panes
// place it, painted into a PNG or printed through the PDF printer.
#pragma once

#include "host/ViewCommand.h"
#include "platform/base/Geometry.h"

class CECGDC;
class CView;

namespace host {

// True when the command goes here: a "view" of a strip or comparison, or a
// "print" of the average comparison (which takes several records at once).
bool IsSerialCommandRequest(const std::string& command, int argc, char** argv);
// True when the options name the strip.
bool IsSerialViewRequest(int argc, char** argv);

// True when the view is the strip.
bool IsSerialView(CView* view);
// Prints the strip (when `view` is one) into the top of the printable area
// with the reports' duration marks; false when it is none or failed.
bool PrintSerialView(CTavrionDoc& doc, CView* view, CECGDC* dc, CRect area, double pxPerMm, int pageStyle);
// Whether --style `style` is one view class `name` of the comparison draws
// the record of `doc` in (said when not): the comparison in its one-lead or
// its page style, the strip under the page in a wave style of the record's
// pages; the average comparison takes --page-style instead.
bool SerialStyleOrSays(const std::string& name, int style, CTavrionDoc& doc);
// command: "view" or "print"; args: the files and options after it.
int RunSerialViewCommand(const std::string& command, int argc, char** argv, const RecordOpener& open);

}  // namespace host
