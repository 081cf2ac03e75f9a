#include "framework/scenegraph/Sprite.h"

#include <algorithm>

#include "framework/core/BasicProperties.h"
#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/scenegraph/ModifierFrame.h"
#include "framework/scenegraph/Rounding.h"

const ClassRecord IRenderable::classRecord {"IRenderable", nullptr};

TT_DEFINE_RECORD(Sprite, &GameNode::classRecord, &IRenderable::classRecord);

TT_REGISTER_CLASS(Sprite);

namespace {

Sprite::ImageLookup imageLookup = nullptr;

const char* const anchorNames[] = {"topleft", "top",        "topright", "left",       "center",
                                   "right",   "bottomleft", "bottom",   "bottomright"};
const char* const wrapStyleNames[] = {"once", "switch", "loop"};

} // namespace

Sprite::ImageLookup Sprite::getImageLookup()
{
    return imageLookup;
}

void Sprite::setImageLookup(ImageLookup lookup)
{
    imageLookup = lookup;
}

Sprite::Sprite(const std::string& name) : GameNode(name) {}

Sprite::Sprite(int x, int y, Image* image)
{
    GameNode::setPosition(x, y);
    setImage(image);
}

Sprite::Sprite(int x, int y, int w, int h)
{
    GameNode::setPosition(x, y);
    setSize(w, h);
}

Sprite::Sprite(const Sprite& other)
    : GameNode(static_cast<const GameNode&>(other)), IRenderable(), ImageContainer(), width(other.width),
      height(other.height), rotation(other.rotation), scale(other.scale), frameCount(other.frameCount),
      frameOffsetX(other.frameOffsetX), frameOffsetY(other.frameOffsetY), reverseFrames(other.reverseFrames),
      frameWrapStyle(other.frameWrapStyle), alpha(other.alpha), colour(other.colour), smooth(other.smooth),
      anchor(other.anchor), anchorKind(other.anchorKind), pivot(other.pivot), pivotKind(other.pivotKind),
      pivotFollowsAnchor(other.pivotFollowsAnchor)
{
    currentFrame = other.currentFrame;
    clipRect = other.clipRect;
    currentSource = other.currentSource;
    stretchRect = other.stretchRect;
    if (Image* image = other.getImage()) {
        setImage(image);
        setFrameCount(other.frameCount, false);
    }
    setCurrentFrame(other.currentFrame);
    toolTip = other.toolTip;
}

Sprite::Sprite(AbstractProperty* configuration) : GameNode(configuration)
{
    configureSprite(configuration);
}

Sprite::~Sprite() = default;

void Sprite::configureSprite(AbstractProperty* configuration)
{
    const PropertyNode* props = configuration ? configuration->asNode() : DUMMY_NODE;
    if (props->hasChild("image")) {
        const std::string imageName = props->getString("image");
        const std::string section = props->getString("section");
        Image* image = imageLookup ? imageLookup(imageName, section) : nullptr;
        if (image)
            setImage(image);
        else
            logLine(LogLevel::Warning, "Sprite \"" + getName() + "\": no image \"" + imageName + "\" in section \"" +
                                           section + "\"");
    }
    if (props->hasChild("width"))
        setWidth(props->getInt("width"));
    if (props->hasChild("height"))
        setHeight(props->getInt("height"));
    if (props->hasChild("alpha"))
        setAlpha(props->getInt("alpha"));
    if (props->hasChild("color"))
        setColor(static_cast<uint32_t>(props->getInt("color")));
    frameOffsetX = props->getInt("frameoffset_x", frameOffsetX);
    frameOffsetY = props->getInt("frameoffset_y", frameOffsetY);
    frameCount = props->getInt("framecount", frameCount);
    if (props->hasChild("currentframe"))
        setCurrentFrame(props->getInt("currentframe"));
    reverseFrames = props->getBool("reverseframes", reverseFrames);
    frameWrapStyle = props->getKeywordIndex("framewrapstyle", wrapStyleNames, 3, frameWrapStyle);
    if (props->hasChild("frametime")) {
        RefPointer<Modifier> animation(new ModifierFrame(-1, props->getInt("frametime")));
        addModifier(this, animation.get());
    }
    if (props->hasChild("anchorpoint_x")) {
        setAnchorPointXY(props->getFloat("anchorpoint_x"), props->getFloat("anchorpoint_y"));
    } else if (props->hasChild("anchorpoint")) {
        const int kind = props->getKeywordIndex("anchorpoint", anchorNames, 9, -1);
        if (kind >= 0)
            setAnchorPoint(kind);
    }
    if (props->hasChild("tooltip") && BasicProperties::instance)
        setToolTip(BasicProperties::instance->getText(props->getString("tooltip")));
    if (frameCount >= 2 && props->getBool("initanimation", true))
        setFrameCount(frameCount, props->getBool("horizontalframelayout", false));
    smooth = props->getBool("smooth", smooth);
}

