#include "host/FakeHostPlatform.h"

#include <cstring>

#include "host/SettingsStore.h"

FakeHostWindow::~FakeHostWindow()
{
    if (platform && platform->currentWindow == this)
        platform->currentWindow = nullptr;
}

bool FakeHostWindow::open(const WindowSettings& wanted, std::string* error)
{
    ++openCount;
    settings = wanted;
    if (settings.bytesPerPixel != 2)
        settings.bytesPerPixel = 4;
    if (platform && platform->failingOpens > 0) {
        --platform->failingOpens;
        opened = false;
        if (error)
            *error = "scripted failure";
        return false;
    }
    if (platform && platform->refuseFullScreen)
        settings.fullScreen = false;
    opened = true;
    // A new window has a new surface.
    const bool large = settings.fullScreen && platform && platform->fullScreenWidth > 0;
    resizeSurface(large ? platform->fullScreenWidth : settings.width,
                  large ? platform->fullScreenHeight : settings.height);
    return true;
}

void FakeHostWindow::resizeSurface(int width, int height, int bytesPerPixel)
{
    surface = WindowSurface{};
    surface.width = width;
    surface.height = height;
    surface.bytesPerPixel = bytesPerPixel == 2 || bytesPerPixel == 4 ? bytesPerPixel : settings.bytesPerPixel;
    surface.pitch = width * surface.bytesPerPixel;
    surface.fresh = true;
    // Not black, so that bars left undrawn show.
    surfacePixels.assign(static_cast<size_t>(surface.pitch) * static_cast<size_t>(height), 0xA5);
    surface.pixels = surfacePixels.data();
}

bool FakeHostWindow::lockSurface(WindowSurface& handedOut)
{
    if (!opened || surfaceLocked || surfacePixels.empty())
        return false;
    handedOut = surface;
    surface.fresh = false;
    surfaceLocked = true;
    return true;
}

bool FakeHostWindow::updateSurface(const SurfaceRect* rects, int count)
{
    if (!opened || surfaceLocked || refuseUpdates)
        return false;
    ++presentCount;
    lastUpdate.assign(rects, rects + count);
    lastFrame = surfacePixels;
    return true;
}

void FakeHostWindow::setIcon(const uint32_t* pixels, int width, int height)
{
    if (!pixels)
        return;
    iconWidth = width;
    iconHeight = height;
    iconPixels.assign(pixels, pixels + static_cast<size_t>(width) * height);
}

bool FakeHostWindow::peekMessage(WindowMessage& message)
{
    if (messages.empty())
        return false;
    message = messages.front();
    messages.pop_front();
    return true;
}

std::unique_ptr<HostWindow> FakeHostPlatform::createWindow()
{
    auto window = std::make_unique<FakeHostWindow>(this);
    currentWindow = window.get();
    ++windowsCreated;
    return window;
}

bool FakeHostPlatform::setClipboardText(const std::string& text)
{
    if (!clipboardAvailable)
        return false;
    clipboard = text;
    return true;
}

std::shared_ptr<SettingsStore> FakeHostPlatform::openSettingsStore(const std::string& gameId)
{
    std::shared_ptr<SettingsStore>& store = settingsStores[gameId];
    if (!store)
        store = std::make_shared<SettingsStore>();
    return store;
}
