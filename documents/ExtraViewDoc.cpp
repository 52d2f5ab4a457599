// The extra-lead document: opening, the record's layout, waves, speed,
// filter, sensitivities and page styles.
#include "documents/ExtraViewDoc.h"
#include "documents/RecordXmlText.h"

#include <cstring>

#include "core/Helpers.h"
#include "core/ReferenceIds.h"

IMPLEMENT_DYNCREATE(CExtraViewDoc, CTavrionDoc)

BEGIN_MESSAGE_MAP(CExtraViewDoc, CTavrionDoc)
END_MESSAGE_MAP()

namespace {

const UINT TAG_LEAD_SAMPLES = ECG_TAG_LEAD_BY_INDEX;   // 3849: one lead by index
const UINT TAG_FIRST_LEAD = ECG_TAG_LEAD_BASE;         // 3700: its size gives the strip's length
const UINT TAG_3854 = 3854;
const UINT TAG_SPEED_CODE = 4092;
const UINT TAG_LAYOUT = 4093;
const UINT TAG_ARRANGEMENT = 4094;
const UINT TAG_MODE = 4095;
const UINT TAG_ELECTRODE = 4097;
const UINT TAG_EXTRA_SET = 4098;

const float kSpeeds[5] = {5.0f, 10.0f, 12.5f, 25.0f, 50.0f};   // by the recording's speed code

bool IsAcceptedSpeed(float value)
{
    return value == 0.0f || value == 5.0f || value == 10.0f || value == 12.5f || value == 25.0f || value == 50.0f;
}

bool IsAcceptedFilter(int value)
{
    return IsDisplayFilter(value);
}

// Freeze leads EXT1 to EXT6 are shown unfiltered.
bool IsFreezeLeadCode(int code)
{
    return code >= 119 && code <= 124;
}

}  // namespace

CExtraViewDoc::CExtraViewDoc() : m_dwReserved(0), m_nPageStyle(1)
{
    InitCheckArray();
}

CExtraViewDoc::~CExtraViewDoc()
{
    m_ExtraDataManager.FreeAll();
}

void CExtraViewDoc::InitCheckArray()
{
    InitCheckArrayRhyRR();
}

_EXTRADATAITEM* CExtraViewDoc::GetCurrentDataItem()
{
    return m_ExtraDataManager.GetItem(m_nCurDataIndex);
}

int CExtraViewDoc::GetCurItemLeadCount()
{
    _EXTRADATAITEM* item = GetCurrentDataItem();
    if (!item) return 255;
    // The lead-count type the record's layout items give, the count the file
    // list shows too: the extra leads and a rhythm strip when the record has
    // one (3, 4, 6 or 7), a freeze record's leads as its layout item counts
    // them. The record XML's lead names do not decide it.
    const _EXTRAINFO& info = item->stExtraInfo;
    return item->IsFreeze() ? info.nLeadCount : info.nLeadCount + (info.bRhythm ? 1 : 0);
}

// ---- opening ----------------------------------------------------------------------

int CExtraViewDoc::OpenFile(CString& strXMLPath, CString& strFilePath)
{
    // A failed opening keeps the host's item: a record without the reader's
    // blob leaves it without an image, one whose blob cannot be had or read
    // leaves it the image without the blob.
    _EXTRADATAITEM* item = nullptr;
    const int common = OpenRecordCommon(m_ExtraDataManager, strXMLPath, strFilePath, item);
    if (common != 0) return common;

    DeleteAnnotationChain(item->pAnnoHead);
    item->pAnnoHead = new _ANNOTATION_INFO;
    GetDataInfoFromXMLFile(item);
    GetDataInfoFromECGFile(item);
    item->strVersion = GetVersionText(item->strXMLPath);
    GetExtraInfo(item, item->stExtraInfo);
    AlignStoredSense(item);
    if (item->stExtraInfo.bRhythm) SetStripSense(item);
    return 0;
}

