// libFuzzer target for the MFER reader: any bytes are refused or read within
// bounds, and a file that was read answers every call, the averaged beats'
// included, within its own sizes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/mfer/MFERParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CMFERParser parser;
    if (!parser.OpenMFERFromMemory(data, size)) return 0;
    // The recording and the averaged beats (whose channels need not be the
    // recording's), each lead into a buffer of the length the reader gives;
    // one byte more keeps an empty waveform's buffer a real one.
    for (int waveform : {0, 2}) {
        const int length = parser.GetWaveLength(waveform);
        std::vector<unsigned char> buffer(size_t(length > 0 ? length : 0) + 1);
        const int leads = waveform == 0 ? parser.GetLeadCount() : CMFERParser::kMaxChannels;
        for (int lead = -1; lead <= leads; ++lead) parser.GetWaveData(waveform, lead, buffer.data());
    }
    for (int lead = -1; lead <= parser.GetLeadCount(); ++lead) {
        parser.GetLeadName(lead);
        parser.GetLeadCode(lead);
    }
    parser.GetFilter();
    parser.GetMeasureSense();
    parser.GetSamplingFrequency();
    return 0;
}
