// While a job's document goes to the print service, the time the service
// takes none of it counts toward the bound as the pauses last: a service
// that reads a long document slowly, but reads all of it inside the bound,
// gets the job and gives it its id; it is not dropped at its first pause.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "platform/print/CupsQueue.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "tests/platform/print/FakeIppService.h"
#include "tests/platform/print/PrintTestSupport.h"

namespace {

using printtest::ScopedEnv;

class CupsDocumentSendWaitTest : public printtest::PrintTest {
protected:
    void SetUp() override
    {
        PrintTest::SetUp();
        ASSERT_GT(m_service.Port(), 0);
        m_server.reset(new ScopedEnv("CUPS_SERVER", m_service.Server()));
        platform::print::PrinterSetup setup;
        setup.name = L"Ward laser";
        setup.port = L"cups:sink";
        ASSERT_TRUE(platform::print::ConfigurePrinter(setup));
    }
    void TearDown() override
    {
        m_server.reset();
        PrintTest::TearDown();
    }

    ipptest::FakeIppService m_service{"sink"};
    // Far past the pauses the service makes: on a loaded machine its
    // reading between them, and its answers to the questions before the
    // job, take longer too, and they count toward the bound as well.
    ScopedEnv m_bound{"MORVELANCE_PRINT_SERVICE_WAIT_MS", "10000"};
    std::unique_ptr<ScopedEnv> m_server;
};

TEST_F(CupsDocumentSendWaitTest, ADocumentTheServiceReadsWithPausesInsideTheBoundIsTaken)
{
    // Eight megabytes read in four parts, the service taking none of it for
    // 0.4 s before each of the last three (longer than the step at which
    // the print layer is asked whether to go on): 1.2 s of a 10 s bound.
    m_service.ReadJobsInPieces(4, std::chrono::milliseconds(400));
    std::string bytes(8 << 20, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>('A' + i % 23);
    platform::ui::MessageBoxRecorder boxes;
    const size_t before = platform::print::CupsHandovers().size();
    EXPECT_EQ(0u, printtest::PrintRaw(L"Ward laser", bytes));
    const auto handovers = platform::print::CupsHandovers();
    ASSERT_EQ(before + 1, handovers.size());
    EXPECT_TRUE(handovers.back().taken) << platform::ToUtf8(handovers.back().cause);
    EXPECT_EQ(7, handovers.back().cupsJob);
    EXPECT_EQ(0, boxes.Count());
    // The service read the document whole, and the spool let the job go.
    const std::vector<std::string> read = m_service.Jobs();
    ASSERT_EQ(1u, read.size());
    ASSERT_GT(read[0].size(), bytes.size());
    EXPECT_TRUE(read[0].compare(read[0].size() - bytes.size(), bytes.size(), bytes) == 0);
    EXPECT_TRUE(Jobs().empty());
}

}  // namespace
