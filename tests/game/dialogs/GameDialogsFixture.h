#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "framework/core/RefPointer.h"
#include "host/FakeHostPlatform.h"
#include "framework/sound/SoundStream.h"
#include "support/LogCapture.h"

class Dialog;
class Scene;
class SceneGame;
class SettingsStore;
class TortelunePlayer;

namespace host {
class RecordingAudioOutput;
}

// The game's dialogs with the real property files and pictures: the game
// scene (recording its saves), the selection and map scenes, the settings on
// an in-memory store, sound on a recording device, one current player, and a
// manual frame clock. Runs from the source tree, where the media are.
class GameDialogsFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes `scene` current (no transition).
    void enter(Scene* scene);
    // Runs `ms` of frames of 20 ms on the current scene: nodes, their
    // modifiers and the animation tree.
    void advance(int ms);
    // Shows the dialog of that template in the current scene.
    Dialog* open(const std::string& name);
    // Draws the current scene into a PNG under the build folder's pictures.
    void screenshot(const std::string& fileName);
    // Starts a looping music stream as the current music.
    SoundStream* startMusic();
    bool isShown(const std::string& dialogName) const;

    ScopedFakeHostPlatform host;
    LogCapture log;
    std::filesystem::path previousFolder;
    std::shared_ptr<SettingsStore> store;
    host::RecordingAudioOutput* audio = nullptr;
    SceneGame* game = nullptr;
    Scene* selection = nullptr;
    Scene* map = nullptr;
    TortelunePlayer* player = nullptr;
    RefPointer<SoundStream> music;
};

// The game scene with its saving recorded.
int savedGames(SceneGame* scene);
// From now on the scene's saves go through the real saved-game writing.
void writeSavedGames(SceneGame* scene);
