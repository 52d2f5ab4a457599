#include "forms/FormInterpre.h"

#include "core/PositionCtrl.h"
#include "core/TavrionDoc.h"
#include "core/UserMessages.h"

IMPLEMENT_DYNCREATE(CFormInterpre, CFormInterpreBase)

BEGIN_MESSAGE_MAP(CFormInterpre, CFormInterpreBase)
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_MESSAGE(WM_LINK_OPEN_ADDITIONS, InterpreAddition)
    ON_MESSAGE(WM_COMMENT_EDIT_LEFT, OnCommentWidthChange)
    ON_MESSAGE(WM_BOUND_COMBO_CHANGED, OnCmbSelChange)
    ON_MESSAGE(WM_RECORD_MODIFIED, OnUpdateModify)
END_MESSAGE_MAP()

namespace {

// Rows of Interpre_rest whose heights are the code and addition rows' own.
constexpr int kFirstAdditionRow = 38, kFirstMinnesotaRow = 52, kFirstIvrelRow = 95;

constexpr UINT kFirstIvrelCode = 3097, kFirstIvrelMark = 3108, kFirstIvrelDel = 3119, kFirstIvrelEdit = 3130,
               kFirstIvrelText = 3141;
constexpr UINT kFirstMinneCode = 3062, kFirstMinneMark = 3054, kFirstMinneDel = 3070, kFirstMinneEdit = 3078,
               kFirstMinneText = 3086;
constexpr UINT kFirstAdditionTitle = 3971, kFirstAdditionDel = 3974, kFirstAdditionEdit = 3977,
               kFirstAdditionContent = 3980;
constexpr UINT kJudgementValue = 3095, kJudgementCombo = 3096, kRecommend = 3153, kCommentButton = 3158,
               kCommentEdit = 4017, kAdditionLink = 3983;

const UINT kRequestCombos[] = {3031, 3033, 3035, 3037, 3039, 3041, 3045, 3047, 3049};

std::vector<FormRow> RestRows()
{
    using K = FormCtrlKind;
    std::vector<FormRow> rows;
    for (UINT k = 0; k < 10; ++k) {
        rows.push_back({3030 + 2 * k, K::Static});
        rows.push_back({3031 + 2 * k, k == 6 ? K::Edit : K::Combo});   // the room number is typed
    }
    for (UINT id = 3168; id <= 3181; ++id) rows.push_back({id, K::Static});
    for (UINT id : {3050u, 3051u, 3052u, 3970u}) rows.push_back({id, K::Static});
    for (UINT k = 0; k < 3; ++k) {
        rows.push_back({kFirstAdditionTitle + k, K::Edit});
        rows.push_back({kFirstAdditionDel + k, K::Button});
        rows.push_back({kFirstAdditionEdit + k, K::Button});
        rows.push_back({kFirstAdditionContent + k, K::Wide});
    }
    rows.push_back({kAdditionLink, K::Link});
    rows.push_back({3053, K::Static});
    for (UINT k = 0; k < 8; ++k) {
        rows.push_back({kFirstMinneCode + k, K::Edit});
        rows.push_back({kFirstMinneMark + k, K::Static});
        rows.push_back({kFirstMinneDel + k, K::Button});
        rows.push_back({kFirstMinneEdit + k, K::Button});
        rows.push_back({kFirstMinneText + k, K::Wide});
    }
    rows.push_back({3094, K::Static});
    rows.push_back({kJudgementValue, K::Static});
    rows.push_back({kJudgementCombo, K::Combo});
    for (UINT k = 0; k < 11; ++k) {
        rows.push_back({kFirstIvrelCode + k, K::Edit});
        rows.push_back({kFirstIvrelMark + k, K::Static});
        rows.push_back({kFirstIvrelDel + k, K::Button});
        rows.push_back({kFirstIvrelEdit + k, K::Button});
        rows.push_back({kFirstIvrelText + k, K::Wide});
    }
    rows.push_back({3152, K::Static});
    rows.push_back({kRecommend, K::Wide});
    for (UINT id : {3154u, 3155u, 3156u, 3157u}) rows.push_back({id, K::Static});
    rows.push_back({kCommentButton, K::Button});
    rows.push_back({kCommentEdit, K::Comment});
    for (UINT id = 3160; id <= 3167; ++id) rows.push_back({id, K::Static});
    return rows;
}

}  // namespace

CFormInterpre::CFormInterpre() : CRestFormCommon(IDD, RestRows())
{
}

CFormInterpre::~CFormInterpre() = default;

const _POSITION_CTRL* CFormInterpre::Layout() const
{
    return GetViewDoc()->GetDefCtrlPos()->stRest;
}

void CFormInterpre::TakeRowHeights(const _POSITION_CTRL* table)
{
    TakeRowHeightsAt(table, kFirstAdditionRow, kFirstIvrelRow, kFirstMinnesotaRow);
}

std::vector<std::pair<int, UINT>> CFormInterpre::RequestLists() const
{
    std::vector<std::pair<int, UINT>> lists;
    for (int list = 0; list < 9; ++list) lists.emplace_back(list, kRequestCombos[list]);
    return lists;
}

int CFormInterpre::Print(CECGDC* pDC, CRect rc)
{
    return DrawTexts(pDC, rc);
}
