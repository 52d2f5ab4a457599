// The caliper dialog and the lead-name editor, run as their openers run
// them. One scroll step of the caliper strip (new range, drawing surface
// rebuilt, view painted) on MIT-BIH record 100 (30 minutes) and on a 10 s
// record: the same per step for both, < 5 ms. A lead name stored on a
// 15-lead resting record (the device record rewritten through a temporary
// file and the record XML saved, prompt answered): < 20 ms.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "bench/BenchRecords.h"
#include "dialogs/Dlg15LeadEditLeadName.h"
#include "dialogs/DlgDivider.h"
#include "dialogs/DlgEditor.h"
#include "documents/RhythmViewDoc.h"
#include "platform/ui/framework/ModalDriver.h"
#include "platform/ui/windowing/Desktop.h"
#include "tools/Mkrecord.h"
#include "tools/RecordXml.h"
#include "tools/RhythmRecord.h"
#include "waveviews/ViewDividerWave.h"

namespace {

using benchrecords::TempPath;

// A one-lead rhythm record open in the rhythm document as the host opens it.
struct RhythmRecord {
    RhythmRecord(const std::string& record, const std::string& xml)
    {
        doc.m_bAutoDelete = FALSE;
        auto* item = new _RHYTHMDATAITEM;
        item->strFilePath = CString(record.c_str());
        item->strXMLPath = CString(xml.c_str());
        item->nLeadCount = 1;
        doc.GetRhythmDataManager()->AppendItem(item);
        CString xmlPath(xml.c_str()), file(record.c_str());
        ok = doc.OpenFile(xmlPath, file) == 0;
        doc.SetCurDataIndex(0);
        length = ok ? doc.GetRhythmWaveData(0, nullptr, -1) / 2 : 0;
        ok = ok && length > 0;
    }
    CRhythmViewDoc doc;
    int length = 0;
    bool ok = false;
};

RhythmRecord* TenSeconds()
{
    static RhythmRecord* record = [] {
        morvelance::RhythmRecordShape shape;
        shape.seconds = 10.0;
        morvelance::RecordXmlSource source;
        morvelance::RecordBuilder builder = morvelance::MakeRhythmRecord(shape, &source);
        const std::string path = TempPath("divider10s.ecg");
        const std::string xml = TempPath("divider10s.xml");
        builder.WriteFile(path, zarn::Flavour::Newer90);
        morvelance::WriteRecordXml(xml, source, morvelance::RecordXmlOptions());
        return new RhythmRecord(path, xml);
    }();
    return record;
}

RhythmRecord* Mitdb100()
{
    static RhythmRecord* record = []() -> RhythmRecord* {
        const std::string path =
            benchrecords::ConvertSharedRecord("physionet/mitdb/100", "rhythm", TempPath("divider-mitdb100.ecg"));
        if (path.empty()) return nullptr;
        const std::string xml = TempPath("divider-mitdb100.xml");
        std::ostringstream out, err;
        if (morvelance::RunMkrecord({"xml", "--for", path, "--out", xml}, out, err) != 0) return nullptr;
        return new RhythmRecord(path, xml);
    }();
    return record;
}

// Scroll steps of the running caliper dialog, one a benchmark iteration,
// back and forth by a sample around the middle of the record.
void ScrollSteps(benchmark::State& state, RhythmRecord* record, const char* label)
{
    if (!record || !record->ok) {
        state.SkipWithError("the record is not present or does not open");
        return;
    }
    CDlgDivider dialog(nullptr);
    dialog.SetDoc(&record->doc, DOC_TYPE_RHYTHM);
    dialog.SetLeadID(0);
    dialog.SetWaveParam(260, 30, record->length, 500, record->length / 2);
    platform::ui::ModalDriverScope driver([&](CWnd& running) {
        if (&running != &dialog) return;
        CWnd* bar = dialog.GetDlgItem(CDlgDivider::IDC_STRIP_BAR);
        CViewDividerWave* view = dialog.GetWaveView();
        bool right = true;
        for (auto _ : state) {
            dialog.SendMessage(WM_HSCROLL, right ? SB_LINERIGHT : SB_LINELEFT, reinterpret_cast<LPARAM>(bar->m_hWnd));
            if (view) view->UpdateWindow();
            right = !right;
        }
        dialog.EndDialog(IDCANCEL);
    });
    dialog.DoModal();
    state.SetLabel(label);
}

void BM_DividerScrollStepMitdb100(benchmark::State& state)
{
    ScrollSteps(state, Mitdb100(), "MIT-BIH 100, 30 min");
}
BENCHMARK(BM_DividerScrollStepMitdb100)->Unit(benchmark::kMillisecond);

void BM_DividerScrollStepTenSeconds(benchmark::State& state)
{
    ScrollSteps(state, TenSeconds(), "10 s");
}
BENCHMARK(BM_DividerScrollStepTenSeconds)->Unit(benchmark::kMillisecond);

// One stored lead name a run of the editor: the first extra lead goes
// between V8 and V9, the editor's prompt answered.
void BM_LeadNameStoreFifteenLeads(benchmark::State& state)
{
    const std::string folder = "/tmp/morvelance-leadname-bench-" + std::to_string(getpid());
    std::filesystem::create_directories(folder);
    morvelance::RestRecordShape shape;
    shape.kind = morvelance::rec::RecordKind::Rest15;
    const morvelance::RestRecordFiles files = morvelance::WriteRestRecord(folder, "rest15.ecg", shape);
    CRestViewDoc doc;
    doc.m_bAutoDelete = FALSE;
    if (!benchrecords::OpenRestRecord(doc, files)) {
        state.SkipWithError("the record could not be opened");
        return;
    }
    doc.InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(10), L"編集者");
    const int firstBox = 3803;
    bool eighth = true;
    int stored = 0;
    platform::ui::ModalDriverScope driver([&](CWnd& running) {
        auto* dialog = dynamic_cast<CDialog*>(&running);
        if (!dialog) return;
        if (dynamic_cast<CDlgEditor*>(dialog)) {
            dialog->SendDlgItemMessage(IDOK, BM_CLICK);
            return;
        }
        const wchar_t* name = eighth ? L"V8" : L"V9";
        const LRESULT index = dialog->SendDlgItemMessage(firstBox, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                         reinterpret_cast<LPARAM>(name));
        dialog->SendDlgItemMessage(firstBox, CB_SETCURSEL, static_cast<WPARAM>(index));
        dialog->SendDlgItemMessage(IDOK, BM_CLICK);
        // A store that did not happen leaves the editor open: close it.
        const _RESTDATAITEM* item = doc.GetCurrentDataItem();
        if (!item || item->stLeadName.nCode[0] != (eighth ? 66 : 67)) dialog->EndDialog(IDCANCEL);
    });
    for (auto _ : state) {
        CDlg15LeadEditLeadName editor(146);
        editor.SetDoc(&doc, DOC_TYPE_REST);
        if (editor.DoModal() == IDOK) ++stored;
        eighth = !eighth;
    }
    state.counters["stored"] = benchmark::Counter(static_cast<double>(stored));
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}
BENCHMARK(BM_LeadNameStoreFifteenLeads)->Unit(benchmark::kMillisecond);

}  // namespace
