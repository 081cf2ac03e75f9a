#include <gtest/gtest.h>

#include <map>

#include "framework/core/PropertyStore.h"
#include "framework/graphics/Graphics.h"
#include "framework/gui/DialogPainter.h"
#include "framework/resources/ResourceLookup.h"
#include "support/LogCapture.h"

namespace {

std::map<std::string, RefPointer<BaseObject>> resources;

RefPointer<BaseObject> lookUp(const std::string& name, const std::string& section)
{
    auto it = resources.find(section + "/" + name);
    return it == resources.end() ? nullptr : it->second;
}

// A solid 32-bit piece of one colour (alpha included).
RefPointer<Image> piece(int width, int height, uint32_t colour, bool usesAlpha = true)
{
    RefPointer<Image> image = Image::create(width, height, 4);
    image->lock();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image->row32(y)[x] = colour;
    image->unlock();
    image->setHasAlphaChannel(usesAlpha);
    return image;
}

class DialogPainterTest : public ::testing::Test {
protected:
    void SetUp() override { previous = ResourceLookup::install(&lookUp); }
    void TearDown() override
    {
        ResourceLookup::install(previous);
        resources.clear();
    }

    void add(const std::string& name, RefPointer<Image> image) { resources["frames/" + name] = image.get(); }

    // A painter over the named pieces (nine names, "" for none) with extra attributes.
    RefPointer<DialogPainter> painter(const std::vector<std::string>& names, const std::string& attributes = "")
    {
        std::string xml = "<root><DialogPainter id=\"p\" section=\"frames\" " + attributes + "><Vector id=\"images\">";
        for (const std::string& name : names)
            xml += "<String value=\"" + name + "\"/>";
        xml += "</Vector></DialogPainter></root>";
        RefPointer<PropertyStore> store(new PropertyStore());
        EXPECT_TRUE(store->loadFromBuffer(xml.data(), xml.size()));
        return RefPointer<DialogPainter>(new DialogPainter(store->getChild("p")));
    }

    static uint32_t at(Image* image, int x, int y)
    {
        image->lock();
        const uint32_t value = image->row32(y)[x];
        image->unlock();
        return value;
    }

    ResourceLookup::Function previous = nullptr;
};

} // namespace

TEST_F(DialogPainterTest, FitsWidthToWholeEdgeTiles)
{
    for (const char* corner : {"tl", "tr", "bl", "br"})
        add(corner, piece(20, 20, 0xFF000000));
    add("top", piece(10, 6, 0xFF000000));
    add("left", piece(6, 12, 0xFF000000));
    RefPointer<DialogPainter> p = painter({"tl", "top", "tr", "left", "", "", "bl", "", "br"});
    EXPECT_EQ(p->fitWidth(75), 80);
    EXPECT_EQ(p->fitWidth(60), 60);
    EXPECT_EQ(p->fitWidth(30), 40);
    // Heights: corners 20 + 20, left edge tiles of 12.
    EXPECT_EQ(p->fitHeight(41), 52);
    EXPECT_EQ(p->fitHeight(10), 40);
}

TEST_F(DialogPainterTest, FitsToTheCentreWithoutCornersAndEdges)
{
    add("centre", piece(16, 9, 0xFF000000));
    RefPointer<DialogPainter> p = painter({"", "", "", "", "centre", "", "", "", ""});
    EXPECT_EQ(p->fitWidth(33), 48);
    EXPECT_EQ(p->fitHeight(10), 18);
    RefPointer<DialogPainter> none = painter({});
    EXPECT_EQ(none->fitWidth(33), 33);
    EXPECT_EQ(none->fitHeight(-4), 0);
}

TEST_F(DialogPainterTest, MissingPiecesAreSkippedAndLogged)
{
    LogCapture log;
    add("top", piece(10, 6, 0xFF000000));
    RefPointer<DialogPainter> p = painter({"nothere", "top"});
    EXPECT_EQ(p->getImage(0), nullptr);
    EXPECT_NE(p->getImage(1), nullptr);
    EXPECT_EQ(p->getImage(2), nullptr);
    EXPECT_EQ(p->getImage(-1), nullptr);
    EXPECT_TRUE(log.contains("nothere"));
    // Looked up once: a piece added later is not seen.
    add("nothere", piece(4, 4, 0xFF000000));
    EXPECT_EQ(p->getImage(0), nullptr);
}

