#include "app/TorteluneMain.h"

#include <cstdint>
#include <cstdio>

#include "framework/core/BasicProperties.h"
#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/Random.h"
#include "framework/core/SetupStore.h"
#include "framework/core/StringUtils.h"
#include "framework/graphics/Graphics.h"
#include "framework/gui/FrameRecorder.h"
#include "framework/gui/FullScreenHandler.h"
#include "framework/gui/Scene.h"
#include "framework/gui/SceneManager.h"
#include "framework/gui/TransitionScene.h"
#include "framework/graphics/Image.h"
#include "framework/resources/IdleImageReleaser.h"
#include "framework/resources/ImageResource.h"
#include "framework/resources/ResourceManager.h"
#include "framework/resources/ResourceSection.h"
#include "framework/platform/DataFolders.h"
#include "framework/platform/DataGathering.h"
#include "framework/platform/GameWindow.h"
#include "framework/platform/Logger.h"
#include "framework/platform/RegistryValue.h"
#include "framework/platform/SettingsManager.h"
#include "framework/platform/Task.h"
#include "framework/platform/TimedTaskManager.h"
#include "framework/players/HighScoreManager.h"
#include "framework/players/PlayerManager.h"
#include "framework/players/PropertyAccess.h"
#include "framework/resources/FileModes.h"
#include "framework/sound/SoundManager.h"
#include "game/data/GameData.h"
#include "game/data/RankTable.h"
#include "game/data/ToolCatalog.h"
#include "game/data/TorteluneGameSettings.h"
#include "game/data/TuningTable.h"
#include "game/dialogs/DialogYesNo.h"
#include "game/dialogs/TrophyWatcher.h"
#include "game/scenes/HintManager.h"
#include "game/scenes/SceneGame.h"
#include "host/Folders.h"
#include "host/HostPlatform.h"
#include "host/HostWindow.h"
#include "host/SettingsStore.h"
#include "host/SingleInstanceLock.h"
#include "host/TerminationRequest.h"

TT_DEFINE_RECORD(TorteluneMain, &BaseObject::classRecord);

TorteluneMain* TorteluneMain::instance = nullptr;

