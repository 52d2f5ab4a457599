#include "dialogs/DlgEditAdditionalInfor.h"

#include "core/ECGXMLParser.h"
#include "core/TavrionMessage.h"
#include "core/TextColumns.h"
#include "dialogs/DlgEditAdditionItem.h"
#include "dialogs/PhraseList.h"
#include "dialogs/PromptText.h"
#include "dialogs/TextLengthGuard.h"
#include "platform/ui/windowing/SystemSettings.h"

IMPLEMENT_DYNAMIC(CDlgEditAdditionalInfor, CDlgModal)

BEGIN_MESSAGE_MAP(CDlgEditAdditionalInfor, CDlgModal)
    ON_COMMAND(IDOK, OnOK)
END_MESSAGE_MAP()

namespace {
constexpr int kPreview = 3928;

CString WithoutLineBreaks(CString text)
{
    text.Replace(L"\r\n", L"");
    text.Replace(L"\n", L"");
    return text;
}
}  // namespace

const CDlgEditAdditionalInfor::Side& CDlgEditAdditionalInfor::TitleSide()
{
    static const Side side = {3914, 3929, 3916, 3918, 3920, 3922, 3924, 3926, 32,
                              CDlgEditAdditionItem::IDD_TITLE, L"/Addition/Title", L"総合判定"};
    return side;
}

const CDlgEditAdditionalInfor::Side& CDlgEditAdditionalInfor::ContentSide()
{
    static const Side side = {3915, 3930, 3917, 3919, 3921, 3923, 3925, 3927, 255,
                              CDlgEditAdditionItem::IDD_CONTENT, L"/Addition/Content", L"問題なし"};
    return side;
}

CDlgEditAdditionalInfor::CDlgEditAdditionalInfor(int nMode, CWnd* pParent)
    : CDlgModal(IDD, pParent), m_bApplyArmed(1), m_bContentListFocused(0), m_bTitleListFocused(0),
      m_bContentBoxFocused(0), m_bTitleBoxFocused(0), m_nMode(nMode)
{
}

CDlgEditAdditionalInfor::~CDlgEditAdditionalInfor() = default;

void CDlgEditAdditionalInfor::SetAdditionText(const CString& title, const CString& content)
{
    m_strTitle = WithoutLineBreaks(title);
    m_strContent = WithoutLineBreaks(content);
}

BOOL CDlgEditAdditionalInfor::OnInitDialog()
{
    CDlgModal::OnInitDialog();
    m_pXml = std::make_unique<CECGXMLParser>(WorkDirFile(L"Addition.xml"), m_nMode, CString());
    SetWindowText(L"付帯情報の編集");
    SetPromptText(*this, kPreview, L"付帯情報ﾌﾟﾚﾋﾞｭ?");
    SetPromptText(*this, IDOK, L"OK");
    SetPromptText(*this, IDCANCEL, L"取消");
    for (const Side* side : {&TitleSide(), &ContentSide()}) {
        SetPromptText(*this, side->apply, L"適用");
        SetPromptText(*this, side->edit, L"編集");
        SetPromptText(*this, side->remove, L"削除");
        SetPromptText(*this, side->add, L"追加");
        SetPromptText(*this, side->list, L"");
        SetIconButtons(*this, side->up, side->down);
        SendDlgItemMessage(side->box, EM_LIMITTEXT, side->limit);
        std::vector<CString> phrases = ReadPhrases(*m_pXml, side->section, L"Text");
        if (phrases.empty()) phrases = {side->defaultPhrase};
        FillList(*this, side->list, phrases);
    }
    SetPromptText(*this, TitleSide().box, m_strTitle);
    SetPromptText(*this, ContentSide().box, m_strContent);
    UpdateMoveButtons(TitleSide());
    UpdateMoveButtons(ContentSide());
    return TRUE;
}

void CDlgEditAdditionalInfor::UpdateMoveButtons(const Side& side)
{
    const int count = static_cast<int>(SendDlgItemMessage(side.list, LB_GETCOUNT));
    int selected = static_cast<int>(SendDlgItemMessage(side.list, LB_GETCURSEL));
    auto enable = [this](int id, bool on) {
        if (CWnd* button = GetDlgItem(id)) button->EnableWindow(on ? TRUE : FALSE);
    };
    if (count <= 1) {
        SendDlgItemMessage(side.list, LB_SETCURSEL, 0);
        enable(side.up, false);
        enable(side.down, false);
        return;
    }
    if (selected <= 0) {
        SendDlgItemMessage(side.list, LB_SETCURSEL, 0);
        selected = 0;
    }
    enable(side.up, selected > 0);
    enable(side.down, selected < count - 1);
}

