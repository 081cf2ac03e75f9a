// The speech bubbles of a level on the real content: the customer's words at
// the start of level 1 and the chef's hints of play, checked by their pixels
// and written to the build folder's "pictures" for a person to look at.
#include "LevelSceneFixture.h"

#include <cstring>

#include "support/ScenePicture.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/SetupStore.h"
#include "framework/gui/Button.h"
#include "framework/scenegraph/Label.h"
#include "game/data/GameData.h"
#include "game/data/TortelunePlayer.h"
#include "game/dialogs/DefaultDialogPainter.h"
#include "game/dialogs/DialogCustomerHint.h"
#include "game/data/ToolCatalog.h"
#include "game/dialogs/DialogHint.h"
#include "game/dialogs/DialogLevelInfo.h"
#include "game/dialogs/DialogToolHint.h"
#include "game/production/PhasePlay.h"
#include "game/scenes/HintManager.h"

namespace {

class RealBoardScene : public TestGameScene {
public:
    using TestGameScene::TestGameScene;
    RefPointer<GameBoard> createBoard(GameNode* gridNode) override { return SceneGame::createBoard(gridNode); }
};

uint32_t pixelAt(Image* image, int x, int y)
{
    uint32_t value = 0;
    std::memcpy(&value, image->getPixels() + static_cast<size_t>(y) * image->getPitch() + x * 4, 4);
    return value;
}

// The band at a speech bubble's bottom that only its tail reaches into, and
// the rim above it.
constexpr int kTailBand = 28;
constexpr int kRim = 24;

// Counts the pixels of the bubble's drawn picture, inside its body (within
// the rims, above the tail's band), that are not fully opaque.
int seeThroughPixels(Dialog* bubble)
{
    Image* picture = bubble->getImage();
    if (!picture)
        return -1;
    int count = 0;
    for (int y = kRim; y < picture->getHeight() - kTailBand - kRim; ++y)
        for (int x = kRim; x < picture->getWidth() - kRim; ++x)
            count += (pixelAt(picture, x, y) >> 24) == 0xFF ? 0 : 1;
    return count;
}

// True when the tail's band holds opaque pixels in the left or the right
// half of the bubble's picture.
bool tailIn(Dialog* bubble, bool leftHalf)
{
    Image* picture = bubble->getImage();
    const int from = leftHalf ? 0 : picture->getWidth() / 2;
    const int to = leftHalf ? picture->getWidth() / 2 : picture->getWidth();
    for (int y = picture->getHeight() - kTailBand / 2; y < picture->getHeight(); ++y)
        for (int x = from; x < to; ++x)
            if ((pixelAt(picture, x, y) >> 24) == 0xFF)
                return true;
    return false;
}

} // namespace

class SpeechBubblesTest : public LevelSceneTest {
protected:
    SpeechBubblesTest() { withMedia = true; }

    void useRealBoard()
    {
        RefPointer<RealBoardScene> real(new RealBoardScene(SetupStore::instance->findScene("SCENE_GAME")));
        real->loadContent();
        scene->leavePhase();
        scene = real;
    }
};

TEST_F(SpeechBubblesTest, CustomerWordsAtTheStartOfLevelOne)
{
    useRealBoard();
    answerCustomerHints = false;
    player->showHints = false;
    state().mode = 0;
    GameData::instance->startLevel(0);
    makeCurrent();
    ASSERT_TRUE(waitShown("DIALOG_CUSTOMERHINT"));
    auto* words = objectCast<DialogCustomerHint>(shown("DIALOG_CUSTOMERHINT"));
    ASSERT_NE(nullptr, words);
    Button* ok = objectCast<Button>(words->getComponent("BUTTON_OK"));
    ASSERT_NE(nullptr, ok);
    ASSERT_TRUE(runUntil([ok] { return ok->isVisible() && ok->getAlpha() == 255; }, 600));
    frames(10);
    ASSERT_TRUE(writeScenePicture(scene.get(), "bubble_customer_level1.png"));
    // The board does not show through the words, and the tail leaves the
    // bubble's lower left, towards the customer.
    EXPECT_EQ(0, seeThroughPixels(words));
    EXPECT_TRUE(tailIn(words, true));
    EXPECT_FALSE(tailIn(words, false));
}

TEST_F(SpeechBubblesTest, EveryCareerCustomersWordsLeaveRoomForTheOkButton)
{
    auto* words = objectCast<DialogCustomerHint>(scene->getOrCreateDialog("DIALOG_CUSTOMERHINT", "DIALOG_CUSTOMERHINT"));
    ASSERT_NE(nullptr, words);
    auto* text = objectCast<Label>(words->getComponent("LABEL_DESC"));
    auto* ok = objectCast<Button>(words->getComponent("BUTTON_OK"));
    ASSERT_TRUE(text && ok);
    state().mode = 0;
    const int levels = state().levelManager.getLevelCount();
    ASSERT_GT(levels, 0);
    for (int level = 0; level < levels; ++level) {
        GameData::instance->startLevel(level);
        words->showLevelText();
        const int textBottom = text->getY() + text->getHeight();
        const int okTop = ok->getY() - ok->getHeight() / 2;
        const int okBottom = ok->getY() + ok->getHeight() / 2;
        EXPECT_GE(okTop, textBottom + 4) << "level " << level;
        // Inside the cream body, clear of its rim.
        EXPECT_LE(okBottom, words->getHeight() - kTailBand - kRim) << "level " << level;
    }
}

