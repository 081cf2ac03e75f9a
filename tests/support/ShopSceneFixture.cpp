#include "support/ShopSceneFixture.h"

#include <sys/stat.h>

#include <chrono>
#include <thread>

#include "framework/core/BasicProperties.h"
#include "framework/core/Random.h"
#include "framework/core/SetupStore.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "support/FontFixtures.h"
#include "framework/gui/Scene.h"
#include "framework/gui/SceneManager.h"
#include "framework/platform/GameWindow.h"
#include "framework/players/PlayerManager.h"
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/RenderTask.h"
#include "framework/platform/InputHandler.h"
#include "game/data/GameData.h"
#include "game/data/RankTable.h"
#include "game/data/ToolCatalog.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/TrophyWatcher.h"
#include "game/scenes/HintManager.h"
#include "support/GameProperties.h"

void ShopSceneTest::SetUp()
{
    previousFolder = std::filesystem::current_path();
    std::filesystem::current_path(TORTELUNE_SOURCE_DIR);
    previousObserver = setLogObserver([this](LogLevel level, const std::string& line) {
        if (level == LogLevel::Error || level == LogLevel::Warning)
            problems.push_back(line);
    });
    ASSERT_TRUE(loadGameProperties());
    GameData::create();
    RankTable::create();
    ToolCatalog::create();
    HintManager::create();
    PlayerManager::create(false, "1");
    PlayerManager::getInstance()->setBaseFolder(folder.path());
    player = addPlayer("Tester");
    PlayerManager::getInstance()->selectPlayer("Tester");
    Random::instance = new Random(24);
    Random::instance->addRef();
    GameWindow::create("Tortelune", 800, 600, false, 0, 102);
    SceneManager::create();
    TrophyWatcher::create();
    if (withMedia) {
        ResourceManager::create();
        ResourceManager::instance->addResourceFile("media/properties/resources.xml");
        ASSERT_TRUE(ResourceManager::instance->loadResourceFiles());
        ResourceManager::instance->setLoadingEnabled(true);
        for (const char* section : {"default", "dialogs", "trophies", "sounds", "tools", "scenetoolshop"})
            ResourceManager::instance->requestSection(section);
        for (int wait = 0; wait < 6000 && ResourceManager::instance->hasPendingRequests(); ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_FALSE(ResourceManager::instance->hasPendingRequests());
    }
}

void ShopSceneTest::TearDown()
{
    TrophyWatcher::destroyInstance();
    SceneManager::destroyInstance();
    GameWindow::destroyInstance();
    if (withMedia)
        ResourceManager::destroyInstance();
    if (Random::instance) {
        Random::instance->release();
        Random::instance = nullptr;
    }
    PlayerManager::destroyInstance();
    HintManager::destroyInstance();
    ToolCatalog::destroyInstance();
    RankTable::destroyInstance();
    GameData::destroyInstance();
    SetupStore::destroyInstance();
    BasicProperties::destroyInstance();
    resetTuning();
    setLogObserver(previousObserver);
    std::filesystem::current_path(previousFolder);
}

Scene* ShopSceneTest::enter(const std::string& sceneName)
{
    SceneManager* scenes = SceneManager::instance;
    Scene* scene = scenes->getScene(sceneName);
    if (!scene)
        scene = scenes->registerScene(sceneName);
    if (!scene)
        return nullptr;
    scenes->setNextScene(scene);
    frame();
    return scenes->getCurrentScene() == scene ? scene : nullptr;
}

void ShopSceneTest::frame(int ms)
{
    SceneManager::instance->run(ms);
    TrophyWatcher::instance->run(ms);
}

void ShopSceneTest::frames(int count, int ms)
{
    for (int i = 0; i < count; ++i)
        frame(ms);
}

void ShopSceneTest::moveMouse(int x, int y)
{
    if (FakeHostWindow* window = host.lastWindow())
        window->setMousePosition(x, y);
    if (Scene* scene = SceneManager::instance->getCurrentScene())
        scene->getInputHandler()->onMouseMove(x, y, 0);
}

TortelunePlayer* ShopSceneTest::addPlayer(const std::string& name)
{
    auto* profile = new TortelunePlayer(name);
    PlayerManager::getInstance()->addPlayer(profile);
    return profile;
}

RefPointer<Image> ShopSceneTest::screenshot(const std::string& fileName)
{
    RefPointer<Image> canvas = Image::create(800, 600, 4);
    RefPointer<Graphics> graphics = canvas->getGraphics();
    graphics->setColour(0xFF000000);
    graphics->clear();
    Scene* scene = SceneManager::instance->getCurrentScene();
    if (scene)
        RenderTask::renderFrame(scene, graphics.get(), scene->getTree());
    const std::string pictures = std::string(TORTELUNE_BINARY_DIR) + "/pictures";
    mkdir(pictures.c_str(), 0755);
    EXPECT_TRUE(writePng(canvas.get(), pictures + "/" + fileName));
    return canvas;
}
