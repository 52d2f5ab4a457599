// A name typed into a patient sheet on a real screen and saved with its
// update button: the record XML then differs from the one before in the name
// and the stamps of the patient section only. The host's "show" runs on an X
// server of the test's own; the pointer and keyboard go through XTEST.
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

// A record, the sheet its opener shows, and a point inside the sheet's name
// field at 1920 x 1080, from the sheet's top left.
struct SheetOnScreen {
    std::string record;
    std::string xml;
    const char* dialog;
    int nameX, nameY;
};

class HostShowSheetSaveTest : public showtest::HostShowFixture {
protected:
    void SetUp() override
    {
        HostSamplesTest::SetUp();
        MakeRecords({"examinations", m_dir.File("examinations")});
    }
    // Shows the sheet, clicks its name field, types a new name over the old
    // one, presses Return (the default button, 更新) and Return again in the
    // editor prompt that follows, which holds the user's name; then waits
    // for show to end.
    void RenameAndSave(XvfbServer& server, const SheetOnScreen& sheet)
    {
        ASSERT_TRUE(StartShow(server, {sheet.record, "--dialog", sheet.dialog, "--user", "高橋"}));
        ASSERT_TRUE(WaitFor([&] { return server.MappedWindows().size() == 1; })) << ShowErrors();
        int left = 0;
        int top = 0;
        ASSERT_TRUE(server.Origin(server.MappedWindows().front(), left, top));
        ASSERT_TRUE(server.Input({"mousemove", std::to_string(left + sheet.nameX), std::to_string(top + sheet.nameY),
                                  "click", "1", "key", "End", "key", "--repeat", "10", "BackSpace"}));
        ASSERT_TRUE(server.Input({"type", "Suzuki Ichiro"}));
        ASSERT_TRUE(server.Input({"key", "Return"}));
        ASSERT_TRUE(WaitFor([&] { return server.MappedWindows().size() == 2; })) << ShowErrors();
        ASSERT_TRUE(server.Input({"key", "Return"}));
        EXPECT_EQ(0, m_show.Wait(displaytest::kPatience)) << ShowErrors();
        EXPECT_NE(std::string::npos, ShowOutput().find("saved"));
    }
    // The sheet renamed and saved on a server of the test's own: the record
    // XML holds the new name, and nothing else changed but the name and its
    // stamps.
    void ExpectOnlyTheNameAndItsStampsChange(const SheetOnScreen& sheet)
    {
        const std::string before = testsupport::ReadFileBytes(sheet.xml);
        XvfbServer server;
        START_XVFB(server, showtest::kWidth, showtest::kHeight);
        RenameAndSave(server, sheet);
        if (HasFatalFailure()) return;
        const std::string after = testsupport::ReadFileBytes(sheet.xml);
        EXPECT_NE(std::string::npos, after.find("<Patient_name>Suzuki Ichiro</Patient_name>"));
        const std::vector<std::string> name = xmlchanges::place::NameChange();
        EXPECT_TRUE(xmlchanges::OnlyChanged(before, after, name, name));
    }
};

}  // namespace

TEST_F(HostShowSheetSaveTest, ANameSavedThroughTheRestingSheetChangesOnlyTheNameAndItsStamps)
{
    const SheetOnScreen sheet{SamplePath("rest12_90.ecg"), SamplePath("rest12_9020240401093000.xml"),
                              "CDlgPatientInfoComment", 194, 151};
    ExpectOnlyTheNameAndItsStampsChange(sheet);
}

TEST_F(HostShowSheetSaveTest, ANameSavedThroughTheExerciseSheetChangesOnlyTheNameAndItsStamps)
{
    const SheetOnScreen sheet{m_dir.File("examinations/exercise_90.ecg"),
                              m_dir.File("examinations/exercise_9020240401093000.xml"), "CDlgInfoCommentGeneral", 194,
                              131};
    ExpectOnlyTheNameAndItsStampsChange(sheet);
}

// The update button on a sheet where nothing was changed closes it with the
// record XML as it was, and show says that nothing changed, not that it saved.
TEST_F(HostShowSheetSaveTest, UpdatingASheetWithNothingChangedSaysSoAndLeavesTheRecordAlone)
{
    const std::string record = SamplePath("rest12_90.ecg");
    const std::string xml = SamplePath("rest12_9020240401093000.xml");
    const std::string before = testsupport::ReadFileBytes(xml);
    XvfbServer server;
    START_XVFB(server, showtest::kWidth, showtest::kHeight);
    ASSERT_TRUE(StartShow(server, {record, "--dialog", "CDlgPatientInfoComment", "--user", "高橋"}));
    ASSERT_TRUE(WaitFor([&] { return server.MappedWindows().size() == 1; })) << ShowErrors();
    ASSERT_TRUE(server.Input({"key", "Return"}));   // the default button, 更新
    // Should the editor prompt come up all the same, its default answers it.
    if (WaitWhileShowing([&] { return server.MappedWindows().size() == 2; })) {
        ASSERT_TRUE(server.Input({"key", "Return"}));
    }
    EXPECT_EQ(0, m_show.Wait(displaytest::kPatience)) << ShowErrors();
    EXPECT_EQ("CDlgPatientInfoComment: nothing changed\n", ShowOutput());
    EXPECT_EQ(before, testsupport::ReadFileBytes(xml));
}
