// CViewMemoryWave: loading a memory block and drawing its three columns.
#include "analysisviews/ViewMemoryWave.h"

#include <vector>

#include "analysisviews/ExerViewMouse.h"
#include "core/Globals.h"
#include "core/MemoryHelpers.h"
#include "core/UserMessages.h"
#include "documents/ExerTags.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/ui/windowing/Resources.h"
#include "printdevice/ECGDC.h"

IMPLEMENT_DYNCREATE(CViewMemoryWave, CWaveView)

BEGIN_MESSAGE_MAP(CViewMemoryWave, CWaveView)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

namespace {

// Per stored strip, index the strip within its phase: the beat's reference
// position (3482 exercise, 3483 recovery), the event mark (3688, 3689) and
// the fifth measuring offset (3480; one slot per strip number, which the
// strips of both phases share).
const UINT kTagStripReference = 3482;
const UINT kTagFifthOffset = 3480;
const UINT kTagEvent = 3688;
const int kMinReference = 60;
const WPARAM kExerciseSense = 5;
const LPARAM kFromExerciseView = 6;
const WPARAM kFromMemoryView = 5;
const int kSummaryPane = 1;
const int kRestColour = 15;
const int kNormalColour = -1;

}  // namespace

CViewMemoryWave::CViewMemoryWave() : m_magnifier(*this)
{
    InitBackground(GRID_ACROSS, GRID_DOWN);
}

CViewMemoryWave::~CViewMemoryWave()
{
    m_magnifier.DropCache();
    for (auto& column : m_waves)
        for (ExerBeat& wave : column) MemoryFree(wave.pSamples);
}

CExerViewDoc* CViewMemoryWave::GetExerDoc() const
{
    return DYNAMIC_DOWNCAST(CExerViewDoc, m_pDocument);
}

const _EXERDATAITEM* CViewMemoryWave::CurrentItem() const
{
    CExerViewDoc* doc = GetExerDoc();
    return doc ? doc->GetCurrentDataItem() : nullptr;
}

void CViewMemoryWave::OnInitialUpdate()
{
    CWaveView::OnInitialUpdate();
    CExerBeatCell::SetUpMagnifier(*this, m_magnifier, [this](CDC* dc, const CRect& rect, int across, int down) {
        DrawView(dc, rect, across, down, 1, 0);
    });
}

int CViewMemoryWave::ReadWord(UINT tag, int index, int missing) const
{
    const _EXERDATAITEM* item = CurrentItem();
    std::vector<BYTE> bytes;
    short value = 0;
    if (!item || index < 0 || !exer::ReadItem(*GetExerDoc(), item->pECGData, tag, static_cast<UINT>(index), bytes) ||
        !exer::ItemShort(bytes, 0, value))
        return missing;
    return value;
}

void CViewMemoryWave::LoadWave(int column, int row, const std::function<int(short*)>& get)
{
    ExerBeat& wave = m_waves[column][row];
    MemoryFree(wave.pSamples);
    wave.pSamples = nullptr;
    wave.nLength = 0;
    const int bytes = get(nullptr);
    if (bytes < 2) return;
    auto* samples = static_cast<short*>(MemoryAlloc(static_cast<UINT>(bytes / 2 * 2)));
    if (!samples) return;
    if (get(samples) <= 0) {
        MemoryFree(samples);
        return;
    }
    wave.pSamples = samples;
    wave.nLength = bytes / 2;
}

void CViewMemoryWave::OnUpdate()
{
    CWaveView::OnUpdate(nullptr, 0, nullptr);
    m_magnifier.DropCache();
    CExerViewDoc* doc = GetExerDoc();
    const _EXERDATAITEM* item = CurrentItem();
    if (!doc || !item) return;
    for (int j = 0; j < ROWS; ++j) {
        const int lead = item->nExtra3Lead[j];
        m_waves[0][j].nReference = item->nRefPos[0];
        m_waves[0][j].nMeasOffset = item->nRestMeasOffset;
        LoadWave(0, j, [&](short* buffer) { return doc->GetRestWave(lead, buffer, item->nRefPos[0]); });
    }
    int block = doc->GetCurMemBlockNo();
    const int phase = doc->IsPostMemBlock() ? 1 : 0;
    if (phase) block -= item->nExerMemCount;
    const int reference = ReadWord(kTagStripReference + phase, block, 0);
    const int fifth = ReadWord(kTagFifthOffset, block, 0);
    m_nEvent = ReadWord(kTagEvent + phase, block, 0);
    for (int j = 0; j < ROWS; ++j) {
        // Each row shows its ST lead: the document takes the stored lead.
        const int lead = item->nExtra3Lead[j];
        ExerBeat& beat = m_waves[1][j];
        beat.nReference = reference > kMinReference ? reference : 0;
        beat.nMeasOffset = fifth;
        LoadWave(1, j, [&](short* buffer) { return doc->GetCurrentAveWave(lead, buffer, beat.nReference); });
        LoadWave(2, j, [&](short* buffer) { return doc->GetRhythmWave(lead, buffer); });
    }
}

