// A resting-ECG form as its pane shows it: a resting document with the
// layout tables read, on a 1024 x 768 screen, the form shown by the host.
#pragma once

#include "core/PositionCtrl.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/forms/FormTestSupport.h"

namespace formtest {

template <class Form> class RestFormFixture : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        m_doc.m_bAutoDelete = FALSE;
        platform::ui::Desktop::Reset();
        m_screen.Use(m_doc, 1024, 768);
        m_doc.GetCtrlPosFromXSL(LOAD_POS_REST);
    }
    void TearDown() override
    {
        m_host.Close();
        resttest::RestDocFixture::TearDown();
    }

    ScopedScreen m_screen;
    FormHost<Form> m_host;
};

}  // namespace formtest
