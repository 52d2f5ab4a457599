#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "controls/CheckComboBox.h"
#include "controls/MultiEdit.h"
#include "core/PositionCtrl.h"
#include "forms/FormInterpreAme.h"
#include "platform/gdi/Image.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/support/DCStateCheck.h"
#include "tests/forms/FormTestSupport.h"
#include "tests/forms/RestFormTestSupport.h"
#include "tests/support/ModalScript.h"
#include "tests/support/TestSupport.h"

namespace {

using morvelance::rec::RecordKind;
using testsupport::ControlText;

class UsRestForm : public formtest::RestFormFixture<CFormInterpreAme> {
protected:
    _RESTDATAITEM* OpenRecord(int ivrel = -1)
    {
        morvelance::RestRecordShape shape = resttest::Shape(RecordKind::Rest12);
        shape.xml.ivrelRows = ivrel;
        _RESTDATAITEM* item = AddRecord("ame", shape);
        EXPECT_EQ(Open(item), 0);
        return item;
    }
    CFormInterpreAme& Show()
    {
        auto* form = m_host.Show(m_doc, DOC_TYPE_REST, RUNTIME_CLASS(CFormInterpreAme), 1024, 400);
        EXPECT_NE(form, nullptr);
        return *form;
    }
    _POSITION_CTRL* Table() { return m_doc.GetDefCtrlPos()->stUsaRest; }
    CWnd* Ctrl(UINT id) { return m_host.form->GetDlgItem(id); }
    bool Shown(UINT id) { return formtest::IsShown(Ctrl(id)); }
    void Press(UINT vk)
    {
        platform::ui::Desktop::KeyPress(vk);
        platform::ui::Desktop::PumpMessages();
    }
    void TypeComment(CFormInterpreAme& form, int lines)
    {
        form.GetCommentEdit()->SetFocus();
        platform::ui::Desktop::PumpMessages();
        ::SendMessage(::GetFocus(), EM_SETSEL, 0, -1);
        for (int i = 0; i < lines; ++i) {
            if (i) Press(VK_RETURN);
            platform::ui::Desktop::TypeText(L"所見");
        }
        Ctrl(3031)->SetFocus();
        platform::ui::Desktop::PumpMessages();
    }
    void HideRequestColumn()
    {
        for (int row = 0; row <= 15; ++row) Table()[row].bVisible = 0;
    }

};

}  // namespace

TEST_F(UsRestForm, EveryControlIsCreatedAtItsLayoutRowOnTheDesignScreen)
{
    OpenRecord();
    CFormInterpreAme& form = Show();
    const std::vector<CCheckUI>& entries = form.GetCheckUIEntries();
    ASSERT_EQ(entries.size(), static_cast<size_t>(CFormInterpreAme::kAmeRowCount));
    static const int kComboRows[] = {1, 3, 5, 7, 9, 11, 13, 15, 91};
    for (int i = 0; i < CFormInterpreAme::kAmeRowCount; ++i) {
        const CRect created = entries[i].GetRect();
        const _POSITION_CTRL& row = Table()[i];
        EXPECT_EQ(created.TopLeft(), CPoint(row.nLeft, row.nTop)) << i;
        EXPECT_EQ(created.Width(), row.nWidth) << i;
        if (std::find(std::begin(kComboRows), std::end(kComboRows), i) == std::end(kComboRows)) {
            EXPECT_EQ(created.Height(), row.nHeight) << i;
        }
    }
}

TEST_F(UsRestForm, TheCommentShowsOnlyWhenTheRequestColumnIsEmptyAndColumnsMoveLeft)
{
    OpenRecord();
    CFormInterpreAme& form = Show();
    EXPECT_TRUE(Shown(3031));
    EXPECT_FALSE(Shown(3157));
    EXPECT_FALSE(formtest::IsShown(form.GetCommentEdit()));
    const int heartRateLeft = formtest::PlacedRect(form, *Ctrl(3168)).left;
    m_host.Close();
    HideRequestColumn();
    CFormInterpreAme& again = Show();
    EXPECT_FALSE(Shown(3031));
    EXPECT_TRUE(Shown(3157));
    EXPECT_TRUE(formtest::IsShown(again.GetCommentEdit()));
    EXPECT_EQ(heartRateLeft - formtest::PlacedRect(again, *Ctrl(3168)).left, Table()[16].nLeft - Table()[0].nLeft);
}

