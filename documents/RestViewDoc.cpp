// The resting document: its items, the opening of a record, the waves and
// average beats served to the views, the pacemaker spikes and the working
// drawing settings.
#include "documents/RestViewDoc.h"

#include <cstring>

#include "core/Helpers.h"
#include "core/MemoryHelpers.h"
#include "core/ReferenceIds.h"
#include "documents/AverageSTTexts.h"
#include "documents/RestXmlText.h"

IMPLEMENT_DYNCREATE(CRestViewDoc, CTavrionDoc)

namespace {

const wchar_t* const kMeasureKeys[REST_MEASURE_KEYS] = {
    L"Pa",  L"Ppa", L"Eqd",  L"Qd",  L"Qa",  L"Rd",  L"Ra",  L"Sd",  L"Sa",  L"Rpd", L"Rpa",       L"Spd",
    L"Spa", L"Vat", L"Qrsa", L"Stj", L"Stm", L"Ste", L"Mta", L"Ta",  L"Tpa", L"Tup", L"Delta_wave",
};

// The average beats of the standard leads lie at this tag plus the record's
// lead number, as the device readers hand them out.
const UINT kTagAverageBase = 3730;
const UINT kTagSpikeCount = 4077;
const UINT kTagSpikePosition = 4078;
const UINT kTagSpikeLead = 4079;
const UINT kTagSpikeLeadMap = 4080;
const UINT kTagSpikeExtremes = 4072;
// A one-lead strip longer than this (bytes) keeps its own sensitivity.
const int kRhythmSenseFollowLimit = 100000;

bool HasAverageBeats(unsigned code)
{
    const unsigned low = code & 0xFF;
    return low == 0 || low == 254 || low == 255 || IsRestFifteenLead(code);
}

bool IsSenseID(UINT id)
{
    return id <= 3 || id == 6;
}

short ReadInt16(const BYTE* bytes)
{
    return static_cast<short>(bytes[0] | (bytes[1] << 8));
}

}  // namespace

CRestViewDoc::CRestViewDoc()
    : m_RestPageStyle(1),
      m_nRhythm1Lead12(0),
      m_nRhythm1LeadEx(0),
      m_fWorkSense{},
      m_uRefSenseMode(m_uSenseMode),
      m_nRefChestHalf(m_bChestHalf)
{
    for (int i = 0; i < REST_MEASURE_KEYS; ++i) m_strMeasureKey[i] = kMeasureKeys[i];
    for (int i = 0; i < TAVRION_SENSE_KINDS; ++i) m_fWorkSense[i] = m_fSense[0][i];
    InitCheckArray();
}

CRestViewDoc::~CRestViewDoc()
{
    m_RestDataManager.FreeAll();
}

const CString& CRestViewDoc::GetMeasureKey(int index) const
{
    static const CString kNone;
    if (index < 0 || index >= REST_MEASURE_KEYS) return kNone;
    return m_strMeasureKey[index];
}

int CRestViewDoc::GetCurItemLeadCount()
{
    _RESTDATAITEM* item = GetCurrentDataItem();
    return item ? item->nLeadCount : 255;
}

CString CRestViewDoc::GetCurItemXMLPath()
{
    _RESTDATAITEM* item = GetCurrentDataItem();
    return item ? item->strXMLPath : CString();
}

// ---- opening -----------------------------------------------------------------------

int CRestViewDoc::OpenFile(CString& strXMLPath, CString& strFilePath)
{
    _RESTDATAITEM* item = nullptr;
    const int result = OpenRecordImage(m_RestDataManager, strXMLPath, strFilePath, item);
    if (result != 0) return result;
    ReadRecordKeys(item);
    // The host made the item and may hold it: a record whose reader blob is
    // missing or unreadable fails to open, but the item stays listed.
    if (ecgGetData(item->pECGData, ECG_TAG_BLOB1, 0, nullptr, 0, ECG_DATA_RAW) <= 0) {
        FreeECGData(item->pECGData);
        return 255;
    }
    if (!ReadFirstBlob(item->pECGData)) return 255;

    // Whatever the item held of an earlier opening belongs to another image.
    item->ClearWaveCache();
    item->sSpikeCount = 0;
    item->arrSpikePos.clear();
    item->arrSpikeLead.clear();
    if (IsRestFifteenLead(item->uSystemCode) && !ReadSecondBlob(item->pECGData)) {
        FreeECGData(item->pECGData);
        return 255;
    }
    if (item->nLeadCount != 12 && item->nLeadCount != 15) item->nLeadCount = IsRestFifteenLead(item->uSystemCode) ? 15 : 12;

    DeleteAnnotationChain(item->pAnnoHead);
    item->pAnnoHead = new _ANNOTATION_INFO;
    GetDataInfoFromXMLFile(item);
    FillItemBeatTexts(*item);
    item->strVersion = GetVersionText(strXMLPath);
    if (item->b8000File) Get8000SpikeInfo(item);
    return 0;
}

