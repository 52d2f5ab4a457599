#include "panes/WndRestSerialComRhy.h"

#include "core/DataItem.h"
#include "core/TavrionDoc.h"
#include "core/UserMessages.h"
#include "dialogs/DlgCtrl.h"
#include "dialogs/DlgSerialCom.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "panes/PaneKit.h"
#include "panes/SerialFileList.h"
#include "waveviews/ViewScroll1LeadRhyWave.h"
#include "waveviews/ViewSerialComRhy.h"

IMPLEMENT_DYNAMIC(CWndRestSerialComRhy, CWnd)

BEGIN_MESSAGE_MAP(CWndRestSerialComRhy, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_MESSAGE(WM_STRIP_DRAGGED, OnUser1LeadScorllDragDrop)
    ON_MESSAGE(WM_SERIAL_RECORD_CHOSEN, OnUserChangeSerialFileInfo)
    ON_MESSAGE(WM_CAL_PULSE_CLICKED, OnClickCALSenseFor1LeadScorll)
    ON_MESSAGE(WM_ANNOTATION_ACTIVE, OnUserActiveAnnotation)
    ON_MESSAGE(WM_SERIAL_CHOICE_VALIDATE, OnUserCheckSerialFileInfo)
END_MESSAGE_MAP()

namespace {

constexpr int kRestDoc = 0;
constexpr int kMferDoc = 6;
constexpr int kChooserTemplate = 124;
constexpr int kLimbChestTemplate = 117;
constexpr int kLimbButton = 3481;
constexpr int kChestButton = 3482;
constexpr int kFirstViewId = 301;
constexpr int kFirstStripId = 303;
constexpr int kComparisonStyle = 29;
constexpr int kOneLeadStyle = 13;
constexpr int kNoLead = 255;
constexpr int kPageHeight = 664;
constexpr int kViewX[2] = {12, 513};
constexpr int kViewWidth = 495;
constexpr int kGridColumns = 130;
constexpr int kStripRows = 30;
constexpr UINT kSizeByWidth = 6;

void MoveTo(CWnd* wnd, const CRect& rect)
{
    if (wnd && wnd->GetSafeHwnd()) wnd->MoveWindow(rect, TRUE);
}

void Show(CWnd* wnd)
{
    if (wnd && wnd->GetSafeHwnd()) wnd->ShowWindow(SW_SHOW);
}

}  // namespace

CWndRestSerialComRhy::CWndRestSerialComRhy()
    : m_pBaseDoc(nullptr), m_pRestViewDoc(nullptr), m_pMFERViewDoc(nullptr), m_bShowLimb(TRUE), m_nDocType(kRestDoc),
      m_pStrip{}, m_pView{}, m_pLimbChest(nullptr), m_pChooser{}
{
}

CWndRestSerialComRhy::~CWndRestSerialComRhy()
{
    for (CDlgSerialCom*& chooser : m_pChooser) {
        delete chooser;
        chooser = nullptr;
    }
    delete m_pLimbChest;
    m_pLimbChest = nullptr;
}

CTavrionDoc* CWndRestSerialComRhy::ServingDoc() const
{
    if (m_nDocType == kRestDoc) return m_pRestViewDoc;
    if (m_nDocType == kMferDoc) return m_pMFERViewDoc;
    return nullptr;
}

int CWndRestSerialComRhy::OneLeadID() const
{
    int lead = 0;
    if (m_nDocType == kRestDoc && m_pRestViewDoc) lead = m_pRestViewDoc->GetRhythm1LeadID();
    else if (m_nDocType == kMferDoc && m_pMFERViewDoc) lead = m_pMFERViewDoc->GetRhythm1LeadID();
    return lead == kNoLead ? 0 : lead;
}

// ---- building ------------------------------------------------------------------------------

int CWndRestSerialComRhy::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    CTavrionDoc* serving = m_nDocType == kRestDoc ? static_cast<CTavrionDoc*>(m_pRestViewDoc) : m_pMFERViewDoc;
    const int viewKind = m_nDocType != kRestDoc ? kMferDoc : kRestDoc;
    for (int i = 0; i < kHalves; ++i) {
        m_pChooser[i] = panes::CreateStrip<CDlgSerialCom>(this, m_pBaseDoc, kChooserTemplate, this);
        if (!m_pChooser[i]) continue;
        m_pChooser[i]->CreateBrush(RGB(255, 255, 255));
        m_pChooser[i]->SetIndex(i);
    }
    m_pLimbChest = panes::CreateStrip<CDlgCtrl>(this, serving, kLimbChestTemplate, kLimbChestTemplate, this);
    panes::SetStripText(m_pLimbChest, kLimbButton, L"四肢");
    panes::SetStripText(m_pLimbChest, kChestButton, L"胸部");
    if (CWnd* limb = panes::StripItem(m_pLimbChest, kLimbButton))
        limb->SendMessage(BM_SETCHECK, m_bShowLimb ? BST_CHECKED : BST_UNCHECKED, 0);
    if (CWnd* chest = panes::StripItem(m_pLimbChest, kChestButton))
        chest->SendMessage(BM_SETCHECK, m_bShowLimb ? BST_UNCHECKED : BST_CHECKED, 0);

    for (int i = 0; i < kHalves; ++i) {
        auto* view = static_cast<CViewSerialComRhy*>(
            panes::CreateChildView(this, serving, RUNTIME_CLASS(CViewSerialComRhy), kFirstViewId + i));
        if (!view) continue;
        view->SetBaseECGDoc(m_pBaseDoc);
        view->SetRestViewDoc(m_pRestViewDoc);
        view->SetMFERViewDoc(m_pMFERViewDoc);
        view->SetDocType(viewKind);
        view->SetWaveStyle(kComparisonStyle, TRUE);
        m_pView[i] = view;
    }
    // The strips read their record through a rest or MFER document; without
    // one there is nothing to scroll.
    if (!m_pRestViewDoc && !m_pMFERViewDoc) return 0;
    for (int i = 0; i < kHalves; ++i) {
        auto* strip = static_cast<CViewScroll1LeadRhyWave*>(
            panes::CreateChildView(this, serving, RUNTIME_CLASS(CViewScroll1LeadRhyWave), kFirstStripId + i));
        if (!strip) continue;
        strip->SetBaseECGDoc(m_pBaseDoc);
        strip->SetRestViewDoc(m_pRestViewDoc);
        strip->SetMFERViewDoc(m_pMFERViewDoc);
        strip->SetViewIndex(i);
        strip->SetDocType(viewKind);
        strip->SetScroll(TRUE);
        strip->SetWaveStyle(kOneLeadStyle, TRUE);
        m_pStrip[i] = strip;
    }
    return 0;
}

