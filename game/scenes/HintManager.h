#pragma once

#include <string>

#include "framework/core/GuiMethod.h"

// The catalogue of hints that the game shows once per player. Start-up makes
// it after the game data and shut-down deletes it second.
// TODO(hints): only the lifetime and the request are here; the catalogue and
// the hint dialog arrive with the hint system.
class HintManager {
public:
    static HintManager* instance;
    static HintManager* create();
    static void destroyInstance();

    HintManager() = default;
    HintManager(const HintManager&) = delete;
    HintManager& operator=(const HintManager&) = delete;

    // Shows the named hint in the current scene when the current player has
    // hints on, has not seen it, and no hint is open; `onClosed` runs when its
    // dialog has closed. Without a hint dialog template the request is logged
    // and treated as a hint closed at once: `onClosed` runs now.
    void showHint(const std::string& name, const GuiMethod& onClosed = GuiMethod());
    // The same, pointing at a screen point.
    void showHintAt(const std::string& name, int /*x*/, int /*y*/) { lastRequested = name; }
    // The same; `onClosed` runs with `object` once the hint has closed.
    void showHint(const std::string& name, void* object, GuiMethod::Function onClosed)
    {
        lastRequested = name;
        closedCallback = GuiMethod(object, onClosed);
    }

    GuiMethod closedCallback;

    // The last hint asked for (tests).
    std::string lastRequested;
};
