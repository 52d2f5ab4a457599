#include "forms/FormDialogs.h"
#include "forms/FormInterpreExer.h"

#include <algorithm>
#include <vector>

#include "controls/ButtonST.h"
#include "controls/CheckComboBox.h"
#include "controls/CheckStatic.h"
#include "controls/MultiEdit.h"
#include "core/PositionCtrl.h"
#include "core/TavrionDoc.h"
#include "core/UserMessages.h"
#include "documents/ExerViewDoc.h"
#include "forms/FormCommentBox.h"
#include "forms/FormPaneParent.h"
#include "platform/ui/framework/DataExchange.h"
#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/framework/PaintDC.h"

IMPLEMENT_DYNCREATE(CFormInterpreExer, CFormInterpreBase)

BEGIN_MESSAGE_MAP(CFormInterpreExer, CFormInterpreBase)
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_MESSAGE(WM_BOUND_COMBO_CHANGED, OnCmbSelChange)
END_MESSAGE_MAP()

namespace {

enum : int {
    kLastRequestRow = 15,
    kLastLoadRow = 34,
    kCommentRow = 40,
    kFirstConfirmRow = 41,
    kLastRow = 45,
};

constexpr UINT kStopCondition = 4042, kJudgementCode = 4035, kJudgementCombo = 4036, kCommentLabel = 4056,
               kCommentButton = 4057, kCommentTemplate = 4058, kCommentBox = 4017;
constexpr int kFormSource = 2;
const int kComboRows[] = {1, 3, 5, 7, 9, 11, 13, 15, 21, 37};
// The request combo boxes and the stop condition, with the list each is filled from.
const std::pair<int, UINT> kLists[] = {{0, 4019}, {1, 4021}, {2, 4023}, {3, 4025}, {4, 4027},
                                       {5, 4029}, {7, 4031}, {8, 4033}, {11, kStopCondition}};

std::vector<FormRow> ExerRows()
{
    using K = FormCtrlKind;
    std::vector<FormRow> rows;
    for (UINT label = 4018; label <= 4032; label += 2) {
        rows.push_back({label, K::Static});
        rows.push_back({label + 1, K::Combo});
    }
    for (UINT id = 4037; id <= 4055; ++id) {
        const bool edit = id == 4038 || id == 4044 || id == 4048;
        rows.push_back({id, id == kStopCondition ? K::Combo : (edit ? K::Edit : K::Static)});
    }
    rows.push_back({4034, K::Static});
    rows.push_back({kJudgementCode, K::Static});
    rows.push_back({kJudgementCombo, K::Combo});
    rows.push_back({kCommentLabel, K::Static});
    rows.push_back({kCommentButton, K::Button});
    rows.push_back({kCommentBox, K::Comment});
    for (UINT id = 4059; id <= 4063; ++id) rows.push_back({id, K::Static});
    return rows;
}

int Trunc(double value)
{
    return static_cast<int>(value);
}

}  // namespace

// The three closing-up offsets and column bottoms of one layout pass.
struct CFormInterpreExer::Columns {
    const _POSITION_CTRL* t = nullptr;
    double fx = 1.0, fy = 1.0;
    CRect client;
    int d[3] = {0, 0, 0};
    int bottom[3] = {0, 0, 0};

    static int Column(int row) { return row <= kLastRequestRow ? 0 : (row <= kLastLoadRow ? 1 : 2); }
};

CFormInterpreExer::CFormInterpreExer() : CFormInterpreBase(IDD), m_controls(ExerRows())
{
}

CFormInterpreExer::~CFormInterpreExer() = default;

void CFormInterpreExer::DoDataExchange(CDataExchange* pDX)
{
    CFormInterpreBase::DoDataExchange(pDX);
    m_controls.Exchange(pDX);
    DDX_Control(pDX, kCommentTemplate, m_commentTemplate);
}

const _POSITION_CTRL* CFormInterpreExer::Layout() const
{
    return GetViewDoc()->GetDefCtrlPos()->stExer;
}

CMultiEdit* CFormInterpreExer::GetCommentEdit() const
{
    return static_cast<CMultiEdit*>(m_controls.Row(kCommentRow));
}

