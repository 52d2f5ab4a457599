#include "host/ViewCommand.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <vector>

#include "core/TavrionDoc.h"
#include "core/TavrionView.h"
#include "host/EnlargedViewCommand.h"
#include "host/SerialViewCommand.h"
#include "host/AnalysisViewCommand.h"
#include "host/MagnifierPreview.h"
#include "host/OutputFolder.h"
#include "host/SheetView.h"
#include "platform/base/CodePage.h"
#include "platform/base/Registry.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/Dc.h"
#include "platform/gdi/Image.h"
#include "platform/print/PrintSetup.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/FrameWnd.h"
#include "printdevice/ECGDC.h"
#include "printdevice/ECGPrinter.h"
#include "core/AnnotationInfo.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/WaveItemRef.h"

namespace host {
namespace {

struct ViewOptions {
    std::vector<std::string> files;
    std::string viewClass;
    int width = 1920;
    int height = 1080;
    int smooth = -1;   // -1: the record's own setting
    int grid = -1;     // 0 dots, 1 lines, -1 the record's own
    int style = 0;     // multi-lead view: wave style, 0 the document's
    int page = 0;      // multi-lead view: pages forward from the first
    std::string png;
    std::string outDir;
    std::string pdf;
    int mouseMode = 0;   // 0: the document's own
    int magnifyX = -1;
    int magnifyY = -1;
    float ratio = 4.0f;
    std::string magnifierPng;
};

const wchar_t kPdfPrinterKey[] = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Acrobat Distiller";

// The views that draw a record by themselves; their bases (CTavrionView,
// CWaveView) paint bare paper and are only shown when named.
const char* const kAllViews[] = {"sheet", "CViewRhythmWave"};

bool ParseOptions(const std::string& command, int argc, char** argv, ViewOptions& options)
{
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "morvelance-host: %s needs a value\n", arg.c_str());
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string text;
        if (arg == "--view") {
            if (!value(options.viewClass)) return false;
        } else if (arg == "--size") {
            if (!value(text) || std::sscanf(text.c_str(), "%dx%d", &options.width, &options.height) != 2 ||
                options.width < 16 || options.height < 16 || options.width > 10000 || options.height > 10000) {
                std::fprintf(stderr, "morvelance-host: --size takes WIDTHxHEIGHT (16 to 10000 pixels)\n");
                return false;
            }
        } else if (arg == "--smooth") {
            if (!value(text) || text.size() != 1 || text[0] < '0' || text[0] > '3') {
                std::fprintf(stderr, "morvelance-host: --smooth takes 0, 1, 2 or 3\n");
                return false;
            }
            options.smooth = text[0] - '0';
        } else if (arg == "--grid") {
            if (!value(text) || (text != "lines" && text != "dots")) {
                std::fprintf(stderr, "morvelance-host: --grid takes lines or dots\n");
                return false;
            }
            options.grid = text == "lines" ? 1 : 0;
        } else if (arg == "--style" || arg == "--page") {
            if (!value(text)) return false;
            (arg == "--style" ? options.style : options.page) = std::atoi(text.c_str());
        } else if (arg == "--mode") {
            if (!value(text) || text.size() != 1 || text[0] < '1' || text[0] > '3') {
                std::fprintf(stderr, "morvelance-host: --mode takes 1, 2 or 3\n");
                return false;
            }
            options.mouseMode = text[0] - '0';
        } else if (arg == "--magnify") {
            if (!value(text) || std::sscanf(text.c_str(), "%d,%d", &options.magnifyX, &options.magnifyY) != 2) {
                std::fprintf(stderr, "morvelance-host: --magnify takes X,Y\n");
                return false;
            }
        } else if (arg == "--ratio") {
            if (!value(text) || std::sscanf(text.c_str(), "%f", &options.ratio) != 1 || options.ratio < 1.0f) {
                std::fprintf(stderr, "morvelance-host: --ratio takes a number of at least 1\n");
                return false;
            }
        } else if (arg == "--magnifier-png") {
            if (!value(options.magnifierPng)) return false;
        } else if (arg == "--png") {
            if (!value(options.png)) return false;
        } else if (arg == "--out") {
            if (!value(options.outDir)) return false;
        } else if (arg == "--pdf") {
            if (!value(options.pdf)) return false;
        } else if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            std::fprintf(stderr, "morvelance-host: unknown option '%s'\n", arg.c_str());
            return false;
        } else {
            options.files.push_back(arg);
        }
    }
    if (options.files.empty()) {
        std::fprintf(stderr, "morvelance-host: %s needs at least one record file\n", command.c_str());
        return false;
    }
    if (options.viewClass.empty()) {
        std::fprintf(stderr, "morvelance-host: %s needs --view CLASS\n", command.c_str());
        return false;
    }
    if (command == "view") {
        const bool all = options.viewClass == "all";
        if (all ? options.outDir.empty() : options.png.empty()) {
            std::fprintf(stderr, "morvelance-host: view needs %s\n", all ? "--out DIR with --view all" : "--png OUT.png");
            return false;
        }
    } else if (options.pdf.empty()) {
        std::fprintf(stderr, "morvelance-host: print needs --pdf OUT.pdf\n");
        return false;
    }
    return true;
}

