#pragma once

#include <cstdint>
#include <vector>

#include "host/WindowMessages.h"
#include "host/WindowSurface.h"

union SDL_Event;

// Turns SDL events into window messages. It remembers the held mouse buttons
// and modifier keys, so that every message carries the right flags, and adds
// the character messages SDL does not send as text (Backspace, Tab, Enter,
// Escape). Mouse positions in window pixels become logical client pixels
// through the area that shows the frame.
class MessageTranslator {
public:
    // Only events of this window are translated; 0 takes every window's.
    void setWindowId(uint32_t id) { windowId = id; }
    // The logical client size reported with restore and maximise.
    void setClientSize(int width, int height)
    {
        clientWidth = width;
        clientHeight = height;
    }

    // The part of the window that shows the frame of the client size (see
    // fitFrame); mouse positions are mapped through it. Empty (the start):
    // window pixels are client pixels.
    void setFrameArea(const SurfaceRect& area) { frameArea = area; }
    // A window pixel in logical client pixels.
    void windowToClient(int& x, int& y) const { surfaceToFrame(frameArea, clientWidth, clientHeight, x, y); }

    // Appends the messages of one event (none for events of no interest).
    void translate(const SDL_Event& event, std::vector<WindowMessage>& messages);

    // The MK_ flags of the current button and modifier state.
    uint32_t mouseKeyFlags() const;
    // Forgets held buttons and keys (after the window lost the focus).
    void reset();

    // The virtual-key code of an SDL key (0 when it has none).
    static uint32_t virtualKeyFor(int32_t keycode, int scancode, uint16_t modifiers);

private:
    void translateKey(const SDL_Event& event, std::vector<WindowMessage>& messages);
    void translateText(const char* utf8, std::vector<WindowMessage>& messages);
    void translateButton(const SDL_Event& event, std::vector<WindowMessage>& messages);
    bool belongsToWindow(uint32_t eventWindowId) const { return windowId == 0 || eventWindowId == windowId; }

    uint32_t windowId = 0;
    int clientWidth = 800;
    int clientHeight = 600;
    SurfaceRect frameArea;
    uint32_t heldButtons = 0; // MK_LBUTTON | MK_RBUTTON | MK_MBUTTON
    uint16_t modifiers = 0;   // SDL's KMOD_ bits from the last key event
};
