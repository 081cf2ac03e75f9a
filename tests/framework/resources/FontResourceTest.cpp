#include <gtest/gtest.h>

#include <unistd.h>

#include "framework/core/PropertyStore.h"
#include "framework/graphics/BitmapFont.h"
#include "framework/resources/FontResource.h"
#include "support/LogCapture.h"

namespace {

// Runs with the source folder as the current folder, as the game runs with
// its own, so that the media paths resolve.
class FontResourceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char buffer[4096];
        previous = getcwd(buffer, sizeof buffer) ? buffer : ".";
        ASSERT_EQ(chdir(TORTELUNE_SOURCE_DIR), 0);
    }
    void TearDown() override { ASSERT_EQ(chdir(previous.c_str()), 0); }

    RefPointer<FontResource> resource(const std::string& file)
    {
        const std::string xml = "<root><Font id=\"F\" file=\"" + file + "\" archive=\"file\"/></root>";
        RefPointer<PropertyStore> store(new PropertyStore());
        EXPECT_TRUE(store->loadFromBuffer(xml.data(), xml.size()));
        return RefPointer<FontResource>(new FontResource(store->getChild("F")));
    }

    std::string previous;
};

} // namespace

TEST_F(FontResourceTest, BuildsTheBakedFontWithItsLayers)
{
    RefPointer<FontResource> font = resource("tests/data/fonts/testfont.xml");
    font->load();
    EXPECT_FALSE(font->hasError());
    BitmapFont* built = font->getFont();
    ASSERT_NE(built, nullptr);
    ASSERT_EQ(built->getLayers().size(), 2u);
    EXPECT_EQ(built->getMaxPadding(), 2);
    // Each layer takes its padding and colour from the file, in the file's order.
    EXPECT_EQ(built->getLayers()[0]->getPadding(), 0);
    EXPECT_EQ(built->getLayers()[0]->getColour(), 0xFFFFFFFFu);
    EXPECT_EQ(built->getLayers()[1]->getPadding(), 2);
    EXPECT_EQ(built->getLayers()[1]->getColour(), 0xFF202020u);
    EXPECT_NE(built->getLayers()[0]->getImage(), nullptr);
    EXPECT_TRUE(built->hasGlyph(u'A'));
    EXPECT_GT(built->measure(u"Hello", 0, -1, BitmapFont::MetricAdvance), 20);

    // Layers beside the font node; without padding and colour they have none.
    RefPointer<FontResource> plain = resource("tests/data/fonts/testplain.xml");
    plain->load();
    EXPECT_FALSE(plain->hasError());
    ASSERT_NE(plain->getFont(), nullptr);
    ASSERT_EQ(plain->getFont()->getLayers().size(), 1u);
    EXPECT_EQ(plain->getFont()->getLayers()[0]->getPadding(), 0);
    EXPECT_EQ(plain->getFont()->getLayers()[0]->getColour(), 0u);
    EXPECT_TRUE(plain->getFont()->hasGlyph(u'!'));

    RefPointer<FontResource> mask = resource("tests/data/fonts/testmask.xml");
    mask->load();
    ASSERT_NE(mask->getFont(), nullptr);
    EXPECT_TRUE(mask->getFont()->isMaskFont());
}

TEST_F(FontResourceTest, EveryGameFontLoads)
{
    for (const char* name : {"title", "header", "button", "numbers", "dialog", "dialogbold", "small"}) {
        RefPointer<FontResource> font = resource(std::string("media/fonts/") + name + ".xml");
        font->load();
        EXPECT_FALSE(font->hasError()) << name;
        ASSERT_NE(font->getFont(), nullptr) << name;
        EXPECT_FALSE(font->getFont()->getLayers().empty()) << name;
        EXPECT_GT(font->getFont()->getGlyphCount(), 200u) << name;
    }
}

TEST_F(FontResourceTest, MissingFileFails)
{
    LogCapture log;
    RefPointer<FontResource> font = resource("media/fonts/nothere.xml");
    font->load();
    EXPECT_TRUE(font->hasError());
    EXPECT_EQ(font->getFont(), nullptr);
}
