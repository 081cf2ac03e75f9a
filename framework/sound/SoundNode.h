#pragma once

#include <cstdint>

#include "framework/core/RefPointer.h"
#include "framework/scenegraph/GameNode.h"
#include "framework/sound/Sound.h"

// A sound effect placed in a scene's layout: names a sound resource and the
// rules for playing it (volume, panning, looping, how many plays may overlap,
// how soon it may start again, panning by its place on the screen). Each play
// adds a user; after the sound's length the per-frame update drops one user
// per frame, and the last one stops the channel.
class SoundNode : public GameNode {
    TT_CLASS_RECORD(SoundNode)
public:
    // The logical window width that screen panning maps onto 0..255.
    static constexpr int kScreenWidth = 800;

    explicit SoundNode(AbstractProperty* configuration = nullptr);
    ~SoundNode() override;

    void update(int elapsedMs) override;

    // Returns the channel (-1 when sound is off or nothing plays).
    int play(bool forceRestart, int volume, int panning, bool loop);
    // Plays with the node's own volume and panning and its own flags.
    int play() { return play(false, volume, panning, false); }
    // False while other users remain or when nothing was playing.
    bool stop(bool force);
    void setPanning(int value);
    // round(absolute x / window width x 255), ties to even, kept in 8 bits.
    int screenPanning() const;
    // The sound's length in ms; 0 when sound is off or there is none.
    int getLengthMs() const;

    Sound* getSound() const { return sound.get(); }
    void setSound(Sound* value) { sound = value; }
    int getChannel() const { return channel; }
    int getUsers() const { return users; }
    int getRemaining() const { return remaining; }
    int getVolume() const { return volume; }
    int getPanning() const { return panning; }
    bool isLooped() const { return looped; }

private:
    RefPointer<Sound> sound;
    int32_t channel = -1;
    bool looped = false;
    int32_t users = 0;
    uint8_t volume = 255;
    uint8_t panning = 128;
    bool screenPosPanning = false;
    int32_t panMinX = -1;
    int32_t panMaxX = -1;
    int32_t panMinValue = 0;
    int32_t panMaxValue = 255;
    bool forcedRestart = false;
    bool forcedStop = false;
    int32_t maxUsers = 1;
    int32_t remaining = 0;
    int32_t minStartInterval = 200;
};
