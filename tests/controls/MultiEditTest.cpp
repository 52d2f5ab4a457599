// The two-face comment field driven through focus changes and typed input.
#include <gtest/gtest.h>

#include "controls/MultiEdit.h"
#include "core/TavrionDoc.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/Wnd.h"

using platform::ui::Desktop;

namespace {

class StoreDoc : public CTavrionDoc {
public:
    StoreDoc() { InitCheckArray(); }
};

// Counts the height-recompute requests of its comment field.
class CFormWnd : public CWnd {
public:
    int m_nHeightRequests = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_USER + 1)
            ++m_nHeightRequests;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class MultiEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, L"form", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0));
        ASSERT_TRUE(m_other.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(10, 150, 110, 170), &m_parent, 0));
        m_comment.SetDoc(&m_doc);
        ASSERT_TRUE(m_comment.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(10, 10, 210, 110), &m_parent, 3001));
        m_doc.SetCtrlData(3001, L"", 1, -1);
        m_doc.SetEditPatientFlag(0);
        m_doc.SetEditCommentFlag(0);
    }
    void TearDown() override { m_parent.DestroyWindow(); }
    CString Stored()
    {
        CString strText;
        m_doc.GetCtrlData(3001, strText);
        return strText;
    }
    StoreDoc m_doc;
    CFormWnd m_parent;
    CEdit m_other;
    CMultiEdit m_comment;
};

}  // namespace

TEST_F(MultiEditTest, TypedCommentIsStoredTrimmedAsACommentEdit)
{
    ASSERT_NE(nullptr, m_comment.GetEditFace().m_hWnd);
    m_comment.SetFocus();
    EXPECT_EQ(m_comment.GetEditFace().m_hWnd, ::GetFocus());
    EXPECT_TRUE(m_comment.IsEditing());
    EXPECT_TRUE(m_comment.GetEditFace().IsWindowVisible());
    EXPECT_FALSE(m_comment.GetDisplayFace().IsWindowVisible());
    Desktop::TypeText(L"abc  ");
    EXPECT_EQ(CString(L"abc"), Stored());
    EXPECT_EQ(1, m_doc.GetEditCommentFlag());
    EXPECT_EQ(0, m_doc.GetEditPatientFlag());
}

TEST_F(MultiEditTest, LeavingAfterEditingAsksForTheHeightOnce)
{
    m_comment.SetFocus();
    Desktop::TypeText(L"x");
    m_other.SetFocus();
    EXPECT_EQ(1, m_parent.m_nHeightRequests);
    EXPECT_FALSE(m_comment.IsEditing());
    EXPECT_TRUE(m_comment.GetDisplayFace().IsWindowVisible());
    EXPECT_FALSE(m_comment.GetEditFace().IsWindowVisible());
    CString strShown;
    m_comment.GetDisplayFace().GetWindowText(strShown);
    EXPECT_EQ(CString(L"x"), strShown);
}

TEST_F(MultiEditTest, LeavingWithoutOpeningTheEditSendsNothing)
{
    m_comment.SendMessage(WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(0, m_parent.m_nHeightRequests);
}

TEST_F(MultiEditTest, LimitKeepsWholeTwoByteCharacters)
{
    m_comment.LimitCtrl(4);
    m_comment.SetFocus();
    Desktop::TypeText(L"所見a");
    EXPECT_EQ(CString(L"所見"), Stored());
}

TEST_F(MultiEditTest, UpdateSelfShowsTheStoredTextOnBothFaces)
{
    m_doc.SetCtrlData(3001, L"洞調律   ", 1, -1);
    m_comment.UpdateSelf();
    CString strEdit;
    CString strShown;
    m_comment.GetEditFace().GetWindowText(strEdit);
    m_comment.GetDisplayFace().GetWindowText(strShown);
    EXPECT_EQ(CString(L"洞調律"), strEdit);
    EXPECT_EQ(CString(L"洞調律"), strShown);
}

TEST_F(MultiEditTest, ResizeReturnsToIdle)
{
    m_comment.SetFocus();
    m_comment.MoveWindow(10, 10, 250, 120);
    EXPECT_FALSE(m_comment.IsEditing());
    CRect rect;
    m_comment.GetDisplayFace().GetWindowRect(&rect);
    EXPECT_EQ(250, rect.Width());
}

// The text a form gives the field is what a later resize shows again, so it
// must be kept as given (without the trailing blanks), not only shown.
TEST_F(MultiEditTest, InitialTextIsTrimmedOnBothFacesAndKeptThroughAResize)
{
    m_comment.InitialText(L"所見あり\r\n \r\n");
    CString strEdit;
    CString strShown;
    m_comment.GetEditFace().GetWindowText(strEdit);
    m_comment.GetDisplayFace().GetWindowText(strShown);
    EXPECT_EQ(CString(L"所見あり"), strEdit);
    EXPECT_EQ(CString(L"所見あり"), strShown);
    m_comment.GetDisplayFace().SetWindowText(L"stale");
    m_comment.MoveWindow(10, 10, 240, 100);
    m_comment.GetDisplayFace().GetWindowText(strShown);
    EXPECT_EQ(CString(L"所見あり"), strShown);
}

// A record opened for viewing only: a click and typing change nothing, and
// the idle face still paints the stored comment.
TEST_F(MultiEditTest, AReadOnlyDocumentTakesNoInputOnEitherFaceButStillShowsTheText)
{
    m_doc.SetReadOnly(1);
    m_doc.SetCtrlData(3001, L"WWWW", 1, -1);
    m_comment.UpdateSelf();
    EXPECT_FALSE(m_comment.IsWindowEnabled());
    EXPECT_FALSE(m_comment.GetEditFace().IsWindowEnabled());

    Desktop::Click(m_comment.GetDisplayFace().GetSafeHwnd(), 20, 10);
    Desktop::PumpMessages();
    Desktop::TypeText(L"abc");
    Desktop::PumpMessages();
    EXPECT_FALSE(m_comment.IsEditing());
    EXPECT_FALSE(m_comment.GetEditFace().IsWindowVisible());
    EXPECT_EQ(CString(L"WWWW"), Stored());
    EXPECT_EQ(0, m_doc.GetEditCommentFlag());

    CString strShown;
    m_comment.GetDisplayFace().GetWindowText(strShown);
    EXPECT_EQ(CString(L"WWWW"), strShown);
    EXPECT_TRUE(m_comment.GetDisplayFace().IsWindowVisible());
    // The text's ink in the field colours, inside the face's frame.
    m_doc.SetWaveColor(20, RGB(250, 240, 200));
    m_doc.SetWaveColor(25, RGB(0, 0, 0));
    m_comment.GetDisplayFace().Invalidate(TRUE);
    m_comment.GetDisplayFace().UpdateWindow();
    CClientDC dc(&m_comment.GetDisplayFace());
    CRect face;
    m_comment.GetDisplayFace().GetClientRect(&face);
    int ink = 0;
    for (int y = 2; y < face.bottom - 2; ++y)
        for (int x = 2; x < face.right - 2; ++x)
            ink += dc.GetPixel(x, y) != RGB(250, 240, 200);
    EXPECT_GT(ink, 20);
}
