#include "framework/platform/iInputListenerContainer.h"

#include <algorithm>

TT_DEFINE_RECORD(iInputListener, &Interface::classRecord);
TT_DEFINE_ROOT_RECORD(iInputListenerContainer);

template <class Deliver>
bool iInputListenerContainer::broadcast(Deliver deliver)
{
    bool taken = false;
    if (isInputEnabled()) {
        // The round walks the list as it stood when the event came. A
        // listener may change the list (say, close its dialog): the ones it
        // took out are skipped, as they may be gone; only a listener that
        // takes the event ends the round.
        const std::vector<iInputListener*> round = listeners;
        const uint32_t changesBefore = changeCount;
        for (iInputListener* listener : round) {
            if (changeCount != changesBefore && !containsListener(listener))
                continue;
            if (!listener->isInputEnabled() && !listener->asInputContainer())
                continue;
            if (deliver(listener)) {
                taken = true;
                break;
            }
        }
    } else if (focusListener && focusListener->isInputEnabled()) {
        taken = deliver(focusListener);
    }
    return taken || swallowAll;
}

bool iInputListenerContainer::onKeyDown(int key)
{
    return broadcast([&](iInputListener* listener) { return listener->onKeyDown(key); });
}

bool iInputListenerContainer::onKeyUp(int key)
{
    return broadcast([&](iInputListener* listener) { return listener->onKeyUp(key); });
}

bool iInputListenerContainer::onChar(int character)
{
    return broadcast([&](iInputListener* listener) { return listener->onChar(character); });
}

bool iInputListenerContainer::onMouseMove(int x, int y, int keys)
{
    return broadcast([&](iInputListener* listener) { return listener->onMouseMove(x, y, keys); });
}

bool iInputListenerContainer::onLeftDown(int x, int y, int keys, bool doubleClick)
{
    return broadcast([&](iInputListener* listener) { return listener->onLeftDown(x, y, keys, doubleClick); });
}

bool iInputListenerContainer::onLeftUp(int x, int y, int keys)
{
    return broadcast([&](iInputListener* listener) { return listener->onLeftUp(x, y, keys); });
}

bool iInputListenerContainer::onMiddleDown(int x, int y, int keys, bool doubleClick)
{
    return broadcast([&](iInputListener* listener) { return listener->onMiddleDown(x, y, keys, doubleClick); });
}

bool iInputListenerContainer::onMiddleUp(int x, int y, int keys)
{
    return broadcast([&](iInputListener* listener) { return listener->onMiddleUp(x, y, keys); });
}

bool iInputListenerContainer::onRightDown(int x, int y, int keys, bool doubleClick)
{
    return broadcast([&](iInputListener* listener) { return listener->onRightDown(x, y, keys, doubleClick); });
}

bool iInputListenerContainer::onRightUp(int x, int y, int keys)
{
    return broadcast([&](iInputListener* listener) { return listener->onRightUp(x, y, keys); });
}

void iInputListenerContainer::resetInput()
{
    // A copy: resetting may make a listener change the list.
    std::vector<iInputListener*> snapshot = listeners;
    for (iInputListener* listener : snapshot)
        if (containsListener(listener))
            listener->resetInput();
}

void iInputListenerContainer::addListener(iInputListener* listener, bool atFront)
{
    if (!listener || containsListener(listener) || listener == this)
        return;
    if (atFront)
        listeners.insert(listeners.begin(), listener);
    else
        listeners.push_back(listener);
    ++changeCount;
}

void iInputListenerContainer::removeListener(iInputListener* listener)
{
    if (!listener)
        return;
    for (size_t index = 0; index < listeners.size();) {
        iInputListener* entry = listeners[index];
        if (entry == listener) {
            listeners.erase(listeners.begin() + static_cast<std::ptrdiff_t>(index));
            ++changeCount;
            listener->resetInput();
            continue;
        }
        if (iInputListenerContainer* nested = entry->asInputContainer())
            nested->removeListener(listener);
        ++index;
    }
    if (focusListener == listener)
        focusListener = nullptr;
}

bool iInputListenerContainer::containsListener(iInputListener* listener) const
{
    return std::find(listeners.begin(), listeners.end(), listener) != listeners.end();
}

void iInputListenerContainer::clearListeners()
{
    listeners.clear();
    ++changeCount;
}