TEST_F(UsRestForm, TheCommentGrowsFromItsSixthLine)
{
    OpenRecord();
    HideRequestColumn();
    CFormInterpreAme& form = Show();
    TypeComment(form, 5);
    EXPECT_EQ(form.GetCommentExtraHeight(), 0);
    TypeComment(form, 6);
    const int line = [&] { LOGFONT lf{}; m_doc.GetDocFont(0)->GetLogFont(&lf); return std::abs(lf.lfHeight); }();
    EXPECT_EQ(form.GetCommentExtraHeight(), line);
}

TEST_F(UsRestForm, ATypedCodeFillsItsStatementAndTheChainEndNamesThisForm)
{
    _RESTDATAITEM* item = OpenRecord(0);
    CFormInterpreAme& form = Show();
    Ctrl(3097)->SetFocus();
    ::SendMessage(::GetFocus(), EM_SETSEL, 0, -1);
    platform::ui::Desktop::TypeText(L"R01");
    Press(VK_TAB);
    EXPECT_EQ(ControlText(form, 3141), L"洞調律");
    EXPECT_EQ(item->stInterpre.nIvrelCount, 1);
    // Backwards from the first control of the chain.
    Ctrl(3031)->SetFocus();
    platform::ui::Desktop::KeyPress(VK_TAB, platform::ui::kShift);
    platform::ui::Desktop::PumpMessages();
    ASSERT_GE(m_host.pane.Count(WM_FORM_TAB_END), 1);
    EXPECT_EQ(m_host.pane.LastChain(), (std::array<int, 3>{3, 1, 0}));
}

// The landscape report prints the form's fields through its own layouts:
// the form's print puts no ink on the page and leaves the form as shown.
TEST_F(UsRestForm, PrintLeavesTheFieldsToTheLandscapeReport)
{
    OpenRecord();
    CFormInterpreAme& form = Show();
    TypeComment(form, 2);
    // Every child's text and visibility, as the form shows them.
    auto shown = [&] {
        std::vector<std::pair<CString, bool>> fields;
        for (CWnd* child = form.GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT)) {
            CString text;
            child->GetWindowText(text);
            fields.push_back({text, child->IsWindowVisible() != FALSE});
        }
        return fields;
    };
    const auto before = shown();
    ASSERT_TRUE(std::any_of(before.begin(), before.end(), [](const auto& f) { return !f.first.IsEmpty() && f.second; }));

    CDC image;
    ASSERT_TRUE(image.Attach(platform::gdi::CreateImageDC(1024, 400)));
    image.FillSolidRect(0, 0, 1024, 400, RGB(255, 255, 255));
    CRect page(0, 0, 1024, 400);
    EXPECT_LEAVES_DC_AS_FOUND(image.GetSafeHdc(), EXPECT_EQ(form.Print(&image, &page, 0), 1));
    int ink = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 1024; ++x) ink += image.GetPixel(x, y) != RGB(255, 255, 255);
    EXPECT_EQ(ink, 0);
    EXPECT_EQ(form.Print(static_cast<CDC*>(nullptr), nullptr, 0), 1);
    EXPECT_EQ(before, shown());
    EXPECT_TRUE(form.IsWindowVisible());
}

TEST_F(UsRestForm, AMinnesotaColumnAboveTheClosedAdditionsStaysAtItsRow)
{
    _RESTDATAITEM* item = OpenRecord();
    item->stAddition.bPresent = 0;   // the additions close up
    CFormInterpreAme& form = Show();
    ASSERT_LT(Table()[48].nTop, Table()[34].nTop);
    EXPECT_EQ(formtest::PlacedRect(form, *Ctrl(3053)).top, Table()[48].nTop);
    EXPECT_FALSE(Shown(3970));
}

// After the comment editor, OK or cancelled, the focus goes into the comment box itself and
// the form tells itself the comment was left.
TEST_F(UsRestForm, TheCommentEditorLeavesTheFocusInTheCommentBox)
{
    OpenRecord();
    HideRequestColumn();
    CFormInterpreAme& form = Show();
    CMultiEdit* comment = form.GetCommentEdit();
    for (int answer : {IDOK, IDCANCEL}) {
        Ctrl(3168)->SetFocus();
        testsupport::ModalScript script;
        script.On(138, [answer](CDialog& editor) { editor.EndDialog(answer); });
        Ctrl(3158)->SendMessage(BM_CLICK);
        platform::ui::Desktop::PumpMessages();
        EXPECT_EQ(script.Seen(), std::vector<UINT>{138});
        HWND focus = ::GetFocus();
        EXPECT_TRUE(focus == comment->m_hWnd || ::GetParent(focus) == comment->m_hWnd) << answer;
    }
}

