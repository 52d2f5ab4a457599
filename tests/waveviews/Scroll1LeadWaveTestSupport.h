// A one-lead scroll strip on a rhythm record of the record maker, in a pane
// window of its own on a 1920 × 1080 desktop: the strip 1300 × 120 pixels
// on 260 × 30 squares, its margin 50 pixels and the strip proper from x = 51.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "waveviews/ViewScroll1LeadWave.h"

namespace striptest {

constexpr int kWidth = 1300;
constexpr int kHeight = 120;

// `Strip` is the strip's class (a CViewScroll1LeadWave), `Pane` its parent's.
template <class Strip = CViewScroll1LeadWave, class Pane = CWnd> class StripTest : public rhythmtest::RhythmDocTest {
protected:
    void SetUp() override
    {
        rhythmtest::RhythmDocTest::SetUp();
        platform::ui::Desktop::SetScreenSize(1920, 1080);
    }
    void TearDown() override
    {
        m_pane.DestroyWindow();
        platform::ui::Desktop::Reset();
        rhythmtest::RhythmDocTest::TearDown();
    }

    // A one-lead rhythm record of `seconds` at 500 samples a second with the
    // events, written as `name`, opened at 25 mm/s.
    void OpenStripRecord(const std::string& name, double seconds, uint16_t code, const std::vector<int32_t>& events)
    {
        morvelance::RhythmRecordShape shape;
        shape.seconds = seconds;
        shape.systemCode = code;
        auto tweak = [&](morvelance::RecordBuilder& builder) {
            if (!events.empty()) morvelance::SetRhythmEvents(builder, events);
            morvelance::ApplyRhythmFamily(builder);
        };
        ASSERT_EQ(0, Open(rhythmtest::WriteRhythm(m_dir, name, shape, tweak), 1));
        m_doc->m_bAutoDelete = FALSE;
        m_doc->SetSpeed(25.0f);
    }
    // The strip in `stripStyle` under a page of `pageStyle`, made in its pane
    // and painted once.
    void CreateStrip(int pageStyle, int stripStyle)
    {
        m_doc->SetRhythmWaveStyle(pageStyle);
        ASSERT_TRUE(m_pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), nullptr,
                                    0));
        CCreateContext context;
        context.m_pCurrentDoc = m_doc.get();
        m_strip = new Strip;
        ASSERT_TRUE(m_strip->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), &m_pane, 202,
                                    &context));
        m_strip->SetDocType(DOC_TYPE_RHYTHM);
        m_strip->SetRhythm1LeadID(0);
        m_strip->SetWaveStyle(stripStyle, TRUE);
        m_strip->OnUpdate(nullptr, 0, nullptr);
        Paint();
    }
    void Paint()
    {
        m_strip->Invalidate(TRUE);
        m_strip->UpdateWindow();
    }

    Pane m_pane;
    Strip* m_strip = nullptr;   // deleted with its window
};

}  // namespace striptest
