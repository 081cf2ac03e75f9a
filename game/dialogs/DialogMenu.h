#pragma once

#include <string>

#include "game/dialogs/DialogTortelune.h"

class Scene;

// The game scene's menu: help, settings and trophies open above it, "stop"
// asks before leaving the level, "resume" closes it and lets play go on.
class DialogMenu : public DialogTortelune {
    TT_CLASS_RECORD(DialogMenu)
public:
    explicit DialogMenu(AbstractProperty* configuration);

    void show() override;

    static int onHelp(void* context, BaseObject* button);
    static int onSettings(void* context, BaseObject* button);
    static int onStop(void* context, BaseObject* button);
    static int onResume(void* context, BaseObject* button);
    static int onTrophies(void* context, BaseObject* button);

    // The scene the menu works in: the game scene, else the current one.
    static Scene* hostScene();
    // Builds the dialog of that template in the host scene if needed and shows it on top.
    static void openAbove(const std::string& name);
};
