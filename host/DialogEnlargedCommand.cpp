// The enlarged-view dialogs, the caliper dialog and the magnifier window as
// the host's dialog command shows them.
#include "host/DialogEnlargedCommand.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "analysisviews/ViewFinalEnlargeWave.h"
#include "core/TavrionDoc.h"
#include "dialogs/DlgDivider.h"
#include "dialogs/DlgEnlargedOverlap.h"
#include "dialogs/DlgEnlargedRhyRR.h"
#include "dialogs/DlgEnlargedWave.h"
#include "dialogs/DlgFinalLoadEnlarge.h"
#include "dialogs/DlgFinalRestEnlarge.h"
#include "documents/FinalViewDoc.h"
#include "documents/MFERViewDoc.h"
#include "documents/RhythmDataItem.h"
#include "host/EnlargedViewCommand.h"
#include "host/ModalSnapshot.h"
#include "host/RecordKinds.h"
#include "host/ViewCommand.h"
#include "platform/ui/framework/ModalDriver.h"
#include "platform/ui/windowing/Desktop.h"
#include "waveviews/ViewEnlargedWave.h"
#include "waveviews/WaveItemRef.h"

namespace host {
namespace {

using platform::ui::Desktop;

// The opener's pixels per millimetre: a 96 dpi screen.
const double kDotsPerMM = 96.0 / 25.4;
const int kStripWidth = 260;    // mm: the caliper strip of the rhythm pages
const int kStripHeight = 30;
const int kStoredRate = 500;    // samples per second of every record but MFER
const int kLimbLeads = 6;       // positions 0 to 5 of a standard record are limb leads

// The dialog's view and the buttons that zoom it and set its ruler.
struct Tools {
    CWnd* view = nullptr;
    int ruler = 0;
    int zoomIn = 0;
    int zoomOut = 0;
};

// The zoom steps and the ruler of the request, as the user sets them.
void ApplyTools(CDialog& dialog, const Tools& tools, const EnlargedDialogRequest& request)
{
    const int steps = std::abs(request.zoom);
    for (int i = 0; i < steps; ++i) dialog.SendDlgItemMessage(request.zoom > 0 ? tools.zoomIn : tools.zoomOut, BM_CLICK);
    Desktop::PumpMessages();
    if (!request.ruler || !tools.view) return;
    dialog.SendDlgItemMessage(tools.ruler, BM_CLICK);
    CRect client;
    tools.view->GetClientRect(&client);
    const HWND view = tools.view->GetSafeHwnd();
    const int y = client.Height() / 2;
    // The first mouse message activates the window; the marks follow.
    Desktop::MoveMouse(view, 1, 1);
    Desktop::PumpMessages();
    Desktop::MoveMouse(view, request.rulerFrom, y);
    Desktop::Click(view, request.rulerFrom, y);
    Desktop::PumpMessages();
    Desktop::MoveMouse(view, request.rulerTo, y);
    Desktop::Click(view, request.rulerTo, y);
    Desktop::PumpMessages();
}

int LeadSamples(CTavrionDoc& doc, int lead)
{
    return doc.GetRhythmWaveData(lead, nullptr, -1) / 2;
}

// The enlarged-beat dialog as its opener makes it: the average-beat view
// on a record with average beats (the whole beat), else the multi-lead
// view (a strip centred on the clicked sample, here the lead's middle).
std::unique_ptr<CDlgEnlargedWave> MakeEnlargedWave(CTavrionDoc& doc, int type, int lead)
{
    const int beat = type == DOC_TYPE_RHYTHM ? 0 : AverageBeatSamples(doc, lead);
    const bool wholeBeat = beat > 0;
    auto dialog = std::make_unique<CDlgEnlargedWave>(wholeBeat ? 1 : 0, 0, nullptr);
    dialog->SetDoc(&doc, type);
    dialog->SetDotsPerMM(kDotsPerMM, kDotsPerMM);
    if (wholeBeat) {
        dialog->SetClickInfo(lead, beat / 2, 0, beat);
        dialog->SetLimbLead(lead < kLimbLeads);
        return dialog;
    }
    const int length = LeadSamples(doc, lead);
    dialog->SetClickInfo(lead, length / 2, 0, length);
    // The multi-lead view's sensitivity: a rhythm record of 12 or 15 leads
    // by limb or chest lead, other rhythm records the common one.
    int sense = lead < kLimbLeads ? 1 : 0;
    if (type == DOC_TYPE_RHYTHM) {
        const CWaveItemRef item = CWaveItemRef::Of(&doc, type);
        const int leads = item.Rhythm() ? item.Rhythm()->nLeadCount : 0;
        if (leads != 12 && leads != 15) sense = 6;
    }
    dialog->SetLimbLead(sense);
    return dialog;
}

int SampleRate(CTavrionDoc& doc)
{
    if (auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, &doc))
        if (mfer->GetSampleRate() >= 1.0) return static_cast<int>(mfer->GetSampleRate() + 0.5);
    return kStoredRate;
}

bool WrongRecord(const std::string& name, const char* what)
{
    std::fprintf(stderr, "morvelance-host: %s needs %s\n", name.c_str(), what);
    return false;
}

}  // namespace

