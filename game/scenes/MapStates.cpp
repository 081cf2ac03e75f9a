#include "game/scenes/MapStates.h"

#include <algorithm>

#include "framework/core/Log.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyStore.h"
#include "framework/gui/Button.h"
#include "framework/gui/SceneManager.h"
#include "framework/players/PlayerManager.h"
#include "framework/resources/ResourceLookup.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/ModifierLocationLine.h"
#include "framework/scenegraph/ModifierSound.h"
#include "framework/scenegraph/ModifierVisible.h"
#include "framework/scenegraph/Sprite.h"
#include "framework/sound/Sound.h"
#include "game/data/GameData.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/DialogLevelInfo.h"
#include "game/dialogs/DialogTortelune.h"
#include "game/dialogs/DialogYesNo.h"
#include "game/dialogs/TrophyWatcher.h"
#include "game/effects/Effects.h"
#include "game/effects/LabelTicker.h"
#include "game/effects/ModifierCallback.h"
#include "game/effects/OneShotModifiers.h"
#include "game/scenes/HintManager.h"
#include "game/scenes/SceneGame.h"
#include "game/scenes/SceneMap.h"
#include "game/scenes/SceneSelection.h"
#include "game/scenes/ThemeNode.h"

namespace {

// How far past the right edge the chef stands when he comes from the right.
constexpr int kRightHostOverhang = 16;

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
// The map's trophies are announced at this moment.
constexpr int kMapTrophies = TrophyWatcher::KindMap;

Modifier* targeted(Modifier* modifier, GameNode* target)
{
    modifier->setTarget(target);
    return modifier;
}

SceneMap* mapScene()
{
    return SceneManager::instance ? objectCast<SceneMap>(SceneManager::instance->getScene("SCENE_MAP")) : nullptr;
}

SceneGame* gameScene()
{
    return SceneManager::instance ? objectCast<SceneGame>(SceneManager::instance->getScene("SCENE_GAME")) : nullptr;
}

TortelunePlayer* player()
{
    return SceneMap::currentPlayer();
}

int highestLevel()
{
    TortelunePlayer* current = player();
    return current ? current->highestLevelReached : -1;
}

int mapTrophiesWaiting()
{
    return TrophyWatcher::instance ? TrophyWatcher::instance->countTrophiesOfKind(kMapTrophies) : 0;
}

void playSound(const std::string& name)
{
    if (RefPointer<Sound> sound = ResourceLookup::findAs<Sound>(name, "sounds"))
        Sound::play(sound.get(), 128, 255, false);
}

void forget(SceneMap* scene, const std::string& name)
{
    if (Dialog* dialog = scene ? scene->getDialog(name) : nullptr)
        scene->forgetDialog(dialog);
}

} // namespace

bool isNewHighestLevelPending()
{
    TortelunePlayer* current = player();
    return current && current->newLevelNotice;
}

bool isArcadeUnlockPending()
{
    TortelunePlayer* current = player();
    return current && current->arcadeSet0Notice;
}

bool isNewToolLevelPending()
{
    TortelunePlayer* current = player();
    return current && (current->toolLevel0Notice || current->toolLevel1Notice);
}

// ---------------------------------------------------------------------------

MapState::MapState(bool freezeThemes, bool inputEnabled)
    : freezeThemes(freezeThemes), inputEnabled(inputEnabled), scene(mapScene())
{
}

bool MapState::isCurrent() const
{
    return scene && scene->getState() == this;
}

void MapState::setInput(bool enabled)
{
    if (!scene)
        return;
    scene->getInputContainer().setInputEnabled(enabled);
    scene->setInputEnabled(enabled);
}

void MapState::enter()
{
    if (!scene)
        return;
    if (freezeThemes)
        scene->suspendThemes(true);
    setInput(inputEnabled);
    for (Button* button : {scene->getBackButton(), scene->getStartButton()}) {
        if (!button)
            continue;
        // Set twice so that its frame follows.
        button->setEnabled(!inputEnabled);
        button->setEnabled(inputEnabled);
    }
    if (Button* shop = scene->getShopButton()) {
        TortelunePlayer* current = player();
        const bool open = inputEnabled && current && current->hasToolLevel(0) && !isNewToolLevelPending();
        shop->setEnabled(!open);
        shop->setEnabled(open);
    }
}

