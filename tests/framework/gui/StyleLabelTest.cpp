#include <gtest/gtest.h>

#include <map>

#include "framework/core/PropertyStore.h"
#include "framework/graphics/Graphics.h"
#include "framework/gui/StyleLabel.h"
#include "framework/gui/StyleParser.h"
#include "framework/resources/ResourceLookup.h"
#include "support/FontFixtures.h"
#include "support/LogCapture.h"

namespace {

std::map<std::string, RefPointer<BaseObject>> resources;

RefPointer<BaseObject> lookUp(const std::string& name, const std::string& section)
{
    auto it = resources.find(section + "/" + name);
    return it == resources.end() ? nullptr : it->second;
}

struct PlacedWord {
    WString text;
    int32_t x;
    int32_t y;
    int32_t line;
    uint32_t colour;  // first layer colour, 0 without one
    const BitmapFont* font;
};

class StyleLabelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        font = loadTestFont("testfont");
        mask = loadTestFont("testmask");
        ASSERT_TRUE(font && mask);
        resources["fonts/FONT_A"] = font.get();
        resources["fonts/FONT_MASK"] = mask.get();
        RefPointer<Image> picture = Image::create(20, 20, 4);
        resources["pics/IMG"] = picture.get();
        previous = ResourceLookup::install(&lookUp);
    }
    void TearDown() override
    {
        ResourceLookup::install(previous);
        resources.clear();
    }

    RefPointer<StyleLabel> make(const WString& text, int32_t wrapStyle = 0, int32_t width = 0,
                                BitmapFont* with = nullptr)
    {
        RefPointer<StyleLabel> label(new StyleLabel(with ? with : font.get(), 0, 0, width, 0, wrapStyle));
        label->setText(text);
        return label;
    }

    static std::vector<PlacedWord> words(const StyleLabel& label)
    {
        std::vector<PlacedWord> result;
        int32_t index = 0;
        for (const RefPointer<StyleLine>& line : label.getState().lines) {
            for (const RefPointer<Label>& word : line->words) {
                const uint32_t colour = word->getLayerColors().empty() ? 0 : word->getLayerColors()[0];
                result.push_back({word->getText(), word->getX(), word->getY(), index, colour, word->getFont()});
            }
            ++index;
        }
        return result;
    }

    static std::vector<WString> texts(const StyleLabel& label)
    {
        std::vector<WString> result;
        for (const PlacedWord& word : words(label))
            result.push_back(word.text);
        return result;
    }

    int32_t advance(const WString& text) const { return font->measure(text, 0, -1, BitmapFont::MetricRight); }
    int32_t spaceStep() const
    {
        return font->measure(u" ", 0, -1, BitmapFont::MetricAdvance) - 2 * font->getMaxPadding();
    }

    RefPointer<BitmapFont> font;
    RefPointer<BitmapFont> mask;
    ResourceLookup::Function previous = nullptr;
};

using Words = std::vector<WString>;

} // namespace

TEST_F(StyleLabelTest, LineBreaksFromTextAndTag)
{
    RefPointer<StyleLabel> label = make(u"one\\ntwo[br]three");
    const std::vector<PlacedWord> placed = words(*label);
    ASSERT_EQ(placed.size(), 3u);
    EXPECT_EQ(placed[1].line, 1);
    EXPECT_EQ(placed[2].line, 2);
    EXPECT_EQ(placed[1].x, 0);
    EXPECT_EQ(placed[2].y, 2 * font->getLineHeight());
    EXPECT_GE(label->getHeight(), 2 * font->getLineHeight() + font->getDerivedLineHeight());
}

TEST_F(StyleLabelTest, WithoutAFontTheLabelKeepsAPixelOfSize)
{
    // Its picture is never made zero pixels wide or high.
    RefPointer<StyleLabel> label(new StyleLabel(nullptr, 0, 0, 0, 0));
    label->setText(u"");
    EXPECT_EQ(label->getWidth(), 1);
    EXPECT_EQ(label->getHeight(), 1);
}

