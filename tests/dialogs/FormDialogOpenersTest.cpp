// The comment phrase editor as a form opens it from its comment button: it
// comes up holding the comment the form shows, and OK without a change
// leaves the comment as it was, down to the record saved from the form.
#include <gtest/gtest.h>

#include "dialogs/DlgEditComment.h"
#include "forms/FormInterpre.h"
#include "forms/FormDialogs.h"
#include "controls/MultiEdit.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/forms/RestFormTestSupport.h"
#include "tests/support/ModalScript.h"

namespace {

using morvelance::rec::RecordKind;
using platform::ui::Desktop;

constexpr UINT kCommentButton = 3158;
constexpr int kEditorBox = 3769;

class FormCommentEditor : public formtest::RestFormFixture<CFormInterpre> {
protected:
    CFormInterpre& ShowRecord()
    {
        m_item = AddRecord("comment", resttest::Shape(RecordKind::Rest12));
        EXPECT_EQ(Open(m_item), 0);
        CFormInterpre* form = m_host.Show(m_doc, DOC_TYPE_REST, RUNTIME_CLASS(CFormInterpre), 540, 700);
        EXPECT_NE(form, nullptr);
        return *form;
    }
    // The comment the form shows, without the blanks that trail it.
    static CString Comment(CFormInterpre& form)
    {
        CString text;
        form.GetCommentEdit()->GetEditFace().GetWindowText(text);
        text.TrimRight(L' ');
        return text;
    }
    // The person types the lines over the form's comment and leaves it.
    void TypeComment(CFormInterpre& form, std::initializer_list<LPCWSTR> lines)
    {
        form.GetCommentEdit()->SetFocus();
        Desktop::PumpMessages();
        ::SendMessage(::GetFocus(), EM_SETSEL, 0, -1);
        bool first = true;
        for (LPCWSTR line : lines) {
            if (!first) Desktop::KeyPress(VK_RETURN);
            Desktop::TypeText(line);
            first = false;
        }
        form.GetDlgItem(3043)->SetFocus();
        Desktop::PumpMessages();
    }

    _RESTDATAITEM* m_item = nullptr;
};

}  // namespace

TEST_F(FormCommentEditor, TheEditorOpenedFromTheFormShowsTheStoredCommentAndOkWithoutAChangeKeepsIt)
{
    CFormInterpre& form = ShowRecord();
    TypeComment(form, {L"洞調律", L"経過観察"});
    const CString before = Comment(form);
    ASSERT_NE(before.Find(L"洞調律"), -1);
    ASSERT_NE(before.Find(L"経過観察"), -1);

    CString shown = L"<not opened>";
    testsupport::ModalScript script;
    script.On(CDlgEditComment::IDD, [&](CDialog& editor) {
        shown = testsupport::ControlText(editor, kEditorBox);
        // OK as a person presses it: the editor hands back what its box holds.
        testsupport::ClickControl(editor, IDOK);
    });
    form.GetDlgItem(kCommentButton)->SendMessage(BM_CLICK);
    Desktop::PumpMessages();
    ASSERT_EQ(script.Seen(), std::vector<UINT>{CDlgEditComment::IDD});
    EXPECT_EQ(shown, before);
    EXPECT_EQ(Comment(form), before);
}

TEST_F(FormCommentEditor, ThroughTheFormsOpenerTheEditorTakesTheCommentAndGivesBackItsEdit)
{
    CFormInterpre& form = ShowRecord();
    CString comment = L"ST低下あり";
    CString shown;
    testsupport::ModalScript script;
    script.On(CDlgEditComment::IDD, [&](CDialog& editor) {
        shown = testsupport::ControlText(editor, kEditorBox);
        testsupport::ClickControl(editor, IDOK);
    });
    EXPECT_EQ(CFormDialogs::EditComment(&form, 0, DOC_TYPE_REST, 0, comment), IDOK);
    EXPECT_EQ(shown, L"ST低下あり");
    EXPECT_EQ(comment, L"ST低下あり");

    // Cancelled, the comment stays whatever was typed in the box.
    script.On(CDlgEditComment::IDD, [&](CDialog& editor) {
        editor.SetDlgItemText(kEditorBox, L"書き換え");
        testsupport::ClickControl(editor, IDCANCEL);
    });
    EXPECT_EQ(CFormDialogs::EditComment(&form, 0, DOC_TYPE_REST, 0, comment), IDCANCEL);
    EXPECT_EQ(comment, L"ST低下あり");
}
