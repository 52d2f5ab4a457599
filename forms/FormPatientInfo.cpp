#include "forms/FormDialogs.h"
#include "forms/FormPatientInfo.h"

#include "core/PositionCtrl.h"
#include "core/TavrionDoc.h"
#include "core/UserMessages.h"
#include "forms/FormItemFacts.h"
#include "forms/LayoutPlacement.h"
#include "printdevice/ECGDC.h"
#include "platform/ui/framework/DataExchange.h"
#include "platform/ui/framework/PaintDC.h"

IMPLEMENT_DYNCREATE(CFormPatientInfo, CFormEx)

BEGIN_MESSAGE_MAP(CFormPatientInfo, CFormEx)
    ON_WM_LBUTTONDBLCLK()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_MESSAGE(WM_RECORD_MODIFIED, OnUpdateModify)
    ON_MESSAGE(WM_OPEN_PATIENT_EDITOR, OnShowEditDialog)
    ON_MESSAGE(WM_BOUND_COMBO_CHANGED, OnCmbSelChange)
END_MESSAGE_MAP()

namespace {

enum class RowKind { Static, Edit, Combo };

struct StripRow {
    UINT uID;
    RowKind kind;
};

// Row i of Patient_info is control i of the strip.
const StripRow kRows[CFormPatientInfo::kRowCount] = {
    {3000, RowKind::Static}, {3001, RowKind::Edit},   {3002, RowKind::Static}, {3003, RowKind::Edit},
    {3004, RowKind::Static}, {3005, RowKind::Edit},   {3006, RowKind::Static}, {3007, RowKind::Edit},
    {3008, RowKind::Static}, {3009, RowKind::Combo},  {3010, RowKind::Static}, {3011, RowKind::Edit},
    {3012, RowKind::Combo},  {3013, RowKind::Edit},   {3014, RowKind::Static}, {3016, RowKind::Static},
    {3015, RowKind::Edit},   {3018, RowKind::Static}, {3017, RowKind::Edit},   {3020, RowKind::Static},
    {3019, RowKind::Edit},   {3022, RowKind::Static}, {3021, RowKind::Edit},   {3023, RowKind::Static},
    {3024, RowKind::Static}, {3025, RowKind::Static}, {3026, RowKind::Static}, {3027, RowKind::Static},
    {3028, RowKind::Static}, {3029, RowKind::Static},
};

const wchar_t* const kSexItems[] = {L"不明", L"男", L"女"};
const wchar_t* const kAgeUnits[] = {L"歳", L"ヶ月", L"週", L"日", L"時間"};
constexpr int kAgeUnitCount = 5;
constexpr int kHourUnit = 4;           // no sub-age below hours
constexpr int kSexComboRow = 9;
constexpr int kAgeUnitComboRow = 12;
constexpr int kFirstConfirmationRow = 25;
constexpr int kIdRow = 1;
constexpr int kNameRow = 3;
constexpr int kKanaRow = 7;
constexpr UINT kSubIdEdit = 3005;
constexpr UINT kAgeUnitCombo = 3012;
constexpr UINT kSubAgeEdit = 3013;
constexpr UINT kSubAgeUnit = 3014;
constexpr int kStripSource = 1;        // the strip's number in the pane's tab-chain messages
constexpr float kBodyMaximum = 999.9f;

// The extra-lead MFER kinds and the two kinds whose patient data the general sheet edits.
bool IsGeneralSheetMferCode(unsigned int code)
{
    switch (code) {
    case 0x7003: case 0x7004: case 0x7006: case 0x7007:
    case 0x7011: case 0x7012: case 0x7013: case 0x7014: case 0x7015: case 0x7016:
    case 0x8001: case 0x8003:
        return true;
    default:
        return false;
    }
}

void LimitEdit(CWnd& form, UINT uID, int nChars)
{
    form.SendDlgItemMessage(uID, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
}

}  // namespace

CFormPatientInfo::CFormPatientInfo() : CFormEx(IDD)
{
    int statics = 0, edits = 0, combos = 0;
    for (int row = 0; row < kRowCount; ++row) {
        switch (kRows[row].kind) {
        case RowKind::Static: m_rows[row] = &m_statics[statics++]; break;
        case RowKind::Edit: m_rows[row] = &m_edits[edits++]; break;
        case RowKind::Combo: m_rows[row] = &m_combos[combos++]; break;
        }
    }
    m_nDocType = 0;
}

CFormPatientInfo::~CFormPatientInfo() = default;

CWnd* CFormPatientInfo::GetRowControl(int row) const
{
    return row >= 0 && row < kRowCount ? m_rows[row] : nullptr;
}

void CFormPatientInfo::DoDataExchange(CDataExchange* pDX)
{
    CFormEx::DoDataExchange(pDX);
    for (int row = 0; row < kRowCount; ++row) DDX_Control(pDX, kRows[row].uID, *m_rows[row]);
}

void CFormPatientInfo::OnInitialUpdate()
{
    CFormEx::OnInitialUpdate();
    ShowWindow(SW_HIDE);
    BindControls();
    if (!m_bInitialized) {
        InitCheckUIArray();
        SetupCtrl();
        m_bInitialized = 1;
    }
    LimitCtrl();
    UpdateCtrlStatus();
    ShowWindow(SW_SHOW);
    SendMessage(WM_SIZE, 0, 0);
}

void CFormPatientInfo::BindControls()
{
    CTavrionDoc* doc = GetViewDoc();
    for (CCheckStatic& control : m_statics) control.SetDoc(doc);
    for (CCheckEdit& control : m_edits) control.SetDoc(doc);
    for (CCheckComboBox& control : m_combos) control.SetDoc(doc);
    for (UINT uID : {3015u, 3017u})
        if (auto* edit = DYNAMIC_DOWNCAST(CCheckEdit, GetDlgItem(uID))) edit->SetRange(kBodyMaximum, 0.0f);
}

void CFormPatientInfo::InitCheckUIArray()
{
    m_arrCheckUI.clear();
    for (CWnd* control : m_rows) m_arrCheckUI.emplace_back(control, nullptr);
}

void CFormPatientInfo::SetupCtrl()
{
    static const struct {
        UINT uID;
        int nStyle;
    } kColours[] = {{3025, 1}, {3027, 0}, {3029, 0}};
    for (const auto& colour : kColours)
        if (auto* text = DYNAMIC_DOWNCAST(CCheckStatic, GetDlgItem(colour.uID))) text->SetColorType(colour.nStyle);
    CComboBox& sex = m_combos[0];
    CComboBox& unit = m_combos[1];
    sex.ResetContent();
    for (const wchar_t* item : kSexItems) sex.AddString(item);
    unit.ResetContent();
    for (const wchar_t* item : kAgeUnits) unit.AddString(item);
}

void CFormPatientInfo::LimitCtrl()
{
    CTavrionDoc* doc = GetViewDoc();
    if (!doc || !m_hWnd) return;
    for (CCheckComboBox& combo : m_combos) combo.SetReadOnly(TRUE);
    for (UINT uID : {3001u, 3003u, 3005u}) LimitEdit(*this, uID, 20);
    LimitEdit(*this, 3007, 40);
    LimitEdit(*this, 3015, 5);
    LimitEdit(*this, 3017, 5);
    if (doc->Is8000File()) {
        LimitEdit(*this, 3001, 12);
        LimitEdit(*this, 3011, 2);
    } else {
        LimitEdit(*this, 3011, 3);
        LimitEdit(*this, kSubAgeEdit, 2);
    }
    if (m_nDocType < DOC_TYPE_REST || m_nDocType > DOC_TYPE_MFER) return;
    const int digits = m_nDocType != DOC_TYPE_EXER && ReadFormItemFacts(*doc).bNarrowBp ? 2 : 3;
    LimitEdit(*this, 3019, digits);
    LimitEdit(*this, 3021, digits);
}

void CFormPatientInfo::ShowText()
{
    LimitCtrl();
    CFormEx::ShowText();
}

void CFormPatientInfo::OnUpdate(CView*, LPARAM, CObject*)
{
    CTavrionDoc* doc = GetViewDoc();
    ShowWindow(SW_HIDE);
    if (!doc) return;
    if (m_bInitialized) {
        LimitCtrl();
        UpdateCtrlStatus();
        UpdateCtrlValue();
    }
    FollowAgeUnit();
    const FormItemFacts facts = ReadFormItemFacts(*doc);
    if (!facts.bHasItem) return;
    const bool restFrom8000 = m_nDocType == DOC_TYPE_REST && facts.b8000;
    const bool keepsSubId = m_nDocType != DOC_TYPE_EXER && facts.bSubID && !restFrom8000;
    if (!keepsSubId) {
        if (CWnd* subId = GetDlgItem(kSubIdEdit)) subId->EnableWindow(FALSE);
        if (restFrom8000) LimitEdit(*this, 3001, 12);
    }
    SendMessage(WM_SIZE, 0, 0);
    ShowWindow(SW_SHOW);
}

// The sub-age follows the unit the store gave the combo box; a unit the
// list does not hold stays as it was typed.
void CFormPatientInfo::FollowAgeUnit()
{
    CComboBox& unit = m_combos[1];
    if (!unit.m_hWnd) return;
    CString text;
    unit.GetWindowText(text);
    const int index = unit.FindStringExact(-1, text);
    if (index >= 0)
        SendMessage(WM_BOUND_COMBO_CHANGED, kAgeUnitCombo, index);
    else
        unit.SetWindowText(text);
}

LRESULT CFormPatientInfo::OnCmbSelChange(WPARAM wParam, LPARAM lParam)
{
    if (wParam == kAgeUnitCombo) ShowSubAge(static_cast<int>(lParam));
    return 0;
}

void CFormPatientInfo::ShowSubAge(int nUnit)
{
    CTavrionDoc* doc = GetViewDoc();
    CWnd* subAge = GetDlgItem(kSubAgeEdit);
    CWnd* subUnit = GetDlgItem(kSubAgeUnit);
    if (!doc || !subAge || !subUnit || nUnit < 0) return;
    const bool none = doc->Is8000File() || nUnit >= kHourUnit;
    subUnit->SetWindowText(none ? L"" : kAgeUnits[(nUnit + 1) % kAgeUnitCount]);
    subUnit->SendMessage(WM_BOUND_CONTROL_RELOAD);
    subAge->ShowWindow(none ? SW_HIDE : SW_SHOW);
    subUnit->ShowWindow(none ? SW_HIDE : SW_SHOW);
    if (!none) subAge->SendMessage(WM_BOUND_CONTROL_RELOAD);
    doc->SetSubAgeFlag(none ? 0 : 1);
}

void CFormPatientInfo::OnSize(UINT nType, int cx, int cy)
{
    if (m_bInitialized && GetViewDoc()) PlaceRows();
    // WM_SIZE (0, 0) asks for placement only; the scroll sizes follow the real client.
    if (cx == 0 && cy == 0 && m_hWnd) {
        CRect client;
        GetClientRect(&client);
        cx = client.Width();
        cy = client.Height();
    }
    CFormEx::OnSize(nType, cx, cy);
}

void CFormPatientInfo::PlaceRows()
{
    CTavrionDoc* doc = GetViewDoc();
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(doc->GetDocFont(0) ? doc->GetDocFont(0)->m_hObject : nullptr),
                TRUE);
    const _POSITION_CTRL* table = doc->GetDefCtrlPos()->stPatInfo;
    const bool confirmed = doc->IsDoctorConfirm() != 0;
    const bool kanaLocked = m_nDocType == DOC_TYPE_REST && doc->Is8000File();
    for (size_t i = 0; i < m_arrCheckUI.size() && i < static_cast<size_t>(kRowCount); ++i) {
        CWnd* control = m_arrCheckUI[i].GetCtrl();
        if (!control || !control->m_hWnd) continue;
        const _POSITION_CTRL& row = table[i];
        const int index = static_cast<int>(i);
        if ((index == kSexComboRow || index == kAgeUnitComboRow) && row.nTextHeight >= 0)
            static_cast<CCheckComboBox*>(control)->SetRowCount(row.nTextHeight);
        const RECT rect = PlaceFromLayoutRow(row, m_arrCheckUI[i].GetRect(), doc->GetXScale(), doc->GetYScale());
        control->MoveWindow(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
        const bool keptForConfirmation = index >= kFirstConfirmationRow && confirmed;
        if (!row.bVisible && !keptForConfirmation) control->ShowWindow(SW_HIDE);
        if (!doc->IsReadOnly() && (index == kIdRow || index == kNameRow) && !row.bEnable) control->EnableWindow(FALSE);
        if (index == kKanaRow && kanaLocked) control->EnableWindow(FALSE);
    }
}

void CFormPatientInfo::OnPaint()
{
    CPaintDC dc(this);
    for (UINT uID : {3011u, 3012u, 3009u})
        if (CWnd* control = GetDlgItem(uID)) control->Invalidate(FALSE);
}

LRESULT CFormPatientInfo::OnUpdateModify(WPARAM, LPARAM)
{
    ShowWindow(SW_HIDE);
    UpdateCtrlValue();
    ShowWindow(SW_SHOW);
    return 0;
}

BOOL CFormPatientInfo::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message != WM_KEYDOWN || pMsg->wParam != VK_TAB) return CFormEx::PreTranslateMessage(pMsg);
    CWnd* focus = GetFocus();
    if (!focus || !IsChild(focus)) return CFormEx::PreTranslateMessage(pMsg);
    CWnd* control = focus;
    if (CWnd* parent = focus->GetParent(); parent && parent != this && parent->IsKindOf(RUNTIME_CLASS(CComboBox)))
        control = parent;
    const int direction = ::GetKeyState(VK_SHIFT) < 0 ? 1 : 2;
    // One press moves the focus once: to the next form through the pane at
    // the end of the chain, else by the dialog manager's own step.
    if (IsTabJumpEnd(direction, control)) {
        int info[3] = {kStripSource, direction, 0};
        CWnd* frame = GetParent();
        CWnd* pane = frame ? frame->GetParent() : nullptr;
        if (pane && pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(info), 0) == 1) return TRUE;
    }
    return CFormEx::PreTranslateMessage(pMsg);
}

