// The rhythm document: opening rhythm records, their start time and events,
// the filtered strips with their per-lead cache, paging, page styles, the
// one-lead strip lead, speed, filter and sensitivity.
#include "documents/RhythmViewDoc.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "core/Helpers.h"
#include "core/ReferenceIds.h"
#include "platform/base/Kernel.h"

IMPLEMENT_DYNCREATE(CRhythmViewDoc, CTavrionDoc)

BEGIN_MESSAGE_MAP(CRhythmViewDoc, CTavrionDoc)
END_MESSAGE_MAP()

namespace {

const UINT kTagStartStandard = 3854;
const UINT kTagStartExtended = 3856;
const UINT kTagWaveStandard = 3849;
const UINT kTagWaveExtended = 3860;
const UINT kTagEventsStandard = 5004;
const UINT kTagEventsExtended = 5005;

// Every record item takes at least its 12-byte header in the file: a stated
// event count above that many cannot be real and is not walked.
const DWORD kItemHeaderBytes = 12;

// The one-lead strip of the overview is only offered this long (50000 samples).
const int kRhythmSenseStripBytes = 100000;

bool IsSenseKind(UINT kind)
{
    return kind == 0 || kind == 1 || kind == 2 || kind == 6;
}

}  // namespace

CRhythmViewDoc::CRhythmViewDoc()
    : m_nPageStyle(20),
      m_nPageStyle1Lead(20),
      m_nPageStyle3Lead(23),
      m_nPageStyleOther(1),
      m_nRhythmFilter(100),
      m_fRhythmSpeed(25.0f),
      m_uRefSenseMode(1),
      m_fRefSense{10.0f, 10.0f, 10.0f, 10.0f, 10.0f, 10.0f, 10.0f},
      m_n1Lead12(0),
      m_n1Lead3(0),
      m_n1Lead15Offset(0)
{
    InitCheckArrayRhyRR();
}

CRhythmViewDoc::~CRhythmViewDoc()
{
    m_RhythmDataManager.FreeAll();
}

CRhythmViewDoc::RhythmFamily CRhythmViewDoc::FamilyOf(unsigned int uSystemCode)
{
    switch (uSystemCode & 0xFF) {
    case 10:
    case 245:
    case 246: return RhythmFamily::Standard;
    case 38:
    case 217:
    case 218: return RhythmFamily::Extended;
    default: return RhythmFamily::None;
    }
}

UINT CRhythmViewDoc::WaveTag(unsigned int uSystemCode)
{
    return FamilyOf(uSystemCode) == RhythmFamily::Extended ? kTagWaveExtended : kTagWaveStandard;
}

_RHYTHMDATAITEM* CRhythmViewDoc::GetCurrentDataItem() const
{
    return m_RhythmDataManager.GetItem(m_nCurDataIndex);
}

int CRhythmViewDoc::GetCurrentTypeValue() const
{
    const _RHYTHMDATAITEM* item = GetCurrentDataItem();
    return item ? item->nTypeValue : 0;
}

int CRhythmViewDoc::GetCurItemLeadCount()
{
    const _RHYTHMDATAITEM* item = GetCurrentDataItem();
    return item ? item->nLeadCount : 255;
}

// ---- opening ---------------------------------------------------------------------

int CRhythmViewDoc::OpenFile(CString& strXMLPath, CString& strFilePath)
{
    _RHYTHMDATAITEM* item = nullptr;
    // No item (1): nothing was opened, so no success to report.
    const int opened = OpenRecordImage(m_RhythmDataManager, strXMLPath, strFilePath, item);
    if (opened != 0) return opened;
    ReadRecordKeys(item);
    // Without the reader's blob the image is of no use; the item stays listed.
    if (ecgGetData(item->pECGData, ECG_TAG_BLOB1, 0, nullptr, 0, ECG_DATA_RAW) <= 0) {
        FreeECGData(item->pECGData);
        return 255;
    }
    if (!ReadFirstBlob(item->pECGData)) return 255;

    // A reopened item starts from the new file: strips cached from the old
    // one would be served with the new one's sizes, and its events counted twice.
    item->FreeWaveCache();
    item->arrEvent.RemoveAll();
    item->nEventCount = 0;
    DeleteAnnotationChain(item->pAnnoHead);
    item->pAnnoHead = new _ANNOTATION_INFO;

    GetDataInfoFromXMLFile(item);
    GetDataInfoFromECGFile(item);
    GetEventInfoFromECGFile(item);
    item->strVersionText = GetVersionText(item->strXMLPath);
    return 0;
}

