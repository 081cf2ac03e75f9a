#pragma once

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"

class GameNode;
class Twinkles;

// What a twinkle's last step calls: the successor, while its twinkles live.
// The steps hold this, not the twinkles, so the twinkles can go at any time.
class TwinkleSpawner : public BaseObject {
public:
    explicit TwinkleSpawner(Twinkles* owner) : owner(owner) {}
    void spawn();
    void detach() { owner = nullptr; }

private:
    Twinkles* owner;
};

// The twinkling stars over the belt modes' screen: three at a time, each at
// one of the configured places after a random pause, turning and fading in
// and out, and handing over to a fresh one as it goes.
class Twinkles : public BaseObject {
public:
    Twinkles();
    // Cancels every twinkle's steps and drops the twinkles, so that no
    // successor is spawned afterwards.
    ~Twinkles() override;

    // One twinkle with its whole animation; also the end of every twinkle's chain.
    void spawnTwinkle();

    GameNode* getLayer() const { return layer; }

private:
    GameNode* layer = nullptr;
    RefPointer<TwinkleSpawner> spawner;
};