void CFormPatientInfo::SendToPaneParent(UINT message)
{
    CWnd* frame = GetParent();
    CWnd* pane = frame ? frame->GetParent() : nullptr;
    CWnd* target = pane ? pane->GetParent() : nullptr;
    if (target) target->SendMessage(message, 0, 0);
}

bool CFormPatientInfo::UsesGeneralSheetForDoubleClick() const
{
    if (m_nDocType == DOC_TYPE_REST) return false;
    if (m_nDocType != DOC_TYPE_MFER) return true;
    CTavrionDoc* doc = GetViewDoc();
    return !(doc && IsRestingMferCode(ReadFormItemFacts(*doc).uSystemCode));
}

bool CFormPatientInfo::UsesGeneralSheetForRequest() const
{
    if (m_nDocType == DOC_TYPE_REST) return false;
    if (m_nDocType != DOC_TYPE_MFER) return true;
    CTavrionDoc* doc = GetViewDoc();
    return !doc || IsGeneralSheetMferCode(ReadFormItemFacts(*doc).uSystemCode);
}

void CFormPatientInfo::OpenPatientSheet(int nPage, bool bGeneral)
{
    CTavrionDoc* doc = GetViewDoc();
    if (!doc) return;
    const INT_PTR result = bGeneral ? CFormDialogs::GeneralSheet(this, doc, m_nDocType, nPage)
                                    : CFormDialogs::PatientSheet(this, doc, m_nDocType, nPage);
    if (result == IDOK) SendToPaneParent(WM_VIEW_RESULT);
}

