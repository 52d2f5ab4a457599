// The master-step document's average beats and its display state: the
// comparison window, filter, sensitivity and step labels.
#include <algorithm>
#include <cstring>

#include "core/ECGXMLParser.h"
#include "core/Helpers.h"
#include "documents/FinalViewDoc.h"
#include "documents/FinalViewDocPaths.h"

using namespace finalpaths;

namespace {

const int kAverageSamples = 600;   // samples per lead of an average beat
const int kWindowSamples = 400;    // samples of the display window
const int kWindowStart = 80;       // the window shown when the given one is too short
const int kWindowEnd = 480;
const int kAverageLeads = 12;

const UINT kTagRestAverage = 4046;
const UINT kTagLoadAverage = 4055;    // data index: the post-load comparison
const UINT kTagFilterFixed = 4073;    // first 16-bit value non-zero: the device fixed the filter

// The common sensitivity's slot in the base document's sensitivity arrays.
const int kCommonSense = 6;

bool IsMasterStepCode(unsigned code)
{
    const unsigned low = code & 0xFF;
    return low == 243 || low == 244;
}

}  // namespace

int CFinalViewDoc::AdjustWaveDataStartEnd(int& nStart, int& nEnd)
{
    const int s = nStart;
    const int e = nEnd;
    if (e - s + 1 < kWindowSamples) {
        nStart = kWindowStart;
        nEnd = kWindowEnd;
    } else if (s > kWindowStart) {
        nEnd = s + kWindowSamples;
    } else if (e >= kWindowEnd) {
        nStart = kWindowStart;
        nEnd = kWindowEnd;
    } else {
        nStart = e - kWindowSamples;
    }
    nStart = std::max(nStart, 0);
    nEnd = std::min(nEnd, kAverageSamples);
    if (nEnd - nStart < 1) return 0;
    nStart = std::max(nStart, s);
    nEnd = std::min(nEnd, e);
    // Cutting back to the given window can leave nothing of it (a window
    // lying wholly past the beat): that is no window to draw either.
    return nEnd - nStart < 1 ? 0 : 1;
}

int CFinalViewDoc::AdjustWaveDataStartEnd(int* pStart, int* pEnd)
{
    if (!pStart || !pEnd) return 0;
    return AdjustWaveDataStartEnd(*pStart, *pEnd);
}

int CFinalViewDoc::GetWaveData(short* pAverage, UINT uLead, short* pOut, int nSystemCode, int nStart, int nEnd)
{
    AdjustWaveDataStartEnd(nStart, nEnd);
    const int count = nEnd - nStart;
    const UINT lead = GetDataLeadID(uLead, nSystemCode);
    if (count <= 0 || !pAverage || !pOut || lead >= static_cast<UINT>(kAverageLeads)) return count;
    std::memcpy(pOut, pAverage + lead * kAverageSamples + nStart, static_cast<size_t>(count) * sizeof(short));
    return count;
}

int CFinalViewDoc::GetAverageWaveData(int index, short* buffer, int filter)
{
    _FINALDATAITEM* item = GetCurrentDataItem();
    if (!item || !item->pECGData || !item->pECGData->pBlob3836) return 0;
    if (!IsMasterStepCode(item->uSystemCode)) return 0;
    if (index < -2) return 0;
    // The current comparison's own block: its window and ST levels are in
    // pLoadInfo at the same index, so what a view draws is one record.
    if (index == -2) {
        if (item->nCurLoadIndex < 0) return 0;   // no current comparison is no rest beat either
        index = item->nCurLoadIndex;
    }

    const UINT tag = index == -1 ? kTagRestAverage : kTagLoadAverage;
    const UINT dataIndex = index >= 0 ? static_cast<UINT>(index) : 0;
    const long size = GetSampleItem(item->pECGData, tag, dataIndex, nullptr);
    if (!buffer) return size > 0 ? static_cast<int>(size) : 0;
    if (size <= 0) return 0;
    const long read = GetSampleItem(item->pECGData, tag, dataIndex, buffer);
    if (read != size) return 0;

    if (filter < 0) filter = GetFilter();
    if (!HiCutFilter(static_cast<short>(filter), buffer, static_cast<int>(read / 2))) return 0;
    AdjustRestAveWaveBaseLine(item->pECGData, buffer, static_cast<int>(read));
    return static_cast<int>(read);
}

int CFinalViewDoc::GetCurLoadIndex() const
{
    const _FINALDATAITEM* item = GetCurrentDataItem();
    return item ? item->nCurLoadIndex : -1;
}

