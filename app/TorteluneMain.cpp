#include "app/TorteluneMain.h"

#include <cstdint>

#include "framework/core/BasicProperties.h"
#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/Random.h"
#include "framework/core/SetupStore.h"
#include "framework/core/StringUtils.h"
#include "framework/graphics/Graphics.h"
#include "framework/platform/DataGathering.h"
#include "framework/platform/GameWindow.h"
#include "framework/platform/Logger.h"
#include "framework/platform/SettingsManager.h"
#include "framework/platform/TimedTaskManager.h"
#include "framework/players/HighScoreManager.h"
#include "framework/players/PlayerManager.h"
#include "framework/resources/FileModes.h"
#include "framework/sound/SoundManager.h"
#include "game/data/GameData.h"
#include "game/data/RankTable.h"
#include "game/data/ToolCatalog.h"
#include "game/data/TorteluneGameSettings.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/TrophyWatcher.h"
#include "game/scenes/HintManager.h"
#include "host/Folders.h"
#include "host/HostPlatform.h"
#include "host/HostWindow.h"
#include "host/SingleInstanceLock.h"

TT_DEFINE_RECORD(TorteluneMain, &BaseObject::classRecord);

TorteluneMain* TorteluneMain::instance = nullptr;

namespace {

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr int kIconResource = 102;
constexpr int kFramesPerSecond = 50;
constexpr uint32_t kInactiveSleepMs = 40;

std::vector<std::string> shutDownSteps;

// TODO(scenes): stands where the scene manager will run until it is on main:
// every frame is the warm pastry cream of the game's backgrounds.
class PlainFrameTask : public Task {
public:
    void run(int /*elapsedMs*/) override
    {
        if (!GameWindow::instance || !GameWindow::instance->getGraphics())
            return;
        Graphics* graphics = GameWindow::instance->getGraphics();
        graphics->setColour(0xFFF3E2C4u);
        graphics->clear();
    }
};

// The window's close box: the current scene decides (the splash closes at
// once, every other scene asks the quit question).
bool onWindowClose(void* /*context*/)
{
    // TODO(scenes): hand the request to the current scene's quit() once the
    // scene manager is on main; until then the window closes at once.
    return false;
}

} // namespace

TorteluneMain* TorteluneMain::create()
{
    if (!instance) {
        instance = new TorteluneMain();
        instance->addRef();
    }
    return instance;
}

void TorteluneMain::destroyInstance()
{
    if (!instance)
        return;
    TorteluneMain* application = instance;
    instance = nullptr;
    application->release();
}

TorteluneMain::~TorteluneMain()
{
    if (instance == this)
        instance = nullptr;
}

std::unique_ptr<SingleInstanceLock> TorteluneMain::takeInstanceLock()
{
    return std::move(instanceLock);
}

void TorteluneMain::loadProperties()
{
    BasicProperties::createInstance();
    SetupStore::createInstance();
    SetupStore* store = SetupStore::instance;
    store->setLoadListener(new TuningLoader());
    for (const char* file : kGamePropertyFiles)
        store->addFileName(file);
    if (!store->load())
        LOG_ERROR("start-up: not every property file could be read");
}

bool TorteluneMain::acquireInstanceLock()
{
    instanceLock = std::make_unique<SingleInstanceLock>(getGameName());
    switch (instanceLock->acquire()) {
    case SingleInstanceLock::Result::Acquired: return true;
    case SingleInstanceLock::Result::AlreadyRunning:
        // The running copy restores its window and comes to the front.
        if (!instanceLock->requestRaise())
            LOG_WARNING("start-up: the running copy did not take the request to come to the front");
        instanceLock.reset();
        return false;
    case SingleInstanceLock::Result::Failed:
        // Without a lock folder the game still runs; only the guard is missing.
        LOG_WARNING("start-up: no single-instance lock could be taken");
        instanceLock.reset();
        return true;
    }
    return true;
}

void TorteluneMain::startResourceLoading()
{
    // TODO(resources): create the resource manager on
    // "media/properties/resources.xml", request "splash", "music" and
    // "preloading" and wait for them (waking the loader, 10 ms sleeps), then
    // clear the queue and request "default", "dialogs", "sceneselection",
    // "trophies", "scenegame" and "sounds" -- once ResourceManager is on main.
}

void TorteluneMain::createManagers()
{
    GameData::create();
    HintManager::create();
    ToolCatalog::create();
    RankTable::create();
    createTrophyWatcher();

    HighScoreManager::create(true, std::string())->loadHighScores();
    PlayerManager::create(true, std::string())->loadPlayerList();
}

void TorteluneMain::registerScenes()
{
    // TODO(scenes): register "SCENE_SPLASH", "SCENE_LOAD", "SCENE_SELECTION",
    // "SCENE_MAP", "SCENE_GAME", "SCENE_TOOLSHOP" and "SCENE_ARCADE" with the
    // scene manager, keep the map and game scenes and make the splash the
    // next scene -- once SceneManager is on main.
}

void TorteluneMain::createFrameTasks()
{
    TimedTaskManager* timer = TimedTaskManager::create();
    timer->setRate(kFramesPerSecond);
    // Every frame: the scenes draw, the window presents, trophies are
    // announced, and sound follows last.
    // TODO(scenes): the scene manager is the first task once it is on main.
    timer->addTask(new PlainFrameTask());
    timer->addTask(GameWindow::instance);
    timer->addTask(TrophyWatcher::instance);
    if (SoundManager::instance)
        timer->addTask(SoundManager::instance);
    // TODO(gui): the full-screen handler from "DEFAULT_FSH" at (800, 0).
}

