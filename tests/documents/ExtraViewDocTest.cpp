// The extra-lead document on records written by the record maker: opening
// each layout, the waves the panes get, speed, filter, sensitivities, page
// styles and display settings, and records that are damaged.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "core/Helpers.h"
#include "core/ReferenceIds.h"
#include "platform/base/Kernel.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "tests/documents/ExtraViewDocFixture.h"
#include "tools/Wfdb.h"

using namespace extratest;
using morvelance::ExtraLeadType;
using morvelance::ItemSamples;
namespace extratag = morvelance::extratag;

namespace {

std::vector<short> Samples(const RecordFiles& files, uint32_t lead)
{
    const std::vector<uint8_t>* item = files.made.items.Find(3849, lead);
    if (!item) return {};
    std::vector<int16_t> raw = ItemSamples(*item);
    return std::vector<short>(raw.begin(), raw.end());
}

std::vector<short> Filtered(std::vector<short> samples, short cutoff)
{
    HiCutFilter(cutoff, samples.data(), static_cast<int>(samples.size()));
    return samples;
}

}  // namespace

// What each layout opens as: lead count, strip, page style, the views' lead
// count, and the leads the panes get.
TEST_F(ExtraDocTest, OpensEveryLayoutWithItsLeadsAndStrip)
{
    struct Case {
        ExtraLayout layout;
        int leadCount;   // extra leads
        int rhythm;
        int pageStyle;
        int stripLead;   // the document's strip lead after opening, 0 for none
    };
    static const Case kCases[] = {
        {ExtraLayout::Three, 3, 0, 1, 0},       {ExtraLayout::ThreeRhythm, 3, 1, 3, 3},
        {ExtraLayout::Six, 6, 0, 5, 0},         {ExtraLayout::SixRhythm, 6, 1, 13, 6},
        {ExtraLayout::Freeze, 6, 0, 5, 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(static_cast<int>(c.layout));
        CExtraViewDoc doc;
        ExtraRecordOptions options;
        options.layout = c.layout;
        options.rhythmSeconds = 20.0;
        const RecordFiles files = Write("layout" + std::to_string(static_cast<int>(c.layout)), options);
        const int type = ExtraLeadType(c.layout);
        _EXTRADATAITEM* item = Load(doc, files, type);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->stExtraInfo.nLeadCount, c.leadCount);
        EXPECT_EQ(item->stExtraInfo.bRhythm, c.rhythm);
        EXPECT_EQ(item->stExtraInfo.nPageStyle, c.pageStyle);
        EXPECT_EQ(item->stExtraInfo.bNotFreeze, c.layout == ExtraLayout::Freeze ? 0 : 1);
        EXPECT_EQ(doc.GetRhythm1LeadID(), c.stripLead);
        EXPECT_EQ(doc.GetCurItemLeadCount(), c.layout == ExtraLayout::Freeze ? 6 : type);

        // Every lead the record has, 10 s at 500 Hz; the strip 20 s; none past them.
        doc.SetDelBitNoise(0);
        for (int lead = 0; lead < type; ++lead) {
            const bool strip = c.rhythm && lead == type - 1;
            const std::vector<short> wave = RhythmWave(doc, lead, -1);
            EXPECT_EQ(wave.size(), strip ? 10000u : 5000u);
            // Freeze leads are shown unfiltered whatever the filter.
            const short cutoff = c.layout == ExtraLayout::Freeze ? 150 : 100;
            EXPECT_EQ(wave, Filtered(Samples(files, static_cast<uint32_t>(lead)), cutoff));
        }
        EXPECT_EQ(doc.GetRhythmWaveData(type, nullptr, -1), 0);
        EXPECT_EQ(doc.GetRhythmWaveData(-1, nullptr, -1), 0);
    }
}

TEST_F(ExtraDocTest, RecordsOfAnotherModeTakeTheirArrangement)
{
    ExtraRecordOptions options;
    options.layout = ExtraLayout::ThreeRhythm;
    options.recordMode = 0;
    options.extraSet = 5;
    options.rhythmSeconds = 20.0;
    const RecordFiles strip = Write("arr259", options);
    _EXTRADATAITEM* item = Load(m_doc, strip, 4);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->stExtraInfo.nLeadCount, 3);
    EXPECT_EQ(item->stExtraInfo.bRhythm, 1);
    EXPECT_EQ(item->stExtraInfo.nPageStyle, 3);
    EXPECT_EQ(item->stExtraInfo.nExtraSet, 5);
    EXPECT_EQ(m_doc.CTavrionDoc::GetRhythm1LeadID(), 3);

    // Without an arrangement item the record is three leads; without 4098 the
    // sixth field keeps its default.
    options.layout = ExtraLayout::Three;
    const RecordFiles bare = Write("bare", options, {}, [](morvelance::RecordBuilder& b) {
        b.Remove(extratag::kArrangement, 0);
        b.Remove(extratag::kExtraSet, 0);
    });
    CExtraViewDoc doc;
    item = Load(doc, bare, 3);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->stExtraInfo.nLeadCount, 3);
    EXPECT_EQ(item->stExtraInfo.nPageStyle, 1);
    EXPECT_EQ(item->stExtraInfo.bRhythm, 0);
    EXPECT_EQ(item->stExtraInfo.nExtraSet, 2);
}

