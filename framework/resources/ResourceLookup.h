#pragma once

#include <string>

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"

// The one door through which labels, styled text and painters find a loaded
// resource (an Image or a BitmapFont) by name and section: the resource
// manager's getResource, or a lookup that tests install in its place. Without
// either every lookup finds nothing, which callers handle like any missing
// resource.
namespace ResourceLookup {

// Returns the content of the named resource, or null; takes whatever lock the
// resources need for the duration of the call.
using Function = RefPointer<BaseObject> (*)(const std::string& name, const std::string& section);

// Installs `function` (null uninstalls) and returns the previous one.
Function install(Function function);

RefPointer<BaseObject> find(const std::string& name, const std::string& section);

// The resource when it is a T, else null.
template <class T>
RefPointer<T> findAs(const std::string& name, const std::string& section)
{
    RefPointer<BaseObject> object = find(name, section);
    return RefPointer<T>(objectCast<T>(object.get()));
}

} // namespace ResourceLookup
