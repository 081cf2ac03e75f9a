#include "framework/core/BaseObject.h"

#include <cassert>
#include <cstdio>

TT_DEFINE_ROOT_RECORD(BaseObject);
TT_DEFINE_ROOT_RECORD(Interface);

void BaseObject::release()
{
    // A release below zero is a bookkeeping bug in the caller.
    assert(referenceCount > 0 && "release() on an object without references");
    --referenceCount;
    if (referenceCount == 0)
        destroy();
}

void BaseObject::destroy()
{
    if (self())
        delete this;
}

void BaseObject::toString(std::string& out) const
{
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "Address: %lld; ",
                  static_cast<long long>(reinterpret_cast<intptr_t>(this)));
    out += buffer;
}
