#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "controls/CheckComboBox.h"
#include "controls/MultiEdit.h"
#include "core/ECGXMLParser.h"
#include "core/Globals.h"
#include "core/PositionCtrl.h"
#include "dialogs/DlgEditAdditionalInfor.h"
#include "forms/FormInterpre.h"
#include "platform/gdi/Image.h"
#include "printdevice/ECGDC.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/forms/FormTestSupport.h"
#include "tests/forms/RestFormTestSupport.h"
#include "tests/support/ModalScript.h"
#include "tests/support/TestSupport.h"

namespace {

using morvelance::rec::RecordKind;
using testsupport::ControlText;

constexpr UINT kIvrelCode1 = 3097, kIvrelMark1 = 3108, kIvrelDel1 = 3119, kIvrelEdit1 = 3130, kIvrelText1 = 3141;
constexpr UINT kMinneCode1 = 3062, kMinneText1 = 3086;
constexpr int kIvrelLabelRow = 92, kMinnesotaLabelRow = 51;

class RestForm : public formtest::RestFormFixture<CFormInterpre> {
protected:
    _RESTDATAITEM* OpenRecord(int minnesota = -1, int ivrel = -1, bool b8000 = false)
    {
        morvelance::RestRecordShape shape = resttest::Shape(RecordKind::Rest12, b8000);
        shape.xml.minnesotaRows = minnesota;
        shape.xml.ivrelRows = ivrel;
        _RESTDATAITEM* item = AddRecord("form", shape);
        EXPECT_EQ(Open(item), 0);
        return item;
    }
    CFormInterpre& Show(int width = 540, int height = 700)
    {
        CFormInterpre* form = m_host.Show(m_doc, DOC_TYPE_REST, RUNTIME_CLASS(CFormInterpre), width, height);
        EXPECT_NE(form, nullptr);
        return *form;
    }
    _POSITION_CTRL* Table() { return m_doc.GetDefCtrlPos()->stRest; }
    CWnd* Ctrl(UINT id) { return m_host.form->GetDlgItem(id); }
    int TopOfRow(int row) { return formtest::PlacedRect(*m_host.form, *m_host.form->GetRowControl(row)).top; }
    void TypeInto(UINT id, LPCWSTR text)
    {
        CWnd* control = Ctrl(id);
        ASSERT_NE(control, nullptr);
        control->SetFocus();
        control->SendMessage(EM_SETSEL, 0, -1);
        platform::ui::Desktop::TypeText(text);
        platform::ui::Desktop::PumpMessages();
    }
    void Press(UINT vk, UINT modifiers = platform::ui::kNoModifiers)
    {
        platform::ui::Desktop::KeyPress(vk, modifiers);
        platform::ui::Desktop::PumpMessages();
    }
    bool Shown(UINT id) { return formtest::IsShown(Ctrl(id)); }
    // Types the lines over the comment, then leaves it for the room number.
    void TypeComment(CFormInterpre& form, std::initializer_list<LPCWSTR> lines)
    {
        form.GetCommentEdit()->SetFocus();
        platform::ui::Desktop::PumpMessages();
        ::SendMessage(::GetFocus(), EM_SETSEL, 0, -1);
        bool first = true;
        for (LPCWSTR line : lines) {
            if (!first) Press(VK_RETURN);
            platform::ui::Desktop::TypeText(line);
            first = false;
        }
        Ctrl(3043)->SetFocus();
        platform::ui::Desktop::PumpMessages();
    }

};

}  // namespace

TEST_F(RestForm, EveryControlIsCreatedAtItsLayoutRowOnTheDesignScreen)
{
    OpenRecord();
    CFormInterpre& form = Show();
    const std::vector<CCheckUI>& entries = form.GetCheckUIEntries();
    ASSERT_EQ(entries.size(), static_cast<size_t>(CFormInterpre::kRowCount));
    static const int kComboRows[] = {1, 3, 5, 7, 9, 11, 15, 17, 19, 94};
    for (int i = 0; i < CFormInterpre::kRowCount; ++i) {
        const CRect created = entries[i].GetRect();
        const _POSITION_CTRL& row = Table()[i];
        EXPECT_EQ(created.left, row.nLeft) << i;
        EXPECT_EQ(created.top, row.nTop) << i;
        EXPECT_EQ(created.Width(), row.nWidth) << i;
        if (std::find(std::begin(kComboRows), std::end(kComboRows), i) == std::end(kComboRows)) {
            EXPECT_EQ(created.Height(), row.nHeight) << i;
        }
    }
    // The comment field takes the template edit's place in the tab order.
    CWnd* comment = form.GetCommentEdit();
    EXPECT_EQ(comment->GetWindow(GW_HWNDPREV)->GetDlgCtrlID(), 3159);
    EXPECT_EQ(comment->GetWindow(GW_HWNDNEXT)->GetDlgCtrlID(), 3160);
    EXPECT_FALSE(Shown(3159));
}

