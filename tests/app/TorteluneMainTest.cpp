#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/TorteluneMain.h"
#include "framework/core/BasicProperties.h"
#include "framework/core/Random.h"
#include "framework/core/SetupStore.h"
#include "framework/gui/FullScreenHandler.h"
#include "framework/platform/DataFolders.h"
#include "framework/platform/DataGathering.h"
#include "framework/platform/GameWindow.h"
#include "framework/platform/SettingsManager.h"
#include "framework/platform/TimedTaskManager.h"
#include "framework/players/HighScoreManager.h"
#include "framework/players/PlayerManager.h"
#include "framework/graphics/Image.h"
#include "framework/resources/FileCipher.h"
#include "framework/resources/ImageResource.h"
#include "framework/resources/ResourceManager.h"
#include "framework/resources/ResourceObject.h"
#include "framework/resources/ResourceSection.h"
#include "framework/sound/SoundManager.h"
#include "game/data/GameData.h"
#include "game/dialogs/TrophyWatcher.h"
#include "host/ForwardingHostWindow.h"
#include "host/FakeHostPlatform.h"
#include "host/Folders.h"
#include "host/SettingsStore.h"
#include "host/SingleInstanceLock.h"
#include "support/LogCapture.h"
#include "support/TestFolders.h"

namespace {

const char kGameName[] = "Tortelune";

class ClosingHost;

// A fake window that remembers, in its host, how it was asked to open; and
// that gets the host's first message (a close-box click, unless a test asks
// for another) as soon as it opens, so that the main loop ends like a
// player's first close of the window.
class RecordingWindow final : public ForwardingHostWindow {
public:
    RecordingWindow(std::unique_ptr<HostWindow> inner, ClosingHost& host)
        : ForwardingHostWindow(std::move(inner)), host(host)
    {
    }
    bool open(const WindowSettings& settings, std::string* error) override;
    bool peekMessage(WindowMessage& message) override;

private:
    ClosingHost& host;
    bool looked = false;
};

class ClosingHost : public ScopedFakeHostPlatform {
public:
    std::unique_ptr<HostWindow> createWindow() override
    {
        return std::make_unique<RecordingWindow>(FakeHostPlatform::createWindow(), *this);
    }
    std::vector<WindowSettings> opened;
    WindowMessage firstMessage{WM_CLOSE, 0, 0};
    // Runs when the main loop first looks for a message, after the start.
    std::function<void()> beforeFirstLook;
};

bool RecordingWindow::open(const WindowSettings& settings, std::string* error)
{
    bool done = wrapped().open(settings, error);
    if (done) {
        host.opened.push_back(settings);
        wrapped().postMessage(host.firstMessage);
    }
    return done;
}

bool RecordingWindow::peekMessage(WindowMessage& message)
{
    if (!looked && host.beforeFirstLook) {
        looked = true;
        host.beforeFirstLook();
    }
    return wrapped().peekMessage(message);
}

// Every run gets its own user folders, so that runs of parallel test
// programs never share a lock, a settings store or a players file.
class TorteluneMainTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        home = makeTestFolder("home");
        for (const char* folder : {"run", "data", "config"})
            makeDirectoryTree(home + "/" + folder);
        setenv("XDG_RUNTIME_DIR", (home + "/run").c_str(), 1);
        setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
        resetDataFolders();
        resetGameIdentityCache();
    }

    void TearDown() override
    {
        resetDataFolders();
        resetGameIdentityCache();
    }

    int runGame(std::vector<std::string> arguments = {})
    {
        arguments.insert(arguments.begin(), "tortelune");
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(&argument[0]);
        return runTortelune(static_cast<int>(argv.size()), argv.data(), true);
    }

    SettingsStore& storedSettings() { return *host.openSettingsStore(kGameName); }
    std::string playersFolder() const { return home + "/data/Quillmark/Games/Tortelune/players"; }

    std::string home;
    ClosingHost host;
};

