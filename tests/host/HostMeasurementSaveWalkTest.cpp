// Every store of measurement values, walked on the rich record XML of each
// record kind that keeps measurements (the record maker's --refused record:
// beside the values its readers take, measurement texts in every form a
// reader may meet, none of them named here). The record is opened by the
// host's own opener in the test's process, for a user who may save, and
// each store is made as a person makes it: the measurement table of every
// page that holds one (found by walking the pages' windows) with one P
// amplitude typed and its update pressed, the enlarged beat's table with P
// amp. of lead II typed and OK pressed, and the heart-rate caliper's update
// with the rate left as shown; the prompts are answered as the host answers
// them. The whole record XML is then compared: only the typed values and
// the stamps of the stores may change.
#include <gtest/gtest.h>

#include <functional>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "analysisviews/ViewDetailedMeas.h"
#include "core/ECGXMLParser.h"
#include "core/PatientInfo.h"
#include "core/TavrionDoc.h"
#include "dialogs/DlgDivider.h"
#include "dialogs/DlgEnlargedWave.h"
#include "documents/MFERViewDoc.h"
#include "host/PaneKinds.h"
#include "host/RecordOpening.h"
#include "platform/ui/framework/ModalDriver.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "tests/dialogs/RecordXmlChanges.h"
#include "tests/forms/FormTestSupport.h"
#include "tests/host/HostSamples.h"
#include "tests/support/DocumentTestSupport.h"
#include "tests/support/ModalScript.h"

using platform::ui::Desktop;

namespace {

const int kScreenWidth = 1920;
const int kScreenHeight = 1080;
const wchar_t kUser[] = L"高橋";
const UINT kUpdateButton = 3503;   // the measurement page's update
const int kLeadII = 1;
const std::string kMm = "/Rawdata[1]/Tavrion[1]/Measurement[1]/Measurement_section[1]/Mm[1]/";

// The stamps a store of measurements makes: the analysis editor, the times,
// and the addition's editor where an addition was edited beside it. No
// patient or comment edit is made, so their editors stay.
const std::vector<std::string> kStamps = {
    "/Rawdata/Tavrion/Inspection/Patient_section/Edit_time",
    "/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor",
    "/Rawdata/Tavrion/Analysis/Analysis_edit",
    "/Rawdata/Tavrion/Addition/Patient_add_section/Addition_editor",
};
// The doctor confirms a model-8000 record's store anew.
const std::vector<std::string> kConfirmationStamps = {
    "/Rawdata/Tavrion/Inspection/Patient_section/Doctor",
    "/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor",
};

// The confirmation as the forms show it, read from the record XML.
_PATIENT_INFO ConfirmationReading(const std::string& xml)
{
    CTavrionDoc reader;
    reader.m_bAutoDelete = FALSE;
    CECGXMLParser parser(testsupport::Wide(xml), 0, CString());
    _PATIENT_INFO read;
    reader.GetPatInfoFromXML(0, read, &parser);
    return read;
}

std::string PAmplitudePlace(int lead)
{
    return kMm + "Pa[1]/Pa_element[" + std::to_string(lead + 1) + "]/@data";
}

// The editor's or doctor's prompt answered with the user, as the host does.
void AnswerPrompt(CDialog& prompt)
{
    const int list = prompt.GetDlgItem(3485) ? 3485 : 3487;
    prompt.SendDlgItemMessage(list, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(kUser));
    prompt.SendDlgItemMessage(IDOK, BM_CLICK);
}

// Runs `dialog` modally: `act` on it, every other dialog it opens answered as a prompt.
void RunAnswering(CDialog& dialog, const std::function<void(CDialog&)>& act)
{
    platform::ui::ModalDriverScope driver([&](CWnd& running) {
        auto* shown = dynamic_cast<CDialog*>(&running);
        if (!shown) return;
        if (shown != &dialog) {
            AnswerPrompt(*shown);
            return;
        }
        Desktop::PumpMessages();
        act(*shown);
        Desktop::PumpMessages();
        if (shown->GetSafeHwnd() && shown->IsWindowVisible()) shown->EndDialog(IDCANCEL);
    });
    dialog.DoModal();
}

CViewDetailedMeas* FindTable(HWND window)
{
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (auto* table = DYNAMIC_DOWNCAST(CViewDetailedMeas, CWnd::FromHandlePermanent(child))) return table;
        if (CViewDetailedMeas* found = FindTable(child)) return found;
    }
    return nullptr;
}