TEST_F(RestForm, ShowsTheRecordsCodesAndLooksTheJudgementUp)
{
    _RESTDATAITEM* item = OpenRecord(3, 2);
    Show();
    EXPECT_EQ(ControlText(*m_host.form, kIvrelCode1), item->stInterpre.strIvrelCode[1]);
    EXPECT_EQ(ControlText(*m_host.form, kIvrelText1), item->stInterpre.strIvrelContent[1]);
    EXPECT_EQ(ControlText(*m_host.form, kMinneCode1), item->stInterpre.strMinneCode[0]);
    // The rows held and one empty row to type into.
    EXPECT_TRUE(Shown(kIvrelCode1 + 2));
    EXPECT_FALSE(Shown(kIvrelCode1 + 3));
    EXPECT_TRUE(Shown(kMinneCode1 + 3));
    EXPECT_FALSE(Shown(kMinneCode1 + 4));
    // The record's judgement is the third entry; two steps up choose the first.
    ASSERT_EQ(Ctrl(3096)->SendMessage(CB_GETCURSEL), 2);
    Ctrl(3096)->SetFocus();
    Press(VK_UP);
    Press(VK_UP);
    EXPECT_EQ(ControlText(*m_host.form, 3095), L"J1");
}

TEST_F(RestForm, ATypedIvrelCodeFillsItsStatementMarksTheRowAndOpensOneMore)
{
    _RESTDATAITEM* item = OpenRecord(0, 0);
    Show();
    ASSERT_TRUE(Shown(kIvrelCode1));
    ASSERT_FALSE(Shown(kIvrelCode1 + 1));
    TypeInto(kIvrelCode1, L"R01");
    Press(VK_TAB);
    EXPECT_EQ(ControlText(*m_host.form, kIvrelText1), L"洞調律");
    EXPECT_EQ(ControlText(*m_host.form, kIvrelMark1), L"#");
    EXPECT_EQ(item->stInterpre.nIvrelCount, 1);
    EXPECT_TRUE(Shown(kIvrelCode1 + 1));

    // An unknown code empties its row.
    TypeInto(kIvrelCode1, L"ZZ9");
    Press(VK_TAB);
    EXPECT_EQ(ControlText(*m_host.form, kIvrelCode1), L"");
    EXPECT_EQ(ControlText(*m_host.form, kIvrelText1), L"");
    // A quote cannot reach the master's query.
    TypeInto(kIvrelCode1, L"R0'1");
    Press(VK_TAB);
    EXPECT_EQ(ControlText(*m_host.form, kIvrelText1), L"");
}

TEST_F(RestForm, TheEleventhIvrelRowOpensNoTwelfth)
{
    _RESTDATAITEM* item = OpenRecord(0, 10);
    Show();
    ASSERT_TRUE(Shown(kIvrelCode1 + 10));
    TypeInto(kIvrelCode1 + 10, L"R01");
    Press(VK_TAB);
    EXPECT_EQ(ControlText(*m_host.form, kIvrelText1 + 10), L"洞調律");
    EXPECT_EQ(item->stInterpre.nIvrelCount, 10);
}

TEST_F(RestForm, ReturnMovesFromCodeToCodeUntilTheLast)
{
    OpenRecord();
    Show();
    Ctrl(kIvrelCode1 + 9)->SetFocus();
    Press(VK_RETURN);
    EXPECT_EQ(::GetFocus(), Ctrl(kIvrelCode1 + 10)->m_hWnd);
    Press(VK_RETURN);   // the last code: the dialog's own handling, the focus stays in the form
    EXPECT_TRUE(m_host.form->IsChild(CWnd::FromHandle(::GetFocus())));
    Ctrl(kMinneCode1)->SetFocus();
    Press(VK_RETURN);
    EXPECT_EQ(::GetFocus(), Ctrl(kMinneCode1 + 1)->m_hWnd);
}

