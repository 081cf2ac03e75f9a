#pragma once

#include <string>

#include "framework/core/BaseObject.h"

class GameNode;
class Modifier;
class PastryStation;
class TaskManager;
class iInputListenerContainer;

// What the board needs of the scene that shows it: the animation tree, the
// scene's input and play flags, the pastry station, the listeners and the
// frame timer. The game scene provides the real one; tests a fake.
class BoardHost : public BaseObject {
public:
    // The modifier under which the board hangs its independent chains, or
    // null (then tile animations end at once).
    virtual Modifier* getAnimationRoot() = 0;
    virtual bool isInputBlocked() const = 0;
    // A level is being played.
    virtual bool isPlaying() const = 0;
    // The station that takes removed ingredients, or null.
    virtual PastryStation* getPastryStation() = 0;
    virtual void setPastryStation(PastryStation* /*station*/) {}
    virtual iInputListenerContainer* getInputListeners() = 0;
    virtual TaskManager* getTaskManager() = 0;
    // Plays a sound of section "sounds" once at pan 128, volume 255.
    virtual void playSound(const std::string& name);
    // The scene's layers of floating texts ("NODE_FLOATER") and of the
    // big announcements ("NODE_FLOATERSTARS"), or null.
    virtual GameNode* getFloaterLayer() { return nullptr; }
    virtual GameNode* getAnnouncementLayer() { return nullptr; }
    // A floater's last letter has reached the bonus meter; its tag holds the weight.
    virtual void deliverToBonusMeter(GameNode* /*letter*/) {}
    // The tool slots: a tool's pulse, and its particles towards a node.
    virtual void pulseTool(int /*toolId*/) {}
    virtual void emitToolParticles(int /*toolId*/, GameNode* /*target*/, int /*amount*/, bool /*inside*/) {}
    // A star flies from the screen point (x, y) to the tool slots.
    virtual void flyStarToTools(int /*x*/, int /*y*/) {}
    // The scene's score label ("LABEL_SCORE"), or null.
    virtual GameNode* getScoreLabel() { return nullptr; }
    // A star from screen point (x, y) to the level's star goal after `delayMs`;
    // the goal counts it when it lands.
    virtual void flyStarToGoal(int /*x*/, int /*y*/, int /*delayMs*/, int /*soundNumber*/, float /*scale*/) {}

    // The host of the board now built, or null; tiles reach the animation tree through it.
    static BoardHost* current();
    static void setCurrent(BoardHost* host);
    // The current host's animation root, or null.
    static Modifier* animationRoot();
};
