#include "dialogs/DlgCommentCtrl.h"

#include "core/TextColumns.h"
#include "dialogs/WndShowComment.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/Font.h"
#include "platform/ui/framework/ClientDC.h"

IMPLEMENT_DYNAMIC(CDlgCommentCtrl, CDlgCtrl)

BEGIN_MESSAGE_MAP(CDlgCommentCtrl, CDlgCtrl)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

namespace {
constexpr int kLabelColumns = 12;
constexpr int kShortestCut = 6;
constexpr int kPopupColumns = 29;
constexpr int kRightMargin = 5;

int Columns(wchar_t c) { return GetCharColumns(static_cast<char32_t>(c)); }

bool IsAsciiLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

// The part before the first line break: a CR before it and blanks at its end go.
CString BeforeBreak(const CString& text)
{
    const int lf = text.Find(L'\n');
    if (lf < 0) return text;
    CString head = text.Left(lf);
    if (!head.IsEmpty() && head[head.GetLength() - 1] == L'\r') head = head.Left(head.GetLength() - 1);
    head.TrimRight();
    return head;
}
}  // namespace

CDlgCommentCtrl::CDlgCommentCtrl(CWnd* pParent) : CDlgCtrl(IDD, pParent) {}

CDlgCommentCtrl::~CDlgCommentCtrl() = default;

CString CDlgCommentCtrl::GetShortComment(const CString& text)
{
    if (text.IsEmpty()) return CString();
    if (text.GetLength() <= kShortestCut) return BeforeBreak(text);
    for (int count = kShortestCut + 1;; ++count) {
        const CString candidate = text.Left(count);
        if (candidate.Find(L'\n') >= 0) return BeforeBreak(candidate);
        // The width decides before the end of the text does: a short text
        // of wide characters must still fit the label.
        const int width = GetTextColumns(candidate);
        if (width > kLabelColumns) return candidate.Left(count - 1);
        if (width == kLabelColumns || candidate.GetLength() == text.GetLength()) return candidate;
    }
}

int CDlgCommentCtrl::CountCommentLines(const CString& comment)
{
    CString text = comment;
    text.Replace(L"\r\n", L"\n");
    const int n = text.GetLength();
    int lines = 0;
    int column = 0;
    int lineStart = 0;
    // Ends the line before index `next`; a word of letters it would split
    // moves whole to the next line when it is shorter than a line.
    auto endLine = [&](int next) {
        ++lines;
        column = 0;
        if (next < n && next > lineStart && IsAsciiLetter(text[next]) && IsAsciiLetter(text[next - 1])) {
            int start = next - 1;
            while (start > lineStart && IsAsciiLetter(text[start - 1])) --start;
            int end = next;
            while (end < n && IsAsciiLetter(text[end])) ++end;
            if (end - start < kPopupColumns && start > lineStart) next = start;
        }
        lineStart = next;
        return next;
    };
    int i = 0;
    while (i < n) {
        const wchar_t c = text[i];
        if (c == L'\n') {
            ++lines;
            column = 0;
            lineStart = ++i;
            continue;
        }
        const int width = Columns(c);
        if (column > 0 && column + width > kPopupColumns) {
            i = endLine(i);
            continue;
        }
        column += width;
        ++i;
        if (column >= kPopupColumns) {
            const int next = endLine(i);
            i = (next == i && i < n && text[i] == L'\n') ? i + 1 : next;
            lineStart = i;
        }
    }
    if (column > 0) ++lines;
    return lines;
}

int CDlgCommentCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CDlgCtrl::OnCreate(lpCreateStruct) == -1) return -1;
    m_pPopup = std::make_unique<CWndShowComment>();
    m_pPopup->Create(this);
    return 0;
}

void CDlgCommentCtrl::MeasurePopup()
{
    CClientDC dc(this);
    CDCObjectSelector<CFont> font(dc);
    if (m_pFont) font.Select(m_pFont);
    TEXTMETRIC metrics{};
    dc.GetTextMetrics(&metrics);
    m_nPopupWidth = kPopupColumns * metrics.tmAveCharWidth + 4;
    m_nPopupHeight = (CountCommentLines(m_strComment) + 1) * metrics.tmHeight + 4;
}

void CDlgCommentCtrl::Replace()
{
    if (m_hWnd) SendMessage(WM_SIZE, SIZE_RESTORED, 0);
}

void CDlgCommentCtrl::SetComment(const CString& text)
{
    m_strComment = text;
    if (m_hWnd) SetDlgItemText(3505, GetShortComment(text));
    if (m_pPopup) m_pPopup->SetText(text);
    if (m_hWnd) MeasurePopup();
    Replace();
}

void CDlgCommentCtrl::SetCommentFont(CFont* pFont)
{
    m_pFont = pFont;
    if (m_hWnd) SendDlgItemMessage(3505, WM_SETFONT, reinterpret_cast<WPARAM>(pFont ? pFont->m_hObject : nullptr), TRUE);
    if (m_pPopup) m_pPopup->SetFont(pFont);
    if (m_hWnd) MeasurePopup();
    Replace();
}

void CDlgCommentCtrl::OnSize(UINT nType, int cx, int cy)
{
    CDlgCtrl::OnSize(nType, cx, cy);
    if (!m_pPopup || !m_pPopup->m_hWnd) return;
    CRect client;
    GetClientRect(&client);
    if (CWnd* label = GetDlgItem(3505)) label->MoveWindow(&client);
    ClientToScreen(&client);
    const int x = m_bRightAlign ? client.right - kRightMargin - m_nPopupWidth : client.left;
    m_pPopup->SetWindowPos(nullptr, x, client.top, m_nPopupWidth, m_nPopupHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    m_pPopup->ShowWindow(SW_HIDE);
}

void CDlgCommentCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (!m_strComment.IsEmpty() && m_pPopup && m_pPopup->m_hWnd) {
        Replace();
        m_pPopup->ShowWindow(SW_SHOW);
        m_pPopup->SetFocus();
    }
    CDlgCtrl::OnLButtonDown(nFlags, point);
}
