// The map's level information through the real map and the real dialog, with
// the real art: what it shows on its first opening, how it is left, and which
// level its buttons start; and the map's rules at a finished theme.

#include <sys/stat.h>

#include <cctype>
#include <chrono>
#include <string>
#include <thread>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/gui/Button.h"
#include "framework/gui/SceneManager.h"
#include "framework/gui/StyleLabel.h"
#include "framework/platform/InputHandler.h"
#include "framework/players/PlayerManager.h"
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/RenderTask.h"
#include "framework/scenegraph/Sprite.h"
#include "game/data/GameData.h"
#include "game/data/RankTable.h"
#include "game/data/ToolCatalog.h"
#include "game/data/TortelunePlayer.h"
#include "game/dialogs/DialogLevelInfo.h"
#include "game/scenes/MapStates.h"
#include "game/scenes/SceneMap.h"
#include "game/scenes/ThemeNode.h"
#include "host/WindowMessages.h"
#include "support/FontFixtures.h"
#include "support/FrontDoorFixture.h"

namespace {

class MapLevelInfoTest : public FrontDoorFixture {
protected:
    void SetUp() override
    {
        withMedia = true;
        startOfferedLevels = false;
        FrontDoorFixture::SetUp();
        if (HasFatalFailure())
            return;
        // The tools' pictures for the tool slots.
        ResourceManager::instance->requestSection("tools");
        for (int wait = 0; wait < 3000 && ResourceManager::instance->hasPendingRequests(); ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ToolCatalog::create();
    }
    void TearDown() override
    {
        ToolCatalog::destroyInstance();
        FrontDoorFixture::TearDown();
    }

    // A returning player on the map, waiting for a click.
    TortelunePlayer* returningPlayer(int highest)
    {
        TortelunePlayer* player = addPlayer("Anna", highest);
        player->setHintSeen("HINT_CLICK_START");
        player->setHintSeen("HINT_TOOLSSELECT");
        enter("SCENE_SELECTION");
        enter("SCENE_MAP");
        return player;
    }
    template <class State>
    State* stateAs() const
    {
        return dynamic_cast<State*>(map()->getState());
    }
    // Clicks a level on the map: the first click selects its theme, the second opens it.
    void clickLevel(int level)
    {
        ThemeNode* theme = map()->getTheme(level / 4);
        ASSERT_NE(nullptr, theme);
        if (map()->getSelectedTheme() != level / 4)
            theme->getLevelButton(level % 4)->fire();
        theme->getLevelButton(level % 4)->fire();
    }
    // The shown level information once its fade-in has ended (it takes input then).
    DialogLevelInfo* shownInfo()
    {
        frames(600);
        Scene* scene = map();
        if (!scene->isDialogShown("DIALOG_LEVEL_INFO"))
            return nullptr;
        return objectCast<DialogLevelInfo>(scene->getDialog("DIALOG_LEVEL_INFO"));
    }
    static Button* button(Dialog* dialog, const std::string& name)
    {
        return objectCast<Button>(dialog->getComponent(name));
    }
    static WString labelText(Dialog* dialog, const std::string& name)
    {
        GameNode* node = dialog->getComponent(name);
        if (auto* label = objectCast<Label>(node))
            return label->getText();
        if (auto* styled = objectCast<StyleLabel>(node))
            return styled->getText();
        return WString();
    }
    int currentLevel() const { return GameData::instance->state->levelManager.getCurrentIndex(); }
    Scene* nextScene() const { return SceneManager::instance->getNextScene(); }
    Scene* gameScene() const { return SceneManager::instance->getScene("SCENE_GAME"); }
    void writePicture(const std::string& fileName)
    {
        RefPointer<Image> canvas = Image::create(800, 600, 4);
        RefPointer<Graphics> graphics = canvas->getGraphics();
        graphics->setColour(0xFF000000);
        graphics->clear();
        RenderTask::renderFrame(map(), graphics.get(), map()->getTree());
        const std::string folder = std::string(TORTELUNE_BINARY_DIR) + "/pictures";
        mkdir(folder.c_str(), 0755);
        EXPECT_TRUE(writePng(canvas.get(), folder + "/" + fileName));
    }
};

TEST_F(MapLevelInfoTest, FirstOpeningShowsThePickedLevelItsGoalCustomerAndTools)
{
    TortelunePlayer* player = returningPlayer(5);
    player->addToolLevel(1);
    player->tools = {0, 4};
    player->toolSlots = {0, -1};
    clickLevel(6);
    ASSERT_NE(nullptr, stateAs<MapLevelInfoState>());
    DialogLevelInfo* info = shownInfo();
    ASSERT_NE(nullptr, info);
    const Level& level = GameData::instance->getCurrentLevel();
    ASSERT_EQ(6, level.levelIndex);

    EXPECT_EQ(getThemeTitle(getThemeIndex(level.themeName)), labelText(info, "LABEL_THEME"));
    EXPECT_FALSE(labelText(info, "LABEL_THEME").empty());
    EXPECT_EQ(toWide("Round 3"), labelText(info, "LABEL_LEVEL"));
    const WString goal = labelText(info, "LABEL_GOAL");
    EXPECT_NE(WString::npos, goal.find(toWide(std::to_string(level.starsGoal).c_str())));
    EXPECT_EQ(WString::npos, goal.find(toWide("%")));
    // The level's own customer, in its portrait.
    auto* customer = objectCast<Sprite>(info->getComponent("SPRITE_CUSTOMER"));
    ASSERT_NE(nullptr, customer);
    ASSERT_NE(nullptr, customer->getImage());
    std::string name = level.customerName;
    for (char& c : name)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    {
        // Its portrait, or its everyday picture where it has none.
        ResourceLock lock;
        Image* portrait = ResourceManager::instance->getLoadedResourceAs<Image>(name + "_DIALOG", "scenegame").get();
        Image* casual = ResourceManager::instance->getLoadedResourceAs<Image>(name + "_CASUAL", "scenegame").get();
        EXPECT_EQ(portrait ? portrait : casual, customer->getImage()) << name;
    }
    // The theme's four levels, the chosen tool and the half blanket over the empty slot.
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(4 + i, button(info, "BUTTON_LEVEL" + std::to_string(i))->getTag());
    auto* tool = objectCast<Sprite>(info->getComponent("SPRITE_TOOL0"));
    ASSERT_NE(nullptr, tool);
    EXPECT_TRUE(tool->isVisible());
    EXPECT_NE(nullptr, tool->getImage());
    EXPECT_FALSE(info->getComponent("SPRITE_TOOL1")->isVisible());
    EXPECT_TRUE(info->getComponent("SPRITE_BLANKETHALF")->isVisible());
    writePicture("map_levelinfo.png");
}

TEST_F(MapLevelInfoTest, CancelAndEscapeLeaveTheMapIdleAndStartNothing)
{
    returningPlayer(5);
    for (bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Esc" : "Cancel");
        clickLevel(5);
        DialogLevelInfo* info = shownInfo();
        ASSERT_NE(nullptr, info);
        if (escape) {
            map()->getInputHandler()->onKeyDown(VK_ESCAPE);
            map()->getInputHandler()->onKeyUp(VK_ESCAPE);
        } else {
            button(info, "BUTTON_CANCEL")->fire();
        }
        frames(600);
        EXPECT_FALSE(map()->isDialogShown("DIALOG_LEVEL_INFO"));
        ASSERT_NE(nullptr, stateAs<MapIdleState>());
        EXPECT_TRUE(map()->getState()->isInputEnabled());
        EXPECT_TRUE(map()->getStartButton()->isEnabled());
        EXPECT_EQ(nullptr, nextScene());
        EXPECT_EQ(map(), SceneManager::instance->getCurrentScene());
    }
}

TEST_F(MapLevelInfoTest, StartStartsTheLevelShown)
{
    returningPlayer(5);
    clickLevel(5);
    DialogLevelInfo* info = shownInfo();
    ASSERT_NE(nullptr, info);
    button(info, "BUTTON_START")->fire();
    frames(400);
    EXPECT_EQ(5, currentLevel());
    EXPECT_EQ(gameScene(), SceneManager::instance->getCurrentScene());
}

TEST_F(MapLevelInfoTest, LevelButtonsPickLevelsOfTheDialogsOwnTheme)
{
    returningPlayer(9);
    clickLevel(10);
    DialogLevelInfo* info = shownInfo();
    ASSERT_NE(nullptr, info);
    // The first press shows the theme's first level, the second starts it.
    button(info, "BUTTON_LEVEL0")->fire();
    EXPECT_EQ(8, currentLevel());
    EXPECT_TRUE(map()->isDialogShown("DIALOG_LEVEL_INFO"));
    EXPECT_EQ(toWide("Round 1"), labelText(info, "LABEL_LEVEL"));
    button(info, "BUTTON_LEVEL0")->fire();
    frames(400);
    EXPECT_EQ(gameScene(), SceneManager::instance->getCurrentScene());
    EXPECT_EQ(8, currentLevel());
    EXPECT_EQ(2, GameData::instance->getCurrentLevel().levelIndex / 4);
}

// Themes 0 and 1 are finished, theme 2 is being played.
TEST_F(MapLevelInfoTest, AFinishedThemeReplaysItsLevelsAndShowsThemAllFinished)
{
    struct Case {
        const char* what;
        int theme;
        int levelButton; // or kThemePastry, or kStartButton with the theme selected
        int expected;
    };
    const Case cases[] = {
        {"the pastry of a finished theme opens its first level", 0, kThemePastry, 0},
        {"START with a finished theme selected opens its first level", 1, kStartButton, 4},
        {"a level of a finished theme opens that level", 1, 3, 7},
        {"the pastry of the theme being played opens its next level", 2, kThemePastry, 9},
    };
    returningPlayer(8);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ThemeNode* theme = map()->getTheme(c.theme);
        if (map()->getSelectedTheme() != c.theme)
            theme->getPastryButton()->fire();
        ASSERT_EQ(c.theme, map()->getSelectedTheme());
        pressMapButton(c.theme, c.levelButton);
        DialogLevelInfo* info = shownInfo();
        ASSERT_NE(nullptr, info);
        EXPECT_EQ(c.expected, currentLevel());
        const bool finished = c.theme < 2;
        for (int i = 0; i < 4; ++i) {
            const int level = c.theme * 4 + i;
            EXPECT_EQ(level <= 9, button(info, "BUTTON_LEVEL" + std::to_string(i))->isEnabled()) << level;
            EXPECT_EQ(level <= 8, info->getComponent("SPRITE_LEVEL" + std::to_string(i) + "_FINISHED")->isVisible())
                << level;
        }
        EXPECT_EQ(finished, theme->getPastryFinish()->isVisible());
        button(info, "BUTTON_CANCEL")->fire();
        frames(600);
        ASSERT_NE(nullptr, stateAs<MapIdleState>());
    }
}

} // namespace