void CFormPatientInfo::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    CTavrionDoc* doc = GetViewDoc();
    if (doc && doc->IsPopupMode()) OpenPatientSheet(0, UsesGeneralSheetForDoubleClick());
    CFormEx::OnLButtonDblClk(nFlags, point);
}

LRESULT CFormPatientInfo::OnShowEditDialog(WPARAM, LPARAM lParam)
{
    OpenPatientSheet(static_cast<int>(lParam), UsesGeneralSheetForRequest());
    return 0;
}

int CFormPatientInfo::Print(CECGDC* pDC, CRect rc)
{
    CTavrionDoc* doc = GetViewDoc();
    if (!pDC || !doc || m_arrCheckUI.empty()) return 1;
    CRect client;
    GetClientRect(&client);
    if (client.Width() <= 0 || client.Height() <= 0) return 1;
    const double fx = rc.Width() * doc->GetXScale() / client.Width();
    const double fy = rc.Height() * doc->GetYScale() / client.Height();
    for (const CCheckUI& entry : m_arrCheckUI) {
        CWnd* control = entry.GetCtrl();
        if (!control || !control->m_hWnd || !(control->GetStyle() & WS_VISIBLE)) continue;
        const CRect design = entry.GetRect();
        CRect target(rc.left + static_cast<int>(design.left * fx), rc.top + static_cast<int>(design.top * fy),
                     rc.left + static_cast<int>(design.right * fx), rc.top + static_cast<int>(design.bottom * fy));
        CString text;
        control->GetWindowText(text);
        pDC->DrawText(text, &target, DT_NOPREFIX);
    }
    return 1;
}
