#include "dialogs/DlgExerLeadSelection.h"

#include "core/ECGXMLParser.h"
#include "core/TavrionMessage.h"
#include "dialogs/EditingOk.h"
#include "dialogs/XmlPathMaker.h"
#include "documents/ExerDataItem.h"

IMPLEMENT_DYNAMIC(CDlgExerLeadSelection, CDlgModal)

BEGIN_MESSAGE_MAP(CDlgExerLeadSelection, CDlgModal)
    ON_COMMAND(IDOK, OnOK)
END_MESSAGE_MAP()

namespace {
constexpr wchar_t kSixLeads[] = L"/Rawdata/Assist_info/Reference/Setting/Lead_selection/Lead_6ch";
constexpr wchar_t kOneLead[] = L"/Rawdata/Assist_info/Reference/Setting/Lead_selection/Lead_1ch";
}  // namespace

CDlgExerLeadSelection::CDlgExerLeadSelection(UINT nIDTemplate, _EXERDATAITEM* pItem, CWnd* pParent)
    : CDlgModal(nIDTemplate, pParent), m_pItem(pItem), m_nTemplate(nIDTemplate)
{
}

CDlgExerLeadSelection::~CDlgExerLeadSelection() = default;

const CDlgExerLeadSelection::Form& CDlgExerLeadSelection::GetForm() const
{
    static const Form kSix = {{4193, 4194, 4195, 4196, 4197, 4198, 4199, 4200, 4201, 4202, 4203, 4204}, kSixLeads, 63};
    static const Form kOne = {{4206, 4207, 4208, 4209, 4210, 4211, 4212, 4213, 4214, 4215, 4216, 4217}, kOneLead, 1};
    static const Form kChest = {{4212, 4214, 4217}, kOneLead, 1};
    if (m_nTemplate == 172) return kSix;
    if (m_nTemplate == 174) return kChest;
    return kOne;
}

bool CDlgExerLeadSelection::OpenXml()
{
    if (m_pXml) return true;
    if (!m_pItem || m_pItem->strXMLPath.IsEmpty()) return false;
    m_pXml = std::make_unique<CECGXMLParser>(m_pItem->strXMLPath, 0, CString());
    return true;
}

BOOL CDlgExerLeadSelection::OnInitDialog()
{
    CDlgModal::OnInitDialog();
    if (!OpenXml()) return FALSE;
    const Form& form = GetForm();
    CString text;
    const int value = m_pXml->GetDataFromXMLDOM(text, form.xpath, 4, CString()) && !text.IsEmpty()
                          ? _wtoi(text) & 0xFFFF
                          : form.defaultValue;
    for (int bit = 0; bit < 12; ++bit)
        if (form.buttons[bit]) CheckDlgButton(form.buttons[bit], (value >> bit) & 1 ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CDlgExerLeadSelection::ShowWarning(const wchar_t* text)
{
    CTavrionMessage box(text, 0, m_hWnd, L"警告", MB_OK | MB_ICONWARNING);
}

void CDlgExerLeadSelection::OnOK()
{
    // Without a record XML there is nowhere to store the choice: the pane
    // must not go on to read a setting that was never written.
    if (!OpenXml()) {
        EndDialog(IDCANCEL);
        return;
    }
    const Form& form = GetForm();
    int value = 0;
    int marked = 0;
    for (int bit = 0; bit < 12; ++bit) {
        if (!form.buttons[bit] || IsDlgButtonChecked(form.buttons[bit]) != BST_CHECKED) continue;
        value |= 1 << bit;
        ++marked;
    }
    if (m_nTemplate == 172 && marked > 6) {
        ShowWarning(L"選択された誘導数が６誘導を越えています \n\n 再度６つの誘導を選択してください");
        return;
    }
    if (m_nTemplate == 172 && marked < 6) {
        ShowWarning(L"６つの誘導を選択してください");
        return;
    }
    if (m_nTemplate == 173 && marked != 1) {
        ShowWarning(L"１つの誘導を選んでください。");
        return;
    }
    CString text;
    text.Format(L"%d", value);
    if (!EnsureElementPath(*m_pXml, form.xpath) || !m_pXml->SetDataToXMLDOM(text, form.xpath, 4, CString())) {
        EndDialog(IDCANCEL);
        return;
    }
    // The pane reads the setting back after OK: a choice that did not reach
    // the record XML is no choice made.
    m_pXml->SaveToXMLFile();
    // The user is told why the choice did not stay, as for every other save
    // of the record XML, rather than seeing the dialog close as if cancelled.
    if (m_pXml->m_bLastSaveFailed) CEditingOk::ReportFailedSave();
    EndDialog(m_pXml->m_bLastSaveFailed ? IDCANCEL : IDOK);
}