// A record without a kind keeps the item's; one without a system code has 0.
void CRestViewDoc::ReadRecordKeys(_RESTDATAITEM* item)
{
    signed char kind = 0;
    if (ecgGetData(item->pECGData, ECG_TAG_KIND, 0, &kind, 1, ECG_DATA_RAW) > 0) item->nKind = kind;
    BYTE code[2] = {};
    item->uSystemCode =
        ecgGetData(item->pECGData, ECG_TAG_SYSTEM_CODE, 0, code, sizeof(code), ECG_DATA_RAW) > 0 ? (code[0] | (code[1] << 8)) : 0;
}

BOOL CRestViewDoc::ReadSecondBlob(_ECGDATA* image)
{
    if (!image) return FALSE;
    const long size = ecgGetData(image, ECG_TAG_BLOB2, 0, nullptr, 0, ECG_DATA_RAW);
    if (size <= 0) return TRUE;   // the reader keeps no second blob for this record
    BYTE* blob = static_cast<BYTE*>(MemoryAlloc(static_cast<UINT>(size)));
    if (!blob || ecgGetData(image, ECG_TAG_BLOB2, 0, blob, size, ECG_DATA_RAW) < 1) {
        MemoryFree(blob);
        return FALSE;
    }
    MemoryFree(image->pBlob3855);
    image->pBlob3855 = blob;
    image->dwBlobSize += static_cast<DWORD>(size);
    return TRUE;
}

// ---- waves -----------------------------------------------------------------------

int CRestViewDoc::ChooseFilter(const _RESTDATAITEM* item, int filter) const
{
    if (m_nFilter == 0) return item->nAcqFilter;
    return filter < 0 ? m_nFilter : filter;
}

void CRestViewDoc::LeadTag(const _RESTDATAITEM* item, int lead, UINT& tag, UINT& index) const
{
    const UINT dataID = GetDataLeadID(static_cast<UINT>(lead), static_cast<int>(item->uSystemCode));
    if (lead >= 12 && IsRestFifteenLead(item->uSystemCode)) {
        // The extra leads are stored by their data ids, 0 to 2.
        tag = ECG_TAG_LEAD_BY_INDEX;
        index = dataID;
        return;
    }
    tag = ECG_TAG_LEAD_BASE + dataID;
    index = 0;
}

int CRestViewDoc::GetRhythmWaveData(int lead, short* buffer, int filter)
{
    if (lead < 0 || lead >= REST_DISPLAY_LEADS) return 0;
    _RESTDATAITEM* item = GetCurrentDataItem();
    if (!item || !item->pECGData || !item->pECGData->pBlob3836) return 0;

    const int cutoff = ChooseFilter(item, filter);
    const int noise = IsDelBitNoise() ? 1 : 0;
    std::vector<BYTE>& cache = item->arrWaveCache[lead];
    if (buffer && !cache.empty() && item->nCacheFilter[lead] == cutoff && item->bCacheNoise == noise) {
        std::memcpy(buffer, cache.data(), cache.size());
        return static_cast<int>(cache.size());
    }

    UINT tag = 0, index = 0;
    LeadTag(item, lead, tag, index);
    const long size = GetSampleItem(item->pECGData, tag, index, nullptr);
    if (size <= 0) return 0;
    if (!buffer) return static_cast<int>(size);
    if (GetSampleItem(item->pECGData, tag, index, buffer) != size) return 0;
    const int count = static_cast<int>(size / 2);
    if (!HiCutFilter(static_cast<short>(cutoff), buffer, count)) return 0;
    if (noise) DeleteBitNoise(buffer, static_cast<unsigned>(count));

    // A change of the noise flag makes every lead's cache stale, not only
    // this one's: the others are dropped with it.
    if (item->bCacheNoise != noise) item->ClearWaveCache();
    item->bCacheNoise = noise;
    item->nCacheFilter[lead] = cutoff;
    const BYTE* bytes = reinterpret_cast<const BYTE*>(buffer);
    cache.assign(bytes, bytes + size);
    return static_cast<int>(size);
}