BOOL CFinalViewDoc::GetPostLoadTime(int& nMinute, int& nSecond) const
{
    const _FINALDATAITEM* item = GetCurrentDataItem();
    if (!item) return FALSE;
    nMinute = item->nDescentMinute;
    nSecond = item->nDescentSecond;
    return TRUE;
}

BOOL CFinalViewDoc::SetCurLoadIndex(int index)
{
    _FINALDATAITEM* item = GetCurrentDataItem();
    if (!item || index < 0 || index >= item->nLoadCount) return FALSE;
    item->nCurLoadIndex = index;
    return TRUE;
}

CString CFinalViewDoc::GetStepMode(short step, int flag)
{
    switch (step) {
    case -2: return flag ? L"1/4S" : L"1/4";
    case -1: return flag ? L"1/2S" : L"1/2";
    case 0: return L"ｼﾝｸﾞ?";
    case 1: return L"ﾀﾞﾌﾞ?";
    case 2: return L"ﾄﾘﾌﾟ?";
    default: return L"*";
    }
}

// ---- filter and sensitivity ------------------------------------------------------------------

int CFinalViewDoc::GetFilter()
{
    const int override = m_stDefaultRef.RefInt(REF_FINAL_FILTER);
    if (override != 0) return override;
    const _FINALDATAITEM* item = GetCurrentDataItem();
    return item ? item->nFilter : 100;
}

void CFinalViewDoc::SetFilter(int nFilter)
{
    m_bSettingSaveFailed = 0;
    m_stDefaultRef.RefInt(REF_FINAL_FILTER) = nFilter;
    _FINALDATAITEM* item = GetCurrentDataItem();
    if (!item) return;
    BYTE fixed[64] = {};
    const long size = ecgGetData(item->pECGData, kTagFilterFixed, 0, nullptr, 0, ECG_DATA_RAW);
    const long want = std::min<long>(size, sizeof(fixed));
    if (want > 0 && ecgGetData(item->pECGData, kTagFilterFixed, 0, fixed, want, ECG_DATA_RAW) > 0 &&
        (fixed[0] | (fixed[1] << 8)) != 0)
        return;
    if (nFilter == 0 || item->strXMLPath.IsEmpty()) return;
    CECGXMLParser xml(item->strXMLPath, 0, CString());
    CString text;
    text.Format(L"%d", nFilter);
    xml.SetDataToXMLDOM(text, kAcqFilter, 4, CString());
    SaveSettingXML(xml);
}

float CFinalViewDoc::GetCommonSense(int set)
{
    const _FINALDATAITEM* item = GetCurrentDataItem();
    if ((m_uSenseMode == 3 || m_uSenseMode == 4) && item) {
        m_fSense[0][kCommonSense] = item->fSense;
        m_fSense[1][kCommonSense] = item->fSense;
    }
    return m_fSense[set ? 1 : 0][kCommonSense];
}

void CFinalViewDoc::SetSense(UINT kind, float fSense, int bModeChange)
{
    if (kind != kCommonSense) return;
    if (bModeChange && (m_uSenseMode == 1 || m_uSenseMode == 3)) {
        m_uSenseMode = 1;
        m_stDefaultRef.RefInt(REF_FINAL_SENSE_MODE) = 1;
        SetReferenceIntoXML(REFERENCE_SENSE_MODE, -1);
    }
    m_fSense[0][kCommonSense] = fSense;
    m_stDefaultRef.RefFloat(REF_FINAL_SENSE) = fSense;
}

UINT CFinalViewDoc::GetSenseMode()
{
    return static_cast<UINT>(m_stDefaultRef.RefInt(REF_FINAL_SENSE_MODE));
}

void CFinalViewDoc::SetSenseMode(UINT mode)
{
    if (mode != 1 && mode != 3) return;
    m_stDefaultRef.RefInt(REF_FINAL_SENSE_MODE) = static_cast<int>(mode);
    m_uSenseMode = mode;
}

void CFinalViewDoc::InitialSense()
{
    m_uSenseMode = static_cast<UINT>(m_stDefaultRef.RefInt(REF_FINAL_SENSE_MODE));
    m_fSense[0][kCommonSense] = m_stDefaultRef.RefFloat(REF_FINAL_SENSE);
}

int CFinalViewDoc::IsDoctorConfirm()
{
    const _FINALDATAITEM* item = GetCurrentDataItem();
    return item ? item->stPatient.bConfirmed : 0;
}
