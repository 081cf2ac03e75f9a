#include "support/FrontDoorFixture.h"

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "app/TorteluneMain.h"
#include "framework/core/BasicProperties.h"
#include "framework/core/SetupStore.h"
#include "framework/graphics/Image.h"
#include "framework/gui/Button.h"
#include "framework/gui/Scene.h"
#include "framework/gui/SceneManager.h"
#include "framework/platform/GameWindow.h"
#include "framework/players/PlayerManager.h"
#include "framework/resources/ResourceManager.h"
#include "game/data/GameData.h"
#include "game/data/RankTable.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/DialogHint.h"
#include "game/dialogs/DialogLevelInfo.h"
#include "game/dialogs/TrophyWatcher.h"
#include "game/scenes/HintManager.h"
#include "game/scenes/SceneGame.h"
#include "game/scenes/SceneMap.h"
#include "game/scenes/SceneSelection.h"
#include "game/scenes/ThemeNode.h"
#include "support/ScenePicture.h"
#include "support/GameProperties.h"

void FrontDoorFixture::SetUp()
{
    previousFolder = std::filesystem::current_path();
    std::filesystem::current_path(TORTELUNE_SOURCE_DIR);
    ASSERT_TRUE(loadGameProperties());
    if (withMedia) {
        ResourceManager::create();
        ResourceManager::instance->addResourceFile("media/properties/resources.xml");
        ASSERT_TRUE(ResourceManager::instance->loadResourceFiles());
        ResourceManager::instance->setLoadingEnabled(true);
        for (const char* section : {"default", "dialogs", "sceneselection", "scenemap", "scenegame"})
            ResourceManager::instance->requestSection(section);
        for (int wait = 0; wait < 3000 && ResourceManager::instance->hasPendingRequests(); ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_FALSE(ResourceManager::instance->hasPendingRequests());
    }
    GameWindow::create("Tortelune", 800, 600, false, 0, 102);
    SceneManager::create();
    TorteluneMain::create();
    GameData::create();
    HintManager::create();
    RankTable::create();
    TrophyWatcher::create();
    PlayerManager::create(false, "test")->setBaseFolder(folder.path());
    Scene* mapScene = SceneManager::instance->registerScene("SCENE_MAP");
    Scene* gameScene = SceneManager::instance->registerScene("SCENE_GAME");
    SceneManager::instance->registerScene("SCENE_SELECTION");
    TorteluneMain::instance->setScenes(mapScene, gameScene);
}

void FrontDoorFixture::TearDown()
{
    // As the game's quit does: a level's pieces borrow the game data, so the
    // game scene lets them go before the data goes.
    if (SceneGame* game = SceneGame::getInstance())
        game->leavePhase();
    PlayerManager::destroyInstance();
    TrophyWatcher::destroyInstance();
    RankTable::destroyInstance();
    HintManager::destroyInstance();
    GameData::destroyInstance();
    TorteluneMain::destroyInstance();
    SceneManager::destroyInstance();
    GameWindow::destroyInstance();
    if (withMedia)
        ResourceManager::destroyInstance();
    SetupStore::destroyInstance();
    BasicProperties::destroyInstance();
    resetTuning();
    std::filesystem::current_path(previousFolder);
}

void FrontDoorFixture::frames(int ms)
{
    for (int elapsed = 0; elapsed < ms; elapsed += 20) {
        SceneManager::instance->run(20);
        if (TrophyWatcher::instance)
            TrophyWatcher::instance->run(20);
        // The player reads the chef's hints and clicks them away.
        Scene* scene = SceneManager::instance->getCurrentScene();
        auto* hint = scene ? objectCast<DialogHint>(scene->getDialog("DIALOG_HINT")) : nullptr;
        if (answerHints && hint && scene->isDialogShown("DIALOG_HINT") && !hint->isClosing())
            hint->closeHint();
        // ...and starts the level its information offers.
        auto* info = scene ? objectCast<DialogLevelInfo>(scene->getDialog("DIALOG_LEVEL_INFO")) : nullptr;
        if (startOfferedLevels && info && scene->isDialogShown("DIALOG_LEVEL_INFO") && !info->isClosing())
            DialogLevelInfo::onStart(info, nullptr);
    }
}

Scene* FrontDoorFixture::enter(const std::string& name)
{
    Scene* scene = SceneManager::instance->getScene(name);
    SceneManager::instance->setNextScene(scene);
    SceneManager::instance->run(20);
    return scene;
}

SceneSelection* FrontDoorFixture::selection() const
{
    return objectCast<SceneSelection>(SceneManager::instance->getScene("SCENE_SELECTION"));
}

void FrontDoorFixture::pressMapButton(int theme, int button)
{
    ThemeNode* node = map()->getTheme(theme);
    ASSERT_NE(nullptr, node);
    if (button == kThemePastry)
        node->getPastryButton()->fire();
    else if (button == kStartButton)
        map()->getStartButton()->fire();
    else
        node->getLevelButton(button)->fire();
}

SceneMap* FrontDoorFixture::map() const
{
    return objectCast<SceneMap>(SceneManager::instance->getScene("SCENE_MAP"));
}

TortelunePlayer* FrontDoorFixture::addPlayer(const std::string& name, int highestLevel)
{
    RefPointer<TortelunePlayer> player(new TortelunePlayer(name));
    player->highestLevelReached = highestLevel;
    PlayerManager::getInstance()->addPlayer(player.get());
    return player.get();
}

TortelunePlayer* FrontDoorFixture::currentPlayer() const
{
    return objectCast<TortelunePlayer>(PlayerManager::getInstance()->getCurrentPlayer());
}

std::string FrontDoorFixture::playersFileText() const
{
    std::ifstream file(PlayerManager::getInstance()->storedName(PlayerManager::getInstance()->getPlayersFilePath()),
                       std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

RefPointer<Image> FrontDoorFixture::render(const std::string& fileName)
{
    RefPointer<Image> picture = writeScenePicture(SceneManager::instance->getCurrentScene(), fileName);
    EXPECT_TRUE(picture) << fileName;
    return picture;
}