void MapState::update(int /*elapsedMs*/)
{
    setInput(inputEnabled);
}

void MapState::leave()
{
    setInput(false);
    if (scene && freezeThemes)
        scene->suspendThemes(false);
}

// ---------------------------------------------------------------------------

void MapIdleState::enter()
{
    MapState::enter();
    if (scene)
        scene->showScrollButtons(true);
}

// ---------------------------------------------------------------------------

int MapEntryState::readSavedLevel()
{
    PlayerManager* players = PlayerManager::getInstance();
    TortelunePlayer* current = player();
    if (!players || !current || !players->savedGameExists("LEVEL", current->getName()))
        return -1;
    RefPointer<PropertyStore> store(new PropertyStore());
    if (!players->loadGameState("LEVEL", current->getName(), *store))
        return -1;
    PropertyNode* levels = store->getNode("levelmanager");
    if (!levels || !levels->getValue("currentLevel"))
        return -1;
    const int level = levels->getInt("currentLevel", -1);
    // A saved game names a level the player may play, or none.
    const int last = SceneMap::careerLevelCount() - 1;
    if (level < 0 || level > std::min(current->highestLevelReached + 1, last)) {
        LOG_WARNING("saved level " + std::to_string(level) + " of \"" + current->getName() + "\" is ignored");
        return -1;
    }
    return level;
}

void MapEntryState::enter()
{
    MapState::enter();
    if (!scene)
        return;
    scene->savedLevel = readSavedLevel();
    scene->savedLevelPending = scene->savedLevel >= 0;

    Scene* previous = SceneManager::instance ? SceneManager::instance->getPreviousScene() : nullptr;
    const std::string from = previous ? previous->getName() : std::string();
    TortelunePlayer* current = player();
    if (from == "SCENE_GAME") {
        scene->setTotalStars(SceneMap::totalStars(), false);
        scene->updateRank(false);
        scene->updateScore(false);
        if (isNewHighestLevelPending())
            scene->setState(new MapThemeFinishedState());
        else if (mapTrophiesWaiting() > 0)
            scene->setState(new MapTrophyState());
        else if (isNewToolLevelPending())
            scene->setState(new MapHintState("HINT_SHOP"));
        else
            scene->setState(new MapIdleState());
        return;
    }
    if (from == "SCENE_TOOLSHOP") {
        scene->setTotalStars(SceneMap::totalStars(), false);
        if (current && GameData::instance && GameData::instance->state)
            GameData::instance->state->playSessionInfo.applyTools(current->toolSlots[0], current->toolSlots[1]);
        scene->setState(new MapIdleState());
        return;
    }
    if (from == "SCENE_SELECTION") {
        enterFromSelection();
        return;
    }
    if (isNewHighestLevelPending())
        scene->setState(new MapThemeFinishedState());
    else if (isNewToolLevelPending())
        scene->setState(new MapHintState("HINT_SHOP"));
    else
        scene->setState(new MapIdleState());
}

