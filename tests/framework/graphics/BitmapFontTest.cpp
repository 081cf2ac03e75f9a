#include <gtest/gtest.h>

#include <cstring>

#include "support/FontFixtures.h"
#include "framework/graphics/BitmapFont.h"
#include "framework/graphics/FontLayer.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"

namespace {

// Two 8 x 10 glyphs: "A" without bearing and "V" with bearing 2, a kerning
// pair V-A of -2, space 7 and character spacing 1.
const char* kSmallFont = R"(
<Font id="font" charspacing="1" spacewidth="7" baseline="9">
  <Vector id="chars">
    <Char c="65" sx="0" sy="0" sw="8" sh="10" width="9" bx="0" by="2"/>
    <Char c="86" sx="9" sy="0" sw="8" sh="12" width="9" bx="2" by="1"/>
  </Vector>
  <Vector id="kerning">
    <Kern width="-2" chars="#0#56#41"/>
  </Vector>
</Font>)";

RefPointer<Image> maskSheet(int width, int height, uint8_t value)
{
    RefPointer<Image> image = Image::create(width, height, 1);
    image->lock();
    std::memset(image->getAlphaPlane(), value, static_cast<size_t>(width) * height);
    image->unlock();
    return image;
}

std::vector<int32_t> nexts(const GlyphLayout& layout)
{
    std::vector<int32_t> values;
    for (const CharBox& box : layout.boxes)
        values.push_back(box.next);
    return values;
}

} // namespace

TEST(BitmapFont, ReadsMetricsAndGlyphs)
{
    RefPointer<BitmapFont> font = fontFromXml(kSmallFont);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->getCharSpacing(), 1);
    EXPECT_EQ(font->getBaseline(), 9);
    EXPECT_EQ(font->getMaxGlyphBottom(), 13);  // V: by 1 + sh 12
    EXPECT_TRUE(font->hasGlyph(u'A'));
    EXPECT_TRUE(font->hasGlyph(u' '));
    EXPECT_FALSE(font->hasGlyph(u'B'));
    // The last 16-bit code is kept; the first beyond it is skipped, not wrapped to 0.
    RefPointer<BitmapFont> edges = fontFromXml(R"(<Font id="font"><Vector id="chars">
        <Char c="65535" sw="2" sh="2" width="3"/><Char c="65536" sw="2" sh="2" width="3"/></Vector></Font>)");
    EXPECT_TRUE(edges->hasGlyph(char16_t(0xFFFF)));
    EXPECT_FALSE(edges->hasGlyph(char16_t(0)));
    ASSERT_NE(font->findGlyph(u'V'), nullptr);
    EXPECT_EQ(font->findGlyph(u'V')->index, 1);
    // The missing glyph is twice the space wide; its bearing is the rounded-up
    // mean over A (0), V (2) and the space (0).
    EXPECT_EQ(font->getMissingGlyph().width, 14);
    EXPECT_EQ(font->getMissingGlyph().sw, 14);
    EXPECT_EQ(font->getMissingGlyph().bx, 1);
    EXPECT_EQ(font->getMissingGlyph().index, -1);
}

TEST(BitmapFont, SpaceAndCharSpacingAdvance)
{
    RefPointer<BitmapFont> font = fontFromXml(kSmallFont);
    GlyphLayout layout;
    font->measureText(u"A A", layout, 0, -1);
    EXPECT_EQ(nexts(layout), (std::vector<int32_t>{10, 18, 28}));
    EXPECT_EQ(layout.boxes[2].left, 18);
    EXPECT_EQ(font->measure(u"A A", 0, -1, BitmapFont::MetricAdvance), 28);
}

