#pragma once

#include "framework/core/RefPointer.h"
#include "framework/scenegraph/Modifier.h"

// Waits a time, or until another modifier has finished. Created with the wait
// end flag, so in a node's own list it holds back the later ones.
class ModifierDelay : public Modifier {
    TT_CLASS_RECORD(ModifierDelay)
public:
    explicit ModifierDelay(int durationMs);
    explicit ModifierDelay(Modifier* awaited);

    void step(int deltaMs) override;

    int getRemaining() const { return remaining; }

private:
    int remaining = 0;
    RefPointer<Modifier> awaited;
};
