// Frames and views as the page panes use them: a child frame that creates
// its view from a context, the view joining the document, the client edge
// moving from the frame to the view, the pane filling the frame, active
// views and the focus, command routing, drawing through OnDraw, scroll
// views and form views.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/DataExchange.h"
#include "platform/ui/framework/Document.h"
#include "platform/ui/framework/FormView.h"
#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/framework/ScrollView.h"
#include "platform/ui/framework/View.h"
#include "platform/ui/framework/WinApp.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/platform/ui/UiTestSupport.h"
#include "tests/support/TestSupport.h"

using platform::ui::Desktop;

namespace {

enum : UINT { ID_VIEW_COMMAND = 33001, ID_DOC_COMMAND = 33002, ID_FRAME_COMMAND = 33003 };

std::vector<std::string> g_routed;

class CRoutingDocument : public CDocument {
public:
    CRoutingDocument() { m_bAutoDelete = FALSE; }

protected:
    afx_msg void OnDocCommand() { g_routed.push_back("document"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRoutingDocument, CDocument)
    ON_COMMAND(ID_DOC_COMMAND, OnDocCommand)
END_MESSAGE_MAP()

// A view that paints its client area in one colour and counts what happens to it.
class CColourView : public CView {
    DECLARE_DYNCREATE(CColourView)
public:
    static int s_created;
    static int s_deleted;
    CColourView() { ++s_created; }
    ~CColourView() override { ++s_deleted; }
    void OnDraw(CDC* pDC) override
    {
        ++m_nDraws;
        CRect client;
        GetClientRect(&client);
        pDC->FillSolidRect(&client, RGB(0, 128, 0));
    }
    void OnInitialUpdate() override
    {
        ++m_nInitialUpdates;
        CView::OnInitialUpdate();
    }
    int m_nDraws = 0;
    int m_nInitialUpdates = 0;

protected:
    afx_msg void OnViewCommand() { g_routed.push_back("view"); }
    DECLARE_MESSAGE_MAP()
};

int CColourView::s_created = 0;
int CColourView::s_deleted = 0;
IMPLEMENT_DYNCREATE(CColourView, CView)

BEGIN_MESSAGE_MAP(CColourView, CView)
    ON_COMMAND(ID_VIEW_COMMAND, OnViewCommand)
END_MESSAGE_MAP()

class CRoutingFrame : public CFrameWnd {
protected:
    afx_msg void OnFrameCommand() { g_routed.push_back("frame"); }
    afx_msg void OnViewCommandToo() { g_routed.push_back("frame too"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRoutingFrame, CFrameWnd)
    ON_COMMAND(ID_FRAME_COMMAND, OnFrameCommand)
    ON_COMMAND(ID_VIEW_COMMAND, OnViewCommandToo)
END_MESSAGE_MAP()

class CTestScrollView : public CScrollView {
public:
    void OnDraw(CDC*) override {}
    void PostNcDestroy() override {}   // on the stack
    using CScrollView::OnScroll;
};

class CTestForm : public CFormView {
    DECLARE_DYNCREATE(CTestForm)
public:
    CTestForm() : CFormView(uitest::IDD_FORM) {}
    CString m_strLabel = L"フォーム";

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, 401, m_strLabel); }
};

IMPLEMENT_DYNCREATE(CTestForm, CFormView)

class FrameViewTest : public uitest::WindowLeakCheck {
protected:
    void SetUp() override
    {
        WindowLeakCheck::SetUp();
        g_routed.clear();
        CColourView::s_created = CColourView::s_deleted = 0;
        ASSERT_TRUE(m_pane.CreateEx(0, uitest::kLoggedClass, L"pane", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500, 400,
                                    nullptr, nullptr));
    }
    void TearDown() override
    {
        m_pane.DestroyWindow();
        WindowLeakCheck::TearDown();
    }

    // A child frame holding a view, as a page pane builds it.
    CFrameWnd* MakeFrame(CFrameWnd* frame, CRuntimeClass* viewClass, CDocument* document, CWnd** view)
    {
        EXPECT_TRUE(frame->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), &m_pane));
        CCreateContext context;
        context.m_pNewViewClass = viewClass;
        context.m_pCurrentDoc = document;
        *view = frame->CreateView(&context, AFX_IDW_PANE_FIRST);
        return frame;
    }

