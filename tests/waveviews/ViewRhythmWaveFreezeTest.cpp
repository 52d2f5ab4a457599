// The multi-lead view on freeze records, whose leads' codes choose each
// row's gain and pulse: the record maker's freeze extra record of every kind
// of electrode code (free leads 119 and 124, V4R and V9 by their own codes,
// 125, and lead 3 without a code), opened in the extra-lead document, and an
// MFER freeze file whose leads with no lead code are drawn at a fixed gain;
// each drawn on its one-column page at ten pixels a millimetre. Amplitudes
// are measured on the page against the lead's own samples.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

#include "documents/MFERViewDoc.h"
#include "tests/documents/ExtraViewDocFixture.h"
#include "tests/support/DocumentTestSupport.h"
#include "tests/waveviews/ViewRhythmWaveTestSupport.h"
#include "tools/MferWriter.h"
#include "waveviews/ViewRhythmWave.h"

namespace {

constexpr int kPxPerMm = 10;
constexpr int kFreezePage = 24;           // one column, a row a lead

// The view drawing its page as its paint does, in the record's own sample unit.
class CPaintedPageView : public CViewRhythmWave {
public:
    int DrawAsPainted(CDC* pDC, CRect rect, int gridX, int gridY)
    {
        m_dAmplitudeUnit = RecordAmplitudeUnit();
        return DrawView(pDC, rect, gridX, gridY, 0);
    }
};

// The page of a freeze record in the view, and its measures.
template <class Base, int docType>
class FreezePage : public rhythmviewtest::PageFixture<Base, docType, CPaintedPageView> {
protected:
    using Page = rhythmviewtest::PageFixture<Base, docType, CPaintedPageView>;
    using Page::InkIn;
    using Page::Inked;
    using Page::m_dc;
    using Page::m_doc;
    using Page::m_height;
    using Page::m_view;
    using Page::m_width;
    using Page::MakeSurface;

    // The page on screen with the extra leads at `gain` mm/mV.
    void DrawPage(float gain)
    {
        m_doc.SetSense(4, gain, 0);
        m_doc.SetSense(5, gain, 0);
        ASSERT_FLOAT_EQ(gain, static_cast<CTavrionDoc&>(m_doc).GetSense(4, 0));
        m_view.SetWaveStyle(kFreezePage, TRUE);
        m_view.OnUpdate(nullptr, 0, nullptr);
        int gridX = 0, gridY = 0;
        m_view.GetGridCount(gridX, gridY);
        m_calWidth = 10 * kPxPerMm;
        ASSERT_NO_FATAL_FAILURE(MakeSurface(gridX * kPxPerMm, gridY * kPxPerMm));
        ASSERT_EQ(1, m_view.DrawAsPainted(&m_dc, CRect(0, 0, m_width, m_height), gridX, gridY));
        ASSERT_EQ(6, m_view.GetRows());
    }

    int RowHeight() const { return m_height / m_view.GetRows(); }
    int ZeroLine(int row) const { return m_height / (2 * m_view.GetRows()) + row * RowHeight(); }

    // Where a lead's trace is measured: from 40 mm into the traces, clear of
    // the lead names and the start time, to the page's right edge.
    int MeasureFrom() const { return m_calWidth + 40 * kPxPerMm; }
    // The x of sample i of the page's trace (one column, the whole record).
    int SampleX(int lead, int i) const
    {
        const int width = m_width - m_calWidth;
        return m_calWidth + static_cast<int>(static_cast<long long>(i) * width / m_view.GetLeadSampleCount(lead));
    }
    // The lead's highest and lowest sample over the measured stretch, in mV.
    void Extremes(int lead, double& highest, double& lowest) const
    {
        const short* samples = m_view.GetLeadSamples(lead);
        short hi = SHRT_MIN, lo = SHRT_MAX;
        for (int i = 0; i < m_view.GetLeadSampleCount(lead); ++i) {
            if (SampleX(lead, i) < MeasureFrom()) continue;
            hi = std::max(hi, samples[i]);
            lo = std::min(lo, samples[i]);
        }
        highest = hi * m_microvoltsPerUnit / 1000.0;
        lowest = lo * m_microvoltsPerUnit / 1000.0;
    }
    // How far in mm the trace of row `row` rises above its zero line over the
    // measured stretch (its highest ink in the upper half of its row).
    double RiseInMm(int row)
    {
        const int zero = ZeroLine(row);
        for (int y = zero - RowHeight() / 2 + 1; y <= zero; ++y)
            for (int x = MeasureFrom(); x < m_width; ++x)
                if (Inked(x, y)) return static_cast<double>(zero - y) / kPxPerMm;
        return 0.0;
    }
    // The gain, mm/mV, at which row `row` shows lead `lead`: its rise against
    // the lead's highest sample. The rows above and below stay in their
    // halves of the page, so the rise is the lead's own.
    void ExpectGain(int row, double gain)
    {
        double highest = 0.0, lowest = 0.0;
        Extremes(row, highest, lowest);
        ASSERT_GT(highest, 0.2) << "lead " << row << " has no wave to measure";
        ASSERT_LT(highest * gain * kPxPerMm, RowHeight() / 2.0 - 2) << "lead " << row << " runs out of its row";
        if (row > 0) {
            double aboveHigh = 0.0, aboveLow = 0.0;
            Extremes(row - 1, aboveHigh, aboveLow);
            ASSERT_LT(-aboveLow * 10.0 * kPxPerMm, RowHeight() / 2.0 - 2) << "lead " << row - 1 << " reaches into the row below";
        }
        EXPECT_NEAR(RiseInMm(row), highest * gain, 0.15) << "lead " << row;
    }
    // The ink of pulse k of six, based at the k-th row's centre and 1 mV tall.
    int PulseInk(int k, float gain)
    {
        const int base = ZeroLine(k);
        const int top = base - static_cast<int>(std::lround(gain * kPxPerMm));
        return InkIn(CRect(0, top - 5, m_calWidth, base + 5));
    }

