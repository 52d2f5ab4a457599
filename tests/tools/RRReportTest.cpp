// RR reports written interval by interval: the list as given (marks, and no
// length where none was given), one RR50 row per minute of running time in
// seconds, at most ten, and totals over the lengths the list has.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/TestSupport.h"
#include "tests/tools/XmlTestUtil.h"
#include "tools/EcgModel.h"
#include "tools/RRRecord.h"

namespace {

using morvelance::RRInterval;

const std::string kReport = "/Rawdata/Tavrion/Report/";

std::string WriteReport(testsupport::TempDir& dir, const morvelance::RRReport& report)
{
    morvelance::SynthOptions synth;
    synth.leads = {morvelance::LeadId::II};
    synth.seconds = 10.0;
    const auto record = morvelance::MakeRRDeviceRecord(morvelance::Synthesize(synth), morvelance::DeviceRecordOptions());
    return morvelance::WriteRRRecordFilesWithReport(dir.File("rr.ecg"), record, report);
}

TEST(RRReport, TheListKeepsMarksAndLeavesOutMissingLengths)
{
    testsupport::TempDir dir;
    morvelance::RRReport report;
    report.intervals = {{800, false}, {-1, true}, {1200, true}};
    const xmltest::Doc xml(WriteReport(dir, report));
    ASSERT_TRUE(xml.ok());
    EXPECT_EQ("3", xml.Value(kReport + "Rr_list/@count"));
    EXPECT_EQ("false", xml.Value(kReport + "Rr_list/List_time[1]/@flag"));
    EXPECT_EQ("true", xml.Value(kReport + "Rr_list/List_time[2]/@flag"));
    EXPECT_EQ(0, xml.Count(kReport + "Rr_list/List_time[2]/@data"));
    EXPECT_EQ("1200", xml.Value(kReport + "Rr_list/List_time[3]/@data"));
    // The totals leave the missing length out: 1000 ms on average, 2 s in all.
    EXPECT_EQ("1.000", xml.Value(kReport + "Rr_total/Mean_duration"));
    EXPECT_EQ("00:00:02", xml.Value(kReport + "Rr_total/Measure_time"));
    EXPECT_EQ(1, xml.Count(kReport + "Rr_total"));
}

TEST(RRReport, RR50RowsFollowTheMinutesOfRunningTimeInSeconds)
{
    testsupport::TempDir dir;
    morvelance::RRReport report;
    // 75 intervals of 800 ms, then 60 of 1000 ms and 3 of 1200 ms: a minute
    // each for the first two runs, the third begins minute 2.
    report.intervals.assign(75, RRInterval{800, false});
    report.intervals.insert(report.intervals.end(), 60, RRInterval{1000, false});
    report.intervals.insert(report.intervals.end(), 3, RRInterval{1200, false});
    const xmltest::Doc xml(WriteReport(dir, report));
    ASSERT_TRUE(xml.ok());
    EXPECT_EQ("3", xml.Value(kReport + "Rr50_info/@count"));
    EXPECT_EQ("0.800", xml.Value(kReport + "Rr50_info/Rr50_avg/Rr50_avg_element[1]/@data"));
    EXPECT_EQ("75", xml.Value(kReport + "Rr50_info/Rr50_hr/Rr50_hr_element[1]/@data"));
    EXPECT_EQ("1.000", xml.Value(kReport + "Rr50_info/Rr50_max/Rr50_max_element[2]/@data"));
    EXPECT_EQ("60", xml.Value(kReport + "Rr50_info/Rr50_hr/Rr50_hr_element[2]/@data"));
    EXPECT_EQ("1.200", xml.Value(kReport + "Rr50_info/Rr50_min/Rr50_min_element[3]/@data"));
    EXPECT_EQ(3, xml.Count(kReport + "Rr50_info/Rr50_cv/Rr50_cv_element"));
}

TEST(RRReport, ATwoHourListHasTenRowsAndAnEmptyOneNone)
{
    testsupport::TempDir dir;
    morvelance::RRReport report;
    report.intervals = morvelance::MakeRRIntervals(9000, 800, 100);
    const xmltest::Doc longer(WriteReport(dir, report));
    ASSERT_TRUE(longer.ok());
    EXPECT_EQ("10", longer.Value(kReport + "Rr50_info/@count"));
    EXPECT_EQ("9000", longer.Value(kReport + "Rr_list/@count"));
    EXPECT_EQ(900, longer.Count(kReport + "Rr_list/List_time[@flag='true']"));

    report.intervals.clear();
    const xmltest::Doc empty(WriteReport(dir, report));
    ASSERT_TRUE(empty.ok());
    EXPECT_EQ("0", empty.Value(kReport + "Rr50_info/@count"));
    EXPECT_EQ("0", empty.Value(kReport + "Rr_list/@count"));
}

}  // namespace