namespace {

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr int kIconResource = 102;
constexpr int kFramesPerSecond = 50;
constexpr uint32_t kInactiveSleepMs = 40;
const char kQuitQuestion[] = "CTEXT_QUESTION_QUIT";
const char kNoResourcesText[] =
    "The game's resource table (media/properties/resources.xml) cannot be read, so the game has no pictures, "
    "sounds or fonts to show. The installation is damaged; installing the game again mends it.\n\n";
const char kNoGameNameText[] =
    "The game's property files give it no name (\"GAME_NAME\" is empty or missing), so it has no folder "
    "of its own for players, scores and saved games. The game does not start.";

std::vector<std::string> shutDownSteps;
// What a quit could not save (the level in progress, scores, players), told
// to the player before the window closes.
std::vector<std::string> unsavedOnQuit;
// The start already told that nothing can be saved: the quit does not repeat it.
bool toldProgressCannotBeSaved = false;
// The system asked the game to end (a logout, a kill, Ctrl-C): nobody may be
// there to click a box, so the quit tells only the log and standard error.
bool quitAskedBySystem = false;

void tellUnsavedProgress()
{
    if (unsavedOnQuit.empty())
        return;
    std::string lost;
    for (const std::string& what : unsavedOnQuit)
        lost += (lost.empty() ? "" : ", ") + what;
    unsavedOnQuit.clear();
    LOG_ERROR("quit: could not be saved: " + lost);
    const std::string title = getGameName() + ": progress cannot be saved";
    const std::string text = "Your progress could not be saved: the game cannot write into its folder\n" +
                             getGameFolder() + "\n\n(" + lost +
                             ")\n\nThe disk may be full, or the folder not writable.";
    if (quitAskedBySystem)
        std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    else if (!toldProgressCannotBeSaved)
        HostPlatform::current().showMessageBox(title, text, MessageBoxKind::Warning);
}

void noStep(const char*) {}

// The saves of a normal end, each step named to `step` as it is done; what
// fails is kept in `unsavedOnQuit` for the player to be told.
void saveProgressOnExit(void (*step)(const char*) = noStep)
{
    DataGathering::endSession();
    step("end session");
    if (HighScoreManager::getInstance() && !HighScoreManager::getInstance()->saveHighScores())
        unsavedOnQuit.emplace_back("the scores");
    step("save high scores");
    if (PlayerManager::getInstance() && !PlayerManager::getInstance()->savePlayerList())
        unsavedOnQuit.emplace_back("the players");
    step("save players");
}

// The game's scenes ask the application's quit question.
[[maybe_unused]] const bool quitQuestionSet = (SceneTortelune::setQuitQuestion(&TorteluneMain::askQuit), true);


// The window's close box: the current scene decides (the splash closes at
// once, every other scene asks the quit question).
bool onWindowClose(void* /*context*/)
{
    if (!SceneManager::instance)
        return false;
    Scene* scene = SceneManager::instance->getCurrentScene();
    if (!scene)
        return false;
    RefPointer<Scene> keepAlive(scene);
    scene->quit();
    return true;
}

// Makes the full-screen handler from "DEFAULT_FSH" at the top right corner
// once the section "default" with its buttons is loaded, then finishes.
class FullScreenHandlerStarter : public Task {
public:
    void run(int /*elapsedMs*/) override
    {
        if (ResourceManager* resources = ResourceManager::instance) {
            ResourceSection* section = resources->getSection("default");
            if (section && !section->isFullyLoaded())
                return;
        }
        setFinished();
        if (FullScreenHandler* handler = FullScreenHandler::create("DEFAULT_FSH")) {
            handler->setPosition(kScreenWidth, 0);
            FullScreenHandler::refresh(nullptr);
        }
    }
};

// Polls the loader until no requested section is left (the loader thread
// does the work; this thread only wakes it and looks).
void waitForRequestedSections(uint32_t pollMs)
{
    ResourceManager* resources = ResourceManager::instance;
    if (!resources)
        return;
    for (;;) {
        resources->wakeLoader();
        if (!resources->hasPendingRequests())
            return;
        sleepMilliseconds(pollMs);
    }
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
    // The lock sits with the data it guards: one running copy per data folder.
    instanceLock = std::make_unique<SingleInstanceLock>(getGameName(), getDataRoot());
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

bool TorteluneMain::startResourceLoading()
{
    ResourceManager::create();
    ResourceManager* resources = ResourceManager::instance;
    resources->addResourceFile("media/properties/resources.xml");
    if (!resources->loadResourceFiles()) {
        // Without it no scene could be drawn, nor the quit question asked: a
        // black window whose close box does nothing.
        LOG_ERROR("start-up: the resource table could not be read; the game does not start");
        HostPlatform::current().showMessageBox("Error", kNoResourcesText + resources->getLoadError(),
                                               MessageBoxKind::Error);
        return false;
    }
    resources->setLoadingEnabled(true);

    // Only the splash's own section is waited for, so that its first picture
    // comes up at once; the music streams and the loading scene's pictures
    // come next in the background (the splash waits for them before it
    // hands over), then the rest while the splash and the loading scene run.
    resources->requestSection("splash");
    waitForRequestedSections(1);
    resources->clearLoadQueue();
    // Pictures loaded in the background are kept compressed until they are
    // drawn: most are drawn rarely (dialogs, other scenes), and the ones of
    // the loading scene go back to their copies once it has ended.
    ImageResource::setCompressOnLoad(true);
    for (const char* section :
         {"music", "preloading", "default", "dialogs", "sceneselection", "trophies", "scenegame", "sounds"})
        resources->requestSection(section);
    return true;
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
    tellIfPlayersWereLost();
}

void TorteluneMain::tellIfPlayersWereLost()
{
    const PlayerManager::LoadReport& report = PlayerManager::getInstance()->getLoadReport();
    if (!report.progressLost)
        return;
    std::string header = toNarrowString(basicText("TEXT_PLAYERS_DAMAGED_HEADER"));
    std::string text = toNarrowString(basicText("TEXT_PLAYERS_DAMAGED"));
    if (header.empty() || text.empty()) {
        LOG_WARNING("start-up: the texts TEXT_PLAYERS_DAMAGED(_HEADER) are missing");
        header = "Progress could not be recovered";
        text = "The players file was damaged: the progress of some players could not be read back.";
    }
    for (const std::string& aside : report.keptAside)
        text += "\n" + aside;
    LOG_ERROR("start-up: players' progress could not be recovered from the damaged players file");
    HostPlatform::current().showMessageBox(getGameName() + ": " + header, text, MessageBoxKind::Warning);
}

void TorteluneMain::registerScenes()
{
    SceneManager* scenes = SceneManager::instance;
    for (const char* name : {"SCENE_SPLASH", "SCENE_LOAD", "SCENE_SELECTION", "SCENE_MAP", "SCENE_GAME",
                             "SCENE_TOOLSHOP", "SCENE_ARCADE"})
        scenes->registerScene(name);
    mapScene = scenes->getScene("SCENE_MAP");
    gameScene = scenes->getScene("SCENE_GAME");
    scenes->setNextScene(scenes->getScene("SCENE_SPLASH"));
}

void TorteluneMain::createFrameTasks()
{
    TimedTaskManager* timer = TimedTaskManager::create();
    timer->setRate(kFramesPerSecond);
    // Every frame: the scenes draw, the window presents, trophies are
    // announced, and sound follows last.
    timer->addTask(SceneManager::instance);
    timer->addTask(GameWindow::instance);
    timer->addTask(TrophyWatcher::instance);
    if (SoundManager::instance)
        timer->addTask(SoundManager::instance);
    // Pictures not drawn for a while go back to their compressed copies.
    timer->addTask(new IdleImageReleaser());

    // The handler's buttons are pictures of the section "default", which
    // loads in the background: made before it is there, they would have none.
    timer->addTask(new FullScreenHandlerStarter());
}

int TorteluneMain::run()
{
    getLogger(0, 2);
    setupArchive(std::string(), FILE_MODE_FILE);
    loadProperties();

    // Without a name the game folder would be the maker's folder that every
    // game shares, and players, scores and saved games of other games would mix.
    if (getGameName().empty()) {
        LOG_ERROR("start-up: \"GAME_NAME\" is empty; the game does not start");
        HostPlatform::current().showMessageBox("Error", kNoGameNameText, MessageBoxKind::Error);
        return ExitNoGameName;
    }

    if (!acquireInstanceLock())
        return ExitAlreadyRunning;

    registerLogFile();
    DataGathering::start();

    // Checked before anything is made for a window: without a display the
    // player would otherwise find a game running unseen.
    std::string noDisplay;
    if (!HostPlatform::current().connectDisplay(noDisplay)) {
        LOG_ERROR("start-up: " + noDisplay + "; the game does not start");
        return ExitNoDisplay;
    }
    setDisplayLostAction(&TorteluneMain::saveAfterDisplayLoss);

    uint32_t now = getMilliseconds();
    if (!Random::instance) {
        Random::instance = new Random(now);
        Random::instance->addRef();
    }
    CRuntimeRandom::global().seed(now);

    SceneManager::create();
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
    if (!windowFailed)
        warnIfProgressCannotBeSaved();

    SoundManager::createInstance();
    if (SoundManager::isSoundOn()) {
        SoundManager::instance->setMusicVolume(settings->getMusicVolume());
        SoundManager::instance->setEffectsVolume(settings->getSoundVolume());
    }

    if (!startResourceLoading())
        return ExitNoResources;
    setWindowIcon();
    createManagers();
    registerScenes();
    createFrameTasks();

    mainLoop();
    return windowFailed ? ExitNoWindow : ExitNormal;
}

void TorteluneMain::setWindowIcon()
{
    if (!GameWindow::instance || !ResourceManager::instance)
        return;
    RefPointer<Image> icon;
    {
        ResourceLock lock;
        icon = ResourceManager::instance->getResourceAs<Image>("ICON", "splash");
    }
    if (!icon) {
        LOG_WARNING("start-up: no window icon \"ICON\" in section \"splash\"");
        return;
    }
    GameWindow::instance->setIconPicture(icon.get());
}

void TorteluneMain::warnIfProgressCannotBeSaved()
{
    std::string reason;
    std::vector<std::string> settingsFolder;
    const std::shared_ptr<SettingsStore> settings = openGameSettingsStore();
    if (auto* file = dynamic_cast<FileSettingsStore*>(settings.get()))
        settingsFolder.push_back(file->getFilePath().substr(0, file->getFilePath().find_last_of('/')));
    toldProgressCannotBeSaved = false;
    if (canWriteGameFolder(&reason, settingsFolder))
        return;
    toldProgressCannotBeSaved = true;
    LOG_ERROR("start-up: progress cannot be saved: " + reason);
    HostPlatform::current().showMessageBox(
        getGameName() + ": progress cannot be saved",
        "Your progress cannot be saved: the game cannot write into its folder\n" + getGameFolder() + "\n\n(" +
            reason + ")\n\nYou can play, but players, scores and saved games will be lost when the game ends.",
        MessageBoxKind::Warning);
}

void TorteluneMain::mainLoop()
{
    GameWindow* window = GameWindow::instance;
    TimedTaskManager* timer = TimedTaskManager::instance;
    // Only a timing run names a record file; otherwise this stays null.
    std::unique_ptr<FrameRecorder> frameRecorder = FrameRecorder::fromEnvironment();
    timer->setFrameObserver(frameRecorder.get());
    for (;;) {
        WindowMessage message;
        if (window->peekMessage(message)) {
            if (message.message == WM_QUIT) {
                timer->setFrameObserver(nullptr);
                return;
            }
            if (message.message == WM_ENDSESSION && message.wParam) {
                // Logging out or a kill: nobody is there to answer a question.
                LOG_INFO("the system asks the game to end: saving and quitting");
                quitAskedBySystem = true;
                quit();
                continue;
            }
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

void TorteluneMain::askQuit(Scene* scene)
{
    if (!scene)
        return;
    // During a transition the question belongs to the scene it leads to, and
    // is looked for there.
    Scene* owner = scene;
    if (TransitionScene* transition = objectCast<TransitionScene>(scene)) {
        if (transition->getTo())
            owner = transition->getTo();
    }
    if (owner->isDialogShown(kQuitQuestion))
        return;
    if (ResourceManager::instance) {
        ResourceManager::instance->requestSection("dialogs");
        waitForRequestedSections(1);
    }
    SceneGame* game = instance ? objectCast<SceneGame>(instance->gameScene) : nullptr;
    bool inGame = game && owner == game;
    DialogYesNo* question = DialogYesNo::ask(kQuitQuestion, "CTEXT_QUIT_HEADER", instance, &TorteluneMain::onQuitYes,
                                             inGame ? game : nullptr,
                                             inGame ? &SceneGame::resumeAfterQuitQuestion : nullptr, owner);
    if (question)
        owner->showDialog(question);
}

int TorteluneMain::onQuitYes(void* /*context*/, BaseObject* /*button*/)
{
    quit();
    return 0;
}

int TorteluneMain::saveAfterDisplayLoss()
{
    // Called from inside the display call that found the loss, anywhere in a
    // frame: only the saves run, none of the shut-down that would draw, play
    // or close the window, and the caller never returns into the frame.
    LOG_INFO("the display is gone: saving and quitting");
    if (instance) {
        if (SceneGame* game = objectCast<SceneGame>(instance->gameScene)) {
            if (game->saveOnLeave)
                game->saveRunningGame();
        }
    }
    saveProgressOnExit();
    if (SettingsManager::instance)
        SettingsManager::instance->saveToRegistry();
    if (instance)
        instance->instanceLock.reset();
    return ExitNormal;
}

void TorteluneMain::quit()
{
    if (instance) {
        if (SceneGame* game = objectCast<SceneGame>(instance->gameScene)) {
            if (game->saveOnLeave && !game->saveRunningGame())
                unsavedOnQuit.emplace_back("the level in progress");
            game->leavePhase();
        }
    }
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
        saveProgressOnExit(step);
        tellUnsavedProgress();
        toldProgressCannotBeSaved = false;
        if (GameWindow::instance)
            GameWindow::instance->destroyWindow();
        step("close window");
    }

    unsavedOnQuit.clear();
    quitAskedBySystem = false;
    // A level's pieces borrow the game data: the game scene lets them go
    // first (a quit has done so already; an exit on failure has not).
    if (SceneGame* game = SceneGame::getInstance())
        game->leavePhase();
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
    FullScreenHandler::destroyInstance();
    step("full-screen handler");
    TimedTaskManager::destroyInstance();
    step("frame timer");
    SceneManager::destroyInstance();
    step("scene manager");
    PlayerManager::destroyInstance();
    step("player manager");
    SetupStore::destroyInstance();
    step("setup store");
    GameWindow::destroyInstance();
    step("window");
    SoundManager::releaseInstance();
    step("sound manager");
    ResourceManager::destroyInstance();
    step("resource manager");
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
    ImageResource::setCompressOnLoad(false);
    Image::setUseClock(0);
    shutdownArchive();
    step("archive");
    instanceLock.reset();
    step("instance lock");
    setDisplayLostAction(nullptr);
}

const std::vector<std::string>& lastShutDownSteps()
{
    return shutDownSteps;
}
