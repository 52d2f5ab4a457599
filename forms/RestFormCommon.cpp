#include "forms/FormDialogs.h"
#include "forms/RestFormCommon.h"

#include <algorithm>
#include <cstdlib>

#include "controls/ButtonST.h"
#include "controls/CheckComboBox.h"
#include "controls/CheckEdit.h"
#include "controls/LinkStatic.h"
#include "controls/MultiEdit.h"
#include "core/ECGXMLParser.h"
#include "core/Globals.h"
#include "core/PositionCtrl.h"
#include "core/TavrionDoc.h"
#include "core/UserMessages.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "forms/FormCommentBox.h"
#include "forms/FormItemFacts.h"
#include "forms/FormPaneParent.h"
#include "forms/LayoutPlacement.h"
#include "printdevice/ECGDC.h"
#include "resources/ButtonIconIds.h"
#include "platform/ui/framework/DataExchange.h"
#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/framework/PaintDC.h"
#include "platform/ui/windowing/Resources.h"

namespace {

// Rows of Interpre_rest the rules name.
enum : int {
    kFirstMeasureRow = 20,
    kLastRequestRow = 19,
    kEditorRow = 34,
    kAdditionLabelRow = 37,
    kFirstAdditionRow = 38,
    kAdditionLinkRow = 50,
    kMinnesotaLabelRow = 51,
    kFirstMinnesotaRow = 52,
    kMinnesotaTextOfRow1 = 56,
    kLastMinnesotaTextRow = 91,
    kIvrelLabelRow = 92,
    kJudgementComboRow = 94,
    kFirstIvrelRow = 95,
    kIvrelTextOfRow1 = 99,
    kLastIvrelTextRow = 149,
    kRecommendTitleRow = 150,
    kRecommendRow = 151,
    kAnalysisEditorRow = 152,
    kCommentLabelRow = 155,
    kCommentRow = 157,
    kCommentEditorRow = 158,
    kFirstConfirmRow = 161,
    kLastRow = 165,
};

constexpr UINT kFirstIvrelCode = 3097, kFirstIvrelMark = 3108, kFirstIvrelDel = 3119, kFirstIvrelEdit = 3130,
               kFirstIvrelText = 3141;
constexpr UINT kFirstMinneCode = 3062, kFirstMinneMark = 3054, kFirstMinneDel = 3070, kFirstMinneEdit = 3078,
               kFirstMinneText = 3086;
constexpr UINT kFirstAdditionTitle = 3971, kFirstAdditionDel = 3974, kFirstAdditionEdit = 3977,
               kFirstAdditionContent = 3980;
constexpr UINT kJudgementValue = 3095, kJudgementCombo = 3096, kRecommend = 3153, kCommentButton = 3158,
               kCommentTemplate = 3159, kCommentEdit = 4017, kVersionLine = 3807, kAdditionLink = 3983;
constexpr int kRestPageStyle = 37;
constexpr int kMferPageStyle = 43;
constexpr int kCodeReadLimit = 50;
constexpr int kAdditionTitleLimit = 32, kAdditionContentLimit = 255;   // characters an addition row holds

const int kComboRows[] = {1, 3, 5, 7, 9, 11, 15, 17, 19, kJudgementComboRow};

int Trunc(double value)
{
    return static_cast<int>(value);
}

int RoundUpEven(int value)
{
    return value % 2 ? value + 1 : value;
}

CString TextOf(const CWnd* control)
{
    CString text;
    if (control && control->m_hWnd) control->GetWindowText(text);
    return text;
}

CString Trimmed(CString text)
{
    text.TrimRight(L" \r\n");
    return text;
}

// A code typed by the user goes into an XPath literal: a quote would end it.
bool IsSafeCode(const CString& code)
{
    return !code.IsEmpty() && code.Find(L'\'') < 0 && code.Find(L'"') < 0;
}

bool InRange(UINT id, UINT first, UINT count)
{
    return id >= first && id < first + count;
}

}  // namespace

int CRestFormCommon::ItemView::MinnesotaShown() const
{
    return std::min(interpre->nMinneCount + 1, kMinnesotaRows);
}

int CRestFormCommon::ItemView::IvrelShown() const
{
    return std::min(interpre->nIvrelCount + 1, kIvrelRows);
}

// The running state of one layout pass.
struct CRestFormCommon::Walk {
    const _POSITION_CTRL* table = nullptr;
    double fx = 1.0, fy = 1.0;
    int fh = 12;
    bool additions = false, minnesota = false, ivrel = false;
    int offset = 0;
    int keptOffset = 0;
    int requestBottom = 0, measureBottom = 0;
    bool requestShown = false, measureShown = false;
    int screenBottom = 0;
    int scrollWidth = 0;
    CRect client;
    int rangeMin = 0, rangeMax = 0, position = 0;
    int minnesotaShown = 1, ivrelShown = 1;

    int Top(int row, const CRect& design) const { return table[row].nTop == -1 ? design.top : table[row].nTop; }
    bool InClosedSection(int row) const
    {
        return (!additions && row >= kAdditionLabelRow && row <= kAdditionLinkRow) ||
               (!ivrel && row >= kIvrelLabelRow && row <= kLastIvrelTextRow);
    }
    bool InSectionOff(int row) const
    {
        return InClosedSection(row) || (!minnesota && row >= kMinnesotaLabelRow && row <= kLastMinnesotaTextRow);
    }
};

CRestFormCommon::CRestFormCommon(UINT nIDTemplate, std::vector<FormRow> rows)
    : CFormInterpreBase(nIDTemplate), m_controls(std::move(rows))
{
}

CRestFormCommon::~CRestFormCommon() = default;

void CRestFormCommon::DoDataExchange(CDataExchange* pDX)
{
    CFormInterpreBase::DoDataExchange(pDX);
    m_controls.Exchange(pDX);
    DDX_Control(pDX, kCommentTemplate, m_commentTemplate);
    if (GetDlgItem(kVersionLine)) DDX_Control(pDX, kVersionLine, m_version);
}

CMultiEdit* CRestFormCommon::GetCommentEdit() const
{
    return static_cast<CMultiEdit*>(m_controls.Row(CommentRow()));
}

