#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <memory>

#include "host/HostPlatform.h"
#include "host/HostWindow.h"
#include "host/TerminationRequest.h"

namespace {

int countEndSessions(HostWindow& window)
{
    int count = 0;
    WindowMessage message;
    while (window.peekMessage(message))
        count += message.message == WM_ENDSESSION && message.wParam == 1;
    return count;
}

// Runs in a child process: the handlers stay there. Exit code 0 when a
// SIGTERM before the window exists and a SIGINT later each reach the real
// (dummy-driver) window once as WM_ENDSESSION, and the process lives through both.
[[noreturn]] void signalsDuringTheStart()
{
    catchTerminationSignals();
    catchTerminationSignals();
    std::raise(SIGTERM);
    std::unique_ptr<HostWindow> window = HostPlatform::current().createWindow();
    WindowSettings settings;
    settings.title = "signals";
    std::string error;
    if (!window->open(settings, &error))
        std::_Exit(10);
    if (countEndSessions(*window) != 1)
        std::_Exit(11);
    if (countEndSessions(*window) != 0)
        std::_Exit(12);
    std::raise(SIGINT);
    std::raise(SIGINT);
    if (countEndSessions(*window) != 1)
        std::_Exit(13);
    window->close();
    std::raise(SIGTERM);
    if (!takeTerminationRequest() || takeTerminationRequest())
        std::_Exit(14);
    std::_Exit(0);
}

} // namespace

TEST(TerminationRequest, SignalsAtAnyMomentOfTheStartReachTheWindowOnce)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(signalsDuringTheStart(), ::testing::ExitedWithCode(0), "");
}

// A closed terminal ends the game as a kill does: noted, and the process lives on to save.
TEST(TerminationRequest, HangUpIsATerminationRequest)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            catchTerminationSignals();
            std::raise(SIGHUP);
            std::_Exit(takeTerminationRequest() && !takeTerminationRequest() ? 0 : 20);
        },
        ::testing::ExitedWithCode(0), "");
}

// A message box asks whether a request is pending while it waits; asking
// leaves the request for the window.
TEST(TerminationRequest, APendingRequestStaysUntilTaken)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            catchTerminationSignals();
            const bool quietBefore = !terminationRequestPending();
            std::raise(SIGTERM);
            const bool pending = terminationRequestPending() && terminationRequestPending();
            const bool taken = takeTerminationRequest();
            std::_Exit(quietBefore && pending && taken && !terminationRequestPending() ? 0 : 30);
        },
        ::testing::ExitedWithCode(0), "");
}
