#include "waveviews/ViewRhythmWave.h"

#include "core/Globals.h"
#include "core/MemoryHelpers.h"
#include "core/TavrionDoc.h"
#include "documents/ExtraViewDoc.h"
#include "documents/MFERViewDoc.h"
#include "documents/RRViewDoc.h"
#include "documents/RestViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/Dialog.h"

IMPLEMENT_DYNCREATE(CViewRhythmWave, CWaveView)

BEGIN_MESSAGE_MAP(CViewRhythmWave, CWaveView)
ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

// The style table's layout of one style: groups, rows, columns and the grid
// at full and half width (0 rows: decided by the record).
struct StyleLayout {
    int groups;
    int rows;
    int columns;
    int gridX;
    int gridY;
    int halfGridX;
    int halfGridY;
};

// An off-screen DC with a surface of its own, released with the DC.
CDC* NewPageDC(int width, int height)
{
    auto* dc = new CDC;
    dc->Attach(platform::gdi::CreateImageDC(width, height));
    return dc;
}

}  // namespace

CViewRhythmWave::CViewRhythmWave()
{
    SetCurrentCursor(g_hCursorMag);
    m_pGreenPen = new CPen(PS_SOLID, 2, RGB(46, 139, 87));
}

CViewRhythmWave::~CViewRhythmWave()
{
    delete m_pEnlargedPopup;
    delete m_pDividerPopup;
    delete m_pGreenPen;
    DeleteCachedDCs();
    FreeLeads();
}

void CViewRhythmWave::FreeLeads()
{
    for (int lead = 0; lead < RHYTHM_VIEW_LEADS; ++lead) {
        if (m_pLeadData[lead]) MemoryFree(m_pLeadData[lead]);
        m_pLeadData[lead] = nullptr;
        m_nLeadCount[lead] = 0;
    }
}

void CViewRhythmWave::DeleteCachedDCs()
{
    for (CDC** dc : {&m_pPageDC, &m_pCleanPageDC, &m_pEnlargedDC, &m_pCleanEnlargedDC}) {
        delete *dc;
        *dc = nullptr;
    }
}

int CViewRhythmWave::GetLeadSampleCount(int lead) const
{
    return lead >= 0 && lead < RHYTHM_VIEW_LEADS ? m_nLeadCount[lead] : 0;
}

const short* CViewRhythmWave::GetLeadSamples(int lead) const
{
    return lead >= 0 && lead < RHYTHM_VIEW_LEADS ? m_pLeadData[lead] : nullptr;
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
    // The annotations of the view belong to the leads shown; the annotation
    // layer drops them here when the shown leads change.
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

// ---- the item-dependent answers ------------------------------------------------------

bool CViewRhythmWave::IsExtendedLeadRecord() const
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc) return false;
    switch (m_nDocType) {
    case DOC_TYPE_REST:
        if (auto* rest = DYNAMIC_DOWNCAST(CRestViewDoc, doc)) {
            if (_RESTDATAITEM* item = rest->GetCurrentDataItem()) {
                const unsigned low = item->uSystemCode & 0xFF;
                return low != 0 && low != 254 && low != 255;
            }
        }
        return false;
    case DOC_TYPE_RHYTHM:
        if (auto* rhythm = DYNAMIC_DOWNCAST(CRhythmViewDoc, doc))
            if (_RHYTHMDATAITEM* item = rhythm->GetCurrentDataItem()) return item->nLeadCount != 12;
        return false;
    case DOC_TYPE_MFER:
        if (auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, doc))
            if (_MFERDATAITEM* item = mfer->GetCurrentDataItem()) return item->uSystemCode != MFER_KIND_12LEAD;
        return false;
    default:
        return false;
    }
}

bool CViewRhythmWave::IsFifteenLeadRecord() const
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc) return false;
    if (m_nDocType == DOC_TYPE_REST) {
        if (auto* rest = DYNAMIC_DOWNCAST(CRestViewDoc, doc)) {
            if (_RESTDATAITEM* item = rest->GetCurrentDataItem()) {
                const unsigned low = item->uSystemCode & 0xFF;
                return low == 11 || low == 226 || low == 227;
            }
        }
    } else if (m_nDocType == DOC_TYPE_MFER) {
        if (auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, doc))
            if (_MFERDATAITEM* item = mfer->GetCurrentDataItem()) return item->uSystemCode == 0x800F;
    } else if (m_nDocType == DOC_TYPE_RHYTHM) {
        if (auto* rhythm = DYNAMIC_DOWNCAST(CRhythmViewDoc, doc))
            if (_RHYTHMDATAITEM* item = rhythm->GetCurrentDataItem()) return item->nLeadCount == 15;
    }
    return false;
}