void expectEverythingReleased()
{
    EXPECT_EQ(nullptr, TorteluneMain::instance);
    EXPECT_EQ(nullptr, GameWindow::instance);
    EXPECT_EQ(nullptr, SoundManager::instance);
    EXPECT_EQ(nullptr, TimedTaskManager::instance);
    EXPECT_EQ(nullptr, GameData::instance);
    EXPECT_EQ(nullptr, TrophyWatcher::instance);
    EXPECT_EQ(nullptr, PlayerManager::getInstance());
    EXPECT_EQ(nullptr, HighScoreManager::getInstance());
    EXPECT_EQ(nullptr, SettingsManager::instance);
    EXPECT_EQ(nullptr, SetupStore::instance);
    EXPECT_EQ(nullptr, BasicProperties::instance);
    EXPECT_EQ(nullptr, Random::instance);
    EXPECT_EQ(nullptr, DataGathering::instance);
}

TEST_F(TorteluneMainTest, UnitTestSwitchEndsBeforeAnythingIsTouched)
{
    for (const char* argument : {"-unittest", "-UnitTest", "x-UNITTESTy"}) {
        EXPECT_EQ(0, runGame({"--first", argument}));
        EXPECT_EQ(0, host.windowsCreated);
        EXPECT_TRUE(host.settingsStores.empty());
        EXPECT_EQ(nullptr, BasicProperties::instance);
    }
    std::vector<DirectoryEntry> entries;
    for (const char* folder : {"/run", "/data", "/config"}) {
        ASSERT_TRUE(listDirectory(home + folder, entries));
        EXPECT_TRUE(entries.empty()) << folder;
    }
}

TEST_F(TorteluneMainTest, NormalQuitSavesThenReleasesInTheFixedOrder)
{
    LogCapture log;
    EXPECT_EQ(0, runGame());
    EXPECT_EQ(1, host.windowsCreated);
    ASSERT_EQ(1u, host.opened.size());
    EXPECT_EQ(kGameName, host.opened[0].title);
    EXPECT_EQ(800, host.opened[0].width);
    EXPECT_EQ(600, host.opened[0].height);

    const std::vector<std::string> expected = {
        "end session",     "save high scores", "save players",        "close window",   "game data",
        "hint manager",    "tool catalogue",   "rank table",          "trophy watcher", "full-screen handler",
        "frame timer",     "scene manager",    "player manager",      "setup store",    "window",
        "sound manager",   "resource manager", "high-score manager",  "settings",        "random",           "statistics",          "properties",     "archive",
        "instance lock"};
    EXPECT_EQ(expected, lastShutDownSteps());
    expectEverythingReleased();

    // The saves of a normal quit, the settings and the statistics.
    EXPECT_TRUE(testFileExists(playersFolder() + "/players.plrs.!"));
    EXPECT_TRUE(testFileExists(playersFolder() + "/scores.xml.!"));
    SettingValue value;
    EXPECT_TRUE(storedSettings().readValue("", "fullscreen", value));
    EXPECT_TRUE(testFileExists(home + "/data/Quillmark/Games/Tortelune/_temp/gd.xml"));
    EXPECT_NE("", storedSettings().readString("qpx", "cdgfilename", ""));

    // The lock went with the shut-down: the game can start again.
    SingleInstanceLock again(kGameName);
    EXPECT_EQ(SingleInstanceLock::Result::Acquired, again.acquire());
}

TEST_F(TorteluneMainTest, SecondCopyRaisesTheFirstAndSavesNothing)
{
    SingleInstanceLock first(kGameName);
    ASSERT_EQ(SingleInstanceLock::Result::Acquired, first.acquire());
    LogCapture log;
    EXPECT_EQ(1, runGame());

    EXPECT_TRUE(first.takeRaiseRequest());
    EXPECT_EQ(0, host.windowsCreated);
    EXPECT_FALSE(testFileExists(playersFolder() + "/players.plrs.!"));
    EXPECT_FALSE(storedSettings().keyExists("qpx"));
    for (const std::string& step : lastShutDownSteps())
        EXPECT_TRUE(step.rfind("save", 0) != 0) << step;
    expectEverythingReleased();
}

