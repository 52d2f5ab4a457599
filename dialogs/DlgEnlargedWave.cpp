// CDlgEnlargedWave: the enlarged lead's dialog around its view.
#include "dialogs/DlgEnlargedWave.h"

#include <algorithm>

#include "analysisviews/ViewAveOverlappedWave.h"
#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "dialogs/EditingOk.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/Font.h"
#include "platform/ui/framework/PaintDC.h"
#include "waveviews/ViewEnlargedWave.h"
#include "waveviews/ViewSerialComRhy.h"
#include "waveviews/WaveItemRef.h"

IMPLEMENT_DYNAMIC(CDlgEnlargedWave, CDlgModal)

BEGIN_MESSAGE_MAP(CDlgEnlargedWave, CDlgModal)
    ON_MESSAGE(WM_ENLARGED_RULER_READING, OnRulerReading)
    ON_MESSAGE(WM_ENLARGED_PAN, OnViewPanned)
    ON_BN_CLICKED(IDC_RULER, OnRulerMode)
    ON_BN_CLICKED(IDC_DRAG, OnDragMode)
    ON_BN_CLICKED(IDC_ZOOM_IN, OnZoomIn)
    ON_BN_CLICKED(IDC_ZOOM_OUT, OnZoomOut)
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_PAINT()
    ON_CONTROL_RANGE(EN_SETFOCUS, CEnlargedMeasureTable::kFirstCellId, CEnlargedMeasureTable::kLastCellId, OnCellSetFocus)
    ON_CONTROL_RANGE(EN_KILLFOCUS, CEnlargedMeasureTable::kFirstCellId, CEnlargedMeasureTable::kLastCellId, OnCellKillFocus)
    ON_CONTROL_RANGE(DEN_TAB, CEnlargedMeasureTable::kFirstCellId, CEnlargedMeasureTable::kLastCellId, OnCellNext)
    ON_CONTROL_RANGE(DEN_ENTER, CEnlargedMeasureTable::kFirstCellId, CEnlargedMeasureTable::kLastCellId, OnCellNext)
END_MESSAGE_MAP()

namespace {
const int kVerticalPage = 20;   // pixels
}  // namespace

CDlgEnlargedWave::CDlgEnlargedWave(int nFlag, int nMode, CWnd* pParent)
    : CDlgEnlargedWave(IDD, {IDC_HORIZONTAL_BAR, IDC_VERTICAL_BAR, IDC_READOUT, IDC_RULER, IDC_DRAG, IDC_ZOOM_IN, IDC_ZOOM_OUT},
                       nFlag, nMode, pParent)
{
}

CDlgEnlargedWave::CDlgEnlargedWave(UINT nIDTemplate, const CEnlargedViewFrame::Controls& ids, int nFlag, int nMode,
                                   CWnd* pParent)
    : CDlgModal(nIDTemplate, pParent),
      m_frame(ids),
      m_bHasTable(nIDTemplate == IDD),
      m_bWholeBeat(nFlag),
      m_nMode(nMode),
      m_pLabelFont(g_pDlgFontNormal),
      m_pCellFont(g_pDlgFontNormal)
{
}

CDlgEnlargedWave::~CDlgEnlargedWave() = default;

int CDlgEnlargedWave::RunSerialPopup(CWnd* parent, const CSerialPopupRequest& request, std::unique_ptr<CDialog>& popup)
{
    auto dialog = std::make_unique<CDlgEnlargedWave>(0, 2, parent);
    CDlgEnlargedWave& wave = *dialog;
    wave.SetDoc(request.pDoc, request.nDocType);
    if (request.nDocType == DOC_TYPE_REST || request.nDocType == DOC_TYPE_MFER) wave.SetSerialDoc(request.pSerialDoc);
    wave.SetDotsPerMM(request.dDotsPerMMX, request.dDotsPerMMY);
    wave.SetClickInfo(request.nLead, request.nSample, request.nPageStart, request.nLength);
    wave.SetLimbLead(request.nSenseID);
    // The view owns the pop-up, so that it can close it while it runs.
    popup = std::move(dialog);
    return static_cast<int>(wave.DoModal());
}

void CDlgEnlargedWave::SetClickInfo(int nLead, int nCenter, int nValue, int nLength)
{
    m_nLead = nLead;
    m_nCenter = nCenter;
    m_nClickValue = nValue;
    m_nWaveLength = nLength;
}

