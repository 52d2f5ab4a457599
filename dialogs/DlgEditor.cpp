#include "dialogs/DlgEditor.h"

#include "core/AnnoEditStamp.h"
#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "dialogs/PromptText.h"

IMPLEMENT_DYNAMIC(CDlgEditor, CDlgModal)

BEGIN_MESSAGE_MAP(CDlgEditor, CDlgModal)
    ON_COMMAND(IDOK, OnOK)
END_MESSAGE_MAP()

namespace {
constexpr int kLabel = 3484;
constexpr int kNames = 3485;
constexpr int kNameLimit = 20;   // characters

// The core's annotation stamp cannot see this dialog; it is handed down
// while the library loads.
const bool g_bPromptInstalled = (SetEditorNamePrompt(&CDlgEditor::AskEditorName), true);
}  // namespace

bool CDlgEditor::AskEditorName(CWnd* pParent, CTavrionDoc* pDoc, CString& name)
{
    CDlgEditor dialog(pParent);
    dialog.SetDoc(pDoc);
    if (dialog.DoModal() != IDOK) return false;
    name = dialog.GetEditorName();
    return true;
}

CDlgEditor::CDlgEditor(CWnd* pParent) : CDlgModal(IDD, pParent), m_pDoc(nullptr)
{
}

CDlgEditor::~CDlgEditor() = default;

BOOL CDlgEditor::OnInitDialog()
{
    CDlgModal::OnInitDialog();
    ShowText();
    CWnd* names = GetDlgItem(kNames);
    if (!names) return TRUE;
    names->SendMessage(CB_LIMITTEXT, kNameLimit);
    names->SendMessage(CB_SETCURSEL, 0);
    names->SetFocus();
    return TRUE;
}

void CDlgEditor::ShowText()
{
    SetWindowText(L"入力・編集");
    SetPromptText(*this, kLabel, L"編集者");
    SetPromptText(*this, IDOK, L"OK");
    SetPromptText(*this, IDCANCEL, L"取消");
    FillNameList(*this, kNames, m_pDoc ? m_pDoc->GetEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(10)) : nullptr);
}

void CDlgEditor::OnOK()
{
    if (CWnd* names = GetDlgItem(kNames)) names->GetWindowText(m_strEditorName);
    EndDialog(IDOK);
}
