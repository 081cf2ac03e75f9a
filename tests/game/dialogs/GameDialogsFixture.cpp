#include "GameDialogsFixture.h"

#include <chrono>
#include <thread>

#include "app/TorteluneMain.h"
#include "framework/core/BasicProperties.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/SetupStore.h"
#include "framework/graphics/Image.h"
#include "framework/gui/Scene.h"
#include "framework/gui/SceneManager.h"
#include "framework/platform/GameWindow.h"
#include "framework/platform/SettingsManager.h"
#include "framework/players/PlayerManager.h"
#include "framework/resources/ResourceManager.h"
#include "framework/scenegraph/MoveTask.h"
#include "framework/sound/SoundManager.h"
#include "framework/sound/SoundStream.h"
#include "game/data/GameData.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TorteluneGameSettings.h"
#include "game/data/TuningTable.h"
#include "game/scenes/SceneGame.h"
#include "host/AudioOutput.h"
#include "host/SettingsStore.h"
#include "support/ScenePicture.h"
#include "support/GameProperties.h"

namespace {

// The game scene, counting its saves of the level in progress (and writing
// them only when asked to).
class SceneGameRecorder : public SceneGame {
public:
    explicit SceneGameRecorder(AbstractProperty* configuration) : SceneGame(configuration) {}
    bool saveRunningGame() override
    {
        ++saves;
        return writes ? SceneGame::saveRunningGame() : true;
    }
    int saves = 0;
    bool writes = false;
};
TT_REGISTER_CLASS(SceneGameRecorder);

} // namespace

int savedGames(SceneGame* scene)
{
    auto* recorder = dynamic_cast<SceneGameRecorder*>(scene);
    return recorder ? recorder->saves : -1;
}

void writeSavedGames(SceneGame* scene)
{
    if (auto* recorder = dynamic_cast<SceneGameRecorder*>(scene))
        recorder->writes = true;
}

void GameDialogsFixture::SetUp()
{
    previousFolder = std::filesystem::current_path();
    std::filesystem::current_path(TORTELUNE_SOURCE_DIR);
    ASSERT_TRUE(loadGameProperties());
    SetupStore::instance->findScene("SCENE_GAME")->setTypeName("SceneGameRecorder");

    ResourceManager::create();
    ResourceManager::instance->addResourceFile("media/properties/resources.xml");
    ASSERT_TRUE(ResourceManager::instance->loadResourceFiles());
    ResourceManager::instance->setLoadingEnabled(true);
    for (const char* section : {"default", "dialogs"})
        ResourceManager::instance->requestSection(section);
    // Bounded: a loader that never finishes fails the test instead of hanging it.
    for (int waited = 0; ResourceManager::instance->hasPendingRequests() && waited < 120000; waited += 10)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_FALSE(ResourceManager::instance->hasPendingRequests());
    // The backgrounds of the screenshots, without their whole sections.
    ResourceManager::instance->getLoadedResource("GAME_BACKGROUND", "scenegame");
    ResourceManager::instance->getLoadedResource("SELECTION_BACKGROUND", "sceneselection");

    auto output = std::make_unique<host::RecordingAudioOutput>();
    audio = output.get();
    SoundManager::createInstance(std::move(output));
    store = std::make_shared<SettingsStore>();
    SettingsManager::create(new TorteluneGameSettings(), store);
    GameWindow::create("Tortelune", 800, 600, false, 4, 102);
    SceneManager::create();
    TorteluneMain::create();
    GameData::create();
    PlayerManager::create(false, BasicProperties::instance->getString("PLAYERS_VERSION"));
    PlayerManager::getInstance()->addPlayer(new TortelunePlayer(std::string("Ada")));
    player = objectCast<TortelunePlayer>(PlayerManager::getInstance()->getCurrentPlayer());

    game = objectCast<SceneGame>(SceneManager::instance->registerScene("SCENE_GAME"));
    ASSERT_NE(nullptr, game);
    selection = SceneManager::instance->registerScene("SCENE_SELECTION");
    map = SceneManager::instance->registerScene("SCENE_MAP");
    enter(game);
}

void GameDialogsFixture::TearDown()
{
    music.reset();
    // As the game's quit does: a level's pieces borrow the game data, so the
    // game scene lets them go before the data goes.
    if (SceneGame* scene = SceneGame::getInstance())
        scene->leavePhase();
    PlayerManager::destroyInstance();
    GameData::destroyInstance();
    TorteluneMain::destroyInstance();
    SceneManager::destroyInstance();
    GameWindow::destroyInstance();
    SettingsManager::destroyInstance();
    SoundManager::releaseInstance();
    ResourceManager::destroyInstance();
    SetupStore::destroyInstance();
    BasicProperties::destroyInstance();
    resetTuning();
    std::filesystem::current_path(previousFolder);
}

void GameDialogsFixture::enter(Scene* scene)
{
    SceneManager::instance->setNextScene(scene);
    SceneManager::instance->run(20);
    ASSERT_EQ(scene, SceneManager::instance->getCurrentScene());
}

void GameDialogsFixture::advance(int ms)
{
    for (int elapsed = 0; elapsed < ms; elapsed += 20) {
        Scene* scene = SceneManager::instance->getRunningScene();
        scene->getMoveTask()->run(20);
        SoundManager::instance->run(20);
    }
}

Dialog* GameDialogsFixture::open(const std::string& name)
{
    Scene* scene = SceneManager::instance->getCurrentScene();
    Dialog* dialog = scene->getOrCreateDialog(name, name);
    if (dialog)
        scene->showDialog(dialog);
    return dialog;
}

bool GameDialogsFixture::isShown(const std::string& dialogName) const
{
    return SceneManager::instance->getCurrentScene()->isDialogShown(dialogName);
}

void GameDialogsFixture::screenshot(const std::string& fileName)
{
    EXPECT_TRUE(writeScenePicture(SceneManager::instance->getCurrentScene(), fileName)) << fileName;
}

SoundStream* GameDialogsFixture::startMusic()
{
    music = new SoundStream("media/music/game.ogg", 0);
    SoundManager::instance->playMusic(0, 1.0f, 1, music.get(), 0, 306);
    // The first track becomes current once it has faded in.
    for (int i = 0; i < 5; ++i)
        SoundManager::instance->run(20);
    return music.get();
}