int CExtraViewDoc::GetDataInfoFromECGFile(_EXTRADATAITEM* item)
{
    if (!item) return 255;
    short value = 0;
    item->usTag3854 = ReadShortTag(item->pECGData, TAG_3854, 0, value) ? static_cast<unsigned short>(value) : 0;
    // Tag 3854 is the recording's start as the rhythm records keep it: minute, then second.
    item->byStartMinute = static_cast<BYTE>(item->usTag3854 & 0xFF);
    item->byStartSecond = static_cast<BYTE>(item->usTag3854 >> 8);
    return 0;
}

bool CExtraViewDoc::ReadShortTag(_ECGDATA* image, UINT tag, UINT index, short& value)
{
    const long size = ecgGetData(image, tag, index, nullptr, 0, ECG_DATA_RAW);
    if (size < 1) return false;
    // The item may be longer than the value: only its first bytes are read.
    BYTE bytes[8] = {};
    const long length = size < static_cast<long>(sizeof bytes) ? size : static_cast<long>(sizeof bytes);
    if (ecgGetData(image, tag, index, bytes, length, ECG_DATA_RAW) < 1) return false;
    value = static_cast<short>(bytes[0] | (bytes[1] << 8));
    return true;
}

void CExtraViewDoc::GetExtraInfo(_EXTRADATAITEM* item, _EXTRAINFO& info)
{
    if (!item) return;
    // A record opened again is described afresh, not on top of what it was.
    info = _EXTRAINFO();
    _ECGDATA* image = item->pECGData;
    info.bNotFreeze = item->IsFreeze() ? 0 : 1;
    short layout = 0;
    if (!ReadShortTag(image, TAG_LAYOUT, 0, layout)) layout = 0;

    if (item->IsFreeze()) {
        // The count comes from the record: it is kept within the six leads a
        // freeze record has, since views index their lead names by it.
        info.nLeadCount = layout < 0 ? 0 : (layout > LEAD_NAME_FREEZE ? LEAD_NAME_FREEZE : layout);
        info.nPageStyle = 5;
        info.bRhythm = 0;
        info.nExtraSet = 2;
        return;
    }

    short mode = 0;
    if (ReadShortTag(image, TAG_MODE, 0, mode)) info.nRecordMode = mode;
    auto set = [&info](int count, int style, int rhythm) {
        info.nLeadCount = count;
        info.nPageStyle = style;
        info.bRhythm = rhythm;
    };

    if (info.nRecordMode != 1) {
        short arrangement = 3;
        if (!ReadShortTag(image, TAG_ARRANGEMENT, 0, arrangement)) arrangement = 3;
        switch (arrangement) {
        case 3: set(3, 1, 0); break;
        case 6: set(6, 5, 0); break;
        case 259:
            set(3, 3, 1);
            m_nRhythm1LeadID = 3;
            break;
        default: break;
        }
        short extraSet = 0;
        if (ReadShortTag(image, TAG_EXTRA_SET, 0, extraSet)) info.nExtraSet = extraSet;
        return;
    }

    switch (layout) {
    case 0:
    case 1: set(3, 1, 0); break;
    case 2:
        set(3, 3, 1);
        m_nRhythm1LeadID = 3;
        break;
    case 3: set(6, 7, 0); break;
    case 4:
        set(6, 13, 1);
        m_nRhythm1LeadID = 6;
        break;
    case 5: set(6, 5, 0); break;
    default: break;
    }
    info.nExtraSet = 2;
}

void CExtraViewDoc::AlignStoredSense(const _EXTRADATAITEM* item)
{
    _DEFAULT_REF& ref = m_stDefaultRef;
    const _EXTRAINFO& info = item->stExtraInfo;
    if (info.nExtraSet == 5 && info.nLeadCount == 3) {
        ref.RefFloat(REF_EXTRA_SENSE_1) = ref.RefFloat(REF_EXTRA_SENSE_2);
        m_fSense[0][SENSE_EXTRA1] = ref.RefFloat(REF_EXTRA_SENSE_2);
    }
    if (info.nExtraSet != 3 && info.nLeadCount == 3) {
        ref.RefFloat(REF_EXTRA_SENSE_2) = ref.RefFloat(REF_EXTRA_SENSE_1);
        m_fSense[0][SENSE_EXTRA2] = ref.RefFloat(REF_EXTRA_SENSE_1);
    }
}

