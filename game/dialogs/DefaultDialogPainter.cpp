#include "framework/core/ObjectFactoryContainer.h"
#include "game/dialogs/DefaultDialogPainter.h"

#include "framework/core/PropertyNode.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/resources/ResourceManager.h"
#include "game/data/TuningTable.h"

TT_DEFINE_RECORD(DefaultDialogPainter, &DialogPainter::classRecord);
TT_REGISTER_CLASS(DefaultDialogPainter);
TT_DEFINE_RECORD(DialogHintPainter, &DefaultDialogPainter::classRecord);
TT_REGISTER_CLASS(DialogHintPainter);
TT_DEFINE_RECORD(DialogHintHenriPainter, &DialogHintPainter::classRecord);
TT_REGISTER_CLASS(DialogHintHenriPainter);

namespace {

PropertyNode* nodeOf(AbstractProperty* configuration)
{
    return configuration && configuration->isNode() ? configuration->asNode() : DUMMY_NODE;
}

} // namespace

DefaultDialogPainter::DefaultDialogPainter(AbstractProperty* configuration) : DialogPainter(configuration)
{
    PropertyNode* node = nodeOf(configuration);
    if (node->hasChild("drawEiffel"))
        drawEiffel = node->getBool("drawEiffel");
}

void DefaultDialogPainter::paint(Graphics* graphics)
{
    DialogPainter::paint(graphics);
    if (!drawEiffel || !graphics || !graphics->getTarget() || !ResourceManager::instance)
        return;
    RefPointer<Image> tower;
    {
        ResourceLock lock;
        tower = ResourceManager::instance->getResourceAs<Image>("EIFFELTOWER", "default");
    }
    if (!tower)
        return;
    int x = graphics->getTarget()->getWidth() - tuning().DEFAULTDIALOG_EIFFEL_OFFSETX - tower->getWidth();
    int y = graphics->getTarget()->getHeight() - tuning().DEFAULTDIALOG_EIFFEL_OFFSETY - tower->getHeight();
    // Blended over the centre: copying its alpha would punch its transparent
    // surroundings through the dialog.
    graphics->blit(tower.get(), x, y);
}

DialogHintPainter::DialogHintPainter(AbstractProperty* configuration) : DefaultDialogPainter(configuration)
{
    drawEiffel = false;
    PropertyNode* node = nodeOf(configuration);
    if (node->hasChild("corner"))
        corner = node->getInt("corner");
}

DialogHintHenriPainter::DialogHintHenriPainter(AbstractProperty* configuration) : DialogHintPainter(configuration)
{
    static const char* const kConnectors[] = {"top", "bottomleft", "bottomright", "left"};
    int index = nodeOf(configuration)->getKeywordIndex("connector", kConnectors, 4, -1);
    corner = index < 0 ? 9 : 9 + index;
}
