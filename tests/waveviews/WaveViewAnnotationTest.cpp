// The annotation layer of a waveform view in a frame on its document: record
// shapes through the manager and back, mouse input by mouse mode, lock and
// playback, the Delete key, undo, and printing.
#include <gtest/gtest.h>

#include <vector>

#include "core/AnnoManager.h"
#include "core/AnnotationInfo.h"
#include "core/ECGXMLParser.h"
#include "core/TavrionDoc.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Input.h"
#include "tests/support/TestSupport.h"
#include "waveviews/WaveView.h"

namespace {

// A frame that counts the annotation-input notices of its view.
class CNoticeFrame : public CFrameWnd {
public:
    int m_nNotices = 0;
    WPARAM m_lastView = 0;

protected:
    LRESULT OnAnnotationInput(WPARAM wParam, LPARAM)
    {
        ++m_nNotices;
        m_lastView = wParam;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNoticeFrame, CFrameWnd)
    ON_MESSAGE(WM_ANNOTATION_ACTIVE, OnAnnotationInput)
END_MESSAGE_MAP()

using Points = std::vector<std::pair<float, float>>;

class WaveViewAnnotationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_doc.m_bAutoDelete = FALSE;
        m_doc.SetAnnotationType(2);
        m_doc.SetAnnotationWidth(2);
        m_doc.SetAnnotationColor(RGB(0, 0, 255));
        ASSERT_TRUE(m_pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(0, 0, 301, 201), nullptr, 0));
        m_frame = new CNoticeFrame;
        ASSERT_TRUE(m_frame->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 301, 201), &m_pane));
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CWaveView);
        context.m_pCurrentDoc = &m_doc;
        m_view = DYNAMIC_DOWNCAST(CWaveView, m_frame->CreateView(&context, AFX_IDW_PANE_FIRST));
        ASSERT_NE(nullptr, m_view);
        m_frame->RecalcLayout();
        m_view->OnUpdate(nullptr, 0, nullptr);
    }
    void TearDown() override
    {
        if (m_frame) m_frame->DestroyWindow();
        m_pane.DestroyWindow();
        for (_ANNOTATION_SKETCH* area : m_areas) delete area;
        DeleteSketchChain(m_chain);
    }

    // Appends a record shape of the type with the points.
    void AddRecordShape(int type, const Points& points, LPCWSTR text = L"")
    {
        auto* info = new _SKETCH_INFO;
        info->nType = type;
        info->nLineWidth = 2;
        info->crColor = RGB(0, 128, 0);
        info->lfFont.lfHeight = 14;
        info->strText = text;
        for (const auto& p : points) {
            info->arrX.Add(p.first);
            info->arrY.Add(p.second);
        }
        _SKETCH_INFO** tail = &m_chain;
        while (*tail) tail = &(*tail)->pNext;
        *tail = info;
    }
    // One shape of each of the eleven types, with the point lists the record keeps.
    void AddEveryType()
    {
        AddRecordShape(1, {{10, 10}, {10, 10}, {16, 12}, {22, 14}});
        AddRecordShape(2, {{5, 5}, {60, 40}});
        // A closed head, stored in the loaded order.
        AddRecordShape(3, {{10, 80}, {90, 80}, {80, 75}, {90, 80}, {90, 80}, {80, 85}, {84, 80}, {10, 80}});
        // An open head: 2, 1, 0, 1, 3, 1.
        AddRecordShape(4, {{10, 100}, {90, 100}, {80, 105}, {90, 100}, {80, 95}, {90, 100}, {84, 100}, {90, 100}});
        AddRecordShape(5, {{20, 20}, {50, 40}});
        AddRecordShape(6, {{30, 30}, {70, 60}});
        AddRecordShape(7, {{40, 40}, {40, 40}, {70, 45}, {55, 70}});
        AddRecordShape(8, {{15, 15}, {15, 15}, {20, 18}, {25, 22}, {31, 20}});
        AddRecordShape(9, {{15, 50}, {15, 50}, {25, 55}, {35, 50}, {25, 45}});
        AddRecordShape(10, {{100, 10}, {160, 30}}, L"ST");
        AddRecordShape(11, {{120, 60}, {180, 80}, {100, 120}, {120, 70}}, L"P");
    }
    // The shapes of two chains, type by type and point by point.
    void ExpectSameShapes(const _SKETCH_INFO* expected, const _SKETCH_INFO* actual)
    {
        for (; expected; expected = expected->pNext, actual = actual->pNext) {
            ASSERT_NE(nullptr, actual);
            SCOPED_TRACE(expected->nType);
            EXPECT_EQ(expected->nType, actual->nType);
            EXPECT_EQ(PointsOf(expected), PointsOf(actual));
            EXPECT_EQ(expected->nLineWidth, actual->nLineWidth);
            EXPECT_EQ(expected->crColor, actual->crColor);
            EXPECT_EQ(expected->strText, actual->strText);
        }
        EXPECT_EQ(nullptr, actual);
    }
    static Points PointsOf(const _SKETCH_INFO* info)
    {
        Points points;
        for (INT_PTR i = 0; i < info->arrX.GetSize(); ++i) points.emplace_back(info->arrX[i], info->arrY[i]);
        return points;
    }
    int ShapeCount() { return m_view->GetNotationManager().GetCount(); }
    void Drag(POINT from, POINT to)
    {
        platform::ui::Desktop::Drag(m_view->GetSafeHwnd(), from, to);
        platform::ui::Desktop::PumpMessages();
    }

    CTavrionDoc m_doc;
    CWnd m_pane;
    CNoticeFrame* m_frame = nullptr;
    CWaveView* m_view = nullptr;
    _SKETCH_INFO* m_chain = nullptr;
    std::vector<_ANNOTATION_SKETCH*> m_areas;
};

}  // namespace

