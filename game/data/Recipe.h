#pragma once

#include <string>
#include <vector>

#include "framework/core/BaseObject.h"
#include "framework/core/ObjectFactoryContainer.h"

// One ingredient of a recipe or of a pastry in progress: a name of the
// ingredient book and how many units are (still) needed.
struct RecipeIngredient {
    std::string name;
    int amount = 0;

    bool operator==(const RecipeIngredient& other) const { return name == other.name && amount == other.amount; }
};

// Which ingredients, in which amounts, make one pastry, and the quality a
// finished pastry is worth. Built by name from an entry of the cookbook.
class Recipe : public BaseObject {
    TT_CLASS_RECORD(Recipe)
public:
    explicit Recipe(AbstractProperty* entry);
    // A recipe made in code (tests, tools): quality 1.0 unless given.
    Recipe(const std::string& name, std::vector<RecipeIngredient> ingredients, float quality = 1.0f);

    const std::string& getName() const { return name; }
    float getQuality() const { return quality; }
    const std::vector<RecipeIngredient>& getIngredients() const { return ingredients; }

private:
    std::string name;
    float quality = 1.0f;
    std::vector<RecipeIngredient> ingredients;
};