bool CRestFormCommon::CurrentItem(ItemView& view) const
{
    CTavrionDoc* doc = GetViewDoc();
    if (auto* rest = DYNAMIC_DOWNCAST(CRestViewDoc, doc); rest && m_nDocType == DOC_TYPE_REST) {
        _RESTDATAITEM* item = rest->GetCurrentDataItem();
        if (!item) return false;
        view = ItemView{&item->stInterpre, &item->stAddition, item->b8000File, item->bDoctorConfirm, false,
                        item->uSystemCode, item->strVersion};
        return true;
    }
    if (auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, doc); mfer && m_nDocType == DOC_TYPE_MFER) {
        _MFERDATAITEM* item = mfer->GetCurrentDataItem();
        if (!item || !CMFERViewDoc::IsFullLeadKind(item->uSystemCode)) return false;
        view = ItemView{&item->stInterpre, &item->stAddition, 0, mfer->IsDoctorConfirm(), true, item->uSystemCode,
                        item->strVersion};
        return true;
    }
    return false;
}

int CRestFormCommon::FormFontHeight() const
{
    CTavrionDoc* doc = GetViewDoc();
    CFont* font = doc ? doc->GetDocFont(0) : nullptr;
    LOGFONT lf{};
    if (font && font->GetLogFont(&lf) && lf.lfHeight != 0) return std::abs(lf.lfHeight);
    return Trunc(12 * (doc ? doc->GetYScale() : 1.0));
}

int CRestFormCommon::LineCount(UINT uID) const
{
    CWnd* control = GetDlgItem(uID);
    if (!control) return 1;
    if (uID == kCommentEdit) control = &GetCommentEdit()->GetEditFace();
    return std::max<int>(1, static_cast<int>(control->SendMessage(EM_GETLINECOUNT)));
}

// ---- set-up ----------------------------------------------------------------------

void CRestFormCommon::TakeRowHeightsAt(const _POSITION_CTRL* table, int additionRow, int ivrelRow, int minnesotaRow)
{
    if (table[additionRow].nHeight > 0) m_nAdditionRowHeight = table[additionRow].nHeight;
    if (table[ivrelRow].nHeight > 0) m_nIvrelRowHeight = table[ivrelRow].nHeight;
    if (table[minnesotaRow].nHeight > 0) m_nMinnesotaRowHeight = table[minnesotaRow].nHeight;
}

void CRestFormCommon::OnInitialUpdate()
{
    CFormInterpreBase::OnInitialUpdate();
    ShowWindow(SW_HIDE);
    CTavrionDoc* doc = GetViewDoc();
    if (!doc) return;
    for (int row = 0; row < m_controls.Count(); ++row)
        if (m_controls.Kind(row) == FormCtrlKind::Button) static_cast<CButtonST*>(m_controls.Row(row))->SetFlat(FALSE);
    TakeRowHeights(Layout());
    CreateCommentEdit();
    m_controls.SetDoc(doc);
    m_version.SetDoc(doc);
    m_bSubID = ReadFormItemFacts(*doc).bSubID;
    if (!m_bInitialized) {
        InitEditableParam();
        InsertEditableParam();
        InitCheckUIArray();
        SetupCtrl();
        InitItemGroups();
        m_bInitialized = 1;
    }
    LimitCtrl();
    UpdateCtrlStatus();
    StretchComment();
    ShowWindow(SW_SHOW);
    OnCommentWidthChange(0, 0);
}

// The comment is a multi-line field made over the template's edit, which
// stays hidden; it takes the template edit's place in the tab order.
void CRestFormCommon::CreateCommentEdit()
{
    CreateCommentBox(*this, *GetCommentEdit(), m_commentTemplate, kCommentEdit, Layout()[CommentRow()].nHeight);
}

void CRestFormCommon::InitCheckUIArray()
{
    m_arrCheckUI.clear();
    for (int row = 0; row < m_controls.Count(); ++row) m_arrCheckUI.emplace_back(m_controls.Row(row), nullptr);
}

void CRestFormCommon::InitEditableParam()
{
    for (const auto& list : RequestLists()) SendDlgItemMessage(list.second, CB_RESETCONTENT);
    FillJudgementList(kJudgementCombo);
}

int CRestFormCommon::InsertEditableParam()
{
    for (const auto& list : RequestLists())
        CFormInterpreBase::InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(list.first), list.second);
    return 1;
}

void CRestFormCommon::SetupCtrl()
{
    for (UINT id : {3051u, 3052u, 3155u, 3156u, 3161u, 3162u, 3165u, 3167u})
        if (auto* text = DYNAMIC_DOWNCAST(CCheckStatic, GetDlgItem(id))) text->SetColorType(0);
    if (auto* confirmation = DYNAMIC_DOWNCAST(CCheckStatic, GetDlgItem(3163))) confirmation->SetColorType(1);
    for (int row = 0; row < m_controls.Count(); ++row) {
        if (m_controls.Kind(row) != FormCtrlKind::Button || m_controls.Id(row) == kCommentButton) continue;
        const UINT id = m_controls.Id(row);
        const bool del = InRange(id, kFirstAdditionDel, 3) || InRange(id, kFirstMinneDel, 8) ||
                         InRange(id, kFirstIvrelDel, 11);
        const int icon = del ? IDI_BUTTON_DELETE : IDI_BUTTON_EDIT;
        static_cast<CButtonST*>(m_controls.Row(row))->SetIcon(icon, icon);
    }
    if (CWnd* link = GetDlgItem(kAdditionLink)) {
        if (CFont* font = GetViewDoc()->GetDocFont(0)) link->SetFont(font);
        link->SetWindowText(L"......");
    }
    if (CWnd* button = GetDlgItem(kCommentButton)) button->SetWindowText(L"定型文入力");
}

