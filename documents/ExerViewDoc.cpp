// The exercise document: construction, opening a test record, and the clock
// of the average blocks and stored strips.
#include "documents/ExerViewDoc.h"

#include <algorithm>
#include <cstring>

#include "documents/ExerTags.h"

IMPLEMENT_DYNCREATE(CExerViewDoc, CTavrionDoc)

using namespace exer;

namespace {

// A block-time item (byte 0 minutes, byte 1 seconds) into a zeroed buffer;
// false when it does not read.
bool ReadBlockTime(CTavrionDoc& doc, _ECGDATA* image, UINT tag, UINT index, BYTE (&time)[BLOCK_TIME_BYTES])
{
    std::memset(time, 0, sizeof(time));
    const long size = doc.ecgGetData(image, tag, index, nullptr, 0, ECG_DATA_RAW);
    if (size < 1) return false;
    const long want = std::min<long>(size, BLOCK_TIME_BYTES);
    return doc.ecgGetData(image, tag, index, time, want, ECG_DATA_RAW) > 0;
}

// A 16-bit count or rate at byte 0; the default when the tag fails.
int ReadShortTag(CTavrionDoc& doc, _ECGDATA* image, UINT tag, int defaultValue)
{
    std::vector<BYTE> bytes;
    short value = 0;
    if (!ReadItem(doc, image, tag, 0, bytes) || !ItemShort(bytes, 0, value)) return defaultValue;
    return value;
}

// The exercise's length as the record itself keeps it: the exercise ST
// series of lead I holds a level every 15 s after its rest level, up to the
// recovery's start. 0 when the record holds none.
int RecordExerciseSeconds(CTavrionDoc& doc, _ECGDATA* image)
{
    const long size = doc.ecgGetData(image, TAG_ST_EXER, 0, nullptr, 0, ECG_DATA_RAW);
    const long levels = size / 2;
    return levels > 1 && levels < 100000 ? static_cast<int>((levels - 1) * 15) : 0;
}

// The reference position of a beat record's first block is its third
// word (byte 4); 60 and below mean no position.
int ReadBeatReference(CTavrionDoc& doc, _ECGDATA* image, UINT tag)
{
    std::vector<BYTE> bytes;
    short value = 0;
    if (!ReadItem(doc, image, tag, 0, bytes) || !ItemShort(bytes, 4, value)) return 0;
    return value > 60 ? value : 0;
}

}  // namespace

CExerViewDoc::CExerViewDoc() : m_nPageStyle(m_stDefaultRef.RefInt(REF_EXER_PAGE_STYLE)), m_nMeasurePoint(1)
{
    InitCheckArray();
}

CExerViewDoc::~CExerViewDoc()
{
    m_ExerDataManager.FreeAll();
}

CString CExerViewDoc::GetCurItemXMLPath()
{
    _EXERDATAITEM* item = GetCurrentDataItem();
    return item ? item->strXMLPath : CString();
}

bool CExerViewDoc::IsReadable(const _EXERDATAITEM* pItem)
{
    return pItem && pItem->pECGData && !pItem->strXMLPath.IsEmpty();
}

// ---- opening ---------------------------------------------------------------------

int CExerViewDoc::OpenFile(CString& strXMLPath, CString& strFilePath)
{
    // A failed opening keeps the host's item: a record without the reader's
    // blob leaves it without an image, one whose blob cannot be had or read
    // leaves it the image without the blob.
    _EXERDATAITEM* item = nullptr;
    const int opened = OpenRecordCommon(m_ExerDataManager, strXMLPath, strFilePath, item);
    if (opened != 0) return opened;

    DeleteAnnotationChain(item->pAnnoHead);
    item->pAnnoHead = new _ANNOTATION_INFO;

    item->nExerTime = -1;
    GetDataInfoFromXMLFile(item);
    GetWaveInfoFromECGFile(item);
    // Without the record XML's load time the recovery would start at 0 min,
    // over the exercise: the record's own series tell where it ends.
    if (item->nExerTime < 0) item->nExerTime = item->pECGData ? RecordExerciseSeconds(*this, item->pECGData) : 0;

    const int savedTime = item->nCurTime;
    item->arrMemTime.RemoveAll();
    const int strips = item->nExerMemCount + item->nPostMemCount;
    for (int strip = 0; strip < strips; ++strip) {
        SetCurMemBlockNo(strip, item);
        item->arrMemTime.Add(item->nCurTime);
    }
    SetCurAveBlockNo(item->nExerAveCount + item->nPostAveCount - 1, item);
    item->nEndTime = item->nCurTime;
    item->nCurTime = savedTime;
    return 0;
}

