#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "framework/core/RefPointer.h"
#include "framework/platform/Task.h"

class Scene;
class ToolTip;
class TransitionScene;

// The first frame task: owns every scene by name, runs the current scene
// each frame (input, update, animation, drawing, clean-up) and switches to
// the next one, directly or through a transition scene.
class SceneManager : public Task {
    TT_CLASS_RECORD(SceneManager)
public:
    static SceneManager* instance;
    // Makes the one instance (holding one reference) and points the render
    // task at its running scene.
    static SceneManager* create();
    static void destroyInstance();
    // The window's close box: the scene the player sees is asked to quit
    // (a game scene asks the player first). False when there is no scene.
    static bool onWindowClose(void* context);

    // Told of every scene named as the next one, so the resource sections it
    // needs are queued for loading before the switch.
    using SectionRequest = void (*)(Scene* target);
    static void setSectionRequest(SectionRequest request);

    SceneManager();
    explicit SceneManager(AbstractProperty*) : SceneManager() {}
    ~SceneManager() override;

    // Builds the scene from its definition in the scenes section and stores
    // it under `name`. Null (logged, nothing stored) when the definition is
    // missing or makes no scene.
    Scene* registerScene(const std::string& name);
    Scene* getScene(const std::string& name) const;
    // The scene the player sees: during a transition, the one it leads to.
    Scene* getCurrentScene() const;
    // The scene that runs this frame (a transition while one plays).
    Scene* getRunningScene() const { return current.get(); }
    Scene* getPreviousScene() const { return previous.get(); }
    Scene* getNextScene() const { return next.get(); }
    TransitionScene* getTransition() const { return transition.get(); }
    // Makes the transition that the next switch plays; the one held before is dropped.
    void setTransition(const std::string& name);
    void setNextScene(Scene* scene);
    void setToolTip(ToolTip* toolTip);
    ToolTip* getToolTip() const { return toolTip.get(); }

    void run(int deltaMs) override;
    // Scene switches so far, transitions counted (a switch through one counts twice).
    uint32_t getSwitchCount() const { return switches; }

private:
    void switchScene();

    std::unordered_map<std::string, RefPointer<Scene>> scenes;
    RefPointer<Scene> previous;
    RefPointer<Scene> current;
    RefPointer<Scene> next;
    RefPointer<TransitionScene> transition;
    RefPointer<ToolTip> toolTip;
    uint32_t switches = 0;
};
