// The RR views as the RR result and comment panes show them: records with an
// RR report written by the record maker, opened by the RR document, and a
// view made from its runtime class in a frame on the desktop. Screens are
// probed through the view's client DC; printing goes to a recording DC.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gdi/Image.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/FrameWnd.h"
#include "printdevice/ECGDC.h"
#include "tests/documents/RRViewDocFixture.h"
#include "tests/support/ViewInFrame.h"

namespace rrviewtest {

const COLORREF kBackground = RGB(255, 255, 250);

// n intervals of the same length.
inline std::vector<morvelance::RRInterval> Same(int n, int ms)
{
    return std::vector<morvelance::RRInterval>(static_cast<size_t>(n), morvelance::RRInterval{ms, false});
}
inline void Append(std::vector<morvelance::RRInterval>& to, const std::vector<morvelance::RRInterval>& more)
{
    to.insert(to.end(), more.begin(), more.end());
}

class RRViewTest : public rrtest::RRDocTest {
protected:
    void SetUp() override
    {
        rrtest::RRDocTest::SetUp();
        m_doc.m_bAutoDelete = FALSE;
        m_doc.SetWaveColor(20, kBackground);
    }
    void TearDown() override
    {
        CloseView();
        rrtest::RRDocTest::TearDown();
    }

    // A record whose report lists the intervals, opened as the current item.
    _RRDATAITEM* OpenReport(const morvelance::RRReport& report, const std::string& name = "rr")
    {
        rrtest::RRFiles files = WriteWithReport(name, report);
        _RRDATAITEM* item = Add(files);
        EXPECT_EQ(0, Open(files));
        return item;
    }
    _RRDATAITEM* OpenIntervals(const std::vector<morvelance::RRInterval>& intervals, const std::string& name = "rr")
    {
        morvelance::RRReport report;
        report.intervals = intervals;
        return OpenReport(report, name);
    }

    rrtest::RRFiles WriteWithReport(const std::string& name, const morvelance::RRReport& report)
    {
        morvelance::SynthOptions synth;
        synth.leads.assign(1, morvelance::LeadId::II);
        synth.seconds = 10.0;
        synth.heartRate = 75.0;
        morvelance::EcgRecord ecg = morvelance::Synthesize(synth);
        morvelance::RecordBuilder record = morvelance::MakeRRDeviceRecord(ecg, morvelance::DeviceRecordOptions());
        rrtest::RRFiles files;
        files.record = m_dir.File(name + ".ecg");
        files.xml = morvelance::WriteRRRecordFilesWithReport(files.record, record, report,
                                                             morvelance::RecordXmlOptions(),
                                                             m_dir.File(name + ".xml"));
        return files;
    }

    // The view of the class in a frame of width × height on the document,
    // after its first update; the view shown before goes.
    template <class View> View* Show(int width, int height)
    {
        CloseView();
        EXPECT_TRUE(m_pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(0, 0, width, height),
                                    nullptr, 0));
        m_frame = new CFrameWnd;
        auto* view = static_cast<View*>(
            testsupport::CreateViewInFrame(*m_frame, m_pane, RUNTIME_CLASS(View), m_doc, width, height));
        if (!view) return nullptr;
        view->SendMessage(WM_INITIALUPDATE, 0, 0);
        Repaint(view);
        return view;
    }
    void CloseView()
    {
        if (m_frame) m_frame->DestroyWindow();
        m_frame = nullptr;
        if (m_pane.GetSafeHwnd()) m_pane.DestroyWindow();
    }
    static void Repaint(CView* view)
    {
        view->Invalidate(TRUE);
        view->UpdateWindow();
    }
    static COLORREF Pixel(CView* view, int x, int y)
    {
        CClientDC dc(view);
        return dc.GetPixel(x, y);
    }

    CWnd m_pane;
    CFrameWnd* m_frame = nullptr;   // deletes itself and its view with its window
};

// A report's drawing on a recording DC behind a PDF print device.
class RecordedPrint {
public:
    RecordedPrint(int width, int height) : m_width(width), m_height(height)
    {
        m_dc.Attach(platform::gdi::CreateRecordingDC(width, height));
        m_font.CreateFont(-24, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, PROOF_QUALITY, FF_MODERN, L"simsun");
        m_old = m_dc.SelectObject(&m_font);
        m_device = std::make_unique<CECGDC>(&m_dc, 2);
    }
    ~RecordedPrint()
    {
        m_device.reset();
        m_dc.SelectObject(m_old);
    }
    CECGDC* Device() { return m_device.get(); }
    CDC& DC() { return m_dc; }
    CRect Rect() const { return CRect(0, 0, m_width, m_height); }
    std::vector<platform::gdi::DrawRecord> Records() { return platform::gdi::GetRecording(m_dc.GetSafeHdc()); }
    std::vector<platform::gdi::DrawRecord> Texts()
    {
        std::vector<platform::gdi::DrawRecord> texts;
        for (const auto& r : Records())
            if (r.op == platform::gdi::DrawOp::Text) texts.push_back(r);
        return texts;
    }
    bool HasText(const std::wstring& text) { return TextRecord(text).op == platform::gdi::DrawOp::Text; }
    // The first text record reading `text`; an empty record when none.
    platform::gdi::DrawRecord TextRecord(const std::wstring& text)
    {
        for (const auto& r : Texts())
            if (r.text == text) return r;
        return platform::gdi::DrawRecord();
    }

private:
    int m_width;
    int m_height;
    CDC m_dc;
    CFont m_font;
    CFont* m_old = nullptr;
    std::unique_ptr<CECGDC> m_device;
};

}  // namespace rrviewtest
