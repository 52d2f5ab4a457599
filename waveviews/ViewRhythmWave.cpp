#include "waveviews/ViewRhythmWave.h"

#include <algorithm>
#include <new>

#include "core/Globals.h"
#include "core/MorvelanceApp.h"
#include "platform/ui/windowing/Resources.h"
#include "resources/ResourceIds.h"
#include "core/TavrionDoc.h"
#include "documents/ExtraViewDoc.h"
#include "documents/MFERViewDoc.h"
#include "documents/RRViewDoc.h"
#include "documents/RestViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/Dialog.h"
#include "waveviews/RhythmWaveStyle.h"

IMPLEMENT_DYNCREATE(CViewRhythmWave, CWaveView)

BEGIN_MESSAGE_MAP(CViewRhythmWave, CWaveView)
ON_WM_LBUTTONDBLCLK()
ON_WM_LBUTTONDOWN()
ON_WM_SIZE()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
END_MESSAGE_MAP()

namespace {

// Answers of the style table that the record decides.
const int kSixOrOne = -1;        // groups: 6, or 1 for an extended-lead record
const int kFourOrFive = -2;      // columns: 4, or 5 for an extended-lead record
const int kExtraLeads = -3;      // groups and rows: 6, or the freeze record's lead count
const int kExtraPaper = -4;      // grid down: the extra record's paper (120 or 150)

// The layout of each wave style. Half width applies only to the styles that
// the half-style flag decides (13 to 21); the others repeat their full grid.
struct StyleLayout {
    int style;
    int groups;
    int rows;
    int columns;
    int gridX;
    int gridY;
    int halfGridX;
    int halfGridY;
};

const StyleLayout kStyleLayouts[] = {
    // style  groups        rows         columns       full grid          half grid
    {1,       3,            3,           kFourOrFive,  260, 120,          260, 120},
    {2,       3,            3,           2,            135, 120,          135, 120},
    {3,       3,            3,           kFourOrFive,  260, 120,          260, 120},
    {4,       3,            3,           2,            135, 120,          135, 120},
    {5,       kSixOrOne,    6,           2,            260, 120,          260, 120},
    {6,       kSixOrOne,    6,           2,            135, 120,          135, 120},
    {7,       kSixOrOne,    6,           2,            260, 120,          260, 120},
    {8,       kSixOrOne,    6,           2,            135, 120,          135, 120},
    {9,       kSixOrOne,    6,           1,            260, 120,          260, 120},
    {10,      kSixOrOne,    6,           1,            135, 120,          135, 120},
    {11,      12,           12,          1,            260, 150,          260, 150},
    {12,      15,           15,          1,            260, 150,          260, 150},
    {13,      1,            1,           1,            260, 30,           135, 30},
    {14,      1,            1,           1,            260, 30,           135, 30},
    {15,      1,            1,           1,            260, 5,            135, 5},
    {16,      1,            6,           1,            260, 120,          135, 145},
    {17,      3,            6,           1,            260, 120,          135, 145},
    {18,      1,            1,           1,            260, 30,           135, 30},
    {19,      1,            1,           1,            260, 30,           135, 30},
    {20,      1,            6,           1,            260, 135,          135, 140},
    {21,      3,            6,           1,            260, 135,          135, 140},
    {22,      3,            3,           1,            260, kExtraPaper,  260, kExtraPaper},
    {23,      3,            3,           1,            135, kExtraPaper,  135, kExtraPaper},
    {24,      kExtraLeads,  kExtraLeads, 1,            260, kExtraPaper,  260, kExtraPaper},
    {25,      kExtraLeads,  kExtraLeads, 1,            135, 150,          135, 150},
    {26,      3,            3,           2,            260, kExtraPaper,  260, kExtraPaper},
    {27,      3,            3,           1,            135, kExtraPaper,  135, kExtraPaper},
    {28,      3,            3,           2,            260, kExtraPaper,  260, kExtraPaper},
};

const StyleLayout* FindLayout(_RHYTHM_WAVE_STYLE style)
{
    for (const StyleLayout& layout : kStyleLayouts)
        if (layout.style == style) return &layout;
    return nullptr;
}

// An off-screen DC with a surface of its own, released with the DC; null
// when no surface of that size can be made.
std::unique_ptr<CDC> NewPageDC(int width, int height)
{
    HDC surface = platform::gdi::CreateImageDC(width, height);
    if (!surface) return nullptr;
    auto dc = std::make_unique<CDC>();
    dc->Attach(surface);
    return dc;
}

}  // namespace

