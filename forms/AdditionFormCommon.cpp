#include "forms/FormDialogs.h"
#include "forms/AdditionFormCommon.h"

#include <algorithm>
#include <vector>

#include "controls/ButtonST.h"
#include "controls/CheckComboBox.h"
#include "controls/CheckStatic.h"
#include "controls/LinkStatic.h"
#include "controls/MultiEdit.h"
#include "core/PositionCtrl.h"
#include "core/TavrionDoc.h"
#include "core/UserMessages.h"
#include "forms/FormCommentBox.h"
#include "forms/FormPaneParent.h"
#include "resources/ButtonIconIds.h"
#include "platform/ui/framework/DataExchange.h"
#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/framework/PaintDC.h"
#include "platform/ui/windowing/Resources.h"

namespace {

constexpr UINT kCommentBox = 4017;
constexpr int kAdditionRows = 3;
constexpr int kFormSource = 2;

int Trunc(double value)
{
    return static_cast<int>(value);
}

CString TrimmedText(const CWnd* control)
{
    CString text;
    if (control && control->m_hWnd) control->GetWindowText(text);
    text.TrimRight(L" \r\n");
    return text;
}

}  // namespace

CAdditionFormCommon::CAdditionFormCommon(UINT nIDTemplate, std::vector<FormRow> rows)
    : CFormInterpreBase(nIDTemplate), m_controls(std::move(rows))
{
}

CAdditionFormCommon::~CAdditionFormCommon() = default;

void CAdditionFormCommon::DoDataExchange(CDataExchange* pDX)
{
    CFormInterpreBase::DoDataExchange(pDX);
    m_controls.Exchange(pDX);
    DDX_Control(pDX, GetShape().commentTemplate, m_commentTemplate);
}

CMultiEdit* CAdditionFormCommon::GetCommentEdit() const
{
    return static_cast<CMultiEdit*>(m_controls.Row(GetShape().commentRow));
}

int CAdditionFormCommon::FontHeight() const
{
    CFont* font = GetViewDoc()->GetDocFont(0);
    LOGFONT lf{};
    if (font && font->GetLogFont(&lf) && lf.lfHeight != 0) return std::abs(lf.lfHeight);
    return Trunc(12 * GetViewDoc()->GetYScale());
}

// ---- set-up -----------------------------------------------------------------------------------

void CAdditionFormCommon::OnInitialUpdate()
{
    CFormInterpreBase::OnInitialUpdate();
    ShowWindow(SW_HIDE);
    CTavrionDoc* doc = GetViewDoc();
    if (!doc) return;
    m_controls.SetDoc(doc);
    for (int row = 0; row < m_controls.Count(); ++row)
        if (m_controls.Kind(row) == FormCtrlKind::Button) static_cast<CButtonST*>(m_controls.Row(row))->SetFlat(FALSE);
    const Shape& shape = GetShape();
    if (Layout() && Layout()[shape.firstAddition].nHeight > 0) m_nAdditionRowHeight = Layout()[shape.firstAddition].nHeight;
    CreateCommentBox(*this, *GetCommentEdit(), m_commentTemplate, kCommentBox,
                     Layout() ? Layout()[shape.commentRow].nHeight : 0);
    if (!m_bInitialized) {
        InitEditableParam();
        InsertEditableParam();
        InitCheckUIArray();
        SetupCtrl();
        m_bInitialized = 1;
    }
    LimitCtrl();
    UpdateCtrlStatus();
    ShowWindow(SW_SHOW);
    OnCommentWidthChange(0, 0);
}

void CAdditionFormCommon::InitCheckUIArray()
{
    m_arrCheckUI.clear();
    for (int row = 0; row < m_controls.Count(); ++row) m_arrCheckUI.emplace_back(m_controls.Row(row), nullptr);
}

void CAdditionFormCommon::InitEditableParam()
{
    for (const auto& list : RequestLists()) SendDlgItemMessage(list.second, CB_RESETCONTENT);
    if (JudgementComboId()) FillJudgementList(JudgementComboId());
}

int CAdditionFormCommon::InsertEditableParam()
{
    for (const auto& list : RequestLists())
        CFormInterpreBase::InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(list.first), list.second);
    return 1;
}