void CFormInterpreExer::OnInitialUpdate()
{
    CFormInterpreBase::OnInitialUpdate();
    ShowWindow(SW_HIDE);
    CTavrionDoc* doc = GetViewDoc();
    if (!doc) return;
    static_cast<CButtonST*>(m_controls.Row(kCommentRow - 1))->SetFlat(FALSE);
    CreateCommentBox(*this, *GetCommentEdit(), m_commentTemplate, kCommentBox, Layout()[kCommentRow].nHeight);
    m_controls.SetDoc(doc);
    if (!m_bInitialized) {
        InitEditableParam();
        InsertEditableParam();
        InitCheckUIArray();
        SetDlgItemText(kCommentButton, L"定型文入力");
        InitItemGroups();
        m_bInitialized = 1;
        if (auto* confirmation = DYNAMIC_DOWNCAST(CCheckStatic, GetDlgItem(4059))) confirmation->SetColorType(1);
        for (UINT id : {4061u, 4063u})
            if (auto* text = DYNAMIC_DOWNCAST(CCheckStatic, GetDlgItem(id))) text->SetColorType(0);
    }
    LimitCtrl();
    UpdateCtrlStatus();
    StretchCommentBox(*this, *GetCommentEdit());
    Refresh();
}

// Status, values and layout with the form out of sight, then shown.
void CFormInterpreExer::Refresh()
{
    SetRedraw(FALSE);
    UpdateCtrlStatus();
    UpdateCtrlValue();
    MoveCtrl(1);
    SetRedraw(TRUE);
    ShowWindow(SW_SHOW);
    Invalidate();
}

void CFormInterpreExer::InitCheckUIArray()
{
    m_arrCheckUI.clear();
    for (int row = 0; row < m_controls.Count(); ++row) m_arrCheckUI.emplace_back(m_controls.Row(row), nullptr);
}

void CFormInterpreExer::InitEditableParam()
{
    for (const auto& list : kLists) SendDlgItemMessage(list.second, CB_RESETCONTENT);
    FillJudgementList(kJudgementCombo);
}

int CFormInterpreExer::InsertEditableParam()
{
    for (const auto& list : kLists)
        CFormInterpreBase::InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(list.first), list.second);
    return 1;
}

void CFormInterpreExer::LimitCtrl()
{
    for (UINT id : {4019u, 4021u, 4023u, 4025u, 4027u, 4029u}) SendDlgItemMessage(id, CB_LIMITTEXT, 22);
    for (UINT id : {4031u, 4033u}) SendDlgItemMessage(id, CB_LIMITTEXT, 20);
    SendDlgItemMessage(4038, EM_LIMITTEXT, 20);
    for (UINT id : {4044u, 4048u}) SendDlgItemMessage(id, EM_LIMITTEXT, 3);
    if (auto* stop = DYNAMIC_DOWNCAST(CCheckComboBox, GetDlgItem(kStopCondition))) stop->SetReadOnly(TRUE);
    if (GetCommentEdit()->m_hWnd) {
        // The exercise record keeps a shorter comment, as three lines: typing
        // is cut to what they take, so that what the box shows is what is
        // saved; the breaks between the lines are not counted against it.
        GetCommentEdit()->LimitCtrl(CExerViewDoc::kCommentTypedChars);
        GetCommentEdit()->SetTextFit(&CExerViewDoc::FitComment);
    }
}

void CFormInterpreExer::OnUpdate(CView*, LPARAM, CObject*)
{
    if (!m_bInitialized) return;
    UpdateButtonColor(static_cast<CButtonST*>(m_controls.Row(kCommentRow - 1)));
    InsertEditableParam();
    StretchCommentBox(*this, *GetCommentEdit());
    Refresh();
}

void CFormInterpreExer::OnSize(UINT nType, int cx, int cy)
{
    CTavrionDoc* doc = GetViewDoc();
    if (m_bInitialized && doc) {
        if (CFont* font = doc->GetDocFont(0)) {
            SetFont(font);
            m_controls.Row(kCommentRow - 1)->SetFont(font);
        }
        MoveCtrl(1);
    }
    CFormInterpreBase::OnSize(nType, cx, cy);
}

