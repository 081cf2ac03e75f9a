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

    // As many players as the selection offers; more could never be reached.
    static constexpr int kMaxPlayers = 5;
    // Five full profiles take some tens of kilobytes; a larger players file
    // is not read (it would cost memory and time out of all proportion).
    static constexpr size_t kMaxPlayersFileSize = 1 << 20;

    // What the last loadPlayerList() met beyond a whole, readable file.
    struct LoadReport {
        // The players could not all be read back: entries were unreadable,
        // a whole file was lost, or a profile held numbers that had to be
        // replaced. The player is told.
        bool progressLost = false;
        // The players came from the last good copy.
        bool restoredFromLastGood = false;
        // Where damaged files were moved to.
        std::vector<std::string> keptAside;
    };

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
    // without a name (false), whose file-safe name would be empty, and one
    // more than kMaxPlayers.
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

    // A players file that cannot be read whole, is too large, has another
    // version, more players than kMaxPlayers or numbers that had to be
    // replaced is renamed aside first, so that no save can destroy it. The
    // players then come from the last good copy, or else from the entries of
    // the damaged file that can still be read, and are saved again at once.
    void loadPlayerList();
    const LoadReport& getLoadReport() const { return loadReport; }
    // Writes the players file and then its last good copy, each atomically.
    // False when the players file could not be written; the old file then stays.
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
    // The copy of the players file that every save writes beside it.
    std::string getLastGoodFilePath() const;
    std::string getPlayerFilePath(const std::string& playerName) const;
    std::string getSavedGamesFolder(const std::string& playerName) const;
    std::string getSavedGamePath(const std::string& mode, const std::string& playerName) const;
    // The name the file has on disk (".!" behind it when enciphered).
    std::string storedName(const std::string& path) const;

private:
    static PlayerManager* instance;

    int fileMode() const { return encrypted ? 3 : 1; }
    // Moves the file aside and notes where it went.
    void keepAside(const std::string& storedPath);

    LoadReport loadReport;
    // Player entries beyond kMaxPlayers that the last loadFromNode() dropped.
    int droppedOverCap = 0;

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
// overwrites it; true when it was moved (or there was nothing to move). The
// new name goes to `movedTo` when given and the file was moved.
bool moveFileAside(const std::string& storedPath, std::string* movedTo = nullptr);