void CExtraViewDoc::SetStripSense(_EXTRADATAITEM* item)
{
    const long count = ecgGetData(item->pECGData, TAG_FIRST_LEAD, 0, nullptr, 0, ECG_DATA_RAW) / 2;
    // The narrow strip styles fit half as many samples at the same sensitivity.
    const long limit = (m_nPageStyle == 20 || m_nPageStyle == 26) ? 25000 : 50000;
    float sense = 1.25f;
    if (count <= 0)
        sense = 2.5f;
    else if (count <= limit)
        sense = 10.0f;
    else if (count <= 2 * limit)
        sense = 5.0f;
    else if (count <= 3 * limit)
        sense = 2.5f;
    m_fSense[0][SENSE_RHYTHM] = sense;
}

// ---- speed and filter -----------------------------------------------------------------

float CExtraViewDoc::GetSpeed()
{
    const float speed = m_stDefaultRef.RefFloat(REF_EXTRA_SPEED);
    if (speed != 0.0f) return speed;
    _EXTRADATAITEM* item = GetCurrentDataItem();
    short code = -1;
    if (!item || !item->pECGData || !ReadShortTag(item->pECGData, TAG_SPEED_CODE, 0, code)) return 25.0f;
    return (code >= 0 && code < 5) ? kSpeeds[code] : 25.0f;
}

void CExtraViewDoc::SetSpeed(float fSpeed)
{
    if (IsAcceptedSpeed(fSpeed)) m_stDefaultRef.RefFloat(REF_EXTRA_SPEED) = fSpeed;
}

int CExtraViewDoc::GetFilter()
{
    const int filter = m_stDefaultRef.RefInt(REF_EXTRA_FILTER);
    if (filter != 0) return filter;
    _EXTRADATAITEM* item = GetCurrentDataItem();
    return item ? item->nRecFilter : 100;
}

void CExtraViewDoc::SetFilter(int nFilter)
{
    if (IsAcceptedFilter(nFilter)) m_stDefaultRef.RefInt(REF_EXTRA_FILTER) = nFilter;
}

// ---- waves ----------------------------------------------------------------------------

int CExtraViewDoc::GetRhythmWaveData(int lead, short* buffer, int filter)
{
    _EXTRADATAITEM* item = GetCurrentDataItem();
    if (!item || !item->pECGData || !item->pECGData->pBlob3836 || lead < 0) return 0;
    _ECGDATA* image = item->pECGData;
    const long size = GetSampleItem(image, TAG_LEAD_SAMPLES, static_cast<UINT>(lead), nullptr);
    if (size < 1) return 0;
    if (!buffer) return static_cast<int>(size);
    if (GetSampleItem(image, TAG_LEAD_SAMPLES, static_cast<UINT>(lead), buffer) != size) return 0;

    const int own = m_stDefaultRef.RefInt(REF_EXTRA_FILTER);
    int cutoff = filter < 0 ? own : filter;
    // 0 stands for the record's own filter, whether the caller or the
    // settings chose it.
    if (own == 0 || cutoff == 0) cutoff = item->nRecFilter;
    short code = 0;
    if (ReadShortTag(image, TAG_ELECTRODE, static_cast<UINT>(lead), code) && IsFreezeLeadCode(code)) cutoff = 150;

    const int count = static_cast<int>(size / 2);
    if (!HiCutFilter(static_cast<short>(cutoff), buffer, count)) return 0;
    if (IsDelBitNoise()) DeleteBitNoise(buffer, static_cast<unsigned>(count));
    return static_cast<int>(size);
}

