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
    return true;
}

bool FakeHostWindow::present(const void* pixels, int pitch)
{
    if (!opened || !pixels)
        return false;
    ++presentCount;
    size_t rowBytes = static_cast<size_t>(settings.width) * static_cast<size_t>(settings.bytesPerPixel);
    lastFrame.resize(rowBytes * static_cast<size_t>(settings.height));
    const auto* source = static_cast<const uint8_t*>(pixels);
    for (int row = 0; row < settings.height; ++row)
        std::memcpy(&lastFrame[rowBytes * static_cast<size_t>(row)], source + static_cast<ptrdiff_t>(pitch) * row,
                    rowBytes);
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
