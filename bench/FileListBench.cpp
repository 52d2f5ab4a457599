// Listing a folder of 1,000 record files the way the host's file list does
// (CTavrionDoc::ReadFile on each, no document opened): half device records,
// half MFER files, each 12 leads × 10 s.
#include <benchmark/benchmark.h>

#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/FileItemInfo.h"
#include "core/TavrionDoc.h"
#include "tools/DeviceRecord.h"
#include "tools/EcgModel.h"
#include "tools/MferWriter.h"

using namespace morvelance;

namespace {

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A folder of copies of one device record and one MFER file.
std::string MakeFolder(int files)
{
    char pattern[] = "/tmp/morvelance-filelist-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (!made) return std::string();
    const std::string folder = made;
    SynthOptions synth;
    synth.seconds = 10.0;
    const EcgRecord ecg = Synthesize(synth);
    DeviceRecordOptions options;
    options.kind = rec::RecordKind::Rest12;
    MakeDeviceRecord(ecg, options).WriteFile(folder + "/model.ecg", zarn::Flavour::Newer90);
    MferOptions mfer;
    std::string error;
    WriteMferFile(folder + "/model.mwf", MferKindRecord(MferKind::Plain, 12, 10.0), mfer, &error);
    const std::string device = ReadBytes(folder + "/model.ecg");
    const std::string wave = ReadBytes(folder + "/model.mwf");
    for (int i = 0; i < files; ++i) {
        const bool isMfer = (i % 2) == 1;
        const std::string name = folder + "/r" + std::to_string(i) + (isMfer ? ".mwf" : ".ecg");
        std::ofstream(name, std::ios::binary) << (isMfer ? wave : device);
    }
    std::remove((folder + "/model.ecg").c_str());
    std::remove((folder + "/model.mwf").c_str());
    return folder;
}

std::vector<std::string> ListFolder(const std::string& folder)
{
    std::vector<std::string> paths;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return paths;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") paths.push_back(folder + "/" + name);
    }
    closedir(dir);
    return paths;
}

void BM_ListThousandRecordFiles(benchmark::State& state)
{
    const std::string folder = MakeFolder(1000);
    if (folder.empty()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    CTavrionDoc doc;
    int read = 0;
    for (auto _ : state) {
        read = 0;
        for (const std::string& path : ListFolder(folder)) {
            _FILEITEM_INFO info;
            if (doc.ReadFile(CString(path.c_str()), L"", L"", &info) != 1) ++read;
        }
        benchmark::DoNotOptimize(read);
    }
    state.counters["files_read"] = read;
    std::system(("rm -rf '" + folder + "'").c_str());
}
BENCHMARK(BM_ListThousandRecordFiles)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
