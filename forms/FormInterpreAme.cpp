#include "forms/FormInterpreAme.h"

#include <algorithm>

#include "controls/CheckComboBox.h"
#include "controls/MultiEdit.h"
#include "core/Globals.h"
#include "core/PositionCtrl.h"
#include "core/TavrionDoc.h"
#include "core/UserMessages.h"
#include "forms/FormCommentBox.h"
#include "platform/ui/framework/FrameWnd.h"

IMPLEMENT_DYNCREATE(CFormInterpreAme, CFormInterpreBase)

BEGIN_MESSAGE_MAP(CFormInterpreAme, CFormInterpreBase)
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

// Rows of Interpre_usa_rest the rules name.
enum : int {
    kMeasureColumn = 16,
    kFirstTripRow = 30,
    kLastTripRow = 33,
    kAdditionColumn = 34,
    kFirstAdditionRow = 35,
    kLastAdditionRow = 46,
    kAdditionLinkRow = 47,
    kMinnesotaLabelRow = 48,
    kFirstMinnesotaRow = 49,
    kMinnesotaTextOfRow1 = 53,
    kLastMinnesotaRow = 88,
    kIvrelLabelRow = 89,
    kJudgementComboRow = 91,
    kFirstIvrelRow = 92,
    kIvrelTextOfRow1 = 96,
    kLastIvrelRow = 146,
    kRecommendTitleRow = 147,
    kRecommendRow = 148,
    kFirstConfirmRow = 149,
    kLastConfirmRow = 153,
    kCommentColumn = 154,
    kCommentRow = 156,
};

constexpr UINT kRecommend = 3153;
const int kComboRows[] = {1, 3, 5, 7, 9, 11, 13, 15, kJudgementComboRow};

std::vector<FormRow> AmeRows()
{
    using K = FormCtrlKind;
    std::vector<FormRow> rows;
    for (UINT label : {3030u, 3032u, 3034u, 3036u, 3038u, 3040u, 3046u, 3048u}) {
        rows.push_back({label, K::Static});
        rows.push_back({label + 1, K::Combo});
    }
    for (UINT id = 3168; id <= 3181; ++id) rows.push_back({id, K::Static});
    rows.push_back({3182, K::Static});
    rows.push_back({3183, K::Edit});
    rows.push_back({3184, K::Static});
    rows.push_back({3185, K::Edit});
    rows.push_back({3970, K::Static});
    for (UINT k = 0; k < 3; ++k) {
        rows.push_back({3971 + k, K::Edit});
        rows.push_back({3974 + k, K::Button});
        rows.push_back({3977 + k, K::Button});
        rows.push_back({3980 + k, K::Wide});
    }
    rows.push_back({3983, K::Link});
    rows.push_back({3053, K::Static});
    for (UINT k = 0; k < 8; ++k) {
        rows.push_back({3062 + k, K::Edit});
        rows.push_back({3054 + k, K::Static});
        rows.push_back({3070 + k, K::Button});
        rows.push_back({3078 + k, K::Button});
        rows.push_back({3086 + k, K::Wide});
    }
    rows.push_back({3094, K::Static});
    rows.push_back({3095, K::Static});
    rows.push_back({3096, K::Combo});
    for (UINT k = 0; k < 11; ++k) {
        rows.push_back({3097 + k, K::Edit});
        rows.push_back({3108 + k, K::Static});
        rows.push_back({3119 + k, K::Button});
        rows.push_back({3130 + k, K::Button});
        rows.push_back({3141 + k, K::Wide});
    }
    rows.push_back({3152, K::Static});
    rows.push_back({kRecommend, K::Wide});
    for (UINT id = 3163; id <= 3167; ++id) rows.push_back({id, K::Static});
    rows.push_back({3157, K::Static});
    rows.push_back({3158, K::Button});
    rows.push_back({4017, K::Comment});
    return rows;
}

int Trunc(double value)
{
    return static_cast<int>(value);
}

int RoundUpEven(int value)
{
    return value % 2 ? value + 1 : value;
}

bool Between(int row, int first, int last)
{
    return row >= first && row <= last;
}

}  // namespace