void Sprite::setX(int value)
{
    GameNode::setX(value);
    if (stretchRect)
        setStretchWidth(stretchRect->width);
}

void Sprite::setY(int value)
{
    GameNode::setY(value);
    if (stretchRect)
        setStretchHeight(stretchRect->height);
}

void Sprite::setRemoved(bool value)
{
    if (value != removed)
        dirty = true;
    GameNode::setRemoved(value);
}

void Sprite::setVisible(bool value)
{
    if (value != visible)
        dirty = true;
    GameNode::setVisible(value);
}

Interface* Sprite::getInterface(const ClassRecord* record)
{
    if (record == &IRenderable::classRecord)
        return static_cast<IRenderable*>(this);
    return GameNode::getInterface(record);
}

Sprite::PointF2 Sprite::computeAnchorPoint(int kind, int frameWidth, int frameHeight)
{
    const float w = static_cast<float>(frameWidth);
    const float h = static_cast<float>(frameHeight);
    switch (kind) {
    case Top:
        return {w / 2, 0};
    case TopRight:
        return {w, 0};
    case Left:
        return {0, h / 2};
    case Center:
        return {w / 2, h / 2};
    case Right:
        return {w, h / 2};
    case BottomLeft:
        return {0, h};
    case Bottom:
        return {w / 2, h};
    case BottomRight:
        return {w, h};
    default:
        return {0, 0};
    }
}

void Sprite::updateAnchorOffsets()
{
    if (anchorKind != Custom)
        anchor = computeAnchorPoint(anchorKind, width, height);
    if (pivotKind != Custom)
        pivot = computeAnchorPoint(pivotKind, width, height);
}

void Sprite::setWidth(int value)
{
    width = value;
    updateAnchorOffsets();
    dirty = true;
    if (stretchRect)
        setStretchWidth(stretchRect->width);
}

void Sprite::setHeight(int value)
{
    height = value;
    updateAnchorOffsets();
    dirty = true;
    if (stretchRect)
        setStretchHeight(stretchRect->height);
}

void Sprite::setSize(int newWidth, int newHeight)
{
    setWidth(newWidth);
    setHeight(newHeight);
}

void Sprite::setCurrentFrame(int frame)
{
    if (!frameZeroSource)
        return;
    if (frame == currentFrame && currentSource)
        return;
    currentFrame = frame;
    Rect source = *frameZeroSource;
    source.x += frame * frameOffsetX;
    source.y += frame * frameOffsetY;
    currentSource = source;
    dirty = true;
}

void Sprite::setRotation(float value)
{
    if (value != rotation) {
        rotation = value;
        dirty = true;
    }
}

void Sprite::setScale(float value)
{
    if (value != scale) {
        scale = value;
        dirty = true;
    }
}

void Sprite::setFrameCount(int count, bool horizontal)
{
    if (count >= 0)
        frameCount = count;
    // A count of 0 would divide by zero; it lays out one frame.
    const int frames = std::max(frameCount, 1);
    Image* image = getImage();
    const int imageWidth = image ? image->getWidth() : width;
    const int imageHeight = image ? image->getHeight() : height;
    if (horizontal) {
        const int frameWidth = imageWidth / frames;
        setWidth(frameWidth);
        frameZeroSource = Rect {0, 0, frameWidth, imageHeight};
        frameOffsetX = frameWidth;
        frameOffsetY = 0;
    } else {
        const int frameHeight = imageHeight / frames;
        setHeight(frameHeight);
        frameZeroSource = Rect {0, 0, imageWidth, frameHeight};
        frameOffsetX = 0;
        frameOffsetY = frameHeight;
    }
    currentSource = frameZeroSource;
    currentFrame = 0;
    dirty = true;
    setCurrentFrame(0);
}

