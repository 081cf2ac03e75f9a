#include "game/board/GridWrapper.h"

#include "framework/core/PropertyNode.h"
#include "framework/players/PropertyAccess.h"

void GridWrapper::save(PropertyNode* node) const
{
    RefPointer<PropertyVector> cells(new PropertyVector("cells"));
    node->addChild(cells.get());
}

void GridWrapper::load(AbstractProperty* /*node*/) {}
