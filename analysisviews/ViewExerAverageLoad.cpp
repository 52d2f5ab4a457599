// CViewExerAverage: loading the beats, ST levels, measuring offsets and beat
// records of the current block for the layout shown.
#include <algorithm>
#include <vector>

#include "analysisviews/ViewExerAverage.h"
#include "core/MemoryHelpers.h"
#include "documents/ExerTags.h"

using namespace exer;

namespace {

const int THREE_LEAD_CODE = 250;
const int THREE_LEADS = 3;
// The second value of a missing beat record.
const int kMissingSecondValue = 350;
// A reference position must lie past this many samples to count.
const int kMinReference = 60;
const int kSeriesSeconds = 15;
const int kRestCellOfSixLeads[6] = {0, 1, 2, 6, 7, 8};

}  // namespace

int CViewExerAverage::StoredLead(int displayLead) const
{
    const _EXERDATAITEM* item = CurrentItem();
    return static_cast<int>(
        CTavrionDoc::GetDataLeadID(static_cast<UINT>(displayLead), item ? static_cast<int>(item->uSystemCode) : 0));
}

void CViewExerAverage::ReadBeatRecord(int slot, int recovery, int block)
{
    int* record = m_reference[slot];
    record[0] = 0;
    record[1] = kMissingSecondValue;
    record[2] = 0;
    const _EXERDATAITEM* item = CurrentItem();
    std::vector<BYTE> bytes;
    if (!item || block < 0 ||
        !ReadItem(*GetExerDoc(), item->pECGData, recovery ? TAG_BEAT_REF_POST : TAG_BEAT_REF_EXER,
                  static_cast<UINT>(block), bytes))
        return;
    short value = 0;
    record[0] = ItemShort(bytes, 0, value) ? value : 0;
    record[1] = ItemShort(bytes, 2, value) ? value : kMissingSecondValue;
    record[2] = ItemShort(bytes, 4, value) && value > kMinReference ? value : 0;
}

int CViewExerAverage::ReadSeriesWord(UINT tagBase, int lead, int index, int missing)
{
    const _EXERDATAITEM* item = CurrentItem();
    std::vector<BYTE> bytes;
    if (!item || lead < 0 || index < 0 ||
        !ReadItem(*GetExerDoc(), item->pECGData, tagBase + static_cast<UINT>(lead), 0, bytes))
        return missing;
    // A block past the words the series holds has no value.
    short value = 0;
    return ItemShort(bytes, static_cast<size_t>(index) * 2, value) ? value : missing;
}

// The ST level and measuring offset of the current block.
void CViewExerAverage::LoadCurrentValues(int cell, int lead, int recovery, int block)
{
    const _EXERDATAITEM* item = CurrentItem();
    const int index = item->nBlockInterval * block / kSeriesSeconds + (recovery ? 0 : 1);
    ExerBeat& beat = m_beats[cell];
    beat.nStLevel = ReadSeriesWord(recovery ? TAG_ST_POST : TAG_ST_EXER, lead, index, CExerBeatCell::NO_VALUE);
    beat.nMeasOffset =
        std::max(0, ReadSeriesWord(recovery ? TAG_MEAS_OFFSET_POST : TAG_MEAS_OFFSET_EXER, lead, index, 0));
    beat.nReference = m_reference[1][2];
}

void CViewExerAverage::LoadBeat(int cell, int lead, BOOL rest)
{
    CExerViewDoc* doc = GetExerDoc();
    ExerBeat& beat = m_beats[cell];
    MemoryFree(beat.pSamples);
    beat.pSamples = nullptr;
    beat.nLength = 0;
    // Without a rate the beat has no width: it is not drawn.
    if (m_nSampleRate <= 0) return;
    const int reference = m_reference[rest ? 0 : 1][2];
    auto get = [&](short* buffer) {
        return rest ? doc->GetRestWave(lead, buffer, reference) : doc->GetAverageWave(lead, buffer, reference);
    };
    const int bytes = get(nullptr);
    if (bytes < 2) return;
    auto* samples = static_cast<short*>(MemoryAlloc(static_cast<UINT>(bytes / 2 * 2)));
    if (!samples) return;
    if (get(samples) <= 0) {
        MemoryFree(samples);
        return;
    }
    beat.pSamples = samples;
    beat.nLength = bytes / 2;
}

void CViewExerAverage::Update12LeadDisplay(int recovery, int block)
{
    const _EXERDATAITEM* item = CurrentItem();
    ReadBeatRecord(1, recovery, block);
    const bool threeLeads = (item->uSystemCode & 0xFF) == THREE_LEAD_CODE;
    for (int display = 0; display < CELLS; ++display) {
        const int lead = StoredLead(display);
        LoadCurrentValues(display, lead, recovery, block);
        // A three-lead recording has no beat past its third lead; the fourth
        // lead's values are read all the same, as the recorder lays them.
        if (threeLeads && display >= THREE_LEADS) break;
        LoadBeat(display, lead, FALSE);
    }
}

void CViewExerAverage::LoadRestAndCurrent(int displayLead, int restCell, int currentCell, int recovery, int block)
{
    const int lead = StoredLead(displayLead);
    ExerBeat& rest = m_beats[restCell];
    rest.nStLevel = ReadSeriesWord(TAG_ST_EXER, lead, 0, CExerBeatCell::NO_VALUE);
    const _EXERDATAITEM* item = CurrentItem();
    rest.nMeasOffset = std::max(0, item->nRestMeasOffset);
    rest.nReference = m_reference[0][2];
    LoadBeat(restCell, lead, TRUE);
    LoadCurrentValues(currentCell, lead, recovery, block);
    LoadBeat(currentCell, lead, FALSE);
}

void CViewExerAverage::Update6LeadDisplay(int recovery, int block)
{
    const _EXERDATAITEM* item = CurrentItem();
    ReadBeatRecord(0, 0, 0);
    ReadBeatRecord(1, recovery, block);
    for (int k = 0; k < EXER_SIX_LEADS; ++k)
        LoadRestAndCurrent(item->nLead6[k], kRestCellOfSixLeads[k], kRestCellOfSixLeads[k] + 3, recovery, block);
}

void CViewExerAverage::Update1LeadDisplay(int recovery, int block)
{
    const _EXERDATAITEM* item = CurrentItem();
    ReadBeatRecord(0, 0, 0);
    ReadBeatRecord(1, recovery, block);
    LoadRestAndCurrent(item->nLead1, 0, 1, recovery, block);
}