void CAdditionFormCommon::UpdateColor()
{
    for (int row = 0; row < m_controls.Count(); ++row)
        if (m_controls.Kind(row) == FormCtrlKind::Button)
            UpdateButtonColor(static_cast<CButtonST*>(m_controls.Row(row)));
}

void CAdditionFormCommon::OnUpdate(CView*, LPARAM, CObject*)
{
    if (!m_bInitialized) return;
    InsertEditableParam();
    MoveCtrl(1);
    OnCommentWidthChange(0, 0);
    if (auto* link = DYNAMIC_DOWNCAST(CLinkStatic, m_controls.Row(GetShape().link)))
        link->SetLinkCursor(LoadCursor(nullptr, GetViewDoc()->IsPopupMode() ? IDC_HAND : IDC_ARROW));
}

void CAdditionFormCommon::OnSize(UINT nType, int cx, int cy)
{
    if (m_bInitialized && GetViewDoc()) {
        if (CFont* font = GetViewDoc()->GetDocFont(0)) SetFont(font);
        OnCommentWidthChange(0, 0);
    }
    CFormInterpreBase::OnSize(nType, cx, cy);
}

void CAdditionFormCommon::OnPaint()
{
    CPaintDC dc(this);
    for (const auto& list : RequestLists())
        if (CWnd* control = GetDlgItem(list.second)) control->Invalidate(TRUE);
    if (JudgementComboId())
        if (CWnd* judgement = GetDlgItem(JudgementComboId())) judgement->Invalidate(TRUE);
    for (UINT id : RepaintedWithForm())
        if (CWnd* control = GetDlgItem(id)) control->Invalidate(TRUE);
    if (GetCommentEdit()->m_hWnd) GetCommentEdit()->Invalidate(TRUE);
}

LRESULT CAdditionFormCommon::OnCommentWidthChange(WPARAM, LPARAM)
{
    CMultiEdit* comment = GetCommentEdit();
    if (!GetViewDoc() || !comment->m_hWnd) return 0;
    UpdateColor();
    UpdateCtrlValue();
    const int lines = std::max<int>(1, static_cast<int>(comment->GetEditFace().SendMessage(EM_GETLINECOUNT)));
    const double line = FontHeight() / GetViewDoc()->GetYScale();
    const int shown = std::max(lines, CommentBaseLines());
    m_nCommentExtraHeight = Trunc((shown - CommentBaseLines()) * line);
    CRect place;
    comment->GetWindowRect(&place);
    ScreenToClient(&place);
    comment->MoveWindow(place.left, place.top, place.Width(), Trunc(shown * line), TRUE);
    // Relaid out in place: hiding the form would take the focus from the
    // control that is getting it as the comment loses it.
    SetRedraw(FALSE);
    UpdateCtrlStatus();
    MoveCtrl(1);
    SetRedraw(TRUE);
    Invalidate();
    return 0;
}

// ---- layout ---------------------------------------------------------------------------------------

int CAdditionFormCommon::GetAdditionLineCount(int row) const
{
    return row >= 0 && row < kAdditionRows ? m_nAdditionLines[row] : 0;
}

void CAdditionFormCommon::UpdateAdditionLineCount()
{
    AdditionItem item;
    if (!CurrentAdditionItem(item) || !Layout()) return;
    const Shape& shape = GetShape();
    const bool on = AdditionsOn(item);
    int sum = 0;
    for (int k = 0; k < kAdditionRows; ++k) {
        if (on && Layout()[shape.firstAddition + 4 * k + 3].bVisible)
            sum += std::max<int>(1, static_cast<int>(SendDlgItemMessage(shape.firstContent + k, EM_GETLINECOUNT))) - 1;
        m_nAdditionLines[k] = sum;
    }
}

