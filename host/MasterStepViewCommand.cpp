// The host playing the summary and comparison panes and the enlarge dialogs
// of the master step: each view made from its runtime class in a frame,
// given its settings, painted into a PNG or printed through the print job
// of the "print" command.
#include "host/MasterStepViewCommand.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "analysisviews/ViewFinalCom12Leads.h"
#include "analysisviews/ViewFinalCom1Lead.h"
#include "analysisviews/ViewFinalEnlargeWave.h"
#include "analysisviews/ViewHRTrend.h"
#include "analysisviews/ViewSTTrend.h"
#include "analysisviews/ViewSummaryProtocol.h"
#include "documents/FinalViewDoc.h"
#include "host/CommandFailure.h"
#include "host/OutputFolder.h"
#include "host/RecordKinds.h"
#include "host/ViewPane.h"
#include "printdevice/ECGDC.h"

namespace host {
namespace {

const char* const kMasterStepViews[] = {"CViewFinalCom12Leads", "CViewFinalCom1Lead", "CViewFinalEnlargeWave",
                                        "CViewHRTrend",         "CViewSTTrend",       "CViewSummaryProtocol"};
const double kEnlargePixelsPerMM = 4.0;   // the enlarge dialogs' paper at 100%
const double kEnlargeRatio = 4.0;         // the dialogs open at 400%

struct MasterStepOptions {
    std::vector<std::string> files;
    std::string view;
    int width = 1920;
    int height = 1080;
    bool sized = false;  // --size given
    int page = -1;       // comparison page; -1: the first on screen, every page on paper
    int lead = -1;       // tile, enlarged beat, ST trend; -1: the view's own (every tile on paper)
    int load = -9;       // enlarged beat: post-load index (-2 the current one); -9 the rest beat
    int zoom = 99;       // enlarged beat: zoom step; 99 the dialog's 400%
    bool follow = false; // ST trend: the deepest lead
    std::string png;
    std::string pdf;
};

bool IsMasterStepView(const std::string& name)
{
    for (const char* view : kMasterStepViews)
        if (name == view) return true;
    return false;
}

bool Parse(const std::string& command, int argc, char** argv, MasterStepOptions& o)
{
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--page") {
            if (!TakeNumberOption(argc, argv, i, 0, 100000, "--page takes a page number, 0 for the first", o.page))
                return false;
        } else if (arg == "--lead") {
            if (!TakeNumberOption(argc, argv, i, 0, 100000, "--lead takes a lead number, 0 for the first", o.lead))
                return false;
        } else if (arg == "--load") {
            // -2: the load shown now.
            if (!TakeNumberOption(argc, argv, i, -2, 100000, "--load takes a post-load index, -2 for the current one",
                                  o.load))
                return false;
        } else if (arg == "--zoom") {
            if (!TakeNumberOption(argc, argv, i, -100, 100, "--zoom takes a zoom step, -100 to 100", o.zoom))
                return false;
        } else if (arg == "--view" || arg == "--png" || arg == "--pdf") {
            if (!hasValue) {
                std::fprintf(stderr, "morvelance-host: %s needs a value\n", arg.c_str());
                return false;
            }
            (arg == "--view" ? o.view : arg == "--png" ? o.png : o.pdf) = argv[++i];
        } else if (arg == "--size") {
            if (!hasValue) {
                std::fprintf(stderr, "morvelance-host: --size needs a value\n");
                return false;
            }
            if (!ParseFrameSize(argv[++i], o.width, o.height)) return false;
            o.sized = true;
        } else if (arg == "--follow") {
            o.follow = true;
        } else if (arg.compare(0, 2, "--") == 0) {
            std::fprintf(stderr, "morvelance-host: unknown option '%s'\n", arg.c_str());
            return false;
        } else {
            o.files.push_back(arg);
        }
    }
    if (o.files.empty() || (command == "view" ? o.png.empty() : o.pdf.empty())) {
        std::fprintf(stderr, "morvelance-host: %s needs a record file and %s\n", command.c_str(),
                     command == "view" ? "--png OUT.png" : "--pdf OUT.pdf");
        return false;
    }
    if (command == "print" && o.view == "CViewFinalEnlargeWave") {
        std::fprintf(stderr, "morvelance-host: CViewFinalEnlargeWave is shown in its dialog and does not print\n");
        return false;
    }
    return true;
}

// What the view named applies of the options: the comparison its page,
// the tile, beat and ST trend their lead, the enlarged beat its load and
// zoom, the ST trend the deepest lead; a picture takes its size, a print none.
bool TakesOptionsOrSays(const std::string& command, const MasterStepOptions& o)
{
    const bool beat = o.view == "CViewFinalEnlargeWave", st = o.view == "CViewSTTrend";
    const bool view = command == "view";
    return OptionsTakenOrSays(command + " --view " + o.view,
                              {
                                  {o.page >= 0, "--page", o.view == "CViewFinalCom12Leads"},
                                  {o.lead >= 0, "--lead", beat || st || o.view == "CViewFinalCom1Lead"},
                                  {o.load != -9, "--load", beat},
                                  {o.zoom != 99, "--zoom", beat},
                                  {o.follow, "--follow", st},
                                  {o.sized, "--size", view},
                                  {!o.png.empty(), "--png", view},
                                  {!o.pdf.empty(), "--pdf", !view},
                              });
}

