// A waveview on a document with known colours, and an image surface to
// probe what it draws.
#pragma once

#include <gtest/gtest.h>

#include "core/TavrionDoc.h"
#include "platform/gdi/Dc.h"
#include "platform/gdi/Image.h"
#include "waveviews/WaveView.h"

namespace waveviewtest {

const COLORREF kPaper = RGB(255, 255, 255);
const COLORREF kGrid = RGB(255, 0, 0);
const COLORREF kTrace = RGB(0, 0, 0);

class WaveViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_doc.SetWaveColor(0, kTrace);
        m_doc.SetWaveColor(1, kGrid);
        m_doc.SetWaveColor(2, kPaper);
        m_doc.SetGridType(1);
        m_doc.SetSmoothFilterMode(0);
        m_doc.SetBaseLineWidth(1);
        // The document is the fixture's: it must not delete itself when the view leaves.
        m_doc.m_bAutoDelete = FALSE;
        m_doc.AddView(&m_view);
    }
    void TearDown() override { m_doc.RemoveView(&m_view); }

    // A fresh white surface of the given size.
    void MakeSurface(int width, int height)
    {
        m_dc.DeleteDC();
        ASSERT_TRUE(m_dc.Attach(platform::gdi::CreateImageDC(width, height)));
        m_dc.FillSolidRect(0, 0, width, height, kPaper);
        m_width = width;
        m_height = height;
    }
    COLORREF Pixel(int x, int y) { return m_dc.GetPixel(x, y); }
    // The rows of column x whose pixel is not paper.
    std::vector<int> InkRows(int x)
    {
        std::vector<int> rows;
        for (int y = 0; y < m_height; ++y)
            if (Pixel(x, y) != kPaper) rows.push_back(y);
        return rows;
    }
    int InkCount()
    {
        int n = 0;
        for (int x = 0; x < m_width; ++x) n += static_cast<int>(InkRows(x).size());
        return n;
    }

    CTavrionDoc m_doc;
    CWaveView m_view;
    CDC m_dc;
    int m_width = 0;
    int m_height = 0;
};

}  // namespace waveviewtest
