// The master-step views as their panes and dialogs hold them: a view in a
// frame under a window that logs what the view sends, on a master-step
// document opened from a record of the record maker, and pixel probes of
// what the view painted.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "documents/FinalViewDoc.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/documents/FinalViewDocTestUtil.h"
#include "tests/support/ViewInFrame.h"
#include "tests/support/ViewProbes.h"

namespace finalviewtest {

const COLORREF kPaper = RGB(255, 255, 255);
const COLORREF kTrace = RGB(0, 0, 0);
const COLORREF kText = RGB(0, 0, 200);
const COLORREF kGrid = RGB(230, 230, 230);

// One message the view sent.
struct LoggedMsg {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Stands in for the pane, the dialog or the notification window: logs
// every WM_USER message it gets.
class CMessageLog : public CWnd {
public:
    std::vector<LoggedMsg> m_log;
    std::vector<LoggedMsg> Of(UINT message) const
    {
        std::vector<LoggedMsg> out;
        for (const LoggedMsg& m : m_log)
            if (m.message == message) out.push_back(m);
        return out;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_USER && message < WM_USER + 0x100) m_log.push_back({message, wParam, lParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// A synthetic master-step record with `loads` post-load recordings.
inline morvelance::MasterStepRecord RecordWithLoads(int loads, morvelance::MasterStepOptions options = {})
{
    std::vector<morvelance::EcgRecord> recordings;
    for (int k = 0; k < loads; ++k) recordings.push_back(finaltest::Synth(110 - 8 * k, static_cast<uint64_t>(2 + k)));
    if (options.descentTable > loads) options.descentTable = loads > 0 ? 1 : 0;
    return morvelance::MakeMasterStepRecord(finaltest::Synth(65, 1), recordings, options);
}

template <class View> class FinalViewFixture : public finaltest::FinalDocTest {
protected:
    void SetUp() override
    {
        finaltest::FinalDocTest::SetUp();
        m_doc.m_bAutoDelete = FALSE;
        m_doc.SetWaveColor(0, kTrace);
        m_doc.SetWaveColor(1, kGrid);
        m_doc.SetWaveColor(2, kPaper);
        m_doc.SetWaveColor(3, kText);
        m_doc.SetWaveColor(4, RGB(0, 0, 0));   // XOR white paper: the ruler inverts
        m_doc.SetWaveColor(20, kPaper);
        for (int slot = 5; slot <= 16; ++slot) m_doc.SetWaveColor(slot, kTrace);
        m_doc.SetSmoothFilterMode(0);
        m_doc.SetBaseLineWidth(1);
        m_doc.SetGridType(1);
        m_doc.SetMouseMode(1);
    }
    void TearDown() override
    {
        if (m_frame) m_frame->DestroyWindow();
        m_parent.DestroyWindow();
        platform::ui::Desktop::Reset();
        finaltest::FinalDocTest::TearDown();
    }

    // Writes and opens the record as the current item.
    void OpenRecord(const morvelance::MasterStepRecord& record)
    {
        m_record = record;
        std::string xml;
        const std::string path = Write(record, &xml, "ms" + std::to_string(m_nRecords++));
        ASSERT_EQ(0, Open(m_doc, path, xml));
        m_doc.InitialSense();
    }
    _FINALDATAITEM& Item() { return *m_doc.GetCurrentDataItem(); }

    void MakeView(int width, int height)
    {
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(0, 0, width, height), nullptr, 0));
        m_doc.SetNotifyWnd(&m_parent);
        m_frame = new CFrameWnd;
        m_view = static_cast<View*>(
            testsupport::CreateViewInFrame(*m_frame, m_parent, RUNTIME_CLASS(View), m_doc, width, height));
        ASSERT_NE(nullptr, m_view);
    }
    HWND Hwnd() const { return m_view->GetSafeHwnd(); }
    void Paint() { testsupport::Repaint(*m_view); }
    COLORREF Pixel(int x, int y) { return testsupport::ClientPixel(*m_view, x, y); }
    // The view's client pixels as they are on screen.
    std::vector<COLORREF> Snapshot() { return testsupport::ClientSnapshot(*m_view); }
    void Move(int x, int y) { testsupport::MoveMouseOver(Hwnd(), x, y); }
    void Click(int x, int y) { testsupport::ClickOn(Hwnd(), x, y); }
    void DoubleClick(int x, int y)
    {
        platform::ui::Desktop::AdvanceClock(1000);
        platform::ui::Desktop::Click(Hwnd(), x, y);
        platform::ui::Desktop::Click(Hwnd(), x, y);
        platform::ui::Desktop::PumpMessages();
    }

    CFinalViewDoc m_doc;
    morvelance::MasterStepRecord m_record;
    CMessageLog m_parent;
    CFrameWnd* m_frame = nullptr;   // deletes itself and the view with its window
    View* m_view = nullptr;
    int m_nRecords = 0;
};

// Ink of one colour on a surface: what a probe counts.
class InkProbe {
public:
    InkProbe(CDC& dc, int width, int height) : m_dc(dc), m_width(width), m_height(height) {}
    bool Is(int x, int y, COLORREF colour) const { return m_dc.GetPixel(x, y) == colour; }
    // Columns of [x0, x1) with `colour` in rows [y0, y1).
    std::vector<int> Columns(int x0, int x1, int y0, int y1, COLORREF colour) const
    {
        std::vector<int> cols;
        for (int x = std::max(0, x0); x < std::min(m_width, x1); ++x)
            for (int y = std::max(0, y0); y < std::min(m_height, y1); ++y)
                if (Is(x, y, colour)) {
                    cols.push_back(x);
                    break;
                }
        return cols;
    }
    std::vector<int> Rows(int x0, int x1, int y0, int y1, COLORREF colour) const
    {
        std::vector<int> rows;
        for (int y = std::max(0, y0); y < std::min(m_height, y1); ++y)
            for (int x = std::max(0, x0); x < std::min(m_width, x1); ++x)
                if (Is(x, y, colour)) {
                    rows.push_back(y);
                    break;
                }
        return rows;
    }

private:
    CDC& m_dc;
    int m_width;
    int m_height;
};

}  // namespace finalviewtest
