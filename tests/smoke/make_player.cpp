// Writes a returning player (hints off, the given progress) into the game's
// data folder under $XDG_DATA_HOME, so that an end-to-end run can start from
// a player who has played before. It is a test tool beside the game; the game
// itself has no such switch.
// With "trophies" the player has seen two trophies in the cabinet already.
// With "advanced" the player also has a saved game of the next level, far on:
// the level is played headless by the scripted player through the real game
// objects until one pastry is left to bake, and that moment is written with
// the game's own save code, as quitting in the middle of the level would.
// With a SCORE, the total score is set too; a player of that name who already
// exists then keeps everything else (the run goes on with the same player,
// nearer the next rank).
// Usage: make_player SOURCE_DIR NAME HIGHEST_LEVEL [SCORE] [trophies] [advanced]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <string>

#include "LevelRunner.h"
#include "ScriptedPlayer.h"
#include "framework/core/BasicProperties.h"
#include "framework/core/PropertyStore.h"
#include "framework/core/RefPointer.h"
#include "framework/core/SetupStore.h"
#include "framework/players/PlayerManager.h"
#include "game/board/Grid.h"
#include "game/data/GameData.h"
#include "game/data/RankTable.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/Trophies.h"
#include "game/production/Countertop.h"
#include "game/production/Phase.h"

namespace {

constexpr unsigned kSeed = 2026;

// The pastries on the countertop that are neither finished nor packaged.
int unfinishedPastries(SceneGame* scene)
{
    auto* countertop = dynamic_cast<Countertop*>(scene->getPastryStation());
    if (!countertop)
        return -1;
    int count = 0;
    for (int spot = 0; spot < countertop->getSize(); ++spot) {
        RefPointer<Pastry> pastry = countertop->getPastry(spot);
        count += pastry && !pastry->isPackaged && !pastry->isFinished() ? 1 : 0;
    }
    return count;
}

Grid* gridOf(SceneGame* scene)
{
    GamePieces* pieces = scene->getPhase() ? scene->getPhase()->getPieces() : nullptr;
    return pieces ? dynamic_cast<Grid*>(pieces->board.get()) : nullptr;
}

// The board is at rest and one swap of neighbours makes a run of what the
// last unfinished pastry still needs, so that a player who reads the board
// finds the way on at once.
bool oneSwapServes(SceneGame* scene)
{
    Grid* grid = gridOf(scene);
    auto* countertop = dynamic_cast<Countertop*>(scene->getPastryStation());
    if (!grid || !countertop || !grid->allCellsIdle() || grid->hasMatch())
        return false;
    std::map<std::string, int> needed;
    for (int spot = 0; spot < countertop->getSize(); ++spot) {
        RefPointer<Pastry> pastry = countertop->getPastry(spot);
        if (pastry && !pastry->isPackaged && !pastry->isFinished())
            for (const Pastry::Ingredient& ingredient : pastry->ingredients)
                if (ingredient.amount > 0)
                    needed[ingredient.name] += ingredient.amount;
    }
    if (needed.empty())
        return false;
    bool serves = false;
    ScriptedPlayer::trySwaps(grid, [&](const int (&)[2], const int (&)[2], const std::vector<MatchGroup>& groups) {
        for (const MatchGroup& group : groups)
            for (const MatchedCell& cell : group.cells)
                serves = serves || needed.count(cell.ingredient) > 0;
        return !serves;
    });
    return serves;
}

// Plays career level `index` with the scripted player and keeps in `saved`
// the moment, with every pastry of the order on the countertop, just before
// the move that finished the last one (a swap then serves it). The level is
// played on to its end, which must be a win: the saved moment is one from
// which the level can be won.
bool writeAdvancedLevel(int index, RefPointer<PropertyStore>& saved)
{
    const std::string scratch =
        (std::filesystem::temp_directory_path() / ("make_player_" + std::to_string(std::random_device()()))).string();
    std::filesystem::create_directories(scratch);
    bool written = false;
    {
        LevelRunner runner(scratch, kSeed);
        LevelOutcome outcome;
        if (!runner.isReady() || !runner.startLevel(0, index, outcome) || !runner.runIntro(outcome)) {
            std::fprintf(stderr, "make_player: level %d could not be started: %s\n", index + 1, outcome.stall.c_str());
        } else {
            GameDataState& state = *GameData::instance->state;
            SceneGame* scene = runner.getScene();
            // The last board at rest before the last pastry was finished:
            // from there one move of the scripted player finished it.
            RefPointer<PropertyStore> candidate;
            int candidateStars = -1;
            int savedStars = -1;
            for (int frames = 0; frames < 30 * 60 * 50 && !state.levelOver; ++frames) {
                const bool lastOneOpen = state.order.isEmpty() && unfinishedPastries(scene) == 1;
                if (lastOneOpen && oneSwapServes(scene)) {
                    candidate = new PropertyStore();
                    GameData::instance->saveGame(candidate.get());
                    candidateStars = state.playSessionInfo.starCount;
                }
                runner.playFrame(outcome);
                if (lastOneOpen && unfinishedPastries(scene) == 0 && candidate && savedStars < 0) {
                    saved = candidate;
                    savedStars = candidateStars;
                }
            }
            if (runner.reachResults(outcome) && outcome.won && savedStars >= 0) {
                std::printf("make_player: level %d saved with %d of %d stars; the scripted player ended it with %d\n",
                            index + 1, savedStars, outcome.starsGoal, outcome.stars);
                written = true;
            } else {
                std::fprintf(stderr, "make_player: level %d was not won from a saved moment (%s)\n", index + 1,
                             outcome.stall.c_str());
            }
        }
        if (!runner.getProblems().empty())
            std::fprintf(stderr, "make_player: logged while playing:\n%s", runner.getProblems().c_str());
    }
    std::filesystem::remove_all(scratch);
    return written;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: make_player SOURCE_DIR NAME HIGHEST_LEVEL [SCORE] [trophies] [advanced]\n");
        return 2;
    }
    bool withTrophies = false;
    bool advanced = false;
    int score = -1;
    for (int arg = 4; arg < argc; ++arg) {
        withTrophies = withTrophies || std::strcmp(argv[arg], "trophies") == 0;
        advanced = advanced || std::strcmp(argv[arg], "advanced") == 0;
        if (argv[arg][0] >= '0' && argv[arg][0] <= '9')
            score = std::atoi(argv[arg]);
    }
    std::filesystem::current_path(argv[1]);
    const std::string name = argv[2];
    const int highest = std::atoi(argv[3]);

