// Start-up of the real game with the real content on SDL's dummy video and
// audio drivers: the time from the start of the run to the first frame that
// reaches the display, to the first frame that shows a picture (the splash's
// first picture, not a plain black or cover-coloured frame), and to the
// moment every section queued at start-up is loaded (the loading scene can
// start its title pan). The run is ended by a quit message once all are seen.
// A start that logs a warning is not the game's own and fails the benchmark.
// The second benchmark loads every section and reports the resident size.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/TorteluneMain.h"
#include "framework/core/Log.h"
#include "framework/platform/DataFolders.h"
#include "framework/core/BasicProperties.h"
#include "framework/graphics/Image.h"
#include "framework/resources/ResourceManager.h"
#include "framework/resources/ResourceObject.h"
#include "framework/resources/ResourceSection.h"
#include "framework/sound/Sound.h"
#include "host/ForwardingHostWindow.h"
#include "host/Folders.h"
#include "host/HostPlatform.h"
#include "host/HostWindow.h"
#include "host/SettingsStore.h"
#include "host/SystemInfo.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Timings {
    Clock::time_point start;
    double firstFrameMs = -1;
    double firstPictureMs = -1;
    double loadedMs = -1;
    // Once the start-up sections are in, every other section is requested
    // too, and the resident size is taken when they have loaded.
    bool loadEverySection = false;
    bool everySectionRequested = false;
    uint64_t residentBytes = 0;
    // What the loaded resources hold: decoded pictures (raw and
    // compressed) and decoded samples.
    double pictureMb = 0;
    double compressedPictureMb = 0;
    double sampleMb = 0;
};

// Sums what every loaded resource holds into `timings`.
void measureResources(Timings& timings)
{
    ResourceManager* resources = ResourceManager::instance;
    ResourceLock lock;
    uint64_t pictures = 0;
    uint64_t compressed = 0;
    uint64_t samples = 0;
    for (const std::string& name : resources->getSectionNames()) {
        for (const RefPointer<ResourceObject>& object : resources->getSection(name)->getObjects()) {
            BaseObject* content = object->getContent();
            if (Image* image = objectCast<Image>(content)) {
                const uint64_t area = uint64_t(image->getWidth()) * uint64_t(image->getHeight());
                if (image->getPixels())
                    pictures += area * uint64_t(image->getBytesPerPixel());
                if (image->getAlphaPlane())
                    pictures += area;
                compressed += image->getCompressedBytes();
            } else if (Sound* sound = objectCast<Sound>(content)) {
                if (sound->sample)
                    samples += sound->sample->samples.size() * sizeof(int16_t);
            }
        }
    }
    const double mb = 1024.0 * 1024.0;
    timings.pictureMb = double(pictures) / mb;
    timings.compressedPictureMb = double(compressed) / mb;
    timings.sampleMb = double(samples) / mb;
}

