#include <gtest/gtest.h>

#include "analysisviews/ViewDetailedMeas.h"
#include "dialogs/DlgDoctor.h"
#include "dialogs/DlgEditor.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "tests/analysisviews/MeasViewTestSupport.h"
#include "tests/dialogs/RecordXmlChanges.h"
#include "tests/support/ModalScript.h"
#include "printdevice/ECGDC.h"
#include "tests/support/XmlSaveFault.h"

namespace {

using platform::ui::Desktop;
using RecordKind = morvelance::rec::RecordKind;

constexpr auto kDoctors = static_cast<_EDITABLE_PARAM_INDEX>(9);
constexpr auto kEditors = static_cast<_EDITABLE_PARAM_INDEX>(10);
const wchar_t kMm[] = L"/Rawdata/Tavrion/Measurement/Measurement_section/Mm/";
const wchar_t* const kElements[23] = {L"Pa",  L"Ppa", L"Eqd", L"Qd",  L"Qa",  L"Rd",  L"Ra",  L"Sd",
                                      L"Sa",  L"Rpd", L"Rpa", L"Spd", L"Spa", L"Vat", L"Qrsa", L"Stj",
                                      L"Stm", L"Ste", L"Mta", L"Ta",  L"Tpa", L"Tup", L"Delta_wave"};
const int kRa = 6;
const int kYesNo = 21;

class DetailedMeas : public measviewtest::MeasViewFixture<CViewDetailedMeas> {
protected:
    CViewDetailedMeas* Show(const morvelance::RestRecordShape& shape)
    {
        m_item = OpenShape(shape);
        m_doc.InsertEditableParam(kEditors, L"編集者一");
        m_doc.InsertEditableParam(kEditors, L"編集者二");
        m_doc.InsertEditableParam(kDoctors, L"判読医");
        return ShowView();
    }
    CViewDetailedMeas* ShowRest(bool missing = false)
    {
        morvelance::RestRecordShape shape = resttest::Shape(RecordKind::Rest12);
        shape.xml.missingMeasures = missing;
        return Show(shape);
    }

    CString CellText(int row, int lead)
    {
        CString text;
        m_view->GetCell(row, lead)->GetWindowText(text);
        return text;
    }
    // The stored text of a cell in the record XML on disk.
    CString XmlCell(int row, int lead)
    {
        CString path;
        path.Format(L"%s%s/%s_element[%d]", kMm, kElements[row], kElements[row], lead + 1);
        return XmlText(path, L"data");
    }
    std::vector<CString> XmlSection()
    {
        std::vector<CString> all;
        for (int row = 0; row < 23; ++row)
            for (int lead = 0; lead < 12; ++lead) all.push_back(XmlCell(row, lead));
        return all;
    }
    // The user clicks a cell, selects its text and types over it.
    void TypeOver(int row, int lead, LPCWSTR text) { measviewtest::TypeOverCell(*m_view->GetCell(row, lead), text); }
    void Key(UINT vk, UINT modifiers = platform::ui::kNoModifiers)
    {
        Desktop::KeyPress(vk, modifiers);
        Desktop::PumpMessages();
    }
    bool HasFocus(int row, int lead) { return CWnd::GetFocus() == m_view->GetCell(row, lead); }
    void AnswerEditor(testsupport::ModalScript& script)
    {
        script.On(CDlgEditor::IDD, [](CDialog& dialog) {
            testsupport::ChooseListEntry(dialog, 3485, 1);
            testsupport::ClickControl(dialog, IDOK);
        });
    }