void CRestFormCommon::LimitCtrl()
{
    for (UINT id : {3031u, 3033u, 3035u, 3037u, 3039u, 3041u}) SendDlgItemMessage(id, CB_LIMITTEXT, 22);
    for (UINT id : {3045u, 3047u, 3049u}) SendDlgItemMessage(id, CB_LIMITTEXT, 20);
    SendDlgItemMessage(3043, EM_LIMITTEXT, 10);
    if (GetCommentEdit()->m_hWnd) GetCommentEdit()->LimitCtrl(255);
    for (UINT k = 0; k < kAdditionRows; ++k) {
        SendDlgItemMessage(kFirstAdditionTitle + k, EM_LIMITTEXT, kAdditionTitleLimit);
        SendDlgItemMessage(kFirstAdditionContent + k, EM_LIMITTEXT, kAdditionContentLimit);
    }
    for (UINT k = 0; k < kMinnesotaRows; ++k) SendDlgItemMessage(kFirstMinneCode + k, EM_LIMITTEXT, 6);
    for (UINT k = 0; k < kIvrelRows; ++k) SendDlgItemMessage(kFirstIvrelCode + k, EM_LIMITTEXT, 7);
    if (auto* judgement = DYNAMIC_DOWNCAST(CCheckComboBox, GetDlgItem(kJudgementCombo))) judgement->SetReadOnly(TRUE);
}

void CRestFormCommon::UpdateCtrlStatus()
{
    CFormInterpreBase::UpdateCtrlStatus();
    ItemView item;
    const bool readOnly = CurrentItem(item) && !item.bMfer && item.b8000;
    for (UINT id : {3031u, 3033u})
        if (auto* combo = DYNAMIC_DOWNCAST(CCheckComboBox, GetDlgItem(id))) combo->SetReadOnly(readOnly);
}

void CRestFormCommon::UpdateColor()
{
    for (int row = 0; row < m_controls.Count(); ++row)
        if (m_controls.Kind(row) == FormCtrlKind::Button)
            UpdateButtonColor(static_cast<CButtonST*>(m_controls.Row(row)));
}

void CRestFormCommon::OnUpdate(CView*, LPARAM, CObject*)
{
    if (!m_bInitialized) return;
    CTavrionDoc* doc = GetViewDoc();
    if (!doc) return;
    m_bSubID = ReadFormItemFacts(*doc).bSubID;
    UpdateColor();
    InsertEditableParam();
    PlaceVersionLine();
    StretchComment();
    MoveCtrl(1);
    OnCommentWidthChange(0, 0);
    if (auto* link = DYNAMIC_DOWNCAST(CLinkStatic, GetDlgItem(kAdditionLink)))
        link->SetLinkCursor(LoadCursor(nullptr, doc->IsPopupMode() ? IDC_HAND : IDC_ARROW));
}

// ---- the version line --------------------------------------------------------------

bool CRestFormCommon::VersionLineShown() const
{
    if (!g_bDisplayVersion) return false;
    ItemView item;
    if (!CurrentItem(item)) return false;
    return item.bMfer ? m_nPageStyle == kMferPageStyle : m_nPageStyle == kRestPageStyle;
}

void CRestFormCommon::PlaceVersionLine()
{
    if (!m_version.m_hWnd) return;
    ItemView item;
    if (!VersionLineShown() || !CurrentItem(item)) {
        m_version.ShowWindow(SW_HIDE);
        return;
    }
    CTavrionDoc* doc = GetViewDoc();
    m_strVersion = item.strVersion;
    CRect client, own;
    GetClientRect(&client);
    m_version.GetWindowRect(&own);
    ScreenToClient(&own);
    // The line's own height is the template's: placing it again (every paint
    // does) must not add the margin to it once more.
    if (m_nVersionHeight < 0) m_nVersionHeight = own.Height();
    const int top = client.bottom - m_nVersionHeight - Trunc(2 * doc->GetYScale());
    const CRect place(client.left, top, client.left + own.Width(), client.bottom);
    m_version.SetColorType(3);
    if (place != own) m_version.MoveWindow(place.left, place.top, place.Width(), place.Height(), TRUE);
    if (CFont* font = doc->GetDocFont(0); font && m_version.GetFont() != font) m_version.SetFont(font);
    CString shown;
    m_version.GetWindowText(shown);
    if (shown != m_strVersion) m_version.SetWindowText(m_strVersion);
    if (!(m_version.GetStyle() & WS_VISIBLE)) m_version.ShowWindow(SW_SHOW);
}

void CRestFormCommon::OnPaint()
{
    CPaintDC dc(this);
    if (m_nDocType == DOC_TYPE_REST) PlaceVersionLine();
    for (int row = 0; row < 20; ++row) m_controls.Row(row)->Invalidate(FALSE);
    for (UINT id : {3050u, 3051u, 3053u})
        if (CWnd* control = GetDlgItem(id)) control->Invalidate(FALSE);
}

void CRestFormCommon::OnSize(UINT nType, int cx, int cy)
{
    CTavrionDoc* doc = GetViewDoc();
    if (m_bInitialized && doc) {
        if (CFont* font = doc->GetDocFont(0)) SetFont(font);
        OnCommentWidthChange(0, 0);
    }
    CFormInterpreBase::OnSize(nType, cx, cy);
}

LRESULT CRestFormCommon::OnCommentWidthChange(WPARAM, LPARAM)
{
    CTavrionDoc* doc = GetViewDoc();
    CMultiEdit* comment = GetCommentEdit();
    if (!doc || !comment->m_hWnd) return 0;
    UpdateCtrlValue();
    const int lines = LineCount(kCommentEdit);
    const double line = FormFontHeight() / doc->GetYScale();
    const int shown = std::max(lines, CommentBaseLines());
    m_nCommentExtraHeight = Trunc((shown - CommentBaseLines()) * line);
    CRect place;
    comment->GetWindowRect(&place);
    ScreenToClient(&place);
    comment->MoveWindow(place.left, place.top, place.Width(), Trunc(shown * line), TRUE);
    // Relaid out without hiding the form: this runs when the comment loses
    // the focus, and hiding the form would take the focus from the control
    // that is getting it.
    SetRedraw(FALSE);
    UpdateCtrlStatus();
    MoveCtrl(1);
    SetRedraw(TRUE);
    Invalidate();
    return 0;
}

LRESULT CRestFormCommon::OnUpdateModify(WPARAM, LPARAM)
{
    OnInitialUpdate();
    return 0;
}

// ---- layout --------------------------------------------------------------------------