double since(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Whether the frame shown in the surface is more than one colour, sampled
// on a grid of 8 frame pixels (the bars beside it are not looked at).
bool showsPicture(const WindowSettings& settings, const WindowSurface& surface)
{
    const SurfaceRect area = fitFrame(surface.width, surface.height, settings.width, settings.height);
    auto pixelAt = [&](int x, int y) {
        const int sx = area.x + int(int64_t(x) * area.width / settings.width);
        const int sy = area.y + int(int64_t(y) * area.height / settings.height);
        const unsigned char* row = surface.pixels + static_cast<ptrdiff_t>(sy) * surface.pitch;
        if (surface.bytesPerPixel == 2)
            return uint32_t(reinterpret_cast<const uint16_t*>(row)[sx]);
        return reinterpret_cast<const uint32_t*>(row)[sx] & 0x00FFFFFFu;
    };
    const uint32_t first = pixelAt(0, 0);
    for (int y = 0; y < settings.height; y += 8)
        for (int x = 0; x < settings.width; x += 8)
            if (pixelAt(x, y) != first)
                return true;
    return false;
}

// The real window, watched: the first present and the end of loading are
// timed; then the quit message is queued.
class TimedWindow final : public ForwardingHostWindow {
public:
    TimedWindow(std::unique_ptr<HostWindow> inner, Timings& timings) : ForwardingHostWindow(std::move(inner)), timings(timings) {}
    bool updateSurface(const SurfaceRect* rects, int count) override
    {
        bool shown = wrapped().updateSurface(rects, count);
        if (shown && timings.firstFrameMs < 0)
            timings.firstFrameMs = since(timings.start);
        WindowSurface surface;
        if (shown && timings.firstPictureMs < 0 && wrapped().lockSurface(surface)) {
            if (showsPicture(getSettings(), surface))
                timings.firstPictureMs = since(timings.start);
            wrapped().unlockSurface();
        }
        ResourceManager* resources = ResourceManager::instance;
        if (quitPosted || !resources || resources->hasPendingRequests())
            return shown;
        if (timings.loadedMs < 0)
            timings.loadedMs = since(timings.start);
        if (timings.firstPictureMs < 0)
            return shown;
        if (timings.loadEverySection && !timings.everySectionRequested) {
            timings.everySectionRequested = true;
            for (const std::string& name : resources->getSectionNames())
                resources->requestSection(name);
            return shown;
        }
        if (timings.loadEverySection) {
            timings.residentBytes = residentMemoryBytes();
            measureResources(timings);
        }
        quitPosted = true;
        wrapped().postMessage({WM_QUIT, 0, 0});
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

void prepareStart()
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
}

// One run of the game to its quit; false (with the reason) when it failed or
// logged a warning: the start measured must be the game's own.
bool runGame(Timings& timings, const char*& failure)
{
    int warnings = 0;
    LogObserver previous = setLogObserver([&warnings](LogLevel level, const std::string&) {
        if (level <= LogLevel::Warning)
            ++warnings;
    });
    char name[] = "tortelune";
    char* argv[] = {name, nullptr};
    resetDataFolders();
    resetGameIdentityCache();
    HostPlatform& real = HostPlatform::current();
    TimedPlatform platform(real, timings);
    HostPlatform::install(&platform);
    timings.start = Clock::now();
    int exitCode = runTortelune(1, argv, true);
    HostPlatform::install(nullptr);
    setLogObserver(previous);
    if (exitCode != 0 || timings.firstFrameMs < 0 || timings.firstPictureMs < 0 || timings.loadedMs < 0) {
        failure = "the game did not start";
        return false;
    }
    if (warnings > 0) {
        failure = "the start logged warnings";
        return false;
    }
    return true;
}

void BM_StartUp(benchmark::State& state)
{
    prepareStart();
    double firstFrame = 0;
    double firstPicture = 0;
    double loaded = 0;
    for (auto _ : state) {
        Timings timings;
        const char* failure = nullptr;
        if (!runGame(timings, failure)) {
            state.SkipWithError(failure);
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

// The memory the game holds with every section of the resource table loaded
// (the start-up ones and every scene's): resident_mb must stay below 150.
void BM_ResidentWithEverySectionLoaded(benchmark::State& state)
{
    prepareStart();
    double resident = 0;
    double pictures = 0;
    double compressedPictures = 0;
    double samples = 0;
    for (auto _ : state) {
        Timings timings;
        timings.loadEverySection = true;
        const char* failure = nullptr;
        if (!runGame(timings, failure)) {
            state.SkipWithError(failure);
            return;
        }
        resident = static_cast<double>(timings.residentBytes) / (1024.0 * 1024.0);
        pictures = timings.pictureMb;
        compressedPictures = timings.compressedPictureMb;
        samples = timings.sampleMb;
        state.SetIterationTime(since(timings.start) / 1000.0);
    }
    state.counters["resident_mb"] = resident;
    state.counters["pictures_mb"] = pictures;
    state.counters["compressed_pictures_mb"] = compressedPictures;
    state.counters["samples_mb"] = samples;
}
BENCHMARK(BM_ResidentWithEverySectionLoaded)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
