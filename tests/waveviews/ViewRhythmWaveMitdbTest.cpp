// Paging a real recording: MIT-BIH record 100 converted to MFER by the record
// maker (two leads at 360 Hz) and shown in the rhythm strip style.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/documents/MFERViewDocFixture.h"
#include "tools/Mkrecord.h"
#include "waveviews/ViewRhythmWave.h"

namespace {

class MitdbPagingTest : public mfertest::MferDocTest {
protected:
    // Two minutes of record 100 opened in the document; false when the data is absent.
    bool OpenRecord100()
    {
        const std::string hea = testsupport::SharedData("physionet/mitdb/100.hea");
        if (hea.empty()) return false;
        const std::string mwf = m_dir.File("100.mwf");
        const std::string xml = m_dir.File("Raw_10020240401093000.xml");
        std::ostringstream out, err;
        EXPECT_EQ(0, morvelance::RunMkrecord({"wfdb", "--mfer", "--record", hea.substr(0, hea.size() - 4), "--seconds",
                                              "120", "--out", mwf, "--xml-out", xml},
                                             out, err))
            << err.str();
        _MFERDATAITEM* item = AddItem(mwf, xml, 0);
        EXPECT_EQ(0, Open(item));
        m_doc->m_bAutoDelete = FALSE;
        m_doc->AddView(&m_view);
        m_view.SetDocType(DOC_TYPE_MFER);
        m_view.SetWaveStyle(16, TRUE);
        m_view.OnUpdate(nullptr, 0, nullptr);
        return true;
    }
    void TearDown() override
    {
        if (m_doc) m_doc->RemoveView(&m_view);
        mfertest::MferDocTest::TearDown();
    }

    CViewRhythmWave m_view;
};

TEST_F(MitdbPagingTest, PagesOfTheRecordFollowEachOtherAndTheLastEndsAtItsLastSample)
{
    if (!OpenRecord100()) GTEST_SKIP() << "shared data not present (physionet/mitdb/100); skipping";
    ASSERT_EQ(360, m_view.GetSampleRate());
    const int count = m_view.GetLeadSampleCount(0);
    ASSERT_EQ(120 * 360, count);
    const float speed = m_doc->GetSpeed();
    ASSERT_GT(speed, 0.0f);
    // Six rows of 250 squares at the document's speed.
    const int page = 6 * static_cast<int>(250.0f * 360 / speed);
    int pages = 1;
    int result = 0;
    while ((result = m_view.ChangePageSample(1)) == 0) {
        EXPECT_EQ(pages * page, m_view.GetStartTime());
        ++pages;
    }
    EXPECT_EQ(2, result);
    EXPECT_EQ(count - page, m_view.GetStartTime());
    EXPECT_EQ(1, m_view.ChangePageSample(-1000));
    EXPECT_EQ(0, m_view.GetStartTime());
}

}  // namespace