TEST_F(ExtraDocTest, SpeedAndFilterFallBackToTheRecord)
{
    ExtraRecordOptions options;
    options.speedCode = 2;
    ExtraXmlSettings settings;
    settings.acqFilter = "75";
    const RecordFiles files = Write("speed", options, settings);
    _EXTRADATAITEM* item = Load(m_doc, files, 3);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->nRecFilter, 75);

    m_doc.SetSpeed(20.0f);   // not a speed of the panes
    EXPECT_EQ(m_doc.GetSpeed(), 25.0f);
    m_doc.SetSpeed(0.0f);
    EXPECT_EQ(m_doc.GetSpeed(), 12.5f);
    m_doc.SetSpeed(50.0f);
    EXPECT_EQ(m_doc.GetSpeed(), 50.0f);

    m_doc.SetFilter(50);
    EXPECT_EQ(m_doc.GetFilter(), 100);
    m_doc.SetFilter(0);
    EXPECT_EQ(m_doc.GetFilter(), 75);

    // A filter of 0, asked for or set, means the record's own.
    m_doc.SetDelBitNoise(0);
    const std::vector<short> own = Filtered(Samples(files, 0), 75);
    EXPECT_EQ(RhythmWave(m_doc, 0, 0), own);
    EXPECT_EQ(RhythmWave(m_doc, 0, -1), own);
    m_doc.SetFilter(35);
    EXPECT_EQ(RhythmWave(m_doc, 0, -1), Filtered(Samples(files, 0), 35));
    EXPECT_EQ(RhythmWave(m_doc, 0, 0), own);
    // Bit-noise suppression follows the filter.
    m_doc.SetDelBitNoise(1);
    std::vector<short> expected = Filtered(Samples(files, 0), 35);
    DeleteBitNoise(expected.data(), static_cast<unsigned>(expected.size()));
    EXPECT_EQ(RhythmWave(m_doc, 0, -1), expected);

    // An unknown speed code or none at all: 25 mm/s.
    for (int code : {9, -1}) {
        CExtraViewDoc doc;
        options.speedCode = code;
        ASSERT_NE(Load(doc, Write("speed" + std::to_string(code + 1), options), 3), nullptr);
        doc.SetSpeed(0.0f);
        EXPECT_EQ(doc.GetSpeed(), 25.0f);
    }
}

TEST_F(ExtraDocTest, SensitivitiesFollowTheLeadSetsAndModes)
{
    ExtraXmlSettings settings;
    settings.acqSense = "5.0";
    const RecordFiles files = Write("sense", ExtraRecordOptions(), settings);
    _EXTRADATAITEM* item = Load(m_doc, files, 3);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->fRecSense, 5.0f);

    // A three-lead record shows one set: both follow either kind.
    m_doc.SetSense(4, 20.0f, 0);
    EXPECT_EQ(m_doc.GetSense(5, 0), 20.0f);
    m_doc.SetSense(5, 40.0f, 0);
    EXPECT_EQ(m_doc.GetSense(4, 0), 40.0f);
    EXPECT_EQ(m_doc.GetSense(3, 0), 0.0f);
    EXPECT_EQ(m_doc.GetSense(9, 0), 10.0f);

    // The automatic mode shows the recorded sensitivity; choosing one by
    // hand ends it and writes what was shown, then the mode.
    m_doc.SetSenseMode(3);
    // Asked through the base document, as the views and reports ask, the
    // record's sensitivity applies too. (This used to read the base's own
    // slots: the chest kind gave 10.0 and the extra kinds skipped the
    // record's value until the extra-lead getter had been called first.)
    CTavrionDoc& base = m_doc;
    EXPECT_EQ(base.GetSense(5, 0), 5.0f);
    EXPECT_EQ(base.GetSense(4, 1), 5.0f);
    EXPECT_EQ(base.GetSense(0, 0), 0.0f);
    m_doc.SetSense(4, 20.0f, 1);
    EXPECT_EQ(m_doc.GetSenseMode(), 1u);
    EXPECT_EQ(m_doc.GetSense(4, 0), 20.0f);
    EXPECT_EQ(ReadXmlValue(files.xml, REFERENCE_SETTING_PATH L"/Sensitivity/Extra1"), L"5.00");
    EXPECT_EQ(ReadXmlValue(files.xml, REFERENCE_SETTING_PATH L"/Sensitivity", L"mode"), L"1");

    m_doc.SetSenseMode(7);   // not a mode
    EXPECT_EQ(m_doc.GetSenseMode(), 1u);
    m_doc.SetSenseMode(4);
    m_doc.SetSense(5, 10.0f, 1);
    EXPECT_EQ(m_doc.GetSenseMode(), 2u);
}

