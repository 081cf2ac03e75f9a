#pragma once

#include <string>
#include <vector>

#include "game/data/Level.h"

class PropertyNode;

// One ordered list of level files and the one level loaded from the selected
// file. The career and the arcade each have one.
class LevelManager {
public:
    LevelManager() = default;
    LevelManager(const LevelManager&) = delete;
    LevelManager& operator=(const LevelManager&) = delete;

    // Reads the list file and loads its first level. An empty list keeps the
    // placeholder level.
    void loadList(const std::string& listFileName, Cookbook* cookbook, IngredientBook* ingredientBook,
                  CustomerBook* customerBook);
    // The same from a parsed list (tests, tools).
    void parseList(AbstractProperty* root, Cookbook* cookbook, IngredientBook* ingredientBook,
                   CustomerBook* customerBook);
    // An index outside the list changes nothing.
    void selectLevel(int index);
    // Writes the untyped "currentLevel".
    void save(PropertyNode* node) const;
    // Selects the saved "currentLevel"; without one the selection stays.
    void restore(AbstractProperty* node);

    int getLevelCount() const { return static_cast<int>(fileNames.size()); }
    int getCurrentIndex() const { return currentIndex; }
    const std::vector<std::string>& getFileNames() const { return fileNames; }
    Level& getLevel() { return level; }
    const Level& getLevel() const { return level; }

private:
    std::vector<std::string> fileNames;
    int currentIndex = 0;
    Level level;
    Cookbook* cookbook = nullptr;
    IngredientBook* ingredientBook = nullptr;
    CustomerBook* customerBook = nullptr;
};
