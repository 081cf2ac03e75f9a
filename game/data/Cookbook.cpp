#include "game/data/Cookbook.h"

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyStore.h"
#include "framework/players/PropertyAccess.h"

void Cookbook::load(const std::string& fileName)
{
    parse(PropertyStore::loadedFrom(fileName).get());
}

void Cookbook::parse(AbstractProperty* root)
{
    recipes.clear();
    forEachElement(root, "recipes", [this](AbstractProperty* entry) {
        if (RefPointer<Recipe> recipe = ObjectFactoryContainer::createFrom<Recipe>(entry))
            recipes.push_back(recipe);
    });
}

Recipe* Cookbook::findRecipe(const std::string& name) const
{
    for (const RefPointer<Recipe>& recipe : recipes) {
        if (recipe->getName() == name)
            return recipe.get();
    }
    return nullptr;
}