CViewRhythmWave::CViewRhythmWave()
{
    SetCurrentCursor(g_hCursorMag);
    m_hDividerCursor = ::LoadCursorW(GetMorvelanceModule(), MAKEINTRESOURCE(IDC_CURSOR_DIVIDER));
}

CViewRhythmWave::~CViewRhythmWave() = default;

void CViewRhythmWave::FreeLeads()
{
    for (SharedSamples& lead : m_leadData) lead = SharedSamples();
}

void CViewRhythmWave::DeleteCachedDCs()
{
    m_pPageDC.reset();
    m_bPageDrawn = false;
    // The magnifier's canvas shows the page: it goes with it.
    m_magnifier.DropCache();
}

int CViewRhythmWave::GetLeadSampleCount(int lead) const
{
    return lead >= 0 && lead < RHYTHM_VIEW_LEADS ? LeadCount(lead) : 0;
}

const short* CViewRhythmWave::GetLeadSamples(int lead) const
{
    return HasLead(lead) ? LeadData(lead) : nullptr;
}

void CViewRhythmWave::SetScreenBaseline(int lead, int y)
{
    if (lead >= 0 && lead < RHYTHM_VIEW_LEADS) m_nScreenBaseline[lead] = y;
}

int CViewRhythmWave::GetScreenBaseline(int lead) const
{
    return lead >= 0 && lead < RHYTHM_VIEW_LEADS ? m_nScreenBaseline[lead] : 0;
}

void CViewRhythmWave::SetShowChestLead(BOOL show)
{
    // The annotations of the view belong to the leads shown: while the
    // document shows annotations, a change of the shown leads drops them.
    CTavrionDoc* doc = GetTavrionDoc();
    if (show != m_bShowChestLead && doc && doc->GetAnnotationFlag()) DeleteAllAnnoInfo();
    m_bShowChestLead = show;
}

void CViewRhythmWave::SetRhythm1LeadID(int lead)
{
    m_nRhythm1LeadID = lead;
    CTavrionDoc* doc = GetTavrionDoc();
    if (doc && doc->GetRhythm1LeadID() == -1) doc->SetRhythm1LeadID(lead);
}

void CViewRhythmWave::SetStartTime(int sample)
{
    if (sample >= 0) CWaveView::SetStartTime(sample);
}

// ---- the current item ------------------------------------------------------------------

CWaveItemRef CViewRhythmWave::CurrentItem() const
{
    return CWaveItemRef::Of(m_pDocument, m_nDocType);
}

bool CViewRhythmWave::HasCurrentItem() const
{
    return static_cast<bool>(CurrentItem());
}

bool CViewRhythmWave::IsExtendedLeadRecord() const
{
    return CurrentItem().IsExtendedLead();
}

bool CViewRhythmWave::IsFifteenLeadRecord() const
{
    return CurrentItem().IsFifteenLead();
}

float CViewRhythmWave::StoredAutoSense() const
{
    return CurrentItem().GetStoredAutoSense();
}

short CViewRhythmWave::LeadMask() const
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc) return 0;
    const short mask = doc->GetLeadSelection(static_cast<int>(CurrentItem().GetSystemCode()), m_nWaveStyle);
    if (mask != 0 || !IsLeadMaskStyle(m_nWaveStyle)) return mask;
    // The document keeps a selection only for a record of the style's own
    // lead count; any other record shows the leads it has, up to the rows.
    unsigned all = 0;
    for (int lead = 0; lead < m_nRows && lead < RHYTHM_VIEW_LEADS; ++lead)
        if (HasLead(lead)) all |= 1u << lead;
    return static_cast<short>(all);
}

double CViewRhythmWave::RecordAmplitudeUnit() const
{
    CMFERParser* reader = CurrentItem().GetReader();
    return reader ? reader->GetMeasureSense() : 1.25;
}

int CViewRhythmWave::ExtraGridRows() const
{
    return CurrentItem().GetExtraGridRows();
}