// ---- layout --------------------------------------------------------------------------------

void CWndRestSerialComRhy::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    CRect client;
    GetClientRect(&client);
    const int W = client.Width();
    const int H = client.Height();
    CTavrionDoc* sizing = m_pRestViewDoc ? static_cast<CTavrionDoc*>(m_pRestViewDoc) : m_pMFERViewDoc;
    const bool byWidth = sizing && sizing->GetDisplaySizeMode() == kSizeByWidth;
    auto X = [W](int units) { return MulDiv(W, units, panes::kPageWidth); };
    auto Y = [H](int units) { return MulDiv(H, units, kPageHeight); };
    // Heights follow the width in display size mode 6; offsets and gaps the height.
    auto Size = [&](int units) { return byWidth ? X(units) : Y(units); };

    const BOOL visible = IsWindowVisible();
    if (visible) ShowWindow(SW_HIDE);
    MoveTo(m_pLimbChest, CRect(X(345), Y(5), X(345) + X(111), Y(5) + Size(37)));
    Show(m_pLimbChest);
    MoveTo(panes::StripItem(m_pLimbChest, kLimbButton), CRect(0, 0, X(55), Size(30)));
    MoveTo(panes::StripItem(m_pLimbChest, kChestButton), CRect(X(55), 0, X(55) + X(55), Size(30)));
    for (int i = 0; i < kHalves; ++i) {
        MoveTo(m_pChooser[i], CRect(X(kViewX[i]), Y(8), X(kViewX[i]) + X(280), Y(8) + Size(20)));
        Show(m_pChooser[i]);
        CWnd* combo = panes::ChooserCombo(m_pChooser[i]);
        MoveTo(combo, CRect(0, 0, X(280), Size(450)));
        Show(combo);
    }
    CFont* font = m_pBaseDoc ? m_pBaseDoc->GetDocFont(3) : nullptr;
    const int buttons[2] = {kLimbButton, kChestButton};
    panes::SetStripFont(m_pLimbChest, buttons, 2, font);
    const int combo[1] = {panes::kSerialChooserCombo};
    for (CDlgSerialCom* chooser : m_pChooser) panes::SetStripFont(chooser, combo, 1, font);

    const int w = X(kViewWidth);
    int stripColumns = kGridColumns, stripRows = kStripRows;
    if (m_pStrip[0]) m_pStrip[0]->GetGridCount(stripColumns, stripRows);
    int viewColumns = kGridColumns, viewRows = 0;
    if (m_pView[0]) m_pView[0]->GetGridCount(viewColumns, viewRows);
    const double stripSquare = stripColumns > 0 ? static_cast<double>(w) / stripColumns : 0.0;
    const double viewSquare = viewColumns > 0 ? static_cast<double>(w) / viewColumns : 0.0;
    const int hs = panes::GridHeight(stripRows, stripSquare);
    const int T = Size(50);
    const int gap = Y(5);
    const int rows = panes::RowsInRoom(H - T - hs - 2 * gap, viewSquare);
    const int hv = panes::GridHeight(rows, viewSquare);
    for (int i = 0; i < kHalves; ++i) {
        if (m_pView[i]) {
            m_pView[i]->InitBackground(viewColumns, rows);
            MoveTo(m_pView[i], CRect(X(kViewX[i]), T, X(kViewX[i]) + w, T + hv));
            Show(m_pView[i]);
        }
        if (m_pStrip[i]) {
            MoveTo(m_pStrip[i], CRect(X(kViewX[i]), T + hv + gap, X(kViewX[i]) + w, T + hv + gap + hs));
            Show(m_pStrip[i]);
        }
    }
    if (visible) ShowWindow(SW_SHOW);
}

