#pragma once

#include <string>

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"
#include "game/production/CountertopController.h"

class Customer;
class Dialog;
class GameNode;
class Label;
class Modifier;
class Sprite;

// The customer beside the countertop: its face follows what it is handed
// (casual, happy, ecstatic), it speaks in its cloud, sends hearts up, the
// singer is courted now and then, and it speaks the level's hint bubble at
// the start and the end of a level. The play phase drives its update.
class CustomerView : public BaseObject {
public:
    CustomerView();
    ~CustomerView() override;

    // Hint chain steps: each hangs its steps under `after` and returns the last.
    virtual Modifier* openHint(Modifier* after);
    virtual Modifier* enableHintOk(Modifier* after);
    virtual Modifier* closeHint(Modifier* after);

    // Each unpaused frame of play.
    virtual void update(int ms);
    // `gradeSum` is the sum of the quality grades packaged in one click.
    virtual void reactToDelivery(int gradeSum);
    virtual void resetToCasual();
    // The arcade's pose at the conveyor's handle.
    virtual void showArcadeGrip();
    // The customer pulls the conveyor's lever under `parent`: one pass of the
    // handle's frames, the handle turned to run backwards, one pass back.
    // Returns the first pass (the trap opens when it ends); null without
    // handle or parent.
    virtual Modifier* playHandlePull(Sprite* handle, Modifier* parent);
    // The same chain, for a conveyor without a customer.
    static Modifier* pullHandle(Sprite* handle, Modifier* parent);

    // One heart rising from (x, y) in "NODE_HEARTS"; returns its last step.
    Modifier* emitHeart(Modifier* parent, int x, int y, float angleStart, float angleStop);

    const std::string& getName() const { return name; }
    int getPendingHearts() const { return pendingHearts; }
    const std::string& getLastText() const { return lastText; }
    int getRepeatCount() const { return repeatCount; }
    const Countdown& getMoodCountdown() const { return mood; }
    const Countdown& getSingerCountdown() const { return singer; }
    const Countdown& getAnimationCountdown() const { return animation; }
    Dialog* getHint() const { return hint; }
    // Where the customer's speech bubble stands on its lower left corner;
    // false without a customer record.
    bool getSpeechPoint(int& x, int& y) const;
    // How often the singer was courted (tests and the picture).
    int getCourtships() const { return courtships; }

private:
    void setFace(const std::string& suffix);
    void speak(const std::string& key);
    void hideSpeech();
    void courtSinger();
    static int onOpenHint(void* context, BaseObject* argument);
    static int onEnableHintOk(void* context, BaseObject* argument);
    static int onCloseHint(void* context, BaseObject* argument);
    static int onHintFaded(void* context, BaseObject* argument);

    std::string name;
    Customer* record = nullptr;
    Sprite* face = nullptr;
    Sprite* cloud = nullptr;
    Label* label = nullptr;
    Sprite* suitor = nullptr;
    Sprite* suitorOverlay = nullptr;
    Countdown mood;
    Countdown animation;
    Countdown heart;
    Countdown text;
    Countdown singer;
    std::string lastText;
    int repeatCount = 0;
    int pendingHearts = 0;
    int courtships = 0;
    Dialog* hint = nullptr;
};