TEST_F(RestForm, ADeleteButtonClearsItsRowInPlace)
{
    _RESTDATAITEM* item = OpenRecord(0, 3);
    Show();
    testsupport::ClickControl(*m_host.form, kIvrelDel1 + 1);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(ControlText(*m_host.form, kIvrelCode1 + 1), L"");
    EXPECT_EQ(ControlText(*m_host.form, kIvrelText1 + 1), L"");
    EXPECT_EQ(ControlText(*m_host.form, kIvrelMark1 + 1), L"#");
    EXPECT_NE(ControlText(*m_host.form, kIvrelCode1 + 2), L"");   // the rows below stay
    EXPECT_EQ(item->stInterpre.nIvrelCount, 3);
    EXPECT_GE(m_host.pane.Count(WM_ANNOTATION_ACTIVE), 1);
}

TEST_F(RestForm, ACancelledPickerChangesNothingAndGivesTheFocusBack)
{
    OpenRecord(0, 1);
    Show();
    const CString before = ControlText(*m_host.form, kIvrelCode1);
    testsupport::ModalScript script;
    script.On(122, [](CDialog& picker) { picker.EndDialog(IDCANCEL); });
    testsupport::ClickControl(*m_host.form, kIvrelEdit1);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(script.Seen(), std::vector<UINT>{122});
    EXPECT_EQ(ControlText(*m_host.form, kIvrelCode1), before);
    EXPECT_EQ(::GetFocus(), Ctrl(kIvrelEdit1)->m_hWnd);
}

TEST_F(RestForm, HiddenMinnesotaRowsCloseUpUnderTheIvrelLabel)
{
    OpenRecord();
    Show();
    const int minnesotaTitle = TopOfRow(kMinnesotaLabelRow);
    m_host.Close();
    for (int row = 51; row <= 91; ++row) Table()[row].bVisible = 0;
    Show();
    EXPECT_EQ(TopOfRow(kIvrelLabelRow), minnesotaTitle);
    EXPECT_FALSE(Shown(3053));
}

TEST_F(RestForm, UnusedMinnesotaRowsMoveTheIvrelBlockUp)
{
    const int allHeld = OpenRecord(7, 2)->stInterpre.nMinneCount;   // eight rows shown
    Show();
    const int allRows = TopOfRow(kIvrelLabelRow);
    m_host.Close();
    const int fewHeld = OpenRecord(2, 2)->stInterpre.nMinneCount;
    ASSERT_LT(fewHeld, allHeld);
    Show();
    const _POSITION_CTRL* t = Table();
    // (row 91 − row 56) − the shown rows but one, less a half, truncated.
    auto shift = [&](int held) { return static_cast<int>((t[91].nTop - t[56].nTop) - 22 * held - 0.5); };
    const int expected = shift(fewHeld) - shift(allHeld);
    EXPECT_EQ(allRows - TopOfRow(kIvrelLabelRow), expected);
}

TEST_F(RestForm, AWrappedMinnesotaTextPushesLaterRowsByTwoLinesInOneMorePass)
{
    OpenRecord(3, 0);
    CFormInterpre& form = Show();
    const int secondRow = formtest::PlacedRect(form, *Ctrl(kMinneCode1 + 1)).top;
    const int passes = form.GetLayoutPasses();
    Ctrl(kMinneText1)->SetWindowText(
        L"大きなQ波 大きなQ波 大きなQ波 大きなQ波 大きなQ波 大きなQ波 大きなQ波 大きなQ波 大きなQ波 大きなQ波 "
        L"大きなQ波 大きなQ波 大きなQ波 大きなQ波 大きなQ波 大きなQ波 大きなQ波");
    const int lines = static_cast<int>(Ctrl(kMinneText1)->SendMessage(EM_GETLINECOUNT));
    ASSERT_EQ(lines, 3);
    form.MoveCtrl(1);
    const int fh = std::abs([&] { LOGFONT lf{}; m_doc.GetDocFont(0)->GetLogFont(&lf); return lf.lfHeight; }());
    EXPECT_EQ(formtest::PlacedRect(form, *Ctrl(kMinneCode1 + 1)).top - secondRow, 2 * fh);
    EXPECT_EQ(formtest::PlacedRect(form, *Ctrl(kMinneText1)).Height() % 2, 0);
    EXPECT_EQ(form.GetAdditionLineCount(0, 0, 1), 2);
    EXPECT_EQ(form.GetLayoutPasses() - passes, 1);   // the counts held: no second pass
}

