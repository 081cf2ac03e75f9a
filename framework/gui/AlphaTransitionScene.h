#pragma once

#include "framework/gui/TransitionScene.h"
#include "framework/scenegraph/Sprite.h"

// A cross-fade from a still picture of the old scene to one of the new scene.
class AlphaTransitionScene : public TransitionScene {
    TT_CLASS_RECORD(AlphaTransitionScene)
public:
    explicit AlphaTransitionScene(AbstractProperty* configuration);

    void show() override;
    void finishTransition() override;

    Sprite* getOldPicture() const { return oldPicture.get(); }
    Sprite* getNewPicture() const { return newPicture.get(); }

    // Draws the scene (its own drawing, then its tree) into the sprite's
    // picture, which is filled with opaque black first.
    static void drawScene(Scene* scene, Sprite* picture);
    // Makes a sprite with a screen-sized picture that carries alpha.
    static RefPointer<Sprite> makePicture();
    // Makes the old and the new picture and appends them to the scene's tree.
    static void addPictures(Scene* scene, RefPointer<Sprite>& oldPicture, RefPointer<Sprite>& newPicture);
    // Fades the picture's alpha from `from` to `to` over `timeMs`, then calls `done`.
    static void fadeThenCall(Sprite* picture, int timeMs, int from, int to, GuiMethod::Function done, void* context);
    // Turns the full-screen handler back on once the target scene shows.
    static void restoreFullScreenHandler(Scene* target);
    // Waits until the loader is idle, handling window messages meanwhile;
    // gives up (logged) after `limitMs`. False when it gave up.
    static bool waitForLoader(int limitMs);
    // Leaves the full-screen handler inactive and moves it into the target.
    static void prepareFullScreenHandler(Scene* target);

private:
    RefPointer<Sprite> oldPicture;
    RefPointer<Sprite> newPicture;
    int time = 1000;
    bool wait = true;
};
