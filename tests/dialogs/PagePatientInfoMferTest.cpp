#include <gtest/gtest.h>

#include <memory>

#include "dialogs/PagePatientInfo.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/dialogs/PageInSheet.h"
#include "tests/documents/MFERViewDocFixture.h"
#include "tests/support/ModalScript.h"

namespace {

// The patient information page over a 12-lead MFER record and its XML.
class MferPatientPage : public mfertest::MferDocTest {
protected:
    void TearDown() override
    {
        m_host.Close();
        mfertest::MferDocTest::TearDown();
    }

    CPagePatientInfo& ShowPage() { return m_host.Show(m_doc.get(), DOC_TYPE_MFER, L"被検者情報"); }

    dialogtest::CPageInSheet<CPagePatientInfo> m_host;
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
