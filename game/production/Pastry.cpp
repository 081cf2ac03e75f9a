#include "game/production/Pastry.h"

#include "framework/core/Log.h"
#include "framework/core/PropertyNode.h"
#include "framework/players/PropertyAccess.h"
#include "game/data/Cookbook.h"
#include "game/data/TuningTable.h"

int32_t Pastry::nextSerial()
{
    static int32_t counter = 0;
    return ++counter;
}

Pastry::Pastry(Recipe* recipeIn) : serial(nextSerial()), recipe(recipeIn)
{
    if (recipe) {
        ingredients = recipe->getIngredients();
        maxQuality = recipe->getQuality();
    }
}

RefPointer<Pastry> Pastry::restore(AbstractProperty* entry, const Cookbook& cookbook)
{
    PropertyNode* node = nodeOrDummy(entry);
    const std::string recipeName = childString(node, "recipe");
    Recipe* recipe = cookbook.findRecipe(recipeName);
    if (!recipe) {
        LOG_WARNING("Saved pastry with unknown recipe \"" + recipeName + "\" skipped");
        return nullptr;
    }
    PropertyVector* list = childVector(node, "ingredients");
    const int maxIngredients = tuning().MAX_INGREDIENT_COUNT;
    if (maxIngredients > 0 && elementCount(list) > maxIngredients) {
        LOG_WARNING("Saved pastry with too many ingredients skipped");
        return nullptr;
    }

    RefPointer<Pastry> pastry(new Pastry());
    pastry->serial = nextSerial();
    pastry->quality = childFloatScanned(node, "quality");
    pastry->recipe = recipe;
    pastry->maxQuality = recipe->getQuality();
    pastry->index = childInt(node, "index");
    for (int i = 0; i < elementCount(list); ++i) {
        AbstractProperty* item = elementAt(list, i);
        pastry->ingredients.push_back({childString(item, "name"), childInt(item, "amount")});
    }
    return pastry;
}

void Pastry::deliverIngredient(const std::string& ingredientName)
{
    for (Ingredient& ingredient : ingredients) {
        if (ingredient.name == ingredientName && ingredient.amount > 0)
            --ingredient.amount;
    }
}

void Pastry::addQuality(float amount)
{
    quality += amount;
    if (quality > maxQuality)
        quality = maxQuality;
    if (quality < 0.0f)
        quality = 0.0f;
}

int Pastry::getQualityLevel() const
{
    if (quality < 0.25f * maxQuality)
        return 1;
    if (quality < 0.5f * maxQuality)
        return 2;
    if (quality < 0.75f * maxQuality)
        return 3;
    return 4;
}

bool Pastry::isFinished() const
{
    for (const Ingredient& ingredient : ingredients) {
        if (ingredient.amount > 0)
            return false;
    }
    return true;
}

void Pastry::save(PropertyNode* node) const
{
    addUntypedFloatFixed(node, "quality", quality);
    addUntypedString(node, "recipe", recipe ? recipe->getName() : std::string());
    addUntypedInt(node, "index", index);
    addNodeVector(node, "ingredients", "Ingredient", ingredients, [](PropertyNode* item, const Ingredient& ingredient) {
        addUntypedString(item, "name", ingredient.name);
        addUntypedInt(item, "amount", ingredient.amount);
    });
}
