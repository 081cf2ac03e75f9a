#include "framework/gui/ToolTipLabel.h"

#include <algorithm>

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/graphics/Graphics.h"

TT_DEFINE_RECORD(ToolTipLabel, &Label::classRecord);
TT_REGISTER_CLASS(ToolTipLabel);

ToolTipLabel::ToolTipLabel(AbstractProperty* properties) : Label(properties)
{
    PropertyNode* node = properties ? properties->asNode() : DUMMY_NODE;
    maxWidth = getWidth();
    backgroundColour = static_cast<uint32_t>(node->getInt("backgroundcolor", static_cast<int>(backgroundColour)));
    borderColour = static_cast<uint32_t>(node->getInt("bordercolor", static_cast<int>(borderColour)));
    padding = node->getInt("padding", padding);
    maxWidth = node->getInt("maxwidth", maxWidth);
    if (getWidth() > 0 && maxWidth != 0 && getWrapStyle() != 1)
        setWrapStyle(1);
}

void ToolTipLabel::setToolTip(const WString& text)
{
    if (maxWidth > 0)
        setWidth(maxWidth);
    setText(text);
    if (maxWidth > 0) {
        updateLayout();
        int widest = 0;
        for (const LabelLine& line : getLines())
            widest = std::max(widest, static_cast<int>(line.width));
        setWidth(widest);
        updateLayout();
    }
}

void ToolTipLabel::render(Graphics* graphics)
{
    if (!graphics)
        return;
    updateLayout();
    const int alpha = graphics->getAlpha();
    const uint32_t colour = graphics->getColour();
    const int w = getWidth();
    const int h = getHeight();
    const int x = getLeft();
    const int y = getTop();
    graphics->setAlpha(getAlpha());
    graphics->setColour(0xFF000000u | borderColour);
    graphics->drawRect(x - padding, y - padding, w + 2 * padding, h + 2 * padding);
    graphics->setColour(0xFF000000u | backgroundColour);
    graphics->fillRect(x + 1 - padding, y + 1 - padding, w + 2 * padding - 2, h + 2 * padding - 2);
    graphics->setColour(colour);
    graphics->setAlpha(alpha);
    Label::render(graphics);
}
