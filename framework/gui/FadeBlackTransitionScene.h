#pragma once

#include "framework/gui/TransitionScene.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/Sprite.h"

// The old scene fades to black; while the new scene's resources load a
// loading text may appear with animated dots; then the new scene fades in.
class FadeBlackTransitionScene : public TransitionScene {
    TT_CLASS_RECORD(FadeBlackTransitionScene)
public:
    enum Phase : int { FadingOut = 0, Waiting = 1, FadingIn = 2 };

    explicit FadeBlackTransitionScene(AbstractProperty* configuration);

    void update(int deltaMs) override;
    void show() override;
    void finishTransition() override;

    int getPhase() const { return phase; }
    Label* getLoadingLabel() const { return loadingLabel.get(); }
    Sprite* getOldPicture() const { return oldPicture.get(); }
    Sprite* getNewPicture() const { return newPicture.get(); }
    static int fadedOutCallback(void* context, BaseObject* argument);

private:
    void startFadeIn();

    RefPointer<Sprite> oldPicture;
    RefPointer<Sprite> newPicture;
    RefPointer<Label> loadingLabel;
    WString baseText;
    int showDelay = 3000;
    int showTime = 1500;
    int dotClock = 0;
    bool wait = true;
    int time = 1000;
    int phase = FadingOut;
};
