#include "framework/players/PlayerManager.h"

#include <ctime>

#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyStore.h"
#include "framework/core/PropertyValue.h"
#include "framework/platform/DataFolders.h"
#include "framework/platform/FileNames.h"
#include "framework/players/PlayersFileReader.h"
#include "framework/players/PropertyAccess.h"
#include "framework/resources/FileModes.h"
#include "host/AtomicFile.h"
#include "host/Folders.h"

TT_DEFINE_RECORD(PlayerManager, &BaseObject::classRecord);

PlayerManager* PlayerManager::instance = nullptr;

PlayerManager* PlayerManager::create(bool encrypted, const std::string& version)
{
    destroyInstance();
    return holdGlobalInstance(instance, new PlayerManager(encrypted, version));
}

void PlayerManager::destroyInstance()
{
    releaseGlobalInstance(instance);
}

PlayerManager::PlayerManager(bool encrypted, const std::string& versionIn)
    : version(versionIn.empty() ? basicString("PLAYERS_VERSION") : versionIn), encrypted(encrypted)
{
}

bool PlayerManager::addPlayer(AbstractPlayer* player)
{
    // Held from here on, so that a refused new player is released, not leaked.
    RefPointer<AbstractPlayer> held(player);
    if (!player || fileSafeName(player->getName()).empty()) {
        LOG_WARNING("A player without a name was not added");
        return false;
    }
    if (players.size() >= static_cast<size_t>(kMaxPlayers)) {
        LOG_WARNING("Player " + player->getName() + " was not added: there are already " +
                    std::to_string(kMaxPlayers));
        return false;
    }
    players.emplace_back(player);
    if (players.size() == 1)
        currentPlayer = player;
    return true;
}

bool PlayerManager::deletePlayer(const std::string& name)
{
    if (fileSafeName(name).empty()) {
        LOG_WARNING("Refused to delete a player without a name");
        return false;
    }
    const int index = findPlayer(name);
    if (index >= 0 && players[index].get() == currentPlayer) {
        currentPlayer->onDeselected();
        currentPlayer = nullptr;
    }
    deleteDirectoryTree(getSavedGamesFolder(name));
    removeFile(storedName(getPlayerFilePath(name)));
    if (index >= 0)
        players.erase(players.begin() + index);
    return savePlayerList();
}

bool PlayerManager::playerExists(const std::string& name) const
{
    return findPlayer(name) >= 0;
}

int PlayerManager::findPlayer(const std::string& name) const
{
    const std::string wanted = fileSafeName(name);
    for (size_t i = 0; i < players.size(); ++i) {
        if (fileSafeName(players[i]->getName()) == wanted)
            return static_cast<int>(i);
    }
    return -1;
}

void PlayerManager::selectPlayer(const std::string& name)
{
    const int index = findPlayer(name);
    if (index < 0)
        return;
    if (currentPlayer) {
        savePlayer(currentPlayer);
        currentPlayer->onDeselected();
    }
    currentPlayer = players[index].get();
    loadPlayer(currentPlayer);
}

std::string PlayerManager::getBaseFolder() const
{
    return baseFolder.empty() ? getGameFolder() : baseFolder;
}

std::string PlayerManager::getPlayersFilePath() const
{
    const std::string folder = getBaseFolder() + "/" + playersFolder;
    createDirectoryTree(folder);
    return folder + "/players.plrs";
}

std::string PlayerManager::getLastGoodFilePath() const
{
    const std::string folder = getBaseFolder() + "/" + playersFolder;
    createDirectoryTree(folder);
    return folder + "/players-last-good.plrs";
}

std::string PlayerManager::getPlayerFilePath(const std::string& playerName) const
{
    const std::string folder = getBaseFolder() + "/" + playersFolder;
    createDirectoryTree(folder);
    return folder + "/" + fileSafeName(playerName) + ".plr";
}

std::string PlayerManager::getSavedGamesFolder(const std::string& playerName) const
{
    return getBaseFolder() + "/" + saveGamesFolder + "/" + fileSafeName(playerName);
}

std::string PlayerManager::getSavedGamePath(const std::string& mode, const std::string& playerName) const
{
    const std::string folder = getSavedGamesFolder(playerName);
    createDirectoryTree(folder);
    return folder + "/" + mode + ".sav";
}

std::string PlayerManager::storedName(const std::string& path) const
{
    return storedFileName(path, fileMode());
}

void PlayerManager::keepAside(const std::string& storedPath)
{
    std::string target;
    if (moveFileAside(storedPath, &target) && !target.empty())
        loadReport.keptAside.push_back(target);
}

