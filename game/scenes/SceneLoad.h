#pragma once

#include <vector>

#include "game/scenes/SceneTortelune.h"

class Button;
class ModifierContainer;
class Sprite;

// The loading scene ("SCENE_LOAD"): the title picture in four parallax layers
// with birds, the logo and a bar that fills while the sections queued at
// start-up load; once everything is loaded the picture pans up to the shop
// front and a click (anywhere, or on the door) zooms into it and opens the
// player selection. A click during loading is remembered.
class SceneLoad : public SceneTortelune {
    TT_CLASS_RECORD(SceneLoad)
public:
    // The faintest the blinking "click to continue" gets over its plate.
    static constexpr int kClickTextFaintestAlpha = 150;

    explicit SceneLoad(AbstractProperty* configuration);

    void loadContent() override;
    void update(int elapsedMs) override;
    bool onLeftUp(int x, int y, int keys) override;

    bool isLoaded() const { return loaded; }
    bool isLeaving() const { return leaving; }
    bool isClickPending() const { return clickPending; }
    float getStartProgress() const { return startProgress; }
    Sprite* getFullBar() const { return barFull; }
    // How long the loading scene sleeps per frame while loading, giving the
    // loader thread the processor (tests set 0).
    static void setLoadingSleep(int ms);

    bool isPanDone() const { return !anyLayerMoving(); }
    Sprite* getChef() const { return henri; }
    Sprite* getPastry() const { return pastry; }

private:
    static int onDoor(void* context, BaseObject* button);
    static int onZoomDone(void* context, BaseObject* argument);
    void buildTitlePan();
    void finishLoading();
    bool anyLayerMoving() const;
    void updateChef();
    static int onChefWaved(void* context, BaseObject* argument);
    static int onPastryChanged(void* context, BaseObject* argument);

    enum class ChefReaction { None, Away, Over };

    bool leaving = false;
    bool loaded = false;
    bool clickPending = false;
    float startProgress = -1.0f;
    Sprite* barEmpty = nullptr;
    Sprite* barFull = nullptr;
    ModifierContainer* introAnimations = nullptr;
    Sprite* clickText = nullptr;
    // The plate under the click text: it stays while the text blinks over it.
    Sprite* clickPlate = nullptr;
    GameNode* layers[4] = {nullptr, nullptr, nullptr, nullptr};
    Sprite* logo = nullptr;
    Sprite* smoke = nullptr;
    Button* door = nullptr;
    Sprite* henri = nullptr;
    Sprite* pastry = nullptr;
    GameNode* birdPanel = nullptr;
    // The chef's last reaction; None until the door first opens.
    ChefReaction chefReaction = ChefReaction::None;
    // Layers whose part of the title pan still runs; clicks count at 0.
    int movingLayers = 0;
    std::vector<GameNode*> partners;
};
