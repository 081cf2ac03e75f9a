#pragma once

#include "framework/platform/Task.h"

// The frame task that announces trophies as the player earns them; the frame
// timer runs it third, after the scenes and the window.
// TODO(trophies): only the task and its lifetime are here; the announcing
// arrives with the trophy dialogs.
class TrophyWatcher : public Task {
    TT_CLASS_RECORD(TrophyWatcher)
public:
    static TrophyWatcher* instance;
    // Makes the watcher and holds one reference to it.
    static TrophyWatcher* create();
    // A watcher still registered with a task manager is only marked finished
    // (its manager drops it); the global reference goes in every case.
    static void destroyInstance();

    TrophyWatcher() = default;
    explicit TrophyWatcher(AbstractProperty*) {}
};

// The start-up name of TrophyWatcher::create.
inline TrophyWatcher* createTrophyWatcher() { return TrophyWatcher::create(); }
