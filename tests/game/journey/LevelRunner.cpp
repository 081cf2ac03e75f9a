#include "LevelRunner.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <thread>

#include "framework/core/BasicProperties.h"
#include "framework/core/Random.h"
#include "framework/core/SetupStore.h"
#include "framework/gui/Dialog.h"
#include "framework/gui/SceneManager.h"
#include "framework/platform/InputHandler.h"
#include "framework/players/PlayerManager.h"
#include "framework/resources/ResourceManager.h"
#include "framework/platform/TimedTaskManager.h"
#include "game/board/BoardKeys.h"
#include "game/board/Grid.h"
#include "game/board/GridController.h"
#include "game/board/GridWrapper.h"
#include "game/data/GameData.h"
#include "game/data/RankTable.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/DialogLevelEnd.h"
#include "game/dialogs/DialogTortelune.h"
#include "game/production/ConveyorView.h"
#include "game/production/Countertop.h"
#include "game/production/PhaseEnd.h"
#include "game/production/PhaseIntro.h"
#include "game/production/PhasePlay.h"
#include "game/scenes/HintManager.h"
#include "support/GameProperties.h"

namespace {

constexpr int kFrameMs = 20;
// Game time a level may take before the runner calls it stalled.
constexpr int kMaxLevelMs = 10 * 60 * 1000;
// Frames a phase that is not play may take (intro, end, results).
constexpr int kMaxStagingFrames = 3000;

template <class PhaseType>
bool phaseIs(SceneGame* scene)
{
    return dynamic_cast<PhaseType*>(scene->getPhase().get()) != nullptr;
}

} // namespace

