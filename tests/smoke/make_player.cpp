// Writes a returning player (hints off, the given progress) into the game's
// data folder under $XDG_DATA_HOME, so that an end-to-end run can start from
// a player who has played before. With a SCORE, the total score is set too;
// a player of that name who already exists then keeps everything else (the
// run goes on with the same player, nearer the next rank). It is a test tool
// beside the game; the game itself has no such switch.
// Usage: make_player SOURCE_DIR NAME HIGHEST_LEVEL [SCORE]
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "framework/core/BasicProperties.h"
#include "framework/core/RefPointer.h"
#include "framework/core/SetupStore.h"
#include "framework/players/PlayerManager.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: make_player SOURCE_DIR NAME HIGHEST_LEVEL [SCORE]\n");
        return 2;
    }
    std::filesystem::current_path(argv[1]);
    BasicProperties::createInstance();
    SetupStore::createInstance();
    SetupStore::instance->setLoadListener(new TuningLoader());
    for (const char* file : kGamePropertyFiles)
        SetupStore::instance->addFileName(file);
    bool written = SetupStore::instance->load();
    PlayerManager* players = PlayerManager::create(true, std::string());
    players->loadPlayerList();
    const std::string name = argv[2];
    const int highest = std::atoi(argv[3]);
    const int index = players->findPlayer(name);
    RefPointer<TortelunePlayer> player;
    if (index >= 0 && argc > 4) {
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
        written = written && players->addPlayer(player.get());
    }
    if (argc > 4)
        player->score = std::atoi(argv[4]);
    players->selectPlayer(name);
    written = written && players->savePlayer(player.get()) && players->savePlayerList();
    PlayerManager::destroyInstance();
    SetupStore::destroyInstance();
    BasicProperties::destroyInstance();
    if (!written) {
        std::fprintf(stderr, "make_player: the player could not be written\n");
        return 1;
    }
    return 0;
}
