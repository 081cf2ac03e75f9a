#pragma once

#include "game/production/Phase.h"

// The start of a level: builds the game screen and plays the intro chain
// (sting, customer's words, plates, tools, the board filling, the goal's
// flash), then hands the pieces over to the play phase.
class PhaseIntro : public Phase {
public:
    struct Flags {
        bool showCustomerHint = true;
        bool introducePlates = true;
        bool introduceTools = true;
        bool fillGrid = true;
        bool introduceGoal = true;
    };
    // The flags of a first start and of a restart from the results.
    static Flags levelStartFlags(bool career);
    static Flags restartFlags(bool career);

    explicit PhaseIntro(const Flags& flags) : flags(flags) {}

    void enter() override;
    void leave() override;
    GamePieces* getPieces() override { return &pieces; }

private:
    void buildScreen();
    void startChain();
    static int startFill(void* context, BaseObject* argument);
    static bool cellsSettled(void* context, int, int, int, int);
    static bool hintConfirmed(void* context, int, int, int, int);
    static int handOver(void* context, BaseObject* argument);

    Flags flags;
    GamePieces pieces;
};
