// The one-lead scroll strip under its multi-lead page, as a page pane holds
// them: the pane answers the strip's WM_STRIP_DRAGGED by moving the page.
#include "host/SerialViewCommand.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "core/TavrionDoc.h"
#include "platform/gdi/Dc.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/windowing/Desktop.h"
#include "printdevice/ECGDC.h"
#include "core/DataItem.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "host/CommandFailure.h"
#include "host/MagnifierPreview.h"
#include "host/RecordKinds.h"
#include "host/SerialRecordSet.h"
#include "waveviews/ViewScroll1LeadRhyWave.h"
#include "waveviews/ViewScroll1LeadWave.h"
#include "waveviews/ViewSerialComAve.h"
#include "waveviews/ViewSerialComRhy.h"

namespace host {
namespace {

const char kStripView[] = "CViewScroll1LeadWave";
const char kSerialRhythmView[] = "CViewSerialComRhy";
const char kSerialAverageView[] = "CViewSerialComAve";
const int kFrameWidth = 1920;
const int kFrameHeight = 1080;
const int kStripHeight = 160;   // the strip's share of a full-size frame, as the panes give it

// The strip's share of a frame `height` pixels high: at most half of it.
int StripHeight(int height)
{
    return std::min(kStripHeight, height / 2);
}

struct StripOptions {
    std::vector<std::string> files;
    std::string viewClass;
    std::string png;
    bool chest = false;   // the comparison shows the chest leads
    int style = 0;        // the page's wave style; 0 the kind's first
    bool styleGiven = false;
    int dragFrom = -1;    // x of the press along the strip's first row, -1 no drag
    int dragTo = -1;
    bool overlap = false; // the average comparison's last column superimposes the others
    int pageStyle = 41;   // the average comparison's page style
    bool pageStyleGiven = false;
    std::string pdf;
    int width = kFrameWidth;
    int height = kFrameHeight;
    bool sized = false;   // --size given
    bool ratioGiven = false;
    // The hover magnifier with the mouse at a point of the frame.
    int magnifyX = -1;
    int magnifyY = -1;
    float ratio = 4.0f;
    std::string magnifierPng;
};

bool ParseStripOptions(int argc, char** argv, StripOptions& options)
{
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if ((arg == "--view" || arg == "--png" || arg == "--pdf" || arg == "--style" || arg == "--drag-strip" ||
             arg == "--page-style" || arg == "--size" || arg == "--magnify" || arg == "--ratio" ||
             arg == "--magnifier-png") &&
            !hasValue) {
            std::fprintf(stderr, "morvelance-host: %s needs a value\n", arg.c_str());
            return false;
        }
        if (arg == "--view") {
            options.viewClass = argv[++i];
        } else if (arg == "--pdf") {
            options.pdf = argv[++i];   // the strips' PDF goes through the ordinary print command
        } else if (arg == "--chest") {
            options.chest = true;
        } else if (arg == "--overlap") {
            options.overlap = true;
        } else if (arg == "--page-style") {
            if (!TakeNumberOption(argc, argv, i, 0, 100000, nullptr, options.pageStyle)) return false;
            options.pageStyleGiven = true;
        } else if (arg == "--png") {
            options.png = argv[++i];
        } else if (arg == "--style") {
            if (!TakeNumberOption(argc, argv, i, 0, 100000, "--style takes a style number", options.style))
                return false;
            options.styleGiven = true;
        } else if (arg == "--size") {
            if (!ParseFrameSize(argv[++i], options.width, options.height)) return false;
            options.sized = true;
        } else if (arg == "--magnify") {
            if (std::sscanf(argv[++i], "%d,%d", &options.magnifyX, &options.magnifyY) != 2 || options.magnifyX < 0 ||
                options.magnifyY < 0) {
                std::fprintf(stderr, "morvelance-host: --magnify takes X,Y\n");
                return false;
            }
        } else if (arg == "--ratio") {
            if (std::sscanf(argv[++i], "%f", &options.ratio) != 1 || options.ratio < 1.0f) {
                std::fprintf(stderr, "morvelance-host: --ratio takes a number of at least 1\n");
                return false;
            }
            options.ratioGiven = true;
        } else if (arg == "--magnifier-png") {
            options.magnifierPng = argv[++i];
        } else if (arg == "--drag-strip") {
            if (std::sscanf(argv[++i], "%d,%d", &options.dragFrom, &options.dragTo) != 2 || options.dragFrom < 0 ||
                options.dragTo < 0) {
                std::fprintf(stderr, "morvelance-host: --drag-strip takes X1,X2\n");
                return false;
            }
        } else if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            std::fprintf(stderr, "morvelance-host: unknown option '%s' for the strip\n", arg.c_str());
            return false;
        } else {
            options.files.push_back(arg);
        }
    }
    if (options.files.empty() || (options.png.empty() && options.pdf.empty())) {
        std::fprintf(stderr, "morvelance-host: --view %s needs record files and --png OUT.png or --pdf OUT.pdf\n",
                     options.viewClass.c_str());
        return false;
    }
    return true;
}

