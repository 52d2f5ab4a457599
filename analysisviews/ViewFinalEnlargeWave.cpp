// CViewFinalEnlargeWave: loading, zoom, drawing, pan and ruler of the
// master-step enlarged beat.
#include "analysisviews/ViewFinalEnlargeWave.h"

#include <algorithm>
#include <cstdlib>

#include "analysisviews/ViewFinalShared.h"
#include "core/Globals.h"
#include "documents/FinalViewDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/ui/windowing/Resources.h"
#include "waveviews/EnlargedZoom.h"

IMPLEMENT_DYNCREATE(CViewFinalEnlargeWave, CWaveView)

BEGIN_MESSAGE_MAP(CViewFinalEnlargeWave, CWaveView)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_KEYDOWN()
    ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

const int kLeadSamples = 600;
const double kSquaresPerSample = 0.05;   // 20 samples a square
const double kMsPerSquare = 40.0;        // 25 mm/s

// The zoom step's label, flush in the client area's bottom-right corner; no
// label for a step outside the table.
void DrawZoomLabel(CDC* pDC, const CTavrionDoc& doc, const CRect& client, int step)
{
    const wchar_t* label = EnlargedZoomLabel(step);
    if (!label) return;
    CDCStateSaver state(*pDC);
    CDCObjectSelector<CFont> font(*pDC, g_pDlgFontNormal);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextAlign(TA_LEFT | TA_TOP);
    pDC->SetTextColor(doc.GetWaveColor(3, 0));
    const CString text(label);
    const CSize size = pDC->GetTextExtent(text);
    pDC->TextOut(client.Width() - size.cx, client.Height() - size.cy, text);
}

// The step whose ratio is exactly `ratio`; FALSE for any other ratio.
BOOL ExactStep(double ratio, int* step)
{
    for (int s = ENLARGED_ZOOM_MIN_STEP; s <= ENLARGED_ZOOM_MAX_STEP; ++s) {
        double r = 0.0;
        if (EnlargedZoomOfStep(s, &r) && r == ratio) {
            *step = s;
            return TRUE;
        }
    }
    return FALSE;
}

}  // namespace

CViewFinalEnlargeWave::CViewFinalEnlargeWave() : m_ptAnchor(0, 0)
{
    SetDocType(DOC_TYPE_FINAL);
    SetCurrentCursor(::LoadCursor(nullptr, IDC_ARROW));
}

CViewFinalEnlargeWave::~CViewFinalEnlargeWave() = default;

CFinalViewDoc* CViewFinalEnlargeWave::FinalDoc() const
{
    return DYNAMIC_DOWNCAST(CFinalViewDoc, GetTavrionDoc());
}

BOOL CViewFinalEnlargeWave::PreTranslateMessage(MSG* pMsg)
{
    return PreTranslateEnlargedView(*this, pMsg);
}

// ---- settings ------------------------------------------------------------------------------

void CViewFinalEnlargeWave::SetWaveInfo(CTavrionDoc*, int lead, BOOL rest)
{
    m_nLead = lead;
    m_bRest = rest;
}

void CViewFinalEnlargeWave::InitBackground(int columns, int rows)
{
    CWaveView::InitBackground(columns, rows);
    m_nBaseColumns = columns;
    m_nBaseRows = rows;
}

void CViewFinalEnlargeWave::ApplyRatio(double across, double down)
{
    CRect client(0, 0, 0, 0);
    if (GetSafeHwnd()) GetClientRect(&client);
    m_dAcross = across;
    m_dDown = down;
    CWaveView::InitBackground(static_cast<int>(client.Width() / across / m_dRatio),
                              static_cast<int>(client.Height() / down / m_dRatio));
}

void CViewFinalEnlargeWave::SetBackGridSize(double across, double down, double ratio)
{
    int step = 0;
    if (!ExactStep(ratio, &step) || !(across > 0.0) || !(down > 0.0)) return;
    m_nStep = step;
    m_dRatio = ratio;
    ApplyRatio(across, down);
}

BOOL CViewFinalEnlargeWave::SetScaleRatio(int step)
{
    // The dialog's zoom buttons step without a bound: the index is kept, the
    // ratio only changes within the table.
    EnlargedZoomOfStep(step, &m_dRatio);
    m_nStep = step;
    CWaveView::InitBackground(static_cast<int>(m_nBaseColumns / m_dRatio), static_cast<int>(m_nBaseRows / m_dRatio));
    return TRUE;
}

