#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "framework/core/RefPointer.h"
#include "host/FakeHostPlatform.h"
#include "support/LogCapture.h"
#include "support/TempFolder.h"

class Image;
class Scene;
class SceneMap;
class SceneSelection;
class TortelunePlayer;

// The game's front door headless: the real property files, layouts, tuning,
// levels, ranks and trophies (pictures are not loaded), a players folder of
// its own, the selection, map and game scenes registered, and a manual frame
// clock that runs the scene manager and the trophy watcher.
class FrontDoorFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs frames of 20 ms for `ms`.
    void frames(int ms);
    // Makes `name` the current scene at once (no transition).
    Scene* enter(const std::string& name);
    SceneSelection* selection() const;
    SceneMap* map() const;
    // What pressMapButton() presses besides a level's own button (0 to 3).
    static constexpr int kThemePastry = -1;
    static constexpr int kStartButton = -2;
    // Presses a button of the map's theme `theme`: a level's, its pastry or START.
    void pressMapButton(int theme, int button);
    // Adds a player (made current when first) with that progress.
    TortelunePlayer* addPlayer(const std::string& name, int highestLevel = -1);
    TortelunePlayer* currentPlayer() const;
    // The players file as written, or "" when there is none.
    std::string playersFileText() const;
    // Draws the current scene with its dialogs into "pictures/<fileName>" in
    // the build folder, for a person to look at, and returns the picture.
    RefPointer<Image> render(const std::string& fileName);

    // Set before SetUp: the pictures and fonts of the front door are loaded.
    bool withMedia = false;
    // The player starts the level its information offers as soon as it shows;
    // tests of the dialog itself answer it themselves.
    bool startOfferedLevels = true;
    // frames() clicks the chef's hints away as soon as they open.
    bool answerHints = true;

    ScopedFakeHostPlatform host;
    LogCapture log;
    TempFolder folder;

private:
    std::filesystem::path previousFolder;
};