void MapEntryState::enterFromSelection()
{
    TortelunePlayer* current = player();
    const int highest = highestLevel();
    const int perTheme = SceneMap::levelsPerTheme();
    playSound("STING_LEVELSELECTION");
    for (int t = 0; t < SceneMap::kThemeCount; ++t) {
        if (ThemeNode* theme = scene->getTheme(t))
            theme->setCompletedCount(std::clamp(highest + 1 - t * perTheme, 0, perTheme));
    }
    for (int t = 0; t < SceneMap::kThemeCount; ++t) {
        if (ThemeNode* theme = scene->getTheme(t)) {
            theme->setUnlocked(false);
            theme->setUnlocked(highest + 1 >= t * perTheme);
        }
    }
    const int focus = scene->savedLevelPending ? scene->savedLevel : highest + 1;
    scene->deselectThemes();
    int focusPage = 1;
    for (int t = 0; t < SceneMap::kThemeCount; ++t) {
        ThemeNode* theme = scene->getTheme(t);
        if (!theme)
            continue;
        const bool holds = t * perTheme <= focus && focus < (t + 1) * perTheme;
        theme->setSelected(holds);
        if (holds)
            focusPage = scene->getPageOfTheme(theme);
    }
    scene->jumpToPage(focusPage);
    scene->setTotalStars(SceneMap::totalStars(), false);
    scene->updateRank(false);
    scene->updateScore(false);
    if (Button* shop = scene->getShopButton()) {
        const bool open = current && current->hasToolLevel(0);
        shop->setAlpha(255);
        shop->setVisible(open);
        shop->setEnabled(open);
    }
    if (current && GameData::instance && GameData::instance->state)
        GameData::instance->state->playSessionInfo.applyTools(current->toolSlots[0], current->toolSlots[1]);
    scene->hideScrollButtons(false);
    scene->showScrollButtons(false);
    if (current && !current->hasSeenHint("HINT_CLICK_START"))
        scene->setState(new MapHintState(highest == -1 ? "HINT_LEVELSELECTION" : "HINT_CLICK_START"));
    else
        scene->setState(new MapIdleState());
}

// ---------------------------------------------------------------------------

namespace {

bool blocksInput(const std::string& hint)
{
    return hint == "HINT_LEVELSELECTION" || hint == "HINT_FIRSTLEVEL" || hint == "HINT_FIRSTTHEME" ||
           hint == "HINT_ARCADEUNLOCK";
}

} // namespace

MapHintState::MapHintState(const std::string& hintName)
    : MapState(true, !blocksInput(hintName)), hintName(hintName)
{
}

MapHintState::~MapHintState()
{
    dropHost();
}

void MapHintState::dropHost()
{
    if (!host)
        return;
    GameNode::cancelModifiers(host);
    GameNode::clearModifiers(host);
    host->setRemoved(true);
    host = nullptr;
}

void MapHintState::enter()
{
    MapState::enter();
    if (!scene)
        return;
    TortelunePlayer* current = player();
    int hostSide = 0; // 1 from the left, 2 from the right
    if (hintName == "HINT_SHOP") {
        if (Button* shop = scene->getShopButton()) {
            shop->setAlpha(0);
            GameNode::addModifier(shop, new ModifierDelay(250));
            GameNode::addModifier(shop, new ModifierEnabled(ModifierEnabled::Enable));
            GameNode::addModifier(shop, new ModifierVisible(true));
            GameNode::addModifier(shop, new ModifierAlpha(250, 0, 255));
        }
        if (current) {
            current->toolLevel0Notice = false;
            current->toolLevel1Notice = false;
        }
        // The first theme stands at the left: the chef comes from the right.
        hostSide = 2;
    } else if (hintName == "HINT_LEVELSELECTION") {
        scene->jumpToPage(3);
        hostSide = 2;
    } else if (hintName == "HINT_EXAM3_UNLOCKED" || hintName == "HINT_EXAM3_FINISHED") {
        hostSide = 2;
    } else if (hintName == "HINT_CLICK_START") {
        // The first theme's levels lie at the left of the map: the chef stands clear of them.
        hostSide = 2;
    } else if (hintName == "HINT_ARCADEUNLOCK") {
        if (current)
            current->arcadeSet0Notice = false;
        hostSide = 2;
    } else if (hintName == "HINT_FIRSTLEVEL" || hintName == "HINT_FIRSTTHEME" ||
               hintName == "HINT_EXAM1_UNLOCKED" || hintName == "HINT_EXAM1_FINISHED") {
        hostSide = 2;
    }
    if (hostSide != 0)
        showHost(hostSide == 1);
    if (!current || !current->showHints || current->hasSeenHint(hintName)) {
        dropHost();
        showPending = false;
        afterHint();
    }
}

