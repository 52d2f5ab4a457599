#include "host/ViewCommand.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/TavrionDoc.h"
#include "host/EnlargedViewCommand.h"
#include "host/MagnifierPreview.h"
#include "host/SheetView.h"
#include "platform/base/CodePage.h"
#include "platform/base/Registry.h"
#include "platform/gdi/Dc.h"
#include "platform/gdi/Image.h"
#include "platform/print/PrintSetup.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/FrameWnd.h"
#include "printdevice/ECGDC.h"
#include "printdevice/ECGPrinter.h"
#include "waveviews/ViewRhythmWave.h"

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

const char* const kAllViews[] = {"sheet", "CTavrionView", "CWaveView", "CViewRhythmWave"};

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

// The multi-lead view shows the style asked for (else the kind's first),
// page `page` of the record.
void SetUpRhythmView(CTavrionDoc& doc, CView* view, int style, int page)
{
    auto* rhythm = DYNAMIC_DOWNCAST(CViewRhythmWave, view);
    if (!rhythm) return;
    static const int kFirstStyle[] = {1, 1, 16, 20, 22, 1, 1};
    const int kind = doc.GetDocType();
    rhythm->SetDocType(kind);
    rhythm->SetWaveStyle(style > 0 ? style : (kind >= 0 && kind <= 6 ? kFirstStyle[kind] : 1), TRUE);
    rhythm->OnUpdate(nullptr, 0, nullptr);
    rhythm->ChangePageSample(page);
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

// One A4 landscape page: the grid by PrintWaveGrid first, as a report does,
// then the view's own drawing when it prints.
bool PrintToPdf(CTavrionDoc& doc, CRuntimeClass* viewClass, const std::string& pdf, const ViewOptions& options)
{
    const std::string work = MakeTempFolder();
    if (work.empty()) return false;
    platform::print::PdfPrinterSetup setup;
    setup.outputFolder = platform::FromUtf8(work + "/printer");
    setup.installFolder = platform::FromUtf8(work + "/Adobe");
    mkdir((work + "/printer").c_str(), 0755);
    // A PDF printer the user installed is used as it is and left in place;
    // without one the host installs its own for the job.
    HKEY key = nullptr;
    const bool installed = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPdfPrinterKey, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS;
    if (key) RegCloseKey(key);
    bool ok = installed || platform::print::ConfigurePdfPrinter(setup);
    if (ok) {
        CECGPrinter printer;
        printer.SetPrinterName(CString(platform::print::kPdfPrinterName));
        printer.SetPDFSavePath(CString(platform::FromUtf8(work + "/saved/").c_str()));
        printer.SetPageSize(9, 2);
        printer.SetPrintMargin(10, 10, 10, 10);
        ok = printer.CreateECGPrintDC(&doc);
        CECGDC* dc = ok ? printer.GetPrintECGDC() : nullptr;
        if (dc && dc->StartDoc(L"morvelance") > 0 && dc->StartPage() > 0) {
            const _PRINTER_SETTING* setting = printer.GetPrintSetting();
            const double px = setting->fPixelPerMM;
            const CRect area(setting->nPrintLeft, setting->nPrintTop, setting->nPrintRight, setting->nPrintBottom);
            const int widthMm = static_cast<int>(area.Width() / px);
            const int heightMm = static_cast<int>(area.Height() / px);
            // The view lives in a pane only to be made as the panes make it.
            Pane pane(doc, viewClass, 400, 300);
            auto* waveView = DYNAMIC_DOWNCAST(CWaveView, pane.View());
            if (waveView) {
                waveView->PrintWaveGrid(dc, area, widthMm, heightMm, px, TRUE, TRUE, FALSE);
                if (auto* rhythm = DYNAMIC_DOWNCAST(CViewRhythmWave, waveView)) {
                    SetUpRhythmView(doc, rhythm, options.style, 0);
                    int gridX = 0, gridY = 0;
                    rhythm->GetGridCount(gridX, gridY);
                    ok = rhythm->Print(dc, area, gridX, gridY, px, 0, options.page, 0) == 1;
                }
                if (auto* sheet = DYNAMIC_DOWNCAST(CSheetView, waveView)) {
                    const CRect paper(area.left, area.top, area.left + static_cast<int>(widthMm * px),
                                      area.top + static_cast<int>(heightMm * px));
                    sheet->Print(dc, paper, widthMm, heightMm);
                }
            }
            ok = dc->EndPage() > 0 && ok;
            ok = dc->EndDoc() > 0 && ok;
        } else {
            ok = false;
        }
        printer.RecoverDistillerInfo();
        ok = ok && printer.MovePDFFile();
    }
    const std::string made = ok ? FindPdf(work + "/saved") : std::string();
    ok = !made.empty() && std::rename(made.c_str(), pdf.c_str()) == 0;
    if (!ok && !made.empty()) {
        // Another file system: copy.
        FILE* in = std::fopen(made.c_str(), "rb");
        FILE* out = std::fopen(pdf.c_str(), "wb");
        if (in && out) {
            char buffer[65536];
            size_t n;
            ok = true;
            while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) ok = ok && std::fwrite(buffer, 1, n, out) == n;
        }
        if (in) std::fclose(in);
        if (out) ok = std::fclose(out) == 0 && ok;
    }
    if (!installed) platform::print::RemovePrinter(platform::print::kPdfPrinterName);
    RemoveTree(work);
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
    ViewOptions options;
    if (!ParseOptions(command, argc, argv, options)) return 2;
    std::vector<std::string> classes;
    if (options.viewClass == "all")
        classes.assign(std::begin(kAllViews), std::end(kAllViews));
    else
        classes.push_back(options.viewClass);
    if (command == "view" && !options.outDir.empty()) mkdir(options.outDir.c_str(), 0755);

    int failures = 0;
    for (size_t index = 0; index < options.files.size(); ++index) {
        std::unique_ptr<CTavrionDoc> doc;
        if (!open(options.files[index], doc) || !doc) {
            ++failures;
            continue;
        }
        doc->m_bAutoDelete = FALSE;
        ApplyDisplayOptions(*doc, options);
        for (const std::string& name : classes) {
            CRuntimeClass* viewClass = ViewClass(name);
            if (!viewClass) {
                ++failures;
                continue;
            }
            bool ok;
            if (command == "view") {
                const std::string png = options.viewClass == "all"
                                            ? Numbered(options.outDir + "/" + name + ".png", index)
                                            : Numbered(options.png, index);
                ok = PaintToPng(*doc, viewClass, options, png);
            } else {
                ok = PrintToPdf(*doc, viewClass, Numbered(options.pdf, index), options);
            }
            if (!ok) ++failures;
        }
    }
    return failures ? 1 : 0;
}

}  // namespace host
