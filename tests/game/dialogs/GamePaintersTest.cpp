#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "framework/core/PropertyStore.h"
#include "framework/graphics/Graphics.h"
#include "framework/resources/ResourceLookup.h"
#include "game/dialogs/DefaultDialogPainter.h"
#include "support/LogCapture.h"

namespace {

std::map<std::string, RefPointer<BaseObject>> pieces;

RefPointer<BaseObject> lookUp(const std::string& name, const std::string& /*section*/)
{
    auto it = pieces.find(name);
    return it == pieces.end() ? nullptr : it->second;
}

constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kCentre = 0x80336699u;
constexpr uint32_t kCorner = 0xFFAA0000u;
constexpr uint32_t kConnector = 0xFF00AA00u;

// The game's three painters drawing into pictures that start opaque white.
class GamePaintersTest : public ::testing::Test {
protected:
    void SetUp() override { previous = ResourceLookup::install(&lookUp); }
    void TearDown() override
    {
        ResourceLookup::install(previous);
        pieces.clear();
    }

    static void add(const std::string& name, int width, int height, uint32_t colour)
    {
        RefPointer<Image> image = Image::create(width, height, 4);
        image->lock();
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                image->row32(y)[x] = colour;
        image->unlock();
        pieces[name] = image.get();
    }

    template <class Painter>
    RefPointer<Painter> painter(const char* className, const std::vector<std::string>& names,
                                const std::string& attributes = "")
    {
        std::string xml = std::string("<root><") + className + " id=\"p\" section=\"dialogs\" drawEiffel=\"false\" " +
                          attributes + "><Vector id=\"images\">";
        for (const std::string& name : names)
            xml += "<String value=\"" + name + "\"/>";
        xml += std::string("</Vector></") + className + "></root>";
        RefPointer<PropertyStore> store(new PropertyStore());
        EXPECT_TRUE(store->loadFromBuffer(xml.data(), xml.size()));
        return RefPointer<Painter>(new Painter(store->getChild("p")));
    }

    RefPointer<Image> paint(AbstractPainter* painter, int width, int height)
    {
        RefPointer<Image> picture = Image::create(width, height, 4);
        RefPointer<Graphics> graphics = picture->getGraphics();
        graphics->setColour(kWhite);
        graphics->clear();
        graphics->fillChannel(Graphics::ChannelAlpha, 255, 0, 0);
        painter->paint(graphics.get());
        return picture;
    }

    static uint32_t at(Image* image, int x, int y)
    {
        image->lock();
        const uint32_t value = image->row32(y)[x];
        image->unlock();
        return value;
    }

    LogCapture log;
    ResourceLookup::Function previous = nullptr;
};

// The centre colour drawn over white, made opaque.
constexpr uint32_t kCentreOverWhite = 0xFF99B3CCu;

TEST_F(GamePaintersTest, DefaultPainterDrawsTheCentreOnceOpaqueAtItsInset)
{
    add("centre", 300, 300, kCentre);
    add("small", 50, 50, kCentre);
    RefPointer<DefaultDialogPainter> large =
        painter<DefaultDialogPainter>("DefaultDialogPainter", {"", "", "", "", "centre"});
    RefPointer<Image> picture = paint(large.get(), 200, 150);
    // The piece's top-left 128 x 78 pixels at (36, 36), opaque.
    struct Probe {
        int x, y;
        uint32_t colour;
    };
    for (Probe probe : {Probe {36, 36, kCentreOverWhite}, Probe {163, 113, kCentreOverWhite},
                        Probe {35, 36, kWhite}, Probe {164, 113, kWhite}, Probe {163, 114, kWhite}, Probe {0, 0, kWhite}})
        EXPECT_EQ(probe.colour, at(picture.get(), probe.x, probe.y)) << probe.x << "," << probe.y;

    // A small centre is not repeated.
    RefPointer<DefaultDialogPainter> small =
        painter<DefaultDialogPainter>("DefaultDialogPainter", {"", "", "", "", "small"});
    picture = paint(small.get(), 200, 150);
    EXPECT_EQ(kCentreOverWhite, at(picture.get(), 85, 85));
    EXPECT_EQ(kWhite, at(picture.get(), 86, 40));
    EXPECT_EQ(kWhite, at(picture.get(), 40, 86));
}

TEST_F(GamePaintersTest, HintPainterDrawsItsCentreAt86AndBlackensOnInitAlpha)
{
    add("centre", 300, 300, kCentre);
    add("small", 50, 50, kCentre);
    add("corner", 10, 10, kCorner);
    RefPointer<DialogHintPainter> hint =
        painter<DialogHintPainter>("DialogHintPainter", {"corner", "", "", "", "centre"});
    RefPointer<Image> picture = paint(hint.get(), 300, 200);
    // The part 130 x 30 at (86, 86).
    EXPECT_EQ(kCentreOverWhite, at(picture.get(), 86, 86));
    EXPECT_EQ(kCentreOverWhite, at(picture.get(), 215, 115));
    EXPECT_EQ(kWhite, at(picture.get(), 216, 86));
    EXPECT_EQ(kWhite, at(picture.get(), 86, 116));
    EXPECT_EQ(kCorner, at(picture.get(), 0, 0));

    // "initalpha": black and transparent wherever nothing is drawn.
    RefPointer<DialogHintPainter> blackened = painter<DialogHintPainter>(
        "DialogHintPainter", {"corner", "", "", "", "small"}, "adjustalpha=\"true\" initalpha=\"true\"");
    picture = paint(blackened.get(), 300, 200);
    EXPECT_EQ(0u, at(picture.get(), 20, 20));
    EXPECT_EQ(0u, at(picture.get(), 299, 199));
    EXPECT_EQ(kCorner, at(picture.get(), 9, 9));
    // The centre over black, opaque.
    EXPECT_EQ(0xFF19324Bu, at(picture.get(), 86, 86));
}

TEST_F(GamePaintersTest, ChefHintPainterDrawsItsConnectorOnTheChosenSide)
{
    add("bottomleft", 30, 30, kCorner);
    add("connector", 20, 40, kConnector);
    struct Case {
        const char* side;
        int x, y;
    };
    // On a 200 x 150 picture with a 30 x 30 bottom-left corner and a 20 x 40 connector.
    for (Case side : {Case {"top", 90, 0}, Case {"bottomleft", 30, 110}, Case {"bottomright", 180, 110},
                      Case {"left", 0, 80}}) {
        std::vector<std::string> names = {"", "", "", "", "", "", "bottomleft", "", "", "", "", "", ""};
        names[9] = names[10] = names[11] = names[12] = "connector";
        RefPointer<DialogHintHenriPainter> henri = painter<DialogHintHenriPainter>(
            "DialogHintHenriPainter", names, std::string("connector=\"") + side.side + "\"");
        RefPointer<Image> picture = paint(henri.get(), 200, 150);
        EXPECT_EQ(kConnector, at(picture.get(), side.x, side.y)) << side.side;
        EXPECT_EQ(kConnector, at(picture.get(), side.x + 19, side.y + 39)) << side.side;
        if (side.y > 0) {
            EXPECT_NE(kConnector, at(picture.get(), side.x, side.y - 1)) << side.side;
        }
        if (side.x + 20 < 200) {
            EXPECT_NE(kConnector, at(picture.get(), side.x + 20, side.y)) << side.side;
        }
    }
}

} // namespace