TEST_F(TorteluneMainTest, WindowThatCannotBeMadeIsReportedAndOnlyTheSettingsAreWritten)
{
    host.failingOpens = 2;
    LogCapture log;
    EXPECT_EQ(TorteluneMain::ExitNoWindow, runGame());
    ASSERT_EQ(1u, host.messageBoxes.size());
    EXPECT_EQ("Error", host.messageBoxes[0].title);
    EXPECT_FALSE(testFileExists(playersFolder() + "/players.plrs.!"));
    EXPECT_FALSE(testFileExists(playersFolder() + "/scores.xml.!"));
    SettingValue value;
    EXPECT_TRUE(storedSettings().readValue("", "fullscreen", value));
    expectEverythingReleased();
}

// Property files that give no "GAME_NAME" (here: none at all in the working
// folder) would put this game's players into the maker's shared folder.
TEST_F(TorteluneMainTest, EmptyGameNameRefusesToStartAndTouchesNoFolder)
{
    const std::filesystem::path previous = std::filesystem::current_path();
    const std::string empty = home + "/nothing-here";
    makeDirectoryTree(empty);
    std::filesystem::current_path(empty);
    LogCapture log;
    const int exitCode = runGame();
    std::filesystem::current_path(previous);

    EXPECT_EQ(TorteluneMain::ExitNoGameName, exitCode);
    ASSERT_EQ(1u, host.messageBoxes.size());
    EXPECT_EQ("Error", host.messageBoxes[0].title);
    EXPECT_NE(std::string::npos, host.messageBoxes[0].text.find("GAME_NAME"));
    EXPECT_EQ(0, host.windowsCreated);
    std::vector<DirectoryEntry> entries;
    for (const char* folder : {"/run", "/data", "/config"}) {
        ASSERT_TRUE(listDirectory(home + folder, entries));
        EXPECT_TRUE(entries.empty()) << folder;
    }
    expectEverythingReleased();
}

TEST_F(TorteluneMainTest, SmallDesktopForcesFullScreen)
{
    struct Case {
        int width;
        int height;
        bool fullScreen;
    };
    for (Case desktop : {Case{800, 600, true}, Case{801, 600, false}, Case{800, 601, false}, Case{640, 480, true}}) {
        storedSettings().writeNumber("", "fullscreen", 0);
        host.desktop = {desktop.width, desktop.height, 4};
        LogCapture log;
        ASSERT_EQ(0, runGame());
        ASSERT_FALSE(host.opened.empty());
        EXPECT_EQ(desktop.fullScreen, host.opened.back().fullScreen) << desktop.width << "x" << desktop.height;
    }
}

TEST_F(TorteluneMainTest, SettingsChooseFullScreenOnALargeDesktop)
{
    storedSettings().writeNumber("", "fullscreen", 1);
    host.desktop = {1920, 1080, 4};
    LogCapture log;
    ASSERT_EQ(0, runGame());
    ASSERT_EQ(1u, host.opened.size());
    EXPECT_TRUE(host.opened[0].fullScreen);
}

// Watches every frame of a full-screen start until every queued section has
// loaded, then quits: whether the full-screen handler ever existed without its
// buttons' pictures, and what it looked like at the end.
class LoadingWatchWindow final : public ForwardingHostWindow {
public:
    explicit LoadingWatchWindow(std::unique_ptr<HostWindow> inner) : ForwardingHostWindow(std::move(inner)) {}
    bool updateSurface(const SurfaceRect* rects, int count) override
    {
        bool shown = wrapped().updateSurface(rects, count);
        ResourceManager* resources = ResourceManager::instance;
        if (quitPosted || !resources)
            return shown;
        ++frames;
        if (FullScreenHandler::instance) {
            ResourceLock lock;
            ResourceSection* section = resources->getSection("default");
            if (section && !section->isFullyLoaded())
                ++framesWithHandlerBeforePictures;
        }
        if (!resources->hasPendingRequests() && FullScreenHandler::instance) {
            FullScreenHandler* handler = FullScreenHandler::instance;
            for (Button* button : {handler->getQuitButton(), handler->getMinimizeButton()})
                buttonsWithPictures += button && button->getImage() ? 1 : 0;
            quitPosted = true;
            wrapped().postMessage({WM_QUIT, 0, 0});
        }
        return shown;
    }

