#include "framework/graphics/BitmapFont.h"

#include <algorithm>
#include <cmath>

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyValue.h"
#include "framework/core/PropertyVector.h"
#include "framework/graphics/Graphics.h"

TT_DEFINE_RECORD(BitmapFont, &Font::classRecord);
TT_REGISTER_CLASS(BitmapFont);

namespace {

// Glyph numbers beyond this are broken data; clamping them keeps every sum of
// a long text inside 32 bits.
constexpr int32_t kMetricLimit = 16384;
// Sheets hold at most this many glyphs (a side of 16384 pixels is the limit).
constexpr int32_t kMaxGlyphs = 65536;

int32_t readMetric(const PropertyNode* node, const char* key)
{
    return std::clamp(node->getInt(key), -kMetricLimit, kMetricLimit);
}

} // namespace

BitmapFont::BitmapFont(const AbstractProperty* configuration)
{
    const PropertyNode* node = configuration ? configuration->asNode() : DUMMY_NODE;
    if (node->getChild("charspacing"))
        charSpacing = readMetric(node, "charspacing");
    if (node->getChild("spacewidth")) {
        Glyph& space = glyphs[u' '];
        space = Glyph();
        space.sw = space.width = readMetric(node, "spacewidth");
    }
    if (node->getChild("lineheight"))
        lineHeight = readMetric(node, "lineheight");
    if (node->getChild("baseline"))
        baseline = readMetric(node, "baseline");
    if (const AbstractProperty* chars = node->getChild("chars"))
        readChars(chars);
    if (const AbstractProperty* kerning = node->getChild("kerning"))
        readKerning(kerning);
    completeMissingGlyph();
}

BitmapFont::~BitmapFont() = default;

void BitmapFont::readChars(const AbstractProperty* chars)
{
    const PropertyVector* list = chars->asVector();
    const int32_t count = std::min(list->getCount(), kMaxGlyphs);
    for (int32_t i = 0; i < count; ++i) {
        const PropertyNode* entry = list->getNodeAt(i);
        const int code = entry->getInt("c");
        if (code < 0 || code > 0xFFFF)
            continue;  // not a 16-bit character
        Glyph glyph;
        glyph.sx = std::clamp(entry->getInt("sx"), 0, kMetricLimit);
        glyph.sy = std::clamp(entry->getInt("sy"), 0, kMetricLimit);
        glyph.sw = std::clamp(entry->getInt("sw"), 0, kMetricLimit);
        glyph.sh = std::clamp(entry->getInt("sh"), 0, kMetricLimit);
        glyph.index = i;
        glyph.width = readMetric(entry, "width");
        glyph.by = readMetric(entry, "by");
        glyph.bx = readMetric(entry, "bx");
        maxGlyphBottom = std::max(maxGlyphBottom, glyph.by + glyph.sh);
        glyphs[static_cast<char16_t>(code)] = std::move(glyph);
    }
}

void BitmapFont::readKerning(const AbstractProperty* kerning)
{
    const PropertyVector* list = kerning->asVector();
    for (int32_t i = 0; i < list->getCount(); ++i) {
        const PropertyNode* entry = list->getNodeAt(i);
        const int32_t adjustment = readMetric(entry, "width");
        parseKerningText(entry->getWString("chars"), [&](char16_t leading, char16_t following) {
            glyphs[leading].kerning[following] = adjustment;
        });
    }
}

void BitmapFont::completeMissingGlyph()
{
    // A font without a space gets one a quarter of its glyph height wide, so
    // that words stay apart and the missing-glyph box stays visible.
    auto space = glyphs.find(u' ');
    if (space == glyphs.end()) {
        Glyph synthetic;
        synthetic.sw = synthetic.width = std::max(1, maxGlyphBottom / 4);
        space = glyphs.emplace(u' ', synthetic).first;
    }
    missingGlyph = Glyph();
    missingGlyph.index = -1;
    missingGlyph.sw = missingGlyph.width = 2 * space->second.width;
    int64_t sum = 0;
    for (const auto& entry : glyphs)
        sum += entry.second.bx;
    const int64_t count = static_cast<int64_t>(glyphs.size());
    missingGlyph.bx = static_cast<int32_t>(std::ceil(static_cast<double>(sum) / static_cast<double>(count)));
}

void BitmapFont::addLayer(FontLayer* layer)
{
    if (!layer)
        return;
    layers.emplace_back(layer);
    maxPadding = std::max(maxPadding, layer->getPadding());
}

const Glyph* BitmapFont::findGlyph(char16_t ch) const
{
    auto it = glyphs.find(ch);
    return it == glyphs.end() ? nullptr : &it->second;
}

bool BitmapFont::hasGlyph(char16_t ch) const
{
    return ch == u' ' || glyphs.count(ch) != 0;
}

int32_t BitmapFont::getLineHeight() const
{
    return lineHeight > 0 ? lineHeight : getDerivedLineHeight();
}