int CRestFormCommon::GetAdditionLineCount(int index, int ivrel, int minnesota) const
{
    if (ivrel && !minnesota) return index >= 0 && index < kIvrelRows ? m_nIvrelLines[index] : 0;
    if (minnesota && !ivrel) return index >= 0 && index < kMinnesotaRows ? m_nMinnesotaLines[index] : 0;
    if (!ivrel && !minnesota) return index >= 0 && index < kAdditionRows ? m_nAdditionLines[index] : 0;
    return 0;
}

void CRestFormCommon::UpdateAdditionLineCount(const ItemView& item)
{
    const _POSITION_CTRL* table = Layout();
    const bool additions = item.addition->bPresent && table[kAdditionLabelRow].bVisible;
    int sum = 0;
    for (int k = 0; k < kAdditionRows; ++k) {
        if (additions && table[kFirstAdditionRow + 4 * k + 3].bVisible) sum += LineCount(kFirstAdditionContent + k) - 1;
        m_nAdditionLines[k] = sum;
    }
    sum = 0;
    for (int k = 0; k < kIvrelRows; ++k) m_nIvrelLines[k] = sum += LineCount(kFirstIvrelText + k) - 1;
    sum = 0;
    for (int k = 0; k < kMinnesotaRows; ++k) m_nMinnesotaLines[k] = sum += LineCount(kFirstMinneText + k) - 1;
}

void CRestFormCommon::MoveCtrl(int bSecondPass)
{
    CTavrionDoc* doc = GetViewDoc();
    ItemView item;
    if (!doc || !m_bInitialized || !CurrentItem(item)) return;
    ++m_nLayoutPasses;
    Walk walk;
    walk.table = doc->GetDefCtrlPos()->stRest;
    GetClientRect(&walk.client);
    UpdateAdditionLineCount(item);
    GetScrollRange(SB_VERT, &walk.rangeMin, &walk.rangeMax);
    walk.position = GetScrollPos(SB_VERT);
    ScrollToPosition(CPoint(0, 0));
    walk.fx = doc->GetXScale();
    walk.fy = doc->GetYScale();
    walk.fh = FormFontHeight();
    walk.additions = item.addition->bPresent && walk.table[kAdditionLabelRow].bVisible;
    walk.minnesota = walk.table[kMinnesotaLabelRow].bVisible != 0;
    walk.ivrel = walk.table[kIvrelLabelRow].bVisible != 0;
    walk.minnesotaShown = item.MinnesotaShown();
    walk.ivrelShown = item.IvrelShown();
    HideOffSections(walk);
    EnableRequestControls(item);
    for (int row = 0; row < m_controls.Count(); ++row) PlaceRow(row, walk, item);
    // Past the client bottom a vertical scroll bar takes its width off the wide controls.
    if (walk.screenBottom > walk.client.bottom) walk.scrollWidth = ::GetSystemMetrics(SM_CYVSCROLL);
    bool secondPassDue = false;
    GrowWrappedRows(walk, secondPassDue);
    FinishScroll(walk);
    if (secondPassDue && bSecondPass) MoveCtrl(0);
}

void CRestFormCommon::HideOffSections(const Walk& walk)
{
    for (int row = kAdditionLabelRow; row <= kLastIvrelTextRow; ++row)
        if (walk.InSectionOff(row)) m_controls.Row(row)->ShowWindow(SW_HIDE);
}

void CRestFormCommon::EnableRequestControls(const ItemView& item)
{
    static const UINT kLocked[] = {3035, 3037, 3039, 3041, 3043, 3045, 3047, 3049};
    CTavrionDoc* doc = GetViewDoc();
    const bool b8000 = !item.bMfer && item.b8000;
    for (UINT id : kLocked) {
        CWnd* control = GetDlgItem(id);
        if (!control) continue;
        bool enable = !b8000;
        if (id == 3045) enable = enable && m_bSubID;   // the request section belongs to the sub-ID record
        if (doc->IsReadOnly()) enable = false;
        control->EnableWindow(enable);
    }
}

void CRestFormCommon::AdjustOffset(int row, Walk& walk)
{
    const _POSITION_CTRL* t = walk.table;
    const int two = Trunc(2 * walk.fy);
    const double lineDesign = walk.fh / walk.fy;
    switch (row) {
    case kFirstMeasureRow:
        walk.keptOffset = walk.offset;
        walk.offset = 0;
        break;
    case kEditorRow:
        walk.offset = walk.keptOffset +
                      (walk.requestBottom < walk.measureBottom ? walk.requestBottom - walk.measureBottom : 0);
        if (!walk.requestShown && walk.measureShown) walk.offset += t[0].nTop;
        break;
    case kAdditionLabelRow:
        if (!walk.additions) walk.offset += (t[kMinnesotaLabelRow].nTop - two) - t[kAdditionLabelRow].nTop;
        break;
    case kAdditionLinkRow:
        if (walk.offset != 0) walk.offset -= two;
        if (walk.additions) walk.offset -= Trunc(walk.fh * m_nAdditionLines[2] / walk.fy + 0.5);
        break;
    case kMinnesotaLabelRow:
        walk.offset -= two;
        break;
    case kIvrelLabelRow:
        if (walk.minnesota)
            walk.offset += Trunc((t[kLastMinnesotaTextRow].nTop - t[kMinnesotaTextOfRow1].nTop) -
                                 lineDesign * m_nMinnesotaLines[kMinnesotaRows - 1] -
                                 m_nMinnesotaRowHeight * (walk.minnesotaShown - 1) - 0.5);
        if (!walk.ivrel) walk.offset += t[kRecommendTitleRow].nTop - t[kIvrelLabelRow].nTop;
        break;
    case kRecommendTitleRow:
        if (walk.ivrel)
            walk.offset += Trunc((t[kLastIvrelTextRow].nTop - t[kIvrelTextOfRow1].nTop) -
                                 lineDesign * m_nIvrelLines[kIvrelRows - 1] -
                                 m_nIvrelRowHeight * std::max(walk.ivrelShown - 1, 0) - 0.5);
        break;
    case kAnalysisEditorRow:
        if (t[kRecommendRow].bVisible) walk.offset -= Trunc((LineCount(kRecommend) - 1) * lineDesign);
        break;
    case kCommentEditorRow:
        if (t[kCommentLabelRow].bVisible) walk.offset -= m_nCommentExtraHeight;
        break;
    default:
        break;
    }
}

