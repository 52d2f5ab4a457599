// The interpretation forms and the patient strip on a resting record with
// all eight Minnesota and eleven IVREL rows and a wrapped statement: the
// record read again into its item and store (as the host does on a record
// switch), the form's update with both layout passes and the painted form
// (target < 20 ms each); a typed change saved through the document (target
// < 20 ms); and the rest form's relayout after a resize (target < 5 ms).
#include "bench/BenchPaths.h"
#include "bench/BenchTempFolder.h"
#include <benchmark/benchmark.h>


#include <string>
#include <vector>

#include "core/Globals.h"
#include "core/PositionCtrl.h"
#include "core/UserMessages.h"
#include "documents/RestViewDoc.h"
#include "forms/FormInterpre.h"
#include "forms/FormInterpreAme.h"
#include "forms/FormPatientInfo.h"
#include "platform/base/CodePage.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/windowing/Desktop.h"
#include "tools/RestRecord.h"

namespace {

using platform::ui::Desktop;

class WorkDirAt {
public:
    explicit WorkDirAt(const std::string& dir) : m_saved(g_pWorkDir)
    {
        const std::wstring path = platform::FromUtf8(dir);
        m_text.assign(path.begin(), path.end());
        m_text.push_back(L'\0');
        g_pWorkDir = m_text.data();
    }
    ~WorkDirAt() { g_pWorkDir = m_saved; }

private:
    wchar_t* m_saved;
    std::vector<wchar_t> m_text;
};

// A resting record on its document, shown in a form inside a pane frame.
struct FormOnRecord {
    explicit FormOnRecord(CRuntimeClass* form, int width, int height)
        : workDir(MORVELANCE_WORKDIR), folder("morvelance-forms"), dir(folder.Path())
    {
        doc.m_bAutoDelete = FALSE;
        for (auto type : {LOAD_POS_REST, LOAD_POS_RHYTHM}) doc.GetCtrlPosFromXSL(type);
        files = morvelance::WriteRestRecord(dir, "bench", morvelance::RestRecordShape());
        auto* item = new _RESTDATAITEM;
        item->strFilePath = platform::FromUtf8(files.record).c_str();
        item->strXMLPath = platform::FromUtf8(files.xml).c_str();
        doc.GetRestDataManager().AppendItem(item);
        itemId = item->nID;
        opened = Reread();
        host.CreateEx(0, nullptr, L"host", WS_POPUP | WS_VISIBLE, CRect(0, 0, width, height), nullptr, 0);
        frame = new CFrameWnd;
        frame->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, width, height), &host);
        CCreateContext context;
        context.m_pNewViewClass = form;
        context.m_pCurrentDoc = &doc;
        view = dynamic_cast<CFormEx*>(frame->CreateView(&context, AFX_IDW_PANE_FIRST));
        frame->RecalcLayout();
        view->SetDocType(&doc, DOC_TYPE_REST);
        view->SendMessage(WM_INITIALUPDATE, 0, 0);
        view->ShowText();
        // A statement long enough to wrap at the form's width.
        view->SetDlgItemText(3141, L"洞調律 洞調律 洞調律 洞調律 洞調律 洞調律 洞調律 洞調律 洞調律 洞調律 洞調律 洞調律 洞調律");
        view->SendDlgItemMessage(3141, WM_BOUND_CONTROL_RELOAD);
    }
    ~FormOnRecord()
    {
        if (frame && frame->m_hWnd) frame->DestroyWindow();
        host.DestroyWindow();
    }
    bool Reread()
    {
        CString xml = platform::FromUtf8(files.xml).c_str();
        CString record = platform::FromUtf8(files.record).c_str();
        const bool ok = doc.OpenFile(xml, record) == 0;
        doc.SetCurDataIndex(itemId);
        doc.SetCtrlContent(nullptr);
        doc.UpdateCtrlStatus();
        return ok;
    }
    void FillAndDraw()
    {
        Reread();
        doc.UpdateAllViews(nullptr);
        view->ShowText();
        view->Invalidate(TRUE);
        view->UpdateWindow();
    }

    WorkDirAt workDir;
    benchtemp::TempFolder folder;   // goes last, with the record in it
    std::string dir;
    morvelance::RestRecordFiles files;
    CRestViewDoc doc;
    int itemId = 0;
    bool opened = false;
    CWnd host;
    CFrameWnd* frame = nullptr;
    CFormEx* view = nullptr;
};

void FillAndDraw(benchmark::State& state, CRuntimeClass* form, int width, int height)
{
    Desktop::Reset();
    FormOnRecord on(form, width, height);
    if (!on.opened || !on.view) {
        state.SkipWithError("the record or the form did not open");
        return;
    }
    for (auto _ : state) on.FillAndDraw();
}

void BM_RestFormFillsLaysOutAndDraws(benchmark::State& state)
{
    FillAndDraw(state, RUNTIME_CLASS(CFormInterpre), 540, 720);
}
BENCHMARK(BM_RestFormFillsLaysOutAndDraws)->Unit(benchmark::kMillisecond);

void BM_UsStyleFormFillsLaysOutAndDraws(benchmark::State& state)
{
    FillAndDraw(state, RUNTIME_CLASS(CFormInterpreAme), 1024, 400);
}
BENCHMARK(BM_UsStyleFormFillsLaysOutAndDraws)->Unit(benchmark::kMillisecond);

void BM_PatientStripFillsLaysOutAndDraws(benchmark::State& state)
{
    FillAndDraw(state, RUNTIME_CLASS(CFormPatientInfo), 1024, 52);
}
BENCHMARK(BM_PatientStripFillsLaysOutAndDraws)->Unit(benchmark::kMillisecond);

void BM_RestFormSavesATypedChange(benchmark::State& state)
{
    Desktop::Reset();
    FormOnRecord on(RUNTIME_CLASS(CFormInterpre), 540, 720);
    if (!on.opened || !on.view) {
        state.SkipWithError("the record or the form did not open");
        return;
    }
    int round = 0;
    for (auto _ : state) {
        CString room;
        room.Format(L"%d", ++round % 1000);
        on.view->SetDlgItemText(3043, room);
        on.view->SendDlgItemMessage(3043, WM_BOUND_CONTROL_RELOAD);
        benchmark::DoNotOptimize(on.doc.SaveDataToXML(on.itemId));
    }
}
BENCHMARK(BM_RestFormSavesATypedChange)->Unit(benchmark::kMillisecond);

void BM_RestFormRelaysOutAfterAResize(benchmark::State& state)
{
    Desktop::Reset();
    FormOnRecord on(RUNTIME_CLASS(CFormInterpre), 540, 720);
    if (!on.opened || !on.view) {
        state.SkipWithError("the record or the form did not open");
        return;
    }
    for (auto _ : state) on.view->MoveCtrl(1);
}
BENCHMARK(BM_RestFormRelaysOutAfterAResize)->Unit(benchmark::kMillisecond);

}  // namespace
