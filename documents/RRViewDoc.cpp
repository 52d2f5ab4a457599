// The RR-interval document: opening the records the host listed, the strip
// samples and pages the multi-lead view asks for, and the speed, filter and
// sensitivity of the RR screens.
#include "documents/RRViewDoc.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/Helpers.h"
#include "core/ReferenceIds.h"

IMPLEMENT_DYNCREATE(CRRViewDoc, CTavrionDoc)

namespace {

// The strip of an RR record, one item per strip lead.
const UINT kTagRRStrip = 3817;
const int kSamplesPerSecond = 500;
// The multi-lead view shares six rows among the strip's leads.
const int kRowsPerPage = 6;
const int kSenseKindElse = 6;

}  // namespace

CRRViewDoc::CRRViewDoc() : m_nPageStyle(1), m_uRefSenseMode(m_uSenseMode), m_fRefElseSense(m_fSense[0][kSenseKindElse])
{
    InitCheckArrayRhyRR();
}

CRRViewDoc::~CRRViewDoc()
{
    m_RRDataManager.FreeAll();
}

_RRDATAITEM* CRRViewDoc::GetCurrentDataItem()
{
    return m_RRDataManager.GetItem(m_nCurDataIndex);
}

int CRRViewDoc::GetCurItemLeadCount()
{
    _RRDATAITEM* item = GetCurrentDataItem();
    return item ? item->nLeadCount : 255;
}

// ---- opening ----------------------------------------------------------------------

int CRRViewDoc::OpenFile(CString& strXMLPath, CString& strFilePath)
{
    _RRDATAITEM* item = nullptr;
    const int opened = OpenRecordImage(m_RRDataManager, strXMLPath, strFilePath, item);
    if (opened != 0) return opened;
    ReadRecordKeys(item);
    // No memory for the blob, or a blob that cannot be read: the opening
    // fails, but the host's item stays (with its image) — the host may still
    // hold the item it added, and deleting it would leave that pointer freed.
    if (!ReadStripBlob(item)) return 255;

    DeleteAnnotationChain(item->pAnnoHead);
    item->pAnnoHead = new _ANNOTATION_INFO;
    GetDataInfoFromXMLFile(item);
    item->strVersion = GetVersionText(strXMLPath);
    return 0;
}

void CRRViewDoc::ReadRecordKeys(_RRDATAITEM* pItem)
{
    _ECGDATA* image = pItem->pECGData;
    BYTE buffer[100];
    auto read = [&](UINT tag) {
        std::fill(buffer, buffer + sizeof buffer, 0);
        const long size = ecgGetData(image, tag, 0, nullptr, 0, ECG_DATA_RAW);
        if (size < 1) return false;
        const long length = size < static_cast<long>(sizeof buffer) ? size : static_cast<long>(sizeof buffer);
        return ecgGetData(image, tag, 0, buffer, length, ECG_DATA_RAW) > 0;
    };
    if (read(ECG_TAG_KIND)) pItem->nKind = static_cast<signed char>(buffer[0]);
    pItem->uSystemCode = read(ECG_TAG_SYSTEM_CODE) ? static_cast<unsigned>(buffer[0] | (buffer[1] << 8)) : 0;

    // The host may leave the lead count to the record.
    const int leads = GetRRFileLeadCount(image);
    if (pItem->nLeadCount == 0 && leads > 0) pItem->nLeadCount = leads == 1 ? 1 : 3;
}

// A record without the reader's blob still opens; its strip is then empty.
int CRRViewDoc::ReadStripBlob(_RRDATAITEM* pItem)
{
    if (ecgGetData(pItem->pECGData, ECG_TAG_BLOB1, 0, nullptr, 0, ECG_DATA_RAW) < 1) return 1;
    return ReadFirstBlob(pItem->pECGData) ? 1 : 0;
}

// ---- the strip --------------------------------------------------------------------

int CRRViewDoc::GetRhythmWaveData(int lead, short* buffer, int filter)
{
    _RRDATAITEM* item = GetCurrentDataItem();
    if (!item || !item->pECGData || !item->pECGData->pBlob3836 || lead < 0) return 0;
    _ECGDATA* image = item->pECGData;
    const long size = GetSampleItem(image, kTagRRStrip, static_cast<UINT>(lead), nullptr);
    if (size < 1) return 0;
    if (!buffer) return static_cast<int>(size);

    const long bytes = GetSampleItem(image, kTagRRStrip, static_cast<UINT>(lead), buffer);
    const int count = static_cast<int>(bytes / 2);
    if (count < 1) return 0;
    int cutoff = m_nFilter;
    if (m_nFilter == 0)
        cutoff = item->nAcqFilter;
    else if (filter >= 0)
        cutoff = filter;
    if (!HiCutDeleteBitNoise(static_cast<short>(cutoff), IsDelBitNoise(), buffer, count)) return 0;
    return static_cast<int>(bytes);
}

