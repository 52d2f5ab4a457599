#include "dialogs/DlgEditComment.h"

#include "core/ECGXMLParser.h"
#include "core/Globals.h"
#include "core/TavrionMessage.h"
#include "core/TextColumns.h"
#include "dialogs/DlgEditCommentItem.h"
#include "dialogs/PhraseList.h"
#include "dialogs/PromptText.h"
#include "dialogs/TextLengthGuard.h"
#include "documents/ExerViewDoc.h"
#include "platform/ui/windowing/SystemSettings.h"

IMPLEMENT_DYNAMIC(CDlgEditComment, CDlgModal)

BEGIN_MESSAGE_MAP(CDlgEditComment, CDlgModal)
    ON_COMMAND(IDOK, OnOK)
END_MESSAGE_MAP()

namespace {
constexpr int kApply = 3761;
constexpr int kEdit = 3762;
constexpr int kDelete = 3763;
constexpr int kAdd = 3764;
constexpr int kUp = 3765;
constexpr int kDown = 3766;
constexpr int kList = 3767;
constexpr int kPreview = 3768;
constexpr int kBox = 3769;

const wchar_t* const kSections[] = {L"/Comment/Restview",   L"/Comment/Msfrview", L"/Comment/Rhythmview",
                                    L"/Comment/RRview",     L"/Comment/Extrview", L"/Comment/Exerview",
                                    L"/Comment/MFERview"};
}  // namespace

CDlgEditComment::CDlgEditComment(int nMode, CWnd* pParent)
    : CDlgModal(IDD, pParent), m_nDocType(0), m_uDataKind(0), m_bApplyArmed(1), m_bBoxFocused(0),
      m_bListFocused(0), m_nMode(nMode)
{
}

CDlgEditComment::~CDlgEditComment() = default;

void CDlgEditComment::SetDoc(int nDocType, UINT uDataKind)
{
    m_nDocType = nDocType;
    m_uDataKind = uDataKind;
}

void CDlgEditComment::SetComment(const CString& text)
{
    m_strComment = text;
    m_strComment.TrimRight(L' ');
}

bool CDlgEditComment::IsShortComment() const
{
    return m_uDataKind == 0xFFFA || m_uDataKind == 0xFFFC || m_uDataKind == 0xFFFD;
}

int CDlgEditComment::Limit() const
{
    return IsShortComment() ? CExerViewDoc::kCommentTypedChars : 255;
}

bool CDlgEditComment::Fits(const CString& text) const
{
    if (IsShortComment()) return CExerViewDoc::FitComment(text).GetLength() == text.GetLength();
    return GetTextColumns(text) <= Limit();
}

BOOL CDlgEditComment::OnInitDialog()
{
    CDlgModal::OnInitDialog();
    m_pXml = std::make_unique<CECGXMLParser>(WorkDirFile(L"Comment.xml"), m_nMode, CString());
    if (m_nDocType < 0 || m_nDocType > 6) return FALSE;
    m_strSection = kSections[m_nDocType];

    SetWindowText(L"ｺﾒﾝﾄの編集");
    SetPromptText(*this, kPreview, L"ｺﾒﾝﾄﾌﾟﾚﾋﾞｭ?");
    SetPromptText(*this, kApply, L"適用");
    SetPromptText(*this, kEdit, L"編集");
    SetPromptText(*this, kDelete, L"削除");
    SetPromptText(*this, kAdd, L"追加");
    SetPromptText(*this, IDOK, L"OK");
    SetPromptText(*this, IDCANCEL, L"取消");
    SetPromptText(*this, kList, L"");
    SetPromptText(*this, kBox, m_strComment);
    // Shown whole, however long: the limit guards only what is typed.
    NoteLoadedText(GetDlgItem(kBox));
    SetIconButtons(*this, kUp, kDown);
    SendDlgItemMessage(kBox, EM_LIMITTEXT, Limit());

    std::vector<CString> phrases = ReadPhrases(*m_pXml, m_strSection, L"Comment_text");
    if (phrases.empty()) {
        if (m_nDocType == 5)
            phrases = {L"***Nomal***", L"***Abnomal***", L"***Border***"};
        else
            phrases = {L"Abnomal ECG"};
    }
    FillList(*this, kList, phrases);
    UpdateButtons();
    return TRUE;
}