// The post-load beat asked for (-2 the current one, -9 the rest beat), one the record has.
bool LoadWithinRecordOrSays(CFinalViewDoc& doc, int load)
{
    const _FINALDATAITEM* item = doc.GetCurrentDataItem();
    const int count = item ? item->nLoadCount : 0;
    if (load < 0 || load < count) return true;
    if (count == 0)
        ReportFailure("--load %d: the record has no post-load beat", load);
    else
        ReportFailure("--load %d: the record has post-load beats 0 to %d", load, count - 1);
    return false;
}

// The comparison's page asked for, one it has: a page past its last would
// be drawn as its last.
bool PageWithinComparisonOrSays(CView* view, const MasterStepOptions& o)
{
    auto* page = DYNAMIC_DOWNCAST(CViewFinalCom12Leads, view);
    if (!page || o.page < page->GetTotalPage()) return true;
    ReportFailure("--page %d is past the comparison's last page (pages 0 to %d)", o.page, page->GetTotalPage() - 1);
    return false;
}

// The settings a pane or dialog gives each view, then its loading.
void SetUpView(CView* view, CFinalViewDoc& doc, const MasterStepOptions& o)
{
    if (auto* page = DYNAMIC_DOWNCAST(CViewFinalCom12Leads, view)) {
        page->OnUpdate(nullptr, 0, nullptr);
        page->SetCurrentPage(o.page < 0 ? 0 : o.page);
    } else if (auto* tile = DYNAMIC_DOWNCAST(CViewFinalCom1Lead, view)) {
        tile->SetLeadID(o.lead < 0 ? 0 : o.lead);
        tile->OnUpdate(nullptr, 0, nullptr);
    } else if (auto* beat = DYNAMIC_DOWNCAST(CViewFinalEnlargeWave, view)) {
        CRect client;
        beat->GetClientRect(&client);
        beat->SetWaveInfo(&doc, o.lead < 0 ? 0 : o.lead, o.load == -9);
        beat->InitBackground(static_cast<int>(client.Width() / kEnlargePixelsPerMM),
                             static_cast<int>(client.Height() / kEnlargePixelsPerMM));
        beat->SetBackGridSize(kEnlargePixelsPerMM, kEnlargePixelsPerMM, kEnlargeRatio);
        if (o.zoom != 99) beat->SetScaleRatio(o.zoom);
        if (o.load != -9) beat->SetDataIndex(o.load);
        beat->SendMessage(WM_INITIALUPDATE, 0, 0);
    } else if (auto* st = DYNAMIC_DOWNCAST(CViewSTTrend, view)) {
        st->SetIfInSummary(o.follow ? 1 : 0);
        st->SetLead(o.lead < 0 ? 0 : o.lead);
        st->OnUpdate(nullptr, 0, nullptr);
    } else {
        view->OnUpdate(nullptr, 0, nullptr);
    }
}

bool PaintToPng(CFinalViewDoc& doc, const MasterStepOptions& o, const std::string& png)
{
    Pane pane(doc, CRuntimeClass::FromName(o.view.c_str()), o.width, o.height,
              [&](CView* view) { SetUpView(view, doc, o); });
    if (!pane.View()) {
        std::fprintf(stderr, "morvelance-host: the view could not be created\n");
        return false;
    }
    return PageWithinComparisonOrSays(pane.View(), o) && SaveViewPng(pane.View(), png);
}

