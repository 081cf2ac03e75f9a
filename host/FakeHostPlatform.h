#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/HostPlatform.h"
#include "host/HostWindow.h"

class FakeHostPlatform;

// A window for tests: messages are scripted with `pushMessage`, and what the
// code asked of the window (frames, titles, cursors, capture) is recorded.
class FakeHostWindow final : public HostWindow {
public:
    explicit FakeHostWindow(FakeHostPlatform* platform) : platform(platform) {}
    ~FakeHostWindow() override;

    bool open(const WindowSettings& settings, std::string* error) override;
    void close() override { opened = false; }
    bool isOpen() const override { return opened; }
    const WindowSettings& getSettings() const override { return settings; }
    bool lockSurface(WindowSurface& surface) override;
    void unlockSurface() override { surfaceLocked = false; }
    bool updateSurface(const SurfaceRect* rects, int count) override;
    void minimise() override { ++minimiseCount; }
    void raise() override { ++raiseCount; }
    void setTitle(const std::string& title) override { settings.title = title; }
    void setIcon(const uint32_t* pixels, int width, int height) override;
    void setCursorShape(int shape) override { cursorShape = (shape < 0 || shape > 6) ? CURSOR_ARROW : shape; }
    int getCursorShape() const override { return cursorShape; }
    void setMouseCapture(bool captured) override { mouseCaptured = captured; }
    bool getMousePosition(int& x, int& y) const override
    {
        x = mouseX;
        y = mouseY;
        return opened;
    }
    bool hasInputFocus() const override { return focused; }
    bool peekMessage(WindowMessage& message) override;
    void postMessage(const WindowMessage& message) override { messages.push_back(message); }

    // Scripting.
    void pushMessage(uint32_t message, uint32_t wParam = 0, uint32_t lParam = 0)
    {
        messages.push_back({message, wParam, lParam});
    }
    void setMousePosition(int x, int y)
    {
        mouseX = x;
        mouseY = y;
    }
    void setFocused(bool value) { focused = value; }
    // The surface becomes width x height of bytesPerPixel (0: the frame's), as
    // after a resize: the next lock hands out a fresh one.
    void resizeSurface(int width, int height, int bytesPerPixel = 0);

    // Recorded state.
    int openCount = 0;
    int presentCount = 0;
    int minimiseCount = 0;
    int raiseCount = 0;
    bool mouseCaptured = false;
    int iconWidth = 0;
    int iconHeight = 0;
    std::vector<uint32_t> iconPixels;
    // The bytes of the whole surface when it was last updated, rows packed.
    std::vector<uint8_t> lastFrame;
    // The areas of the last update.
    std::vector<SurfaceRect> lastUpdate;
    // The surface's pixels, rows packed, and its size.
    std::vector<uint8_t> surfacePixels;
    WindowSurface surface;
    bool surfaceLocked = false;
    // Updates are refused (a display that lost the window).
    bool refuseUpdates = false;
    std::deque<WindowMessage> messages;

private:
    FakeHostPlatform* platform;
    WindowSettings settings;
    bool opened = false;
    bool focused = true;
    int cursorShape = CURSOR_ARROW;
    int mouseX = 0;
    int mouseY = 0;
};

// The platform for tests: a manual clock (sleeping advances it), an in-memory
// clipboard and settings stores, recorded message boxes, scripted windows.
// Install it with HostPlatform::install, or use ScopedFakeHostPlatform.
class FakeHostPlatform : public HostPlatform {
public:
    struct MessageBoxRecord {
        std::string title;
        std::string text;
        MessageBoxKind kind;
    };

    std::unique_ptr<HostWindow> createWindow() override;
    DesktopMode getDesktopMode() override { return desktop; }
    void showMessageBox(const std::string& title, const std::string& text, MessageBoxKind kind) override
    {
        messageBoxes.push_back({title, text, kind});
    }
    bool setClipboardText(const std::string& text) override;
    std::string getClipboardText() override { return clipboardAvailable ? clipboard : std::string(); }
    uint32_t getMilliseconds() override { return clock; }
    void sleepMilliseconds(uint32_t milliseconds) override
    {
        clock += milliseconds;
        totalSlept += milliseconds;
        sleeps.push_back(milliseconds);
    }
    bool openWebAddress(const std::string& address) override
    {
        if (!isOpenableWebAddress(address))
            return false;
        openedAddresses.push_back(address);
        return true;
    }
    std::shared_ptr<SettingsStore> openSettingsStore(const std::string& gameId) override;

    void advanceClock(uint32_t milliseconds) { clock += milliseconds; }
    // The window most recently created (borrowed; null once it is destroyed).
    FakeHostWindow* lastWindow() const { return currentWindow; }

    DesktopMode desktop{1280, 1024, 4};
    uint32_t clock = 0;
    uint64_t totalSlept = 0;
    std::vector<uint32_t> sleeps;
    std::vector<MessageBoxRecord> messageBoxes;
    std::vector<std::string> openedAddresses;
    std::string clipboard;
    bool clipboardAvailable = true;
    // How many of the next window opens fail.
    int failingOpens = 0;
    // Full-screen windows open as windows (a display that cannot give the size).
    bool refuseFullScreen = false;
    // The surface size of a full-screen window; 0 x 0 gives the frame's size.
    int fullScreenWidth = 0;
    int fullScreenHeight = 0;
    int windowsCreated = 0;
    std::map<std::string, std::shared_ptr<SettingsStore>> settingsStores;

private:
    friend class FakeHostWindow;
    FakeHostWindow* currentWindow = nullptr;
};

// Installs a fake platform for the lifetime of the object.
class ScopedFakeHostPlatform : public FakeHostPlatform {
public:
    ScopedFakeHostPlatform() { HostPlatform::install(this); }
    ~ScopedFakeHostPlatform() override { HostPlatform::install(nullptr); }
};
