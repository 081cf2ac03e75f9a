#include "framework/resources/MemoryBuffer.h"

#include <cstring>
#include <new>

TT_DEFINE_RECORD(MemoryBuffer, &BaseObject::classRecord);

bool MemoryBuffer::allocate(size_t newSize)
{
    clear();
    if (newSize > kMaxSize)
        return false;
    char* bytes = new (std::nothrow) char[newSize + 1];
    if (!bytes)
        return false;
    std::memset(bytes, 0, newSize + 1);
    data.reset(bytes);
    size = newSize;
    return true;
}

bool MemoryBuffer::assign(const void* bytes, size_t newSize)
{
    if (!allocate(newSize))
        return false;
    if (newSize)
        std::memcpy(data.get(), bytes, newSize);
    return true;
}

void MemoryBuffer::clear()
{
    data.reset();
    size = 0;
}
