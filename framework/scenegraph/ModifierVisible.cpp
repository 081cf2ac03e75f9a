#include "framework/scenegraph/ModifierVisible.h"

#include "framework/scenegraph/GameNode.h"

TT_DEFINE_RECORD(ModifierVisible, &Modifier::classRecord);

void ModifierVisible::step(int)
{
    finish();
    GameNode* node = getTarget();
    if (!node)
        return;
    if (action == Hide)
        node->setVisible(false);
    else if (action == Show)
        node->setVisible(true);
    else
        node->setVisible(!node->isVisible());
}
