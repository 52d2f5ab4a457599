#include "forms/FormInterpreMsfr.h"

#include "controls/ButtonST.h"
#include "controls/CheckComboBox.h"
#include "controls/CheckStatic.h"
#include "controls/MultiEdit.h"
#include "core/PositionCtrl.h"
#include "core/TavrionDoc.h"
#include "core/UserMessages.h"
#include "documents/FinalViewDoc.h"
#include "resources/ButtonIconIds.h"

IMPLEMENT_DYNCREATE(CFormInterpreMsfr, CFormInterpreBase)

BEGIN_MESSAGE_MAP(CFormInterpreMsfr, CFormInterpreBase)
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDBLCLK()
    ON_MESSAGE(WM_LINK_OPEN_ADDITIONS, InterpreAddition)
    ON_MESSAGE(WM_BOUND_COMBO_CHANGED, OnCmbSelChange)
    ON_MESSAGE(WM_COMMENT_EDIT_LEFT, OnCommentWidthChange)
    ON_WM_SIZE()
    ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

enum : int {
    kAdditionLabelRow = 16,
    kFirstAdditionRow = 17,
    kAdditionLinkRow = 29,
    kIvrelLabelRow = 30,
    kCommentLabelRow = 33,
    kCommentRow = 35,
    kFirstConfirmRow = 36,
    kLastRow = 40,
};

constexpr UINT kFirstTitle = 3985, kFirstDel = 3988, kFirstEdit = 3991, kFirstContent = 3994;
constexpr UINT kJudgementCode = 3617, kJudgementCombo = 3618, kCommentButton = 3620, kCommentTemplate = 3621,
               kCommentBox = 4017;
constexpr int kAdditionRows = 3;
const std::pair<int, UINT> kLists[] = {{0, 3601}, {1, 3603}, {2, 3605}, {3, 3607},
                                       {4, 3609}, {5, 3611}, {7, 3613}, {8, 3615}};

std::vector<FormRow> MsfrRows()
{
    using K = FormCtrlKind;
    std::vector<FormRow> rows;
    for (UINT label = 3600; label <= 3614; label += 2) {
        rows.push_back({label, K::Static});
        rows.push_back({label + 1, K::Combo});
    }
    rows.push_back({3984, K::Static});
    for (UINT k = 0; k < kAdditionRows; ++k) {
        rows.push_back({kFirstTitle + k, K::Edit});
        rows.push_back({kFirstDel + k, K::Button});
        rows.push_back({kFirstEdit + k, K::Button});
        rows.push_back({kFirstContent + k, K::Wide});
    }
    rows.push_back({3997, K::Link});
    rows.push_back({3616, K::Static});
    rows.push_back({kJudgementCode, K::Static});
    rows.push_back({kJudgementCombo, K::Combo});
    rows.push_back({3619, K::Static});
    rows.push_back({kCommentButton, K::Button});
    rows.push_back({kCommentBox, K::Comment});
    for (UINT id = 3622; id <= 3626; ++id) rows.push_back({id, K::Static});
    return rows;
}

}  // namespace

CFormInterpreMsfr::CFormInterpreMsfr() : CAdditionFormCommon(IDD, MsfrRows())
{
}

CFormInterpreMsfr::~CFormInterpreMsfr() = default;

UINT CFormInterpreMsfr::JudgementComboId() const
{
    return kJudgementCombo;
}

const CFormInterpreMsfr::Shape& CFormInterpreMsfr::GetShape() const
{
    static const Shape kShape = {kAdditionLabelRow, kFirstAdditionRow, kAdditionLinkRow, kIvrelLabelRow,
                                 kIvrelLabelRow, kCommentRow, kFirstConfirmRow, true, kCommentLabelRow,
                                 kFirstConfirmRow, kLastRow, kFirstTitle, kFirstDel, kFirstEdit, kFirstContent,
                                 kCommentButton, kCommentTemplate, 3601, 3619, kCommentButton, 3602, kLastRow};
    return kShape;
}