void CAdditionFormCommon::MoveCtrl(int bRetry)
{
    AdditionItem item;
    if (!m_bInitialized || !CurrentAdditionItem(item) || !Layout()) return;
    const Shape& shape = GetShape();
    ++m_nLayoutPasses;
    Walk walk;
    GetClientRect(&walk.client);
    GetScrollRange(SB_VERT, &walk.rangeMin, &walk.rangeMax);
    walk.position = GetScrollPos(SB_VERT);
    UpdateAdditionLineCount();
    ScrollToPosition(CPoint(0, 0));
    walk.t = Layout();
    walk.fx = GetViewDoc()->GetXScale();
    walk.fy = GetViewDoc()->GetYScale();
    walk.fh = FontHeight();
    walk.additions = AdditionsOn(item);
    if (!walk.additions)
        for (int row = shape.heading; row <= shape.link; ++row) m_controls.Row(row)->ShowWindow(SW_HIDE);
    if (walk.t[shape.firstAddition].nHeight > 0) m_nAdditionRowHeight = walk.t[shape.firstAddition].nHeight;
    for (int row = 0; row < static_cast<int>(m_arrCheckUI.size()); ++row) PlaceRow(row, walk, item);
    const int previousHeight = walk.client.Height();
    TakeScrollBar(walk);
    bool secondPass = false;
    if (walk.additions)
        GrowWrappedRows(*this, m_controls, shape.firstAddition, 4, kAdditionRows, 3, m_nAdditionLines,
                        m_nAdditionRowHeight, RowGrowth{walk.fy, walk.fh, 0}, secondPass);
    const int height = walk.client.Height();
    SetScrollSizes(MM_TEXT, CSize(0, height));
    if (height > previousHeight && walk.rangeMax > walk.rangeMin)
        ScrollToPosition(CPoint(0, (height + 20) * walk.position / (walk.rangeMax - walk.rangeMin)));
    if (CFrameWnd* frame = GetParentFrame()) frame->RecalcLayout();
    if (secondPass && bRetry) MoveCtrl(0);
}

void CAdditionFormCommon::AdjustOffset(int row, Walk& w)
{
    const Shape& shape = GetShape();
    const int two = Trunc(2 * w.fy);
    if (row == shape.heading && !w.additions) w.offset += w.t[shape.closeTo].nTop - w.t[row].nTop;
    if (row == shape.link) {
        if (w.offset != 0) w.offset -= two;
        if (w.additions) w.offset -= Trunc(w.fh * m_nAdditionLines[2] / w.fy + 0.5);
    }
    if (row == shape.stepRow) w.offset -= two;
    if (row == shape.commentExtraRow && (!shape.extraNeedsLabel || w.t[shape.commentLabel].bVisible))
        w.offset -= m_nCommentExtraHeight;
}

int CAdditionFormCommon::ClosingTop(int row, const Walk& walk) const
{
    return walk.t[row + 1].nTop;
}