void CDlgEditComment::UpdateButtons()
{
    const int count = static_cast<int>(SendDlgItemMessage(kList, LB_GETCOUNT));
    int selected = static_cast<int>(SendDlgItemMessage(kList, LB_GETCURSEL));
    auto enable = [this](int id, bool on) {
        if (CWnd* button = GetDlgItem(id)) button->EnableWindow(on ? TRUE : FALSE);
    };
    if (count > 1) {
        if (selected <= 0) {
            SendDlgItemMessage(kList, LB_SETCURSEL, 0);
            selected = 0;
        }
        enable(kUp, selected > 0);
        enable(kDown, selected < count - 1);
        enable(kDelete, true);
        enable(kEdit, true);
    } else {
        SendDlgItemMessage(kList, LB_SETCURSEL, 0);
        enable(kUp, false);
        enable(kDown, false);
        enable(kDelete, false);
        enable(kEdit, count > 0);
    }
}

void CDlgEditComment::Apply()
{
    CString comment;
    GetDlgItemText(kBox, comment);
    const int selected = static_cast<int>(SendDlgItemMessage(kList, LB_GETCURSEL));
    if (selected < 0) {
        CTavrionMessage box(L"コメント定型文リストボックスからコメントを選択してください", 1, nullptr, nullptr, MB_OK);
        return;
    }
    DWORD start = 0;
    SendDlgItemMessage(kBox, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    // The leading blanks go before the phrase is placed; the caret moves with them.
    const int before = comment.GetLength();
    comment.TrimLeft(L' ');
    int caret = static_cast<int>(start) - (before - comment.GetLength());
    if (caret < 0) caret = 0;
    if (caret > comment.GetLength()) caret = comment.GetLength();

    CString phrase = ListPhrases(*this, kList)[static_cast<size_t>(selected)];
    phrase.TrimRight();
    if (IsShortComment()) phrase.TrimLeft();
    const CString result = comment.Left(caret) + phrase + comment.Mid(caret);
    if (!Fits(result)) {
        ::MessageBeep(MB_OK);
        return;
    }
    SetDlgItemText(kBox, result);
    NoteLoadedText(GetDlgItem(kBox));
    const int newCaret = IsShortComment() ? 0 : caret + phrase.GetLength();
    SendDlgItemMessage(kBox, EM_SETSEL, newCaret, newCaret);
    SendDlgItemMessage(kBox, EM_SCROLLCARET);
    UpdateButtons();
    m_bApplyArmed = 0;
    if (CWnd* box = GetDlgItem(kBox)) box->SetFocus();
}

void CDlgEditComment::EditPhrase()
{
    const int selected = static_cast<int>(SendDlgItemMessage(kList, LB_GETCURSEL));
    if (selected < 0) return;
    std::vector<CString> phrases = ListPhrases(*this, kList);
    if (phrases[static_cast<size_t>(selected)].IsEmpty()) return;
    CDlgEditCommentItem item(this);
    item.SetPhrase(phrases[static_cast<size_t>(selected)]);
    item.SetAddMode(0);
    if (item.DoModal() != IDOK) return;
    phrases[static_cast<size_t>(selected)] = item.GetPhrase();
    FillList(*this, kList, phrases);
    SendDlgItemMessage(kList, LB_SETCURSEL, selected);
}

void CDlgEditComment::AddPhrase()
{
    CDlgEditCommentItem item(this);
    item.SetAddMode(1);
    if (item.DoModal() != IDOK) return;
    CString phrase = item.GetPhrase();
    phrase.Trim();
    if (phrase.IsEmpty()) {
        ::MessageBeep(MB_OK);
        return;
    }
    std::vector<CString> phrases = ListPhrases(*this, kList);
    const int selected = static_cast<int>(SendDlgItemMessage(kList, LB_GETCURSEL));
    const int at = selected < 0 ? 0 : selected + 1;
    phrases.insert(phrases.begin() + at, phrase);
    FillList(*this, kList, phrases);
    SendDlgItemMessage(kList, LB_SETCURSEL, at);
    UpdateButtons();
}

void CDlgEditComment::DeletePhrase()
{
    std::vector<CString> phrases = ListPhrases(*this, kList);
    if (phrases.size() == 1) {
        CTavrionMessage box(L"全てのコメント定型文を削除することはできません", 1, nullptr, nullptr, MB_OK);
        SendDlgItemMessage(kList, LB_SETCURSEL, 0);
        for (int id : {kUp, kDown})
            if (CWnd* button = GetDlgItem(id)) button->EnableWindow(FALSE);
        return;
    }
    const int selected = static_cast<int>(SendDlgItemMessage(kList, LB_GETCURSEL));
    if (selected < 0) return;
    phrases.erase(phrases.begin() + selected);
    FillList(*this, kList, phrases);
    const int next = selected < static_cast<int>(phrases.size()) ? selected : static_cast<int>(phrases.size()) - 1;
    SendDlgItemMessage(kList, LB_SETCURSEL, next);
    UpdateButtons();
}

void CDlgEditComment::MovePhrase(int step)
{
    std::vector<CString> phrases = ListPhrases(*this, kList);
    const int selected = static_cast<int>(SendDlgItemMessage(kList, LB_GETCURSEL));
    const int other = selected + step;
    if (selected < 0 || other < 0 || other >= static_cast<int>(phrases.size())) return;
    if (phrases[static_cast<size_t>(selected)].IsEmpty() || phrases[static_cast<size_t>(other)].IsEmpty()) return;
    std::swap(phrases[static_cast<size_t>(selected)], phrases[static_cast<size_t>(other)]);
    FillList(*this, kList, phrases);
    SendDlgItemMessage(kList, LB_SETCURSEL, other);
    UpdateButtons();
    if (CWnd* list = GetDlgItem(kList)) list->SetFocus();
    m_bApplyArmed = 1;
}

BOOL CDlgEditComment::PreTranslateMessage(MSG* pMsg)
{
    const bool enter = (pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN) && pMsg->wParam == VK_RETURN;
    if (enter) {
        CWnd* focus = CWnd::GetFocus();
        const HWND focused = focus ? focus->m_hWnd : nullptr;
        CWnd* list = GetDlgItem(kList);
        CWnd* box = GetDlgItem(kBox);
        if (list && focused == list->m_hWnd && m_bApplyArmed) {
            Apply();
            m_bListFocused = 0;
            return TRUE;
        }
        if (box && focused == box->m_hWnd && !m_bApplyArmed) {
            OnOK();
            return TRUE;
        }
    }
    return CDlgModal::PreTranslateMessage(pMsg);
}

BOOL CDlgEditComment::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    switch (id) {
    case kApply: if (code == BN_CLICKED) Apply(); return TRUE;
    case kEdit: if (code == BN_CLICKED) EditPhrase(); return TRUE;
    case kDelete: if (code == BN_CLICKED) DeletePhrase(); return TRUE;
    case kAdd: if (code == BN_CLICKED) AddPhrase(); return TRUE;
    case kUp: if (code == BN_CLICKED) MovePhrase(-1); return TRUE;
    case kDown: if (code == BN_CLICKED) MovePhrase(1); return TRUE;
    case kList:
        if (code == LBN_SELCHANGE) {
            UpdateButtons();
            m_bApplyArmed = 1;
        } else if (code == LBN_DBLCLK) {
            Apply();
        } else if (code == LBN_SETFOCUS || code == LBN_KILLFOCUS) {
            m_bListFocused = code == LBN_SETFOCUS;
        }
        return TRUE;
    case kBox:
        if (code == EN_UPDATE) {
            if (CWnd* box = GetDlgItem(kBox)) {
                // The exercise record's comment is kept as three lines: the
                // box holds what they take, as the comment fields do.
                if (IsShortComment())
                    GuardTextLength(*box, &CExerViewDoc::FitComment);
                else
                    GuardTextLength(*box, Limit());
            }
        } else if (code == EN_SETFOCUS || code == EN_KILLFOCUS) {
            m_bBoxFocused = code == EN_SETFOCUS;
        }
        return TRUE;
    default: break;
    }
    return CDlgModal::OnCommand(wParam, lParam);
}

void CDlgEditComment::OnOK()
{
    m_bApplyArmed = 0;
    CreateMasterIfMissing(WorkDirFile(L"Comment.xml"), L"Comment");
    m_pXml = std::make_unique<CECGXMLParser>(WorkDirFile(L"Comment.xml"), m_nMode, CString());
    if (!m_strSection.IsEmpty()) {
        const bool written = WritePhrases(*m_pXml, m_strSection, L"Comment_text", ListPhrases(*this, kList));
        if (!SaveMasterOrWarn(*m_pXml, written)) return;
    }
    GetDlgItemText(kBox, m_strComment);
    EndDialog(IDOK);
}