// The strip's wave style as the panes choose it: 18 under a rhythm page, 13 otherwise.
int StripStyleOf(int kind)
{
    return kind == DOC_TYPE_RHYTHM ? 18 : 13;
}

// The page style: the one asked for, else the kind's first.
int PageStyleOf(CTavrionDoc& doc, int asked)
{
    static const int kFirstStyle[] = {1, 1, 16, 20, 22, 1, 1};
    const int kind = doc.GetDocType();
    if (asked > 0) return asked;
    return kind >= 0 && kind <= 6 ? kFirstStyle[kind] : 1;
}

// A page pane: the multi-lead page over the strip; a drag of the strip
// moves the page to the sample the strip names.
class CStripPane : public CWnd {
public:
    bool Create(CTavrionDoc& doc, int pageStyle, int frameWidth, int frameHeight)
    {
        if (!CreateEx(0, nullptr, L"morvelance-host", WS_POPUP | WS_VISIBLE, CRect(0, 0, frameWidth, frameHeight),
                      nullptr, 0))
            return false;
        CCreateContext context;
        context.m_pCurrentDoc = &doc;
        m_page = new CViewRhythmWave;
        m_strip = new CViewScroll1LeadWave;
        const CRect pageRect(0, 0, frameWidth, frameHeight - StripHeight(frameHeight));
        const CRect stripRect(0, frameHeight - StripHeight(frameHeight), frameWidth, frameHeight);
        if (!m_page->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, pageRect, this, 200, &context) ||
            !m_strip->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, stripRect, this, 202, &context))
            return false;
        const int kind = doc.GetDocType();
        doc.SetRhythmWaveStyle(pageStyle);
        m_page->SetDocType(kind);
        m_page->SetWaveStyle(pageStyle, TRUE);
        m_page->OnUpdate(nullptr, 0, nullptr);
        m_strip->SetDocType(kind);
        m_strip->SetRhythm1LeadID(RecordStripLead(doc));
        m_strip->SetWaveStyle(StripStyleOf(kind), TRUE);
        m_strip->OnUpdate(nullptr, 0, nullptr);
        return true;
    }
    CViewRhythmWave* Page() const { return m_page; }
    CViewScroll1LeadWave* Strip() const { return m_strip; }
    int Moves() const { return m_nMoves; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_STRIP_DRAGGED && m_page) {
            ++m_nMoves;
            m_page->SetStartTime(static_cast<int>(wParam));
            m_page->UpdateDrawDC();
            m_page->UpdateWindow();
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }

private:
    CViewRhythmWave* m_page = nullptr;          // deleted with their windows
    CViewScroll1LeadWave* m_strip = nullptr;
    int m_nMoves = 0;
};

