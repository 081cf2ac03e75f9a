#pragma once

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"
#include "game/production/AlarmClock.h"

class GameNode;
class Label;
class Modifier;
class ModifierFrame;
class Sprite;
class ToolSlotsTask;

// The two tools the player took into a career level, in their slots (slot 0
// the quality tool, slot 1 the bonus tool, as the tool catalogue says). A
// slot lights up while its tool acts and throws particles where it acts; the
// steady hand gives quality back now and then and the bonus plus shows its
// count. Chain steps hang under `after` and return the last step they built.
class ToolSlots : public BaseObject {
public:
    explicit ToolSlots(GameNode* toolsNode);
    ~ToolSlots() override;

    // The slots slide in from the right edge one after the other.
    Modifier* slideIn(Modifier* after);
    // Lights the slot up (or only keeps it lit); returns `after` when it was lit.
    Modifier* pulseTool(int slot, Modifier* after);
    Modifier* pulseToolById(int toolId, Modifier* after);
    // ceil(amount / "TOOL_PARTICLE_INTERVAL") particles over the central 80 %
    // of the target; returns the last particle's end, or `after` when none.
    Modifier* emitParticles(Modifier* after, GameNode* target, int slot, int amount, bool insideTarget);
    Modifier* emitParticlesById(int toolId, Modifier* after, GameNode* target, int amount, bool insideTarget);
    // The star-match star pops at (x, y) and flies to the goal display.
    void flyStarToTools(Modifier* after, int x, int y);
    // The ingredient tool on a new pastry's counter `number`: a pulse, a short
    // wait, then one unit of that ingredient is given.
    Modifier* giveIngredient(Modifier* after, GameNode* number);

    // One frame of unpaused play: the steady hand, the bonus-plus count and
    // the slots' alarms and jar particles.
    void update(int elapsedMs);
    // The steady hand's effect on the countertop; false while it rearranges.
    bool steadyHandTick(Modifier* after);
    void deactivateTool(Modifier* after, int slot);
    void emitJarParticle(int slot);
    void setBonusPlusCount(int count);

    // The catalogue slot of a tool, -1 for a tool the catalogue lacks.
    static int slotOf(int toolId);

    GameNode* getToolsNode() const { return toolsNode; }
    bool isActive(int slot) const { return slot >= 0 && slot < 2 && active[slot]; }
    Sprite* getIcon(int slot) const { return slot >= 0 && slot < 2 ? icon[slot] : nullptr; }
    Sprite* getBack(int slot) const { return slot >= 0 && slot < 2 ? back[slot] : nullptr; }
    GameNode* getSlotFrame(int slot) const { return slot == 0 ? slotQuality : slot == 1 ? slotBonus : nullptr; }
    Label* getBonusPlusLabel() const { return bonusPlusLabel; }

private:
    static int onRotationStart(void* context, BaseObject* argument);
    static int onTakeOneIngredient(void* context, BaseObject* argument);
    void startRotation(int slot);
    void takeOneIngredient(GameNode* number);
    RefPointer<GameNode> makeParticle(int slot);
    bool hasChosenTool(int toolId) const;

    GameNode* toolsNode;
    GameNode* slotQuality = nullptr;
    GameNode* slotBonus = nullptr;
    Label* bonusPlusLabel = nullptr;
    Sprite* back[2] = {nullptr, nullptr};
    Sprite* icon[2] = {nullptr, nullptr};
    bool active[2] = {false, false};
    RefPointer<ModifierFrame> backAnimation[2];
    RefPointer<ToolSlotsTask> task;
    AlarmClock steadyHandClock;
    AlarmClock alarmClock[2];
    AlarmClock particleClock[2];
    bool particleTemplateMissingLogged = false;
};
