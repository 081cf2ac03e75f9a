#include "framework/resources/ResourceLookup.h"

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
    if (!installed || name.empty())
        return nullptr;
    return installed(name, section);
}

} // namespace ResourceLookup
