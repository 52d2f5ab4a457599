#include "panes/WndExerTrend.h"

#include "dialogs/DlgCtrl.h"
#include "documents/ExerViewDoc.h"
#include "panes/PaneKit.h"
#include "panes/WndExerAverageStrips.h"

IMPLEMENT_DYNAMIC(CWndExerTrend, CWnd)

BEGIN_MESSAGE_MAP(CWndExerTrend, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

constexpr int kStripTemplate = 159;
constexpr int kSummaryPage = 4101;
constexpr int kSTPage = 4102;
constexpr int kLoopPage = 4103;
constexpr int kStyleCombo = 4104;
constexpr UINT kFirstViewId = 250;
constexpr int kTrendParentTrendPane = 3;
constexpr unsigned int kTreadmillCode = 0xFFFC;

struct ComboEntry {
    LPCWSTR text;
    int style;
};
constexpr ComboEntry kSummaryList[] = {{L"METs / bpm", 7}, {L"Kcal / time", 8}, {L"METs / time", 9}};
constexpr ComboEntry kSTList[] = {{L"ST Level", 10}, {L"ST Slope", 16}, {L"ST Index", 17}, {L"R 波高", 18}};
constexpr int kLoopStyle = 11;

// The summary page's styles by view; 0 stands for the combo's style.
constexpr int kTreadmillSummary[CWndExerTrend::VIEWS] = {1, 2, 3, 4, 5, 0, 10, 10, 10, 11, 11, 11};
constexpr int kOtherSummary[CWndExerTrend::VIEWS] = {1, 2, 3, 6, 0, 9, 10, 10, 10, 11, 11, 11};

}  // namespace

CWndExerTrend::CWndExerTrend() : m_pTrendStrip(nullptr), m_pTrendView(), m_pExerViewDoc(nullptr) {}

CWndExerTrend::~CWndExerTrend()
{
    delete m_pTrendStrip;
    m_pTrendStrip = nullptr;
}

_EXERDATAITEM* CWndExerTrend::CurrentItem() const
{
    return m_pExerViewDoc ? m_pExerViewDoc->GetCurrentDataItem() : nullptr;
}

BOOL CWndExerTrend::IsTreadmillRecord() const
{
    const _EXERDATAITEM* item = CurrentItem();
    return item && item->uSystemCode == kTreadmillCode;
}

int CWndExerTrend::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    m_pTrendStrip = panes::CreateStrip<CDlgCtrl>(this, m_pExerViewDoc, kStripTemplate, kStripTemplate, this);
    if (m_pTrendStrip) m_pTrendStrip->ShowWindow(SW_SHOW);
    for (int i = 0; i < VIEWS; ++i) {
        m_pTrendView[i] = static_cast<CViewExerTrend*>(
            panes::CreateChildView(this, m_pExerViewDoc, RUNTIME_CLASS(CViewExerTrend), kFirstViewId + i));
        if (m_pTrendView[i]) m_pTrendView[i]->SetParentWndType(kTrendParentTrendPane);
    }
    panes::SetStripText(m_pTrendStrip, kSummaryPage, L"ｻﾏ?");
    panes::SetStripText(m_pTrendStrip, kSTPage, L"ST");
    panes::SetStripText(m_pTrendStrip, kLoopPage, L"ST-HR loop");
    _EXERDATAITEM* item = CurrentItem();
    if (!item) return 0;
    CheckPageButton(item->nTrendPage == 1 ? kSTPage : item->nTrendPage == 2 ? kLoopPage : kSummaryPage);
    RestoreTrendStyle();
    panes::ComboSelect(m_pTrendStrip, kStyleCombo, 0);
    item->nTrendSummarySel = 0;
    item->nTrendSTSel = 0;
    ShowTrend();
    return 0;
}

