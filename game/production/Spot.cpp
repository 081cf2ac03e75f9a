#include "game/production/Spot.h"

#include "framework/core/Log.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyValue.h"
#include "framework/players/PropertyAccess.h"
#include "framework/scenegraph/Modifier.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/TuningTable.h"

Spot::Spot(Pastry* pastryIn) : pastry(pastryIn) {}

Spot::~Spot() = default;

Sprite* Spot::getPlate() const
{
    return static_cast<Sprite*>(plate.get());
}

void Spot::setPlate(Sprite* sprite)
{
    plate = sprite;
}

RefPointer<Spot> Spot::restore(AbstractProperty* entry, const Cookbook& cookbook)
{
    PropertyNode* node = nodeOrDummy(entry);
    PropertyVector* positions = childVector(node, "ingredients");
    const int maxIngredients = tuning().MAX_INGREDIENT_COUNT;
    if (maxIngredients > 0 && elementCount(positions) > maxIngredients) {
        LOG_WARNING("Saved conveyor spot with too many ingredients skipped");
        return nullptr;
    }
    RefPointer<Pastry> pastry = Pastry::restore(childNode(node, "pastry"), cookbook);
    if (!pastry)
        return nullptr;

    RefPointer<Spot> spot(new Spot(pastry.get()));
    for (int i = 0; i < elementCount(positions); ++i)
        spot->savedIngredientX.push_back(valueOrDummy(elementAt(positions, i))->getInt());
    spot->state = childInt(node, "state");
    spot->spriteX = childInt(node, "spriteX");
    spot->hasArrived = childBool(node, "hasArrived");
    return spot;
}

void Spot::save(PropertyNode* node) const
{
    addUntypedInt(node, "state", state);
    addUntypedBool(node, "hasArrived", hasArrived);
    addUntypedInt(node, "spriteX", plate ? getPlate()->getX() : spriteX);
    RefPointer<PropertyNode> pastryNode(new PropertyNode("pastry", "Pastry"));
    if (pastry)
        pastry->save(pastryNode.get());
    node->addChild(pastryNode.get());
    RefPointer<PropertyVector> positions(new PropertyVector("ingredients"));
    if (icons.empty()) {
        for (int32_t x : savedIngredientX)
            positions->add(PropertyValue::makeTyped("", "Integer", x));
    }
    for (Sprite* icon : icons) {
        if (icon)
            positions->add(PropertyValue::makeTyped("", "Integer", icon->getX()));
    }
    node->addChild(positions.get());
}