void CViewFinalEnlargeWave::OnSize(UINT nType, int cx, int cy)
{
    CWaveView::OnSize(nType, cx, cy);
    int step = 0;
    if (ExactStep(m_dRatio, &step)) ApplyRatio(m_dAcross, m_dDown);
    Invalidate(TRUE);
}

// ---- loading -----------------------------------------------------------------------------------

void CViewFinalEnlargeWave::OnInitialUpdate()
{
    CWaveView::OnInitialUpdate();
    m_samples.clear();
    m_nCount = 0;
    m_sShown = 0;
    m_sST = -32768;
    CFinalViewDoc* doc = FinalDoc();
    if (!doc || !doc->GetCurrentDataItem()) return;
    if (m_bRest)
        LoadRest(doc);
    else
        LoadPostLoad(doc);
}

void CViewFinalEnlargeWave::LoadRest(CFinalViewDoc* doc)
{
    const _FINALDATAITEM& item = *doc->GetCurrentDataItem();
    const int code = static_cast<int>(item.uSystemCode);
    const UINT lead = CTavrionDoc::GetDataLeadID(static_cast<UINT>(m_nLead), code);
    m_sShown = item.sRestStatus;
    if (m_nLead < 0 || lead >= static_cast<UINT>(FINAL_ST_LEADS)) return;
    m_sST = item.sRestST[lead];
    std::vector<short> block = ReadFinalBlock(doc, -1);
    if (block.empty()) return;
    m_samples.assign(kLeadSamples, 0);
    m_nCount = std::max(0, doc->GetWaveData(block.data(), static_cast<UINT>(m_nLead), m_samples.data(), code,
                                             item.nRestStart, item.nRestEnd));
}

void CViewFinalEnlargeWave::LoadPostLoad(CFinalViewDoc* doc)
{
    const _FINALDATAITEM& item = *doc->GetCurrentDataItem();
    const int index = m_nLoadIndex == FINAL_CURRENT_LOAD ? item.nCurLoadIndex : m_nLoadIndex;
    const int code = static_cast<int>(item.uSystemCode);
    const UINT lead = CTavrionDoc::GetDataLeadID(static_cast<UINT>(m_nLead), code);
    if (!item.pLoadInfo || index < 0 || index >= item.nLoadCount) return;
    if (m_nLead < 0 || lead >= static_cast<UINT>(FINAL_ST_LEADS)) return;
    const _FINAL_LOAD_INFO& load = item.pLoadInfo[index];
    m_sShown = load.sStatus;
    m_sST = load.sST[lead];
    // -2 reads the document's current comparison: the same record.
    std::vector<short> block = ReadFinalBlock(doc, m_nLoadIndex);
    if (block.empty()) return;
    m_samples.assign(kLeadSamples, 0);
    m_nCount = std::max(0, doc->GetWaveData(block.data(), static_cast<UINT>(m_nLead), m_samples.data(), code,
                                             load.nStart, load.nEnd));
}

// ---- drawing ---------------------------------------------------------------------------------------

void CViewFinalEnlargeWave::OnDraw(CDC* pDC)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!pDC || !doc) return;
    CWaveView::OnDraw(pDC);
    CRect client;
    GetClientRect(&client);
    const int w = client.Width();
    const int h = client.Height();
    int gx = 0, gy = 0;
    GetGridCount(gx, gy);
    DrawZoomLabel(pDC, *doc, client, m_nStep);
    if (gx > 0 && gy > 0 && m_nCount > 0 && !m_samples.empty()) {
        // The flag withholds only the value: the beat read is drawn.
        if (m_sShown) DrawSTLevel(pDC, client, FALSE);
        const int millivolt = static_cast<int>(doc->GetCommonSense(0) * h / gy);
        const int width = static_cast<int>(m_nCount * kSquaresPerSample * w / gx);
        const int left = (w - width) / 2 + m_nHorizontal;
        const int top = h / 2 + m_nVertical;
        DrawWave(pDC, CRect(left, top, left + width, top + millivolt), m_dScale * 0.001, m_samples.data(), m_nCount,
                 FALSE, -1);
    }
    // The paint wiped whatever ruler figure was on screen.
    m_ruler.Paint(pDC, client, EnlargedRulerColour(doc));
}

