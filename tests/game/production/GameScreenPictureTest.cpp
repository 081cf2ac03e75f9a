// The game screen mid-level with the real art, written to the build folder
// for a person to look at.
#include <sys/stat.h>

#include "ProductionFixture.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/scenegraph/RenderTask.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/GameData.h"
#include "game/production/Countertop.h"
#include "game/production/GameScreen.h"
#include "game/production/Phase.h"
#include "support/FontFixtures.h"

namespace {

class GameScreenPictureTest : public ProductionTest {
protected:
    void SetUp() override
    {
        withMedia = true;
        ProductionTest::SetUp();
    }

    // The board's tiles, as the grid would show them, in a fixed pattern.
    void layTiles()
    {
        GameNode* grid = node("NODE_GRID");
        ASSERT_NE(nullptr, grid);
        const std::vector<std::string> names = GameData::instance->getCurrentLevel().getIngredientNames();
        ASSERT_FALSE(names.empty());
        for (int row = 0; row < 8; ++row)
            for (int column = 0; column < 8; ++column) {
                const std::string& name = names[(row * 7 + column * 3 + (row / 2) * column + column / 3) % names.size()];
                // Tiles stand on the bottom of their cell, as the grid's do.
                Sprite* tile = new Sprite(column * 50, row * 50, gamescreen::image(name));
                tile->setAnchorPoint(Sprite::BottomLeft);
                GameNode::addChild(grid, tile);
            }
    }

    void render(const std::string& fileName)
    {
        RefPointer<Image> canvas = Image::create(800, 600, 4);
        RefPointer<Graphics> graphics = canvas->getGraphics();
        graphics->setColour(0xFF000000);
        graphics->clear();
        RenderTask::renderFrame(scene.get(), graphics.get(), scene->getTree());
        const std::string folder = std::string(TORTELUNE_BINARY_DIR) + "/pictures";
        mkdir(folder.c_str(), 0755);
        ASSERT_TRUE(writePng(canvas.get(), folder + "/" + fileName));
        picture = canvas;
    }

    RefPointer<Image> picture;
};

TEST_F(GameScreenPictureTest, CareerLevelMidPlay)
{
    startCareerLevel(0);
    layTiles();
    Countertop* counter = countertop();
    ASSERT_NE(nullptr, counter);
    ASSERT_TRUE(runUntil([&] { return static_cast<bool>(counter->getPastry(2)); }));
    // Spot 0 finished, spot 1 half made, spot 2 just started, flights in the air.
    RefPointer<Pastry> done = counter->getPastry(0);
    for (const Pastry::Ingredient& ingredient : std::vector<Pastry::Ingredient>(done->ingredients))
        for (int unit = 0; unit < ingredient.amount; ++unit)
            counter->deliverIngredients({ingredient.name, 0, 0}, false, 400, 100, unit, 5);
    RefPointer<Pastry> half = counter->getPastry(1);
    for (int unit = 0; unit < 2; ++unit)
        counter->deliverIngredients({half->ingredients[0].name, 0, 0}, false, 450, 150, unit, 4);
    frames(120);
    RefPointer<Pastry> fresh = counter->getPastry(2);
    for (int unit = 0; unit < 3; ++unit)
        counter->deliverIngredients({fresh->ingredients[0].name, unit, 2}, false, 340 + 50 * unit, 124, unit, 3);
    state().playSessionInfo.score = 1250;
    frames(12);
    render("game_screen_midlevel.png");
    ASSERT_TRUE(picture);
    // The finished pastry stands on its doily and the countertop is drawn.
    EXPECT_TRUE(counter->getSpotChild(0, "PASTRY_SPRITE")->isVisible());
    EXPECT_TRUE(counter->getSpotChild(1, "INGREDIENT0")->isVisible());
}

} // namespace
