#include <gtest/gtest.h>

#include "controls/MultiEdit.h"
#include "core/PositionCtrl.h"
#include "forms/FormInterpreExer.h"
#include "tests/documents/ExerViewDocFixture.h"
#include "tests/forms/FormTestSupport.h"
#include "tests/support/ModalScript.h"
#include "tests/support/TestSupport.h"

namespace {

using testsupport::ControlText;

class ExerForm : public exertest::ExerDocument {
protected:
    void SetUp() override
    {
        exertest::ExerDocument::SetUp();
        m_doc.m_bAutoDelete = FALSE;
        platform::ui::Desktop::Reset();
        m_screen.Use(m_doc, 1024, 768);
        m_doc.GetCtrlPosFromXSL(LOAD_POS_EXER);
        m_files = Write(exertest::DefaultOptions());
        ASSERT_EQ(Open(m_doc, m_files), 0);
    }
    void TearDown() override
    {
        m_host.Close();
        exertest::ExerDocument::TearDown();
    }
    CFormInterpreExer& Show(int width = 640, int height = 400)
    {
        auto* form = m_host.Show(m_doc, DOC_TYPE_EXER, RUNTIME_CLASS(CFormInterpreExer), width, height);
        EXPECT_NE(form, nullptr);
        return *form;
    }
    _POSITION_CTRL* Table() { return m_doc.GetDefCtrlPos()->stExer; }
    CWnd* Ctrl(UINT id) { return m_host.form->GetDlgItem(id); }
    int Top(UINT id) { return formtest::PlacedRect(*m_host.form, *Ctrl(id)).top; }

    CExerViewDoc m_doc;
    exertest::ExerFiles m_files;
    formtest::ScopedScreen m_screen;
    formtest::FormHost<CFormInterpreExer> m_host;
};

}  // namespace

TEST_F(ExerForm, EveryControlIsCreatedAtItsLayoutRowOnTheDesignScreen)
{
    CFormInterpreExer& form = Show();
    const std::vector<CCheckUI>& entries = form.GetCheckUIEntries();
    ASSERT_EQ(entries.size(), static_cast<size_t>(CFormInterpreExer::kRowCount));
    static const int kComboRows[] = {1, 3, 5, 7, 9, 11, 13, 15, 21, 37};
    for (int i = 0; i < CFormInterpreExer::kRowCount; ++i) {
        const CRect created = entries[i].GetRect();
        EXPECT_EQ(created.TopLeft(), CPoint(Table()[i].nLeft, Table()[i].nTop)) << i;
        EXPECT_EQ(created.Width(), Table()[i].nWidth) << i;
        if (std::find(std::begin(kComboRows), std::end(kComboRows), i) == std::end(kComboRows)) {
            EXPECT_EQ(created.Height(), Table()[i].nHeight) << i;
        }
    }
}

TEST_F(ExerForm, AHiddenRowClosesUpItsOwnColumnOnly)
{
    Show();
    const int symptom = Top(4023), protocolRow2 = Top(4040), comment = Top(4056);
    m_host.Close();
    Table()[2].bVisible = 0;    // medication 2 label
    Table()[3].bVisible = 0;    // and its combo box
    Table()[15].bVisible = 0;   // the last request row closes up nothing
    Show();
    EXPECT_EQ(symptom - Top(4023), Table()[4].nTop - Table()[2].nTop);
    EXPECT_EQ(Top(4040), protocolRow2);
    EXPECT_EQ(Top(4056), comment);
    EXPECT_FALSE(formtest::IsShown(Ctrl(4033)));
}

TEST_F(ExerForm, TheConfirmationShowsOnceConfirmedWhateverTheTable)
{
    Table()[43].bVisible = 0;
    m_doc.GetCurrentDataItem()->stPatient.bConfirmed = 0;
    Show();
    EXPECT_FALSE(formtest::IsShown(Ctrl(4061)));
    m_host.Close();
    m_doc.GetCurrentDataItem()->stPatient.bConfirmed = 1;
    Show();
    EXPECT_EQ(formtest::PlacedRect(*m_host.form, *Ctrl(4061)).top, Table()[43].nTop);
}

TEST_F(ExerForm, ControlsStopShortOfTheClientsRightEdge)
{
    CFormInterpreExer& form = Show(500, 400);
    CRect client;
    form.GetClientRect(&client);
    ASSERT_GT(Table()[25].nLeft + Table()[25].nWidth, client.right - 3);
    EXPECT_EQ(formtest::PlacedRect(form, *Ctrl(4046)).right, client.right - 3);   // the share of the maximum rate
    EXPECT_EQ(formtest::PlacedRect(form, *Ctrl(4019)).Width(), Table()[1].nWidth);   // fits: untouched
    m_host.Close();
    CFormInterpreExer& narrow = Show(300, 400);   // starts past the edge: no width, never a negative one
    EXPECT_EQ(formtest::PlacedRect(narrow, *Ctrl(4046)).Width(), 0);
}

