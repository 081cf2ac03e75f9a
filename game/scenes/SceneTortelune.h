#pragma once

#include <initializer_list>
#include <string>

#include "framework/gui/Scene.h"

// The base of the game's own scenes (all but the splash): closing the window
// while one is current asks the quit question, and one way of handing over
// to the next scene.
class SceneTortelune : public Scene {
    TT_CLASS_RECORD(SceneTortelune)
public:
    explicit SceneTortelune(AbstractProperty* configuration);

    // Asks the quit question in this scene.
    void quit() override;

    // The application's quit question, set by the application at start-up so
    // that the game's scenes reach it without knowing the application.
    using QuitQuestion = void (*)(Scene* scene);
    static void setQuitQuestion(QuitQuestion question);

    // Whether the transition gives the target its input when it ends; a
    // target whose own entry animation enables its input later leaves it off.
    enum class TargetInput { EnableAtEnd, LeaveOff };

    // The section of the dialogs' pictures, which every scene shows: always
    // among the sections in use.
    static constexpr const char* kDialogSection = "dialogs";

    // Hands over to `sceneName` through `transitionName`: the load queue is
    // emptied, the sections named are requested (the target's own first) and
    // become the sections in use, whose pictures the transition unpacks, the
    // transition is set up and the scene manager makes the target its next
    // scene.
    static void switchTo(std::initializer_list<const char*> sectionNames, const std::string& transitionName,
                         const std::string& sceneName, TargetInput input = TargetInput::EnableAtEnd);
    // Requests sections that a later scene needs, after switchTo: the
    // transition waits for them too, but their pictures stay packed.
    static void preload(std::initializer_list<const char*> sectionNames);
};