    static int frames;
    static int framesWithHandlerBeforePictures;
    static int buttonsWithPictures;
    static bool quitPosted;
};
int LoadingWatchWindow::frames = 0;
int LoadingWatchWindow::framesWithHandlerBeforePictures = 0;
int LoadingWatchWindow::buttonsWithPictures = 0;
bool LoadingWatchWindow::quitPosted = false;

class LoadingWatchHost : public ScopedFakeHostPlatform {
public:
    std::unique_ptr<HostWindow> createWindow() override
    {
        return std::make_unique<LoadingWatchWindow>(FakeHostPlatform::createWindow());
    }
};

// Runs until the start-up sections have loaded, then loads every other
// section too and sums, at the end, what the pictures of every section hold
// raw and compressed.
class EverySectionWindow final : public ForwardingHostWindow {
public:
    explicit EverySectionWindow(std::unique_ptr<HostWindow> inner) : ForwardingHostWindow(std::move(inner)) {}
    bool updateSurface(const SurfaceRect* rects, int count) override
    {
        bool shown = wrapped().updateSurface(rects, count);
        ResourceManager* resources = ResourceManager::instance;
        if (done || !resources || resources->hasPendingRequests())
            return shown;
        if (!requested) {
            requested = true;
            for (const std::string& name : resources->getSectionNames())
                resources->requestSection(name);
            return shown;
        }
        ResourceLock lock;
        for (const std::string& name : resources->getSectionNames()) {
            for (const RefPointer<ResourceObject>& object : resources->getSection(name)->getObjects()) {
                Image* image = objectCast<Image>(object->getContent());
                if (!image)
                    continue;
                ++pictures;
                const int64_t area = int64_t(image->getWidth()) * image->getHeight();
                rawBytes += (image->getPixels() ? area * image->getBytesPerPixel() : 0) +
                            (image->getAlphaPlane() ? area : 0);
                compressedBytes += int64_t(image->getCompressedBytes());
            }
        }
        done = true;
        wrapped().postMessage({WM_QUIT, 0, 0});
        return shown;
    }

    static bool requested;
    static bool done;
    static int pictures;
    static int64_t rawBytes;
    static int64_t compressedBytes;
};
bool EverySectionWindow::requested = false;
bool EverySectionWindow::done = false;
int EverySectionWindow::pictures = 0;
int64_t EverySectionWindow::rawBytes = 0;
int64_t EverySectionWindow::compressedBytes = 0;

class EverySectionHost : public ScopedFakeHostPlatform {
public:
    std::unique_ptr<HostWindow> createWindow() override
    {
        return std::make_unique<EverySectionWindow>(FakeHostPlatform::createWindow());
    }
};

// With every section loaded the game's pictures would take some 70 MB
// decoded; those loaded in the background are kept compressed until drawn,
// which leaves what the splash and loading scene draw at once, and a little.
TEST_F(TorteluneMainTest, PicturesLoadedInTheBackgroundStayCompressedUntilDrawn)
{
    EverySectionHost watched;
    LogCapture log;
    ASSERT_EQ(0, runGame());
    ASSERT_TRUE(EverySectionWindow::done);
    EXPECT_GT(EverySectionWindow::pictures, 400);
    const int64_t mb = 1024 * 1024;
    EXPECT_LT(EverySectionWindow::rawBytes, 24 * mb) << EverySectionWindow::rawBytes / mb << " MB raw";
    EXPECT_LT(EverySectionWindow::compressedBytes, 16 * mb);
    EXPECT_FALSE(ImageResource::getCompressOnLoad()) << "the shut-down turns it off again";
}

// The full-screen buttons take their pictures from a section that loads in
// the background: the handler is built only once it has, so that a start,
// however slow its loader, warns of no missing picture.
TEST_F(TorteluneMainTest, FullScreenHandlerWaitsForItsPicturesAndTheStartLogsNoWarning)
{
    LoadingWatchHost watched;
    watched.desktop = {800, 600, 4};
    LogCapture quiet;
    std::vector<std::string> warnings;
    LogObserver previous = setLogObserver([&warnings](LogLevel level, const std::string& message) {
        if (level <= LogLevel::Warning)
            warnings.push_back(message);
    });
    const int exitCode = runGame();
    setLogObserver(previous);
    ASSERT_EQ(0, exitCode);
    EXPECT_TRUE(LoadingWatchWindow::quitPosted);
    EXPECT_GT(LoadingWatchWindow::frames, 0);
    EXPECT_EQ(0, LoadingWatchWindow::framesWithHandlerBeforePictures);
    EXPECT_EQ(2, LoadingWatchWindow::buttonsWithPictures);
    EXPECT_EQ(std::vector<std::string>(), warnings);
}