// The running state of the landscape layout's first pass.
struct CFormInterpreAme::Columns {
    const _POSITION_CTRL* t = nullptr;
    double fx = 1.0, fy = 1.0;
    int fh = 12;
    bool additions = false, minnesota = false, ivrel = false, trip = false, b8000 = false;
    int minnesotaRowsBut1 = 0, ivrelRowsBut1 = 0;
    int minnesotaLast = 0, ivrelLast = 0;
    int dy = 0, dx = 0, dw = 0, shown = 0;
    bool requestShown = true;   // F: the request column holds a shown control
    int bottom = 0, b1 = 0, b2 = 0, b3 = 0, bc = 0, right = 0;
    CRect client;
    int vMin = 0, vMax = 0, vPos = 0, hMin = 0, hMax = 0, hPos = 0;

    int X(int row, const CRect& design) const { return t[row].nLeft == -1 ? design.left : t[row].nLeft; }
    int Y(int row) const { return t[row].nTop; }
};

CFormInterpreAme::CFormInterpreAme() : CRestFormCommon(IDD, AmeRows())
{
    // The landscape form's addition rows are low until the layout gives their height.
    m_nAdditionRowHeight = 5;
}

CFormInterpreAme::~CFormInterpreAme() = default;

const _POSITION_CTRL* CFormInterpreAme::Layout() const
{
    return GetViewDoc()->GetDefCtrlPos()->stUsaRest;
}

void CFormInterpreAme::TakeRowHeights(const _POSITION_CTRL* table)
{
    TakeRowHeightsAt(table, kFirstAdditionRow, kFirstIvrelRow, kFirstMinnesotaRow);
}

std::vector<std::pair<int, UINT>> CFormInterpreAme::RequestLists() const
{
    // List 6 (the request section) has no field on this form.
    return {{0, 3031}, {1, 3033}, {2, 3035}, {3, 3037}, {4, 3039}, {5, 3041}, {7, 3047}, {8, 3049}};
}

bool CFormInterpreAme::EditsAdditions() const
{
    return m_nDocType == DOC_TYPE_REST;
}

int CFormInterpreAme::Print(CDC*, CRect*, UINT)
{
    return 1;
}

void CFormInterpreAme::LimitCtrl()
{
    if (auto* judgement = DYNAMIC_DOWNCAST(CCheckComboBox, GetDlgItem(3096))) judgement->SetReadOnly(TRUE);
    for (UINT id : {3183u, 3185u}) SendDlgItemMessage(id, EM_LIMITTEXT, 3);
    for (UINT id : {3031u, 3033u, 3035u, 3037u, 3039u, 3041u}) SendDlgItemMessage(id, CB_LIMITTEXT, 22);
    for (UINT id : {3047u, 3049u}) SendDlgItemMessage(id, CB_LIMITTEXT, 20);
    for (UINT k = 0; k < kAdditionRows; ++k) {
        SendDlgItemMessage(3971 + k, EM_LIMITTEXT, 32);
        SendDlgItemMessage(3980 + k, EM_LIMITTEXT, 255);
    }
    for (UINT k = 0; k < kMinnesotaRows; ++k) SendDlgItemMessage(3062 + k, EM_LIMITTEXT, 6);
    for (UINT k = 0; k < kIvrelRows; ++k) SendDlgItemMessage(3097 + k, EM_LIMITTEXT, 7);
    if (GetCommentEdit()->m_hWnd) GetCommentEdit()->LimitCtrl(255);
}

void CFormInterpreAme::StretchComment()
{
    StretchCommentBox(*this, *GetCommentEdit());
}

void CFormInterpreAme::UpdateAdditionLineCount(const ItemView& item)
{
    const _POSITION_CTRL* t = Layout();
    const bool additions = item.addition->bPresent && t[kAdditionColumn].bVisible;
    int sum = 0;
    for (int k = 0; k < kAdditionRows; ++k) {
        if (additions && t[kFirstAdditionRow + 4 * k + 3].bVisible) sum += LineCount(3980 + k) - 1;
        m_nAdditionLines[k] = sum;
    }
    sum = 0;
    for (int k = 0; k < kIvrelRows; ++k) m_nIvrelLines[k] = sum += LineCount(3141 + k) - 1;
    sum = 0;
    for (int k = 0; k < kMinnesotaRows; ++k) m_nMinnesotaLines[k] = sum += LineCount(3086 + k) - 1;
}

bool CFormInterpreAme::IsTripRecord(const ItemView& item) const
{
    const unsigned int low = item.uSystemCode & 0xFF;
    return !item.bMfer && (low == 254 || low == 243 || low == 226);
}