int CViewRhythmWave::ExtraLeadCount(int fallback) const
{
    const CWaveItemRef item = CurrentItem();
    if (_EXTRADATAITEM* extra = item.Extra()) {
        if (extra->IsFreeze()) return GetTavrionDoc()->GetCurItemLeadCount();
    } else if (_MFERDATAITEM* mfer = item.Mfer()) {
        if (CMFERViewDoc::IsFreezeKind(mfer->uSystemCode) && mfer->pMFERParser)
            return mfer->pMFERParser->GetLeadCount();
    }
    return fallback;
}

// ---- styles ---------------------------------------------------------------------------

void CViewRhythmWave::SetWaveStyle(_RHYTHM_WAVE_STYLE style, BOOL reinit)
{
    if (!GetTavrionDoc()) return;
    m_nWaveStyle = style;
    m_bSnapSpeed = TRUE;
    const int kind = m_nDocType;
    if (kind != DOC_TYPE_REST && kind != DOC_TYPE_RHYTHM && kind != DOC_TYPE_RR && kind != DOC_TYPE_EXTRA &&
        kind != DOC_TYPE_MFER)
        return;
    const StyleLayout* layout = FindLayout(style);
    if (!layout) return;

    const CWaveItemRef item = CurrentItem();
    const bool hasLeadItem = item && kind != DOC_TYPE_EXTRA && kind != DOC_TYPE_RR;   // rest, rhythm or MFER
    const bool hasExtraItem = item && (kind == DOC_TYPE_EXTRA || kind == DOC_TYPE_MFER);
    const bool extended = hasLeadItem && item.IsExtendedLead();
    auto decide = [&](int value) {
        switch (value) {
        case kSixOrOne: return extended ? 1 : 6;
        case kFourOrFive: return extended ? 5 : 4;
        case kExtraLeads: return ExtraLeadCount(6);
        case kExtraPaper: return ExtraGridRows();
        default: return value;
        }
    };
    m_nLeadGroups = decide(layout->groups);
    m_nRows = decide(layout->rows);
    m_nColumns = decide(layout->columns);
    m_nDividerRows = IsThreeRowDividerStyle(style) ? 3 : 1;
    if (IsWholeRecordStripStyle(style)) m_bSnapSpeed = FALSE;
    if (!reinit) return;

    const bool half = IsHalfWidthDecidedStyle(style) && m_bHalfStyle;
    // The extra layouts take the extra record's paper, and without one keep the grid.
    const bool needsExtraItem = IsExtraFamilyStyle(style) && layout->gridY == kExtraPaper;
    if (!needsExtraItem || hasExtraItem)
        InitBackground(half ? layout->halfGridX : layout->gridX, decide(half ? layout->halfGridY : layout->gridY));
    if (!IsOneLeadStyle(style)) {
        m_bInitialDivider = TRUE;
        SetScaleClear();
    }
}

// ---- samples ----------------------------------------------------------------------------

BOOL CViewRhythmWave::LoadLead(int lead, int index)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc || index < 0 || index >= RHYTHM_VIEW_LEADS) return FALSE;
    // Let the last samples go first: a long lead need not be held twice.
    m_leadData[index] = SharedSamples();
    m_leadData[index] = doc->GetWholeRhythmWave(lead);
    return m_leadData[index] ? TRUE : FALSE;
}

void CViewRhythmWave::LoadLeadRange(int count)
{
    for (int lead = 0; lead < count && lead < RHYTHM_VIEW_LEADS; ++lead) LoadLead(lead, lead);
}

