// What the form tests share: a host window holding a page pane (which logs
// what its forms send it and answers the end of a tab chain as told), the
// pane's frame and a form made from its runtime class on a document, at the
// screen size the test chooses; typing and keys go through the desktop.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "core/UserMessages.h"
#include "forms/FormEx.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/windowing/Desktop.h"

namespace formtest {

struct PaneMessage {
    UINT message;
    WPARAM wParam;
    std::array<int, 3> chain;   // the three integers of WM_USER+5; zeros otherwise
};

// The page pane: logs WM_USER+5, +0x11 and +0xC, answers WM_USER+5 with `answer`.
class CLoggingPane : public CWnd {
public:
    std::vector<PaneMessage> log;
    LRESULT answer = 0;

    // The three integers of the last WM_USER+5.
    std::array<int, 3> LastChain() const
    {
        for (auto m = log.rbegin(); m != log.rend(); ++m)
            if (m->message == WM_FORM_TAB_END) return m->chain;
        return {0, 0, 0};
    }
    int Count(UINT message) const
    {
        int n = 0;
        for (const PaneMessage& m : log) n += m.message == message;
        return n;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_FORM_TAB_END || message == WM_ANNOTATION_ACTIVE || message == WM_VIEW_RESULT) {
            PaneMessage entry{message, wParam, {0, 0, 0}};
            if (message == WM_FORM_TAB_END && wParam) {
                const int* chain = reinterpret_cast<const int*>(wParam);
                entry.chain = {chain[0], chain[1], chain[2]};
            }
            log.push_back(entry);
            if (message == WM_FORM_TAB_END) return answer;
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// Screen factors as the application sets them for a screen size, the
// document's fonts made again; restores the process's factors on leaving.
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

private:
    double m_x, m_y;
};

// host window > pane > frame > form, the way the page panes hold their forms.
template <class Form> class FormHost {
public:
    ~FormHost() { Close(); }

    Form* Show(CTavrionDoc& doc, int kind, CRuntimeClass* runtime, int width, int height)
    {
        Close();
        doc.SetCtrlContent(nullptr);
        doc.UpdateCtrlStatus();
        EXPECT_TRUE(m_host.CreateEx(0, nullptr, L"host", WS_POPUP | WS_VISIBLE, CRect(0, 0, width, height), nullptr, 0));
        EXPECT_TRUE(pane.CreateEx(0, nullptr, L"pane", WS_CHILD | WS_VISIBLE, CRect(0, 0, width, height), &m_host, 1));
        m_frame = new CFrameWnd;
        EXPECT_TRUE(m_frame->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, width, height), &pane));
        CCreateContext context;
        context.m_pNewViewClass = runtime;
        context.m_pCurrentDoc = &doc;
        form = dynamic_cast<Form*>(m_frame->CreateView(&context, AFX_IDW_PANE_FIRST));
        if (!form) return nullptr;
        form->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
        m_frame->RecalcLayout();
        form->SetDocType(&doc, kind);
        form->SendMessage(WM_INITIALUPDATE, 0, 0);
        form->ShowText();
        doc.UpdateAllViews(nullptr);
        platform::ui::Desktop::PumpMessages();
        return form;
    }

    void Close()
    {
        if (m_frame && m_frame->m_hWnd) m_frame->DestroyWindow();
        m_frame = nullptr;
        form = nullptr;
        if (pane.m_hWnd) pane.DestroyWindow();
        if (m_host.m_hWnd) m_host.DestroyWindow();
    }

    // The great-grandparent of the form: it hears WM_USER+0xC.
    class CHostWnd : public CWnd {
    public:
        int results = 0;

    protected:
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == WM_VIEW_RESULT) ++results;
            return CWnd::WindowProc(message, wParam, lParam);
        }
    };

    CHostWnd& Host() { return m_host; }

    CLoggingPane pane;
    Form* form = nullptr;

private:
    CHostWnd m_host;
    CFrameWnd* m_frame = nullptr;
};

// A control's rectangle in its form's client coordinates.
inline CRect PlacedRect(CWnd& form, CWnd& control)
{
    CRect rect;
    control.GetWindowRect(&rect);
    form.ScreenToClient(&rect);
    return rect;
}

inline bool IsShown(CWnd* control)
{
    return control && (control->GetStyle() & WS_VISIBLE);
}

}  // namespace formtest
