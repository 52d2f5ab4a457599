// The interpretation page pane over a resting document on a fresh
// 1920 × 1080 desktop, the pane in a host window the size the test asks for.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/PositionCtrl.h"
#include "panes/WndRestInterpretation.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/panes/PaneTestSupport.h"

namespace panetest {

class RestInterpretationPaneFixture : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        platform::ui::Desktop::Reset();
        m_doc.m_bAutoDelete = FALSE;
        m_doc.GetCtrlPosFromXSL(LOAD_POS_REST);
        m_screen.Use(m_doc, 1920, 1080);
    }
    void TearDown() override
    {
        m_host.Close();
        resttest::RestDocFixture::TearDown();
    }
    // A twelve-lead resting record of the record maker, listed and opened.
    void OpenRecord(int systemCode = -1, const std::string& trip = std::string())
    {
        morvelance::RestRecordShape shape = resttest::Shape(morvelance::rec::RecordKind::Rest12, false, systemCode);
        shape.xml.trip = trip;
        ASSERT_EQ(0, Open(AddRecord("interpre.ecg", shape)));
    }
    // The pane on the document showing page `style`, its messages handled.
    CWndRestInterpretation* Show(int style, BOOL showPatient = TRUE, int width = 1020, int height = 664)
    {
        CWndRestInterpretation* pane = m_host.Open(
            [this](CWndRestInterpretation& p) { p.SetRestViewDoc(&m_doc); }, showPatient, width, height);
        pane->ShowRestPageStyle(style);
        platform::ui::Desktop::PumpMessages();
        return pane;
    }
    CRect Rect(CWnd* child) { return m_host.Rect(child); }

    ScopedScreen m_screen;
    PaneHost<CWndRestInterpretation> m_host;
};

}  // namespace panetest
