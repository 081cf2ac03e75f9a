#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "framework/core/Log.h"
#include "framework/core/RefPointer.h"
#include "host/FakeHostPlatform.h"
#include "support/TempFolder.h"

class Image;
class Scene;
class TortelunePlayer;

// The game's real property files, tools, ranks and trophies, the resource
// sections of the shop and the trophy dialogs (loaded when `withMedia`), a
// players file in a scratch folder with one current player, the scene
// manager, the trophy watcher and a seeded random generator. Frames run as
// the program runs them: the scene manager, then the trophy watcher.
class ShopSceneTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the scene by name and makes it current.
    Scene* enter(const std::string& sceneName);
    void frame(int ms = 20);
    void frames(int count, int ms = 20);
    template <class Condition>
    bool runUntil(Condition done, int maxFrames = 1000)
    {
        for (int i = 0; i < maxFrames; ++i) {
            if (done())
                return true;
            frame();
        }
        return done();
    }
    // The pointer moves to (x, y) and the current scene hears the move.
    void moveMouse(int x, int y);
    // A new player added to the players list (not made current).
    TortelunePlayer* addPlayer(const std::string& name);
    // Draws the current scene into an 800 x 600 picture and writes it to the
    // build folder's "pictures" folder.
    RefPointer<Image> screenshot(const std::string& fileName);

    bool withMedia = true;
    TortelunePlayer* player = nullptr;
    std::vector<std::string> problems;
    ScopedFakeHostPlatform host;
    TempFolder folder;

private:
    std::filesystem::path previousFolder;
    LogObserver previousObserver;
};