TEST_F(StyleLabelTest, EscapedBracketIsText)
{
    RefPointer<StyleLabel> label = make(u"a \\[b] c");
    EXPECT_EQ(texts(*label), (Words{u"a", u"[b]", u"c"}));
    // Laying out again gives the same words: the stored text keeps its backslash.
    label->refresh();
    EXPECT_EQ(texts(*label), (Words{u"a", u"[b]", u"c"}));
    EXPECT_EQ(label->getText(), u"a \\[b] c");
}

TEST_F(StyleLabelTest, UnknownAndMiscasedTagsAreConsumed)
{
    EXPECT_EQ(texts(*make(u"a [foo=bar]b")), (Words{u"a", u"b"}));
    RefPointer<StyleLabel> label = make(u"x[BR]y[Color=ff0000]z");
    EXPECT_EQ(texts(*label), (Words{u"x", u"y", u"z"}));
    EXPECT_EQ(label->getState().lines.size(), 1u);
    EXPECT_TRUE(label->getState().colours.empty());
    // An unclosed tag at the end swallows the rest.
    EXPECT_EQ(texts(*make(u"a [color=ff b c")), (Words{u"a"}));
    EXPECT_EQ(texts(*make(u"[")), Words{});
}

TEST_F(StyleLabelTest, SpacesAdvanceOnlyInsideALine)
{
    const std::vector<PlacedWord> lead = words(*make(u"   word"));
    ASSERT_EQ(lead.size(), 1u);
    EXPECT_EQ(lead[0].x, 0);
    const std::vector<PlacedWord> two = words(*make(u"ab  cd"));
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[1].x, advance(u"ab") + 2 * spaceStep());
}

TEST_F(StyleLabelTest, WordWrapMovesWordsAndDropsOverwideOnes)
{
    const int32_t w = advance(u"alpha") + spaceStep() + advance(u"beta") - 1;
    RefPointer<StyleLabel> label = make(u"alpha beta gamma", StyleLabel::WrapWordWrap, w);
    const std::vector<PlacedWord> placed = words(*label);
    ASSERT_EQ(placed.size(), 3u);
    EXPECT_EQ(placed[1].line, 1);
    EXPECT_EQ(placed[1].x, 0);
    EXPECT_EQ(label->getWidth(), w);
    RefPointer<StyleLabel> narrow = make(u"a extraordinarily b", StyleLabel::WrapWordWrap, advance(u"abc"));
    EXPECT_EQ(texts(*narrow), (Words{u"a", u"b"}));
    EXPECT_EQ(narrow->getWidth(), advance(u"abc"));
}

TEST_F(StyleLabelTest, TruncateShortensAndNeverWidens)
{
    // The second word does not fit but its first letter and "..." do.
    const int32_t roomy = advance(u"Hello") + spaceStep() + advance(u"W...");
    RefPointer<StyleLabel> label = make(u"Hello World again", StyleLabel::WrapTruncate, roomy);
    EXPECT_EQ(texts(*label), (Words{u"Hello", u"W..."}));
    EXPECT_EQ(label->getWidth(), roomy);
    // Not even "W..." fits: the word is dropped and a long first word loses
    // its last three characters.
    const int32_t tight = advance(u"Hello") + spaceStep() + 2;
    RefPointer<StyleLabel> cut = make(u"Hello World again", StyleLabel::WrapTruncate, tight);
    EXPECT_EQ(texts(*cut), (Words{u"He..."}));
    EXPECT_EQ(cut->getWidth(), tight);
    // A first word of three characters or fewer keeps only its first letter.
    const int32_t small = advance(u"Hey") + spaceStep() + 2;
    EXPECT_EQ(texts(*make(u"Hey World", StyleLabel::WrapTruncate, small)), (Words{u"H..."}));
    // The next line starts afresh.
    EXPECT_EQ(texts(*make(u"Hello World again\nok", StyleLabel::WrapTruncate, roomy)),
              (Words{u"Hello", u"W...", u"ok"}));
}