void CFormInterpreAme::HideSections(const Columns& c)
{
    auto hide = [&](int first, int last) {
        for (int row = first; row <= last; ++row) m_controls.Row(row)->ShowWindow(SW_HIDE);
    };
    if (!c.additions) hide(kAdditionColumn, kAdditionLinkRow);
    if (!c.minnesota) hide(kMinnesotaLabelRow, kLastMinnesotaRow);
    if (!c.ivrel) hide(kIvrelLabelRow, kLastIvrelRow);
    if (!c.trip) hide(kFirstTripRow, kLastTripRow);
    for (UINT id : {3035u, 3037u, 3039u, 3041u, 3047u, 3049u})
        if (CWnd* control = GetDlgItem(id)) control->EnableWindow(!c.b8000 && !GetViewDoc()->IsReadOnly());
}

void CFormInterpreAme::MoveCtrl(int bRecheck)
{
    CTavrionDoc* doc = GetViewDoc();
    ItemView item;
    if (!doc || !m_bInitialized || !CurrentItem(item)) return;
    ++m_nLayoutPasses;
    Columns c;
    c.t = Layout();
    GetClientRect(&c.client);
    UpdateAdditionLineCount(item);
    GetScrollRange(SB_VERT, &c.vMin, &c.vMax);
    c.vPos = GetScrollPos(SB_VERT);
    GetScrollRange(SB_HORZ, &c.hMin, &c.hMax);
    c.hPos = GetScrollPos(SB_HORZ);
    ScrollToPosition(CPoint(0, 0));
    c.fx = doc->GetXScale();
    c.fy = doc->GetYScale();
    c.fh = FormFontHeight();
    c.minnesotaRowsBut1 = std::max(item.MinnesotaShown() - 1, 0);
    c.ivrelRowsBut1 = std::max(item.IvrelShown() - 1, 0);
    c.minnesotaLast = 5 * c.minnesotaRowsBut1 + 53;
    c.ivrelLast = 5 * c.ivrelRowsBut1 + (item.bMfer ? 92 : 96);
    c.additions = item.addition->bPresent && c.t[kAdditionColumn].bVisible;
    c.minnesota = c.t[kMinnesotaLabelRow].bVisible != 0;
    c.ivrel = c.t[kIvrelLabelRow].bVisible != 0;
    c.trip = IsTripRecord(item) && c.t[kFirstTripRow].bVisible;
    c.b8000 = !item.bMfer && item.b8000;
    HideSections(c);
    for (int row = 0; row < m_controls.Count(); ++row) PlaceAmeRow(row, c, item);
    bool mismatch = false;
    const Growth growth{c.fy, c.fh, 0};
    if (c.additions)
        GrowBlock(kFirstAdditionRow, 4, kAdditionRows, 3, m_nAdditionLines, m_nAdditionRowHeight, growth, mismatch);
    if (c.minnesota)
        GrowBlock(kFirstMinnesotaRow, 5, kMinnesotaRows, 4, m_nMinnesotaLines, m_nMinnesotaRowHeight, growth,
                  mismatch);
    if (c.ivrel) GrowBlock(kFirstIvrelRow, 5, kIvrelRows, 4, m_nIvrelLines, m_nIvrelRowHeight, growth, mismatch);
    FinishAmeScroll(c);
    if (mismatch && bRecheck) MoveCtrl(0);
}

void CFormInterpreAme::StartColumn(int row, Columns& c)
{
    const CRect none;
    if (row == kMeasureColumn) {
        c.b1 = c.bottom;
        c.dy = 0;
        c.requestShown = c.shown != 0;
        if (!c.shown) c.dx += c.X(kMeasureColumn, none) - c.X(0, none);
        c.shown = 0;
    } else if (row == kAdditionColumn) {
        c.b2 = c.bottom;
        c.dy = 0;
        if (!c.shown) {
            c.dx += c.X(kAdditionColumn, none) - c.X(kMeasureColumn, none);
            c.dw += c.X(kAdditionColumn, none) - c.X(kMeasureColumn, none);
        }
        c.shown = 0;
    } else if (row == kCommentColumn) {
        c.b3 = c.bottom;
        c.dy = 0;
        if (!c.t[kFirstConfirmRow].bVisible) {
            if (c.t[kRecommendRow].bVisible)
                c.b3 += Trunc((LineCount(kRecommend) - 1) * c.fh / c.fy);
            else if (c.ivrel)
                c.b3 += Trunc((c.fh + 0.5) * m_nIvrelLines[kIvrelRows - 1] + 0.5);
            else if (c.minnesota)
                c.b3 += Trunc((c.fh + 0.5) * m_nMinnesotaLines[kMinnesotaRows - 1] + 0.5);
            else if (c.additions)
                c.b3 += Trunc((c.fh + 0.5) * m_nAdditionLines[kAdditionRows - 1] + 0.5);
        }
        if (!c.shown) {
            c.dx += c.X(kCommentColumn, none) - c.X(kAdditionColumn, none);
            c.dw += c.X(kCommentColumn, none) - c.X(kAdditionColumn, none);
        }
        c.shown = 0;
    }
}

