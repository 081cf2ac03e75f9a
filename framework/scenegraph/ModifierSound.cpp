#include "framework/scenegraph/ModifierSound.h"

#include "framework/sound/SoundNode.h"

TT_DEFINE_RECORD(ModifierSound, &Modifier::classRecord);

namespace {

ModifierSound::Backend& backend()
{
    static ModifierSound::Backend instance;
    return instance;
}

} // namespace

void ModifierSound::setBackend(const Backend& value)
{
    backend() = value;
    if (!backend().playSound)
        backend().playSound = &playSoundEffect;
    if (!backend().playSoundNode)
        backend().playSoundNode = &playOwnSound;
}

const ModifierSound::Backend& ModifierSound::getBackend()
{
    return backend();
}

int ModifierSound::playSoundEffect(Sound* sound)
{
    Sound::play(sound, 128, 255, false);
    return Sound::getLength(sound);
}

int ModifierSound::playOwnSound(GameNode* node)
{
    SoundNode* soundNode = objectCast<SoundNode>(node);
    if (!soundNode)
        return -1;
    soundNode->play(false, soundNode->getVolume(), soundNode->getPanning(), false);
    return soundNode->getLengthMs();
}

ModifierSound::ModifierSound(const std::string& soundName, const std::string& section, bool noWait)
    : noWait(noWait)
{
    if (backend().findSound)
        sound = backend().findSound(section, soundName);
}

ModifierSound::ModifierSound(Sound* sound, bool noWait) : sound(sound), noWait(noWait) {}

void ModifierSound::step(int deltaMs)
{
    if (!started) {
        started = true;
        int length = -1;
        if (sound)
            length = backend().playSound(sound.get());
        else if (getTarget() && backend().playSoundNode)
            length = backend().playSoundNode(getTarget());
        if (length < 0) {
            finish();
            return;
        }
        remaining = length;
    }
    if (noWait) {
        finish();
        return;
    }
    remaining -= deltaMs;
    if (remaining <= 0)
        finish();
}