TEST_F(StyleLabelTest, EmptyTextGivesAtLeastOneLineOfSize)
{
    RefPointer<StyleLabel> label = make(u"");
    EXPECT_GE(label->getWidth(), 1);
    EXPECT_GE(label->getHeight(), font->getDerivedLineHeight());
    ASSERT_NE(label->getImage(), nullptr);
    Image* first = label->getImage();
    label->setText(u"");
    EXPECT_EQ(label->getImage(), first);
    label->setText(u"x");
    EXPECT_NE(label->getImage(), first);
}

TEST_F(StyleLabelTest, AlignmentMovesOnlyEndedLines)
{
    const int32_t W = 300;
    RefPointer<StyleLabel> label = make(u"[alignh=right]ab\ncd", StyleLabel::WrapAutoWidth, W);
    const std::vector<PlacedWord> placed = words(*label);
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_EQ(placed[0].x, W - advance(u"ab"));
    EXPECT_EQ(placed[1].x, 0);  // the last line is never aligned
    RefPointer<StyleLabel> centred = make(u"[alignh=center]ab[br]", StyleLabel::WrapAutoWidth, W);
    EXPECT_EQ(words(*centred)[0].x, (W - advance(u"ab")) / 2);
    // Closed after the break: aligned. Closed before it: left.
    EXPECT_EQ(words(*make(u"[alignh=right]ab[br][/alignh]", 0, W))[0].x, W - advance(u"ab"));
    EXPECT_EQ(words(*make(u"[alignh=right]ab[/alignh][br]", 0, W))[0].x, 0);
}

TEST_F(StyleLabelTest, ColoursStackAndUnwind)
{
    RefPointer<StyleLabel> label = make(u"[/color]a [color=#ff102030]b [color=ff405060]c[/color] d[/color] e");
    const std::vector<PlacedWord> placed = words(*label);
    ASSERT_EQ(placed.size(), 5u);
    EXPECT_EQ(placed[0].colour, 0u);
    EXPECT_EQ(placed[1].colour, 0xFF102030u);
    EXPECT_EQ(placed[2].colour, 0xFF405060u);
    EXPECT_EQ(placed[3].colour, 0xFF102030u);
    EXPECT_EQ(placed[4].colour, 0u);
    EXPECT_EQ(words(*make(u"[color=zz]q"))[0].colour, 0u);
    EXPECT_EQ(words(*make(u"[color=#FFAB09CF]q"))[0].colour, 0xFFAB09CFu);
    EXPECT_EQ(words(*make(u"[color=#ffab09cf]q"))[0].colour, 0xFFAB09CFu);
    EXPECT_EQ(words(*make(u"[color=#]q"))[0].colour, 0u);
}

TEST_F(StyleLabelTest, TabStops)
{
    RefPointer<StyleLabel> label = make(u"[tabs=100,200][tab]a[tab]b[tab=1]c[tab=7]d[tabs=x,50]");
    const std::vector<PlacedWord> placed = words(*label);
    ASSERT_EQ(placed.size(), 4u);
    EXPECT_EQ(placed[0].x, 100);
    EXPECT_EQ(placed[1].x, 200);
    EXPECT_EQ(placed[2].x, 100);
    EXPECT_EQ(placed[3].x, 100 + advance(u"c"));
    EXPECT_EQ(label->getState().tabStops, (std::vector<int32_t>{50}));
}

TEST_F(StyleLabelTest, UnknownWrapStyleStillPushes)
{
    RefPointer<StyleLabel> label(new StyleLabel(font.get(), 0, 0, 50, 0, StyleLabel::WrapTruncate));
    label->setText(u"[wrapstyle=sideways]a[wrapstyle=wordwrap]b[/wrapstyle]c");
    EXPECT_EQ(label->getState().wrapStyle, StyleLabel::WrapTruncate);
    EXPECT_EQ(label->getState().wrapStyles.size(), 1u);
    label->setText(u"[/wrapstyle]x");
    EXPECT_EQ(label->getState().wrapStyle, StyleLabel::WrapTruncate);
    EXPECT_TRUE(label->getState().wrapStyles.empty());
    label->setText(u"[/wrapstyle]y");
    EXPECT_EQ(label->getState().wrapStyle, StyleLabel::WrapTruncate);
}