void CFormInterpreExer::OnPaint()
{
    CPaintDC dc(this);
    if (auto* judgement = DYNAMIC_DOWNCAST(CCheckComboBox, GetDlgItem(kJudgementCombo))) judgement->SetReadOnly(TRUE);
    for (const auto& list : kLists)
        if (CWnd* control = GetDlgItem(list.second)) control->Invalidate(FALSE);
    for (UINT id : {4044u, 4048u, kJudgementCombo})
        if (CWnd* control = GetDlgItem(id)) control->Invalidate(FALSE);
}

// ---- layout ---------------------------------------------------------------------------------

void CFormInterpreExer::MoveCtrl(int bRecheck)
{
    auto* doc = DYNAMIC_DOWNCAST(CExerViewDoc, GetViewDoc());
    _EXERDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    if (!item || !m_bInitialized) return;
    ++m_nLayoutPasses;
    Columns c;
    c.t = Layout();
    c.fx = doc->GetXScale();
    c.fy = doc->GetYScale();
    GetClientRect(&c.client);
    for (int row = 0; row < m_controls.Count(); ++row) PlaceExerRow(row, c, item->stPatient.bConfirmed);
    const int contentBottom = *std::max_element(std::begin(c.bottom), std::end(c.bottom));
    CMultiEdit* comment = GetCommentEdit();
    if (comment->m_hWnd) {
        CRect place;
        comment->GetWindowRect(&place);
        ScreenToClient(&place);
        if (contentBottom > c.client.bottom) place.right -= ::GetSystemMetrics(SM_CYVSCROLL);
        comment->MoveWindow(place.left, place.top, place.Width(), place.Height(), TRUE);
    }
    if (CFrameWnd* frame = GetParentFrame()) frame->RecalcLayout();
    if (bRecheck) MoveCtrl(0);
}

void CFormInterpreExer::PlaceExerRow(int row, Columns& c, int bConfirmed)
{
    CWnd* control = m_controls.Row(row);
    if (!control || !control->m_hWnd || row >= static_cast<int>(m_arrCheckUI.size())) return;
    const _POSITION_CTRL& r = c.t[row];
    const CRect design = m_arrCheckUI[row].GetRect();
    const int column = Columns::Column(row);
    const int x = r.nLeft == -1 ? design.left : r.nLeft;
    const int y = r.nTop == -1 ? design.top : r.nTop;
    const int w = r.nWidth == -1 ? design.Width() : r.nWidth;
    const int h = r.nHeight == -1 ? design.Height() : r.nHeight;
    const int left = Trunc(x * c.fx);
    const int top = Trunc((y - c.d[column]) * c.fy);
    // Nothing passes the client's right edge, less a margin.
    // (a control that starts past that edge keeps no width rather than a negative one).
    const int right = std::max(left, std::min(left + Trunc(w * c.fx), c.client.right - Trunc(3.0 * c.fx)));
    const int bottom = top + Trunc(h * c.fy);
    if (std::find(std::begin(kComboRows), std::end(kComboRows), row) != std::end(kComboRows) && r.nTextHeight >= 0)
        static_cast<CCheckComboBox*>(control)->SetRowCount(r.nTextHeight);
    control->MoveWindow(left, top, right - left, bottom - top, TRUE);
    const bool visible = (row >= kFirstConfirmRow && bConfirmed) || r.bVisible;
    if (!visible) {
        control->ShowWindow(SW_HIDE);
        // The last row of the first two columns and the judgement row close up nothing.
        const bool closes = (row < kLastRequestRow) || (row > kLastRequestRow && row < kLastLoadRow) ||
                            (row >= 37 && row < kLastRow);
        if (closes) c.d[column] += c.t[row + 1].nTop - c.t[row].nTop;
        return;
    }
    const int text = r.nTextHeight >= 1 ? r.nTextHeight : r.nHeight;
    if (column < 2) c.bottom[column] = top + Trunc(text * c.fy);
    if (row == kFirstConfirmRow) c.bottom[2] = bottom;
}

