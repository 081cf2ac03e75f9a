#pragma once

#include "framework/core/RefPointer.h"
#include "game/scenes/SceneTortelune.h"

class Button;
class Label;
class LabelTicker;
class MapState;
class Modifier;
class Sprite;
class ThemeNode;
class TortelunePlayer;

// The career map ("SCENE_MAP"): fifteen themes on a panel that scrolls over
// three pages, the player's stars, rank and score, and the start, back, shop
// and scroll buttons. What it does between clicks (guided hints, the intro
// pan, celebrations, trophies, the level information and the saved-game
// question) runs as one current MapState.
class SceneMap : public SceneTortelune {
    TT_CLASS_RECORD(SceneMap)
public:
    static constexpr int kThemeCount = 15;

    explicit SceneMap(AbstractProperty* configuration);
    ~SceneMap() override;

    void loadContent() override;
    void show() override;
    void hide() override;
    void update(int elapsedMs) override;

    // Leaves the old state, then enters the new one.
    void setState(MapState* state);
    MapState* getState() const { return currentState.get(); }

    // Only the themes of the page take clicks.
    void setPage(int value);
    int getPage() const { return page; }
    // 1 for themes 0 to 5, 3 for 6 to 11, 2 for 12 to 14, 0 for anything else.
    int getPageOfTheme(const GameNode* theme) const;
    // The panel x of the page; page 0 the panel's x now; -1 for no page.
    int getPageOffset(int value) const;
    // Scrolls the panel after `parent`; returns the step that ends the scroll
    // (or `parent` when there is nothing to scroll).
    Modifier* scrollToPage(Modifier* parent, int fromPage, int toPage);
    // Stops every running move of the panel and puts it at the page's x.
    void jumpToPage(int value);
    void setTotalStars(int value, bool animate);
    void updateRank(bool keepText);
    void updateScore(bool keepText);
    void showScrollButtons(bool animate);
    void hideScrollButtons(bool animate);

    // Levels per theme (1 to 4) and levels on the career list.
    static int levelsPerTheme();
    static int careerLevelCount();
    static TortelunePlayer* currentPlayer();
    // The player's level stars plus the bonus stars.
    static int totalStars();

    int onMapButtonClicked(BaseObject* button);
    static int onMapButton(void* context, BaseObject* button);

    ThemeNode* getTheme(int index) const { return index >= 0 && index < kThemeCount ? themeNodes[index] : nullptr; }
    // The first selected theme, or -1.
    int getSelectedTheme() const;
    void deselectThemes();
    void suspendThemes(bool value);

    GameNode* getPanelDynamic() const { return panelDynamic; }
    Button* getStartButton() const { return buttonStart; }
    Button* getBackButton() const { return buttonBack; }
    Button* getShopButton() const { return buttonShop; }
    Button* getScrollLeftButton() const { return buttonScrollLeft; }
    Button* getScrollRightButton() const { return buttonScrollRight; }
    LabelTicker* getTotalStarsTicker() const { return tickerTotalStars; }
    Label* getTotalStarsLabel() const { return labelTotalStars; }
    Label* getRankValueLabel() const { return labelRankValue; }
    Label* getScoreValueLabel() const { return labelScoreValue; }

    bool savedLevelPending = false;
    int savedLevel = -1;

private:
    static int onShop(void* context, BaseObject* argument);
    static int onBack(void* context, BaseObject* argument);
    static int onScrollLeft(void* context, BaseObject* argument);
    static int onScrollRight(void* context, BaseObject* argument);
    void scrollButtonsWanted(bool& left, bool& right) const;

    GameNode* panelDynamic = nullptr;
    GameNode* panelStatic = nullptr;
    ThemeNode* themeNodes[kThemeCount] = {};
    Button* buttonStart = nullptr;
    Button* buttonBack = nullptr;
    Button* buttonShop = nullptr;
    Button* buttonScrollLeft = nullptr;
    Button* buttonScrollRight = nullptr;
    Sprite* spriteTotalStars = nullptr;
    Label* labelTotalStars = nullptr;
    LabelTicker* tickerTotalStars = nullptr;
    Label* labelRank = nullptr;
    Label* labelRankValue = nullptr;
    Label* labelScore = nullptr;
    Label* labelScoreValue = nullptr;
    RefPointer<MapState> currentState;
    int page = 1;
};
