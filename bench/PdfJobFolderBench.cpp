// A host print's job folder in a busy temporary folder: the folder made
// (after the sweep of the folders killed jobs left) and removed again, beside
// 0, 500 and 2,500 entries of other programs. The sweep looks only at the
// names of its own jobs: the time grows with the reading of the folder's
// names alone, not by a look at each entry (which cost about 2.5 us an
// entry, 20 ms at 6,000).
#include "bench/BenchTempFolder.h"
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "host/PdfJobFolder.h"

namespace {

// TMPDIR turned to a folder for the time of one benchmark.
class TempRootAt {
public:
    explicit TempRootAt(const std::string& folder)
    {
        const char* old = std::getenv("TMPDIR");
        m_had = old != nullptr;
        if (old) m_old = old;
        setenv("TMPDIR", folder.c_str(), 1);
    }
    ~TempRootAt()
    {
        if (m_had)
            setenv("TMPDIR", m_old.c_str(), 1);
        else
            unsetenv("TMPDIR");
    }

private:
    bool m_had = false;
    std::string m_old;
};

// A temporary folder holding `others` entries of other programs, made once
// a run for each size (making thousands of files takes seconds) and removed
// when the program ends.
const std::string& FolderWithOthers(int others)
{
    static std::map<int, std::unique_ptr<benchtemp::TempFolder>> made;
    std::unique_ptr<benchtemp::TempFolder>& folder = made[others];
    if (!folder) {
        folder = std::make_unique<benchtemp::TempFolder>("morvelance-jobfolder-bench");
        for (int i = 0; i < others && !folder->Path().empty(); ++i)
            std::ofstream(folder->Path() + "/other-" + std::to_string(i)) << "x";
    }
    return folder->Path();
}

void BM_JobFolderBesideOtherEntries(benchmark::State& state)
{
    const int others = static_cast<int>(state.range(0));
    const std::string& root = FolderWithOthers(others);
    if (root.empty()) return state.SkipWithError("no temporary folder");
    const TempRootAt tmp(root);
    for (auto _ : state) {
        const std::string folder = host::MakeTempFolder();
        if (folder.empty()) return state.SkipWithError("the job folder was not made");
        host::RemoveTree(folder);
    }
    state.counters["entries"] = others;
}
BENCHMARK(BM_JobFolderBesideOtherEntries)->Arg(0)->Arg(500)->Arg(2500)->Unit(benchmark::kMicrosecond);

}  // namespace
