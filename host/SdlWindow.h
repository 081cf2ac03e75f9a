#pragma once

#include <deque>
#include <string>
#include <vector>

#include "host/HostWindow.h"
#include "host/MessageTranslator.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Cursor;

// The window on SDL2: frames go through a streaming texture of the frame's
// pixel format, scaled to the window with a fixed logical size (letterboxed
// in full screen). A full-screen window that the display leaves at another
// size than the desktop's becomes a borderless window over the desktop, or
// else an ordinary window (getSettings then tells which).
class SdlWindow final : public HostWindow {
public:
    SdlWindow() = default;
    ~SdlWindow() override;
    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;

    bool open(const WindowSettings& settings, std::string* error) override;
    void close() override;
    bool isOpen() const override { return window != nullptr; }
    const WindowSettings& getSettings() const override { return settings; }
    bool present(const void* pixels, int pitch) override;
    void minimise() override;
    void raise() override;
    void setTitle(const std::string& title) override;
    void setIcon(const uint32_t* pixels, int width, int height) override;
    void setCursorShape(int shape) override;
    int getCursorShape() const override { return cursorShape; }
    void setMouseCapture(bool captured) override;
    bool getMousePosition(int& x, int& y) const override;
    bool hasInputFocus() const override;
    bool peekMessage(WindowMessage& message) override;
    void postMessage(const WindowMessage& message) override;

private:
    enum class Placement { Windowed, FullScreen, DesktopCovering };
    // How long a window manager gets to give a full-screen window its size.
    static constexpr unsigned kRealSizeWaitMs = 300;
    // How long opening waits for the window to be shown before it goes on;
    // how long the requests that a window manager may miss while it starts
    // (map, full screen, focus) are repeated, and their pacing.
    static constexpr unsigned kShowWaitMs = 750;
    static constexpr unsigned kSettleMs = 10000;
    static constexpr unsigned kSettleCheckIntervalMs = 50;
    static constexpr unsigned kFirstRetryMs = 200;
    static constexpr unsigned kLastRetryMs = 2000;
    // How often a settled full-screen window settles again after the desktop moved it.
    static constexpr unsigned kMaxResettles = 3;

    // Makes the window, its renderer and its frame texture (closing any before).
    bool createWindow(Placement placement);
    void destroyWindow();
    // Asks for the new window to be mapped and waits a bounded time for it.
    void show();
    // Whether the new window has settled: shown, full screen where asked, and
    // (full screen) focused once. Hands a newly viewable window to SDL and
    // repeats the requests that went unanswered; asks the server at most
    // every kSettleCheckIntervalMs unless `checkNow`.
    bool settle(bool checkNow);
    // Whether the display really made the window the size SDL believes it
    // has; true when the display cannot be asked.
    bool realSizeMatches();
    // Whether the window's real place and size are the whole display's; true
    // when the display cannot be asked.
    bool windowCoversScreen();
    // A settled full-screen window that the desktop moved or resized (a window
    // manager that started later and framed it) settles again, a few times.
    void resettleAfterMove(const SDL_Event& event);

    WindowSettings settings;
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    SDL_Cursor* cursors[7] = {};
    int cursorShape = CURSOR_ARROW;
    bool shown = false;
    bool settled = false;
    bool hadFocus = false;
    unsigned requests = 0;
    unsigned resettles = 0;
    uint32_t createdAt = 0;
    uint32_t lastRequest = 0;
    uint32_t lastCheck = 0;
    MessageTranslator translator;
    std::deque<WindowMessage> pending;
    std::vector<WindowMessage> translated;
};