// ---- sensitivities --------------------------------------------------------------------

UINT CExtraViewDoc::GetSenseMode()
{
    return static_cast<UINT>(m_stDefaultRef.RefInt(REF_EXTRA_SENSE_MODE));
}

void CExtraViewDoc::SetSenseMode(UINT mode)
{
    if (mode < 1 || mode > 5) return;
    m_stDefaultRef.RefInt(REF_EXTRA_SENSE_MODE) = static_cast<int>(mode);
    m_uSenseMode = mode;
}

void CExtraViewDoc::InitialSense()
{
    m_uSenseMode = static_cast<UINT>(m_stDefaultRef.RefInt(REF_EXTRA_SENSE_MODE));
    m_fSense[0][SENSE_EXTRA1] = m_stDefaultRef.RefFloat(REF_EXTRA_SENSE_1);
    m_fSense[0][SENSE_EXTRA2] = m_stDefaultRef.RefFloat(REF_EXTRA_SENSE_2);
}

float CExtraViewDoc::GetSense(UINT kind, int set)
{
    _EXTRADATAITEM* item = GetCurrentDataItem();
    // Modes 3 and 4 show the record at the sensitivity it was taken with.
    if ((m_uSenseMode == 3 || m_uSenseMode == 4) && item) {
        const float recorded = item->fRecSense;
        for (auto& set : m_fSense) {
            set[SENSE_EXTRA1] = recorded;
            set[SENSE_EXTRA2] = recorded;
        }
        m_stDefaultRef.RefFloat(REF_EXTRA_SENSE_1) = recorded;
        m_stDefaultRef.RefFloat(REF_EXTRA_SENSE_2) = recorded;
        if (GetRhythmSenseChangeState()) m_stDefaultRef.RefFloat(REF_EXTRA_SENSE_RHYTHM) = recorded;
    }
    switch (kind) {
    case SENSE_RHYTHM:
    case SENSE_EXTRA1:
    case SENSE_EXTRA2: return m_fSense[set == 0 ? 0 : 1][kind];
    case SENSE_STORED_RHYTHM: return m_stDefaultRef.RefFloat(REF_EXTRA_SENSE_RHYTHM);
    default: return 0.0f;
    }
}

void CExtraViewDoc::WriteShownSense(const _EXTRADATAITEM* item)
{
    const int type = item ? item->nLeadType : 0;
    if (type == 6 || type == 7) SetReferenceIntoXML(REFERENCE_SENSITIVITY, SENSE_EXTRA2);
    SetReferenceIntoXML(REFERENCE_SENSITIVITY, SENSE_EXTRA1);
    if (type == 4 || type == 7) SetReferenceIntoXML(REFERENCE_SENSITIVITY, SENSE_RHYTHM);
}

