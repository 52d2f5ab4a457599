// The dialog layer's answer to an average-beat view's double click: the
// enlarged-beat dialog on the whole beat, installed when the library loads.
#include "analysisviews/EnlargedBeatOpener.h"
#include "dialogs/DlgEnlargedWave.h"

namespace {

INT_PTR RunEnlargedBeatDialog(const _ENLARGED_BEAT_REQUEST& request)
{
    CDlgEnlargedWave dialog(1, 0, request.pParent);
    dialog.SetDoc(request.pDoc, request.nDocType);
    dialog.SetDotsPerMM(request.dDotsPerMMX, request.dDotsPerMMY);
    dialog.SetClickInfo(request.nLead, request.nSample, request.nWindowStart, request.nSampleCount);
    dialog.SetLimbLead(request.bLimbLead);
    return dialog.DoModal();
}

[[maybe_unused]] const bool g_installed = (CEnlargedBeatOpener::SetRoutine(&RunEnlargedBeatDialog), true);

}  // namespace
