#pragma once

#include "framework/core/RefPointer.h"
#include "framework/platform/Task.h"
#include "framework/scenegraph/GameNode.h"
#include "framework/scenegraph/Modifier.h"

// The scene task that runs after drawing: takes every node marked removed out
// of the tree (children first), then retires the finished modifiers.
class PurgeTask : public Task {
    TT_CLASS_RECORD(PurgeTask)
public:
    PurgeTask(GameNode* root, Modifier* animTree);

    void run(int elapsedMs) override;

    static void purgeNodes(GameNode* root);

private:
    RefPointer<GameNode> root;
    RefPointer<Modifier> animTree;
};
