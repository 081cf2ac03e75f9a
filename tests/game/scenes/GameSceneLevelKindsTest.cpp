// The game scene's differences between a career level, an arcade run and an
// exam level, at the level's start (music and its delay, background, plates,
// tools) and on leaving (the next scene, its input, the saved game's kind,
// the effects still playing), with the real art and music.

#include "LevelSceneFixture.h"

#include "support/ScenePicture.h"

#include <chrono>
#include <memory>
#include <thread>

#include "framework/graphics/Image.h"
#include "framework/gui/SceneManager.h"
#include "framework/core/PropertyStore.h"
#include "framework/gui/TransitionScene.h"
#include "framework/players/PlayerManager.h"
#include "framework/resources/ResourceManager.h"
#include "framework/sound/Sound.h"
#include "framework/sound/SoundManager.h"
#include "framework/sound/SoundStream.h"
#include "game/data/GameData.h"
#include "game/data/TuningTable.h"
#include "game/production/PhasePlay.h"

namespace {

class GameSceneLevelKindsTest : public LevelSceneTest {
protected:
    void SetUp() override
    {
        SoundManager::createInstance(std::make_unique<host::RecordingAudioOutput>());
        withMedia = true;
        LevelSceneTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(SoundManager::isSoundOn());
        for (const char* section : {"music", "scenearcade"})
            ResourceManager::instance->requestSection(section);
        for (int wait = 0; wait < 3000 && ResourceManager::instance->hasPendingRequests(); ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_FALSE(ResourceManager::instance->hasPendingRequests());
    }
    void TearDown() override
    {
        LevelSceneTest::TearDown();
        SoundManager::releaseInstance();
    }

    // A fresh scene manager that knows where a level returns to.
    void freshSceneManager()
    {
        SceneManager::destroyInstance();
        SceneManager::create();
        ASSERT_NE(nullptr, SceneManager::instance->registerScene("SCENE_MAP"));
        ASSERT_NE(nullptr, SceneManager::instance->registerScene("SCENE_ARCADE"));
    }
    template <class Resource>
    static Resource* resource(const std::string& key, const char* section)
    {
        ResourceLock lock;
        return ResourceManager::instance->getResourceAs<Resource>(key, section).get();
    }
    static RefPointer<Sound> effect()
    {
        RefPointer<Sound> sound(new Sound);
        auto pcm = std::make_shared<host::PcmBuffer>();
        pcm->channels = 1;
        pcm->samples.assign(441000, 1000);
        sound->sample = pcm;
        return sound;
    }
};

TEST_F(GameSceneLevelKindsTest, CareerArcadeAndExamDifferAtTheStartAndOnLeaving)
{
    struct Case {
        const char* kind;
        int mode;
        int level;
        const char* music;
        const char* background;
        const char* backgroundSection;
        bool platesAndTools;
        const char* returnsTo;
        bool returnEnablesInput;
        const char* savedAs;
    };
    const Case cases[] = {
        {"career", 0, 0, "MUSIC_GAME", "GAME_BACKGROUND", "scenegame", true, "SCENE_MAP", false, "LEVEL"},
        {"arcade", 1, 0, "MUSIC_GAMEARCADE", "ARCADE_BACKGROUND", "scenearcade", false, "SCENE_ARCADE", true,
         "ARCADE"},
        {"exam", 0, 12, "MUSIC_GAMEARCADE", "EXAM_BACKGROUND", "scenegame", false, "SCENE_MAP", false, "LEVEL"},
    };
    PlayerManager* players = PlayerManager::getInstance();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        freshSceneManager();
        state().mode = c.mode;
        GameData::instance->startLevel(c.level);
        ASSERT_EQ(std::string(c.kind) == "exam", GameData::instance->isExamLevel());
        makeCurrent();

        // The level's music, after the game's start delay when it changes.
        auto* music = resource<SoundStream>(c.music, "music");
        ASSERT_NE(nullptr, music);
        SoundManager* sound = SoundManager::instance;
        EXPECT_TRUE(sound->getIncomingMusic() == music || sound->getCurrentMusic() == music);
        if (sound->getIncomingMusic() == music) {
            EXPECT_EQ(tuning().SOUND_FADEINDELAY_GAME, sound->getIncomingDelay());
        }
        Image* background = resource<Image>(c.background, c.backgroundSection);
        ASSERT_NE(nullptr, background);
        EXPECT_EQ(background, scene->getFrameImage());

        ASSERT_TRUE(runUntil([this] { return dynamic_cast<PhasePlay*>(phase()) != nullptr; }));
        EXPECT_TRUE(scene->saveOnLeave);
        GameNode* plates = node("NODE_PLATES");
        ASSERT_NE(nullptr, plates);
        EXPECT_EQ(c.platesAndTools, plates->getFirstChild() != nullptr);
        EXPECT_EQ(c.platesAndTools, scene->getToolSlots() != nullptr);

        // The saved game of the level's kind.
        players->deleteSavedGame("LEVEL", "Tester");
        players->deleteSavedGame("ARCADE", "Tester");
        scene->saveRunningGame();
        EXPECT_TRUE(players->savedGameExists(c.savedAs, "Tester"));
        EXPECT_FALSE(players->savedGameExists(std::string(c.savedAs) == "LEVEL" ? "ARCADE" : "LEVEL", "Tester"));

        // Leaving: to the map or the arcade; a sound still playing ends, the music goes on.
        RefPointer<Sound> ringing = effect();
        const int channel = Sound::play(ringing.get(), 128, 255, true);
        ASSERT_TRUE(sound->getMixer().isPlaying(channel));
        const int streams = sound->getMixer().countPlayingStreams();
        ASSERT_LT(0, streams);
        scene->SceneGame::leaveGame();
        EXPECT_FALSE(scene->saveOnLeave);
        EXPECT_FALSE(sound->getMixer().isPlaying(channel));
        EXPECT_EQ(streams, sound->getMixer().countPlayingStreams());
        EXPECT_EQ(SceneManager::instance->getScene(c.returnsTo), SceneManager::instance->getNextScene());
        ASSERT_NE(nullptr, SceneManager::instance->getTransition());
        EXPECT_EQ(c.returnEnablesInput, SceneManager::instance->getTransition()->getEnableTargetInput());
        scene->hide();
    }
    players->deleteSavedGame("LEVEL", "Tester");
    players->deleteSavedGame("ARCADE", "Tester");
}

} // namespace

namespace {

TEST_F(GameSceneLevelKindsTest, AResumedCareerLevelLooksAsItWasLeft)
{
    freshSceneManager();
    startCareerLevel(2);
    frames(50);
    ASSERT_TRUE(writeScenePicture(scene.get(), "game_before_stop.png"));
    PlayerManager* players = PlayerManager::getInstance();
    scene->saveRunningGame();
    scene->SceneGame::leaveGame();
    scene->hide();
    freshSceneManager();
    RefPointer<PropertyStore> saved(new PropertyStore());
    ASSERT_TRUE(players->loadGameState("LEVEL", "Tester", *saved));
    GameData::instance->startLevel(2);
    GameData::instance->loadGame(saved.get());
    scene->resumeSavedGame = true;
    makeCurrent();
    frames(50);
    ASSERT_TRUE(writeScenePicture(scene.get(), "game_resumed.png"));
    players->deleteSavedGame("LEVEL", "Tester");
}

} // namespace
