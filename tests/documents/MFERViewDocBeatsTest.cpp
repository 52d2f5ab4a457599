// The averaged beats of MFER records as the average-beat and serial views
// reach them: the record found in the document's list by its keys, its
// reader asked for waveform 2, lead by lead, into buffers of the length it
// gives, drawn at the reader's sensitivity.
#include <algorithm>
#include <cmath>
#include <vector>

#include "tests/documents/MFERViewDocFixture.h"

using morvelance::MferKind;
using mfertest::MferDocTest;

namespace {

// The beats as the views read them: 0 bytes when the record has none.
struct ViewBeats {
    int bytes = 0;
    std::vector<std::vector<short>> leads;   // empty for a lead the reader refused
};

ViewBeats ReadAsTheViewsDo(CMFERParser& reader, int leads)
{
    ViewBeats beats;
    beats.bytes = reader.GetWaveLength(2);
    for (int lead = 0; lead < leads; ++lead) {
        std::vector<short> buffer(size_t(beats.bytes / 2));
        if (beats.bytes <= 0 || !reader.GetWaveData(2, lead, reinterpret_cast<BYTE*>(buffer.data()))) buffer.clear();
        beats.leads.push_back(buffer);
    }
    return beats;
}

std::vector<short> Raw(const std::vector<float>& microvolts, const morvelance::MferOptions& options)
{
    std::vector<short> raw;
    for (float v : microvolts)
        raw.push_back(short(std::clamp(std::nearbyint(morvelance::MferRawValue(v, options)), -32768.0, 32767.0)));
    return raw;
}

}  // namespace

TEST_F(MferDocTest, AveragedBeatsOfAMakerFileReachWhatTheViewsRead)
{
    struct Case { int leads; unsigned code; } cases[] = {{12, 0x800C}, {15, 0x800F}};
    for (const Case& c : cases) {
        const std::string stem = "beats" + std::to_string(c.leads);
        // The file as the record maker writes its samples: 10 s at 500 Hz.
        const morvelance::EcgRecord record = morvelance::MferKindRecord(MferKind::Plain, c.leads, 10.0, 500.0);
        morvelance::MferOptions options;
        options.description = morvelance::MferDescription(MferKind::Plain);
        _MFERDATAITEM* added = AddItem(WriteMferRecord(stem + ".mwf", record, options), WriteXml(stem + ".xml", c.code), c.leads);
        ASSERT_EQ(0, Open(added)) << c.leads;

        // The serial views find the record by its keys; the others take the current one.
        _MFERDATAITEM* item = m_doc->GetMFERDataManager()->GetItem(added->strXMLPath, added->strFilePath, added->strThirdKey);
        ASSERT_EQ(added, item);
        ASSERT_EQ(added, m_doc->GetCurrentDataItem());
        const ViewBeats beats = ReadAsTheViewsDo(*item->pMFERParser, 12);
        EXPECT_EQ(1200, beats.bytes) << c.leads;   // 1.2 s at 500 Hz, two bytes a sample
        const std::vector<std::vector<float>> written = morvelance::MferAveragedBeats(record, options);
        ASSERT_EQ(size_t(c.leads), written.size());
        for (int lead = 0; lead < 12; ++lead)
            EXPECT_EQ(Raw(written[size_t(lead)], options), beats.leads[size_t(lead)]) << c.leads << " lead " << lead;
        // The scale handed to the trace renderer, and the caption's filter text.
        EXPECT_DOUBLE_EQ(1.0, item->pMFERParser->GetMeasureSense());
        EXPECT_EQ(CString(L"0.05-150Hz"), m_doc->GetMFERFilter());
    }
}

TEST_F(MferDocTest, RecordsWithoutBeatsLeaveTheViewsLeadsEmpty)
{
    _MFERDATAITEM* item = OpenKind(MferKind::Extra4, 4, 0x7004, 4);
    ASSERT_NE(nullptr, item);
    const ViewBeats beats = ReadAsTheViewsDo(*item->pMFERParser, 12);
    EXPECT_EQ(0, beats.bytes);
    for (const std::vector<short>& lead : beats.leads) EXPECT_TRUE(lead.empty());
    // The recording is there all the same.
    EXPECT_GT(item->pMFERParser->GetWaveLength(0), 0);
}
