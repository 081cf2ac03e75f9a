#pragma once

#include "framework/core/BaseObject.h"

class GameNode;
class Modifier;

// The two tools the player took into a career level, in their slots.
// TODO(issue 20): a seam; the slots, their pulses and particles arrive with
// the tool slots in play. Each chain step returns `after` unchanged.
class ToolSlots : public BaseObject {
public:
    explicit ToolSlots(GameNode* toolsNode) : toolsNode(toolsNode) {}
    virtual Modifier* slideIn(Modifier* after) { return after; }
    virtual Modifier* pulseTool(int /*toolId*/, Modifier* after) { return after; }
    virtual void emitParticles(int /*toolId*/, GameNode* /*target*/, Modifier* /*follow*/, int /*amount*/,
                               bool /*inside*/)
    {
    }

    GameNode* getToolsNode() const { return toolsNode; }

private:
    GameNode* toolsNode;
};
