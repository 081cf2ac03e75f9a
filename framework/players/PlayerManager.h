#pragma once

#include <cstddef>

#include <set>
#include <string>
#include <vector>

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"
#include "framework/players/AbstractPlayer.h"

class PropertyNode;
class PropertyStore;

// Holds the player profiles, the current player, the players file with every
// profile, optional per-player files and each player's saved games. It never
// interprets a profile: each one writes itself into a node and is rebuilt by
// the class registered under the node's tag.
class PlayerManager : public BaseObject {
    TT_CLASS_RECORD(PlayerManager)
public:
    using PlayerList = std::vector<RefPointer<AbstractPlayer>>;

    // Creates the singleton (one reference held); an empty version takes the
    // property "PLAYERS_VERSION".
    // A saved game is one board and its level's state; a file far larger is
    // not one and is set aside unread.
    static constexpr size_t kMaxSavedGameFileSize = size_t(4) << 20;

    static PlayerManager* create(bool encrypted, const std::string& version);
    static PlayerManager* getInstance() { return instance; }
    static void destroyInstance();

    PlayerManager(bool encrypted, const std::string& version);

    // Appends the player; the first one becomes current. Refuses a player
    // without a name (false), whose file-safe name would be empty.
    bool addPlayer(AbstractPlayer* player);
    // Deletes the player's saved games and player file, drops it and saves
    // the list. Refuses an empty name, which would name every player's folder.
    bool deletePlayer(const std::string& name);
    bool playerExists(const std::string& name) const;
    // The index in the list, or -1.
    int findPlayer(const std::string& name) const;
    // Saves and deselects the current player and loads the named one; an
    // unlisted name changes nothing.
    void selectPlayer(const std::string& name);
    AbstractPlayer* getCurrentPlayer() const { return currentPlayer; }
    const PlayerList& getPlayers() const { return players; }

    // A players file that cannot be read or has another version is renamed
    // aside first, so that the next save cannot destroy it.
    void loadPlayerList();
    // False when the file could not be written; the old file then stays.
    bool savePlayerList();
    void loadPlayer(AbstractPlayer* player);
    bool savePlayer(AbstractPlayer* player);

    bool loadGameState(const std::string& mode, const std::string& playerName, PropertyStore& store);
    bool saveGameState(const std::string& mode, const std::string& playerName, PropertyStore& store);
    bool savedGameExists(const std::string& mode, const std::string& playerName) const;
    // Removes the saved game; one that cannot be removed counts as absent.
    void deleteSavedGame(const std::string& mode, const std::string& playerName);

    virtual void loadFromNode(PropertyNode* node);
    virtual void saveToNode(PropertyNode* node);

    const std::string& getVersion() const { return version; }
    bool isEncrypted() const { return encrypted; }
    // The folder the players and saved-games folders lie in (the game folder
    // unless set, e.g. by tests).
    void setBaseFolder(const std::string& folder) { baseFolder = folder; }
    std::string getBaseFolder() const;

    std::string getPlayersFilePath() const;
    std::string getPlayerFilePath(const std::string& playerName) const;
    std::string getSavedGamesFolder(const std::string& playerName) const;
    std::string getSavedGamePath(const std::string& mode, const std::string& playerName) const;
    // The name the file has on disk (".!" behind it when enciphered).
    std::string storedName(const std::string& path) const;

private:
    static PlayerManager* instance;

    int fileMode() const { return encrypted ? 3 : 1; }

    PlayerList players;
    std::string version;
    std::string playersFolder = "players";
    std::string saveGamesFolder = "savegames";
    AbstractPlayer* currentPlayer = nullptr;
    bool encrypted = false;
    std::string baseFolder;
    // Saved games deleted while their folder refused it (stored names).
    std::set<std::string> discardedSavedGames;
};

// Renames an unusable saved file to "<name>.bak-<time>" so that nothing
// overwrites it; true when it was moved (or there was nothing to move).
bool moveFileAside(const std::string& storedPath);