// The closing-up rules ahead of a row; true when the row is skipped (left
// where it is and not counted).
bool CFormInterpreAme::SkipRow(int row, Columns& c)
{
    const double lineDesign = c.fh / c.fy;
    if (row == kIvrelLabelRow && c.minnesota)
        c.dy += Trunc((c.Y(kLastMinnesotaRow) - c.Y(kMinnesotaTextOfRow1)) -
                      lineDesign * m_nMinnesotaLines[kMinnesotaRows - 1] -
                      m_nMinnesotaRowHeight * c.minnesotaRowsBut1 - 0.5);
    if (row == kRecommendTitleRow && c.ivrel)
        c.dy += Trunc((c.Y(kLastIvrelRow) - c.Y(kIvrelTextOfRow1)) - lineDesign * m_nIvrelLines[kIvrelRows - 1] -
                      m_nIvrelRowHeight * c.ivrelRowsBut1 - 0.5);
    if (c.Y(row) == -1) return false;
    if (!c.additions && Between(row, kAdditionColumn, kLastAdditionRow)) {
        // The rows after the additions close up over them; a Minnesota block
        // that a stylesheet puts above the additions (a column of its own)
        // is not pushed down by the gap.
        if (row == 37) c.dy += std::max(0, c.Y(kMinnesotaLabelRow) - c.Y(kAdditionColumn));
        return true;
    }
    if (!c.minnesota && Between(row, kMinnesotaLabelRow, kLastMinnesotaRow)) {
        if (row == kMinnesotaLabelRow) c.dy += c.Y(kIvrelLabelRow) - c.Y(kMinnesotaLabelRow);
        return true;
    }
    if (!c.ivrel && Between(row, kIvrelLabelRow, kLastIvrelRow)) {
        if (row == kIvrelLabelRow) c.dy += c.Y(kRecommendTitleRow) - c.Y(kIvrelLabelRow);
        return true;
    }
    if (!c.trip && Between(row, kFirstTripRow, kLastTripRow)) return true;
    if (row == kFirstConfirmRow && c.t[kRecommendRow].bVisible)
        c.dy -= Trunc((LineCount(kRecommend) - 1) * lineDesign);
    if (row == kAdditionLinkRow) {
        if (c.dy != 0) c.dy += Trunc(c.fy * -2.0);
        if (c.additions) c.dy -= Trunc(c.fh * m_nAdditionLines[kAdditionRows - 1] / c.fy + 0.5);
    }
    return false;
}

bool CFormInterpreAme::IsAmeRowVisible(int row, const ItemView& item) const
{
    const _POSITION_CTRL* t = Layout();
    bool visible = t[row].bVisible != 0;
    if (Between(row, kAdditionColumn, kAdditionLinkRow) && !item.bMfer && item.b8000) visible = false;
    if (Between(row, kFirstConfirmRow, kLastConfirmRow) && item.bConfirmed) visible = true;
    if (row == kAdditionLinkRow && visible && item.addition->nCount <= kAdditionRows) {
        bool hiddenWithText = false;
        for (UINT k = 0; k < kAdditionRows; ++k) {
            if (t[kFirstAdditionRow + 4 * k + 3].bVisible) continue;
            CString title, content;
            GetDlgItem(3971 + k)->GetWindowText(title);
            GetDlgItem(3980 + k)->GetWindowText(content);
            hiddenWithText = hiddenWithText || !title.IsEmpty() || !content.IsEmpty();
        }
        visible = hiddenWithText;
    }
    return visible;
}