void CWndExerTrend::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (!m_pExerViewDoc) return;
    const panes::VirtualPage page = panes::VirtualPage::OfClient(this, TRUE);
    if (m_pTrendStrip && m_pTrendStrip->GetSafeHwnd()) {
        page.Place(m_pTrendStrip, {10, 3, 950, 20});
        page.Place(panes::StripItem(m_pTrendStrip, kSummaryPage), {0, 2, 100, 20});
        page.Place(panes::StripItem(m_pTrendStrip, kSTPage), {100, 2, 100, 20});
        page.Place(panes::StripItem(m_pTrendStrip, kLoopPage), {200, 2, 150, 20});
        page.Place(panes::StripItem(m_pTrendStrip, kStyleCombo), {350, 2, 250, 150});
        const int ids[] = {kSummaryPage, kSTPage, kLoopPage, kStyleCombo};
        panes::SetStripFont(m_pTrendStrip, ids, 4, m_pExerViewDoc->GetDocFont(0));
    }
    const int gapX = page.X(5), gapY = page.Y(5);
    const int width = (page.X(1000) - 3 * gapX) / 4;
    const int height = (page.Y(630) - 2 * gapY) / 3;
    for (int i = 0; i < VIEWS; ++i) {
        if (!m_pTrendView[i] || !m_pTrendView[i]->GetSafeHwnd()) continue;
        const int column = i / 3, row = i % 3;
        m_pTrendView[i]->MoveWindow(page.X(10) + column * (width + gapX), page.Y(27) + row * (height + gapY), width,
                                    height, TRUE);
    }
}

// ---- the combo and the pages -----------------------------------------------------------------

void CWndExerTrend::CheckPageButton(int id)
{
    for (int button : {kSummaryPage, kSTPage, kLoopPage}) panes::CheckStripButton(m_pTrendStrip, button, button == id);
}

void CWndExerTrend::RestoreTrendStyle()
{
    const _EXERDATAITEM* item = CurrentItem();
    if (!item) return;
    panes::ComboFill(m_pTrendStrip, kStyleCombo, nullptr, 0);
    const BOOL summary = item->nTrendPage == 0 || (item->nTrendPage == 2 && item->bTrendList);
    const BOOL st = item->nTrendPage == 1 || (item->nTrendPage == 2 && !item->bTrendList);
    LPCWSTR texts[4];
    int count = 0;
    if (summary) {
        // Only the treadmill records keep METs against time.
        const int entries = IsTreadmillRecord() ? 3 : 2;
        for (int i = 0; i < entries; ++i) texts[count++] = kSummaryList[i].text;
    } else if (st) {
        for (const ComboEntry& entry : kSTList) texts[count++] = entry.text;
    }
    panes::ComboFill(m_pTrendStrip, kStyleCombo, texts, count);
}

_EXER_TREND_STYLE CWndExerTrend::GetTrendTypeFromCmb(int fromItem)
{
    const _EXERDATAITEM* item = CurrentItem();
    if (!item) return 0;
    if (fromItem) {
        switch (item->nTrendSummarySel) {
        case 0: return 7;
        case 1: return 8;
        case 2: return IsTreadmillRecord() ? 9 : 0;
        default: return 0;
        }
    }
    const CString text =
        panes::ComboText(m_pTrendStrip, kStyleCombo, panes::ComboSelection(m_pTrendStrip, kStyleCombo));
    if (text.IsEmpty()) return 0;
    for (const ComboEntry& entry : kSummaryList)
        if (text.CompareNoCase(entry.text) == 0) return entry.style;
    for (const ComboEntry& entry : kSTList)
        if (text.CompareNoCase(entry.text) == 0) return entry.style;
    return 0;
}

void CWndExerTrend::ShowTrend()
{
    _EXERDATAITEM* item = CurrentItem();
    if (!item) return;
    const int page = item->nTrendPage;
    const int comboStyle = page == 0 || page == 1 ? GetTrendTypeFromCmb(0) : 0;
    for (int i = 0; i < VIEWS; ++i) {
        CViewExerTrend* view = m_pTrendView[i];
        if (!view || !view->GetSafeHwnd()) continue;
        if (page == 2) {
            view->SetLeadID(i);
            view->SetTrendStyle(kLoopStyle);
        } else if (page == 1) {
            view->SetLeadID(i);
            view->SetTrendStyle(comboStyle);
        } else if (page == 0) {
            const int style = IsTreadmillRecord() ? kTreadmillSummary[i] : kOtherSummary[i];
            view->SetTrendStyle(style ? style : comboStyle);
            if (i >= 6) {
                const UINT lead = m_pExerViewDoc->GetDataLeadIDInverse(static_cast<UINT>(item->nExtra3Lead[i % 3]));
                view->SetLeadID(static_cast<int>(lead));
            }
        }
        view->UpdateInformation();
        panes::RepaintView(view);
    }
}

