// The game screen mid-level with the real art, written to the build folder
// for a person to look at.
#include <algorithm>

#include "ProductionFixture.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/gui/Dialog.h"
#include "framework/scenegraph/RenderTask.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/GameData.h"
#include "game/production/ConveyorController.h"
#include "game/production/ConveyorView.h"
#include "game/data/TuningTable.h"
#include "game/production/BonusMeter.h"
#include "game/production/CustomerView.h"
#include "game/production/FrenzyTask.h"
#include "game/production/Countertop.h"
#include "game/production/GameScreen.h"
#include "game/production/Phase.h"
#include "support/ScenePicture.h"

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
        // The plain ingredients: bonus tiles have pictures of their own names.
        std::vector<std::string> names;
        for (const std::string& name : GameData::instance->getCurrentLevel().getIngredientNames())
            if (name.find("bonus") == std::string::npos)
                names.push_back(name);
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

    RefPointer<Image> draw()
    {
        RefPointer<Image> canvas = Image::create(800, 600, 4);
        RefPointer<Graphics> graphics = canvas->getGraphics();
        graphics->setColour(0xFF000000);
        graphics->clear();
        RenderTask::renderFrame(scene.get(), graphics.get(), scene->getTree());
        return canvas;
    }

    // The pixels that change when `node` is hidden, as a screen-sized mask.
    std::vector<bool> maskOf(GameNode* node)
    {
        RefPointer<Image> shown = draw();
        const bool wasVisible = node->isVisible();
        node->setVisible(false);
        RefPointer<Image> hidden = draw();
        node->setVisible(wasVisible);
        const auto* a = reinterpret_cast<const uint32_t*>(shown->getPixels());
        const auto* b = reinterpret_cast<const uint32_t*>(hidden->getPixels());
        std::vector<bool> mask(800 * 600);
        for (size_t i = 0; i < mask.size(); ++i)
            mask[i] = a[i] != b[i];
        return mask;
    }

    // How many pixels inside (left, top)-(right, bottom) change when `node`
    // is hidden: what of it reaches the screen there.
    int pixelsOf(GameNode* node, int left = 0, int top = 0, int right = 800, int bottom = 600)
    {
        const std::vector<bool> mask = maskOf(node);
        int changed = 0;
        for (int y = std::max(0, top); y < std::min(600, bottom); ++y)
            for (int x = std::max(0, left); x < std::min(800, right); ++x)
                changed += mask[y * 800 + x] ? 1 : 0;
        return changed;
    }

    // The pixels of the sprite's current frame that are not fully transparent.
    static int coveredPixels(Sprite* sprite)
    {
        Image* picture = sprite->getImage();
        if (!picture || sprite->getFrameCount() < 1)
            return 0;
        const int height = picture->getHeight() / sprite->getFrameCount();
        int covered = 0;
        for (int y = sprite->getCurrentFrame() * height; y < (sprite->getCurrentFrame() + 1) * height; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(picture->getPixels() + y * picture->getPitch());
            for (int x = 0; x < picture->getWidth(); ++x)
                covered += (row[x] >> 24) != 0 ? 1 : 0;
        }
        return covered;
    }

    void render(const std::string& fileName)
    {
        picture = writeScenePicture(scene.get(), fileName);
        ASSERT_TRUE(picture) << fileName;
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

// Four plates with their recipes: none of the recipe pictures reaches into
// the board's rectangle, whatever plate it belongs to.
TEST_F(GameScreenPictureTest, RecipesOfEveryPlateStayOffTheBoard)
{
    startCareerLevel(2);
    layTiles();
    Countertop* counter = countertop();
    ASSERT_NE(nullptr, counter);
    ASSERT_EQ(4, counter->getSize());
    ASSERT_TRUE(runUntil([&] { return static_cast<bool>(counter->getPastry(3)); }));
    frames(40);
    render("game_screen_four_plates.png");
    int icons = 0;
    for (int spot = 0; spot < 4; ++spot) {
        for (int k = 0; k < tuning().MAX_INGREDIENT_COUNT; ++k) {
            GameNode* icon = counter->getSpotChild(spot, "INGREDIENT" + std::to_string(k));
            ASSERT_NE(nullptr, icon);
            if (!icon->isVisible())
                continue;
            ++icons;
            SCOPED_TRACE("plate " + std::to_string(spot) + ", ingredient " + std::to_string(k));
            EXPECT_GT(pixelsOf(icon), 200);
            // The tiles' cells: 8 x 8 of 50 px from (340, 24).
            EXPECT_EQ(0, pixelsOf(icon, 340, 24, 740, 424));
        }
    }
    EXPECT_GE(icons, 8);
}

// The little level sign beside the board, on a career level, an exam and in
// the arcade: drawn whole, clear of the board, the labels and the customer.
TEST_F(GameScreenPictureTest, TheLevelSignStandsWholeBesideTheBoard)
{
    enum Kind { Career, Exam, Arcade };
    for (Kind kind : {Career, Exam, Arcade}) {
        SCOPED_TRACE(kind == Career ? "career" : kind == Exam ? "exam" : "arcade");
        state().mode = kind == Arcade ? 1 : 0;
        const int index = kind == Exam ? selectFirstExam() : 0;
        ASSERT_GE(index, 0);
        GameData::instance->startLevel(index);
        scene->startLevel();
        ASSERT_TRUE(runUntil([&] { return scene->saveOnLeave; }, 3000));
        layTiles();
        Sprite* sign = gamescreen::sprite(node("LEVEL"));
        ASSERT_NE(nullptr, sign);
        EXPECT_TRUE(sign->isVisible());
        const int covered = coveredPixels(sign);
        EXPECT_GT(covered, 1000);
        const std::vector<bool> signMask = maskOf(sign);
        const int shown = static_cast<int>(std::count(signMask.begin(), signMask.end(), true));
        // A pixel or two may match what lies beneath by chance.
        EXPECT_GE(shown, covered * 98 / 100);
        for (const char* name : {"BOARD_BACK", "NODE_GRID", "LABEL_THEME", "TICKER_SCORE", "CUSTOMER",
                                 "SPRITE_SPACESTARS_BLUE", "SPRITE_SPACEGOAL", "SPRITE_SPACELEVEL"}) {
            GameNode* other = node(name);
            if (!other || !other->isVisible())
                continue;
            const std::vector<bool> otherMask = maskOf(other);
            int shared = 0;
            for (size_t i = 0; i < signMask.size(); ++i)
                shared += signMask[i] && otherMask[i] ? 1 : 0;
            EXPECT_EQ(0, shared) << name;
        }
        if (kind == Exam)
            render("exam_level_sign.png");
    }
}

TEST_F(GameScreenPictureTest, ArcadeBeltInMotion)
{
    state().mode = 1;
    GameData::instance->startLevel(0);
    scene->startLevel();
    ASSERT_TRUE(runUntil([&] { return scene->saveOnLeave; }));
    layTiles();
    auto* belt = dynamic_cast<ConveyorView*>(scene->getPastryStation());
    ASSERT_NE(nullptr, belt);
    // Three plates on the way: the front one finished, the next half made.
    ASSERT_TRUE(runUntil([&] { return state().conveyorBelt.spots.size() >= 3; }, 6000));
    Spot* front = state().conveyorBelt.spots[0].get();
    for (const Pastry::Ingredient& ingredient : std::vector<Pastry::Ingredient>(front->getPastry()->ingredients))
        for (int unit = 0; unit < ingredient.amount; ++unit)
            belt->deliverIngredients({ingredient.name, 0, 0}, false, 400, 100, unit, 5);
    Spot* second = state().conveyorBelt.spots[1].get();
    belt->deliverIngredients({second->getPastry()->ingredients[0].name, 0, 0}, false, 450, 150, 0, 3);
    ASSERT_TRUE(runUntil([&] { return front->state == Spot::Ready; }, 200));
    Spot* third = state().conveyorBelt.spots[2].get();
    for (int unit = 0; unit < 2; ++unit)
        belt->deliverIngredients({third->getPastry()->ingredients[0].name, unit, 7}, false, 390 + 50 * unit, 374, unit, 3);
    state().playSessionInfo.score = 2400;
    frames(8);
    render("arcade_belt_motion.png");
    ASSERT_TRUE(picture);
    EXPECT_TRUE(front->getPlate()->isVisible());
    EXPECT_EQ(255, front->getPlate()->getAlpha());
    // The pastries still to be made ride along as faint pictures under their recipes.
    for (Spot* unfinished : {second, third}) {
        Sprite* plate = unfinished->getPlate();
        ASSERT_NE(nullptr, plate);
        EXPECT_TRUE(plate->isVisible());
        EXPECT_EQ(ConveyorView::kUnfinishedPlateAlpha, plate->getAlpha());
        EXPECT_GT(pixelsOf(plate), 300);
    }
    // The round display: its panel, caption, flag and number all drawn.
    for (const char* name : {"SPRITE_SPACELEVEL", "LABEL_LEVEL", "LEVEL_ICON", "LABEL_LEVEL_VALUE"}) {
        GameNode* part = node(name);
        ASSERT_NE(nullptr, part) << name;
        EXPECT_GT(pixelsOf(part), 40) << name;
    }
    EXPECT_GT(belt->getSpeed(), 0.0f);

    // A click under the belt: the box drops onto the finished pastry.
    belt->getController()->onLeftDown(400, 590, 0, false);
    frames(22);
    render("arcade_belt_packaging.png");
}

TEST_F(GameScreenPictureTest, LevelStartWithTheCustomersBubble)
{
    answerCustomerHints = false;
    state().playSessionInfo.applyTools(4, 1);
    state().mode = 0;
    GameData::instance->startLevel(0);
    scene->startLevel();
    ASSERT_TRUE(runUntil([&] {
        Dialog* hint = scene->getDialog("DIALOG_CUSTOMERHINT");
        GameNode* ok = hint ? hint->getComponent("BUTTON_OK") : nullptr;
        return ok && ok->isVisible();
    }));
    layTiles();
    frames(15);
    render("game_screen_level_start.png");
    ASSERT_TRUE(picture);
    // The bubble keeps its template's width and grows with its text from there.
    Dialog* hint = scene->getDialog("DIALOG_CUSTOMERHINT");
    EXPECT_GE(hint->getWidth(), 300);
    EXPECT_GT(hint->getHeight(), 118);
}

TEST_F(GameScreenPictureTest, FrenzyWithAHappyCustomer)
{
    // Two tools in their slots, the frenzy's multipliers in force.
    state().playSessionInfo.applyTools(7, 3);
    startCareerLevel(0);
    layTiles();
    Countertop* counter = countertop();
    ASSERT_TRUE(runUntil([&] { return static_cast<bool>(counter->getPastry(1)); }));
    RefPointer<Pastry> done = counter->getPastry(0);
    for (const Pastry::Ingredient& ingredient : std::vector<Pastry::Ingredient>(done->ingredients))
        for (int unit = 0; unit < ingredient.amount; ++unit)
            counter->deliverIngredients({ingredient.name, 0, 0}, false, 400, 100, unit, 5);
    state().bonusMeter.setFill(static_cast<float>(tuning().BONUS_MAX));
    ASSERT_TRUE(runUntil([&] { return state().bonusMeter.isFrenzy(); }, 400));
    state().playSessionInfo.score = 4250;
    CustomerView* customer = scene->getCustomerView();
    ASSERT_NE(nullptr, customer);
    customer->reactToDelivery(100);
    scene->getToolSlots()->pulseToolById(7, scene->getPhaseContainer());
    frames(22);
    render("game_screen_frenzy.png");
    ASSERT_TRUE(picture);
    EXPECT_TRUE(node("BONUS_FOUNTAIN")->isVisible());
    EXPECT_TRUE(node("CUSTOMER_CLOUD")->isVisible());
    EXPECT_EQ(gamescreen::image("CUSTOMER_HENRI_ECSTATIC"), gamescreen::sprite(node("CUSTOMER"))->getImage());
}

} // namespace
