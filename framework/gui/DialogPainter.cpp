#include "framework/gui/DialogPainter.h"

#include <algorithm>
#include <cmath>

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/graphics/Graphics.h"

TT_DEFINE_RECORD(DialogPainter, &AbstractPainter::classRecord);
TT_REGISTER_CLASS(DialogPainter);

DialogPainter::DialogPainter(AbstractProperty* configuration) : AbstractPainter(configuration)
{
    const PropertyNode* node = configuration ? configuration->asNode() : DUMMY_NODE;
    if (node->getChild("adjustalpha"))
        adjustAlpha = node->getBool("adjustalpha");
    if (node->getChild("initalpha"))
        initAlpha = node->getBool("initalpha");
    if (node->getChild("usemaxalpha"))
        useMaxAlpha = node->getBool("usemaxalpha");
    if (node->getChild("centercolor"))
        centerColor = static_cast<uint32_t>(node->getInt("centercolor"));
}

int32_t DialogPainter::fit(int32_t size, int32_t fixed, int32_t tile)
{
    if (tile > 0 && size > fixed) {
        const int64_t tiles = (static_cast<int64_t>(size) - fixed + tile - 1) / tile;
        return static_cast<int32_t>(std::min<int64_t>(INT32_MAX, fixed + tile * tiles));
    }
    return std::max(size, fixed);
}

int32_t DialogPainter::fitWidth(int32_t width)
{
    int32_t fixed = std::max(pieceWidth(TopLeft), pieceWidth(BottomLeft)) +
                    std::max(pieceWidth(TopRight), pieceWidth(BottomRight));
    if (fixed == 0)
        fixed = pieceWidth(Left) + pieceWidth(Right);
    int32_t tile = std::max(pieceWidth(Top), pieceWidth(Bottom));
    if (tile == 0)
        tile = pieceWidth(Centre);
    return fit(width, fixed, tile);
}

int32_t DialogPainter::fitHeight(int32_t height)
{
    int32_t fixed = std::max(pieceHeight(TopLeft), pieceHeight(TopRight)) +
                    std::max(pieceHeight(BottomLeft), pieceHeight(BottomRight));
    if (fixed == 0)
        fixed = pieceHeight(Top) + pieceHeight(Bottom);
    int32_t tile = std::max(pieceHeight(Left), pieceHeight(Right));
    if (tile == 0)
        tile = pieceHeight(Centre);
    return fit(height, fixed, tile);
}

void DialogPainter::drawPiece(Graphics* graphics, Image* piece, int32_t x, int32_t y, int32_t width, int32_t height)
{
    const int32_t pw = piece->getWidth();
    const int32_t ph = piece->getHeight();
    if (pw <= 0 || ph <= 0 || width <= 0 || height <= 0)
        return;
    const bool usesAlpha = piece->hasAlphaChannel();
    // Without adjustAlpha the piece blends by its alpha; with it the pixels
    // are copied and the alpha channel is written separately below.
    piece->setHasAlphaChannel(!adjustAlpha);
    if (adjustAlpha && !usesAlpha)
        graphics->fillRectChannel(Graphics::ChannelAlpha, 255, x, y, width, height);
    const int64_t right = static_cast<int64_t>(x) + width;
    const int64_t bottom = static_cast<int64_t>(y) + height;
    for (int64_t row = y; row < bottom; row += ph) {
        for (int64_t column = x; column < right; column += pw) {
            const int32_t cx = static_cast<int32_t>(column);
            const int32_t cy = static_cast<int32_t>(row);
            graphics->blit(piece, cx, cy);
            if (adjustAlpha && usesAlpha) {
                if (useMaxAlpha)
                    graphics->blitChannelMax(piece, Graphics::ChannelAlpha, cx, cy);
                else
                    graphics->blitChannel(piece, Graphics::ChannelAlpha, cx, cy);
            }
        }
    }
    piece->setHasAlphaChannel(usesAlpha);
}

