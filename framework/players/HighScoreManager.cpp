#include "framework/players/HighScoreManager.h"

#include "framework/core/Log.h"
#include "framework/core/PropertyStore.h"
#include "framework/platform/DataFolders.h"
#include "framework/players/PlayerManager.h"

#include <ctime>
#include "framework/players/PropertyAccess.h"
#include "framework/resources/FileModes.h"
#include "host/Folders.h"

TT_DEFINE_RECORD(HighScoreManager, &BaseObject::classRecord);

HighScoreManager* HighScoreManager::instance = nullptr;

HighScoreManager* HighScoreManager::create(bool encrypted, const std::string& version)
{
    destroyInstance();
    return holdGlobalInstance(instance, new HighScoreManager(encrypted, version));
}

void HighScoreManager::destroyInstance()
{
    releaseGlobalInstance(instance);
}

HighScoreManager::HighScoreManager(bool encrypted, const std::string& versionIn)
    : version(versionIn.empty() ? basicString("HIGHSCORES_VERSION") : versionIn), encrypted(encrypted)
{
}

HighScoreTable* HighScoreManager::getTable(const std::string& name) const
{
    auto found = tables.find(name);
    return found == tables.end() ? nullptr : found->second.get();
}

std::string HighScoreManager::getScoresFilePath() const
{
    const std::string folder = (baseFolder.empty() ? getGameFolder() : baseFolder) + "/players";
    createDirectoryTree(folder);
    return folder + "/scores.xml";
}

void HighScoreManager::loadHighScores()
{
    RefPointer<PropertyStore> store(new PropertyStore());
    store->setFileMode(fileMode());
    store->setMaxFileSize(kMaxScoresFileSize);
    const std::string path = getScoresFilePath();
    const std::string stored = storedFileName(path, fileMode());
    if (!isRegularFile(stored))
        return;
    if (!store->isReadable(path) || !store->loadFile(path)) {
        LOG_ERROR("Scores file " + stored + " cannot be read" +
                  (store->wasTooLarge() ? std::string(" (larger than ") + std::to_string(kMaxScoresFileSize) + " bytes)"
                                        : std::string()) +
                  "; it is kept aside");
        moveFileAside(stored);
        return;
    }
    PropertyNode* node = childNode(store.get(), "highscoretables");
    const std::string fileVersion = childString(node, "version");
    if (fileVersion != version) {
        LOG_WARNING("Scores file of version \"" + fileVersion + "\" is kept aside");
        moveFileAside(stored);
        return;
    }
    loadFromNode(node);
}

void HighScoreManager::loadFromNode(PropertyNode* entry)
{
    PropertyNode* node = nodeOrDummy(entry);
    version = hasChildNamed(node, "version") ? childString(node, "version") : std::string("0.0");
    if (!hasChildNamed(node, "scoretables"))
        return;
    PropertyVector* list = childVector(node, "scoretables");
    for (int i = 0; i < elementCount(list); ++i) {
        AbstractProperty* element = elementAt(list, i);
        RefPointer<HighScoreTable> table(new HighScoreTable(element));
        if (!keepLastScore)
            table->lastScore = -1;
        tables[element->getName()] = table;
    }
}

void HighScoreManager::saveToNode(PropertyNode* node)
{
    addUntypedString(node, "version", version);
    addNodeVector(node, "scoretables", "ScoreTable", tables, [](PropertyNode* item, const auto& named) {
        item->setName(named.first);
        named.second->writeTo(item);
    });
}

bool HighScoreManager::saveHighScores()
{
    RefPointer<PropertyStore> store(new PropertyStore());
    store->setFileMode(fileMode());
    RefPointer<PropertyNode> node(new PropertyNode("highscoretables", "HighScoreTables"));
    saveToNode(node.get());
    store->addChild(node.get());
    store->setSavePath(getScoresFilePath());
    if (store->save())
        return true;
    LOG_ERROR("The scores file could not be saved");
    return false;
}
