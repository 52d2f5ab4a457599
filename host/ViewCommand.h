// The host's "view" and "print" commands: a record's view painted into a PNG
// or printed through the PDF printer, the host playing the page pane.
#pragma once

#include <functional>
#include <memory>
#include <string>

class CTavrionDoc;
class CECGDC;
class CRect;
class CView;
struct CRuntimeClass;

namespace host {

// Opens one record file quietly into its examination document.
using RecordOpener = std::function<bool(const std::string& path, std::unique_ptr<CTavrionDoc>& doc)>;

// OUT.png for the first file, OUT-N.png for the N-th.
std::string Numbered(const std::string& path, size_t index);

// For the other view commands of the host: a view made as the panes make
// it, set up by `setUp`, painted into a PNG.
bool PaintViewToPng(CTavrionDoc& doc, CRuntimeClass* viewClass, int width, int height, const std::string& png,
                    const std::function<void(CView* view)>& setUp);
// One job on the PDF printer, as a report prints: `pages` pages, each drawn
// by `draw` on the job's device in the report font. False when a page failed.
using PdfPageDraw = std::function<bool(CECGDC* dc, const CRect& area, int page)>;
bool PrintPagesToPdf(CTavrionDoc& doc, const std::string& pdf, int pages, const PdfPageDraw& draw);

// args: the files and options after the command word. Returns the exit status.
int RunViewCommand(const std::string& command, int argc, char** argv, const RecordOpener& open);

}  // namespace host
