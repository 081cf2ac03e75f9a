#include "framework/resources/ResourceLookup.h"

#include "framework/resources/ResourceManager.h"

namespace ResourceLookup {

namespace {
Function installed = nullptr;
}

Function install(Function function)
{
    Function previous = installed;
    installed = function;
    return previous;
}

RefPointer<BaseObject> find(const std::string& name, const std::string& section)
{
    if (name.empty())
        return nullptr;
    if (installed)
        return installed(name, section);
    // The manager takes the global resource lock for the lookup.
    if (ResourceManager::instance)
        return ResourceManager::instance->getResource(name, section);
    return nullptr;
}

} // namespace ResourceLookup
