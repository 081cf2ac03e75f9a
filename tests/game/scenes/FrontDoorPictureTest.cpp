// The front door with the real art, written to the build folder's "pictures"
// for a person to look at: the player list, the map of a returning player
// with the saved-game question, and the map after a finished theme.

#include <sys/stat.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>
#include <string>

#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyStore.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "support/FontFixtures.h"
#include "framework/gui/Button.h"
#include "framework/gui/SceneManager.h"
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/Sprite.h"
#include "framework/players/PlayerManager.h"
#include "framework/scenegraph/RenderTask.h"
#include "game/data/TortelunePlayer.h"
#include "game/scenes/MapStates.h"
#include "game/scenes/SceneLoad.h"
#include "game/scenes/SceneMap.h"
#include "game/scenes/SceneSelection.h"
#include "game/scenes/ThemeNode.h"
#include "support/FrontDoorFixture.h"
#include "support/PictureClearance.h"

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

// The relative luminance of an sRGB colour 0xRRGGBB.
double luminance(uint32_t rgb)
{
    auto channel = [](uint32_t value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel((rgb >> 16) & 0xFF) + 0.7152 * channel((rgb >> 8) & 0xFF) + 0.0722 * channel(rgb & 0xFF);
}

double contrastRatio(uint32_t a, uint32_t b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// "Click to continue" blinks over the finished shop front; at the faintest
// moment of its blink, the letters' light face still stands out from what
// lies under it (3 : 1 or more for most of the letters, the bar of large
// text).
TEST_F(FrontDoorPictureTest, ClickToContinueReadsAtTheFaintestMomentOfItsBlink)
{
    ResourceManager::instance->requestSection("preloading");
    for (int wait = 0; wait < 3000 && ResourceManager::instance->hasPendingRequests(); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    SceneLoad::setLoadingSleep(0);
    Scene* load = SceneManager::instance->registerScene("SCENE_LOAD");
    ASSERT_NE(nullptr, load);
    enter("SCENE_LOAD");
    ASSERT_EQ(load, SceneManager::instance->getCurrentScene());
    auto* text = dynamic_cast<Sprite*>(load->getComponent("CLICK_TEXT"));
    ASSERT_NE(nullptr, text);
    ASSERT_NE(nullptr, text->getImage());
    // The pan ends and the text has faded in and blinks.
    frames(12000);
    ASSERT_TRUE(text->isVisible());
    int faintest = 255;
    for (int ms = 0; ms < 3000; ms += 20) {
        faintest = std::min(faintest, text->getAlpha());
        frames(20);
    }
    for (int ms = 0; ms < 3000 && text->getAlpha() != faintest; ms += 20)
        frames(20);
    ASSERT_EQ(faintest, text->getAlpha());
    RefPointer<Image> with = renderedScene(load);
    text->setVisible(false);
    RefPointer<Image> without = renderedScene(load);
    text->setVisible(true);
    {
        // The shop front's layers carry no alpha; the window ignores it, a picture viewer would not.
        RefPointer<Image> picture = Image::clone(with.get());
        picture->getGraphics()->fillChannel(Graphics::ChannelAlpha, 255, 0, 0);
        EXPECT_TRUE(writePng(picture.get(), std::string(TORTELUNE_BINARY_DIR) +
                                                "/pictures/loading_click_to_continue_faintest.png"));
    }

    // The letters' light face: the opaque and bright pixels of the text's picture.
    Image* picture = text->getImage();
    const ScreenBox box = screenBoxOf(text);
    std::vector<double> ratios;
    picture->lock();
    with->lock();
    without->lock();
    for (int y = 0; y < picture->getHeight(); ++y) {
        for (int x = 0; x < picture->getWidth(); ++x) {
            const uint32_t argb = picture->row32(y)[x];
            if ((argb >> 24) < 250 || luminance(argb & 0xFFFFFF) < 0.6)
                continue;
            const int sx = box.left + x;
            const int sy = box.top + y;
            if (sx < 0 || sy < 0 || sx >= 800 || sy >= 600)
                continue;
            ratios.push_back(contrastRatio(with->row32(sy)[sx] & 0xFFFFFF, without->row32(sy)[sx] & 0xFFFFFF));
        }
    }
    without->unlock();
    with->unlock();
    picture->unlock();
    ASSERT_GT(ratios.size(), 200u);
    std::sort(ratios.begin(), ratios.end());
    const double tenthPercentile = ratios[ratios.size() / 10];
    EXPECT_GE(tenthPercentile, 3.0) << "at alpha " << faintest << " the letters stand out " << tenthPercentile
                                    << " : 1 from what is under them";
}

} // namespace
