#include "framework/sound/SoundManager.h"

#include "framework/core/Log.h"
#include "framework/platform/IGameSettings.h"
#include "framework/sound/SoundFiles.h"

// Registered under BaseObject, although it runs as a task.
TT_DEFINE_RECORD(SoundManager, &BaseObject::classRecord);

SoundManager* SoundManager::instance = nullptr;

namespace {
constexpr int kGenericFailure = static_cast<int>(0x80004005u);
constexpr int kDefaultStreamMode = 0x132;
}

void SoundManager::createInstance(std::unique_ptr<host::AudioOutput> output)
{
    if (!output)
        output = std::make_unique<host::SdlAudioOutput>();
    auto* manager = new SoundManager(std::move(output));
    manager->init(host::kAudioRate, host::AudioMixer::kEffectChannels);
    holdGlobalInstance(instance, manager);
}

void SoundManager::releaseInstance()
{
    releaseGlobalInstance(instance);
}

SoundManager::SoundManager(std::unique_ptr<host::AudioOutput> output) : output(std::move(output)) {}

SoundManager::~SoundManager()
{
    soundOn = false;
    currentMusic.reset();
    incomingMusic.reset();
    mixer.stopAll();
    if (output)
        output->close();
}

int SoundManager::init(int rate, int channels)
{
    // The mixer's rate and channel count are fixed; other requests still get them.
    if (rate != host::kAudioRate || channels != host::AudioMixer::kEffectChannels)
        LOG_INFO("Sound runs at 44100 Hz with 32 effect channels");
    if (!output || !output->open(mixer)) {
        LOG_WARNING("No audio device: the game runs without sound");
        soundOn = false;
        return kGenericFailure;
    }
    soundOn = true;
    mixer.setEffectsMasterVolume(mute ? 0 : effectsVolume);
    return 0;
}

void SoundManager::run(int deltaMs)
{
    if (!soundOn)
        return;
    for (SoundStream* stream : {currentMusic.get(), incomingMusic.get()}) {
        if (!stream)
            continue;
        if (stream == incomingMusic.get() && crossFading && incomingDelay > 0) {
            // The incoming music waits silently, then starts from its beginning.
            incomingDelay -= deltaMs;
            if (incomingDelay <= 0) {
                mixer.seekStream(stream->stream, 0);
                incomingDelay = 0;
            }
            continue;
        }
        stream->advanceFade(deltaMs);
        SoundStream::applyVolume(stream, this, stream->volume);
    }
    // With no outgoing music (the first track of the run) the cross-fade ends
    // as soon as the incoming music has faded in; otherwise the first track
    // would never become current and could not be paused.
    if (!currentMusic || currentMusic->fadeDone()) {
        if (currentMusic && stopAfterFade) {
            stopAfterFade = false;
            pauseMusic(0);
        }
        if (incomingMusic && incomingMusic->fadeDone() && crossFading) {
            finishCrossfade();
            crossFading = false;
        }
    }
}

void SoundManager::playMusic(int fadeOutMs, float volume, int fadeInMs, SoundStream* stream, int delayMs, int mode)
{
    if (!soundOn || !stream)
        return;
    if (!crossFading && currentMusic && currentMusic->fileName == stream->fileName) {
        SoundStream::fade(currentMusic.get(), currentMusic->fadeCurrent, volume, fadeOutMs);
        startStream(currentMusic.get(), nullptr, kDefaultStreamMode);
        return;
    }
    if (crossFading) {
        finishCrossfade();
        // The music asked for is the one that just became current: no cross-fade to itself.
        if (currentMusic.get() == stream) {
            crossFading = false;
            SoundStream::fade(stream, stream->fadeCurrent, volume, fadeOutMs);
            return;
        }
    }
    crossFading = true;
    incomingMusic = stream;
    incomingDelay = delayMs;
    if (currentMusic)
        SoundStream::fade(currentMusic.get(), currentMusic->fadeCurrent, 0.0f, fadeOutMs);
    SoundStream::fade(stream, 0.0f, volume, fadeInMs > 0 ? fadeInMs : 1);
    startStream(stream, currentMusic.get(), mode);
}

