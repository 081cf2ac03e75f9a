#pragma once

#include "framework/core/RefPointer.h"
#include "framework/scenegraph/GameNode.h"
#include "framework/scenegraph/Modifier.h"

// Moves its target by as much as a leader node moved since the last step,
// for a time or (negative duration) until removed. A leader that is gone ends it.
class ModifierFollowNode : public Modifier {
    TT_CLASS_RECORD(ModifierFollowNode)
public:
    ModifierFollowNode(GameNode* leader, int durationMs);

    void step(int deltaMs) override;

private:
    RefPointer<NodeLink> leader;
    int lastLeaderX = 0;
    int lastLeaderY = 0;
    int remaining;
    bool limited;
};