// OUT.png for the first file, OUT-N.png for the N-th.
std::string Numbered(const std::string& path, size_t index)
{
    if (index == 0) return path;
    const size_t dot = path.rfind('.');
    const size_t slash = path.rfind('/');
    const std::string suffix = "-" + std::to_string(index + 1);
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + suffix;
    return path.substr(0, dot) + suffix + path.substr(dot);
}

CRuntimeClass* ViewClass(const std::string& name)
{
    const std::string className = name == "sheet" ? "CSheetView" : name;
    CObject* probe = CRuntimeClass::CreateObject(className.c_str());
    CRuntimeClass* runtime = nullptr;
    if (probe && probe->IsKindOf(RUNTIME_CLASS(CView))) runtime = probe->GetRuntimeClass();
    delete probe;
    if (!runtime) std::fprintf(stderr, "morvelance-host: no view class '%s'\n", name.c_str());
    if (runtime == RUNTIME_CLASS(CWaveView) || runtime == RUNTIME_CLASS(CTavrionView))
        std::fprintf(stderr, "morvelance-host: note: %s is a base of the views and draws no record by itself\n",
                     name.c_str());
    return runtime;
}

void ApplyDisplayOptions(CTavrionDoc& doc, const ViewOptions& options)
{
    if (options.smooth >= 0) doc.SetSmoothFilterMode(options.smooth);
    if (options.grid >= 0) doc.SetGridType(options.grid);
    if (options.mouseMode > 0) doc.SetMouseMode(options.mouseMode);
}

// The pane: a top-level window of the given size holding a frame with the
// view made from its runtime class on the document.
class Pane {
public:
    Pane(CTavrionDoc& doc, CRuntimeClass* viewClass, int width, int height)
    {
        if (!m_window.CreateEx(0, nullptr, L"morvelance-host", WS_POPUP | WS_VISIBLE, CRect(0, 0, width, height),
                               nullptr, 0))
            return;
        m_frame = new CFrameWnd;
        if (!m_frame->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, width, height), &m_window)) {
            m_frame = nullptr;
            return;
        }
        CCreateContext context;
        context.m_pNewViewClass = viewClass;
        context.m_pCurrentDoc = &doc;
        m_view = DYNAMIC_DOWNCAST(CView, m_frame->CreateView(&context, AFX_IDW_PANE_FIRST));
        if (!m_view) return;
        // The panes show their views without the sunken edge.
        m_view->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_NOACTIVATE | SWP_FRAMECHANGED);
        m_frame->RecalcLayout();
        m_view->SendMessage(WM_INITIALUPDATE, 0, 0);
    }
    ~Pane()
    {
        if (m_frame) m_frame->DestroyWindow();
        m_window.DestroyWindow();
    }
    CView* View() const { return m_view; }

private:
    CWnd m_window;
    CFrameWnd* m_frame = nullptr;   // deletes itself and the view with its window
    CView* m_view = nullptr;
};

// As a pane does on a page change: the shapes of the annotations drawn on
// this page (an annotation keeps the start sample of the page it was drawn
// on) go to the view; the page's first area is the one view the host shows.
void LoadPageAnnotations(CTavrionDoc& doc, CViewRhythmWave* view)
{
    view->SaveAnnoToData(0, nullptr, TRUE);
    const _ANNOTATION_INFO* head = CWaveItemRef::Of(&doc, doc.GetDocType()).GetAnnoHead();
    for (const _ANNOTATION_INFO* anno = head ? head->pNext : nullptr; anno; anno = anno->pNext) {
        const _ANNOTATION_SKETCH* area = anno->GetArea(0);
        if (anno->nStartTime == view->GetStartTime() && area && area->pSketchHead)
            view->LoadSketchInfo(area->pSketchHead);
    }
}

