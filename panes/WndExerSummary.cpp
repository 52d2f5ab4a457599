#include "panes/WndExerSummary.h"

#include <algorithm>
#include <vector>

#include "analysisviews/ViewExerSummaryAverage.h"
#include "analysisviews/ViewExerTrend.h"
#include "analysisviews/ViewMemoryWave.h"
#include "core/UserMessages.h"
#include "dialogs/DlgCtrl.h"
#include "documents/ExerViewDoc.h"
#include "forms/FormEx.h"
#include "forms/FormInterpreExer.h"
#include "forms/FormPatientInfo.h"
#include "panes/PaneKit.h"

IMPLEMENT_DYNAMIC(CWndExerSummary, CWnd)

namespace {

constexpr int kTrendKindTemplate = 158;
constexpr int kTrendKindCombo = 4100;

}  // namespace

BEGIN_MESSAGE_MAP(CWndExerSummary, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_CBN_SELCHANGE(kTrendKindCombo, OnSelChangeTrendStyle)
    ON_MESSAGE(WM_FORM_TAB_END, OnFocusJump)
    ON_MESSAGE(WM_ANNOTATION_ACTIVE, OnUserAnnotationActive)
END_MESSAGE_MAP()

namespace {

constexpr int kExerDocType = 5;
constexpr int kSummaryParent = 1;
constexpr int kJudgementCombo = 4036;
constexpr unsigned kTreadmillCode = 0xFFFC;   // speed and elevation, no load
constexpr unsigned kErgometerCode = 0xFFFD;   // load
constexpr unsigned kErgometerCode2 = 0xFFFA;
constexpr int kFirstLevelStyle = 10;
constexpr int kMemoryColumns = 250;
constexpr int kMemoryGridColumns = 260;
constexpr double kAverageAnnoScale = 0.0016638935;
constexpr double kMemoryAnnoScale = 0.000999001;

// The fixed trend kinds in the order of their styles, 1 to 9.
const wchar_t* const kFixedKinds[] = {L"心拍数 [bpm]", L"血圧 [mmHg]", L"DPx1000 Irr.Rhy. [Times]",
                                      L"速度 [Km/h]",  L"傾斜 [%]",    L"負荷量 [W]",
                                      L"METs-心拍数",  L"Kcal [Kcal]", L"METs"};
constexpr int kFixedKindCount = 9;

// Whether a record lists the fixed kind of `style`: speed and elevation only
// on the treadmill, the load only on the ergometers.
bool Lists(unsigned systemCode, int style)
{
    if (style == 4 || style == 5) return systemCode == kTreadmillCode;
    if (style == 6) return systemCode == kErgometerCode || systemCode == kErgometerCode2;
    return true;
}

}  // namespace

CWndExerSummary::CWndExerSummary()
    : m_pPatientFrame(nullptr), m_pInterpretationFrame(nullptr), m_pTrendKindStrip(nullptr), m_pTrendView(nullptr),
      m_pAverageView(nullptr), m_pMemoryView(nullptr), m_pExerViewDoc(nullptr), m_bShowPatientInfo(TRUE),
      m_nTrendStyle(1)
{
}

CWndExerSummary::~CWndExerSummary()
{
    delete m_pTrendKindStrip;
    m_pTrendKindStrip = nullptr;
}

int CWndExerSummary::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    CExerViewDoc* doc = m_pExerViewDoc;
    m_pPatientFrame = panes::CreateFormFrame(this, doc, RUNTIME_CLASS(CFormPatientInfo), kExerDocType);
    m_pInterpretationFrame = panes::CreateFormFrame(this, doc, RUNTIME_CLASS(CFormInterpreExer), kExerDocType);
    m_pTrendKindStrip = panes::CreateStrip<CDlgCtrl>(this, doc, kTrendKindTemplate, kTrendKindTemplate, this);
    if (m_pTrendKindStrip) m_pTrendKindStrip->ShowWindow(SW_SHOW);
    m_pTrendView = static_cast<CViewExerTrend*>(panes::CreateChildView(this, doc, RUNTIME_CLASS(CViewExerTrend), 203));
    if (m_pTrendView) m_pTrendView->SetParentWndType(kSummaryParent);
    m_pAverageView = static_cast<CViewExerSummaryAverage*>(
        panes::CreateChildView(this, doc, RUNTIME_CLASS(CViewExerSummaryAverage), 201));
    m_pMemoryView = static_cast<CViewMemoryWave*>(panes::CreateChildView(this, doc, RUNTIME_CLASS(CViewMemoryWave), 202));
    if (m_pMemoryView) {
        m_pMemoryView->InitBackground(kMemoryColumns, 60);
        m_pMemoryView->SetParentWndType(kSummaryParent);
    }
    return 0;
}

