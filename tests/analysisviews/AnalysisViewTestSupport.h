// The resting analysis views as the panes hold them: a view made from its
// runtime class in a frame under a pane window that records what the view
// reports, on a resting document with records written by the record maker;
// pictures drawn into image surfaces and probed at computed positions.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/DlgEnlargedPreview.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/support/ViewInFrame.h"

namespace analysisviewtest {

// The magnifier window as the main frame keeps it on a 1920 x 1200 screen:
// made on `doc`, at the top right, shown without taking the focus and known
// to the document.
inline void ShowMagnifier(CDlgEnlargedPreview& magnifier, CTavrionDoc& doc)
{
    platform::ui::Desktop::SetScreenSize(1920, 1200);
    magnifier.SetEnlargedPreviewDoc(&doc);
    ASSERT_TRUE(magnifier.Create(CDlgEnlargedPreview::IDD, nullptr));
    magnifier.SetWindowPos(nullptr, 1500, 0, 320, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    doc.SetEnlargedPreview(&magnifier);
    magnifier.ShowWindow(SW_SHOWNOACTIVATE);
}

const COLORREF kPaper = RGB(255, 255, 255);
const COLORREF kGrid = RGB(210, 210, 255);
const COLORREF kTrace = RGB(0, 0, 0);
const COLORREF kText = RGB(0, 0, 200);
const UINT kSenseRequest = WM_USER + 0xF;
const UINT kBeatEnlarged = WM_USER + 0xC;

struct LoggedMsg {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const LoggedMsg& other) const
    {
        return message == other.message && wParam == other.wParam && lParam == other.lParam;
    }
};

inline void PrintTo(const LoggedMsg& m, std::ostream* os)
{
    *os << "{WM_USER+0x" << std::hex << (m.message - WM_USER) << std::dec << ", " << m.wParam << ", " << m.lParam
        << "}";
}

// Stands in for the pane: the frame's parent, the document's notification
// window, and the grandparent the enlarged beat reports to.
class CPaneLog : public CWnd {
public:
    std::vector<LoggedMsg> m_log;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kSenseRequest || message == kBeatEnlarged) m_log.push_back({message, wParam, lParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

template <class View> class AnalysisViewFixture : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        m_doc.m_bAutoDelete = FALSE;
        Colour(m_doc);
    }
    void TearDown() override
    {
        if (m_frame) m_frame->DestroyWindow();
        m_pane.DestroyWindow();
        if (m_pView) m_doc.RemoveView(m_pView);
        platform::ui::Desktop::Reset();
        resttest::RestDocFixture::TearDown();
    }

    static void Colour(CTavrionDoc& doc)
    {
        doc.SetWaveColor(0, kTrace);
        doc.SetWaveColor(1, kGrid);
        doc.SetWaveColor(2, kPaper);
        doc.SetWaveColor(3, kText);
        doc.SetSmoothFilterMode(0);
        doc.SetBaseLineWidth(1);
        doc.SetGridType(1);
        doc.SetSenseMode(1);
    }

    // A resting record from the maker, its items changed by `tweak` before it is written; opened.
    void OpenRest(const std::function<void(morvelance::RecordBuilder&)>& tweak = nullptr,
                  morvelance::rec::RecordKind kind = morvelance::rec::RecordKind::Rest12)
    {
        morvelance::RestRecordShape shape;
        shape.kind = kind;
        morvelance::RecordBuilder items = morvelance::MakeRestRecord(shape);
        if (tweak) tweak(items);
        m_files = morvelance::WriteRestRecord(m_dir.Path(), "rest" + std::to_string(++m_nRecords) + ".ecg", shape, items);
        ASSERT_EQ(0, Open(AddItem(m_files, false)));
    }
    void SetSenses(float limb, float chest, float common = 10.0f)
    {
        m_doc.SetSense(1, limb, 0);
        m_doc.SetSense(0, chest, 0);
        m_doc.SetSense(6, common, 0);
    }

    // The view in a frame under the pane, as a pane makes it, on `doc` (the resting one by default).
    View* MakeView(int width, int height, CTavrionDoc* doc = nullptr, int docType = DOC_TYPE_REST)
    {
        CTavrionDoc& owner = doc ? *doc : m_doc;
        EXPECT_TRUE(m_pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(0, 0, width, height), nullptr, 0));
        m_frame = new CFrameWnd;
        auto* view = static_cast<View*>(
            testsupport::CreateViewInFrame(*m_frame, m_pane, RUNTIME_CLASS(View), owner, width, height));
        if (!view) return nullptr;
        view->SetDocType(docType);
        view->SendMessage(WM_INITIALUPDATE, 0, 0);
        owner.SetNotifyWnd(&m_pane);
        return view;
    }
    // A view of our own, not in a window, for drawing into surfaces.
    View& Detached()
    {
        m_pView = &m_view;
        m_doc.AddView(&m_view);
        m_view.SetDocType(DOC_TYPE_REST);
        return m_view;
    }

    void MakeSurface(int width, int height)
    {
        m_dc.DeleteDC();
        ASSERT_TRUE(m_dc.Attach(platform::gdi::CreateImageDC(width, height)));
        m_dc.FillSolidRect(0, 0, width, height, kPaper);
        m_width = width;
        m_height = height;
    }
    COLORREF Pixel(int x, int y) { return m_dc.GetPixel(x, y); }
    // Pixels of `colour` in the box.
    int CountIn(const CRect& box, COLORREF colour)
    {
        int n = 0;
        for (int y = std::max(0, int(box.top)); y < std::min(m_height, int(box.bottom)); ++y)
            for (int x = std::max(0, int(box.left)); x < std::min(m_width, int(box.right)); ++x)
                n += m_dc.GetPixel(x, y) == colour ? 1 : 0;
        return n;
    }
    // Runs of `colour` down column x between top and bottom.
    int RunsDown(int x, int top, int bottom, COLORREF colour)
    {
        int runs = 0;
        bool inside = false;
        for (int y = top; y < bottom; ++y) {
            const bool hit = m_dc.GetPixel(x, y) == colour;
            if (hit && !inside) ++runs;
            inside = hit;
        }
        return runs;
    }

    HWND Hwnd(CWnd* view) const { return view->GetSafeHwnd(); }
    void Click(CWnd* view, int x, int y)
    {
        platform::ui::Desktop::AdvanceClock(1000);
        platform::ui::Desktop::Click(view->GetSafeHwnd(), x, y);
        platform::ui::Desktop::PumpMessages();
    }
    void DoubleClick(CWnd* view, int x, int y)
    {
        platform::ui::Desktop::AdvanceClock(1000);
        platform::ui::Desktop::DoubleClick(view->GetSafeHwnd(), x, y);
        platform::ui::Desktop::PumpMessages();
    }

    CPaneLog m_pane;
    CFrameWnd* m_frame = nullptr;   // deletes itself and the view with its window
    View m_view;
    View* m_pView = nullptr;
    CDC m_dc;
    int m_width = 0;
    int m_height = 0;
    int m_nRecords = 0;
};

}  // namespace analysisviewtest