void MapHintState::showHost(bool fromLeft)
{
    showPending = false;
    RefPointer<Image> picture = ResourceLookup::findAs<Image>(fromLeft ? "HENRI_LEFT" : "HENRI_RIGHT", "scenemap");
    RefPointer<Sprite> sprite(new Sprite(0, 0, picture.get()));
    const int kind = fromLeft ? Sprite::BottomLeft : Sprite::BottomRight;
    sprite->setAnchorPoint(kind);
    if (sprite->getPivotFollowsAnchor())
        sprite->setPivotPointKind(kind);
    const int width = sprite->getWidth();
    const int startX = fromLeft ? -width : width + kScreenWidth;
    // At the right the chef stands a little past the edge, so his pointing
    // arm stays clear of the cupcake and name of the theme at x 590.
    const int endX = fromLeft ? 0 : kScreenWidth + kRightHostOverhang;
    sprite->setPosition(startX, kScreenHeight);
    GameNode::addChild(scene->getTree(), sprite.get());
    host = sprite.get();
    const TuningTable& values = tuning();
    Modifier* step =
        Modifier::addChild(scene->getAnimTree(), targeted(new ModifierDelay(values.HENRI_MOVE_DELAY), host));
    step = Modifier::addChild(step, targeted(new ModifierLocationLine(values.HENRI_MOVE_TIME, startX, kScreenHeight,
                                                                      endX, kScreenHeight, easeOut),
                                             host));
    Modifier::addChild(step, createModifierCallback(this, &MapHintState::hostArrived));
}

void MapHintState::hostArrived()
{
    showPending = true;
}

void MapHintState::update(int elapsedMs)
{
    MapState::update(elapsedMs);
    if (!showPending || !scene || scene->isDialogShown("DIALOG_HINT"))
        return;
    showPending = false;
    RefPointer<MapHintState> keep(this);
    if (HintManager::instance)
        HintManager::instance->showHint(hintName, GuiMethod(this, &MapHintState::onHintClosed));
    else
        onHintClosed(this, nullptr);
}

int MapHintState::onHintClosed(void* context, BaseObject* /*argument*/)
{
    RefPointer<MapHintState> state(static_cast<MapHintState*>(context));
    if (!state->isCurrent())
        return 0;
    Sprite* host = state->host;
    if (!host) {
        state->afterHint();
        return 0;
    }
    // The chef walks out the way he came, then the map goes on.
    state->host = nullptr;
    const bool fromLeft = host->getAnchorKind() == Sprite::BottomLeft;
    const int endX = fromLeft ? -host->getWidth() : host->getWidth() + kScreenWidth;
    Modifier* step = Modifier::addChild(state->scene->getAnimTree(),
                                        targeted(new ModifierLocationLine(tuning().HENRI_MOVE_TIME, host->getX(),
                                                                          kScreenHeight, endX, kScreenHeight, easeOut),
                                                 host));
    step = Modifier::addChild(step, targeted(new ModifierVisible(false), host));
    step = Modifier::addChild(step, createModifierCallback(static_cast<GameNode*>(host), &GameNode::setRemoved, true));
    Modifier::addChild(step, createModifierCallback(state.get(), &MapHintState::afterHint));
    return 0;
}

void MapHintState::afterHint()
{
    if (!isCurrent())
        return;
    if (hintName == "HINT_LEVELSELECTION")
        scene->setState(new MapIntroPanState());
    else if (isArcadeUnlockPending())
        scene->setState(new MapHintState("HINT_ARCADEUNLOCK"));
    else if (isNewToolLevelPending())
        scene->setState(new MapHintState("HINT_SHOP"));
    else
        scene->setState(new MapIdleState());
}

void MapHintState::leave()
{
    if (scene) {
        if (auto* dialog = objectCast<DialogTortelune>(scene->getDialog("DIALOG_HINT"))) {
            if (scene->isDialogShown("DIALOG_HINT")) {
                GameNode::clearModifiers(dialog);
                dialog->closeCallback = GuiMethod();
                dialog->close();
            }
        }
    }
    dropHost();
    MapState::leave();
}

// ---------------------------------------------------------------------------

