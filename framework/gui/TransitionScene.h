#pragma once

#include "framework/gui/Scene.h"

// The base of the scenes that play between two scenes: it knows the scene it
// leaves and the one it leads to, and hands over to the latter at its end.
class TransitionScene : public Scene {
    TT_CLASS_RECORD(TransitionScene)
public:
    explicit TransitionScene(AbstractProperty* configuration);

    // Answers whether the resource loader has nothing left to load. Without
    // one installed the resource manager is asked (after waking its loader);
    // without a manager the loader counts as idle.
    using LoaderIdleCheck = bool (*)();
    static void setLoaderIdleCheck(LoaderIdleCheck check);
    static bool isLoaderIdle();

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