TEST_F(StyleLabelTest, FontTagsSwitchAndRestore)
{
    LogCapture log;
    RefPointer<StyleLabel> label =
        make(u"a[font=FONT_MASK,fonts]b[font=FONT_NONE,fonts]c[/font]d[font=nocomma]e[/font][/font]f");
    const std::vector<PlacedWord> placed = words(*label);
    ASSERT_EQ(placed.size(), 6u);
    EXPECT_EQ(placed[0].font, font.get());
    EXPECT_EQ(placed[1].font, mask.get());
    EXPECT_EQ(placed[2].font, mask.get());  // a missing font keeps the current one
    EXPECT_EQ(placed[3].font, mask.get());
    EXPECT_EQ(placed[4].font, mask.get());
    EXPECT_EQ(placed[5].font, font.get());
    EXPECT_TRUE(log.contains("FONT_NONE"));
    EXPECT_TRUE(log.contains("nocomma"));
}

TEST_F(StyleLabelTest, ImagesFloatAndWordsAvoidThem)
{
    RefPointer<StyleLabel> label = make(u"[image=IMG,pics,inline,single]x y", StyleLabel::WrapWordWrap, 200);
    ASSERT_EQ(label->getState().images.size(), 1u);
    const std::vector<PlacedWord> placed = words(*label);
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_EQ(placed[0].x, 21);  // right of the image
    EXPECT_GE(label->getHeight(), 20);

    RefPointer<StyleLabel> below = make(u"ab[image=IMG,pics,center,none]cd", StyleLabel::WrapWordWrap, 200);
    const std::vector<PlacedWord> under = words(*below);
    ASSERT_EQ(under.size(), 2u);
    EXPECT_EQ(below->getState().images[0]->getX(), 90);
    EXPECT_EQ(under[1].y, font->getLineHeight() + 20);

    LogCapture log;
    EXPECT_EQ(texts(*make(u"[image=NOPE,pics]a[image=IMG]b")), (Words{u"a", u"b"}));
    EXPECT_TRUE(log.contains("NOPE"));
}

TEST_F(StyleLabelTest, ImageWiderThanTheLabelEndsTheAvoidance)
{
    // Every line is blocked by a tall image as wide as the label: the word can
    // never be placed, and the layout still ends.
    RefPointer<StyleLabel> label = make(u"[image=IMG,pics,left,multi][image=IMG,pics,left,multi]word",
                                        StyleLabel::WrapWordWrap, 20);
    EXPECT_TRUE(texts(*label).empty());
    RefPointer<StyleLabel> autoWidth = make(u"[image=IMG,pics,left,multi]word");
    ASSERT_EQ(words(*autoWidth).size(), 1u);
    EXPECT_EQ(words(*autoWidth)[0].x, 21);
}

TEST_F(StyleLabelTest, WidthTagIsClamped)
{
    LogCapture log;
    EXPECT_EQ(make(u"[width=0]")->getWidth(), 1);
    EXPECT_EQ(make(u"[width=-40]")->getWidth(), 1);
    EXPECT_EQ(make(u"[width=99999999]")->getWidth(), 16384);
    EXPECT_EQ(make(u"[width=0x20]", StyleLabel::WrapWordWrap)->getWidth(), 32);
    EXPECT_EQ(make(u"[width=wide]", StyleLabel::WrapWordWrap, 7)->getWidth(), 7);
    EXPECT_TRUE(log.contains("wide"));
}