TEST_F(ExerForm, EveryLayoutRunsOneRecheckPassAndNoneWithoutAnItem)
{
    CFormInterpreExer& form = Show();
    const int passes = form.GetLayoutPasses();
    form.MoveCtrl(1);
    EXPECT_EQ(form.GetLayoutPasses() - passes, 2);
    m_doc.SetCurDataIndex(-1);
    form.MoveCtrl(1);
    EXPECT_EQ(form.GetLayoutPasses() - passes, 2);
}

TEST_F(ExerForm, TheCommentTakes180CharactersAndTheJudgementShowsItsCode)
{
    CFormInterpreExer& form = Show();
    form.GetCommentEdit()->SetFocus();
    platform::ui::Desktop::PumpMessages();
    ::SendMessage(::GetFocus(), EM_SETSEL, 0, -1);
    platform::ui::Desktop::TypeText(CString(L'a', 200));
    CString typed;
    form.GetCommentEdit()->GetEditFace().GetWindowText(typed);
    EXPECT_EQ(typed.GetLength(), 180);   // columns: a double-byte character counts two
    form.SendMessage(WM_BOUND_COMBO_CHANGED, 4036, 0);
    EXPECT_EQ(ControlText(form, 4035), L"J1");
}

// The box keeps while typing what the document saves of it: three lines of
// 60 columns, each character counted by the width it is drawn with.
TEST_F(ExerForm, TheCommentBoxIsCutWhileTypingToWhatTheSaveKeeps)
{
    CFormInterpreExer& form = Show();
    const struct {
        CString typed;
        CString kept;
    } cases[] = {
        {CString(L'这', 120), CString(L'这', 90)},   // Shift-JIS lacks it, code page 936 takes two bytes
        {CString(L'한', 91), CString(L'한', 90)},     // in neither, drawn full width
        {L"a" + CString(L'漢', 89) + L"b", L"a" + CString(L'漢', 89)},   // the third line is full before "b"
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testsupport::Utf8(c.typed));
        form.GetCommentEdit()->SetFocus();
        platform::ui::Desktop::PumpMessages();
        ::SendMessage(::GetFocus(), EM_SETSEL, 0, -1);
        platform::ui::Desktop::TypeText(c.typed);
        CString shown;
        form.GetCommentEdit()->GetEditFace().GetWindowText(shown);
        EXPECT_EQ(shown, c.kept);
        ASSERT_EQ(m_doc.SaveDataToXML(m_doc.GetCurDataIndex()), 0);
        CExerViewDoc reread;
        ASSERT_EQ(Open(reread, m_files), 0);
        CString saved = reread.GetCurrentDataItem()->stInterpre.strComment;
        saved.Remove(L'\r');
        saved.Remove(L'\n');
        EXPECT_EQ(saved, shown);
    }
}

// A comment stored as three full lines is edited in place: one Backspace
// keeps every other character (the breaks between the lines take no room
// in its limit), and the character typed back fills the line again.
TEST_F(ExerForm, OneBackspaceInAStoredFullCommentKeepsEveryOtherCharacter)
{
    for (const wchar_t ch : {L'a', L'这'}) {
        SCOPED_TRACE(static_cast<int>(ch));
        const int perLine = ch == L'a' ? 60 : 30;
        const CString line(ch, perLine);
        _EXERDATAITEM* item = m_doc.GetCurrentDataItem();
        item->stInterpre.strComment = line + L"\r\n" + line + L"\r\n" + line;
        m_doc.SetCtrlContent(nullptr);
        ASSERT_EQ(m_doc.SaveDataToXML(m_doc.GetCurDataIndex()), 0);
        CFormInterpreExer& form = Show();
        auto saved = [&] {
            EXPECT_EQ(m_doc.SaveDataToXML(m_doc.GetCurDataIndex()), 0);
            CExerViewDoc reread;
            EXPECT_EQ(Open(reread, m_files), 0);
            return reread.GetCurrentDataItem() ? reread.GetCurrentDataItem()->stInterpre.strComment : CString();
        };
        form.GetCommentEdit()->SetFocus();
        platform::ui::Desktop::PumpMessages();
        platform::ui::Desktop::KeyPress(VK_END, platform::ui::kControl);
        platform::ui::Desktop::KeyPress(VK_BACK);
        platform::ui::Desktop::PumpMessages();
        const CString shortened = line + L"\r\n" + line + L"\r\n" + CString(ch, perLine - 1);
        CString shown;
        form.GetCommentEdit()->GetEditFace().GetWindowText(shown);
        EXPECT_EQ(testsupport::Utf8(shown), testsupport::Utf8(shortened));
        EXPECT_EQ(testsupport::Utf8(saved()), testsupport::Utf8(shortened));
        const wchar_t again[] = {ch, 0};
        platform::ui::Desktop::TypeText(again);
        form.GetCommentEdit()->GetEditFace().GetWindowText(shown);
        EXPECT_EQ(testsupport::Utf8(shown), testsupport::Utf8(line + L"\r\n" + line + L"\r\n" + line));
        EXPECT_EQ(testsupport::Utf8(saved()), testsupport::Utf8(line + L"\r\n" + line + L"\r\n" + line));
        m_host.Close();
    }
}