TEST_F(RestForm, TheChainEndsAskThePaneAndARefusedJumpWraps)
{
    OpenRecord();
    CFormInterpre& form = Show();
    CWnd* comment = form.GetCommentEdit();
    m_host.pane.answer = 0;
    comment->SetFocus();
    Press(VK_TAB);
    ASSERT_EQ(m_host.pane.Count(WM_FORM_TAB_END), 1);
    EXPECT_EQ(m_host.pane.LastChain(), (std::array<int, 3>{2, 2, 0}));
    EXPECT_EQ(::GetFocus(), Ctrl(3031)->GetWindow(GW_CHILD) ? ::GetFocus() : Ctrl(3031)->m_hWnd);
    // Taken by the pane: the jump flag swallows the next Tab.
    m_host.pane.answer = 1;
    comment->SetFocus();
    Press(VK_TAB);
    EXPECT_EQ(m_host.pane.Count(WM_FORM_TAB_END), 2);
    form.SetJumpStatus(1);
    Ctrl(kIvrelCode1)->SetFocus();
    Press(VK_TAB);
    EXPECT_EQ(::GetFocus(), Ctrl(kIvrelCode1)->m_hWnd);
    EXPECT_EQ(form.GetJumpStatus(), 0);
}

TEST_F(RestForm, TypedCodesAndTheCommentSurviveASaveAndAFreshDocument)
{
    _RESTDATAITEM* item = OpenRecord(1, 1);
    CFormInterpre& form = Show();
    TypeInto(kIvrelCode1 + 1, L"R01");
    Press(VK_TAB);
    TypeInto(kMinneCode1 + 1, L"1-1-1");
    Press(VK_TAB);
    TypeInto(3043, L"512");
    form.GetCommentEdit()->SetFocus();
    platform::ui::Desktop::TypeText(L"経過観察");
    Ctrl(3043)->SetFocus();
    platform::ui::Desktop::PumpMessages();
    m_host.Close();
    ASSERT_EQ(m_doc.SaveDataToXML(item->nID), 0);

    CRestViewDoc fresh;
    fresh.m_bAutoDelete = FALSE;
    ASSERT_NE(Reopen(fresh), nullptr);
    formtest::FormHost<CFormInterpre> again;
    ASSERT_NE(again.Show(fresh, DOC_TYPE_REST, RUNTIME_CLASS(CFormInterpre), 540, 700), nullptr);
    EXPECT_EQ(ControlText(*again.form, kIvrelCode1 + 1), L"R01");
    EXPECT_EQ(ControlText(*again.form, kIvrelText1 + 1), L"洞調律");
    EXPECT_EQ(ControlText(*again.form, kMinneCode1 + 1), L"1-1-1");
    EXPECT_EQ(ControlText(*again.form, 3043), L"512");
    CString comment;
    again.form->GetCommentEdit()->GetEditFace().GetWindowText(comment);
    EXPECT_NE(comment.Find(L"経過観察"), -1);
    again.Close();
}

TEST_F(RestForm, PrintDrawsTheTextsAndNoPushButton)
{
    OpenRecord(1, 1);
    CFormInterpre& form = Show();
    CDC image;
    ASSERT_TRUE(image.Attach(platform::gdi::CreateImageDC(540, 1100)));
    image.FillSolidRect(0, 0, 540, 1100, RGB(255, 255, 255));
    CECGDC dc(&image, 1);
    CRect client;
    form.GetClientRect(&client);
    EXPECT_EQ(form.Print(&dc, CRect(0, 0, client.Width(), 1100)), 1);
    auto inked = [&](const CRect& r) {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += image.GetPixel(x, y) != RGB(255, 255, 255);
        return n;
    };
    const int content = form.GetTotalSize().cy > 0 ? form.GetTotalSize().cy : client.Height();
    auto mapped = [&](UINT id) {
        CRect r = formtest::PlacedRect(form, *Ctrl(id));
        return CRect(r.left, r.top * 1100 / content, r.right, r.bottom * 1100 / content);
    };
    EXPECT_GT(inked(mapped(kIvrelText1)), 20);       // the statement
    EXPECT_EQ(inked(mapped(3158)), 0);               // the comment button is not printed
}