bool CRestFormCommon::IsRowVisible(int row, const ItemView& item) const
{
    const _POSITION_CTRL* t = GetViewDoc()->GetDefCtrlPos()->stRest;
    bool visible = t[row].bVisible != 0;
    if (row >= kFirstConfirmRow && item.bConfirmed) visible = true;
    const bool b8000 = !item.bMfer && item.b8000;
    if (b8000 && ((row >= kEditorRow && row <= kAdditionLinkRow) || (row >= kAnalysisEditorRow && row <= 154) ||
                  (row >= kCommentEditorRow && row <= 160)))
        visible = false;
    if (row == kAdditionLinkRow && visible) {
        bool hiddenWithText = false;
        for (UINT k = 0; k < kAdditionRows; ++k)
            if (!t[kFirstAdditionRow + 4 * k + 3].bVisible &&
                (!TextOf(GetDlgItem(kFirstAdditionTitle + k)).IsEmpty() ||
                 !TextOf(GetDlgItem(kFirstAdditionContent + k)).IsEmpty()))
                hiddenWithText = true;
        visible = item.addition->nCount > kAdditionRows || hiddenWithText;
    }
    return visible;
}

void CRestFormCommon::PlaceRow(int row, Walk& walk, const ItemView& item)
{
    CWnd* control = m_controls.Row(row);
    if (!control || !control->m_hWnd || row >= static_cast<int>(m_arrCheckUI.size())) return;
    const _POSITION_CTRL& source = walk.table[row];
    const CRect design = m_arrCheckUI[row].GetRect();
    if (source.nTop != -1) AdjustOffset(row, walk);
    _POSITION_CTRL placed;
    placed.nLeft = source.nLeft;
    placed.nTop = source.nTop;
    placed.nWidth = source.nWidth;
    placed.nHeight = source.nHeight;
    const double lineDesign = walk.fh / walk.fy;
    if (row == kRecommendRow && source.nHeight != -1)
        placed.nHeight = Trunc((LineCount(kRecommend) - 1) * lineDesign) + source.nHeight;
    if (row == kCommentRow && source.nHeight != -1) placed.nHeight = m_nCommentExtraHeight + source.nHeight;
    const RECT rect = PlaceFromLayoutRow(placed, design, walk.fx, walk.fy, 0, -walk.offset);
    control->MoveWindow(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    if (std::find(std::begin(kComboRows), std::end(kComboRows), row) != std::end(kComboRows) &&
        source.nTextHeight >= 0)
        static_cast<CCheckComboBox*>(control)->SetRowCount(source.nTextHeight);
    if (!walk.InSectionOff(row) && IsRowVisible(row, item)) {
        const int height = source.nTextHeight > 0 ? source.nTextHeight
                                                  : (placed.nHeight == -1 ? design.Height() : placed.nHeight);
        const int bottom = walk.Top(row, design) + height - walk.offset;
        if (row < kFirstMeasureRow) {
            walk.requestBottom = std::max(walk.requestBottom, bottom);
            walk.requestShown = true;
        } else if (row < kEditorRow) {
            walk.measureBottom = std::max(walk.measureBottom, bottom);
            walk.measureShown = true;
        }
        walk.screenBottom = std::max<int>(walk.screenBottom, rect.bottom);
        return;
    }
    control->ShowWindow(SW_HIDE);
    if (walk.InClosedSection(row) || row == kLastRow) return;
    const int next = row == kLastRequestRow ? kEditorRow : row + 1;
    walk.offset += walk.Top(next, m_arrCheckUI[next].GetRect()) - walk.Top(row, design);
}

void CRestFormCommon::GrowWrappedRows(const Walk& walk, bool& bSecondPassDue)
{
    const Growth growth{walk.fy, walk.fh, walk.scrollWidth};
    if (walk.additions)
        GrowBlock(kFirstAdditionRow, 4, kAdditionRows, 3, m_nAdditionLines, m_nAdditionRowHeight, growth,
                  bSecondPassDue);
    if (walk.minnesota)
        GrowBlock(kFirstMinnesotaRow, 5, kMinnesotaRows, 4, m_nMinnesotaLines, m_nMinnesotaRowHeight, growth,
                  bSecondPassDue);
    if (walk.ivrel)
        GrowBlock(kFirstIvrelRow, 5, kIvrelRows, 4, m_nIvrelLines, m_nIvrelRowHeight, growth, bSecondPassDue);
}

void CRestFormCommon::FinishScroll(const Walk& walk)
{
    int content = 0;
    if (walk.screenBottom > walk.client.bottom) {
        content = walk.screenBottom;
        if (VersionLineShown()) {
            CRect own;
            m_version.GetWindowRect(&own);
            content += own.Height() + Trunc(2 * walk.fy);
        }
    }
    auto takeScrollBar = [&](UINT id) {
        CWnd* control = id == kCommentEdit ? GetCommentEdit() : GetDlgItem(id);
        if (!control || !control->m_hWnd || !walk.scrollWidth) return;
        CRect place;
        control->GetWindowRect(&place);
        ScreenToClient(&place);
        control->MoveWindow(place.left, place.top, place.Width() - walk.scrollWidth, place.Height(), TRUE);
    };
    takeScrollBar(kJudgementCombo);
    CWnd* recommend = GetDlgItem(kRecommend);
    if (recommend && walk.table[kRecommendRow].nHeight != -1) {
        CRect place;
        recommend->GetWindowRect(&place);
        ScreenToClient(&place);
        const int lines = LineCount(kRecommend);
        const int height = lines > 1 ? RoundUpEven(Trunc((lines - 1) * walk.fh +
                                                         walk.table[kRecommendRow].nHeight * walk.fy + 0.5))
                                     : Trunc(walk.table[kRecommendRow].nHeight * walk.fy);
        recommend->MoveWindow(place.left, place.top, place.Width() - walk.scrollWidth, height, TRUE);
    }
    takeScrollBar(kCommentEdit);
    SetScrollSizes(MM_TEXT, CSize(0, content));
    if (content > walk.client.Height() && walk.rangeMax > walk.rangeMin)
        ScrollToPosition(CPoint(0, content * walk.position / (walk.rangeMax - walk.rangeMin)));
    if (CFrameWnd* frame = GetParentFrame()) frame->RecalcLayout();
}

// ---- codes ------------------------------------------------------------------------------

CString CRestFormCommon::MasterText(CECGXMLParser* master, const CString& path) const
{
    CString text;
    if (master) master->GetDataFromXMLDOM(text, path, 4, CString());
    return text;
}

void CRestFormCommon::SetAndPush(UINT uID, const CString& text)
{
    CWnd* control = GetDlgItem(uID);
    if (!control) return;
    control->SetWindowText(text);
    control->SendMessage(WM_BOUND_CONTROL_RELOAD);
}

void CRestFormCommon::ClearCodeRow(UINT code, UINT text, UINT mark)
{
    SetAndPush(code, CString());
    SetAndPush(text, CString());
    SetAndPush(mark, L"#");
}

// The item holds the filled rows; one empty row more is shown to type into. True when the
// count grew (the document's status pass has then run).
bool CRestFormCommon::GrowRowCount(int k, bool bIvrel)
{
    ItemView item;
    if (!CurrentItem(item)) return false;
    int& held = bIvrel ? item.interpre->nIvrelCount : item.interpre->nMinneCount;
    const int rows = bIvrel ? kIvrelRows : kMinnesotaRows;
    if (k != held || k + 1 >= rows) return false;
    ++held;
    GetViewDoc()->UpdateCtrlStatus();
    return true;
}

void CRestFormCommon::LookUpIvrel(int k)
{
    const UINT codeId = kFirstIvrelCode + k, textId = kFirstIvrelText + k, markId = kFirstIvrelMark + k;
    CTavrionDoc* doc = GetViewDoc();
    const CString code = TextOf(GetDlgItem(codeId)).Left(kCodeReadLimit);
    CString text;
    if (IsSafeCode(code)) {
        CString path;
        path.Format(L"/Ivrel/Ivrel_code/Code[@value='%s']/%s", code.GetString(), L"Japanese_text");
        text = MasterText(GetIvrelMaster(), path);
        if (text.IsEmpty()) {
            path.Format(L"/Ivrel/Judgement_code/Code[@value='%s']/%s", code.GetString(), L"Japanese_text");
            text = MasterText(GetIvrelMaster(), path);
        }
    }
    if (text.IsEmpty()) {
        if (!TextOf(GetDlgItem(textId)).IsEmpty() || !code.IsEmpty()) {
            ClearCodeRow(codeId, textId, markId);
            MoveCtrl(1);
        }
        return;
    }
    SetAndPush(textId, text);
    if (doc->GetCtrlModifyFlag(codeId)) {
        SetAndPush(markId, L"#");
        GrowRowCount(k, true);
    }
    UpdateCtrlStatus();
    MoveCtrl(1);
}

void CRestFormCommon::LookUpMinnesota(int k)
{
    const UINT codeId = kFirstMinneCode + k, textId = kFirstMinneText + k, markId = kFirstMinneMark + k;
    CTavrionDoc* doc = GetViewDoc();
    m_controls.SetDoc(doc);
    const CString code = TextOf(GetDlgItem(codeId)).Left(kCodeReadLimit);
    CString text;
    if (IsSafeCode(code)) {
        CString path;
        path.Format(L"/Minesota/Minesota_Code/Code[@value='%s']/%s", code.GetString(), L"Japanese_text");
        text = MasterText(GetMinnesotaMaster(), path);
    }
    const bool modified = doc->GetCtrlModifyFlag(codeId) != 0;
    if (!text.IsEmpty()) {
        SetAndPush(textId, text);
        if (modified) SetAndPush(markId, L"#");
    } else {
        if (modified) SetAndPush(markId, L"#");
        if (!code.IsEmpty() || !TextOf(GetDlgItem(textId)).IsEmpty()) {
            if (!doc->IsMinnesotaNotMatchingValid(code, TextOf(GetDlgItem(markId)))) SetAndPush(codeId, CString());
            SetAndPush(textId, CString());
        }
    }
    if (!doc->IsMinnesotaNotMatchingValid(TextOf(GetDlgItem(codeId)), TextOf(GetDlgItem(markId)))) return;
    GrowRowCount(k, false);
    if (doc->GetCtrlModifyFlag(codeId)) {
        UpdateCtrlStatus();
        MoveCtrl(1);
    }
}

void CRestFormCommon::TellPaneActive()
{
    CWnd* frame = GetParent();
    CWnd* pane = frame ? frame->GetParent() : nullptr;
    if (pane) pane->SendMessage(WM_ANNOTATION_ACTIVE, reinterpret_cast<WPARAM>(this), 0);
}

void CRestFormCommon::DeleteIvrel(int k)
{
    TellPaneActive();
    if (!TextOf(GetDlgItem(kFirstIvrelCode + k)).IsEmpty()) {
        ClearCodeRow(kFirstIvrelCode + k, kFirstIvrelText + k, kFirstIvrelMark + k);
        MoveCtrl(1);
    }
    if (CWnd* button = GetDlgItem(kFirstIvrelDel + k)) button->SetFocus();
}

void CRestFormCommon::DeleteMinnesota(int k)
{
    TellPaneActive();
    if (!TextOf(GetDlgItem(kFirstMinneCode + k)).IsEmpty()) {
        ClearCodeRow(kFirstMinneCode + k, kFirstMinneText + k, kFirstMinneMark + k);
        MoveCtrl(1);
    }
    if (CWnd* button = GetDlgItem(kFirstMinneDel + k)) button->SetFocus();
}

void CRestFormCommon::PickCode(int k, bool bIvrel)
{
    TellPaneActive();
    CTavrionDoc* doc = GetViewDoc();
    const UINT codeId = (bIvrel ? kFirstIvrelCode : kFirstMinneCode) + k;
    const UINT textId = (bIvrel ? kFirstIvrelText : kFirstMinneText) + k;
    const UINT markId = (bIvrel ? kFirstIvrelMark : kFirstMinneMark) + k;
    const UINT buttonId = (bIvrel ? kFirstIvrelEdit : kFirstMinneEdit) + k;
    INT_PTR result;
    CString code;
    result = CFormDialogs::PickCode(this, doc, m_nDocType, bIvrel, code);
    if (result != IDOK || !IsSafeCode(code)) {
        if (CWnd* button = GetDlgItem(buttonId)) button->SetFocus();
        return;
    }
    CString path;
    if (bIvrel)
        path.Format(L"/Ivrel/Ivrel_code/Code[@value='%s']/%s", code.GetString(), L"Japanese_text");
    else
        path.Format(L"/Minesota/Minesota_Code/Code[@value='%s']/%s", code.GetString(), L"Japanese_text");
    CString text = MasterText(bIvrel ? GetIvrelMaster() : GetMinnesotaMaster(), path);
    if (bIvrel && text.IsEmpty()) {
        path.Format(L"/Ivrel/Judgement_code/Code[@value='%s']/%s", code.GetString(), L"Japanese_text");
        text = MasterText(GetIvrelMaster(), path);
    }
    SetAndPush(codeId, code);
    SetAndPush(textId, text);
    SetAndPush(markId, L"#");
    const bool usStyle = FollowUp() == DialogFollowUp::UsStyle;
    const bool modified = doc->GetCtrlModifyFlag(codeId) != 0;
    // Only a new row changes what the status passes show.
    if (modified && GrowRowCount(k, bIvrel)) UpdateCtrlStatus();
    if (modified || !usStyle) MoveCtrl(1);
    Invalidate();
    if (usStyle && bIvrel)
        if (CWnd* button = GetDlgItem(buttonId)) button->SetFocus();
}

// ---- additions and comment ----------------------------------------------------------------

void CRestFormCommon::DeleteAddition(int k)
{
    TellPaneActive();
    for (UINT id : {kFirstAdditionTitle + k, kFirstAdditionContent + k})
        if (!TextOf(GetDlgItem(id)).IsEmpty()) SetAndPush(id, CString());
    if (CWnd* button = GetDlgItem(kFirstAdditionDel + k)) button->SetFocus();
    MoveCtrl(1);
}

void CRestFormCommon::EditAddition(int k)
{
    TellPaneActive();
    if (!EditsAdditions()) return;
    CTavrionDoc* doc = GetViewDoc();
    const UINT titleId = kFirstAdditionTitle + k, contentId = kFirstAdditionContent + k;
    // The row's texts go to the editor whole and come back as the person
    // left them: the editor keeps what is typed or applied within the row's
    // limits, and a stored text past them is not cut for being opened.
    CString title = Trimmed(TextOf(GetDlgItem(titleId)));
    CString content = Trimmed(TextOf(GetDlgItem(contentId)));
    if (CFormDialogs::EditAddition(this, doc->Is8000File(), title, content) == IDOK) {
        SetAndPush(titleId, title);
        SetAndPush(contentId, content);
        if (FollowUp() == DialogFollowUp::Rest) {
            doc->UpdateCtrlStatus();
            UpdateCtrlStatus();
        }
        MoveCtrl(1);
        Invalidate();
    }
    if (CWnd* button = GetDlgItem(kFirstAdditionEdit + k)) button->SetFocus();
}

void CRestFormCommon::EditComment()
{
    TellPaneActive();
    CTavrionDoc* doc = GetViewDoc();
    CMultiEdit* comment = GetCommentEdit();
    ItemView item;
    CString text = Trimmed(TextOf(&comment->GetEditFace()));
    if (CFormDialogs::EditComment(this, doc->Is8000File(), m_nDocType, CurrentItem(item) ? item.uSystemCode : 0, text) == IDOK) {
        comment->GetEditFace().SetWindowText(text);
        comment->EditChange();
        OnCommentWidthChange(0, 0);
        if (FollowUp() == DialogFollowUp::UsStyle) Invalidate();
    }
    CWnd* next = FollowUp() == DialogFollowUp::UsStyle ? static_cast<CWnd*>(comment) : GetDlgItem(kCommentButton);
    if (next && next->m_hWnd) next->SetFocus();
    SendMessage(WM_COMMENT_EDIT_LEFT, 0, 0);
}

void CRestFormCommon::OpenCommentSheet(int nMode)
{
    CTavrionDoc* doc = GetViewDoc();
    if (!doc || !doc->IsPopupMode()) return;
    if (CFormDialogs::PatientSheet(this, doc, m_nDocType, nMode) != IDOK) return;
    SendToFormPaneParent(*this, WM_VIEW_RESULT);
    OnCommentWidthChange(0, 0);
}

void CRestFormCommon::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    OpenCommentSheet(1);
    CFormInterpreBase::OnLButtonDblClk(nFlags, point);
}