bool SavePreparedDialog(CDialog& dialog, const std::string& png, const std::function<void(CDialog&)>& prepare)
{
    if (DialogsShownToPerson()) return RunForPerson(dialog);
    bool saved = false;
    platform::ui::ModalDriverScope driver([&](CWnd& running) {
        auto* shown = dynamic_cast<CDialog*>(&running);
        if (!shown || shown != &dialog) return;
        Desktop::PumpMessages();
        if (prepare) prepare(*shown);
        Desktop::PumpMessages();
        saved = Desktop::SaveWindowImage(shown->m_hWnd, png.c_str()) != FALSE;
        shown->EndDialog(IDCANCEL);
    });
    dialog.DoModal();
    return ReportSaved(saved, png);
}

bool IsEnlargedDialog(const std::string& name)
{
    for (const char* known : {"CDlgEnlargedWave", "CDlgEnlargedRhyRR", "CDlgEnlargedOverlap", "CDlgFinalRestEnlarge",
                              "CDlgFinalLoadEnlarge", "CDlgDivider", "CDlgEnlargedPreview"})
        if (name == known) return true;
    return false;
}

bool ParseRuler(const std::string& text, EnlargedDialogRequest& request)
{
    char* end = nullptr;
    const long from = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != ',') {
        std::fprintf(stderr, "morvelance-host: --ruler takes X1,X2 (view pixels), not '%s'\n", text.c_str());
        return false;
    }
    const char* second = end + 1;
    const long to = std::strtol(second, &end, 10);
    if (end == second || *end != '\0' || from < 0 || to < 0) {
        std::fprintf(stderr, "morvelance-host: --ruler takes X1,X2 (view pixels), not '%s'\n", text.c_str());
        return false;
    }
    request.ruler = true;
    request.rulerFrom = static_cast<int>(from);
    request.rulerTo = static_cast<int>(to);
    return true;
}

