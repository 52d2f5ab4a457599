// The measurement table of the enlarged beat, used through the desktop on a
// maker record: typed values stored into the item and the record XML on
// disk, out-of-range values refused before any prompt or stamp, and Tab
// moving round the cells.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "dialogs/DlgDoctor.h"
#include "dialogs/DlgEditor.h"
#include "dialogs/DlgEnlargedWave.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "tests/dialogs/RecordXmlChanges.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/support/ModalScript.h"
#include "tests/tools/XmlTestUtil.h"

using platform::ui::Desktop;

namespace {

constexpr auto kDoctors = static_cast<_EDITABLE_PARAM_INDEX>(9);
constexpr auto kEditors = static_cast<_EDITABLE_PARAM_INDEX>(10);
const wchar_t kMm[] = L"/Rawdata/Tavrion/Measurement/Measurement_section/Mm/";
const int kLeadII = 1;
const UINT kPAmp = 5600;
const UINT kPPrimeAmp = 5601;
const UINT kSV1 = 5632;

// Every attribute and text of an XML file by its element path, each step
// with its position among its like-named siblings.
void CollectLeaves(xmlNodePtr node, const std::string& path, std::map<std::string, std::string>& out)
{
    std::map<std::string, int> seen;
    for (xmlNodePtr child = node->children; child; child = child->next) {
        if (child->type == XML_TEXT_NODE && child->content) out[path + "/text()"] += reinterpret_cast<const char*>(child->content);
        if (child->type != XML_ELEMENT_NODE) continue;
        const std::string name = reinterpret_cast<const char*>(child->name);
        const std::string step = path + "/" + name + "[" + std::to_string(++seen[name]) + "]";
        for (xmlAttrPtr attr = child->properties; attr; attr = attr->next) {
            xmlChar* value = xmlNodeListGetString(child->doc, attr->children, 1);
            out[step + "/@" + reinterpret_cast<const char*>(attr->name)] = value ? reinterpret_cast<const char*>(value) : "";
            xmlFree(value);
        }
        CollectLeaves(child, step, out);
    }
}

std::map<std::string, std::string> XmlLeaves(const std::string& file)
{
    std::map<std::string, std::string> leaves;
    xmltest::Doc doc(file);
    if (doc.ok()) CollectLeaves(reinterpret_cast<xmlNodePtr>(doc.get()), "", leaves);
    return leaves;
}

// The paths whose values differ, or that only one of the two has.
std::vector<std::string> ChangedPaths(const std::map<std::string, std::string>& before,
                                      const std::map<std::string, std::string>& after)
{
    std::vector<std::string> changed;
    for (const auto& [path, value] : after) {
        auto found = before.find(path);
        if (found == before.end() || found->second != value) changed.push_back(path);
    }
    for (const auto& [path, value] : before)
        if (!after.count(path)) changed.push_back(path);
    return changed;
}

class DlgEnlargedWaveTableTest : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        m_doc.m_bAutoDelete = FALSE;
        m_doc.InsertEditableParam(kEditors, L"編集者一");
        m_doc.InsertEditableParam(kDoctors, L"判読医");
        OpenShape("table", morvelance::RestRecordShape());
    }
    // Opens a record of `shape` as the current item (its files named `name`).
    void OpenShape(const std::string& name, const morvelance::RestRecordShape& shape)
    {
        m_item = AddRecord(name, shape);
        ASSERT_EQ(0, Open(m_item));
    }
    void TearDown() override
    {
        Desktop::Reset();
        resttest::RestDocFixture::TearDown();
    }
    INT_PTR Run(int position, const std::function<void(CDlgEnlargedWave&)>& step, int mode = 0)
    {
        CDlgEnlargedWave dialog(1, mode, nullptr);
        dialog.SetDoc(&m_doc, DOC_TYPE_REST);
        dialog.SetDotsPerMM(2.0, 2.0);
        dialog.SetClickInfo(position, 0, 0, 0);
        dialog.SetLimbLead(1);
        m_script.On(CDlgEnlargedWave::IDD, [&](CDialog&) { step(dialog); });
        return dialog.DoModal();
    }
    void AnswerEditor()
    {
        m_script.On(CDlgEditor::IDD, [](CDialog& dialog) {
            testsupport::ChooseListEntry(dialog, 3485, 1);
            testsupport::ClickControl(dialog, IDOK);
        });
    }
    CString XmlLeadValue(const wchar_t* key, int lead) const
    {
        CString path;
        path.Format(L"%s%s/%s_element[%d]", kMm, key, key, lead + 1);
        return testsupport::ReadXmlValue(m_files.xml, path, L"data", L"<none>");
    }
    static bool HasFocus(CDlgEnlargedWave& dialog, UINT id) { return CWnd::GetFocus() == dialog.GetDlgItem(id); }

    testsupport::ModalScript m_script;
    _RESTDATAITEM* m_item = nullptr;
};

}  // namespace