void CViewMemoryWave::OnDraw(CDC* pDC)
{
    // Without a current item nothing is drawn, and the window keeps its picture.
    CExerBeatCell::PaintViewWhenDrawn(*this, pDC, [this](CDC* page, const CRect& client, int across, int down) {
        return DrawView(page, client, across, down, 1, 0);
    });
}

// ---- drawing ----------------------------------------------------------------------------

void CViewMemoryWave::DrawHeader(CDC* pDC, const CRect& rect, int gridX, int y) const
{
    auto u = [&](int n) { return MulDiv(rect.Width(), n, gridX); };
    const _EXERDATAITEM* item = CurrentItem();
    pDC->SetTextAlign(TA_LEFT | TA_BOTTOM);
    pDC->TextOut(rect.left + u(5), y, CString(L"安静時"));
    int x = rect.left + u(25);
    pDC->TextOut(x, y, CExerBeatCell::PhaseText(*item));
    x += u(25);
    if (m_nEvent) {
        pDC->TextOut(x, y, CString(L"Event"));
        x += u(15);
    }
    pDC->TextOut(x, y, CExerBeatCell::SenseText(GetExerDoc()->GetCommonSense(0)));
    x += u(27);
    pDC->TextOut(x, y, CString(L"25 mm/s"));
    x += u(18);
    pDC->TextOut(x, y, CString((item->nFilterStatus & 0x18) ? L"Filter ON" : L"Filter OFF"));
}

BOOL CViewMemoryWave::DrawCell(CDC* pDC, const CRect& rect, int column, int row, int gridX, int gridY,
                               int measuring, int printing, int& shift)
{
    auto u = [&](int n) { return MulDiv(rect.Width(), n, gridX); };
    auto v = [&](int n) { return MulDiv(rect.Height(), n, gridY); };
    const _EXERDATAITEM* item = CurrentItem();
    CExerViewDoc* doc = GetExerDoc();
    const int rate = item->nSampleRate;
    if (rate <= 0) return TRUE;   // no rate, no width: nothing is drawn
    const int R = rect.Height() - v(10);
    const int baseline = rect.top + v(5) + (3 * row + 2) * R / 9;
    const int c = static_cast<int>(doc->GetCommonSense(0) * rect.Height() / gridY);
    const ExerBeat& wave = m_waves[column][row];
    CRect cell;
    double scale = 0.0025;
    int count = wave.nLength;
    if (column == 2) {
        scale = 0.00125;
        const int width = wave.nLength >= CExerBeatCell::MIN_SAMPLES ? u(wave.nLength * 25 / rate) : u(200);
        cell = CRect(rect.left + u(46), baseline, rect.left + u(46) + width, baseline + c);
        // A strip longer than the paper left of it stops at the frame, at
        // its own speed: the samples past the edge are not drawn.
        if (cell.right > rect.right && width > 0) {
            count = static_cast<int>(static_cast<long long>(wave.nLength) * (rect.right - cell.left) / width);
            cell.right = rect.right;
        }
    } else {
        const bool placed = wave.nLength >= CExerBeatCell::MIN_SAMPLES && wave.nReference != 0;
        shift = placed ? u(wave.nReference * 25 / rate) : u(3000 / rate);
        const int width = placed ? u(wave.nLength * 25 / rate) : u(15);
        const int x = rect.left + u(20 * column + 12) - shift;
        cell = CRect(x, baseline, x + width, baseline + c);
    }
    if (printing && column == 2 && GetShowMarkFlag() && wave.nLength > 0)
        DrawMarkLine(pDC, 25.0, CRect(cell.left, rect.top, cell.right, GetCurPrintBottom()),
                     static_cast<double>(rect.Width()) / gridX);
    const int colour = column == 0 ? kRestColour : kNormalColour;
    if (column == 2) {
        if (!DrawWave(pDC, cell, scale, wave.pSamples, count, printing, colour)) return FALSE;
    } else {
        ExerBeat beat = wave;
        // The ticks of the column only with the measuring-lines argument.
        if (!measuring) beat.nReference = 0;
        const CExerBeatCell painter(*this, *doc, *item, printing);
        if (!painter.Draw(pDC, cell, beat, colour, colour)) return FALSE;
    }
    if (column == 2 && item->nExtra3Lead[row] >= 0) {
        const int display = static_cast<int>(doc->GetDataLeadIDInverse(static_cast<UINT>(item->nExtra3Lead[row])));
        pDC->SetTextAlign(TA_LEFT | TA_BOTTOM);
        if (display < EXER_LEAD_NAMES)
            pDC->TextOut(rect.left + u(52) - shift, rect.top + v(5) + (3 * row + 1) * R / 9,
                         item->strLeadName[display]);
    }
    return TRUE;
}