TEST_F(RestForm, ACommentOfSixLinesGrowsByTwoLinesAndMovesItsEditorRowsDown)
{
    OpenRecord();
    CFormInterpre& form = Show();
    const int editorTop = TopOfRow(158);
    const int commentHeight = formtest::PlacedRect(form, *form.GetCommentEdit()).Height();
    TypeComment(form, {L"一", L"二", L"三", L"四", L"五", L"六"});
    const int line = [&] { LOGFONT lf{}; m_doc.GetDocFont(0)->GetLogFont(&lf); return std::abs(lf.lfHeight); }();
    EXPECT_EQ(form.GetCommentExtraHeight(), 2 * line);
    EXPECT_EQ(TopOfRow(158) - editorTop, 2 * line);
    EXPECT_EQ(formtest::PlacedRect(form, *form.GetCommentEdit()).Height() - commentHeight, 2 * line);
    // Four lines or fewer keep the four-line height.
    TypeComment(form, {L"一", L"二"});
    EXPECT_EQ(form.GetCommentExtraHeight(), 0);
    EXPECT_EQ(TopOfRow(158), editorTop);
}

TEST_F(RestForm, AModel8000RecordHidesTheEditorRowsAndLocksTheRequestFields)
{
    OpenRecord(-1, -1, true);
    Show();
    for (UINT id : {3050u, 3051u, 3154u, 3160u}) EXPECT_FALSE(Shown(id)) << id;
    for (UINT id : {3035u, 3043u, 3049u}) EXPECT_FALSE(Ctrl(id)->IsWindowEnabled()) << id;
}

TEST_F(RestForm, TheRequestSectionIsEditableOnlyForASubIdRecord)
{
    OpenRecord();
    Show();
    EXPECT_TRUE(Ctrl(3045)->IsWindowEnabled());
    m_host.Close();
    RemoveXmlNode(L"/Rawdata/Tavrion/Inspection/Patient_section2");
    Show();
    EXPECT_FALSE(Ctrl(3045)->IsWindowEnabled());
    EXPECT_TRUE(Ctrl(3047)->IsWindowEnabled());
}

TEST_F(RestForm, TheVersionLineStandsAtTheClientBottomForPageStyle37)
{
    _RESTDATAITEM* item = OpenRecord();
    item->strVersion = L"Ver 1.23";
    const int saved = g_bDisplayVersion;
    g_bDisplayVersion = 1;
    CFormInterpre* form = m_host.Show(m_doc, DOC_TYPE_REST, RUNTIME_CLASS(CFormInterpre), 540, 700);
    ASSERT_NE(form, nullptr);
    form->SetPageStyle(37);
    m_doc.UpdateAllViews(nullptr);
    CRect client;
    form->GetClientRect(&client);
    ASSERT_TRUE(Shown(3807));
    EXPECT_EQ(formtest::PlacedRect(*form, *Ctrl(3807)).bottom, client.bottom);
    EXPECT_EQ(ControlText(*form, 3807), L"Ver 1.23");
    // Placed again at every paint, the line keeps its height.
    const int height = formtest::PlacedRect(*form, *Ctrl(3807)).Height();
    form->Invalidate();
    form->UpdateWindow();
    m_doc.UpdateAllViews(nullptr);
    EXPECT_EQ(formtest::PlacedRect(*form, *Ctrl(3807)).Height(), height);
    form->SetPageStyle(36);
    m_doc.UpdateAllViews(nullptr);
    EXPECT_FALSE(Shown(3807));
    g_bDisplayVersion = saved;
}

TEST_F(RestForm, TheBackgroundBetweenControlsTakesTheFormColour)
{
    OpenRecord();
    m_doc.SetWaveColor(20, RGB(210, 230, 120));
    CFormInterpre& form = Show();
    form.Invalidate();
    form.UpdateWindow();
    HDC dc = ::GetDC(form.m_hWnd);
    // Between the request column and the measurements (x 258 to 268).
    EXPECT_EQ(::GetPixel(dc, 262, 10), RGB(210, 230, 120));
    ::ReleaseDC(form.m_hWnd, dc);
}

TEST_F(RestForm, TheLinkShowsForAFourthAdditionOrAHiddenRowWithText)
{
    _RESTDATAITEM* item = OpenRecord();
    for (int row = 37; row <= 50; ++row) Table()[row].bVisible = 1;   // the additions section on
    item->stAddition.bPresent = 1;
    item->stAddition.nCount = 3;
    Show();
    EXPECT_FALSE(Shown(3983));
    m_host.Close();
    item->stAddition.nCount = 4;
    Show();
    EXPECT_TRUE(Shown(3983));
    m_host.Close();
    item->stAddition.nCount = 2;
    Table()[45].bVisible = 0;   // row 2's content hidden while its title holds text
    item->stAddition.strTitle[1] = L"既往歴";
    Show();
    ASSERT_EQ(ControlText(*m_host.form, 3972), L"既往歴");
    EXPECT_TRUE(Shown(3983));
}