BOOL CDlgEnlargedWave::OnInitDialog()
{
    CDlgModal::OnInitDialog();
    if (m_bHasTable) ApplyTableFont();
    SetWindowText(L"波形放大显示");
    SetDlgItemText(IDOK, L"更新");
    SetDlgItemText(IDCANCEL, L"关闭");
    const bool shows = ReadDisplaySettings();
    m_frame.SetUpButtons(*this);
    const CEnlargedWaveLayout layout = CEnlargedWaveLayout::ForWindow(GetSafeHwnd(), m_pDoc);
    PlaceControls(layout);
    if (m_bHasTable) CreateOverlapView(layout.OverlapFrame());
    if (shows && CreateWaveView()) SetScrollRanges();
    SetUpMeasureTable(layout);
    return TRUE;
}

bool CDlgEnlargedWave::ReadDisplaySettings()
{
    // Mode 1 keeps what SetSerialPos gave; mode 2 reads the comparison's document.
    CTavrionDoc* settings = m_nMode == 2 && m_pSerialDoc ? m_pSerialDoc : m_pDoc;
    if (settings && m_nMode != 1) {
        m_fSpeed = settings->GetSpeed();
        m_fSense = settings->GetSense(static_cast<UINT>(m_nSenseID), 0);
        m_nFilter = settings->GetFilter();
    }
    // Only a resting, rhythm or MFER record's current item has a lead to enlarge;
    // without one the dialog stays up empty rather than on a bare grid.
    if (m_nDocType != DOC_TYPE_REST && m_nDocType != DOC_TYPE_RHYTHM && m_nDocType != DOC_TYPE_MFER) return false;
    return static_cast<bool>(CWaveItemRef::Of(m_pDoc, m_nDocType));
}

void CDlgEnlargedWave::PlaceControls(const CEnlargedWaveLayout& layout)
{
    if (m_bHasTable) layout.Apply(*this, m_frame.Ids(), m_nMode != 1);
}

int CDlgEnlargedWave::HorizontalPage() const
{
    return m_pView ? std::max(1, m_pView->GetDrawLength() / 2) : 1;
}

void CDlgEnlargedWave::RecordOf(_ECGDATA*& record, unsigned& code) const
{
    record = nullptr;
    code = 0;
    if (auto* rest = m_nDocType == DOC_TYPE_REST ? DYNAMIC_DOWNCAST(CRestViewDoc, m_pDoc) : nullptr) {
        if (_RESTDATAITEM* item = rest->GetCurrentDataItem()) {
            record = item->pECGData;
            code = item->uSystemCode;
        }
    }
}

bool CDlgEnlargedWave::IsTableReadOnly() const
{
    return m_nMode != 0 || (m_pDoc && m_pDoc->IsReadOnly() == 1);
}

void CDlgEnlargedWave::SetUpMeasureTable(const CEnlargedWaveLayout& layout)
{
    if (!m_bHasTable || !m_table.Create(*this, layout)) return;
    m_table.Load(m_pDoc, m_nDocType, m_nLead, IsTableReadOnly());
    CString title;
    title.Format(L"%s %s %s", L"导联", LeadName().GetString(), L"详细测量值");
    SetDlgItemText(CEnlargedWaveLayout::IDC_LEAD_GROUP, title);
    if (CWnd* update = GetDlgItem(IDOK)) update->ShowWindow(m_table.IsEditable() ? SW_SHOW : SW_HIDE);
    // Only a user who may save (the doctor for model-8000 records) updates.
    if (m_table.IsEditable()) CEditingOk::ApplyPermission(*this, m_pDoc);
}

// The name the record gives the clicked lead; empty without a current item.
CString CDlgEnlargedWave::LeadName() const
{
    if (m_nDocType != DOC_TYPE_REST && m_nDocType != DOC_TYPE_RHYTHM && m_nDocType != DOC_TYPE_MFER) return CString();
    return CWaveItemRef::Of(m_pDoc, m_nDocType).GetLeadName(m_nLead);
}

void CDlgEnlargedWave::OnOK()
{
    if (m_bHasTable &&
        m_table.Store(*this, m_pDoc, m_nDocType, IsTableReadOnly()) == CEnlargedMeasureTable::StoreResult::Stay)
        return;
    CDlgModal::OnOK();
}

