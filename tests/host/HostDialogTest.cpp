// The host's dialog command: each of the library's dialogs opened on a
// record's document, saved painted as PNG and cancelled.
#include <gtest/gtest.h>


#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "tests/host/HostSamples.h"
#include "tests/host/HostRun.h"
#include "tools/ExerRecord.h"
#include "tools/Mkrecord.h"
#include "tests/support/PngImage.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

// Pixels of the arrow icons' blue in a part of a PNG given in hundredths of
// its width and height.
int ArrowBluePixels(const std::string& path, int left, int top, int right, int bottom)
{
    const testsupport::PngImage png(path);
    const int width = png.Width();
    const int height = png.Height();
    return png.CountIn(width * left / 100, height * top / 100, width * right / 100, height * bottom / 100,
                       [](uint32_t pixel) {
                           const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
                           return b > r + 60 && b > g + 30;
                       });
}

}  // namespace

TEST(HostDialog, CommentEditorShowsItsArrowsOnTheRecordsOfEveryKind)
{
    TempDir dir;
    MakeRecords({"samples", dir.Path()});
    for (const char* record : {"rest12_90", "rhythm_90", "rr_90", "extra_90"}) {
        SCOPED_TRACE(record);
        const std::string png = dir.File(std::string(record) + "-comment.png");
        const HostRun run = Host({"dialog", dir.File(std::string(record) + ".ecg"), "--dialog", "CDlgEditComment",
                                  "--png", png});
        ASSERT_EQ(run.status, 0) << run.err;
        // The up and down buttons sit side by side in the button row below the phrase list.
        EXPECT_GT(ArrowBluePixels(png, 45, 80, 60, 95), 20);
        EXPECT_GT(ArrowBluePixels(png, 61, 80, 75, 95), 20);
    }
}