void PlayerManager::loadPlayerList()
{
    loadReport = LoadReport();
    using Outcome = PlayersFileReading::Outcome;
    const std::string mainPath = storedName(getPlayersFilePath());
    const std::string copyPath = storedName(getLastGoodFilePath());
    PlayersFileReading reading = readPlayersFile(mainPath, fileMode(), version, kMaxPlayersFileSize);
    std::string source = mainPath;
    if (reading.outcome != Outcome::Whole) {
        if (reading.outcome != Outcome::Missing) {
            LOG_ERROR("Players file " + mainPath + " cannot be read whole (" + reading.reason +
                      "); it is kept aside");
            keepAside(mainPath);
        }
        PlayersFileReading copy = readPlayersFile(copyPath, fileMode(), version, kMaxPlayersFileSize);
        if (copy.outcome == Outcome::Whole) {
            if (reading.outcome != Outcome::Missing)
                LOG_WARNING("The players come from the last good copy " + copyPath);
            loadReport.restoredFromLastGood = reading.outcome != Outcome::Missing;
            reading = copy;
            source = copyPath;
        } else {
            if (copy.outcome != Outcome::Missing) {
                LOG_ERROR("The last good copy " + copyPath + " cannot be read whole (" + copy.reason +
                          "); it is kept aside");
                keepAside(copyPath);
            }
            if (reading.outcome != Outcome::Partial && copy.outcome == Outcome::Partial) {
                reading = copy;
                source = copyPath;
            }
            // Something was there, and neither file could give all of it.
            loadReport.progressLost = reading.outcome == Outcome::Partial
                                          ? reading.unreadableEntries > 0
                                          : reading.outcome != Outcome::Missing || copy.outcome != Outcome::Missing;
        }
    }
    if (reading.outcome == Outcome::Partial)
        LOG_WARNING(std::to_string(reading.unreadableEntries) + " player entries of " + source +
                    " could not be read; the others are kept");
    if (reading.outcome != Outcome::Whole && reading.outcome != Outcome::Partial)
        return;

    loadFromNode(reading.players.get());
    bool repaired = false;
    for (const RefPointer<AbstractPlayer>& player : players)
        repaired = player->wasRepairedOnRead() || repaired;
    if (repaired || droppedOverCap > 0) {
        loadReport.progressLost = loadReport.progressLost || repaired;
        if (isRegularFile(source))
            keepAside(source);
    }
    // A saved game is written only while its player plays, so what a killed
    // save left in another player's folder is swept at the start instead.
    for (const RefPointer<AbstractPlayer>& player : players)
        removeStaleTemporaries(getSavedGamesFolder(player->getName()));
    if (currentPlayer)
        loadPlayer(currentPlayer);
    // Whatever was set aside is replaced by what could be read, in both files.
    if (!loadReport.keptAside.empty() && !players.empty())
        savePlayerList();
}

void PlayerManager::loadFromNode(PropertyNode* entry)
{
    PropertyNode* node = nodeOrDummy(entry);
    droppedOverCap = 0;
    if (hasChildNamed(node, "playernames")) {
        PropertyVector* list = childVector(node, "playernames");
        for (int i = 0; i < elementCount(list); ++i) {
            if (players.size() >= static_cast<size_t>(kMaxPlayers)) {
                droppedOverCap = elementCount(list) - i;
                LOG_WARNING(std::to_string(droppedOverCap) + " player entries beyond the first " +
                            std::to_string(kMaxPlayers) + " are not loaded");
                break;
            }
            AbstractProperty* element = elementAt(list, i);
            RefPointer<AbstractPlayer> player = ObjectFactoryContainer::createFrom<AbstractPlayer>(element);
            if (!player) {
                LOG_WARNING("Player entry of unknown kind \"" + element->getTypeName() + "\" skipped");
                continue;
            }
            if (fileSafeName(player->getName()).empty()) {
                LOG_WARNING("Player entry without a name skipped");
                continue;
            }
            players.push_back(player);
        }
    }
    currentPlayer = nullptr;
    if (!players.empty()) {
        const int index = findPlayer(childString(node, "currentplayer"));
        if (index >= 0 && hasChildNamed(node, "currentplayer"))
            currentPlayer = players[index].get();
    }
}

void PlayerManager::saveToNode(PropertyNode* node)
{
    addUntypedString(node, "version", version);
    if (currentPlayer)
        addUntypedString(node, "currentplayer", currentPlayer->getName());
    addNodeVector(node, "playernames", "", players,
                  [](PropertyNode* item, const RefPointer<AbstractPlayer>& player) { player->writeTo(item); });
}

