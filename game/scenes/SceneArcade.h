#pragma once

#include "game/scenes/SceneTortelune.h"

class Button;
class GameNode;

// The arcade's entrance ("SCENE_ARCADE"): a stage with a curtain and six
// bowls, one per arcade set. It puts the game into arcade mode, reveals the
// sets unlocked since the last visit, offers to continue a saved arcade run,
// and opens a set's information dialog before its run starts.
class SceneArcade : public SceneTortelune {
    TT_CLASS_RECORD(SceneArcade)
public:
    static constexpr int kSets = 6;

    explicit SceneArcade(AbstractProperty* configuration);

    void loadContent() override;
    void show() override;
    void hide() override;

    // The step after the curtain and after each reveal: the next reveal, or
    // the first-visit hint, the continue offer and the bowls' input.
    void arrive();

    bool hasSaved() const { return hasSavedGame; }
    int getSavedSetIndex() const { return savedSetIndex; }
    Button* getBowl(int set) const { return set >= 0 && set < kSets ? bowlButtons[set] : nullptr; }
    // Whether a reveal is waiting to be played.
    bool revealDue() const;

    static int onBack(void* context, BaseObject* button);
    static int onBowl(void* context, BaseObject* button);
    static int onContinue(void* context, BaseObject* button);
    static int onDiscard(void* context, BaseObject* button);
    static int onInfoClosed(void* context, BaseObject* dialog);

private:
    static int onArrive(void* context, BaseObject* argument);
    // A twinkle over the stage; each one starts the next when it has gone.
    void addTwinkleCycle();
    static int onTwinkleAppears(void* context, BaseObject* argument);
    static int onTwinkleDone(void* context, BaseObject* argument);
    void openCurtain();
    // One bowl's reveal: enabled, then the shake; returns the shake's end.
    Modifier* revealBowl(int set, int delayMs);
    void playReveal();
    void askContinue(bool fromBowl);
    void openInfo();
    void setBowlInput(bool enabled);
    // Reads the saved "ARCADE" run; -1 when there is none or its set is not one of the six.
    int readSavedSet() const;

    bool firstShow = true;
    bool hasSavedGame = false;
    bool enteredFromGame = false;
    bool enteredFromSelection = false;
    bool questionFromBowl = false;
    int savedSetIndex = -1;
    Button* backButton = nullptr;
    Button* bowlButtons[kSets] = {};
    GameNode* curtainFront = nullptr;
    GameNode* curtainBack = nullptr;
    GameNode* curtainRope = nullptr;
};
