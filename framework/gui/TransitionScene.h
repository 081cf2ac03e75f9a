#pragma once

#include "framework/gui/Scene.h"

// The base of the scenes that play between two scenes: it knows the scene it
// leaves and the one it leads to, and hands over to the latter at its end.
class TransitionScene : public Scene {
    TT_CLASS_RECORD(TransitionScene)
public:
    explicit TransitionScene(AbstractProperty* configuration);

    // Answers whether the resource loader has nothing left to load and the
    // pictures of the sections in use are unpacked (a frame's share of them
    // is unpacked on each call). Without a check installed the resource
    // manager is asked (after waking its loader); without a manager the
    // loader counts as idle.
    using LoaderIdleCheck = bool (*)();
    static void setLoaderIdleCheck(LoaderIdleCheck check);
    static bool isLoaderIdle();

    // Raw bytes of pictures unpacked per frame ahead of the target's first
    // draw: a few milliseconds of work, so that a frame stays short.
    static constexpr int64_t kUnpackBytesPerFrame = int64_t(2) << 20;
    // Unpacks a frame's share of the pictures of the sections in use; true
    // when none is left packed.
    static bool unpackTargetPictures();

    // Fills the screen black under the transition's pictures.
    void render(Graphics* graphics) override;
    // Turns the old scene's input off, then enters like any scene.
    void show() override;
    virtual void setScenes(Scene* fromScene, Scene* toScene);
    // Enters the target with its input off while the transition plays.
    virtual void showTarget();
    // Names the target as the next scene and gives it its input back.
    virtual void finishTransition();

    Scene* getFrom() const { return from; }
    Scene* getTo() const { return to; }
    bool getEnableTargetInput() const { return enableTargetInput; }
    void setEnableTargetInput(bool value) { enableTargetInput = value; }

    // The callback of the modifier that ends a transition's animation.
    static int finishCallback(void* context, BaseObject* argument);

private:
    Scene* from = nullptr;
    Scene* to = nullptr;
    bool enableTargetInput = true;
};
