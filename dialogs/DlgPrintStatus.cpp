#include "dialogs/DlgPrintStatus.h"

#include "core/Globals.h"
#include "core/TavrionDoc.h"

IMPLEMENT_DYNAMIC(CDlgPrintStatus, CDialog)

BEGIN_MESSAGE_MAP(CDlgPrintStatus, CDialog)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

namespace {
constexpr int kStatusLine = 3771;

void ClearCancelFlags(CTavrionDoc* doc)
{
    if (!doc) return;
    doc->SetPrintCancel(0);
    g_bPrintAbort = 0;
}
}  // namespace

CDlgPrintStatus::CDlgPrintStatus(CWnd* pParent) : CDialog(IDD, pParent), m_pDoc(nullptr)
{
}

CDlgPrintStatus::~CDlgPrintStatus() = default;

void CDlgPrintStatus::SetECGDoc(CTavrionDoc* pDoc)
{
    m_pDoc = pDoc;
    ClearCancelFlags(m_pDoc);
}

void CDlgPrintStatus::SetStatusText(const CString& text)
{
    SetDlgItemText(kStatusLine, text);
}

BOOL CDlgPrintStatus::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(L"ﾚﾎﾟｰﾄ印刷");
    SetDlgItemText(IDCANCEL, L"取消");
    if (g_pDlgFontNormal) {
        SetFont(g_pDlgFontNormal);
        for (int id : {IDCANCEL, kStatusLine})
            if (CWnd* control = GetDlgItem(id)) control->SetFont(g_pDlgFontNormal);
    }
    CenterWindow();
    ClearCancelFlags(m_pDoc);
    return TRUE;
}

void CDlgPrintStatus::OnCancel()
{
    if (m_pDoc) {
        g_bPrintAbort = 1;
        m_pDoc->SetPrintCancel(1);
    }
    CDialog::OnCancel();
}
