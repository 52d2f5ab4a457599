// The master-step form on a record of the record maker: the record written
// and opened in a final document on a 1024 × 768 screen, the form shown as
// its pane holds it, keys pressed through the desktop.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/PositionCtrl.h"
#include "forms/FormInterpreMsfr.h"
#include "tests/documents/FinalViewDocTestUtil.h"
#include "tests/forms/FormTestSupport.h"

namespace formtest {

class MasterStepFormTest : public finaltest::FinalDocTest {
protected:
    void SetUp() override
    {
        finaltest::FinalDocTest::SetUp();
        m_doc.m_bAutoDelete = FALSE;
        platform::ui::Desktop::Reset();
        m_screen.Use(m_doc, 1024, 768);
        m_doc.GetCtrlPosFromXSL(LOAD_POS_FINAL);
        m_record = Write(finaltest::SynthRecord(), &m_xml);
        ASSERT_EQ(Open(m_doc, m_record, m_xml), 0);
    }
    void TearDown() override
    {
        m_host.Close();
        finaltest::FinalDocTest::TearDown();
    }
    // The form on the record, 540 × 560; null when it could not be made.
    CFormInterpreMsfr* ShowForm()
    {
        return m_host.Show(m_doc, DOC_TYPE_FINAL, RUNTIME_CLASS(CFormInterpreMsfr), 540, 560);
    }
    void Press(UINT vk, UINT modifiers = platform::ui::kNoModifiers)
    {
        platform::ui::Desktop::KeyPress(vk, modifiers);
        platform::ui::Desktop::PumpMessages();
    }

    CFinalViewDoc m_doc;
    std::string m_record, m_xml;
    ScopedScreen m_screen;
    FormHost<CFormInterpreMsfr> m_host;
};

}  // namespace formtest
