#include "framework/core/ObjectFactoryContainer.h"
#include "game/scenes/SceneMap.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "framework/core/Log.h"
#include "framework/gui/Button.h"
#include "framework/gui/SceneManager.h"
#include "framework/players/PlayerManager.h"
#include "framework/resources/ResourceLookup.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/ModifierFunction.h"
#include "framework/scenegraph/ModifierLocationLine.h"
#include "framework/scenegraph/ModifierVisible.h"
#include "framework/scenegraph/Sprite.h"
#include "framework/sound/SoundManager.h"
#include "framework/sound/SoundStream.h"
#include "game/data/GameData.h"
#include "game/data/RankTable.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/effects/Effects.h"
#include "game/effects/LabelTicker.h"
#include "game/effects/ModifierCallback.h"
#include "game/effects/OneShotModifiers.h"
#include "game/scenes/MapStates.h"
#include "game/scenes/ThemeNode.h"
#include "game/text/GameText.h"

TT_DEFINE_RECORD(SceneMap, &SceneTortelune::classRecord);
TT_REGISTER_CLASS(SceneMap);

namespace {

Modifier* targeted(Modifier* modifier, GameNode* target)
{
    modifier->setTarget(target);
    return modifier;
}

} // namespace

SceneMap::SceneMap(AbstractProperty* configuration) : SceneTortelune(configuration) {}

SceneMap::~SceneMap() = default;

int SceneMap::levelsPerTheme()
{
    const int value = tuning().LEVEL_PER_THEME;
    return value < 1 ? 1 : (value > ThemeNode::kLevelButtons ? ThemeNode::kLevelButtons : value);
}

int SceneMap::careerLevelCount()
{
    return GameData::instance && GameData::instance->state ? GameData::instance->state->levelManager.getLevelCount()
                                                           : 0;
}

TortelunePlayer* SceneMap::currentPlayer()
{
    PlayerManager* players = PlayerManager::getInstance();
    return players ? objectCast<TortelunePlayer>(players->getCurrentPlayer()) : nullptr;
}

int SceneMap::totalStars()
{
    TortelunePlayer* player = currentPlayer();
    return player ? player->getTotalStars() + player->starsOffset : 0;
}

void SceneMap::loadContent()
{
    SceneTortelune::loadContent();
    panelDynamic = getComponent("PANEL_DYNAMIC");
    panelStatic = getComponent("PANEL_STATIC");
    buttonShop = objectCast<Button>(bindComponent("BUTTON_SHOP", GuiMethod(this, &SceneMap::onShop)));
    buttonBack = objectCast<Button>(bindComponent("BUTTON_BACK", GuiMethod(this, &SceneMap::onBack)));
    buttonStart = objectCast<Button>(bindComponent("BUTTON_START", GuiMethod(this, &SceneMap::onMapButton)));
    buttonScrollLeft =
        objectCast<Button>(bindComponent("BUTTON_SCROLL_LEFT", GuiMethod(this, &SceneMap::onScrollLeft)));
    buttonScrollRight =
        objectCast<Button>(bindComponent("BUTTON_SCROLL_RIGHT", GuiMethod(this, &SceneMap::onScrollRight)));
    for (Button* scroll : {buttonScrollLeft, buttonScrollRight}) {
        if (scroll)
            scroll->setPivotPointKind(Sprite::Center);
    }
    spriteTotalStars = objectCast<Sprite>(getComponent("SPRITE_TOTALSTARS"));
    labelTotalStars = objectCast<Label>(getComponent("LABEL_TOTALSTARS"));
    tickerTotalStars = objectCast<LabelTicker>(getComponent("TICKER_TOTALSTARS"));
    if (tickerTotalStars && labelTotalStars)
        tickerTotalStars->setLabel(labelTotalStars);
    labelRank = objectCast<Label>(getComponent("LABEL_RANK"));
    labelRankValue = objectCast<Label>(getComponent("LABEL_RANKVALUE"));
    labelScore = objectCast<Label>(getComponent("LABEL_SCORE"));
    labelScoreValue = objectCast<Label>(getComponent("LABEL_SCOREVALUE"));

    const int perTheme = levelsPerTheme();
    for (int n = 0; n < kThemeCount; ++n) {
        themeNodes[n] = objectCast<ThemeNode>(getComponent("BUTTON_THEME" + std::to_string(n)));
        if (!themeNodes[n]) {
            LOG_WARNING("map: no theme node \"BUTTON_THEME" + std::to_string(n) + "\"");
            continue;
        }
        addListener(themeNodes[n]->getPastryButton(), GuiMethod(this, &SceneMap::onMapButton));
        for (int j = 0; j < perTheme; ++j)
            addListener(themeNodes[n]->getLevelButton(j), GuiMethod(this, &SceneMap::onMapButton));
    }
    setState(new MapIdleState());
    setPage(1);
}

