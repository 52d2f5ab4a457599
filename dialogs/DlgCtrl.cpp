#include "dialogs/DlgCtrl.h"

#include <cwchar>

#include "core/TavrionDoc.h"

BEGIN_MESSAGE_MAP(CDlgCtrl, CDialog)
    ON_WM_CTLCOLOR()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {
constexpr int kFrameSlot = 26;       // Text_color/Frame
constexpr int kFrameTextSlot = 27;   // Text_color/Frame_text

// The three labels of the divider strip, coloured like its three dividers.
COLORREF DividerLabelColor(int id, bool& found)
{
    found = true;
    switch (id) {
    case 3571: return RGB(0, 0, 255);
    case 3572: return RGB(46, 139, 87);
    case 3573: return RGB(255, 0, 0);
    default: found = false; return 0;
    }
}

// The notifications a combo box sends while its list closes: the choice
// made or dropped, then the close itself.
bool IsComboListNews(WPARAM wParam, LPARAM lParam)
{
    const UINT code = HIWORD(wParam);
    if (code != CBN_SELCHANGE && code != CBN_SELENDOK && code != CBN_SELENDCANCEL && code != CBN_CLOSEUP)
        return false;
    const HWND control = reinterpret_cast<HWND>(lParam);
    wchar_t name[16] = {};
    return control && ::GetClassName(control, name, 16) > 0 && std::wcscmp(name, WC_COMBOBOX) == 0;
}
}  // namespace

CDlgCtrl::CDlgCtrl(int nIDTemplate, CWnd* pParent)
    : CDialog(static_cast<UINT>(nIDTemplate), pParent), m_pBkBrush(nullptr), m_pDoc(nullptr)
{
    m_pBkBrush = new CBrush;
    m_pBkBrush->CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
}

CDlgCtrl::~CDlgCtrl()
{
    delete m_pBkBrush;
}

void CDlgCtrl::CreateBrush(COLORREF color)
{
    delete m_pBkBrush;
    m_pBkBrush = new CBrush;
    m_pBkBrush->CreateSolidBrush(color);
}

BOOL CDlgCtrl::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // The pane hears every command first. Enter or Escape held down means a
    // key press made the command: the panel must not close or cancel itself.
    // A combo box's list closing on those keys is the combo box's own news,
    // not the panel closing: the panel still answers it as any other close.
    if (CWnd* parent = GetParent()) parent->SendMessage(WM_COMMAND, wParam, lParam);
    if ((::GetKeyState(VK_RETURN) < 0 || ::GetKeyState(VK_ESCAPE) < 0) && !IsComboListNews(wParam, lParam))
        return TRUE;
    return CDialog::OnCommand(wParam, lParam);
}

void CDlgCtrl::DoDataExchange(CDataExchange*)
{
}

HBRUSH CDlgCtrl::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH result = CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    pDC->SetBkMode(TRANSPARENT);
    if (!m_pDoc) return result;

    const COLORREF frame = m_pDoc->GetWaveColor(kFrameSlot, 0);
    const COLORREF frameText = m_pDoc->GetWaveColor(kFrameTextSlot, 0);
    bool listBox = false;
    if (m_pBkBrush) {
        if (nCtlColor == CTLCOLOR_LISTBOX) {
            result = ControlBrush(frame);
            pDC->SetTextColor(frameText);
            listBox = true;
        } else {
            result = static_cast<HBRUSH>(*m_pBkBrush);
        }
    }
    if (!listBox && (nCtlColor == CTLCOLOR_EDIT || nCtlColor == CTLCOLOR_DLG || nCtlColor == CTLCOLOR_STATIC)) {
        pDC->SetBkColor(frame);
        pDC->SetTextColor(frameText);
        result = ControlBrush(frame);
    }
    bool labelled = false;
    const COLORREF label = DividerLabelColor(pWnd ? pWnd->GetDlgCtrlID() : 0, labelled);
    if (labelled) pDC->SetTextColor(label);
    return result;
}

void CDlgCtrl::OnDestroy()
{
    CDialog::OnDestroy();
    delete m_pBkBrush;
    m_pBkBrush = nullptr;
    m_ctrlBrushes.clear();
}

HBRUSH CDlgCtrl::ControlBrush(COLORREF color)
{
    std::unique_ptr<CBrush>& brush = m_ctrlBrushes[color];
    if (!brush) {
        brush = std::make_unique<CBrush>();
        brush->CreateSolidBrush(color);
    }
    return static_cast<HBRUSH>(*brush);
}
