#pragma once

#include <memory>

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"
#include "framework/platform/Task.h"
#include "framework/sound/SoundStream.h"
#include "host/AudioMixer.h"
#include "host/AudioOutput.h"

// The singleton that owns the audio device and the mixer, keeps the sound-on
// switch, the effects and music volumes and the mute switch, and plays music:
// one current stream and one incoming stream, cross-faded once per frame.
// While sound is off every operation does nothing. It is the frame timer's
// last task, so its update runs after everything else in a frame.
class SoundManager : public Task {
    TT_CLASS_RECORD(SoundManager)
public:
    static SoundManager* instance;
    // True once an audio device was opened.
    static bool isSoundOn() { return instance && instance->soundOn; }

    // Creates the manager on the given output (the SDL device when none) at
    // 44100 Hz with 32 channels, stores it in `instance` and takes a reference.
    // A device that cannot be opened leaves sound off for the run.
    static void createInstance(std::unique_ptr<host::AudioOutput> output = nullptr);
    static void releaseInstance();

    explicit SoundManager(std::unique_ptr<host::AudioOutput> output);
    ~SoundManager() override;

    // 0 on success, 0x80004005 when no device could be opened.
    int init(int rate, int channels);

    // Per-frame update: fades and the cross-fade.
    void run(int deltaMs) override;

    void playMusic(int fadeOutMs, float volume, int fadeInMs, SoundStream* stream, int delayMs, int mode);
    bool startStream(SoundStream* stream, SoundStream* previous, int mode);
    // Fades the music out and pauses it (remembering its position); with 0 it
    // pauses at once. True when it was paused now.
    bool pauseMusic(int fadeMs);
    void finishCrossfade();
    void stopMusic();
    bool stopStream(SoundStream* stream);
    // Silences every sound effect still playing; the music goes on.
    void stopEffects();

    void setMuted(bool muted);
    bool isMuted() const { return mute; }
    void setEffectsVolume(int volume);
    int getEffectsVolume() const { return effectsVolume; }
    void setMusicVolume(int volume);
    int getMusicVolume() const { return musicVolume; }
    int getOutputRate() const { return output ? output->outputRate() : host::kAudioRate; }

    SoundStream* getCurrentMusic() const { return currentMusic.get(); }
    SoundStream* getIncomingMusic() const { return incomingMusic.get(); }
    bool isCrossFading() const { return crossFading; }
    bool isPaused() const { return paused; }
    int getIncomingDelay() const { return incomingDelay; }

    host::AudioMixer& getMixer() { return mixer; }

private:
    bool openStream(SoundStream* stream);
    void closeStream(SoundStream* stream);

    host::AudioMixer mixer;
    std::unique_ptr<host::AudioOutput> output;
    bool soundOn = false;
    bool mute = false;
    int effectsVolume = 255;
    int musicVolume = 255;
    RefPointer<SoundStream> currentMusic;
    RefPointer<SoundStream> incomingMusic;
    bool crossFading = false;
    int incomingDelay = 0;
    bool stopAfterFade = false;
    bool paused = false;
};
