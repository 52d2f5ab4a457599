// The enlarged wave dialog on a rhythm record written by the record maker:
// the strip is enlarged, drawn from the clicked lead's samples around the
// clicked one, and the table, which a rhythm record has no values for,
// stands empty and cannot be typed into.
#include <gtest/gtest.h>

#include <vector>

#include "dialogs/DlgEnlargedWave.h"
#include "dialogs/EnlargedWaveLayout.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "tests/support/ModalScript.h"
#include "waveviews/ViewEnlargedWave.h"

using testsupport::ControlText;

namespace {

const COLORREF kTrace = RGB(0, 128, 0);

class DlgEnlargedWaveRhythmTest : public rhythmtest::RhythmDocTest {
protected:
    void SetUp() override
    {
        RhythmDocTest::SetUp();
        m_doc->m_bAutoDelete = FALSE;
        // II, V5 and V1 for a minute: a strip many pages long.
        morvelance::RhythmRecordShape shape;
        shape.leads = 3;
        m_files = rhythmtest::WriteRhythm(m_dir, "strip", shape);
        ASSERT_EQ(0, Open(m_files, 3));
        ASSERT_NE(nullptr, Item());
        m_doc->SetWaveColor(0, kTrace);
        m_doc->SetSmoothFilterMode(0);
    }
    void TearDown() override
    {
        platform::ui::Desktop::Reset();
        RhythmDocTest::TearDown();
    }
    // The view shows a page of the lead's samples centred on `centre`:
    // every sample's point of the trace, at its place across the page and
    // its height at the dialog's sensitivity, carries the trace's ink.
    void ExpectTheStripOfTheLeadAroundTheSample(CDlgEnlargedWave& dialog, int lead, int centre)
    {
        CViewEnlargedWave* view = dialog.GetWaveView();
        ASSERT_NE(nullptr, view);
        view->UpdateWindow();
        const int page = view->GetDrawLength();
        ASSERT_GT(page, 100);
        const int start = view->GetStartSample();
        EXPECT_EQ(centre - page / 2, start);
        std::vector<short> samples(static_cast<size_t>(m_doc->GetRhythmWaveData(lead, nullptr, -1) / 2));
        ASSERT_GT(m_doc->GetRhythmWaveData(lead, samples.data(), m_doc->GetFilter()), 0);
        CRect client;
        view->GetClientRect(&client);
        int across = 0, down = 0;
        view->GetGridCount(across, down);
        ASSERT_GT(down, 0);
        const int w = client.Width(), h = client.Height();
        const int perMillivolt = static_cast<int>(h * static_cast<double>(m_doc->GetSense(1, 0)) / down + 0.5);
        CClientDC dc(view);
        auto inked = [&](int x, int y) {
            for (int dy = -2; dy <= 2; ++dy)
                if (dc.GetPixel(x, y + dy) == kTrace) return true;
            return false;
        };
        int shown = 0, found = 0;
        for (int i = 0; i < page; ++i) {
            const int x = static_cast<int>(static_cast<long long>(i) * w / page);
            const int y = h / 2 - static_cast<int>(samples[static_cast<size_t>(start + i)] * perMillivolt * 0.00125);
            if (y < 2 || y >= h - 2) continue;
            ++shown;
            found += inked(x, y) ? 1 : 0;
        }
        EXPECT_GT(shown, page / 2);
        EXPECT_GE(found, shown * 98 / 100) << found << " of " << shown;
    }

    rhythmtest::RhythmFiles m_files;
};

}  // namespace

// The strip opened as the multi-lead view opens it: lead V5 centred on the
// clicked sample. (This test used to open lead 1 of a one-lead record, a
// strip of no samples, and so passed whatever the view drew.)
TEST_F(DlgEnlargedWaveRhythmTest, ARhythmStripIsEnlargedOverAnEmptyTableThatCannotBeTypedInto)
{
    const int lead = 1;
    const int length = m_doc->GetRhythmWaveData(lead, nullptr, -1) / 2;
    ASSERT_GT(length, 10000);
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
        ExpectTheStripOfTheLeadAroundTheSample(dialog, lead, length / 2);
        ran = true;
    });
    dialog.DoModal();
    EXPECT_TRUE(ran);
}