// Display settings read back from the record XML: accepted values are
// taken, anything else gives the defaults.
TEST_F(ExtraDocTest, DisplaySettingsReadBackWithinTheirSets)
{
    struct Case {
        ExtraLayout layout;
        int type;
        const char* page;
        int pageWanted;
        const char* filter;
        int filterWanted;
        const char* speed;
        float speedWanted;
        const char* mode;
        unsigned modeWanted;
        const char* extra1;
        float extra1Wanted;
    };
    static const Case kCases[] = {
        {ExtraLayout::ThreeRhythm, 4, "12", 3, "50", 100, "12.5", 12.5f, "7", 1, "15", 10.0f},
        {ExtraLayout::ThreeRhythm, 4, "21", 21, "0", 0, "20", 25.0f, "4", 4, "40", 40.0f},
        {ExtraLayout::SixRhythm, 7, "27", 27, "150", 150, "0", 0.0f, "0", 1, "1.25", 1.25f},
        {ExtraLayout::Freeze, 6, "24", 24, "abc", 100, "5", 5.0f, "5", 5, "2.5", 2.5f},
        {ExtraLayout::Freeze, 6, "1", 5, "35", 35, "", 25.0f, "", 1, "", 10.0f},
    };
    int n = 0;
    for (const Case& c : kCases) {
        SCOPED_TRACE(n);
        ExtraRecordOptions options;
        options.layout = c.layout;
        options.rhythmSeconds = 20.0;
        ExtraXmlSettings settings;
        settings.pageStyle = std::atoi(c.page);
        settings.filter = c.filter;
        settings.speed = c.speed;
        settings.senseMode = c.mode;
        settings.extra1 = c.extra1;
        settings.rhythm = "20.00";
        CExtraViewDoc doc;
        _EXTRADATAITEM* item = Load(doc, Write("settings" + std::to_string(n++), options, settings), c.type);
        ASSERT_NE(item, nullptr);
        doc.UpDateReferenceInfo(CString());
        EXPECT_EQ(doc.GetPageStyle(), c.pageWanted);
        EXPECT_EQ(doc.GetDefaultReference().RefInt(CExtraViewDoc::REF_EXTRA_FILTER), c.filterWanted);
        EXPECT_EQ(doc.GetDefaultReference().RefFloat(CExtraViewDoc::REF_EXTRA_SPEED), c.speedWanted);
        EXPECT_EQ(doc.GetSenseMode(), c.modeWanted);
        EXPECT_EQ(doc.GetDefaultReference().RefFloat(CExtraViewDoc::REF_EXTRA_SENSE_1), c.extra1Wanted);
        const bool strip = c.layout != ExtraLayout::Freeze && (c.type == 4 || c.type == 7);
        EXPECT_EQ(doc.GetDefaultReference().RefFloat(CExtraViewDoc::REF_EXTRA_SENSE_RHYTHM), strip ? 20.0f : 10.0f);
    }
}

