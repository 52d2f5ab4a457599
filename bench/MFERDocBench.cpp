// The MFER document as the host and the views use it: opening a 12-lead
// record of 10 s with its record XML (reader, kind, record XML through the
// layout's paths), and handing every lead to the views through the hi-cut
// filter.
#include "bench/BenchPaths.h"
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <string>
#include <vector>

#include "bench/BenchRecords.h"
#include "core/Globals.h"
#include "documents/MFERViewDoc.h"
#include "platform/base/CodePage.h"
#include "tools/MferWriter.h"
#include "tools/RecordXml.h"

using namespace morvelance;

namespace {

CString Wide(const std::string& text)
{
    return CString(platform::FromUtf8(text).c_str());
}

// Points the library's work directory at the build's assembled one, so that
// the layout tables load, for as long as a benchmark runs. The library owns
// and frees the pointer it had; leaving ours in its place would have it free
// a string it never allocated at exit.
class UseWorkDir {
public:
    UseWorkDir() : m_saved(g_pWorkDir), m_dir(platform::FromUtf8(MORVELANCE_WORKDIR)) { g_pWorkDir = &m_dir[0]; }
    ~UseWorkDir() { g_pWorkDir = m_saved; }
    UseWorkDir(const UseWorkDir&) = delete;
    UseWorkDir& operator=(const UseWorkDir&) = delete;

private:
    wchar_t* m_saved;
    std::wstring m_dir;
};

struct Record {
    std::string mfer;
    std::string xml;
};

const Record& Rest12()
{
    static Record record;
    if (!record.mfer.empty()) return record;
    const std::string mfer = benchrecords::TempPath("mferdoc.mwf");
    const std::string xml = benchrecords::TempPath("mferdoc.xml");
    std::string error;
    if (!WriteMferFile(mfer, MferKindRecord(MferKind::Plain, 12, 10.0, 500.0), MferOptions(), &error))
        return record;
    RecordXmlSource source;
    source.kind = rec::RecordKind::Rest12;
    source.seconds = 10.0;
    WriteRecordXml(xml, source, RecordXmlOptions());
    record.mfer = mfer;
    record.xml = xml;
    return record;
}

_MFERDATAITEM* AddItem(CMFERViewDoc& doc, const Record& record)
{
    _MFERDATAITEM* item = new _MFERDATAITEM;
    item->strFilePath = Wide(record.mfer);
    item->strXMLPath = Wide(record.xml);
    item->nLeadLayout = 12;
    doc.GetMFERDataManager()->AppendItem(item);
    doc.SetCurDataIndex(item->nID);
    return item;
}

void BM_MferDocOpen12Lead(benchmark::State& state)
{
    const UseWorkDir workDir;
    const Record& record = Rest12();
    if (record.mfer.empty()) {
        state.SkipWithError("cannot write the record");
        return;
    }
    for (auto _ : state) {
        CMFERViewDoc doc;
        _MFERDATAITEM* item = AddItem(doc, record);
        CString mfer = item->strFilePath, xml = item->strXMLPath, third;
        benchmark::DoNotOptimize(doc.OpenMFERFile(mfer, xml, third));
    }
}
BENCHMARK(BM_MferDocOpen12Lead)->Unit(benchmark::kMillisecond);

// Every lead handed to the views: with kept:0 read and filtered, the record
// opened again (untimed) before each round so that the document keeps
// nothing; with kept:1 copied from the leads the document kept.
void BM_MferDocFilteredLeads(benchmark::State& state)
{
    const UseWorkDir workDir;
    const Record& record = Rest12();
    const bool kept = state.range(0) != 0;
    CMFERViewDoc doc;
    _MFERDATAITEM* item = AddItem(doc, record);
    auto open = [&]() {
        CString mfer = item->strFilePath, xml = item->strXMLPath, third;
        return doc.OpenMFERFile(mfer, xml, third) == 0;
    };
    if (record.mfer.empty() || !open()) {
        state.SkipWithError("cannot open the record");
        return;
    }
    std::vector<short> lead(size_t(doc.GetRhythmWaveData(0, nullptr, -1) / 2));
    for (int l = 0; l < 12; ++l) doc.GetRhythmWaveData(l, lead.data(), 100);
    for (auto _ : state) {
        if (!kept) {
            state.PauseTiming();
            const bool opened = open();
            state.ResumeTiming();
            if (!opened) {
                state.SkipWithError("cannot open the record again");
                break;
            }
        }
        for (int l = 0; l < 12; ++l) benchmark::DoNotOptimize(doc.GetRhythmWaveData(l, lead.data(), 100));
    }
}
BENCHMARK(BM_MferDocFilteredLeads)->ArgName("kept")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