void SceneMap::show()
{
    SceneTortelune::show();
    if (SoundManager::isSoundOn()) {
        RefPointer<SoundStream> music = ResourceLookup::findAs<SoundStream>("MUSIC_MAP", "music");
        if (music)
            SoundManager::instance->playMusic(1000, 1.0f, 100, music.get(), tuning().SOUND_FADEINDELAY_PATISSERIE, 306);
    }
    if (GameData::instance && GameData::instance->state)
        GameData::instance->state->mode = 0;
    setState(new MapEntryState());
}

void SceneMap::hide()
{
    if (Dialog* hint = getDialog("DIALOG_HINT"))
        forgetDialog(hint);
    setState(new MapIdleState());
    SceneTortelune::hide();
}

void SceneMap::update(int elapsedMs)
{
    SceneTortelune::update(elapsedMs);
    // The state may replace itself while it runs.
    RefPointer<MapState> running = currentState;
    if (running)
        running->update(elapsedMs);
}

void SceneMap::setState(MapState* state)
{
    RefPointer<MapState> next(state);
    RefPointer<MapState> old = currentState;
    if (old)
        old->leave();
    currentState = next;
    old = nullptr;
    if (next)
        next->enter();
}

void SceneMap::setPage(int value)
{
    page = value;
    const int perTheme = levelsPerTheme();
    for (int n = 0; n < kThemeCount; ++n) {
        ThemeNode* theme = themeNodes[n];
        if (!theme)
            continue;
        const bool onPage = getPageOfTheme(theme) == value;
        if (Button* pastry = theme->getPastryButton())
            pastry->setInputEnabled(onPage);
        for (int j = 0; j < perTheme; ++j) {
            if (Button* level = theme->getLevelButton(j))
                level->setInputEnabled(onPage);
        }
    }
}

int SceneMap::getPageOfTheme(const GameNode* theme) const
{
    for (int n = 0; n < kThemeCount; ++n) {
        if (theme && themeNodes[n] == theme)
            return n < 6 ? 1 : (n < 12 ? 3 : 2);
    }
    return 0;
}

int SceneMap::getPageOffset(int value) const
{
    const TuningTable& values = tuning();
    auto offset = [&](int focusOffset, int theme) {
        return themeNodes[theme] ? focusOffset - themeNodes[theme]->getX() + 400 : focusOffset + 400;
    };
    switch (value) {
    case 0: return panelDynamic ? panelDynamic->getX() : 0;
    case 1: return offset(values.FOCUS_LEFT_OFFSET, 1);
    case 2: return offset(values.FOCUS_MIDDLE_OFFSET, 14);
    case 3: return offset(values.FOCUS_RIGHT_OFFSET, 7);
    default: return -1;
    }
}

void SceneMap::jumpToPage(int value)
{
    setPage(value);
    if (!panelDynamic)
        return;
    GameNode::cancelModifiers(panelDynamic);
    panelDynamic->setX(getPageOffset(value));
}

Modifier* SceneMap::scrollToPage(Modifier* parent, int fromPage, int toPage)
{
    setPage(toPage);
    const int from = getPageOffset(fromPage);
    const int to = getPageOffset(toPage);
    const int duration = static_cast<int>(std::abs(to - from) * tuning().FOCUS_SPEED);
    if (from == to || !panelDynamic)
        return parent;
    hideScrollButtons(true);
    if (!parent)
        parent = getAnimTree();
    Modifier* move = Modifier::addChild(parent, targeted(new ModifierLocationLine(duration, from, 0, to, 0, easeOut),
                                                          panelDynamic));
    return Modifier::addChild(move, createModifierCallback(this, &SceneMap::showScrollButtons, true));
}

