#include "framework/sound/Sound.h"

#include <algorithm>

#include "framework/scenegraph/GameNode.h"
#include "framework/sound/SoundFiles.h"
#include "framework/sound/SoundManager.h"

// Registered under GameNode, though a sound is no node of any tree.
TT_DEFINE_RECORD(Sound, &GameNode::classRecord);

int Sound::play(Sound* sound, int pan, int volume, bool loop)
{
    if (!SoundManager::isSoundOn() || !sound || !sound->sample)
        return -1;
    host::AudioMixer& mixer = SoundManager::instance->getMixer();
    const int level = std::clamp(static_cast<int>(volume * sound->volumeFactor), 0, 255);
    pan = std::clamp(pan, 0, 255);
    if (level == 255 && pan == 128)
        return mixer.playSample(sound->sample, loop, false);
    // Start paused so that volume and pan are in place before the first sample.
    const int channel = mixer.playSample(sound->sample, loop, true);
    if (channel >= 0) {
        mixer.setVolume(channel, level);
        mixer.setPan(channel, pan);
        mixer.setPaused(channel, false);
    }
    return channel;
}

int Sound::getLength(const Sound* sound)
{
    if (!SoundManager::isSoundOn() || !sound || !sound->sample)
        return 0;
    return static_cast<int>(sound->sample->frames() * 1000 / host::kAudioRate);
}

int Sound::loadSample(int fileMode, Sound* sound, const std::string& path)
{
    if (!SoundManager::isSoundOn())
        return 0;
    if (!sound)
        return -1;
    std::vector<uint8_t> bytes;
    if (readSoundFile(fileMode, path, bytes))
        sound->loadFromMemory(bytes.data(), bytes.size());
    return sound->sample ? 0 : -1;
}

bool Sound::loadFromMemory(const uint8_t* data, size_t size)
{
    sample = host::decodeAudio(data, size);
    return sample != nullptr;
}
