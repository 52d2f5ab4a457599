#include <gtest/gtest.h>

#include <memory>

#include "dialogs/PagePatientInfo.h"
#include "platform/ui/framework/PropertySheet.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/documents/MFERViewDocFixture.h"
#include "tests/support/ModalScript.h"

namespace {

// The patient information page over a 12-lead MFER record and its XML.
class MferPatientPage : public mfertest::MferDocTest {
protected:
    void TearDown() override
    {
        if (m_sheet && m_sheet->GetSafeHwnd()) m_sheet->DestroyWindow();
        m_sheet.reset();
        m_page.reset();
        mfertest::MferDocTest::TearDown();
    }

    CPagePatientInfo& ShowPage()
    {
        m_doc->SetCtrlContent(nullptr);
        platform::ui::Desktop::Reset();
        m_page = std::make_unique<CPagePatientInfo>();
        m_page->SetDoc(m_doc.get(), DOC_TYPE_MFER);
        m_sheet = std::make_unique<CPropertySheet>(L"被検者情報");
        m_sheet->AddPage(m_page.get());
        EXPECT_TRUE(m_sheet->Create());
        platform::ui::Desktop::PumpMessages();
        return *m_page;
    }

    std::unique_ptr<CPagePatientInfo> m_page;
    std::unique_ptr<CPropertySheet> m_sheet;
};

}  // namespace

TEST_F(MferPatientPage, AnUntouchedRecordIsUnchangedAndAnEditIsWrittenIntoTheItem)
{
    _MFERDATAITEM* item = OpenKind(morvelance::MferKind::Plain, 12, 0x800C, 12);
    ASSERT_NE(item, nullptr);
    CPagePatientInfo& page = ShowPage();
    EXPECT_EQ(testsupport::ControlText(page, 3206), item->stPatient.strPatientID);
    EXPECT_EQ(page.IsDataChange(), 0);
    for (int id = 3235; id <= 3238; ++id) {
        CWnd* trip = page.GetDlgItem(id);
        EXPECT_FALSE(trip->GetStyle() & WS_VISIBLE) << id;
    }
    page.SetDlgItemText(3208, L"波形花子");
    EXPECT_EQ(page.IsDataChange(), 1);
    page.SaveDataToItem();
    EXPECT_EQ(item->stPatient.strName, L"波形花子");
    EXPECT_EQ(page.IsDataChange(), 0);
}