TEST_F(RestForm, ASaveWithoutAnEditLeavesTheRecordXmlsBoundValuesAsTheyWere)
{
    _RESTDATAITEM* item = OpenRecord();
    Show();
    const CString before[] = {XmlText(L"/Rawdata/Tavrion/Inspection/Patient_section/Room_no"),
                              XmlText(L"/Rawdata/Tavrion/Inspection/Patient_section/Technician")};
    const int ivrelRows = XmlCount(L"/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel");
    ASSERT_GT(ivrelRows, 0);
    m_host.Close();
    ASSERT_EQ(m_doc.SaveDataToXML(item->nID), 0);
    EXPECT_EQ(XmlText(L"/Rawdata/Tavrion/Inspection/Patient_section/Room_no"), before[0]);
    EXPECT_EQ(XmlText(L"/Rawdata/Tavrion/Inspection/Patient_section/Technician"), before[1]);
    EXPECT_EQ(XmlCount(L"/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel"), ivrelRows);
}

TEST_F(RestForm, OnA1280By1024ScreenTheColumnsScaleWithTheirRows)
{
    OpenRecord();
    m_screen.Use(m_doc, 1280, 1024);
    CFormInterpre& form = Show(700, 900);
    const double fx = 1280 / 1024.0, fy = 1024 / 768.0;
    for (int row : {0, 1, 19, 20, 33}) {
        const CRect placed = formtest::PlacedRect(form, *form.GetRowControl(row));
        EXPECT_EQ(placed.left, static_cast<int>(Table()[row].nLeft * fx)) << row;
        EXPECT_EQ(placed.top, static_cast<int>(Table()[row].nTop * fy)) << row;
    }
}

TEST_F(RestForm, TheCommentButtonOpensThePhraseEditorAndADoubleClickOpensTheSheetInPopupMode)
{
    OpenRecord();
    CFormInterpre& form = Show();
    testsupport::ModalScript script;
    script.On(138, [](CDialog& editor) { editor.EndDialog(IDCANCEL); });
    Ctrl(3158)->SendMessage(BM_CLICK);   // below the screen's bottom: pressed as the sheets' tests press
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(script.Seen(), std::vector<UINT>{138});
    EXPECT_EQ(::GetFocus(), Ctrl(3158)->m_hWnd);
    EXPECT_GE(m_host.pane.Count(WM_ANNOTATION_ACTIVE), 1);

    m_doc.SetPopupMode(0);
    platform::ui::Desktop::DoubleClick(form.m_hWnd, 262, 10);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(script.Seen().size(), 1u);
    m_doc.SetPopupMode(1);
    script.On(105, [](CDialog& sheet) { sheet.EndDialog(IDOK); });
    platform::ui::Desktop::DoubleClick(form.m_hWnd, 262, 10);
    platform::ui::Desktop::PumpMessages();
    ASSERT_EQ(script.Seen().size(), 2u);
    EXPECT_EQ(script.Seen()[1], 105u);
    EXPECT_EQ(m_host.Host().results, 1);
}

namespace {

// The document's form font, replaced for one test: the rows follow the font the document
// gives, whatever its height.
class ScopedFormFont {
public:
    ScopedFormFont(CTavrionDoc& doc, int height) : m_doc(doc)
    {
        m_font.CreateFont(-height, 0, 0, 0, 400, FALSE, FALSE, FALSE, 134, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                          PROOF_QUALITY, 18, L"simsun");
        std::swap(Slot(), m_pKept);
        Slot() = &m_font;
    }
    ~ScopedFormFont() { Slot() = m_pKept; }
    ScopedFormFont(const ScopedFormFont&) = delete;
    ScopedFormFont& operator=(const ScopedFormFont&) = delete;

private:
    struct Access : CTavrionDoc {
        static CFont*& Of(CTavrionDoc& doc) { return (doc.*(&Access::m_pDocFont))[0]; }
    };
    CFont*& Slot() { return Access::Of(m_doc); }

    CTavrionDoc& m_doc;
    CFont m_font;
    CFont* m_pKept = nullptr;
};

}  // namespace

TEST_F(RestForm, TheCommentGrowsByTheLinesOfTheFontTheDocumentGives)
{
    OpenRecord();
    ScopedFormFont font(m_doc, 19);
    CFormInterpre& form = Show();
    const int editorTop = TopOfRow(158);
    TypeComment(form, {L"一", L"二", L"三", L"四", L"五", L"六"});
    EXPECT_EQ(form.GetCommentExtraHeight(), 2 * 19);
    EXPECT_EQ(TopOfRow(158) - editorTop, 2 * 19);
}