// The kind keeps its old value when the record has none; the system code is
// 0 then.
void CRhythmViewDoc::ReadRecordKeys(_RHYTHMDATAITEM* pItem)
{
    BYTE bytes[2] = {};
    if (ecgGetData(pItem->pECGData, ECG_TAG_KIND, 0, bytes, 1, ECG_DATA_RAW) > 0)
        pItem->nKind = static_cast<signed char>(bytes[0]);
    const bool code = ecgGetData(pItem->pECGData, ECG_TAG_SYSTEM_CODE, 0, bytes, sizeof(bytes), ECG_DATA_RAW) > 0;
    pItem->uSystemCode = code ? static_cast<unsigned>(bytes[0] | (bytes[1] << 8)) : 0;
}

int CRhythmViewDoc::GetDataInfoFromECGFile(_RHYTHMDATAITEM* pItem)
{
    if (!pItem) return 255;
    const RhythmFamily family = FamilyOf(pItem->uSystemCode);
    if (family == RhythmFamily::None) return 0;
    const UINT tag = family == RhythmFamily::Standard ? kTagStartStandard : kTagStartExtended;
    BYTE time[2] = {};
    const long size = ecgGetData(pItem->pECGData, tag, 0, nullptr, 0, ECG_DATA_RAW);
    const long wanted = std::min<long>(size, sizeof(time));
    if (wanted < 1 || ecgGetData(pItem->pECGData, tag, 0, time, wanted, ECG_DATA_RAW) < 1) time[0] = time[1] = 0;
    pItem->byStartMinute = time[0];
    pItem->byStartSecond = time[1];
    return 0;
}

int CRhythmViewDoc::GetEventInfoFromECGFile(_RHYTHMDATAITEM* pItem)
{
    if (!pItem || !pItem->pECGData) return 255;
    _ECGDATA* image = pItem->pECGData;
    const RhythmFamily family = FamilyOf(pItem->uSystemCode);
    if (family == RhythmFamily::None) return 0;
    const long length = ecgGetData(image, WaveTag(pItem->uSystemCode), 0, nullptr, 0, ECG_DATA_RAW) / 2;
    const UINT tag = family == RhythmFamily::Standard ? kTagEventsStandard : kTagEventsExtended;

    auto readInt32 = [&](UINT index, int& value) {
        BYTE bytes[4] = {};
        if (ecgGetData(image, tag, index, bytes, sizeof(bytes), ECG_DATA_RAW) != sizeof(bytes)) return false;
        std::memcpy(&value, bytes, sizeof(value));
        return true;
    };

    int count = 0;
    if (!readInt32(0, count)) {
        pItem->arrEvent.RemoveAll();
        return 0;
    }
    if (count < 1) return 0;
    pItem->nEventCount = count;
    const long walked = std::min<long>(count, static_cast<long>(image->dwFileLength / kItemHeaderBytes));
    int last = 0;
    for (long i = 1; i <= walked; ++i) {
        int position = 0;
        if (!readInt32(static_cast<UINT>(i), position)) continue;
        if (position < 0 || position > length || position < last) continue;
        pItem->arrEvent.Add(position);
        last = position;
    }
    return 0;
}

// ---- strips ------------------------------------------------------------------------

int CRhythmViewDoc::EffectiveFilter(const _RHYTHMDATAITEM* pItem, int filter) const
{
    if (m_nRhythmFilter == 0) return pItem->nRecordFilter;
    return filter < 0 ? m_nRhythmFilter : filter;
}