    int m_calWidth = 0;
    int m_records = 0;
    double m_microvoltsPerUnit = 1.25;   // the device records' unit
};

class FreezePageTest : public FreezePage<extratest::ExtraDocTest, DOC_TYPE_EXTRA> {
protected:
    void OpenRecord(const morvelance::ExtraRecordOptions& options)
    {
        const extratest::RecordFiles files = Write("freeze" + std::to_string(m_records++), options);
        ASSERT_NE(nullptr, Load(m_doc, files, morvelance::ExtraLeadType(options.layout, options.freezeLeads)));
        m_doc.SetSenseMode(1);   // each row at its centre
    }
    void OpenMixed() { OpenRecord(morvelance::MixedFreezeRecordOptions()); }
};

TEST_F(FreezePageTest, FreeLeadsAreDrawnAtTenMillimetresPerMillivoltWhateverTheGain)
{
    OpenMixed();
    for (float gain : {5.0f, 2.5f}) {
        SCOPED_TRACE(gain);
        DrawPage(gain);
        ExpectGain(0, 10.0);   // code 119
        ExpectGain(2, 10.0);   // code 124
    }
}

TEST_F(FreezePageTest, LeadsOfOtherCodesAreDrawnAtTheExtraLeadGain)
{
    OpenMixed();
    for (float gain : {5.0f, 2.5f}) {
        SCOPED_TRACE(gain);
        DrawPage(gain);
        ExpectGain(1, gain);   // V4R's own code, 12
        ExpectGain(4, gain);   // 125, past the free leads
        ExpectGain(5, gain);   // V9's own code, 67
    }
}

TEST_F(FreezePageTest, ALeadWithoutAnElectrodeCodeLeavesItsRowEmpty)
{
    OpenMixed();
    DrawPage(5.0f);
    ASSERT_GT(m_view.GetLeadSampleCount(3), 0);   // its samples are there
    double high = 0.0, low = 0.0;
    Extremes(2, high, low);
    const int aboveReaches = ZeroLine(2) + static_cast<int>(std::ceil(-low * 10.0 * kPxPerMm)) + 2;
    Extremes(4, high, low);
    const int belowReaches = ZeroLine(4) - static_cast<int>(std::ceil(high * 5.0 * kPxPerMm)) - 2;
    // The row's zero line, its name five millimetres above it and its trace
    // would all stand in this band; the rows above and below keep out of it.
    const CRect row3(m_calWidth, std::max(aboveReaches, ZeroLine(3) - 8 * kPxPerMm), m_width,
                     std::min(belowReaches, ZeroLine(3) + 3 * kPxPerMm));
    ASSERT_LT(row3.top, ZeroLine(3) - 6 * kPxPerMm);
    ASSERT_GT(row3.bottom, ZeroLine(3) + kPxPerMm);
    EXPECT_EQ(0, InkIn(row3));
    // The rows around it are drawn.
    EXPECT_GT(InkIn(CRect(m_calWidth, ZeroLine(2) - 2, m_width, ZeroLine(2) + 3)), 0);
    EXPECT_GT(InkIn(CRect(m_calWidth, ZeroLine(4) - 2, m_width, ZeroLine(4) + 3)), 0);
}

TEST_F(FreezePageTest, APulseIsLeftOutWhereItsLeadIsCoded119OrMore)
{
    OpenMixed();
    const float gain = 5.0f;   // six pulses, one a row
    DrawPage(gain);
    EXPECT_EQ(0, PulseInk(0, gain));   // 119
    EXPECT_GT(PulseInk(1, gain), 0);   // 12
    EXPECT_EQ(0, PulseInk(2, gain));   // 124
    EXPECT_GT(PulseInk(3, gain), 0);   // no code
    EXPECT_EQ(0, PulseInk(4, gain));   // 125
    EXPECT_GT(PulseInk(5, gain), 0);   // 67
}

// The electrode code is an unsigned 16-bit value: from 0x8000 on it lies
// past the free leads, like 125, and not below 119.
TEST_F(FreezePageTest, CodesFrom0x8000OnTakeThePageGainAndNoPulse)
{
    morvelance::ExtraRecordOptions options = morvelance::MixedFreezeRecordOptions();
    options.freezeCodes = {0x8000, 12, 0xFFFF, 12, 0x8077, 67};
    OpenRecord(options);
    const float gain = 5.0f;   // six pulses, one a row
    DrawPage(gain);
    EXPECT_EQ(0, PulseInk(0, gain));   // 0x8000
    EXPECT_GT(PulseInk(1, gain), 0);   // 12
    EXPECT_EQ(0, PulseInk(2, gain));   // 0xFFFF
    EXPECT_EQ(0, PulseInk(4, gain));   // 0x8077
    ExpectGain(0, gain);
    ExpectGain(2, gain);

    // Above 10 mm/mV one pulse stands for the page only while some lead is below 119.
    options.freezeCodes = {0x8000, 124, 0xFFFF, 119, 0x8077, 0x80FF};
    OpenRecord(options);
    DrawPage(20.0f);
    EXPECT_EQ(0, InkIn(CRect(0, 0, m_calWidth, m_height)));
}

TEST_F(FreezePageTest, ALonePulseStandsOnlyWhenSomeLeadIsCodedBelow119)
{
    // Above 10 mm/mV six pulses do not fit: one stands for the page.
    OpenMixed();
    DrawPage(20.0f);
    EXPECT_GT(InkIn(CRect(0, 0, m_calWidth, m_height)), 0);

    morvelance::ExtraRecordOptions free;   // every lead a free lead, EXT1 to EXT6
    free.layout = morvelance::ExtraLayout::Freeze;
    OpenRecord(free);
    DrawPage(20.0f);
    EXPECT_EQ(0, InkIn(CRect(0, 0, m_calWidth, m_height)));
    // Its traces are there, at the fixed gain.
    ExpectGain(0, 10.0);
}

// ---- an MFER freeze file ---------------------------------------------------------------------

class MferDocument : public testsupport::DocumentTest {
protected:
    CMFERViewDoc m_doc;
};

class MferFreezePageTest : public FreezePage<MferDocument, DOC_TYPE_MFER> {
protected:
    // Six leads I to aVF at 500 Hz, those of `uncoded` written without a lead code.
    void OpenRecord(std::initializer_list<int> uncoded)
    {
        morvelance::EcgRecord record = morvelance::MferKindRecord(morvelance::MferKind::Freeze, 6, 10.0, 500.0);
        for (int lead : uncoded) record.leads[static_cast<size_t>(lead)].id = morvelance::LeadId::Unknown;
        morvelance::MferOptions options;
        options.description = morvelance::MferDescription(morvelance::MferKind::Freeze);
        const std::string path = m_dir.File("freeze" + std::to_string(m_records++) + ".mwf");
        std::string error;
        ASSERT_TRUE(morvelance::WriteMferFile(path, record, options, &error)) << error;
        _MFERDATAITEM* item =
            m_doc.GetMFERDataManager()->AppendItem(testsupport::NewRecordItem<_MFERDATAITEM>(path, ""));
        CString mfer(path.c_str()), xml, third;
        ASSERT_EQ(0, m_doc.OpenMFERFile(mfer, xml, third));
        m_doc.SetCurDataIndex(item->nID);
        ASSERT_TRUE(CMFERViewDoc::IsFreezeKind(item->uSystemCode));
        ASSERT_NE(nullptr, item->pMFERParser);
        for (int lead : uncoded) ASSERT_EQ(0, item->pMFERParser->GetLeadCode(lead));
        m_microvoltsPerUnit = item->pMFERParser->GetMeasureSense();
        m_doc.SetSenseMode(1);   // each row at its centre
    }
};

// A freeze file's leads are told apart by the file's lead code, not by an
// extra record's electrode code: a lead without one takes the fixed 10 mm/mV
// (where an extra record's would be left out), the others the extra-lead gain.
TEST_F(MferFreezePageTest, LeadsWithoutALeadCodeAreDrawnAtTenMillimetresPerMillivoltTheOthersAtTheGain)
{
    OpenRecord({0, 4});
    for (float gain : {5.0f, 2.5f}) {
        SCOPED_TRACE(gain);
        DrawPage(gain);
        ExpectGain(0, 10.0);
        ExpectGain(4, 10.0);
        ExpectGain(1, gain);
        ExpectGain(2, gain);
        ExpectGain(5, gain);
    }
}

}  // namespace
