#include "framework/resources/IdleImageReleaser.h"

#include <unordered_set>

#include "framework/graphics/Image.h"
#include "framework/resources/ResourceManager.h"
#include "framework/resources/ResourceObject.h"
#include "framework/resources/ResourceSection.h"

TT_DEFINE_RECORD(IdleImageReleaser, &Task::classRecord);

void IdleImageReleaser::run(int elapsedMs)
{
    if (elapsedMs > 0) {
        clock += elapsedMs;
        sinceScan += elapsedMs;
    }
    Image::setUseClock(clock);
    if (sinceScan < kScanIntervalMs)
        return;
    sinceScan = 0;
    releaseIdlePictures();
}

int IdleImageReleaser::releaseIdlePictures()
{
    ResourceManager* resources = ResourceManager::instance;
    if (!resources)
        return 0;
    int released = 0;
    ResourceLock lock;
    // The current scene's pictures stay unpacked, even when another section
    // shares them.
    std::unordered_set<const Image*> inUse;
    for (const RefPointer<Image>& picture : resources->getPicturesInUse())
        inUse.insert(picture.get());
    for (const std::string& name : resources->getSectionNames()) {
        ResourceSection* section = resources->getSection(name);
        if (!section)
            continue;
        for (const RefPointer<ResourceObject>& object : section->getObjects()) {
            Image* image = objectCast<Image>(object->getContent());
            if (image && !inUse.count(image) && image->releaseIdleBuffers(clock, idleMs))
                ++released;
        }
    }
    return released;
}
