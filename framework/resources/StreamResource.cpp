#include "framework/resources/StreamResource.h"

#include <cstdio>

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/platform/FileNames.h"
#include "framework/sound/SoundStream.h"

TT_DEFINE_RECORD(StreamResource, &ResourceObject::classRecord);
TT_REGISTER_CREATOR(Stream, StreamResource);

namespace {

bool fileExists(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file)
        std::fclose(file);
    return file != nullptr;
}

} // namespace

StreamResource::StreamResource(AbstractProperty* configuration) : ResourceObject(configuration)
{
    const PropertyNode* node = configuration ? configuration->asNode() : DUMMY_NODE;
    syncPointsFileName = normalizePath(node->getString("syncpointsfile"));
    volumeMultiplier = node->getFloat("volumemultiplier", 1.0f);
    panning = static_cast<uint8_t>(node->getInt("panning", 128));
}

SoundStream* StreamResource::getStream() const
{
    return objectCast<SoundStream>(getContent());
}

RefPointer<BaseObject> StreamResource::buildContent(bool& failed)
{
    RefPointer<SoundStream> stream(new SoundStream());
    // Music plays from disk only; a missing file leaves a silent stream, no error.
    if (!fileName.empty() && fileExists(fileName)) {
        stream->fileName = fileName;
        stream->fileMode = 1;
        stream->volumeFactor = volumeMultiplier;
        stream->panning = panning;
        if (!syncPointsFileName.empty() && fileExists(syncPointsFileName)) {
            stream->syncPointsFile = syncPointsFileName;
            if (!stream->loadSyncPoints())
                failed = true;
        }
    }
    return RefPointer<BaseObject>(stream.get());
}

std::string StreamResource::describe() const
{
    return std::string("Object: ") + (getContent() ? "not 0" : "NULL") + "; FileName: " + fileName +
           "; SyncPointsFileName: " + syncPointsFileName;
}
