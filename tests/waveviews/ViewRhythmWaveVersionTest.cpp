// The program version at the bottom left of a multi-lead page: written on
// screen, with the version shown, on the document's page styles that carry
// it: resting pages by their page style (not the wave style drawn), rhythm
// pages while the dividers are shown, extra-lead pages by theirs. Each page
// is drawn with the version hidden and shown; the version is the ink that
// showing it adds at the page's bottom left.
#include <gtest/gtest.h>

#include "core/Globals.h"
#include "tests/documents/ExtraViewDocFixture.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "tests/waveviews/ViewRhythmWaveTestSupport.h"

namespace {

const wchar_t kVersion[] = L"WWWWWWWW";

// Restores the version switch whatever a test does with it.
class VersionShown {
public:
    VersionShown() : m_kept(g_bDisplayVersion) {}
    ~VersionShown() { g_bDisplayVersion = m_kept; }

private:
    int m_kept;
};

// The ink that showing the version adds in the bottom-left corner of the
// traces (right of the calibration column), `draw` drawing the page anew on
// a white surface.
template <class Fixture, class Draw> int VersionInk(Fixture& page, int calWidth, Draw draw)
{
    VersionShown keep;
    // The page's height is known once it is drawn.
    auto corner = [&] { return CRect(calWidth, page.Height() - 30, calWidth + 120, page.Height()); };
    g_bDisplayVersion = 0;
    draw();
    const int hidden = page.Ink(corner());
    g_bDisplayVersion = 1;
    draw();
    return page.Ink(corner()) - hidden;
}

// ---- resting pages -----------------------------------------------------------------------------

class RestVersionTest : public rhythmviewtest::RestPageFixture<> {
public:
    int Height() const { return m_height; }
    int Ink(const CRect& box) { return InkIn(box); }

protected:
    // The 3x4 page (wave style 1) drawn on a document showing `pageStyle`;
    // the document's own wave style is `docWaveStyle`.
    int InkOnPage(int pageStyle, int docWaveStyle)
    {
        m_doc.SetPageStyle(pageStyle);
        m_doc.SetRhythmWaveStyle(docWaveStyle);
        m_doc.GetCurrentDataItem()->strVersion = kVersion;
        return VersionInk(*this, 1040 * 10 / 260, [&] { EXPECT_EQ(1, DrawPage(1, 1040, 480)); });
    }
};

TEST_F(RestVersionTest, ARestingPageStyleThatCarriesTheVersionShowsItWhateverWaveStyleTheDocumentHolds)
{
    ASSERT_NO_FATAL_FAILURE(OpenRecord());
    // Page style 3 carries the version; wave style 1 would not.
    EXPECT_GT(InkOnPage(3, 1), 20);
}

TEST_F(RestVersionTest, ARestingPageStyleWithoutTheVersionShowsNoneEvenWhenTheWaveStyleNumberIsListed)
{
    ASSERT_NO_FATAL_FAILURE(OpenRecord());
    // Page style 5 carries none; the number 3 of the wave style is no page style.
    EXPECT_EQ(0, InkOnPage(5, 3));
}

// ---- rhythm pages -------------------------------------------------------------------------------

class RhythmVersionTest : public rhythmtest::RhythmDocTest {
public:
    int Height() const { return kHeight; }
    int Ink(const CRect& box)
    {
        int n = 0;
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x) n += m_dc.GetPixel(x, y) != RGB(255, 255, 255) ? 1 : 0;
        return n;
    }

protected:
    static const int kWidth = 1040;
    static const int kHeight = 480;

    void SetUp() override
    {
        rhythmtest::RhythmDocTest::SetUp();
        morvelance::RhythmRecordShape shape;
        shape.leads = 3;
        shape.seconds = 30.0;
        ASSERT_EQ(0, Open(rhythmtest::WriteRhythm(m_dir, "version", shape), 3));
        m_doc->m_bAutoDelete = FALSE;
        m_doc->SetSpeed(25.0f);
        m_doc->AddView(&m_view);
        m_view.SetDocType(DOC_TYPE_RHYTHM);
        Item()->strVersionText = kVersion;
    }
    void TearDown() override
    {
        m_doc->RemoveView(&m_view);
        m_dc.DeleteDC();
        rhythmtest::RhythmDocTest::TearDown();
    }
    // The rhythm rows (wave style 16) on rhythm page style `pageStyle`.
    int InkOnPage(int pageStyle, BOOL dividersShown)
    {
        m_doc->SetPageStyle(pageStyle);
        m_view.ShowDivider(dividersShown);
        m_view.SetWaveStyle(16, TRUE);
        m_view.OnUpdate(nullptr, 0, nullptr);
        return VersionInk(*this, kWidth * 10 / 260, [&] {
            m_dc.DeleteDC();
            ASSERT_TRUE(m_dc.Attach(platform::gdi::CreateImageDC(kWidth, kHeight)));
            m_dc.FillSolidRect(0, 0, kWidth, kHeight, RGB(255, 255, 255));
            int gridX = 0, gridY = 0;
            m_view.GetGridCount(gridX, gridY);
            EXPECT_EQ(1, m_view.DrawView(&m_dc, CRect(0, 0, kWidth, kHeight), gridX, gridY, 0));
        });
    }

    CViewRhythmWave m_view;
    CDC m_dc;
};

TEST_F(RhythmVersionTest, ARhythmPageStyleOfTheListShowsTheVersionWhileTheDividersAreShown)
{
    EXPECT_GT(InkOnPage(20, TRUE), 20);
}

TEST_F(RhythmVersionTest, WithTheDividersHiddenOrOnAnotherPageStyleTheRhythmRowsShowNoVersion)
{
    EXPECT_EQ(0, InkOnPage(20, FALSE));
    EXPECT_EQ(0, InkOnPage(26, TRUE));
}

// ---- extra-lead pages ---------------------------------------------------------------------------

class ExtraVersionTest : public rhythmviewtest::PageFixture<extratest::ExtraDocTest, DOC_TYPE_EXTRA> {
public:
    int Height() const { return m_height; }
    int Ink(const CRect& box) { return InkIn(box); }

protected:
    void SetUp() override
    {
        PageFixture::SetUp();
        const extratest::RecordFiles files = Write("version", extratest::ExtraRecordOptions());
        m_item = Load(m_doc, files, morvelance::ExtraLeadType(morvelance::ExtraLayout::Three));
        ASSERT_NE(nullptr, m_item);
        m_doc.SetSenseMode(1);
        m_item->strVersion = kVersion;
    }
    // The three extra leads in one column (wave style 22) on extra page style `pageStyle`.
    int InkOnPage(int pageStyle)
    {
        m_doc.SetPageStyle(pageStyle);
        m_view.SetWaveStyle(22, TRUE);
        m_view.OnUpdate(nullptr, 0, nullptr);
        return VersionInk(*this, 1040 * 10 / 260, [&] {
            MakeSurface(1040, 480);
            int gridX = 0, gridY = 0;
            m_view.GetGridCount(gridX, gridY);
            EXPECT_EQ(1, m_view.DrawView(&m_dc, CRect(0, 0, 1040, 480), gridX, gridY, 0));
        });
    }

    _EXTRADATAITEM* m_item = nullptr;
};

TEST_F(ExtraVersionTest, AnExtraPageStyleOfTheListShowsTheVersionAndAnotherNone)
{
    EXPECT_GT(InkOnPage(1), 20);
    EXPECT_EQ(0, InkOnPage(3));
}

}  // namespace