// Settings written one at a time come back through a fresh document.
TEST_F(ExtraDocTest, SettingsWrittenToTheRecordXmlReadBack)
{
    ExtraRecordOptions options;
    options.layout = ExtraLayout::SixRhythm;
    options.rhythmSeconds = 20.0;
    const RecordFiles files = Write("written", options);
    ASSERT_NE(Load(m_doc, files, 7), nullptr);
    m_doc.SetPageStyle(26);
    m_doc.SetFilter(35);
    m_doc.SetSpeed(10.0f);
    m_doc.SetSense(2, 5.0f, 0);
    m_doc.SetSense(4, 20.0f, 0);
    m_doc.SetSense(5, 2.5f, 0);
    m_doc.SetSenseMode(2);
    for (int id : {REFERENCE_PAGE_STYLE, REFERENCE_FILTER, REFERENCE_SPEED, REFERENCE_SENSE_MODE})
        m_doc.SetReferenceIntoXML(id, 0);
    for (int arg : {2, 4, 5}) m_doc.SetReferenceIntoXML(REFERENCE_SENSITIVITY, arg);
    // The drawing settings of the base document go to the same file.
    m_doc.SetDelBitNoise(0);
    m_doc.SetReferenceIntoXML(REFERENCE_DEL_BIT_NOISE, 0);
    EXPECT_EQ(ReadXmlValue(files.xml, REFERENCE_DRAW_SETTING_PATH L"/Del_bit_noise"), L"0");

    CExtraViewDoc doc;
    ASSERT_NE(Load(doc, files, 7), nullptr);
    doc.UpDateReferenceInfo(CString());
    EXPECT_EQ(doc.GetPageStyle(), 26);
    EXPECT_EQ(doc.GetFilter(), 35);
    EXPECT_EQ(doc.GetSpeed(), 10.0f);
    EXPECT_EQ(doc.GetSenseMode(), 2u);
    EXPECT_EQ(doc.GetSense(9, 0), 5.0f);
    EXPECT_EQ(doc.GetSense(4, 0), 20.0f);
    EXPECT_EQ(doc.GetSense(5, 0), 2.5f);
}

// A record without a working blob is refused; the host's item stays listed
// (same item, same id) without an image, with the record's system code, and
// the list stays usable. This test once asserted that the item was deleted:
// that left the host holding a freed item, the one it had added.
TEST_F(ExtraDocTest, ARecordWithoutItsBlobFailsTheOpenAndKeepsTheHostsItem)
{
    CExtraViewDoc doc;
    const RecordFiles noBlob =
        Write("noblob", ExtraRecordOptions(), {}, [](morvelance::RecordBuilder& b) { b.Remove(3836, 0); });
    _EXTRADATAITEM* added = Add(doc, noBlob, 3);
    const int id = added->nID;
    EXPECT_EQ(Open(doc, noBlob), 255);
    ASSERT_EQ(doc.GetExtraDataManager()->GetItem(Wide(noBlob.xml), Wide(noBlob.record), CString()), added);
    EXPECT_EQ(added->nID, id);
    EXPECT_EQ(added->pECGData, nullptr);
    EXPECT_EQ(added->uSystemCode & 0xFF, 26u);
    doc.SetCurDataIndex(id);
    EXPECT_EQ(doc.GetRhythmWaveData(0, nullptr, -1), 0);

    const RecordFiles good = Write("good", ExtraRecordOptions());
    _EXTRADATAITEM* item = Add(doc, good, 3);
    ASSERT_EQ(Open(doc, good), 0);
    doc.SetCurDataIndex(item->nID);
    EXPECT_EQ(doc.GetCurrentDataItem(), item);
    EXPECT_GT(doc.GetRhythmWaveData(0, nullptr, -1), 0);
}

// No memory for the blob: the opening fails saying so, the host's item keeps
// the image without a blob, and opens once there is memory.
TEST_F(ExtraDocTest, NoMemoryForTheReadersBlobFailsTheOpenButKeepsTheHostsItem)
{
    const RecordFiles files = Write("tight", ExtraRecordOptions());
    _EXTRADATAITEM* added = Add(m_doc, files, 3);
    platform::ui::MessageBoxRecorder boxes;
    platform::SetHeapFailureCountdown(2);   // the image, then the blob
    const int opened = Open(m_doc, files);
    platform::SetHeapFailureCountdown(0);
    EXPECT_EQ(opened, 255);
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_NE(boxes.Last().text.Find(L"not enough memory"), -1);
    ASSERT_EQ(m_doc.GetExtraListHeader(), added) << "the host's item was deleted";
    ASSERT_NE(added->pECGData, nullptr);
    EXPECT_EQ(+added->pECGData->pBlob3836, nullptr);
    m_doc.SetCurDataIndex(added->nID);
    EXPECT_EQ(m_doc.GetRhythmWaveData(0, nullptr, -1), 0);
    ASSERT_EQ(Open(m_doc, files), 0);
    EXPECT_GT(m_doc.GetRhythmWaveData(0, nullptr, -1), 0);
}

