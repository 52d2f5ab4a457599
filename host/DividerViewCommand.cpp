// The multi-lead view's measuring tools and pop-ups for the host, and the
// divider strip in its dialog, painted into PNG files.
#include "host/DividerViewCommand.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/TavrionDoc.h"
#include "dialogs/DlgDivider.h"
#include "host/CommandFailure.h"
#include "host/ModalSnapshot.h"
#include "host/OutputFolder.h"
#include "documents/MFERViewDoc.h"
#include "platform/ui/windowing/Desktop.h"
#include "waveviews/ViewDividerWave.h"
#include "waveviews/ViewRhythmWave.h"

namespace host {
namespace {

using platform::ui::Desktop;

const char kDividerView[] = "CViewDividerWave";

// Numbers separated by commas, exactly `count` of them.
bool ParseNumbers(const std::string& text, std::vector<int>& numbers, size_t count)
{
    numbers.clear();
    const char* p = text.c_str();
    while (*p) {
        char* end = nullptr;
        const long value = std::strtol(p, &end, 10);
        if (end == p || value < 0 || value > 100000) return false;
        numbers.push_back(static_cast<int>(value));
        p = *end == ',' ? end + 1 : end;
        if (*end && *end != ',') return false;
    }
    return count == 0 ? !numbers.empty() && numbers.size() <= 3 : numbers.size() == count;
}

struct DividerOptions {
    std::vector<std::string> files;
    std::string png;
    int lead = -1;   // -1: lead II, or the record's first when it has none
    int start = 0;
    // With a size, the view alone in a frame of that size; without, in its dialog.
    bool sized = false;
    int width = 1920;
    int height = 1080;
};

// The dialog's strip: 250 mm of trace at 25 mm/s, a one-lead strip style.
const int kStripSeconds = 10;
const int kOneLeadRestStyle = 14;
const int kOneLeadStripStyle = 19;

bool ParseDividerOptions(int argc, char** argv, DividerOptions& options)
{
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if ((arg == "--view" || arg == "--png" || arg == "--lead" || arg == "--start" || arg == "--size") && !hasValue) {
            std::fprintf(stderr, "morvelance-host: %s needs a value\n", arg.c_str());
            return false;
        }
        if (arg == "--view") {
            ++i;
        } else if (arg == "--png") {
            options.png = argv[++i];
        } else if (arg == "--lead" || arg == "--start") {
            if (!ParseLeadOrSample(arg, argv[++i], arg == "--lead" ? options.lead : options.start)) return false;
        } else if (arg == "--size") {
            if (!ParseFrameSize(argv[++i], options.width, options.height)) return false;
            options.sized = true;
        } else if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            std::fprintf(stderr, "morvelance-host: unknown option '%s' for the divider view\n", arg.c_str());
            return false;
        } else {
            options.files.push_back(arg);
        }
    }
    if (options.files.empty() || options.png.empty()) {
        std::fprintf(stderr, "morvelance-host: view --view %s needs record files and --png OUT.png\n", kDividerView);
        return false;
    }
    return true;
}

// The record's samples per second: an MFER file's own, 500 for device records.
int SampleRate(CTavrionDoc& doc)
{
    auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, &doc);
    const double rate = mfer ? mfer->GetSampleRate() : 500.0;
    return rate >= 1.0 ? static_cast<int>(rate + 0.5) : 500;
}

}  // namespace

bool ParseDividers(const std::string& text, std::vector<int>& pairs)
{
    if (!ParseNumbers(text, pairs, 0)) return false;
    for (int pair : pairs)
        if (pair < 1 || pair > 3) return false;
    return true;
}

bool ParseScale(const std::string& text, int* points)
{
    std::vector<int> numbers;
    if (!ParseNumbers(text, numbers, 4)) return false;
    std::copy(numbers.begin(), numbers.end(), points);
    return true;
}