void CViewFinalEnlargeWave::DrawSTLevel(CDC* pDC, CRect client, BOOL print)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc || m_sST == -32768) return;
    CDCStateSaver state(*pDC);
    CDCObjectSelector<CFont> font(*pDC);
    if (!print) font.Select(g_pDlgFontNormal);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(print ? RGB(0, 0, 0) : doc->GetWaveColor(3, 0));
    pDC->SetTextAlign(TA_CENTER | TA_TOP);
    pDC->TextOut(client.left + client.Width() / 2, client.bottom - client.Height() / 15,
                 CString(L"ST Level   ") + FinalSTText(m_sST) + L"[mm]");
}

// ---- mouse and keys ----------------------------------------------------------------------------------

void CViewFinalEnlargeWave::SendReading()
{
    CTavrionDoc* doc = GetTavrionDoc();
    CRect client;
    GetClientRect(&client);
    int gx = 0, gy = 0;
    GetGridCount(gx, gy);
    const float sense = doc ? doc->GetCommonSense(0) : 0.0f;
    if (client.Width() <= 0 || client.Height() <= 0 || !(sense > 0.0f)) return;
    const CPoint a = m_ruler.GetPoint(0);
    const CPoint b = m_ruler.GetPoint(1);
    const int ms = static_cast<int>(gx * std::abs(b.x - a.x) * kMsPerSquare / client.Width());
    const int uv = static_cast<int>(gy * std::abs(b.y - a.y) / static_cast<double>(client.Height()) / sense * 1000.0);
    const WPARAM span = (static_cast<WPARAM>(static_cast<unsigned>(uv) & 0xFFFF) << 16) | (static_cast<unsigned>(ms) & 0xFFFF);
    SendToEnlargedDialog(*this, WM_ENLARGED_RULER_READING, span, static_cast<LPARAM>(m_bRest));
}

void CViewFinalEnlargeWave::Pan(CPoint point)
{
    CRect client;
    GetClientRect(&client);
    const int w = client.Width();
    const int h = client.Height();
    m_nVertical = std::clamp(m_nVertical + point.y - m_ptAnchor.y, -h, h);
    m_nHorizontal = std::clamp(m_nHorizontal + point.x - m_ptAnchor.x, -w, w);
    m_ptAnchor = point;
    SendToEnlargedDialog(*this, WM_ENLARGED_PAN_SOURCE, static_cast<WPARAM>(m_bRest), 0);
    SendToEnlargedDialog(*this, WM_ENLARGED_PAN, static_cast<WPARAM>(-m_nHorizontal), static_cast<LPARAM>(-m_nVertical));
    Invalidate(FALSE);
}

void CViewFinalEnlargeWave::OnLButtonDown(UINT, CPoint point)
{
    SetFocus();
    if (m_ruler.GetStatus() == RULER_STATUS_OFF) {
        m_ptAnchor = point;
        m_bDragging = TRUE;
        SetCapture();
        return;
    }
    m_ruler.ButtonDown(*this, point, EnlargedRulerColour(GetTavrionDoc()));
}

void CViewFinalEnlargeWave::OnLButtonUp(UINT, CPoint)
{
    m_bDragging = FALSE;
    ::ReleaseCapture();
}

void CViewFinalEnlargeWave::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_bDragging) {
        if (nFlags & MK_LBUTTON)
            Pan(point);
        else
            m_bDragging = FALSE;
        return;
    }
    HCURSOR cursor = GetCurrentCursor();
    if (m_ruler.MouseMove(*this, nFlags, point, EnlargedRulerColour(GetTavrionDoc()), &cursor)) SendReading();
    if (cursor != GetCurrentCursor()) {
        SetCurrentCursor(cursor);
        ::SetCursor(cursor);
    }
}

void CViewFinalEnlargeWave::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (m_ruler.ArrowKey(*this, nChar, EnlargedRulerColour(GetTavrionDoc())) == CEnlargedRuler::KeyResult::Moved)
        SendReading();
    CWaveView::OnKeyDown(nChar, nRepCnt, nFlags);
}