// An addition edited through its editor is laid out again, and neither the document's nor the
// form's status pass runs: a request field made read-only stays so and refuses typing.
TEST_F(UsRestForm, AnAdditionEditedThroughItsEditorRunsNoStatusPass)
{
    _RESTDATAITEM* item = OpenRecord();
    item->stAddition.bPresent = 1;
    CFormInterpreAme& form = Show();
    auto* combo = DYNAMIC_DOWNCAST(CCheckComboBox, Ctrl(3031));
    ASSERT_NE(combo, nullptr);
    combo->SetReadOnly(TRUE);
    const CString before = ControlText(form, 3031);
    const int passes = form.GetLayoutPasses();
    testsupport::ModalScript script;
    script.On(150, [](CDialog& editor) { editor.EndDialog(IDOK); });
    Ctrl(3977)->SendMessage(BM_CLICK);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(script.Seen(), std::vector<UINT>{150});
    EXPECT_GT(form.GetLayoutPasses(), passes);
    EXPECT_EQ(::GetFocus(), Ctrl(3977)->m_hWnd);
    combo->SetFocus();
    platform::ui::Desktop::PumpMessages();
    ::SendMessage(::GetFocus(), EM_SETSEL, 0, -1);
    platform::ui::Desktop::TypeText(L"手入力");
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(ControlText(form, 3031), before);
}

// The IVREL picker gives its button the focus back after OK as after cancel; the Minnesota
// picker only after cancel.
TEST_F(UsRestForm, TheIvrelPickerGivesItsButtonTheFocusBackAfterOkTheMinnesotaPickerOnlyAfterCancel)
{
    OpenRecord(0);
    CFormInterpreAme& form = Show();
    // The first code of the first group, clicked as a user picks it.
    auto pickFirst = [](UINT groups, UINT codes) {
        return [groups, codes](CDialog& picker) {
            for (UINT tree : {groups, codes}) {
                auto item = reinterpret_cast<HTREEITEM>(picker.SendDlgItemMessage(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
                ASSERT_NE(item, nullptr) << tree;
                RECT rect{};
                std::memcpy(&rect, &item, sizeof item);   // the item travels in the rectangle
                picker.SendDlgItemMessage(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect));
                platform::ui::Desktop::Click(picker.GetDlgItem(tree)->m_hWnd, (rect.left + rect.right) / 2,
                                             (rect.top + rect.bottom) / 2);
                platform::ui::Desktop::PumpMessages();
            }
            testsupport::ClickControl(picker, IDOK);
        };
    };
    auto press = [&](UINT button) {
        Ctrl(3153)->SetFocus();
        form.SendMessage(WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(Ctrl(button)->m_hWnd));
        platform::ui::Desktop::PumpMessages();
    };
    {
        testsupport::ModalScript script;
        script.On(122, pickFirst(3490, 3491));
        press(3130);
        ASSERT_EQ(script.Seen(), std::vector<UINT>{122});
        EXPECT_NE(ControlText(form, 3097), L"");
        EXPECT_EQ(::GetFocus(), Ctrl(3130)->m_hWnd);
    }
    {
        testsupport::ModalScript script;
        script.On(175, [](CDialog& picker) { picker.EndDialog(IDCANCEL); });
        press(3078);
        EXPECT_EQ(::GetFocus(), Ctrl(3078)->m_hWnd);
    }
    {
        testsupport::ModalScript script;
        script.On(175, pickFirst(4221, 4222));
        press(3078);
        ASSERT_EQ(script.Seen(), std::vector<UINT>{175});
        EXPECT_NE(ControlText(form, 3062), L"");
        EXPECT_NE(::GetFocus(), Ctrl(3078)->m_hWnd);
    }
}

// The addition rows' height comes from the layout's first addition entry; a layout that gives
// none leaves the landscape form's own starting height of five units for the row's small
// controls.
TEST_F(UsRestForm, AdditionRowsWithoutALayoutHeightAreFiveUnitsHigh)
{
    _RESTDATAITEM* item = OpenRecord();
    item->stAddition.bPresent = 1;
    Table()[35].nHeight = -1;
    CFormInterpreAme& form = Show();
    ASSERT_TRUE(Shown(3974));
    EXPECT_EQ(formtest::PlacedRect(form, *Ctrl(3974)).Height(), static_cast<int>(5 * m_doc.GetYScale()));
    EXPECT_EQ(formtest::PlacedRect(form, *Ctrl(3977)).Height(), static_cast<int>(5 * m_doc.GetYScale()));
}
