#pragma once

#include <string>
#include <vector>

class AbstractProperty;
class Cookbook;
class Customer;
class CustomerBook;
class IngredientBook;
class Recipe;

// One ingredient of a level's board with the flags taken from the book.
struct LevelIngredient {
    std::string name;
    std::string id;
    int distribution = 0;
    int unripeChance = 0;
    bool matching = true;
    bool hasSound = false;
    bool isFruit = false;
    bool isChocolate = false;
    bool isPastry = false;
    bool isCream = false;
};

// The parsed content of one level file, resolved against the three books.
// Recipes and the customer are borrowed from the books, which outlive it.
class Level {
public:
    Level();

    // Reads the file (a missing one parses as an empty tree) and parses it.
    void load(const std::string& fileName, int index, Cookbook* cookbook, IngredientBook* ingredientBook,
              CustomerBook* customerBook);
    void parse(AbstractProperty* root, Cookbook* cookbook, IngredientBook* ingredientBook,
               CustomerBook* customerBook, int index);
    void clear();

    // Null when the level has no ingredient of that name.
    const LevelIngredient* findIngredient(const std::string& name) const;
    std::vector<int> getIngredientWeights() const;
    std::vector<std::string> getIngredientNames() const;

    std::vector<Recipe*> recipes;
    std::string customerName;
    Customer* customerRecord = nullptr;
    std::vector<LevelIngredient> ingredients;
    int starsGoal = -1;
    int starsReward = 0;
    std::string themeName = "Dummy";
    int themeNumber = 0;
    int levelIndex = 0;
    float percentX3 = 0.0f;
    float percentX5 = 0.0f;
    int durationTime = 1000;
    int durationDelta = 0;
    int pastriesStart = 0;
    int pastriesDelta = 0;
    int distanceStart = 0;
    int distanceDelta = 0;
    int distanceDeviation = 0;
};