LevelRunner::LevelRunner(const std::string& saveFolder, unsigned seed)
{
    previousFolder = std::filesystem::current_path();
    std::filesystem::current_path(TORTELUNE_SOURCE_DIR);
    previousObserver = setLogObserver([this](LogLevel level, const std::string& line) {
        if (level == LogLevel::Error || level == LogLevel::Warning)
            problems += line + "\n";
    });
    if (!loadGameProperties())
        return;
    previousRandom = Random::instance;
    random = new Random(seed, 0);
    Random::instance = random.get();
    CRuntimeRandom::global().seed(seed);
    GameData::create();
    RankTable::create();
    HintManager::create();
    PlayerManager::create(false, "1")->setBaseFolder(saveFolder);
    player = new TortelunePlayer("Runner");
    PlayerManager::getInstance()->addPlayer(player);
    TimedTaskManager::create(&clock);
    // The game screen's pictures, fonts and sounds, as the game loads them
    // before the game scene is shown.
    ResourceManager::create();
    ResourceManager::instance->addResourceFile("media/properties/resources.xml");
    if (!ResourceManager::instance->loadResourceFiles())
        return;
    ResourceManager::instance->setLoadingEnabled(true);
    for (const char* section : {"default", "dialogs", "scenegame", "sounds", "tools", "scenearcade"})
        ResourceManager::instance->requestSection(section);
    for (int wait = 0; wait < 3000 && ResourceManager::instance->hasPendingRequests(); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (ResourceManager::instance->hasPendingRequests())
        return;
    scene = new RunnerGameScene(SetupStore::instance->findScene("SCENE_GAME"));
    scriptedPlayer.reset(new ScriptedPlayer(scene.get()));
    scene->loadContent();
    // Loaded once: a first show that found it unloaded would lay a second
    // copy of the layout over the first (and hide the board's tiles).
    scene->setState(Scene::Loaded);
    // The scene manager runs its frames, as in the program: dialogs leave the
    // scene through it when they close. It shows the scene when the first
    // level has been chosen, as the map does.
    SceneManager::create();
    ready = true;
}

LevelRunner::~LevelRunner()
{
    if (scene)
        scene->leavePhase();
    scene = nullptr;
    SceneManager::destroyInstance();
    TimedTaskManager::destroyInstance();
    ResourceManager::destroyInstance();
    PlayerManager::destroyInstance();
    HintManager::destroyInstance();
    RankTable::destroyInstance();
    GameData::destroyInstance();
    Random::instance = previousRandom;
    SetupStore::destroyInstance();
    BasicProperties::destroyInstance();
    resetTuning();
    setLogObserver(previousObserver);
    std::filesystem::current_path(previousFolder);
}

void LevelRunner::answerDialogs()
{
    if (answersCustomer)
        scriptedPlayer->answerCustomer();
}

void LevelRunner::frame()
{
    answerDialogs();
    clock.sleep(kFrameMs);
    SceneManager::instance->run(kFrameMs);
    TimedTaskManager::instance->run(kFrameMs);
}

void LevelRunner::frames(int count)
{
    for (int i = 0; i < count; ++i)
        frame();
}

bool LevelRunner::startLevel(int mode, int index, LevelOutcome& outcome)
{
    outcome = LevelOutcome();
    outcome.levelIndex = index;
    outcome.arcade = mode == 1;
    GameDataState& state = *GameData::instance->state;
    state.mode = mode;
    if (mode == 0)
        player->highestLevelReached = std::max(player->highestLevelReached, index - 1);
    GameData::instance->startLevel(index);
    Level& level = GameData::instance->getCurrentLevel();
    outcome.exam = mode == 0 && GameData::instance->isExamLevel();
    outcome.theme = level.themeName;
    outcome.starsGoal = level.starsGoal;
    scene->timesLeft = 0;
    if (SceneManager::instance->getCurrentScene() != scene.get()) {
        // The scene's show starts the chosen level.
        SceneManager::instance->setNextScene(scene.get());
        SceneManager::instance->run(0);
    } else {
        scene->startLevel();
    }
    return SceneManager::instance->getCurrentScene() == scene.get();
}

bool LevelRunner::runIntro(LevelOutcome& outcome)
{
    for (int frames = 0; frames < kMaxStagingFrames && !phaseIs<PhasePlay>(scene.get()); ++frames)
        frame();
    if (!phaseIs<PhasePlay>(scene.get())) {
        outcome.stall = "the intro never handed over to play";
        return false;
    }
    playMs = 0;
    scriptedPlayer->startLevel();
    return true;
}

void LevelRunner::playFrame(LevelOutcome& outcome, bool serve)
{
    if (serve)
        scriptedPlayer->act(outcome);
    frame();
    playMs += kFrameMs;
    outcome.playMs = playMs;
}

bool LevelRunner::playToEnd(LevelOutcome& outcome, int maxRounds)
{
    GameDataState& state = *GameData::instance->state;
    while (!state.levelOver && playMs < kMaxLevelMs && !scriptedPlayer->hasGivenUp())
        playFrame(outcome, state.playSessionInfo.arcadeLevel < maxRounds);
    outcome.score = state.playSessionInfo.score;
    outcome.stars = state.playSessionInfo.starCount;
    outcome.rounds = state.playSessionInfo.arcadeLevel;
    if (!state.levelOver) {
        outcome.stall = scriptedPlayer->hasGivenUp() ? "the board has no move left and is never mixed anew"
                                               : "the level never ended";
        return false;
    }
    return true;
}

bool LevelRunner::reachResults(LevelOutcome& outcome)
{
    GameDataState& state = *GameData::instance->state;
    for (int frames = 0; frames < kMaxStagingFrames && !phaseIs<PhaseResults>(scene.get()); ++frames)
        frame();
    if (!phaseIs<PhaseResults>(scene.get())) {
        outcome.stall = "the end never reached the results";
        return false;
    }
    outcome.won = PhaseEnd::isLevelWon();
    outcome.score = state.playSessionInfo.score;
    outcome.stars = state.playSessionInfo.starCount;
    outcome.rounds = state.playSessionInfo.arcadeLevel;
    return true;
}

bool LevelRunner::leaveResults(LevelOutcome& outcome)
{
    const char* name = outcome.arcade ? "DIALOG_ARCADE_END" : "DIALOG_LEVEL_END";
    if (auto* results = dynamic_cast<DialogTortelune*>(scene->getDialog(name))) {
        if (auto* levelEnd = dynamic_cast<DialogLevelEnd*>(results))
            levelEnd->result = 1;
        results->setTag(1);
        results->close();
    }
    for (int frames = 0; frames < kMaxStagingFrames && scene->timesLeft == 0; ++frames)
        frame();
    if (scene->timesLeft == 0) {
        outcome.stall = "the results dialog never closed";
        return false;
    }
    outcome.finished = true;
    return true;
}

LevelOutcome LevelRunner::playCareerLevel(int index)
{
    LevelOutcome outcome;
    if (startLevel(0, index, outcome) && runIntro(outcome) && playToEnd(outcome) && reachResults(outcome))
        leaveResults(outcome);
    return outcome;
}

LevelOutcome LevelRunner::playArcadeSet(int set, int maxRounds)
{
    LevelOutcome outcome;
    if (startLevel(1, set, outcome) && runIntro(outcome) && playToEnd(outcome, maxRounds) && reachResults(outcome))
        leaveResults(outcome);
    return outcome;
}
