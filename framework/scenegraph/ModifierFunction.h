#pragma once

#include "framework/core/GuiMethod.h"
#include "framework/core/RefPointer.h"
#include "framework/scenegraph/Modifier.h"

// Calls back into game code once, when its turn comes. The callback gets the
// already finished modifier, so it may read its target and attach further steps.
class ModifierFunction : public Modifier {
    TT_CLASS_RECORD(ModifierFunction)
public:
    // `context` is borrowed: it must outlive the modifier (a scene calling
    // itself from its own animation tree does).
    ModifierFunction(GuiMethod::Function function, void* context) : callback(context, function) {}
    explicit ModifierFunction(const GuiMethod& method) : callback(method) {}
    // Keeps `object` alive until the modifier is gone, for callbacks that may outlive their owner.
    ModifierFunction(const GuiMethod& method, BaseObject* keepAlive) : callback(method), keepAlive(keepAlive) {}

    void step(int deltaMs) override;
    Interface* getInterface(const ClassRecord* record) override;

    const GuiMethod& getCallback() const { return callback; }

private:
    GuiMethod callback;
    RefPointer<BaseObject> keepAlive;
};
