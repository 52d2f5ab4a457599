// A record opened in its document and shown in a multi-lead view drawn into
// an image surface, with pixel probes; a resting record written by the
// record maker as the common case.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/gdi/Image.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "waveviews/ViewRhythmWave.h"

namespace rhythmviewtest {

const COLORREF kPaper = RGB(255, 255, 255);
const COLORREF kInk = RGB(0, 0, 0);

// The view on the document `Base` holds as m_doc (of the kind `docType`),
// its traces and texts black, drawn into a white image surface.
template <class Base, int docType, class View = CViewRhythmWave> class PageFixture : public Base {
protected:
    void SetUp() override
    {
        Base::SetUp();
        this->m_doc.m_bAutoDelete = FALSE;
        this->m_doc.SetWaveColor(0, kInk);
        this->m_doc.SetWaveColor(3, kInk);
        this->m_doc.SetSmoothFilterMode(0);
        this->m_doc.SetBaseLineWidth(1);
        this->m_doc.AddView(&m_view);
        m_view.SetDocType(docType);
    }
    void TearDown() override
    {
        this->m_doc.RemoveView(&m_view);
        Base::TearDown();
    }

    // A fresh white surface of width × height.
    void MakeSurface(int width, int height)
    {
        m_dc.DeleteDC();
        ASSERT_TRUE(m_dc.Attach(platform::gdi::CreateImageDC(width, height)));
        m_dc.FillSolidRect(0, 0, width, height, kPaper);
        m_width = width;
        m_height = height;
    }
    bool Inked(int x, int y) { return m_dc.GetPixel(x, y) != kPaper; }
    int InkIn(const CRect& box)
    {
        int n = 0;
        for (int y = std::max(0, static_cast<int>(box.top)); y < std::min(m_height, static_cast<int>(box.bottom)); ++y)
            for (int x = std::max(0, static_cast<int>(box.left)); x < std::min(m_width, static_cast<int>(box.right)); ++x)
                n += Inked(x, y) ? 1 : 0;
        return n;
    }

    View m_view;
    CDC m_dc;
    int m_width = 0;
    int m_height = 0;
};

// A resting record written by the record maker in the view's page.
template <class View = CViewRhythmWave>
class RestPageFixture : public PageFixture<resttest::RestDocFixture, DOC_TYPE_REST, View> {
protected:
    using PageFixture<resttest::RestDocFixture, DOC_TYPE_REST, View>::m_view;
    using PageFixture<resttest::RestDocFixture, DOC_TYPE_REST, View>::m_dc;

    // Opens a record of the kind; row centres unless a test asks for automatic placement.
    void OpenRecord(morvelance::rec::RecordKind kind = morvelance::rec::RecordKind::Rest12, double seconds = 10.0)
    {
        morvelance::RestRecordShape shape;
        shape.kind = kind;
        shape.seconds = seconds;
        ASSERT_EQ(0, this->Open(this->AddRecord("page", shape)));
        this->m_doc.SetSenseMode(1);
    }
    // The page of the style drawn on screen into a white surface; DrawView's result.
    int DrawPage(int style, int width, int height)
    {
        m_view.SetWaveStyle(style, TRUE);
        m_view.OnUpdate(nullptr, 0, nullptr);
        this->MakeSurface(width, height);
        int gridX = 0;
        int gridY = 0;
        m_view.GetGridCount(gridX, gridY);
        m_gridX = gridX;
        m_gridY = gridY;
        return m_view.DrawView(&m_dc, CRect(0, 0, width, height), gridX, gridY, 0);
    }

    int m_gridX = 0;
    int m_gridY = 0;
};

}  // namespace rhythmviewtest
