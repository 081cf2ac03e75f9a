#pragma once

// The catalogue of hints that the game shows once per player. Start-up makes
// it after the game data and shut-down deletes it second.
// TODO(hints): only the lifetime is here; the hints arrive with the hint system.
class HintManager {
public:
    static HintManager* instance;
    static HintManager* create();
    static void destroyInstance();

    HintManager() = default;
    HintManager(const HintManager&) = delete;
    HintManager& operator=(const HintManager&) = delete;
};
