#include "framework/resources/SoundResource.h"

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/sound/Sound.h"

TT_DEFINE_RECORD(SoundResource, &ResourceObject::classRecord);
TT_REGISTER_CREATOR(Sound, SoundResource);

SoundResource::SoundResource(AbstractProperty* configuration) : ResourceObject(configuration)
{
    const PropertyNode* node = configuration ? configuration->asNode() : DUMMY_NODE;
    volume = node->getFloat("volumemultiplier", 255.0f);
}

Sound* SoundResource::getSound() const
{
    return objectCast<Sound>(getContent());
}

RefPointer<BaseObject> SoundResource::buildContent(bool& failed)
{
    RefPointer<Sound> sound(new Sound());
    // The file's volume multiplier is out of 255; the sound scales each play by it.
    sound->volumeFactor = volume / 255.0f;
    if (Sound::loadSample(fileMode, sound.get(), fileName) != 0)
        failed = true;
    // A sound without a sample still plays (nothing), so callers need no test.
    return RefPointer<BaseObject>(sound.get());
}

std::string SoundResource::describe() const
{
    return std::string("Object: ") + (getContent() ? "not 0" : "NULL") +
           "; Volume: " + std::to_string(static_cast<int>(volume)) + "; ";
}