uint32_t BitmapFont::getTopLayerColour() const
{
    return layers.empty() ? 0 : layers.back()->getColour();
}

bool BitmapFont::isMaskFont() const
{
    if (layers.empty())
        return false;
    const Image* image = layers.back()->getImage();
    return image && image->getBytesPerPixel() == 1;
}

void BitmapFont::measureText(const WString& text, GlyphLayout& layout, int32_t start, int32_t count) const
{
    const int64_t length = static_cast<int64_t>(text.size());
    if (start < 0)
        start = 0;
    if (start >= length)
        return;
    if (count < 0 || start + static_cast<int64_t>(count) > length)
        count = static_cast<int32_t>(length - start);
    if (count <= 0)
        return;

    const int32_t padding = maxPadding;
    int32_t pen = padding;
    int32_t previousEnd = 0;
    const size_t last = text.size() - 1;
    const size_t end = static_cast<size_t>(start) + static_cast<size_t>(count);
    layout.boxes.reserve(layout.boxes.size() + static_cast<size_t>(count));
    for (size_t i = static_cast<size_t>(start); i < end; ++i) {
        const char16_t ch = text[i];
        const Glyph* found = hasGlyph(ch) ? findGlyph(ch) : nullptr;
        const Glyph& glyph = found ? *found : missingGlyph;
        int32_t kern = 0;
        if (i != last) {
            auto k = glyph.kerning.find(text[i + 1]);
            if (k != glyph.kerning.end())
                kern = k->second;
        }
        // A space reaches from the previous glyph's ink to its own advance.
        const int32_t w = ch == u' ' ? glyph.sw - pen + previousEnd : glyph.sw;
        CharBox box;
        if (i == 0) {
            box.left = pen;
            pen -= glyph.bx;
        } else {
            box.left = pen + glyph.bx;
        }
        box.next = charSpacing + glyph.width + pen;
        box.top = glyph.by + padding;
        box.right = padding + box.left + w;
        box.visibleRight = i == last ? box.right : box.right - padding;
        layout.boxes.push_back(box);
        layout.maxRight = std::max(layout.maxRight, box.right);
        layout.maxNext = std::max(layout.maxNext, box.next);
        layout.maxVisibleRight = std::max(layout.maxVisibleRight, box.visibleRight);
        previousEnd = box.left + glyph.sw;
        pen = box.next + kern;
    }
}

int32_t BitmapFont::measure(const WString& text, int32_t start, int32_t count, int32_t metric) const
{
    GlyphLayout layout;
    measureText(text, layout, start, count);
    if (layout.boxes.empty())
        return 0;
    switch (metric) {
    case MetricRight:
        return layout.maxRight;
    case MetricAdvance:
        return layout.maxNext;
    case MetricVisibleRight:
        return layout.maxVisibleRight;
    default:
        return 0;
    }
}

void BitmapFont::drawText(Graphics* graphics, const std::vector<LabelLine>& lines,
                          const std::vector<uint32_t>& colours)
{
    if (!graphics || layers.empty())
        return;
    const int32_t savedAlpha = graphics->getAlpha();
    const uint32_t savedColour = graphics->getColour();

    std::vector<GlyphLayout> measured(lines.size());
    for (size_t l = 0; l < lines.size(); ++l)
        measureText(lines[l].text, measured[l], 0, -1);

    for (size_t k = layers.size(); k-- > 0;) {
        FontLayer* layer = layers[k].get();
        Image* sheet = layer->getImage();
        const int32_t p = layer->getPadding();
        graphics->setColour(k < colours.size() ? colours[k] : layer->getColour());
        for (size_t l = 0; l < lines.size(); ++l) {
            const LabelLine& line = lines[l];
            const GlyphLayout& layout = measured[l];
            for (size_t j = 0; j < layout.boxes.size(); ++j) {
                const char16_t ch = line.text[j];
                if (ch == u' ')
                    continue;
                const CharBox& box = layout.boxes[j];
                const int32_t x = line.x + box.left - p;
                const int32_t y = line.y + box.top - p;
                if (const Glyph* glyph = findGlyph(ch)) {
                    // Empty records (no ink, or made only to hold kerning) draw nothing.
                    if (!sheet || glyph->sw <= 0 || glyph->sh <= 0)
                        continue;
                    const Rect source{glyph->sx + 2 * p * glyph->index, glyph->sy, glyph->sw + 2 * p,
                                      glyph->sh + 2 * p};
                    graphics->blit(sheet, x, y, source);
                    // Text drawn off screen keeps its shape in the alpha channel.
                    graphics->blitChannelMax(sheet, Graphics::ChannelAlpha, x, y, source);
                } else {
                    const Rect box{x + 1, y + 1, missingGlyph.width + 2 * p - 1, maxGlyphBottom + 2 * p - 1};
                    graphics->fillRect(box);
                    graphics->fillRectChannel(Graphics::ChannelAlpha, 255, box);
                }
            }
        }
    }
    graphics->setAlpha(savedAlpha);
    graphics->setColour(savedColour);
}
