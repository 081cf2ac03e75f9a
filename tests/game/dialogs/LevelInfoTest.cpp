#include "game/scenes/LevelSceneFixture.h"

#include "support/ScenePicture.h"
#include "framework/graphics/Image.h"
#include "framework/gui/Button.h"
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/Sprite.h"
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
    static Image* dialogImage(const std::string& name)
    {
        ResourceLock lock;
        return ResourceManager::instance->getResourceAs<Image>(name, "dialogs").get();
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
        // A career level that is no exam keeps the warm pans.
        auto* backPan = objectCast<Sprite>(info->getComponent("SPRITE_BACKPAN"));
        ASSERT_NE(nullptr, backPan);
        EXPECT_EQ(dialogImage("LEVELINFO_BACKPAN"), backPan->getImage()) << c.level;
        EXPECT_NE(nullptr, objectCast<Sprite>(info->getComponent("SPRITE_CUSTOMER"))->getImage()) << c.level;
        auto* label = objectCast<Label>(info->getComponent("LABEL_LEVEL"));
        EXPECT_EQ(toWide(("Round " + std::to_string(c.level % 4 + 1)).c_str()), label->getText());
        scene->forgetDialog(info);
    }
    // An exam wears the frozen pans.
    int exam = 0;
    while (exam < state().levelManager.getLevelCount() &&
           (state().levelManager.selectLevel(exam), !GameData::instance->isExamLevel()))
        ++exam;
    ASSERT_LT(exam, state().levelManager.getLevelCount());
    player->highestLevelReached = exam;
    DialogLevelInfo* info = openInfo(exam);
    ASSERT_NE(nullptr, info);
    EXPECT_EQ(dialogImage("LEVELINFO_BACKPANFROZEN"), objectCast<Sprite>(info->getComponent("SPRITE_BACKPAN"))->getImage());
    scene->forgetDialog(info);
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
    EXPECT_FALSE(info->getComponent("SPRITE_BLANKETHALF")->isVisible());
    EXPECT_FALSE(objectCast<Button>(info->getComponent("BUTTON_TOOLS"))->isEnabled());
    scene->forgetDialog(info);
    // A single tool, not chosen yet, is enough for the tools button.
    player->tools = {4};
    info = openInfo(1);
    EXPECT_TRUE(objectCast<Button>(info->getComponent("BUTTON_TOOLS"))->isVisible());
    EXPECT_TRUE(objectCast<Button>(info->getComponent("BUTTON_TOOLS"))->isEnabled());
    EXPECT_FALSE(info->getComponent("SPRITE_BLANKETFULL")->isVisible());
    EXPECT_TRUE(info->getComponent("SPRITE_BLANKETHALF")->isVisible());
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
    frames(2);
    int positionOfFour = -1;
    for (int i = 0; i < DialogSelectTool::kTools; ++i) {
        const int id = choice->getToolAt(i);
        const bool bought = id == 0 || id == 4;
        if (id == 4)
            positionOfFour = i;
        if (id != 0) {
            EXPECT_EQ(bought, choice->getToolButton(i)->isEnabled()) << "tool " << id;
            if (!bought) {
                EXPECT_EQ(3, choice->getToolSprite(i)->getCurrentFrame()) << "tool " << id << " shows as locked";
            }
        }
        if (id >= 0) {
            EXPECT_NE(nullptr, choice->getToolSprite(i)->getImage()) << "tool " << id << " has its picture";
        }
    }
    ASSERT_GE(positionOfFour, 0);
    // The pointer over a tool of the empty slot tells that it is not there to take.
    int lockedOfSlotB = -1;
    for (int i = 0; i < DialogSelectTool::kTools && lockedOfSlotB < 0; ++i) {
        const Tool* tool = ToolCatalog::getInstance()->find(choice->getToolAt(i));
        if (tool && tool->slot == 1 && !player->hasTool(choice->getToolAt(i)))
            lockedOfSlotB = i;
    }
    ASSERT_GE(lockedOfSlotB, 0);
    ASSERT_TRUE(choice->getDescriptionLabel(1)->getText().empty());
    Button* locked = choice->getToolButton(lockedOfSlotB);
    choice->onMouseMove(locked->getAbsoluteX() - int(locked->getAnchorPoint().x) + locked->getWidth() / 2,
                        locked->getAbsoluteY() - int(locked->getAnchorPoint().y) + locked->getHeight() / 2, 0);
    EXPECT_FALSE(choice->getDescriptionLabel(1)->getText().empty());
    choice->getToolButton(positionOfFour)->fire();
    EXPECT_EQ((std::vector<int>{4, -1}), player->toolSlots);
    frames(30);
    // Each slot's row tells about its chosen tool; the empty slot says nothing.
    for (int slot : {0, 1}) {
        ASSERT_TRUE(choice->getNameLabel(slot) && choice->getDescriptionLabel(slot)) << slot;
        EXPECT_EQ(slot == 0, !choice->getNameLabel(slot)->getText().empty()) << slot;
        EXPECT_EQ(slot == 0, !choice->getDescriptionLabel(slot)->getText().empty()) << slot;
    }
    ASSERT_TRUE(writeScenePicture(scene.get(), "dialog_selecttool.png"));
    ToolCatalog::destroyInstance();
}