void SceneMap::scrollButtonsWanted(bool& left, bool& right) const
{
    TortelunePlayer* player = currentPlayer();
    const int highest = player ? player->highestLevelReached : -1;
    left = page == 2 || page == 3;
    right = page == 2 || (page == 1 && highest >= 23);
}

void SceneMap::showScrollButtons(bool animate)
{
    bool wanted[2];
    scrollButtonsWanted(wanted[0], wanted[1]);
    Button* buttons[2] = {buttonScrollLeft, buttonScrollRight};
    for (int i = 0; i < 2; ++i) {
        Button* button = buttons[i];
        if (!button)
            continue;
        GameNode::cancelModifiers(button);
        GameNode::clearModifiers(button);
        // Back to its natural size after an interrupted pop.
        if (Image* picture = button->getImage())
            button->setSize(picture->getWidth(), picture->getHeight() / std::max(1, button->getFrameCount()));
        if (!wanted[i])
            continue;
        if (animate) {
            if (button->isVisible())
                continue;
            Modifier* step = Modifier::addChild(getAnimTree(), targeted(new ModifierVisible(true), button));
            step = addPopEffect(button, step, true, false, 0.5f);
            Modifier::addChild(step, targeted(new ModifierEnabled(ModifierEnabled::Enable), button));
        } else {
            button->setEnabled(true);
            button->setVisible(true);
        }
    }
}

void SceneMap::hideScrollButtons(bool animate)
{
    for (Button* button : {buttonScrollLeft, buttonScrollRight}) {
        if (!button)
            continue;
        if (!animate) {
            button->setEnabled(false);
            button->setVisible(false);
            continue;
        }
        if (!button->isVisible())
            continue;
        Modifier* step = Modifier::addChild(getAnimTree(), targeted(new ModifierEnabled(0), button));
        step = addPopEffect(button, step, false, true, 0.5f);
        Modifier::addChild(step, targeted(new ModifierVisible(false), button));
    }
}

void SceneMap::setTotalStars(int value, bool animate)
{
    if (tickerTotalStars) {
        tickerTotalStars->setTarget(value);
        if (!animate)
            tickerTotalStars->skipToTarget(true);
    }
    const bool any = totalStars() > 0;
    if (spriteTotalStars)
        spriteTotalStars->setVisible(any);
    if (labelTotalStars)
        labelTotalStars->setVisible(any);
}

void SceneMap::updateRank(bool keepText)
{
    TortelunePlayer* player = currentPlayer();
    if (!keepText && labelRankValue && player && RankTable::getInstance()) {
        labelRankValue->setText(RankTable::getInstance()->getRankName(player->rank));
        labelRankValue->updateLayout();
    }
    const bool any = player && player->score > 0;
    for (Label* label : {labelRank, labelRankValue}) {
        if (label)
            label->setVisible(any);
    }
}

void SceneMap::updateScore(bool keepText)
{
    TortelunePlayer* player = currentPlayer();
    if (!keepText && labelScoreValue && player) {
        labelScoreValue->setText(groupedNumber(player->score));
        labelScoreValue->updateLayout();
    }
    const bool any = player && player->score > 0;
    for (Label* label : {labelScore, labelScoreValue}) {
        if (label)
            label->setVisible(any);
    }
}

int SceneMap::getSelectedTheme() const
{
    for (int n = 0; n < kThemeCount; ++n) {
        if (themeNodes[n] && themeNodes[n]->isSelected())
            return n;
    }
    return -1;
}

void SceneMap::deselectThemes()
{
    for (ThemeNode* theme : themeNodes) {
        if (theme)
            theme->setSelected(false);
    }
}

void SceneMap::suspendThemes(bool value)
{
    for (ThemeNode* theme : themeNodes) {
        if (theme)
            theme->setSuspended(value);
    }
}

