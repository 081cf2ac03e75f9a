#include "framework/core/ObjectFactoryContainer.h"
#include "game/scenes/SceneGame.h"

#include "game/dialogs/DialogYesNo.h"

#include "framework/core/Log.h"
#include "framework/core/PropertyStore.h"
#include "framework/gui/Button.h"
#include "framework/gui/SceneManager.h"
#include "framework/gui/TransitionScene.h"
#include "host/WindowMessages.h"
#include "framework/platform/GameWindow.h"
#include "framework/players/PlayerManager.h"
#include "framework/resources/ResourceManager.h"
#include "framework/sound/SoundManager.h"
#include "framework/sound/SoundStream.h"
#include "framework/scenegraph/Modifier.h"
#include "game/board/GameBoard.h"
#include "game/data/GameData.h"
#include "game/dialogs/DialogTortelune.h"
#include "game/dialogs/TrophyWatcher.h"
#include "game/data/TuningTable.h"
#include "game/production/Phase.h"
#include "game/production/PhaseIntro.h"
#include "game/production/PhasePlay.h"

TT_DEFINE_RECORD(SceneGame, &SceneTortelune::classRecord);

const char* const SceneGame::kLayerNames[17] = {
    "NODE_FLOATERSTARS", "NODE_FLOATERBONUS", "NODE_FLOATERCOUNTER", "NODE_FLOATER", "NODE_TOOLS",  "NODE_TOOLJARS",
    "NODE_HEARTS",       "NODE_HOVER",        "NODE_PLATES",         "NODE_FLOATERGOAL", "NODE_GRIDPOPUPS", "NODE_GRIDZAP",
    "NODE_SHIFT0",       "NODE_SHIFT1",       "NODE_SHIFT2",         "NODE_SHIFT3",  "NODE_TWINKLES"};
TT_REGISTER_CLASS(SceneGame);

namespace {

SceneGame* gameScene = nullptr;

} // namespace

SceneGame::SceneGame(AbstractProperty* configuration) : SceneTortelune(configuration)
{
    gameScene = this;
}

SceneGame::~SceneGame()
{
    if (phase)
        phase->leave();
    phase = nullptr;
    if (gameScene == this)
        gameScene = nullptr;
}

SceneGame* SceneGame::getInstance()
{
    return gameScene;
}

void SceneGame::setPhase(RefPointer<Phase> next, bool resetContainer)
{
    if (phase)
        phase->leave();
    if (resetContainer && phaseContainer) {
        phaseContainer->finish();
        phaseContainer->kill();
        phaseContainer = nullptr;
    }
    if (!phaseContainer) {
        phaseContainer = new ModifierContainer();
        Modifier::addChild(getAnimTree(), phaseContainer.get());
    }
    RefPointer<Phase> old = phase;
    phase = next;
    old = nullptr;
    if (phase)
        phase->enter();
}

RefPointer<Phase> SceneGame::getPhase() const
{
    return phase;
}

ModifierContainer* SceneGame::getPhaseContainer() const
{
    return phaseContainer.get();
}

namespace {

GamePieces* piecesOf(Phase* phase)
{
    return phase ? phase->getPieces() : nullptr;
}

} // namespace

PastryStation* SceneGame::getPastryStation() const
{
    GamePieces* pieces = piecesOf(phase.get());
    return pieces ? pieces->station.get() : nullptr;
}

ToolSlots* SceneGame::getToolSlots() const
{
    GamePieces* pieces = piecesOf(phase.get());
    return pieces ? pieces->toolSlots.get() : nullptr;
}

CustomerView* SceneGame::getCustomerView() const
{
    GamePieces* pieces = piecesOf(phase.get());
    return pieces ? pieces->customerView.get() : nullptr;
}

GoalPanel* SceneGame::getGoalPanel() const
{
    GamePieces* pieces = piecesOf(phase.get());
    return pieces ? pieces->goalPanel.get() : nullptr;
}