// ---- comment, judgement, sheet --------------------------------------------------------------

void CFormInterpreExer::EditComment()
{
    CWnd* frame = GetParent();
    if (CWnd* pane = frame ? frame->GetParent() : nullptr)
        pane->SendMessage(WM_ANNOTATION_ACTIVE, reinterpret_cast<WPARAM>(this), 0);
    CTavrionDoc* doc = GetViewDoc();
    auto* exer = DYNAMIC_DOWNCAST(CExerViewDoc, doc);
    _EXERDATAITEM* item = exer ? exer->GetCurrentDataItem() : nullptr;
    CMultiEdit* comment = GetCommentEdit();
    CString text;
    comment->GetEditFace().GetWindowText(text);
    text.TrimRight(L" \r\n");
    if (CFormDialogs::EditComment(this, doc->Is8000File(), DOC_TYPE_EXER, item ? item->uSystemCode : 0, text) == IDOK) {
        comment->GetEditFace().SetWindowText(CExerViewDoc::FitComment(text));
        comment->EditChange();
        Refresh();
    }
    comment->SetFocus();
}

LRESULT CFormInterpreExer::OnCmbSelChange(WPARAM wParam, LPARAM lParam)
{
    if (wParam == kJudgementCombo) ShowJudgementCode(kJudgementCode, static_cast<int>(lParam));
    return 0;
}

void CFormInterpreExer::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    CTavrionDoc* doc = GetViewDoc();
    if (doc && doc->IsPopupMode()) {
        if (CFormDialogs::GeneralSheet(this, doc, DOC_TYPE_EXER, 0) == IDOK) {
            SendToFormPaneParent(*this, WM_VIEW_RESULT);
            Refresh();
        }
    }
    CFormInterpreBase::OnLButtonDblClk(nFlags, point);
}

BOOL CFormInterpreExer::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == kCommentButton && HIWORD(wParam) == BN_CLICKED) {
        EditComment();
        return TRUE;
    }
    return CFormInterpreBase::OnCommand(wParam, lParam);
}

// ---- keys -----------------------------------------------------------------------------------

BOOL CFormInterpreExer::PreTranslateMessage(MSG* pMsg)
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
        if (focus && focus->GetParent() == this && focus->IsKindOf(RUNTIME_CLASS(CButton)))
            return PostMessage(WM_COMMAND, MAKEWPARAM(focus->GetDlgCtrlID(), BN_CLICKED),
                               reinterpret_cast<LPARAM>(focus->m_hWnd));
    }
    return CFormInterpreBase::PreTranslateMessage(pMsg);
}

bool CFormInterpreExer::FocusFirstUsable(const UINT* ids, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        CWnd* control = ids[i] == kCommentBox ? GetCommentEdit() : GetDlgItem(ids[i]);
        if (control && control->m_hWnd && (control->GetStyle() & WS_VISIBLE) && control->IsWindowEnabled() &&
            !control->IsKindOf(RUNTIME_CLASS(CCheckStatic))) {
            control->SetFocus();
            return true;
        }
    }
    return false;
}

BOOL CFormInterpreExer::OnTabKey()
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
        // Refused: the focus wraps to the other end of the chain, forwards to
        // the first field and backwards to the comment box (or the last
        // usable field before it).
        std::vector<UINT> ids;
        if (direction == 2) {
            for (UINT id = 4019; id <= kCommentLabel; ++id) ids.push_back(id);
        } else {
            ids.push_back(kCommentBox);
            for (UINT id = kCommentLabel; id >= 4019; --id) ids.push_back(id);
        }
        FocusFirstUsable(ids.data(), ids.size());
        return TRUE;
    }
    CWnd* target = control->GetWindow(direction == 1 ? GW_HWNDPREV : GW_HWNDNEXT);
    if (target && target->GetDlgCtrlID() == static_cast<int>(kCommentTemplate)) {
        CWnd* next = direction == 2 ? static_cast<CWnd*>(GetCommentEdit()) : GetDlgItem(kCommentButton);
        if (next) next->SetFocus();
        return TRUE;
    }
    return FALSE;
}