    _RESTDATAITEM* m_item = nullptr;
};

// ---- loading ----------------------------------------------------------------------

TEST_F(DetailedMeas, EveryCellShowsItsStoredTextUnderItsOwnId)
{
    ASSERT_NE(ShowRest(), nullptr);
    for (int row = 0; row < 23; ++row)
        for (int lead = 0; lead < 12; ++lead) {
            ASSERT_EQ(m_view->GetDlgItem(CViewDetailedMeas::CellId(row, lead)), m_view->GetCell(row, lead));
            EXPECT_EQ(CellText(row, lead), m_item->stMeasure.At(row, lead)) << row << "," << lead;
        }
    EXPECT_EQ(CellText(kRa, 1), L"1100");
    EXPECT_TRUE(m_view->IsNeedSaveValue());
    EXPECT_FALSE(m_view->IsEditChange());
}

TEST_F(DetailedMeas, CellsSitInTheLaidOutGridAndInsideTheClient)
{
    ASSERT_NE(ShowRest(), nullptr);
    const CViewDetailedMeas::Layout l = m_view->GetLayout();
    CRect first, next, below;
    m_view->GetCell(0, 0)->GetWindowRect(&first);
    m_view->GetCell(0, 1)->GetWindowRect(&next);
    m_view->GetCell(1, 0)->GetWindowRect(&below);
    EXPECT_EQ(next.left - first.left, l.colW);
    EXPECT_EQ(below.top - first.top, l.rowH);
    EXPECT_EQ(first.Width(), l.cellWidth);
    CRect last, client;
    m_view->GetCell(22, 11)->GetWindowRect(&last);
    m_view->ScreenToClient(&last);
    m_view->GetClientRect(&client);
    EXPECT_LE(last.right, client.right);
    EXPECT_LE(last.bottom, client.bottom);
}

// Each of the 23 rows at its own pixels, worked out from the client size
// and the document's screen scale: its cells, its label and its band (every
// other row), the rows 15 scaled units apart from 7/80 of the height down.
TEST_F(DetailedMeas, EveryRowStandsAtItsPixelPlaceInCellsLabelAndBand)
{
    ASSERT_NE(ShowRest(), nullptr);
    CRect client;
    m_view->GetClientRect(&client);
    const double ux = m_doc.GetXScale();
    const double uy = m_doc.GetYScale();
    const int width = client.Width() - static_cast<int>(2 * ux);
    const int height = client.Height() - static_cast<int>(2 * uy);
    const int rowH = static_cast<int>(15 * uy);
    const int firstTop = MulDiv(height, 7, 80);
    const int colW = MulDiv(width, 23, 40) / 12;
    const int firstLeft = MulDiv(width, 17, 40) - static_cast<int>(5 * ux);
    const CSize cell(static_cast<int>(36 * ux), static_cast<int>(13 * uy));
    ASSERT_GE(rowH, 12);
    for (int row = 0; row < 23; ++row)
        for (int lead : {0, 5, 11}) {
            CRect placed;
            m_view->GetCell(row, lead)->GetWindowRect(&placed);
            m_view->ScreenToClient(&placed);
            EXPECT_EQ(placed, CRect(CPoint(firstLeft + lead * colW, firstTop + row * rowH), cell)) << row << "," << lead;
        }

    CDC dc;
    DrawInto(dc);
    const int labelLeft = MulDiv(width, 10, 40);
    // Between the unit column's right edge and the first cell: only the band.
    const int bandX = (MulDiv(width, 16, 40) + firstLeft) / 2;
    for (int row = 0; row < 23; ++row) {
        const int top = firstTop + row * rowH;
        SCOPED_TRACE(row);
        const bool banded = dc.GetPixel(bandX, top - 1 + rowH / 2) == RGB(220, 255, 220);
        EXPECT_EQ(banded, row % 2 == 0);
        EXPECT_GT(measviewtest::InkIn(dc, CRect(labelLeft, top, labelLeft + 3 * colW / 2, top + rowH - 1)), 0);
    }
    // Nothing of the labels stands above the first row's place.
    EXPECT_EQ(measviewtest::InkIn(dc, CRect(labelLeft, firstTop - rowH / 2, labelLeft + 3 * colW / 2, firstTop - 1)), 0);
}

TEST_F(DetailedMeas, MissingValuesHideTheirCellsAndDrawTheirPlaceholders)
{
    ASSERT_NE(ShowRest(true), nullptr);
    const int rpd = 9;
    for (int lead = 0; lead < 12; ++lead) EXPECT_FALSE(m_view->GetCell(rpd, lead)->IsWindowVisible());
    EXPECT_FALSE(m_view->GetCell(kRa, 5)->IsWindowVisible());
    EXPECT_TRUE(m_view->GetCell(kRa, 4)->IsWindowVisible());
    EXPECT_FALSE(m_view->GetCell(kYesNo, 3)->IsWindowVisible());
    EXPECT_TRUE(m_view->IsRowMissing(rpd));
    EXPECT_TRUE(m_view->IsRowMissing(kRa));
    EXPECT_FALSE(m_view->IsRowMissing(7));

    CDC dc;
    DrawInto(dc);
    const CViewDetailedMeas::Layout l = m_view->GetLayout();
    auto placeholder = [&](int row, int lead) {
        const int x = MulDiv(l.width, 18, 40) + lead * l.colW;
        const int y = l.firstRowTop + row * l.rowH;
        return CRect(x - l.colW / 3, y, x + l.colW / 3, y + l.rowH - 1);
    };
    EXPECT_GT(measviewtest::InkIn(dc, placeholder(rpd, 0)), 0);
    EXPECT_GT(measviewtest::GreyIn(dc, placeholder(rpd, 11)), 0);
    EXPECT_GT(measviewtest::InkIn(dc, placeholder(kRa, 5)), 0);
    EXPECT_EQ(measviewtest::InkIn(dc, placeholder(7, 5)), 0);
}

TEST_F(DetailedMeas, AReadOnlyDocumentFillsEveryCellAndLetsNoneBeEdited)
{
    m_doc.SetReadOnly(1);
    ASSERT_NE(ShowRest(), nullptr);
    for (int row = 0; row < 23; ++row)
        for (int lead = 0; lead < 12; ++lead) {
            EXPECT_TRUE(m_view->GetCell(row, lead)->IsWindowVisible());
            EXPECT_FALSE(m_view->GetCell(row, lead)->IsInputEnabled());
        }
    TypeOver(kRa, 0, L"5");
    EXPECT_EQ(CellText(kRa, 0), L"700");
}

TEST_F(DetailedMeas, RecordWideValuesAreDrawnWithTheirSum)
{
    ASSERT_NE(ShowRest(), nullptr);
    m_item->stMeasure.strGlobal[8] = L"1.234";
    m_item->stMeasure.strGlobal[9] = L"0.5";
    CDC dc;
    DrawInto(dc);
    const CViewDetailedMeas::Layout l = m_view->GetLayout();
    // The sum's row, right-aligned at three columns: "1.734" leaves ink left of it.
    const CRect sum(3 * l.colW - l.colW, l.firstRowTop + 10 * l.rowH, 3 * l.colW, l.firstRowTop + 11 * l.rowH - 1);
    EXPECT_GT(measviewtest::InkIn(dc, sum), 0);
    m_item->stMeasure.strGlobal[9] = L"*.***";
    CDC missing;
    DrawInto(missing);
    EXPECT_GT(measviewtest::GreyIn(missing, sum), 0);
}

// ---- printing ------------------------------------------------------------------------

TEST_F(DetailedMeas, PrintReadsTheRecordXmlAndLeavesZerosAndNoFindingsBlank)
{
    ASSERT_NE(ShowRest(true), nullptr);
    // The cells are not what prints: the record XML is.
    m_view->GetCell(0, 0)->SetWindowText(L"0");
    measviewtest::Paper paper(2400, 1400);
    CECGDC dc(&paper.Dc(), 2);
    ASSERT_TRUE(m_view->Print(&dc, paper.Rect()));
    const int cw = 2400 / 20;
    const int rh = 1400 / 28;
    auto value = [&](int row, int lead) {
        const int x = 8 * cw + cw / 6 + lead * cw;
        const int y = (4 + row) * rh;
        return CRect(x - cw / 2, y, x, y + measviewtest::Paper::kFont);
    };
    CDC& dc2 = paper.Dc();
    EXPECT_GT(measviewtest::InkIn(dc2, value(0, 0)), 0);   // P amplitude 80
    // P' amplitude 0 but in aVR, whose inverted P (-90) prints; its P amplitude is 0.
    for (int lead = 0; lead < 12; ++lead) {
        if (lead != 3) {
            EXPECT_EQ(measviewtest::InkIn(dc2, value(1, lead)), 0) << lead;
        }
    }
    EXPECT_GT(measviewtest::InkIn(dc2, value(1, 3)), 0);
    EXPECT_EQ(measviewtest::InkIn(dc2, value(0, 3)), 0);
    EXPECT_EQ(measviewtest::InkIn(dc2, value(22, 0)), 0);       // delta wave N
    EXPECT_GT(measviewtest::GreyIn(dc2, value(9, 4)), 0);       // R' duration not measured
    EXPECT_GT(measviewtest::GreyIn(dc2, value(kYesNo, 3)), 0);  // TUP of aVR "*"
}

TEST_F(DetailedMeas, NothingPrintsForAnotherKindOrWithoutARecordXml)
{
    ASSERT_NE(ShowRest(), nullptr);
    measviewtest::Paper paper;
    CECGDC dc(&paper.Dc(), 2);
    m_view->SetDocType(DOC_TYPE_MFER);
    EXPECT_FALSE(m_view->Print(&dc, paper.Rect()));
    m_view->SetDocType(DOC_TYPE_REST);
    m_item->strXMLPath.Empty();
    EXPECT_FALSE(m_view->Print(&dc, paper.Rect()));
    EXPECT_EQ(measviewtest::InkIn(paper.Dc(), paper.Rect()), 0);
}

// ---- checking -------------------------------------------------------------------------

TEST_F(DetailedMeas, ValuesAreCheckedAgainstTheirRowsRanges)
{
    const CString row0 = CViewDetailedMeas::CheckCellText(0, L"10000");
    EXPECT_NE(row0.Find(L"0から9999"), -1);
    EXPECT_FALSE(CViewDetailedMeas::CheckCellText(0, L"-1").IsEmpty());
    EXPECT_TRUE(CViewDetailedMeas::CheckCellText(0, L"+9999").IsEmpty());
    EXPECT_NE(CViewDetailedMeas::CheckCellText(1, L"5").Find(L"-9999から0"), -1);
    EXPECT_TRUE(CViewDetailedMeas::CheckCellText(1, L"-12").IsEmpty());
    EXPECT_TRUE(CViewDetailedMeas::CheckCellText(1, L"0").IsEmpty());
    EXPECT_TRUE(CViewDetailedMeas::CheckCellText(5, L"+300").IsEmpty());
    EXPECT_NE(CViewDetailedMeas::CheckCellText(5, L"-10000").Find(L"-9999から9999"), -1);
    EXPECT_FALSE(CViewDetailedMeas::CheckCellText(5, L"12a").IsEmpty());
    EXPECT_TRUE(CViewDetailedMeas::CheckCellText(5, L" 12.7 ").IsEmpty());
    EXPECT_TRUE(CViewDetailedMeas::CheckCellText(5, L"****").IsEmpty());
    EXPECT_TRUE(CViewDetailedMeas::CheckCellText(21, L"Y").IsEmpty());
    EXPECT_EQ(CViewDetailedMeas::CheckCellText(21, L"YES"), L"The value should be BOOL type !!!");
    EXPECT_FALSE(CViewDetailedMeas::CheckCellText(22, L"y").IsEmpty());
}

// ---- typed input -------------------------------------------------------------------------

TEST_F(DetailedMeas, TabAndShiftTabWalkTheCellsAndWrapAtBothEnds)
{
    ASSERT_NE(ShowRest(), nullptr);
    m_view->GetCell(0, 0)->SetFocus();
    Desktop::PumpMessages();
    Key(VK_TAB);
    EXPECT_TRUE(HasFocus(0, 1));
    Key(VK_RETURN);
    EXPECT_TRUE(HasFocus(0, 2));
    Key(VK_TAB, platform::ui::kShift);
    EXPECT_TRUE(HasFocus(0, 1));
    m_view->GetCell(22, 11)->SetFocus();
    Desktop::PumpMessages();
    Key(VK_TAB);
    EXPECT_TRUE(HasFocus(0, 0));
    Key(VK_TAB, platform::ui::kShift);
    EXPECT_TRUE(HasFocus(22, 11));
}

TEST_F(DetailedMeas, AnEmptiedCellIsRefilledWhenLeft)
{
    ASSERT_NE(ShowRest(), nullptr);
    TypeOver(kRa, 0, L"");
    Key(VK_TAB);
    EXPECT_EQ(CellText(kRa, 0), L"0");
    EXPECT_TRUE(HasFocus(kRa, 1));
}

TEST_F(DetailedMeas, AnInvalidCellHoldsTheFocusAndTheBoxSaysWhy)
{
    ASSERT_NE(ShowRest(), nullptr);
    platform::ui::MessageBoxRecorder boxes;
    TypeOver(kYesNo, 0, L"");
    Key(VK_TAB);
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().text, L"The value should be BOOL type !!!");
    EXPECT_EQ(boxes.Last().caption, L"無効値");
    EXPECT_EQ(boxes.Last().type, static_cast<UINT>(MB_ICONQUESTION));
    EXPECT_TRUE(HasFocus(kYesNo, 0));
    EXPECT_FALSE(m_view->IsDataValid());