HWND FindShown(HWND window, UINT id)
{
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (static_cast<UINT>(::GetDlgCtrlID(child)) == id && ::IsWindowVisible(child) && ::IsWindowEnabled(child))
            return child;
        if (HWND found = FindShown(child, id)) return found;
    }
    return nullptr;
}

void ClickMiddle(HWND window)
{
    CRect place;
    ::GetWindowRect(window, &place);
    Desktop::Click(place.CenterPoint());
    Desktop::PumpMessages();
}

// Every page that holds a measurement table, in its first page style: the
// first P amplitude a person may edit is typed over with 42 and the page's
// update pressed. The places typed into go to `typed`.
void StoreThroughTables(CTavrionDoc& doc, std::vector<std::string>& typed)
{
    for (auto list : {host::RestPaneKinds, host::RhythmPaneKinds, host::RRPaneKinds, host::ExtraPaneKinds,
                      host::MasterStepPaneKinds})
        for (const host::PaneKind& kind : list()) {
            std::unique_ptr<CWnd> pane(kind.make(doc, true));
            if (!pane) continue;
            const std::vector<int> styles = host::StylesOn(kind, doc);
            const CRect rect(0, 0, kScreenWidth, kScreenHeight);
            CWnd window;
            ASSERT_TRUE(window.CreateEx(0, nullptr, L"host", WS_POPUP | WS_VISIBLE, rect, nullptr, 0));
            ASSERT_TRUE(pane->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, &window, 100));
            kind.show(pane.get(), styles.empty() ? -1 : styles.front());
            Desktop::PumpMessages();
            CViewDetailedMeas* table = FindTable(pane->m_hWnd);
            int lead = 0;
            for (; table && lead < DETAILED_MEAS_LEADS; ++lead) {
                CDoubleEdit* cell = table->GetCell(0, lead);
                if (cell->IsWindowVisible() && cell->IsInputEnabled()) break;
            }
            if (table && lead < DETAILED_MEAS_LEADS) {
                SCOPED_TRACE(kind.name);
                ClickMiddle(table->GetCell(0, lead)->m_hWnd);
                table->GetCell(0, lead)->SetSel(0, -1);
                Desktop::TypeText(L"42");
                Desktop::PumpMessages();
                const HWND update = FindShown(pane->m_hWnd, kUpdateButton);
                EXPECT_NE(update, nullptr) << "the page offers no update for a value typed";
                if (update) {
                    platform::ui::ModalDriverScope driver([](CDialog& prompt) { AnswerPrompt(prompt); });
                    ClickMiddle(update);
                    typed.push_back(PAmplitudePlace(lead));
                }
            }
            pane->DestroyWindow();
            window.DestroyWindow();
        }
}

// The enlarged beat of lead II as a double click opens it: P amp. typed, then OK.
void StoreThroughEnlargedBeat(CTavrionDoc& doc, std::vector<std::string>& typed)
{
    CDlgEnlargedWave dialog(1, 0, nullptr);
    dialog.SetDoc(&doc, doc.GetDocType());
    dialog.SetDotsPerMM(96.0 / 25.4, 96.0 / 25.4);
    dialog.SetClickInfo(kLeadII, 0, 0, 0);
    dialog.SetLimbLead(TRUE);
    bool editable = false;
    RunAnswering(dialog, [&](CDialog&) {
        editable = dialog.GetMeasureTable().Cell(5600).IsInputEnabled() != FALSE;
        if (editable) testsupport::TypeInto(dialog, 5600, L"42");
        testsupport::ClickControl(dialog, IDOK);
    });
    if (editable) typed.push_back(PAmplitudePlace(kLeadII));
}

// The heart-rate caliper on lead II, updated with the rate as it shows it.
void UpdateThroughCaliper(CTavrionDoc& doc)
{
    CDlgDivider dialog(nullptr);
    dialog.SetDoc(&doc, doc.GetDocType());
    dialog.SetLeadID(kLeadII);
    int rate = 500;
    if (auto* mfer = dynamic_cast<CMFERViewDoc*>(&doc))
        if (mfer->GetSampleRate() >= 1.0) rate = static_cast<int>(mfer->GetSampleRate() + 0.5);
    dialog.SetWaveParam(260, 30, doc.GetRhythmWaveData(kLeadII, nullptr, -1) / 2, rate, 0);
    RunAnswering(dialog, [&](CDialog&) {
        if (CWnd* update = dialog.GetDlgItem(IDOK); update && update->IsWindowVisible())
            testsupport::ClickControl(dialog, IDOK);
    });
}