// The window's picture into a PNG.
bool SaveFrame(CWnd& frame, const std::string& png)
{
    CRect client;
    frame.GetClientRect(&client);
    CDC image;
    if (!image.Attach(platform::gdi::CreateImageDC(client.Width(), client.Height()))) return false;
    CClientDC screen(&frame);
    image.BitBlt(0, 0, client.Width(), client.Height(), &screen, 0, 0, SRCCOPY);
    return platform::gdi::SaveImagePng(image.GetSafeHdc(), png.c_str());
}

bool PaintStrip(CTavrionDoc& doc, const StripOptions& options, const std::string& png)
{
    // The frame fills a screen of its size, so that every point of it can be pointed at.
    platform::ui::Desktop::SetScreenSize(options.width, options.height);
    CStripPane pane;
    if (!pane.Create(doc, PageStyleOf(doc, options.style), options.width, options.height)) {
        std::fprintf(stderr, "morvelance-host: the strip could not be created\n");
        pane.DestroyWindow();
        return false;
    }
    pane.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    if (options.dragFrom >= 0) {
        // Along the strip's first row, dragged through the desktop as a user does.
        const int y = StripHeight(options.height) / std::max(1, pane.Strip()->GetRowCount()) / 2;
        platform::ui::Desktop::Drag(pane.Strip()->GetSafeHwnd(), POINT{options.dragFrom, y},
                                    POINT{options.dragTo, y});
        platform::ui::Desktop::PumpMessages();
        std::printf("page start %d\n", pane.Page()->GetStartTime());
    }
    pane.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const bool saved = SaveFrame(pane, png);
    pane.DestroyWindow();
    if (!saved) {
        std::fprintf(stderr, "morvelance-host: %s could not be written\n", png.c_str());
        return false;
    }
    std::printf("%s\n", png.c_str());
    return true;
}

// ---- the serial rhythm comparison ----------------------------------------------------------

// What a comparison view needs of one opened record: the record's document
// as the rest or MFER document, an empty one of the other kind, and a base
// list holding the record.
struct ComparedRecord {
    std::unique_ptr<CTavrionDoc> doc;
    CRestViewDoc emptyRest;
    CMFERViewDoc emptyMfer;
    CTavrionDoc base;

    bool List()
    {
        emptyRest.m_bAutoDelete = emptyMfer.m_bAutoDelete = base.m_bAutoDelete = FALSE;
        // The base list takes the entry once the record is known to be one it compares.
        std::unique_ptr<_DATAITEM> listed(new _DATAITEM);
        if (auto* rest = DYNAMIC_DOWNCAST(CRestViewDoc, doc.get())) {
            if (!CopyKeys(rest->GetCurrentDataItem(), *listed)) return false;
        } else if (auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, doc.get())) {
            if (!CopyKeys(mfer->GetCurrentDataItem(), *listed)) return false;
        } else {
            return false;
        }
        base.GetDataManager().AppendItem(listed.release());
        return true;
    }
    CRestViewDoc* Rest() { return DYNAMIC_DOWNCAST(CRestViewDoc, doc.get()) ? static_cast<CRestViewDoc*>(doc.get()) : &emptyRest; }
    CMFERViewDoc* Mfer() { return DYNAMIC_DOWNCAST(CMFERViewDoc, doc.get()) ? static_cast<CMFERViewDoc*>(doc.get()) : &emptyMfer; }

private:
    // The record's keys into its entry of the base list; false without a current item.
    template <class Item> static bool CopyKeys(const Item* item, _DATAITEM& listed)
    {
        if (!item) return false;
        listed.uSystemCode = item->uSystemCode;
        listed.strXMLPath = item->strXMLPath;
        listed.strFilePath = item->strFilePath;
        listed.strThirdKey = item->strThirdKey;
        return true;
    }
};