// The multi-lead view shows the style asked for (else the kind's first),
// page `page` of the record.
void SetUpRhythmView(CTavrionDoc& doc, CView* view, int style, int page)
{
    auto* rhythm = DYNAMIC_DOWNCAST(CViewRhythmWave, view);
    if (!rhythm) return;
    static const int kFirstStyle[] = {1, 1, 16, 20, 22, 1, 1};
    const int kind = doc.GetDocType();
    int first = kind >= 0 && kind <= 6 ? kFirstStyle[kind] : 1;
    // An RR record shows its one-lead layout only when it has one lead, as the RR pane does.
    if (kind == DOC_TYPE_RR && doc.GetCurItemLeadCount() != 1) first = 21;
    rhythm->SetDocType(kind);
    rhythm->SetWaveStyle(style > 0 ? style : first, TRUE);
    rhythm->OnUpdate(nullptr, 0, nullptr);
    rhythm->ChangePageSample(page);
    LoadPageAnnotations(doc, rhythm);
}

bool PaintToPng(CTavrionDoc& doc, CRuntimeClass* viewClass, const ViewOptions& options, const std::string& png)
{
    Pane pane(doc, viewClass, options.width, options.height);
    CView* view = pane.View();
    if (!view) {
        std::fprintf(stderr, "morvelance-host: the view could not be created\n");
        return false;
    }
    SetUpRhythmView(doc, view, options.style, options.page);
    SetUpAnalysisView(view, options.page);
    view->Invalidate(TRUE);
    view->UpdateWindow();
    CRect client;
    view->GetClientRect(&client);
    CDC image;
    if (!image.Attach(platform::gdi::CreateImageDC(client.Width(), client.Height()))) return false;
    CClientDC screen(view);
    image.BitBlt(0, 0, client.Width(), client.Height(), &screen, 0, 0, SRCCOPY);
    if (!platform::gdi::SaveImagePng(image.GetSafeHdc(), png.c_str())) {
        std::fprintf(stderr, "morvelance-host: %s could not be written\n", png.c_str());
        return false;
    }
    std::printf("%s\n", png.c_str());
    if (options.magnifyX >= 0 && !options.magnifierPng.empty())
        return SaveMagnifierPng(doc, view, options.magnifyX, options.magnifyY, options.ratio, options.magnifierPng);
    return true;
}

std::string MakeTempFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/morvelance-print-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    return mkdtemp(buffer.data()) ? std::string(buffer.data()) : std::string();
}

void RemoveTree(const std::string& path)
{
    if (DIR* dir = opendir(path.c_str())) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            const std::string child = path + "/" + name;
            struct stat st;
            if (lstat(child.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
                RemoveTree(child);
            else
                unlink(child.c_str());
        }
        closedir(dir);
    }
    rmdir(path.c_str());
}

// The first PDF in a folder, "" when none.
std::string FindPdf(const std::string& folder)
{
    std::string found;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.size() > 4 && strcasecmp(name.c_str() + name.size() - 4, ".pdf") == 0) {
                found = folder + "/" + name;
                break;
            }
        }
        closedir(dir);
    }
    return found;
}

// The report font of a print job: a line of 18/1000 of the printable
// height, in the font every block of a report prints its texts with.
bool CreatePrintFont(CFont& font, int printHeight)
{
    LOGFONT logFont{};
    logFont.lfHeight = printHeight * 18 / 1000;
    logFont.lfWeight = FW_NORMAL;
    logFont.lfCharSet = SHIFTJIS_CHARSET;
    logFont.lfQuality = PROOF_QUALITY;
    logFont.lfPitchAndFamily = FF_MODERN | DEFAULT_PITCH;
    std::wcsncpy(logFont.lfFaceName, L"ＭＳ ゴシック", LF_FACESIZE - 1);
    return font.CreateFontIndirect(&logFont) != FALSE;
}