// A comment whose lines are full, or whose last line is short after two
// full ones, takes no letter at its start: the letter would push text past
// the third line (it once was taken, the lines rewrapped and the end of the
// last line dropped from the save without a sign). The text stays as
// stored, and so does the save.
TEST_F(ExerForm, ALetterThatWouldPushTheCommentPastItsThirdLineIsRefusedAndTheSaveKeepsItAsStored)
{
    const CString shortLast = CString(L'A', 60) + L"\r\n" + CString(L'B', 60) + L"\r\nCCCCC";
    const CString wide = CString(L'漢', 30) + L"\r\n" + CString(L'这', 30) + L"\r\n" + CString(L'한', 30);
    for (const CString& stored : {shortLast, wide}) {
        SCOPED_TRACE(testsupport::Utf8(stored));
        m_doc.GetCurrentDataItem()->stInterpre.strComment = stored;
        m_doc.SetCtrlContent(nullptr);
        ASSERT_EQ(m_doc.SaveDataToXML(m_doc.GetCurDataIndex()), 0);
        CFormInterpreExer& form = Show();
        form.GetCommentEdit()->SetFocus();
        platform::ui::Desktop::PumpMessages();
        platform::ui::Desktop::KeyPress(VK_HOME, platform::ui::kControl);
        platform::ui::Desktop::TypeText(L"Z");
        platform::ui::Desktop::KeyPress(VK_RETURN);
        platform::ui::Desktop::PumpMessages();
        CString shown;
        form.GetCommentEdit()->GetEditFace().GetWindowText(shown);
        EXPECT_EQ(testsupport::Utf8(shown), testsupport::Utf8(stored));
        ASSERT_EQ(m_doc.SaveDataToXML(m_doc.GetCurDataIndex()), 0);
        CExerViewDoc reread;
        ASSERT_EQ(Open(reread, m_files), 0);
        EXPECT_EQ(testsupport::Utf8(reread.GetCurrentDataItem()->stInterpre.strComment), testsupport::Utf8(stored));
        m_host.Close();
    }
}

// The box shows a stored comment without the empty lines it is kept with:
// a character typed and taken back again leaves it as stored, no edit.
TEST_F(ExerForm, ACommentTypedBackToWhatWasStoredIsNoEdit)
{
    m_doc.GetCurrentDataItem()->stInterpre.strComment = L"所見あり\r\n\r\n";
    m_doc.SetCtrlContent(nullptr);
    CFormInterpreExer& form = Show();
    form.GetCommentEdit()->SetFocus();
    platform::ui::Desktop::PumpMessages();
    platform::ui::Desktop::KeyPress(VK_END, platform::ui::kControl);
    platform::ui::Desktop::TypeText(L"x");
    EXPECT_NE(m_doc.IsEidtChange(), 0);
    platform::ui::Desktop::KeyPress(VK_BACK);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(m_doc.IsEidtChange(), 0);
}

TEST_F(ExerForm, ARefusedBackwardJumpWrapsToTheCommentBox)
{
    CFormInterpreExer& form = Show();
    Ctrl(4019)->SetFocus();
    platform::ui::Desktop::KeyPress(VK_TAB, platform::ui::kShift);
    platform::ui::Desktop::PumpMessages();
    ASSERT_EQ(m_host.pane.Count(WM_FORM_TAB_END), 1);
    EXPECT_EQ(m_host.pane.LastChain(), (std::array<int, 3>{2, 1, 0}));
    CWnd* focus = CWnd::GetFocus();
    EXPECT_TRUE(focus == form.GetCommentEdit() || (focus && focus->GetParent() == form.GetCommentEdit()));
    // Forwards from the comment box: back to the first field.
    platform::ui::Desktop::KeyPress(VK_TAB);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(m_host.pane.LastChain(), (std::array<int, 3>{2, 2, 0}));
    focus = CWnd::GetFocus();
    EXPECT_TRUE(focus == Ctrl(4019) || (focus && focus->GetParent() == Ctrl(4019)));
}