    // A click elsewhere brings the focus back with the box again.
    CRect other;
    m_view->GetCell(kRa, 3)->GetWindowRect(&other);
    Desktop::Click(other.CenterPoint());
    Desktop::PumpMessages();
    EXPECT_TRUE(HasFocus(kYesNo, 0));
    EXPECT_EQ(boxes.Count(), 2);

    // A yes/no letter mends it and Tab moves on.
    m_view->GetCell(kYesNo, 0)->SetSel(0, -1);
    Desktop::TypeText(L"y");
    Key(VK_TAB);
    EXPECT_EQ(CellText(kYesNo, 0), L"Y");
    EXPECT_TRUE(HasFocus(kYesNo, 1));
    EXPECT_EQ(boxes.Count(), 2);
    EXPECT_TRUE(m_view->IsDataValid());
}

TEST_F(DetailedMeas, DiscardingRestoresTheStoredTexts)
{
    ASSERT_NE(ShowRest(), nullptr);
    TypeOver(kRa, 2, L"999");
    EXPECT_TRUE(m_view->IsEditChange());
    EXPECT_TRUE(m_view->RestoreData());
    EXPECT_EQ(CellText(kRa, 2), L"450");
    EXPECT_FALSE(m_view->IsEditChange());
}

// ---- saving --------------------------------------------------------------------------------