void CExtraViewDoc::SetSense(UINT kind, float fSense, int bModeChange)
{
    _EXTRADATAITEM* item = GetCurrentDataItem();
    _DEFAULT_REF& ref = m_stDefaultRef;
    // The strip's state is asked only for a change by hand: asking stores the
    // strip lead as the document's.
    const bool bModeKind = bModeChange && (kind == SENSE_EXTRA1 || kind == SENSE_EXTRA2 ||
                                           (kind == SENSE_RHYTHM && GetRhythmSenseChangeState()));
    if (bModeKind) {
        // A sensitivity chosen by hand ends the automatic modes; what they
        // showed is kept in the record XML first.
        const int old = ref.RefInt(REF_EXTRA_SENSE_MODE);
        const bool bFirstFamily = old == 1 || old == 3;
        const bool bAutomatic = bFirstFamily ? old == 3 : (old == 4 || old == 5);
        if (bAutomatic && item) WriteShownSense(item);
        ref.RefInt(REF_EXTRA_SENSE_MODE) = bFirstFamily ? 1 : 2;
        m_uSenseMode = bFirstFamily ? 1 : 2;
        SetReferenceIntoXML(REFERENCE_SENSE_MODE, 0);
    }

    switch (kind) {
    case SENSE_RHYTHM:
        ref.RefFloat(REF_EXTRA_SENSE_RHYTHM) = fSense;
        m_fSense[0][SENSE_RHYTHM] = fSense;
        break;
    case SENSE_EXTRA1:
        ref.RefFloat(REF_EXTRA_SENSE_1) = fSense;
        m_fSense[0][SENSE_EXTRA1] = fSense;
        break;
    case SENSE_EXTRA2:
        ref.RefFloat(REF_EXTRA_SENSE_2) = fSense;
        m_fSense[0][SENSE_EXTRA2] = fSense;
        break;
    default: return;
    }
    if (!item) return;
    // A three-lead record shows one set: both stored values follow it.
    const _EXTRAINFO& info = item->stExtraInfo;
    if (kind == SENSE_EXTRA2 && info.nLeadCount == 3) {
        ref.RefFloat(REF_EXTRA_SENSE_1) = fSense;
        m_fSense[0][SENSE_EXTRA1] = fSense;
    } else if (kind == SENSE_EXTRA1 && info.nLeadCount == 3 && info.nExtraSet != 3) {
        ref.RefFloat(REF_EXTRA_SENSE_2) = fSense;
        m_fSense[0][SENSE_EXTRA2] = fSense;
    }
}

int CExtraViewDoc::GetRhythmSenseChangeState()
{
    _EXTRADATAITEM* item = GetCurrentDataItem();
    if (!item || (item->nLeadType != 4 && item->nLeadType != 7)) return 0;
    return GetRhythmWaveData(GetRhythm1LeadID(), nullptr, -1) < 100001 ? 1 : 0;
}

int CExtraViewDoc::GetRhythm1LeadID()
{
    _EXTRADATAITEM* item = GetCurrentDataItem();
    if (!item) return 0;
    m_nRhythm1LeadID = item->nLeadType == 4 ? 3 : (item->nLeadType == 7 ? 6 : 0);
    return m_nRhythm1LeadID;
}

// ---- page styles ------------------------------------------------------------------------

int CExtraViewDoc::PageStyleField(const _EXTRADATAITEM* item)
{
    if (!item) return 0;
    if (item->IsFreeze()) return REF_EXTRA_STYLE_FREEZE;
    switch (item->nLeadType) {
    case 3: return REF_EXTRA_STYLE_3;
    case 4: return REF_EXTRA_STYLE_4;
    case 6: return REF_EXTRA_STYLE_6;
    case 7: return REF_EXTRA_STYLE_7;
    default: return 0;
    }
}

bool CExtraViewDoc::IsPageStyleAccepted(const _EXTRADATAITEM* item, _EXTRA_PAGE_STYLE style)
{
    if (!item) return false;
    if (style == 29) return true;
    auto in = [style](std::initializer_list<int> styles) {
        for (int s : styles) {
            if (s == style) return true;
        }
        return false;
    };
    if (item->IsFreeze()) return in({5, 6, 23, 24, 25});
    switch (item->nLeadType) {
    case 3: return in({1, 2, 17, 18, 19});
    case 4: return in({3, 4, 20, 21, 22});
    case 6: return (style >= 5 && style <= 10) || in({23, 24, 25});
    case 7: return (style >= 11 && style <= 16) || in({26, 27, 28});
    default: return false;
    }
}

_EXTRA_PAGE_STYLE CExtraViewDoc::GetPageStyle()
{
    const int field = PageStyleField(GetCurrentDataItem());
    if (field) m_nPageStyle = m_stDefaultRef.RefInt(field);
    return m_nPageStyle;
}

void CExtraViewDoc::SetPageStyle(_EXTRA_PAGE_STYLE style)
{
    _EXTRADATAITEM* item = GetCurrentDataItem();
    if (!item) return;
    const int field = PageStyleField(item);
    if (field) m_stDefaultRef.RefInt(field) = style;
    m_nPageStyle = style;
}