// The view on its record as the comparison pane sets it up, its one-lead
// rows showing `stripLead`; the caller updates it.
void SetUpComparison(CViewSerialComRhy& view, ComparedRecord& record, int style, bool chest, BOOL sameID,
                     int stripLead)
{
    view.SetRhythm1LeadID(stripLead);
    view.SetRestViewDoc(record.Rest());
    view.SetMFERViewDoc(record.Mfer());
    view.SetBaseECGDoc(&record.base);
    view.SetDocType(record.doc->GetDocType());
    view.SetSerialIndex(0);
    view.SetShowChestLead(chest ? TRUE : FALSE);
    view.SetIsSameID(sameID);
    // The strip keeps its own one-lead layout.
    if (DYNAMIC_DOWNCAST(CViewScroll1LeadRhyWave, &view)) return;
    view.SetWaveStyle(style == 13 ? 13 : 29, TRUE);
    // The measuring tools (calipers, scale, magnifier) are out unless the
    // document put its calipers away, as the pane has them.
    view.ShowDivider(record.doc->GetDividerCheck() >= 0 ? TRUE : FALSE);
}

// The comparison pane: each record's view over its overview strip; a strip's
// drag moves the page of the view above it.
class CComparisonPane : public CWnd {
public:
    std::vector<CViewSerialComRhy*> views;   // deleted with their windows

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_STRIP_DRAGGED && lParam >= 0 && static_cast<size_t>(lParam) < views.size()) {
            views[lParam]->SetStartTime(static_cast<int>(wParam));
            views[lParam]->UpdateDrawDC();
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

bool PaintComparison(std::vector<std::unique_ptr<ComparedRecord>>& records, const StripOptions& options)
{
    platform::ui::Desktop::SetScreenSize(options.width, options.height);
    CComparisonPane frame;
    if (!frame.CreateEx(0, nullptr, L"morvelance-host", WS_POPUP | WS_VISIBLE, CRect(0, 0, options.width, options.height),
                        nullptr, 0))
        return false;
    const int width = options.width / static_cast<int>(records.size());
    const int stripHeight = StripHeight(options.height);
    // Every strip shows the lead the current (first) record's XML names, as
    // the comparison pane shows one lead for all its records.
    const int stripLead = RecordStripLead(*records.front()->doc);
    for (size_t i = 0; i < records.size(); ++i) {
        CCreateContext context;
        context.m_pCurrentDoc = records[i]->doc.get();
        auto* view = new CViewSerialComRhy;
        auto* strip = new CViewScroll1LeadRhyWave;
        const int left = static_cast<int>(i) * width;
        const CRect page(left, 0, left + width, options.height - stripHeight);
        const CRect below(left, options.height - stripHeight, left + width, options.height);
        if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, page, &frame, 300 + static_cast<int>(i), &context) ||
            !strip->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, below, &frame, 310 + static_cast<int>(i), &context)) {
            frame.DestroyWindow();
            return false;
        }
        frame.views.push_back(view);
        SetUpComparison(*view, *records[i], options.style, options.chest, TRUE, stripLead);
        view->OnUpdate(nullptr, 0, nullptr);
        SetUpComparison(*strip, *records[i], 13, false, TRUE, stripLead);
        strip->SetViewIndex(static_cast<int>(i));
        strip->OnUpdate(nullptr, 0, nullptr);
    }
    frame.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const bool saved = SaveFrame(frame, options.png);
    bool magnified = true;
    if (saved && options.magnifyX >= 0 && !options.magnifierPng.empty()) {
        // The record's view under the point: the magnifier of its record's
        // document and of the comparison's.
        const size_t i = std::min(records.size() - 1, static_cast<size_t>(options.magnifyX / std::max(1, width)));
        magnified = SaveMagnifierPng({&records[i]->base, records[i]->doc.get()}, frame.views[i],
                                     options.magnifyX - static_cast<int>(i) * width, options.magnifyY, options.ratio,
                                     options.magnifierPng);
    }
    frame.DestroyWindow();
    if (!saved) {
        std::fprintf(stderr, "morvelance-host: %s could not be written\n", options.png.c_str());
        return false;
    }
    std::printf("%s\n", options.png.c_str());
    return magnified;
}

