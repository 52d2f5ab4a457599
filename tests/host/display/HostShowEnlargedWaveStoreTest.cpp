// The enlarged beat's measurement table on a real screen: the record
// maker's rich record (lead II's Q, R and S amplitudes stored as "abc",
// "12.5" and "+015", its TUP empty and its delta wave "y", among other
// forms), P amp. typed, 更新 clicked and the editor prompt answered with
// Return. The host's "show" runs on an X server of the test's own; the
// pointer and keyboard go through XTEST.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/dialogs/RecordXmlChanges.h"
#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"
#include "tests/host/display/HostShowFixture.h"
#include "tests/support/XvfbTest.h"

using namespace hosttest;
using displaytest::WaitFor;
using displaytest::XvfbServer;

namespace {

// Points inside the dialog at 1920 x 1080, from its top left: lead II's P
// amp. cell and the update button.
const int kPAmpX = 1021, kPAmpY = 670;
const int kUpdateX = 1044, kUpdateY = 1000;

class HostShowEnlargedWaveStoreTest : public showtest::HostShowFixture {};

}  // namespace

// Only P amp. and the stamps of the store change: every other value stays
// as the record XML holds it, byte for byte.
TEST_F(HostShowEnlargedWaveStoreTest, ATypedPAmplitudeIsStoredAndEveryValueNotTypedStaysAsStored)
{
    const std::string record = SamplePath("rest12_90.ecg");
    const std::string xml = SamplePath("rest12_9020240401093000.xml");
    MakeRecords({"xml", "--for", record, "--every-section", "--refused"});
    const std::string before = testsupport::ReadFileBytes(xml);
    for (const char* stored : {"<Qa_element data=\"abc\"/>", "<Ra_element data=\"12.5\"/>", "<Sa_element data=\"+015\"/>",
                               "<Tup_element data=\"\"/>", "<Delta_wave_element data=\"y\"/>"})
        ASSERT_NE(before.find(stored), std::string::npos) << stored;
    XvfbServer server;
    START_XVFB(server, showtest::kWidth, showtest::kHeight);
    ASSERT_TRUE(StartShow(server, {record, "--dialog", "CDlgEnlargedWave", "--user", "高橋"}));
    ASSERT_TRUE(WaitForWindows(server, 1)) << ShowErrors();
    int left = 0, top = 0;
    ASSERT_TRUE(server.Origin(server.MappedWindows().front(), left, top));
    ASSERT_TRUE(server.Input({"mousemove", std::to_string(left + kPAmpX), std::to_string(top + kPAmpY), "click", "1",
                              "key", "End", "key", "--repeat", "6", "BackSpace"}));
    ASSERT_TRUE(server.Input({"type", "42"}));
    ASSERT_TRUE(server.Input({"mousemove", std::to_string(left + kUpdateX), std::to_string(top + kUpdateY), "click",
                              "1"}));
    ASSERT_TRUE(WaitForWindows(server, 2)) << ShowErrors();   // the editor prompt
    ASSERT_TRUE(server.Input({"key", "Return"}));
    EXPECT_EQ(0, m_show.Wait(displaytest::kPatience)) << ShowErrors();
    const std::string after = testsupport::ReadFileBytes(xml);
    const std::vector<std::string> typed = {
        "/Rawdata[1]/Tavrion[1]/Measurement[1]/Measurement_section[1]/Mm[1]/Pa[1]/Pa_element[2]/@data"};
    EXPECT_TRUE(xmlchanges::OnlyMeasurementsTyped(before, after, typed));
    EXPECT_NE(after.find("<Pa_element data=\"42\"/>"), std::string::npos);
    // The prompt listed the user the host acts for, whose name stamps the store.
    ASSERT_EQ(before.find("<Editor_name>高橋</Editor_name>"), std::string::npos);
    EXPECT_NE(after.find("<Editor_name>高橋</Editor_name>"), std::string::npos) << after;
}
