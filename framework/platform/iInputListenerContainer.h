#pragma once

#include <cstdint>
#include <vector>

#include "framework/platform/iInputListener.h"

// An ordered list of input listeners that hands each event to them in order
// until one takes it. Containers nest: a dialog's container sits in its
// scene's. Listeners are borrowed, not owned.
class iInputListenerContainer : public iInputListener {
public:
    static const ClassRecord classRecord;
    const ClassRecord* getClassName() const override { return &classRecord; }

    iInputListenerContainer() = default;
    virtual ~iInputListenerContainer() = default;
    iInputListenerContainer(const iInputListenerContainer&) = delete;
    iInputListenerContainer& operator=(const iInputListenerContainer&) = delete;

    bool onKeyDown(int key) override;
    bool onKeyUp(int key) override;
    bool onChar(int character) override;
    bool onMouseMove(int x, int y, int keys) override;
    bool onLeftDown(int x, int y, int keys, bool doubleClick) override;
    bool onLeftUp(int x, int y, int keys) override;
    bool onMiddleDown(int x, int y, int keys, bool doubleClick) override;
    bool onMiddleUp(int x, int y, int keys) override;
    bool onRightDown(int x, int y, int keys, bool doubleClick) override;
    bool onRightUp(int x, int y, int keys) override;
    // Resets every listener in the list.
    void resetInput() override;
    iInputListenerContainer* asInputContainer() override { return this; }

    // Appends (or, with `atFront`, inserts first) unless already listed; null is ignored.
    void addListener(iInputListener* listener, bool atFront = false);
    // Removes every occurrence, also inside nested containers; each removed
    // occurrence is reset.
    void removeListener(iInputListener* listener);
    bool containsListener(iInputListener* listener) const;
    const std::vector<iInputListener*>& getListeners() const { return listeners; }
    void clearListeners();

    // While the container is disabled, only this listener (when enabled) gets events.
    void setFocusListener(iInputListener* listener) { focusListener = listener; }
    iInputListener* getFocusListener() const { return focusListener; }
    // With swallowAll the container answers that it took every event.
    void setSwallowAll(bool value) { swallowAll = value; }
    bool isSwallowAll() const { return swallowAll; }

private:
    // Hands the event to the listeners; `deliver` calls one listener's handler.
    template <class Deliver>
    bool broadcast(Deliver deliver);

    std::vector<iInputListener*> listeners;
    iInputListener* focusListener = nullptr;
    bool swallowAll = false;
    // Counts changes of the list, so a broadcast notices that a listener changed it.
    uint32_t changeCount = 0;
};
