// Starting a test's own X server inside a GoogleTest test: where Xvfb
// cannot be started the test fails when CI is set (CI must run these) and
// is skipped with a message elsewhere.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/support/XvfbServer.h"

#define START_XVFB(server, width, height)                                                     \
    do {                                                                                      \
        std::string why_;                                                                     \
        if (!(server).Start((width), (height), why_)) {                                       \
            if (std::getenv("CI")) FAIL() << "no X server for the display tests: " << why_;   \
            GTEST_SKIP() << "no X server for the display tests: " << why_;                    \
        }                                                                                     \
    } while (0)
