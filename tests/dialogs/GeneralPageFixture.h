// What the general patient page's tests share: the page in a modeless sheet
// over a rhythm record from the record maker.
#pragma once

#include <gtest/gtest.h>

#include "dialogs/PagePatientCommentGeneral.h"
#include "tests/dialogs/PageInSheet.h"
#include "tests/documents/RhythmViewDocTestSupport.h"

namespace dialogtest {

class GeneralPageFixture : public rhythmtest::RhythmDocTest {
protected:
    void SetUp() override
    {
        RhythmDocTest::SetUp();
        m_files = rhythmtest::WriteRhythm(m_dir, "general", morvelance::RhythmRecordShape());
        ASSERT_EQ(Open(m_files, 1), 0);
        ASSERT_NE(Item(), nullptr);
    }
    void TearDown() override
    {
        m_host.Close();
        RhythmDocTest::TearDown();
    }

    CPagePatientCommentGeneral& ShowPage() { return m_host.Show(m_doc.get(), DOC_TYPE_RHYTHM, L"情報編集"); }

    rhythmtest::RhythmFiles m_files;
    CPageInSheet<CPagePatientCommentGeneral> m_host;
};

}  // namespace dialogtest