// A damaged installation: the resource table cut short (or missing) leaves
// nothing to draw and no quit question; the player is told why, and the game ends.
TEST_F(TorteluneMainTest, UnreadableResourceTableIsToldAndEndsTheStart)
{
    const std::filesystem::path previous = std::filesystem::current_path();
    const std::string install = home + "/install";
    makeDirectoryTree(install + "/media");
    std::filesystem::copy(previous / "media" / "properties", install + "/media/properties",
                          std::filesystem::copy_options::recursive);
    const std::string table = install + "/media/properties/resources.xml";
    for (const bool missing : {false, true}) {
        if (missing)
            std::filesystem::remove(table);
        else
            std::filesystem::resize_file(table, std::filesystem::file_size(table) / 2);
        host.messageBoxes.clear();
        std::filesystem::current_path(install);
        LogCapture log;
        const int exitCode = runGame();
        std::filesystem::current_path(previous);

        EXPECT_EQ(TorteluneMain::ExitNoResources, exitCode) << "missing " << missing;
        ASSERT_EQ(1u, host.messageBoxes.size()) << "missing " << missing;
        EXPECT_EQ("Error", host.messageBoxes[0].title);
        EXPECT_EQ(MessageBoxKind::Error, host.messageBoxes[0].kind);
        EXPECT_NE(std::string::npos, host.messageBoxes[0].text.find("resources.xml")) << host.messageBoxes[0].text;
        EXPECT_TRUE(log.contains("the resource table could not be read"));
        expectEverythingReleased();
        // The lock went too: the next start is not handed over to a copy that is gone.
        SingleInstanceLock again(kGameName);
        EXPECT_EQ(SingleInstanceLock::Result::Acquired, again.acquire());
    }
}

TEST_F(TorteluneMainTest, UnwritableDataFolderIsToldOnceWithTheReason)
{
    // A file where the data folder should be: nobody, not even root, can write there.
    writeTestFile(home + "/blocked", "not a folder");
    setenv("XDG_DATA_HOME", (home + "/blocked").c_str(), 1);
    resetDataFolders();
    LogCapture log;
    EXPECT_EQ(0, runGame());
    ASSERT_EQ(1u, host.messageBoxes.size());
    EXPECT_EQ(std::string(kGameName) + ": progress cannot be saved", host.messageBoxes[0].title);
    EXPECT_EQ(MessageBoxKind::Warning, host.messageBoxes[0].kind);
    EXPECT_NE(std::string::npos, host.messageBoxes[0].text.find("progress cannot be saved"));
    EXPECT_NE(std::string::npos, host.messageBoxes[0].text.find(home + "/blocked: Not a directory"))
        << host.messageBoxes[0].text;
    EXPECT_TRUE(log.contains("progress cannot be saved: cannot make the folder"));

    // A writable folder asks nothing.
    setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
    resetDataFolders();
    host.messageBoxes.clear();
    EXPECT_EQ(0, runGame());
    EXPECT_TRUE(host.messageBoxes.empty());
}