// ---- layout ----------------------------------------------------------------------------------

void CWndExerSummary::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (!m_pExerViewDoc) return;
    const panes::VirtualPage page = panes::VirtualPage::OfClient(this, m_bShowPatientInfo);
    const BOOL gridMode = m_pExerViewDoc->GetDisplaySizeMode() == panes::kDisplaySizeByGrid;
    const int m = panes::GridModeMargin();
    const int formLeft = gridMode ? m : page.X(10);
    const int formWidth = gridMode ? page.Width() - 2 * m : page.X(1000);

    panes::PlacePatientFrame(m_pPatientFrame, page, {10, 5, 1000, 50}, m_bShowPatientInfo);
    if (m_bShowPatientInfo && gridMode && m_pPatientFrame && m_pPatientFrame->GetSafeHwnd())
        m_pPatientFrame->MoveWindow(formLeft, page.Y(5), formWidth, page.Y(50), TRUE);

    const int formTop = page.Y(m_bShowPatientInfo ? 55 : 0) + page.Y(5);
    const int formHeight = page.Y(150);
    if (m_pInterpretationFrame && m_pInterpretationFrame->GetSafeHwnd()) {
        m_pInterpretationFrame->MoveWindow(formLeft, formTop, formWidth, formHeight, TRUE);
        if (CFormEx* form = panes::FrameForm(m_pInterpretationFrame)) {
            form->ShowText();
            form->SendMessage(WM_SIZE, 0, 0);
        }
    }
    const int top = formTop + formHeight + page.Y(5);
    const int averageBottom = PlaceAverageView(top, gridMode);
    PlaceTrendKindStrip(top, gridMode);
    if (m_pTrendView && m_pTrendView->GetSafeHwnd()) {
        const int trendTop = top + page.Y(20) + page.Y(5);
        int width = page.X(395);
        if (gridMode && m_pAverageView && m_pAverageView->GetSafeHwnd()) {
            CRect average;
            m_pAverageView->GetWindowRect(&average);
            ScreenToClient(&average);
            width = average.left - m - page.X(5);
        }
        m_pTrendView->MoveWindow(gridMode ? m : page.X(10), trendTop, std::max(0, width),
                                 std::max(0, averageBottom - trendTop), TRUE);
    }
    PlaceMemoryView(averageBottom, gridMode);
}

int CWndExerSummary::PlaceAverageView(int top, BOOL gridMode)
{
    if (!m_pAverageView || !m_pAverageView->GetSafeHwnd()) return top;
    const panes::VirtualPage page = panes::VirtualPage::OfClient(this, m_bShowPatientInfo);
    int gx = 0, gy = 0;
    m_pAverageView->GetGridCount(gx, gy);
    int left = page.X(410), width = page.X(601), height = 0;
    if (gridMode) {
        width = static_cast<int>(gx * m_pExerViewDoc->GetPixelPerMMX()) + 1;
        left = page.Width() - width - panes::GridModeMargin();
        height = static_cast<int>(gy * m_pExerViewDoc->GetPixelPerMMY()) + 1;
    } else if (gx > 0) {
        height = static_cast<int>(static_cast<double>(width) / gx * gy) + 1;
    }
    m_pAverageView->SetAnnoSizeRatio(static_cast<float>(width * kAverageAnnoScale));
    m_pAverageView->MoveWindow(left, top, width, height, TRUE);
    return top + height;
}

