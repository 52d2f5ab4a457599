// The records the host tests run the host on: the record maker's sample
// records written into a folder of the test's own, and the checks of what
// the host leaves there.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"
#include "tools/Mkrecord.h"

namespace hosttest {

// Runs the record maker with `args`; a failure fails the test.
inline void MakeRecords(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    ASSERT_EQ(0, morvelance::RunMkrecord(args, out, err)) << err.str();
}

// Whether the file is a PNG with more than a header in it.
inline bool IsPng(const std::string& path)
{
    const std::string bytes = testsupport::ReadFileBytes(path);
    return bytes.size() > 100 && bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0;
}

// A test on the sample records, written afresh into the test's folder.
class HostSamplesTest : public ::testing::Test {
protected:
    void SetUp() override { MakeRecords({"samples", m_dir.File("samples")}); }
    // samples/NAME in the test's folder.
    std::string SamplePath(const std::string& name) const { return m_dir.File("samples/" + name); }

    testsupport::TempDir m_dir;
};

}  // namespace hosttest
