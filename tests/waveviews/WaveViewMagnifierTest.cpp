// The hover magnifier: the magnifier view's canvas layout, and a small host
// view that counts its magnified drawings under a real magnifier window.
#include <gtest/gtest.h>

#include "core/EnlargedPreviewWindow.h"
#include "core/TavrionDoc.h"
#include "dialogs/DlgEnlargedPreview.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Input.h"
#include "waveviews/ViewEnlargedPreview.h"
#include "waveviews/WaveViewMagnifier.h"

namespace {

// A host view that paints a black square at its centre and counts how often
// it was asked to draw itself magnified.
class CCountingHost : public CWaveView {
public:
    CCountingHost() : m_magnifier(*this)
    {
        CWaveViewMagnifier::Drawing drawing;
        drawing.drawView = [this](CDC* dc, const CRect& draw, float) {
            ++m_nDrawings;
            CRect square(draw.CenterPoint(), draw.CenterPoint());
            square.InflateRect(draw.Width() / 8, draw.Height() / 8);
            dc->FillSolidRect(&square, RGB(0, 0, 0));
            return TRUE;
        };
        m_magnifier.SetDrawing(drawing);
    }
    CWaveViewMagnifier m_magnifier;
    int m_nDrawings = 0;

protected:
    afx_msg void OnMouseMove(UINT nFlags, CPoint point)
    {
        m_magnifier.Show(point);
        CWaveView::OnMouseMove(nFlags, point);
    }
    afx_msg void OnMouseLeave() { m_magnifier.Leave(); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCountingHost, CWaveView)
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

class WaveViewMagnifierTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::ui::Desktop::SetScreenSize(1920, 1080);
        m_doc.m_bAutoDelete = FALSE;
        m_doc.SetWaveColor(28, RGB(250, 250, 250));
        m_dialog.SetEnlargedPreviewDoc(&m_doc);
        ASSERT_TRUE(m_dialog.Create(CDlgEnlargedPreview::IDD, nullptr));
        m_dialog.SetWindowPos(nullptr, 1500, 0, 200, 100, SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_NE(nullptr, m_dialog.GetEnlargedPreview());
        m_doc.SetEnlargedPreview(&m_dialog);

        ASSERT_TRUE(m_pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 200), nullptr, 0));
        m_host = new CCountingHost;
        CCreateContext context;
        context.m_pCurrentDoc = &m_doc;
        ASSERT_TRUE(m_host->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 200), &m_pane, 1,
                                   &context));
        m_host->InitBackground(40, 20);
    }
    void TearDown() override
    {
        m_doc.SetEnlargedPreview(nullptr);
        m_pane.DestroyWindow();
        m_dialog.DestroyWindow();
        platform::ui::Desktop::Reset();
    }
    void ShowMagnifier()
    {
        m_dialog.ShowWindow(SW_SHOWNOACTIVATE);
        platform::ui::Desktop::PumpMessages();
    }
    void Hover(int x, int y)
    {
        platform::ui::Desktop::MoveMouse(m_host->GetSafeHwnd(), x, y);
        platform::ui::Desktop::PumpMessages();
    }

    CTavrionDoc m_doc;
    CDlgEnlargedPreview m_dialog;
    CWnd m_pane;
    CCountingHost* m_host = nullptr;
};

}  // namespace

TEST(ViewEnlargedPreviewLayout, TheMagnificationKeepsItsWholePartAndAtLeastOne)
{
    CViewEnlargedPreview view;
    view.SetScaleRatio(2.5f);
    EXPECT_FLOAT_EQ(2.0f, view.GetScaleRatio());
    view.SetScaleRatio(0.5f);
    EXPECT_FLOAT_EQ(1.0f, view.GetScaleRatio());
}

TEST(ViewEnlargedPreviewLayout, TheCanvasFactorIsCappedAtTwiceTheScreenArea)
{
    platform::ui::Desktop::SetScreenSize(1920, 1080);
    CViewEnlargedPreview view;
    view.SetScaleRatio(8.0f);
    // Factor 5 would give 4.5 million pixels; 4 is the largest under twice the screen.
    view.CalcEnlargedRect(0, 0, 900, 200, 0, 0, 90, 20);
    CRect canvas;
    CRect draw;
    view.GetCanvasRect(&canvas);
    view.GetDrawRect(&draw);
    EXPECT_EQ(CRect(0, 0, 3600 + 400, 800 + 400), canvas);
    EXPECT_EQ(CRect(0, 0, 7200, 1600), draw);
    platform::ui::Desktop::Reset();
}