void CWndExerSummary::PlaceTrendKindStrip(int top, BOOL gridMode)
{
    if (!m_pTrendKindStrip || !m_pTrendKindStrip->GetSafeHwnd()) return;
    const panes::VirtualPage page = panes::VirtualPage::OfClient(this, m_bShowPatientInfo);
    const int width = page.X(250);
    m_pTrendKindStrip->MoveWindow(gridMode ? panes::GridModeMargin() : page.X(10), top, width, page.Y(20), TRUE);
    CWnd* combo = panes::StripItem(m_pTrendKindStrip, kTrendKindCombo);
    if (!combo) return;
    const int ids[] = {kTrendKindCombo};
    panes::SetStripFont(m_pTrendKindStrip, ids, 1, m_pExerViewDoc->GetDocFont(0));
    CRect rect;
    combo->GetWindowRect(&rect);
    combo->MoveWindow(0, 0, width, rect.Height(), TRUE);
}

void CWndExerSummary::PlaceMemoryView(int averageBottom, BOOL gridMode)
{
    if (!m_pMemoryView || !m_pMemoryView->GetSafeHwnd()) return;
    const panes::VirtualPage page = panes::VirtualPage::OfClient(this, m_bShowPatientInfo);
    const int H = page.Height();
    const double room = H - averageBottom - page.Y(10);
    int columns = kMemoryColumns, left = page.X(10), width = page.X(1001);
    double square = static_cast<double>(width) / kMemoryColumns;
    if (gridMode) {
        columns = kMemoryGridColumns;
        left = panes::GridModeMargin();
        width = static_cast<int>(kMemoryGridColumns * m_pExerViewDoc->GetPixelPerMMX()) + 1;
        square = m_pExerViewDoc->GetPixelPerMMY();
    }
    // The grid and its closing line fit the room left.
    const int rows = panes::RowsInRoom(room - 1, square);
    const int height = rows > 0 ? panes::GridHeight(rows, square) : 0;
    m_pMemoryView->InitBackground(columns, rows);
    m_pMemoryView->SetAnnoSizeRatio(static_cast<float>(width * kMemoryAnnoScale));
    m_pMemoryView->MoveWindow(left, averageBottom + (H - averageBottom - height) / 2, width, height, TRUE);
}

// ---- update and the trend kind ----------------------------------------------------------------

void CWndExerSummary::OnUpdate()
{
    RestoreTrendStyle();
    for (CFrameWnd* frame : {m_pInterpretationFrame, m_pPatientFrame})
        if (CFormEx* form = panes::FrameForm(frame)) form->OnUpdate(nullptr, 0, nullptr);
    if (m_pAverageView && m_pAverageView->GetSafeHwnd()) {
        m_pAverageView->OnUpdate(nullptr, 0, nullptr);
        m_pAverageView->InvalidateRect(nullptr, FALSE);
    }
    if (m_pMemoryView && m_pMemoryView->GetSafeHwnd()) {
        m_pMemoryView->OnUpdate();
        m_pMemoryView->InvalidateRect(nullptr, FALSE);
    }
}

void CWndExerSummary::AddTrendKind(const CString& text, int style)
{
    CWnd* combo = panes::StripItem(m_pTrendKindStrip, kTrendKindCombo);
    if (!combo) return;
    const LRESULT index = combo->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.GetString()));
    if (index >= 0) combo->SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(index), style);
}