void CDlgEditAdditionalInfor::Apply(const Side& side)
{
    CString text;
    GetDlgItemText(side.box, text);
    text.TrimLeft(L' ');
    const int selected = static_cast<int>(SendDlgItemMessage(side.list, LB_GETCURSEL));
    if (selected < 0) {
        CTavrionMessage box(L"オーダ情報定型文リストボックスからオーダ情報を選択してください。", 1, nullptr, nullptr,
                            MB_OK);
        return;
    }
    DWORD start = 0;
    SendDlgItemMessage(side.box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    CString phrase = ListPhrases(*this, side.list)[static_cast<size_t>(selected)];
    phrase.Trim();
    const CString result = text + phrase;
    if (GetTextColumns(result) >= side.limit + 1) {
        ::MessageBeep(MB_OK);
        return;
    }
    SetDlgItemText(side.box, result);
    const int caret = static_cast<int>(start) + phrase.GetLength();
    SendDlgItemMessage(side.box, EM_SETSEL, caret, caret);
    SendDlgItemMessage(side.box, EM_SCROLLCARET);
    UpdateMoveButtons(side);
    m_bApplyArmed = 0;
    if (CWnd* box = GetDlgItem(side.box)) box->SetFocus();
}

void CDlgEditAdditionalInfor::EditPhrase(const Side& side)
{
    const int selected = static_cast<int>(SendDlgItemMessage(side.list, LB_GETCURSEL));
    if (selected < 0) return;
    std::vector<CString> phrases = ListPhrases(*this, side.list);
    if (phrases[static_cast<size_t>(selected)].IsEmpty()) return;
    CDlgEditAdditionItem item(side.itemTemplate, this);
    item.SetPhrase(phrases[static_cast<size_t>(selected)]);
    item.SetEditMode(1);
    item.SetTitle(&side == &TitleSide() ? 1 : 0);
    if (item.DoModal() != IDOK) return;
    phrases[static_cast<size_t>(selected)] = item.GetPhrase();
    FillList(*this, side.list, phrases);
    SendDlgItemMessage(side.list, LB_SETCURSEL, selected);
}

void CDlgEditAdditionalInfor::AddPhrase(const Side& side)
{
    CDlgEditAdditionItem item(side.itemTemplate, this);
    item.SetEditMode(0);
    item.SetTitle(&side == &TitleSide() ? 1 : 0);
    if (item.DoModal() != IDOK) return;
    CString phrase = item.GetPhrase();
    phrase.Trim();
    if (phrase.IsEmpty()) {
        ::MessageBeep(MB_OK);
        return;
    }
    std::vector<CString> phrases = ListPhrases(*this, side.list);
    const int selected = static_cast<int>(SendDlgItemMessage(side.list, LB_GETCURSEL));
    const int at = selected < 0 ? 0 : selected + 1;
    phrases.insert(phrases.begin() + at, phrase);
    FillList(*this, side.list, phrases);
    SendDlgItemMessage(side.list, LB_SETCURSEL, at);
    UpdateMoveButtons(side);
}

void CDlgEditAdditionalInfor::DeletePhrase(const Side& side)
{
    std::vector<CString> phrases = ListPhrases(*this, side.list);
    if (phrases.size() == 1) {
        CTavrionMessage box(L"全てのオーダ情報定型文を削除することはできません。", 1, nullptr, nullptr, MB_OK);
        UpdateMoveButtons(side);
        return;
    }
    const int selected = static_cast<int>(SendDlgItemMessage(side.list, LB_GETCURSEL));
    if (selected < 0) return;
    phrases.erase(phrases.begin() + selected);
    FillList(*this, side.list, phrases);
    const int next = selected < static_cast<int>(phrases.size()) ? selected : static_cast<int>(phrases.size()) - 1;
    SendDlgItemMessage(side.list, LB_SETCURSEL, next);
    UpdateMoveButtons(side);
}

void CDlgEditAdditionalInfor::MovePhrase(const Side& side, int step)
{
    std::vector<CString> phrases = ListPhrases(*this, side.list);
    const int selected = static_cast<int>(SendDlgItemMessage(side.list, LB_GETCURSEL));
    const int other = selected + step;
    if (selected < 0 || other < 0 || other >= static_cast<int>(phrases.size())) return;
    std::swap(phrases[static_cast<size_t>(selected)], phrases[static_cast<size_t>(other)]);
    FillList(*this, side.list, phrases);
    SendDlgItemMessage(side.list, LB_SETCURSEL, other);
    UpdateMoveButtons(side);
    if (CWnd* list = GetDlgItem(side.list)) list->SetFocus();
    m_bApplyArmed = 1;
}

bool CDlgEditAdditionalInfor::HandleSide(const Side& side, int id, int code)
{
    const bool click = code == BN_CLICKED;
    if (id == side.apply) {
        if (click) Apply(side);
    } else if (id == side.edit) {
        if (click) EditPhrase(side);
    } else if (id == side.remove) {
        if (click) DeletePhrase(side);
    } else if (id == side.add) {
        if (click) AddPhrase(side);
    } else if (id == side.up) {
        if (click) MovePhrase(side, -1);
    } else if (id == side.down) {
        if (click) MovePhrase(side, 1);
    } else if (id == side.list) {
        const bool title = &side == &TitleSide();
        if (code == LBN_SELCHANGE) {
            UpdateMoveButtons(side);
            m_bApplyArmed = 1;
        } else if (code == LBN_DBLCLK) {
            Apply(side);
        } else if (code == LBN_SETFOCUS || code == LBN_KILLFOCUS) {
            (title ? m_bTitleListFocused : m_bContentListFocused) = code == LBN_SETFOCUS;
        }
    } else if (id == side.box) {
        const bool title = &side == &TitleSide();
        if (code == EN_UPDATE) {
            if (CWnd* box = GetDlgItem(side.box)) GuardTextLength(*box, side.limit);
        } else if (code == EN_SETFOCUS || code == EN_KILLFOCUS) {
            (title ? m_bTitleBoxFocused : m_bContentBoxFocused) = code == EN_SETFOCUS;
        }
    } else {
        return false;
    }
    return true;
}

BOOL CDlgEditAdditionalInfor::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (HandleSide(TitleSide(), id, code) || HandleSide(ContentSide(), id, code)) return TRUE;
    return CDlgModal::OnCommand(wParam, lParam);
}

