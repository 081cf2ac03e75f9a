#pragma once

#include "game/production/Phase.h"

// The close of a level on screen: the win or lose sting, the board coming to
// rest and falling away, the customer's last words, then the results.
class PhaseEnd : public Phase {
public:
    explicit PhaseEnd(const GamePieces& pieces);

    void enter() override;
    void leave() override;
    GamePieces* getPieces() override { return &pieces; }

    // Career and exam levels are won with the goal's stars; the arcade never is.
    static bool isLevelWon();

private:
    static bool boardIdle(void* context, int, int, int, int);
    static bool boardSettled(void* context, int, int, int, int);
    static bool customerDone(void* context, int, int, int, int ms);
    static bool hintGone(void* context, int, int, int, int);
    static int clearBoard(void* context, BaseObject* argument);
    static int showResults(void* context, BaseObject* argument);

    int endInitial;
    int endRemaining;
    bool endRung = false;
    GamePieces pieces;
};

// The results: the level's dialog opens, the profile records the level, and
// the dialog's close restarts the level or leaves the game scene.
class PhaseResults : public Phase {
public:
    void enter() override;
    void leave() override;

    // The results dialog closed with `result`: 0 restarts the level.
    void restartOrLeave(int result);
    // The profile's bookkeeping of a finished career or exam level.
    static void recordLevel(bool won);

private:
    static int onDialogClosed(void* context, BaseObject* argument);

    RefPointer<BaseObject> dialog;
};
