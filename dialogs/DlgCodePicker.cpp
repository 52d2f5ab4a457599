#include "dialogs/DlgCodePicker.h"

#include "core/ECGXMLParser.h"
#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "core/TavrionMessage.h"
#include "dialogs/TextLengthGuard.h"
#include "platform/ui/windowing/ControlRecords.h"

IMPLEMENT_DYNAMIC(CDlgCodePicker, CDlgModal)

BEGIN_MESSAGE_MAP(CDlgCodePicker, CDlgModal)
    ON_COMMAND(IDOK, OnOK)
END_MESSAGE_MAP()

namespace {
constexpr int kAcronymLimit = 30;

CString ReadValue(CECGXMLParser& xml, const CString& path, int i)
{
    CString item;
    item.Format(L"%s[%d]", static_cast<LPCWSTR>(path), i);
    CString value;
    xml.GetDataFromXMLDOM(value, item, 2, L"value");
    return value;
}

CString ReadText(CECGXMLParser& xml, const CString& path, int i)
{
    CString item;
    item.Format(L"%s[%d]/%s", static_cast<LPCWSTR>(path), i, L"Japanese_text");
    CString text;
    xml.GetDataFromXMLDOM(text, item, 4, CString());
    return text;
}
}  // namespace

CDlgCodePicker::CDlgCodePicker(const _CODE_PICKER_STYLE& style, CWnd* pParent)
    : CDlgModal(style.nTemplate, pParent), m_style(style), m_pDoc(nullptr), m_nDocType(0)
{
}

CDlgCodePicker::~CDlgCodePicker() = default;

void CDlgCodePicker::SetDoc(CTavrionDoc* pDoc, int nDocType)
{
    m_pDoc = pDoc;
    m_nDocType = nDocType;
}

bool CDlgCodePicker::BelongsToGroup(const CString& code, const CString& group, bool byPrefix)
{
    if (byPrefix) return code.Left(group.GetLength()) == group;
    const int dash = code.Find(L'-');
    return (dash < 0 ? code : code.Left(dash)) == group;
}

BOOL CDlgCodePicker::OnInitDialog()
{
    CDlgModal::OnInitDialog();
    CString path;
    path.Format(L"%s\\%s", g_pWorkDir ? g_pWorkDir : L"", m_style.pszMaster);
    m_pXml = std::make_unique<CECGXMLParser>(path, m_pDoc ? m_pDoc->Is8000File() : 0, CString());
    m_treeGroup.SubclassDlgItem(m_style.nGroupTree, this);
    m_treeCode.SubclassDlgItem(m_style.nCodeTree, this);

    for (int id : {m_style.nGroupTree, m_style.nCodeTree, m_style.nAcronymEdit, m_style.nLabel, m_style.nAcronymLabel})
        if (CWnd* control = GetDlgItem(id); control && g_pDlgFontNormal) control->SetFont(g_pDlgFontNormal);
    SendDlgItemMessage(m_style.nAcronymEdit, EM_LIMITTEXT, kAcronymLimit);
    SetWindowText(m_style.pszCaption);
    SetDlgItemText(m_style.nLabel, m_style.pszLabel);
    SetDlgItemText(m_style.nAcronymLabel, L"略語入力");
    SetDlgItemText(m_style.nAcronymAdd, L"略語登録");
    SetDlgItemText(m_style.nAcronymList, L"略語一覧");
    SetDlgItemText(IDOK, L"OK");
    SetDlgItemText(IDCANCEL, L"取消");
    for (int id : {m_style.nAcronymEdit, m_style.nAcronymAdd, m_style.nAcronymList, m_style.nAcronymLabel}) {
        CWnd* control = GetDlgItem(id);
        if (!control) continue;
        if (id != m_style.nAcronymLabel) control->EnableWindow(FALSE);
        if (!m_style.bAcronymShown) control->ShowWindow(SW_HIDE);
    }
    FillGroups();
    return TRUE;
}

void CDlgCodePicker::FillGroups()
{
    m_treeGroup.DeleteAllItems();
    const int count = m_pXml->GetObjectCount(m_style.pszGroupPath);
    for (int i = 1; i <= count; ++i) {
        const CString value = ReadValue(*m_pXml, m_style.pszGroupPath, i);
        const CString text = ReadText(*m_pXml, m_style.pszGroupPath, i);
        CString item;
        if (m_style.bIndentLongGroups && value.GetLength() != 1)
            item.Format(L"  %s- %s", static_cast<LPCWSTR>(value), static_cast<LPCWSTR>(text));
        else
            item.Format(L"%s- %s", static_cast<LPCWSTR>(value), static_cast<LPCWSTR>(text));
        m_treeGroup.InsertItem(item);
    }
}

void CDlgCodePicker::FillCodes(const CString& groupItemText)
{
    CString text = groupItemText;
    text.TrimLeft(L' ');
    const int dash = text.Find(L'-');
    if (dash < 0) return;   // not a group item: the code tree keeps what it shows
    const CString group = text.Left(dash);
    // Painted once when filled rather than after every code: the same
    // picture, without a repaint per code while a group of a hundred fills.
    m_treeCode.SendMessage(WM_SETREDRAW, FALSE);
    m_treeCode.DeleteAllItems();
    const int count = m_pXml->GetObjectCount(m_style.pszCodePath);
    for (int i = 1; i <= count; ++i) {
        const CString code = ReadValue(*m_pXml, m_style.pszCodePath, i);
        if (!BelongsToGroup(code, group, m_style.bGroupByPrefix)) continue;
        CString item;
        item.Format(m_style.pszCodeFormat, static_cast<LPCWSTR>(code),
                    static_cast<LPCWSTR>(ReadText(*m_pXml, m_style.pszCodePath, i)));
        m_treeCode.InsertItem(item);
    }
    m_treeCode.SendMessage(WM_SETREDRAW, TRUE);
    m_treeCode.Invalidate();
    m_treeCode.UpdateWindow();
}

bool CDlgCodePicker::ChooseCode()
{
    HTREEITEM selected = m_treeCode.GetSelectedItem();
    if (!selected) {
        CTavrionMessage box(m_style.pszNoCode, 1, nullptr, nullptr, MB_OK);
        return false;
    }
    CString text = m_treeCode.GetItemText(selected);
    text.TrimLeft(L' ');
    const int blank = text.Find(L' ');
    m_strCode = blank < 0 ? CString() : text.Left(blank);
    return true;
}

void CDlgCodePicker::OnOK()
{
    if (ChooseCode()) EndDialog(IDOK);
}

BOOL CDlgCodePicker::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header && static_cast<int>(header->idFrom) == m_style.nGroupTree && header->code == TVN_SELCHANGED) {
        const auto* change = reinterpret_cast<const NMTREEVIEWW*>(lParam);
        if (change->itemNew.hItem) FillCodes(m_treeGroup.GetItemText(change->itemNew.hItem));
        return TRUE;
    }
    if (header && static_cast<int>(header->idFrom) == m_style.nCodeTree && header->code == NM_DBLCLK) {
        if (ChooseCode()) EndDialog(IDOK);
        return TRUE;
    }
    return CDlgModal::OnNotify(wParam, lParam, pResult);
}

BOOL CDlgCodePicker::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == m_style.nAcronymEdit && HIWORD(wParam) == EN_UPDATE) {
        if (CWnd* edit = GetDlgItem(m_style.nAcronymEdit)) GuardTextLength(*edit, kAcronymLimit);
        return TRUE;
    }
    return CDlgModal::OnCommand(wParam, lParam);
}
