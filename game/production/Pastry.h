#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/BaseObject.h"
#include "framework/core/RefPointer.h"
#include "game/data/Recipe.h"

class AbstractProperty;
class Cookbook;
class PropertyNode;

// One pastry being made: the ingredients it still needs, its quality and the
// flags the stations set while they animate it. Shared by count.
class Pastry : public BaseObject {
public:
    using Ingredient = RecipeIngredient;

    explicit Pastry(Recipe* recipe);

    // Rebuilds a saved pastry. Null for an entry this game cannot have
    // written: an unknown recipe, or more ingredients than
    // "MAX_INGREDIENT_COUNT" (when that limit is set).
    static RefPointer<Pastry> restore(AbstractProperty* node, const Cookbook& cookbook);

    // Lowers every still-needed entry of that name by one unit.
    void deliverIngredient(const std::string& ingredientName);
    // Clamped to 0..maxQuality (the upper bound first).
    void addQuality(float amount);
    // 1..4 by quarters of maxQuality; a pastry with maxQuality 0 is 4.
    int getQualityLevel() const;
    bool isFinished() const;
    // The amount still needed of ingredient `slot`; 0 outside the list.
    int getAmount(int slot) const
    {
        return slot >= 0 && slot < static_cast<int>(ingredients.size()) ? ingredients[slot].amount : 0;
    }

    // Writes "quality", "recipe", "index" and the "ingredients" vector.
    void save(PropertyNode* node) const;

    int32_t serial = 0;
    std::vector<Ingredient> ingredients;
    float quality = 0.0f;
    float maxQuality = 0.0f;
    int32_t pendingDeliveries = 0;
    bool isMoving = false;
    bool isPackaged = false;
    int32_t index = 0;
    Recipe* recipe = nullptr;

private:
    Pastry() = default;
    static int32_t nextSerial();
};
