#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/BaseObject.h"

class AbstractProperty;

// Everything that wants to see the window's messages before the window acts
// on them: scenes' input handlers and the full-screen handler.
class iMessageListener {
public:
    virtual void onMessage(uint32_t message, uint32_t wParam, uint32_t lParam) = 0;

protected:
    ~iMessageListener() = default;
};

// The window's ordered list of message listeners. Listeners are borrowed (the
// list holds no references); they may add or remove listeners, themselves
// included, while a message is being broadcast.
class MessageHandler : public BaseObject {
    TT_CLASS_RECORD(MessageHandler)
public:
    MessageHandler() = default;
    explicit MessageHandler(AbstractProperty*) {}

    // Appends the listener unless it is listed already; null is ignored.
    void addListener(iMessageListener* listener);
    void removeListener(iMessageListener* listener);
    bool hasListener(iMessageListener* listener) const;
    size_t getListenerCount() const { return listeners.size(); }

    // Calls every listener in list order. A listener added during the
    // broadcast first hears the next message; one removed during it is not
    // called any more.
    void broadcast(uint32_t message, uint32_t wParam, uint32_t lParam);
    bool isBroadcasting() const { return broadcastDepth > 0; }

private:
    std::vector<iMessageListener*> listeners;
    int broadcastDepth = 0;
};
