#include "forms/FormInterpreRhyRR.h"

#include <vector>

#include "controls/ButtonST.h"
#include "controls/CheckComboBox.h"
#include "controls/CheckEdit.h"
#include "controls/CheckStatic.h"
#include "controls/MultiEdit.h"
#include "core/PositionCtrl.h"
#include "core/TavrionDoc.h"
#include "core/UserMessages.h"
#include "documents/ExtraViewDoc.h"
#include "documents/MFERViewDoc.h"
#include "documents/RRViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "forms/FormItemFacts.h"
#include "resources/ButtonIconIds.h"

IMPLEMENT_DYNCREATE(CFormInterpreRhyRR, CFormInterpreBase)

// No judgement here: the combo-box change of the master-step form is not routed.
BEGIN_MESSAGE_MAP(CFormInterpreRhyRR, CFormInterpreBase)
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDBLCLK()
    ON_MESSAGE(WM_LINK_OPEN_ADDITIONS, InterpreAddition)
    ON_MESSAGE(WM_COMMENT_EDIT_LEFT, OnCommentWidthChange)
    ON_WM_SIZE()
    ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

constexpr UINT kFirstTitle = 3999, kFirstDel = 4002, kFirstEdit = 4005, kFirstContent = 4008;
constexpr UINT kCommentButton = 3660, kCommentTemplate = 3661, kCommentEditor = 3662, kCommentBox = 4017;
constexpr UINT kRequestSection = 3651;
constexpr int kBirthdayControls = 6;    // list positions 0-5
constexpr int kHeartRateFirst = 54;     // list positions 54-58: 4012-4016
constexpr int kHeartRateRows = 5;
// Rows of Interpre_extra the extra-mode rules name.
constexpr int kExtraInfoRow = 20, kExtraInfoDateRow = 22, kExtraHeading = 23, kHeartRateRow = 48,
              kLeadNameRow = 50, kLeadNameLastRow = 52;

// The template's controls in the order of Interpre_rhythm, then the heart
// rate and lead-name statics of the extra mode.
std::vector<FormRow> RhyRRRows()
{
    using K = FormCtrlKind;
    std::vector<FormRow> rows;
    for (UINT id = 3630; id <= 3635; ++id) rows.push_back({id, id % 2 ? K::Edit : K::Static});
    for (UINT label = 3636; label <= 3646; label += 2) {
        rows.push_back({label, K::Static});
        rows.push_back({label + 1, K::Combo});
    }
    rows.push_back({3648, K::Static});
    rows.push_back({3649, K::Edit});
    for (UINT label = 3650; label <= 3654; label += 2) {
        rows.push_back({label, K::Static});
        rows.push_back({label + 1, K::Combo});
    }
    for (UINT id : {3656u, 3657u, 3658u, 3998u}) rows.push_back({id, K::Static});
    for (UINT k = 0; k < 3; ++k) {
        rows.push_back({kFirstTitle + k, K::Edit});
        rows.push_back({kFirstDel + k, K::Button});
        rows.push_back({kFirstEdit + k, K::Button});
        rows.push_back({kFirstContent + k, K::Wide});
    }
    rows.push_back({4011, K::Link});
    rows.push_back({3659, K::Static});
    rows.push_back({kCommentButton, K::Button});
    rows.push_back({kCommentBox, K::Comment});
    for (UINT id : {3662u, 3663u, 3664u, 3665u, 3666u, 3667u, 3668u, 3669u}) rows.push_back({id, K::Static});
    for (UINT id = 4012; id <= 4016; ++id) rows.push_back({id, K::Static});
    return rows;
}

bool IsExtraMferKind(unsigned int kind)
{
    return kind == 0x7003 || kind == 0x7004 || kind == 0x7006 || kind == 0x7007 || (kind >= 0x7011 && kind <= 0x7016);
}

bool IsRhythmMferKind(unsigned int kind)
{
    return kind == 0x8001 || kind == 0x8003 || kind == 0x800C || kind == 0x800F;
}

}  // namespace

CFormInterpreRhyRR::CFormInterpreRhyRR() : CAdditionFormCommon(IDD, RhyRRRows())
{
}

CFormInterpreRhyRR::~CFormInterpreRhyRR() = default;

const CAdditionFormCommon::Shape& CFormInterpreRhyRR::GetShape() const
{
    static const Shape kWithBirthday = {29, 30, 42, 43, 43, 45, 46, false, 43, 49, 53, kFirstTitle, kFirstDel,
                                        kFirstEdit, kFirstContent, kCommentButton, kCommentTemplate,
                                        3631, 3659, kCommentButton, 3632, 53};
    static const Shape kExtra = {23, 24, 36, 37, 37, 39, 40, false, 37, 43, 47, kFirstTitle, kFirstDel,
                                 kFirstEdit, kFirstContent, kCommentButton, kCommentTemplate,
                                 3631, 3659, kCommentButton, 3632, 52};
    return m_bBuiltExtra ? kExtra : kWithBirthday;
}