void CWndExerSummary::RestoreTrendStyle()
{
    _EXERDATAITEM* item = m_pExerViewDoc ? m_pExerViewDoc->GetCurrentDataItem() : nullptr;
    CWnd* combo = panes::StripItem(m_pTrendKindStrip, kTrendKindCombo);
    if (!item || !combo) return;
    combo->SendMessage(CB_RESETCONTENT);
    for (int style = 1; style <= kFixedKindCount; ++style)
        if (Lists(item->uSystemCode, style)) AddTrendKind(kFixedKinds[style - 1], style);

    const BOOL relative = item->bRelativeST != 0;
    for (int k = 0; k < kSummaryLeads; ++k) {
        const int lead = item->nExtra3Lead[k];
        const CString name = lead >= 0 && lead < EXER_LEAD_NAMES ? item->strLeadName[lead] : CString();
        const int leadId = static_cast<int>(m_pExerViewDoc->GetDataLeadIDInverse(static_cast<UINT>(lead)));
        m_stLevel[k].text.Format(relative ? L"R-ST [mm]  %s" : L"ST-L [mm]  %s", name.GetString());
        m_stLevel[k].leadId = leadId;
        AddTrendKind(m_stLevel[k].text, kFirstLevelStyle + 2 * k);
        m_stLoop[k].text.Format(relative ? L"R-ST [mm]  ST-HR loop  %s" : L"ST-L [mm]  ST-HR loop  %s",
                                name.GetString());
        m_stLoop[k].leadId = leadId;
        AddTrendKind(m_stLoop[k].text, kFirstLevelStyle + 1 + 2 * k);
    }

    // The entry that stands for the kept kind; a record without it shows the first.
    int selection = 0;
    const int count = static_cast<int>(combo->SendMessage(CB_GETCOUNT));
    for (int i = 0; i < count; ++i)
        if (static_cast<int>(combo->SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(i))) == m_nTrendStyle) {
            selection = i;
            break;
        }
    combo->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(selection));
    OnSelChangeTrendStyle();
}

void CWndExerSummary::OnSelChangeTrendStyle()
{
    CWnd* combo = panes::StripItem(m_pTrendKindStrip, kTrendKindCombo);
    CString text;
    const LRESULT selection = combo ? combo->SendMessage(CB_GETCURSEL) : CB_ERR;
    if (selection >= 0) {
        const LRESULT length = combo->SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(selection));
        if (length > 0) {
            std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
            combo->SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(selection), reinterpret_cast<LPARAM>(buffer.data()));
            text = buffer.data();
        }
    }
    BOOL matched = FALSE;
    for (int style = 1; style <= kFixedKindCount && !matched; ++style)
        if (text.CompareNoCase(kFixedKinds[style - 1]) == 0) {
            m_nTrendStyle = style;
            matched = TRUE;
        }
    for (int k = 0; k < kSummaryLeads && !matched && !text.IsEmpty(); ++k) {
        const LeadEntry* entries[2] = {&m_stLevel[k], &m_stLoop[k]};
        for (int j = 0; j < 2 && !matched; ++j) {
            if (text.CompareNoCase(entries[j]->text) != 0) continue;
            m_nTrendStyle = kFirstLevelStyle + 2 * k + j;
            if (m_pTrendView) m_pTrendView->SetLeadID(entries[j]->leadId);
            matched = TRUE;
        }
    }
    if (!m_pTrendView || !m_pTrendView->GetSafeHwnd()) return;
    m_pTrendView->SetTrendStyle(m_nTrendStyle);
    m_pTrendView->UpdateInformation();
    m_pTrendView->InvalidateRect(nullptr, TRUE);
}

// ---- messages --------------------------------------------------------------------------------

LRESULT CWndExerSummary::OnFocusJump(WPARAM wParam, LPARAM)
{
    const panes::FocusJump jump = panes::ReadFocusJump(wParam);
    CFrameWnd* target = nullptr;
    if (jump.source == panes::kFromPatientForm) target = m_pInterpretationFrame;
    if (jump.source == panes::kFromInterpretation) target = m_pPatientFrame;
    if (!target) return 0;
    panes::FocusRule rule;
    rule.skipReadOnlyEdits = FALSE;
    rule.entry1Control = kJudgementCombo;
    rule.backwardViaPane = FALSE;
    return panes::JumpFocusInto(this, target, jump, rule);
}

LRESULT CWndExerSummary::OnUserAnnotationActive(WPARAM wParam, LPARAM)
{
    CWaveView* views[] = {m_pAverageView, m_pMemoryView};
    return panes::RelayAnnotationActive(reinterpret_cast<CWnd*>(wParam), views, 2);
}