int CRestViewDoc::GetAverageWaveData(int lead, short* buffer, int filter)
{
    if (lead < 0 || lead >= 12) return 0;
    _RESTDATAITEM* item = GetCurrentDataItem();
    if (!item || !item->pECGData || !item->pECGData->pBlob3836) return 0;
    if (!HasAverageBeats(item->uSystemCode)) return 0;

    const UINT tag = kTagAverageBase + GetDataLeadID(static_cast<UINT>(lead), static_cast<int>(item->uSystemCode));
    const long size = GetSampleItem(item->pECGData, tag, 0, nullptr);
    if (size <= 0) return 0;
    if (!buffer) return static_cast<int>(size);
    if (GetSampleItem(item->pECGData, tag, 0, buffer) != size) return 0;
    if (!HiCutFilter(static_cast<short>(ChooseFilter(item, filter)), buffer, static_cast<int>(size / 2))) return 0;
    AdjustRestAveWaveBaseLine(item->pECGData, buffer, static_cast<int>(size));
    return static_cast<int>(size);
}

// ---- pacemaker spikes ---------------------------------------------------------------

int CRestViewDoc::Get8000SpikeInfo(_RESTDATAITEM* item)
{
    if (!item || !item->pECGData) return 0;
    BYTE countBytes[10] = {};
    const long read = ecgGetData(item->pECGData, kTagSpikeCount, 0, countBytes, sizeof(countBytes), ECG_DATA_RAW);
    const short count = read > 0 ? ReadInt16(countBytes) : 0;
    item->sSpikeCount = count;
    if (count <= 0) return 1;
    item->arrSpikePos.assign(static_cast<size_t>(count), 0xFFFF);
    item->arrSpikeLead.assign(static_cast<size_t>(count), 0xFF);
    for (short i = 0; i < count; ++i) {
        BYTE position[2] = {};
        if (ecgGetData(item->pECGData, kTagSpikePosition, static_cast<UINT>(i), position, 2, ECG_DATA_RAW) >= 2)
            item->arrSpikePos[i] = static_cast<WORD>(position[0] | (position[1] << 8));
        BYTE lead = 0;
        if (ecgGetData(item->pECGData, kTagSpikeLead, static_cast<UINT>(i), &lead, 1, ECG_DATA_RAW) >= 1)
            item->arrSpikeLead[i] = lead;
    }
    return 1;
}

int CRestViewDoc::IfPaceMakerON()
{
    _RESTDATAITEM* item = GetCurrentDataItem();
    if (!item || !item->pECGData) return 0;
    BYTE countBytes[10] = {};
    if (ecgGetData(item->pECGData, kTagSpikeCount, 0, countBytes, sizeof(countBytes), ECG_DATA_RAW) <= 0) return 0;
    return ReadInt16(countBytes) >= 1 ? 1 : 0;
}

int CRestViewDoc::GetPaceMakerWaveMaxMin(int lead, short* first, short* second)
{
    _RESTDATAITEM* item = GetCurrentDataItem();
    if (!first || !second || !item || !item->pECGData) return 0;
    int index = lead;
    if (ecgGetData(item->pECGData, kTagSpikeLeadMap, 0, nullptr, 0, ECG_DATA_RAW) > 0) {
        if (lead >= 2 && lead <= 5)
            index = lead + 6;
        else if (lead >= 6 && lead <= 11)
            index = lead - 4;
    }
    // A lead without stored extremes has nothing to measure, as for an empty wave.
    *first = *second = -32768;
    BYTE bytes[4] = {};
    if (index >= 0 &&
        ecgGetData(item->pECGData, kTagSpikeExtremes, static_cast<UINT>(index), bytes, sizeof(bytes), ECG_DATA_RAW) >= 4) {
        *first = ReadInt16(bytes);
        *second = ReadInt16(bytes + 2);
    }
    return 1;
}

// ---- drawing settings -------------------------------------------------------------------

int CRestViewDoc::Is8000File()
{
    _RESTDATAITEM* item = GetCurrentDataItem();
    return item ? item->b8000File : 0;
}

int CRestViewDoc::IsDoctorConfirm()
{
    _RESTDATAITEM* item = GetCurrentDataItem();
    return item ? item->bDoctorConfirm : 0;
}

void CRestViewDoc::SetChestHalf(int bHalf)
{
    m_nRefChestHalf = bHalf;
    m_bChestHalf = bHalf != 0 ? 1 : 0;
}

float CRestViewDoc::GetSpeed()
{
    return m_fSpeed;
}