TEST_F(StyleLabelTest, WordsKeepTheirVerticalAlignment)
{
    RefPointer<BitmapFont> big = loadFontFile(std::string(TORTELUNE_SOURCE_DIR) + "/media/fonts/title.xml");
    ASSERT_TRUE(big);
    resources["fonts/FONT_BIG"] = big.get();
    RefPointer<StyleLabel> label =
        make(u"[font=FONT_BIG,fonts]Big[/font] [alignv=bottom]low[/alignv] [alignv=baseline]base[br]");
    const std::vector<PlacedWord> placed = words(*label);
    ASSERT_EQ(placed.size(), 3u);
    EXPECT_EQ(placed[0].y, 0);
    EXPECT_EQ(placed[1].y, big->getLineHeight() - font->getDerivedLineHeight());
    EXPECT_EQ(placed[2].y, big->getBaseline() - font->getBaseline());
}

TEST_F(StyleLabelTest, ConfiguredFromProperties)
{
    const std::string xml =
        "<root><StyleLabel id=\"s\" font=\"FONT_MASK\" section=\"fonts\" color=\"#ff336699\" "
        "wrapstyle=\"wordwrap\" width=\"120\" text=\"Hello\\nthere\"/></root>";
    RefPointer<PropertyStore> store(new PropertyStore());
    ASSERT_TRUE(store->loadFromBuffer(xml.data(), xml.size()));
    RefPointer<StyleLabel> label(new StyleLabel(store->getChild("s")));
    EXPECT_EQ(label->getState().wrapStyle, StyleLabel::WrapWordWrap);
    EXPECT_EQ(label->getWidth(), 120);
    const std::vector<PlacedWord> placed = words(*label);
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_EQ(placed[0].colour, 0xFF336699u);
    ASSERT_NE(label->getImage(), nullptr);
    // Glyph pixels take the colour; the rest of the image is transparent.
    Image* image = label->getImage();
    image->lock();
    int opaque = 0;
    for (int y = 0; y < image->getHeight(); ++y)
        for (int x = 0; x < image->getWidth(); ++x) {
            const uint32_t pixel = image->row32(y)[x];
            if ((pixel >> 24) == 0xFF) {
                EXPECT_EQ(pixel, 0xFF336699u);
                ++opaque;
            }
        }
    image->unlock();
    EXPECT_GT(opaque, 10);
}

TEST(StyleParser, DispatchesByExactWord)
{
    StyleParser* parser = StyleParser::getInstance();
    EXPECT_EQ(parser->getFormats().size(), 9u);
    EXPECT_EQ(StyleParser::getInstance(), parser);
    RefPointer<StyleLabel> label(new StyleLabel(nullptr, 0, 0, 10, 10));
    EXPECT_TRUE(parser->dispatch(u"/color", u"", *label));
    EXPECT_FALSE(parser->dispatch(u"Color", u"", *label));
    EXPECT_TRUE(parser->dispatch(u"width", u"33", *label));
    EXPECT_EQ(label->getWidth(), 33);
    StyleParser::destroyInstance();
}

TEST_F(StyleLabelTest, NestedTagsUnwindInOrder)
{
    RefPointer<StyleLabel> label = make(
        u"[font=FONT_MASK,fonts][color=#ff010203]a [font=FONT_A,fonts][color=#ff040506]b[/color] c[/font] "
        u"d[/color] e[/font] f",
        StyleLabel::WrapAutoWidth, 0);
    const std::vector<PlacedWord> placed = words(*label);
    ASSERT_EQ(placed.size(), 6u);
    const std::vector<std::pair<const BitmapFont*, uint32_t>> expected{
        {mask.get(), 0xFF010203u}, {font.get(), 0xFF040506u}, {font.get(), 0xFF010203u},
        {mask.get(), 0xFF010203u}, {mask.get(), 0u},          {font.get(), 0u}};
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(placed[i].font, expected[i].first) << i;
        EXPECT_EQ(placed[i].colour, expected[i].second) << i;
    }
    EXPECT_TRUE(label->getState().fonts.empty());
    EXPECT_TRUE(label->getState().colours.empty());
    // A tag inside a tag's argument is only text of that argument.
    EXPECT_EQ(texts(*make(u"[color=[br]x")), (Words{u"x"}));
    EXPECT_EQ(label->getState().lines.size(), 1u);
}