LRESULT CRestFormCommon::InterpreAddition(WPARAM, LPARAM)
{
    OpenCommentSheet(2);
    return 0;
}

LRESULT CRestFormCommon::OnCmbSelChange(WPARAM wParam, LPARAM lParam)
{
    if (wParam == kJudgementCombo) ShowJudgementCode(kJudgementValue, static_cast<int>(lParam));
    return 0;
}

BOOL CRestFormCommon::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (code == EN_KILLFOCUS && InRange(id, kFirstIvrelCode, kIvrelRows)) {
        LookUpIvrel(static_cast<int>(id - kFirstIvrelCode));
        return TRUE;
    }
    if (code == EN_KILLFOCUS && InRange(id, kFirstMinneCode, kMinnesotaRows)) {
        LookUpMinnesota(static_cast<int>(id - kFirstMinneCode));
        return TRUE;
    }
    if (code == BN_CLICKED) {
        if (InRange(id, kFirstIvrelDel, kIvrelRows)) return DeleteIvrel(id - kFirstIvrelDel), TRUE;
        if (InRange(id, kFirstIvrelEdit, kIvrelRows)) return PickCode(id - kFirstIvrelEdit, true), TRUE;
        if (InRange(id, kFirstMinneDel, kMinnesotaRows)) return DeleteMinnesota(id - kFirstMinneDel), TRUE;
        if (InRange(id, kFirstMinneEdit, kMinnesotaRows)) return PickCode(id - kFirstMinneEdit, false), TRUE;
        if (InRange(id, kFirstAdditionDel, kAdditionRows)) return DeleteAddition(id - kFirstAdditionDel), TRUE;
        if (InRange(id, kFirstAdditionEdit, kAdditionRows)) return EditAddition(id - kFirstAdditionEdit), TRUE;
        if (id == kCommentButton) return EditComment(), TRUE;
    }
    return CFormInterpreBase::OnCommand(wParam, lParam);
}

