// Switches the real game window between full screen and a window twenty
// times, as the settings dialog's OK does (GameWindow::setFullScreenMode on
// the real host window), under whatever X server and window manager the
// caller started, while a frame loop runs as the game's does. Fails when a
// frame waits more than a second, when a switch ends in the other mode, or
// when the window is not open after it. Ends in the mode it started in, then
// keeps drawing for HOLD_MS milliseconds after printing "SETTLED", so that
// the caller can look at the window.
// Usage: mode_switch_run SWITCHES HOLD_MS
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/graphics/Image.h"
#include "framework/platform/GameWindow.h"
#include "host/HostPlatform.h"
#include "host/HostWindow.h"

namespace {

constexpr uint32_t kLongestFrameGapMs = 1000;
constexpr uint32_t kFramesBetweenSwitchesMs = 600;
// The colour the caller finds the window by: 0x3080C0.
constexpr uint32_t kFrameColour = 0xFF3080C0u;

struct Loop {
    GameWindow* window = nullptr;
    uint32_t lastFrame = 0;
    uint32_t longestGap = 0;
    bool quit = false;

    void frame()
    {
        WindowMessage message;
        while (window->peekMessage(message)) {
            if (message.message == WM_QUIT || message.message == WM_ENDSESSION)
                quit = true;
            window->dispatchMessage(message);
        }
        if (Image* image = window->getBackImage()) {
            // Windowed frames take the desktop's depth: 4 bytes here.
            for (int y = 0; image->getBytesPerPixel() == 4 && y < image->getHeight(); ++y) {
                auto* row = reinterpret_cast<uint32_t*>(image->getPixels() + y * image->getPitch());
                for (int x = 0; x < image->getWidth(); ++x)
                    row[x] = kFrameColour;
            }
        }
        window->present();
        const uint32_t now = getMilliseconds();
        if (lastFrame && now - lastFrame > longestGap)
            longestGap = now - lastFrame;
        lastFrame = now;
        sleepMilliseconds(10);
    }

    void runFor(uint32_t milliseconds)
    {
        const uint32_t start = getMilliseconds();
        while (!quit && getMilliseconds() - start < milliseconds)
            frame();
    }
};

} // namespace

int main(int argc, char** argv)
{
    const int switches = argc > 1 ? std::atoi(argv[1]) : 20;
    const uint32_t holdMs = argc > 2 ? static_cast<uint32_t>(std::atoi(argv[2])) : 5000;

    Loop loop;
    loop.window = GameWindow::create("Tortelune", 800, 600, false, 0, 0);
    HostWindow* host = loop.window->getHostWindow();
    if (!host || !host->isOpen()) {
        std::printf("FAILED: the window did not open\n");
        return 1;
    }
    loop.runFor(kFramesBetweenSwitchesMs);
    std::printf("OPEN\n");
    std::fflush(stdout);
    int failures = 0;
    for (int i = 1; i <= switches && !loop.quit; ++i) {
        const bool wanted = !loop.window->isFullScreen();
        loop.longestGap = 0;
        const uint32_t start = getMilliseconds();
        loop.window->setFullScreenMode(wanted);
        const uint32_t took = getMilliseconds() - start;
        loop.runFor(kFramesBetweenSwitchesMs);
        host = loop.window->getHostWindow();
        const bool open = host && host->isOpen();
        const bool inMode = open && loop.window->isFullScreen() == wanted && host->getSettings().fullScreen == wanted;
        std::printf("switch %d to %s: %u ms, longest frame gap %u ms%s%s\n", i, wanted ? "full screen" : "window",
                    took, loop.longestGap, open ? "" : ", window closed", inMode ? "" : ", not in that mode");
        // The caller watches the reports come.
        std::fflush(stdout);
        if (loop.longestGap > kLongestFrameGapMs || !inMode)
            ++failures;
    }
    if (loop.quit) {
        std::printf("FAILED: the window was closed during the switches\n");
        ++failures;
    }
    std::printf("SETTLED %s\n", loop.window->isFullScreen() ? "fullscreen" : "windowed");
    std::fflush(stdout);
    loop.runFor(holdMs);
    GameWindow::destroyInstance();
    if (failures)
        std::printf("FAILED: %d of %d switches stalled the frames or missed their mode\n", failures, switches);
    return failures ? 1 : 0;
}
