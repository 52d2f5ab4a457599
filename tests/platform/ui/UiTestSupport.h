// What every windowing test shares: a fixture that fails a test which leaves
// windows behind, and fake module handles for resource tables.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/ui/Wnd.h"
#include "platform/ui/WindowManager.h"

namespace uitest {

// A module handle no loader will ever hand out (they are page-aligned
// addresses of mapped images); good as a registry key.
inline HINSTANCE FakeModule(uintptr_t n)
{
    return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x7A000001u) + n * 0x10u);
}

class WindowLeakCheck : public ::testing::Test {
protected:
    void SetUp() override { m_nWindowsBefore = platform::ui::WindowManager::Instance().WindowCount(); }
    void TearDown() override
    {
        CWnd::DeleteTempMap();
        EXPECT_EQ(m_nWindowsBefore, platform::ui::WindowManager::Instance().WindowCount()) << "windows left behind";
    }

private:
    int m_nWindowsBefore = 0;
};

}  // namespace uitest
