#include "dialogs/SerialAvePopup.h"

#include "dialogs/DlgEnlargedOverlap.h"
#include "dialogs/DlgEnlargedWave.h"

namespace {

std::unique_ptr<CDialog> MakeOverlap(const CSerialAvePopupRequest& request)
{
    auto dialog = std::make_unique<CDlgEnlargedOverlap>();
    dialog->SetDoc(request.pBaseDoc, request.nDocType);
    dialog->SetRestDoc(request.pRestDoc);
    dialog->SetMFERDoc(request.pMferDoc);
    dialog->SetDotsPerMM(request.dDotsPerMMX, request.dDotsPerMMY);
    dialog->SetLeadID(request.nLead);
    dialog->SetCompareCount(request.nCompareCount);
    dialog->SetSensitivity(request.fSense);
    for (int slot = 0; slot < request.nCompareCount && slot < SERIAL_AVE_SLOTS; ++slot)
        dialog->SetDataIndex(slot, request.nDataIndex[slot]);
    return dialog;
}

std::unique_ptr<CDialog> MakeBeat(const CSerialAvePopupRequest& request)
{
    auto dialog = std::make_unique<CDlgEnlargedWave>(1, 1);
    dialog->SetSerialPos(request.fSpeed, request.fSense, request.nFilter);
    dialog->SetDoc(request.pDoc, request.nDocType);
    dialog->SetDotsPerMM(request.dDotsPerMMX, request.dDotsPerMMY);
    dialog->SetClickInfo(request.nLead, request.nSample, request.nWindowStart, request.nFourth);
    dialog->SetLimbLead(request.nSenseID);
    dialog->SetEnlargeType(request.nSlot, 0);
    return dialog;
}

}  // namespace

int CSerialAvePopup::Run(CWnd* parent, const CSerialAvePopupRequest& request, std::unique_ptr<CDialog>& popup)
{
    (void)parent;   // both dialogs open without a parent
    popup = request.bOverlap ? MakeOverlap(request) : MakeBeat(request);
    return static_cast<int>(popup->DoModal());
}
