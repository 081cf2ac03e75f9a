#include "framework/resources/ResourceManager.h"

#include <algorithm>

#include "framework/core/Log.h"
#include "framework/core/PropertyStore.h"

TT_DEFINE_RECORD(ResourceManager, &BaseObject::classRecord);

ResourceManager* ResourceManager::instance = nullptr;

BoundedMutex& ResourceLock::mutex()
{
    static BoundedMutex lock("resources", 10000);
    return lock;
}

ResourceLock::ResourceLock()
{
    mutex().lock();
}

ResourceLock::~ResourceLock()
{
    mutex().unlock();
}

void ResourceManager::create()
{
    destroyInstance();
    holdGlobalInstance(instance, new ResourceManager());
    ResourceManager* manager = instance;
    if (!manager->loaderThread.start("resource loader", [manager] { manager->loaderLoop(); },
                                     ThreadPriority::Background))
        LOG_ERROR("the resource loader thread could not be started");
}

void ResourceManager::destroyInstance()
{
    ResourceManager* manager = instance;
    if (!manager)
        return;
    manager->running = false;
    manager->wakeSignal.stop();
    manager->loaderThread.join();
    {
        ResourceLock lock;
        instance = nullptr;
    }
    manager->release();
}

ResourceManager::ResourceManager() = default;

ResourceManager::~ResourceManager()
{
    ResourceLock lock;
    sections.clear();
}

bool ResourceManager::loadResourceFiles()
{
    bool all = true;
    loadError.clear();
    for (const std::string& file : resourceFiles) {
        RefPointer<PropertyStore> store(new PropertyStore(basePath + file));
        if (!store->load()) {
            LOG_ERROR("resource file not loaded: " + store->getLastError());
            if (loadError.empty())
                loadError = store->getLastError();
            all = false;
        }
        const PropertyVector* list = store->getVector("Sections");
        for (const RefPointer<AbstractProperty>& element : *list) {
            RefPointer<ResourceSection> section;
            {
                ResourceLock lock;
                section = new ResourceSection(element->asNode());
            }
            addSection(section.get());
        }
    }
    return all;
}

void ResourceManager::setLoadingEnabled(bool enabled)
{
    loadingEnabled = enabled;
    wakeLoader();
}

bool ResourceManager::isLoadingEnabled() const
{
    return loadingEnabled;
}

void ResourceManager::addSection(ResourceSection* section)
{
    if (!section)
        return;
    ResourceLock lock;
    sections[section->getName()] = section;
    if (section->isAutoLoad() && !section->isFullyLoaded()) {
        autoQueue.push_back(section->getName());
        section->setStarted(true);
        wakeLoader();
    }
}

void ResourceManager::requestSection(const std::string& name)
{
    ResourceLock lock;
    auto found = sections.find(name);
    if (found == sections.end()) {
        LOG_WARNING("no resource section \"" + name + "\"");
        return;
    }
    ResourceSection* section = found->second.get();
    if (section->isFullyLoaded())
        return;
    for (const std::string& queued : requestQueue) {
        if (queued == name)
            return;
    }
    section->setStarted(true);
    requestQueue.push_back(name);
    progressTotal += section->getWeight();
    wakeLoader();
}

void ResourceManager::removeSection(const std::string& name, bool unloadResources)
{
    ResourceLock lock;
    for (std::vector<std::string>* queue : {&requestQueue, &autoQueue}) {
        for (auto it = queue->begin(); it != queue->end();)
            it = *it == name ? queue->erase(it) : it + 1;
    }
    auto found = sections.find(name);
    if (found == sections.end())
        return;
    if (unloadResources)
        unloadSection(name);
    sections.erase(found);
}

void ResourceManager::unloadSection(const std::string& name)
{
    ResourceLock lock;
    ResourceSection* section = getSection(name);
    if (!section)
        return;
    for (const RefPointer<ResourceObject>& object : section->getObjects()) {
        // A file that several sections name is one object: it stays while
        // another section still holds it.
        if (object->isLoaded() && !isHeldElsewhere(*object, name))
            object->unload();
    }
}

bool ResourceManager::isHeldElsewhere(const ResourceObject& object, const std::string& sectionName)
{
    ResourceLock lock;
    for (const auto& named : sections) {
        if (named.first == sectionName)
            continue;
        for (const RefPointer<ResourceObject>& held : named.second->getObjects()) {
            if (held.get() == &object)
                return true;
        }
    }
    return false;
}

void ResourceManager::setSectionsInUse(const std::vector<std::string>& names)
{
    ResourceLock lock;
    sectionsInUse = names;
}

bool ResourceManager::isSectionInUse(const std::string& name)
{
    ResourceLock lock;
    return std::find(sectionsInUse.begin(), sectionsInUse.end(), name) != sectionsInUse.end();
}

std::vector<RefPointer<Image>> ResourceManager::getPicturesInUse()
{
    ResourceLock lock;
    std::vector<RefPointer<Image>> pictures;
    for (const std::string& name : sectionsInUse) {
        auto found = sections.find(name);
        if (found == sections.end())
            continue;
        for (const RefPointer<ResourceObject>& object : found->second->getObjects()) {
            if (Image* image = objectCast<Image>(object->getContent()))
                pictures.emplace_back(image);
        }
    }
    return pictures;
}

bool ResourceManager::unpackSectionsInUse(int64_t budgetBytes)
{
    int64_t restored = 0;
    for (const RefPointer<Image>& picture : getPicturesInUse()) {
        if (!picture->isPacked())
            continue;
        if (restored >= budgetBytes)
            return false;
        const uint64_t before = Image::getUnpackedBytes();
        picture->uncompress();
        restored += int64_t(Image::getUnpackedBytes() - before);
    }
    // A call that unpacked something leaves the rest of its frame to others.
    return restored == 0;
}

void ResourceManager::clearLoadQueue()
{
    ResourceLock lock;
    progressTotal = 0;
    progressLoaded = 0;
    requestQueue.clear();
}

double ResourceManager::getLoadProgress()
{
    ResourceLock lock;
    if (progressTotal <= 0)
        return 1.0;
    int loaded = progressLoaded;
    for (const std::string& name : requestQueue) {
        if (ResourceSection* section = getSection(name))
            loaded += section->getLoadedWeight();
    }
    const double progress = static_cast<double>(loaded) / progressTotal;
    return progress > 1.0 ? 1.0 : progress;
}

bool ResourceManager::hasPendingRequests()
{
    ResourceLock lock;
    return nextPendingSection(requestQueue, true) != nullptr;
}

ResourceSection* ResourceManager::getSection(const std::string& name)
{
    ResourceLock lock;
    auto found = sections.find(name);
    return found == sections.end() ? nullptr : found->second.get();
}

std::vector<std::string> ResourceManager::getSectionNames()
{
    ResourceLock lock;
    std::vector<std::string> names;
    for (const auto& named : sections)
        names.push_back(named.first);
    std::sort(names.begin(), names.end());
    return names;
}

RefPointer<BaseObject> ResourceManager::getResource(const std::string& name, const std::string& sectionName)
{
    ResourceLock lock;
    ResourceSection* section = getSection(sectionName);
    ResourceObject* object = section ? section->getObject(name) : nullptr;
    return object ? RefPointer<BaseObject>(object->getContent()) : nullptr;
}

RefPointer<BaseObject> ResourceManager::getLoadedResource(const std::string& name, const std::string& sectionName)
{
    RefPointer<ResourceObject> object;
    {
        ResourceLock lock;
        ResourceSection* section = getSection(sectionName);
        object = section ? section->getObject(name) : nullptr;
        if (!object) {
            LOG_WARNING("no resource \"" + name + "\" in section \"" + sectionName + "\"");
            return nullptr;
        }
    }
    object->load();
    ResourceLock lock;
    RefPointer<BaseObject> content(object->getContent());
    object.reset();
    return content;
}

ResourceObject* ResourceManager::findSameResource(const ResourceObject& resource)
{
    ResourceLock lock;
    for (const auto& named : sections) {
        for (const RefPointer<ResourceObject>& object : named.second->getObjects()) {
            if (object.get() != &resource && object->isSameResource(resource))
                return object.get();
        }
    }
    return nullptr;
}

void ResourceManager::wakeLoader()
{
    wakeSignal.notify();
}

ResourceSection* ResourceManager::nextPendingSection(std::vector<std::string>& queue, bool countProgress)
{
    while (!queue.empty()) {
        ResourceSection* section = getSection(queue.front());
        if (section && !section->isFullyLoaded())
            return section;
        if (section && countProgress)
            progressLoaded += section->getWeight();
        queue.erase(queue.begin());
    }
    return nullptr;
}

void ResourceManager::loaderLoop()
{
    while (running) {
        if (!loadingEnabled) {
            if (!wakeSignal.wait())
                return;
            continue;
        }
        RefPointer<ResourceObject> next;
        {
            ResourceLock lock;
            ResourceSection* section = nextPendingSection(requestQueue, true);
            if (!section)
                section = nextPendingSection(autoQueue, false);
            if (section && section->isStarted()) {
                for (const RefPointer<ResourceObject>& object : section->getObjects()) {
                    if (!object->isLoaded() && !object->isLoading()) {
                        next = object;
                        break;
                    }
                }
            }
        }
        if (next) {
            next->load();
            {
                // The reference is dropped under the lock, like every other use.
                ResourceLock lock;
                next.reset();
            }
            std::this_thread::yield();
            continue;
        }
        // Idle: sleep until something is queued (a wake-up given since the
        // choice above is still pending, so the wait returns at once).
        if (!wakeSignal.wait())
            return;
    }
}
