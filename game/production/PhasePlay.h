#pragma once

#include "framework/core/RefPointer.h"
#include "game/production/Phase.h"
#include "game/production/Twinkles.h"

// The phase in which the player plays: it completes the screen of a resumed
// level, keeps the score and the customer up to date and hands over to the
// end phase once the level is over (career levels after "WIN_DELAY").
class PhasePlay : public Phase {
public:
    // A resumed level: every piece is built on entering.
    PhasePlay();
    // The intro's hand-over: counted copies of its pieces.
    explicit PhasePlay(const GamePieces& pieces);

    void enter() override;
    void update(int ms) override;
    void leave() override;
    // The score ticker stops counting while the game is paused.
    void pause() override;
    void resume() override;
    GamePieces* getPieces() override { return &pieces; }

    int getWinRemaining() const { return winRemaining; }

private:
    void buildMissingPieces();
    bool wonSoFar() const;

    GamePieces pieces;
    RefPointer<Twinkles> twinkles;
    int winInitial = 0;
    int winRemaining = 0;
    bool winRung = false;
};