// ---- page style and updates ----------------------------------------------------------------

void CWndRestSerialComRhy::ShowPageStyle(int)
{
    for (CViewSerialComRhy* view : m_pView)
        if (view) view->SetWaveStyle(kComparisonStyle, TRUE);
    for (CViewScroll1LeadRhyWave* strip : m_pStrip)
        if (strip) strip->SetWaveStyle(kOneLeadStyle, TRUE);
    OnUpdate();
    // A new wave style sets the views' grids afresh: lay them out again, as every wave page does.
    if (GetSafeHwnd()) SendMessage(WM_SIZE, 0, 0);
}

void CWndRestSerialComRhy::OnUpdate()
{
    const int lead = OneLeadID();
    for (CViewScroll1LeadRhyWave* strip : m_pStrip)
        if (strip) strip->SetRhythm1LeadID(lead);
    if (CTavrionDoc* serving = ServingDoc()) SetDividerCheck(serving->GetDividerCheck());
    for (int i = 0; i < kHalves; ++i) {
        for (CViewSerialComRhy* view : {static_cast<CViewSerialComRhy*>(m_pView[i]),
                                        static_cast<CViewSerialComRhy*>(m_pStrip[i])}) {
            if (!view) continue;
            view->OnUpdate(nullptr, 0, nullptr);
            if (view->GetSafeHwnd()) view->InvalidateRect(nullptr, FALSE);
        }
    }
    UpdateSerialFileList();
}

void CWndRestSerialComRhy::UpdateSerialFileList()
{
    panes::FillSerialChoosers(m_pBaseDoc, m_pRestViewDoc, m_pMFERViewDoc, m_pChooser, kHalves, m_arrPosition);
    for (int i = 0; i < kHalves; ++i) {
        CViewSerialComRhy* shown = m_pStrip[i] ? static_cast<CViewSerialComRhy*>(m_pStrip[i]) : m_pView[i];
        const int index = shown ? shown->GetSerialIndex() : -1;
        panes::SelectChooserEntry(m_pChooser[i], panes::SerialEntryOf(m_arrPosition, index));
    }
}

void CWndRestSerialComRhy::RestoreSerialFile()
{
    if (!m_pRestViewDoc && !m_pMFERViewDoc) return;
    _DATAITEM* current = m_pBaseDoc ? m_pBaseDoc->GetCurDataItem() : nullptr;
    int indices[kHalves] = {-1, -1};
    int index = 0;
    _DATAITEM* item = m_pBaseDoc ? m_pBaseDoc->GetListHeader() : nullptr;
    for (; item && item != current; item = item->pNext)
        if (panes::IsComparableCode(item->uSystemCode)) ++index;
    // From the current record on: the first comparable record is the first
    // half's, the next the second's.
    for (int half = 0; item && half < kHalves; item = item->pNext) {
        if (!panes::IsComparableCode(item->uSystemCode)) continue;
        indices[half++] = index++;
    }
    for (int i = 0; i < kHalves; ++i) {
        if (m_pView[i]) m_pView[i]->SetSerialIndex(indices[i]);
        if (m_pStrip[i]) m_pStrip[i]->SetSerialIndex(indices[i]);
        panes::SelectChooserEntry(m_pChooser[i], panes::SerialEntryOf(m_arrPosition, indices[i]));
    }
    for (int i = 0; i < kHalves; ++i)
        SendMessage(WM_SERIAL_RECORD_CHOSEN, static_cast<WPARAM>(i),
                    static_cast<LPARAM>(panes::ChooserSelection(m_pChooser[i])));
    if (m_pLimbChest) m_pLimbChest->OnInitDialog();
}