int SceneMap::onMapButton(void* context, BaseObject* button)
{
    return static_cast<SceneMap*>(context)->onMapButtonClicked(button);
}

int SceneMap::onMapButtonClicked(BaseObject* button)
{
    if (currentState && !currentState->isInputEnabled())
        return 0;
    const int perTheme = levelsPerTheme();
    const int selected = getSelectedTheme();
    int clickedTheme = -1;
    int clickedLevel = -1;
    for (int t = 0; t < kThemeCount && clickedTheme < 0; ++t) {
        ThemeNode* theme = themeNodes[t];
        if (!theme)
            continue;
        if (button == theme->getPastryButton()) {
            clickedTheme = t;
            break;
        }
        for (int j = 0; j < perTheme; ++j) {
            if (button == theme->getLevelButton(j)) {
                clickedTheme = t;
                clickedLevel = t * perTheme + j;
                break;
            }
        }
    }
    const bool isStart = button == buttonStart;
    if (!isStart && selected != clickedTheme) {
        // A first click on a theme only selects it.
        if (selected >= 0)
            themeNodes[selected]->setSelected(false);
        if (clickedTheme >= 0)
            themeNodes[clickedTheme]->setSelected(true);
        return 0;
    }

    TortelunePlayer* player = currentPlayer();
    const int highest = player ? player->highestLevelReached : -1;
    const int levelCount = careerLevelCount();
    bool startSaved = false;
    if (savedLevelPending) {
        if (isStart)
            startSaved = true;
        else if (clickedLevel >= 0)
            startSaved = clickedLevel == savedLevel;
        else
            startSaved = clickedTheme * perTheme <= savedLevel && savedLevel < (clickedTheme + 1) * perTheme;
    }
    int level = highest + 1;
    const int themeForStart = isStart ? selected : (clickedLevel < 0 ? clickedTheme : -1);
    if (clickedLevel >= 0 && !isStart) {
        level = clickedLevel;
    } else if (themeForStart >= 0) {
        if (highest + 1 >= (themeForStart + 1) * perTheme)
            level = themeForStart * perTheme;
    } else if (highest + 1 >= levelCount) {
        level = 0;
    }
    if (GameData::instance && GameData::instance->state) {
        if (level < levelCount)
            GameData::instance->state->levelManager.selectLevel(level);
        GameData::instance->resetLevel();
    }
    if (startSaved) {
        setState(new MapSavedGameState());
    } else {
        if (GameData::instance && GameData::instance->state)
            GameData::instance->state->gridWrapper.fill();
        setState(new MapLevelInfoState());
    }
    return 0;
}

int SceneMap::onShop(void* /*context*/, BaseObject* /*argument*/)
{
    switchTo({"scenetoolshop", "tools"}, "TRANSITION_DEFAULT", "SCENE_TOOLSHOP");
    return 0;
}

int SceneMap::onBack(void* /*context*/, BaseObject* /*argument*/)
{
    switchTo({"sceneselection"}, "TRANSITION_DEFAULT", "SCENE_SELECTION");
    return 0;
}

int SceneMap::onScrollLeft(void* context, BaseObject* /*argument*/)
{
    auto* map = static_cast<SceneMap*>(context);
    TortelunePlayer* player = currentPlayer();
    const int highest = player ? player->highestLevelReached : -1;
    if (map->page == 2)
        map->scrollToPage(map->getAnimTree(), 0, 1);
    else if (map->page == 3)
        map->scrollToPage(map->getAnimTree(), 0, highest >= 47 ? 2 : 1);
    return 0;
}

int SceneMap::onScrollRight(void* context, BaseObject* /*argument*/)
{
    auto* map = static_cast<SceneMap*>(context);
    TortelunePlayer* player = currentPlayer();
    const int highest = player ? player->highestLevelReached : -1;
    if (map->page == 1) {
        if (highest >= 47)
            map->scrollToPage(map->getAnimTree(), 0, 2);
        else if (highest >= 23)
            map->scrollToPage(map->getAnimTree(), 0, 3);
    } else if (map->page == 2) {
        map->scrollToPage(map->getAnimTree(), 0, 3);
    }
    return 0;
}
