#pragma once

#include "framework/core/BaseObject.h"

class iInputListenerContainer;

// The interface of everything that takes keyboard or mouse input (buttons,
// dialogs, text fields, the board). Each event answers whether it took the
// event. Coordinates are logical client pixels; `key` is a virtual-key code;
// `keys` the MK_ flags of the mouse message; a character is a UTF-16 unit.
class iInputListener : public Interface {
public:
    static const ClassRecord classRecord;
    const ClassRecord* getClassName() const override { return &classRecord; }

    virtual bool onKeyDown(int /*key*/) { return false; }
    virtual bool onKeyUp(int /*key*/) { return false; }
    virtual bool onChar(int /*character*/) { return false; }
    virtual bool onMouseMove(int /*x*/, int /*y*/, int /*keys*/) { return false; }
    virtual bool onLeftDown(int /*x*/, int /*y*/, int /*keys*/, bool /*doubleClick*/) { return false; }
    virtual bool onLeftUp(int /*x*/, int /*y*/, int /*keys*/) { return false; }
    virtual bool onMiddleDown(int /*x*/, int /*y*/, int /*keys*/, bool /*doubleClick*/) { return false; }
    virtual bool onMiddleUp(int /*x*/, int /*y*/, int /*keys*/) { return false; }
    virtual bool onRightDown(int /*x*/, int /*y*/, int /*keys*/, bool /*doubleClick*/) { return false; }
    virtual bool onRightUp(int /*x*/, int /*y*/, int /*keys*/) { return false; }
    virtual void setInputEnabled(bool enabled) { inputEnabled = enabled; }
    virtual bool isInputEnabled() const { return inputEnabled; }
    // Clears pressed and hover state (the listener was removed, or a modal
    // listener took over).
    virtual void resetInput() = 0;

    // The container behind this listener, when it is one (containers decide
    // for themselves whether they take events while disabled).
    virtual iInputListenerContainer* asInputContainer() { return nullptr; }

protected:
    ~iInputListener() = default;

    bool inputEnabled = true;
};
