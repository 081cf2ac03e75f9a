#include "host/XmlParseLock.h"

std::mutex& xmlParseMutex()
{
    static std::mutex mutex;
    return mutex;
}
