#include "LevelSceneFixture.h"

#include "framework/core/SetupStore.h"
#include "framework/gui/SceneManager.h"
#include "game/dialogs/DialogTortelune.h"
#include "support/TestFolders.h"

#include <string>
#include <unistd.h>

// The production fixture is shared with the phases' tests.
#include "game/production/ProductionFixture.cpp"

namespace {

const char kStandIns[] = R"(<?xml version="1.0"?>
<root><Node id="dialogs">
  <DialogTortelune id="DIALOG_PAUSE" width="200" height="100"/>
  <DialogTortelune id="DIALOG_MENU" width="200" height="100"/>
  <DialogTortelune id="DIALOG_TROPHYAWARDED" width="200" height="100"/>
</Node></root>)";

} // namespace

void LevelSceneTest::SetUp()
{
    ProductionTest::SetUp();
    if (HasFatalFailure())
        return;
    // One file per process: the tests run in parallel and a file rewritten
    // by another one may be read empty.
    const std::string standIns = std::string(TORTELUNE_BINARY_DIR) + "/test-home/level-scene-standins-"
        + std::to_string(getpid()) + ".xml";
    writeTestFile(standIns, kStandIns);
    SetupStore::instance->addFileName(standIns);
    ASSERT_TRUE(SetupStore::instance->load());
    SceneManager::create();
    makeCurrent();
}

void LevelSceneTest::TearDown()
{
    SceneManager::destroyInstance();
    ProductionTest::TearDown();
}

void LevelSceneTest::makeCurrent()
{
    SceneManager::instance->setNextScene(scene.get());
    SceneManager::instance->run(0);
}

Dialog* LevelSceneTest::shown(const std::string& name) const
{
    return scene->isDialogShown(name) ? scene->getDialog(name) : nullptr;
}

bool LevelSceneTest::waitShown(const std::string& name, int maxFrames)
{
    return runUntil([&] { return shown(name) != nullptr; }, maxFrames);
}

bool LevelSceneTest::waitGone(const std::string& name, int maxFrames)
{
    return runUntil([&] { return shown(name) == nullptr; }, maxFrames);
}

void LevelSceneTest::clickOn(Dialog* dialog)
{
    const int x = dialog->getAbsoluteX() + 5;
    const int y = dialog->getAbsoluteY() + 5;
    dialog->onLeftDown(x, y, 1, false);
    dialog->onLeftUp(x, y, 0);
}
