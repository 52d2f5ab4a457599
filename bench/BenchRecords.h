// Records the benchmarks share: real records of the shared data folder,
// converted by the record maker once per run.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

#include "tools/Mkrecord.h"

namespace benchrecords {

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

}  // namespace benchrecords
