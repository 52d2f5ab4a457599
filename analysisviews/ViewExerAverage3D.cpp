// CViewExerAverage3D: loading the rows, the eye and projection, painting,
// turning and clicking.
#include "analysisviews/ViewExerAverage3D.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/Globals.h"
#include "documents/ExerTags.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"

IMPLEMENT_DYNCREATE(CViewExerAverage3D, CView)

BEGIN_MESSAGE_MAP(CViewExerAverage3D, CView)
    ON_WM_LBUTTONDOWN()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

const int kMapLeads[CViewExerAverage3D::ROWS] = {10, 0, 9, 1, 11, 8, 2, 3, 4, 5, 6, 7};
const int kThreeLeadCode = 250;
const unsigned kThreeLeadSystem = 0xFFFA;
const int kMissing = -32768;
const double kStep = 0.1;
const int kTitleFont = 1;
const int kLabelFont = 3;

}  // namespace

CViewExerAverage3D::CViewExerAverage3D() = default;

CViewExerAverage3D::~CViewExerAverage3D() = default;

CExerViewDoc* CViewExerAverage3D::GetExerDoc() const
{
    return DYNAMIC_DOWNCAST(CExerViewDoc, m_pDocument);
}

int CViewExerAverage3D::GetMapLeadID(int row) const
{
    CExerViewDoc* doc = GetExerDoc();
    const _EXERDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    if (item && (item->uSystemCode & 0xFF) == kThreeLeadCode) return row;
    return row >= 0 && row < ROWS ? kMapLeads[row] : 0;
}

void CViewExerAverage3D::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    CExerViewDoc* doc = GetExerDoc();
    const _EXERDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    if (!item) return;
    for (int p = 0; p < ROWS; ++p) {
        const UINT lead = static_cast<UINT>(GetMapLeadID(p));
        std::vector<BYTE> exer;
        std::vector<BYTE> post;
        exer::ReadItem(*doc, item->pECGData, exer::TAG_ST_EXER + lead, 0, exer);
        exer::ReadItem(*doc, item->pECGData, exer::TAG_ST_POST + lead, 0, post);
        m_nExerSize[p] = static_cast<int>(exer.size());
        m_nPostSize[p] = static_cast<int>(post.size());
        exer.insert(exer.end(), post.begin(), post.end());
        m_rows[p].assign(exer.size() / 2, 0);
        for (size_t k = 0; k < m_rows[p].size(); ++k) {
            short word = static_cast<short>(exer[2 * k] | (exer[2 * k + 1] << 8));
            // Row 2 is -aVR: its sign turns, except in the three-lead records.
            if (p == 2 && item->uSystemCode != kThreeLeadSystem) word = static_cast<short>(-word);
            m_rows[p][k] = word;
        }
    }
    m_nLabelFlag = item->nStMeasCondition;
    std::vector<BYTE> bytes;
    short value = 0;
    auto count = [&](UINT tag) {
        return exer::ReadItem(*doc, item->pECGData, tag, 0, bytes) && exer::ItemShort(bytes, 0, value) ? value : 0;
    };
    const int blocks = count(exer::TAG_EXER_AVE_COUNT) + count(exer::TAG_POST_AVE_COUNT) + 1;
    const int code = count(exer::TAG_BLOCK_INTERVAL);
    const int interval = code == 1 ? 60 : code == 2 ? 120 : 15;
    m_nTimeSpan = blocks < 900 / interval ? 15 : blocks < 1800 / interval ? 30 : 60;
}

// ---- eye and projection ---------------------------------------------------------------------

void CViewExerAverage3D::SetViewPoint()
{
    m_nEyeX = static_cast<int>(600 * std::sin(m_dRotation) * std::cos(m_dTilt));
    m_nEyeY = static_cast<int>(600 * std::cos(m_dRotation) * std::cos(m_dTilt));
    m_nEyeZ = static_cast<int>(600 * std::sin(m_dTilt));
    m_nHorizontal =
        static_cast<int>(std::sqrt(static_cast<double>(m_nEyeY) * m_nEyeY + static_cast<double>(m_nEyeX) * m_nEyeX));
    m_nEyeZX = m_nEyeZ * m_nEyeX;
    m_nEyeZY = m_nEyeZ * m_nEyeY;
    m_nHorizontal600 = m_nHorizontal * 600;
    m_nEyeDistance = 600;
    m_nScreenDistance = 500;
}