TEST(ViewEnlargedPreviewLayout, TheCursorComesNearTheCanvasCentreInStepsOfFiveSquares)
{
    platform::ui::Desktop::SetScreenSize(1920, 1080);
    CViewEnlargedPreview view;
    view.CalcEnlargedRect(CRect(0, 0, 1000, 500), CPoint(500, 250), 100, 50);
    CRect canvas;
    CRect draw;
    view.GetCanvasRect(&canvas);
    view.GetDrawRect(&draw);
    EXPECT_EQ(CRect(0, 0, 2200, 1200), canvas);
    // (1000 - 2000) / 200 steps across, trunc((500 - 1000) / 200) = -2 down.
    EXPECT_EQ(CRect(-1000, -400, 3000, 1600), draw);
    EXPECT_EQ(CRect(1000, 400, 3200, 1600), view.GetVisibleRect());
    platform::ui::Desktop::Reset();
}

TEST(ViewEnlargedPreviewLayout, AHostLargerThanTheScreenGetsItsOwnSizePlusOneStep)
{
    platform::ui::Desktop::SetScreenSize(1920, 1080);
    CViewEnlargedPreview view;
    view.CalcEnlargedRect(CRect(0, 0, 3000, 2000), CPoint(0, 0), 300, 200);
    CRect canvas;
    view.GetCanvasRect(&canvas);
    EXPECT_EQ(CRect(0, 0, 3200, 2200), canvas);
    platform::ui::Desktop::Reset();
}

TEST(ViewEnlargedPreviewLayout, ZeroGridCountsLayOutNothing)
{
    CViewEnlargedPreview view;
    view.CalcEnlargedRect(CRect(0, 0, 300, 200), CPoint(10, 10), 0, 20);
    CRect canvas;
    view.GetCanvasRect(&canvas);
    EXPECT_TRUE(canvas.IsRectEmpty());
}

TEST_F(WaveViewMagnifierTest, AHiddenMagnifierChangesNothingAndStartsNoTracking)
{
    Hover(100, 100);
    EXPECT_FALSE(m_host->m_magnifier.IsTrackingLeave());
    EXPECT_EQ(0, m_host->m_nDrawings);
}

TEST_F(WaveViewMagnifierTest, MovesInMeasureModeReuseTheCanvasUntilTheRatioChanges)
{
    ShowMagnifier();
    Hover(100, 100);
    EXPECT_TRUE(m_host->m_magnifier.IsTrackingLeave());
    EXPECT_EQ(1, m_host->m_nDrawings);
    Hover(104, 102);
    Hover(98, 99);
    EXPECT_EQ(1, m_host->m_nDrawings);
    m_dialog.SetScaleRatio(2.0f);
    Hover(98, 99);
    EXPECT_EQ(2, m_host->m_nDrawings);
}

TEST_F(WaveViewMagnifierTest, TheHostsCentreShowsUnderTheCursorMagnified)
{
    ShowMagnifier();
    Hover(200, 100);
    CDC* picture = m_dialog.GetEnlargedPreview()->GetMemDC();
    ASSERT_NE(nullptr, picture);
    // GetMemDC clears: hover again so the picture holds the copy.
    m_host->m_magnifier.Move(CPoint(200, 100));
    EXPECT_EQ(RGB(0, 0, 0), picture->GetPixel(100, 50));
    m_host->m_magnifier.Move(CPoint(20, 20));
    EXPECT_NE(RGB(0, 0, 0), picture->GetPixel(100, 50));
}

TEST_F(WaveViewMagnifierTest, AnnotationModesRefreshTheOverlaysWithoutDrawingTheHostAgain)
{
    ShowMagnifier();
    m_doc.SetMouseMode(2);
    Hover(100, 100);
    ASSERT_TRUE(m_host->m_magnifier.HasCache());
    Hover(101, 100);
    Hover(102, 100);
    EXPECT_EQ(1, m_host->m_nDrawings);
}

TEST_F(WaveViewMagnifierTest, LeavingTheHostDropsTheCachesAndTheNextMoveDrawsAfresh)
{
    ShowMagnifier();
    Hover(100, 100);
    ASSERT_TRUE(m_host->m_magnifier.HasCache());
    platform::ui::Desktop::MoveMouse(POINT{1000, 900});
    platform::ui::Desktop::PumpMessages();
    EXPECT_FALSE(m_host->m_magnifier.HasCache());
    EXPECT_FALSE(m_host->m_magnifier.IsTrackingLeave());
    Hover(100, 100);
    EXPECT_EQ(2, m_host->m_nDrawings);
}

TEST_F(WaveViewMagnifierTest, AHostWithoutGridCountsGetsNoPicture)
{
    ShowMagnifier();
    m_host->InitBackground(0, 0);
    EXPECT_FALSE(m_host->m_magnifier.Move(CPoint(100, 100)));
    EXPECT_EQ(0, m_host->m_nDrawings);
}