TEST_F(DetailedMeas, AnEditorSaveStampsTheEditWritesTheRecordXmlAndTellsThePane)
{
    ASSERT_NE(ShowRest(), nullptr);
    m_item->stPatient.bConfirmed = 1;
    m_item->stPatient.strConfirmDate = L"2024/05/01 10:20:30";
    m_item->stPatient.strConfirmDoctor = L"A";
    TypeOver(kRa, 0, L"1234");
    TypeOver(kYesNo, 4, L"y");
    Key(VK_TAB);
    ASSERT_TRUE(m_view->IsEditChange());
    testsupport::ModalScript script;
    AnswerEditor(script);
    EXPECT_TRUE(m_view->SetData(TRUE));
    EXPECT_EQ(script.Seen(), std::vector<UINT>{CDlgEditor::IDD});
    EXPECT_EQ(XmlCell(kRa, 0), L"1234");
    EXPECT_EQ(XmlCell(kYesNo, 4), L"Y");
    EXPECT_EQ(XmlCell(kRa, 1), L"1100");
    EXPECT_EQ(m_item->stInterpre.strAnaEditor, L"編集者二");
    EXPECT_EQ(XmlText(L"/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor/Editor_name"), L"編集者二");
    EXPECT_EQ(m_item->stPatient.bEditedAfterConfirm, 1);
    EXPECT_EQ(m_item->stPatient.strConfirmation, L"判読後に編集あり(最終判読:2024/05/01 10:20 A)");
    EXPECT_EQ(m_notify.Count(WM_USER + 0x16), 1);
    EXPECT_EQ(m_owner.Count(WM_USER + 0xC), 1);
    EXPECT_FALSE(m_view->IsEditChange());
}

