#pragma once

#include <string>

#include "game/production/ProductionFixture.h"

class Dialog;

// The production fixture with a scene manager whose current scene is the
// game scene, stand-ins for the pause, menu and trophy dialogs that other
// parts of the game own, and helpers to press and release on a dialog.
class LevelSceneTest : public ProductionTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes the game scene the scene manager's current scene.
    void makeCurrent();
    Dialog* shown(const std::string& name) const;
    // Frames until the named dialog is shown, or gone; false after the limit.
    bool waitShown(const std::string& name, int maxFrames = 400);
    bool waitGone(const std::string& name, int maxFrames = 400);
    void clickOn(Dialog* dialog);
};