TEST(BitmapFont, FirstCharacterIgnoresItsBearing)
{
    RefPointer<BitmapFont> font = fontFromXml(kSmallFont);
    font->addLayer(new FontLayer(3, 0xFFFFFFFF, nullptr));
    GlyphLayout layout;
    font->measureText(u"VV", layout, 0, -1);
    ASSERT_EQ(layout.boxes.size(), 2u);
    EXPECT_EQ(layout.boxes[0].left, 3);   // maxPadding, whatever the bearing
    EXPECT_EQ(layout.boxes[0].top, 4);    // by + padding
    EXPECT_EQ(layout.boxes[0].next, 11);  // 1 + 9 + (3 - 2)
    EXPECT_EQ(layout.boxes[1].left, 13);  // pen + bx
    EXPECT_EQ(layout.boxes[1].right, 3 + 13 + 8);
    // The caret metric keeps the padding only after the text's last character.
    EXPECT_EQ(layout.boxes[0].visibleRight, layout.boxes[0].right - 3);
    EXPECT_EQ(layout.boxes[1].visibleRight, layout.boxes[1].right);
    EXPECT_EQ(font->measure(u"VV", 0, 1, BitmapFont::MetricVisibleRight), 3 + 3 + 8 - 3);
    EXPECT_EQ(font->measure(u"VV", 0, -1, BitmapFont::MetricRight), 24);
}

TEST(BitmapFont, KerningAppliesOnlyToItsPairInOrder)
{
    RefPointer<BitmapFont> font = fontFromXml(kSmallFont);
    GlyphLayout va;
    font->measureText(u"VA", va, 0, -1);
    GlyphLayout av;
    font->measureText(u"AV", av, 0, -1);
    // V then A: the pen after V moves 2 left.
    EXPECT_EQ(va.boxes[1].left, va.boxes[0].next - 2 + 0);
    // A then V: no pair, the V starts at the pen plus its bearing.
    EXPECT_EQ(av.boxes[1].left, av.boxes[0].next + 2);
}

TEST(BitmapFont, MeasureRanges)
{
    RefPointer<BitmapFont> font = fontFromXml(kSmallFont);
    GlyphLayout layout;
    font->measureText(u"AVA", layout, 3, -1);
    EXPECT_TRUE(layout.boxes.empty());
    font->measureText(u"AVA", layout, 1, 0);
    EXPECT_TRUE(layout.boxes.empty());
    font->measureText(u"AVA", layout, -5, 1);
    EXPECT_EQ(layout.boxes.size(), 1u);
    GlyphLayout toEnd;
    font->measureText(u"AVA", toEnd, 1, -1);
    EXPECT_EQ(toEnd.boxes.size(), 2u);
    GlyphLayout overlong;
    font->measureText(u"AVA", overlong, 1, 99);
    EXPECT_EQ(overlong.boxes.size(), 2u);
    EXPECT_EQ(font->measure(u"", 0, -1, BitmapFont::MetricRight), 0);
    EXPECT_EQ(font->measure(u"AVA", 7, -1, BitmapFont::MetricAdvance), 0);
    EXPECT_EQ(font->measure(u"AVA", 0, -1, 9), 0);
}

TEST(BitmapFont, MissingCharactersUseTheMissingGlyph)
{
    RefPointer<BitmapFont> font = fontFromXml(kSmallFont);
    GlyphLayout layout;
    font->measureText(u"AxA", layout, 0, -1);
    ASSERT_EQ(layout.boxes.size(), 3u);
    EXPECT_EQ(layout.boxes[1].left, 10 + 1);               // pen + mean bearing
    EXPECT_EQ(layout.boxes[1].next, 10 + 14 + 1);          // twice the space plus spacing
    EXPECT_EQ(layout.boxes[1].right, layout.boxes[1].left + 14);
}

TEST(BitmapFont, LineHeightFollowsPaddingUnlessSet)
{
    RefPointer<BitmapFont> font = fontFromXml(kSmallFont);
    font->addLayer(new FontLayer(0, 0xFF000000, nullptr));
    font->addLayer(new FontLayer(2, 0xFF112233, nullptr));
    EXPECT_EQ(font->getMaxPadding(), 2);
    EXPECT_EQ(font->getDerivedLineHeight(), 13 + 4);
    EXPECT_EQ(font->getLineHeight(), 17);
    EXPECT_EQ(font->getTopLayerColour(), 0xFF112233u);
    EXPECT_FALSE(font->isMaskFont());

    RefPointer<BitmapFont> fixed = fontFromXml(R"(<Font id="font" lineheight="30"/>)");
    EXPECT_EQ(fixed->getLineHeight(), 30);
    EXPECT_FALSE(fixed->isMaskFont());  // no layers at all
    RefPointer<BitmapFont> zero = fontFromXml(R"(<Font id="font" lineheight="0"/>)");
    EXPECT_EQ(zero->getLineHeight(), zero->getDerivedLineHeight());
    EXPECT_EQ(zero->getTopLayerColour(), 0u);
}