    RefPointer<PropertyStore> savedLevel;
    if (advanced && !writeAdvancedLevel(highest + 1, savedLevel))
        return 1;

    BasicProperties::createInstance();
    SetupStore::createInstance();
    SetupStore::instance->setLoadListener(new TuningLoader());
    for (const char* file : kGamePropertyFiles)
        SetupStore::instance->addFileName(file);
    bool written = SetupStore::instance->load();
    RankTable::create();
    PlayerManager* players = PlayerManager::create(true, std::string());
    players->loadPlayerList();
    const int index = players->findPlayer(name);
    RefPointer<TortelunePlayer> player;
    if (index >= 0 && score >= 0) {
        player = RefPointer<TortelunePlayer>(dynamic_cast<TortelunePlayer*>(players->getPlayers()[index].get()));
        if (!player) {
            std::fprintf(stderr, "make_player: %s is not a player of this game\n", name.c_str());
            return 1;
        }
        players->loadPlayer(player.get());
    } else {
        player = RefPointer<TortelunePlayer>(new TortelunePlayer(name));
        player->highestLevelReached = highest;
        for (int level = 0; level <= highest; ++level)
            player->levelStars[level] = 1;
        player->showHints = false;
        if (withTrophies) {
            // The first level's trophy and a theme's, both looked at already.
            player->getTrophies()->setState(0, Trophy::Seen);
            player->getTrophies()->setState(12, Trophy::Seen);
        }
        if (advanced) {
            // Trophies of the themes passed on the way, seen; the score of the
            // levels played, with its rank.
            for (int trophy : {12, 13})
                player->getTrophies()->setState(trophy, Trophy::Seen);
            for (int level = 0; level <= highest; ++level) {
                player->levelScore[level] = 4000;
                player->levelStars[level] = 3;
                player->levelTries[level] = 1;
            }
            player->score = 4000 * (highest + 1);
            player->rank = RankTable::getInstance()->getRankForScore(player->score);
            // The arcade opened long ago, and its door with it.
            player->arcadeState[0] = 1;
            player->arcadeUnlocked = true;
        }
        written = written && players->addPlayer(player.get());
    }
    if (score >= 0)
        player->score = score;
    players->selectPlayer(name);
    written = written && players->savePlayer(player.get()) && players->savePlayerList();
    if (written && advanced)
        written = players->saveGameState("LEVEL", name, *savedLevel);
    PlayerManager::destroyInstance();
    RankTable::destroyInstance();
    SetupStore::destroyInstance();
    BasicProperties::destroyInstance();
    if (!written) {
        std::fprintf(stderr, "make_player: the player could not be written\n");
        return 1;
    }
    return 0;
}