int RunComparison(const StripOptions& options, const RecordOpener& open)
{
    std::vector<std::unique_ptr<ComparedRecord>> records;
    for (const std::string& file : options.files) {
        auto record = std::make_unique<ComparedRecord>();
        if (!open(file, record->doc) || !record->doc) return 1;
        if (options.styleGiven && !SerialStyleOrSays(kSerialRhythmView, options.style, *record->doc)) return 1;
        record->doc->m_bAutoDelete = FALSE;
        if (!record->List()) {
            std::fprintf(stderr, "morvelance-host: %s is neither a resting nor an MFER record\n", file.c_str());
            return 1;
        }
        // A record the comparison does not take would stand as an empty column.
        const std::string leftOut = SerialLeftOutReason(*record->doc);
        if (!leftOut.empty()) {
            std::fprintf(stderr, "morvelance-host: %s: left out of the serial comparison: %s\n", file.c_str(),
                         leftOut.c_str());
            continue;
        }
        records.push_back(std::move(record));
    }
    if (records.empty()) {
        std::fprintf(stderr, "morvelance-host: the serial comparison has no record to compare\n");
        return 1;
    }
    return PaintComparison(records, options) ? 0 : 1;
}

// ---- the serial comparison of average beats ------------------------------------------------

// The patient's records as the average comparison pane holds them, with the
// view set up on them as the pane does.
struct AverageRecords : SerialRecordSet {
    // The view on these records, as the pane sets it up.
    void SetUp(CViewSerialComAve& view, const StripOptions& options)
    {
        view.SetBaseECGDoc(&base);
        view.SetRestViewDoc(&rest);
        view.SetMFERViewDoc(&mfer);
        view.SetDocType(kind);
        view.SetViewIndex(0);
        view.SetShowChestLead(options.chest ? TRUE : FALSE);
        view.SetShowOverlappedWave(options.overlap ? TRUE : FALSE);
        view.SetPageStyle(options.pageStyle);
        for (int slot = 0; slot < SERIAL_AVE_SLOTS; ++slot) view.SetSerialIndex(slot, slot < count ? slot : -1);
        view.OnUpdate(nullptr, 0, nullptr);
    }
};

bool PaintAverage(AverageRecords& records, const StripOptions& options)
{
    platform::ui::Desktop::SetScreenSize(options.width, options.height);
    CWnd frame;
    if (!frame.CreateEx(0, nullptr, L"morvelance-host", WS_POPUP | WS_VISIBLE, CRect(0, 0, options.width, options.height),
                        nullptr, 0))
        return false;
    CCreateContext context;
    context.m_pCurrentDoc = &records.base;
    auto* view = new CViewSerialComAve;   // deleted with its window
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, options.width, options.height), &frame, 320,
                      &context)) {
        frame.DestroyWindow();
        return false;
    }
    records.SetUp(*view, options);
    frame.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const bool saved = SaveFrame(frame, options.png);
    frame.DestroyWindow();
    if (!saved) std::fprintf(stderr, "morvelance-host: %s could not be written\n", options.png.c_str());
    else std::printf("%s\n", options.png.c_str());
    return saved;
}

// The comparison on one page of paper, the records of another patient left off.
bool PrintAverage(AverageRecords& records, const StripOptions& options)
{
    CViewSerialComAve view;
    records.SetUp(view, options);
    const PdfPageDraw page = [&](CECGDC* dc, const CRect& area, double pxPerMm) {
        const int widthMm = static_cast<int>(area.Width() / pxPerMm);
        const int heightMm = static_cast<int>(area.Height() / pxPerMm);
        return view.Print(dc, area, widthMm, heightMm, pxPerMm, 0, FALSE, FALSE) != FALSE;
    };
    if (!PrintPagesToPdf(records.rest, {page}, options.pdf)) {
        std::fprintf(stderr, "morvelance-host: %s could not be printed\n", options.pdf.c_str());
        return false;
    }
    std::printf("%s\n", options.pdf.c_str());
    return true;
}