void SceneGame::startLevel()
{
    GameDataState* state = GameData::instance ? GameData::instance->state : nullptr;
    if (!state || (state->mode != 0 && state->mode != 1))
        return;
    state->playSessionInfo.startTime = PlaySessionInfo::currentCalendarTime();
    const bool career = state->mode == 0 && !GameData::instance->isExamLevel();
    setPhase(RefPointer<Phase>(new PhaseIntro(PhaseIntro::levelStartFlags(career))), true);
}

void SceneGame::resumeLevel()
{
    setPhase(RefPointer<Phase>(new PhasePlay()), true);
}

void SceneGame::update(int deltaMs)
{
    SceneTortelune::update(deltaMs);
    // Trophies go first: a trophy request with the watcher busy stays for a
    // later frame, one with nothing waiting is dropped, and only a request the
    // watcher took pauses the level (its completion resumes it).
    bool trophiesNow = false;
    if (trophiesRequested && !paused) {
        if (!trophyPending()) {
            trophiesRequested = false;
        } else if (handTrophiesToWatcher()) {
            trophiesNow = true;
        }
    }
    const bool keepTrophies = trophiesRequested && !trophiesNow && !paused;
    if (trophiesNow || pauseRequested || menuRequested || holdRequested) {
        if (!paused) {
            if (phaseContainer)
                phaseContainer->setPaused(true);
            if (phase)
                phase->pause();
            bool opened = true;
            if (!trophiesNow) {
                if (pauseRequested)
                    opened = openPauseDialog("DIALOG_PAUSE");
                else if (menuRequested)
                    opened = openPauseDialog("DIALOG_MENU");
            }
            paused = true;
            // A resume asked in the same frame as a pause is dropped; without
            // its dialog nothing would ever resume the level, so it goes on.
            resumeRequested = !opened;
        } else {
            resumeRequested = false;
        }
    }
    trophiesRequested = keepTrophies;
    pauseRequested = false;
    menuRequested = false;
    holdRequested = false;
    if (paused && resumeRequested) {
        const bool blocked = isDialogShown("DIALOG_TROPHYAWARDED") || isDialogShown("DIALOG_TROPHYSCREEN") ||
                             isDialogShown("DIALOG_PAUSE") || isDialogShown("DIALOG_MENU");
        if (!blocked) {
            paused = false;
            resumeRequested = false;
            if (phaseContainer)
                phaseContainer->setPaused(false);
            if (phase)
                phase->resume();
        }
    } else if (!paused) {
        resumeRequested = false;
    }
    if (phase) {
        RefPointer<Phase> current = phase;
        current->update(deltaMs);
    }
}

bool SceneGame::openPauseDialog(const char* name)
{
    Dialog* dialog = getOrCreateDialog(std::string(), name);
    if (!dialog) {
        LOG_WARNING(std::string("game scene: no dialog \"") + name + "\"; playing on");
        return false;
    }
    if (auto* game = objectCast<DialogTortelune>(dialog)) {
        if (!game->closeCallback.isBound())
            game->closeCallback = GuiMethod(this, &SceneGame::onResumeRequested);
    }
    showDialog(dialog);
    return true;
}

int SceneGame::onResumeRequested(void* context, BaseObject* /*argument*/)
{
    static_cast<SceneGame*>(context)->requestResume();
    return 0;
}

bool SceneGame::trophyPending() const
{
    TrophyWatcher* watcher = TrophyWatcher::instance;
    return watcher && watcher->countTrophiesOfKind(TrophyWatcher::KindGameScene) > 0;
}

bool SceneGame::handTrophiesToWatcher()
{
    TrophyWatcher* watcher = TrophyWatcher::instance;
    return watcher && watcher->requestAnnouncement(TrophyWatcher::KindGameScene,
                                                   GuiMethod(this, &SceneGame::onResumeRequested));
}

