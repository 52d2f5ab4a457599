#include "forms/FormInterpreBase.h"

#include "core/UserMessages.h"

#include "controls/ButtonST.h"
#include "core/ECGXMLParser.h"
#include "core/Globals.h"
#include "core/TavrionDoc.h"

IMPLEMENT_DYNAMIC(CFormInterpreBase, CFormEx)

namespace {
constexpr int kBackgroundSlot = 20;
constexpr int kButtonTextSlot = 25;

CString MasterPath(const wchar_t* name)
{
    CString path;
    path.Format(L"%s\\%s", g_pWorkDir ? g_pWorkDir : L"", name);
    return path;
}
}  // namespace

CFormInterpreBase::CFormInterpreBase() : CFormEx(), m_nAdditionRowHeight(16)
{
}

CFormInterpreBase::CFormInterpreBase(UINT nIDTemplate) : CFormEx(nIDTemplate), m_nAdditionRowHeight(16)
{
}

CFormInterpreBase::~CFormInterpreBase() = default;

void CFormInterpreBase::OnInitialUpdate()
{
    CFormEx::OnInitialUpdate();
    const int mode = m_pDoc ? m_pDoc->Is8000File() : 0;
    // Opened again at every initial update: a modified record may come with
    // a changed installation, and one parser per master is kept.
    m_pIvrelXml = std::make_unique<CECGXMLParser>(MasterPath(L"Ivrel12.xml"), mode, CString());
    m_pMinneXml = std::make_unique<CECGXMLParser>(MasterPath(L"Minesota_mst.xml"), mode, CString());
}

void CFormInterpreBase::InsertEditableParam(_EDITABLE_PARAM_INDEX index, UINT uCtrlId)
{
    CWnd* combo = GetDlgItem(static_cast<int>(uCtrlId));
    if (!combo) return;
    combo->SendMessage(CB_RESETCONTENT);
    const CStringArray* list = m_pDoc ? m_pDoc->GetEditableParam(index) : nullptr;
    if (!list) return;
    for (INT_PTR i = 0; i < list->GetSize(); ++i)
        combo->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(list->GetAt(i))));
}

void CFormInterpreBase::InitCheckUIArray()
{
}

void CFormInterpreBase::LimitCtrl()
{
}

void CFormInterpreBase::MoveGroupCtrls()
{
}

void CFormInterpreBase::UpdateButtonColor(CButtonST* pButton)
{
    CTavrionDoc* doc = GetViewDoc();
    if (!pButton || !doc) return;
    const COLORREF face = doc->GetWaveColor(kBackgroundSlot, 0);
    const COLORREF text = doc->GetWaveColor(kButtonTextSlot, 0);
    for (BYTE slot = 0; slot < 6; slot += 2) {
        pButton->SetColor(slot, face, TRUE);
        pButton->SetColor(static_cast<BYTE>(slot + 1), text, TRUE);
    }
}

int CFormInterpreBase::IsIVRELCodeValid(unsigned char mask)
{
    for (int n = 0; n <= 3; ++n) {
        const unsigned low = (1u << (n + 1)) - 1;   // bits 0 to n
        if ((mask & (1u << (4 + n))) && (mask & low)) return 0;
    }
    return 1;
}

void CFormInterpreBase::FillJudgementList(UINT uComboId)
{
    SendDlgItemMessage(uComboId, CB_RESETCONTENT);
    if (!m_pIvrelXml) return;
    const int count = m_pIvrelXml->GetObjectCount(L"/Ivrel/Judgement_code/Code");
    for (int i = 1; i <= count; ++i) {
        CString path, text;
        path.Format(L"%s[%d]/%s", L"/Ivrel/Judgement_code/Code", i, L"Japanese_text");
        m_pIvrelXml->GetDataFromXMLDOM(text, path, 4, CString());
        SendDlgItemMessage(uComboId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.GetString()));
    }
}

void CFormInterpreBase::ShowJudgementCode(UINT uCodeId, int index)
{
    CWnd* code = GetDlgItem(uCodeId);
    if (!code || index < 0) return;
    CString path, value;
    path.Format(L"%s[%d]", L"/Ivrel/Judgement_code/Code", index + 1);
    if (m_pIvrelXml) m_pIvrelXml->GetDataFromXMLDOM(value, path, 2, L"value");
    code->SetWindowText(value);
    code->SendMessage(WM_BOUND_CONTROL_RELOAD);
}