// The page styles of the average comparison's page for the records' kind:
// 41 to 43 for resting records, 45, 46 and 48 for MFER records. Another
// would be drawn as the first.
bool AveragePageStyleOrSays(const AverageRecords& records, const StripOptions& options)
{
    if (!options.pageStyleGiven) return true;
    const bool mfer = records.kind == DOC_TYPE_MFER;
    const std::vector<int> styles = mfer ? std::vector<int>{45, 46, 48} : std::vector<int>{41, 42, 43};
    if (std::find(styles.begin(), styles.end(), options.pageStyle) != styles.end()) return true;
    ReportFailure("--page-style %d: %s takes page styles %s for %s records", options.pageStyle, kSerialAverageView,
                  mfer ? "45, 46 and 48" : "41 to 43", mfer ? "MFER" : "resting");
    return false;
}

int RunAverage(const std::string& command, const StripOptions& options, const RecordOpener& open)
{
    AverageRecords records;
    if (!records.OpenAll(options.files, open, true)) return 1;
    if (options.styleGiven && !SerialStyleOrSays(kSerialAverageView, options.style, records.rest)) return 1;
    if (!AveragePageStyleOrSays(records, options)) return 1;
    if (command == "print") return !options.pdf.empty() && PrintAverage(records, options) ? 0 : 1;
    return !options.png.empty() && PaintAverage(records, options) ? 0 : 1;
}

}  // namespace

