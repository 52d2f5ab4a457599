// The enlarged beat's dialog takes the same share of any monitor: its
// design positions scale with the monitor it stands on, landscape or
// portrait, and the dialog run on a record is laid out by it.
#include <gtest/gtest.h>

#include "dialogs/DlgEnlargedWave.h"
#include "dialogs/EnlargedWaveLayout.h"
#include "platform/base/Kernel.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Window.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/support/ModalScript.h"
#include "waveviews/ViewEnlargedWave.h"

using platform::ui::Desktop;

namespace {

class EnlargedWaveLayoutTest : public ::testing::Test {
protected:
    void TearDown() override { Desktop::Reset(); }
};

}  // namespace

TEST_F(EnlargedWaveLayoutTest, TheDialogTakesTheSameShareOfALargerMonitor)
{
    const CEnlargedWaveLayout design(1024, 768);
    const CEnlargedWaveLayout large(2048, 1536);
    EXPECT_EQ(960, design.DialogSize().cx);
    EXPECT_EQ(715 + ::GetSystemMetrics(SM_CYCAPTION), design.DialogSize().cy);
    EXPECT_EQ(1920, large.DialogSize().cx);
    EXPECT_EQ(1430 + ::GetSystemMetrics(SM_CYCAPTION), large.DialogSize().cy);
    EXPECT_EQ(CRect(20, 20, 1848, 780), large.Rect(10, 10, 914, 380));
}

TEST_F(EnlargedWaveLayoutTest, APortraitMonitorIsLaidOutOnThePortraitDesignScreen)
{
    const CEnlargedWaveLayout portrait(768, 1024);
    EXPECT_TRUE(portrait.IsPortrait());
    EXPECT_EQ(768, portrait.DialogSize().cx);
    EXPECT_LT(portrait.TableTop(), CEnlargedWaveLayout(1024, 768).TableTop() * 1024 / 768);
    EXPECT_FALSE(CEnlargedWaveLayout(1280, 1024).IsPortrait());
}

TEST_F(EnlargedWaveLayoutTest, TheDocumentsTurnedScreenChoosesTheDesignScreenWhateverTheMonitorsShape)
{
    HWND window = CreateWindowExW(0, L"Static", L"", WS_POPUP, 100, 100, 200, 100, nullptr, nullptr, nullptr, nullptr);
    CTavrionDoc doc;
    doc.SetTurnedScreen(1);
    const CEnlargedWaveLayout turned = CEnlargedWaveLayout::ForWindow(window, &doc);
    EXPECT_TRUE(turned.IsPortrait());
    // 768 portrait design units across the 1024-pixel landscape monitor.
    EXPECT_EQ(1024, turned.DialogSize().cx);
    doc.SetTurnedScreen(0);
    EXPECT_FALSE(CEnlargedWaveLayout::ForWindow(window, &doc).IsPortrait());
    ASSERT_TRUE(Desktop::SetScreenSize(768, 1024));
    EXPECT_FALSE(CEnlargedWaveLayout::ForWindow(window, &doc).IsPortrait());
    EXPECT_TRUE(CEnlargedWaveLayout::ForWindow(window).IsPortrait());
    DestroyWindow(window);
}

TEST_F(EnlargedWaveLayoutTest, AWindowIsLaidOutByTheMonitorItStandsOn)
{
    ASSERT_TRUE(Desktop::SetSecondMonitor(RECT{1024, 0, 1024 + 2048, 1536}));
    HWND onSecond = CreateWindowExW(0, L"Static", L"", WS_POPUP, 1500, 100, 200, 100, nullptr, nullptr, nullptr, nullptr);
    HWND onPrimary = CreateWindowExW(0, L"Static", L"", WS_POPUP, 100, 100, 200, 100, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(1920, CEnlargedWaveLayout::ForWindow(onSecond).DialogSize().cx);
    EXPECT_EQ(960, CEnlargedWaveLayout::ForWindow(onPrimary).DialogSize().cx);
    DestroyWindow(onSecond);
    DestroyWindow(onPrimary);
}

namespace {

class DlgEnlargedWaveLayoutTest : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        m_doc.m_bAutoDelete = FALSE;
        morvelance::RestRecordShape shape;
        ASSERT_EQ(0, Open(AddRecord("layout", shape)));
    }
    void TearDown() override
    {
        Desktop::Reset();
        resttest::RestDocFixture::TearDown();
    }
    void Run(const std::function<void(CDlgEnlargedWave&)>& step)
    {
        CDlgEnlargedWave dialog(1, 0, nullptr);
        dialog.SetDoc(&m_doc, DOC_TYPE_REST);
        dialog.SetDotsPerMM(2.0, 2.0);
        dialog.SetClickInfo(1, 0, 0, 0);
        testsupport::ModalScript script;
        script.On(CDlgEnlargedWave::IDD, [&](CDialog&) { step(dialog); });
        dialog.DoModal();
    }
};

CRect ScreenRectOf(CWnd& dialog, int id)
{
    CRect rect;
    dialog.GetDlgItem(id)->GetWindowRect(&rect);
    return rect;
}

}  // namespace

TEST_F(DlgEnlargedWaveLayoutTest, TheDialogTheViewAndTheTableFollowTheMonitor)
{
    ASSERT_TRUE(Desktop::SetScreenSize(1280, 1024));
    Run([](CDlgEnlargedWave& dialog) {
        CRect window;
        dialog.GetWindowRect(&window);
        EXPECT_EQ(MulDiv(1280, 960, 1024), window.Width());
        EXPECT_EQ(MulDiv(1024, 715, 768) + ::GetSystemMetrics(SM_CYCAPTION), window.Height());
        // Centred on the screen (no owner).
        EXPECT_NEAR(1280 / 2, window.CenterPoint().x, 1);
        // The view stands above the table, the global values left of the lead values.
        CRect view;
        dialog.GetWaveView()->GetWindowRect(&view);
        EXPECT_GT(view.Width(), window.Width() * 8 / 10);
        const CRect pAmp = ScreenRectOf(dialog, 5600);
        const CRect prInterval = ScreenRectOf(dialog, 5624);
        EXPECT_LT(view.bottom, pAmp.top);
        EXPECT_LT(prInterval.right, pAmp.left);
        // Every cell lies inside the dialog.
        for (int id = 5600; id <= 5632; ++id) EXPECT_TRUE(window.PtInRect(ScreenRectOf(dialog, id).BottomRight())) << id;
    });
}

TEST_F(DlgEnlargedWaveLayoutTest, TheLeadGroupIsTitledWithTheRecordsNameOfTheLeadAndHoldsItsCells)
{
    Run([](CDlgEnlargedWave& dialog) {
        const CString title = testsupport::ControlText(dialog, CEnlargedWaveLayout::IDC_LEAD_GROUP);
        EXPECT_EQ(0, title.Find(L"导联 "));
        EXPECT_GT(title.Find(L"II"), 0);
        EXPECT_GT(title.Find(L" 详细测量值"), 0);
        const CRect leads = ScreenRectOf(dialog, CEnlargedWaveLayout::IDC_LEAD_GROUP);
        const CRect globals = ScreenRectOf(dialog, CEnlargedWaveLayout::IDC_GLOBAL_GROUP);
        for (int id = 5600; id <= 5622; ++id) EXPECT_TRUE(leads.PtInRect(ScreenRectOf(dialog, id).CenterPoint())) << id;
        for (int id = 5623; id <= 5632; ++id) EXPECT_TRUE(globals.PtInRect(ScreenRectOf(dialog, id).CenterPoint())) << id;
    });
}
