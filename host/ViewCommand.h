// The host's "view" and "print" commands: a record's view painted into a PNG
// or printed through the PDF printer, the host playing the page pane.
#pragma once

#include <functional>
#include <vector>
#include <memory>
#include <string>

class CTavrionDoc;
class CECGDC;
class CRect;

namespace host {

// Opens one record file quietly into its examination document.
using RecordOpener = std::function<bool(const std::string& path, std::unique_ptr<CTavrionDoc>& doc)>;

// One page drawn by a view's own Print on the job's device, into the
// printable area (device pixels) at pxPerMm, with the report font selected.
using PdfPage = std::function<bool(CECGDC* dc, const CRect& area, double pxPerMm)>;
// The pages printed as one job through the PDF printer, as the print
// command prints; the PDF goes to `pdf`. False when a page or the job failed.
bool PrintPagesToPdf(CTavrionDoc& doc, const std::vector<PdfPage>& pages, const std::string& pdf);

// args: the files and options after the command word. Returns the exit status.
int RunViewCommand(const std::string& command, int argc, char** argv, const RecordOpener& open);

}  // namespace host