void CWndRestSerialComRhy::SetDividerCheck(int bits)
{
    if (!m_pView[0] && !m_pView[1]) return;
    for (CViewSerialComRhy* view : m_pView) {
        if (!view) continue;
        if (bits < 0) {
            view->ShowDivider(FALSE);
            continue;
        }
        for (int pair = 1; pair <= 3; ++pair) view->SetDividerCheck((bits >> (pair - 1)) & 1, pair);
        view->ShowDivider(TRUE);
    }
}

void CWndRestSerialComRhy::CheckSerialFileID()
{
    CString currentID;
    if (m_nDocType == kMferDoc) {
        if (_MFERDATAITEM* item = m_pMFERViewDoc ? m_pMFERViewDoc->GetCurrentDataItem() : nullptr)
            currentID = item->stPatient.strPatientID;
    } else if (m_nDocType == kRestDoc) {
        if (_RESTDATAITEM* item = m_pRestViewDoc ? m_pRestViewDoc->GetCurrentDataItem() : nullptr)
            currentID = item->stPatient.strPatientID;
    } else {
        for (int i = 0; i < kHalves; ++i) {
            if (m_pView[i]) m_pView[i]->SetIsSameID(FALSE);
            if (m_pStrip[i]) m_pStrip[i]->SetIsSameID(FALSE);
        }
    }
    for (int i = 0; i < kHalves; ++i) {
        if (!m_pView[i]) continue;
        CString id;
        const BOOL same = m_pView[i]->GetPatientID(id) && id == currentID;
        m_pView[i]->SetIsSameID(same);
        if (m_pStrip[i]) m_pStrip[i]->SetIsSameID(same);
    }
}

void CWndRestSerialComRhy::HideAllPopupDlg(BOOL show)
{
    for (CViewSerialComRhy* view : m_pView)
        if (view) view->HideAllPopupDlg(show);
}

void CWndRestSerialComRhy::CloseAllPopupDlg()
{
    for (CViewSerialComRhy* view : m_pView)
        if (view) view->CloseAllPopupDlg();
}

// ---- the choosers --------------------------------------------------------------------------

BOOL CWndRestSerialComRhy::IsRepeateIndex(int k, int entry)
{
    const int other = 1 - k;
    if (entry < 0 || panes::ChooserSelection(m_pChooser[other]) != entry) return FALSE;
    if (m_pBaseDoc) m_pBaseDoc->SendToNotifyWnd(WM_SERIAL_CHOICE_REFUSED, 1, 0);
    const int previous = m_pView[k] ? m_pView[k]->GetSerialIndex() : -1;
    panes::SelectChooserEntry(m_pChooser[k], panes::SerialEntryOf(m_arrPosition, previous));
    return TRUE;
}

LRESULT CWndRestSerialComRhy::OnUserChangeSerialFileInfo(WPARAM wParam, LPARAM lParam)
{
    const int k = static_cast<int>(wParam);
    // Only the two halves have a view, a strip and a chooser.
    if (!InHalves(k)) return 0;
    const int entry = static_cast<int>(lParam);
    const int index = panes::SerialIndexOf(m_arrPosition, entry);
    const panes::SerialRecord record = panes::FindSerialRecord(m_pBaseDoc, m_pRestViewDoc, m_pMFERViewDoc, index);
    if (record.listed && !record.Found()) return 0;
    if (record.listed && !record.listed->bLoaded && m_pBaseDoc)
        m_pBaseDoc->SendToNotifyWnd(WM_SERIAL_RECORD_TO_LOAD, static_cast<WPARAM>(record.listed->nID), 0);
    if (IsRepeateIndex(k, entry)) return 0;

    const int shown = record.listed ? index : -1;
    const int lead = OneLeadID();
    if (CViewSerialComRhy* view = m_pView[k]) {
        view->SetInitialDividerPos();
        view->SetSerialIndex(shown);
        view->OnUpdate(nullptr, 0, nullptr);
        if (view->GetSafeHwnd()) view->InvalidateRect(nullptr, FALSE);
    }
    if (CViewScroll1LeadRhyWave* strip = m_pStrip[k]) {
        strip->SetSerialIndex(shown);
        strip->SetRhythm1LeadID(lead);
        strip->OnUpdate(nullptr, 0, nullptr);
    }
    for (CViewScroll1LeadRhyWave* strip : m_pStrip)
        if (strip && strip->GetSafeHwnd()) strip->InvalidateRect(nullptr, FALSE);
    if (m_pChooser[k] && m_pChooser[k]->GetSafeHwnd() && GetParent()) {
        CRect rect;
        m_pChooser[k]->GetWindowRect(&rect);
        GetParent()->ScreenToClient(&rect);
        GetParent()->InvalidateRect(&rect, TRUE);
    }
    return 0;
}