TEST_F(DialogPainterTest, CentreColourSetsTheInsideAlpha)
{
    RefPointer<DialogPainter> p = painter({}, "centercolor=\"#80ffffff\"");
    RefPointer<Image> frame = Image::create(8, 6, 4);
    RefPointer<Graphics> g = frame->getGraphics();
    g->fillChannel(Graphics::ChannelAlpha, 200, 0, 0);
    EXPECT_TRUE(p->isChanged());
    p->paint(g.get());
    EXPECT_FALSE(p->isChanged());
    EXPECT_EQ(at(frame.get(), 3, 3), 0x80FFFFFFu);

    RefPointer<DialogPainter> maxAlpha = painter({}, "centercolor=\"#80ffffff\" usemaxalpha=\"true\"");
    RefPointer<Image> frame2 = Image::create(8, 6, 4);
    RefPointer<Graphics> g2 = frame2->getGraphics();
    g2->fillChannel(Graphics::ChannelAlpha, 200, 0, 0);
    g2->fillRectChannel(Graphics::ChannelAlpha, 10, 0, 0, 2, 2);
    maxAlpha->paint(g2.get());
    EXPECT_EQ(at(frame2.get(), 5, 5), 0xC8FFFFFFu);  // 200 kept
    EXPECT_EQ(at(frame2.get(), 1, 1), 0x80FFFFFFu);  // 10 raised to 128

    RefPointer<DialogPainter> noAlpha = painter({}, "centercolor=\"#80ffffff\" adjustalpha=\"false\"");
    RefPointer<Image> frame3 = Image::create(8, 6, 4);
    RefPointer<Graphics> g3 = frame3->getGraphics();
    noAlpha->paint(g3.get());
    EXPECT_EQ(at(frame3.get(), 3, 3), 0x00FFFFFFu);
}

TEST_F(DialogPainterTest, PaintsCornersEdgesAndTilesWithInitAlpha)
{
    add("tl", piece(4, 4, 0xFF0000FF));
    add("br", piece(4, 4, 0x80FF0000));
    add("top", piece(3, 2, 0xFF00FF00, false));
    RefPointer<DialogPainter> p = painter({"tl", "top", "", "", "", "", "", "", "br"},
                                          "initalpha=\"true\" centercolor=\"#00123456\"");
    RefPointer<Image> frame = Image::create(16, 12, 4);
    RefPointer<Graphics> g = frame->getGraphics();
    g->fillChannel(Graphics::ChannelAlpha, 255, 0, 0);
    p->paint(g.get());
    // Corners are copied with their own alpha.
    EXPECT_EQ(at(frame.get(), 0, 0), 0xFF0000FFu);
    EXPECT_EQ(at(frame.get(), 15, 11), 0x80FF0000u);
    // The top edge starts after the corner; a piece without alpha is opaque.
    EXPECT_EQ(at(frame.get(), 4, 0), 0xFF00FF00u);
    EXPECT_EQ(at(frame.get(), 15, 1), 0xFF00FF00u);
    // The inside took the centre colour at its alpha 0; uncovered parts stay clear.
    EXPECT_EQ(at(frame.get(), 8, 6), 0x00123456u);
    EXPECT_EQ(at(frame.get(), 0, 8) >> 24, 0u);
}

TEST_F(DialogPainterTest, WithoutAdjustAlphaPiecesBlendByTheirAlpha)
{
    add("centre", piece(5, 5, 0x00FF0000));
    RefPointer<DialogPainter> p = painter({"", "", "", "", "centre"}, "adjustalpha=\"false\"");
    RefPointer<Image> frame = Image::create(6, 6, 4);
    RefPointer<Graphics> g = frame->getGraphics();
    g->setColour(0xFF0000FF);
    g->fillRect(0, 0, 6, 6);
    p->paint(g.get());
    // A fully transparent piece leaves the target as it was.
    EXPECT_EQ(at(frame.get(), 2, 2) & 0xFFFFFF, 0x0000FFu);
    EXPECT_TRUE(p->getImage(4)->hasAlphaChannel());
}
