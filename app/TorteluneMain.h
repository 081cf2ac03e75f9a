#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/core/BaseObject.h"

class Scene;
class SingleInstanceLock;

// The application: builds every singleton of the game in a fixed order,
// loads the property files, opens the window, starts the scenes and runs the
// message pump with its frames until the quit message. The entry point
// (runTortelune) tears everything down again in the fixed shut-down order.
class TorteluneMain : public BaseObject {
    TT_CLASS_RECORD(TorteluneMain)
public:
    // What run() answers.
    enum ExitCode : int {
        ExitNormal = 0,
        // Another copy of the game runs; it was asked to come to the front.
        ExitAlreadyRunning = 1,
        // No window could be made; the player was told in a message box.
        ExitNoWindow = 2,
        // The properties name no game, so there is no folder of its own for
        // players and saved games; the player was told in a message box.
        ExitNoGameName = 3,
        // No display to show the window on (standard error and the log say
        // so); 1, as for any start that ends before the game shows.
        ExitNoDisplay = 1,
        // The resource table (the list of every picture, sound and font) could
        // not be read: a damaged installation; the player was told in a message box.
        ExitNoResources = 4,
    };

    static TorteluneMain* instance;
    // Makes the application object, stores it and takes one reference.
    static TorteluneMain* create();
    static void destroyInstance();

    TorteluneMain() = default;
    ~TorteluneMain() override;

    // The whole start-up, then the main loop until the quit message.
    int run();

    // The quit question, asked in `scene` (the current scene; during a
    // transition, the scene it leads to). Asked once: nothing happens while
    // it is shown.
    static void askQuit(Scene* scene);
    // The "yes" of the quit question: a level being played is saved first,
    // then the quit message is posted.
    static void quit();

    Scene* getMapScene() const { return mapScene; }
    Scene* getGameScene() const { return gameScene; }
    // Start-up keeps the registered ones; tests set their own.
    void setScenes(Scene* map, Scene* game)
    {
        mapScene = map;
        gameScene = game;
    }

    // The single-instance lock, held from start-up to the end of the
    // shut-down (the entry point takes it over from the application object).
    std::unique_ptr<SingleInstanceLock> takeInstanceLock();

    // Frames run by the main loop so far.
    int getFramesRun() const { return framesRun; }

private:
    // The "yes" of the quit question.
    static int onQuitYes(void* context, BaseObject* button);

    void loadProperties();
    bool acquireInstanceLock();
    // False (the player told why) when the resource table cannot be read.
    bool startResourceLoading();
    void createManagers();
    // Tells the player, once at the start, that a damaged players file cost
    // progress that could not be read back.
    void tellIfPlayersWereLost();
    // The window's icon from the picture "ICON" (section "splash").
    void setWindowIcon();
    // Tells the player once, in a message box, when the game folder cannot be
    // written (and why), so that lost progress is no surprise.
    void warnIfProgressCannotBeSaved();
    void registerScenes();
    void createFrameTasks();
    void mainLoop();
    // What a termination saves, when the display is lost (see setDisplayLostAction).
    static int saveAfterDisplayLoss();

    // Borrowed: the scene manager owns its scenes.
    Scene* mapScene = nullptr;
    Scene* gameScene = nullptr;
    std::unique_ptr<SingleInstanceLock> instanceLock;
    bool windowFailed = false;
    int framesRun = 0;
};

// The process's start: "-unittest" anywhere on the command line (any case)
// ends it at once with 0; otherwise the folder of the executable becomes the
// current one (unless `keepCurrentFolder`), the game runs and is shut down.
// Returns the exit code.
int runTortelune(int argc, char** argv, bool keepCurrentFolder = false);
// True when any argument holds "-unittest", in any case.
bool hasUnitTestSwitch(int argc, char** argv);
// Releases every singleton in the fixed order; the saves of a normal quit
// run first when `exitCode` is 0.
void shutDownTortelune(int exitCode, std::unique_ptr<SingleInstanceLock> instanceLock);
// The steps of the last shut-down by name, in the order they ran (tests).
const std::vector<std::string>& lastShutDownSteps();
