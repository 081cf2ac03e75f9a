#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"
#include "framework/resources/ResourceObject.h"

class PropertyNode;

// A named group of resources that load together, declared in a resource
// file: a node with "name", optionally "auto", and one child per resource
// whose element name is its kind ("Image", "Font", "Sound", "Stream") and
// whose "id" is its name. Guarded by the global resource lock.
class ResourceSection : public BaseObject {
    TT_CLASS_RECORD(ResourceSection)
public:
    // Builds the resources through the object factory; an equal resource
    // that another section declared already is shared, not built twice.
    explicit ResourceSection(const PropertyNode* node);
    explicit ResourceSection(const std::string& name, bool autoLoad = false);

    // Stores the resource under the name, replacing an earlier one.
    void addObject(const std::string& name, ResourceObject* object);
    ResourceObject* getObject(const std::string& name) const;
    // The resources in declaration order.
    const std::vector<RefPointer<ResourceObject>>& getObjects() const { return order; }

    const std::string& getName() const { return name; }
    bool isAutoLoad() const { return autoLoad; }
    bool isStarted() const { return started; }
    void setStarted(bool value) { started = value; }

    bool isFullyLoaded() const;
    int getWeight() const;
    int getLoadedWeight() const;

    void toString(std::string& out) const override;

private:
    std::unordered_map<std::string, RefPointer<ResourceObject>> objects;
    std::vector<RefPointer<ResourceObject>> order;
    std::string name;
    bool autoLoad = false;
    bool started = false;
};