// Typing stops at the row's 255 characters. What the editor gives back is
// the row's whole: the editor keeps what is typed or applied within the
// same limits, so a text past them is one the record held and the person
// left as it was (the row once cut it, and the save then wrote it cut).
TEST_F(RestForm, AnAdditionsContentTakes255CharactersTypedAndTheEditorsTextsWhole)
{
    _RESTDATAITEM* item = OpenRecord();
    for (int row = 37; row <= 50; ++row) Table()[row].bVisible = 1;
    item->stAddition.bPresent = 1;
    CFormInterpre& form = Show();
    ASSERT_TRUE(Shown(3980));
    TypeInto(3980, CString(L'x', 300));
    EXPECT_EQ(ControlText(form, 3980).GetLength(), 255);
    testsupport::ModalScript script;
    script.On(150, [](CDialog& editor) {
        static_cast<CDlgEditAdditionalInfor&>(editor).SetAdditionText(CString(L't', 40), CString(L'c', 300));
        editor.EndDialog(IDOK);
    });
    Ctrl(3978)->SendMessage(BM_CLICK);
    platform::ui::Desktop::PumpMessages();
    ASSERT_EQ(script.Seen(), std::vector<UINT>{150});
    EXPECT_EQ(ControlText(form, 3981), CString(L'c', 300));
    EXPECT_EQ(ControlText(form, 3972), CString(L't', 40));
}

// From the form's edit button the editor gets the row's texts and gives back new ones: the
// row shows them, the document holds them as edited, the form is laid out again with both
// status passes, and the button has the focus.
TEST_F(RestForm, AnAdditionEditedThroughItsEditorReachesTheRowAndTheDocument)
{
    _RESTDATAITEM* item = OpenRecord();
    for (int row = 37; row <= 50; ++row) Table()[row].bVisible = 1;
    item->stAddition.bPresent = 1;
    item->stAddition.strTitle[1] = L"既往歴";
    CFormInterpre& form = Show();
    auto* combo = DYNAMIC_DOWNCAST(CCheckComboBox, Ctrl(3031));
    ASSERT_NE(combo, nullptr);
    combo->SetReadOnly(TRUE);   // the status pass puts it back
    const int passes = form.GetLayoutPasses();
    CString handed;
    testsupport::ModalScript script;
    script.On(150, [&handed](CDialog& editor) {
        auto& additions = static_cast<CDlgEditAdditionalInfor&>(editor);
        handed = additions.GetAdditionTitle();
        additions.SetAdditionText(L"所見", L"経過良好");
        editor.EndDialog(IDOK);
    });
    Ctrl(3978)->SendMessage(BM_CLICK);
    platform::ui::Desktop::PumpMessages();
    ASSERT_EQ(script.Seen(), std::vector<UINT>{150});
    EXPECT_EQ(handed, L"既往歴");
    EXPECT_EQ(ControlText(form, 3972), L"所見");
    EXPECT_EQ(ControlText(form, 3981), L"経過良好");
    EXPECT_TRUE(m_doc.GetCtrlModifyFlag(3972));
    EXPECT_TRUE(m_doc.GetCtrlModifyFlag(3981));
    EXPECT_GT(form.GetLayoutPasses(), passes);
    EXPECT_EQ(::GetFocus(), Ctrl(3978)->m_hWnd);
    combo->SetFocus();
    platform::ui::Desktop::PumpMessages();
    ::SendMessage(::GetFocus(), EM_SETSEL, 0, -1);
    platform::ui::Desktop::TypeText(L"手");
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(ControlText(form, 3031), L"手");
}

TEST_F(RestForm, TheVersionLineStaysHiddenWhileTheDisplayFlagIsOff)
{
    _RESTDATAITEM* item = OpenRecord();
    item->strVersion = L"Ver 1.23";
    const int saved = g_bDisplayVersion;
    g_bDisplayVersion = 0;
    CFormInterpre& form = Show();
    form.SetPageStyle(37);
    m_doc.UpdateAllViews(nullptr);
    form.Invalidate();
    form.UpdateWindow();
    EXPECT_FALSE(Shown(3807));
    g_bDisplayVersion = saved;
}

