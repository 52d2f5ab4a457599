// The document's view state as the views and dialogs use it: the
// notification window the host sets, and the next annotation's shape.
#include <gtest/gtest.h>

#include "core/TavrionDoc.h"
#include "platform/ui/framework/Wnd.h"

#include <vector>

namespace {

class CRecordingWnd : public CWnd {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Message> received;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_USER) {
            received.push_back({message, wParam, lParam});
            return 7;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

}  // namespace

TEST(TavrionDocViewState, TheNotificationWindowReceivesWhatTheDocumentSends)
{
    CTavrionDoc doc;
    CRecordingWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"pane", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    doc.SetNotifyWnd(&owner);
    EXPECT_EQ(7, doc.SendToNotifyWnd(WM_USER + 0x16, 0, 0));
    EXPECT_EQ(7, doc.SendToNotifyWnd(WM_USER + 0xF, 2, 1));
    ASSERT_EQ(2u, owner.received.size());
    EXPECT_EQ(static_cast<UINT>(WM_USER + 0x16), owner.received[0].message);
    EXPECT_EQ(static_cast<UINT>(WM_USER + 0xF), owner.received[1].message);
    EXPECT_EQ(2, static_cast<int>(owner.received[1].wParam));
    EXPECT_EQ(1, static_cast<int>(owner.received[1].lParam));
    owner.DestroyWindow();
}

TEST(TavrionDocViewState, NothingIsSentWithoutANotificationWindowOrAfterItsWindowIsGone)
{
    CTavrionDoc doc;
    EXPECT_EQ(0, doc.SendToNotifyWnd(WM_USER + 0x16, 0, 0));
    CRecordingWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"pane", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    doc.SetNotifyWnd(&owner);
    owner.DestroyWindow();
    EXPECT_EQ(0, doc.SendToNotifyWnd(WM_USER + 0x16, 0, 0));
    EXPECT_TRUE(owner.received.empty());
}

TEST(TavrionDocViewState, TheNextAnnotationShapeIsTheDocumentsSketchRecord)
{
    CTavrionDoc doc;
    LOGFONTW font = doc.GetAnnotationFont();
    font.lfHeight = 31;
    doc.SetAnnotationFont(font);
    doc.SetAnnotationType(9);
    doc.SetAnnotationWidth(4);
    doc.SetAnnotationColor(RGB(1, 2, 3));
    EXPECT_EQ(31, doc.GetAnnotationFont().lfHeight);
    EXPECT_EQ(CString(L"Gothic"), CString(doc.GetAnnotationFont().lfFaceName));
    EXPECT_EQ(9, doc.GetAnnotationType());
    EXPECT_EQ(4, doc.GetAnnotationWidth());
    EXPECT_EQ(RGB(1, 2, 3), doc.GetAnnotationColor());
}
