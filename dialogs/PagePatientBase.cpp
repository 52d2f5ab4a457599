#include "dialogs/PagePatientBase.h"

#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "dialogs/DlgEditComment.h"
#include "dialogs/PatientPageFields.h"
#include "dialogs/TextLengthGuard.h"
#include "platform/ui/windowing/SystemSettings.h"

IMPLEMENT_DYNAMIC(CPagePatientBase, CPropertyPage)

CPagePatientBase::CPagePatientBase(UINT nIDTemplate, int nType)
    : CPropertyPage(nIDTemplate), m_pDoc(nullptr), m_nType(nType), m_pFont(nullptr)
{
    // Wide screens take the larger dialog font.
    m_pFont = GetSystemMetrics(SM_CXSCREEN) >= 1281 ? g_pDlgFontMiddle1 : g_pDlgFontNormal;
}

CPagePatientBase::~CPagePatientBase() = default;

void CPagePatientBase::SetDoc(CTavrionDoc* pDoc, int nType)
{
    m_pDoc = pDoc;
    m_nType = nType;
}

CString CPagePatientBase::CtrlData(UINT id) const
{
    CString text;
    if (m_pDoc && id) m_pDoc->GetCtrlData(id, text);
    return text;
}

CString CPagePatientBase::Text(int id) const
{
    CString text;
    if (CWnd* control = GetDlgItem(id)) control->GetWindowText(text);
    return text;
}

void CPagePatientBase::SetText(int id, const CString& text)
{
    CWnd* control = GetDlgItem(id);
    if (!control) return;
    control->SetWindowText(text);
    // Shown whole, however long: the field's limit guards only what is typed.
    NoteLoadedText(control);
}

void CPagePatientBase::SetControlFont(int id)
{
    CWnd* control = GetDlgItem(id);
    if (control && m_pFont) control->SetFont(m_pFont, TRUE);
}

void CPagePatientBase::ShowControl(int id, bool show)
{
    if (CWnd* control = GetDlgItem(id)) control->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

int CPagePatientBase::Selection(int id) const
{
    return static_cast<int>(const_cast<CPagePatientBase*>(this)->SendDlgItemMessage(id, CB_GETCURSEL));
}

CRect CPagePatientBase::ClientRectOf(int id) const
{
    CRect rect(0, 0, 0, 0);
    if (CWnd* control = GetDlgItem(id)) {
        control->GetWindowRect(&rect);
        ScreenToClient(&rect);
    }
    return rect;
}

void CPagePatientBase::LoadEdit(int id, const CString& text, int limit)
{
    SetText(id, text);
    SendDlgItemMessage(id, EM_LIMITTEXT, limit);
    SetControlFont(id);
}

void CPagePatientBase::LoadLabel(int id, const CString& text)
{
    SetText(id, text);
    SetControlFont(id);
}

void CPagePatientBase::LoadListChoice(int id, const CString& stored, ListMatch match)
{
    const UINT find = match == ListMatch::Exact ? CB_FINDSTRINGEXACT : CB_FINDSTRING;
    const LRESULT found =
        SendDlgItemMessage(id, find, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(stored.GetString()));
    const bool chosen = found != CB_ERR && (match == ListMatch::Exact || !stored.IsEmpty());
    if (chosen) {
        SendDlgItemMessage(id, CB_SETCURSEL, static_cast<WPARAM>(found));
        NoteLoadedText(GetDlgItem(id));
    } else
        SetText(id, stored);
    SetControlFont(id);
}

void CPagePatientBase::AddListEntries(CWnd& combo, int list)
{
    CStringArray* strings = m_pDoc ? m_pDoc->GetEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(list)) : nullptr;
    if (!strings) return;
    for (int i = 0; i < strings->GetSize(); ++i)
        combo.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strings->GetAt(i).GetString()));
}

void CPagePatientBase::ShowSubAge(int selection, int subAge, int subAgeUnit, bool displayOnly)
{
    if (selection >= 4) {
        ShowControl(subAge, false);
        ShowControl(subAgeUnit, false);
        SetText(subAge, CString());
        SetText(subAgeUnit, CString());
    } else if (!displayOnly) {
        ShowControl(subAge, true);
        ShowControl(subAgeUnit, true);
        SetText(subAgeUnit, SubAgeUnitAfter(selection));
    }
}

bool CPagePatientBase::EditComment(int comment, unsigned int systemCode)
{
    CDlgEditComment editor(m_pDoc ? m_pDoc->Is8000File() : 0, nullptr);
    editor.SetDoc(m_nType, systemCode);
    CString text = Text(comment);
    text.TrimRight();
    editor.SetComment(text);
    if (editor.DoModal() != IDOK) return false;
    SetText(comment, editor.GetComment());
    return true;
}

void CPagePatientBase::OnUpdateEdit(UINT id)
{
    GuardEditToItsLimit(GetDlgItem(static_cast<int>(id)));
}

void CPagePatientBase::OnEditupdateCombo(UINT id)
{
    GuardComboToItsLimit(GetDlgItem(static_cast<int>(id)));
}