    CWnd m_pane;
};

}  // namespace

TEST_F(FrameViewTest, PaneFrameCreatesItsViewOnTheDocument)
{
    CRoutingDocument document;
    CWnd* created = nullptr;
    CFrameWnd* frame = MakeFrame(new CFrameWnd, RUNTIME_CLASS(CColourView), &document, &created);
    ASSERT_NE(nullptr, created);
    auto* view = DYNAMIC_DOWNCAST(CColourView, created);
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(&document, view->GetDocument());
    EXPECT_EQ(static_cast<int>(AFX_IDW_PANE_FIRST), view->GetDlgCtrlID());
    EXPECT_EQ(frame, view->GetParentFrame());
    // The view draws the sunken edge; the frame gave its own up.
    EXPECT_TRUE(view->GetExStyle() & WS_EX_CLIENTEDGE);
    EXPECT_FALSE(frame->GetExStyle() & WS_EX_CLIENTEDGE);
    EXPECT_FALSE(view->GetStyle() & WS_BORDER);

    // The pane removes the edge too, as the page panes do.
    view->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_NOACTIVATE | SWP_FRAMECHANGED);
    frame->MoveWindow(10, 20, 300, 200);
    CRect client;
    view->GetClientRect(&client);
    EXPECT_EQ(300, client.Width());   // the pane fills the frame (RecalcLayout on WM_SIZE)
    EXPECT_EQ(200, client.Height());

    frame->DestroyWindow();   // deletes the frame and the view
    EXPECT_EQ(1, CColourView::s_deleted);
    EXPECT_EQ(nullptr, document.GetFirstViewPosition());
}

TEST_F(FrameViewTest, ActiveViewTakesTheFocusAndRoutesCommandsFirst)
{
    CRoutingDocument document;
    CWnd* created = nullptr;
    auto* frame = static_cast<CRoutingFrame*>(MakeFrame(new CRoutingFrame, RUNTIME_CLASS(CColourView), &document, &created));
    auto* view = static_cast<CColourView*>(created);
    EXPECT_EQ(nullptr, frame->GetActiveView());
    m_pane.SetActiveWindow();
    frame->SetActiveView(view, TRUE);
    EXPECT_EQ(view, frame->GetActiveView());
    EXPECT_EQ(view->m_hWnd, ::GetFocus());
    EXPECT_EQ(&document, frame->GetActiveDocument());

    // The view first, then its document, then the frame.
    EXPECT_TRUE(frame->OnCmdMsg(ID_VIEW_COMMAND, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(frame->OnCmdMsg(ID_DOC_COMMAND, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(frame->OnCmdMsg(ID_FRAME_COMMAND, CN_COMMAND, nullptr, nullptr));
    EXPECT_FALSE(frame->OnCmdMsg(40999, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ((std::vector<std::string>{"view", "document", "frame"}), g_routed);

    // A WM_COMMAND to the frame takes the same way.
    g_routed.clear();
    frame->SendMessage(WM_COMMAND, ID_DOC_COMMAND, 0);
    EXPECT_EQ((std::vector<std::string>{"document"}), g_routed);

    // Focus given to the frame goes to its active view.
    m_pane.SetFocus();
    frame->SetFocus();
    EXPECT_EQ(view->m_hWnd, ::GetFocus());
    frame->DestroyWindow();
}

TEST_F(FrameViewTest, ViewsDrawThroughOnDrawAndUpdateFromTheDocument)
{
    CRoutingDocument document;
    CWnd* created = nullptr;
    CFrameWnd* frame = MakeFrame(new CFrameWnd, RUNTIME_CLASS(CColourView), &document, &created);
    auto* view = static_cast<CColourView*>(created);
    frame->MoveWindow(0, 0, 100, 80);
    frame->InitialUpdateFrame(&document, TRUE);
    EXPECT_EQ(1, view->m_nInitialUpdates);
    EXPECT_EQ(view, frame->GetActiveView());
    m_pane.UpdateWindow();
    EXPECT_EQ(1, view->m_nDraws);
    document.UpdateAllViews(nullptr);   // invalidates
    Desktop::PumpMessages();
    EXPECT_EQ(2, view->m_nDraws);
    document.UpdateAllViews(view);      // the sender is not told
    Desktop::PumpMessages();
    EXPECT_EQ(2, view->m_nDraws);

    testsupport::TempDir folder;
    const std::string path = folder.File("view.png");
    ASSERT_TRUE(Desktop::SaveWindowImage(view->m_hWnd, path.c_str()));
    uitest::SavedImage image(path);
    // The sunken edge of two pixels, then the view's own green.
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), image.At(0, 0));
    EXPECT_EQ(RGB(0, 128, 0), image.At(2, 2));
    EXPECT_EQ(RGB(0, 128, 0), image.At(image.Width() - 3, image.Height() - 3));
    frame->DestroyWindow();
}

TEST_F(FrameViewTest, CreateViewRefusesClassesThatAreNoWindows)
{
    CRoutingDocument document;
    CWnd* created = nullptr;
    CFrameWnd* frame = MakeFrame(new CFrameWnd, RUNTIME_CLASS(CRoutingDocument), &document, &created);
    EXPECT_EQ(nullptr, created);   // a document is no view (and is not leaked)
    CCreateContext empty;
    EXPECT_EQ(nullptr, frame->CreateView(&empty));
    EXPECT_EQ(nullptr, frame->CreateView(nullptr));
    EXPECT_TRUE(frame->GetExStyle() & WS_EX_CLIENTEDGE);   // still its own
    frame->DestroyWindow();
}

TEST_F(FrameViewTest, FrameCreatedWithAContextMakesItsView)
{
    CRoutingDocument document;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CColourView);
    context.m_pCurrentDoc = &document;
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, L"frame", WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100), &m_pane, nullptr, 0,
                              &context));
    EXPECT_EQ(1, CColourView::s_created);
    CWnd* pane = frame->GetDlgItem(AFX_IDW_PANE_FIRST);
    ASSERT_NE(nullptr, pane);
    CRect client;
    pane->GetClientRect(&client);
    EXPECT_GT(client.Width(), 190);   // it fills the frame
    frame->DestroyWindow();
    EXPECT_EQ(1, CColourView::s_deleted);
}