// The control's place from its entry, `offset` design units up.
void CAdditionFormCommon::MoveRow(int row, CWnd& control, const Walk& w, int offset, CRect* placed)
{
    const _POSITION_CTRL& e = w.t[row];
    const CRect design = m_arrCheckUI[row].GetRect();
    const int x = e.nLeft == -1 ? design.left : e.nLeft;
    const int y = (e.nTop == -1 ? design.top : e.nTop) - offset;
    const int width = e.nWidth == -1 ? design.Width() : e.nWidth;
    int height = e.nHeight == -1 ? design.Height() : e.nHeight;
    if (row == GetShape().commentRow) height += m_nCommentExtraHeight;
    if (m_controls.Kind(row) == FormCtrlKind::Combo) static_cast<CCheckComboBox*>(&control)->SetRowCount(e.nTextHeight);
    const CRect rect(Trunc(x * w.fx), Trunc(y * w.fy), Trunc(x * w.fx) + Trunc(width * w.fx),
                     Trunc(y * w.fy) + Trunc(height * w.fy));
    control.MoveWindow(rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
    if (placed) *placed = rect;
}

void CAdditionFormCommon::PlaceRow(int row, Walk& w, const AdditionItem& item)
{
    CWnd* control = m_controls.Row(row);
    if (!control || !control->m_hWnd) return;
    const Shape& shape = GetShape();
    if (PlaceOwnRow(row, w)) return;
    const _POSITION_CTRL& e = w.t[row];
    if (e.nTop != -1) AdjustOffset(row, w);
    CRect rect;
    MoveRow(row, *control, w, w.offset, &rect);
    bool visible = e.bVisible != 0 || (row >= shape.firstConfirm && row <= shape.lastConfirm && item.bConfirmed);
    if (row == shape.link && visible && item.addition->nCount <= kAdditionRows) {
        bool hiddenWithText = false;
        for (UINT k = 0; k < kAdditionRows; ++k)
            if (!w.t[shape.firstAddition + 4 * k + 3].bVisible &&
                (!TrimmedText(GetDlgItem(shape.firstTitle + k)).IsEmpty() ||
                 !TrimmedText(GetDlgItem(shape.firstContent + k)).IsEmpty()))
                hiddenWithText = true;
        visible = hiddenWithText;
    }
    if (visible) {
        w.lowest = std::max<int>(w.lowest, rect.bottom);
        w.anyShown = true;
        return;
    }
    control->ShowWindow(SW_HIDE);
    const bool closedBlock = !w.additions && row >= shape.heading && row <= shape.link;
    if (closedBlock || row == shape.lastRow) return;
    w.offset += ClosingTop(row, w) - w.t[row].nTop;
    // A hidden comment takes its grown height away too.
    if (row == shape.commentRow) w.offset += m_nCommentExtraHeight;
}

// Content below the client bottom: a vertical scroll bar's width comes off
// the wide controls.
void CAdditionFormCommon::TakeScrollBar(Walk& w)
{
    if (w.lowest <= w.client.bottom) return;
    w.client.bottom = w.lowest;
    const int width = ::GetSystemMetrics(SM_CXVSCROLL);
    for (UINT id : ScrollNarrowed()) {
        CWnd* control = id == kCommentBox ? GetCommentEdit() : GetDlgItem(id);
        if (!control || !control->m_hWnd) continue;
        CRect place;
        control->GetWindowRect(&place);
        ScreenToClient(&place);
        control->MoveWindow(place.left, place.top, std::max(0, place.Width() - width), place.Height(), TRUE);
    }
}

// ---- buttons, sheet, judgement -------------------------------------------------------------

void CAdditionFormCommon::TellPaneActive()
{
    CWnd* frame = GetParent();
    if (CWnd* pane = frame ? frame->GetParent() : nullptr)
        pane->SendMessage(WM_ANNOTATION_ACTIVE, reinterpret_cast<WPARAM>(this), 0);
}

void CAdditionFormCommon::DeleteAddition(int k)
{
    TellPaneActive();
    const Shape& shape = GetShape();
    for (UINT id : {shape.firstTitle + k, shape.firstContent + k}) {
        CWnd* edit = GetDlgItem(id);
        CString text;
        if (edit) edit->GetWindowText(text);
        if (text.IsEmpty()) continue;
        edit->SetWindowText(L"");
        edit->SendMessage(WM_BOUND_CONTROL_RELOAD);
    }
    if (CWnd* button = GetDlgItem(shape.firstDel + k)) button->SetFocus();
    MoveCtrl(1);
}

void CAdditionFormCommon::EditAddition(int k)
{
    TellPaneActive();
    const Shape& shape = GetShape();
    if (EditsAdditions()) {
        CString title = TrimmedText(GetDlgItem(shape.firstTitle + k));
        CString content = TrimmedText(GetDlgItem(shape.firstContent + k));
        if (CFormDialogs::EditAddition(nullptr, GetViewDoc()->Is8000File(), title, content) == IDOK) {
            for (const auto& field : {std::make_pair(shape.firstTitle + k, title),
                                      std::make_pair(shape.firstContent + k, content)}) {
                CWnd* edit = GetDlgItem(field.first);
                // As the person left them in the editor, which keeps what is
                // typed or applied within the row's limits: a stored text
                // past them is not cut for being opened.
                edit->SetWindowText(field.second);
                edit->SendMessage(WM_BOUND_CONTROL_RELOAD);
            }
            MoveCtrl(1);
            Invalidate();
        }
    }
    if (CWnd* button = GetDlgItem(shape.firstEdit + k)) button->SetFocus();
}

void CAdditionFormCommon::EditComment()
{
    TellPaneActive();
    CMultiEdit* comment = GetCommentEdit();
    AdditionItem item;
    if (!CurrentAdditionItem(item)) return;
    CString text = TrimmedText(&comment->GetEditFace());
    if (CFormDialogs::EditComment(nullptr, GetViewDoc()->Is8000File(), m_nDocType, item.uSystemCode, text) == IDOK) {
        comment->GetEditFace().SetWindowText(text);
        comment->EditChange();
        OnCommentWidthChange(0, 0);
        Invalidate();
    }
    if (CWnd* button = GetDlgItem(GetShape().commentButton)) button->SetFocus();
    SendMessage(WM_COMMENT_EDIT_LEFT, 0, 0);
}

void CAdditionFormCommon::OpenSheet(int nPage)
{
    CTavrionDoc* doc = GetViewDoc();
    if (!doc || !doc->IsPopupMode()) return;
    if (CFormDialogs::GeneralSheet(this, doc, m_nDocType, nPage) != IDOK) return;
    SendToFormPaneParent(*this, WM_VIEW_RESULT);
    OnCommentWidthChange(0, 0);
}

void CAdditionFormCommon::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    OpenSheet(0);
    CFormInterpreBase::OnLButtonDblClk(nFlags, point);
}