// Tab in a cell goes round the table, never to the dialog's other controls.
BOOL CDlgEnlargedWave::PreTranslateMessage(MSG* pMsg)
{
    if (m_bHasTable && pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_TAB) {
        const UINT id = static_cast<UINT>(::GetDlgCtrlID(pMsg->hwnd));
        if (::GetParent(pMsg->hwnd) == GetSafeHwnd() && id >= CEnlargedMeasureTable::kFirstCellId &&
            id <= CEnlargedMeasureTable::kLastCellId) {
            m_table.OnCellNext(id);
            return TRUE;
        }
    }
    return CDlgModal::PreTranslateMessage(pMsg);
}

void CDlgEnlargedWave::ApplyTableFont()
{
    // The labels and cells are sized for the document's table font.
    if (m_pDoc && m_pDoc->GetDocFont(4)) m_pLabelFont = m_pCellFont = m_pDoc->GetDocFont(4);
    if (!m_pLabelFont) return;
    SetFont(m_pLabelFont, FALSE);
    const int ids[] = {CEnlargedWaveLayout::IDC_GLOBAL_GROUP, CEnlargedWaveLayout::IDC_LEAD_GROUP, IDOK, IDCANCEL,
                       m_frame.Ids().readout};
    for (int id : ids)
        if (CWnd* control = GetDlgItem(id)) control->SetFont(m_pLabelFont, FALSE);
}

void CDlgEnlargedWave::OnPaint()
{
    CPaintDC dc(this);
    if (!m_bHasTable) return;
    CDCObjectSelector<CFont> font(dc);
    if (m_pLabelFont) font.Select(m_pLabelFont);
    m_table.PaintLabels(dc);
}

void CDlgEnlargedWave::OnCellSetFocus(UINT nID)
{
    m_table.OnCellSetFocus(nID);
}

void CDlgEnlargedWave::OnCellKillFocus(UINT nID)
{
    m_table.OnCellKillFocus(*this, nID);
}

void CDlgEnlargedWave::OnCellNext(UINT nID)
{
    m_table.OnCellNext(nID);
}

BOOL CDlgEnlargedWave::CreateWaveView()
{
    m_pView = static_cast<CViewEnlargedWave*>(m_frame.Create(*this, RUNTIME_CLASS(CViewEnlargedWave), m_pDoc));
    if (!m_pView) return FALSE;
    // The record lends its image: its electrode codes and beat window.
    _ECGDATA* record = nullptr;
    unsigned systemCode = 0;
    RecordOf(record, systemCode);
    m_pView->SetDocType(m_nDocType);
    m_pView->SetBackGridSize(m_dDotsPerMMX, m_dDotsPerMMY, 4.0);
    m_pView->SetWaveInfo(record, static_cast<int>(systemCode), m_fSpeed, m_fSense, m_nFilter, m_nWaveLength);
    m_pView->SetCenterPos(m_nCenter, m_nLead, m_bWholeBeat);
    m_pView->SetEnlargeType(m_nEnlargeType);
    m_pView->SetCurrentCursor(CEnlargedViewFrame::HandCursor());
    m_pView->SendMessage(WM_INITIALUPDATE, 0, 0);
    return TRUE;
}

void CDlgEnlargedWave::CreateOverlapView(const CRect& area)
{
    m_pOverlapView = static_cast<CViewAveOverlappedWave*>(
        CEnlargedViewFrame::CreateAt(*this, area, RUNTIME_CLASS(CViewAveOverlappedWave), m_pDoc));
    if (!m_pOverlapView) return;
    m_pOverlapView->SetSenseID(m_nSenseID);
    m_pOverlapView->SetEnlargeType(m_nEnlargeType);
    m_pOverlapView->SetDocType(m_nDocType);
    m_pOverlapView->SetWaveInfo(m_fSense, m_nFilter);
    m_pOverlapView->SetSerialWave(m_nMode == 1 || m_nMode == 2);
    m_pOverlapView->SendMessage(WM_INITIALUPDATE, 0, 0);
}

bool CDlgEnlargedWave::ScrollsBySamples() const
{
    return m_pView && !m_bWholeBeat && m_nWaveLength >= m_pView->GetDrawLength();
}