TEST_F(FrameViewTest, ScrollViewShowsBarsOnlyWhenNeededAndKeepsThePositionInRange)
{
    CTestScrollView view;
    ASSERT_TRUE(view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100), &m_pane, 1));
    view.SetScrollSizes(MM_TEXT, CSize(150, 80));
    EXPECT_FALSE(view.GetStyle() & (WS_HSCROLL | WS_VSCROLL));   // it fits

    view.SetScrollSizes(MM_TEXT, CSize(1000, 90), CSize(100, 10), CSize(5, 1));
    // The horizontal bar takes 16 pixels of height, so the 90 no longer fit either.
    EXPECT_TRUE(view.GetStyle() & WS_HSCROLL);
    EXPECT_TRUE(view.GetStyle() & WS_VSCROLL);
    CRect client;
    view.GetClientRect(&client);
    EXPECT_EQ(200 - GetSystemMetrics(SM_CXVSCROLL), client.Width());
    EXPECT_EQ(1000 - client.Width(), view.GetScrollLimit(SB_HORZ));

    view.ScrollToPosition(CPoint(5000, 3));
    EXPECT_EQ(CPoint(1000 - client.Width(), 3), view.GetScrollPosition());
    view.ScrollToPosition(CPoint(-10, -10));
    EXPECT_EQ(CPoint(0, 0), view.GetScrollPosition());

    // Lines and pages of the given sizes, stopping at the ends.
    view.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    EXPECT_EQ(5, view.GetScrollPosition().x);
    view.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
    EXPECT_EQ(105, view.GetScrollPosition().x);
    view.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0);
    EXPECT_EQ(view.GetScrollLimit(SB_HORZ), view.GetScrollPosition().x);
    EXPECT_FALSE(view.OnScroll(MAKEWORD(SB_LINEDOWN, 0xFF), 0));   // nothing left to scroll
    view.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
    EXPECT_EQ(0, view.GetScrollPosition().x);

    // The DC is prepared so that logical 0, 0 is the document's corner.
    view.ScrollToPosition(CPoint(40, 0));
    CClientDC dc(&view);
    view.OnPrepareDC(&dc);
    EXPECT_EQ(CPoint(-40, 0), dc.GetViewportOrg());

    // Making the window big enough hides the bars and scrolls back.
    view.MoveWindow(0, 0, 1200, 300);
    EXPECT_FALSE(view.GetStyle() & (WS_HSCROLL | WS_VSCROLL));
    EXPECT_EQ(CPoint(0, 0), view.GetScrollPosition());
    view.DestroyWindow();
}