TEST(BitmapFont, MalformedKerningEntriesAreSkipped)
{
    RefPointer<BitmapFont> font = fontFromXml(R"(
<Font id="font" spacewidth="4">
  <Vector id="kerning">
    <Kern width="-1" chars="#41#42"/>
    <Kern width="-3" chars="#0#zz#56#41#999999999#42##0#"/>
    <Kern width="-4" chars="&#1;#43#44#45"/>
    <Kern width="-5" chars=""/>
    <Kern width="-6"/>
  </Vector>
</Font>)");
    ASSERT_TRUE(font);
    // Codes before a group start have no leading character.
    EXPECT_EQ(font->findGlyph(u'A'), nullptr);
    // "zz" is not a code and is skipped; V leads, A and B follow; the
    // overlong token is dropped.
    const Glyph* v = font->findGlyph(u'V');
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->kerning.at(u'A'), -3);
    EXPECT_EQ(v->kerning.at(u'B'), -3);
    EXPECT_EQ(v->kerning.size(), 2u);
    // U+0001 opens a group by itself.
    const Glyph* c = font->findGlyph(u'C');
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->kerning.at(u'D'), -4);
    EXPECT_EQ(c->kerning.at(u'E'), -4);
}

TEST(BitmapFont, KerningTextParser)
{
    std::vector<std::pair<char16_t, char16_t>> pairs;
    auto collect = [&](char16_t f, char16_t c) { pairs.emplace_back(f, c); };
    BitmapFont::parseKerningText(u"#0#56#41#4f#0#41#56", collect);
    EXPECT_EQ(pairs, (std::vector<std::pair<char16_t, char16_t>>{{u'V', u'A'}, {u'V', u'O'}, {u'A', u'V'}}));
    pairs.clear();
    BitmapFont::parseKerningText(u"####", collect);
    BitmapFont::parseKerningText(u"#", collect);
    BitmapFont::parseKerningText(u"#0", collect);
    BitmapFont::parseKerningText(u"#0#1ffff#41", collect);
    EXPECT_TRUE(pairs.empty());
}

TEST(BitmapFont, BadGlyphEntriesDoNotBreakTheFont)
{
    RefPointer<BitmapFont> font = fontFromXml(R"(
<Font id="font" spacewidth="5">
  <Vector id="chars">
    <Char c="-4" sw="3"/>
    <Char c="70000" sw="3"/>
    <Char sw="3" width="4"/>
    <Char c="66" sw="99999999" width="-99999999"/>
  </Vector>
</Font>)");
    ASSERT_TRUE(font);
    // An entry without "c" is stored under code 0.
    EXPECT_TRUE(font->hasGlyph(u'\0'));
    EXPECT_EQ(font->getGlyphCount(), 3u);  // space, 0 and B
    // Absurd numbers are clamped, so long texts cannot overflow the pen.
    GlyphLayout layout;
    font->measureText(WString(5000, u'B'), layout, 0, -1);
    EXPECT_EQ(layout.boxes.back().next, -16384 * 5000);
    EXPECT_EQ(layout.boxes.back().right, layout.boxes.back().left + 16384);
}

TEST(BitmapFont, FontWithoutSpaceGetsOne)
{
    RefPointer<BitmapFont> font = fontFromXml(R"(
<Font id="font"><Vector id="chars"><Char c="65" sw="5" sh="12" width="6"/></Vector></Font>)");
    EXPECT_TRUE(font->hasGlyph(u' '));
    EXPECT_EQ(font->measure(u" ", 0, -1, BitmapFont::MetricAdvance), 3);
    EXPECT_EQ(font->getMissingGlyph().width, 6);
    RefPointer<BitmapFont> empty = fontFromXml(R"(<Font id="font"/>)");
    EXPECT_GT(empty->getMissingGlyph().width, 0);
    RefPointer<BitmapFont> notANode(new BitmapFont(nullptr));
    EXPECT_EQ(notANode->getLineHeight(), 0);
}

