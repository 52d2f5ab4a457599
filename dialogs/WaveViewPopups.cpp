// The pop-ups of the multi-lead view, given to it when the library loads:
// the view sits below the dialogs and asks for them by purpose.
#include <memory>

#include "dialogs/DlgDivider.h"
#include "dialogs/DlgEnlargedRhyRR.h"
#include "dialogs/DlgEnlargedWave.h"
#include "dialogs/SerialAvePopup.h"
#include "waveviews/ViewSerialComRhy.h"
#include "waveviews/WavePopups.h"

namespace {

std::unique_ptr<CDialog> MakeEnlargedWave(const CWavePopupRequest& request)
{
    auto dialog = std::make_unique<CDlgEnlargedWave>(0, 0, nullptr);
    dialog->SetDoc(request.pDoc, request.nDocType);
    dialog->SetDotsPerMM(request.dDotsPerMMX, request.dDotsPerMMY);
    dialog->SetClickInfo(request.nLead, request.nSample, request.nPageStart, request.nCount);
    dialog->SetLimbLead(request.nSenseID);
    return dialog;
}

std::unique_ptr<CDialog> MakeDivider(const CWavePopupRequest& request)
{
    auto dialog = std::make_unique<CDlgDivider>(nullptr);
    dialog->SetDoc(request.pDoc, request.nDocType);
    dialog->SetLeadID(request.nLead);
    dialog->SetWaveParam(request.nStripWidth, request.nStripHeight, request.nCount, request.nSampleRate,
                         request.nSample);
    return dialog;
}

INT_PTR RunEnlargedRhyRR(const CWavePopupRequest& request)
{
    CDlgEnlargedRhyRR dialog(nullptr);
    dialog.SetDoc(request.pDoc, request.nDocType);
    dialog.SetSenseID(request.nSenseID);
    dialog.SetClickInfo(request.nLead, request.nSample, request.nPageStart, request.nCount, 0);
    dialog.SetDotsPerMM(request.dDotsPerMMX, request.dDotsPerMMY);
    return dialog.DoModal();
}

struct Registration {
    Registration()
    {
        CWavePopups& popups = CWavePopups::Get();
        popups.makeEnlargedWave = MakeEnlargedWave;
        popups.makeDivider = MakeDivider;
        popups.runEnlargedRhyRR = RunEnlargedRhyRR;
        // The serial comparisons open their enlarged beats through the same dialogs.
        CViewSerialComRhy::SetPopupRunner(&CDlgEnlargedWave::RunSerialPopup);
        CSerialAvePopup::Install();
    }
} g_registration;

}  // namespace