TEST_F(DetailedMeas, AModel8000RecordIsConfirmedByTheDoctor)
{
    ASSERT_NE(Show(resttest::Shape(RecordKind::Rest12, true)), nullptr);
    TypeOver(kRa, 3, L"150");
    testsupport::ModalScript script;
    script.On(CDlgDoctor::IDD, [](CDialog& dialog) { testsupport::ClickControl(dialog, IDOK); });
    EXPECT_TRUE(m_view->SetData(TRUE));
    EXPECT_EQ(script.Seen(), std::vector<UINT>{CDlgDoctor::IDD});
    EXPECT_EQ(m_item->stPatient.strConfirmDoctor, L"判読医");
    EXPECT_EQ(m_item->stPatient.bConfirmed, 1);
    EXPECT_EQ(m_item->stPatient.bEditedAfterConfirm, 0);
    EXPECT_EQ(XmlCell(kRa, 3), L"150");
}

TEST_F(DetailedMeas, ACancelledSaveStoresNothingSendsNothingAndIsNotAFailure)
{
    ASSERT_NE(ShowRest(), nullptr);
    const std::string before = testsupport::ReadFileBytes(m_files.xml);
    TypeOver(kRa, 0, L"1234");
    testsupport::ModalScript script;
    script.On(CDlgEditor::IDD, [](CDialog& dialog) { testsupport::ClickControl(dialog, IDCANCEL); });
    EXPECT_TRUE(m_view->SetData(TRUE));
    EXPECT_EQ(m_item->stMeasure.At(kRa, 0), L"700");
    EXPECT_EQ(testsupport::ReadFileBytes(m_files.xml), before);
    EXPECT_TRUE(m_notify.log.empty());
    EXPECT_TRUE(m_owner.log.empty());
}