// ---- keys ---------------------------------------------------------------------------------

BOOL CRestFormCommon::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_TAB) {
        if (m_bJumpStatus) {
            m_bJumpStatus = 0;
            return TRUE;
        }
        if (OnTabKey()) return TRUE;
    }
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN && OnReturnKey(::GetFocus())) return TRUE;
    return CFormInterpreBase::PreTranslateMessage(pMsg);
}

// The focused control as the chain knows it: a combo box for its edit, the
// comment field for its faces.
static CWnd* ChainControl(CWnd* form, CWnd* focus)
{
    for (CWnd* control = focus; control && control != form; control = control->GetParent())
        if (control->GetParent() == form) return control;
    return nullptr;
}

BOOL CRestFormCommon::OnTabKey()
{
    CWnd* control = ChainControl(this, GetFocus());
    if (!control) return FALSE;
    const int direction = ::GetKeyState(VK_SHIFT) < 0 ? 1 : 2;
    if (IsTabJumpEnd(direction, control)) {
        int info[3] = {ChainSource(), direction, 0};
        CWnd* frame = GetParent();
        CWnd* pane = frame ? frame->GetParent() : nullptr;
        if (pane && pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(info), 0) == 1) return TRUE;
        WrapFocus(control);
        return TRUE;
    }
    const UINT step = direction == 1 ? GW_HWNDPREV : GW_HWNDNEXT;
    CWnd* target = control->GetWindow(step);
    while (target && target->IsKindOf(RUNTIME_CLASS(CCheckStatic))) target = target->GetWindow(step);
    if (!target) return FALSE;
    const UINT id = target->GetDlgCtrlID();
    if (id == kCommentTemplate) {
        CWnd* next = direction == 2 ? static_cast<CWnd*>(GetCommentEdit()) : target->GetWindow(GW_HWNDPREV);
        if (next) next->SetFocus();
        return next != nullptr;
    }
    const bool ivrelText = InRange(id, kFirstIvrelText, kIvrelRows);
    const bool minneText = InRange(id, kFirstMinneText, kMinnesotaRows);
    if (!ivrelText && !minneText) return FALSE;
    if (target->GetStyle() & WS_VISIBLE) {
        target->SetFocus();
        return TRUE;
    }
    const UINT first = ivrelText ? kFirstIvrelText : kFirstMinneText;
    const UINT count = ivrelText ? kIvrelRows : kMinnesotaRows;
    return direction == 2 ? FocusFirstUsable(id, first + count - 1, 1) : FocusFirstUsable(id, first, -1);
}

