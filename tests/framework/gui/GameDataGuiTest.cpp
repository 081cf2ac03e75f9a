#include <gtest/gtest.h>

#include "GuiFixture.h"
#include "framework/core/BasicProperties.h"
#include "framework/gui/AlphaTransitionScene.h"
#include "framework/gui/FadeBlackTransitionScene.h"
#include "framework/gui/ToolTip.h"
#include "framework/gui/ToolTipLabel.h"
#include "support/LogCapture.h"

namespace {

// The game's own definitions of the framework's transitions, tooltip and
// full-screen buttons build the framework's classes.
class GameDataGuiTest : public GuiFixture {
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        BasicProperties::createInstance();
        for (const char* file : kGamePropertyFiles)
            SetupStore::instance->addFileName(std::string(TORTELUNE_SOURCE_DIR) + "/" + file);
        ASSERT_TRUE(SetupStore::instance->load());
    }
    void TearDown() override
    {
        GuiFixture::TearDown();
        BasicProperties::destroyInstance();
    }
};

TEST_F(GameDataGuiTest, TransitionsToolTipAndFullScreenButtonsComeFromTheGameFiles)
{
    LogCapture log;
    SceneManager* manager = SceneManager::instance;
    manager->setTransition("TRANSITION_DEFAULT");
    EXPECT_NE(nullptr, objectCast<FadeBlackTransitionScene>(manager->getTransition()));
    manager->setTransition("TRANSITION_LOAD");
    EXPECT_NE(nullptr, objectCast<AlphaTransitionScene>(manager->getTransition()));
    manager->setTransition("TRANSITION_SPLASH");
    EXPECT_NE(nullptr, objectCast<AlphaTransitionScene>(manager->getTransition()));

    PropertyNode* tipDefinition = SetupStore::instance->findTemplate("DEFAULT_TOOLTIP");
    RefPointer<ToolTip> tip = create<ToolTip>(tipDefinition->getTypeName(), tipDefinition);
    ASSERT_NE(nullptr, tip);
    EXPECT_NE(nullptr, tip->getRenderer());

    FullScreenHandler* handler = FullScreenHandler::create("DEFAULT_FSH");
    ASSERT_NE(nullptr, handler);
    EXPECT_NE(nullptr, handler->getQuitButton());
    EXPECT_NE(nullptr, handler->getRestoreButton());
    EXPECT_NE(nullptr, handler->getMinimizeButton());
    EXPECT_EQ("BUTTON_FSH_QUIT", handler->getQuitButton()->getName());
}

} // namespace