TEST_F(DetailedMeas, ARecordXmlThatWasNotWrittenIsAFailureAndNothingIsSent)
{
    ASSERT_NE(ShowRest(), nullptr);
    const std::string before = testsupport::ReadFileBytes(m_files.xml);
    TypeOver(kRa, 0, L"1234");
    platform::ui::MessageBoxRecorder boxes;
    testsupport::ModalScript script;
    AnswerEditor(script);
    {
        testsupport::ScopedXmlSaveFault fault;
        EXPECT_FALSE(m_view->SetData(TRUE));
    }
    EXPECT_EQ(testsupport::ReadFileBytes(m_files.xml), before);
    EXPECT_EQ(m_notify.Count(WM_USER + 0x16), 0);
    EXPECT_EQ(m_owner.Count(WM_USER + 0xC), 0);
    EXPECT_GE(boxes.Count(), 1);
}

TEST_F(DetailedMeas, AnUnaskedSaveWritesTheTextsWithoutStampsOrMessages)
{
    ASSERT_NE(ShowRest(), nullptr);
    TypeOver(kYesNo, 6, L"");
    m_view->GetCell(kRa, 7)->SetFocus();   // leaving refills the cell with "Y"
    Desktop::PumpMessages();
    m_view->GetCell(kYesNo, 7)->SetWindowText(L"");
    EXPECT_TRUE(m_view->SetData(FALSE));
    EXPECT_EQ(XmlCell(kYesNo, 6), L"Y");
    EXPECT_EQ(XmlCell(kYesNo, 7), L"*");
    EXPECT_TRUE(m_notify.log.empty());
    EXPECT_TRUE(m_owner.log.empty());
}

