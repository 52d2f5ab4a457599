// The general patient sheet on a master-step record (243, with additions),
// and the patient sheet on a 12-lead MFER record with 256 additions (its
// three pages made): each opened and drawn, then cancelled (target < 20 ms);
// and OK with one change through the whole commit (check, editor, stamps,
// write-back, record XML; target < 20 ms).
#include "bench/BenchTempFolder.h"
#include <benchmark/benchmark.h>

#include <functional>
#include <string>
#include <vector>

#include "core/Globals.h"
#include "core/PositionCtrl.h"
#include "dialogs/DlgEditor.h"
#include "dialogs/DlgInfoCommentGeneral.h"
#include "dialogs/DlgPatientInfoComment.h"
#include "documents/MFERViewDoc.h"
#include "documents/FinalViewDoc.h"
#include "platform/base/CodePage.h"
#include "platform/ui/framework/ModalDriver.h"
#include "platform/ui/windowing/Desktop.h"
#include "tools/EcgModel.h"
#include "tools/MasterStepRecord.h"
#include "tools/MferRecordXml.h"
#include "tools/MferWriter.h"
#include "tools/RecordXml.h"

namespace {

using platform::ui::Desktop;

morvelance::EcgRecord Synth(double heartRate, uint64_t seed)
{
    morvelance::SynthOptions synth;
    synth.leads = morvelance::StandardLeads();
    synth.seconds = 10.0;
    synth.heartRate = heartRate;
    synth.seed = seed;
    return morvelance::Synthesize(synth);
}

// A master-step record in a temporary folder, opened on its document.
// A sheet drawn once and cancelled.
void DrawAndCancel(CDialog& dialog)
{
    dialog.UpdateWindow();
    Desktop::PumpMessages();
    dialog.EndDialog(IDCANCEL);
}

// Types a new name (a different one each round) into `field` of the sheet's
// patient page and OKs the sheet and then the editor prompt.
template <class Sheet, class PageOf> std::function<void(CDialog&)> RenameAndSave(int& round, PageOf pageOf, int field)
{
    return [&round, pageOf, field](CDialog& dialog) {
        if (dialog.GetDlgItem(3485)) {   // the editor prompt
            dialog.SendMessage(WM_COMMAND, IDOK);
            return;
        }
        CString name;
        name.Format(L"名前%d", ++round);
        pageOf(static_cast<Sheet&>(dialog)).SetDlgItemText(field, name);
        dialog.SendMessage(WM_COMMAND, IDOK);
    };
}

struct MasterStepDoc {
    MasterStepDoc() : folder("morvelance-sheets"), dir(folder.Path())
    {
        const morvelance::MasterStepRecord record =
            morvelance::MakeMasterStepRecord(Synth(65, 1), {Synth(110, 2), Synth(95, 3), Synth(80, 4)}, {});
        const std::string path = dir + "/ms.ecg";
        xml = dir + "/ms.xml";
        record.items.WriteFile(path, zarn::Flavour::Newer90);
        morvelance::WriteMasterStepXml(xml, record, {});
        doc.GetCtrlPosFromXSL(LOAD_POS_REST);
        doc.GetCtrlPosFromXSL(LOAD_POS_FINAL);
        auto* item = new _FINALDATAITEM;
        item->strFilePath = platform::FromUtf8(path).c_str();
        item->strXMLPath = platform::FromUtf8(xml).c_str();
        doc.GetFinalDataManager().AppendItem(item);
        doc.SetCurDataIndex(item->nID);
        CString x = item->strXMLPath, f = item->strFilePath;
        opened = doc.OpenFile(x, f) == 0;
        doc.SetCtrlContent(nullptr);
        doc.InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(10), L"編集者一");
        doc.SetDoctorAndEditorStatus(1, 1);
    }

    benchtemp::TempFolder folder;   // goes last, with the records in it
    std::string dir;
    std::string xml;
    CFinalViewDoc doc;
    bool opened = false;
};

void BM_GeneralSheetOpensAndDrawsOnAMasterStepRecord(benchmark::State& state)
{
    MasterStepDoc ms;
    if (!ms.opened) {
        state.SkipWithError("the master-step record did not open");
        return;
    }
    platform::ui::ModalDriverScope driver(DrawAndCancel);
    for (auto _ : state) {
        CDlgInfoCommentGeneral sheet;
        sheet.SetDoc(&ms.doc, 1);
        benchmark::DoNotOptimize(sheet.DoModal());
    }
}
BENCHMARK(BM_GeneralSheetOpensAndDrawsOnAMasterStepRecord)->Unit(benchmark::kMillisecond);

