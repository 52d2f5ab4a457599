// The multi-lead view's switch between limb and chest leads: the shapes
// drawn over the leads shown go with them while the document shows
// annotations, and stay when the switch changes nothing or annotations are off.
#include <gtest/gtest.h>

#include "core/AnnotationInfo.h"
#include "tests/waveviews/MeasureViewTestSupport.h"

namespace {

class ChestLeadSwitchTest : public measuretest::MeasureViewFixture<> {
protected:
    // A line drawn over the leads shown.
    void DrawLine()
    {
        _SKETCH_INFO line;
        line.nType = 2;
        line.arrX.Add(10.0f);
        line.arrX.Add(200.0f);
        line.arrY.Add(40.0f);
        line.arrY.Add(40.0f);
        ASSERT_TRUE(m_view->LoadSketchInfo(&line));
    }
    int Shapes() { return m_view->GetNotationManager().GetCount(); }
};

}  // namespace

TEST_F(ChestLeadSwitchTest, SwitchingTheShownLeadsDropsTheShapesOnlyWhileAnnotationsAreShown)
{
    OpenRecord(75.0);
    MakeView(5);
    m_doc.SetAnnotationFlag(1);
    DrawLine();
    ASSERT_EQ(1, Shapes());
    // Setting what is already shown changes nothing.
    m_view->SetShowChestLead(FALSE);
    EXPECT_EQ(1, Shapes());
    m_view->SetShowChestLead(TRUE);
    EXPECT_EQ(0, Shapes());
    EXPECT_TRUE(m_view->IsShowChestLead());

    m_doc.SetAnnotationFlag(0);
    DrawLine();
    m_view->SetShowChestLead(FALSE);
    EXPECT_EQ(1, Shapes());
    EXPECT_FALSE(m_view->IsShowChestLead());
}