void Sprite::nextFrame()
{
    const int frames = std::max(frameCount, 1);
    int frame = currentFrame + (reverseFrames ? -1 : 1);
    if (frame >= frames) {
        if (frameWrapStyle == WrapSwitch) {
            frame -= 2;
            reverseFrames = !reverseFrames;
        } else if (frameWrapStyle == WrapLoop) {
            frame = 0;
        }
    }
    if (frame < 0) {
        if (frameWrapStyle == WrapSwitch) {
            frame += 2;
            reverseFrames = !reverseFrames;
        } else if (frameWrapStyle == WrapLoop) {
            frame = frames - 1;
        }
    }
    if (frame < 0 || frame >= frames)
        frame = 0;
    setCurrentFrame(frame);
}

void Sprite::setToolTip(const WString& text)
{
    if (text.empty())
        toolTip.reset();
    else
        toolTip = text;
}

bool Sprite::containsPoint(int px, int py)
{
    const int localX = px + rounding::halfEven(anchor.x) - getOriginX() - getX();
    const int localY = py + rounding::halfEven(anchor.y) - getOriginY() - getY();
    return localX >= 0 && localX < width && localY >= 0 && localY < height;
}

void Sprite::setAlpha(int value)
{
    if (value != alpha) {
        alpha = value;
        dirty = true;
    }
}

void Sprite::setColor(uint32_t value)
{
    if (value != colour) {
        colour = value;
        dirty = true;
    }
}

void Sprite::setSmooth(bool value)
{
    if (value != smooth) {
        smooth = value;
        dirty = true;
    }
}

int Sprite::getLeft() const
{
    return getX() - rounding::truncate(anchor.x);
}

int Sprite::getTop() const
{
    return getY() - rounding::truncate(anchor.y);
}

void Sprite::setImage(Image* image)
{
    if (image == getImage())
        return;
    ImageContainer::setImage(image);
    if (image)
        setSize(image->getWidth(), image->getHeight());
    else
        setSize(0, 0);
    dirty = true;
    if (image)
        setFrameCount(image->getFrameCount(), false);
}

void Sprite::setAnchorPoint(int kind)
{
    if (kind != anchorKind) {
        anchorKind = kind;
        if (kind != Custom)
            anchor = computeAnchorPoint(kind, width, height);
        dirty = true;
    }
    if (pivotFollowsAnchor)
        setPivotPointKind(kind);
}

void Sprite::setPivotPointKind(int kind)
{
    if (kind != pivotKind) {
        pivotKind = kind;
        if (kind != Custom)
            pivot = computeAnchorPoint(kind, width, height);
        dirty = true;
    }
}

void Sprite::setAnchorPointXY(float x, float y)
{
    if (!(anchorKind == Custom && anchor.x == x && anchor.y == y)) {
        anchorKind = Custom;
        anchor = {x, y};
        dirty = true;
    }
    if (pivotFollowsAnchor)
        setPivotPoint(x, y);
}

void Sprite::setPivotPoint(float x, float y)
{
    if (!(pivotKind == Custom && pivot.x == x && pivot.y == y)) {
        pivotKind = Custom;
        pivot = {x, y};
        dirty = true;
    }
}

void Sprite::setAnchorPointKeepingPosition(Sprite* sprite, int kind)
{
    if (!sprite)
        return;
    const int oldX = rounding::truncate(sprite->anchor.x);
    const int oldY = rounding::truncate(sprite->anchor.y);
    sprite->setAnchorPoint(kind);
    const int newX = rounding::truncate(sprite->anchor.x);
    const int newY = rounding::truncate(sprite->anchor.y);
    sprite->setPosition(sprite->getX() + newX - oldX, sprite->getY() + newY - oldY);
}

void Sprite::setOptionalRect(std::optional<Rect>& target, const Rect& value)
{
    if (target && *target == value)
        return;
    target = value;
    dirty = true;
}

void Sprite::setClipRect(int x, int y, int w, int h)
{
    setOptionalRect(clipRect, Rect {x, y, w, h});
}

void Sprite::clearClipRect()
{
    if (clipRect) {
        clipRect.reset();
        dirty = true;
    }
}