LRESULT CWndRestSerialComRhy::OnUserCheckSerialFileInfo(WPARAM, LPARAM)
{
    CTavrionDoc* serving = ServingDoc();
    if (!serving || !serving->IsCheckID()) return 1;
    CString ids[kHalves];
    for (int i = 0; i < kHalves; ++i)
        if (m_pView[i]) m_pView[i]->GetPatientID(ids[i]);
    if (ids[0] != ids[1] && m_pView[1] && m_pView[1]->GetSerialIndex() != -1) {
        if (m_pBaseDoc) m_pBaseDoc->SendToNotifyWnd(WM_SERIAL_CHOICE_REFUSED, 2, 0);
        return 0;
    }
    return 1;
}

// ---- the strips ----------------------------------------------------------------------------

LRESULT CWndRestSerialComRhy::OnUser1LeadScorllDragDrop(WPARAM wParam, LPARAM lParam)
{
    CTavrionDoc* serving = ServingDoc();
    const int half = static_cast<int>(lParam);
    if (!serving || !InHalves(half) || !m_pView[half]) return 0;
    const int sample = static_cast<int>(wParam);
    CViewSerialComRhy* view = m_pView[half];
    if (sample == view->GetStartTime()) return 0;
    view->SetStartTime(sample);
    if (serving->GetAnnotationFlag()) {
        view->DeleteAllAnnoInfo();
        if (m_pStrip[half]) m_pStrip[half]->DeleteAllAnnoInfo();
    }
    view->UpdateDrawDC();
    view->InvalidateRect(nullptr, FALSE);
    return 0;
}

LRESULT CWndRestSerialComRhy::OnClickCALSenseFor1LeadScorll(WPARAM wParam, LPARAM lParam)
{
    // A long recording has no calibration setting of its own to change.
    if (m_pStrip[0] && m_pStrip[0]->IsLongTermFile()) return 0;
    if (m_pBaseDoc && m_pBaseDoc->GetNotifyWnd()) m_pBaseDoc->SendToNotifyWnd(WM_CAL_PULSE_CLICKED, wParam, lParam);
    return 0;
}

LRESULT CWndRestSerialComRhy::OnUserActiveAnnotation(WPARAM wParam, LPARAM)
{
    CWaveView* views[4] = {m_pStrip[0], m_pStrip[1], m_pView[0], m_pView[1]};
    return panes::RelayAnnotationActive(reinterpret_cast<CWnd*>(wParam), views, 4);
}

// ---- commands ------------------------------------------------------------------------------

BOOL CWndRestSerialComRhy::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (pHandlerInfo || (nID != static_cast<UINT>(kLimbButton) && nID != static_cast<UINT>(kChestButton)))
        return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    m_bShowLimb = nID == static_cast<UINT>(kLimbButton);
    if (!m_pBaseDoc) return 0;
    const int clear = m_pBaseDoc->GetAnnotationFlag();
    for (CViewSerialComRhy* view : m_pView) {
        if (!view) continue;
        view->SaveAnnoToData(0, nullptr, clear);
        view->SetShowChestLead(!m_bShowLimb);
        view->UpdateDrawDC();
    }
    for (CViewScroll1LeadRhyWave* strip : m_pStrip) {
        if (!strip) continue;
        strip->SaveAnnoToData(0, nullptr, clear);
        strip->SetShowChestLead(!m_bShowLimb);
        if (strip->GetSafeHwnd()) strip->InvalidateRect(nullptr, FALSE);
    }
    return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