// Moves (or, across file systems, copies) the finished PDF to its place.
bool MoveFile(const std::string& from, const std::string& to)
{
    if (std::rename(from.c_str(), to.c_str()) == 0) return true;
    FILE* in = std::fopen(from.c_str(), "rb");
    FILE* out = in ? std::fopen(to.c_str(), "wb") : nullptr;
    bool ok = in && out;
    char buffer[65536];
    size_t n;
    while (ok && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0) ok = std::fwrite(buffer, 1, n, out) == n;
    if (in) std::fclose(in);
    if (out) ok = std::fclose(out) == 0 && ok;
    return ok;
}

// One print job through the PDF printer on A4 landscape, as a report prints:
// the report font made for the job, every page the paper grid first
// (PrintWaveGrid) and then the view's own drawing in that font.
class PdfJob {
public:
    explicit PdfJob(CTavrionDoc& doc) : m_doc(doc) {}
    ~PdfJob()
    {
        if (m_printerAdded) platform::print::RemovePrinter(platform::print::kPdfPrinterName);
        if (!m_work.empty()) RemoveTree(m_work);
    }

    bool Begin()
    {
        m_work = MakeTempFolder();
        if (m_work.empty() || !InstallPrinter()) return false;
        m_printer.SetPrinterName(CString(platform::print::kPdfPrinterName));
        m_printer.SetPDFSavePath(CString(platform::FromUtf8(m_work + "/saved/").c_str()));
        m_printer.SetPageSize(9, 2);
        m_printer.SetPrintMargin(10, 10, 10, 10);
        if (!m_printer.CreateECGPrintDC(&m_doc)) return false;
        m_dc = m_printer.GetPrintECGDC();
        const _PRINTER_SETTING* setting = m_printer.GetPrintSetting();
        if (!m_dc || !setting || setting->fPixelPerMM <= 0.0f) return false;
        m_px = setting->fPixelPerMM;
        m_area = CRect(setting->nPrintLeft, setting->nPrintTop, setting->nPrintRight, setting->nPrintBottom);
        m_widthMm = static_cast<int>(m_area.Width() / m_px);
        m_heightMm = static_cast<int>(m_area.Height() / m_px);
        if (!CreatePrintFont(m_font, m_area.Height())) return false;
        m_started = m_dc->StartDoc(L"morvelance") > 0;
        return m_started;
    }

    // Every page of the view; false when a page failed.
    bool PrintView(CRuntimeClass* viewClass, const ViewOptions& options)
    {
        // The view lives in a pane only to be made as the panes make it.
        Pane pane(m_doc, viewClass, 400, 300);
        auto* waveView = DYNAMIC_DOWNCAST(CWaveView, pane.View());
        if (IsSerialView(pane.View()))
            return PrintPage(waveView, [&] { return PrintSerialView(m_doc, pane.View(), m_dc, m_area, m_px, options.style); });
        if (auto* rhythm = DYNAMIC_DOWNCAST(CViewRhythmWave, waveView)) {
            SetUpRhythmView(m_doc, rhythm, options.style, 0);
            int gridX = 0, gridY = 0;
            rhythm->GetGridCount(gridX, gridY);
            return PrintPage(waveView, [&] {
                return rhythm->Print(m_dc, m_area, gridX, gridY, m_px, 0, options.page, 0) == 1;
            });
        }
        if (auto* sheet = DYNAMIC_DOWNCAST(CSheetView, waveView)) {
            const CRect paper(m_area.left, m_area.top, m_area.left + static_cast<int>(m_widthMm * m_px),
                              m_area.top + static_cast<int>(m_heightMm * m_px));
            bool ok = true;
            for (int page = 0; ok && page < sheet->GetPageCount(m_widthMm); ++page)
                ok = PrintPage(waveView, [&] { return sheet->Print(m_dc, paper, m_widthMm, m_heightMm, page) != FALSE; });
            return ok;
        }
        if (IsAnalysisView(pane.View())) {
            bool ok = true;
            for (int i = 0; ok && i < GetAnalysisPrintPages(pane.View(), options.page); ++i)
                ok = PrintPage(nullptr, [&] { return PrintAnalysisPage(pane.View(), m_dc, m_area, i, options.page); });
            return ok;
        }
        return PrintPage(waveView, [] { return true; });
    }

