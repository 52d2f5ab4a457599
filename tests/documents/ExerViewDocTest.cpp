// Exercise test records made by the record maker, opened through the
// exercise document as the host does, and what its views and forms get.
#include <cstdio>

#include "core/PositionCtrl.h"
#include "platform/base/Kernel.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "tests/documents/ExerViewDocFixture.h"

using namespace exertest;

TEST_F(ExerDocument, OpensTheRecordWithItsClocksAndBeatReferences)
{
    const ExerciseRecordOptions o = DefaultOptions();
    const ExerFiles files = Write(o);
    CExerViewDoc doc;
    ASSERT_EQ(Open(doc, files), 0);
    _EXERDATAITEM* item = doc.GetCurrentDataItem();
    ASSERT_NE(item, nullptr);
    const ExerciseTimeline t = MakeExerciseTimeline(o);

    EXPECT_EQ(item->nExerAveCount, static_cast<int>(t.averageTimes[0].size()));
    EXPECT_EQ(item->nPostAveCount, static_cast<int>(t.averageTimes[1].size()));
    // The rest, just-after-load and maximum-ST-depression beats are placed at their R peaks.
    for (int kind = 0; kind < 3; ++kind) EXPECT_EQ(item->nRefPos[kind], kExerciseTestPoints.reference);
    EXPECT_EQ(item->nRestMeasOffset, kExerciseTestPoints.restMeasOffset);
    EXPECT_EQ(item->nOnset, kExerciseTestPoints.onset);
    EXPECT_EQ(item->nOffset, kExerciseTestPoints.offset);
    EXPECT_EQ(item->nSlope1Point, kExerciseTestPoints.slope1);
    // The strip times run over both series on one clock.
    std::vector<int> expected;
    for (int s : t.stripTimes[0]) expected.push_back(s);
    for (int s : t.stripTimes[1]) expected.push_back(t.exerciseSeconds + s);
    ASSERT_EQ(item->arrMemTime.GetSize(), static_cast<INT_PTR>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(item->arrMemTime[static_cast<INT_PTR>(i)], expected[i]);
    EXPECT_EQ(item->nEndTime, t.exerciseSeconds + t.averageTimes[1].back());
    EXPECT_EQ(item->nCurTime, 0);   // opening leaves the clock where it was

    // The block number follows the clock into the recovery series and back.
    doc.SetCurAveBlockNo(item->nExerAveCount + 2);
    EXPECT_EQ(item->nCurTime, t.exerciseSeconds + 30);
    EXPECT_EQ(doc.GetCurAveBlockNo(), item->nExerAveCount + 2);
    doc.SetCurAveBlockNo(5);
    EXPECT_EQ(doc.GetCurAveBlockNo(), 5);

    // Strips: the first at or after the time, and the nearest stored time.
    item->nCurTime = expected[1] - 1;
    EXPECT_EQ(doc.GetCurMemBlockNo(), 1);
    EXPECT_EQ(doc.IsPostMemBlock(), 0);
    doc.SetCurMemBlockNo(o.exerciseStrips);
    EXPECT_EQ(item->nCurTime, expected[static_cast<size_t>(o.exerciseStrips)]);
    EXPECT_EQ(doc.GetCurMemBlockNo(), o.exerciseStrips);
    EXPECT_EQ(doc.IsPostMemBlock(), 1);
    EXPECT_EQ(doc.GetNearestMemTime(expected[2]), expected[2]);
    EXPECT_EQ(doc.GetNearestMemTime(expected[2] + 1), expected[2]);
    EXPECT_EQ(doc.GetNearestMemTime((expected[3] + expected[4]) / 2 + 1), expected[4]);
    EXPECT_EQ(doc.GetNearestMemTime(-5), expected[0]);
    EXPECT_EQ(doc.GetNearestMemTime(100000), expected.back());
}

// A record without the reader's blob fails to open; the host's item stays
// listed and current, without an image, and opens once the record is whole.
TEST_F(ExerDocument, ARecordWithoutItsBlobFailsTheOpenAndKeepsTheHostsItem)
{
    const ExerFiles files = Write(DefaultOptions(), [](RecordBuilder& items) { items.Remove(3836, 0); });
    CExerViewDoc doc;
    EXPECT_EQ(Open(doc, files), 255);
    _EXERDATAITEM* item = doc.GetCurrentDataItem();
    ASSERT_NE(item, nullptr) << "the host's item was deleted";
    EXPECT_EQ(item->pECGData, nullptr);
    EXPECT_EQ(doc.GetRestWave(0, nullptr, 0), 0);

    Write(DefaultOptions());
    ASSERT_EQ(testsupport::OpenRecord(doc, files), 0);
    EXPECT_EQ(doc.GetCurrentDataItem(), item);
    EXPECT_EQ(doc.GetRestWave(0, nullptr, 0), 1200);
}

// No memory for the blob: the opening fails saying so, the host's item keeps
// the image without a blob, and opens once there is memory.
TEST_F(ExerDocument, NoMemoryForTheReadersBlobFailsTheOpenButKeepsTheHostsItem)
{
    const ExerFiles files = Write(DefaultOptions());
    CExerViewDoc doc;
    platform::ui::MessageBoxRecorder boxes;
    platform::SetHeapFailureCountdown(2);   // the image, then the blob
    const int opened = Open(doc, files);
    platform::SetHeapFailureCountdown(0);
    EXPECT_EQ(opened, 255);
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_NE(boxes.Last().text.Find(L"not enough memory"), -1);
    _EXERDATAITEM* item = doc.GetCurrentDataItem();
    ASSERT_NE(item, nullptr) << "the host's item was deleted";
    ASSERT_NE(item->pECGData, nullptr);
    EXPECT_EQ(+item->pECGData->pBlob3836, nullptr);

    ASSERT_EQ(testsupport::OpenRecord(doc, files), 0);
    EXPECT_EQ(doc.GetCurrentDataItem(), item);
    EXPECT_GT(item->nExerAveCount, 0);
}

TEST_F(ExerDocument, ServesStoredAndDerivedLeadsOfEveryRow)
{
    const ExerFiles files = Write(DefaultOptions());
    CExerViewDoc doc;
    ASSERT_EQ(Open(doc, files), 0);
    _EXERDATAITEM* item = doc.GetCurrentDataItem();

    // The limb leads the record does not store come from I and II sample by sample.
    const std::vector<short> one = Wave([&](short* b) { return doc.GetAverageShowWave(3026, 0, b, 0); });
    const std::vector<short> two = Wave([&](short* b) { return doc.GetAverageShowWave(3026, 1, b, 0); });
    ASSERT_EQ(one.size(), 600u);
    for (int lead = 8; lead <= 11; ++lead) {
        const std::vector<short> derived = Wave([&](short* b) { return doc.GetRestWave(lead, b, 0); });
        ASSERT_EQ(derived.size(), 600u) << lead;
        std::vector<BYTE> rawI(1200), rawII(1200);
        doc.ecgGetData(item->pECGData, 3026, 0, rawI.data(), 1200, ECG_DATA_RAW);
        doc.ecgGetData(item->pECGData, 3027, 0, rawII.data(), 1200, ECG_DATA_RAW);
        for (size_t i = 0; i < derived.size(); i += 37) {
            const short a = static_cast<short>(rawI[2 * i] | (rawI[2 * i + 1] << 8));
            const short b = static_cast<short>(rawII[2 * i] | (rawII[2 * i + 1] << 8));
            const short want[4] = {static_cast<short>(b - a), static_cast<short>(-(a + b) >> 1),
                                   static_cast<short>(a - (b >> 1)), static_cast<short>(b - (a >> 1))};
            EXPECT_EQ(derived[i], want[lead - 8]) << "lead " << lead << " sample " << i;
        }
    }
    EXPECT_EQ(doc.GetRestWave(12, nullptr, 0), 0);
    EXPECT_EQ(doc.GetRestWave(-1, nullptr, 0), 0);

    // The rest beat is put on its base line at the position asked for.
    const int position = item->nOnset + 100;
    const std::vector<short> rest = Wave([&](short* b) { return doc.GetRestWave(5, b, position); });
    EXPECT_EQ(rest[100], 0);

    // The ST segment of V5 sinks with the load and comes back in recovery.
    auto stLevel = [&](int block) {
        doc.SetCurAveBlockNo(block);
        const std::vector<short> beat = Wave([&](short* b) { return doc.GetAverageWave(6, b, 0); });
        return beat.size() == 600u ? beat[250 + 50] : 0;
    };
    const int first = stLevel(0);
    const int peak = stLevel(item->nExerAveCount - 1);
    const int late = stLevel(item->nExerAveCount + item->nPostAveCount - 1);
    EXPECT_LT(peak, first - 30);   // more than 0.75 mm lower in units of 2.5 uV
    EXPECT_GT(late, peak);

    // The strip of the current memory block, ten seconds of every stored lead.
    doc.SetCurMemBlockNo(1);
    EXPECT_EQ(doc.GetRhythmWave(3, nullptr), 10000);
    EXPECT_EQ(doc.GetRhythmWave(9, nullptr), 10000);
    EXPECT_EQ(doc.GetCurrentAveWave(6, nullptr, 0), 1200);
    doc.SetCurMemBlockNo(item->nExerMemCount + item->nPostMemCount - 1);
    EXPECT_EQ(doc.GetRhythmWave(0, nullptr), 10000);

    doc.SetCurDataIndex(7);   // no current item: nothing to draw
    EXPECT_EQ(doc.GetAverageWave(0, nullptr, 0), 0);
    EXPECT_EQ(doc.GetRhythmWave(0, nullptr), 0);
    EXPECT_EQ(doc.GetCurAveBlockNo(), 0);
}

TEST_F(ExerDocument, BlockNumbersChangeExactlyAtTheBlockEdges)
{
    const ExerFiles files = Write(DefaultOptions());
    CExerViewDoc doc;
    ASSERT_EQ(Open(doc, files), 0);
    _EXERDATAITEM* item = doc.GetCurrentDataItem();
    item->nExerTime = 300;
    item->nBlockInterval = 60;
    item->nExerAveCount = 6;
    item->nPostAveCount = 4;
    static const int kTimes[][2] = {{299, 4}, {329, 6}, {330, 7}, {389, 7}, {390, 8}, {600, 9}};
    for (const auto& c : kTimes) {
        item->nCurTime = c[0];
        EXPECT_EQ(doc.GetCurAveBlockNo(), c[1]) << "time " << c[0];
    }
    // A record without blocks asks for block -1: the clock starts over.
    item->nExerAveCount = item->nPostAveCount = 0;
    doc.SetCurAveBlockNo(-1);
    EXPECT_EQ(item->nCurTime, 0);
}

TEST_F(ExerDocument, RecoveryIndexOfTheThreeLeadRecorderStaysInTheSeries)
{
    ExerciseRecordOptions o = DefaultOptions();
    o.systemCode = 0xFFFA;
    o.recoverySeconds = 0;   // one recovery block
    const ExerFiles files = Write(o);
    CExerViewDoc doc;
    ASSERT_EQ(Open(doc, files), 0);
    _EXERDATAITEM* item = doc.GetCurrentDataItem();
    ASSERT_EQ(item->nPostAveCount, 1);
    doc.SetCurAveBlockNo(item->nExerAveCount);
    EXPECT_EQ(doc.GetAverageWave(0, nullptr, 0), 1200);
}

TEST_F(ExerDocument, SummaryAndInterpretationTextsAreFormattedFromTheRecord)
{
    ExerciseRecordOptions o = DefaultOptions();
    o.hrCalculate = 1;
    const ExerFiles files = Write(o);
    CExerViewDoc doc;
    ASSERT_EQ(Open(doc, files), 0);
    _EXERDATAITEM* item = doc.GetCurrentDataItem();
    const _INTERPRE_INFO_EXER& info = item->stInterpre;

    EXPECT_EQ(Utf8(info.strLoad), "Bruce");
    EXPECT_EQ(Utf8(info.strLoadTime), "09'00''(10.1 METs)");
    EXPECT_EQ(Utf8(info.strMaxHr), "150");
    // Share of the heart-rate reserve: (150 - 62) / (173 - 62).
    EXPECT_EQ(Utf8(info.strMaxPercent), " 79 % of MHR (173 bpm)");
    EXPECT_EQ(Utf8(info.strStLevelPoint), " 80 ms");
    EXPECT_EQ(Utf8(info.strVo2Max), "35.4  ml/kg/min (10.1 METS 150 bpm)");

    // Three stage ends give the METs line, and it fills the table.
    EXPECT_GT(item->stResult.dSlope, 0.05);
    EXPECT_LT(item->stResult.dIntercept, 0.0);
    const _EXER_RESULT_INFO& r = item->stResult;
    EXPECT_EQ(Utf8(r.strValue[0][0]), "40");
    EXPECT_EQ(Utf8(r.strValue[0][9]), "100");
    EXPECT_EQ(Utf8(r.strValue[1][9]), "173");   // the reserve reaches the predicted maximum
    for (int row = 1; row < EXER_RESULT_ROWS; ++row)
        EXPECT_GE(std::wcstod(r.strValue[2][row].GetString(), nullptr), std::wcstod(r.strValue[2][row - 1].GetString(), nullptr)) << row;
    EXPECT_FALSE(r.strValue[4][9].IsEmpty());   // energy of the 0xFFFC recorder
    EXPECT_FALSE(item->stInterpre.strPwc.IsEmpty());
}

TEST_F(ExerDocument, PercentTextsAndCommentsAreLaidOutForTheForm)
{
    CString hr = L"150";
    EXPECT_EQ(Utf8(CExerViewDoc::PercentText(hr, 1, 60, 180)), " 75 % of MHR (180 bpm)");
    EXPECT_EQ(Utf8(CExerViewDoc::PercentText(hr, 0, 60, 0)), "  0 % of MHR (  0 bpm)");   // no maximum
    EXPECT_EQ(Utf8(CExerViewDoc::PercentText(hr, 1, 90, 90)), "  0 % of MHR ( 90 bpm)");  // no reserve
    CString negative = L"-3";
    EXPECT_EQ(Utf8(CExerViewDoc::PercentText(negative, 0, 60, 180)), "  * % of MHR (180 bpm)");
    EXPECT_TRUE(negative.IsEmpty());

    const std::string seventy(70, 'a');
    EXPECT_EQ(Utf8(CExerViewDoc::WrapComment(Wide(seventy))), std::string(60, 'a') + "\r\n" + std::string(10, 'a') + "\r\n");
    EXPECT_EQ(Utf8(CExerViewDoc::WrapComment(L"a\r\nb\nc\rd")), "a\r\nb\r\nc");
    // Wide characters count two bytes: 30 of them fill a line.
    CString wide;
    for (int i = 0; i < 40; ++i) wide += L"山";
    const CString wrapped = CExerViewDoc::WrapComment(wide);
    EXPECT_EQ(wrapped.Find(L"\r\n"), 30);
    EXPECT_EQ(wrapped.GetLength(), 40 + 4);
    // A simplified Chinese character Shift-JIS cannot hold is drawn as wide
    // as a kanji: it fills the line at 30 too, not at 60.
    CString chinese;
    for (int i = 0; i < 40; ++i) chinese += L"这";
    EXPECT_EQ(CExerViewDoc::WrapComment(chinese).Find(L"\r\n"), 30);
}

// The comment's limit is its three lines of 60 columns: the two breaks
// between them take none of it, so a comment stored as three full lines
// fits whole and a character past them does not.
TEST_F(ExerDocument, ACommentOfThreeFullLinesFitsWholeItsBreaksNotCounted)
{
    for (const wchar_t ch : {L'a', L'这'}) {
        SCOPED_TRACE(static_cast<int>(ch));
        const CString line(ch, ch == L'a' ? 60 : 30);
        const CString full = line + L"\r\n" + line + L"\r\n" + line;
        EXPECT_EQ(CExerViewDoc::FitComment(full), full);
        EXPECT_EQ(CExerViewDoc::WrapComment(CExerViewDoc::FitComment(full)), full);
        EXPECT_EQ(CExerViewDoc::FitComment(full + ch), full);
        const CString shorter = full.Left(full.GetLength() - 1);
        EXPECT_EQ(CExerViewDoc::FitComment(shorter), shorter);
        // Typed without breaks: the same three lines.
        EXPECT_EQ(CExerViewDoc::WrapComment(CExerViewDoc::FitComment(line + line + line + line)), full);
    }
}

TEST_F(ExerDocument, RealRestingRecordGivesARestBeatInEveryLead)
{
    REQUIRE_SHARED_DATA(header, "physionet/ptb/s0010_re.hea");
    ExerciseRecordOptions o = DefaultOptions();
    o.ptbRecord = header.substr(0, header.size() - 4);
    o.systemCode = 0xFFFD;
    const ExerFiles files = Write(o);
    CExerViewDoc doc;
    ASSERT_EQ(Open(doc, files), 0);
    const _EXERDATAITEM* item = doc.GetCurrentDataItem();
    // The patient's own resting beat: a QRS of some size in every stored lead.
    for (int lead = 0; lead < 8; ++lead) {
        const std::vector<short> rest = Wave([&](short* b) { return doc.GetRestWave(lead, b, 0); });
        ASSERT_EQ(rest.size(), 600u) << lead;
        short hi = 0, lo = 0;
        doc.GetWaveMaxMin(rest.data(), static_cast<int>(rest.size()), &hi, &lo);
        EXPECT_GT(hi - lo, 100) << lead;   // more than 0.25 mV
    }
    // These recorders keep the leads in another order.
    EXPECT_EQ(doc.GetDataLeadIDInverse(2), 6u);
    EXPECT_EQ(doc.GetDataLeadIDInverse(8), 2u);
    EXPECT_EQ(doc.GetDataLeadIDInverse(15), 0u);
    EXPECT_FALSE(item->stResult.strValue[4][9].IsEmpty());   // energy of the 0xFFFD recorder
}

// The age columns of the target heart-rate tables come from the record's age
// element by its unit; an age in days and hours, or one too large to be
// real, still finds a column.
TEST_F(ExerDocument, AgeUnitsChooseTheTableColumn)
{
    ExerciseRecordOptions o = DefaultOptions();
    o.maxHrCalculate = 1;   // the age tables, table A
    const CString age = L"/Rawdata/Tavrion/Inspection/Patient_section/Age";
    struct Case {
        const char* name;
        const wchar_t* unit;
        const wchar_t* attrib;
        const wchar_t* value;
        const char* hr100;   // the 100 % row of table A
    };
    static const Case kCases[] = {
        {"weeks_days", L"18", L"week", L"1300", "195"},   // 24.9 years and 10 days: column 2
        {"days_hours", L"19", L"day", L"9125", "197"},    // no age in years: column 0
        {"huge", L"0", L"year", L"1e300", "174"},          // the oldest column
    };
    for (const Case& c : kCases) {
        const ExerFiles files = Write(o, nullptr, RecordXmlOptions(), c.name);
        WriteXmlValue(files.xml, age, L"", L"year");
        WriteXmlValue(files.xml, age, c.unit, L"unit");
        WriteXmlValue(files.xml, age, c.value, c.attrib);
        if (std::string(c.name) == "weeks_days") WriteXmlValue(files.xml, age, L"10", L"day");
        CExerViewDoc doc;
        ASSERT_EQ(Open(doc, files), 0) << c.name;
        EXPECT_EQ(Utf8(doc.GetCurrentDataItem()->stResult.strValue[1][9]), c.hr100) << c.name;
    }
}

// The PWC text counts any METs line that does not pass through the origin,
// even one giving less than a tenth of a MET at 75 % of the maximum rate.
TEST_F(ExerDocument, PwcOfALineBelowATenthOfAMetFallsToZeroOrBelow)
{
    const ExerFiles files = Write(DefaultOptions());
    CExerViewDoc doc;
    ASSERT_EQ(Open(doc, files), 0);
    _EXERDATAITEM* item = doc.GetCurrentDataItem();
    item->stResult.dSlope = 0.0;
    item->stResult.dIntercept = 0.05;
    item->stPatient.strWeight = L"70";
    ASSERT_EQ(doc.GetSummaryInfoFromXMLFile(item), 0);
    const int h = item->stInterpre.sHr100Percent * 3 / 4;
    EXPECT_EQ(Utf8(item->stInterpre.strPwc), "-20 W ( 0.0 METs " + std::to_string(h) + " )");
    item->stResult.dIntercept = 0.0;
    ASSERT_EQ(doc.GetSummaryInfoFromXMLFile(item), 0);
    EXPECT_EQ(Utf8(item->stInterpre.strPwc), "0 W ( 0.0 METs " + std::to_string(h) + " )");
}


// A load time whose METs were not measured keeps the duration and says so,
// whether the value is a placeholder, empty or missing.
TEST_F(ExerDocument, ALoadTimeWithoutMetsShowsAStarInPlaceOfTheValue)
{
    const CString endMets = L"/Rawdata/Tavrion/Report/Exercise_section/Load/End_mets";
    for (const CString& stored : {CString(L"*"), CString(L""), CString(L"<none>")}) {
        SCOPED_TRACE(Utf8(stored));
        const ExerFiles files = Write(DefaultOptions(), nullptr, RecordXmlOptions(), "mets");
        if (stored == L"<none>") {
            CECGXMLParser xml(Wide(files.xml), 0, CString());
            xml.RemoveNode(endMets);
            xml.SaveToXMLFile();
        } else {
            WriteXmlValue(files.xml, endMets, stored);
        }
        CExerViewDoc doc;
        ASSERT_EQ(Open(doc, files), 0);
        EXPECT_EQ(Utf8(doc.GetCurrentDataItem()->stInterpre.strLoadTime), "09'00''(* METs)");
    }
}

// Without its record XML the load time is not known, but the record's own
// series end where the exercise ends: the recovery clock starts there, not
// at 0 min over the exercise.
TEST_F(ExerDocument, WithoutItsRecordXmlTheRecoveryStartsWhereTheRecordsExerciseSeriesEnd)
{
    const ExerciseRecordOptions o = DefaultOptions();
    const ExerFiles files = Write(o);
    ASSERT_EQ(0, std::remove(files.xml.c_str()));
    CExerViewDoc doc;
    ASSERT_EQ(Open(doc, files), 0);
    _EXERDATAITEM* item = doc.GetCurrentDataItem();
    ASSERT_NE(item, nullptr);
    const ExerciseTimeline t = MakeExerciseTimeline(o);
    EXPECT_EQ(item->nExerTime, t.exerciseSeconds);
    EXPECT_EQ(item->nEndTime, t.exerciseSeconds + t.averageTimes[1].back());
    ASSERT_EQ(item->arrMemTime.GetSize(), static_cast<INT_PTR>(t.stripTimes[0].size() + t.stripTimes[1].size()));
    EXPECT_EQ(item->arrMemTime[static_cast<INT_PTR>(t.stripTimes[0].size())], t.exerciseSeconds + t.stripTimes[1][0]);
}