// The stylesheet's layouts of every form, as the host loads them before it
// opens a record: the readers and savers take their places from them.
void LoadLayouts()
{
    CTavrionDoc layouts;
    layouts.m_bAutoDelete = FALSE;
    for (_LOAD_POSITION_TYPE type :
         {LOAD_POS_REST, LOAD_POS_RHYTHM, LOAD_POS_RR, LOAD_POS_FINAL, LOAD_POS_EXTRA, LOAD_POS_EXER})
        layouts.GetCtrlPosFromXSL(type);
}

struct WalkedRecord {
    const char* file;
    const char* maker;   // "samples", "examinations", or the MFER kind
};

void PrintTo(const WalkedRecord& record, std::ostream* os)
{
    *os << record.file;
}

class HostMeasurementSaveWalk : public testsupport::DocumentTest,
                                public ::testing::WithParamInterface<WalkedRecord> {};

}  // namespace

TEST_P(HostMeasurementSaveWalk, AStoreOfOneMeasurementThroughEveryPathLeavesTheRestOfTheRecordXmlAsStored)
{
    const WalkedRecord& walked = GetParam();
    const std::string file = walked.file;
    const std::string record = m_dir.File(file);
    std::string xml;
    const std::vector<std::string> rich = {"--every-section", "--refused"};
    std::vector<std::string> args;
    if (file.find(".mwf") != std::string::npos) {
        xml = m_dir.File("Raw_" + file.substr(0, file.rfind('.')) + "20240401093000.xml");
        args = {"mfer", "--kind", walked.maker, "--leads", "12", "--out", record, "--xml-out", xml};
    } else {
        const std::string made = m_dir.File("made");
        hosttest::MakeRecords({walked.maker, made});
        std::filesystem::copy_file(made + "/" + file, record);
        args = {"xml", "--for", record};
    }
    args.insert(args.end(), rich.begin(), rich.end());
    hosttest::MakeRecords(args);
    for (const auto& entry : std::filesystem::directory_iterator(m_dir.Path()))
        if (entry.path().extension() == ".xml") xml = entry.path().string();
    const std::string before = testsupport::ReadFileBytes(xml);
    LoadLayouts();
    const _PATIENT_INFO shown = ConfirmationReading(xml);
    // The record holds the forms the walk is for (the maker writes them only where its readers look).
    ASSERT_NE(before.find("data=\"abc\""), std::string::npos);

    Desktop::Reset();
    formtest::ScopedScreen screen;
    platform::ui::MessageBoxRecorder boxes;
    std::vector<std::string> typed;
    bool doctor = false;
    {
        LoadLayouts();
        std::unique_ptr<CTavrionDoc> doc;
        ASSERT_TRUE(host::OpenForViews(record, doc));
        doc->m_bAutoDelete = FALSE;
        screen.Use(*doc, kScreenWidth, kScreenHeight);
        doc->SetCtrlContent(nullptr);
        doc->UpdateCtrlStatus();
        doc->InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(10), kUser);
        doc->InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(9), kUser);
        doc->SetDoctorAndEditorStatus(1, 1);
        doctor = doc->Is8000File() != 0;
        StoreThroughTables(*doc, typed);
        // A resting record's measurements are edited on a page's table and in the enlarged beat.
        const bool rest = doc->GetDocType() == DOC_TYPE_REST;
        if (rest) {
            EXPECT_EQ(1u, typed.size());
        }
        StoreThroughEnlargedBeat(*doc, typed);
        if (rest) {
            EXPECT_EQ(2u, typed.size());
        }
        UpdateThroughCaliper(*doc);
    }
    for (int i = 0; i < boxes.Count(); ++i) ADD_FAILURE() << "a message: " << testsupport::Utf8(boxes.At(i).text);
    const std::string after = testsupport::ReadFileBytes(xml);
    std::vector<std::string> allowed = kStamps;
    allowed.insert(allowed.end(), typed.begin(), typed.end());
    // The rich record's confirming editor has no name: the forms show the
    // patient's doctor at the analysis date, which the store renews. The
    // confirmation shown is then kept in the confirming editor's place.
    const bool readFromOlderPlaces =
        xmlchanges::Read(before).count(
            "/Rawdata[1]/Tavrion[1]/Inspection[1]/Voktext_section[1]/Confirm_editor[1]/Editor_name[1]#") == 0;
    if (doctor) {
        allowed.insert(allowed.end(), kConfirmationStamps.begin(), kConfirmationStamps.end());
    } else {
        if (readFromOlderPlaces) allowed.push_back(kConfirmationStamps.back());
        // An editor's store is no confirmation: the forms show the one they showed.
        const _PATIENT_INFO read = ConfirmationReading(xml);
        EXPECT_EQ(testsupport::Utf8(shown.strConfirmDoctor), testsupport::Utf8(read.strConfirmDoctor));
        EXPECT_EQ(testsupport::Utf8(shown.strConfirmDate), testsupport::Utf8(read.strConfirmDate));
    }
    EXPECT_TRUE(xmlchanges::OnlyChanged(before, after, allowed, typed));
    for (const std::string& place : typed) EXPECT_NE(after.find("data=\"42\""), std::string::npos) << place;
}