    // Ends the job and puts the PDF at `pdf`.
    bool Finish(const std::string& pdf)
    {
        bool ok = m_started && m_dc->EndDoc() > 0;
        m_started = false;
        m_printer.RecoverDistillerInfo();
        ok = ok && m_printer.MovePDFFile();
        const std::string made = ok ? FindPdf(m_work + "/saved") : std::string();
        return !made.empty() && MoveFile(made, pdf);
    }

private:
    // A PDF printer the user installed is used as it is and left in place;
    // without one the host installs its own for the job.
    bool InstallPrinter()
    {
        HKEY key = nullptr;
        const bool installed =
            RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPdfPrinterKey, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS;
        if (key) RegCloseKey(key);
        if (installed) return true;
        platform::print::PdfPrinterSetup setup;
        setup.outputFolder = platform::FromUtf8(m_work + "/printer");
        setup.installFolder = platform::FromUtf8(m_work + "/Adobe");
        mkdir((m_work + "/printer").c_str(), 0755);
        m_printerAdded = platform::print::ConfigurePdfPrinter(setup);
        return m_printerAdded;
    }

    // One page: the grid, then `draw` with the job's font selected.
    template <class Draw> bool PrintPage(CWaveView* gridView, const Draw& draw)
    {
        if (m_dc->StartPage() <= 0) return false;
        if (gridView) gridView->PrintWaveGrid(m_dc, m_area, m_widthMm, m_heightMm, m_px, TRUE, TRUE, FALSE);
        bool ok;
        {
            CDCObjectSelector<CFont, CECGDC> font(*m_dc, &m_font);
            ok = draw();
        }
        return m_dc->EndPage() > 0 && ok;
    }

    CTavrionDoc& m_doc;
    CECGPrinter m_printer;
    CECGDC* m_dc = nullptr;   // the printer's, for the job
    CFont m_font;
    CRect m_area;             // the printable rectangle, device pixels
    double m_px = 0.0;        // device pixels per millimetre
    int m_widthMm = 0;
    int m_heightMm = 0;
    std::string m_work;       // the job's own folder, removed at the end
    bool m_printerAdded = false;
    bool m_started = false;
};

// Every view of `classes` into one PDF, a page (or, for the sheet, as many
// as the record needs) after the other.
bool PrintToPdf(CTavrionDoc& doc, const std::vector<CRuntimeClass*>& classes, const std::string& pdf,
                const ViewOptions& options)
{
    bool ok;
    {
        PdfJob job(doc);
        ok = job.Begin();
        for (CRuntimeClass* viewClass : classes) ok = ok && job.PrintView(viewClass, options);
        ok = job.Finish(pdf) && ok;
    }
    if (!ok) {
        std::fprintf(stderr, "morvelance-host: %s could not be printed\n", pdf.c_str());
        return false;
    }
    std::printf("%s\n", pdf.c_str());
    return true;
}

}  // namespace

int RunViewCommand(const std::string& command, int argc, char** argv, const RecordOpener& open)
{
    if (command == "view" && IsEnlargedViewRequest(argc, argv)) return RunEnlargedViewCommand(argc, argv, open);
    if (command == "view" && IsSerialViewRequest(argc, argv)) return RunSerialViewCommand(command, argc, argv, open);
    ViewOptions options;
    if (!ParseOptions(command, argc, argv, options)) return 2;
    std::vector<std::string> names;
    if (options.viewClass == "all")
        names.assign(std::begin(kAllViews), std::end(kAllViews));
    else
        names.push_back(options.viewClass);
    std::vector<CRuntimeClass*> classes;
    for (const std::string& name : names) classes.push_back(ViewClass(name));
    if (std::count(classes.begin(), classes.end(), nullptr) > 0) return 1;
    const std::string& target = command == "print" ? options.pdf : options.png;
    if (!(options.outDir.empty() ? MakeFolderOf(target) : MakeOutputFolder(options.outDir))) return 1;

    int failures = 0;
    for (size_t index = 0; index < options.files.size(); ++index) {
        std::unique_ptr<CTavrionDoc> doc;
        if (!open(options.files[index], doc) || !doc) {
            ++failures;
            continue;
        }
        doc->m_bAutoDelete = FALSE;
        ApplyDisplayOptions(*doc, options);
        if (command == "print") {
            if (!PrintToPdf(*doc, classes, Numbered(options.pdf, index), options)) ++failures;
            continue;
        }
        for (size_t view = 0; view < classes.size(); ++view) {
            const std::string png = options.outDir.empty() ? Numbered(options.png, index)
                                                           : Numbered(options.outDir + "/" + names[view] + ".png", index);
            if (!PaintToPng(*doc, classes[view], options, png)) ++failures;
        }
    }
    return failures ? 1 : 0;
}

}  // namespace host
