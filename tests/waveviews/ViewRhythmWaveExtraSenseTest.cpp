// The multi-lead view on an extra-lead record of six leads whose record XML
// asks for the record's own sensitivity (sense modes 3 and 4): the record,
// opened and read back as the host does, is drawn on its one-column page at
// ten pixels a millimetre, and its first trace's height above its zero line
// is measured against the lead's samples.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <utility>

#include "tests/documents/ExtraViewDocFixture.h"
#include "tests/waveviews/ViewRhythmWaveTestSupport.h"
#include "waveviews/ViewRhythmWave.h"

namespace {

constexpr int kPxPerMm = 10;
constexpr int kOneColumnPage = 24;   // one column, a row a lead
constexpr double kMicrovoltsPerUnit = 1.25;

class ExtraSensePageTest : public rhythmviewtest::PageFixture<extratest::ExtraDocTest, DOC_TYPE_EXTRA> {
protected:
    // A six-lead record taken at `recorded` mm/mV whose record XML keeps the
    // sense mode and 10 mm/mV for both lead sets, opened and read back.
    void Open(const std::string& mode, const std::string& recorded)
    {
        morvelance::ExtraRecordOptions options;
        options.layout = morvelance::ExtraLayout::Six;
        morvelance::ExtraXmlSettings settings;
        settings.senseMode = mode;
        settings.acqSense = recorded;
        const extratest::RecordFiles files = Write("sense" + mode + "-" + recorded, options, settings);
        ASSERT_NE(nullptr, Load(m_doc, files, morvelance::ExtraLeadType(options.layout)));
        m_doc.UpDateReferenceInfo(CString());
        ASSERT_EQ(static_cast<UINT>(std::stoi(mode)), m_doc.GetSenseMode());
    }
    void DrawPage()
    {
        m_view.SetWaveStyle(kOneColumnPage, TRUE);
        m_view.OnUpdate(nullptr, 0, nullptr);
        int gridX = 0, gridY = 0;
        m_view.GetGridCount(gridX, gridY);
        m_calWidth = 10 * kPxPerMm;
        ASSERT_NO_FATAL_FAILURE(MakeSurface(gridX * kPxPerMm, gridY * kPxPerMm));
        ASSERT_EQ(1, m_view.DrawView(&m_dc, CRect(0, 0, m_width, m_height), gridX, gridY, 0));
        ASSERT_EQ(6, m_view.GetRows());
    }
    // Lead 0's zero line: where the placement put it, else its row's centre.
    int ZeroLine() const
    {
        const int placed = m_view.GetScreenBaseline(0);
        return placed > 0 ? placed : m_height / (2 * m_view.GetRows());
    }
    // Measured from 40 mm into the traces, clear of the lead's name and the
    // start time, to the page's right edge.
    int MeasureFrom() const { return m_calWidth + 40 * kPxPerMm; }
    // Lead 0's highest sample over the measured stretch, in mV.
    double Highest() const
    {
        const short* samples = m_view.GetLeadSamples(0);
        const int count = m_view.GetLeadSampleCount(0);
        short highest = SHRT_MIN;
        for (int i = 0; i < count; ++i) {
            const int x = m_calWidth + static_cast<int>(static_cast<long long>(i) * (m_width - m_calWidth) / count);
            if (x >= MeasureFrom()) highest = std::max(highest, samples[i]);
        }
        return highest * kMicrovoltsPerUnit / 1000.0;
    }
    // How far in mm lead 0's trace rises above its zero line: its highest ink
    // in the 12 mm over the line (nothing else is drawn there).
    double RiseInMm()
    {
        const int zero = ZeroLine();
        for (int y = std::max(0, zero - 12 * kPxPerMm); y <= zero; ++y)
            for (int x = MeasureFrom(); x < m_width; ++x)
                if (Inked(x, y)) return static_cast<double>(zero - y) / kPxPerMm;
        return 0.0;
    }

    int m_calWidth = 0;
};

TEST_F(ExtraSensePageTest, InSenseModesThreeAndFourTheTracesAreDrawnAtTheRecordsSensitivity)
{
    // (mode, gain drawn): mode 1 keeps the settings' 10 mm/mV.
    for (const auto& [mode, gain] : {std::make_pair("1", 10.0), std::make_pair("3", 20.0), std::make_pair("4", 20.0)}) {
        SCOPED_TRACE(mode);
        ASSERT_NO_FATAL_FAILURE(Open(mode, "20.0"));
        ASSERT_NO_FATAL_FAILURE(DrawPage());
        const double highest = Highest();
        ASSERT_GT(highest, 0.2);
        ASSERT_LT(highest * gain, 12.0);   // the rise stays within the band measured
        EXPECT_NEAR(highest * gain, RiseInMm(), 0.15);
        // The automatic placement starts from the same gain, and keeps it.
        CRect column(0, 0, m_width, m_height);
        EXPECT_FLOAT_EQ(static_cast<float>(gain), m_view.CalAutoSensPosForOneCol(4, 0, 0, &column, m_height / kPxPerMm, 0));
    }
}

}  // namespace