void DialogPainter::raiseAlpha(Graphics* graphics, int32_t x, int32_t y, int32_t width, int32_t height,
                               int32_t alpha)
{
    if (width <= 0 || height <= 0 || alpha <= 0)
        return;
    // A plane of the wanted alpha, kept where the target is already more opaque.
    RefPointer<Image> plane = Image::create(width, height, 1);
    if (!plane || !plane->lock())
        return;
    std::fill(plane->getAlphaPlane(), plane->getAlphaPlane() + static_cast<size_t>(width) * height,
              static_cast<uint8_t>(alpha));
    plane->unlock();
    graphics->blitChannelMax(plane.get(), Graphics::ChannelAlpha, x, y);
}

void DialogPainter::paintCentreColour(Graphics* graphics, int32_t W, int32_t H)
{
    const int32_t insideX = pieceWidth(Left);
    const int32_t insideY = pieceHeight(Top);
    const int32_t insideW = W - pieceWidth(Right) - pieceWidth(Left);
    const int32_t insideH = H - pieceHeight(Bottom) - pieceHeight(Top);
    const uint32_t savedColour = graphics->getColour();
    graphics->setColour(centerColor);
    graphics->fillRect(insideX, insideY, insideW, insideH);
    graphics->setColour(savedColour);
    if (adjustAlpha) {
        const int32_t alpha = static_cast<int32_t>(centerColor >> 24);
        if (useMaxAlpha) {
            raiseAlpha(graphics, insideX, insideY, insideW, insideH, alpha);
        } else {
            graphics->fillRectChannel(Graphics::ChannelAlpha, alpha, insideX, insideY, insideW, insideH);
        }
    }
}

void DialogPainter::paintEdgesAndCorners(Graphics* graphics, int32_t W, int32_t H)
{
    if (Image* piece = getImage(Top))
        drawPiece(graphics, piece, pieceWidth(TopLeft), 0, W - pieceWidth(TopRight) - pieceWidth(TopLeft),
                  pieceHeight(Top));
    if (Image* piece = getImage(Bottom))
        drawPiece(graphics, piece, pieceWidth(BottomLeft), H - pieceHeight(Bottom),
                  W - pieceWidth(BottomRight) - pieceWidth(BottomLeft), pieceHeight(Bottom));
    if (Image* piece = getImage(Left))
        drawPiece(graphics, piece, 0, pieceHeight(TopLeft), pieceWidth(Left),
                  H - pieceHeight(BottomLeft) - pieceHeight(TopLeft));
    if (Image* piece = getImage(Right))
        drawPiece(graphics, piece, W - pieceWidth(Right), pieceHeight(TopRight), pieceWidth(Right),
                  H - pieceHeight(BottomRight) - pieceHeight(TopRight));

    if (Image* piece = getImage(TopLeft))
        drawPiece(graphics, piece, 0, 0, piece->getWidth(), piece->getHeight());
    if (Image* piece = getImage(TopRight))
        drawPiece(graphics, piece, W - piece->getWidth(), 0, piece->getWidth(), piece->getHeight());
    if (Image* piece = getImage(BottomLeft))
        drawPiece(graphics, piece, 0, H - piece->getHeight(), piece->getWidth(), piece->getHeight());
    if (Image* piece = getImage(BottomRight))
        drawPiece(graphics, piece, W - piece->getWidth(), H - piece->getHeight(), piece->getWidth(),
                  piece->getHeight());
}

void DialogPainter::paint(Graphics* graphics)
{
    if (!graphics || !graphics->getTarget())
        return;
    const int32_t W = graphics->getTarget()->getWidth();
    const int32_t H = graphics->getTarget()->getHeight();
    if (adjustAlpha && initAlpha)
        graphics->fillChannel(Graphics::ChannelAlpha, 0, 0, 0);
    if (Image* centre = getImage(Centre)) {
        drawPiece(graphics, centre, pieceWidth(Left), pieceHeight(Top), W - pieceWidth(Right) - pieceWidth(Left),
                  H - pieceHeight(Bottom) - pieceHeight(Top));
    } else {
        paintCentreColour(graphics, W, H);
    }
    paintEdgesAndCorners(graphics, W, H);
    changed = false;
}
