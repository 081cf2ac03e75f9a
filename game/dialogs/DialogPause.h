#pragma once

#include "framework/core/RefPointer.h"
#include "game/dialogs/DialogTortelune.h"

class Modifier;

// Covers the board while the game is paused: the music fades out as it
// opens and the sound goes quiet shortly after; resuming (its button or a
// click anywhere on it) brings sound and music back and lets play go on.
class DialogPause : public DialogTortelune {
    TT_CLASS_RECORD(DialogPause)
public:
    explicit DialogPause(AbstractProperty* configuration);

    void show() override;
    // A release anywhere on the dialog resumes, like its button.
    bool onLeftUp(int x, int y, int keys) override;

    static int onResume(void* context, BaseObject* button);
    void resume();

    bool isMutePending() const { return mutePending; }

    // Time from opening to the mute, so that the pause sound is still heard.
    static constexpr int kMuteDelayMs = 100;

private:
    static int onMute(void* context, BaseObject* modifier);

    bool mutePending = false;
    RefPointer<Modifier> muteDelay;
};