TEST_F(WaveViewAnnotationTest, EveryAnnotationTypeKeepsItsPointsThroughLoadingAndSaving)
{
    AddEveryType();
    ASSERT_TRUE(m_view->LoadSketchInfo(m_chain));
    ASSERT_EQ(11, ShapeCount());

    _ANNOTATION_INFO record;
    ASSERT_TRUE(m_view->SaveAnnoToData(7, &record, FALSE));
    ASSERT_EQ(1, record.GetAreaCount());
    _ANNOTATION_SKETCH* area = record.GetArea(0);
    EXPECT_EQ(7, area->nPageStyle);
    ExpectSameShapes(m_chain, area->pSketchHead);
}

TEST_F(WaveViewAnnotationTest, EveryAnnotationTypeWrittenToTheRecordXmlComesBackWithItsPoints)
{
    testsupport::TempDir dir;
    const std::string path = dir.Write("record.xml",
                                       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                       "<Rawdata><Tavrion><Inspection/></Tavrion><Annotation/></Rawdata>\n");
    AddEveryType();
    ASSERT_TRUE(m_view->LoadSketchInfo(m_chain));
    {
        auto* head = new _ANNOTATION_INFO;
        CAnnoManager records;
        records.SetListHeader(head);
        _ANNOTATION_INFO* info = records.AddItem();
        info->nPageStyle = 1;
        ASSERT_TRUE(m_view->SaveAnnoToData(3, info, FALSE));
        CECGXMLParser xml(testsupport::Wide(path), 0, CString());
        m_doc.SaveAnnoInfoToXML(head, &xml);
        DeleteAnnotationChain(head);
    }
    m_view->DeleteAllAnnoInfo();
    ASSERT_EQ(0, ShapeCount());

    auto* head = new _ANNOTATION_INFO;
    {
        CECGXMLParser xml(testsupport::Wide(path), 0, CString());
        m_doc.GetAnnoInfoFromXML(head, &xml);
    }
    CAnnoManager records;
    records.SetListHeader(head);
    _ANNOTATION_INFO* read = records.GetAt(0);
    ASSERT_NE(nullptr, read);
    ASSERT_EQ(1, read->GetAreaCount());
    ASSERT_TRUE(m_view->LoadSketchInfo(read->GetArea(0)->pSketchHead));
    _ANNOTATION_INFO again;
    ASSERT_TRUE(m_view->SaveAnnoToData(3, &again, FALSE));
    ASSERT_EQ(1, again.GetAreaCount());
    ExpectSameShapes(m_chain, again.GetArea(0)->pSketchHead);
    DeleteAnnotationChain(head);
}

