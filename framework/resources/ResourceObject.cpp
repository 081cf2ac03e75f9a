#include "framework/resources/ResourceObject.h"

#include <atomic>

#include "framework/core/Log.h"
#include "framework/core/PropertyNode.h"
#include "framework/platform/FileNames.h"
#include "framework/resources/FileModes.h"
#include "framework/resources/ResourceManager.h"

TT_DEFINE_RECORD(ResourceObject, &BaseObject::classRecord);

namespace {

std::atomic<uint32_t> loadsBegun {0};
std::atomic<uint32_t> loadsEnded {0};

} // namespace

uint32_t ResourceObject::getLoadsBegun() { return loadsBegun.load(std::memory_order_relaxed); }

// Whoever sees an end also sees the beginning that came before it.
uint32_t ResourceObject::getLoadsEnded() { return loadsEnded.load(std::memory_order_acquire); }

ResourceObject::ResourceObject(AbstractProperty* configuration)
{
    const PropertyNode* node = configuration ? configuration->asNode() : DUMMY_NODE;
    fileName = normalizeResourcePath(node->getString("file"));
    fileMode = fileModeFromWord(node->getString("archive"));
}

ResourceObject::ResourceObject(const std::string& name, int mode) : fileName(normalizeResourcePath(name)), fileMode(mode)
{
}

void ResourceObject::load()
{
    uint32_t startedGeneration;
    {
        ResourceLock lock;
        if (state == State::Loaded)
            return;
        // Another thread may be loading it too: both build, the first to
        // finish publishes, and the other's result is dropped.
        state = State::Loading;
        startedGeneration = generation;
    }
    bool failed = false;
    loadsBegun.fetch_add(1, std::memory_order_relaxed);
    RefPointer<BaseObject> built = buildContent(failed);
    loadsEnded.fetch_add(1, std::memory_order_release);
    {
        ResourceLock lock;
        if (state == State::Loading && generation == startedGeneration && ResourceManager::stopping()) {
            // Given up half way: the manager and its objects are going.
            state = State::Unloaded;
        } else if (state == State::Loading && generation == startedGeneration) {
            // Moved, not copied: the reference count is touched only under the lock.
            content = std::move(built);
            error = failed;
            state = State::Loaded;
            if (failed)
                LOG_ERROR("resource \"" + fileName + "\" could not be loaded");
        }
        built.reset();
    }
    if (ResourceManager::instance)
        ResourceManager::instance->wakeLoader();
}

void ResourceObject::unload()
{
    {
        ResourceLock lock;
        ++generation;
        state = State::Unloaded;
        error = false;
        content.reset();
    }
    if (ResourceManager::instance)
        ResourceManager::instance->wakeLoader();
}

bool ResourceObject::isSameResource(const ResourceObject& other) const
{
    return fileName == other.fileName;
}

void ResourceObject::toString(std::string& out) const
{
    out += describe();
    out += "Has Error: ";
    out += error ? "true" : "false";
    out += "; Is Loaded: ";
    out += isLoaded() ? "true" : "false";
    out += "; File Name: " + fileName + ";\n\t\t\t";
}
