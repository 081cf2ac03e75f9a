#include "framework/core/ObjectFactoryContainer.h"
#include "game/dialogs/DefaultDialogPainter.h"

#include <algorithm>

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

void DefaultDialogPainter::blackenWhenAsked(Graphics* graphics)
{
    if (!getAdjustAlpha() || !getInitAlpha())
        return;
    const uint32_t savedColour = graphics->getColour();
    const int savedAlpha = graphics->getAlpha();
    graphics->setColour(0xFF000000u);
    graphics->setAlpha(255);
    graphics->clear();
    graphics->fillChannel(Graphics::ChannelAlpha, 0, 0, 0);
    graphics->setColour(savedColour);
    graphics->setAlpha(savedAlpha);
}

void DefaultDialogPainter::drawCentreOnce(Graphics* graphics, int x, int y, int width, int height)
{
    Image* centre = getImage(Centre);
    width = std::min(width, centre->getWidth());
    height = std::min(height, centre->getHeight());
    if (width <= 0 || height <= 0)
        return;
    graphics->blit(centre, x, y, Rect {0, 0, width, height});
    graphics->fillRectChannel(Graphics::ChannelAlpha, 255, x, y, width, height);
}

void DefaultDialogPainter::paint(Graphics* graphics)
{
    if (!graphics || !graphics->getTarget())
        return;
    const int W = graphics->getTarget()->getWidth();
    const int H = graphics->getTarget()->getHeight();
    if (getAdjustAlpha() && getInitAlpha())
        graphics->fillChannel(Graphics::ChannelAlpha, 0, 0, 0);
    if (getImage(Centre))
        drawCentreOnce(graphics, 36, 36, W - 72, H - 72);
    else
        paintCentreColour(graphics, W, H);

    RefPointer<Image> tower;
    if (drawEiffel && ResourceManager::instance) {
        ResourceLock lock;
        tower = ResourceManager::instance->getResourceAs<Image>("EIFFELTOWER", "default");
    }
    if (tower) {
        // Blended over the centre: copying its alpha would punch its
        // transparent surroundings through the dialog. Drawn before the frame,
        // which covers it where they meet.
        graphics->blit(tower.get(), W - tuning().DEFAULTDIALOG_EIFFEL_OFFSETX - tower->getWidth(),
                       H - tuning().DEFAULTDIALOG_EIFFEL_OFFSETY - tower->getHeight());
    }
    paintEdgesAndCorners(graphics, W, H);
    changed = false;
}

DialogHintPainter::DialogHintPainter(AbstractProperty* configuration) : DefaultDialogPainter(configuration)
{
    drawEiffel = false;
    PropertyNode* node = nodeOf(configuration);
    if (node->hasChild("corner"))
        corner = node->getInt("corner");
}

void DialogHintPainter::paint(Graphics* graphics)
{
    if (!graphics || !graphics->getTarget())
        return;
    const int W = graphics->getTarget()->getWidth();
    const int H = graphics->getTarget()->getHeight();
    blackenWhenAsked(graphics);
    // The right and bottom insets are 84, not 86.
    if (getImage(Centre))
        drawCentreOnce(graphics, 86, 86, W - 170, H - 170);
    else
        paintCentreColour(graphics, W, H);
    paintEdgesAndCorners(graphics, W, H);
    changed = false;
}

DialogHintHenriPainter::DialogHintHenriPainter(AbstractProperty* configuration) : DialogHintPainter(configuration)
{
    static const char* const kConnectors[] = {"top", "bottomleft", "bottomright", "left"};
    int index = nodeOf(configuration)->getKeywordIndex("connector", kConnectors, 4, -1);
    corner = index < 0 ? 9 : 9 + index;
}

void DialogHintHenriPainter::paint(Graphics* graphics)
{
    if (!graphics || !graphics->getTarget())
        return;
    const int W = graphics->getTarget()->getWidth();
    const int H = graphics->getTarget()->getHeight();
    blackenWhenAsked(graphics);
    if (Image* centre = getImage(Centre))
        drawPiece(graphics, centre, pieceWidth(Left), pieceHeight(Top), W - pieceWidth(Right) - pieceWidth(Left),
                  H - pieceHeight(Bottom) - pieceHeight(Top));
    else
        paintCentreColour(graphics, W, H);
    paintEdgesAndCorners(graphics, W, H);

    Image* connector = getImage(corner);
    if (connector && corner >= 9 && corner <= 12) {
        const int width = connector->getWidth();
        const int height = connector->getHeight();
        int x = 0;
        int y = 0;
        switch (corner) {
        case 9: x = W / 2 - width / 2; break;
        case 10: x = pieceWidth(BottomLeft); y = H - height; break;
        case 11: x = W - width - pieceWidth(BottomRight); y = H - height; break;
        default: y = H - pieceHeight(BottomLeft) - height; break;
        }
        drawPiece(graphics, connector, x, y, width, height);
    }
    changed = false;
}
