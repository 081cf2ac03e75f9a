#include "host/SdlPlatform.h"

#include <SDL.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

#include "host/HostLog.h"
#include "host/MessageBoxProcess.h"
#include "host/MessageBoxText.h"
#include "host/SdlWindow.h"
#include "host/SettingsStore.h"
#include "host/TerminationRequest.h"
#include "host/X11Requests.h"

extern char** environ;

namespace {

HostPlatform* installedPlatform = nullptr;

bool videoStarted = false;
bool videoFailed = false;

// Without a display a message box can only block or fail; the text goes to
// standard error instead.
bool hasDisplay()
{
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0))
        return false;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

std::string missingDisplay()
{
    const char* display = std::getenv("DISPLAY");
    return display && *display ? std::string("no display: the display \"") + display + "\" cannot be opened"
                               : std::string("no display: DISPLAY is not set");
}

// Starts SDL's video; answers why it could not, or nothing.
std::string startVideo()
{
    // The close box asks the game, which decides whether to quit; SDL must not
    // turn the last window's close into a quit of its own.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return missingDisplay() + " (" + SDL_GetError() + ")";
    // Unless a driver is named (the tests name the off-screen ones), SDL
    // falls back to one when no display answers: the game would run unseen,
    // holding its lock, and the next real start would hand over to it.
    const char* named = std::getenv("SDL_VIDEODRIVER");
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!(named && *named) && driver && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return missingDisplay();
    }
    x11CatchConnectionLoss();
    return std::string();
}

} // namespace

HostPlatform& HostPlatform::current()
{
    static SdlPlatform realPlatform;
    return installedPlatform ? *installedPlatform : realPlatform;
}

void HostPlatform::install(HostPlatform* platform)
{
    installedPlatform = platform;
}

SdlPlatform::~SdlPlatform()
{
    // SDL_Quit also ends SDL's helpers (its desktop-bus connection among them).
    if (videoStarted) {
        SDL_Quit();
        videoStarted = false;
    }
}

bool SdlPlatform::ensureVideo(std::string* reason)
{
    static std::string failure;
    if (videoStarted)
        return true;
    if (!videoFailed) {
        failure = startVideo();
        videoFailed = !failure.empty();
        videoStarted = !videoFailed;
        if (videoFailed)
            hostLog("display: %s", failure.c_str());
    }
    if (videoFailed && reason)
        *reason = failure;
    return videoStarted;
}

bool SdlPlatform::connectDisplay(std::string& reason)
{
    return ensureVideo(&reason);
}

std::unique_ptr<HostWindow> SdlPlatform::createWindow()
{
    return std::make_unique<SdlWindow>();
}

DesktopMode SdlPlatform::getDesktopMode()
{
    DesktopMode mode;
    SDL_DisplayMode display;
    if (ensureVideo() && SDL_GetDesktopDisplayMode(0, &display) == 0) {
        mode.width = display.w;
        mode.height = display.h;
    }
    // Every desktop is drawn to in 32-bit; the switch lets the 16-bit path be run.
    const char* depth = std::getenv("TORTELUNE_DESKTOP_DEPTH");
    mode.bytesPerPixel = depth && std::strcmp(depth, "16") == 0 ? 2 : 4;
    return mode;
}

void SdlPlatform::showMessageBox(const std::string& title, const std::string& text, MessageBoxKind kind)
{
    const std::string wrapped = wrapMessageBoxText(text);
    // A game asked to end (a logout, a kill, Ctrl-C) shows nothing that waits
    // for a click: nobody may be there to give it.
    if (hasDisplay() && !terminationRequestPending()) {
        const MessageBoxOutcome outcome =
            showClosableMessageBox(title, wrapped, kind, &terminationRequestPending);
        if (outcome == MessageBoxOutcome::Answered)
            return;
        if (outcome == MessageBoxOutcome::ClosedByRequest)
            hostLogNotice("message box \"%s\": closed, the game was asked to end", title.c_str());
    }
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
}

bool SdlPlatform::setClipboardText(const std::string& text)
{
    return ensureVideo() && SDL_SetClipboardText(text.c_str()) == 0;
}

std::string SdlPlatform::getClipboardText()
{
    if (!ensureVideo() || !SDL_HasClipboardText())
        return std::string();
    char* text = SDL_GetClipboardText();
    std::string result = text ? text : "";
    SDL_free(text);
    return result;
}

uint32_t SdlPlatform::getMilliseconds()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    // Truncation to 32 bits is the wrap the callers expect.
    uint64_t milliseconds = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(milliseconds);
}

void SdlPlatform::sleepMilliseconds(uint32_t milliseconds)
{
    timespec wanted{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
    timespec left{};
    while (nanosleep(&wanted, &left) != 0 && errno == EINTR)
        wanted = left;
}

void SdlPlatform::sleepUntilMilliseconds(uint32_t deadline)
{
    // To the start of the deadline's millisecond on the monotonic clock: a
    // sleep for whole milliseconds from a truncated now ends up to one late.
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t nowMs = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    const int32_t left = static_cast<int32_t>(deadline - static_cast<uint32_t>(nowMs));
    if (left <= 0)
        return;
    const uint64_t targetMs = nowMs + static_cast<uint64_t>(left);
    const timespec target{static_cast<time_t>(targetMs / 1000), static_cast<long>(targetMs % 1000) * 1000000L};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &target, nullptr) == EINTR) {
    }
}

bool isOpenableWebAddress(const std::string& address)
{
    auto startsWith = [&](const char* prefix) {
        size_t length = std::strlen(prefix);
        if (address.size() <= length)
            return false;
        for (size_t i = 0; i < length; ++i) {
            char c = address[i] >= 'A' && address[i] <= 'Z' ? static_cast<char>(address[i] + 32) : address[i];
            if (c != prefix[i])
                return false;
        }
        return true;
    };
    if (!startsWith("http://") && !startsWith("https://"))
        return false;
    for (unsigned char c : address)
        if (c <= 0x20 || c == 0x7F)
            return false;
    return true;
}

bool SdlPlatform::openWebAddress(const std::string& address)
{
    if (!isOpenableWebAddress(address)) {
        hostLog("browser: refused to open \"%s\"", address.c_str());
        return false;
    }
    // Started directly, never through a shell, so the address is one argument.
    std::string program = "xdg-open";
    std::string argument = address;
    char* arguments[] = {&program[0], &argument[0], nullptr};
    pid_t child = 0;
    int result = posix_spawnp(&child, "xdg-open", nullptr, nullptr, arguments, environ);
    if (result != 0) {
        hostLog("browser: cannot start xdg-open: %s", std::strerror(result));
        return false;
    }
    // Reaped in the background: the browser may take its time.
    std::thread([child] {
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return true;
}

std::shared_ptr<SettingsStore> SdlPlatform::openSettingsStore(const std::string& gameId)
{
    std::lock_guard<std::mutex> guard(storesLock);
    std::shared_ptr<SettingsStore> store = stores[gameId].lock();
    if (!store) {
        store = std::make_shared<FileSettingsStore>(FileSettingsStore::settingsFileFor(gameId));
        stores[gameId] = store;
    }
    return store;
}