void MapIntroPanState::enter()
{
    MapState::enter();
    if (!scene)
        return;
    scene->jumpToPage(3);
    GameNode* panel = scene->getPanelDynamic();
    Modifier* step = Modifier::addChild(scene->getAnimTree(), new ModifierDelay(200));
    if (panel)
        step = Modifier::addChild(step, targeted(new ModifierLocationLine(3500, scene->getPageOffset(3), 0,
                                                                          scene->getPageOffset(1), 0, easeSmoothstep),
                                                 panel));
    Modifier::addChild(step, createModifierCallback(this, &MapIntroPanState::panDone));
}

void MapIntroPanState::panDone()
{
    if (!isCurrent())
        return;
    scene->setPage(1);
    scene->setState(new MapHintState("HINT_CLICK_START"));
}

// ---------------------------------------------------------------------------

void MapLevelInfoState::enter()
{
    MapState::enter();
    if (!scene)
        return;
    if (highestLevel() == -1) {
        onLevelInfoClosed(this, nullptr);
        return;
    }
    dialog = scene->getOrCreateDialog("DIALOG_LEVEL_INFO", "DIALOG_LEVEL_INFO");
    auto* info = objectCast<DialogLevelInfo>(dialog);
    if (!info) {
        // Without the dialog the level starts as if its start button was pressed.
        LOG_WARNING("map: no level information \"DIALOG_LEVEL_INFO\"; the level starts");
        if (dialog)
            scene->forgetDialog(dialog);
        dialog = nullptr;
        onLevelInfoClosed(this, nullptr);
        return;
    }
    // Filled before it shows: the first look is the level picked on the map.
    info->showSelectedTools();
    if (GameData::instance && GameData::instance->state)
        info->showLevel(GameData::instance->state->levelManager.getLevel());
    info->closeCallback = GuiMethod(this, &MapLevelInfoState::onLevelInfoClosed);
    scene->showDialog(info);
    playSound("SOUND_PASTRY_THEMESELECT");
}

int MapLevelInfoState::onLevelInfoClosed(void* context, BaseObject* /*argument*/)
{
    RefPointer<MapLevelInfoState> state(static_cast<MapLevelInfoState*>(context));
    if (!state->isCurrent())
        return 0;
    if (!state->dialog) {
        state->scene->setState(new MapStartGameState());
        return 0;
    }
    // Only its start answers 0; cancel, Esc and a close without an answer
    // leave the map waiting.
    auto* info = objectCast<DialogLevelInfo>(state->dialog);
    if (info && info->result == 0) {
        state->scene->forgetDialog(state->dialog);
        state->dialog = nullptr;
        state->scene->setState(new MapStartGameState());
    } else {
        state->scene->setState(new MapIdleState());
    }
    return 0;
}

void MapLevelInfoState::leave()
{
    if (scene && dialog && scene->isDialogShown("DIALOG_LEVEL_INFO")) {
        if (auto* info = objectCast<DialogTortelune>(dialog)) {
            info->closeCallback = GuiMethod();
            info->close();
        }
    }
    dialog = nullptr;
    MapState::leave();
}

// ---------------------------------------------------------------------------

void MapSavedGameState::enter()
{
    MapState::enter();
    if (!scene)
        return;
    DialogYesNo* question = DialogYesNo::ask("CTEXT_START_SAVEGAME", "CTEXT_SAVEGAME_HEADER", this,
                                             &MapSavedGameState::onContinueSaved, this, &MapSavedGameState::onStartNew,
                                             scene);
    dialog = question;
    if (!question) {
        // No question can be asked: the level starts afresh.
        onStartNew(this, nullptr);
        return;
    }
    scene->showDialog(question);
}

int MapSavedGameState::onContinueSaved(void* context, BaseObject* /*argument*/)
{
    RefPointer<MapSavedGameState> state(static_cast<MapSavedGameState*>(context));
    if (!state->isCurrent())
        return 0;
    PlayerManager* players = PlayerManager::getInstance();
    TortelunePlayer* current = player();
    RefPointer<PropertyStore> store(new PropertyStore());
    if (players && current && players->loadGameState("LEVEL", current->getName(), *store) && GameData::instance) {
        GameData::instance->resetLevel();
        GameData::instance->loadGame(store.get());
        if (SceneGame* game = gameScene())
            game->resumeSavedGame = true;
    } else {
        LOG_WARNING("the saved level could not be read; it starts afresh");
    }
    forget(state->scene, "CTEXT_START_SAVEGAME");
    state->dialog = nullptr;
    state->scene->setState(new MapStartGameState());
    return 0;
}