bool IsSerialCommandRequest(const std::string& command, int argc, char** argv)
{
    if (command == "view") return IsSerialViewRequest(argc, argv);
    for (int i = 0; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--view") == 0) return command == "print" && std::strcmp(argv[i + 1], kSerialAverageView) == 0;
    return false;
}

bool IsSerialViewRequest(int argc, char** argv)
{
    for (int i = 0; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--view") == 0)
            return std::strcmp(argv[i + 1], kStripView) == 0 || std::strcmp(argv[i + 1], kSerialRhythmView) == 0 ||
                   std::strcmp(argv[i + 1], kSerialAverageView) == 0;
    return false;
}

bool IsSerialView(CView* view)
{
    return DYNAMIC_DOWNCAST(CViewScroll1LeadWave, view) != nullptr || DYNAMIC_DOWNCAST(CViewSerialComRhy, view) != nullptr;
}

// One record of the comparison on paper: its caption line, then the view
// under it at the comparison's grid.
bool PrintComparedRecord(CTavrionDoc& doc, CViewSerialComRhy& view, CECGDC* dc, CRect area, double pxPerMm, int style)
{
    ComparedRecord record;
    record.doc.reset(&doc);
    const bool listed = record.List();
    // A record the comparison does not take would print as a caption over empty paper.
    const std::string leftOut = listed ? SerialLeftOutReason(doc) : std::string();
    if (!leftOut.empty()) ReportFailure("left out of the serial comparison: %s", leftOut.c_str());
    bool ok = false;
    if (listed && leftOut.empty()) {
        SetUpComparison(view, record, style, false, TRUE, RecordStripLead(doc));
        view.OnUpdate(nullptr, 0, nullptr);
        int gridX = 0, gridY = 0;
        view.GetGridCount(gridX, gridY);
        const int captionHeight = static_cast<int>(8 * pxPerMm);
        ok = view.PrintWaveInfo(dc, CRect(area.left, area.top, area.right, area.top + captionHeight), FALSE) &&
             view.Print(dc, CRect(area.left, area.top + captionHeight, area.right, area.bottom), gridX, gridY,
                        pxPerMm, 0, TRUE);
    }
    record.doc.release();   // the caller's document
    return ok;
}

bool PrintSerialView(CTavrionDoc& doc, CView* view, CECGDC* dc, CRect area, double pxPerMm, int pageStyle)
{
    if (auto* comparison = DYNAMIC_DOWNCAST(CViewSerialComRhy, view))
        return PrintComparedRecord(doc, *comparison, dc, area, pxPerMm, pageStyle);
    auto* strip = DYNAMIC_DOWNCAST(CViewScroll1LeadWave, view);
    if (!strip) return false;
    const int kind = doc.GetDocType();
    doc.SetRhythmWaveStyle(PageStyleOf(doc, pageStyle));
    strip->SetDocType(kind);
    strip->SetRhythm1LeadID(RecordStripLead(doc));
    strip->SetWaveStyle(StripStyleOf(kind), TRUE);
    strip->SetDurationMarkInfo(0, 0, 10.0, 1);   // the page's span under the strip
    strip->OnUpdate(nullptr, 0, nullptr);
    int gridX = 0;
    int gridY = 0;
    strip->GetGridCount(gridX, gridY);
    const int widthMm = static_cast<int>(area.Width() / pxPerMm);
    const int heightMm = std::min(gridY, static_cast<int>(area.Height() / pxPerMm));
    const CRect band(area.left, area.top, area.left + static_cast<int>(widthMm * pxPerMm),
                     area.top + static_cast<int>(heightMm * pxPerMm));
    return strip->Print(dc, band, widthMm, heightMm, pxPerMm, 0) != FALSE;
}

bool SerialStyleOrSays(const std::string& name, int style, CTavrionDoc& doc)
{
    // Any style but the one-lead 13 would draw the comparison's page style
    // 29 while the command said it drew the style asked for.
    if (name == kSerialRhythmView) {
        if (style == 13 || style == 29) return true;
        ReportFailure("--style %d: %s draws styles 13 and 29", style, name.c_str());
        return false;
    }
    if (name == kSerialAverageView) {
        ReportFailure("--style %d: %s takes --page-style, not --style", style, name.c_str());
        return false;
    }
    return WaveStyleOrSays(name, style, doc);
}

int RunSerialViewCommand(const std::string& command, int argc, char** argv, const RecordOpener& open)
{
    StripOptions options;
    if (!ParseStripOptions(argc, argv, options)) return 2;
    // What each view applies of the options: the comparisons show the chest
    // leads, the average comparison its page style and overlapped beat, the
    // strip is dragged; a picture goes to --png at its size, a print to --pdf.
    const bool view = command == "view", average = options.viewClass == kSerialAverageView;
    const bool rhythm = options.viewClass == kSerialRhythmView;
    if (!OptionsTakenOrSays(command + " --view " + options.viewClass,
                            {
                                {options.chest, "--chest", rhythm || average},
                                {options.overlap, "--overlap", average},
                                {options.pageStyleGiven, "--page-style", average},
                                {options.dragFrom >= 0, "--drag-strip", options.viewClass == kStripView},
                                {options.ratioGiven, "--ratio", options.magnifyX >= 0},
                                {!options.png.empty(), "--png", view},
                                {!options.pdf.empty(), "--pdf", !view},
                                {options.sized, "--size", view},
                            }))
        return 1;
    if (options.viewClass == kSerialAverageView) return RunAverage(command, options, open);
    if (options.viewClass == kSerialRhythmView) return RunComparison(options, open);
    int failures = 0;
    for (size_t index = 0; index < options.files.size(); ++index) {
        std::unique_ptr<CTavrionDoc> doc;
        if (!open(options.files[index], doc) || !doc) {
            ++failures;
            continue;
        }
        doc->m_bAutoDelete = FALSE;
        if ((options.styleGiven && !SerialStyleOrSays(kStripView, options.style, *doc)) ||
            !PaintStrip(*doc, options, Numbered(options.png, index)))
            ++failures;
    }
    return failures ? 1 : 0;
}

}  // namespace host
