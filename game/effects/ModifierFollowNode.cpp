#include "game/effects/ModifierFollowNode.h"

TT_DEFINE_RECORD(ModifierFollowNode, &Modifier::classRecord);

ModifierFollowNode::ModifierFollowNode(GameNode* leaderNode, int durationMs)
    : leader(leaderNode ? leaderNode->getLink() : nullptr), remaining(durationMs), limited(durationMs >= 0)
{
    if (leaderNode) {
        lastLeaderX = leaderNode->getX();
        lastLeaderY = leaderNode->getY();
    }
}

void ModifierFollowNode::step(int deltaMs)
{
    GameNode* node = getTarget();
    GameNode* leaderNode = leader ? leader->node : nullptr;
    if (!node || !leaderNode) {
        finish();
        return;
    }
    const int leaderX = leaderNode->getX();
    const int leaderY = leaderNode->getY();
    node->setPosition(node->getX() + leaderX - lastLeaderX, node->getY() + leaderY - lastLeaderY);
    lastLeaderX = leaderX;
    lastLeaderY = leaderY;
    if (limited) {
        remaining -= deltaMs;
        if (remaining < 0)
            finish();
    }
}
