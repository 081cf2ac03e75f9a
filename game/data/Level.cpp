#include "game/data/Level.h"

#include "framework/core/PropertyStore.h"
#include "framework/players/PropertyAccess.h"
#include "game/data/Cookbook.h"
#include "game/data/CustomerBook.h"
#include "game/data/IngredientBook.h"
#include "game/data/TuningTable.h"

namespace {

const char* const kFallbackCustomer = "CUSTOMER_HENRI";

// An optional key of an optional group: the default when either is absent.
int optionalInt(PropertyNode* root, const char* group, const char* key, int fallback)
{
    PropertyNode* node = childNode(root, group);
    return hasChildNamed(node, key) ? childInt(node, key) : fallback;
}

float optionalFloat(PropertyNode* root, const char* group, const char* key, float fallback)
{
    PropertyNode* node = childNode(root, group);
    return hasChildNamed(node, key) ? childFloatScanned(node, key) : fallback;
}

} // namespace

Level::Level() : distanceStart(tuning().CONVEYOR_MIN_DISTANCE) {}

void Level::load(const std::string& fileName, int index, Cookbook* cookbook, IngredientBook* ingredientBook,
                 CustomerBook* customerBook)
{
    parse(PropertyStore::loadedFrom(fileName).get(), cookbook, ingredientBook, customerBook, index);
}

void Level::clear()
{
    recipes.clear();
    ingredients.clear();
    customerName.clear();
    themeName.clear();
    starsGoal = -1;
    starsReward = 0;
    themeNumber = 0;
}

void Level::parse(AbstractProperty* rootEntry, Cookbook* cookbook, IngredientBook* ingredientBook,
                  CustomerBook* customerBook, int index)
{
    PropertyNode* root = nodeOrDummy(rootEntry);
    clear();
    levelIndex = index;

    PropertyVector* recipeList = childVector(root, "recipes");
    for (int i = 0; i < elementCount(recipeList); ++i) {
        Recipe* recipe = cookbook ? cookbook->findRecipe(childString(elementAt(recipeList, i), "type")) : nullptr;
        if (recipe)
            recipes.push_back(recipe);
    }

    PropertyVector* ingredientList = childVector(root, "ingredients");
    for (int i = 0; i < elementCount(ingredientList); ++i) {
        PropertyNode* item = nodeOrDummy(elementAt(ingredientList, i));
        LevelIngredient ingredient;
        ingredient.name = childString(item, "name");
        ingredient.distribution = childInt(item, "distribution");
        const IngredientBook::Entry* book = ingredientBook ? ingredientBook->find(ingredient.name) : nullptr;
        if (hasChildNamed(item, "unripeChance") && book && book->canBeUnripe)
            ingredient.unripeChance = childInt(item, "unripeChance");
        if (book) {
            ingredient.id = book->id;
            ingredient.matching = book->matching;
            ingredient.hasSound = book->hasSound;
            ingredient.isFruit = book->isFruit;
            ingredient.isChocolate = book->isChocolate;
            ingredient.isPastry = book->isPastry;
            ingredient.isCream = book->isCream;
        }
        ingredients.push_back(std::move(ingredient));
    }

    themeName = childString(childNode(root, "theme"), "name");
    themeNumber = childInt(childNode(root, "theme"), "number");
    customerName = childString(childNode(root, "customer"), "name");
    starsGoal = childInt(childNode(root, "stars"), "goal");
    starsReward = optionalInt(root, "stars", "reward", 0);
    percentX3 = optionalFloat(root, "percentage", "x3", 0.0f);
    percentX5 = optionalFloat(root, "percentage", "x5", 0.0f);
    durationTime = optionalInt(root, "duration", "time", 1000);
    durationDelta = optionalInt(root, "duration", "delta", 0);
    pastriesStart = optionalInt(root, "pastries", "start", 0);
    pastriesDelta = optionalInt(root, "pastries", "delta", 1);
    distanceStart = optionalInt(root, "distance", "start", tuning().CONVEYOR_MIN_DISTANCE);
    distanceDelta = optionalInt(root, "distance", "delta", 0);
    distanceDeviation = optionalInt(root, "distance", "deviation", 0);

    if (!customerBook || !customerBook->contains(customerName))
        customerName = kFallbackCustomer;
    customerRecord = customerBook ? customerBook->find(customerName) : nullptr;
}

const LevelIngredient* Level::findIngredient(const std::string& name) const
{
    for (const LevelIngredient& ingredient : ingredients) {
        if (ingredient.name == name)
            return &ingredient;
    }
    return nullptr;
}

std::vector<int> Level::getIngredientWeights() const
{
    std::vector<int> weights;
    for (const LevelIngredient& ingredient : ingredients)
        weights.push_back(ingredient.distribution);
    return weights;
}

std::vector<std::string> Level::getIngredientNames() const
{
    std::vector<std::string> names;
    for (const LevelIngredient& ingredient : ingredients)
        names.push_back(ingredient.name);
    return names;
}
