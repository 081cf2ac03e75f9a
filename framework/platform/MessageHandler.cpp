#include "framework/platform/MessageHandler.h"

#include <algorithm>

#include "framework/core/ObjectFactoryContainer.h"

TT_DEFINE_RECORD(MessageHandler, &BaseObject::classRecord);
TT_REGISTER_CLASS(MessageHandler);

void MessageHandler::addListener(iMessageListener* listener)
{
    if (listener && !hasListener(listener))
        listeners.push_back(listener);
}

void MessageHandler::removeListener(iMessageListener* listener)
{
    listeners.erase(std::remove(listeners.begin(), listeners.end(), listener), listeners.end());
}

bool MessageHandler::hasListener(iMessageListener* listener) const
{
    return std::find(listeners.begin(), listeners.end(), listener) != listeners.end();
}

void MessageHandler::broadcast(uint32_t message, uint32_t wParam, uint32_t lParam)
{
    // A snapshot, so that listeners may change the list; each one is looked up
    // again before it is called, so a removed (perhaps destroyed) one is skipped.
    std::vector<iMessageListener*> snapshot = listeners;
    ++broadcastDepth;
    for (iMessageListener* listener : snapshot) {
        if (hasListener(listener))
            listener->onMessage(message, wParam, lParam);
    }
    --broadcastDepth;
}
