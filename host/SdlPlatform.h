#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "host/HostPlatform.h"

// The real machine: SDL2 for the window, display, clipboard and message
// boxes; POSIX for the clock, sleep and files.
class SdlPlatform final : public HostPlatform {
public:
    SdlPlatform() = default;
    ~SdlPlatform() override;

    std::unique_ptr<HostWindow> createWindow() override;
    bool connectDisplay(std::string& reason) override;
    DesktopMode getDesktopMode() override;
    void showMessageBox(const std::string& title, const std::string& text, MessageBoxKind kind) override;
    bool setClipboardText(const std::string& text) override;
    std::string getClipboardText() override;
    uint32_t getMilliseconds() override;
    void sleepMilliseconds(uint32_t milliseconds) override;
    void sleepUntilMilliseconds(uint32_t deadline) override;
    bool openWebAddress(const std::string& address) override;
    std::shared_ptr<SettingsStore> openSettingsStore(const std::string& gameId) override;

    // Starts SDL's video part once; false (with the reason logged, and in
    // `reason` when given) when there is no display.
    static bool ensureVideo(std::string* reason = nullptr);

private:
    std::mutex storesLock;
    std::map<std::string, std::weak_ptr<SettingsStore>> stores;
};