void CViewExerAverage3D::Project(CPoint& out, int u, int w, int h) const
{
    const int E = m_nEyeDistance;
    // The eye never stands straight above the map (the tilt stays below
    // 1.0 rad), but a distance of 0 would divide by it.
    const int rho = m_nHorizontal != 0 ? m_nHorizontal : 1;
    const int a = m_nEyeX * w / rho;
    const int b = m_nEyeY * u / rho;
    const int c = m_nEyeZX * u / (rho * E);
    const int d = rho * h / E;
    const int e = m_nEyeZY * w / (rho * E);
    int depth = E - m_nEyeZ * h / E - m_nEyeX * u / E - m_nEyeY * w / E;
    if (depth == 0) depth = 1;
    out.x = m_nScreenDistance * (a - b) / depth;
    out.y = m_nScreenDistance * (c - d + e) / depth;
}

CPoint CViewExerAverage3D::ProjectPoint(int u, int w, int h) const
{
    CPoint p;
    Project(p, u, w, h);
    return p;
}

void CViewExerAverage3D::FillPolygon3D(CDC* pDC, const int (*points)[3], int count)
{
    std::vector<POINT> projected(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        CPoint p;
        Project(p, points[i][1], points[i][2], points[i][0]);
        projected[static_cast<size_t>(i)] = p;
    }
    CDCObjectSelector<CBrush> brush(*pDC, g_pBrushDark);
    pDC->Polygon(projected.data(), count);
}

// ---- painting -----------------------------------------------------------------------------------

int CViewExerAverage3D::ModelSize() const
{
    CRect client;
    GetClientRect(&client);
    return std::min(client.Width() / 3, client.Height() / 3);
}

int CViewExerAverage3D::Words(int row) const
{
    return static_cast<int>(m_rows[row].size());
}

int CViewExerAverage3D::Word(int row, int k) const
{
    return k >= 0 && k < Words(row) ? m_rows[row][static_cast<size_t>(k)] : kMissing;
}

void CViewExerAverage3D::OnDraw(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    const int W = client.Width();
    const int H = client.Height();
    const int m = std::min(W, H);
    const int D = (2 * m) / 5;
    m_dTextScaleX = MulDiv(m, 1, 1020);
    m_dTextScaleY = MulDiv(H, 1, 664);
    SetViewPoint();
    CExerViewDoc* doc = GetExerDoc();
    CDCStateSaver saver(*pDC);
    CDCObjectSelector<CFont> font(*pDC);
    font.Select(doc ? doc->GetDocFont(kTitleFont) : nullptr);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
    pDC->SetTextAlign(TA_LEFT | TA_TOP);
    pDC->TextOut(static_cast<int>(m_dTextScaleX), static_cast<int>(m_dTextScaleY), CString(L"3D ST-Map"));
    font.Select(doc ? doc->GetDocFont(kLabelFont) : nullptr);
    pDC->SetViewportOrg(static_cast<int>(W / 2 + 5 * m_dTextScaleX), static_cast<int>(H / 2 - 9 * m_dTextScaleY));
    const int c = m / 3;
    const int wall[4][3] = {{c, c, -D}, {c, -c, -D}, {-c, -c, -D}, {-c, c, -D}};   // h, u, w
    const int floor[4][3] = {{-c, c, D}, {-c, -c, D}, {-c, -c, -D}, {-c, c, -D}};
    FillPolygon3D(pDC, wall, 4);
    FillPolygon3D(pDC, floor, 4);
    DrawMapFrame(pDC, m_nTimeSpan, D);
    DrawTimeMarker(pDC, m_nTimeSpan, D);
    DrawSTCurves(pDC, m_nTimeSpan, D);
}

