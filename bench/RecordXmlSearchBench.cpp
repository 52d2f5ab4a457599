// Finding each record's own record XML where many share its name: `info` on
// 16 record files of one stem (s.ecg, s.ECG, ... s.DAT, each of its own
// patient) beside 1,000 older record XMLs of that stem naming no record,
// run by the example host as a process of its own, as a user starts it.
// Each record XML and record file is read once a command, however many of
// the stem's records the command shows.
// Run: <build>/bin/morvelance_bench --benchmark_filter=RecordXmlSearch
#include "bench/BenchPaths.h"
#include "bench/BenchProcess.h"
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <ftw.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tools/Mkrecord.h"

namespace {

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*)
{
    return std::remove(path);
}

std::string HostProgram()
{
    const std::string reader = MORVELANCE_MFER_READ_ONCE;
    return reader.substr(0, reader.rfind('/') + 1) + "morvelance-host";
}

// The 16 spellings of one stem's device records: .ecg and .dat in every case.
std::vector<std::string> RecordNames()
{
    std::vector<std::string> names;
    for (const char* extension : {"ecg", "dat"}) {
        for (int letters = 0; letters < 8; ++letters) {
            std::string name = std::string("s.") + extension;
            for (int i = 0; i < 3; ++i)
                if (letters & (1 << i)) name[2 + i] = static_cast<char>(name[2 + i] - 'a' + 'A');
            names.push_back(name);
        }
    }
    return names;
}

// The folder, or "" when it could not be made.
std::string MakeFolder(int xmls)
{
    char pattern[] = "/tmp/morvelance-xmlsearch-XXXXXX";
    if (!mkdtemp(pattern)) return std::string();
    const std::string folder = pattern;
    std::ostringstream out, err;
    int number = 0;
    for (const std::string& name : RecordNames()) {
        const std::string id = "P-" + std::to_string(++number);
        if (morvelance::RunMkrecord({"synth", "--kind", "rest12", "--id", id, "--out", folder + "/" + name}, out, err) != 0)
            return std::string();
    }
    const std::string model = folder + "/model.xml";
    if (morvelance::RunMkrecord({"xml", "--for", folder + "/s.ecg", "--out", model}, out, err) != 0) return std::string();
    std::ifstream in(model, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::remove(model.c_str());
    for (int i = 0; i < xmls; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "/s20230101%06d.xml", i);
        std::ofstream(folder + name, std::ios::binary) << bytes;
    }
    return folder;
}

bool RunInfo(const std::string& folder)
{
    std::vector<std::string> args = {"info"};
    for (const std::string& name : RecordNames()) args.push_back(name);
    return RunQuietly(HostProgram(), args, folder).ok;
}

void BM_RecordXmlSearchSixteenRecordsOfOneStem(benchmark::State& state)
{
    if (access(HostProgram().c_str(), X_OK) != 0) {
        state.SkipWithError("the example host is not built beside the benchmarks");
        return;
    }
    const int xmls = static_cast<int>(state.range(0));
    const std::string folder = MakeFolder(xmls);
    if (folder.empty()) {
        state.SkipWithError("the record maker could not make the folder");
        return;
    }
    for (auto _ : state) {
        if (!RunInfo(folder)) {
            state.SkipWithError("info failed");
            break;
        }
    }
    state.counters["record_xmls"] = xmls;
    nftw(folder.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}
BENCHMARK(BM_RecordXmlSearchSixteenRecordsOfOneStem)->Arg(0)->Arg(1000)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
