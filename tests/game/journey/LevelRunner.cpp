#include "LevelRunner.h"

#include <chrono>
#include <map>
#include <thread>

#include "framework/core/BasicProperties.h"
#include "framework/core/Random.h"
#include "framework/core/SetupStore.h"
#include "framework/gui/Dialog.h"
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
#include "game/dialogs/DialogTortelune.h"
#include "game/production/Countertop.h"
#include "game/production/PhaseEnd.h"
#include "game/production/PhaseIntro.h"
#include "game/production/PhasePlay.h"
#include "game/scenes/HintManager.h"

namespace {

constexpr int kFrameMs = 20;
// A player's pause between two actions.
constexpr int kReactionMs = 300;
// Game time a level may take before the runner calls it stalled.
constexpr int kMaxLevelMs = 10 * 60 * 1000;
// Game time an idle board may offer no move before the runner gives up.
constexpr int kMaxStuckMs = 20 * 1000;
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
    BasicProperties::createInstance();
    SetupStore::createInstance();
    resetTuning();
    SetupStore::instance->setLoadListener(new TuningLoader());
    for (const char* file : kGamePropertyFiles)
        SetupStore::instance->addFileName(file);
    if (!SetupStore::instance->load())
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
    for (const char* section : {"default", "dialogs", "scenegame", "sounds", "tools"})
        ResourceManager::instance->requestSection(section);
    for (int wait = 0; wait < 3000 && ResourceManager::instance->hasPendingRequests(); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (ResourceManager::instance->hasPendingRequests())
        return;
    scene = new RunnerGameScene(SetupStore::instance->findScene("SCENE_GAME"));
    scene->loadContent();
    // Shown as the scene manager shows it: from then on it takes input.
    scene->show();
    ready = true;
}

LevelRunner::~LevelRunner()
{
    if (scene)
        scene->leavePhase();
    scene = nullptr;
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
    // The customer's hint bubble takes a click once its OK button shows.
    Dialog* hint = scene->getDialog("DIALOG_CUSTOMERHINT");
    GameNode* ok = hint && scene->isDialogShown("DIALOG_CUSTOMERHINT") ? hint->getComponent("BUTTON_OK") : nullptr;
    if (ok && ok->isVisible())
        click(hint->getX() + hint->getWidth() / 2, hint->getY() + hint->getHeight() / 2);
}

void LevelRunner::frame()
{
    answerDialogs();
    clock.sleep(kFrameMs);
    scene->update(kFrameMs);
    scene->getMoveTask()->run(kFrameMs);
    scene->getPurgeTask()->run(kFrameMs);
    TimedTaskManager::instance->run(kFrameMs);
}

void LevelRunner::click(int x, int y)
{
    // The scene's input handler is where the window's clicks arrive.
    scene->getInputHandler()->onLeftDown(x, y, 1, false);
    scene->getInputHandler()->onLeftUp(x, y, 0);
}

void LevelRunner::pressCell(Grid* grid, int column, int row)
{
    const BoardKeys& keys = boardKeys();
    // The middle of the cell as the board maps points to cells (tiles stand
    // on the bottom of their cell, one row above the node's top).
    const int x = grid->getGridNode()->getX() + column * keys.cellWidth + keys.cellWidth / 2;
    const int y = grid->getGridNode()->getY() + (row - 1) * keys.cellHeight + keys.cellHeight / 2;
    click(x, y);
}

bool LevelRunner::packageIfReady(Countertop* countertop)
{
    if (!countertop || !countertop->hasFinishedPastry())
        return false;
    const TuningTable& t = tuning();
    click((t.COUNTERTOP_LEFT + t.COUNTERTOP_RIGHT) / 2, (t.COUNTERTOP_TOP + t.COUNTERTOP_BOTTOM) / 2);
    return true;
}

bool LevelRunner::swapBestPair(Grid* grid, Countertop* countertop)
{
    // What the unfinished pastries on the countertop still need.
    std::map<std::string, int> needed;
    for (int spot = 0; countertop && spot < countertop->getSize(); ++spot) {
        RefPointer<Pastry> pastry = countertop->getPastry(spot);
        if (!pastry || pastry->isFinished())
            continue;
        for (const Pastry::Ingredient& ingredient : pastry->ingredients)
            needed[ingredient.name] += ingredient.amount;
    }
    const BoardKeys& keys = boardKeys();
    GridWrapper* cells = grid->getCells();
    int bestValue = -1;
    int best[4] = {};
    for (int column = 0; column < keys.gridWidth; ++column) {
        for (int row = 0; row < keys.gridHeight; ++row) {
            const int neighbours[2][2] = {{column + 1, row}, {column, row + 1}};
            for (const auto& to : neighbours) {
                if (!grid->isValidSwap(column, row, to[0], to[1]))
                    continue;
                // Tries the swap on the model and puts it back.
                cells->exchangeCells(column, row, to[0], to[1]);
                std::vector<MatchGroup> groups = grid->findMatches();
                cells->exchangeCells(column, row, to[0], to[1]);
                std::map<std::string, int> stillNeeded = needed;
                int value = 0;
                for (const MatchGroup& group : groups) {
                    for (const MatchedCell& cell : group.cells) {
                        int& need = stillNeeded[cell.ingredient];
                        value += need > 0 ? 10 : 1;
                        need = need > 0 ? need - 1 : 0;
                    }
                    if (group.cells.size() > 3)
                        value += 5 * static_cast<int>(group.cells.size() - 3);
                }
                if (value > bestValue) {
                    bestValue = value;
                    best[0] = column;
                    best[1] = row;
                    best[2] = to[0];
                    best[3] = to[1];
                }
            }
        }
    }
    if (bestValue < 0)
        return false;
    pressCell(grid, best[0], best[1]);
    pressCell(grid, best[2], best[3]);
    return true;
}

bool LevelRunner::fireABonus(Grid* grid)
{
    const BoardKeys& keys = boardKeys();
    for (int column = 0; column < keys.gridWidth; ++column) {
        for (int row = 0; row < keys.gridHeight; ++row) {
            if (grid->isBonusAt(column, row)) {
                pressCell(grid, column, row);
                return true;
            }
        }
    }
    return false;
}

void LevelRunner::actAsPlayer(LevelOutcome& outcome)
{
    reactionMs -= kFrameMs;
    if (reactionMs > 0 || scene->isPaused())
        return;
    GamePieces* pieces = scene->getPhase() ? scene->getPhase()->getPieces() : nullptr;
    auto* countertop = dynamic_cast<Countertop*>(scene->getPastryStation());
    if (packageIfReady(countertop)) {
        ++outcome.packagings;
        reactionMs = kReactionMs;
        return;
    }
    auto* grid = pieces ? dynamic_cast<Grid*>(pieces->board.get()) : nullptr;
    if (!grid || !grid->getController() || !grid->getController()->acceptsInput() || !grid->allCellsIdle() ||
        grid->hasMatch() || grid->hasFallingGap())
        return;
    if (swapBestPair(grid, countertop) || fireABonus(grid)) {
        ++outcome.moves;
        reactionMs = kReactionMs;
        stuckMs = 0;
    } else {
        stuckMs += kFrameMs;
        outcome.boardOutOfMoves = stuckMs >= kMaxStuckMs;
        outcome.boardKnewItWasStuck = grid->isBoardStuck();
    }
}

LevelOutcome LevelRunner::playCareerLevel(int index)
{
    LevelOutcome outcome;
    outcome.levelIndex = index;
    GameDataState& state = *GameData::instance->state;
    state.mode = 0;
    player->highestLevelReached = index - 1;
    GameData::instance->startLevel(index);
    Level& level = GameData::instance->getCurrentLevel();
    outcome.theme = level.themeName;
    outcome.starsGoal = level.starsGoal;
    scene->startLevel();

    int frames = 0;
    for (; frames < kMaxStagingFrames && !phaseIs<PhasePlay>(scene.get()); ++frames)
        frame();
    if (!phaseIs<PhasePlay>(scene.get())) {
        outcome.stall = "the intro never handed over to play";
        return outcome;
    }
    int playMs = 0;
    stuckMs = 0;
    while (!state.levelOver && playMs < kMaxLevelMs && stuckMs < kMaxStuckMs) {
        actAsPlayer(outcome);
        frame();
        playMs += kFrameMs;
    }
    outcome.playMs = playMs;
    outcome.score = state.playSessionInfo.score;
    outcome.stars = state.playSessionInfo.starCount;
    if (!state.levelOver) {
        outcome.stall = stuckMs >= kMaxStuckMs ? "the board has no move left and is never mixed anew"
                                               : "the level never ended";
        return outcome;
    }
    for (frames = 0; frames < kMaxStagingFrames && !phaseIs<PhaseResults>(scene.get()); ++frames)
        frame();
    if (!phaseIs<PhaseResults>(scene.get())) {
        outcome.stall = "the end never reached the results";
        return outcome;
    }
    outcome.won = PhaseEnd::isLevelWon();
    outcome.score = state.playSessionInfo.score;
    outcome.stars = state.playSessionInfo.starCount;

    // The results dialog is answered "next" (1): the level is left.
    if (auto* results = dynamic_cast<DialogTortelune*>(scene->getDialog("DIALOG_LEVEL_END"))) {
        results->setTag(1);
        results->close();
    }
    for (frames = 0; frames < kMaxStagingFrames && scene->timesLeft == 0; ++frames)
        frame();
    if (scene->timesLeft == 0) {
        outcome.stall = "the results dialog never closed";
        return outcome;
    }
    outcome.finished = true;
    return outcome;
}