int CViewRhythmWave::ExtraGridRows() const
{
    // Neither the extra nor the MFER item keeps a grid flag of its own yet:
    // every record takes the taller paper of 150 squares.
    return 150;
}

int CViewRhythmWave::ExtraLeadCount(int fallback) const
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc) return fallback;
    if (m_nDocType == DOC_TYPE_EXTRA) {
        if (auto* extra = DYNAMIC_DOWNCAST(CExtraViewDoc, doc))
            if (_EXTRADATAITEM* item = extra->GetCurrentDataItem())
                if (item->IsFreeze()) return extra->GetCurItemLeadCount();
    } else if (m_nDocType == DOC_TYPE_MFER) {
        if (auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, doc))
            if (_MFERDATAITEM* item = mfer->GetCurrentDataItem())
                if (item->uSystemCode >= MFER_KIND_FREEZE1 && item->uSystemCode <= MFER_KIND_FREEZE6 &&
                    item->pMFERParser)
                    return item->pMFERParser->GetLeadCount();
    }
    return fallback;
}

// ---- styles ---------------------------------------------------------------------------

void CViewRhythmWave::SetWaveStyle(_RHYTHM_WAVE_STYLE style, BOOL reinit)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc) return;
    m_nWaveStyle = style;
    m_bSnapSpeed = TRUE;
    bool hasItem = false;      // a rest, rhythm or MFER item
    bool hasExtraItem = false; // an extra or MFER item
    switch (m_nDocType) {
    case DOC_TYPE_REST: {
        auto* rest = DYNAMIC_DOWNCAST(CRestViewDoc, doc);
        hasItem = rest && rest->GetCurrentDataItem();
        break;
    }
    case DOC_TYPE_RHYTHM: {
        auto* rhythm = DYNAMIC_DOWNCAST(CRhythmViewDoc, doc);
        hasItem = rhythm && rhythm->GetCurrentDataItem();
        break;
    }
    case DOC_TYPE_RR:
        break;
    case DOC_TYPE_EXTRA: {
        auto* extra = DYNAMIC_DOWNCAST(CExtraViewDoc, doc);
        hasExtraItem = extra && extra->GetCurrentDataItem();
        break;
    }
    case DOC_TYPE_MFER: {
        auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, doc);
        hasItem = hasExtraItem = mfer && mfer->GetCurrentDataItem();
        break;
    }
    default:
        return;
    }
    if (style < 1 || style > 28) return;

    const bool extended = hasItem && IsExtendedLeadRecord();
    const int extraRows = ExtraGridRows();
    StyleLayout l{};
    switch (style) {
    case 1: case 3: l = {3, 3, hasItem ? (extended ? 5 : 4) : 4, 260, 120, 260, 120}; break;
    case 2: case 4: l = {3, 3, 2, 135, 120, 135, 120}; break;
    case 5: case 7: l = {hasItem ? (extended ? 1 : 6) : 6, 6, 2, 260, 120, 260, 120}; break;
    case 6: case 8: l = {hasItem ? (extended ? 1 : 6) : 6, 6, 2, 135, 120, 135, 120}; break;
    case 9: l = {hasItem ? (extended ? 1 : 6) : 6, 6, 1, 260, 120, 260, 120}; break;
    case 10: l = {hasItem ? (extended ? 1 : 6) : 6, 6, 1, 135, 120, 135, 120}; break;
    case 11: l = {12, 12, 1, 260, 150, 260, 150}; break;
    case 12: l = {15, 15, 1, 260, 150, 260, 150}; break;
    case 13: case 14: case 19: l = {1, 1, 1, 260, 30, 135, 30}; break;
    case 15: l = {1, 1, 1, 260, 5, 135, 5}; break;
    case 16: l = {1, 6, 1, 260, 120, 135, 145}; break;
    case 17: l = {3, 6, 1, 260, 120, 135, 145}; break;
    case 18: l = {1, 1, 1, 260, 30, 135, 30}; break;
    case 20: l = {1, 6, 1, 260, 135, 135, 140}; break;
    case 21: l = {3, 6, 1, 260, 135, 135, 140}; break;
    case 22: l = {3, 3, 1, 260, extraRows, 260, extraRows}; break;
    case 23: case 27: l = {3, 3, 1, 135, extraRows, 135, extraRows}; break;
    case 24: {
        const int n = ExtraLeadCount(6);
        l = {n, n, 1, 260, extraRows, 260, extraRows};
        break;
    }
    case 25: {
        const int n = ExtraLeadCount(6);
        l = {n, n, 1, 135, 150, 135, 150};
        break;
    }
    default: l = {3, 3, 2, 260, extraRows, 260, extraRows}; break;   // 26, 28
    }
    m_nLeadGroups = l.groups;
    m_nRows = l.rows;
    m_nColumns = l.columns;
    m_nDividerRows = style == 17 || style == 21 ? 3 : 1;
    if (style == 15) m_bSnapSpeed = FALSE;
    if (!reinit) return;

    const bool halfDecides = style >= 13 && style <= 21;
    const bool half = halfDecides && m_bHalfStyle;
    const bool extraStyle = style >= 22 && style != 25;
    if (!(extraStyle && !hasExtraItem)) InitBackground(half ? l.halfGridX : l.gridX, half ? l.halfGridY : l.gridY);
    if (style != 13 && style != 14 && style != 15 && style != 18 && style != 19) {
        m_bInitialDivider = TRUE;
        SetScaleClear();
    }
}