int MapSavedGameState::onStartNew(void* context, BaseObject* /*argument*/)
{
    RefPointer<MapSavedGameState> state(static_cast<MapSavedGameState*>(context));
    if (!state->isCurrent())
        return 0;
    if (GameData::instance && GameData::instance->state)
        GameData::instance->state->gridWrapper.fill();
    state->scene->setState(new MapLevelInfoState());
    return 0;
}

void MapSavedGameState::leave()
{
    forget(scene, "CTEXT_START_SAVEGAME");
    dialog = nullptr;
    MapState::leave();
}

// ---------------------------------------------------------------------------

void MapStartGameState::enter()
{
    MapState::enter();
    SceneTortelune::switchTo({"scenegame", "tools"}, "TRANSITION_DEFAULT", "SCENE_GAME");
}

// ---------------------------------------------------------------------------

void MapThemeFinishedState::enter()
{
    MapState::enter();
    if (!scene)
        return;
    scene->deselectThemes();
    const int highest = highestLevel();
    const int perTheme = SceneMap::levelsPerTheme();
    nextLevel = highest + 1;
    const int completed = highest % perTheme + 1;
    Modifier* root = scene->getAnimTree();
    auto countStars = [&](Modifier* parent) {
        LabelTicker* ticker = scene->getTotalStarsTicker();
        if (!ticker)
            return parent;
        return Modifier::addChild(parent, targeted(new ModifierLabelTicker(SceneMap::totalStars(), true), ticker));
    };

    Modifier* step = nullptr;
    if (nextLevel % perTheme == 0) {
        // The last level of a theme: its mark drops and the next theme comes in.
        const int finished = nextLevel / perTheme - 1;
        const int next = finished + 1 < SceneMap::kThemeCount ? finished + 1 : -1;
        ThemeNode* theme = scene->getTheme(finished);
        const int finishedPage = scene->getPageOfTheme(theme);
        step = scene->scrollToPage(root, 0, finishedPage);
        step = Modifier::addChild(step, new ModifierDelay(400));
        step = countStars(step);
        step = Modifier::addChild(step, new ModifierSound("STING_THEMEFINISHED", "sounds", true));
        if (theme) {
            step = theme->revealLevels(theme->getCompletedCount(), completed, step);
            step = Modifier::addChild(step, new ModifierDelay(200));
            step = theme->dropFinishMark(step);
        }
        if (ThemeNode* nextTheme = scene->getTheme(next)) {
            step = scene->scrollToPage(step, finishedPage, scene->getPageOfTheme(nextTheme));
            step = Modifier::addChild(step, new ModifierDelay(400));
            step = nextTheme->appear(step);
        }
        step = Modifier::addChild(step, new ModifierDelay(200));
    } else {
        ThemeNode* theme = scene->getTheme(nextLevel / perTheme);
        step = scene->scrollToPage(root, 0, scene->getPageOfTheme(theme));
        step = Modifier::addChild(step, new ModifierDelay(400));
        step = countStars(step);
        if (theme)
            step = theme->revealLevels(theme->getCompletedCount(), completed, step);
    }
    Modifier::addChild(step, createModifierCallback(this, &MapThemeFinishedState::afterCelebration));

    // Opening level 24, 48 or 60 earns a map trophy.
    TortelunePlayer* current = player();
    if (current && current->getTrophies()) {
        const int trophy = nextLevel == 24 ? 12 : (nextLevel == 48 ? 13 : (nextLevel == 60 ? 14 : -1));
        if (trophy >= 0 && current->getTrophies()->getState(trophy) == 0)
            current->getTrophies()->setState(trophy, 1);
    }
    scene->hideScrollButtons(false);
}

