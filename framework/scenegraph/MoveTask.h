#pragma once

#include "framework/core/RefPointer.h"
#include "framework/platform/Task.h"
#include "framework/scenegraph/GameNode.h"
#include "framework/scenegraph/Modifier.h"

// The scene task that advances a node tree: every reachable node's update and
// own modifiers in pre-order (suspended and removed subtrees stand still; the
// root always runs), then the scene's modifier tree.
class MoveTask : public Task {
    TT_CLASS_RECORD(MoveTask)
public:
    MoveTask(GameNode* root, Modifier* animTree);

    void run(int elapsedMs) override;

    // One node walk without the modifier tree.
    static void updateNodes(GameNode* root, int elapsedMs);

private:
    RefPointer<GameNode> root;
    RefPointer<Modifier> animTree;
};