// ---- samples ----------------------------------------------------------------------------

BOOL CViewRhythmWave::LoadLead(int lead, int index)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc || index < 0 || index >= RHYTHM_VIEW_LEADS) return FALSE;
    if (m_pLeadData[index]) MemoryFree(m_pLeadData[index]);
    m_pLeadData[index] = nullptr;
    m_nLeadCount[index] = 0;
    const int bytes = doc->GetRhythmWaveData(lead, nullptr, -1);
    const int count = bytes / 2;
    if (count <= 0) return FALSE;
    auto* buffer = static_cast<short*>(MemoryAlloc(static_cast<UINT>(count) * sizeof(short)));
    if (!buffer) return FALSE;
    doc->GetRhythmWaveData(lead, buffer, -1);
    m_pLeadData[index] = buffer;
    m_nLeadCount[index] = count;
    return TRUE;
}

void CViewRhythmWave::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    CWaveView::OnUpdate(pSender, lHint, pHint);
    UpdateDrawDC();
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc) return;
    const int style = m_nWaveStyle;
    const int kind = m_nDocType;
    auto mferChannels = [&]() {
        auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, doc);
        _MFERDATAITEM* item = mfer ? mfer->GetCurrentDataItem() : nullptr;
        return item && item->pMFERParser ? item->pMFERParser->GetLeadCount() : 0;
    };
    auto loadRange = [&](int count) {
        for (int lead = 0; lead < count && lead < RHYTHM_VIEW_LEADS; ++lead) LoadLead(lead, lead);
    };
    if (kind == DOC_TYPE_MFER) {
        // MFER records carry their own rate; the others are sampled at 500 Hz.
        if (auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, doc)) {
            const double rate = mfer->GetSampleRate();
            if (rate >= 1.0) m_nSampleRate = static_cast<int>(rate + 0.5);
        }
    }

    if (style >= 1 && style <= 12) {
        if (kind == DOC_TYPE_REST || kind == DOC_TYPE_MFER || kind == DOC_TYPE_RHYTHM) loadRange(RHYTHM_VIEW_LEADS);
    } else if (style >= 13 && style <= 15) {
        if (kind == DOC_TYPE_REST || kind == DOC_TYPE_MFER || kind == DOC_TYPE_RHYTHM || kind == DOC_TYPE_EXTRA)
            LoadLead(m_nRhythm1LeadID, 0);
    } else if (style == 18 || style == 19) {
        if (kind == DOC_TYPE_MFER || kind == DOC_TYPE_RHYTHM || kind == DOC_TYPE_EXTRA) LoadLead(m_nRhythm1LeadID, 0);
    } else if (style == 16 || style == 17) {
        if (kind == DOC_TYPE_RHYTHM) {
            auto* rhythm = DYNAMIC_DOWNCAST(CRhythmViewDoc, doc);
            _RHYTHMDATAITEM* item = rhythm ? rhythm->GetCurrentDataItem() : nullptr;
            if (item) loadRange(item->nLeadCount);
        } else if (kind == DOC_TYPE_MFER) {
            loadRange(mferChannels());
        }
    } else if (style == 20 || style == 21) {
        if (kind == DOC_TYPE_RR) {
            auto* rr = DYNAMIC_DOWNCAST(CRRViewDoc, doc);
            _RRDATAITEM* item = rr ? rr->GetCurrentDataItem() : nullptr;
            if (item && item->nLeadCount == 0) {
                FreeLeads();
                for (int lead = 0; lead < RHYTHM_VIEW_LEADS; ++lead) m_nScreenBaseline[lead] = m_nPrintBaseline[lead] = 0;
                for (int& row : m_nRhythmRowLead) row = -1;
            } else if (item) {
                loadRange(item->nLeadCount);
                for (int row = 0; row < 3 && row < item->nLeadCount; ++row) m_nRhythmRowLead[row] = row;
            }
        }
    } else if (style >= 22 && style <= 28) {
        if (kind == DOC_TYPE_EXTRA)
            loadRange(6);
        else if (kind == DOC_TYPE_MFER)
            loadRange(mferChannels());
    }
    if (style == 14 || style == 19) m_nOneLeadLength = m_nLeadCount[0];
}

// ---- the cached page ---------------------------------------------------------------------