void SceneGame::loadContent()
{
    SceneTortelune::loadContent();
    pauseButton = objectCast<Button>(bindComponent("BUTTON_PAUSE", GuiMethod(this, &SceneGame::onPausePressed)));
    menuButton = objectCast<Button>(bindComponent("BUTTON_MENU", GuiMethod(this, &SceneGame::onMenuPressed)));
}

int SceneGame::onPausePressed(void* context, BaseObject* /*button*/)
{
    static_cast<SceneGame*>(context)->pauseRequested = true;
    return 0;
}

int SceneGame::onMenuPressed(void* context, BaseObject* /*button*/)
{
    static_cast<SceneGame*>(context)->menuRequested = true;
    return 0;
}

void SceneGame::show()
{
    SceneTortelune::show();
    playGameMusic();
    if (GameWindow::instance && GameWindow::instance->getMessageHandler())
        GameWindow::instance->getMessageHandler()->addListener(this);
    paused = false;
    saveOnLeave = false;
    applyBackground();
    GameDataState* state = GameData::instance ? GameData::instance->state : nullptr;
    if (resumeSavedGame && state) {
        state->playSessionInfo.resumeTime = PlaySessionInfo::currentCalendarTime();
        resumeLevel();
    } else {
        startLevel();
    }
    resumeSavedGame = false;
}

void SceneGame::applyBackground()
{
    if (!ResourceManager::instance || !GameData::instance || !GameData::instance->state)
        return;
    const char* key = "GAME_BACKGROUND";
    const char* section = "scenegame";
    if (GameData::instance->isExamLevel()) {
        key = "EXAM_BACKGROUND";
    } else if (GameData::instance->state->mode == 1) {
        key = "ARCADE_BACKGROUND";
        section = "scenearcade";
    }
    RefPointer<Image> picture;
    {
        ResourceLock lock;
        picture = ResourceManager::instance->getResourceAs<Image>(key, section);
    }
    if (!picture) {
        LOG_WARNING(std::string("game scene: no background \"") + key + "\"");
        return;
    }
    if (picture.get() != getFrameImage())
        setBackground(picture.get());
}

void SceneGame::onMessage(uint32_t message, uint32_t /*wParam*/, uint32_t /*lParam*/)
{
    if (message == WM_KILLFOCUS && pauseButton && pauseButton->isEnabled())
        pauseRequested = true;
}

void SceneGame::quit()
{
    holdRequested = true;
    SceneTortelune::quit();
}

void SceneGame::createLayers()
{
    for (const char* name : kLayerNames) {
        GameNode* layer = getComponent(name);
        if (!layer)
            continue;
        // Unlinking hands the layer's reference to us.
        while (GameNode* child = layer->getFirstChild()) {
            GameNode::removeFromParent(child);
            child->release();
        }
    }
}

void SceneGame::hide()
{
    createLayers();
    saveOnLeave = false;
    setPhase(RefPointer<Phase>(new PhaseIdle()), true);
    for (const char* name : {"CTEXT_MENU_STOP", "CTEXT_SAVE_FAILED", "DIALOG_MENU", "DIALOG_HINT"})
        if (Dialog* dialog = getDialog(name))
            forgetDialog(dialog);
    if (GameWindow::instance && GameWindow::instance->getMessageHandler())
        GameWindow::instance->getMessageHandler()->removeListener(this);
    paused = false;
    trophiesRequested = pauseRequested = menuRequested = holdRequested = resumeRequested = false;
    SceneTortelune::hide();
}

RefPointer<GameBoard> SceneGame::createBoard(GameNode* gridNode)
{
    return GameBoard::create(gridNode);
}

