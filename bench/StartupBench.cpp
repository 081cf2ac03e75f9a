// Start-up of the real game with the real content on SDL's dummy video and
// audio drivers: the time from the start of the run to the first frame that
// reaches the display, to the first frame that shows a picture (the splash's
// first picture, not a plain black or cover-coloured frame), and to the
// moment every section queued at start-up is loaded (the loading scene can
// start its title pan). The run is ended by a quit message once all are seen.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/TorteluneMain.h"
#include "framework/platform/DataFolders.h"
#include "framework/core/BasicProperties.h"
#include "framework/resources/ResourceManager.h"
#include "host/ForwardingHostWindow.h"
#include "host/Folders.h"
#include "host/HostPlatform.h"
#include "host/HostWindow.h"
#include "host/SettingsStore.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Timings {
    Clock::time_point start;
    double firstFrameMs = -1;
    double firstPictureMs = -1;
    double loadedMs = -1;
};

double since(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Whether a frame is more than one colour, sampled on an 8-pixel grid.
bool showsPicture(const WindowSettings& settings, const void* pixels, int pitch)
{
    const auto* bytes = static_cast<const unsigned char*>(pixels);
    auto pixelAt = [&](int x, int y) {
        const unsigned char* row = bytes + static_cast<ptrdiff_t>(y) * pitch;
        if (settings.bytesPerPixel == 2)
            return uint32_t(reinterpret_cast<const uint16_t*>(row)[x]);
        return reinterpret_cast<const uint32_t*>(row)[x] & 0x00FFFFFFu;
    };
    const uint32_t first = pixelAt(0, 0);
    for (int y = 0; y < settings.height; y += 8)
        for (int x = 0; x < settings.width; x += 8)
            if (pixelAt(x, y) != first)
                return true;
    return false;
}

// The real window, watched: the first present, the first picture and the
// end of loading are timed; then the quit message is queued.
class TimedWindow final : public ForwardingHostWindow {
public:
    TimedWindow(std::unique_ptr<HostWindow> inner, Timings& timings) : ForwardingHostWindow(std::move(inner)), timings(timings) {}
    bool present(const void* pixels, int pitch) override
    {
        bool shown = wrapped().present(pixels, pitch);
        if (shown && timings.firstFrameMs < 0)
            timings.firstFrameMs = since(timings.start);
        if (shown && timings.firstPictureMs < 0 && showsPicture(getSettings(), pixels, pitch))
            timings.firstPictureMs = since(timings.start);
        if (timings.loadedMs < 0 && ResourceManager::instance && !ResourceManager::instance->hasPendingRequests())
            timings.loadedMs = since(timings.start);
        if (!quitPosted && timings.loadedMs >= 0 && timings.firstPictureMs >= 0) {
            quitPosted = true;
            wrapped().postMessage({WM_QUIT, 0, 0});
        }
        return shown;
    }

private:
    Timings& timings;
    bool quitPosted = false;
};

// The machine's own platform with the watched window.
class TimedPlatform final : public HostPlatform {
public:
    TimedPlatform(HostPlatform& real, Timings& timings) : real(real), timings(timings) {}
    std::unique_ptr<HostWindow> createWindow() override
    {
        return std::make_unique<TimedWindow>(real.createWindow(), timings);
    }
    DesktopMode getDesktopMode() override { return real.getDesktopMode(); }
    void showMessageBox(const std::string& title, const std::string& text, MessageBoxKind kind) override
    {
        real.showMessageBox(title, text, kind);
    }
    bool setClipboardText(const std::string& text) override { return real.setClipboardText(text); }
    std::string getClipboardText() override { return real.getClipboardText(); }
    uint32_t getMilliseconds() override { return real.getMilliseconds(); }
    void sleepMilliseconds(uint32_t milliseconds) override { real.sleepMilliseconds(milliseconds); }
    bool openWebAddress(const std::string&) override { return false; }
    std::shared_ptr<SettingsStore> openSettingsStore(const std::string& gameId) override
    {
        return real.openSettingsStore(gameId);
    }

private:
    HostPlatform& real;
    Timings& timings;
};

void BM_StartUp(benchmark::State& state)
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    std::string home = "/tmp/tortelune-startup-bench";
    for (const char* folder : {"/config", "/data", "/run"})
        makeDirectoryTree(home + folder);
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (home + "/run").c_str(), 1);
    setCurrentFolder(TORTELUNE_SOURCE_DIR);

    double firstFrame = 0;
    double firstPicture = 0;
    double loaded = 0;
    char name[] = "tortelune";
    char* argv[] = {name, nullptr};
    for (auto _ : state) {
        resetDataFolders();
        resetGameIdentityCache();
        Timings timings;
        HostPlatform& real = HostPlatform::current();
        TimedPlatform platform(real, timings);
        HostPlatform::install(&platform);
        timings.start = Clock::now();
        int exitCode = runTortelune(1, argv, true);
        HostPlatform::install(nullptr);
        if (exitCode != 0 || timings.firstFrameMs < 0 || timings.firstPictureMs < 0 || timings.loadedMs < 0) {
            state.SkipWithError("the game did not start");
            return;
        }
        firstFrame += timings.firstFrameMs;
        firstPicture += timings.firstPictureMs;
        loaded += timings.loadedMs;
        state.SetIterationTime(timings.loadedMs / 1000.0);
    }
    state.counters["first_frame_ms"] = firstFrame / static_cast<double>(state.iterations());
    state.counters["first_picture_ms"] = firstPicture / static_cast<double>(state.iterations());
    state.counters["sections_loaded_ms"] = loaded / static_cast<double>(state.iterations());
}
BENCHMARK(BM_StartUp)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace
