#include "framework/resources/ResourceSection.h"

#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/resources/ResourceManager.h"

TT_DEFINE_RECORD(ResourceSection, &BaseObject::classRecord);

ResourceSection::ResourceSection(const std::string& name, bool autoLoad) : name(name), autoLoad(autoLoad)
{
}

ResourceSection::ResourceSection(const PropertyNode* node)
{
    if (!node)
        node = DUMMY_NODE;
    name = node->getString("name");
    autoLoad = node->getBool("auto", false);
    for (const RefPointer<AbstractProperty>& child : *node) {
        if (!child->isNode())
            continue;
        RefPointer<ResourceObject> made;
        if (ObjectFactoryContainer::instance)
            made = ObjectFactoryContainer::instance->create<ResourceObject>(child->getTypeName(), child.get());
        if (!made) {
            LOG_WARNING("section \"" + name + "\": unknown resource kind \"" + child->getTypeName() + "\" for \"" +
                        child->getName() + "\"");
            continue;
        }
        ResourceObject* same = ResourceManager::instance ? ResourceManager::instance->findSameResource(*made) : nullptr;
        addObject(child->getName(), same ? same : made.get());
    }
}

void ResourceSection::addObject(const std::string& objectName, ResourceObject* object)
{
    if (!object)
        return;
    RefPointer<ResourceObject> held(object);
    auto found = objects.find(objectName);
    if (found != objects.end()) {
        for (auto it = order.begin(); it != order.end(); ++it) {
            if (*it == found->second) {
                order.erase(it);
                break;
            }
        }
    }
    objects[objectName] = held;
    order.push_back(held);
}

ResourceObject* ResourceSection::getObject(const std::string& objectName) const
{
    auto found = objects.find(objectName);
    return found == objects.end() ? nullptr : found->second.get();
}

bool ResourceSection::isFullyLoaded() const
{
    for (const RefPointer<ResourceObject>& object : order) {
        if (!object->isLoaded())
            return false;
    }
    return true;
}

int ResourceSection::getWeight() const
{
    int total = 0;
    for (const RefPointer<ResourceObject>& object : order)
        total += object->getWeight();
    return total;
}

int ResourceSection::getLoadedWeight() const
{
    int total = 0;
    for (const RefPointer<ResourceObject>& object : order)
        total += object->getLoadedWeight();
    return total;
}

void ResourceSection::toString(std::string& out) const
{
    out += std::string("Auto Load: ") + (autoLoad ? "yes" : "no") + "; Has Started: " + (started ? "yes" : "no") +
           "; Name: " + name + ";\n\tObjects:";
    for (const RefPointer<ResourceObject>& object : order)
        object->toString(out);
}
