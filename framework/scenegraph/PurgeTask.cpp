#include "framework/scenegraph/PurgeTask.h"

TT_DEFINE_RECORD(PurgeTask, &Task::classRecord);

PurgeTask::PurgeTask(GameNode* root, Modifier* animTree) : root(root), animTree(animTree) {}

void PurgeTask::purgeNodes(GameNode* node)
{
    if (!node)
        return;
    for (GameNode* child = node->getFirstChild(); child;) {
        GameNode* next = child->getNextSibling();
        purgeNodes(child);
        if (child->isRemoved()) {
            // The tree's reference passes to us with the unlink.
            GameNode::removeFromParent(child);
            child->setRemoved(false);
            child->release();
        }
        child = next;
    }
}

void PurgeTask::run(int)
{
    if (root) {
        RefPointer<GameNode> hold(root);
        purgeNodes(root.get());
    }
    if (animTree)
        Modifier::purgeFinished(animTree.get());
}
