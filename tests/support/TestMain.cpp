// The test programs start the library the way a host does: a registry that
// names the build's work directory, then the modules' start-up.
#include <gtest/gtest.h>

#include "platform/ui/framework/WinApp.h"
#include "tests/support/TestSupport.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    testsupport::UseRegistryWithWorkDir(testsupport::WorkDir());
    platform::ui::StartModules();
    const int result = RUN_ALL_TESTS();
    platform::ui::StopModules();
    return result;
}