void CRestViewDoc::SetSpeed(float fSpeed)
{
    m_fSpeed = fSpeed;
}

int CRestViewDoc::GetFilter()
{
    if (m_nFilter != 0) return m_nFilter;
    _RESTDATAITEM* item = GetCurrentDataItem();
    if (!item || item->b8000File) return 100;
    return item->nAcqFilter;
}

void CRestViewDoc::SetFilter(int nFilter)
{
    m_nFilter = nFilter;
}

UINT CRestViewDoc::GetSenseMode()
{
    return m_uSenseMode;
}

void CRestViewDoc::SetSenseMode(UINT mode)
{
    m_uSenseMode = mode;
    m_uRefSenseMode = mode;
}

void CRestViewDoc::InitialSense()
{
    m_uRefSenseMode = m_uSenseMode;
    for (UINT id : {0u, 1u, 3u, 6u}) m_fSense[0][id] = m_fWorkSense[id];
    m_nRefChestHalf = m_bChestHalf;
}

float CRestViewDoc::GetSense(UINT id, int which)
{
    _RESTDATAITEM* item = GetCurrentDataItem();
    // Modes 3 and 4 show the record at the sensitivity it was recorded with.
    if (item && !item->b8000File && (m_uSenseMode == 3 || m_uSenseMode == 4)) {
        const float acquired = item->fAcqSense;
        for (UINT kind : {0u, 1u, 6u}) m_fWorkSense[kind] = m_fSense[0][kind] = m_fSense[1][kind] = acquired;
        if (GetRhythmSenseChangeState() == 1) m_fWorkSense[2] = acquired;
    }
    if (id == 9) return m_fWorkSense[2];
    if (!IsSenseID(id)) return 0.0f;
    return m_fSense[which == 0 ? 0 : 1][id];
}

void CRestViewDoc::SetSense(UINT id, float fSense, int adjustMode)
{
    const bool follows = id != 2 || GetRhythmSenseChangeState() == 1;
    if (adjustMode && id != 3 && follows) {
        const UINT old = m_uSenseMode;
        const bool fixed = old == 1 || old == 3;
        SetSenseMode(fixed ? 1 : 2);
        SetReferenceIntoXML(REFERENCE_SENSE_MODE, 0);
        if ((fixed && old == 3) || (!fixed && (old == 4 || old == 5))) {
            for (int arg : {1, 0, 6, 2}) SetReferenceIntoXML(REFERENCE_SENSITIVITY, arg);
        }
    }
    if (!IsSenseID(id)) return;
    m_fWorkSense[id] = fSense;
    m_fSense[0][id] = fSense;
}

int CRestViewDoc::GetRhythmSenseChangeState()
{
    return GetRhythmWaveData(GetRhythm1LeadID(), nullptr, -1) <= kRhythmSenseFollowLimit ? 1 : 0;
}

int CRestViewDoc::GetRhythm1LeadID()
{
    _RESTDATAITEM* item = GetCurrentDataItem();
    if (!item) return 0;
    const bool standard = m_nRhythm1Lead12 >= 0 && m_nRhythm1Lead12 <= 11;
    const int extra = m_nRhythm1LeadEx + 11;
    int lead = 0;
    if (item->nLeadCount == 15 && extra >= 12 && extra <= 14)
        lead = extra;
    else if (item->nLeadCount == 12 || item->nLeadCount == 15)
        lead = standard ? m_nRhythm1Lead12 : 0;
    // The views and host commands that hold the document as a CTavrionDoc
    // read the base's copy of the strip lead.
    m_nRhythm1LeadID = lead;
    return lead;
}

int CRestViewDoc::SetRhythm1LeadID(int lead)
{
    _RESTDATAITEM* item = GetCurrentDataItem();
    if (!item) {
        if (lead < 0 || lead > 14) return 0;
        m_nRhythm1Lead12 = lead >= 12 ? 0 : lead;
        m_nRhythm1LeadEx = lead >= 12 ? lead - 11 : 0;
        m_nRhythm1LeadID = lead;
        return 1;
    }
    if (lead < 0 || lead >= item->nLeadCount) return 0;
    if (item->nLeadCount == 15 && lead >= 12) {
        m_nRhythm1LeadEx = lead - 11;
    } else if (item->nLeadCount == 12 || item->nLeadCount == 15) {
        m_nRhythm1Lead12 = lead;
        m_nRhythm1LeadEx = 0;
    }
    GetRhythm1LeadID();
    return 1;
}
