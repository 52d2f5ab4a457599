#include "dialogs/DlgDoctor.h"

#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "dialogs/PromptText.h"

IMPLEMENT_DYNAMIC(CDlgDoctor, CDlgModal)

BEGIN_MESSAGE_MAP(CDlgDoctor, CDlgModal)
    ON_COMMAND(IDOK, OnOK)
END_MESSAGE_MAP()

namespace {
constexpr int kLabel = 3486;
constexpr int kNames = 3487;
constexpr int kByDoctor = 3488;
constexpr int kBySubstitute = 3489;
}  // namespace

CDlgDoctor::CDlgDoctor(CWnd* pParent) : CDlgModal(IDD, pParent), m_pDoc(nullptr), m_bSubstitute(0)
{
}

CDlgDoctor::~CDlgDoctor() = default;

BOOL CDlgDoctor::OnInitDialog()
{
    CDlgModal::OnInitDialog();
    ShowText();
    CheckRadioButton(kByDoctor, kBySubstitute, g_bSubstitute ? kBySubstitute : kByDoctor);
    for (int id : {kByDoctor, kBySubstitute})
        if (CWnd* option = GetDlgItem(id)) option->EnableWindow(g_bEditSubstituteMode ? TRUE : FALSE);
    m_bSubstitute = IsDlgButtonChecked(kBySubstitute) == BST_CHECKED ? 1 : 0;
    return TRUE;
}

void CDlgDoctor::ShowText()
{
    SetWindowText(L"更新(判読医師名入力)");
    SetPromptText(*this, kLabel, L"判読医師名");
    SetPromptText(*this, kByDoctor, L"医師による入力");
    SetPromptText(*this, kBySubstitute, L"医師の代理入力");
    SetPromptText(*this, IDOK, L"OK");
    SetPromptText(*this, IDCANCEL, L"取消");
    FillNameList(*this, kNames, m_pDoc ? m_pDoc->GetEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(9)) : nullptr);
}

void CDlgDoctor::OnOK()
{
    if (CWnd* names = GetDlgItem(kNames)) names->GetWindowText(m_strDoctorName);
    m_bSubstitute = IsDlgButtonChecked(kBySubstitute) == BST_CHECKED ? 1 : 0;
    g_bSubstitute = m_bSubstitute;
    EndDialog(IDOK);
}
