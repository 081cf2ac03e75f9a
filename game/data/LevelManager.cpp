#include "game/data/LevelManager.h"

#include "framework/core/Log.h"
#include "framework/core/PropertyStore.h"
#include "framework/players/PropertyAccess.h"

void LevelManager::loadList(const std::string& listFileName, Cookbook* cookbookIn, IngredientBook* ingredientsIn,
                            CustomerBook* customersIn)
{
    parseList(PropertyStore::loadedFrom(listFileName).get(), cookbookIn, ingredientsIn, customersIn);
}

void LevelManager::parseList(AbstractProperty* root, Cookbook* cookbookIn, IngredientBook* ingredientsIn,
                             CustomerBook* customersIn)
{
    cookbook = cookbookIn;
    ingredientBook = ingredientsIn;
    customerBook = customersIn;
    PropertyVector* list = childVector(root, "levels");
    for (int i = 0; i < elementCount(list); ++i) {
        AbstractProperty* entry = elementAt(list, i);
        if (!hasChildNamed(entry, "fileName")) {
            LOG_WARNING("Level list: entry without \"fileName\" ignored");
            continue;
        }
        fileNames.push_back(childString(entry, "fileName"));
    }
    if (fileNames.empty()) {
        LOG_WARNING("Level list is empty; the placeholder level stays");
        return;
    }
    if (currentIndex < 0 || currentIndex >= getLevelCount())
        currentIndex = 0;
    level.load(fileNames[currentIndex], currentIndex, cookbook, ingredientBook, customerBook);
}

void LevelManager::selectLevel(int index)
{
    if (index < 0 || index >= getLevelCount())
        return;
    currentIndex = index;
    level.load(fileNames[index], index, cookbook, ingredientBook, customerBook);
}

void LevelManager::save(PropertyNode* node) const
{
    addUntypedInt(nodeOrDummy(node), "currentLevel", currentIndex);
}

void LevelManager::restore(AbstractProperty* node)
{
    if (!hasChildNamed(node, "currentLevel")) {
        LOG_WARNING("Saved level list without \"currentLevel\"; the selection stays");
        return;
    }
    selectLevel(childInt(node, "currentLevel"));
}
