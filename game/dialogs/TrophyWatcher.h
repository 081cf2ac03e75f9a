#pragma once

#include "framework/core/GuiMethod.h"
#include "framework/platform/Task.h"

class Scene;
class Trophies;

// The frame task that announces trophies as the player earns them; the frame
// timer runs it third, after the scenes and the window. Places in the game
// only mark a trophy earned; a scene that reaches the moment of a trophy's
// kind asks the watcher to announce that kind, and the watcher then opens
// "DIALOG_TROPHYAWARDED" for each earned trophy of the kind, one after the
// other, and calls the asker back when none is left.
class TrophyWatcher : public Task {
    TT_CLASS_RECORD(TrophyWatcher)
public:
    // The moment at which a trophy is announced. No trophy is of kind 2.
    enum Kind : int {
        KindNone = -1,
        KindToolShop = 0,
        KindGameScene = 1,
        KindUnused = 2,
        KindMap = 3,
        KindArcade = 4
    };
    static constexpr int kTrophyCount = 15;

    static TrophyWatcher* instance;
    // Makes the watcher and holds one reference to it.
    static TrophyWatcher* create();
    // A watcher still registered with a task manager is only marked finished
    // (its manager drops it); the global reference goes in every case.
    static void destroyInstance();

    TrophyWatcher() = default;
    explicit TrophyWatcher(AbstractProperty*) {}

    // The kind of trophy `index`; KindNone outside the table.
    static int kindOf(int index);
    // The current player's earned, not yet announced trophies of the kind.
    int countTrophiesOfKind(int kind) const;
    // Starts announcing the kind; `onDone` (may be unbound) is called with
    // the watcher once the last one has been closed. Refused (false, nothing
    // changes) while another kind is announced or when none of the kind waits.
    bool requestAnnouncement(int kind, const GuiMethod& onDone = GuiMethod());
    // A kind is being announced; requests are refused until it is done.
    bool isBusy() const { return pendingKind != KindNone; }
    bool isIdle() const { return pendingKind == KindNone; }
    int getPendingKind() const { return pendingKind; }

    void run(int elapsedMs) override;

    // The scene a trophy dialog opens in: the current one, or the one a
    // running transition leads to.
    static Scene* targetScene();
    // The current player's trophies, or null without a player.
    static Trophies* currentTrophies();

    GuiMethod onAnnounced;
    int pendingKind = KindNone;
};

// The start-up name of TrophyWatcher::create.
inline TrophyWatcher* createTrophyWatcher() { return TrophyWatcher::create(); }
