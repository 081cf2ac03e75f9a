#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/RefPointer.h"
#include "framework/core/StringUtils.h"
#include "framework/graphics/BitmapFont.h"
#include "framework/graphics/LabelLine.h"
#include "framework/scenegraph/Sprite.h"

// Where a label draws its text image relative to its own placement, and the
// size of the laid-out text block.
struct TextRect {
    int32_t offsetX = 0;
    int32_t offsetY = 0;
    int32_t width = 0;
    int32_t height = 0;
};

class PropertyNode;

// A sprite whose image is its text drawn in a bitmap font. The text is broken
// into lines (wrapped or truncated to the label's width, or not at all),
// rendered once into an image of the screen's pixel format, and drawn like any
// sprite until something that changes the layout is set.
class Label : public Sprite {
    TT_CLASS_RECORD(Label)
public:
    enum PadStyle : int32_t { PadOffset = 0, PadNone = 1 };

    // Sprite keys, then "font"/"section", "color" (or "color0", "color1", ...),
    // "wrapstyle", "padstyle", "alignh", "autofitheight", "lineheight" and the
    // text from "text", "value" or the text named by "textid".
    explicit Label(AbstractProperty* configuration);
    Label(BitmapFont* font, int32_t x, int32_t y, int32_t width, int32_t height, int32_t wrapStyle = 0);
    ~Label() override;

    // The font named by "font" in "section" of a label's settings; null (with a
    // warning naming `owner`) when it is not loaded.
    static RefPointer<BitmapFont> findConfiguredFont(const PropertyNode* node, const std::string& owner);
    // The text of "text", else "value", else the text named by "textid"; false
    // when the settings name none.
    static bool readConfiguredText(const PropertyNode* node, WString& text);
    // The text with each backslash-n escape turned into a line break.
    static WString withLineBreaks(const WString& text);

    void setWidth(int value) override;
    // The padding offset depends on the anchor: these mark the layout dirty
    // when the anchor changes. (A change made through the sprite's own
    // setters is noticed at the next layout as well.)
    void setAnchorPoint(int kind);
    void setAnchorPointXY(float x, float y);
    void setAnchorPointPt(const PointF2& point) { setAnchorPointXY(point.x, point.y); }
    // The named anchor (2 top right, 4 centre, ...), as setAnchorPoint.
    void setAnchorStyle(int kind) { setAnchorPoint(kind); }
    void setImage(Image* image) override;
    // Lays out when needed, then draws the text image shifted by the padding offset.
    void render(Graphics* graphics) override;

    // A plain label has no vertical alignment; the styled label passes its own through.
    virtual int32_t getAlignV() const { return 0; }
    virtual void setAlignV(int32_t /*value*/) {}
    virtual int32_t getAlignH() const { return alignH; }
    virtual void setAlignH(int32_t value);
    virtual const TextRect& getTextRect() const { return textRect; }
    // "\n" written as backslash and n becomes a line break; an equal text changes nothing.
    virtual void setText(const WString& text);
    virtual const WString& getText() const { return text; }
    virtual void setFont(BitmapFont* newFont);
    virtual BitmapFont* getFont() const { return font.get(); }
    virtual void setLayerColor(uint32_t colour, int32_t layer);
    virtual void setWrapStyle(int32_t value);
    virtual int32_t getWrapStyle() const { return wrapStyle; }
    // Rebuilds the lines and the image when something changed since the last layout.
    virtual void updateLayout();

    // The configured line height when above 0 (or without a font), else the font's.
    int32_t getLineHeight() const;
    const std::vector<LabelLine>& getLines() const { return lines; }
    const std::vector<uint32_t>& getLayerColors() const { return layerColors; }
    int32_t getPadStyle() const { return padStyle; }
    void setPadStyle(int32_t value);
    bool getAutoFitHeight() const { return autoFitHeight; }
    void setAutoFitHeight(bool value);
    void setLineHeight(int32_t value);
    bool isLayoutDirty() const { return layoutDirty; }
    // The colour the text image is filled with under its glyphs.
    uint32_t getTextColour() const;

protected:
    // False for labels whose text someone else draws (the words of a styled
    // text): they are laid out and sized, but render no image of their own.
    virtual bool drawsOwnImage() const { return true; }

private:
    // Also marks the sprite dirty, so that a buffer holding the label's picture redraws it.
    void markDirty()
    {
        layoutDirty = true;
        setDirty(true);
    }
    void layOut();
    void renderTextImage();

    std::vector<LabelLine> lines;
    bool layoutDirty = true;
    int32_t laidOutAnchorKind = -1;
    std::vector<uint32_t> layerColors;
    RefPointer<BitmapFont> font;
    WString text;
    TextRect textRect;
    int32_t wrapStyle = 0;
    int32_t alignH = 0;
    int32_t padStyle = PadOffset;
    bool autoFitHeight = true;
    int32_t lineHeight = 0;
};