TEST_F(SpeechBubblesTest, ChefHintsOfLevelOne)
{
    useRealBoard();
    state().mode = 0;
    GameData::instance->startLevel(0);
    makeCurrent();
    ASSERT_TRUE(runUntil([this] { return dynamic_cast<PhasePlay*>(phase()) != nullptr; }));
    frames(100);
    for (const char* name : {"HINT_SWAP", "HINT_PASTRY1", "HINT_PASTRY3", "HINT_COUNTERTOP_FULL", "HINT_TOOLS",
                             "HINT_BONUSMETER", "HINT_UNRIPECHERRY", "HINT_BONUS_ROWZAP"}) {
        HintManager::instance->showHint(name);
        ASSERT_TRUE(waitShown("DIALOG_HINT")) << name;
        frames(40);
        ASSERT_TRUE(writeScenePicture(scene.get(), std::string("bubble_") + name + ".png"));
        auto* bubble = objectCast<DialogHint>(shown("DIALOG_HINT"));
        // The chef is the customer: he speaks from his own bubble's place,
        // the tail at its lower left towards him.
        EXPECT_EQ(0, seeThroughPixels(bubble)) << name;
        EXPECT_TRUE(tailIn(bubble, true)) << name;
        EXPECT_FALSE(tailIn(bubble, false)) << name;
        // The hand points at what the hint speaks of, never over its words.
        if (Sprite* hand = bubble->getHand()) {
            const int left = hand->getOriginX() + hand->getLeft();
            const int top = hand->getOriginY() + hand->getTop();
            const int bodyLeft = bubble->getAbsoluteX();
            const int bodyTop = bubble->getAbsoluteY();
            const bool apart = left + hand->getWidth() <= bodyLeft || bodyLeft + bubble->getWidth() <= left ||
                               top + hand->getHeight() <= bodyTop ||
                               bodyTop + bubble->getHeight() - kTailBand <= top;
            EXPECT_TRUE(apart) << name << ": the hand at " << left << "," << top << ", the bubble at " << bodyLeft
                               << "," << bodyTop;
        }
        bubble->closeHint();
        ASSERT_TRUE(waitGone("DIALOG_HINT"));
    }
}

TEST_F(SpeechBubblesTest, ToolChoiceHintOverTheLevelInformation)
{
    ToolCatalog::create();
    player->highestLevelReached = 2;
    player->addToolLevel(1);
    player->tools = {0, 4, 1};
    player->toolSlots = {0, -1};
    state().mode = 0;
    GameData::instance->startLevel(1);
    auto* info = objectCast<DialogLevelInfo>(scene->getOrCreateDialog(std::string(), "DIALOG_LEVEL_INFO"));
    ASSERT_NE(nullptr, info);
    info->showSelectedTools();
    info->showLevel(GameData::instance->getCurrentLevel());
    scene->showDialog(info);
    frames(30);
    HintManager::instance->showHint("HINT_TOOLSSELECT");
    ASSERT_TRUE(waitShown("DIALOG_HINT"));
    frames(60);
    ASSERT_TRUE(writeScenePicture(scene.get(), "bubble_HINT_TOOLSSELECT.png"));
    ToolCatalog::destroyInstance();
}

TEST_F(SpeechBubblesTest, ToolHintsPointTheirTailFromTheToolsSide)
{
    ToolCatalog::create();
    struct Case {
        int tool;
        bool tailLeft;
    };
    // Tool 0 is a slot-A tool, tool 12 a slot-B tool.
    for (const Case& c : {Case {0, true}, Case {12, false}}) {
        auto* hint = objectCast<DialogToolHint>(scene->getOrCreateDialog("TOOLHINT" + std::to_string(c.tool),
                                                                         "DIALOG_TOOLHINT"));
        ASSERT_NE(nullptr, hint);
        hint->setTool(c.tool);
        hint->placeAt(400, 270);
        scene->showDialog(hint);
        frames(30);
        ASSERT_TRUE(writeScenePicture(scene.get(), "bubble_toolhint" + std::to_string(c.tool) + ".png"));
        EXPECT_EQ(270, hint->getY() + hint->getHeight()) << c.tool;
        EXPECT_EQ(0, seeThroughPixels(hint)) << c.tool;
        EXPECT_EQ(c.tailLeft, tailIn(hint, true)) << c.tool;
        EXPECT_NE(c.tailLeft, tailIn(hint, false)) << c.tool;
        scene->forgetDialog(hint);
    }
    ToolCatalog::destroyInstance();
}