// Texts the table shows in another form than it writes: lead II's Q, R and
// S amplitudes "abc", "12.5" and "+015", its TUP empty and its delta wave
// "y" (shown "Y"), V6's V.A.T. missing. Shown, they are no edit; Tab
// through them neither fills nor refuses them; a save of another cell
// leaves every one as stored, and the record XML changes only in that cell
// and the stamps.
TEST_F(DetailedMeas, TextsStoredInOtherFormsStayAsStoredThroughASaveOfAnotherCell)
{
    // The stylesheet's layouts, as the host loads them before opening: the
    // save writes the patient's fields, which the reader places by them.
    for (_LOAD_POSITION_TYPE type : {LOAD_POS_REST, LOAD_POS_RHYTHM, LOAD_POS_RR, LOAD_POS_FINAL, LOAD_POS_EXTRA,
                                     LOAD_POS_EXER})
        m_doc.GetCtrlPosFromXSL(type);
    m_item = AddRecord("meas.ecg", resttest::Shape(RecordKind::Rest12));
    const struct {
        int row;
        const wchar_t* data;
    } kStored[] = {{4, L"abc"}, {kRa, L"12.5"}, {8, L"+015"}, {kYesNo, L""}, {22, L"y"}};
    for (const auto& stored : kStored) {
        CString path;
        path.Format(L"%s%s/%s_element[2]", kMm, kElements[stored.row], kElements[stored.row]);
        SetXmlText(path, stored.data, L"data");
    }
    RemoveXmlNode(CString(kMm) + L"Vat/Vat_element[12]");
    ASSERT_EQ(Open(m_item), 0);
    m_doc.SetCtrlContent(nullptr);   // the forms' store, which the save writes whole, as the host fills it
    m_doc.InsertEditableParam(kEditors, L"編集者一");
    m_doc.InsertEditableParam(kEditors, L"編集者二");
    ASSERT_NE(ShowView(), nullptr);
    const std::string before = testsupport::ReadFileBytes(m_files.xml);
    EXPECT_FALSE(m_view->IsEditChange());
    platform::ui::MessageBoxRecorder boxes;
    for (int row : {4, kYesNo}) {
        TypeOver(row, 0, row == kYesNo ? L"N" : L"-80");
        Key(VK_TAB);   // onto lead II's stored text
        Key(VK_TAB);   // and past it
        EXPECT_TRUE(HasFocus(row, 2)) << row;
    }
    EXPECT_EQ(boxes.Count(), 0);
    EXPECT_EQ(CellText(4, 1), L"abc");
    EXPECT_EQ(CellText(kYesNo, 1), L"");
    TypeOver(kRa, 0, L"1234");
    Key(VK_TAB);
    testsupport::ModalScript script;
    AnswerEditor(script);
    ASSERT_TRUE(m_view->IsEditChange());
    EXPECT_TRUE(m_view->SetData(TRUE));
    const std::vector<std::string> typed = {
        "/Rawdata[1]/Tavrion[1]/Measurement[1]/Measurement_section[1]/Mm[1]/Ra[1]/Ra_element[1]/@data"};
    EXPECT_TRUE(xmlchanges::OnlyMeasurementsTyped(before, testsupport::ReadFileBytes(m_files.xml), typed));
    EXPECT_EQ(XmlCell(kRa, 0), L"1234");
}

TEST_F(DetailedMeas, WithoutACurrentRecordNothingIsStored)
{
    ASSERT_NE(ShowRest(), nullptr);
    m_doc.SetCurDataIndex(-5);
    EXPECT_FALSE(m_view->SetData(FALSE));
    EXPECT_FALSE(m_view->IsEditChange());
}

}  // namespace