void SceneGame::leaveGame()
{
    saveOnLeave = false;
    const bool arcade = GameData::instance && GameData::instance->state && GameData::instance->state->mode == 1;
    if (arcade)
        switchTo({"scenearcade"}, "TRANSITION_DEFAULT", "SCENE_ARCADE");
    else
        switchTo({"scenemap"}, "TRANSITION_DEFAULT", "SCENE_MAP");
    // The map's own entry enables its input; the arcade's comes with the transition.
    if (SceneManager::instance && SceneManager::instance->getTransition())
        SceneManager::instance->getTransition()->setEnableTargetInput(arcade);
    // The level's effects end with it; the music plays on into the next scene.
    if (SoundManager::isSoundOn())
        SoundManager::instance->stopEffects();
}

void SceneGame::playGameMusic()
{
    if (!SoundManager::isSoundOn() || !ResourceManager::instance || !GameData::instance)
        return;
    const bool belt = GameData::instance->state->mode == 1 || GameData::instance->isExamLevel();
    const std::string key = belt ? "MUSIC_GAMEARCADE" : "MUSIC_GAME";
    RefPointer<SoundStream> music;
    {
        ResourceLock lock;
        music = ResourceManager::instance->getResourceAs<SoundStream>(key, "music");
    }
    if (!music) {
        LOG_WARNING("game scene: no music \"" + key + "\"");
        return;
    }
    SoundManager::instance->playMusic(1000, 0.7f, 100, music.get(), tuning().SOUND_FADEINDELAY_GAME, 0x132);
}

void SceneGame::deleteSavedGames(bool level, bool arcade)
{
    PlayerManager* players = PlayerManager::getInstance();
    AbstractPlayer* player = players ? players->getCurrentPlayer() : nullptr;
    if (!player)
        return;
    if (level)
        players->deleteSavedGame("LEVEL", player->getName());
    if (arcade)
        players->deleteSavedGame("ARCADE", player->getName());
}

bool SceneGame::saveRunningGame()
{
    PlayerManager* players = PlayerManager::getInstance();
    AbstractPlayer* player = players ? players->getCurrentPlayer() : nullptr;
    if (!player || !GameData::instance || !GameData::instance->state)
        return true;
    RefPointer<PropertyStore> store(new PropertyStore());
    GameData::instance->saveGame(store.get());
    const char* kind = GameData::instance->state->mode == 1 ? "ARCADE" : "LEVEL";
    if (players->saveGameState(kind, player->getName(), *store))
        return true;
    LOG_WARNING(std::string("game scene: the saved game \"") + kind + "\" could not be written");
    // What is on disk is an older game: offering it later would go back in time.
    players->deleteSavedGame(kind, player->getName());
    return false;
}

void SceneGame::leavePhase()
{
    if (phase)
        phase->leave();
    phase = nullptr;
}

int SceneGame::resumeAfterQuitQuestion(void* context, BaseObject* /*button*/)
{
    auto* scene = static_cast<SceneGame*>(context);
    if (auto* question = objectCast<DialogTortelune>(scene->getDialog("CTEXT_QUESTION_QUIT")))
        question->close();
    ++scene->quitDeclined;
    scene->requestResume();
    return 0;
}

int SceneGame::leaveFromMenu(void* context, BaseObject* /*button*/)
{
    auto* scene = static_cast<SceneGame*>(context);
    if (!scene->saveOnLeave || scene->saveRunningGame()) {
        scene->leaveGame();
        return 0;
    }
    // The player was told the level would be kept: say that it was not, and
    // let them play on rather than lose it unasked. "No" leaves the menu open.
    if (auto* stop = objectCast<DialogTortelune>(scene->getDialog("CTEXT_MENU_STOP")))
        stop->close();
    if (DialogYesNo* question = DialogYesNo::ask("CTEXT_SAVE_FAILED", "CTEXT_SAVE_FAILED_HEADER", scene,
                                                 &SceneGame::leaveUnsaved, nullptr, nullptr, scene)) {
        scene->showDialog(question);
        return 0;
    }
    scene->leaveGame();
    return 0;
}

int SceneGame::leaveUnsaved(void* context, BaseObject* /*button*/)
{
    static_cast<SceneGame*>(context)->leaveGame();
    return 0;
}

