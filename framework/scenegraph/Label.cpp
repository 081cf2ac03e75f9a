#include "framework/scenegraph/Label.h"

#include <algorithm>

#include "framework/core/BasicProperties.h"
#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/graphics/Graphics.h"
#include "framework/resources/ResourceLookup.h"
#include "framework/scenegraph/LabelLayout.h"

TT_DEFINE_RECORD(Label, &Sprite::classRecord);
TT_REGISTER_CLASS(Label);

namespace {

const char* const kWrapStyles[] = {"autowidth", "wordwrap", "truncate"};
const char* const kPadStyles[] = {"offset", "none"};
const char* const kAlignments[] = {"left", "center", "right"};
// Colour keys "color0", "color1", ... are read up to this many layers.
constexpr int32_t kMaxLayerColours = 64;

// Which way the padding pushes the text for anchor kinds 0 to 8.
constexpr int32_t kPadDirectionX[9] = {-1, 0, 1, -1, 0, 1, -1, 0, 1};
constexpr int32_t kPadDirectionY[9] = {-1, -1, -1, 0, 0, 0, 1, 1, 1};

} // namespace

Label::Label(AbstractProperty* configuration) : Sprite(configuration)
{
    const PropertyNode* node = configuration ? configuration->asNode() : DUMMY_NODE;
    if (node->hasChild("font"))
        setFont(findConfiguredFont(node, "label").get());
    if (node->hasChild("color")) {
        setLayerColor(static_cast<uint32_t>(node->getInt("color")), 0);
    } else {
        for (int32_t layer = 0; layer < kMaxLayerColours; ++layer) {
            const std::string key = "color" + intToString(layer);
            if (!node->hasChild(key))
                break;
            setLayerColor(static_cast<uint32_t>(node->getInt(key)), layer);
        }
    }
    wrapStyle = node->getKeywordIndex("wrapstyle", kWrapStyles, 3, node->hasChild("wrapstyle") ? -1 : 0);
    padStyle = node->getKeywordIndex("padstyle", kPadStyles, 2, node->hasChild("padstyle") ? -1 : 0);
    alignH = node->getKeywordIndex("alignh", kAlignments, 3, node->hasChild("alignh") ? -1 : 0);
    if (node->hasChild("autofitheight"))
        autoFitHeight = node->getBool("autofitheight");
    if (node->hasChild("lineheight"))
        lineHeight = node->getInt("lineheight");
    WString configured;
    if (readConfiguredText(node, configured))
        setText(configured);
}

WString Label::withLineBreaks(const WString& text)
{
    WString result = text;
    replaceAll(result, u"\\n", u"\n");
    return result;
}

RefPointer<BitmapFont> Label::findConfiguredFont(const PropertyNode* node, const std::string& owner)
{
    const std::string name = node->getString("font");
    const std::string section = node->getString("section");
    RefPointer<BitmapFont> found = ResourceLookup::findAs<BitmapFont>(name, section);
    if (!found)
        LOG_WARNING(owner + ": no font \"" + name + "\" in section \"" + section + "\"");
    return found;
}

bool Label::readConfiguredText(const PropertyNode* node, WString& text)
{
    if (node->hasChild("text"))
        text = node->getWString("text");
    else if (node->hasChild("value"))
        text = node->getWString("value");
    else if (node->hasChild("textid") && BasicProperties::instance)
        text = BasicProperties::instance->getText(node->getString("textid"));
    else
        return false;
    return true;
}

Label::Label(BitmapFont* font, int32_t x, int32_t y, int32_t width, int32_t height, int32_t wrapStyle)
    : Sprite(x, y, width, height), font(font), wrapStyle(wrapStyle)
{
}

Label::~Label() = default;

void Label::setWidth(int value)
{
    if (value == getWidth())
        return;
    Sprite::setWidth(value);
    markDirty();
}

void Label::setAnchorPoint(int kind)
{
    if (kind == getAnchorKind())
        return;
    Sprite::setAnchorPoint(kind);
    markDirty();
}

void Label::setAnchorPointXY(float x, float y)
{
    if (getAnchorKind() == Custom && x == getAnchorPoint().x && y == getAnchorPoint().y)
        return;
    Sprite::setAnchorPointXY(x, y);
    markDirty();
}

void Label::setAlignH(int32_t value)
{
    if (value == alignH)
        return;
    alignH = value;
    markDirty();
}

void Label::setText(const WString& newText)
{
    WString converted = withLineBreaks(newText);
    if (converted == text)
        return;
    text = std::move(converted);
    markDirty();
}

void Label::setFont(BitmapFont* newFont)
{
    font = newFont;
    markDirty();
}

void Label::setLayerColor(uint32_t colour, int32_t layer)
{
    if (layer < 0 || layer >= kMaxLayerColours)
        return;
    if (layerColors.size() <= static_cast<size_t>(layer))
        layerColors.resize(static_cast<size_t>(layer) + 1, 0);
    if (layerColors[static_cast<size_t>(layer)] == colour)
        return;
    layerColors[static_cast<size_t>(layer)] = colour;
    markDirty();
}