bool CRestFormCommon::FocusFirstUsable(UINT first, UINT last, int step)
{
    for (int id = static_cast<int>(first);; id += step) {
        CWnd* control = id == static_cast<int>(kCommentEdit) ? GetCommentEdit() : GetDlgItem(id);
        if (control && control->m_hWnd && (control->GetStyle() & WS_VISIBLE) && control->IsWindowEnabled() &&
            !control->IsKindOf(RUNTIME_CLASS(CCheckStatic))) {
            control->SetFocus();
            return true;
        }
        if (id == static_cast<int>(last)) return false;
    }
}

void CRestFormCommon::WrapFocus(CWnd* from)
{
    if (from == GetCommentEdit())
        FocusFirstUsable(WrapFirstId(), 3157, 1);
    else
        FocusFirstUsable(kCommentEdit, WrapLastId(), -1);
}

BOOL CRestFormCommon::OnReturnKey(HWND focus)
{
    CWnd* control = ChainControl(this, CWnd::FromHandle(focus));
    if (!control) return FALSE;
    const UINT id = control->GetDlgCtrlID();
    if (InRange(id, kFirstIvrelCode, kIvrelRows - 1) || InRange(id, kFirstMinneCode, kMinnesotaRows - 1)) {
        if (CWnd* next = GetDlgItem(id + 1)) next->SetFocus();
        return TRUE;
    }
    if (control->IsKindOf(RUNTIME_CLASS(CButton))) {
        PostMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control->m_hWnd));
        return TRUE;
    }
    return FALSE;
}

// ---- print --------------------------------------------------------------------------------

int CRestFormCommon::DrawTexts(CECGDC* pDC, CRect rc)
{
    CTavrionDoc* doc = GetViewDoc();
    if (!pDC || !doc) return 1;
    CRect client;
    GetClientRect(&client);
    const int contentHeight = GetTotalSize().cy > 0 ? GetTotalSize().cy : client.Height();
    if (client.Width() <= 0 || contentHeight <= 0) return 1;
    const double fx = rc.Width() * doc->GetXScale() / client.Width();
    const double fy = rc.Height() * doc->GetYScale() / contentHeight;
    const CPoint scrolled = GetScrollPosition();
    for (const CCheckUI& entry : m_arrCheckUI) {
        CWnd* control = entry.GetCtrl();
        if (!control || !control->m_hWnd || control->IsKindOf(RUNTIME_CLASS(CButton))) continue;
        CRect place;
        control->GetWindowRect(&place);
        ScreenToClient(&place);
        place.OffsetRect(scrolled);
        CRect target(rc.left + Trunc(place.left * fx), rc.top + Trunc(place.top * fy),
                     rc.left + Trunc(place.right * fx), rc.top + Trunc(place.bottom * fy));
        const CString text = control == GetCommentEdit() ? TextOf(&GetCommentEdit()->GetEditFace()) : TextOf(control);
        pDC->DrawText(text, &target, DT_NOPREFIX);
    }
    return 1;
}