TEST_F(WaveViewMagnifierTest, DraggingTheMagnifierMovesItButNeverPastTheScreen)
{
    ShowMagnifier();
    CWnd* view = m_dialog.GetEnlargedPreview();
    platform::ui::Desktop::Drag(view->GetSafeHwnd(), POINT{10, 10}, POINT{400, 10});
    platform::ui::Desktop::PumpMessages();
    CRect window;
    m_dialog.GetWindowRect(&window);
    EXPECT_EQ(1920, window.right);
    EXPECT_EQ(0, window.top);
}

TEST_F(WaveViewMagnifierTest, APictureSmallerThanTheMagnifierIsCentredInIt)
{
    ShowMagnifier();
    m_host->MoveWindow(0, 0, 40, 20);
    m_host->InitBackground(8, 4);
    m_dialog.SetScaleRatio(1.0f);
    ASSERT_TRUE(m_host->m_magnifier.Move(CPoint(35, 15)));
    CViewEnlargedPreview* preview = m_dialog.GetEnlargedPreview();
    CRect client;
    preview->GetClientRect(&client);
    ASSERT_GT(client.Width(), 40);
    ASSERT_GT(client.Height(), 20);
    preview->UpdateWindow();
    CClientDC shown(preview);
    const CPoint centre = client.CenterPoint();
    EXPECT_EQ(RGB(0, 0, 0), shown.GetPixel(centre.x, centre.y));
    EXPECT_EQ(RGB(250, 250, 250), shown.GetPixel(2, 2));
    EXPECT_EQ(RGB(250, 250, 250), shown.GetPixel(client.right - 3, client.bottom - 3));
}

TEST_F(WaveViewMagnifierTest, TheWindowCountsAsShownOnlyWhileItIsCreatedAndVisible)
{
    CEnlargedPreviewWindow* window = m_doc.GetEnlargedPreview();
    ASSERT_EQ(static_cast<CEnlargedPreviewWindow*>(&m_dialog), window);
    EXPECT_FALSE(window->IsEnlargedPreviewShown());
    ShowMagnifier();
    EXPECT_TRUE(window->IsEnlargedPreviewShown());
    m_dialog.ShowWindow(SW_HIDE);
    EXPECT_FALSE(window->IsEnlargedPreviewShown());

    CDlgEnlargedPreview uncreated;
    EXPECT_FALSE(uncreated.IsEnlargedPreviewShown());
    EXPECT_EQ(nullptr, uncreated.GetEnlargedPreview());
}

TEST_F(WaveViewMagnifierTest, AWindowDestroyedUnderTheDocumentIsNoLongerDrawnInto)
{
    ShowMagnifier();
    Hover(100, 100);
    ASSERT_EQ(1, m_host->m_nDrawings);
    // The view went with the window; the document still points at the dialog.
    m_dialog.DestroyWindow();
    EXPECT_EQ(nullptr, m_dialog.GetEnlargedPreview());
    EXPECT_FALSE(m_dialog.IsEnlargedPreviewShown());
    m_dialog.SetScaleRatio(2.0f);
    EXPECT_FALSE(m_host->m_magnifier.Move(CPoint(150, 100)));
    EXPECT_FALSE(m_host->m_magnifier.Redraw(2.0f, CPoint(150, 100)));
    Hover(150, 100);
    EXPECT_EQ(1, m_host->m_nDrawings);
}

TEST_F(WaveViewMagnifierTest, TheHostDrawsWithItsFontMagnifiedAndTheMagnifiedFontIsFreedAfterwards)
{
    CFont font;
    ASSERT_TRUE(font.CreateFont(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"IPAGothic"));
    HGDIOBJ drawnWith = nullptr;
    LOGFONT drawn{};
    CWaveViewMagnifier::Drawing drawing;
    drawing.pFont = &font;
    drawing.drawView = [&](CDC* dc, const CRect&, float) {
        drawnWith = dc->GetCurrentFont()->GetSafeHandle();
        dc->GetCurrentFont()->GetLogFont(&drawn);
        return TRUE;
    };
    m_host->m_magnifier.SetDrawing(drawing);
    ShowMagnifier();
    m_dialog.SetScaleRatio(3.0f);
    Hover(100, 100);

    ASSERT_NE(nullptr, drawnWith);
    EXPECT_EQ(-36, drawn.lfHeight);
    // Nothing holds the magnified font once the drawing is done: it is gone,
    // not left waiting for a DC to let go of it.
    EXPECT_EQ(0u, ::GetObjectType(drawnWith));
}
