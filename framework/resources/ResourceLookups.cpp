// Connects the scene graph's by-name lookups (sprite images, sounds of the
// sound modifier and of sound nodes) to the resource manager, so that those
// layers need not know about resources.
#include "framework/core/Log.h"
#include "framework/graphics/Image.h"
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/ModifierSound.h"
#include "framework/scenegraph/Sprite.h"
#include "framework/sound/Sound.h"

namespace {

Image* findImage(const std::string& name, const std::string& section)
{
    if (!ResourceManager::instance)
        return nullptr;
    ResourceLock lock;
    // The section keeps the image alive for as long as it stays loaded; the
    // sprite reports a missing one.
    return ResourceManager::instance->getResourceAs<Image>(name, section).get();
}

RefPointer<Sound> findSound(const std::string& section, const std::string& name)
{
    if (!ResourceManager::instance)
        return nullptr;
    ResourceLock lock;
    RefPointer<Sound> sound = ResourceManager::instance->getResourceAs<Sound>(name, section);
    if (!sound)
        LOG_WARNING("No sound " + name + " in section " + section);
    return sound;
}

bool installLookups()
{
    Sprite::setImageLookup(&findImage);
    ModifierSound::Backend backend = ModifierSound::getBackend();
    backend.findSound = &findSound;
    ModifierSound::setBackend(backend);
    return true;
}

const bool lookupsInstalled = installLookups();

} // namespace
