// The front door with the real art, written to the build folder's "pictures"
// for a person to look at: the player list, the map of a returning player
// with the saved-game question, and the map after a finished theme.

#include <sys/stat.h>

#include <cstring>
#include <string>

#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyStore.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "support/FontFixtures.h"
#include "framework/gui/Button.h"
#include "framework/gui/SceneManager.h"
#include "framework/players/PlayerManager.h"
#include "framework/scenegraph/RenderTask.h"
#include "game/data/TortelunePlayer.h"
#include "game/scenes/MapStates.h"
#include "game/scenes/SceneMap.h"
#include "game/scenes/SceneSelection.h"
#include "game/scenes/ThemeNode.h"
#include "support/FrontDoorFixture.h"

namespace {

class FrontDoorPictureTest : public FrontDoorFixture {
protected:
    void SetUp() override
    {
        withMedia = true;
        FrontDoorFixture::SetUp();
    }
    // One pixel of a 32-bit picture as 0xRRGGBB.
    static uint32_t pixel(Image* image, int x, int y)
    {
        const uint8_t* row = image->getPixels() + static_cast<size_t>(y) * static_cast<size_t>(image->getPitch());
        uint32_t value = 0;
        std::memcpy(&value, row + x * 4, 4);
        return value & 0xFFFFFF;
    }
};

TEST_F(FrontDoorPictureTest, PlayerListMapAndSavedGameQuestion)
{
    TortelunePlayer* anna = addPlayer("Anna", 5);
    anna->setHintSeen("HINT_CLICK_START");
    addPlayer("Bruno", 30);
    anna->levelStars = {{0, 3}, {1, 2}, {2, 3}, {3, 1}, {4, 2}, {5, 3}};
    anna->score = 123456;
    RefPointer<PropertyStore> store(new PropertyStore());
    store->addNode("levelmanager", "Node")->setInt("currentLevel", 5);
    ASSERT_TRUE(PlayerManager::getInstance()->saveGameState("LEVEL", "Anna", *store));

    enter("SCENE_SELECTION");
    Dialog* list = selection()->getOrCreateDialog("DIALOG_PLAYERSELECT", "DIALOG_PLAYERSELECT");
    selection()->showDialog(list);
    frames(1000);
    render("selection-player-list.png");
    selection()->forgetDialog(list);

    enter("SCENE_MAP");
    frames(600);
    RefPointer<Image> map = render("map-returning-player.png");
    // The saved level's theme is selected, its name board lit.
    EXPECT_EQ(1, this->map()->getSelectedTheme());
    this->map()->getStartButton()->fire();
    frames(800);
    ASSERT_TRUE(this->map()->isDialogShown("CTEXT_START_SAVEGAME"));
    RefPointer<Image> question = render("map-continue-question.png");
    // The question's cream face lies over the middle of the map.
    const uint32_t middle = pixel(question.get(), 400, 300);
    EXPECT_GT((middle >> 16) & 0xFF, 200u);
    EXPECT_GT(middle & 0xFF, 150u);
}

TEST_F(FrontDoorPictureTest, MapAfterTheFirstThemeIsFinished)
{
    addPlayer("Anna", 2)->setHintSeen("HINT_CLICK_START");
    enter("SCENE_SELECTION");
    enter("SCENE_MAP");
    enter("SCENE_GAME");
    currentPlayer()->highestLevelReached = 3;
    currentPlayer()->newLevelNotice = true;
    currentPlayer()->levelStars = {{0, 3}, {1, 3}, {2, 2}, {3, 3}};
    enter("SCENE_MAP");
    frames(1400);
    render("map-celebration.png");
    frames(5000);
    render("map-theme-finished.png");
    EXPECT_TRUE(map()->getTheme(0)->getPastryFinish()->isVisible());
    EXPECT_TRUE(map()->getTheme(1)->getPastryButton()->isVisible());
}

} // namespace
