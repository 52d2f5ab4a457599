// Text short of memory, each case in a child process of its own: without
// room for the fonts the set-up fails naming the cause; once it has run, a
// thread GLib cannot start for the text library ends the process with
// status 1 and a line naming memory, never with a trap signal, and text at
// sizes pango has not met yet, with no memory left, fails as an allocation
// does, never by a crash or a wait without end.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <glib.h>
#include <unistd.h>

#include <sys/resource.h>

#include <csignal>
#include <cwchar>
#include <fstream>
#include <new>
#include <string>

#include "platform/gdi/TextLayout.h"
#include "tests/support/MemoryLimit.h"
#include "tests/support/TestSupport.h"

using platform::gdi::PrepareText;
using platform::gdi::RealizedFont;
using platform::gdi::TextLayout;
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

TEST_F(TextSetupTest, WithoutRoomForTheReserveOfLaterTextTheSetUpFailsNamingTheCause)
{
    const std::string errors = m_dir.File("stderr");
    const int status = testsupport::RunInChild([&] {
        ErrorsTo(errors);
        // Room for the fonts and more, but not for a reserve of a gigabyte.
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t used = static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE));
        struct rlimit limit {};
        ::getrlimit(RLIMIT_AS, &limit);
        limit.rlim_cur = used + (512u << 20);
        if (::setrlimit(RLIMIT_AS, &limit) != 0) return 2;
        platform::gdi::SetLaterTextReserve(size_t(1) << 30);
        if (PrepareText() != TextSetup::NoMemory) return 3;
        return TextSetupFailure().find("no room is left for later text") == std::string::npos ? 4 : 0;
    });
    EXPECT_EQ(0, status) << testsupport::ReadFileBytes(errors);
}

TEST_F(TextSetupTest, AReserveSetAnewAfterTheSetUpIsHeldForTheTextThatFollows)
{
    const std::string errors = m_dir.File("stderr");
    const int status = testsupport::RunInChild([&] {
        ErrorsTo(errors);
        if (PrepareText() != TextSetup::Ready) return 2;
        LOGFONTW log = {};
        log.lfHeight = -12;
        std::wcsncpy(log.lfFaceName, L"MS Gothic", LF_FACESIZE - 1);
        TextLayout& text = TextLayout::Instance();
        const RealizedFont* font = text.Realize(log);
        platform::gdi::SetLaterTextReserve(8u << 20);
        // With no memory left but the reserve, text is laid out in its room.
        const testsupport::ShortOfMemory shortOfMemory(0);
        if (!shortOfMemory.Limited()) return 3;
        try {
            PangoLayout* layout = text.CreateLayout(font, L"ECG", 3);
            const int width = TextLayout::AdvanceWidth(layout);
            g_object_unref(layout);
            return width > 0 ? 0 : 4;
        } catch (const std::bad_alloc&) {
            return 5;
        }
    });
    EXPECT_EQ(0, status) << "5: the text found no reserve\n" << testsupport::ReadFileBytes(errors);
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

TEST_F(TextSetupTest, TextAtNewSizesWithNoMemoryLeftFailsAsAnAllocationDoes)
{
    // Pango sorts the fonts of every new size in threads, and at the very
    // edge of memory what befalls them varies from run to run: several runs.
    for (int run = 1; run <= 20; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        const std::string errors = m_dir.File("stderr");
        const int status = testsupport::RunInChild([&] {
            ErrorsTo(errors);
            ::alarm(10);   // a child left waiting ends by SIGALRM (142)
            if (PrepareText() != TextSetup::Ready) return 2;
            const testsupport::ShortOfMemory shortOfMemory(0);
            if (!shortOfMemory.Limited()) return 3;
            static const wchar_t kSample[] = L"心電図 ECG 0123 连续";
            try {
                for (int height = 13; height < 73; ++height) {
                    LOGFONTW log = {};
                    log.lfHeight = -height;
                    std::wcsncpy(log.lfFaceName, L"MS Gothic", LF_FACESIZE - 1);
                    TextLayout& text = TextLayout::Instance();
                    const RealizedFont* font = text.Realize(log);
                    PangoLayout* layout = text.CreateLayout(font, kSample, (int)(sizeof kSample / sizeof kSample[0]) - 1);
                    if (TextLayout::AdvanceWidth(layout) <= 0) return 4;
                    g_object_unref(layout);
                }
            } catch (const std::bad_alloc&) {
                return 0;
            }
            return 0;
        });
        // 1: the text library could not start a thread, and said so.
        EXPECT_TRUE(status == 0 || status == 1) << "status " << status << "\n" << testsupport::ReadFileBytes(errors);
        if (status == 1) {
            EXPECT_NE(std::string::npos, testsupport::ReadFileBytes(errors).find("not enough memory for text"));
        }
    }
}

}  // namespace
