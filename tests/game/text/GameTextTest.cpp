#include <gtest/gtest.h>

#include <map>

#include "framework/core/BasicProperties.h"
#include "framework/gui/StyleLabel.h"
#include "framework/resources/ResourceLookup.h"
#include "framework/scenegraph/Label.h"
#include "game/text/GameText.h"
#include "support/FontFixtures.h"

namespace {

std::map<std::string, RefPointer<BaseObject>> fonts;

RefPointer<BaseObject> lookUp(const std::string& name, const std::string& section)
{
    auto it = fonts.find(section + "/" + name);
    return it == fonts.end() ? nullptr : it->second;
}

class GameTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        font = loadFontFile(std::string(TORTELUNE_SOURCE_DIR) + "/media/fonts/dialog.xml");
        mask = loadFontFile(std::string(TORTELUNE_SOURCE_DIR) + "/media/fonts/title.xml");
        ASSERT_TRUE(font && mask);
        ASSERT_NE(font->getLineHeight(), mask->getLineHeight());
        fonts["fonts/FONT_MASK"] = mask.get();
        previous = ResourceLookup::install(&lookUp);
    }
    void TearDown() override
    {
        ResourceLookup::install(previous);
        fonts.clear();
    }

    RefPointer<BitmapFont> font;
    RefPointer<BitmapFont> mask;
    ResourceLookup::Function previous = nullptr;
};

const WString kLongText = u"one two three four five six seven eight nine ten";

// Each label kind the game sets texts into, at a width that holds the text on
// one line, then narrowed: the helper must leave the label laid out for its
// current text and width whatever happened before.
TEST_F(GameTextTest, EveryLabelKindIsLaidOutForItsTextAndItsCurrentWidth)
{
    struct Case {
        const char* name;
        RefPointer<GameNode> label;
    };
    const Case cases[] = {
        {"plain", RefPointer<GameNode>(new Label(font.get(), 0, 0, 2000, 0, 1))},
        {"styled", RefPointer<GameNode>(new StyleLabel(font.get(), 0, 0, 2000, 0, StyleLabel::WrapWordWrap))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GameNode* label = c.label.get();
        setLabelText(label, kLongText);
        const int oneLine = labelTextHeight(label);
        EXPECT_GT(oneLine, 0);
        EXPECT_LT(oneLine, 2 * labelLineHeight(label));
        EXPECT_EQ(font->getLineHeight(), labelLineHeight(label));

        // A narrower label and the same text: the text breaks into lines at once.
        objectCast<Sprite>(label)->setWidth(60);
        setLabelText(label, kLongText);
        // Laid out by the helper itself, before anyone asks for a height.
        if (auto* plain = objectCast<Label>(label)) {
            EXPECT_GT(plain->getLines().size(), 2u);
        }
        EXPECT_GT(labelTextHeight(label), 2 * oneLine);

        // A short text again: its height, not that of the longest text so far.
        setLabelText(label, u"one");
        EXPECT_EQ(oneLine, labelTextHeight(label));
        setLabelNumber(label, 1234);
        const WString shown = objectCast<Label>(label) ? objectCast<Label>(label)->getText()
                                                       : objectCast<StyleLabel>(label)->getText();
        EXPECT_EQ(u"1234", shown);
    }
    // Anything else is left alone, without a crash.
    RefPointer<GameNode> node(new GameNode());
    setLabelText(node.get(), u"x");
    setLabelText(nullptr, u"x");
    EXPECT_EQ(0, labelTextHeight(nullptr));
    EXPECT_EQ(0, labelLineHeight(node.get()));
    // A styled label without a font has no extent at all.
    RefPointer<StyleLabel> fontless(new StyleLabel(nullptr, 0, 0, 400, 0, StyleLabel::WrapWordWrap));
    setLabelText(fontless.get(), u"x");
    EXPECT_EQ(0, labelTextHeight(fontless.get()));
    EXPECT_EQ(0, labelLineHeight(fontless.get()));
}

// A plain label given its text directly (not through the helper) is laid out
// when its height is asked for.
TEST_F(GameTextTest, APlainLabelsHeightIsThatOfItsCurrentTextHoweverItWasSet)
{
    RefPointer<Label> label(new Label(font.get(), 0, 0, 60, 0, 1));
    label->setText(kLongText);
    EXPECT_GT(labelTextHeight(label.get()), 2 * labelLineHeight(label.get()));
}

TEST_F(GameTextTest, AStyledLabelsLineIsItsBaseFontsEvenWithATagLeftOpen)
{
    RefPointer<StyleLabel> label(new StyleLabel(font.get(), 0, 0, 400, 0, StyleLabel::WrapWordWrap));
    setLabelText(label.get(), u"plain [font=FONT_MASK,fonts]masked");
    EXPECT_EQ(font->getLineHeight(), labelLineHeight(label.get()));
}

TEST(GameTextMarkup, DescriptionsTurnTagsIntoFontsAndEndWithALineFeed)
{
    struct Case {
        const char16_t* source;
        const char16_t* formatted;
    };
    const Case cases[] = {
        {u"plain", u"plain\n"},
        {u"an [i]aside[/i]", u"an [font=FONT_TEXT_ITALIC,default]aside[/font]\n"},
        {u"[b]5[/b] combos", u"[font=FONT_NUMBERS,default]5[/font] combos\n"},
        // A closing tag without its opening one stays as it is.
        {u"odd[/b]", u"odd[/b]\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WString(c.formatted), formatDialogText(c.source)) << toNarrowString(c.source);
}

TEST(GameTextMarkup, ATagIsReplacedEverywhereAndReportedOnlyWhenOpenedAndClosed)
{
    struct Case {
        const char16_t* source;
        const char16_t* replaced;
        bool found;
    };
    const Case cases[] = {
        {u"[i]a[/i] and [i]b[/i]", u"<a> and <b>", true},
        {u"[i]open only", u"<open only", false},
        {u"odd[/i]", u"odd[/i]", false},
        {u"plain", u"plain", false},
    };
    for (const Case& c : cases) {
        WString text = c.source;
        EXPECT_EQ(c.found, replaceMarkupTag(text, "i", u"<", u">")) << toNarrowString(c.source);
        EXPECT_EQ(WString(c.replaced), text) << toNarrowString(c.source);
    }
}

TEST(GameTextKeys, AKeysTextIsEmptyForAnEmptyKeyAndBeforeThePropertiesExist)
{
    ASSERT_EQ(BasicProperties::instance, nullptr);
    EXPECT_EQ(WString(), textByKey("TEXT_LEVEL"));
    BasicProperties::createInstance();
    BasicProperties::instance->setText("TEXT_LEVEL", u"Level");
    BasicProperties::instance->setText("", u"stray");
    EXPECT_EQ(WString(u"Level"), textByKey("TEXT_LEVEL"));
    EXPECT_EQ(WString(), textByKey(""));
    EXPECT_EQ(WString(), textByKey("TEXT_MISSING"));
    BasicProperties::destroyInstance();
}

} // namespace
