#pragma once

#include <string>
#include <vector>

#include "framework/core/RefPointer.h"
#include "game/data/Recipe.h"

class AbstractProperty;

// All recipes of the game, read once from the cookbook file. Levels, orders
// and pastries keep plain pointers: the cookbook lives as long as GameData.
class Cookbook {
public:
    Cookbook() = default;
    Cookbook(const Cookbook&) = delete;
    Cookbook& operator=(const Cookbook&) = delete;

    // Reads the file (a missing file gives an empty cookbook) and parses it.
    void load(const std::string& fileName);
    // Replaces every recipe with the entries of the root's "recipes" vector.
    // An entry whose tag has no creator is skipped.
    void parse(AbstractProperty* root);
    // The first recipe of that exact name, or null.
    Recipe* findRecipe(const std::string& name) const;

    void addRecipe(Recipe* recipe) { recipes.emplace_back(recipe); }
    const std::vector<RefPointer<Recipe>>& getRecipes() const { return recipes; }

private:
    std::vector<RefPointer<Recipe>> recipes;
};
