#include "framework/core/ObjectFactoryContainer.h"
#include "game/dialogs/DialogPause.h"

#include <cmath>

#include "framework/gui/SceneManager.h"
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierFunction.h"
#include "framework/sound/Sound.h"
#include "framework/sound/SoundManager.h"
#include "game/dialogs/DialogMenu.h"
#include "game/scenes/SceneGame.h"

TT_DEFINE_RECORD(DialogPause, &DialogTortelune::classRecord);
TT_REGISTER_CLASS(DialogPause);

namespace {

// The manager's start-stream mode that carries on the current music.
constexpr int kContinueStreamMode = 306;
// Music fades by 0.005 of the level per ms: a whole level in 200 ms.
constexpr float kMusicFadePerMs = 0.005f;

void playGameSound(const char* key)
{
    if (!ResourceManager::instance)
        return;
    ResourceLock lock;
    RefPointer<Sound> sound = ResourceManager::instance->getResourceAs<Sound>(key, "sounds");
    if (sound)
        Sound::play(sound.get(), 128, 255, false);
}

// The stream that is heard: the incoming one while a cross-fade runs.
SoundStream* audibleMusic(SoundManager& sound)
{
    if (sound.isCrossFading() && sound.getIncomingMusic())
        return sound.getIncomingMusic();
    return sound.getCurrentMusic();
}

void fadeMusicTo(SoundManager& sound, float target)
{
    SoundStream* current = sound.getCurrentMusic();
    SoundStream* stream = audibleMusic(sound);
    if (!current || !stream)
        return;
    float level = current->fadeCurrent;
    float distance = std::fabs(target - level);
    // duration = distance / (0.005 x distance per ms) = 200 ms for any distance
    int duration = distance > 0.0f ? static_cast<int>(distance / (kMusicFadePerMs * distance)) : 1;
    SoundStream::fade(stream, level, target, duration);
}

} // namespace

DialogPause::DialogPause(AbstractProperty* configuration) : DialogTortelune(configuration)
{
    // The unpause sound takes the place of the hide sound.
    setHideSound("");
    bindComponent("BUTTON_RESUME", GuiMethod(this, &DialogPause::onResume));
}

void DialogPause::show()
{
    showAndFadeIn();
    playGameSound("SOUND_PAUSE");
    SoundManager* sound = SoundManager::instance;
    if (SoundManager::isSoundOn() && sound->getCurrentMusic())
        fadeMusicTo(*sound, 0.0f);
    mutePending = true;
    muteDelay = new ModifierDelay(kMuteDelayMs);
    GameNode::addModifier(this, muteDelay.get());
    GameNode::addModifier(this, new ModifierFunction(GuiMethod(this, &DialogPause::onMute)));
}

int DialogPause::onMute(void* context, BaseObject* /*modifier*/)
{
    auto* dialog = static_cast<DialogPause*>(context);
    // A resume before the delay ran out has the last word.
    if (!dialog->mutePending)
        return 0;
    dialog->mutePending = false;
    dialog->muteDelay.reset();
    if (SoundManager::isSoundOn())
        SoundManager::instance->setMuted(true);
    return 0;
}

bool DialogPause::onLeftUp(int x, int y, int keys)
{
    bool taken = DialogTortelune::onLeftUp(x, y, keys);
    if (!containsPoint(x, y))
        return taken;
    resume();
    return true;
}

int DialogPause::onResume(void* context, BaseObject* /*button*/)
{
    static_cast<DialogPause*>(context)->resume();
    return 0;
}

void DialogPause::resume()
{
    // The button and a click on the dialog may both come in one frame.
    if (isClosing())
        return;
    // The pending mute must not come after the unmute, and its delay must not
    // hold back the fade-out.
    mutePending = false;
    if (muteDelay) {
        muteDelay->finish();
        muteDelay.reset();
    }
    SoundManager* sound = SoundManager::instance;
    if (SoundManager::isSoundOn() && sound->getCurrentMusic()) {
        fadeMusicTo(*sound, 1.0f);
        // A cross-fade under way carries on: ending it here would close the
        // music that is about to take over, and the game would stay silent.
        if (!sound->isCrossFading())
            sound->startStream(sound->getCurrentMusic(), nullptr, kContinueStreamMode);
    }
    playGameSound("SOUND_UNPAUSE");
    if (SoundManager::isSoundOn())
        sound->setMuted(false);
    if (auto* game = objectCast<SceneGame>(DialogMenu::hostScene()))
        closeCallback = GuiMethod(game, &SceneGame::onResumeRequested);
    close();
}
