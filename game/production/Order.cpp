#include "game/production/Order.h"

#include "framework/core/PropertyNode.h"
#include "framework/core/Random.h"
#include "framework/players/PropertyAccess.h"

void Order::addPastry(Recipe* recipe)
{
    pastries.emplace_back(new Pastry(recipe));
}

void Order::addPastries(const std::vector<Recipe*>& recipes)
{
    for (Recipe* recipe : recipes)
        addPastry(recipe);
}

void Order::shuffle(CRuntimeRandom& generator)
{
    generator.shuffle(pastries);
}

RefPointer<Pastry> Order::takeNext()
{
    if (pastries.empty())
        return nullptr;
    RefPointer<Pastry> next = std::move(pastries.back());
    pastries.pop_back();
    return next;
}

void Order::save(PropertyNode* node) const
{
    addNodeVector(node, "pastries", "Pastry", pastries,
                  [](PropertyNode* item, const RefPointer<Pastry>& pastry) { pastry->save(item); });
}

void Order::load(AbstractProperty* node, const Cookbook& cookbook)
{
    pastries.clear();
    forEachElement(node, "pastries", [&](AbstractProperty* entry) {
        if (RefPointer<Pastry> pastry = Pastry::restore(entry, cookbook))
            pastries.push_back(pastry);
    });
}
