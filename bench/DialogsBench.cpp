// The dialogs of the editing flow: the Minnesota picker choosing each group
// of the shipped master (target < 5 ms per group), the comment phrase editor
// opened and closed with OK on a master of 1,000 and 4,000 phrases (target
// < 20 ms at 1,000, at most four times that at 4,000), the editing-OK
// protocol on a resting record (stamp, change test, save, refill; < 20 ms)
// and placing 166 controls from their layout rows at a new scale (< 2 ms).
#include "bench/BenchPaths.h"
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "core/Globals.h"
#include "core/PositionCtrl.h"
#include "dialogs/DlgEditComment.h"
#include "dialogs/DlgEditMinneCode.h"
#include "dialogs/PhraseList.h"
#include "core/ECGXMLParser.h"
#include "dialogs/EditingOk.h"
#include "documents/RestViewDoc.h"
#include "forms/LayoutPlacement.h"
#include "platform/base/CodePage.h"
#include "platform/ui/framework/ModalDriver.h"
#include "platform/ui/windowing/ControlRecords.h"
#include "platform/ui/windowing/Desktop.h"
#include "tools/RestRecord.h"

namespace {

using platform::ui::Desktop;

// Points the work directory at a folder for the life of the object.
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

std::string MakeTempDir()
{
    char pattern[] = "/tmp/morvelance-bench-XXXXXX";
    const char* made = mkdtemp(pattern);
    return made ? made : "/tmp";
}

void ClickTreeItem(CWnd& dialog, int tree, HTREEITEM item)
{
    RECT rect{};
    std::memcpy(&rect, &item, sizeof item);   // the item travels in the rectangle
    dialog.SendDlgItemMessage(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect));
    Desktop::Click(dialog.GetDlgItem(tree)->m_hWnd, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    Desktop::PumpMessages();
}

void BM_MinnesotaPickerChoosesEveryGroup(benchmark::State& state)
{
    WorkDirAt workDir(MORVELANCE_WORKDIR);
    int groups = 0;
    platform::ui::ModalDriverScope driver([&](CDialog& dialog) {
        auto item = reinterpret_cast<HTREEITEM>(dialog.SendDlgItemMessage(4221, TVM_GETNEXTITEM, TVGN_ROOT, 0));
        groups = 0;
        while (item) {
            ClickTreeItem(dialog, 4221, item);
            ++groups;
            item = reinterpret_cast<HTREEITEM>(
                dialog.SendDlgItemMessage(4221, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
        }
        dialog.EndDialog(IDCANCEL);
    });
    for (auto _ : state) {
        CDlgEditMinneCode picker(nullptr);
        picker.SetDoc(nullptr, 0);
        benchmark::DoNotOptimize(picker.DoModal());
    }
    state.counters["groups"] = groups;
    state.counters["per_group"] =
        benchmark::Counter(static_cast<double>(state.iterations() * (groups ? groups : 1)),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MinnesotaPickerChoosesEveryGroup)->Unit(benchmark::kMillisecond);

void BM_CommentEditorOpenAndOk(benchmark::State& state)
{
    const std::string dir = MakeTempDir();
    WorkDirAt workDir(dir);
    std::string master = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Comment>\n  <Restview>\n";
    for (int i = 0; i < state.range(0); ++i)
        master += "    <Comment_text>定型文 " + std::to_string(i) + " 所見を記載します。</Comment_text>\n";
    master += "  </Restview>\n</Comment>\n";
    const std::string path = dir + "/Comment.xml";
    platform::ui::ModalDriverScope driver(
        [](CDialog& dialog) { dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); });
    for (auto _ : state) {
        state.PauseTiming();
        std::ofstream(path, std::ios::binary) << master;
        state.ResumeTiming();
        CDlgEditComment editor(0, nullptr);
        editor.SetDoc(0, 0);
        benchmark::DoNotOptimize(editor.DoModal());
    }
    std::remove(path.c_str());
    rmdir(dir.c_str());
}
BENCHMARK(BM_CommentEditorOpenAndOk)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);

// The two halves of the editor's master access on their own.
void BM_CommentMasterReadAndWrite(benchmark::State& state)
{
    const std::string dir = MakeTempDir();
    std::string master = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Comment>\n  <Restview>\n";
    for (int i = 0; i < state.range(0); ++i)
        master += "    <Comment_text>定型文 " + std::to_string(i) + "</Comment_text>\n";
    master += "  </Restview>\n</Comment>\n";
    const std::string path = dir + "/Comment.xml";
    std::ofstream(path, std::ios::binary) << master;
    CECGXMLParser xml(CString(platform::FromUtf8(path).c_str()), 0, CString());
    const bool write = state.range(1) != 0;
    std::vector<CString> phrases = ReadPhrases(xml, L"/Comment/Restview", L"Comment_text");
    for (auto _ : state) {
        if (write)
            WritePhrases(xml, L"/Comment/Restview", L"Comment_text", phrases);
        else
            benchmark::DoNotOptimize(ReadPhrases(xml, L"/Comment/Restview", L"Comment_text"));
    }
    std::remove(path.c_str());
    rmdir(dir.c_str());
}
BENCHMARK(BM_CommentMasterReadAndWrite)
    ->Args({1000, 0})->Args({4000, 0})->Args({1000, 1})->Args({4000, 1})->Unit(benchmark::kMillisecond);

void BM_EditingOkOnARestingRecord(benchmark::State& state)
{
    const std::string dir = MakeTempDir();
    WorkDirAt workDir(MORVELANCE_WORKDIR);
    morvelance::RestRecordShape shape;
    const morvelance::RestRecordFiles files = morvelance::WriteRestRecord(dir, "rest.ecg", shape);
    CRestViewDoc doc;
    auto* item = new _RESTDATAITEM;
    item->strFilePath = CString(platform::FromUtf8(files.record).c_str());
    item->strXMLPath = CString(platform::FromUtf8(files.xml).c_str());
    doc.GetRestDataManager().AppendItem(item);
    CString xml = item->strXMLPath;
    CString file = item->strFilePath;
    if (doc.OpenFile(xml, file) != 0) {
        state.SkipWithError("the resting record did not open");
        return;
    }
    doc.SetCurDataIndex(item->nID);
    platform::ui::ModalDriverScope driver(
        [](CDialog& dialog) { dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); });
    CEditingOk::Run run;
    run.recordTime = CEditingOk::RecordTime::Stamp;
    run.changeTest = [&doc] { return doc.IsEidtChange(); };
    for (auto _ : state) benchmark::DoNotOptimize(CEditingOk::Execute(&doc, EditStampFieldsOf(*item), run));
    std::remove(files.record.c_str());
    std::remove(files.xml.c_str());
    rmdir(dir.c_str());
}
BENCHMARK(BM_EditingOkOnARestingRecord)->Unit(benchmark::kMillisecond);

void BM_Place166ControlsAtANewScale(benchmark::State& state)
{
    CWnd parent;
    parent.CreateEx(0, nullptr, L"form", WS_POPUP | WS_VISIBLE, CRect(0, 0, 1600, 1200), nullptr, 0);
    std::vector<CWnd*> controls;
    std::vector<_POSITION_CTRL> rows(166);
    std::vector<RECT> designs;
    for (int i = 0; i < 166; ++i) {
        auto* control = new CWnd;
        control->CreateEx(0, L"Static", L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &parent, 3000 + i);
        controls.push_back(control);
        designs.push_back(RECT{(i % 4) * 250, (i / 4) * 18, (i % 4) * 250 + 240, (i / 4) * 18 + 16});
        if (i % 3 == 0) rows[static_cast<size_t>(i)].nLeft = (i % 4) * 250 + 5;
    }
    double factor = 1.0;
    for (auto _ : state) {
        factor = factor == 1.0 ? 1.5625 : 1.0;
        for (int i = 0; i < 166; ++i)
            MoveToLayoutRow(*controls[static_cast<size_t>(i)], rows[static_cast<size_t>(i)],
                            designs[static_cast<size_t>(i)], factor, factor);
    }
    for (CWnd* control : controls) {
        control->DestroyWindow();
        delete control;
    }
    parent.DestroyWindow();
}
BENCHMARK(BM_Place166ControlsAtANewScale)->Unit(benchmark::kMicrosecond);

}  // namespace
