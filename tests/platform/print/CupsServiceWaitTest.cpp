// How long the print layer waits for a print service that answers slowly:
// the time it keeps a request waiting counts toward the bound as it lasts,
// however many pieces its answer comes in, so that a slow service gets the
// whole bound and no more; an answer that comes inside the bound is taken,
// and the lookups of one print share one bound. A job the service read
// whole and never answered for ends the document, kept in the spool, with
// a warning that it was not confirmed rather than an error.
//
// The service's pauses are sleeps, which a loaded machine only lengthens:
// each case is chosen so that a longer pause cannot turn its outcome (an
// answer inside the bound is far inside it), and a wait's least length is
// measured from before the lookup began; whether a wait was given up is
// told by what the lookup found, not by how short it was.
#include <gtest/gtest.h>

#include <chrono>

#include "platform/print/CupsQueue.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "tests/platform/print/FakeIppService.h"
#include "tests/platform/print/PrintTestSupport.h"

namespace {

using ipptest::FakeIppService;
using printtest::ScopedEnv;
using platform::print::FindCupsPrinter;
using platform::print::PrinterConfig;
using std::chrono::milliseconds;

typedef std::chrono::steady_clock Clock;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class CupsServiceWaitTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_GT(m_service.Port(), 0); }

    // Looks a destination of the service up; how long it took, seconds.
    double LookUp(bool& found, PrinterConfig& printer, const wchar_t* name = L"rawq")
    {
        const Clock::time_point start = Clock::now();
        found = FindCupsPrinter(name, printer);
        return SecondsSince(start);
    }

    FakeIppService m_service{"rawq"};
    ScopedEnv m_server{"CUPS_SERVER", m_service.Server()};
    ScopedEnv m_bound{"MORVELANCE_PRINT_SERVICE_WAIT_MS", "2000"};
};

TEST_F(CupsServiceWaitTest, AnAnswerDrawnOutInPiecesPastTheBoundIsGivenUpAtTheBound)
{
    // Twelve pieces, each after 0.4 s: 4.8 s in all, none of its pauses
    // near the bound by itself.
    m_service.AnswerInPieces(12, milliseconds(400));
    PrinterConfig printer;
    bool found = true;
    const double seconds = LookUp(found, printer);
    // Not found: the answer, whole only after 4.8 s, was given up.
    EXPECT_FALSE(found);
    EXPECT_GE(seconds, 2.0);
    EXPECT_LT(seconds, 2.0 + 15);
}

TEST_F(CupsServiceWaitTest, AnAnswerInPiecesThatEndsInsideTheBoundIsTaken)
{
    // Four pieces, each after 0.35 s (longer than the step at which the
    // print layer is asked whether to go on): 1.4 s of a 10 s bound.
    const ScopedEnv longer("MORVELANCE_PRINT_SERVICE_WAIT_MS", "10000");
    m_service.AnswerInPieces(4, milliseconds(350));
    PrinterConfig printer;
    bool found = false;
    const double seconds = LookUp(found, printer);
    EXPECT_TRUE(found);
    EXPECT_EQ(L"rawq", printer.name);
    EXPECT_GE(seconds, 1.3);
}

TEST_F(CupsServiceWaitTest, TheLookupsOfOnePrintShareOneBound)
{
    // Each answer takes 3 s at least: the first of two lookups in one wait
    // is answered, the second is given up when the 5 s are spent, having
    // 2 s at most where it needs 3. A slower answer only leaves it less.
    const ScopedEnv bound("MORVELANCE_PRINT_SERVICE_WAIT_MS", "5000");
    m_service.AnswerInPieces(3, milliseconds(1000));
    const platform::print::PrintServiceWait wait;
    PrinterConfig printer;
    bool first = false, second = true;
    const double firstSeconds = LookUp(first, printer);
    // Other destinations: one the service described in this wait stays
    // found once the wait is spent (the print goes on to a handover that
    // keeps its job), so only these show a lookup given up.
    const double secondSeconds = LookUp(second, printer, L"rawq2");
    EXPECT_TRUE(first);
    // Given its own bound, it would have been answered.
    EXPECT_FALSE(second);
    EXPECT_GE(firstSeconds + secondSeconds, 5.0);
    EXPECT_LT(firstSeconds + secondSeconds, 5.0 + 15);
    // Once it has left one unanswered, the rest are not waited for at all:
    // the service is not even asked.
    const int asked = m_service.Connections();
    bool third = true;
    LookUp(third, printer, L"rawq3");
    EXPECT_FALSE(third);
    EXPECT_EQ(asked, m_service.Connections());
    // The destination it described is still found, without asking.
    bool again = false;
    LookUp(again, printer);
    EXPECT_EQ(asked, m_service.Connections());
    EXPECT_TRUE(again);
    EXPECT_EQ(L"rawq", printer.name);
}

class CupsUnconfirmedJobTest : public printtest::PrintTest {
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

    FakeIppService m_service{"sink", ipptest::JobAnswer::Never};
    // Time enough for the questions the service answers before the job,
    // which count toward it, on a machine however loaded: it is all waited
    // for the job's answer that never comes.
    ScopedEnv m_bound{"MORVELANCE_PRINT_SERVICE_WAIT_MS", "3000"};
    std::unique_ptr<ScopedEnv> m_server;
};

TEST_F(CupsUnconfirmedJobTest, AJobReadWholeAndNeverAnsweredForEndsWithAWarningAndStaysInTheSpool)
{
    platform::ui::MessageBoxRecorder boxes;
    const std::string bytes = "\x1b" "E a page the service read and never answered for";
    const size_t before = platform::print::CupsHandovers().size();
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(0u, printtest::PrintRaw(L"Ward laser", bytes));
    // The answer was waited for: the print took the bound at least (counted
    // from before it began, so that no load can make it look shorter).
    EXPECT_GE(SecondsSince(start), 3.0);
    // The service read all of it.
    const std::vector<std::string> read = m_service.Jobs();
    ASSERT_EQ(1u, read.size());
    ASSERT_GT(read[0].size(), bytes.size());
    EXPECT_EQ(bytes, read[0].substr(read[0].size() - bytes.size()));
    // It stays in the spool, named in a warning that does not call it failed.
    const auto jobs = Jobs();
    ASSERT_EQ(1u, jobs.size());
    EXPECT_EQ(bytes, testsupport::ReadFileBytes(jobs[0].dataPath));
    ASSERT_EQ(1, boxes.Count());
    const std::wstring text = boxes.Last().text.GetString();
    EXPECT_EQ(static_cast<UINT>(MB_ICONWARNING), boxes.Last().type & MB_ICONMASK);
    EXPECT_NE(std::wstring::npos, text.find(L"Ward laser")) << platform::ToUtf8(text);
    EXPECT_NE(std::wstring::npos, text.find(L"確認しませんでした")) << platform::ToUtf8(text);
    EXPECT_NE(std::wstring::npos, text.find(printtest::W(jobs[0].dataPath))) << platform::ToUtf8(text);
    EXPECT_EQ(std::wstring::npos, text.find(L"印刷できません")) << platform::ToUtf8(text);
    const auto handovers = platform::print::CupsHandovers();
    ASSERT_EQ(before + 1, handovers.size());
    EXPECT_TRUE(handovers.back().unconfirmed);
    EXPECT_FALSE(handovers.back().taken);
    EXPECT_EQ(jobs[0].dataPath, handovers.back().keptData);
}

}  // namespace
