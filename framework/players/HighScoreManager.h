#pragma once

#include <cstddef>

#include <map>
#include <string>

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"
#include "framework/players/HighScoreTable.h"

class PropertyNode;

// The named high-score tables and the scores file beside the players file.
class HighScoreManager : public BaseObject {
    TT_CLASS_RECORD(HighScoreManager)
public:
    // Creates the singleton (one reference held); an empty version takes the
    // property "HIGHSCORES_VERSION".
    // A scores file holds a few tables of ten entries; one far larger is
    // not one and is set aside unread.
    static constexpr size_t kMaxScoresFileSize = size_t(4) << 20;

    static HighScoreManager* create(bool encrypted, const std::string& version);
    static HighScoreManager* getInstance() { return instance; }
    static void destroyInstance();

    HighScoreManager(bool encrypted, const std::string& version);

    // A scores file that cannot be read or has another version is renamed
    // aside, so that the shut-down save cannot destroy it.
    void loadHighScores();
    // False when the file could not be written; the old file then stays.
    bool saveHighScores();
    void loadFromNode(PropertyNode* node);
    void saveToNode(PropertyNode* node);

    const std::string& getVersion() const { return version; }
    HighScoreTable* getTable(const std::string& name) const;
    void setTable(const std::string& name, HighScoreTable* table) { tables[name] = table; }
    const std::map<std::string, RefPointer<HighScoreTable>>& getTables() const { return tables; }

    void setBaseFolder(const std::string& folder) { baseFolder = folder; }
    std::string getScoresFilePath() const;

private:
    static HighScoreManager* instance;

    int fileMode() const { return encrypted ? 3 : 1; }

    std::string version;
    // Ordered by name, so the file is written the same way every time.
    std::map<std::string, RefPointer<HighScoreTable>> tables;
    bool keepLastScore = false;
    bool encrypted = false;
    std::string baseFolder;
};