TEST_F(WaveViewAnnotationTest, LoadingStopsAtAShapeWhosePointListsDiffer)
{
    AddRecordShape(2, {{5, 5}, {60, 40}});
    AddRecordShape(2, {{5, 5}, {60, 40}});
    m_chain->pNext->arrY.Add(3.0f);
    EXPECT_FALSE(m_view->LoadSketchInfo(m_chain));
    EXPECT_EQ(1, ShapeCount());
    EXPECT_FALSE(m_view->LoadSketchInfo(nullptr));
}

TEST_F(WaveViewAnnotationTest, SavingWithoutShapesLeavesTheRecordWithoutAreas)
{
    _ANNOTATION_INFO record;
    EXPECT_TRUE(m_view->SaveAnnoToData(1, &record, FALSE));
    EXPECT_EQ(0, record.GetAreaCount());
}

TEST_F(WaveViewAnnotationTest, SavingWithClearDeletesEveryShapeAndItsHistory)
{
    m_doc.SetMouseMode(2);
    Drag({20, 20}, {120, 80});
    ASSERT_EQ(1, ShapeCount());
    EXPECT_TRUE(m_view->SaveAnnoToData(1, nullptr, TRUE));
    EXPECT_EQ(0, ShapeCount());
    EXPECT_EQ(255, m_view->AnnotationUndo());
}

TEST_F(WaveViewAnnotationTest, ALineDraggedInDrawModeAddsAShapeAndTellsTheParent)
{
    m_doc.SetMouseMode(2);
    Drag({20, 20}, {120, 80});
    EXPECT_EQ(1, ShapeCount());
    EXPECT_EQ(1, m_frame->m_nNotices);
    EXPECT_EQ(reinterpret_cast<WPARAM>(m_view), m_frame->m_lastView);
    EXPECT_EQ(0, m_view->AnnotationUndo());
    EXPECT_EQ(0, ShapeCount());
    EXPECT_EQ(0, m_view->AnnotationRedo());
    EXPECT_EQ(1, ShapeCount());
}

TEST_F(WaveViewAnnotationTest, MeasureModeLockAndPlaybackEachStopAnnotationInput)
{
    m_doc.SetMouseMode(1);
    Drag({20, 20}, {120, 80});
    m_doc.SetMouseMode(2);
    m_doc.SetAnnotationLock(2);
    Drag({20, 20}, {120, 80});
    m_doc.SetAnnotationLock(0);
    m_doc.SetPlayback(1);
    Drag({20, 20}, {120, 80});
    EXPECT_EQ(0, ShapeCount());
    EXPECT_EQ(0, m_frame->m_nNotices);
}

TEST_F(WaveViewAnnotationTest, DeleteInSelectModeRemovesTheSelectedShapeOnlyWhileEditing)
{
    AddRecordShape(2, {{20, 20}, {120, 20}});
    ASSERT_TRUE(m_view->LoadSketchInfo(m_chain));
    m_doc.SetMouseMode(3);
    platform::ui::Desktop::Click(m_view->GetSafeHwnd(), 70, 20);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(1, m_frame->m_nNotices);
    platform::ui::Desktop::KeyPress(VK_DELETE);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(1, ShapeCount());
    m_view->SetAnnoViewActive(TRUE);
    platform::ui::Desktop::Click(m_view->GetSafeHwnd(), 70, 20);
    platform::ui::Desktop::KeyPress(VK_DELETE);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(0, ShapeCount());
}

