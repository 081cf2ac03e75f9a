#include "game/effects/LettersLabel.h"

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/graphics/BitmapFont.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/scenegraph/Rounding.h"

TT_DEFINE_RECORD(LettersLabel, &Label::classRecord);

TT_REGISTER_CLASS(LettersLabel);

LettersLabel::LettersLabel(AbstractProperty* configuration) : Label(configuration) {}

LettersLabel::LettersLabel(Label* source)
    : Label(source ? source->getFont() : nullptr, source ? source->getX() : 0, source ? source->getY() : 0,
            source ? source->getWidth() : 0, source ? source->getHeight() : 0, source ? source->getWrapStyle() : 0)
{
    if (!source)
        return;
    setAnchorStyle(source->getAnchorKind());
    setAlignH(source->getAlignH());
    const std::vector<uint32_t>& colours = source->getLayerColors();
    for (size_t layer = 0; layer < colours.size(); ++layer)
        setLayerColor(colours[layer], static_cast<int32_t>(layer));
    setText(source->getText());
}

LettersLabel::~LettersLabel()
{
    clearLetters();
}

void LettersLabel::setText(const WString& text)
{
    Label::setText(text);
    lettersDirty = true;
}

void LettersLabel::render(Graphics*)
{
    if (!lettersDirty)
        return;
    lettersDirty = false;
    clearLetters();
    if (getFont())
        buildLetters();
}

void LettersLabel::clearLetters()
{
    for (const RefPointer<Sprite>& letter : letters)
        letter->setRemoved(true);
    letters.clear();
}

void LettersLabel::buildLetters()
{
    clearLetters();
    updateLayout();
    lettersDirty = false;
    BitmapFont* font = getFont();
    if (!font)
        return;
    const int32_t pad = font->getMaxPadding();
    const TextRect& rect = getTextRect();
    const std::vector<uint32_t>& colours = getLayerColors();
    for (const LabelLine& line : getLines()) {
        GlyphLayout layout;
        font->measureText(line.text, layout, 0, -1);
        // Rounded as a sprite places its image about its anchor, so each letter covers its glyph exactly.
        const int originX = rect.offsetX - rounding::halfEven(getAnchorPoint().x) - pad + line.x;
        const int originY = rect.offsetY - rounding::halfEven(getAnchorPoint().y) - pad + line.y;
        for (size_t j = 0; j < layout.boxes.size() && j < line.text.size(); ++j) {
            const char16_t ch = line.text[j];
            const Glyph* glyph = font->hasGlyph(ch) ? font->findGlyph(ch) : nullptr;
            // Spaces and characters the font lacks get no letter.
            if (ch == u' ' || !glyph || glyph->sw <= 0 || glyph->sh <= 0)
                continue;
            RefPointer<Image> image = Image::createForScreen(glyph->sw + 2 * pad, glyph->sh + 2 * pad);
            if (!image)
                continue;
            if (RefPointer<Graphics> graphics = image->getGraphics()) {
                graphics->setFont(font);
                graphics->setColour(getTextColour());
                graphics->clear();
                graphics->fillChannel(Graphics::ChannelAlpha, 0, 0, 0);
                // A text of one character puts its glyph at the padding, lowered by its bearing.
                graphics->drawText(WString(1, ch), 0, -glyph->by, colours);
            }
            const CharBox& box = layout.boxes[j];
            RefPointer<Sprite> letter(new Sprite(originX + box.left, originY + box.top, image.get()));
            letter->setPivotPointKind(Sprite::Center);
            GameNode::addChild(this, letter.get());
            letter->setRemoved(false);
            letters.push_back(letter);
        }
    }
}