int CViewMemoryWave::DrawView(CDC* pDC, CRect rect, int gridX, int gridY, int measuring, int printing)
{
    CExerViewDoc* doc = GetExerDoc();
    if (!pDC || !doc || !CurrentItem() || gridX <= 0 || gridY <= 0) return 0;
    CDCStateSaver saver(*pDC);
    pDC->SetTextColor(printing ? RGB(0, 0, 0) : doc->GetWaveColor(3, 0));
    pDC->SetBkMode(TRANSPARENT);
    auto u = [&](int n) { return MulDiv(rect.Width(), n, gridX); };
    auto v = [&](int n) { return MulDiv(rect.Height(), n, gridY); };
    const int R = rect.Height() - v(10);
    const int c = static_cast<int>(doc->GetCommonSense(0) * rect.Height() / gridY);
    DrawHeader(pDC, rect, gridX, rect.top + v(5));
    int shift = 0;
    for (int k = 0; k < COLUMNS; ++k) {
        const int baseline = rect.top + v(5) + (3 * k + 2) * R / 9;
        if (c < R / 3 || k == 2) {
            int height = c;
            if (!DrawCAL(pDC, rect.left, baseline, u(5), &height, FALSE, printing)) return 0;
        }
        for (int j = 0; j < ROWS; ++j)
            if (!DrawCell(pDC, rect, k, j, gridX, gridY, measuring, printing, shift)) return 0;
    }
    return 1;
}

int CViewMemoryWave::Print(CECGDC* pDC, CRect rect, double pxPerMm, int widthMm, int heightMm, int grid)
{
    if (!pDC || !pDC->GetDC()) return 0;
    if (!PrintWaveGrid(pDC, rect, widthMm, heightMm, pxPerMm, grid, TRUE, FALSE)) return 0;
    return DrawView(pDC->GetDC(), rect, widthMm, heightMm, 1, 1) ? 1 : 0;
}

// ---- the mouse ------------------------------------------------------------------------------

bool CViewMemoryWave::Annotating() const
{
    return ExerAnnotationTakesMouse(GetTavrionDoc());
}

void CViewMemoryWave::OnLButtonDown(UINT nFlags, CPoint point)
{
    SetFocus();
    CTavrionDoc* doc = GetTavrionDoc();
    if (doc && !Annotating()) {
        CRect client;
        GetClientRect(&client);
        int across = 0;
        int down = 0;
        GetGridCount(across, down);
        if (across > 0 && point.x < MulDiv(client.Width(), 5, across))
            doc->SendToNotifyWnd(WM_CAL_PULSE_CLICKED, kExerciseSense, kFromExerciseView);
    }
    CWaveView::OnLButtonDown(nFlags, point);
}

void CViewMemoryWave::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (Annotating()) {
        CWaveView::OnLButtonDblClk(nFlags, point);
        return;
    }
    if (m_nParentType != kSummaryPane) return;
    CWnd* frame = GetParent();
    if (CWnd* pane = frame ? frame->GetParent() : nullptr) pane->SendMessage(WM_EXER_SUMMARY_OPEN, kFromMemoryView, 0);
    CWaveView::OnLButtonDblClk(nFlags, point);
}

BOOL CViewMemoryWave::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (doc && (doc->GetMouseMode() == 1 || doc->GetAnnotationLock() == 1)) {
        ::SetCursor(m_nParentType == kSummaryPane ? g_hCursorHand : ::LoadCursor(nullptr, IDC_ARROW));
        return TRUE;
    }
    return CWaveView::OnSetCursor(pWnd, nHitTest, message);
}

void CViewMemoryWave::OnMouseMove(UINT nFlags, CPoint point)
{
    m_magnifier.Show(point);
    CWaveView::OnMouseMove(nFlags, point);
}

void CViewMemoryWave::OnMouseLeave()
{
    m_magnifier.Leave();
}
