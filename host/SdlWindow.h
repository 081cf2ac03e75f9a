#pragma once

#include <deque>
#include <string>
#include <vector>

#include "host/HostWindow.h"
#include "host/MessageTranslator.h"

struct SDL_Window;
struct SDL_Surface;
struct SDL_Cursor;
struct SDL_Rect;

// The window on SDL2: frames are drawn into the window's own surface (shared
// memory with the display, no renderer and no 3D driver), which in full
// screen has the desktop's size. A full-screen window that the display leaves
// at another size than the desktop's becomes a borderless window over the
// desktop, or else an ordinary window (getSettings then tells which).
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
    bool lockSurface(WindowSurface& surface) override;
    void unlockSurface() override;
    bool updateSurface(const SurfaceRect* rects, int count) override;
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

    // Makes the window (closing any before).
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
    // A full-screen window that loses the focus to a window manager starting
    // after it was shown asks for the focus again, once.
    void reclaimFocusFromNewManager(const SDL_Event& event);
    // Where the frame shows in the window at its current size.
    SurfaceRect frameArea() const;

    WindowSettings settings;
    SDL_Window* window = nullptr;
    // The window's surface as last handed out; a stand-in of 0x00RRGGBB
    // words when the window's own is in a format the frames are not drawn in;
    // the one locked now.
    SDL_Surface* windowSurface = nullptr;
    SDL_Surface* standIn = nullptr;
    SDL_Surface* lockedSurface = nullptr;
    bool surfaceFresh = true;
    std::vector<SDL_Rect> updateRects;
    SDL_Cursor* cursors[7] = {};
    int cursorShape = CURSOR_ARROW;
    bool shown = false;
    bool settled = false;
    bool hadFocus = false;
    unsigned requests = 0;
    unsigned resettles = 0;
    // Whether a window manager ran when the window was shown (or has since
    // taken the focus once), and when it was shown.
    bool managerKnown = false;
    uint32_t shownAt = 0;
    uint32_t createdAt = 0;
    uint32_t lastRequest = 0;
    uint32_t lastCheck = 0;
    MessageTranslator translator;
    std::deque<WindowMessage> pending;
    std::vector<WindowMessage> translated;
};