unsigned int CFormInterpreRhyRR::CurrentMferKind() const
{
    auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, GetViewDoc());
    _MFERDATAITEM* item = mfer ? mfer->GetCurrentDataItem() : nullptr;
    return item ? item->uSystemCode : 0;
}

bool CFormInterpreRhyRR::IsExtraMode() const
{
    return m_nDocType == DOC_TYPE_EXTRA || (m_nDocType == DOC_TYPE_MFER && IsExtraMferKind(CurrentMferKind()));
}

bool CFormInterpreRhyRR::IsFreeze() const
{
    if (m_nDocType == DOC_TYPE_EXTRA) {
        auto* extra = DYNAMIC_DOWNCAST(CExtraViewDoc, GetViewDoc());
        _EXTRADATAITEM* item = extra ? extra->GetCurrentDataItem() : nullptr;
        return item && item->IsFreeze();
    }
    const unsigned int kind = CurrentMferKind();
    return m_nDocType == DOC_TYPE_MFER && kind >= 0x7011 && kind <= 0x7016;
}

const _POSITION_CTRL* CFormInterpreRhyRR::GetCtrlPosition(int* pAdditions, int* pFreeze) const
{
    CTavrionDoc* doc = GetViewDoc();
    if (pAdditions) *pAdditions = 0;
    if (pFreeze) *pFreeze = 0;
    if (!doc) return nullptr;
    _DEFAULT_POSITION_CTRL* pos = doc->GetDefCtrlPos();
    const _POSITION_CTRL* table = nullptr;
    if (m_nDocType == DOC_TYPE_RHYTHM) table = pos->stRhythm;
    if (m_nDocType == DOC_TYPE_RR) table = pos->stRR;
    if (m_nDocType == DOC_TYPE_EXTRA) table = pos->stExtra;
    if (m_nDocType == DOC_TYPE_MFER) {
        const unsigned int kind = CurrentMferKind();
        if (IsRhythmMferKind(kind)) table = pos->stRhythm;
        if (IsExtraMferKind(kind)) table = pos->stExtra;
    }
    if (!table) return nullptr;
    const bool extra = IsExtraMode();
    AdditionItem item;
    if (pAdditions && CurrentAdditionItem(item))
        *pAdditions = item.addition->bPresent && table[extra ? kExtraHeading : 29].bVisible;
    if (pFreeze) *pFreeze = extra && IsFreeze() && table[kLeadNameRow].bVisible;
    return table;
}

const _POSITION_CTRL* CFormInterpreRhyRR::Layout() const
{
    return GetCtrlPosition(nullptr, nullptr);
}

bool CFormInterpreRhyRR::CurrentAdditionItem(AdditionItem& view) const
{
    CTavrionDoc* doc = GetViewDoc();
    const _ADDITIONAL_INFO* addition = nullptr;
    unsigned int code = 0;
    if (auto* rhythm = DYNAMIC_DOWNCAST(CRhythmViewDoc, doc)) {
        if (_RHYTHMDATAITEM* item = rhythm->GetCurrentDataItem()) addition = &item->stAddition, code = item->uSystemCode;
    } else if (auto* rr = DYNAMIC_DOWNCAST(CRRViewDoc, doc)) {
        if (_RRDATAITEM* item = rr->GetCurrentDataItem()) addition = &item->stAddition, code = item->uSystemCode;
    } else if (auto* extra = DYNAMIC_DOWNCAST(CExtraViewDoc, doc)) {
        if (_EXTRADATAITEM* item = extra->GetCurrentDataItem()) addition = &item->stAddition, code = item->uSystemCode;
    } else if (auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, doc)) {
        if (_MFERDATAITEM* item = mfer->GetCurrentDataItem()) addition = &item->stAddition, code = item->uSystemCode;
    }
    if (!addition) return false;
    view.addition = addition;
    view.bConfirmed = doc->IsDoctorConfirm();
    view.uSystemCode = code;
    return true;
}

bool CFormInterpreRhyRR::AdditionsOn(const AdditionItem&) const
{
    int additions = 0;
    GetCtrlPosition(&additions, nullptr);
    return additions != 0;
}

std::vector<std::pair<int, UINT>> CFormInterpreRhyRR::RequestLists() const
{
    return {{0, 3637}, {1, 3639}, {2, 3641}, {3, 3643}, {4, 3645}, {5, 3647}, {6, 3651}, {7, 3653}, {8, 3655}};
}

