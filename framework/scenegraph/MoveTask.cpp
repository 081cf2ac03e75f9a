#include "framework/scenegraph/MoveTask.h"

TT_DEFINE_RECORD(MoveTask, &Task::classRecord);

MoveTask::MoveTask(GameNode* root, Modifier* animTree) : root(root), animTree(animTree) {}

namespace {

void updateSubtree(GameNode* node, int elapsedMs)
{
    GameNode::updateModifiers(node, elapsedMs);
    for (GameNode* child = node->getFirstChild(); child;) {
        // Held so that game code run by the update may move or drop it.
        RefPointer<GameNode> hold(child);
        if (!child->isSuspended() && !child->isRemoved())
            updateSubtree(child, elapsedMs);
        child = child->getNextSibling();
    }
}

} // namespace

void MoveTask::updateNodes(GameNode* root, int elapsedMs)
{
    if (!root)
        return;
    RefPointer<GameNode> hold(root);
    updateSubtree(root, elapsedMs);
}

void MoveTask::run(int elapsedMs)
{
    updateNodes(root.get(), elapsedMs);
    if (animTree)
        Modifier::updateTree(animTree.get(), elapsedMs);
}
