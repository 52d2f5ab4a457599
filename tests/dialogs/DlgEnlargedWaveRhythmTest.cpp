// The enlarged wave dialog on a rhythm record written by the record maker:
// the strip is enlarged, and the table, which a rhythm record has no values
// for, stands empty and cannot be typed into.
#include <gtest/gtest.h>

#include "dialogs/DlgEnlargedWave.h"
#include "dialogs/EnlargedWaveLayout.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "tests/support/ModalScript.h"
#include "waveviews/ViewEnlargedWave.h"

using testsupport::ControlText;

namespace {

class DlgEnlargedWaveRhythmTest : public rhythmtest::RhythmDocTest {
protected:
    void SetUp() override
    {
        RhythmDocTest::SetUp();
        m_doc->m_bAutoDelete = FALSE;
        m_files = rhythmtest::WriteRhythm(m_dir, "strip", morvelance::RhythmRecordShape());
        ASSERT_EQ(0, Open(m_files, 12));
        ASSERT_NE(nullptr, Item());
    }
    void TearDown() override
    {
        platform::ui::Desktop::Reset();
        RhythmDocTest::TearDown();
    }
    rhythmtest::RhythmFiles m_files;
};

}  // namespace

TEST_F(DlgEnlargedWaveRhythmTest, ARhythmStripIsEnlargedOverAnEmptyTableThatCannotBeTypedInto)
{
    const int lead = 1;
    const int length = m_doc->GetRhythmWaveData(lead, nullptr, -1) / 2;
    // The group is titled with the name the item keeps for the lead.
    Item()->stLeadName.strDispName[lead] = L"V2R";
    CDlgEnlargedWave dialog(0, 0, nullptr);
    dialog.SetDoc(m_doc.get(), DOC_TYPE_RHYTHM);
    dialog.SetDotsPerMM(2.0, 2.0);
    dialog.SetClickInfo(lead, length / 2, 0, length);
    dialog.SetLimbLead(1);
    testsupport::ModalScript script;
    bool ran = false;
    script.On(CDlgEnlargedWave::IDD, [&](CDialog&) {
        EXPECT_NE(nullptr, dialog.GetWaveView());
        for (UINT id = CEnlargedMeasureTable::kFirstCellId; id <= CEnlargedMeasureTable::kLastCellId; ++id) {
            EXPECT_TRUE(ControlText(dialog, static_cast<int>(id)).IsEmpty()) << id;
            EXPECT_FALSE(dialog.GetMeasureTable().Cell(id).IsInputEnabled()) << id;
        }
        EXPECT_FALSE(dialog.GetDlgItem(IDOK)->IsWindowVisible());
        EXPECT_EQ(CString(L"导联 V2R 详细测量值"),
                  ControlText(dialog, CEnlargedWaveLayout::IDC_LEAD_GROUP));
        ran = true;
    });
    dialog.DoModal();
    EXPECT_TRUE(ran);
}