const short* CRhythmViewDoc::LoadWaveCache(_RHYTHMDATAITEM* pItem, int lead, int filter)
{
    const int noise = IsDelBitNoise();
    if (pItem->pWaveCache[lead] && pItem->nCacheFilter[lead] == filter && pItem->nCacheNoise == noise)
        return pItem->pWaveCache[lead].get();

    const UINT tag = WaveTag(pItem->uSystemCode);
    const long size = ecgGetData(pItem->pECGData, tag, static_cast<UINT>(lead), nullptr, 0, ECG_DATA_RAW);
    if (size <= 0) return nullptr;
    // Sized by the record: a machine short of memory fails the read (the
    // caller's "no samples") rather than the program.
    // Not cleared first: the read writes every sample (a stray odd byte
    // gets the last one, cleared here), and clearing a day's strip costs a
    // pass over it.
    const size_t slots = (static_cast<size_t>(size) + 1) / 2;
    std::shared_ptr<short[]> cache;
    try {
        cache.reset(new short[slots]);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    short* samples = cache.get();
    platform::PreferHugePages(samples, slots * sizeof(short));
    samples[slots - 1] = 0;
    const long bytes = ecgGetData(pItem->pECGData, tag, static_cast<UINT>(lead), samples, size, ECG_DATA_RAW) & ~1L;
    const int count = static_cast<int>(bytes / 2);
    if (bytes <= 0 || !HiCutDeleteBitNoise(static_cast<short>(filter), noise, samples, count)) return nullptr;

    // One noise flag serves every lead: strips made with the other setting
    // must go, or they would pass for made with this one.
    if (pItem->nCacheNoise != noise) pItem->FreeWaveCache();
    pItem->nCacheNoise = noise;
    pItem->pWaveCache[lead] = std::move(cache);
    pItem->nCacheFilter[lead] = filter;
    pItem->nCacheLength[lead] = static_cast<int>(bytes);
    return samples;
}

int CRhythmViewDoc::GetRhythmWaveData(int lead, short* buffer, int filter)
{
    _RHYTHMDATAITEM* item = GetCurrentDataItem();
    if (!item || !item->pECGData || !item->pECGData->pBlob3836) return 0;
    if (lead < 0 || lead >= RHYTHM_LEAD_SLOTS) return 0;
    if (!buffer) {
        const long size = ecgGetData(item->pECGData, WaveTag(item->uSystemCode), static_cast<UINT>(lead), nullptr, 0,
                                     ECG_DATA_RAW);
        // Whole samples only: a stray odd byte would make callers that size
        // their buffer in samples one byte short.
        return size > 1 ? static_cast<int>(size & ~1L) : 0;
    }
    const short* samples = LoadWaveCache(item, lead, EffectiveFilter(item, filter));
    if (!samples) return 0;
    std::memcpy(buffer, samples, static_cast<size_t>(item->nCacheLength[lead]));
    return item->nCacheLength[lead];
}

SharedSamples CRhythmViewDoc::ShareRhythmWaveData(int lead)
{
    _RHYTHMDATAITEM* item = GetCurrentDataItem();
    if (!item || !item->pECGData || !item->pECGData->pBlob3836) return SharedSamples();
    if (lead < 0 || lead >= RHYTHM_LEAD_SLOTS) return SharedSamples();
    if (!LoadWaveCache(item, lead, EffectiveFilter(item, -1))) return SharedSamples();
    const std::shared_ptr<short[]>& cache = item->pWaveCache[lead];
    return SharedSamples::Of(cache, cache.get(), static_cast<size_t>(item->nCacheLength[lead] / 2));
}

int CRhythmViewDoc::GetRhythmWaveRange(int lead, int first, int count, short* buffer, int filter)
{
    _RHYTHMDATAITEM* item = GetCurrentDataItem();
    if (!buffer || !item || !item->pECGData || !item->pECGData->pBlob3836) return 0;
    if (lead < 0 || lead >= RHYTHM_LEAD_SLOTS || first < 0 || count <= 0) return 0;
    const short* samples = LoadWaveCache(item, lead, EffectiveFilter(item, filter));
    if (!samples) return 0;
    const int available = item->nCacheLength[lead] / 2;
    if (first >= available) return 0;
    const int copied = std::min(count, available - first);
    std::memcpy(buffer, samples + first, static_cast<size_t>(copied) * sizeof(short));
    return copied;
}

int CRhythmViewDoc::GetRhythmWaveTotalPage(int width, int layout)
{
    const _RHYTHMDATAITEM* item = GetCurrentDataItem();
    if (!item) return 0;
    int rows = item->nLeadCount;
    if (layout == 1 || layout == 10) rows = 1;
    else if (layout == 2) rows = 3;
    const float speed = GetSpeed();
    if (rows <= 0 || !(speed > 0.0f)) return 0;
    const float perRow = static_cast<float>(static_cast<long long>(width) * 500) / speed;
    // A row no sample fits in, or one past any strip, has no pages to count.
    if (!(perRow >= 1.0f && perRow < 1.0e9f)) return 0;
    const long long perPage = static_cast<long long>(perRow) * 6 / rows;
    if (perPage <= 0) return 0;
    const long long samples = GetRhythmWaveData(0, nullptr, -1) / 2;
    // The last page's index; an empty strip still shows its one (empty) page,
    // never the index -1 that a pane would step to.
    if (samples <= 0) return 0;
    return static_cast<int>(samples % perPage ? samples / perPage : samples / perPage - 1);
}

// ---- page styles and the one-lead strip ------------------------------------------

_RHYTHM_PAGE_STYLE& CRhythmViewDoc::PageStyleSlot(int nLeadCount)
{
    if (nLeadCount == 1) return m_nPageStyle1Lead;
    if (nLeadCount == 3) return m_nPageStyle3Lead;
    return m_nPageStyleOther;
}

_RHYTHM_PAGE_STYLE CRhythmViewDoc::GetPageStyle()
{
    const _RHYTHMDATAITEM* item = GetCurrentDataItem();
    if (item) m_nPageStyle = PageStyleSlot(item->nLeadCount);
    return m_nPageStyle;
}

// Without a current item only the current style changes: there is no lead
// count to choose the stored slot by.
void CRhythmViewDoc::SetPageStyle(_RHYTHM_PAGE_STYLE style)
{
    const _RHYTHMDATAITEM* item = GetCurrentDataItem();
    if (item) PageStyleSlot(item->nLeadCount) = style;
    m_nPageStyle = style;
}

int CRhythmViewDoc::GetRhythm1LeadID()
{
    const _RHYTHMDATAITEM* item = GetCurrentDataItem();
    if (!item) return 0;
    const bool b12 = m_n1Lead12 >= 0 && m_n1Lead12 <= 11;
    int lead = 0;
    switch (item->nLeadCount) {
    case 12: lead = b12 ? m_n1Lead12 : 0; break;
    case 15:
        if (m_n1Lead15Offset + 11 >= 12 && m_n1Lead15Offset + 11 <= 14) lead = m_n1Lead15Offset + 11;
        else lead = b12 ? m_n1Lead12 : 0;
        break;
    case 3: lead = (m_n1Lead3 >= 0 && m_n1Lead3 <= 2) ? m_n1Lead3 : 0; break;
    default: break;
    }
    // Callers holding the base document read its copy.
    m_nRhythm1LeadID = lead;
    return lead;
}

BOOL CRhythmViewDoc::SetRhythm1LeadID(int lead)
{
    const _RHYTHMDATAITEM* item = GetCurrentDataItem();
    if (!item) {
        if (lead < 0 || lead >= 15) return FALSE;
        if (lead >= 12) {
            m_n1Lead3 = m_n1Lead12 = 0;
            m_n1Lead15Offset = lead - 11;
        } else {
            m_n1Lead12 = lead;
            m_n1Lead3 = lead <= 2 ? lead : 0;
            m_n1Lead15Offset = 0;
        }
        m_nRhythm1LeadID = lead;
        return TRUE;
    }
    if (lead < 0 || lead >= item->nLeadCount) return FALSE;
    switch (item->nLeadCount) {
    case 12:
        m_n1Lead15Offset = 0;
        m_n1Lead12 = lead;
        break;
    case 15:
        if (lead >= 12) {
            m_n1Lead15Offset = lead - 11;
        } else {
            m_n1Lead15Offset = 0;
            m_n1Lead12 = lead;
        }
        break;
    case 3:
        m_n1Lead15Offset = 0;
        m_n1Lead3 = lead;
        break;
    default: break;
    }
    GetRhythm1LeadID();
    return TRUE;
}

// ---- speed, filter and sensitivity -------------------------------------------------

float CRhythmViewDoc::GetSpeed()
{
    return m_fRhythmSpeed;
}

void CRhythmViewDoc::SetSpeed(float fSpeed)
{
    CTavrionDoc::SetSpeed(fSpeed);
    m_fRhythmSpeed = fSpeed;
}

int CRhythmViewDoc::GetFilter()
{
    if (m_nRhythmFilter != 0) return m_nRhythmFilter;
    const _RHYTHMDATAITEM* item = GetCurrentDataItem();
    return item ? item->nRecordFilter : 100;
}

void CRhythmViewDoc::SetFilter(int nFilter)
{
    m_nRhythmFilter = nFilter;
}

float CRhythmViewDoc::GetSense(UINT kind, int set)
{
    const _RHYTHMDATAITEM* item = GetCurrentDataItem();
    // In the record's own modes the record's sensitivity rules every kind.
    if ((m_uSenseMode == 3 || m_uSenseMode == 4) && item) {
        const float recorded = item->fRecordSense;
        for (int k : {0, 1, 6}) m_fSense[0][k] = m_fSense[1][k] = m_fRefSense[k] = recorded;
        if (GetRhythmSenseChangeState() == 1) m_fRefSense[2] = recorded;
    }
    if (IsSenseKind(kind)) return m_fSense[set == 0 ? 0 : 1][kind];
    if (kind == 9) return m_fRefSense[2];
    return 0.0f;
}

UINT CRhythmViewDoc::GetSenseMode()
{
    const _RHYTHMDATAITEM* item = GetCurrentDataItem();
    if (!item) return 1;
    if (item->nLeadCount == 1 || item->nLeadCount == 3)
        return (m_uRefSenseMode == 1 || m_uRefSenseMode == 3) ? m_uRefSenseMode : 1;
    return (m_uRefSenseMode >= 1 && m_uRefSenseMode <= 5) ? m_uRefSenseMode : 1;
}

void CRhythmViewDoc::SetSense(UINT kind, float fSense, int bModeChange)
{
    // A sensitivity the user picks ends the automatic modes; the values they
    // chose are written first so that the record keeps what was shown.
    if (bModeChange && kind != 3 && (kind != 2 || GetRhythmSenseChangeState() == 1)) {
        const UINT previous = m_uRefSenseMode;
        m_uRefSenseMode = m_uSenseMode = (previous == 1 || previous == 3) ? 1 : 2;
        SetReferenceIntoXML(REFERENCE_SENSE_MODE, -1);
        if (previous == 3 || previous == 4 || previous == 5) {
            for (int k : {1, 0, 6, 2}) SetReferenceIntoXML(REFERENCE_SENSITIVITY, k);
        }
    }
    if (!IsSenseKind(kind)) return;
    m_fSense[0][kind] = fSense;
    m_fRefSense[kind] = fSense;
}

void CRhythmViewDoc::SetSenseMode(UINT mode)
{
    m_uSenseMode = mode;
    m_uRefSenseMode = mode;
}

void CRhythmViewDoc::InitialSense()
{
    m_uSenseMode = m_uRefSenseMode;
    for (int k : {0, 1, 6}) m_fSense[0][k] = m_fRefSense[k];
}

int CRhythmViewDoc::GetRhythmSenseChangeState()
{
    return GetRhythmWaveData(GetRhythm1LeadID(), nullptr, -1) <= kRhythmSenseStripBytes ? 1 : 0;
}

int CRhythmViewDoc::IsDoctorConfirm()
{
    const _RHYTHMDATAITEM* item = GetCurrentDataItem();
    return item ? item->bConfirmed : 0;
}