_EXER_PRINT_STYLE CWndExerTrend::GetCurrentPrintStyle()
{
    if (panes::IsStripButtonChecked(m_pTrendStrip, kSummaryPage)) return 3;
    if (panes::IsStripButtonChecked(m_pTrendStrip, kSTPage)) {
        const int selection = panes::ComboSelection(m_pTrendStrip, kStyleCombo);
        if (selection >= 0 && selection <= 3) return 4 + selection;
    }
    if (panes::IsStripButtonChecked(m_pTrendStrip, kLoopPage)) return 8;
    return 9;
}

// ---- update and commands ---------------------------------------------------------------------

void CWndExerTrend::OnUpdate()
{
    _EXERDATAITEM* item = CurrentItem();
    if (!item) return;
    for (CViewExerTrend* view : m_pTrendView) {
        if (!view || !view->GetSafeHwnd()) continue;
        view->UpdateInformation();
        panes::RepaintView(view);
    }
    switch (item->nTrendPage) {
    case 0: {
        CheckPageButton(kSummaryPage);
        panes::EnableStripItem(m_pTrendStrip, kStyleCombo, TRUE);
        RestoreTrendStyle();
        const int last = panes::ComboCount(m_pTrendStrip, kStyleCombo) - 1;
        if (item->nTrendSummarySel > last) item->nTrendSummarySel = last;
        if (item->nTrendSummarySel < 0) item->nTrendSummarySel = 0;
        panes::ComboSelect(m_pTrendStrip, kStyleCombo, item->nTrendSummarySel);
        break;
    }
    case 1:
        CheckPageButton(kSTPage);
        panes::EnableStripItem(m_pTrendStrip, kStyleCombo, TRUE);
        RestoreTrendStyle();
        panes::ComboSelect(m_pTrendStrip, kStyleCombo, item->nTrendSTSel);
        break;
    case 2:
        CheckPageButton(kLoopPage);
        RestoreTrendStyle();
        panes::EnableStripItem(m_pTrendStrip, kStyleCombo, FALSE);
        panes::ComboSelect(m_pTrendStrip, kStyleCombo, item->bTrendList ? item->nTrendSummarySel : item->nTrendSTSel);
        break;
    default:
        CheckPageButton(kSummaryPage);
        panes::EnableStripItem(m_pTrendStrip, kStyleCombo, TRUE);
        break;
    }
    ShowTrend();
}

void CWndExerTrend::ChangePage()
{
    _EXERDATAITEM* item = CurrentItem();
    if (panes::IsStripButtonChecked(m_pTrendStrip, kLoopPage)) {
        panes::EnableStripItem(m_pTrendStrip, kStyleCombo, FALSE);
        item->nTrendPage = 2;
    } else {
        panes::EnableStripItem(m_pTrendStrip, kStyleCombo, TRUE);
        const BOOL st = panes::IsStripButtonChecked(m_pTrendStrip, kSTPage);
        item->bTrendList = st ? 0 : 1;
        item->nTrendPage = st ? 1 : 0;
        RestoreTrendStyle();
        panes::ComboSelect(m_pTrendStrip, kStyleCombo, st ? item->nTrendSTSel : item->nTrendSummarySel);
    }
    ShowTrend();
}

void CWndExerTrend::ChangeComboStyle()
{
    _EXERDATAITEM* item = CurrentItem();
    const int selection = panes::ComboSelection(m_pTrendStrip, kStyleCombo);
    if (item->nTrendPage == 0) {
        CViewExerTrend* view = m_pTrendView[IsTreadmillRecord() ? 5 : 4];
        if (view && view->GetSafeHwnd()) {
            view->SetTrendStyle(GetTrendTypeFromCmb(0));
            view->UpdateInformation();
            panes::RepaintView(view);
        }
        item->nTrendSummarySel = selection;
    } else if (item->nTrendPage == 1) {
        item->nTrendSTSel = selection;
    }
    ShowTrend();
}

BOOL CWndExerTrend::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // A probe asks who would handle the command; it is not a command.
    if (pHandlerInfo) return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    // Without a record the page answers nothing, and nothing else may.
    if (!CurrentItem()) return 255;
    const int id = static_cast<int>(nID);
    if (nCode == CN_COMMAND && (id == kSummaryPage || id == kSTPage || id == kLoopPage)) ChangePage();
    if (nCode == CBN_SELCHANGE && id == kStyleCombo) ChangeComboStyle();
    return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