void Sprite::clearStretchRect()
{
    if (stretchRect) {
        stretchRect.reset();
        dirty = true;
    }
}

void Sprite::setStretchWidth(int w)
{
    // offset = pivot - w * pivot / w0 - anchor: the pivot stays put
    double offset = width != 0 ? pivot.x - static_cast<double>(w) * pivot.x / width : pivot.x;
    offset -= anchor.x;
    const int left = getX() + rounding::halfEven(offset);
    if (stretchRect) {
        if (w != stretchRect->width)
            dirty = true;
        stretchRect->x = left;
        stretchRect->width = w;
    } else {
        stretchRect = Rect {left, getY() + rounding::halfEven(pivot.y - anchor.y), w, height};
        dirty = true;
    }
}

void Sprite::setStretchHeight(int h)
{
    double offset = height != 0 ? pivot.y - static_cast<double>(h) * pivot.y / height : pivot.y;
    offset -= anchor.y;
    const int top = getY() + rounding::halfEven(offset);
    if (stretchRect) {
        if (h != stretchRect->height)
            dirty = true;
        stretchRect->y = top;
        stretchRect->height = h;
    } else {
        stretchRect = Rect {getX() + rounding::halfEven(pivot.x - anchor.x), top, width, h};
        dirty = true;
    }
}

void Sprite::setStretchSize(int w, int h)
{
    setStretchWidth(w);
    setStretchHeight(h);
}

void Sprite::render(Graphics* graphics)
{
    renderShifted(graphics, 0, 0);
}

void Sprite::renderShifted(Graphics* graphics, int shiftX, int shiftY)
{
    Image* image = getImage();
    if (!image || !graphics) {
        dirty = false;
        return;
    }
    const int savedAlpha = graphics->getAlpha();
    const uint32_t savedColour = graphics->getColour();
    const bool savedSmoothing = graphics->isSmoothing();
    graphics->setAlpha(alpha);
    graphics->setColour(colour);
    graphics->setSmoothing(smooth);

    int left = getX() - rounding::halfEven(anchor.x) + shiftX;
    int top = getY() - rounding::halfEven(anchor.y) + shiftY;

    std::optional<Rect> savedClip;
    if (clipRect) {
        // The clip is relative to the parent's origin, which is where the
        // graphics' offset stands while this sprite draws: on screen the sum
        // of the ancestors' positions, inside a dialog's buffer a point of the buffer.
        savedClip = graphics->getClipRect();
        graphics->setClip(clipRect->x + graphics->getOffsetX(), clipRect->y + graphics->getOffsetY(),
                          clipRect->width, clipRect->height);
    }

    // A frame outside the image (a bad frame count or current frame) is cut
    // to the image; what is left keeps its place on screen.
    const Rect whole {0, 0, image->getWidth(), image->getHeight()};
    const Rect wanted = currentSource ? *currentSource : whole;
    const Rect source = wanted.intersected(whole);
    if (!source.isEmpty()) {
        if (rotation == 0.0f && scale == 1.0f) {
            if (!stretchRect) {
                graphics->blit(image, left + source.x - wanted.x, top + source.y - wanted.y, source);
            } else {
                graphics->blitScaled(image, source.x, source.y, source.width, source.height, stretchRect->x + shiftX,
                                     stretchRect->y + shiftY, stretchRect->width, stretchRect->height);
            }
        } else {
            graphics->blitRotated(image, rotation, scale, left + source.x - wanted.x, top + source.y - wanted.y,
                                  source.x, source.y, source.width, source.height, rounding::halfEven(pivot.x),
                                  rounding::halfEven(pivot.y));
        }
    }

    graphics->setSmoothing(savedSmoothing);
    graphics->setAlpha(savedAlpha);
    graphics->setColour(savedColour);
    if (savedClip)
        graphics->setClip(*savedClip);
    dirty = false;
}

uint8_t* Sprite::pixelAddress(Image* image, int x, int y)
{
    return image->getPixels() + static_cast<std::ptrdiff_t>(y) * image->getPitch() +
           static_cast<std::ptrdiff_t>(x) * image->getBytesPerPixel();
}

uint8_t* Sprite::maskPixelAddress(Image* image, int x, int y)
{
    return image->getAlphaPlane() + static_cast<std::ptrdiff_t>(y) * image->getWidth() + x;
}
