// The speech bubbles of a level on the real content: the customer's words at
// the start of level 1 and the chef's hints of play, checked by their pixels
// and written to the build folder's "pictures" for a person to look at.
#include "LevelSceneFixture.h"

#include <cstring>

#include "../dialogs/DialogPictures.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/SetupStore.h"
#include "framework/gui/Button.h"
#include "framework/scenegraph/Label.h"
#include "game/data/GameData.h"
#include "game/data/TortelunePlayer.h"
#include "game/dialogs/DefaultDialogPainter.h"
#include "game/dialogs/DialogCustomerHint.h"
#include "game/dialogs/DialogHint.h"
#include "game/production/PhasePlay.h"
#include "game/scenes/HintManager.h"

namespace {

class RealBoardScene : public TestGameScene {
public:
    using TestGameScene::TestGameScene;
    RefPointer<GameBoard> createBoard(GameNode* gridNode) override { return SceneGame::createBoard(gridNode); }
};

[[maybe_unused]] uint32_t pixelAt(Image* image, int x, int y)
{
    uint32_t value = 0;
    std::memcpy(&value, image->getPixels() + static_cast<size_t>(y) * image->getPitch() + x * 4, 4);
    return value;
}

[[maybe_unused]] RefPointer<Image> renderScene(Scene* scene)
{
    RefPointer<Image> canvas = Image::create(800, 600, 4);
    RefPointer<Graphics> graphics = canvas->getGraphics();
    graphics->setColour(0xFF000000);
    graphics->clear();
    RenderTask::renderFrame(scene, graphics.get(), scene->getTree());
    return canvas;
}

} // namespace

class SpeechBubblePicturesTest : public LevelSceneTest {
protected:
    SpeechBubblePicturesTest() { withMedia = true; }

    void useRealBoard()
    {
        RefPointer<RealBoardScene> real(new RealBoardScene(SetupStore::instance->findScene("SCENE_GAME")));
        real->loadContent();
        scene->leavePhase();
        scene = real;
    }
};

TEST_F(SpeechBubblePicturesTest, CustomerWordsAtTheStartOfLevelOne)
{
    useRealBoard();
    player->showHints = false;
    state().mode = 0;
    GameData::instance->startLevel(0);
    makeCurrent();
    ASSERT_TRUE(waitShown("DIALOG_CUSTOMERHINT"));
    frames(60);
    ASSERT_TRUE(writeScenePicture(scene.get(), "bubble_customer_level1.png"));
}

TEST_F(SpeechBubblePicturesTest, ChefHintsOfLevelOne)
{
    useRealBoard();
    state().mode = 0;
    GameData::instance->startLevel(0);
    makeCurrent();
    ASSERT_TRUE(runUntil([this] { return dynamic_cast<PhasePlay*>(phase()) != nullptr; }));
    for (const char* name : {"HINT_SWAP", "HINT_PASTRY1", "HINT_PASTRY3", "HINT_COUNTERTOP_FULL", "HINT_TOOLS",
                             "HINT_BONUSMETER", "HINT_UNRIPECHERRY"}) {
        HintManager::instance->showHint(name);
        ASSERT_TRUE(waitShown("DIALOG_HINT")) << name;
        frames(40);
        ASSERT_TRUE(writeScenePicture(scene.get(), std::string("bubble_") + name + ".png"));
        objectCast<DialogHint>(shown("DIALOG_HINT"))->closeHint();
        ASSERT_TRUE(waitGone("DIALOG_HINT"));
    }
}
