// Records the benchmarks share: real records of the shared data folder,
// converted by the record maker once per run, and the run's own files in
// /tmp, removed when the program ends.
#pragma once

#include "bench/BenchPaths.h"
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>
#include <string>

#include "documents/RestViewDoc.h"
#include "tools/Mkrecord.h"
#include "tools/RestRecord.h"

namespace benchrecords {

// "/tmp/morvelance-bench-<pid>-<name>": a file of this run, removed (if it
// was made) when the program ends, so that runs leave nothing in /tmp.
inline std::string TempPath(const std::string& name)
{
    struct MadeFiles {
        std::mutex lock;
        std::set<std::string> paths;
        ~MadeFiles()
        {
            for (const std::string& path : paths) std::remove(path.c_str());
        }
    };
    static MadeFiles made;
    const std::string path = "/tmp/morvelance-bench-" + std::to_string(getpid()) + "-" + name;
    std::lock_guard<std::mutex> guard(made.lock);
    made.paths.insert(path);
    return path;
}

// The WFDB record `relative` (below the shared data folder) converted to a
// device record of `kind` at `made`; "" when the data is absent or the
// conversion fails, so that a benchmark can skip.
inline std::string ConvertSharedRecord(const std::string& relative, const std::string& kind, const std::string& made)
{
    const std::string record = std::string(MORVELANCE_SHARED_DATA) + "/" + relative;
    if (!std::ifstream(record + ".hea")) return std::string();
    std::ostringstream out, err;
    if (morvelance::RunMkrecord({"wfdb", "--record", record, "--kind", kind, "--out", made}, out, err) != 0)
        return std::string();
    return made;
}

// Lists the resting record in `doc` as the host does, opens it and makes it
// the current item; false when it does not open.
inline bool OpenRestRecord(CRestViewDoc& doc, const morvelance::RestRecordFiles& files)
{
    auto* item = new _RESTDATAITEM;
    item->strFilePath = CString(files.record.c_str());
    item->strXMLPath = CString(files.xml.c_str());
    doc.GetRestDataManager().AppendItem(item);
    CString xml(files.xml.c_str()), file(files.record.c_str());
    if (doc.OpenFile(xml, file) != 0) return false;
    doc.SetCurDataIndex(item->nID);
    return true;
}

}  // namespace benchrecords