int CExerViewDoc::GetWaveInfoFromECGFile(_EXERDATAITEM* pItem)
{
    if (!IsReadable(pItem)) return 255;
    _ECGDATA* image = pItem->pECGData;
    switch (ReadShortTag(*this, image, TAG_BLOCK_INTERVAL, 0)) {
    case 1: pItem->nBlockInterval = 60; break;
    case 2: pItem->nBlockInterval = 120; break;
    default: pItem->nBlockInterval = 15; break;
    }
    pItem->nSampleRate = ReadShortTag(*this, image, TAG_SAMPLE_RATE, 500);
    pItem->nRefPos[0] = ReadBeatReference(*this, image, TAG_BEAT_REF_EXER);
    pItem->nRefPos[1] = ReadBeatReference(*this, image, TAG_BEAT_REF_POST);
    pItem->nRefPos[2] = ReadBeatReference(*this, image, TAG_BEAT_REF_MAX_ST);
    pItem->nRestMeasOffset = ReadShortTag(*this, image, TAG_REST_MEAS_OFFSET, 0);
    pItem->nExerAveCount = ReadShortTag(*this, image, TAG_EXER_AVE_COUNT, 0);
    pItem->nPostAveCount = ReadShortTag(*this, image, TAG_POST_AVE_COUNT, 0);
    pItem->nExerMemCount = ReadShortTag(*this, image, TAG_EXER_MEM_COUNT, 0);
    pItem->nPostMemCount = ReadShortTag(*this, image, TAG_POST_MEM_COUNT, 0);
    return 0;
}

// ---- average blocks ------------------------------------------------------------------

void CExerViewDoc::SetCurAveBlockNo(int block, _EXERDATAITEM* pItem)
{
    _EXERDATAITEM* item = pItem ? pItem : GetCurrentDataItem();
    if (!item) return;
    const int series = block >= item->nExerAveCount ? 1 : 0;
    const int index = series ? block - item->nExerAveCount : block;
    BYTE time[BLOCK_TIME_BYTES];
    // A negative index names no block (a record without blocks asks for -1).
    if (index < 0 || !ReadBlockTime(*this, item->pECGData, TAG_AVE_TIME + series, static_cast<UINT>(index), time)) {
        item->nCurTime = 0;
        return;
    }
    const signed char minutes = static_cast<signed char>(time[0]);
    const signed char seconds = static_cast<signed char>(time[1]);
    item->nCurTime = series * item->nExerTime + minutes * 60 + seconds;
}

int CExerViewDoc::GetCurAveBlockNo()
{
    const _EXERDATAITEM* item = GetCurrentDataItem();
    if (!item) return 0;
    const int interval = item->nBlockInterval > 0 ? item->nBlockInterval : 15;
    const int t = item->nCurTime;
    const int d = item->nExerTime;
    if (t < d) return t / interval;
    const int k = (t - d) / interval;
    const int r = (t - d) % interval;
    const int n = item->nExerAveCount + k + (r < interval / 2 ? 0 : 1);
    return std::min(n, item->nExerAveCount + item->nPostAveCount - 1);
}

// ---- stored strips -------------------------------------------------------------------

void CExerViewDoc::MemBlockSeries(const _EXERDATAITEM* pItem, int block, int& series, int& index)
{
    series = (block >= pItem->nExerMemCount && block != 0) ? 1 : 0;
    index = series ? block - pItem->nExerMemCount : block;
}

void CExerViewDoc::SetCurMemBlockNo(int block, _EXERDATAITEM* pItem)
{
    _EXERDATAITEM* item = pItem ? pItem : GetCurrentDataItem();
    if (!item) return;
    int series = 0;
    int index = 0;
    MemBlockSeries(item, block, series, index);
    BYTE time[BLOCK_TIME_BYTES];
    if (index < 0 || !ReadBlockTime(*this, item->pECGData, TAG_MEM_TIME + series, static_cast<UINT>(index), time)) {
        item->nCurTime = block == 0 ? 0 : series * item->nExerTime;
        return;
    }
    item->nCurTime = series * item->nExerTime + time[0] * 60 + time[1];
}

bool CExerViewDoc::ReadMemTime(_EXERDATAITEM* pItem, int block, int& time)
{
    int series = 0;
    int index = 0;
    MemBlockSeries(pItem, block, series, index);
    BYTE bytes[BLOCK_TIME_BYTES];
    if (index < 0 || !ReadBlockTime(*this, pItem->pECGData, TAG_MEM_TIME + series, static_cast<UINT>(index), bytes))
        return false;
    time = series * pItem->nExerTime + static_cast<signed char>(bytes[0]) * 60 + static_cast<signed char>(bytes[1]);
    return true;
}

int CExerViewDoc::GetCurMemBlockNo()
{
    _EXERDATAITEM* item = GetCurrentDataItem();
    if (!item) return 0;
    const int total = item->nExerMemCount + item->nPostMemCount;
    if (total <= 0) return 0;
    const int t = item->nCurTime;
    int first = 0;
    if (!ReadMemTime(item, 0, first)) first = 0;
    if (first >= t) return 0;
    int i = 1;
    for (; i < total; ++i) {
        int time = t;
        if (!ReadMemTime(item, i, time)) time = t;
        if (time >= t) break;
    }
    return std::min(i, total - 1);
}

int CExerViewDoc::IsPostMemBlock()
{
    const _EXERDATAITEM* item = GetCurrentDataItem();
    if (!item || item->nExerMemCount == 0) return 0;
    return GetCurMemBlockNo() >= item->nExerMemCount ? 1 : 0;
}

int CExerViewDoc::GetNearestMemTime(int time)
{
    const _EXERDATAITEM* item = GetCurrentDataItem();
    if (!item) return 0;
    const CArray<int, int>& times = item->arrMemTime;
    const INT_PTR n = times.GetSize();
    if (n == 0) return 0;
    INT_PTR at = 0;
    while (at < n && times[at] < time) ++at;
    if (at == 0) return times[0];
    if (at == n) return times[n - 1];
    const int later = times[at];
    const int earlier = times[at - 1];
    return (later - time) <= (time - earlier) ? later : earlier;
}