// A stored rhythm strip is drawn at the sensitivity its sample count allows:
// 100 s at 500 Hz (50,000 samples) at full size, one sample more at half.
// The narrow strip pages (20 and 26) fit half as many samples at a size.
TEST_F(ExtraDocTest, AStoredStripIsDrawnAtTheSensitivityItsSampleCountAllows)
{
    struct Case {
        ExtraLayout layout;
        int leadType;
        int narrowStyle;
        size_t samples;
        float wide;     // page style of the record's own
        float narrow;   // on the narrow strip page
    };
    static const Case kCases[] = {
        {ExtraLayout::ThreeRhythm, 4, 20, 50000, 10.0f, 5.0f},
        {ExtraLayout::ThreeRhythm, 4, 20, 50001, 5.0f, 2.5f},
        {ExtraLayout::SixRhythm, 7, 26, 50000, 10.0f, 5.0f},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::to_string(c.leadType) + " leads, " + std::to_string(c.samples) + " samples");
        ExtraRecordOptions options;
        options.layout = c.layout;
        options.rhythmSeconds = (static_cast<double>(c.samples) + 0.5) / 500.0;
        const RecordFiles files = Write("strip" + std::to_string(c.leadType) + "_" + std::to_string(c.samples), options);
        ASSERT_EQ(files.made.items.Find(3700, 0)->size(), 2 * c.samples);
        CExtraViewDoc doc;
        ASSERT_NE(Load(doc, files, c.leadType), nullptr);
        // The strip views ask the base document for sensitivity kind 2.
        CTavrionDoc& views = doc;
        EXPECT_EQ(views.GetSense(2, 0), c.wide);
        doc.SetPageStyle(c.narrowStyle);
        ASSERT_EQ(Open(doc, files), 0);
        EXPECT_EQ(views.GetSense(2, 0), c.narrow);
    }
}

// Layout items and counts from outside stay within what the views index.
TEST_F(ExtraDocTest, OutOfRangeLayoutValuesStayInBounds)
{
    ExtraRecordOptions options;
    options.layout = ExtraLayout::Freeze;
    const RecordFiles freeze = Write("freeze99", options, {},
                                     [](morvelance::RecordBuilder& b) { b.SetInt16(extratag::kLayout, 0, 99); });
    _EXTRADATAITEM* item = Load(m_doc, freeze, 6);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->stExtraInfo.nLeadCount, 6);
    EXPECT_EQ(m_doc.GetCurItemLeadCount(), 6);

    // An unknown layout code changes nothing; a one-byte speed item is read
    // only as far as it goes.
    options.layout = ExtraLayout::Three;
    const RecordFiles odd = Write(
        "odd", options, {},
        [](morvelance::RecordBuilder& b) {
            b.SetInt16(extratag::kLayout, 0, 42);
            b.SetRaw(extratag::kSpeedCode, 0, {1});
        },
        [](CECGXMLParser& xml) {
            xml.SetDataToXMLDOM(L"999", L"/Rawdata/Tavrion/Wave/Rhythm_section/Wave_info/Lead_count", 4, CString());
        });
    CExtraViewDoc doc;
    item = Load(doc, odd, 3);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->stExtraInfo.nLeadCount, 3);
    EXPECT_EQ(item->stExtraInfo.nPageStyle, 2);
    EXPECT_EQ(item->stLeadName.nCount, LEAD_NAME_CODES);
    doc.SetSpeed(0.0f);
    EXPECT_EQ(doc.GetSpeed(), 10.0f);
}

// A PTB recording's Frank leads as the three extra leads of a record.
TEST_F(ExtraDocTest, FrankLeadsOfARealRecordOpenAsThreeExtraLeads)
{
    REQUIRE_SHARED_DATA(header, "physionet/ptb/s0010_re.hea");
    morvelance::WfdbRecord wfdb;
    std::string error;
    ASSERT_TRUE(morvelance::ReadWfdbRecord(header.substr(0, header.size() - 4), &wfdb, &error)) << error;
    m_signals = morvelance::WfdbToEcg(wfdb, "ptb/s0010_re");
    m_signalSeconds = 1e9;   // keep these signals
    const RecordFiles files = Write("s0010", ExtraRecordOptions());
    _EXTRADATAITEM* item = Load(m_doc, files, 3);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->stLeadName.strDispName[0], L"X");
    EXPECT_EQ(item->stLeadName.strDispName[2], L"Z");
    EXPECT_EQ(item->stPatient.strAge, L"81");
    m_doc.SetDelBitNoise(0);
    const std::vector<short> wave = RhythmWave(m_doc, 2, -1);
    EXPECT_EQ(wave.size(), 5000u);
    EXPECT_EQ(wave, Filtered(Samples(files, 2), 100));
}
