#pragma once

#include "framework/scenegraph/Modifier.h"

// Shows, hides or toggles its target in its first step, and is done.
class ModifierVisible : public Modifier {
    TT_CLASS_RECORD(ModifierVisible)
public:
    static constexpr int Hide = 4;
    static constexpr int Show = 5;

    // Hide (4), Show (5); any other value toggles.
    explicit ModifierVisible(int action) : action(action) {}
    explicit ModifierVisible(bool show) : action(show ? Show : Hide) {}

    void step(int deltaMs) override;

private:
    int action;
};
