#pragma once

#include <string>

#include "framework/core/GuiMethod.h"

// The catalogue of hints that the game shows once per player. Start-up makes
// it after the game data and shut-down deletes it second.
// TODO(hints): only the lifetime and the requests are here; the hints arrive
// with the hint system.
class HintManager {
public:
    static HintManager* instance;
    static HintManager* create();
    static void destroyInstance();

    HintManager() = default;
    HintManager(const HintManager&) = delete;
    HintManager& operator=(const HintManager&) = delete;

    // Shows the hint when the current player has not seen it yet.
    void showHint(const std::string& name) { lastRequested = name; }
    // The same, pointing at a screen point.
    void showHintAt(const std::string& name, int /*x*/, int /*y*/) { lastRequested = name; }
    // The same; `onClosed` runs with `object` once the hint has closed.
    void showHint(const std::string& name, void* object, GuiMethod::Function onClosed)
    {
        lastRequested = name;
        closedCallback = GuiMethod(object, onClosed);
    }

    GuiMethod closedCallback;

    std::string lastRequested;
};
