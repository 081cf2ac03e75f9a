#include "game/data/Recipe.h"

#include <cstdint>

#include "framework/core/PropertyNode.h"
#include "framework/players/PropertyAccess.h"

TT_DEFINE_RECORD(Recipe, &BaseObject::classRecord);
TT_REGISTER_CLASS(Recipe);

Recipe::Recipe(AbstractProperty* entry)
{
    PropertyNode* node = nodeOrDummy(entry);
    name = node->getName();

    int64_t totalAmount = 0; // wide, so that absurd amounts cannot overflow
    if (hasChildNamed(node, "ingredients")) {
        PropertyVector* list = childVector(node, "ingredients");
        for (int i = 0; i < elementCount(list); ++i) {
            AbstractProperty* item = elementAt(list, i);
            RecipeIngredient ingredient{childString(item, "name"), childInt(item, "amount")};
            totalAmount += ingredient.amount;
            ingredients.push_back(std::move(ingredient));
        }
    }
    // The quality value is per unit of amount, so bigger recipes are worth more.
    if (hasChildNamed(node, "quality"))
        quality = childFloatScanned(childNode(node, "quality"), "value") * static_cast<float>(totalAmount);
}

Recipe::Recipe(const std::string& name, std::vector<RecipeIngredient> ingredients, float quality)
    : name(name), quality(quality), ingredients(std::move(ingredients))
{
}
