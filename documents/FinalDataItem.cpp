#include "documents/FinalDataItem.h"

#include <cstring>

_FINAL_WAVE_INFO::_FINAL_WAVE_INFO()
    : sTrendCount(0), pHeartRate(nullptr), pTrendTime(nullptr), sTrend{}, pStatus(nullptr)
{
}

_FINAL_WAVE_INFO::~_FINAL_WAVE_INFO()
{
    FreeTrend();
}

void _FINAL_WAVE_INFO::FreeTrend()
{
    MemoryFree(pHeartRate);
    MemoryFree(pTrendTime);
    MemoryFree(pStatus);
    pHeartRate = pTrendTime = pStatus = nullptr;
    sTrendCount = 0;
    std::memset(sTrend, 0, sizeof(sTrend));
}

_FINALDATAITEM::_FINALDATAITEM()
    : nID(-1),
      uSystemCode(1),
      dtReserved(0.0),
      nKind(0),
      pECGData(nullptr),
      nDescentTable(-1),
      nDescentLead(-1),
      nDescentMinute(0),
      nDescentSecond(0),
      nLoadCount(0),
      nCurLoadIndex(-1),
      bRequestSection(0),
      pRestAverageWave(nullptr),
      nRestStart(0),
      nRestEnd(0),
      sRestST{},
      sRestQrsOnset(0),
      sRestStatus(1),
      sRestHeartRate(0),
      pLoadInfo(nullptr),
      pAnnoHead(nullptr),
      pNext(nullptr),
      nFilter(100),
      fSense(10.0f)
{
}

_FINALDATAITEM::~_FINALDATAITEM()
{
    FreeLoadInfo();
    DeleteAnnotationChain(pAnnoHead);
    MemoryFree(pRestAverageWave);
    pRestAverageWave = nullptr;
    FreeECGData(pECGData);
}

void _FINALDATAITEM::FreeLoadInfo()
{
    if (pLoadInfo) {
        for (int i = 0; i < nLoadCount; ++i) MemoryFree(pLoadInfo[i].pAverageWave);
    }
    MemoryFree(pLoadInfo);
    pLoadInfo = nullptr;
    nLoadCount = 0;
}