bool SoundManager::startStream(SoundStream* stream, SoundStream* previous, int /*mode*/)
{
    if (!soundOn || !stream)
        return false;
    if (stream == previous)
        return true;
    paused = false;
    stopAfterFade = false;
    if (stream != currentMusic.get()) {
        if (crossFading) {
            closeStream(stream);
        } else {
            if (currentMusic)
                closeStream(currentMusic.get());
            currentMusic = stream;
        }
    }
    if (!stream->isOpen() && !openStream(stream))
        return false;
    if (stream->resumePosition != 0) {
        mixer.seekStream(stream->stream, stream->resumePosition);
        stream->resumePosition = 0;
    }
    // One channel per stream: playing it again replaces its old channel.
    mixer.stopStream(stream->stream);
    stream->channel = mixer.playStream(stream->stream);
    mixer.setPan(stream->channel, stream->panning);
    SoundStream::applyVolume(stream, this, stream->volume);
    return stream->channel >= 0;
}

bool SoundManager::pauseMusic(int fadeMs)
{
    if (!soundOn || !currentMusic || paused || stopAfterFade)
        return false;
    if (fadeMs != 0) {
        stopAfterFade = true;
        SoundStream::fade(currentMusic.get(), currentMusic->fadeCurrent, 0.0f, fadeMs);
        if (crossFading && incomingMusic) {
            SoundStream::fade(incomingMusic.get(), incomingMusic->fadeCurrent, 0.0f, fadeMs);
            incomingDelay = 0;
        }
        return false;
    }
    if (!currentMusic->isOpen())
        return false;
    if (crossFading) {
        finishCrossfade();
        crossFading = false;
    }
    if (!currentMusic || !currentMusic->isOpen())
        return false;
    currentMusic->resumePosition = mixer.streamPosition(currentMusic->stream);
    mixer.stopStream(currentMusic->stream);
    currentMusic->channel = -1;
    stopAfterFade = false;
    paused = true;
    return true;
}

void SoundManager::finishCrossfade()
{
    RefPointer<SoundStream> outgoing = currentMusic;
    if (outgoing)
        closeStream(outgoing.get());
    currentMusic = incomingMusic;
    incomingMusic = outgoing;
}

void SoundManager::stopMusic()
{
    if (currentMusic)
        closeStream(currentMusic.get());
    if (incomingMusic)
        closeStream(incomingMusic.get());
}

void SoundManager::stopEffects()
{
    if (soundOn)
        mixer.stopEffects();
}

bool SoundManager::stopStream(SoundStream* stream)
{
    if (!stream || !stream->isOpen())
        return false;
    closeStream(stream);
    return true;
}

void SoundManager::setMuted(bool muted)
{
    mute = muted;
    if (!soundOn)
        return;
    if (mute) {
        mixer.setEffectsMasterVolume(0);
        for (SoundStream* stream : {currentMusic.get(), incomingMusic.get()})
            if (stream && stream->channel >= 0)
                mixer.setVolume(stream->channel, 0);
    } else {
        mixer.setEffectsMasterVolume(effectsVolume);
        for (SoundStream* stream : {currentMusic.get(), incomingMusic.get()})
            SoundStream::applyVolume(stream, this, stream ? stream->volume : 0);
    }
}

void SoundManager::setEffectsVolume(int volume)
{
    effectsVolume = IGameSettings::clampVolume(volume);
    if (soundOn && !mute)
        mixer.setEffectsMasterVolume(effectsVolume);
}

void SoundManager::setMusicVolume(int volume)
{
    musicVolume = IGameSettings::clampVolume(volume);
}

bool SoundManager::openStream(SoundStream* stream)
{
    std::vector<uint8_t> bytes;
    if (!readSoundFile(stream->fileMode, stream->fileName, bytes)) {
        LOG_ERROR("Cannot read music file " + stream->fileName);
        return false;
    }
    std::string error;
    auto source = host::openStream(std::move(bytes), &error);
    if (!source) {
        LOG_ERROR("Cannot play music file " + stream->fileName + ": " + error);
        return false;
    }
    stream->stream = host::AudioMixer::Stream(std::move(source));
    return true;
}

void SoundManager::closeStream(SoundStream* stream)
{
    if (!stream)
        return;
    if (stream->stream)
        mixer.stopStream(stream->stream);
    stream->channel = -1;
    stream->stream.reset();
}