// A hidden request row closes up the request rows under it; the measurements from the 21st
// row on stand at their own rows, and a hidden last request row closes up onto the editor row.
TEST_F(RestForm, AHiddenRequestRowClosesUpItsColumnAndTheMeasurementsStay)
{
    OpenRecord();
    for (int row = 20; row <= 36; ++row) Table()[row].bVisible = 1;
    Show();
    std::vector<int> tops;
    for (int row = 0; row <= 34; ++row) tops.push_back(TopOfRow(row));
    m_host.Close();
    Table()[2].bVisible = Table()[3].bVisible = 0;
    Show();
    const int pitch = Table()[4].nTop - Table()[2].nTop;
    EXPECT_EQ(tops[4] - TopOfRow(4), pitch);
    EXPECT_EQ(tops[19] - TopOfRow(19), pitch);
    for (int row = 20; row <= 33; ++row) EXPECT_EQ(TopOfRow(row), tops[row]) << row;
    m_host.Close();
    Table()[2].bVisible = Table()[3].bVisible = 1;
    Table()[18].bVisible = Table()[19].bVisible = 0;
    Show();
    EXPECT_EQ(tops[34] - TopOfRow(34), Table()[34].nTop - Table()[18].nTop);
}

// With most request rows hidden the request block ends above the measurements: the editor
// row comes under the measurements, by the gap it had under the last request row's text;
// a combo row whose text height is 0 counts its whole height instead.
TEST_F(RestForm, TheEditorRowFollowsTheMeasurementsWhenTheRequestBlockEndsAboveThem)
{
    OpenRecord();
    for (int row = 16; row <= 36; ++row) Table()[row].bVisible = 1;
    for (int row = 0; row <= 15; ++row) Table()[row].bVisible = 0;
    Table()[18].bVisible = 0;   // the technician's label: the combo beside it ends the block
    ASSERT_EQ(Table()[18].nTop, Table()[19].nTop);
    int measurements = 0;
    for (int row = 20; row <= 33; ++row) {
        const _POSITION_CTRL& r = Table()[row];
        measurements = std::max(measurements, r.nTop + (r.nTextHeight > 0 ? r.nTextHeight : r.nHeight));
    }
    ASSERT_GT(Table()[19].nTextHeight, 0);
    for (int textHeight : {Table()[19].nTextHeight, 0}) {
        Table()[19].nTextHeight = textHeight;
        const int under = Table()[19].nTop + (textHeight > 0 ? textHeight : Table()[19].nHeight);
        Show();
        EXPECT_EQ(TopOfRow(34), measurements + (Table()[34].nTop - under)) << textHeight;
        m_host.Close();
    }
}

// Laying out once more with nothing changed moves nothing, after a plain layout and after
// one whose wrapped text took a second pass.
TEST_F(RestForm, ALayoutPassWithNothingChangedMovesNothing)
{
    OpenRecord(3, 3);
    CFormInterpre& form = Show();
    auto places = [&] {
        std::vector<CRect> rects;
        for (CWnd* child = form.GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT))
            rects.push_back(formtest::PlacedRect(form, *child));
        return rects;
    };
    const std::vector<CRect> settled = places();
    form.MoveCtrl(0);
    EXPECT_TRUE(places() == settled);
    Ctrl(kMinneText1)->SetWindowText(
        L"大きなQ波 大きなQ波 大きなQ波 大きなQ波 大きなQ波 大きなQ波 大きなQ波 大きなQ波 大きなQ波 大きなQ波 "
        L"大きなQ波 大きなQ波 大きなQ波 大きなQ波 大きなQ波 大きなQ波 大きなQ波");
    form.MoveCtrl(1);
    const std::vector<CRect> wrapped = places();
    EXPECT_FALSE(wrapped == settled);
    form.MoveCtrl(0);
    const std::vector<CRect> again = places();
    ASSERT_EQ(again.size(), wrapped.size());
    for (size_t i = 0; i < again.size(); ++i) EXPECT_TRUE(again[i] == wrapped[i]) << i;
}

// Tab onto a statement the stylesheet hides goes on to the next shown statement, and the key
// goes no further.
TEST_F(RestForm, TabOntoAHiddenStatementLandsOnTheNextShownOne)
{
    OpenRecord(0, 3);
    Table()[99].bVisible = 0;   // the statement of IVREL row 1
    Show();
    ASSERT_FALSE(Shown(kIvrelText1));
    ASSERT_TRUE(Shown(kIvrelText1 + 1));
    Ctrl(kIvrelEdit1)->SetFocus();
    Press(VK_TAB);
    EXPECT_EQ(::GetFocus(), Ctrl(kIvrelText1 + 1)->m_hWnd);
}