TEST_F(DlgEnlargedWaveTableTest, ATypedValueIsStoredInTheItemAndTheRecordXmlOnDisk)
{
    AnswerEditor();
    const INT_PTR result = Run(kLeadII, [](CDlgEnlargedWave& dialog) {
        testsupport::TypeInto(dialog, kPAmp, L"42");
        testsupport::ClickControl(dialog, IDOK);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(CString(L"42"), m_item->stMeasure.At(0, kLeadII));
    EXPECT_EQ(CString(L"42"), XmlLeadValue(L"Pa", kLeadII));
    // A value that does not change keeps its text in the other leads.
    EXPECT_NE(CString(L"42"), XmlLeadValue(L"Pa", 0));
}

TEST_F(DlgEnlargedWaveTableTest, AnOutOfRangeValueIsRefusedBeforeAnyPromptOrStamp)
{
    const CString stampBefore = m_item->stMeasure.At(1, kLeadII);
    platform::ui::MessageBoxRecorder boxes;
    bool stayed = false;
    Run(kLeadII, [&](CDlgEnlargedWave& dialog) {
        // P' may only be zero or below.
        dialog.GetDlgItem(kPPrimeAmp)->SetWindowText(L"3");
        testsupport::ClickControl(dialog, IDOK);
        stayed = dialog.GetSafeHwnd() && dialog.IsWindowVisible();
        EXPECT_TRUE(HasFocus(dialog, kPPrimeAmp));
    });
    EXPECT_TRUE(stayed);
    ASSERT_EQ(1, boxes.Count());
    EXPECT_EQ(CString(L"The value of P'amp. should be between -9999 and 0 !!!"), boxes.Last().text);
    EXPECT_EQ(CString(L"無効値です"), boxes.Last().caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONQUESTION), boxes.Last().type & MB_ICONMASK);
    // No name was asked for, nothing was stored.
    for (UINT seen : m_script.Seen()) EXPECT_NE(static_cast<UINT>(CDlgEditor::IDD), seen);
    EXPECT_EQ(stampBefore, m_item->stMeasure.At(1, kLeadII));
}

TEST_F(DlgEnlargedWaveTableTest, TabAndShiftTabWrapRoundTheCells)
{
    Run(kLeadII, [](CDlgEnlargedWave& dialog) {
        dialog.GetDlgItem(kSV1)->SetFocus();
        Desktop::KeyPress(VK_TAB);
        Desktop::PumpMessages();
        EXPECT_TRUE(HasFocus(dialog, kPAmp));
        Desktop::KeyPress(VK_TAB, platform::ui::kShift);
        Desktop::PumpMessages();
        EXPECT_TRUE(HasFocus(dialog, kSV1)) << (CWnd::GetFocus() ? CWnd::GetFocus()->GetDlgCtrlID() : -1);
    });
}

TEST_F(DlgEnlargedWaveTableTest, TheHeartRateAndTheExtraLeadsOfA15LeadRecordAreShownOnly)
{
    Run(13, [](CDlgEnlargedWave& dialog) {
        CEnlargedMeasureTable& table = dialog.GetMeasureTable();
        EXPECT_FALSE(table.Cell(5623).IsInputEnabled());
        EXPECT_FALSE(table.Cell(kPAmp).IsInputEnabled());
        EXPECT_EQ(CString(L"****"), testsupport::ControlText(dialog, kPAmp));
        EXPECT_EQ(CString(L"*"), testsupport::ControlText(dialog, 5621));
    });
}

// A display-only cell is a flat reading on the dialog's face; a cell that
// takes input keeps the sunken edit look.
TEST_F(DlgEnlargedWaveTableTest, AShownOnlyCellPaintsFlatAndAnEditableCellKeepsItsEdge)
{
    Run(kLeadII, [](CDlgEnlargedWave& dialog) {
        CWnd* rate = dialog.GetDlgItem(5623);
        CWnd* pAmp = dialog.GetDlgItem(kPAmp);
        rate->Invalidate();
        pAmp->Invalidate();
        rate->UpdateWindow();
        pAmp->UpdateWindow();
        EXPECT_EQ(rate->GetExStyle() & WS_EX_CLIENTEDGE, 0u);
        EXPECT_NE(pAmp->GetExStyle() & WS_EX_CLIENTEDGE, 0u);
        CRect client;
        rate->GetClientRect(&client);
        CClientDC dc(rate);
        EXPECT_EQ(dc.GetPixel(1, client.Height() / 2), ::GetSysColor(COLOR_BTNFACE));
    });
}

TEST_F(DlgEnlargedWaveTableTest, LeavingAnEmptyCellFillsItAndANonNumberBeepsAndKeepsTheFocus)
{
    Run(kLeadII, [](CDlgEnlargedWave& dialog) {
        const UINT kQAmp = 5604, kTup = 5621;
        dialog.GetDlgItem(kQAmp)->SetWindowText(L"");
        dialog.GetDlgItem(kTup)->SetWindowText(L"");
        dialog.GetDlgItem(kQAmp)->SetFocus();
        dialog.GetDlgItem(kTup)->SetFocus();
        dialog.GetDlgItem(kPAmp)->SetFocus();
        Desktop::PumpMessages();
        EXPECT_EQ(CString(L"0"), testsupport::ControlText(dialog, kQAmp));
        EXPECT_EQ(CString(L"Y"), testsupport::ControlText(dialog, kTup));

        // A text that is no number (the cell's keystroke check never lets
        // one be typed; a text set from outside can be): the cell keeps the
        // focus, with a beep.
        dialog.GetDlgItem(kQAmp)->SetFocus();
        dialog.GetDlgItem(kQAmp)->SetWindowText(L"1-2");
        const int beeps = Desktop::BeepCount();
        dialog.GetDlgItem(kPAmp)->SetFocus();
        Desktop::PumpMessages();
        EXPECT_GT(Desktop::BeepCount(), beeps);
        EXPECT_TRUE(HasFocus(dialog, kQAmp));
        dialog.GetDlgItem(kQAmp)->SetWindowText(L"0");
    });
}

TEST_F(DlgEnlargedWaveTableTest, CancellingTheNamePromptStoresNothingAndKeepsTheDialogOpen)
{
    const CString before = m_item->stMeasure.At(0, kLeadII);
    m_script.On(CDlgEditor::IDD, [](CDialog& dialog) { testsupport::ClickControl(dialog, IDCANCEL); });
    bool stayed = false;
    Run(kLeadII, [&](CDlgEnlargedWave& dialog) {
        testsupport::TypeInto(dialog, kPAmp, L"42");
        testsupport::ClickControl(dialog, IDOK);
        stayed = dialog.GetSafeHwnd() && dialog.IsWindowVisible();
    });
    EXPECT_TRUE(stayed);
    EXPECT_EQ(before, m_item->stMeasure.At(0, kLeadII));
    EXPECT_EQ(before, XmlLeadValue(L"Pa", kLeadII));
}

TEST_F(DlgEnlargedWaveTableTest, AReadOnlyDocumentShowsTheTableWithoutUpdateAndStoresNothing)
{
    m_doc.SetReadOnly(1);
    const CString before = m_item->stMeasure.At(0, kLeadII);
    const INT_PTR result = Run(kLeadII, [](CDlgEnlargedWave& dialog) {
        EXPECT_FALSE(dialog.GetDlgItem(IDOK)->IsWindowVisible());
        for (UINT id = 5600; id <= 5632; ++id) EXPECT_FALSE(dialog.GetMeasureTable().Cell(id).IsInputEnabled()) << id;
        EXPECT_FALSE(testsupport::ControlText(dialog, kPAmp).IsEmpty());
        dialog.SendMessage(WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_TRUE(m_script.Seen().size() == 1u);
    EXPECT_EQ(before, XmlLeadValue(L"Pa", kLeadII));
}

TEST_F(DlgEnlargedWaveTableTest, AStoreChangesOnlyThatLeadsMeasurementsAndTheStampsOnDisk)
{
    const auto before = XmlLeaves(m_files.xml);
    ASSERT_FALSE(before.empty());
    AnswerEditor();
    Run(kLeadII, [](CDlgEnlargedWave& dialog) {
        testsupport::TypeInto(dialog, kPAmp, L"42");
        testsupport::TypeInto(dialog, 5619, L"-7");   // T amp.
        testsupport::ClickControl(dialog, IDOK);
    });
    int measurements = 0, elsewhere = 0;
    for (const std::string& path : ChangedPaths(before, XmlLeaves(m_files.xml))) {
        if (path.find("/Measurement[") == std::string::npos) {
            ++elsewhere;   // the edit stamps and the confirmation state
            continue;
        }
        ++measurements;
        EXPECT_NE(std::string::npos, path.find("/Mm[1]/")) << path;
        EXPECT_NE(std::string::npos, path.find("_element[2]")) << path;   // lead II only
    }
    EXPECT_EQ(2, measurements);
    EXPECT_GT(elsewhere, 0);
}

TEST_F(DlgEnlargedWaveTableTest, AModel8000RecordIsConfirmedByTheDoctorWhenStored)
{
    morvelance::RestRecordShape shape;
    shape.olderReader = true;
    OpenShape("model8000", shape);
    m_script.On(CDlgDoctor::IDD, [](CDialog& dialog) { testsupport::ClickControl(dialog, IDOK); });
    const INT_PTR result = Run(kLeadII, [](CDlgEnlargedWave& dialog) {
        testsupport::TypeInto(dialog, kPAmp, L"55");
        testsupport::ClickControl(dialog, IDOK);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(std::vector<UINT>({CDlgEnlargedWave::IDD, CDlgDoctor::IDD}), m_script.Seen());
    EXPECT_EQ(1, m_item->stPatient.bConfirmed);
    EXPECT_EQ(0, m_item->stPatient.bEditedAfterConfirm);
    EXPECT_EQ(CString(L"55"), XmlLeadValue(L"Pa", kLeadII));
}

TEST_F(DlgEnlargedWaveTableTest, ACabreraRecordShowsItsLimbLeadsInCabreraOrderAndMinusAVROnly)
{
    morvelance::RestRecordShape shape;
    shape.systemCode = 8;
    OpenShape("cabrera", shape);
    const int kAVL = 4;
    const CString aVLPAmp = m_item->stMeasure.At(0, kAVL);
    Run(0, [&](CDlgEnlargedWave& dialog) {
        EXPECT_EQ(aVLPAmp, testsupport::ControlText(dialog, kPAmp));
    });
    Run(2, [](CDlgEnlargedWave& dialog) {
        for (UINT id = 5600; id <= 5622; ++id) EXPECT_FALSE(dialog.GetMeasureTable().Cell(id).IsInputEnabled()) << id;
        // The record-wide values stay editable there.
        EXPECT_TRUE(dialog.GetMeasureTable().Cell(5624).IsInputEnabled());
    });
}

TEST_F(DlgEnlargedWaveTableTest, TheSerialAverageShowsTheValuesWithoutUpdate)
{
    const INT_PTR result = Run(
        kLeadII,
        [](CDlgEnlargedWave& dialog) {
            EXPECT_FALSE(dialog.GetDlgItem(IDOK)->IsWindowVisible());
            EXPECT_FALSE(dialog.GetMeasureTable().Cell(kPAmp).IsInputEnabled());
            EXPECT_FALSE(dialog.GetMeasureTable().Cell(kSV1).IsInputEnabled());
            EXPECT_FALSE(testsupport::ControlText(dialog, kSV1).IsEmpty());
            dialog.SendMessage(WM_COMMAND, IDOK, 0);
        },
        1);
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(std::vector<UINT>({CDlgEnlargedWave::IDD}), m_script.Seen());
}

TEST_F(DlgEnlargedWaveTableTest, UpdateIsEnabledOnlyForAUserWhoMaySave)
{
    m_doc.SetDoctorAndEditorStatus(1, 0);
    Run(kLeadII, [](CDlgEnlargedWave& dialog) {
        EXPECT_TRUE(dialog.GetDlgItem(IDOK)->IsWindowVisible());
        EXPECT_FALSE(dialog.GetDlgItem(IDOK)->IsWindowEnabled());
    });
    m_doc.SetDoctorAndEditorStatus(0, 1);
    Run(kLeadII, [](CDlgEnlargedWave& dialog) { EXPECT_TRUE(dialog.GetDlgItem(IDOK)->IsWindowEnabled()); });
}

TEST_F(DlgEnlargedWaveTableTest, ARecordXmlThatCannotBeWrittenIsReportedAndTheDialogStays)
{
    // A folder where the record XML should be: nothing can be written there.
    m_item->strXMLPath = CString(m_dir.Path().c_str());
    AnswerEditor();
    platform::ui::MessageBoxRecorder boxes;
    bool stayed = false;
    Run(kLeadII, [&](CDlgEnlargedWave& dialog) {
        testsupport::TypeInto(dialog, kPAmp, L"42");
        testsupport::ClickControl(dialog, IDOK);
        stayed = dialog.GetSafeHwnd() && dialog.IsWindowVisible();
    });
    EXPECT_TRUE(stayed);
    ASSERT_EQ(1, boxes.Count());
    // The message names the file it could not write and why (it used to say
    // only that a write failed, leaving the user to guess which and why).
    EXPECT_EQ(L"ファイル書き込みエラーです。\r\n" + m_item->strXMLPath + L"\r\n同じ名前のフォルダーがあります。",
              boxes.Last().text);
}

// Lead II's Q, R and S amplitudes stored as "abc", "12.5" and "+015", its
// TUP empty and its delta wave "y" (which the answer cell shows as "Y"),
// V6's V.A.T. missing and the PR interval "0156": with P amp. typed and OK
// pressed, each stays as stored, and Tab through the cells beside them
// neither fills nor refuses them. Only P amp. and the stamps change.
TEST_F(DlgEnlargedWaveTableTest, ValuesStoredInOtherFormsStayAsStoredBesideATypedOne)
{
    m_item = AddRecord("forms", morvelance::RestRecordShape());
    const CString lead = L"_element[2]";
    const struct {
        const wchar_t* key;
        const wchar_t* data;
    } kStored[] = {{L"Qa", L"abc"}, {L"Ra", L"12.5"}, {L"Sa", L"+015"}, {L"Tup", L""}, {L"Delta_wave", L"y"}};
    for (const auto& stored : kStored)
        SetXmlText(CString(kMm) + stored.key + L"/" + stored.key + lead, stored.data, L"data");
    SetXmlText(L"/Rawdata/Tavrion/Measurement/Measurement_section/Pr_int", L"0156");
    RemoveXmlNode(CString(kMm) + L"Vat/Vat_element[12]");
    ASSERT_EQ(0, Open(m_item));
    const std::string before = testsupport::ReadFileBytes(m_files.xml);
    AnswerEditor();
    platform::ui::MessageBoxRecorder boxes;
    const int beeps = Desktop::BeepCount();
    const INT_PTR result = Run(kLeadII, [](CDlgEnlargedWave& dialog) {
        dialog.GetDlgItem(5619)->SetFocus();   // T amp.: Tab on through T', TUP and the delta wave
        for (int i = 0; i < 4; ++i) Desktop::KeyPress(VK_TAB);
        dialog.GetDlgItem(5603)->SetFocus();   // Q dur.: Tab on over Q amp. "abc"
        Desktop::KeyPress(VK_TAB);
        Desktop::KeyPress(VK_TAB);
        Desktop::PumpMessages();
        EXPECT_EQ(CString(L"abc"), testsupport::ControlText(dialog, 5604));
        EXPECT_EQ(CString(L""), testsupport::ControlText(dialog, 5621));
        testsupport::TypeInto(dialog, kPAmp, L"42");
        testsupport::ClickControl(dialog, IDOK);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(0, boxes.Count());
    EXPECT_EQ(beeps, Desktop::BeepCount());
    EXPECT_EQ(CString(L"42"), XmlLeadValue(L"Pa", kLeadII));
    const std::vector<std::string> typed = {
        "/Rawdata[1]/Tavrion[1]/Measurement[1]/Measurement_section[1]/Mm[1]/Pa[1]/Pa_element[2]/@data"};
    EXPECT_TRUE(xmlchanges::OnlyMeasurementsTyped(before, testsupport::ReadFileBytes(m_files.xml), typed));
}