TEST_F(WaveViewAnnotationTest, ArrowTypesFollowTheArrowHeadBothWays)
{
    m_view->SetAnnoType(3);
    EXPECT_EQ(SKETCH_ARROW, m_view->GetNotationManager().GetCurrentType());
    m_doc.SetMouseMode(2);
    Drag({20, 20}, {120, 80});
    m_view->SetAnnoType(4);
    Drag({20, 120}, {120, 150});
    POSITION pos = m_view->GetNotationManager().GetHeadPosition();
    CSketchObject* closed = m_view->GetNotationManager().GetNext(pos);
    CSketchObject* open = m_view->GetNotationManager().GetNext(pos);
    ASSERT_NE(nullptr, open);
    EXPECT_EQ(3, CWaveView::GetAnnoTypeFromSketchType(closed->GetType(), closed));
    EXPECT_EQ(4, CWaveView::GetAnnoTypeFromSketchType(open->GetType(), open));
    EXPECT_EQ(1, CWaveView::GetSketchTypeFromAnnoType(42));
}

TEST_F(WaveViewAnnotationTest, AnnotationsAreDrawnOnlyOutsideMeasureMode)
{
    AddRecordShape(2, {{0, 10}, {100, 10}});
    ASSERT_TRUE(m_view->LoadSketchInfo(m_chain));
    CDC dc;
    ASSERT_TRUE(dc.Attach(platform::gdi::CreateImageDC(200, 100)));
    dc.FillSolidRect(0, 0, 200, 100, RGB(255, 255, 255));
    m_doc.SetMouseMode(1);
    m_view->DrawAnnotation(&dc, CRect(0, 0, 200, 100), FALSE, 1.0f);
    EXPECT_EQ(RGB(255, 255, 255), dc.GetPixel(50, 10));
    m_doc.SetMouseMode(2);
    m_view->DrawAnnotation(&dc, CRect(0, 0, 200, 100), TRUE, 2.0f);
    EXPECT_EQ(RGB(0, 128, 0), dc.GetPixel(100, 20));   // doubled about the corner
    EXPECT_FLOAT_EQ(1.0f, m_view->GetAnnoSizeRatio());
    EXPECT_EQ(CPoint(0, 0), m_view->GetAnnoOrigin());
}

TEST_F(WaveViewAnnotationTest, AWideViewPrintsItsAnnotationsScaledByWidth)
{
    m_frame->MoveWindow(0, 0, 2000, 150);
    m_frame->RecalcLayout();
    CRect client;
    m_view->GetClientRect(&client);
    ASSERT_GT(client.Width() / client.Height(), 10);
    AddRecordShape(2, {{0, 10}, {static_cast<float>(client.Width()), 10}});
    ASSERT_TRUE(m_view->LoadSketchInfo(m_chain));
    m_doc.SetMouseMode(2);
    CDC dc;
    ASSERT_TRUE(dc.Attach(platform::gdi::CreateImageDC(1000, 400)));
    dc.FillSolidRect(0, 0, 1000, 400, RGB(255, 255, 255));
    m_view->PrintAnnotation(&dc, CRect(0, 0, 1000, 400));
    // Half the width: the line lies at y 5 across the rectangle, not at y 26.
    EXPECT_NE(RGB(255, 255, 255), dc.GetPixel(500, 5));
    EXPECT_EQ(RGB(255, 255, 255), dc.GetPixel(500, 26));
}

TEST(WaveViewAnnotationUnsized, AViewNeverSizedPrintsNoAnnotations)
{
    CTavrionDoc doc;
    doc.m_bAutoDelete = FALSE;
    doc.SetMouseMode(2);
    CWaveView view;
    doc.AddView(&view);
    _SKETCH_INFO line;
    line.nType = 2;
    line.arrX.Add(0.0f);
    line.arrX.Add(50.0f);
    line.arrY.Add(5.0f);
    line.arrY.Add(5.0f);
    ASSERT_TRUE(view.LoadSketchInfo(&line));
    CDC dc;
    ASSERT_TRUE(dc.Attach(platform::gdi::CreateImageDC(100, 20)));
    dc.FillSolidRect(0, 0, 100, 20, RGB(255, 255, 255));
    view.PrintAnnotation(&dc, CRect(0, 0, 100, 20));
    EXPECT_EQ(RGB(255, 255, 255), dc.GetPixel(25, 5));
    doc.RemoveView(&view);
}
