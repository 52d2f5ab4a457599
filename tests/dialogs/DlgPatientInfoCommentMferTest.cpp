#include <gtest/gtest.h>

#include "dialogs/DlgEditor.h"
#include "dialogs/DlgPatientInfoComment.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/dialogs/SheetTestSupport.h"
#include "tests/documents/MFERViewDocFixture.h"
#include "tests/support/ModalScript.h"

namespace {

using sheettest::Press;
using sheettest::Retype;

constexpr auto kEditors = static_cast<_EDITABLE_PARAM_INDEX>(10);
const wchar_t kMinnesotas[] = L"/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota";

CDlgPatientInfoComment& Sheet(CDialog& dialog)
{
    return static_cast<CDlgPatientInfoComment&>(dialog);
}

// The sheet over a 12-lead MFER record and its record XML (with additions).
class MferSheet : public mfertest::MferDocTest {
protected:
    _MFERDATAITEM* OpenRecord()
    {
        _MFERDATAITEM* item = OpenKind(morvelance::MferKind::Plain, 12, 0x800C, 12);
        EXPECT_NE(item, nullptr);
        m_doc->SetCtrlContent(nullptr);
        m_doc->InsertEditableParam(kEditors, L"編集者一");
        m_doc->SetDoctorAndEditorStatus(1, 1);
        platform::ui::Desktop::Reset();
        m_xml = testsupport::Utf8(item->strXMLPath);
        m_before = Text(m_xml);
        return item;
    }
    INT_PTR Run(int mode)
    {
        CDlgPatientInfoComment sheet(mode);
        sheet.SetDoc(m_doc.get(), DOC_TYPE_MFER);
        return sheet.DoModal();
    }

    std::string m_xml;
    std::string m_before;
};

}  // namespace

TEST_F(MferSheet, OkWithoutAChangeLeavesTheRecordXmlByteIdentical)
{
    OpenRecord();
    testsupport::ModalScript script;
    script.On(CDlgPatientInfoComment::IDD, [](CDialog& dialog) { Press(dialog, IDOK); });
    EXPECT_EQ(Run(1), IDOK);
    EXPECT_EQ(script.Seen(), std::vector<UINT>{CDlgPatientInfoComment::IDD});
    EXPECT_EQ(Text(m_xml), m_before);
}

TEST_F(MferSheet, OpensOnTheAdditionsPageAndRoundTripsEveryPage)
{
    _MFERDATAITEM* item = OpenRecord();
    testsupport::ModalScript script;
    script.On(CDlgPatientInfoComment::IDD, [](CDialog& dialog) {
        CDlgPatientInfoComment& sheet = Sheet(dialog);
        ASSERT_EQ(sheet.Sheet().GetPageCount(), 3);
        EXPECT_EQ(sheet.Sheet().GetActiveIndex(), 2);
        Retype(sheet.AdditionPage(), 3876, L"付記");
        Retype(sheet.PatientPage(), 3208, L"波形次郎");
        Retype(sheet.CommentPage(), 3421, L"波形の所見");
        for (int i = 0; i < 8; ++i) Press(sheet.CommentPage(), 3324 + i);
        Retype(sheet.CommentPage(), 3302, L"4-2");
        Press(dialog, IDOK);
    });
    script.On(CDlgEditor::IDD, [](CDialog& dialog) { Press(dialog, IDOK); });
    EXPECT_EQ(Run(2), IDOK);
    EXPECT_EQ(script.Pending(), 0u);
    EXPECT_EQ(item->stAddition.strEditor, L"編集者一");
    EXPECT_EQ(item->stInterpre.strAnaEditor, L"編集者一");
    // One code held, one element: no empty row follows it.
    EXPECT_EQ(testsupport::XmlCount(m_xml, kMinnesotas), 1);

    const CString mfer = item->strFilePath, xml = item->strXMLPath;
    m_doc.reset(new CMFERViewDoc);
    _MFERDATAITEM* again = AddItem(testsupport::Utf8(mfer), testsupport::Utf8(xml), 12);
    ASSERT_EQ(Open(again), 0);
    EXPECT_EQ(again->stPatient.strName, L"波形次郎");
    EXPECT_EQ(again->stInterpre.strComment, L"波形の所見");
    EXPECT_EQ(again->stInterpre.nMinneCount, 1);
    EXPECT_EQ(again->stInterpre.strMinneCode[0], L"4-2");
    EXPECT_EQ(again->stAddition.strTitle[0], L"付記");
}
