#include "game/scenes/LevelSceneFixture.h"

#include "support/ScenePicture.h"
#include "framework/gui/Button.h"
#include "framework/scenegraph/Label.h"
#include "game/data/GameData.h"
#include "game/data/ToolCatalog.h"
#include "game/data/TortelunePlayer.h"
#include "game/dialogs/DialogLevelInfo.h"
#include "game/dialogs/DialogSelectTool.h"

class LevelInfoTest : public LevelSceneTest {
protected:
    LevelInfoTest() { withMedia = true; }

    DialogLevelInfo* openInfo(int level)
    {
        state().mode = 0;
        GameData::instance->startLevel(level);
        auto* info = objectCast<DialogLevelInfo>(scene->getOrCreateDialog(std::string(), "DIALOG_LEVEL_INFO"));
        if (!info)
            return nullptr;
        info->showSelectedTools();
        info->showLevel(GameData::instance->getCurrentLevel());
        scene->showDialog(info);
        return info;
    }
    Button* levelButton(DialogLevelInfo* info, int slot)
    {
        return objectCast<Button>(info->getComponent("BUTTON_LEVEL" + std::to_string(slot)));
    }
};

TEST_F(LevelInfoTest, PansFinishedMarksAndHighlightFollowTheProgress)
{
    ToolCatalog::create();
    struct Case {
        int highest;
        int level;
        std::vector<int> tags;
        std::vector<bool> enabled;
        std::vector<bool> finished;
        int highlighted;
    };
    const Case cases[] = {
        {5, 6, {4, 5, 6, 7}, {true, true, true, false}, {true, true, false, false}, 2},
        {-1, 0, {0, 1, 2, 3}, {true, false, false, false}, {false, false, false, false}, 0},
    };
    for (const Case& c : cases) {
        player->highestLevelReached = c.highest;
        DialogLevelInfo* info = openInfo(c.level);
        ASSERT_NE(nullptr, info);
        for (int i = 0; i < 4; ++i) {
            Button* button = levelButton(info, i);
            ASSERT_NE(nullptr, button);
            EXPECT_EQ(c.tags[i], button->getTag()) << c.level << " slot " << i;
            EXPECT_EQ(c.enabled[i], button->isEnabled()) << c.level << " slot " << i;
            EXPECT_EQ(c.enabled[i], info->getComponent("SPRITE_PAN" + std::to_string(i))->isVisible());
            EXPECT_EQ(c.finished[i],
                      info->getComponent("SPRITE_LEVEL" + std::to_string(i) + "_FINISHED")->isVisible());
        }
        GameNode* highlight = info->getComponent("SPRITE_HIGHLIGHT");
        EXPECT_EQ(levelButton(info, c.highlighted)->getX(), highlight->getX());
        EXPECT_EQ(levelButton(info, c.highlighted)->getY() - 10, highlight->getY());
        auto* label = objectCast<Label>(info->getComponent("LABEL_LEVEL"));
        EXPECT_EQ(toWide(("Round " + std::to_string(c.level % 4 + 1)).c_str()), label->getText());
        scene->forgetDialog(info);
    }
    ToolCatalog::destroyInstance();
}

TEST_F(LevelInfoTest, ToolsBlanketsAndTheToolChoice)
{
    ToolCatalog::create();
    player->highestLevelReached = 2;
    // No tool yet: the full blanket and no tools button.
    DialogLevelInfo* info = openInfo(1);
    ASSERT_NE(nullptr, info);
    EXPECT_TRUE(info->getComponent("SPRITE_BLANKETFULL")->isVisible());
    EXPECT_FALSE(objectCast<Button>(info->getComponent("BUTTON_TOOLS"))->isEnabled());
    scene->forgetDialog(info);
    // One slot-A tool chosen: its icon, the half blanket over slot B.
    player->addToolLevel(1);
    player->tools = {0, 4};
    player->toolSlots = {0, -1};
    info = openInfo(1);
    frames(30);
    EXPECT_FALSE(info->getComponent("SPRITE_BLANKETFULL")->isVisible());
    EXPECT_TRUE(info->getComponent("SPRITE_BLANKETHALF")->isVisible());
    EXPECT_TRUE(info->getComponent("SPRITE_TOOL0")->isVisible());
    EXPECT_TRUE(objectCast<Button>(info->getComponent("BUTTON_TOOLS"))->isEnabled());
    ASSERT_TRUE(writeScenePicture(scene.get(), "dialog_levelinfo.png"));

    // The choice: bought tools are pickable, a pick replaces its slot's tool.
    auto* choice = objectCast<DialogSelectTool>(scene->getOrCreateDialog(std::string(), "DIALOG_SELECTTOOL"));
    ASSERT_NE(nullptr, choice);
    scene->showDialog(choice);
    int positionOfFour = -1;
    for (int i = 0; i < DialogSelectTool::kTools; ++i) {
        const int id = choice->getToolAt(i);
        const bool bought = id == 0 || id == 4;
        if (id == 4)
            positionOfFour = i;
        if (id != 0) {
            EXPECT_EQ(bought, choice->getToolButton(i)->isEnabled()) << "tool " << id;
        }
    }
    ASSERT_GE(positionOfFour, 0);
    choice->getToolButton(positionOfFour)->fire();
    EXPECT_EQ((std::vector<int>{4, -1}), player->toolSlots);
    frames(30);
    ASSERT_TRUE(writeScenePicture(scene.get(), "dialog_selecttool.png"));
    ToolCatalog::destroyInstance();
}