LRESULT CAdditionFormCommon::InterpreAddition(WPARAM, LPARAM)
{
    OpenSheet(1);
    return 0;
}

BOOL CAdditionFormCommon::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    const Shape& shape = GetShape();
    if (HIWORD(wParam) == BN_CLICKED) {
        if (id >= shape.firstDel && id < shape.firstDel + kAdditionRows) return DeleteAddition(id - shape.firstDel), TRUE;
        if (id >= shape.firstEdit && id < shape.firstEdit + kAdditionRows) return EditAddition(id - shape.firstEdit), TRUE;
        if (id == shape.commentButton) return EditComment(), TRUE;
    }
    return CFormInterpreBase::OnCommand(wParam, lParam);
}

// ---- keys ----------------------------------------------------------------------------------

BOOL CAdditionFormCommon::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_TAB) {
        if (m_bJumpStatus) {
            m_bJumpStatus = 0;
            return TRUE;
        }
        if (OnTabKey()) return TRUE;
    }
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN) {
        CWnd* focus = GetFocus();
        if (focus && IsChild(focus) && focus->GetDlgCtrlID() != 0 && focus->IsKindOf(RUNTIME_CLASS(CButton)))
            return PostMessage(WM_COMMAND, MAKEWPARAM(focus->GetDlgCtrlID(), BN_CLICKED),
                               reinterpret_cast<LPARAM>(focus->m_hWnd));
    }
    return CFormInterpreBase::PreTranslateMessage(pMsg);
}

bool CAdditionFormCommon::FocusFirstUsable(int first, int last, int step)
{
    for (int id = first;; id += step) {
        CWnd* control = GetDlgItem(id);
        if (control && (control->GetStyle() & WS_VISIBLE) && control->IsWindowEnabled() &&
            !control->IsKindOf(RUNTIME_CLASS(CCheckStatic))) {
            control->SetFocus();
            return true;
        }
        if (id == last) return false;
    }
}

BOOL CAdditionFormCommon::OnTabKey()
{
    CWnd* control = GetFocus();
    while (control && control->GetParent() != this) control = control->GetParent();
    if (!control) return FALSE;
    const int direction = ::GetKeyState(VK_SHIFT) < 0 ? 1 : 2;
    if (IsTabJumpEnd(direction, control)) {
        int info[3] = {kFormSource, direction, 0};
        CWnd* frame = GetParent();
        CWnd* pane = frame ? frame->GetParent() : nullptr;
        if (pane && pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(info), 0) == 1) return TRUE;
        const Shape& shape = GetShape();
        if (control == GetCommentEdit())
            FocusFirstUsable(shape.wrapUpFirst, shape.wrapUpLast, 1);
        else
            FocusFirstUsable(shape.wrapDownFirst, shape.wrapDownLast, -1);
        return TRUE;
    }
    CWnd* target = control->GetWindow(direction == 1 ? GW_HWNDPREV : GW_HWNDNEXT);
    if (target && target->GetDlgCtrlID() == static_cast<int>(GetShape().commentTemplate)) {
        CWnd* next = direction == 2 ? static_cast<CWnd*>(GetCommentEdit()) : GetDlgItem(GetShape().commentButton);
        if (next) next->SetFocus();
        return TRUE;
    }
    return FALSE;
}