// A full disk or a folder gone between the start and the quit: the quit's
// failed saves are told, as the start tells an unwritable folder.
TEST_F(TorteluneMainTest, SavesThatFailOnQuittingAreTold)
{
    const std::string blocked = home + "/blocked-base";
    makeDirectoryTree(blocked);
    writeTestFile(blocked + "/players", "in the way");
    PlayerManager::create(false, "1")->setBaseFolder(blocked);
    HighScoreManager::create(false, "1")->setBaseFolder(blocked);
    LogCapture log;
    shutDownTortelune(TorteluneMain::ExitNormal, nullptr);
    ASSERT_EQ(1u, host.messageBoxes.size());
    EXPECT_EQ(MessageBoxKind::Warning, host.messageBoxes[0].kind);
    EXPECT_NE(std::string::npos, host.messageBoxes[0].title.find("progress cannot be saved"));
    for (const char* lost : {"the scores", "the players"})
        EXPECT_NE(std::string::npos, host.messageBoxes[0].text.find(lost)) << host.messageBoxes[0].text;
    EXPECT_TRUE(log.contains("could not be saved: the scores, the players"));
    expectEverythingReleased();

    // Saves that succeed tell nothing.
    host.messageBoxes.clear();
    PlayerManager::create(false, "1")->setBaseFolder(home + "/fine");
    HighScoreManager::create(false, "1")->setBaseFolder(home + "/fine");
    shutDownTortelune(TorteluneMain::ExitNormal, nullptr);
    EXPECT_TRUE(host.messageBoxes.empty());
}

// A logout or a kill when the saves fail: nobody is there to click, so what
// could not be saved goes to the log and standard error, and no box waits.
TEST_F(TorteluneMainTest, AQuitAskedByTheSystemTellsFailedSavesWithoutABox)
{
    // The players' folder taken away once the game runs, and a file in its place.
    auto blockPlayersFolder = [this] {
        std::filesystem::remove_all(playersFolder());
        writeTestFile(playersFolder(), "in the way");
    };
    host.firstMessage = {WM_ENDSESSION, 1, 0};
    host.beforeFirstLook = blockPlayersFolder;
    LogCapture log;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(0, runGame());
    const std::string told = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(host.messageBoxes.empty()) << host.messageBoxes[0].title;
    EXPECT_NE(std::string::npos, told.find(std::string(kGameName) + ": progress cannot be saved")) << told;
    EXPECT_NE(std::string::npos, told.find("the scores, the players")) << told;
    EXPECT_TRUE(log.contains("could not be saved: the scores, the players"));
    expectEverythingReleased();

    // A quit the player chooses shows the box.
    std::filesystem::remove_all(playersFolder());
    host.firstMessage = {WM_CLOSE, 0, 0};
    EXPECT_EQ(0, runGame());
    ASSERT_EQ(1u, host.messageBoxes.size());
    EXPECT_EQ(std::string(kGameName) + ": progress cannot be saved", host.messageBoxes[0].title);
}

// A start on a players file with one damaged entry keeps the two others,
// tells the player once, and the quit saves them.
TEST_F(TorteluneMainTest, DamagedPlayersFileKeepsTheReadablePlayersAndTellsThePlayer)
{
    std::string text = R"(<root><Players id="players" version="tortelune-players-1" currentplayer="Bo">
        <Vector id="playernames">
            <TortelunePlayer name="Ann" highest_level_reached="7" score="900"/>
            <TortelunePlayer name="Bo" highest_level_reached="3" score="300"/>
            <TortelunePlayer name="Cy highest_level_reached="5" score="500"/>
        </Vector></Players></root>)";
    applyFileCipher(&text[0], text.size());
    makeDirectoryTree(playersFolder());
    writeTestFile(playersFolder() + "/players.plrs.!", text);
    LogCapture log;
    EXPECT_EQ(0, runGame());
    ASSERT_EQ(1u, host.messageBoxes.size());
    EXPECT_EQ(std::string(kGameName) + ": Some progress could not be recovered", host.messageBoxes[0].title);
    EXPECT_NE(std::string::npos, host.messageBoxes[0].text.find(playersFolder() + "/players.plrs.!.bak-"))
        << host.messageBoxes[0].text;

    PlayerManager saved(true, "tortelune-players-1");
    saved.setBaseFolder(home + "/data/Quillmark/Games/Tortelune");
    saved.loadPlayerList();
    ASSERT_EQ(2u, saved.getPlayers().size());
    EXPECT_EQ("Ann", saved.getPlayers()[0]->getName());
    EXPECT_EQ("Bo", saved.getCurrentPlayer()->getName());
    EXPECT_FALSE(saved.getLoadReport().progressLost);

    // The next start has nothing to tell.
    host.messageBoxes.clear();
    EXPECT_EQ(0, runGame());
    EXPECT_TRUE(host.messageBoxes.empty());
}

} // namespace