int CRRViewDoc::GetRhythmWaveTotalPage(int width, int)
{
    _RRDATAITEM* item = GetCurrentDataItem();
    const float speed = GetSpeed();
    if (!item || item->nLeadCount <= 0 || !(speed > 0.0f) || width <= 0) return 0;
    const float rowSamples = static_cast<float>(static_cast<int64_t>(width) * kSamplesPerSecond) / speed;
    if (!(rowSamples < 1.0e9f)) return 0;
    const int64_t pageSamples = static_cast<int64_t>(rowSamples) * kRowsPerPage / item->nLeadCount;
    if (pageSamples <= 0) return 0;
    const int64_t samples = GetRhythmWaveData(0, nullptr, -1) / 2;
    // The last page's index; an empty strip still shows its one (empty) page,
    // never the index -1 that a pane would step to.
    if (samples <= 0) return 0;
    const int64_t pages = samples / pageSamples;
    return static_cast<int>(samples % pageSamples == 0 ? pages - 1 : pages);
}

// ---- display state ------------------------------------------------------------------

float CRRViewDoc::GetSpeed()
{
    return m_fSpeed;
}

void CRRViewDoc::SetSpeed(float fSpeed)
{
    m_fSpeed = fSpeed;
}

int CRRViewDoc::GetFilter()
{
    if (m_nFilter != 0) return m_nFilter;
    _RRDATAITEM* item = GetCurrentDataItem();
    return item ? item->nAcqFilter : 100;
}

void CRRViewDoc::SetFilter(int nFilter)
{
    m_nFilter = nFilter;
}

float CRRViewDoc::GetCommonSense(int set)
{
    _RRDATAITEM* item = GetCurrentDataItem();
    if ((m_uSenseMode == 3 || m_uSenseMode == 4) && item) {
        m_fSense[0][kSenseKindElse] = item->fAcqSense;
        m_fSense[1][kSenseKindElse] = item->fAcqSense;
    }
    return m_fSense[set ? 1 : 0][kSenseKindElse];
}

UINT CRRViewDoc::GetSenseMode()
{
    return m_uRefSenseMode;
}

void CRRViewDoc::SetSense(UINT kind, float fSense, int bModeChange)
{
    if (bModeChange && (m_uSenseMode == 1 || m_uSenseMode == 3)) {
        m_uSenseMode = 1;
        m_uRefSenseMode = 1;
        SetReferenceIntoXML(REFERENCE_SENSE_MODE, -1);
    }
    // The views divide by the sensitivity.
    if (!(fSense > 0.0f) || !std::isfinite(fSense)) return;
    switch (kind) {
    case 0:
    case 1:
    case 2: m_fSense[0][kind] = fSense; break;
    case kSenseKindElse:
        m_fSense[0][kSenseKindElse] = fSense;
        m_fRefElseSense = fSense;
        break;
    default: break;
    }
}

void CRRViewDoc::SetSenseMode(UINT mode)
{
    if (mode != 1 && mode != 3) return;
    m_uRefSenseMode = mode;
    m_uSenseMode = mode;
}

void CRRViewDoc::InitialSense()
{
    m_fSense[0][kSenseKindElse] = m_fRefElseSense;
    m_uSenseMode = m_uRefSenseMode;
}

int CRRViewDoc::IsDoctorConfirm()
{
    _RRDATAITEM* item = GetCurrentDataItem();
    return item ? item->bDoctorConfirm : 0;
}

// ---- texts for the host ---------------------------------------------------------------

CString CRRViewDoc::FormatString(CString strText, int nFirst, int nSecond)
{
    if (nFirst == nSecond) {
        const int open = strText.Find(L'(');
        const int close = strText.Find(L')');
        strText = (open < 0 ? CString() : strText.Left(open)) + L" " + strText.Mid(close + 1);
    }
    // The text is the caller's, never a format: only the doubled percent
    // sign of the stored texts is undone.
    strText.Replace(L"%%", L"%");
    return strText;
}

CString CRRViewDoc::FormatString(CString strText, CString strFirst, CString strSecond)
{
    return FormatString(strText, 0, strFirst.Compare(strSecond) == 0 ? 0 : 1);
}