bool CFormInterpreRhyRR::EditsAdditions() const
{
    return m_nDocType == DOC_TYPE_RHYTHM || m_nDocType == DOC_TYPE_RR || m_nDocType == DOC_TYPE_EXTRA ||
           m_nDocType == DOC_TYPE_MFER;
}

std::vector<UINT> CFormInterpreRhyRR::ScrollNarrowed() const
{
    return {kFirstContent, kFirstContent + 1, kFirstContent + 2, kCommentBox};
}

// The room number, the information editor line and the comment label are
// drawn again with the request combo boxes.
std::vector<UINT> CFormInterpreRhyRR::RepaintedWithForm() const
{
    return {3649, 3656, 3657, 3658, 3659};
}

// ---- set-up ---------------------------------------------------------------------------------

void CFormInterpreRhyRR::OnInitialUpdate()
{
    CAdditionFormCommon::OnInitialUpdate();
    static const struct {
        UINT uID;
        float fUpper, fLower;
    } kRanges[] = {{3631, 2050.0f, 1900.0f}, {3633, 12.0f, 1.0f}, {3635, 31.0f, 1.0f}};
    for (const auto& range : kRanges)
        if (auto* edit = DYNAMIC_DOWNCAST(CCheckEdit, GetDlgItem(range.uID))) edit->SetRange(range.fUpper, range.fLower);
    CWnd* editor = GetDlgItem(kCommentEditor);
    if (editor && GetCommentEdit()->m_hWnd)
        editor->SetWindowPos(GetCommentEdit(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowModeRows(m_bBuiltExtra);
}

// The rows of the mode: the birthday outside the extra mode, the heart
// rate and the lead-name stamp inside it. Each control keeps its template
// place in the list whichever rows it takes part in.
void CFormInterpreRhyRR::ChooseRows(bool bExtra)
{
    std::vector<int> order;
    const int total = m_controls.ControlCount();
    for (int i = bExtra ? kBirthdayControls : 0; i < kHeartRateFirst; ++i) order.push_back(i);
    if (bExtra)
        for (int i = kHeartRateFirst; i < kHeartRateFirst + kHeartRateRows && i < total; ++i) order.push_back(i);
    m_controls.SetOrder(std::move(order));
    m_bBuiltExtra = bExtra;
}

void CFormInterpreRhyRR::ShowModeRows(bool bExtra)
{
    for (int i = 0; i < kBirthdayControls; ++i)
        if (bExtra && m_controls.Control(i)->m_hWnd) m_controls.Control(i)->ShowWindow(SW_HIDE);
    for (int i = kHeartRateFirst; i < kHeartRateFirst + kHeartRateRows; ++i) {
        CWnd* control = m_controls.Control(i);
        if (!control->m_hWnd) continue;
        const bool heartRate = i < kHeartRateFirst + 2;
        control->ShowWindow(bExtra && heartRate ? SW_SHOW : SW_HIDE);
    }
}

void CFormInterpreRhyRR::InitCheckUIArray()
{
    // The template places, kept from the first build: a later one (the
    // record's mode changed) starts every control from them again.
    if (m_designRects.empty()) {
        for (int i = 0; i < m_controls.ControlCount(); ++i) {
            CWnd* control = m_controls.Control(i);
            if (!control->m_hWnd) continue;
            CRect place;
            control->GetWindowRect(&place);
            ScreenToClient(&place);
            m_designRects[m_controls.ControlId(i)] = place;
        }
    } else {
        for (int i = 0; i < m_controls.ControlCount(); ++i) {
            CWnd* control = m_controls.Control(i);
            const auto design = m_designRects.find(m_controls.ControlId(i));
            if (control->m_hWnd && design != m_designRects.end())
                control->MoveWindow(design->second.left, design->second.top, design->second.Width(),
                                    design->second.Height(), FALSE);
        }
    }
    ChooseRows(IsExtraMode());
    CAdditionFormCommon::InitCheckUIArray();
    m_bBuilt = true;
    ShowModeRows(m_bBuiltExtra);
}

void CFormInterpreRhyRR::SetupCtrl()
{
    for (UINT k = 0; k < 3; ++k) {
        if (auto* del = DYNAMIC_DOWNCAST(CButtonST, GetDlgItem(kFirstDel + k))) del->SetIcon(IDI_BUTTON_DELETE, 0);
        if (auto* edit = DYNAMIC_DOWNCAST(CButtonST, GetDlgItem(kFirstEdit + k))) edit->SetIcon(IDI_BUTTON_EDIT, 0);
    }
    if (auto* confirmation = DYNAMIC_DOWNCAST(CCheckStatic, GetDlgItem(3665))) confirmation->SetColorType(1);
    for (UINT id : {3667u, 3669u, 3657u, 3658u, 3663u, 3664u, 4015u, 4016u})
        if (auto* text = DYNAMIC_DOWNCAST(CCheckStatic, GetDlgItem(id))) text->SetColorType(0);
    if (CWnd* link = GetDlgItem(4011)) {
        if (CFont* font = GetViewDoc()->GetDocFont(0)) link->SetFont(font);
        link->SetWindowText(L"......");
    }
    SetDlgItemText(kCommentButton, L"定型文入力");
}

void CFormInterpreRhyRR::LimitCtrl()
{
    SendDlgItemMessage(3631, EM_LIMITTEXT, 4);
    SendDlgItemMessage(3633, EM_LIMITTEXT, 2);
    SendDlgItemMessage(3635, EM_LIMITTEXT, 2);
    SendDlgItemMessage(3649, EM_LIMITTEXT, 10);
    for (UINT k = 0; k < 3; ++k) {
        SendDlgItemMessage(kFirstTitle + k, EM_LIMITTEXT, 32);
        SendDlgItemMessage(kFirstContent + k, EM_LIMITTEXT, 255);
    }
    for (UINT id : {3637u, 3639u, 3641u, 3643u, 3645u, 3647u}) SendDlgItemMessage(id, CB_LIMITTEXT, 22);
    for (UINT id : {3651u, 3653u, 3655u}) SendDlgItemMessage(id, CB_LIMITTEXT, 20);
    if (GetCommentEdit()->m_hWnd) GetCommentEdit()->LimitCtrl(255);
}

// The request section is the record's own only when it keeps a sub ID (the
// items do not hold the flag for every kind; the record XML's second patient
// section decides, as for the patient strip).
void CFormInterpreRhyRR::UpdateCtrlStatus()
{
    CFormInterpreBase::UpdateCtrlStatus();
    CTavrionDoc* doc = GetViewDoc();
    if (!doc) return;
    for (UINT id : {3637u, 3639u})
        if (auto* combo = DYNAMIC_DOWNCAST(CCheckComboBox, GetDlgItem(id))) combo->SetReadOnly(doc->Is8000File());
    if (CWnd* section = GetDlgItem(kRequestSection); section && !ReadFormItemFacts(*doc).bSubID)
        section->EnableWindow(FALSE);
    ShowModeRows(m_bBuiltExtra);
}

// ---- layout -----------------------------------------------------------------------------------

void CFormInterpreRhyRR::MoveCtrl(int bRetry)
{
    // The rows follow the record: a record of the other mode rebuilds them,
    // so that the table in use and the rows it places always agree.
    if (m_bBuilt && IsExtraMode() != m_bBuiltExtra && Layout()) {
        InitCheckUIArray();
        m_controls.SetDoc(GetViewDoc());
    }
    CAdditionFormCommon::MoveCtrl(bRetry);
}

void CFormInterpreRhyRR::AdjustOffset(int row, Walk& w)
{
    if (m_bBuiltExtra && row == kExtraInfoRow && !w.anyShown && w.t[kHeartRateRow].bVisible)
        w.offset -= w.t[kHeartRateRow].nHeight;
    if (row == GetShape().heading) {
        int freeze = 0;
        GetCtrlPosition(nullptr, &freeze);
        if (m_bBuiltExtra && freeze) w.offset -= w.t[kLeadNameRow].nHeight;
        w.kept = w.offset;
    }
    CAdditionFormCommon::AdjustOffset(row, w);
}

// The heart rate stands at its layout place; the lead-name stamp below the
// information editor, only for a freeze record. Neither counts for the
// content's height.
bool CFormInterpreRhyRR::PlaceOwnRow(int row, Walk& w)
{
    if (!m_bBuiltExtra || row < kHeartRateRow || row > kLeadNameLastRow) return false;
    CWnd* control = m_controls.Row(row);
    int freeze = 0;
    GetCtrlPosition(nullptr, &freeze);
    const bool leadName = row >= kLeadNameRow;
    if (leadName && !freeze) {
        control->ShowWindow(SW_HIDE);
        return true;
    }
    MoveRow(row, *control, w, leadName ? w.kept : 0);
    control->ShowWindow(w.t[row].bVisible ? SW_SHOW : SW_HIDE);
    return true;
}

int CFormInterpreRhyRR::ClosingTop(int row, const Walk& w) const
{
    if (m_bBuiltExtra && row == kExtraInfoDateRow) return w.t[kLeadNameRow].nTop;
    return CAdditionFormCommon::ClosingTop(row, w);
}