class HostMeasurementStoreWithoutForm : public testsupport::DocumentTest {};

// The enlarged beat opened on a record with no form filled behind it, as the
// host's `show --dialog` opens it: the store stamps the analysis editor, and
// the patient's and comment's editors, whose sections nobody edited, stay.
// So does the confirmation, as stored, and also where the record shows none
// (the confirming editor without a name and no analysis date to fall back on).
TEST_F(HostMeasurementStoreWithoutForm, AStoreStampsNoEditorOfASectionNobodyEditedAndNoConfirmation)
{
    const std::string made = m_dir.File("made");
    hosttest::MakeRecords({"samples", made});
    const std::string record = m_dir.File("rest12_90.ecg");
    const std::string xml = m_dir.File("rest12_9020240401093000.xml");
    std::filesystem::copy_file(made + "/rest12_90.ecg", record);
    const std::string stored = testsupport::ReadFileBytes(made + "/rest12_9020240401093000.xml");
    std::string shaped = std::regex_replace(stored, std::regex("<Editor_name>高橋 誠</Editor_name>(\\s*<Edit_date[^>]*hour=\"10\")"),
                                                 "<Editor_name></Editor_name>$1");
    const std::string unconfirmed = std::regex_replace(shaped, std::regex("hour=\"09\" minute=\"40\""), "hour=\"25\" minute=\"40\"");
    ASSERT_NE(unconfirmed.find("<Editor_name></Editor_name>"), std::string::npos);
    for (const std::string* shape : {&stored, &unconfirmed}) {
        const std::string& before = *shape;
        std::ofstream(xml, std::ios::binary | std::ios::trunc) << before;
        LoadLayouts();
        const _PATIENT_INFO shown = ConfirmationReading(xml);
        ASSERT_EQ(shape == &stored, !shown.strConfirmDate.IsEmpty());
        Desktop::Reset();
        formtest::ScopedScreen screen;
        platform::ui::MessageBoxRecorder boxes;
        std::vector<std::string> typed;
        {
            std::unique_ptr<CTavrionDoc> doc;
            ASSERT_TRUE(host::OpenForViews(record, doc));
            doc->m_bAutoDelete = FALSE;
            screen.Use(*doc, kScreenWidth, kScreenHeight);
            doc->InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(10), kUser);
            doc->SetDoctorAndEditorStatus(1, 1);
            StoreThroughEnlargedBeat(*doc, typed);
        }
        ASSERT_EQ(1u, typed.size());
        EXPECT_EQ(0, boxes.Count());
        std::vector<std::string> allowed = kStamps;
        allowed.insert(allowed.end(), typed.begin(), typed.end());
        // The renewed analysis date would confirm a record awaiting its
        // doctor: the doctor is named in the confirming editor's place.
        if (shape == &unconfirmed) allowed.push_back(kConfirmationStamps.back());
        EXPECT_TRUE(xmlchanges::OnlyChanged(before, testsupport::ReadFileBytes(xml), allowed, typed));
        const _PATIENT_INFO read = ConfirmationReading(xml);
        EXPECT_EQ(testsupport::Utf8(shown.strConfirmDoctor), testsupport::Utf8(read.strConfirmDoctor));
        EXPECT_EQ(testsupport::Utf8(shown.strConfirmDate), testsupport::Utf8(read.strConfirmDate));
        if (shape == &unconfirmed) {
            EXPECT_EQ(testsupport::Utf8(shown.strConfirmation), testsupport::Utf8(read.strConfirmation));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryKindWithMeasurements, HostMeasurementSaveWalk,
    ::testing::Values(WalkedRecord{"rest12_90.ecg", "samples"}, WalkedRecord{"rest12_80.ecg", "samples"},
                      WalkedRecord{"rest15_90.ecg", "samples"}, WalkedRecord{"rest12_pace_80.ecg", "examinations"},
                      WalkedRecord{"rhythm_90.ecg", "samples"}, WalkedRecord{"p12.mwf", "plain"}),
    [](const ::testing::TestParamInfo<WalkedRecord>& info) {
        std::string name = info.param.file;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });
