#pragma once

#include "framework/resources/ResourceObject.h"

class Sound;

// A sound effect resource ("Sound"): a WAV or Ogg Vorbis sample.
class SoundResource : public ResourceObject {
    TT_CLASS_RECORD(SoundResource)
public:
    // Reads "file", "archive" and "volumemultiplier" (255 is full volume).
    explicit SoundResource(AbstractProperty* configuration);

    Sound* getSound() const;
    float getVolume() const { return volume; }

protected:
    RefPointer<BaseObject> buildContent(bool& failed) override;
    std::string describe() const override;

private:
    float volume = 255.0f;
};
