#pragma once

#include "framework/core/GuiMethod.h"
#include "framework/platform/Task.h"

// The frame task that announces trophies as the player earns them; the frame
// timer runs it third, after the scenes and the window. A scene asks for the
// trophies of one kind by setting pendingKind (only while it is -1) and, to
// go on afterwards, onAnnounced; one "DIALOG_TROPHYAWARDED" at a time.
// TODO(trophies): the awarded dialog itself arrives with the trophy dialogs;
// without its template a trophy counts as announced at once.
class TrophyWatcher : public Task {
    TT_CLASS_RECORD(TrophyWatcher)
public:
    // The moments at which trophies are announced.
    enum TrophyKind : int { KindToolShop = 0, KindGameScene = 1, KindMap = 3, KindArcade = 4 };

    static TrophyWatcher* instance;
    // Makes the watcher and holds one reference to it.
    static TrophyWatcher* create();
    // A watcher still registered with a task manager is only marked finished
    // (its manager drops it); the global reference goes in every case.
    static void destroyInstance();

    TrophyWatcher() = default;
    explicit TrophyWatcher(AbstractProperty*) {}

    // The kind of trophy `index` (0 to 14), -1 for any other index.
    static int kindOfTrophy(int index);
    // The current player's earned, not yet announced trophies of that kind.
    int countTrophiesOfKind(int kind) const;
    bool isIdle() const { return pendingKind == -1; }

    void run(int elapsedMs) override;

    GuiMethod onAnnounced;
    int pendingKind = -1;
};

// The start-up name of TrophyWatcher::create.
inline TrophyWatcher* createTrophyWatcher() { return TrophyWatcher::create(); }