int TorteluneMain::run()
{
    getLogger(0, 2);
    setupArchive(std::string(), FILE_MODE_FILE);
    loadProperties();

    if (!acquireInstanceLock())
        return ExitAlreadyRunning;

    registerLogFile();
    DataGathering::start();

    uint32_t now = getMilliseconds();
    if (!Random::instance) {
        Random::instance = new Random(now);
        Random::instance->addRef();
    }
    CRuntimeRandom::global().seed(now);

    SettingsManager::create(new TorteluneGameSettings());
    IGameSettings* settings = SettingsManager::instance->getSettings();

    DesktopMode desktop = HostPlatform::current().getDesktopMode();
    bool smallDesktop = desktop.width > 0 && desktop.width <= kScreenWidth && desktop.height <= kScreenHeight;
    bool fullScreen = settings->isFullScreen() || smallDesktop;
    GameWindow* window =
        GameWindow::create(getGameName(), kScreenWidth, kScreenHeight, fullScreen, 0, kIconResource);
    window->setCursorShape(CURSOR_ARROW_WAIT);
    window->setCloseHandler(onWindowClose, this);
    windowFailed = !window->getHostWindow() || !window->getHostWindow()->isOpen();

    SoundManager::createInstance();
    if (SoundManager::isSoundOn()) {
        SoundManager::instance->setMusicVolume(settings->getMusicVolume());
        SoundManager::instance->setEffectsVolume(settings->getSoundVolume());
    }

    startResourceLoading();
    createManagers();
    registerScenes();
    createFrameTasks();

    mainLoop();
    return windowFailed ? ExitNoWindow : ExitNormal;
}

void TorteluneMain::mainLoop()
{
    GameWindow* window = GameWindow::instance;
    TimedTaskManager* timer = TimedTaskManager::instance;
    for (;;) {
        WindowMessage message;
        if (window->peekMessage(message)) {
            if (message.message == WM_QUIT)
                return;
            window->dispatchMessage(message);
            continue;
        }
        if (instanceLock && instanceLock->takeRaiseRequest())
            window->restoreAndRaise();
        if (window->isInactive()) {
            sleepMilliseconds(kInactiveSleepMs);
            continue;
        }
        timer->tick();
        ++framesRun;
    }
}

void TorteluneMain::askQuit(Scene* /*scene*/)
{
    // TODO(dialogs): the yes/no question "CTEXT_QUESTION_QUIT" under
    // "CTEXT_QUIT_HEADER" once scenes and dialogs are on main; until then
    // the answer is yes.
    quit();
}

void TorteluneMain::quit()
{
    // TODO(scenes): save the level being played in the game scene and leave
    // its phase first, once SceneGame is on main.
    if (GameWindow::instance)
        GameWindow::instance->postQuitMessage(0);
}

bool hasUnitTestSwitch(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (argv[i] && toLowerAscii(argv[i]).find("-unittest") != std::string::npos)
            return true;
    }
    return false;
}

int runTortelune(int argc, char** argv, bool keepCurrentFolder)
{
    // Nothing else may run with the switch: no file, lock or window is touched.
    if (hasUnitTestSwitch(argc, argv))
        return 0;
    if (!keepCurrentFolder) {
        std::string folder = getExecutableFolder();
        if (!folder.empty())
            setCurrentFolder(folder);
    }
    TorteluneMain* application = TorteluneMain::create();
    int exitCode = application->run();
    std::unique_ptr<SingleInstanceLock> lock = application->takeInstanceLock();
    TorteluneMain::destroyInstance();
    shutDownTortelune(exitCode, std::move(lock));
    return exitCode;
}

void shutDownTortelune(int exitCode, std::unique_ptr<SingleInstanceLock> instanceLock)
{
    shutDownSteps.clear();
    auto step = [](const char* name) { shutDownSteps.emplace_back(name); };

    if (exitCode == TorteluneMain::ExitNormal) {
        DataGathering::endSession();
        step("end session");
        if (HighScoreManager::getInstance())
            HighScoreManager::getInstance()->saveHighScores();
        step("save high scores");
        if (PlayerManager::getInstance())
            PlayerManager::getInstance()->savePlayerList();
        step("save players");
        if (GameWindow::instance)
            GameWindow::instance->destroyWindow();
        step("close window");
    }

    GameData::destroyInstance();
    step("game data");
    HintManager::destroyInstance();
    step("hint manager");
    ToolCatalog::destroyInstance();
    step("tool catalogue");
    RankTable::destroyInstance();
    step("rank table");
    TrophyWatcher::destroyInstance();
    step("trophy watcher");
    // TODO(gui): the full-screen handler goes here.
    TimedTaskManager::destroyInstance();
    step("frame timer");
    // TODO(scenes): the scene manager goes here.
    PlayerManager::destroyInstance();
    step("player manager");
    SetupStore::destroyInstance();
    step("setup store");
    GameWindow::destroyInstance();
    step("window");
    SoundManager::releaseInstance();
    step("sound manager");
    // TODO(resources): the resource manager (joining its loader) goes here.
    HighScoreManager::destroyInstance();
    step("high-score manager");
    if (SettingsManager::instance)
        SettingsManager::instance->saveToRegistry();
    SettingsManager::destroyInstance();
    step("settings");
    // The object factory lives as long as the process: the classes registered
    // themselves in it before main and cannot do so again.
    if (Random::instance) {
        Random* random = Random::instance;
        Random::instance = nullptr;
        random->release();
    }
    step("random");
    DataGathering::stop();
    step("statistics");
    BasicProperties::destroyInstance();
    step("properties");
    shutdownArchive();
    step("archive");
    instanceLock.reset();
    step("instance lock");
}

const std::vector<std::string>& lastShutDownSteps()
{
    return shutDownSteps;
}