void MapThemeFinishedState::afterCelebration()
{
    if (!isCurrent())
        return;
    if (mapTrophiesWaiting() > 0) {
        scene->setState(new MapTrophyState());
        return;
    }
    const char* hint = nullptr;
    switch (highestLevel()) {
    case 59: scene->setState(new MapGameCompleteState()); return;
    case 0: hint = "HINT_FIRSTLEVEL"; break;
    case 3: hint = "HINT_FIRSTTHEME"; break;
    case 11: hint = "HINT_EXAM1_UNLOCKED"; break;
    case 15: hint = "HINT_EXAM1_FINISHED"; break;
    case 43: hint = "HINT_EXAM3_UNLOCKED"; break;
    case 47: hint = "HINT_EXAM3_FINISHED"; break;
    default: break;
    }
    if (!hint && isArcadeUnlockPending())
        hint = "HINT_ARCADEUNLOCK";
    if (!hint && isNewToolLevelPending())
        hint = "HINT_SHOP";
    if (hint)
        scene->setState(new MapHintState(hint));
    else
        scene->setState(new MapIdleState());
}

void MapThemeFinishedState::leave()
{
    if (scene) {
        TortelunePlayer* current = player();
        if (mapTrophiesWaiting() == 0 && current)
            current->newLevelNotice = false;
        const int perTheme = SceneMap::levelsPerTheme();
        for (int t = 0; t < SceneMap::kThemeCount; ++t) {
            ThemeNode* theme = scene->getTheme(t);
            if (!theme)
                continue;
            theme->setUnlocked(nextLevel >= t * perTheme);
            theme->setSelected(t * perTheme <= nextLevel && nextLevel < (t + 1) * perTheme);
        }
        scene->setPage(scene->getPage());
    }
    MapState::leave();
}

// ---------------------------------------------------------------------------

void MapTrophyState::enter()
{
    MapState::enter();
    request();
}

void MapTrophyState::update(int elapsedMs)
{
    MapState::update(elapsedMs);
    // A busy watcher would never call back: ask again each frame until it is free.
    if (!requested)
        request();
}

void MapTrophyState::request()
{
    if (!isCurrent())
        return;
    TrophyWatcher* watcher = TrophyWatcher::instance;
    if (watcher && !watcher->isIdle())
        return;
    requested = true;
    if (!watcher || !watcher->requestAnnouncement(kMapTrophies, GuiMethod(this, &MapTrophyState::afterTrophies)))
        afterTrophies(this, nullptr);
}

int MapTrophyState::afterTrophies(void* context, BaseObject* /*argument*/)
{
    RefPointer<MapTrophyState> state(static_cast<MapTrophyState*>(context));
    if (!state->isCurrent())
        return 0;
    SceneMap* scene = state->scene;
    if (isNewHighestLevelPending()) {
        const int highest = highestLevel();
        if (highest == 59) {
            scene->setState(new MapGameCompleteState());
            return 0;
        }
        if (highest == 0 || highest == 3) {
            scene->setState(new MapHintState(highest == 0 ? "HINT_FIRSTLEVEL" : "HINT_FIRSTTHEME"));
            return 0;
        }
    }
    if (isArcadeUnlockPending())
        scene->setState(new MapHintState("HINT_ARCADEUNLOCK"));
    else if (isNewToolLevelPending())
        scene->setState(new MapHintState("HINT_SHOP"));
    else
        scene->setState(new MapIdleState());
    return 0;
}

void MapTrophyState::leave()
{
    if (TortelunePlayer* current = player())
        current->newLevelNotice = false;
    if (TrophyWatcher* watcher = TrophyWatcher::instance) {
        if (watcher->onAnnounced.getContext() == this)
            watcher->onAnnounced = GuiMethod();
    }
    forget(scene, "DIALOG_TROPHYSCREEN");
    forget(scene, "DIALOG_TROPHYAWARDED");
    MapState::leave();
}

// ---------------------------------------------------------------------------

void MapGameCompleteState::enter()
{
    MapState::enter();
    SceneManager* scenes = SceneManager::instance;
    if (auto* selection = objectCast<SceneSelection>(scenes ? scenes->getScene("SCENE_SELECTION") : nullptr))
        selection->gameEndPending = true;
    SceneTortelune::switchTo({"sceneselection"}, "TRANSITION_DEFAULT", "SCENE_SELECTION");
}