bool ApplyMeasuringTools(CTavrionDoc& doc, CViewRhythmWave& view, const MeasureOptions& options)
{
    const bool scale = options.scale[0] >= 0;
    if (options.dividers.empty() && !scale) return true;
    // A page without dividers would give its picture as if they had been set on it.
    if (!options.dividers.empty() && !view.IsDrawDivider()) {
        ReportFailure("--dividers: this page (wave style %d) draws no dividers; nothing is written",
                      static_cast<int>(view.GetWaveStyle()));
        return false;
    }
    doc.SetMouseMode(1);
    view.ShowDivider(TRUE);
    for (int pair : options.dividers) view.SetDividerCheck(TRUE, pair);
    view.UpdateWindow();
    if (!scale) return true;
    doc.SetScaleShow(1);
    view.ShowScale(TRUE);
    // A style drawn without the scale would give the picture without it as
    // if the scale had been measured on it.
    if (!view.IsDrawScale()) {
        ReportFailure("--scale: wave style %d draws no scale; nothing is written", static_cast<int>(view.GetWaveStyle()));
        return false;
    }
    const HWND hwnd = view.GetSafeHwnd();
    for (int point = 0; point < 2; ++point) {
        const int x = options.scale[2 * point];
        const int y = options.scale[2 * point + 1];
        Desktop::MoveMouse(hwnd, x, y);
        Desktop::Click(hwnd, x, y);
        Desktop::PumpMessages();
        Desktop::AdvanceClock(1000);   // two presses, not a double-click
    }
    view.UpdateWindow();
    return true;
}

bool DoubleClickAndSavePopup(CViewRhythmWave& view, const MeasureOptions& options)
{
    if (options.clickX < 0) return true;
    if (!options.popupPng.empty() && !MakeFolderOf(options.popupPng)) return false;
    ModalSnapshot popup(options.popupPng);
    Desktop::DoubleClick(view.GetSafeHwnd(), options.clickX, options.clickY);
    Desktop::PumpMessages();
    if (options.popupPng.empty()) return true;
    if (!popup.Ran()) {
        std::fprintf(stderr, "morvelance-host: the double-click at %d,%d opened no pop-up\n", options.clickX,
                     options.clickY);
        return false;
    }
    return ReportSaved(popup.Saved(), options.popupPng);
}

bool IsDividerViewRequest(int argc, char** argv)
{
    const char* view = RequestedView(argc, argv);
    return view && std::strcmp(view, kDividerView) == 0;
}

int RunDividerViewCommand(int argc, char** argv, const RecordOpener& open)
{
    DividerOptions options;
    if (!ParseDividerOptions(argc, argv, options)) return 2;
    // Every file's image goes beside the first one's.
    if (!MakeFolderOf(options.png)) return 1;
    return ForEachRecord(options.files, open, [&](CTavrionDoc& doc, size_t index) {
        int lead = -1;
        if (!ChooseRecordLead(doc, options.lead, RecordLeadII(doc), lead)) return false;
        const int length = doc.GetRhythmWaveData(lead, nullptr, -1) / 2;
        // A start past the lead's end would show its last stretch as if it were the one asked for.
        if (options.start >= length) {
            ReportFailure("--start %d is past the record's end (lead %d has samples 0 to %d)", options.start, lead,
                          length - 1);
            return false;
        }
        if (options.sized) {
            // The strip its dialog shows, in a frame of the size asked for.
            const int samples = std::min(length, kStripSeconds * SampleRate(doc));
            const int start = std::max(0, std::min(options.start, length - samples));
            return PaintViewToPng(doc, RUNTIME_CLASS(CViewDividerWave), options.width, options.height,
                                  Numbered(options.png, index), [&](CView* view) {
                                      auto* strip = DYNAMIC_DOWNCAST(CViewDividerWave, view);
                                      if (!strip) return false;
                                      const int kind = doc.GetDocType();
                                      strip->SetDocType(kind);
                                      strip->SetWaveStyle(kind == DOC_TYPE_REST ? kOneLeadRestStyle : kOneLeadStripStyle,
                                                          TRUE);
                                      strip->SetRhythm1LeadID(lead);
                                      strip->SetWaveRange(start, samples);
                                      strip->OnInitialUpdate();
                                      return true;
                                  });
        }
        CDlgDivider dialog(nullptr);
        dialog.SetDoc(&doc, doc.GetDocType());
        dialog.SetLeadID(lead);
        dialog.SetWaveParam(260, 30, length, SampleRate(doc), options.start);
        return RunModalAndSave(dialog, Numbered(options.png, index));
    });
}

}  // namespace host
