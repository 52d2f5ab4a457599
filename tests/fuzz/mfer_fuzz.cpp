// libFuzzer target for the MFER reader: any bytes are refused or read within
// bounds, and a file that was read answers every call within its own sizes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/mfer/MFERParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CMFERParser parser;
    if (!parser.OpenMFERFromMemory(data, size)) return 0;
    const int length = parser.GetWaveLength(0);
    std::vector<unsigned char> buffer(size_t(length > 0 ? length : 0) + 1);
    for (int lead = -1; lead <= parser.GetLeadCount(); ++lead) {
        parser.GetWaveData(0, lead, buffer.data());
        parser.GetLeadName(lead);
        parser.GetLeadCode(lead);
    }
    parser.GetFilter();
    parser.GetMeasureSense();
    parser.GetSamplingFrequency();
    return 0;
}