void CDlgEnlargedWave::SetScrollRanges()
{
    CRect client;
    m_pView->GetClientRect(&client);
    if (CScrollBar* down = m_frame.Bar(*this, false)) {
        down->SetScrollRange(-client.Height(), client.Height());
        down->SetScrollPos(-m_pView->GetDragVerticalOffset());
    }
    CScrollBar* across = m_frame.Bar(*this, true);
    if (!across) return;
    if (!ScrollsBySamples()) {
        across->SetScrollRange(-client.Width(), client.Width());
        across->SetScrollPos(-m_pView->GetDragHorizontalOffset());
        return;
    }
    const int page = m_pView->GetDrawLength();
    across->SetScrollRange(0, std::max(0, m_nWaveLength - page));
    across->SetScrollPos(std::max(0, m_nCenter - page / 2));
}

void CDlgEnlargedWave::ApplyHorizontal(int position)
{
    if (ScrollsBySamples()) {
        m_nCenter = position + m_pView->GetDrawLength() / 2;
        m_pView->SetCenterPos(m_nCenter, m_nLead, FALSE);
    } else {
        m_pView->SetDragHorizontalOffset(-position);
    }
}

LRESULT CDlgEnlargedWave::OnRulerReading(WPARAM wParam, LPARAM lParam)
{
    m_frame.ShowReading(*this, wParam, lParam);
    return 0;
}

LRESULT CDlgEnlargedWave::OnViewPanned(WPARAM wParam, LPARAM lParam)
{
    if (!m_pView) return 0;
    const int vertical = m_frame.MoveBar(*this, false, static_cast<int>(lParam));
    m_pView->SetDragVerticalOffset(-vertical);
    ApplyHorizontal(m_frame.MoveBar(*this, true, static_cast<int>(wParam)));
    m_pView->Invalidate(FALSE);
    return 0;
}

void CDlgEnlargedWave::OnRulerMode()
{
    // The mouse measures now: the bars would move the paper under the marks.
    m_frame.RulerMode(*this, m_pView);
}

void CDlgEnlargedWave::OnDragMode()
{
    m_frame.DragMode(*this, m_pView);
}

void CDlgEnlargedWave::Zoom(int delta)
{
    if (!m_pView || !CEnlargedViewFrame::StepZoom(*m_pView, delta)) return;
    // The page changed: the strip is centred again on the same sample, with
    // the bar's range following.
    SetScrollRanges();
    if (CScrollBar* across = m_frame.Bar(*this, true)) {
        // A strip that fits the new page is shown again from its own start;
        // a whole beat keeps where it was panned to.
        if (!m_bWholeBeat && !ScrollsBySamples()) across->SetScrollPos(0);
        ApplyHorizontal(across->GetScrollPos());
    }
    SetDlgItemText(m_frame.Ids().readout, L"");
    CEnlargedViewFrame::ClearMarks(*m_pView);
    if (m_pView->GetRulerStatus() != RULER_STATUS_OFF) {
        m_pView->SetRulerStatus(RULER_STATUS_ARMED);
        m_frame.EnableBars(*this, FALSE);
    }
}

void CDlgEnlargedWave::OnZoomIn()
{
    Zoom(1);
}

void CDlgEnlargedWave::OnZoomOut()
{
    Zoom(-1);
}

void CDlgEnlargedWave::OnHScroll(UINT nSBCode, UINT, CScrollBar* pScrollBar)
{
    if (!m_pView || !pScrollBar || pScrollBar->GetDlgCtrlID() != m_frame.Ids().horizontalBar) return;
    const std::optional<int> position = m_frame.Scroll(*this, m_frame.Bar(*this, true), nSBCode, HorizontalPage());
    if (!position) return;
    ApplyHorizontal(*position);
    m_pView->Invalidate(FALSE);
}

void CDlgEnlargedWave::OnVScroll(UINT nSBCode, UINT, CScrollBar* pScrollBar)
{
    if (!m_pView || !pScrollBar || pScrollBar->GetDlgCtrlID() != m_frame.Ids().verticalBar) return;
    const std::optional<int> position = m_frame.Scroll(*this, m_frame.Bar(*this, false), nSBCode, kVerticalPage);
    if (!position) return;
    m_pView->SetDragVerticalOffset(-*position);
    m_pView->Invalidate(FALSE);
}
