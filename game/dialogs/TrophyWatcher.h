#pragma once

#include "framework/core/GuiMethod.h"
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

    // When a trophy is announced: the tool shop, the game scene, the map, the arcade scene.
    enum Kind : int { KindToolShop = 0, KindGameScene = 1, KindMap = 3, KindArcade = 4 };

    TrophyWatcher() = default;
    explicit TrophyWatcher(AbstractProperty*) {}

    // The current player's earned, not yet announced trophies of `kind`.
    int countTrophiesOfKind(int kind) const;
    static int kindOf(int trophyIndex);
    // Takes a request to announce `kind` when the watcher is idle and a trophy
    // of the kind waits; `onDone` runs once they are announced. False otherwise
    // (nothing changes then).
    bool requestAnnouncement(int kind, const GuiMethod& onDone);
    bool isBusy() const { return pendingKind != -1; }

    int pendingKind = -1;
    GuiMethod onAnnounced;
};

// The start-up name of TrophyWatcher::create.
inline TrophyWatcher* createTrophyWatcher() { return TrophyWatcher::create(); }
