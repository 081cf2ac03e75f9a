#pragma once

#include <cstdint>
#include <string>

#include "host/WindowMessages.h"
#include "host/WindowSurface.h"

// What a window is asked to be when it opens.
struct WindowSettings {
    std::string title;
    int width = 800;
    int height = 600;
    // Desktop full screen with the size above as the letterboxed logical size.
    bool fullScreen = false;
    // Pixel format of the frames handed to present: 4 = ARGB8888, 2 = RGB565.
    int bytesPerPixel = 4;
};

// Mouse cursor shapes by number, as the framework asks for them.
enum CursorShape : int {
    CURSOR_NONE = 0,
    CURSOR_ARROW_WAIT = 1,
    CURSOR_ARROW = 2,
    CURSOR_HAND = 3,
    CURSOR_HELP = 4,
    CURSOR_WAIT = 5,
    CURSOR_TEXT = 6,
};

// The one top-level window: offers its own pixels to draw finished frames
// into and turns the desktop's events into window messages. Mouse
// coordinates are logical client pixels: a surface larger than the frame
// shows it as fitFrame places it, and positions are mapped back through that.
class HostWindow {
public:
    virtual ~HostWindow() = default;

    // Opens the window (closing an open one first). False, with the reason in
    // `error`, when no window or display could be made.
    virtual bool open(const WindowSettings& settings, std::string* error) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual const WindowSettings& getSettings() const = 0;

    // The window's pixels until unlockSurface; false (nothing to unlock) when
    // there are none now. The surface may differ from the frame in size and
    // format, and a new one (fresh) may come after a resize or a mode switch.
    virtual bool lockSurface(WindowSurface& surface) = 0;
    virtual void unlockSurface() = 0;
    // Shows the given areas of the surface as drawn; false when the display
    // did not take them.
    virtual bool updateSurface(const SurfaceRect* rects, int count) = 0;

    virtual void minimise() = 0;
    // Restores a minimised window and brings it to the front.
    virtual void raise() = 0;
    virtual void setTitle(const std::string& title) = 0;
    // Pixels are 32-bit ARGB, rows packed.
    virtual void setIcon(const uint32_t* pixels, int width, int height) = 0;
    // Shapes outside 0..6 show the arrow.
    virtual void setCursorShape(int shape) = 0;
    virtual int getCursorShape() const = 0;
    // While captured, the window keeps getting mouse events outside its area.
    virtual void setMouseCapture(bool captured) = 0;
    // The pointer in logical client coordinates, also when it is outside.
    virtual bool getMousePosition(int& x, int& y) const = 0;
    virtual bool hasInputFocus() const = 0;

    // Takes the next waiting message; false when none waits. Never blocks.
    virtual bool peekMessage(WindowMessage& message) = 0;
    // Queues a message behind those waiting (the quit message, for one).
    virtual void postMessage(const WindowMessage& message) = 0;
};
