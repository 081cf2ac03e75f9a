#pragma once

#include <string>

#include "framework/core/BaseObject.h"

class Dialog;
class SceneMap;
class Sprite;

// One stretch of the map's behaviour between the player's clicks; the map
// holds exactly one. Entering sets whether the map takes input and whether
// its themes are frozen; leaving turns input off again.
class MapState : public BaseObject {
public:
    MapState(bool freezeThemes, bool inputEnabled);

    virtual void enter();
    virtual void update(int elapsedMs);
    virtual void leave();

    bool isInputEnabled() const { return inputEnabled; }
    bool freezesThemes() const { return freezeThemes; }
    SceneMap* getScene() const { return scene; }
    // Still the map's state: callbacks that arrive later do nothing otherwise.
    bool isCurrent() const;

protected:
    void setInput(bool enabled);

    bool freezeThemes;
    bool inputEnabled;
    SceneMap* scene;
};

// Waiting for a click.
class MapIdleState : public MapState {
public:
    MapIdleState() : MapState(false, true) {}
    void enter() override;
};

// Decides on entry what the map shows and does next.
class MapEntryState : public MapState {
public:
    MapEntryState() : MapState(false, false) {}
    void enter() override;

    // The saved career level the player may resume, or -1: only a level
    // that exists and that the player has reached counts.
    static int readSavedLevel();

private:
    void enterFromSelection();
};

// A guided hint of the chef, who walks in from one side and out again.
class MapHintState : public MapState {
public:
    explicit MapHintState(const std::string& hintName);
    ~MapHintState() override;

    void enter() override;
    void update(int elapsedMs) override;
    void leave() override;

    const std::string& getHintName() const { return hintName; }
    Sprite* getHost() const { return host; }
    static int onHintClosed(void* context, BaseObject* argument);

private:
    void showHost(bool fromLeft);
    void hostArrived();
    void dropHost();
    void afterHint();

    Sprite* host = nullptr;
    std::string hintName;
    bool showPending = true;
};

// A new player's first look: the map pans from the last page to the first.
class MapIntroPanState : public MapState {
public:
    MapIntroPanState() : MapState(true, false) {}
    void enter() override;

private:
    void panDone();
};

// The level information before a level starts.
class MapLevelInfoState : public MapState {
public:
    MapLevelInfoState() : MapState(true, false) {}
    void enter() override;
    void leave() override;
    static int onLevelInfoClosed(void* context, BaseObject* argument);

private:
    Dialog* dialog = nullptr;
};

// The question whether to carry on with the saved level.
class MapSavedGameState : public MapState {
public:
    MapSavedGameState() : MapState(true, false) {}
    void enter() override;
    void leave() override;
    static int onContinueSaved(void* context, BaseObject* argument);
    static int onStartNew(void* context, BaseObject* argument);

private:
    Dialog* dialog = nullptr;
};

// Hands over to the game scene.
class MapStartGameState : public MapState {
public:
    MapStartGameState() : MapState(false, false) {}
    void enter() override;
};

// The celebration of a newly won level: the stars count on, the level's
// button blinks in, a finished theme gets its mark and the next theme comes in.
class MapThemeFinishedState : public MapState {
public:
    MapThemeFinishedState() : MapState(false, false) {}
    void enter() override;
    void leave() override;
    int getNextLevel() const { return nextLevel; }

private:
    void afterCelebration();
    int nextLevel = -1;
};

// The map's trophies, announced one after the other by the trophy watcher.
class MapTrophyState : public MapState {
public:
    MapTrophyState() : MapState(true, false) {}
    void enter() override;
    void update(int elapsedMs) override;
    void leave() override;
    static int afterTrophies(void* context, BaseObject* argument);

private:
    // Asks the watcher when it is free; with nothing to announce goes on at once.
    void request();
    bool requested = false;
};

// The last level is won: back to the selection scene with its game end.
class MapGameCompleteState : public MapState {
public:
    MapGameCompleteState() : MapState(true, false) {}
    void enter() override;
};

// The three news flags a won level leaves for the map in the profile.
bool isNewHighestLevelPending();
bool isArcadeUnlockPending();
bool isNewToolLevelPending();