void CViewRhythmWave::UpdateDrawDC()
{
    DeleteCachedDCs();
    // A load during a paint must not ask for another paint: a record without
    // samples would be painted over and over.
    if (GetSafeHwnd() && !m_bPainting) InvalidateRect(nullptr, FALSE);
}

void CViewRhythmWave::OnDraw(CDC* pDC)
{
    CTavrionDoc* doc = GetTavrionDoc();
    CRect client;
    GetClientRect(&client);
    const int w = client.Width();
    const int h = client.Height();
    if (!doc || w <= 0 || h <= 0) return;

    if (m_pPageDC) {
        if (m_pCleanPageDC) {
            // A fresh copy of the clean page drops the previous overlays.
            CDC* page = NewPageDC(w, h);
            page->BitBlt(0, 0, w, h, m_pCleanPageDC, 0, 0, SRCCOPY);
            delete m_pPageDC;
            m_pPageDC = page;
        }
    } else {
        if (!m_pLeadData[0]) {
            m_bPainting = TRUE;
            OnUpdate(nullptr, 0, nullptr);
            m_bPainting = FALSE;
        }
        CDC* page = NewPageDC(w, h);
        m_pPageDC = page;
        CWaveView::OnDraw(page);
        CFont* font = (m_nWaveStyle == 14 || m_nWaveStyle == 19) ? g_pDlgFontNormal : doc->GetDocFont(1);
        CDCObjectSelector<CFont> fontSelection(*page);
        fontSelection.Select(font);
        page->SetBkMode(TRANSPARENT);
        page->SetTextAlign(TA_LEFT | TA_TOP);
        page->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
        if (m_pLeadData[0]) {
            m_dAmplitudeUnit = 1.25;
            if (m_nDocType == DOC_TYPE_MFER) {
                auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, doc);
                _MFERDATAITEM* item = mfer ? mfer->GetCurrentDataItem() : nullptr;
                if (item && item->pMFERParser) m_dAmplitudeUnit = item->pMFERParser->GetMeasureSense();
            }
            int gridX = 0;
            int gridY = 0;
            GetGridCount(gridX, gridY);
            if (!DrawView(page, CRect(0, 0, w, h), gridX, gridY, 0)) return;
        }
        fontSelection.Restore();
        CDC* clean = NewPageDC(w, h);
        clean->BitBlt(0, 0, w, h, page, 0, 0, SRCCOPY);
        m_pCleanPageDC = clean;
    }

    if (doc->GetMouseMode() == 1) {
        // Dividers are drawn here once their part stands.
        DrawScale(m_pPageDC, client, 1.0f);
    } else if (m_bInitialDivider) {
        m_bInitialDivider = FALSE;
    }
    pDC->BitBlt(0, 0, w, h, m_pPageDC, 0, 0, SRCCOPY);
}

void CViewRhythmWave::DrawScale(CDC*, CRect, float)
{
    // Nothing to draw until a scale point is set.
    if (m_nScaleStatus == -1 || !m_pLeadData[0]) return;
}

int CViewRhythmWave::DrawView(CDC* pDC, CRect rect, int gridX, int gridY, int print)
{
    const int style = m_nWaveStyle;
    if (m_nDocType == DOC_TYPE_RHYTHM && ((style >= 1 && style <= 12) || style == 16 || style == 17 || style == 19))
        DrawEventInfo(pDC, rect, gridX, gridY, print);
    if ((style >= 1 && style <= 15) || style == 19) return DrawRestView(pDC, rect, gridX, gridY, print);
    if (style == 16 || style == 17 || style == 18 || style == 20 || style == 21)
        return DrawRhythmRRView(pDC, rect, gridX, gridY, print);
    if (style >= 22 && style <= 28) return DrawExtraView(pDC, rect, gridX, gridY, print);
    return 0;
}

// ---- paging -----------------------------------------------------------------------------------

int CViewRhythmWave::ChangePageSample(int pages)
{
    int result = 3;
    CTavrionDoc* doc = GetTavrionDoc();
    const float speed = doc ? doc->GetSpeed() : 0.0f;
    int gridX = 0;
    int gridY = 0;
    GetGridCount(gridX, gridY);
    // Without groups, a speed or a width there is no page to move by.
    if (m_nLeadGroups > 0 && speed > 0.0f && gridX > 10) {
        const int rowSamples = static_cast<int>(static_cast<float>((gridX - 10) * m_nSampleRate) / speed);
        const int pageSamples = m_nRows * rowSamples / m_nLeadGroups;
        const int count = m_nLeadCount[0];
        if (count <= pageSamples || pageSamples <= 0) {
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
    // The divider and scale positions follow the new size once they stand.
    m_nLastClientWidth = cx;
    m_nLastClientHeight = cy;
    UpdateDrawDC();
}
