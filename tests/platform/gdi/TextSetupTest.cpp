// The text set-up short of memory, each case in a child process of its own:
// without room for the fonts it fails naming the cause, and once it has run,
// a thread GLib cannot start for the text library ends the process with
// status 1 and a line naming memory, never with a trap signal.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <glib.h>
#include <unistd.h>

#include <string>

#include "platform/gdi/TextLayout.h"
#include "tests/support/MemoryLimit.h"
#include "tests/support/TestSupport.h"

using platform::gdi::PrepareText;
using platform::gdi::TextSetup;
using platform::gdi::TextSetupFailure;

namespace {

// Standard error of the child, sent to `path`.
void ErrorsTo(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) ::dup2(fd, STDERR_FILENO);
}

gpointer WaitFor(gpointer lock)
{
    g_mutex_lock(static_cast<GMutex*>(lock));   // held by the test: the thread keeps its stack
    return nullptr;
}

class TextSetupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!testsupport::MemoryLimitsCanBeTested())
            GTEST_SKIP() << "address-space limits cannot be tested under a sanitizer";
    }

    testsupport::TempDir m_dir;
};

TEST_F(TextSetupTest, WithoutRoomForTheFontsTheSetUpFailsNamingTheCause)
{
    const std::string errors = m_dir.File("stderr");
    const int status = testsupport::RunInChild([&] {
        ErrorsTo(errors);
        const testsupport::ShortOfMemory shortOfMemory(16);
        if (!shortOfMemory.Limited()) return 2;
        if (PrepareText() != TextSetup::NoMemory) return 3;
        if (TextSetupFailure().find("no room for the fonts") == std::string::npos) return 4;
        // Asked again, the answer stands: no half-made set-up is tried a second time.
        return PrepareText() == TextSetup::NoMemory ? 0 : 5;
    });
    EXPECT_EQ(0, status) << testsupport::ReadFileBytes(errors);
}

TEST_F(TextSetupTest, AThreadTheTextLibraryCannotStartEndsTheProcessWithStatusOneNamingMemory)
{
    const std::string errors = m_dir.File("stderr");
    const int status = testsupport::RunInChild([&] {
        ErrorsTo(errors);
        if (PrepareText() != TextSetup::Ready) return 2;
        const testsupport::ShortOfMemory shortOfMemory(0);
        if (!shortOfMemory.Limited()) return 3;
        // Threads that keep their stacks, until GLib cannot start one more.
        static GMutex lock;
        g_mutex_lock(&lock);
        for (int i = 0; i < 100000; ++i) g_thread_unref(g_thread_new("[pango] FcFontSetSort", &WaitFor, &lock));
        return 4;
    });
    const std::string text = testsupport::ReadFileBytes(errors);
    EXPECT_EQ(1, status) << text;
    EXPECT_NE(std::string::npos, text.find("morvelance: not enough memory for text: creating thread '[pango] FcFontSetSort'"))
        << text;
}

}  // namespace
