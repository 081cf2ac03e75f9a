#include <gtest/gtest.h>

#include <map>

#include "framework/core/PropertyStore.h"
#include "framework/graphics/Graphics.h"
#include "framework/resources/ResourceLookup.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/LabelLayout.h"
#include "support/FontFixtures.h"
#include "support/LogCapture.h"

namespace {

RefPointer<BitmapFont> sharedFont;

RefPointer<BaseObject> lookUpFont(const std::string& name, const std::string& section)
{
    if (name == "FONT_TEST" && section == "fonts")
        return sharedFont.get();
    return nullptr;
}

class LabelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        font = loadTestFont("testfont");
        ASSERT_TRUE(font);
        sharedFont = font;
        previous = ResourceLookup::install(&lookUpFont);
    }
    void TearDown() override
    {
        ResourceLookup::install(previous);
        sharedFont.reset();
    }

    RefPointer<Label> label(const WString& text, int32_t wrapStyle = 0, int32_t width = 0, int32_t height = 0)
    {
        RefPointer<Label> result(new Label(font.get(), 10, 20, width, height, wrapStyle));
        result->setText(text);
        result->updateLayout();
        return result;
    }

    RefPointer<Label> configured(const std::string& attributes)
    {
        const std::string xml = "<root><Label id=\"l\" " + attributes + "/></root>";
        RefPointer<PropertyStore> store(new PropertyStore());
        EXPECT_TRUE(store->loadFromBuffer(xml.data(), xml.size()));
        RefPointer<Label> result(new Label(store->getChild("l")));
        result->updateLayout();
        return result;
    }

    int32_t width(const WString& text) const { return LabelLayout::textWidth(*font, text); }

    RefPointer<BitmapFont> font;
    ResourceLookup::Function previous = nullptr;
};

} // namespace

TEST_F(LabelTest, LinesFromBreaks)
{
    RefPointer<Label> empty = label(u"");
    EXPECT_TRUE(empty->getLines().empty());
    EXPECT_EQ(empty->getImage(), nullptr);
    EXPECT_EQ(label(u"word\n")->getLines().size(), 1u);
    RefPointer<Label> three = label(u"one\n\ntwo");
    ASSERT_EQ(three->getLines().size(), 3u);
    EXPECT_TRUE(three->getLines()[1].text.empty());
    EXPECT_EQ(three->getLines()[2].y, 2 * font->getLineHeight());
    // A backslash and an "n" written in a text become a break.
    RefPointer<Label> escaped = label(u"one\\ntwo");
    EXPECT_EQ(escaped->getLines().size(), 2u);
    EXPECT_EQ(escaped->getText(), u"one\ntwo");
}

TEST_F(LabelTest, AutoWidthTakesTheSizeOfItsText)
{
    RefPointer<Label> l = label(u"Hello\nWorld!");
    const TextRect& rect = l->getTextRect();
    EXPECT_EQ(rect.width, std::max(width(u"Hello"), width(u"World!")));
    EXPECT_EQ(rect.height, font->getDerivedLineHeight() + font->getLineHeight());
    ASSERT_NE(l->getImage(), nullptr);
    EXPECT_EQ(l->getWidth(), rect.width);
    EXPECT_EQ(l->getHeight(), rect.height);
}

TEST_F(LabelTest, ImageIsRebuiltOnlyWhenTheLayoutChanges)
{
    RefPointer<Label> l = label(u"Score", LabelLayout::WrapWordWrap, 100);
    Image* first = l->getImage();
    ASSERT_NE(first, nullptr);
    l->setText(u"Score");
    l->setAlignH(LabelLayout::AlignLeft);
    l->setWrapStyle(LabelLayout::WrapWordWrap);
    l->setWidth(100);
    l->setAnchorPoint(0);
    EXPECT_FALSE(l->isLayoutDirty());
    l->updateLayout();
    EXPECT_EQ(l->getImage(), first);
    // The height setter is the sprite's own and lays nothing out.
    l->setHeight(77);
    EXPECT_FALSE(l->isLayoutDirty());
    l->setText(u"Score!");
    EXPECT_TRUE(l->isLayoutDirty());
    l->updateLayout();
    Image* second = l->getImage();
    EXPECT_NE(second, first);
    l->setWidth(90);
    l->updateLayout();
    EXPECT_NE(l->getImage(), second);
    EXPECT_EQ(l->getWidth(), 90);
    // setFont always lays out again.
    l->setFont(font.get());
    EXPECT_TRUE(l->isLayoutDirty());
}