void CViewRhythmWave::LoadStyleLeads()
{
    const int style = m_nWaveStyle;
    const int kind = m_nDocType;
    const CWaveItemRef item = CurrentItem();
    CMFERParser* reader = item.GetReader();
    const int mferChannels = reader ? reader->GetLeadCount() : 0;
    if (IsMultiLeadRestStyle(style)) {
        if (kind == DOC_TYPE_REST || kind == DOC_TYPE_MFER || kind == DOC_TYPE_RHYTHM) LoadLeadRange(RHYTHM_VIEW_LEADS);
    } else if (IsOneLeadAnyRecordStyle(style)) {
        if (kind == DOC_TYPE_REST || kind == DOC_TYPE_MFER || kind == DOC_TYPE_RHYTHM || kind == DOC_TYPE_EXTRA)
            LoadLead(m_nRhythm1LeadID, 0);
    } else if (IsOneLeadRhythmStyle(style) || IsSerialStripStyle(style)) {
        if (kind == DOC_TYPE_MFER || kind == DOC_TYPE_RHYTHM || kind == DOC_TYPE_EXTRA) LoadLead(m_nRhythm1LeadID, 0);
    } else if (IsRhythmRowsStyle(style)) {
        if (_RHYTHMDATAITEM* rhythm = item.Rhythm())
            LoadLeadRange(rhythm->nLeadCount);
        else if (kind == DOC_TYPE_MFER)
            LoadLeadRange(mferChannels);
    } else if (IsRRRowsStyle(style)) {
        _RRDATAITEM* rr = item.RR();
        if (rr && rr->nLeadCount == 0) {
            FreeLeads();
            for (int lead = 0; lead < RHYTHM_VIEW_LEADS; ++lead) m_nScreenBaseline[lead] = m_nPrintBaseline[lead] = 0;
            for (int& row : m_nRhythmRowLead) row = -1;
        } else if (rr) {
            LoadLeadRange(rr->nLeadCount);
            for (int row = 0; row < 3 && row < rr->nLeadCount; ++row) m_nRhythmRowLead[row] = row;
        }
    } else if (IsExtraFamilyStyle(style)) {
        if (kind == DOC_TYPE_EXTRA)
            LoadLeadRange(6);
        else if (kind == DOC_TYPE_MFER)
            LoadLeadRange(mferChannels);
    }
    if (IsOneLeadRecordLengthStyle(style)) m_nOneLeadLength = LeadCount(0);
}

void CViewRhythmWave::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    CWaveView::OnUpdate(pSender, lHint, pHint);
    UpdateDrawDC();
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc) return;
    if (m_nDocType == DOC_TYPE_MFER) {
        // MFER records carry their own rate; the others are sampled at 500 Hz.
        if (auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, doc)) {
            const double rate = mfer->GetSampleRate();
            if (rate >= 1.0) m_nSampleRate = static_cast<int>(rate + 0.5);
        }
    }
    LoadStyleLeads();
}

// ---- the cached page ---------------------------------------------------------------------

void CViewRhythmWave::UpdateDrawDC()
{
    // The image stays for the next page: a new one of the page's size would
    // cost more than drawing the page into it.
    m_bPageDrawn = false;
    // The magnifier's pictures show the page: they go with it.
    m_magnifier.DropCache();
    // A load during a paint must not ask for another paint: a record without
    // samples would be painted over and over.
    if (GetSafeHwnd() && !m_bPainting) InvalidateRect(nullptr, FALSE);
}

BOOL CViewRhythmWave::DrawPageToCache(CTavrionDoc* doc, int width, int height)
{
    if (!HasLead(0)) {
        m_bPainting = TRUE;
        OnUpdate(nullptr, 0, nullptr);
        m_bPainting = FALSE;
    }
    m_bPageDrawn = false;
    if (!m_pPageDC || m_szPage != CSize(width, height)) {
        m_pPageDC.reset();
        m_pPageDC = NewPageDC(width, height);
        // Without a surface there is no page to keep: the next paint tries again.
        if (!m_pPageDC) return FALSE;
        m_szPage = CSize(width, height);
    }
    CDC* page = m_pPageDC.get();
    // Every page starts from the DC's own state, as on a new image.
    CDCStateSaver pageState(*page);
    // The paper covers the whole image: nothing of the previous page shows.
    CWaveView::OnDraw(page);
    {
        CDCStateSaver saver(*page);
        CDCObjectSelector<CFont> font(*page);
        font.Select(IsDialogFontStyle(m_nWaveStyle) ? g_pDlgFontNormal : doc->GetDocFont(1));
        page->SetBkMode(TRANSPARENT);
        page->SetTextAlign(TA_LEFT | TA_TOP);
        page->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
        if (HasLead(0)) {
            m_dAmplitudeUnit = RecordAmplitudeUnit();
            int gridX = 0;
            int gridY = 0;
            GetGridCount(gridX, gridY);
            if (!DrawView(page, CRect(0, 0, width, height), gridX, gridY, 0)) return FALSE;
        }
    }
    m_bPageDrawn = true;
    return TRUE;
}