void CViewExerAverage3D::DrawMapFrame(CDC* pDC, int span, int D)
{
    const int s = ModelSize();
    const int q = s / 4;
    CDCStateSaver saver(*pDC);
    pDC->SetTextAlign(TA_BOTTOM | TA_RIGHT);
    pDC->SetBkMode(TRANSPARENT);
    CPoint a;
    CPoint b;
    Project(a, s, -D, -s);
    Project(b, -s, -D, -s);
    pDC->MoveTo(a);
    pDC->LineTo(b);
    {
        CDCObjectSelector<CPen> blue(*pDC, g_pPenBlue);
        for (int k = 1; k <= 9; ++k) {
            Project(a, s, -D, k * s / 5 - s);
            Project(b, -s, -D, k * s / 5 - s);
            pDC->MoveTo(a);
            pDC->LineTo(b);
        }
    }
    pDC->SetTextColor(RGB(255, 0, 0));
    Project(a, s, -D, s);
    pDC->TextOut(a.x, a.y - static_cast<int>(m_dTextScaleY), CString(L"ST-L [mm]"));
    Project(a, s, -D, -s);
    pDC->TextOut(a.x, a.y, CString(L"-5"));
    Project(a, s, -D, 0);
    pDC->TextOut(a.x, a.y, CString(L"0"));
    pDC->SetTextAlign(TA_TOP | TA_RIGHT);
    Project(a, s, -D, s);
    pDC->TextOut(a.x, a.y, CString(L"5"));
    CExerViewDoc* doc = GetExerDoc();
    const _EXERDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    pDC->SetTextAlign(TA_BOTTOM | TA_RIGHT);
    for (int p = 0; p < ROWS && item; ++p) {
        const int lead = doc->GetDataLeadIDInverse(static_cast<UINT>(GetMapLeadID(p)));
        CString name = lead >= 0 && lead < EXER_LEAD_NAMES ? item->strLeadName[lead] : CString();
        if (p == 2 && name == L"aVR") name = L"(-aVR)";
        Project(a, s + q, (p + 1) * D / 6 - D, q);
        pDC->TextOut(a.x, a.y, name);
    }
    pDC->SetTextAlign(TA_TOP | TA_RIGHT);
    for (int k = 0; k <= 3; ++k) {
        CString label;
        label.Format(L"%d", k * span / 3);
        Project(a, s - 2 * s * k / 3, D, -s);
        pDC->TextOut(a.x, a.y, label);
    }
}

void CViewExerAverage3D::DrawTimeMarker(CDC* pDC, int span, int D)
{
    CExerViewDoc* doc = GetExerDoc();
    const _EXERDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    if (!item || span <= 0) return;
    const int s = ModelSize();
    const int old = pDC->SetROP2(R2_NOT);
    const int u = s + (static_cast<int>(-item->nCurTime / 15) * s * 2) / (span * 4);
    CPoint a;
    CPoint b;
    Project(a, u, -D, -s);
    Project(b, u, -D, s);
    pDC->MoveTo(a);
    pDC->LineTo(b);
    Project(b, u, D, -s);
    pDC->MoveTo(a);
    pDC->LineTo(b);
    pDC->SetROP2(old);
}

void CViewExerAverage3D::DrawRow(CDC* pDC, int p, int span, int D, CPen* curvePen)
{
    const int s = ModelSize();
    const int q = s / 4;
    const int w = p * D / 6 - s;
    const int across = span > 0 ? 4 * span : 1;
    // A missing rest word gives no offset.
    const int rest = Word(p, 0) == kMissing ? 0 : Word(p, 0);
    const int offset = (m_nLabelFlag - m_nLevelMode) * rest;
    auto point = [&](int k) {
        CPoint out;
        Project(out, s - 2 * s * k / across, w, (Word(p, k) + offset) * 2 * s / 100);
        return out;
    };
    int k = 0;
    while (k < Words(p) && Word(p, k) == kMissing) ++k;
    if (k >= Words(p)) return;
    CPoint anchor;
    Project(anchor, s + q, w, q);
    {
        CDCObjectSelector<CPen> leader(*pDC, g_pPenSlRed);
        pDC->MoveTo(anchor);
        pDC->LineTo(point(k));
    }
    CDCObjectSelector<CPen> curve(*pDC, curvePen);
    bool gap = true;
    for (; k < Words(p) - 1; ++k) {
        if (Word(p, k) == kMissing) {
            gap = true;
            continue;
        }
        const CPoint at = point(k);
        if (gap) pDC->MoveTo(at);
        else pDC->LineTo(at);
        gap = false;
    }
}