BOOL CDlgEditAdditionalInfor::PreTranslateMessage(MSG* pMsg)
{
    const bool enter = (pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN) && pMsg->wParam == VK_RETURN;
    if (enter) {
        CWnd* focus = CWnd::GetFocus();
        const HWND focused = focus ? focus->m_hWnd : nullptr;
        for (const Side* side : {&TitleSide(), &ContentSide()}) {
            CWnd* box = GetDlgItem(side->box);
            CWnd* list = GetDlgItem(side->list);
            if (box && focused == box->m_hWnd) return TRUE;
            if (list && focused == list->m_hWnd) {
                if (m_bApplyArmed) Apply(*side);
                return TRUE;
            }
        }
    }
    return CDlgModal::PreTranslateMessage(pMsg);
}

void CDlgEditAdditionalInfor::OnOK()
{
    GetDlgItemText(TitleSide().box, m_strTitle);
    GetDlgItemText(ContentSide().box, m_strContent);
    m_strTitle = WithoutLineBreaks(m_strTitle);
    m_strContent = WithoutLineBreaks(m_strContent);
    CreateMasterIfMissing(WorkDirFile(L"Addition.xml"), L"Addition");
    m_pXml = std::make_unique<CECGXMLParser>(WorkDirFile(L"Addition.xml"), m_nMode, CString());
    const bool written = WritePhrases(*m_pXml, TitleSide().section, L"Text", ListPhrases(*this, TitleSide().list)) &&
                         WritePhrases(*m_pXml, ContentSide().section, L"Text", ListPhrases(*this, ContentSide().list));
    if (!SaveMasterOrWarn(*m_pXml, written)) return;
    EndDialog(IDOK);
}
