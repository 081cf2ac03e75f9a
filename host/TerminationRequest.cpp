#include "host/TerminationRequest.h"

#include <SDL.h>
#include <atomic>
#include <csignal>
#include <unistd.h>

#include "host/HostLog.h"

namespace {

// Lock-free, so that a signal handler may set it on any thread.
std::atomic<bool> requested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

std::atomic<DisplayLostAction> displayLostAction{nullptr};
std::atomic<bool> displayLost{false};

void noteRequest(int)
{
    requested.store(true);
}

} // namespace

void catchTerminationSignals()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    struct sigaction action = {};
    action.sa_handler = noteRequest;
    sigemptyset(&action.sa_mask);
    // Restarted: the threads' reads, writes and waits go on as if nothing came.
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    // A game started from a terminal gets it when the terminal closes.
    sigaction(SIGHUP, &action, nullptr);
    // SDL would otherwise turn them into a quit event of its own, and only
    // once its video has started.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
}

bool takeTerminationRequest()
{
    return requested.exchange(false);
}

bool terminationRequestPending()
{
    return requested.load();
}

void setDisplayLostAction(DisplayLostAction action)
{
    displayLostAction.store(action);
}

void endAfterDisplayLoss()
{
    if (displayLost.exchange(true))
        _exit(1);
    hostLog("display: the connection to the display is lost; saving and ending");
    DisplayLostAction action = displayLostAction.load();
    const int exitCode = action ? action() : 1;
    // No static destructor runs: SDL's would talk to the dead connection and
    // wait for an answer that never comes.
    _exit(exitCode);
}

bool displayConnectionLost()
{
    return displayLost.load();
}