void CViewExerAverage3D::DrawSTCurves(CDC* pDC, int span, int D)
{
    pDC->SetROP2(R2_COPYPEN);
    for (int p = 0; p < ROWS; ++p)
        if (m_nExerSize[p] + m_nPostSize[p] > 0) DrawRow(pDC, p, span, D, g_pPenGreen);
    const int row = m_nHighlighted;
    if (row < 0 || row >= ROWS || m_nExerSize[row] + m_nPostSize[row] <= 0) return;
    m_nHighlighted = -1;
    CPen red(PS_SOLID, 2, RGB(255, 0, 0));
    DrawRow(pDC, row, span, D, &red);
}

// ---- turning -------------------------------------------------------------------------------------

void CViewExerAverage3D::Turn(double& angle, double step, double low, double high)
{
    angle = std::min(high, std::max(low, angle + step));
    if (GetSafeHwnd()) Invalidate(TRUE);
}

void CViewExerAverage3D::RotateLeft() { Turn(m_dRotation, kStep, -1.5, 1.5); }
void CViewExerAverage3D::RotateRight() { Turn(m_dRotation, -kStep, -1.5, 1.5); }
void CViewExerAverage3D::TiltUp() { Turn(m_dTilt, kStep, -0.1, 1.0); }
void CViewExerAverage3D::TiltDown() { Turn(m_dTilt, -kStep, -0.1, 1.0); }

void CViewExerAverage3D::ResetAngle()
{
    m_dRotation = -0.3;
    m_dTilt = 0.7;
    if (GetSafeHwnd()) Invalidate(TRUE);
}

void CViewExerAverage3D::SwingRotation()
{
    m_dRotation += m_nSwingDirection ? kStep : -kStep;
    if (m_dRotation > 1.5) {
        m_dRotation = 1.5;
        m_nSwingDirection = 0;
    } else if (m_dRotation < -1.5) {
        m_dRotation = -1.5;
        m_nSwingDirection = 1;
    }
    if (GetSafeHwnd()) Invalidate(TRUE);
}

void CViewExerAverage3D::SetSTLevelMode(int mode)
{
    if (mode == m_nLevelMode) return;
    m_nLevelMode = mode;
    if (GetSafeHwnd()) Invalidate(TRUE);
}

// ---- the mouse and the background --------------------------------------------------------------

void CViewExerAverage3D::OnLButtonDown(UINT nFlags, CPoint point)
{
    CRect client;
    GetClientRect(&client);
    const int W = client.Width();
    const int H = client.Height();
    // Scaled by the width here, where painting scales by the smaller side.
    m_dTextScaleX = MulDiv(W, 1, 1020);
    m_dTextScaleY = MulDiv(H, 1, 664);
    const int X = static_cast<int>(point.x - 3 * (W / 3) / 2 - 5 * m_dTextScaleX);
    const int Y = static_cast<int>(point.y - 3 * (H / 3) / 2 + 9 * m_dTextScaleY);
    const int s = std::min(W / 3, H / 3);
    const int D = 6 * s / 5;
    const int q = s / 4;
    for (int p = 0; p < ROWS; ++p) {
        CPoint anchor;
        Project(anchor, s + q, p * D / 6 - s, q);
        if (std::abs(X - anchor.x) < 3 * m_dTextScaleX && std::abs(Y - anchor.y) < 3 * m_dTextScaleY) {
            m_nHighlighted = p;
            Invalidate(TRUE);
            return;
        }
    }
    CView::OnLButtonDown(nFlags, point);
}

BOOL CViewExerAverage3D::OnEraseBkgnd(CDC* pDC)
{
    CRect box;
    pDC->GetClipBox(&box);
    CExerViewDoc* doc = GetExerDoc();
    pDC->FillSolidRect(&box, doc ? doc->GetWaveColor(20, 0) : RGB(255, 255, 255));
    return TRUE;
}