TEST_F(LabelTest, WrapAndTruncateKeepTheLabelWidth)
{
    RefPointer<Label> wrapped = label(u"The quick brown fox jumps", LabelLayout::WrapWordWrap, 60);
    EXPECT_GT(wrapped->getLines().size(), 1u);
    EXPECT_EQ(wrapped->getWidth(), 60);
    for (const LabelLine& line : wrapped->getLines())
        EXPECT_LE(line.width, 60);
    RefPointer<Label> cut = label(u"The quick brown fox jumps", LabelLayout::WrapTruncate, 60);
    ASSERT_EQ(cut->getLines().size(), 1u);
    const WString& line = cut->getLines()[0].text;
    ASSERT_GE(line.size(), 4u);
    EXPECT_EQ(line.substr(line.size() - 3), u"...");
    EXPECT_NE(line[line.size() - 4], u' ');
    EXPECT_EQ(cut->getWidth(), 60);
}

TEST_F(LabelTest, NoWidthShowsNothingWhenWrapping)
{
    EXPECT_EQ(label(u"text", LabelLayout::WrapWordWrap, 0)->getImage(), nullptr);
    EXPECT_EQ(label(u"text", LabelLayout::WrapTruncate, 0)->getImage(), nullptr);
    EXPECT_NE(label(u"text", LabelLayout::WrapAutoWidth, 0)->getImage(), nullptr);
}

TEST_F(LabelTest, CentredBlockMovesByHalfTheSlack)
{
    RefPointer<Label> left = label(u"Hi there", LabelLayout::WrapWordWrap, 200);
    RefPointer<Label> centred(new Label(font.get(), 0, 0, 200, 0, LabelLayout::WrapWordWrap));
    centred->setAlignH(LabelLayout::AlignCenter);
    centred->setText(u"Hi there");
    centred->updateLayout();
    const int32_t widest = width(u"Hi there");
    EXPECT_EQ(centred->getTextRect().offsetX - left->getTextRect().offsetX, (200 - widest) / 2);
    RefPointer<Label> right(new Label(font.get(), 0, 0, 200, 0, LabelLayout::WrapWordWrap));
    right->setAlignH(LabelLayout::AlignRight);
    right->setText(u"Hi there");
    right->updateLayout();
    EXPECT_EQ(right->getTextRect().offsetX - left->getTextRect().offsetX, 200 - widest);
}

TEST_F(LabelTest, PaddingOffsetFollowsTheAnchorKind)
{
    const int32_t p = font->getMaxPadding();
    ASSERT_GT(p, 0);
    RefPointer<Label> l = label(u"Pad");
    EXPECT_EQ(l->getTextRect().offsetX, -p);
    EXPECT_EQ(l->getTextRect().offsetY, -p);
    l->setAnchorPoint(4);
    l->updateLayout();
    EXPECT_EQ(l->getTextRect().offsetX, 0);
    EXPECT_EQ(l->getTextRect().offsetY, 0);
    l->setAnchorPoint(8);
    l->updateLayout();
    EXPECT_EQ(l->getTextRect().offsetX, p);
    EXPECT_EQ(l->getTextRect().offsetY, p);
    l->setPadStyle(Label::PadNone);
    l->updateLayout();
    EXPECT_EQ(l->getTextRect().offsetX, 0);
    l->setPadStyle(Label::PadOffset);
    l->setAnchorPointXY(3.0f, 4.0f);
    l->updateLayout();
    EXPECT_EQ(l->getTextRect().offsetX, 0);
}

TEST_F(LabelTest, FixedHeightCutsTheImage)
{
    RefPointer<Label> l(new Label(font.get(), 0, 0, 0, 9, LabelLayout::WrapAutoWidth));
    l->setAutoFitHeight(false);
    l->setText(u"one\ntwo\nthree");
    l->updateLayout();
    ASSERT_NE(l->getImage(), nullptr);
    EXPECT_EQ(l->getImage()->getHeight(), 9);
    EXPECT_EQ(l->getHeight(), 9);
    EXPECT_GT(l->getTextRect().height, 9);
}

