// The master-step enlarge dialogs as the comparison views open them: the
// opener the dialogs install routes a rest request and a post-load request
// to their templates with the lead, the index and the document.
#include <gtest/gtest.h>

#include "analysisviews/ViewFinalShared.h"
#include "dialogs/DlgFinalLoadEnlarge.h"
#include "dialogs/DlgFinalRestEnlarge.h"
#include "documents/FinalViewDoc.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/support/ModalScript.h"

TEST(DlgFinalEnlarge, TheViewsOpenerRunsTheRestAndLoadDialogsWithTheirSettings)
{
    CFinalViewDoc doc;
    doc.m_bAutoDelete = FALSE;
    testsupport::ModalScript script;
    int restLead = -1, loadLead = -1, index = 0;
    CFinalViewDoc* restDoc = nullptr;
    script.On(CDlgFinalRestEnlarge::IDD, [&](CDialog& d) {
        auto& dialog = static_cast<CDlgFinalRestEnlarge&>(d);
        restLead = dialog.GetLeadID();
        restDoc = dialog.GetDoc();
        dialog.EndDialog(IDOK);
    });
    script.On(CDlgFinalLoadEnlarge::IDD, [&](CDialog& d) {
        auto& dialog = static_cast<CDlgFinalLoadEnlarge&>(d);
        loadLead = dialog.GetLeadID();
        index = dialog.GetLoadIndex();
    });
    EXPECT_EQ(OpenFinalEnlarge(&doc, 7, FINAL_REST_BEAT), IDOK);
    EXPECT_EQ(OpenFinalEnlarge(&doc, 3, FINAL_CURRENT_LOAD), IDCANCEL);
    EXPECT_EQ(OpenFinalEnlarge(nullptr, 3, 0), IDCANCEL);   // no document: nothing opens
    EXPECT_EQ(restLead, 7);
    EXPECT_EQ(restDoc, &doc);
    EXPECT_EQ(loadLead, 3);
    EXPECT_EQ(index, FINAL_CURRENT_LOAD);
    const std::vector<UINT> seen = {CDlgFinalRestEnlarge::IDD, CDlgFinalLoadEnlarge::IDD};
    EXPECT_EQ(script.Seen(), seen);
    platform::ui::Desktop::Reset();
}
