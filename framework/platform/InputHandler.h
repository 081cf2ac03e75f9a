#pragma once

#include <cstdint>
#include <deque>

#include "framework/platform/MessageHandler.h"
#include "framework/platform/Task.h"
#include "framework/platform/iInputListenerContainer.h"
#include "host/WindowMessages.h"

// A scene's input pump: it hears the window's messages, queues the keyboard
// and mouse ones, and once per frame, as a task, delivers them to its
// listeners (the one added last is asked first).
class InputHandler : public Task, public iMessageListener {
    TT_CLASS_RECORD(InputHandler)
public:
    InputHandler();
    explicit InputHandler(AbstractProperty*);
    ~InputHandler() override;

    // Queues input messages while the task is active; everything else, and
    // every message numbered WM_MOUSEWHEEL or higher, is ignored.
    void onMessage(uint32_t message, uint32_t wParam, uint32_t lParam) override;

    // Puts the listener first (taking it out of wherever it was in this
    // handler's listeners first). A container that swallows everything resets
    // every other listener, since it now takes all input. Null is ignored.
    void addListener(iInputListener* listener);
    // Removes the listener everywhere in this handler's listeners, also inside
    // nested containers, and resets it.
    void removeListener(iInputListener* listener);

    // Delivers the queued messages; see the synthetic move in the source.
    void run(int elapsedMs) override;
    // Deactivating drops the queued messages.
    void setActive(bool value) override;

    iInputListenerContainer& getContainer() { return container; }
    size_t getQueuedCount() const { return queue.size(); }

    // The events, forwarded to the container. A mouse move also sets the
    // cursor: the hand while something clickable is under the pointer.
    bool onKeyDown(int key) { return container.onKeyDown(key); }
    bool onKeyUp(int key) { return container.onKeyUp(key); }
    bool onChar(int character) { return container.onChar(character); }
    bool onMouseMove(int x, int y, int keys);
    bool onLeftDown(int x, int y, int keys, bool doubleClick) { return container.onLeftDown(x, y, keys, doubleClick); }
    bool onLeftUp(int x, int y, int keys) { return container.onLeftUp(x, y, keys); }
    bool onMiddleDown(int x, int y, int keys, bool doubleClick)
    {
        return container.onMiddleDown(x, y, keys, doubleClick);
    }
    bool onMiddleUp(int x, int y, int keys) { return container.onMiddleUp(x, y, keys); }
    bool onRightDown(int x, int y, int keys, bool doubleClick) { return container.onRightDown(x, y, keys, doubleClick); }
    bool onRightUp(int x, int y, int keys) { return container.onRightUp(x, y, keys); }

    // Shared by every input handler: keys held down (by virtual-key code), and
    // the last mouse message's position and flags.
    static uint8_t keyState[256];
    static int mouseX;
    static int mouseY;
    static int mouseKeys;
    // How many clickable things have the pointer over them (see HoverFlag).
    static int hoverCount;
    static bool isKeyDown(int key) { return key >= 0 && key < 256 && keyState[key] != 0; }

private:
    void deliver(const WindowMessage& message);

    iInputListenerContainer container;
    std::deque<WindowMessage> queue;
    int lastDeliveredX = 0;
    int lastDeliveredY = 0;
};

// A clickable thing's share of InputHandler::hoverCount: raising the flag
// counts once, lowering (or destroying) it uncounts once.
class HoverFlag {
public:
    HoverFlag() = default;
    ~HoverFlag() { set(false); }
    HoverFlag(const HoverFlag&) = delete;
    HoverFlag& operator=(const HoverFlag&) = delete;

    void set(bool hovering)
    {
        if (hovering == raised)
            return;
        raised = hovering;
        InputHandler::hoverCount += hovering ? 1 : -1;
    }
    bool isSet() const { return raised; }

private:
    bool raised = false;
};