void Label::setWrapStyle(int32_t value)
{
    if (value == wrapStyle)
        return;
    wrapStyle = value;
    markDirty();
}

void Label::setPadStyle(int32_t value)
{
    if (value == padStyle)
        return;
    padStyle = value;
    markDirty();
}

void Label::setAutoFitHeight(bool value)
{
    if (value == autoFitHeight)
        return;
    autoFitHeight = value;
    markDirty();
}

void Label::setLineHeight(int32_t value)
{
    if (value == lineHeight)
        return;
    lineHeight = value;
    markDirty();
}

int32_t Label::getLineHeight() const
{
    if (lineHeight > 0 || !font)
        return lineHeight;
    return font->getLineHeight();
}

uint32_t Label::getTextColour() const
{
    if (!font)
        return 0;
    if (font->isMaskFont() && !layerColors.empty())
        return layerColors[0];
    return font->getTopLayerColour();
}

void Label::updateLayout()
{
    if (getAnchorKind() != laidOutAnchorKind)
        layoutDirty = true;
    if (!layoutDirty)
        return;
    laidOutAnchorKind = getAnchorKind();
    layOut();
    layoutDirty = false;
}

void Label::layOut()
{
    if (!font) {
        setImage(nullptr);
        textRect = TextRect();
        lines.clear();
        return;
    }
    const int32_t width = getWidth();
    const int32_t h = getLineHeight();
    const int32_t widest = LabelLayout::placeLines(
        *font, LabelLayout::breakLines(*font, text, wrapStyle, width), alignH, h, lines);

    textRect = TextRect();
    textRect.width = widest;
    textRect.height = lines.empty() ? 0
                                    : font->getDerivedLineHeight() + static_cast<int32_t>(lines.size() - 1) * h;
    const int32_t padding = font->getMaxPadding();
    const int32_t anchor = getAnchorKind();
    if (padStyle == PadOffset && anchor >= 0 && anchor <= 8) {
        textRect.offsetX = padding * kPadDirectionX[anchor];
        textRect.offsetY = padding * kPadDirectionY[anchor];
    }
    if (wrapStyle != LabelLayout::WrapAutoWidth) {
        if (alignH == LabelLayout::AlignCenter)
            textRect.offsetX += (width - widest) / 2;
        else if (alignH == LabelLayout::AlignRight)
            textRect.offsetX += width - widest;
    }

    if (wrapStyle != LabelLayout::WrapAutoWidth && width <= 0) {
        setImage(nullptr);
        return;
    }
    renderTextImage();
}

void Label::renderTextImage()
{
    int32_t imageWidth = textRect.width;
    if (wrapStyle != LabelLayout::WrapAutoWidth)
        imageWidth = std::min(imageWidth, getWidth());
    int32_t imageHeight = textRect.height;
    if (!autoFitHeight)
        imageHeight = std::min(imageHeight, getHeight());
    if (imageWidth <= 0 || imageHeight <= 0) {
        setImage(nullptr);
        return;
    }
    if (!drawsOwnImage()) {
        // Sized as the image would make it, without drawing one.
        setImage(nullptr);
        if (wrapStyle == LabelLayout::WrapAutoWidth)
            Sprite::setWidth(imageWidth);
        if (autoFitHeight)
            Sprite::setHeight(imageHeight);
        return;
    }
    RefPointer<Image> image = Image::createForScreen(imageWidth, imageHeight);
    if (!image) {
        LOG_WARNING("label: text image of " + intToString(imageWidth) + " x " + intToString(imageHeight) +
                    " pixels refused");
        setImage(nullptr);
        return;
    }
    setImage(image.get());
    RefPointer<Graphics> graphics = image->getGraphics();
    if (!graphics)
        return;
    const uint32_t colour = getTextColour();
    graphics->setFont(font.get());
    graphics->setColour(colour);
    // Transparent pixels carry the text colour, so glyph edges never blend
    // towards black when the image is drawn.
    graphics->clear();
    graphics->fillChannel(Graphics::ChannelAlpha, 0, 0, 0);
    graphics->drawTextLines(lines, layerColors);
}

void Label::setImage(Image* image)
{
    const int32_t width = getWidth();
    const int32_t height = getHeight();
    Sprite::setImage(image);
    // The label keeps its own box where the layout fixes it (no re-layout).
    if (wrapStyle != LabelLayout::WrapAutoWidth)
        Sprite::setWidth(width);
    if (!autoFitHeight)
        Sprite::setHeight(height);
}

void Label::render(Graphics* graphics)
{
    updateLayout();
    if (!graphics)
        return;
    renderShifted(graphics, textRect.offsetX, textRect.offsetY);
}