std::vector<std::pair<int, UINT>> CFormInterpreMsfr::RequestLists() const
{
    return std::vector<std::pair<int, UINT>>(std::begin(kLists), std::end(kLists));
}

std::vector<UINT> CFormInterpreMsfr::ScrollNarrowed() const
{
    return {kJudgementCombo, kFirstContent, kFirstContent + 1, kFirstContent + 2, kCommentBox};
}

bool CFormInterpreMsfr::CurrentAdditionItem(AdditionItem& view) const
{
    auto* doc = DYNAMIC_DOWNCAST(CFinalViewDoc, GetViewDoc());
    _FINALDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    if (!item) return false;
    view.addition = &item->stAddition;
    view.bConfirmed = doc->IsDoctorConfirm();
    view.uSystemCode = item->uSystemCode;
    return true;
}

const _POSITION_CTRL* CFormInterpreMsfr::Layout() const
{
    return GetViewDoc()->GetDefCtrlPos()->stFinal;
}

bool CFormInterpreMsfr::AdditionsOn(const AdditionItem& item) const
{
    return m_nDocType == DOC_TYPE_FINAL && item.addition && item.addition->bPresent &&
           Layout()[GetShape().heading].bVisible;
}

void CFormInterpreMsfr::SetupCtrl()
{
    for (UINT k = 0; k < kAdditionRows; ++k) {
        if (auto* del = DYNAMIC_DOWNCAST(CButtonST, GetDlgItem(kFirstDel + k))) del->SetIcon(IDI_BUTTON_DELETE, 0);
        if (auto* edit = DYNAMIC_DOWNCAST(CButtonST, GetDlgItem(kFirstEdit + k))) edit->SetIcon(IDI_BUTTON_EDIT, 0);
    }
    if (auto* confirmation = DYNAMIC_DOWNCAST(CCheckStatic, GetDlgItem(3622))) confirmation->SetColorType(1);
    for (UINT id : {3624u, 3626u})
        if (auto* text = DYNAMIC_DOWNCAST(CCheckStatic, GetDlgItem(id))) text->SetColorType(0);
    if (CWnd* link = GetDlgItem(3997)) {
        if (CFont* font = GetViewDoc()->GetDocFont(0)) link->SetFont(font);
        link->SetWindowText(L"......");
    }
    SetDlgItemText(kCommentButton, L"定型文入力");
}

void CFormInterpreMsfr::LimitCtrl()
{
    if (auto* judgement = DYNAMIC_DOWNCAST(CCheckComboBox, GetDlgItem(kJudgementCombo))) judgement->SetReadOnly(TRUE);
    for (UINT id : {3601u, 3603u, 3605u, 3607u, 3609u, 3611u}) SendDlgItemMessage(id, CB_LIMITTEXT, 22);
    for (UINT id : {3613u, 3615u}) SendDlgItemMessage(id, CB_LIMITTEXT, 20);
    for (UINT k = 0; k < kAdditionRows; ++k) {
        SendDlgItemMessage(kFirstTitle + k, EM_LIMITTEXT, 32);
        SendDlgItemMessage(kFirstContent + k, EM_LIMITTEXT, 255);
    }
    if (GetCommentEdit()->m_hWnd) GetCommentEdit()->LimitCtrl(255);
}

void CFormInterpreMsfr::UpdateCtrlStatus()
{
    CFormInterpreBase::UpdateCtrlStatus();
    const BOOL b8000 = GetViewDoc() && GetViewDoc()->Is8000File();
    for (UINT id : {3601u, 3603u})
        if (auto* combo = DYNAMIC_DOWNCAST(CCheckComboBox, GetDlgItem(id))) combo->SetReadOnly(b8000);
}

LRESULT CFormInterpreMsfr::OnCmbSelChange(WPARAM wParam, LPARAM lParam)
{
    if (wParam == kJudgementCombo) ShowJudgementCode(kJudgementCode, static_cast<int>(lParam));
    return 0;
}
