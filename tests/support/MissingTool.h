#pragma once

#include <cstdlib>

#include <gtest/gtest.h>

// Leaves a test that needs something the set-up installs. Skipped on a
// developer's machine that lacks it; with the variable CI set it fails, so
// that a CI run cannot pass without its checks.
#define SKIP_FOR_MISSING_TOOL(reason)                                                                    \
    do {                                                                                                 \
        const char* ci = std::getenv("CI");                                                              \
        if (ci && *ci)                                                                                   \
            FAIL() << (reason) << " (CI is set: run tools/setup-deps.sh)";                              \
        GTEST_SKIP() << (reason);                                                                        \
    } while (false)
