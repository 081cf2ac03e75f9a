#include "framework/sound/SoundStream.h"

#include <cmath>

#include "framework/core/Log.h"
#include "framework/core/PropertyStore.h"
#include "framework/sound/SoundManager.h"

TT_DEFINE_RECORD(SoundStream, &BaseObject::classRecord);

SoundStream::SoundStream(const std::string& fileName, int fileMode, const std::string& syncPointsFile)
    : fileName(fileName), fileMode(fileMode), syncPointsFile(syncPointsFile)
{
}

SoundStream::~SoundStream()
{
    if (stream && SoundManager::instance)
        SoundManager::instance->getMixer().stopStream(stream);
}

void SoundStream::fade(SoundStream* stream, float from, float to, int durationMs)
{
    if (!stream)
        return;
    stream->fadeCurrent = from;
    stream->fadeTarget = to;
    stream->fadeStep = std::fabs(to - from) / static_cast<float>(durationMs > 0 ? durationMs : 1);
}

void SoundStream::applyVolume(SoundStream* stream, SoundManager* manager, int volumeByte)
{
    if (!stream)
        return;
    stream->volume = volumeByte;
    if (!manager || manager->isMuted() || !stream->isOpen() || stream->channel < 0)
        return;
    // round(byte x factor x music volume / 255 x fade)
    const float level = static_cast<float>(volumeByte) * stream->volumeFactor *
                        static_cast<float>(manager->getMusicVolume()) * (1.0f / 255.0f) * stream->fadeCurrent;
    manager->getMixer().setVolume(stream->channel, static_cast<int>(std::lround(level)));
}

void SoundStream::advanceFade(int deltaMs)
{
    if (fadeCurrent < fadeTarget) {
        fadeCurrent += static_cast<float>(deltaMs) * fadeStep;
        if (fadeCurrent > fadeTarget)
            fadeCurrent = fadeTarget;
    } else if (fadeCurrent > fadeTarget) {
        fadeCurrent -= static_cast<float>(deltaMs) * fadeStep;
        if (fadeCurrent < fadeTarget)
            fadeCurrent = fadeTarget;
    }
}

bool SoundStream::loadSyncPoints()
{
    if (syncPointsFile.empty())
        return true;
    RefPointer<PropertyStore> store(new PropertyStore(syncPointsFile));
    if (!store->load()) {
        LOG_ERROR("sync points of \"" + fileName + "\" could not be read from \"" + syncPointsFile +
                  "\": " + store->getLastError());
        return false;
    }
    PropertyVector* points = store->getVector("SyncPoints");
    for (int i = 0; i < points->getCount(); ++i) {
        const PropertyNode* point = points->getAt(i)->asNode();
        if (point && point->hasChild("value"))
            syncPoints.push_back(static_cast<uint32_t>(point->getInt("value")));
    }
    return true;
}