bool PlayerManager::savePlayerList()
{
    RefPointer<PropertyStore> store(new PropertyStore());
    store->setFileMode(fileMode());
    RefPointer<PropertyNode> node(new PropertyNode("players", "Players"));
    saveToNode(node.get());
    store->addChild(node.get());
    store->setSavePath(getPlayersFilePath());
    bool saved = store->save();
    if (!saved) {
        LOG_ERROR("The players file could not be saved");
    } else {
        // Written only after the players file: should that one be damaged
        // later, this copy stands in for it.
        store->setSavePath(getLastGoodFilePath());
        if (!store->save())
            LOG_ERROR("The last good copy of the players file could not be saved");
    }
    if (currentPlayer)
        saved = savePlayer(currentPlayer) && saved;
    return saved;
}

void PlayerManager::loadPlayer(AbstractPlayer* player)
{
    if (!player)
        return;
    RefPointer<PropertyStore> store(new PropertyStore());
    store->setFileMode(fileMode());
    // Read under the players file's cap, as the players file is.
    store->setMaxFileSize(kMaxPlayersFileSize);
    const std::string path = getPlayerFilePath(player->getName());
    if (!isRegularFile(storedName(path)))
        return;
    if (!store->loadFile(path)) {
        // Set aside like any stored file over its cap, before a save of the
        // profile could write over it.
        if (store->wasTooLarge()) {
            LOG_ERROR("The player file of " + player->getName() + " is larger than " +
                      std::to_string(kMaxPlayersFileSize) + " bytes; it is kept aside");
            moveFileAside(storedName(path));
        }
        return;
    }
    if (hasChildNamed(store.get(), "version") && childString(store.get(), "version") == version)
        player->readPlayerFile(childNode(store.get(), "player"));
}

bool PlayerManager::savePlayer(AbstractPlayer* player)
{
    if (!player)
        return false;
    RefPointer<PropertyNode> node(new PropertyNode("player", "Player"));
    player->writePlayerFile(node.get());
    // A profile that keeps nothing of its own has no player file.
    if (node->getNamedCount() == 0)
        return true;
    RefPointer<PropertyStore> store(new PropertyStore());
    store->setFileMode(fileMode());
    store->addChild(new PropertyValue("version", version));
    store->addChild(node.get());
    store->setSavePath(getPlayerFilePath(player->getName()));
    if (store->save())
        return true;
    LOG_ERROR("The player file of " + player->getName() + " could not be saved");
    return false;
}

bool PlayerManager::loadGameState(const std::string& mode, const std::string& playerName, PropertyStore& store)
{
    if (discardedSavedGames.count(storedName(getSavedGamePath(mode, playerName))))
        return false;
    store.setFileMode(fileMode());
    store.setMaxFileSize(kMaxSavedGameFileSize);
    const std::string path = getSavedGamePath(mode, playerName);
    if (store.loadFile(path))
        return true;
    if (store.wasTooLarge()) {
        LOG_ERROR("The " + mode + " game of " + playerName + " is larger than " +
                  std::to_string(kMaxSavedGameFileSize) + " bytes; it is kept aside");
        moveFileAside(storedName(path));
    }
    return false;
}

bool PlayerManager::saveGameState(const std::string& mode, const std::string& playerName, PropertyStore& store)
{
    store.setFileMode(fileMode());
    store.setSavePath(getSavedGamePath(mode, playerName));
    if (store.save()) {
        discardedSavedGames.erase(storedName(getSavedGamePath(mode, playerName)));
        return true;
    }
    LOG_ERROR("The " + mode + " game of " + playerName + " could not be saved");
    return false;
}

bool PlayerManager::savedGameExists(const std::string& mode, const std::string& playerName) const
{
    const std::string stored = storedName(getSavedGamePath(mode, playerName));
    return isRegularFile(stored) && !discardedSavedGames.count(stored);
}

void PlayerManager::deleteSavedGame(const std::string& mode, const std::string& playerName)
{
    const std::string stored = storedName(getSavedGamePath(mode, playerName));
    // A file that cannot be removed (a read-only folder) is ignored for the
    // rest of the run instead, until a save of the same game succeeds.
    if (isRegularFile(stored) && !removeFile(stored)) {
        LOG_WARNING("The saved game " + stored + " could not be removed; it is ignored");
        discardedSavedGames.insert(stored);
    }
}

bool moveFileAside(const std::string& storedPath, std::string* movedTo)
{
    if (!isRegularFile(storedPath))
        return true;
    std::string target = storedPath + ".bak-" + std::to_string(static_cast<long long>(std::time(nullptr)));
    for (int attempt = 1; isRegularFile(target) && attempt < 100; ++attempt)
        target = storedPath + ".bak-" + std::to_string(static_cast<long long>(std::time(nullptr))) + "-" + std::to_string(attempt);
    if (renamePath(storedPath, target)) {
        LOG_WARNING("Kept " + storedPath + " aside as " + target);
        if (movedTo)
            *movedTo = target;
        return true;
    }
    LOG_ERROR("Could not move " + storedPath + " aside");
    return false;
}
