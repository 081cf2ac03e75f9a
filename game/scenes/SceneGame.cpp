#include "framework/core/ObjectFactoryContainer.h"
#include "game/scenes/SceneGame.h"

#include "framework/core/Log.h"
#include "framework/players/PlayerManager.h"
#include "framework/resources/ResourceManager.h"
#include "framework/sound/SoundManager.h"
#include "framework/sound/SoundStream.h"
#include "framework/scenegraph/Modifier.h"
#include "game/board/GameBoard.h"
#include "game/data/GameData.h"
#include "game/dialogs/DialogTortelune.h"
#include "game/dialogs/TrophyWatcher.h"
#include "game/production/Phase.h"
#include "game/production/PhaseIntro.h"
#include "game/production/PhasePlay.h"

TT_DEFINE_RECORD(SceneGame, &SceneTortelune::classRecord);
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
    if (pauseRequested && !paused) {
        pauseRequested = false;
        if (phaseContainer)
            phaseContainer->setPaused(true);
        if (phase)
            phase->pause();
        paused = true;
    }
    // Paused for trophies: the watcher takes the request once it is free.
    if (paused && !trophiesRequested && trophyPending() && TrophyWatcher::instance &&
        TrophyWatcher::instance->requestAnnouncement(
            TrophyWatcher::KindGameScene, GuiMethod::bind<SceneGame, &SceneGame::onTrophiesAnnounced>(this)))
        trophiesRequested = true;
    if (resumeRequested) {
        resumeRequested = false;
        const bool blocked = isDialogShown("DIALOG_TROPHYAWARDED") || isDialogShown("DIALOG_TROPHYSCREEN") ||
                             isDialogShown("DIALOG_PAUSE") || isDialogShown("DIALOG_MENU");
        if (paused && !blocked) {
            paused = false;
            if (phaseContainer)
                phaseContainer->setPaused(false);
            if (phase)
                phase->resume();
        } else if (paused) {
            resumeRequested = true;
        }
    }
    if (phase) {
        RefPointer<Phase> current = phase;
        current->update(deltaMs);
    }
}

bool SceneGame::trophyPending() const
{
    return TrophyWatcher::instance && TrophyWatcher::instance->countTrophiesOfKind(TrophyWatcher::KindGameScene) > 0;
}

int SceneGame::onTrophiesAnnounced(BaseObject* /*watcher*/)
{
    trophiesRequested = false;
    requestResume();
    return 0;
}

void SceneGame::hide()
{
    if (phase) {
        saveOnLeave = false;
        setPhase(RefPointer<Phase>(new PhaseIdle()), true);
    }
    // The menu and its stop question (answered by leaving) must not greet the next level.
    for (const char* name : {"CTEXT_MENU_STOP", "DIALOG_MENU", "DIALOG_HINT"})
        if (Dialog* dialog = getDialog(name))
            forgetDialog(dialog);
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
    SoundManager::instance->playMusic(1000, 0.7f, 100, music.get(), 600, 0x132);
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

void SceneGame::saveRunningGame() {}

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
    return 0;
}

int SceneGame::leaveFromMenu(void* context, BaseObject* /*button*/)
{
    auto* scene = static_cast<SceneGame*>(context);
    if (scene->saveOnLeave)
        scene->saveRunningGame();
    scene->leaveGame();
    return 0;
}

int SceneGame::onResumeRequested(void* context, BaseObject* /*dialog*/)
{
    static_cast<SceneGame*>(context)->requestResume();
    return 0;
}
