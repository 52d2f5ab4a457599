#include "dialogs/DlgFinalRestEnlarge.h"

#include "analysisviews/ViewFinalShared.h"
#include "dialogs/DlgFinalLoadEnlarge.h"

IMPLEMENT_DYNAMIC(CDlgFinalRestEnlarge, CDlgModal)

CDlgFinalRestEnlarge::CDlgFinalRestEnlarge(CWnd* pParent) : CDlgModal(IDD, pParent) {}

namespace {

// The master-step views open their enlarge dialogs through this opener,
// modal and without a parent, as the comparison pages always have.
INT_PTR OpenEnlarge(CFinalViewDoc* doc, int lead, int loadIndex)
{
    if (loadIndex == FINAL_REST_BEAT) {
        CDlgFinalRestEnlarge dialog(nullptr);
        dialog.SetLeadID(lead);
        dialog.SetDoc(doc);
        return dialog.DoModal();
    }
    CDlgFinalLoadEnlarge dialog(nullptr);
    dialog.SetLeadID(lead);
    dialog.SetLoadIndex(loadIndex);
    dialog.SetDoc(doc);
    return dialog.DoModal();
}

const bool g_bOpenerInstalled = (SetFinalEnlargeOpener(&OpenEnlarge), true);

}  // namespace
