#pragma once

#include <cstdint>
#include <string>

#include "framework/resources/ResourceObject.h"

class SoundStream;

// A music resource ("Stream"): an Ogg Vorbis file streamed from disk (never
// from the archive) with its optional sync points.
class StreamResource : public ResourceObject {
    TT_CLASS_RECORD(StreamResource)
public:
    // Reads "file", "archive", "syncpointsfile", "volumemultiplier" and "panning".
    explicit StreamResource(AbstractProperty* configuration);

    SoundStream* getStream() const;
    const std::string& getSyncPointsFileName() const { return syncPointsFileName; }
    float getVolumeMultiplier() const { return volumeMultiplier; }
    uint8_t getPanning() const { return panning; }

protected:
    RefPointer<BaseObject> buildContent(bool& failed) override;
    std::string describe() const override;

private:
    std::string syncPointsFileName;
    float volumeMultiplier = 1.0f;
    uint8_t panning = 128;
};