bool RenderEnlargedDialog(const std::string& name, CTavrionDoc& doc, const std::string& file,
                          const EnlargedDialogRequest& request, const RecordOpener& open, const std::string& png)
{
    // The record owns the document: views leaving with a dialog must not delete it.
    doc.m_bAutoDelete = FALSE;
    const int type = doc.GetDocType();
    // The lead a double click would have chosen, one the record has.
    const bool takesLead = name != "CDlgEnlargedOverlap";
    int lead = -1;
    // Each dialog opens on the records its opener's pages hold.
    if (!ShownOrSays(name) || !TakesOrSays(name, doc)) return false;
    if (takesLead && IsEnlargedDialog(name) && !ChooseRecordLead(doc, request.lead, RecordLeadII(doc), lead)) return false;
    if (name == "CDlgEnlargedWave") {
        const std::unique_ptr<CDlgEnlargedWave> made = MakeEnlargedWave(doc, type, lead);
        CDlgEnlargedWave& dialog = *made;
        return SavePreparedDialog(dialog, png, [&](CDialog&) {
            ApplyTools(dialog, {dialog.GetWaveView(), CDlgEnlargedWave::IDC_RULER, CDlgEnlargedWave::IDC_ZOOM_IN,
                                CDlgEnlargedWave::IDC_ZOOM_OUT},
                       request);
        });
    }
    if (name == "CDlgEnlargedRhyRR") {
        // The middle of the lead, as a double click there opens it.
        const int length = LeadSamples(doc, lead);
        CDlgEnlargedRhyRR dialog(nullptr);
        dialog.SetDoc(&doc, type);
        // The sensitivity a double click on the page gives: an extra-lead
        // record's lead takes its set's (the first three leads the first
        // set's), the others the one common to all leads.
        dialog.SetSenseID(type == DOC_TYPE_EXTRA ? (lead < 3 ? 4 : 5) : 6);
        dialog.SetClickInfo(lead, length / 2, 0, length, 0);
        dialog.SetDotsPerMM(kDotsPerMM, kDotsPerMM);
        return SavePreparedDialog(dialog, png, [&](CDialog&) {
            ApplyTools(dialog, {dialog.GetWaveView(), CDlgEnlargedRhyRR::IDC_RULER, CDlgEnlargedRhyRR::IDC_ZOOM_IN,
                                CDlgEnlargedRhyRR::IDC_ZOOM_OUT},
                       request);
        });
    }
    if (name == "CDlgEnlargedOverlap") {
        std::vector<std::string> files{file};
        files.insert(files.end(), request.with.begin(), request.with.end());
        if (files.size() > ENLARGED_OVERLAP_SLOTS) return WrongRecord(name, "at most nine records");
        return ShowOverlapDialog(files, request.lead, open, png, [&](CDialog& shown) {
            auto& dialog = static_cast<CDlgEnlargedOverlap&>(shown);
            ApplyTools(dialog, {dialog.GetOverlapView(), CDlgEnlargedOverlap::IDC_RULER, CDlgEnlargedOverlap::IDC_ZOOM_IN,
                                CDlgEnlargedOverlap::IDC_ZOOM_OUT},
                       request);
        }) == 0;
    }
    if (name == "CDlgFinalRestEnlarge" || name == "CDlgFinalLoadEnlarge") {
        auto* final = DYNAMIC_DOWNCAST(CFinalViewDoc, &doc);
        if (name == "CDlgFinalRestEnlarge") {
            CDlgFinalRestEnlarge dialog(nullptr);
            dialog.SetLeadID(lead);
            dialog.SetDoc(final);
            return SavePreparedDialog(dialog, png, [&](CDialog&) {
                ApplyTools(dialog, {dialog.GetWaveView(), CDlgFinalRestEnlarge::IDC_RULER,
                                    CDlgFinalRestEnlarge::IDC_ZOOM_IN, CDlgFinalRestEnlarge::IDC_ZOOM_OUT},
                           request);
            });
        }
        CDlgFinalLoadEnlarge dialog(nullptr);
        dialog.SetDoc(final);
        dialog.SetLoadIndex(-2);
        dialog.SetLeadID(lead);
        return SavePreparedDialog(dialog, png, [&](CDialog&) {
            ApplyTools(dialog, {dialog.GetWaveView(FALSE), CDlgFinalLoadEnlarge::IDC_LOAD_RULER,
                                CDlgFinalLoadEnlarge::IDC_LOAD_ZOOM_IN, CDlgFinalLoadEnlarge::IDC_LOAD_ZOOM_OUT},
                       request);
        });
    }
    if (name == "CDlgDivider") {
        CDlgDivider dialog(nullptr);
        dialog.SetDoc(&doc, type);
        dialog.SetLeadID(lead);
        dialog.SetWaveParam(kStripWidth, kStripHeight, LeadSamples(doc, lead), SampleRate(doc), 0);
        return SavePreparedDialog(dialog, png, nullptr);
    }
    std::fprintf(stderr, "morvelance-host: unknown dialog '%s'\n", name.c_str());
    return false;
}

}  // namespace host
