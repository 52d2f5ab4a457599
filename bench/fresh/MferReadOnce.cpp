// Opens one MFER file and reads every lead of its recording, as the MFER
// document does, once, in a process of its own: the time a user waits for a
// record picked from the file list, with nothing of an earlier read in the
// process's memory. Prints the nanoseconds of the open and the reads.
// With --fill SAMPLES LEADS it reads nothing and only writes the caller's
// buffers of that size as a read would: what the same process pays for the
// memory it is given, so the reader's own share is the difference.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "platform/mfer/MFERParser.h"

namespace {

// The caller's buffers written sample by sample, as a decoder writes them.
bool FillOnly(size_t samples, int leads, long* sum)
{
    for (int lead = 0; lead < leads; ++lead) {
        std::unique_ptr<short[]> buffer(new (std::nothrow) short[samples + 1]);
        if (!buffer) return false;
        for (size_t i = 0; i <= samples; ++i) buffer[i] = static_cast<short>(i * (lead + 1));
        *sum += buffer[samples / 2];
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--fill") {
        const size_t samples = std::strtoul(argv[2], nullptr, 10);
        const int leads = std::atoi(argv[3]);
        const auto start = std::chrono::steady_clock::now();
        long sum = 0;
        const bool filled = FillOnly(samples, leads, &sum);
        const auto end = std::chrono::steady_clock::now();
        if (!filled) return 1;
        std::printf("%lld %ld\n", static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(end - start).count()), sum);
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: mfer_read_once FILE | --fill SAMPLES LEADS\n");
        return 2;
    }
    const std::string path = argv[1];
    const std::wstring wide(path.begin(), path.end());
    const auto start = std::chrono::steady_clock::now();
    long sum = 0;
    {
        CMFERParser parser;
        if (!parser.OpenMFER(wide.c_str())) return 1;
        const size_t samples = size_t(parser.GetWaveLength(0) / 2);
        for (int lead = 0; lead < parser.GetLeadCount(); ++lead) {
            // The caller's buffer is filled whole by the read: not cleared first.
            std::unique_ptr<short[]> buffer(new (std::nothrow) short[samples + 1]);
            if (!buffer || !parser.GetWaveData(0, lead, buffer.get())) return 1;
            sum += buffer[samples / 2];
        }
    }
    const auto end = std::chrono::steady_clock::now();
    std::printf("%lld %ld\n", static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(end - start).count()), sum);
    return 0;
}