void BM_GeneralSheetSavesOneChangeThroughTheCommit(benchmark::State& state)
{
    MasterStepDoc ms;
    if (!ms.opened) {
        state.SkipWithError("the master-step record did not open");
        return;
    }
    int round = 0;
    platform::ui::ModalDriverScope driver(
        RenameAndSave<CDlgInfoCommentGeneral>(round, [](CDlgInfoCommentGeneral& sheet) -> CWnd& { return sheet.GeneralPage(); }, 3703));
    for (auto _ : state) {
        CDlgInfoCommentGeneral sheet;
        sheet.SetDoc(&ms.doc, 1);
        benchmark::DoNotOptimize(sheet.DoModal());
    }
}
BENCHMARK(BM_GeneralSheetSavesOneChangeThroughTheCommit)->Unit(benchmark::kMillisecond);

// A 12-lead MFER file with its record XML of 256 additions, opened on its document.
struct MferWithAdditions {
    MferWithAdditions() : folder("morvelance-sheets"), dir(folder.Path())
    {
        const std::string mfer = dir + "/r.mwf";
        xml = dir + "/r.xml";
        morvelance::MferOptions options;
        options.description = morvelance::MferDescription(morvelance::MferKind::Plain);
        std::string error;
        if (!morvelance::WriteMferFile(mfer, morvelance::MferKindRecord(morvelance::MferKind::Plain, 12, 2.0, 500.0),
                                       options, &error))
            return;
        morvelance::RecordXmlOptions xmlOptions;
        xmlOptions.additions = 256;
        morvelance::RecordXmlSource source = morvelance::MferRecordXmlSource(morvelance::MferKind::Plain, 12);
        source.seconds = 2.0;
        morvelance::WriteRecordXml(xml, source, xmlOptions);
        doc.GetCtrlPosFromXSL(LOAD_POS_REST);
        auto* item = new _MFERDATAITEM;
        item->strFilePath = platform::FromUtf8(mfer).c_str();
        item->strXMLPath = platform::FromUtf8(xml).c_str();
        item->nLeadLayout = 12;
        doc.GetMFERDataManager()->AppendItem(item);
        doc.SetCurDataIndex(item->nID);
        CString m = item->strFilePath, x = item->strXMLPath, third;
        opened = doc.OpenMFERFile(m, x, third) == 0;
        doc.SetCtrlContent(nullptr);
        doc.InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(10), L"編集者一");
        doc.SetDoctorAndEditorStatus(1, 1);
    }

    benchtemp::TempFolder folder;   // goes last, with the records in it
    std::string dir;
    std::string xml;
    CMFERViewDoc doc;
    bool opened = false;
};

void BM_PatientSheetOpensAndDrawsOnAnMferRecordWith256Additions(benchmark::State& state)
{
    MferWithAdditions record;
    if (!record.opened) {
        state.SkipWithError("the MFER record did not open");
        return;
    }
    platform::ui::ModalDriverScope driver(DrawAndCancel);
    for (auto _ : state) {
        CDlgPatientInfoComment sheet(2);   // opens on the additions page: all three made
        sheet.SetDoc(&record.doc, DOC_TYPE_MFER);
        benchmark::DoNotOptimize(sheet.DoModal());
    }
}
BENCHMARK(BM_PatientSheetOpensAndDrawsOnAnMferRecordWith256Additions)->Unit(benchmark::kMillisecond);

void BM_PatientSheetSavesOneChangeThroughTheCommit(benchmark::State& state)
{
    MferWithAdditions record;
    if (!record.opened) {
        state.SkipWithError("the MFER record did not open");
        return;
    }
    int round = 0;
    platform::ui::ModalDriverScope driver(
        RenameAndSave<CDlgPatientInfoComment>(round, [](CDlgPatientInfoComment& sheet) -> CWnd& { return sheet.PatientPage(); }, 3208));
    for (auto _ : state) {
        CDlgPatientInfoComment sheet(0);
        sheet.SetDoc(&record.doc, DOC_TYPE_MFER);
        benchmark::DoNotOptimize(sheet.DoModal());
    }
}
BENCHMARK(BM_PatientSheetSavesOneChangeThroughTheCommit)->Unit(benchmark::kMillisecond);

}  // namespace