void CViewRhythmWave::OnDraw(CDC* pDC)
{
    CTavrionDoc* doc = GetTavrionDoc();
    CRect client;
    GetClientRect(&client);
    const int w = client.Width();
    const int h = client.Height();
    if (!doc || w <= 0 || h <= 0) return;

    // A page that could not be drawn leaves the window as it was.
    if (!HasCachedPage() && !DrawPageToCache(doc, w, h)) return;

    // The clean page goes to the window and the overlays over it there: a
    // moving divider or scale point costs one copy of the page.
    pDC->BitBlt(0, 0, w, h, m_pPageDC.get(), 0, 0, SRCCOPY);
    if (doc->GetMouseMode() == 1) {
        DrawDivider(pDC, client, 1.0f, FALSE);
        DrawScale(pDC, client, 1.0f);
    } else {
        // The pane learns the intervals even while the dividers are not drawn.
        if (m_bInitialDivider) InitialDividerPos();
        DrawAnnotation(pDC, client, FALSE, 1.0f);
    }
}

int CViewRhythmWave::DrawView(CDC* pDC, CRect rect, int gridX, int gridY, int print)
{
    const int style = m_nWaveStyle;
    if (m_nDocType == DOC_TYPE_RHYTHM && HasEventMarksStyle(style)) DrawEventInfo(pDC, rect, gridX, gridY, print);
    if (IsRestFamilyStyle(style)) return DrawRestView(pDC, rect, gridX, gridY, print);
    if (IsRhythmRRFamilyStyle(style)) return DrawRhythmRRView(pDC, rect, gridX, gridY, print);
    if (IsExtraFamilyStyle(style)) return DrawExtraView(pDC, rect, gridX, gridY, print);
    return 0;
}

// ---- paging -----------------------------------------------------------------------------------

int CViewRhythmWave::PageSamples(int gridX, int print) const
{
    // A page is what the traces show at the speed they are drawn at: a
    // one-lead strip that fits the record at its own speed has no second page.
    const float speed = DrawnSpeed(print);
    // Without groups, a speed or a width there is no page to move by.
    if (m_nLeadGroups <= 0 || m_nRows <= 0 || !(speed > 0.0f) || gridX <= 10) return 0;
    const int style = m_nWaveStyle;
    const bool rest = IsMultiLeadRestStyle(style);
    if (rest || IsExtraFamilyStyle(style)) {
        // The columns show one stretch each, as the page draws them: side by
        // side the continuous layouts, the same one the others. Columns past
        // the record's leads stay empty, and the next page takes up the time
        // where the drawn ones end.
        const int columns = rest ? PageColumns() : m_nColumns;
        if (columns <= 0) return 0;
        const int perColumn = static_cast<int>(static_cast<float>(m_nSampleRate * (gridX - 10) / columns) / speed);
        const bool continuous = rest ? IsContinuousRestStyle(style) : IsContinuousExtraStyle(style);
        return continuous ? perColumn * std::max(DrawnColumns(), 1) : perColumn;
    }
    // The rhythm rows: each group of rows a stretch of its own, one under the other.
    const int rowSamples = static_cast<int>(static_cast<float>((gridX - 10) * m_nSampleRate) / speed);
    return m_nRows * rowSamples / m_nLeadGroups;
}

int CViewRhythmWave::PageCount(int gridX, int print) const
{
    const long long step = PageSamples(gridX, print);
    const long long count = LeadCount(0);
    if (step <= 0 || count <= step) return 1;
    return static_cast<int>((count + step - 1) / step);
}

int CViewRhythmWave::ChangePageSample(int pages)
{
    int result = 3;
    int gridX = 0;
    int gridY = 0;
    GetGridCount(gridX, gridY);
    const int pageSamples = PageSamples(gridX, 0);
    if (pageSamples > 0) {
        const int count = LeadCount(0);
        if (count <= pageSamples) {
            CWaveView::SetStartTime(0);
        } else {
            int start = GetStartTime() + pageSamples * pages;
            if (start > 0) {
                if (start + pageSamples >= count) {
                    start = count - pageSamples;
                    result = 2;
                } else {
                    result = 0;
                }
            } else {
                if (pages != 0) start = 0;
                result = 1;
            }
            CWaveView::SetStartTime(start);
        }
    }
    UpdateDrawDC();
    return result;
}

void CViewRhythmWave::OnSize(UINT nType, int cx, int cy)
{
    CWaveView::OnSize(nType, cx, cy);
    SizingDivider();
    SizingScale();
    UpdateDrawDC();
}
