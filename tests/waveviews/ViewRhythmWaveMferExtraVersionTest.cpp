// The program version at the bottom left of an MFER file's extra-lead page:
// a freeze file written by the record maker, opened in the MFER document and
// drawn on its one-column page on screen, on a page style of the MFER
// extra-lead styles that carry the version and on one that does not. The
// version is the ink that showing it adds at the page's bottom left.
#include <gtest/gtest.h>

#include <string>

#include "core/Globals.h"
#include "documents/MFERViewDoc.h"
#include "tests/support/DocumentTestSupport.h"
#include "tests/waveviews/ViewRhythmWaveTestSupport.h"
#include "tools/MferWriter.h"

namespace {

constexpr int kPxPerMm = 10;
constexpr int kFreezePage = 24;   // one column, a row a lead

class MferDocument : public testsupport::DocumentTest {
protected:
    CMFERViewDoc m_doc;
};

class MferExtraVersionTest : public rhythmviewtest::PageFixture<MferDocument, DOC_TYPE_MFER> {
protected:
    void SetUp() override
    {
        PageFixture::SetUp();
        morvelance::MferOptions options;
        options.description = morvelance::MferDescription(morvelance::MferKind::Freeze);
        const std::string path = m_dir.File("freeze.mwf");
        std::string error;
        ASSERT_TRUE(morvelance::WriteMferFile(path, morvelance::MferKindRecord(morvelance::MferKind::Freeze, 6, 10.0, 500.0),
                                              options, &error))
            << error;
        _MFERDATAITEM* item = m_doc.GetMFERDataManager()->AppendItem(testsupport::NewRecordItem<_MFERDATAITEM>(path, ""));
        CString mfer(path.c_str()), xml, third;
        ASSERT_EQ(0, m_doc.OpenMFERFile(mfer, xml, third));
        m_doc.SetCurDataIndex(item->nID);
        ASSERT_TRUE(CMFERViewDoc::IsFreezeKind(item->uSystemCode));
        m_doc.SetSenseMode(1);
        item->strVersion = L"WWWWWWWW";
        m_kept = g_bDisplayVersion;
    }
    void TearDown() override
    {
        g_bDisplayVersion = m_kept;
        PageFixture::TearDown();
    }

    // The ink that showing the version adds at the bottom left of the traces
    // (right of the calibration column) on MFER page style `pageStyle`.
    int VersionInk(int pageStyle)
    {
        m_doc.SetPageStyle(pageStyle);
        EXPECT_EQ(pageStyle, static_cast<int>(m_doc.GetPageStyle()));
        m_view.SetWaveStyle(kFreezePage, TRUE);
        m_view.OnUpdate(nullptr, 0, nullptr);
        int gridX = 0, gridY = 0;
        m_view.GetGridCount(gridX, gridY);
        auto inkInCorner = [&](int shown) {
            g_bDisplayVersion = shown;
            MakeSurface(gridX * kPxPerMm, gridY * kPxPerMm);
            EXPECT_EQ(1, m_view.DrawView(&m_dc, CRect(0, 0, m_width, m_height), gridX, gridY, 0));
            const int cal = 10 * kPxPerMm;
            return InkIn(CRect(cal, m_height - 30, cal + 120, m_height));
        };
        const int hidden = inkInCorner(0);
        return inkInCorner(1) - hidden;
    }

    int m_kept = 0;
};

TEST_F(MferExtraVersionTest, AnMferExtraPageStyleOfTheListShowsTheVersionAndAnotherNone)
{
    EXPECT_GT(VersionInk(52), 20);
    EXPECT_GT(VersionInk(74), 20);
    EXPECT_EQ(0, VersionInk(54));
    EXPECT_EQ(0, VersionInk(62));
}

}  // namespace