TEST_F(LabelTest, ConfiguredFromProperties)
{
    RefPointer<Label> l = configured(
        "font=\"FONT_TEST\" section=\"fonts\" text=\"a\\nb\" wrapstyle=\"wordwrap\" width=\"80\" alignh=\"right\" "
        "color0=\"#ff112233\" color1=\"#ff445566\" lineheight=\"30\"");
    EXPECT_EQ(l->getFont(), font.get());
    EXPECT_EQ(l->getWrapStyle(), LabelLayout::WrapWordWrap);
    EXPECT_EQ(l->getAlignH(), LabelLayout::AlignRight);
    EXPECT_EQ(l->getLayerColors(), (std::vector<uint32_t>{0xFF112233u, 0xFF445566u}));
    // Layers outside 0 .. 63 are refused.
    l->setLayerColor(0xFF000001u, -1);
    l->setLayerColor(0xFF000001u, 64);
    EXPECT_EQ(l->getLayerColors(), (std::vector<uint32_t>{0xFF112233u, 0xFF445566u}));
    ASSERT_EQ(l->getLines().size(), 2u);
    EXPECT_EQ(l->getLines()[1].y, 30);
    // "color" wins over the numbered keys.
    RefPointer<Label> single = configured("font=\"FONT_TEST\" section=\"fonts\" color=\"#ff0000ff\" color1=\"7\"");
    EXPECT_EQ(single->getLayerColors(), (std::vector<uint32_t>{0xFF0000FFu}));
    // An unknown wrap style shows nothing.
    RefPointer<Label> unknown = configured("font=\"FONT_TEST\" section=\"fonts\" text=\"x\" wrapstyle=\"Wordwrap\"");
    EXPECT_EQ(unknown->getWrapStyle(), -1);
    EXPECT_TRUE(unknown->getLines().empty());
    EXPECT_EQ(unknown->getImage(), nullptr);
}

TEST_F(LabelTest, MissingFontShowsNothing)
{
    LogCapture log;
    RefPointer<Label> l = configured("font=\"FONT_NONE\" section=\"fonts\" text=\"hello\"");
    EXPECT_EQ(l->getFont(), nullptr);
    EXPECT_EQ(l->getImage(), nullptr);
    EXPECT_EQ(l->getTextRect().width, 0);
    EXPECT_TRUE(log.contains("FONT_NONE"));
    RefPointer<Graphics> g = Image::create(4, 4, 4)->getGraphics();
    l->render(g.get());
}

TEST_F(LabelTest, MaskFontTakesTheLayerColour)
{
    RefPointer<BitmapFont> mask = loadTestFont("testmask");
    RefPointer<Label> l(new Label(mask.get(), 0, 0, 0, 0));
    EXPECT_EQ(l->getTextColour(), mask->getTopLayerColour());
    l->setLayerColor(0xFF804020, 0);
    EXPECT_EQ(l->getTextColour(), 0xFF804020u);
    l->setText(u"I");
    l->updateLayout();
    Image* image = l->getImage();
    ASSERT_NE(image, nullptr);
    // The "I" shows in the label's colour; the rest is clear.
    image->lock();
    bool found = false;
    for (int y = 0; y < image->getHeight(); ++y)
        for (int x = 0; x < image->getWidth(); ++x) {
            const uint32_t pixel = image->row32(y)[x];
            EXPECT_EQ(pixel & 0xFFFFFF, 0x804020u);
            found = found || (pixel >> 24) > 0x80;
        }
    image->unlock();
    EXPECT_TRUE(found);
    // The colour layers of a colour font ignore the label colour.
    RefPointer<Label> coloured(new Label(font.get(), 0, 0, 0, 0));
    coloured->setLayerColor(0xFF804020, 0);
    EXPECT_EQ(coloured->getTextColour(), font->getTopLayerColour());
}

TEST_F(LabelTest, RendersInTheScreensPixelSize)
{
    const int32_t saved = Image::getScreenBytesPerPixel();
    Image::setScreenBytesPerPixel(2);
    RefPointer<Label> l = label(u"16 bit");
    Image::setScreenBytesPerPixel(saved);
    Image* image = l->getImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->getBytesPerPixel(), 2);
    EXPECT_TRUE(image->getFollowsDisplayFormat());
    image->lock();
    int opaque = 0;
    for (int i = 0; i < image->getWidth() * image->getHeight(); ++i)
        opaque += image->getAlphaPlane()[i] == 255;
    image->unlock();
    EXPECT_GT(opaque, 10);
    // Drawn onto a 16-bit target like any sprite.
    RefPointer<Image> target = Image::create(120, 40, 2);
    RefPointer<Graphics> g = target->getGraphics();
    l->render(g.get());
}
