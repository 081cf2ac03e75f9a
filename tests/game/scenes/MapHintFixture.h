#pragma once

#include <string>

#include "framework/gui/Scene.h"
#include "framework/gui/SceneManager.h"
#include "game/dialogs/DialogHint.h"
#include "support/FrontDoorFixture.h"

// The front door on the real art with the chef's hints left for the test to
// answer, and a wait for a named hint.
class MapHintFixture : public FrontDoorFixture {
protected:
    void SetUp() override
    {
        withMedia = true;
        answerHints = false;
        FrontDoorFixture::SetUp();
    }
    DialogHint* shownHint() const
    {
        Scene* scene = SceneManager::instance->getCurrentScene();
        return scene && scene->isDialogShown("DIALOG_HINT") ? objectCast<DialogHint>(scene->getDialog("DIALOG_HINT"))
                                                           : nullptr;
    }
    // Plays until the named hint is open and its hand has come to rest.
    DialogHint* waitForHint(const std::string& name, int ms = 15000)
    {
        for (int elapsed = 0; elapsed < ms; elapsed += 20) {
            if (shownHint() && shownHint()->hintName == name) {
                frames(1200);
                return shownHint();
            }
            frames(20);
        }
        return nullptr;
    }
};
