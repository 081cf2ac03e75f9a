#pragma once

#include <cstdint>

#include "framework/core/RefPointer.h"
#include "game/dialogs/DialogTortelune.h"

class Button;
class LabelTicker;
class ModifierContainer;
class PlaySessionInfo;

// The results of an arcade run: the set played, the round reached and the
// score, each beside the player's best for the set, revealed row by row with
// counting numbers and new-record marks. A click during the reveal shows the
// end at once. "Restart" closes with result 0, "Stop" with 2.
class DialogArcadeEnd : public DialogTortelune {
    TT_CLASS_RECORD(DialogArcadeEnd)
public:
    explicit DialogArcadeEnd(AbstractProperty* configuration);
    ~DialogArcadeEnd() override;

    void show() override;
    // The value labels live under their tickers; they are found by name as well.
    GameNode* getComponent(const std::string& name) override;
    // Fills the dialog from the finished run and starts the reveal. Call
    // before the profile records the run, so the bests are the old ones.
    static void showResults(DialogArcadeEnd* dialog, const PlaySessionInfo& session);
    // A release during the reveal cuts it short, then goes to the buttons.
    bool onLeftUp(int x, int y, int keys) override;

    int32_t getResult() const { return result; }
    bool isRevealDone() const { return revealDone; }
    bool isNewLevelRecord() const { return newLevelRecord; }
    bool isNewScoreRecord() const { return newScoreRecord; }

private:
    static int onRestart(void* context, BaseObject* button);
    static int onStop(void* context, BaseObject* button);
    static int onRevealFinished(void* context, BaseObject* argument);
    void buildReveal();
    void skipReveal();
    Modifier* animationTree() const;

    int32_t result = 2;
    Button* restartButton = nullptr;
    Button* stopButton = nullptr;
    LabelTicker* tickers[4] = {};
    int32_t score = 0;
    int32_t scoreRecord = 0;
    int32_t level = 1;
    int32_t levelRecord = 1;
    RefPointer<ModifierContainer> revealSequence;
    bool revealDone = true;
    bool newLevelRecord = false;
    bool newScoreRecord = false;
};
