// What the page-pane tests share: a host window on the desktop that holds a
// pane the way a host frame does, driven in the host's order, with the
// window rectangles of the pane's children read back in pane coordinates,
// a notification window that logs what the pane sends the host, the rhythm
// and RR documents on a fresh desktop with a record written and opened, and
// a view's page drawn as the pane lays it out.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/documents/RRViewDocFixture.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "tests/support/ViewProbes.h"
#include "waveviews/ViewRhythmWave.h"

namespace panetest {

struct Sent {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// The host's window that hears from the document (user messages and focus).
class CNotifyLog : public CWnd {
public:
    std::vector<Sent> log;
    int Count(UINT message) const
    {
        int n = 0;
        for (const Sent& s : log) n += s.message == message;
        return n;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_USER || message == WM_SETFOCUS) log.push_back(Sent{message, wParam, lParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// The rectangle of `child` in the client coordinates of `pane`; empty for none.
inline CRect RectIn(CWnd* pane, CWnd* child)
{
    if (!child || !child->GetSafeHwnd()) return CRect(0, 0, 0, 0);
    CRect rect;
    child->GetWindowRect(&rect);
    pane->ScreenToClient(&rect);
    return rect;
}

// The view's pixels once what waits to be painted is painted, nothing more
// invalidated: what a person sees of it. A page updated again with nothing
// changed must leave them as they were (a picture drawn again on itself
// without its ground darkens its texts).
inline std::vector<COLORREF> Shown(CWnd* view)
{
    platform::ui::Desktop::PumpMessages();
    return testsupport::ClientSnapshot(*view);
}
// The pixels two pictures of one view do not share.
inline int Differing(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b)
{
    if (a.size() != b.size()) return -1;
    int differ = 0;
    for (size_t i = 0; i < a.size(); ++i) differ += a[i] != b[i] ? 1 : 0;
    return differ;
}

// A rectangle given as left, top, width, height.
inline CRect Box(int x, int y, int w, int h) { return CRect(x, y, x + w, y + h); }

// Screen factors and document fonts for a screen size; the process's factors
// come back on leaving.
class ScopedScreen {
public:
    ScopedScreen() : m_x(g_dXUnit), m_y(g_dYUnit) {}
    ~ScopedScreen()
    {
        g_dXUnit = m_x;
        g_dYUnit = m_y;
    }
    void Use(CTavrionDoc& doc, int width, int height)
    {
        g_dXUnit = width / 1024.0;
        g_dYUnit = height / 768.0;
        platform::ui::Desktop::SetScreenSize(width, height);
        doc.InitGlobalData();
    }
    // The same on a fresh desktop, for a document the test keeps: no frame
    // deletes it.
    void Fresh(CTavrionDoc& doc, int width, int height)
    {
        platform::ui::Desktop::Reset();
        doc.m_bAutoDelete = FALSE;
        Use(doc, width, height);
    }

private:
    double m_x, m_y;
};

template <class Pane, class = void> constexpr bool kHasPatientStrip = false;
template <class Pane>
constexpr bool kHasPatientStrip<Pane, std::void_t<decltype(std::declval<Pane&>().SetShowPatientInfo(TRUE))>> = true;

// host window > pane, the pane filling the host's client area.
template <class Pane> class PaneHost {
public:
    ~PaneHost() { Close(); }

    // The host's order up to window creation; `setDoc` gives the pane its document.
    template <class SetDoc> Pane* Open(SetDoc setDoc, BOOL showPatient, int width, int height)
    {
        Close();
        EXPECT_TRUE(host.CreateEx(0, nullptr, L"host", WS_POPUP | WS_VISIBLE, CRect(0, 0, width, height), nullptr, 0));
        pane = new Pane;
        setDoc(*pane);
        if constexpr (kHasPatientStrip<Pane>) pane->SetShowPatientInfo(showPatient);
        EXPECT_TRUE(pane->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, width, height), &host, 100));
        return pane;
    }
    void Close()
    {
        if (pane && pane->GetSafeHwnd()) pane->DestroyWindow();
        delete pane;
        pane = nullptr;
        if (host.GetSafeHwnd()) host.DestroyWindow();
    }
    CRect Rect(CWnd* child) const { return RectIn(pane, child); }

    CWnd host;
    Pane* pane = nullptr;
};

// The view's page drawn as the pane lays it out into `dc` over `area`, its
// texts in `font` (`mode` 0 for the screen, 1 for paper).
inline void DrawPage(CViewRhythmWave* view, CDC& dc, CFont* font, const CRect& area, int mode)
{
    int gridX = 0, gridY = 0;
    view->GetGridCount(gridX, gridY);
    CDCObjectSelector<CFont> selected(dc, font);
    dc.SetBkMode(TRANSPARENT);
    view->DrawView(&dc, area, gridX, gridY, mode);
}

// A pane test over a rhythm document on a fresh 1920 x 1080 desktop.
class RhythmPaneTest : public rhythmtest::RhythmDocTest {
protected:
    void SetUp() override
    {
        RhythmDocTest::SetUp();
        m_screen.Fresh(*m_doc, 1920, 1080);
    }
    // Writes a rhythm record of `leads` leads and `seconds` as `name`, then
    // lists, opens and selects it.
    void OpenRecord(int leads, double seconds, const std::string& name = "rhy")
    {
        morvelance::RhythmRecordShape shape;
        shape.leads = leads;
        shape.seconds = seconds;
        ASSERT_EQ(0, Open(rhythmtest::WriteRhythm(m_dir, name, shape), leads));
    }

    ScopedScreen m_screen;
};

// A pane test over an RR document on a fresh 1920 x 1080 desktop.
class RRPaneTest : public rrtest::RRDocTest {
protected:
    void SetUp() override
    {
        RRDocTest::SetUp();
        m_screen.Fresh(m_doc, 1920, 1080);
    }
    // Writes an RR record of `leads` leads and `seconds`, then lists and opens it.
    void OpenRecord(int leads, double seconds)
    {
        rrtest::RRRecordPlan plan;
        plan.leads = leads;
        plan.seconds = seconds;
        rrtest::RRFiles files = Write("rr", plan);
        Add(files);
        ASSERT_EQ(0, Open(files));
    }

    ScopedScreen m_screen;
};

}  // namespace panetest