TEST(BitmapFont, DrawsLayersFromLastToFirstWithListedColours)
{
    RefPointer<BitmapFont> font = fontFromXml(R"(
<Font id="font" spacewidth="3">
  <Vector id="chars"><Char c="65" sx="0" sy="0" sw="2" sh="2" width="3" by="0"/></Vector>
</Font>)");
    // Layer 0: the face, unpadded. Layer 1: the same glyph padded by 1, red.
    font->addLayer(new FontLayer(0, 0xFF0000FF, maskSheet(2, 2, 255).get()));
    font->addLayer(new FontLayer(1, 0xFFFF0000, maskSheet(4, 4, 255).get()));
    EXPECT_TRUE(font->isMaskFont());

    RefPointer<Image> target = Image::create(10, 10, 4);
    RefPointer<Graphics> graphics = target->getGraphics();
    graphics->setColour(0x12345678);
    LabelLine line;
    line.text = u"A";
    line.x = 2;
    line.y = 3;
    font->drawText(graphics.get(), {line}, {0xFF00FF00});
    EXPECT_EQ(graphics->getColour(), 0x12345678u);

    target->lock();
    auto pixel = [&](int x, int y) { return target->row32(y)[x]; };
    // Layer 1 spans (2,3)-(5,6): its ring stays red in its own colour.
    EXPECT_EQ(pixel(2, 3), 0xFFFF0000u);
    EXPECT_EQ(pixel(5, 6), 0xFFFF0000u);
    // Layer 0 at (3,4)-(4,5) lies on top, in the listed colour.
    EXPECT_EQ(pixel(3, 4), 0xFF00FF00u);
    EXPECT_EQ(pixel(4, 5), 0xFF00FF00u);
    // Outside the glyph nothing was touched.
    EXPECT_EQ(pixel(1, 3), 0u);
    EXPECT_EQ(pixel(6, 6), 0u);
    target->unlock();
}

TEST(BitmapFont, DrawsABoxForMissingCharacters)
{
    RefPointer<BitmapFont> font = fontFromXml(R"(
<Font id="font" spacewidth="2">
  <Vector id="chars"><Char c="65" sx="0" sy="0" sw="2" sh="4" width="3" by="0"/></Vector>
</Font>)");
    font->addLayer(new FontLayer(0, 0xFF0000FF, maskSheet(2, 4, 255).get()));
    RefPointer<Image> target = Image::create(10, 10, 4);
    RefPointer<Graphics> graphics = target->getGraphics();
    LabelLine line;
    line.text = u"?";
    font->drawText(graphics.get(), {line}, {});
    target->lock();
    // The box is {1, 1, width 4 - 1, height 4 - 1}, opaque in the layer colour.
    EXPECT_EQ(target->row32(0)[0], 0u);
    EXPECT_EQ(target->row32(1)[1], 0xFF0000FFu);
    EXPECT_EQ(target->row32(3)[3], 0xFF0000FFu);
    EXPECT_EQ(target->row32(4)[4], 0u);
    target->unlock();
}

TEST(BitmapFont, BakedTestFontsLoad)
{
    RefPointer<BitmapFont> font = loadTestFont("testfont");
    ASSERT_TRUE(font);
    EXPECT_EQ(font->getLayers().size(), 2u);
    EXPECT_EQ(font->getMaxPadding(), 2);
    EXPECT_FALSE(font->isMaskFont());
    EXPECT_GT(font->getGlyphCount(), 200u);
    for (char16_t c : WString(u"Aa0!€…©™é"))
        EXPECT_TRUE(font->hasGlyph(c)) << static_cast<int>(c);
    // Kerning from the face: "AV" is narrower than its two letters apart.
    EXPECT_LT(font->measure(u"AV", 0, -1, BitmapFont::MetricAdvance),
              font->measure(u"A", 0, -1, BitmapFont::MetricAdvance) +
                  font->measure(u"V", 0, -1, BitmapFont::MetricAdvance) - font->getMaxPadding());
    RefPointer<BitmapFont> mask = loadTestFont("testmask");
    ASSERT_TRUE(mask);
    EXPECT_TRUE(mask->isMaskFont());
    EXPECT_EQ(mask->getMaxPadding(), 0);
}
