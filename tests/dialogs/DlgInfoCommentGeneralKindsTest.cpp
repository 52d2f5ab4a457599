#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "dialogs/DlgDoctor.h"
#include "dialogs/DlgEditor.h"
#include "dialogs/DlgInfoCommentGeneral.h"
#include "dialogs/DlgPatientInfoComment.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/dialogs/SheetTestSupport.h"
#include "tests/documents/ExtraViewDocFixture.h"
#include "tests/documents/RRViewDocFixture.h"
#include "tests/support/ModalScript.h"

namespace {

using sheettest::Press;
using sheettest::Retype;

constexpr auto kEditors = static_cast<_EDITABLE_PARAM_INDEX>(10);

void PrepareDoc(CTavrionDoc& doc)
{
    doc.SetCtrlContent(nullptr);
    doc.InsertEditableParam(kEditors, L"編集者一");
    doc.SetDoctorAndEditorStatus(1, 1);
    platform::ui::Desktop::Reset();
}

// OK without an edit, then OK after typing a name and a comment.
void RoundTrip(CTavrionDoc& doc, int type, const std::string& xml)
{
    const std::string before = testsupport::ReadFileBytes(xml);
    {
        testsupport::ModalScript script;
        script.On(CDlgInfoCommentGeneral::IDD, [](CDialog& dialog) { Press(dialog, IDOK); });
        CDlgInfoCommentGeneral sheet;
        sheet.SetDoc(&doc, type);
        EXPECT_EQ(sheet.DoModal(), IDOK);
        EXPECT_EQ(script.Seen(), std::vector<UINT>{CDlgInfoCommentGeneral::IDD});
        EXPECT_EQ(testsupport::ReadFileBytes(xml), before);
    }
    testsupport::ModalScript script;
    script.On(CDlgInfoCommentGeneral::IDD, [](CDialog& dialog) {
        auto& sheet = static_cast<CDlgInfoCommentGeneral&>(dialog);
        Retype(sheet.GeneralPage(), 3703, L"往復一郎");
        Retype(sheet.GeneralPage(), 3706, L"経過観察");
        Press(dialog, IDOK);
    });
    script.On(CDlgEditor::IDD, [](CDialog& dialog) { Press(dialog, IDOK); });
    CDlgInfoCommentGeneral sheet;
    sheet.SetDoc(&doc, type);
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(script.Pending(), 0u);
    EXPECT_NE(testsupport::ReadFileBytes(xml), before);
}

class RRSheet : public rrtest::RRDocTest {};
class ExtraSheet : public extratest::ExtraDocTest {};

}  // namespace

TEST_F(RRSheet, AnRRRecordRoundTripsThroughTheGeneralSheet)
{
    const rrtest::RRFiles files = Write("rr");
    ASSERT_NE(Add(files), nullptr);
    ASSERT_EQ(Open(files), 0);
    PrepareDoc(m_doc);
    RoundTrip(m_doc, DOC_TYPE_RR, files.xml);

    rrtest::CTestRRDoc fresh;
    fresh.GetCtrlPosFromXSL(LOAD_POS_RR);
    _RRDATAITEM* again = Reopen(fresh, files);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->stPatient.strName, L"往復一郎");
    EXPECT_EQ(again->stGeneral.strComment, L"経過観察");
    EXPECT_EQ(again->strInfoEditor, L"編集者一");
}

TEST_F(ExtraSheet, AnExtraLeadRecordRoundTripsThroughTheGeneralSheet)
{
    const extratest::RecordFiles files = Write("extra", extratest::ExtraRecordOptions());
    ASSERT_NE(Load(m_doc, files, 3), nullptr);
    PrepareDoc(m_doc);
    RoundTrip(m_doc, DOC_TYPE_EXTRA, files.xml);

    CExtraViewDoc fresh;
    fresh.GetCtrlPosFromXSL(LOAD_POS_EXTRA);
    _EXTRADATAITEM* again = Load(fresh, files, 3);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->stPatient.strName, L"往復一郎");
    EXPECT_EQ(again->stInterpre.strComment, L"経過観察");
}

// The patient and comment sheet given a kind that has no resting or MFER
// item: its pages show the store, OK closes without writing, and the doctor
// button confirms nothing of an item but still has the record saved once.
TEST_F(RRSheet, ThePatientSheetOnAnotherKindShowsItsPagesAndTheDoctorButtonSavesOnce)
{
    const rrtest::RRFiles files = Write("rr");
    ASSERT_NE(Add(files), nullptr);
    ASSERT_EQ(Open(files), 0);
    PrepareDoc(m_doc);
    m_doc.InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(9), L"判読医");
    sheettest::CNotifyCount notify;
    ASSERT_TRUE(notify.CreateEx(0, nullptr, L"host", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    m_doc.SetNotifyWnd(&notify);
    const std::string before = testsupport::ReadFileBytes(files.xml);
    const _PATIENT_INFO patient = m_doc.GetCurrentDataItem()->stPatient;
    {
        testsupport::ModalScript script;
        script.On(CDlgPatientInfoComment::IDD, [](CDialog& dialog) {
            auto& sheet = static_cast<CDlgPatientInfoComment&>(dialog);
            EXPECT_EQ(sheet.Sheet().GetPageCount(), 2);
            EXPECT_TRUE(dialog.GetDlgItem(IDOK)->IsWindowEnabled());
            EXPECT_TRUE(dialog.GetDlgItem(3201)->IsWindowEnabled());
            Press(dialog, IDOK);
        });
        CDlgPatientInfoComment sheet(0);
        sheet.SetDoc(&m_doc, DOC_TYPE_RR);
        EXPECT_EQ(sheet.DoModal(), IDOK);
        EXPECT_EQ(notify.count, 0);
        EXPECT_EQ(testsupport::ReadFileBytes(files.xml), before);
    }
    testsupport::ModalScript script;
    script.On(CDlgPatientInfoComment::IDD, [](CDialog& dialog) { Press(dialog, 3201); });
    script.On(CDlgDoctor::IDD, [](CDialog& dialog) { Press(dialog, IDOK); });
    CDlgPatientInfoComment sheet(0);
    sheet.SetDoc(&m_doc, DOC_TYPE_RR);
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(script.Pending(), 0u);
    EXPECT_EQ(notify.count, 1);
    // No item of the sheet's kinds: the record's confirmation is not touched.
    EXPECT_EQ(m_doc.GetCurrentDataItem()->stPatient.strConfirmDoctor, patient.strConfirmDoctor);
    EXPECT_EQ(m_doc.GetCurrentDataItem()->stPatient.strConfirmDate, patient.strConfirmDate);
    m_doc.SetNotifyWnd(nullptr);
    notify.DestroyWindow();
}