TEST(HostDialog, AllWritesEveryDialogThatAcceptsARestingRecord)
{
    TempDir dir;
    MakeRecords({"samples", dir.Path()});
    const std::string record = dir.File("rest12_90.ecg");
    const std::string xml = dir.File("rest12_9020240401093000.xml");
    const std::string before = testsupport::ReadFileBytes(xml);
    const HostRun run = Host({"dialog", record, "--dialog", "all", "--out", dir.Path()});
    EXPECT_EQ(run.status, 0) << run.err;
    for (const char* name : {"CDlgEditor", "CDlgDoctor", "CDlgEditAdditionalInfor", "CDlgEditAdditionItem",
                             "CDlgEditComment", "CDlgEditCommentItem", "CDlgEditIvrelCode", "CDlgEditMinneCode",
                             "CDlgPrintStatus"})
        EXPECT_TRUE(IsPng(dir.File(std::string(name) + ".png"))) << name;
    EXPECT_FALSE(IsPng(dir.File("CDlgExerLeadSelection-172.png")));   // not for a resting record
    EXPECT_EQ(testsupport::ReadFileBytes(xml), before);                // every dialog was cancelled

    const HostRun refused = Host({"dialog", record, "--dialog", "CDlgExerLeadSelection", "--png", dir.File("x.png")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("exercise record"), std::string::npos) << refused.err;
}

TEST(HostDialog, LeadSelectionOpensOnAnExerciseRecordInEachOfItsForms)
{
    TempDir dir;
    morvelance::ExerciseRecordOptions options;
    const morvelance::RecordBuilder items = morvelance::MakeExerciseRecord(options);
    const std::string record = dir.File("exer.ecg");
    const std::string xml = dir.File("exer20240401093000.xml");
    morvelance::WriteExerciseRecordXml(xml, items, options, morvelance::RecordXmlOptions());
    items.WriteFile(record, zarn::Flavour::Newer90);
    const std::string before = testsupport::ReadFileBytes(xml);
    for (const char* form : {"172", "173", "174"}) {
        const std::string png = dir.File(std::string("lead-") + form + ".png");
        const HostRun run = Host({"dialog", record, "--dialog", "CDlgExerLeadSelection", "--template", form, "--png", png});
        EXPECT_EQ(run.status, 0) << form << ": " << run.err;
        EXPECT_TRUE(IsPng(png)) << form;
    }
    EXPECT_EQ(testsupport::ReadFileBytes(xml), before);
}

TEST(HostDialog, UnknownDialogsAndMissingArgumentsAreRefused)
{
    TempDir dir;
    MakeRecords({"samples", dir.Path()});
    const std::string record = dir.File("rest12_90.ecg");
    EXPECT_EQ(Host({"dialog", record, "--dialog", "CDlgNothing", "--png", dir.File("n.png")}).status, 1);
    EXPECT_EQ(Host({"dialog", record, "--dialog", "CDlgEditor"}).status, 2);
    EXPECT_EQ(Host({"dialog", record, "--dialog", "all"}).status, 2);
}

TEST(HostDialog, TheLeadNameEditorsRenderWithoutTouchingTheRecord)
{
    TempDir dir;
    MakeRecords({"samples", dir.Path()});
    const std::string record = dir.File("rest12_90.ecg");
    const std::string before = testsupport::ReadFileBytes(record);
    for (const char* name : {"CDlg15LeadEditLeadName", "CDlgExtraEditLeadName", "CDlgRhythmEditLeadName",
                             "CDlgExtraFreezeEditLeadName"}) {
        const std::string png = dir.File(std::string("names-") + name + ".png");
        const HostRun run = Host({"dialog", record, "--dialog", name, "--png", png});
        EXPECT_EQ(run.status, 0) << name << run.err;
        EXPECT_TRUE(IsPng(png)) << name;
    }
    EXPECT_EQ(testsupport::ReadFileBytes(record), before);
}

TEST(HostDialog, AnMferFileOpensForTheDialogsAsItDoesForTheViews)
{
    TempDir dir;
    const std::string record = dir.File("mfer12.mwf");
    MakeRecords({"mfer", "--kind", "plain", "--leads", "12", "--out", record, "--xml-out",
          dir.File("Raw_mfer1220240401093000.xml")});
    ASSERT_EQ(Host({"view", record, "--view", "sheet", "--size", "320x200", "--png", dir.File("sheet.png")}).status, 0);
    const std::string out = dir.File("dialogs");
    const HostRun run = Host({"dialog", record, "--dialog", "all", "--out", out});
    EXPECT_EQ(run.status, 0) << run.err;
    for (const char* name : {"CDlgEditor", "CDlgEditComment", "CDlgPrintStatus"})
        EXPECT_TRUE(IsPng(out + "/" + name + ".png")) << name;
}

TEST(HostDialog, AMissingFolderIsMadeAndOneThatCannotBeIsNamedInTheRefusal)
{
    TempDir dir;
    MakeRecords({"samples", dir.Path()});
    const std::string record = dir.File("rest12_90.ecg");
    const std::string png = dir.File("a/b/editor.png");
    const HostRun one = Host({"dialog", record, "--dialog", "CDlgEditor", "--png", png});
    EXPECT_EQ(one.status, 0) << one.err;
    EXPECT_TRUE(IsPng(png));
    const HostRun all = Host({"dialog", record, "--dialog", "all", "--out", dir.File("c/d")});
    EXPECT_EQ(all.status, 0) << all.err;
    EXPECT_TRUE(IsPng(dir.File("c/d/CDlgEditor.png")));

    const std::string blocker = dir.Write("blocker", "a file, not a folder");
    const HostRun refused = Host({"dialog", record, "--dialog", "all", "--out", blocker + "/e"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find(blocker + "/e"), std::string::npos) << refused.err;
}

TEST(HostDialog, AFieldAPersonCannotReachIsRefusedByEveryCommandThatSetsOneAndNothingIsWritten)
{
    TempDir dir;
    MakeRecords({"samples", dir.Path()});
    const std::string rest80 = dir.File("rest12_80.ecg"), rest90 = dir.File("rest12_90.ecg");
    const std::string xml80 = dir.File("rest12_8020240401093000.xml"), xml90 = dir.File("rest12_9020240401093000.xml");
    // A model-8000 record's patient page and strip hide its kana name, room
    // and second age, and keep the kana name from being typed. A field typed
    // first is not saved either; a strip switch a page does not have is no
    // button to press.
    const struct {
        std::vector<std::string> args;
        std::string said;
    } refusals[] = {
        {{"dialog", rest80, "--dialog", "CDlgPatientInfoComment", "--set", "3209=カナ", "--ok", "高橋"},
         "CDlgPatientInfoComment: field 3209 is hidden"},
        {{"dialog", rest80, "--dialog", "CDlgPatientInfoComment", "--set", "3208=山田花子", "--set", "3210=R-1", "--ok",
          "高橋"},
         "CDlgPatientInfoComment: field 3210 is hidden"},
        {{"view", rest80, "--view", "CFormPatientInfo", "--type", "3007=カナ", "--save"}, "control 3007: it is disabled"},
        {{"view", rest80, "--view", "CFormPatientInfo", "--type", "3013=5", "--save"}, "control 3013: it is hidden"},
        {{"pane", rest90, "--pane", "CWndRestRhythmWave", "--style", "1", "--click", "3482"}, "no enabled control 3482"},
    };
    const std::string before80 = testsupport::ReadFileBytes(xml80), before90 = testsupport::ReadFileBytes(xml90);
    int index = 0;
    for (const auto& refusal : refusals) {
        SCOPED_TRACE(refusal.said);
        const std::string png = dir.File("set-" + std::to_string(++index) + ".png");
        std::vector<std::string> args = refusal.args;
        args.insert(args.end(), {"--png", png});
        const HostRun run = Host(args);
        EXPECT_EQ(1, run.status) << run.out;
        EXPECT_NE(std::string::npos, run.err.find(refusal.said)) << run.err;
        EXPECT_EQ(std::string::npos, run.out.find("saved")) << run.out;
        EXPECT_FALSE(IsPng(png));
    }
    EXPECT_EQ(before80, testsupport::ReadFileBytes(xml80));
    EXPECT_EQ(before90, testsupport::ReadFileBytes(xml90));
    // The record of the other model shows the two fields, which are saved.
    const HostRun shown = Host({"dialog", rest90, "--dialog", "CDlgPatientInfoComment", "--set", "3209=カナ", "--set",
                                "3210=R-1", "--ok", "高橋"});
    EXPECT_EQ(0, shown.status) << shown.err;
    const std::string saved = testsupport::ReadFileBytes(xml90);
    EXPECT_NE(std::string::npos, saved.find("<Patient_kana_name>カナ</Patient_kana_name>")) << saved;
    EXPECT_NE(std::string::npos, saved.find("<Room_no>R-1</Room_no>")) << saved;
}