// The printed pages of a view, as report printing calls its Print.
std::vector<PdfPageDraw> PrintedPages(CView* view, const MasterStepOptions& o)
{
    std::vector<PdfPageDraw> pages;
    if (auto* page = DYNAMIC_DOWNCAST(CViewFinalCom12Leads, view)) {
        const int first = o.page < 0 ? 0 : o.page;
        const int last = o.page < 0 ? page->GetTotalPage() - 1 : o.page;
        for (int p = first; p <= last; ++p)
            pages.push_back([page, p](CECGDC* dc, const CRect& area, double px) {
                const int widthMm = static_cast<int>(area.Width() / px);
                const int heightMm = static_cast<int>(area.Height() / px);
                page->PrintWaveGrid(dc, area, widthMm, heightMm, px, TRUE, TRUE, FALSE);
                return page->Print(dc, area, widthMm, heightMm, px, 0, p) == 1;
            });
    } else if (auto* tile = DYNAMIC_DOWNCAST(CViewFinalCom1Lead, view)) {
        // The summary's twelve tiles, four across and three down, 60 x 40 mm each.
        pages.push_back([tile, o](CECGDC* dc, const CRect& area, double px) {
            bool ok = true;
            tile->SetWidthHeight(60, 40);
            for (int lead = 0; lead < FINAL_ST_LEADS && ok; ++lead) {
                if (o.lead >= 0 && lead != o.lead) continue;
                tile->SetLeadID(lead);
                tile->OnUpdate(nullptr, 0, nullptr);
                const int cell = o.lead >= 0 ? 0 : lead;
                CRect rect(area.left + static_cast<int>((cell % 4) * 65 * px), area.top + static_cast<int>((cell / 4) * 45 * px), 0, 0);
                rect.right = rect.left + static_cast<int>(60 * px);
                rect.bottom = rect.top + static_cast<int>(40 * px);
                ok = tile->Print(dc, &rect, static_cast<float>(px), TRUE, FALSE, 0) == 1;
            }
            return ok;
        });
    } else if (auto* hr = DYNAMIC_DOWNCAST(CViewHRTrend, view)) {
        pages.push_back([hr](CECGDC* dc, const CRect& area, double px) {
            CRect plot = area;
            plot.DeflateRect(static_cast<int>(25 * px), static_cast<int>(20 * px));
            return hr->Print(dc, &plot) == 1;
        });
    } else if (auto* st = DYNAMIC_DOWNCAST(CViewSTTrend, view)) {
        pages.push_back([st](CECGDC* dc, const CRect& area, double) { return st->Print(dc, area) == 1; });
    } else if (auto* protocol = DYNAMIC_DOWNCAST(CViewSummaryProtocol, view)) {
        pages.push_back([protocol](CECGDC* dc, const CRect& area, double) {
            CRect rect = area;
            return protocol->Print(dc, &rect) == 1;
        });
    }
    return pages;
}

// The view made on the document as its pane makes it, its printed pages
// handed to `print`.
bool PrintPages(CFinalViewDoc& doc, const MasterStepOptions& o,
                const std::function<bool(const std::vector<PdfPageDraw>& pages)>& print)
{
    Pane pane(doc, CRuntimeClass::FromName(o.view.c_str()), 800, 600, [&](CView* view) { SetUpView(view, doc, o); });
    return pane.View() && PageWithinComparisonOrSays(pane.View(), o) && print(PrintedPages(pane.View(), o));
}

bool PrintToPdf(CFinalViewDoc& doc, const MasterStepOptions& o, const std::string& pdf)
{
    if (!PrintPages(doc, o, [&](const std::vector<PdfPageDraw>& pages) { return PrintPagesToPdf(doc, pages, pdf); }))
        return false;
    std::printf("%s\n", pdf.c_str());
    return true;
}

}  // namespace

const std::vector<std::string>& MasterStepViewNames()
{
    static const std::vector<std::string> names(std::begin(kMasterStepViews), std::end(kMasterStepViews));
    return names;
}

bool PaintMasterStepView(CFinalViewDoc& doc, const std::string& view, int width, int height, const std::string& png)
{
    MasterStepOptions o;
    o.view = view;
    o.width = width;
    o.height = height;
    return PaintToPng(doc, o, png);
}

bool PrintMasterStepView(CFinalViewDoc& doc, const std::string& view,
                         const std::function<bool(const std::vector<PdfPageDraw>& pages)>& print)
{
    MasterStepOptions o;
    o.view = view;
    return IsMasterStepView(view) && Printed(view) && PrintPages(doc, o, print);
}

bool IsMasterStepViewRequest(int argc, char** argv)
{
    const char* view = RequestedView(argc, argv);
    return view && IsMasterStepView(view);
}

int RunMasterStepViewCommand(const std::string& command, int argc, char** argv, const RecordOpener& open)
{
    MasterStepOptions o;
    if (!Parse(command, argc, argv, o)) return 2;
    if (!TakesOptionsOrSays(command, o)) return 1;
    const std::string& target = command == "print" ? o.pdf : o.png;
    if (!MakeFolderOf(target)) return 1;
    int failures = 0;
    for (size_t index = 0; index < o.files.size(); ++index) {
        // The opener refuses, with its reason, a record the view does not take.
        std::unique_ptr<CTavrionDoc> doc;
        auto* final = open(o.files[index], doc) && doc ? DYNAMIC_DOWNCAST(CFinalViewDoc, doc.get()) : nullptr;
        if (!final) {
            ++failures;
            continue;
        }
        final->m_bAutoDelete = FALSE;
        // A lead past the record's would draw a tile of nothing.
        int lead = 0;
        if ((o.lead >= 0 && !ChooseRecordLead(*final, o.lead, 0, lead)) || !LoadWithinRecordOrSays(*final, o.load)) {
            ++failures;
            continue;
        }
        const std::string out = Numbered(target, index);
        const bool ok = command == "print" ? PrintToPdf(*final, o, out) : PaintToPng(*final, o, out);
        if (!ok) ++failures;
    }
    return failures ? 1 : 0;
}

}  // namespace host