void CFormInterpreAme::PlaceAmeRow(int row, Columns& c, const ItemView& item)
{
    CWnd* control = m_controls.Row(row);
    if (!control || !control->m_hWnd || row >= static_cast<int>(m_arrCheckUI.size())) return;
    StartColumn(row, c);
    if (SkipRow(row, c)) return;
    const _POSITION_CTRL& r = c.t[row];
    const CRect design = m_arrCheckUI[row].GetRect();
    const int x = r.nLeft == -1 ? design.left : r.nLeft;
    const int y = r.nTop == -1 ? design.top : r.nTop;
    int w = r.nWidth == -1 ? design.Width() : r.nWidth;
    int h = r.nHeight == -1 ? design.Height() : r.nHeight;
    if (row == kCommentRow && r.nWidth != -1) w = r.nWidth + c.dw;
    if (row == kCommentRow && r.nHeight != -1) h = m_nCommentExtraHeight + r.nHeight;
    if (row == kRecommendRow && r.nHeight != -1) h = Trunc((LineCount(kRecommend) - 1) * c.fh / c.fy) + r.nHeight;
    const int left = Trunc((x - c.dx) * c.fx);
    const int top = Trunc((y - c.dy) * c.fy);
    const int right = left + Trunc(w * c.fx);
    const int bottom = top + Trunc(h * c.fy);
    const bool combo = std::find(std::begin(kComboRows), std::end(kComboRows), row) != std::end(kComboRows);
    if (combo && r.nTextHeight >= 0) static_cast<CCheckComboBox*>(control)->SetRowCount(r.nTextHeight);
    control->MoveWindow(left, top, right - left, bottom - top, TRUE);
    if (!IsAmeRowVisible(row, item)) {
        control->ShowWindow(SW_HIDE);
        const bool closedAdditions = !c.additions && Between(row, kAdditionColumn, kAdditionLinkRow);
        if (!closedAdditions && row != kCommentRow) c.dy += c.Y(row + 1) - c.Y(row);
        return;
    }
    if (Between(row, kCommentColumn, kCommentRow) && c.requestShown) {
        control->ShowWindow(SW_HIDE);
        c.bc = 0;
        return;
    }
    ++c.shown;
    if (Between(row, kMinnesotaTextOfRow1, kLastMinnesotaRow)) {
        if (row <= c.minnesotaLast && c.minnesota) c.bottom = bottom;
    } else if (Between(row, kIvrelTextOfRow1, kLastIvrelRow)) {
        if (row <= c.ivrelLast && c.ivrel) c.bottom = bottom;
    } else if (row == kCommentRow) {
        c.bc = bottom;
    } else {
        c.bottom = combo ? Trunc(r.nTextHeight * c.fy + top) : bottom;
    }
    c.right = std::max(c.right, right);
}

void CFormInterpreAme::FinishAmeScroll(Columns& c)
{
    CWnd* recommend = GetDlgItem(kRecommend);
    const int baseHeight = c.t[kRecommendRow].nHeight;
    if (recommend && baseHeight != -1) {
        CRect place;
        recommend->GetWindowRect(&place);
        ScreenToClient(&place);
        const int lines = LineCount(kRecommend);
        const int height = lines > 1 ? RoundUpEven(Trunc(baseHeight * c.fy + (lines - 1) * c.fh + 0.5))
                                     : Trunc(baseHeight * c.fy);
        recommend->MoveWindow(place.left, place.top, place.Width(), height, TRUE);
    }
    const int contentBottom = std::max({c.b1, c.b2, c.b3, c.bc});
    int vPos = 0, sb = 0;
    if (contentBottom - c.client.top > c.client.Height() && c.vMax > c.vMin) {
        vPos = (contentBottom - c.client.top) * c.vPos / (c.vMax - c.vMin);
        sb = ::GetSystemMetrics(SM_CYVSCROLL);
    }
    const int style = static_cast<int>(GetViewDoc()->GetRhythmWaveStyle());
    const bool wide = style == 2 || style == 4 || style == 6 || style == 8 || style == 10;
    const int contentRight = wide ? c.right + sb : c.right - sb;
    int hPos = 0;
    if (contentRight - c.client.left > c.client.Width() && c.hMax > c.hMin)
        hPos = (contentRight - c.client.left) * c.hPos / (c.hMax - c.hMin);
    if (CMultiEdit* comment = GetCommentEdit(); comment->m_hWnd && sb) {
        CRect place;
        comment->GetWindowRect(&place);
        ScreenToClient(&place);
        comment->MoveWindow(place.left, place.top, place.Width() - sb, place.Height(), TRUE);
    }
    SetScrollSizes(MM_TEXT, CSize(contentRight - c.client.left, contentBottom - c.client.top));
    ScrollToPosition(CPoint(hPos, vPos));
    if (CFrameWnd* frame = GetParentFrame()) frame->RecalcLayout();
}
