#pragma once

#include <optional>
#include <string>

#include "framework/core/StringUtils.h"
#include "framework/graphics/Geometry.h"
#include "framework/graphics/ImageContainer.h"
#include "framework/scenegraph/GameNode.h"
#include "framework/scenegraph/IRenderable.h"

class Image;

// The drawable node: shows an image, or one frame of a strip of equally sized
// frames inside it, with alpha, colour, smoothing, rotation and scale, an
// anchor (the point that sits at the node's position), a pivot (the fixed
// point of rotation and stretching), and optional clip and stretch
// rectangles. A dirty flag tells cached containers that the picture changed.
class Sprite : public GameNode, public IRenderable, public ImageContainer {
    TT_CLASS_RECORD(Sprite)
public:
    // Named anchor and pivot positions inside a frame; Custom keeps the point as set.
    enum AnchorKind : int {
        TopLeft = 0,
        Top = 1,
        TopRight = 2,
        Left = 3,
        Center = 4,
        Right = 5,
        BottomLeft = 6,
        Bottom = 7,
        BottomRight = 8,
        Custom = 9
    };
    enum FrameWrapStyle : int { WrapOnce = 0, WrapSwitch = 1, WrapLoop = 2 };

    struct PointF2 {
        float x = 0.0f;
        float y = 0.0f;
    };

    // Finds an image resource by name and section for the "image" key; the
    // resource layer installs it. Returns null for an unknown image.
    using ImageLookup = Image* (*)(const std::string& name, const std::string& section);
    static void setImageLookup(ImageLookup lookup);
    static ImageLookup getImageLookup();

    explicit Sprite(const std::string& name = std::string());
    Sprite(int x, int y, Image* image);
    Sprite(int x, int y, int width, int height);
    Sprite(const Sprite& other);
    explicit Sprite(AbstractProperty* configuration);
    ~Sprite() override;

    // GameNode
    void setX(int value) override;
    void setY(int value) override;
    void setRemoved(bool value) override;
    void setVisible(bool value) override;
    Interface* getInterface(const ClassRecord* record) override;

    virtual void setWidth(int value);
    virtual void setHeight(int value);
    virtual void setSize(int newWidth, int newHeight);
    virtual void setCurrentFrame(int frame);
    virtual void setRotation(float value);
    virtual float getRotation() const { return rotation; }
    virtual void setScale(float value);
    virtual float getScale() const { return scale; }
    // Lays out `count` frames side by side or stacked (a negative count keeps
    // the stored one) and shows frame 0.
    virtual void setFrameCount(int count, bool horizontal);
    // An empty text drops the tooltip.
    virtual void setToolTip(const WString& text);
    // Hit test in screen coordinates against the unrotated, unstretched frame.
    virtual bool containsPoint(int px, int py);
    virtual void setAlpha(int value);
    virtual void setColor(uint32_t value);
    // Position minus the anchor offset truncated toward zero.
    virtual int getLeft() const;
    virtual int getTop() const;

    // ImageContainer: lays the sprite out for the new image.
    void setImage(Image* image) override;
    // IRenderable
    void render(Graphics* graphics) override;

    int getWidth() const { return width; }
    int getHeight() const { return height; }
    int getCurrentFrame() const { return currentFrame; }
    int getFrameCount() const { return frameCount; }
    int getFrameOffsetX() const { return frameOffsetX; }
    int getFrameOffsetY() const { return frameOffsetY; }
    bool isReverseFrames() const { return reverseFrames; }
    void setReverseFrames(bool value) { reverseFrames = value; }
    int getFrameWrapStyle() const { return frameWrapStyle; }
    void setFrameWrapStyle(int style) { frameWrapStyle = style; }
    // Steps to the next frame by the wrap style (called by ModifierFrame).
    void nextFrame();
    int getAlpha() const { return alpha; }
    uint32_t getColor() const { return colour; }
    bool isSmooth() const { return smooth; }
    void setSmooth(bool value);
    bool isDirty() const { return dirty; }
    void setDirty(bool value) { dirty = value; }

    void setAnchorPoint(int kind);
    void setAnchorPointXY(float x, float y);
    void setAnchorPointPt(const PointF2& point) { setAnchorPointXY(point.x, point.y); }
    void setPivotPoint(float x, float y);
    void setPivotPointPt(const PointF2& point) { setPivotPoint(point.x, point.y); }
    // Sets a named pivot position.
    void setPivotPointKind(int kind);
    void setPivotFollowsAnchor(bool value) { pivotFollowsAnchor = value; }
    bool getPivotFollowsAnchor() const { return pivotFollowsAnchor; }
    PointF2 getAnchorPoint() const { return anchor; }
    int getAnchorKind() const { return anchorKind; }
    PointF2 getPivotPoint() const { return pivot; }
    int getPivotKind() const { return pivotKind; }
    // The offset of a named position inside a frame of the given size.
    static PointF2 computeAnchorPoint(int kind, int frameWidth, int frameHeight);
    // Changes the anchor and moves the node so the frame stays where it was.
    static void setAnchorPointKeepingPosition(Sprite* sprite, int kind);

    void setClipRect(int x, int y, int w, int h);
    const std::optional<Rect>& getClipRect() const { return clipRect; }
    void clearClipRect();
    void setStretchWidth(int w);
    void setStretchHeight(int h);
    // Both axes about the pivot, as setStretchWidth and setStretchHeight place them.
    void setStretchSize(int w, int h);
    const std::optional<Rect>& getStretchRect() const { return stretchRect; }
    void clearStretchRect();
    const std::optional<Rect>& getSourceRect() const { return currentSource; }
    const std::optional<WString>& getToolTip() const { return toolTip; }

    // Byte addresses of a pixel in a locked image and in its alpha plane.
    static uint8_t* pixelAddress(Image* image, int x, int y);
    static uint8_t* maskPixelAddress(Image* image, int x, int y);

protected:
    // Draws the picture moved by (shiftX, shiftY); the clip rectangle stays
    // where the parent's origin puts it.
    void renderShifted(Graphics* graphics, int shiftX, int shiftY);

private:
    void configureSprite(AbstractProperty* configuration);
    void updateAnchorOffsets();
    void setOptionalRect(std::optional<Rect>& target, const Rect& value);

    int currentFrame = 0;
    bool dirty = true;
    int width = 0;
    int height = 0;
    std::optional<Rect> frameZeroSource;
    std::optional<Rect> currentSource;
    std::optional<Rect> clipRect;
    std::optional<Rect> stretchRect;
    float rotation = 0.0f;
    float scale = 1.0f;
    int frameCount = 1;
    int frameOffsetX = 0;
    int frameOffsetY = 0;
    bool reverseFrames = false;
    int frameWrapStyle = WrapLoop;
    int alpha = 255;
    uint32_t colour = 0;
    bool smooth = false;
    PointF2 anchor;
    int anchorKind = TopLeft;
    PointF2 pivot;
    int pivotKind = TopLeft;
    bool pivotFollowsAnchor = true;
    std::optional<WString> toolTip;
};
