#include "core/ConstTables.h"

const wchar_t* const g_strLeadName[12] = {L"I",  L"II", L"III", L"aVR", L"aVL", L"aVF",
                                          L"V1", L"V2", L"V3",  L"V4",  L"V5",  L"V6"};

const wchar_t* const g_strExtraLeadName[19] = {L"ND",  L"NA",  L"NI",  L"NASA", L"CM2", L"ML",  L"V8",
                                               L"2LL", L"2LM", L"2LH", L"3LL",  L"3LM", L"3LH", L"4LL",
                                               L"4LM", L"4LH", L"APL", L"APM",  L"APH"};

const wchar_t* const g_strRRListName[9] = {L"時間", L"最大RR", L"最小RR", L"平均RR", L"心拍数",
                                           L"SD",   L"RR50",   L"%RR50",  L"CV"};
const wchar_t* const g_strRRListUnit[9] = {L"(min)", L"(s)", L"(s)", L"(s)", L"(/min)", L"", L"", L"(%)", L"(%)"};

const wchar_t* const g_strSerialKindLabel[7] = {L"   安静時",      L"マスタステップ", L"   負荷後", L"安静時15誘導",
                                                L"マスタ後15誘導", L"負荷後15誘導",   L"   MFER"};

namespace {

// MFER lead codes 0 to 30, then 61 to 69.
const wchar_t* const kMferLow[31] = {L"",    L"I",   L"II",  L"V1",  L"V2",  L"V3", L"V4", L"V5",
                                     L"V6",  L"V7",  L"V2R", L"V3R", L"V4R", L"V5R", L"V6R", L"V7R",
                                     L"X",   L"Y",   L"Z",   L"CC5", L"CM5", L"LA", L"RA", L"LL",
                                     L"I",   L"E",   L"C",   L"A",   L"M",   L"F",  L"H"};
const wchar_t* const kMferHigh[9] = {L"III", L"aVR", L"aVL", L"aVF", L"(-aVR)", L"V8", L"V9", L"V8R", L"V9R"};

}  // namespace

const wchar_t* GetMFERLeadCodeName(int code)
{
    if (code >= 0 && code <= 30) return kMferLow[code];
    if (code >= 61 && code <= 69) return kMferHigh[code - 61];
    return L"";
}

const wchar_t* GetExtraLeadCodeName(int code)
{
    if (code >= 100 && code <= 118) return g_strExtraLeadName[code - 100];
    return L"";
}