TEST_F(FrameViewTest, FormViewIsADialogOnItsTemplate)
{
    CWnd* created = nullptr;
    CFrameWnd* frame = MakeFrame(new CFrameWnd, RUNTIME_CLASS(CTestForm), nullptr, &created);
    auto* form = DYNAMIC_DOWNCAST(CTestForm, created);
    ASSERT_NE(nullptr, form);
    EXPECT_EQ(static_cast<int>(AFX_IDW_PANE_FIRST), form->GetDlgCtrlID());
    EXPECT_TRUE(form->GetStyle() & WS_CHILD);
    EXPECT_TRUE(form->GetExStyle() & WS_EX_CLIENTEDGE);
    ASSERT_NE(nullptr, form->GetDlgItem(402));
    form->OnInitialUpdate();
    CString label;
    form->GetDlgItemText(401, label);
    EXPECT_EQ(CString(L"フォーム"), label);

    // Smaller than its template: it scrolls.
    frame->MoveWindow(0, 0, 80, 40);
    EXPECT_TRUE(form->GetStyle() & WS_VSCROLL);
    frame->MoveWindow(0, 0, 480, 360);
    EXPECT_FALSE(form->GetStyle() & (WS_VSCROLL | WS_HSCROLL));

    // Tab moves between its buttons.
    m_pane.SetActiveWindow();
    frame->SetActiveView(form, TRUE);
    form->GetDlgItem(402)->SetFocus();
    Desktop::KeyPress(VK_TAB);
    EXPECT_EQ(403, ::GetDlgCtrlID(::GetFocus()));
    Desktop::KeyPress(VK_TAB);
    EXPECT_EQ(402, ::GetDlgCtrlID(::GetFocus()));   // wraps inside the form
    frame->DestroyWindow();
}

// The thumb of a window scroll bar follows the mouse while it is held: the
// view scrolls as it moves, and stays where the thumb is let go.
TEST_F(FrameViewTest, DraggingTheScrollBarThumbScrollsTheView)
{
    CTestScrollView view;
    ASSERT_TRUE(view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 200), &m_pane, 1));
    view.SetScrollSizes(MM_TEXT, CSize(150, 2000));
    ASSERT_TRUE(view.GetStyle() & WS_VSCROLL);
    CRect client;
    view.GetClientRect(&client);
    const int arrow = GetSystemMetrics(SM_CYVSCROLL);
    const int x = client.right + GetSystemMetrics(SM_CXVSCROLL) / 2;   // on the bar, in client coordinates
    const int track = client.Height() - 2 * arrow;
    const int thumb = track * client.Height() / 2000;
    const CPoint onThumb(x, arrow + thumb / 2);

    // Half the free travel down: about half the scroll range.
    const int travel = track - thumb;
    Desktop::Drag(view.m_hWnd, onThumb, CPoint(x, onThumb.y + travel / 2), 4);
    const int limit = view.GetScrollLimit(SB_VERT);
    EXPECT_NEAR(view.GetScrollPosition().y, limit / 2, limit / travel + 1);
    EXPECT_EQ(view.GetScrollPos(SB_VERT), view.GetScrollPosition().y);
    EXPECT_EQ(nullptr, ::GetCapture());

    // Past the end of the bar: the last position, not beyond.
    const CPoint thumbNow(x, arrow + travel / 2 + thumb / 2);
    Desktop::Drag(view.m_hWnd, thumbNow, CPoint(x, client.Height() + 500), 2);
    EXPECT_EQ(limit, view.GetScrollPosition().y);

    // A click on the track below the thumb is a page, not a drag.
    Desktop::Drag(view.m_hWnd, CPoint(x, arrow + thumb / 2), CPoint(x, arrow + thumb / 2), 1);
    EXPECT_LT(view.GetScrollPosition().y, limit);
    view.DestroyWindow();
}
