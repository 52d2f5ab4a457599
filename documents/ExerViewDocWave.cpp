// The exercise document's waves: the resting beat, the average beats of the
// blocks, the stored strips with their average beats, and the four limb leads
// that the record does not store.
#include <algorithm>
#include <new>

#include "documents/ExerTags.h"
#include "documents/ExerViewDoc.h"

using namespace exer;

namespace {

const int LEAD_III = 8;
const int LEAD_AVR = 9;
const int LEAD_AVL = 10;
const int LEAD_AVF = 11;

bool IsStoredLead(int lead)
{
    return lead >= 0 && lead < STORED_LEADS;
}

bool IsDerivedLead(int lead)
{
    return lead >= LEAD_III && lead <= LEAD_AVF;
}

}  // namespace

int CExerViewDoc::ReadStoredWave(UINT tagBase, int lead, UINT index, short* buffer)
{
    _EXERDATAITEM* item = GetCurrentDataItem();
    if (!item) return 0;
    if (IsDerivedLead(lead)) return CalculateWave(tagBase, lead, static_cast<int>(index), buffer);
    if (!IsStoredLead(lead)) return 0;
    const UINT tag = tagBase + static_cast<UINT>(lead);
    const long size = GetSampleItem(item->pECGData, tag, index, nullptr);
    if (size < 1) return 0;
    if (!buffer) return static_cast<int>(size);
    return GetSampleItem(item->pECGData, tag, index, buffer) == size ? static_cast<int>(size) : 0;
}

int CExerViewDoc::CalculateWave(UINT tagBase, int lead, int index, short* buffer)
{
    _EXERDATAITEM* item = GetCurrentDataItem();
    if (!item || index < 0) return 0;
    _ECGDATA* image = item->pECGData;
    const UINT at = static_cast<UINT>(index);
    std::vector<BYTE> leadI;
    std::vector<BYTE> leadII;
    const long sizeI = GetSampleItem(image, tagBase, at, nullptr);
    const long sizeII = GetSampleItem(image, tagBase + 1, at, nullptr);
    const long size = std::min(sizeI, sizeII);
    if (size < 1) return 0;
    if (!buffer) return static_cast<int>(size);
    if (!ReadItem(*this, image, tagBase, at, leadI) || !ReadItem(*this, image, tagBase + 1, at, leadII)) return 0;

    const long count = std::min<long>(size, static_cast<long>(std::min(leadI.size(), leadII.size()))) / 2;
    for (long i = 0; i < count; ++i) {
        const short one = static_cast<short>(leadI[2 * i] | (leadI[2 * i + 1] << 8));
        const short two = static_cast<short>(leadII[2 * i] | (leadII[2 * i + 1] << 8));
        switch (lead) {
        case LEAD_III: buffer[i] = static_cast<short>(two - one); break;
        case LEAD_AVR: buffer[i] = static_cast<short>(-(one + two) >> 1); break;
        case LEAD_AVL: buffer[i] = static_cast<short>(one - (two >> 1)); break;
        case LEAD_AVF: buffer[i] = static_cast<short>(two - (one >> 1)); break;
        default: break;
        }
    }
    return static_cast<int>(size);
}

void CExerViewDoc::AdjustWaveBaseLine(short* buffer, int bytes, int position)
{
    const _EXERDATAITEM* item = GetCurrentDataItem();
    if (!buffer || bytes <= 0 || !item) return;
    const int k = position - item->nOnset;
    const int n = bytes / 2;
    if (k < 0 || k >= n || buffer[k] == 0) return;
    const short base = buffer[k];
    for (int i = 0; i < n; ++i) buffer[i] = static_cast<short>(buffer[i] - base);
}

int CExerViewDoc::GetRestWave(int lead, short* buffer, int position)
{
    const int size = ReadStoredWave(TAG_REST_WAVE, lead, 0, buffer);
    if (buffer && size > 0 && IsStoredLead(lead)) AdjustWaveBaseLine(buffer, size, position);
    return size;
}

int CExerViewDoc::GetAverageWave(int lead, short* buffer, int /*position*/)
{
    _EXERDATAITEM* item = GetCurrentDataItem();
    if (!item) return 0;
    try {
        const int block = GetCurAveBlockNo();
        const bool recovery = block >= item->nExerAveCount;
        int index = recovery ? block - item->nExerAveCount : block;
        // These recorders keep no beat for the last recovery block; with fewer
        // than two recovery blocks the first one stands in.
        if (recovery && item->uSystemCode == 0xFFFA && index >= item->nPostAveCount - 1)
            index = std::max(item->nPostAveCount - 2, 0);
        if (index < 0) return 0;
        const UINT tagBase = recovery ? TAG_AVE_WAVE_POST : TAG_AVE_WAVE_EXER;
        const int size = ReadStoredWave(tagBase, lead, static_cast<UINT>(index), buffer);
        if (buffer && size > 0 && IsStoredLead(lead)) AdjustRestAveWaveBaseLine(item->pECGData, buffer, size);
        return size;
    } catch (const std::bad_alloc&) {
        return 0;   // no memory for the samples: the read failed
    }
}

int CExerViewDoc::GetAverageShowWave(UINT tagBase, int lead, short* buffer, int /*position*/)
{
    _EXERDATAITEM* item = GetCurrentDataItem();
    if (!item) return 0;
    try {
        const int size = ReadStoredWave(tagBase, lead, 0, buffer);
        if (buffer && size > 0 && IsStoredLead(lead)) AdjustRestAveWaveBaseLine(item->pECGData, buffer, size);
        return size;
    } catch (const std::bad_alloc&) {
        return 0;   // no memory for the samples: the read failed
    }
}

int CExerViewDoc::GetCurrentAveWave(int lead, short* buffer, int position)
{
    _EXERDATAITEM* item = GetCurrentDataItem();
    if (!item) return 0;
    int series = 0;
    int index = 0;
    MemBlockSeries(item, GetCurMemBlockNo(), series, index);
    if (index < 0) return 0;
    const int size =
        ReadStoredWave(series ? TAG_STRIP_AVE_POST : TAG_STRIP_AVE_EXER, lead, static_cast<UINT>(index), buffer);
    if (buffer && size > 0 && IsStoredLead(lead)) AdjustWaveBaseLine(buffer, size, position);
    return size;
}

int CExerViewDoc::GetRhythmWave(int lead, short* buffer)
{
    _EXERDATAITEM* item = GetCurrentDataItem();
    if (!item) return 0;
    int series = 0;
    int index = 0;
    MemBlockSeries(item, GetCurMemBlockNo(), series, index);
    if (index < 0) return 0;
    return ReadStoredWave(series ? TAG_STRIP_POST : TAG_STRIP_EXER, lead, static_cast<UINT>(index), buffer);
}
