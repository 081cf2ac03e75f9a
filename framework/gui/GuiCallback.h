#pragma once

#include "framework/core/GuiMethod.h"

// The callback part of a widget: the iGuiMethod that a dialog binds to game
// code by component name. Invoking it calls the bound method with the widget.
class GuiCallback : public iGuiMethod {
public:
    int invoke(BaseObject* argument) override { return callback.invoke(argument); }

    void setCallback(const GuiMethod& method) { callback = method; }
    const GuiMethod& getCallback() const { return callback; }
    bool hasCallback() const { return callback.isBound(); }

    // The settable part behind an iGuiMethod, or null when it is another kind.
    static GuiCallback* from(iGuiMethod* method) { return dynamic_cast<GuiCallback*>(method); }

protected:
    ~GuiCallback() = default;

private:
    GuiMethod callback;
};
