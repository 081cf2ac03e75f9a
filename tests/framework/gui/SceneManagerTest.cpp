#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GuiFixture.h"
#include "framework/gui/AlphaTransitionScene.h"
#include "framework/gui/FadeBlackTransitionScene.h"
#include "framework/gui/Scene.h"
#include "framework/gui/TransitionScene.h"
#include "support/LogCapture.h"

namespace {

// A scene that writes what happens to it into a shared journal.
class JournalScene : public Scene {
public:
    explicit JournalScene(AbstractProperty* properties) : Scene(properties) {}
    static std::vector<std::string>& journal()
    {
        static std::vector<std::string> lines;
        return lines;
    }
    void show() override
    {
        journal().push_back(getName() + " show");
        Scene::show();
    }
    void hide() override
    {
        journal().push_back(getName() + " hide");
        Scene::hide();
    }
    void update(int) override { journal().push_back(getName() + " update"); }
    void quit() override { journal().push_back(getName() + " quit"); }
};
TT_REGISTER_CREATOR(JournalScene, JournalScene);

bool loaderIdle = true;
int idleChecks = 0;
bool isIdle()
{
    ++idleChecks;
    return loaderIdle;
}

class SceneManagerTest : public GuiFixture {
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        JournalScene::journal().clear();
        loaderIdle = true;
        idleChecks = 0;
        TransitionScene::setLoaderIdleCheck(&isIdle);
        loadSetup("<root><Node id=\"scenes\">"
                  "<JournalScene id=\"A\"/><JournalScene id=\"B\"/>"
                  "<AlphaTransition id=\"FADE\" time=\"100\"/>"
                  "<AlphaTransition id=\"FADE_NOWAIT\" time=\"100\" wait=\"false\"/>"
                  "<FadeBlackTransition id=\"BLACK\" time=\"100\"><Vector id=\"scenecomponents\">"
                  "<Label name=\"LOADING_LABEL\" text=\"Loading\"/></Vector></FadeBlackTransition>"
                  "</Node></root>");
        manager = SceneManager::instance;
        a = manager->registerScene("A");
        b = manager->registerScene("B");
        ASSERT_NE(nullptr, a);
        ASSERT_NE(nullptr, b);
    }
    void TearDown() override
    {
        TransitionScene::setLoaderIdleCheck(nullptr);
        GuiFixture::TearDown();
    }
    std::vector<std::string> takeJournal()
    {
        std::vector<std::string> lines = JournalScene::journal();
        JournalScene::journal().clear();
        return lines;
    }
    // Runs frames until the switch to `target` is complete; -1 after `limit` frames.
    int framesUntilCurrent(Scene* target, int limit)
    {
        for (int frame = 1; frame <= limit; ++frame) {
            manager->run(20);
            if (manager->getRunningScene() == target && !manager->getTransition())
                return frame;
        }
        return -1;
    }

    SceneManager* manager = nullptr;
    Scene* a = nullptr;
    Scene* b = nullptr;
};

using Lines = std::vector<std::string>;

TEST_F(SceneManagerTest, DirectSwitchShowsTheNewSceneAndHidesTheOldOneAFrameLater)
{
    manager->run(20);
    EXPECT_EQ(nullptr, manager->getRunningScene());
    manager->setNextScene(a);
    manager->run(20);
    // With no scene before, the first scene runs in its switch frame.
    EXPECT_EQ((Lines {"A show", "A update"}), takeJournal());
    EXPECT_EQ(Scene::Current, a->getState());

    manager->setNextScene(b);
    manager->run(20);
    EXPECT_EQ((Lines {"B show"}), takeJournal());
    EXPECT_EQ(b, manager->getCurrentScene());
    EXPECT_EQ(Scene::Current, a->getState());
    manager->run(20);
    EXPECT_EQ((Lines {"A hide", "B update"}), takeJournal());
    EXPECT_EQ(Scene::Loaded, a->getState());
    EXPECT_FALSE(a->getInputContainer().isInputEnabled());
    manager->run(20);
    EXPECT_EQ((Lines {"B update"}), takeJournal());
}

TEST_F(SceneManagerTest, ThroughATransitionTheTargetIsShownOnceAndGetsItsInputBack)
{
    manager->setNextScene(a);
    manager->run(20);
    takeJournal();
    manager->setTransition("FADE");
    manager->setNextScene(b);
    manager->run(20);
    // The transition entered: the old scene's input is off at once, and the
    // target was drawn (shown) behind it.
    EXPECT_NE(nullptr, objectCast<TransitionScene>(manager->getRunningScene()));
    EXPECT_EQ(b, manager->getCurrentScene());
    EXPECT_FALSE(a->getInputContainer().isInputEnabled());
    EXPECT_FALSE(b->getInputContainer().isInputEnabled());
    EXPECT_EQ((Lines {"B show"}), takeJournal());
    EXPECT_GT(idleChecks, 0);

    const int frames = framesUntilCurrent(b, 20);
    ASSERT_GT(frames, 0);
    const Lines lines = takeJournal();
    EXPECT_EQ(0, std::count(lines.begin(), lines.end(), "B show"));
    EXPECT_EQ(1, std::count(lines.begin(), lines.end(), "A hide"));
    EXPECT_TRUE(b->getInputContainer().isInputEnabled());
    manager->run(20);
    EXPECT_EQ((Lines {"B update"}), takeJournal());
}

TEST_F(SceneManagerTest, ClearedTargetInputLeavesTheNewSceneDisabled)
{
    manager->setNextScene(a);
    manager->run(20);
    manager->setTransition("FADE");
    manager->getTransition()->setEnableTargetInput(false);
    manager->setNextScene(b);
    ASSERT_GT(framesUntilCurrent(b, 20), 0);
    EXPECT_FALSE(b->getInputContainer().isInputEnabled());
}

TEST_F(SceneManagerTest, SecondTransitionReplacesTheFirstOneUnseen)
{
    manager->setNextScene(a);
    manager->run(20);
    manager->setTransition("FADE");
    RefPointer<TransitionScene> first(manager->getTransition());
    manager->setTransition("FADE_NOWAIT");
    manager->setNextScene(b);
    manager->run(20);
    EXPECT_NE(first.get(), manager->getRunningScene());
    EXPECT_EQ(Scene::NeverShown, first->getState());
    // Without the wait the loader is never asked.
    EXPECT_EQ(0, idleChecks);
}

TEST_F(SceneManagerTest, LoaderWaitGivesUpAfterThirtySeconds)
{
    LogCapture log;
    loaderIdle = false;
    manager->setNextScene(a);
    manager->run(20);
    manager->setTransition("FADE");
    manager->setNextScene(b);
    const uint32_t before = platform.clock;
    manager->run(20);
    EXPECT_GE(platform.clock - before, 30000u);
    EXPECT_LT(platform.clock - before, 30100u);
    EXPECT_TRUE(log.contains("loader"));
    EXPECT_EQ(b, manager->getCurrentScene());
}

TEST_F(SceneManagerTest, TransitionPicturesStartOpaqueBlack)
{
    manager->setNextScene(a);
    manager->run(20);
    manager->setTransition("FADE");
    manager->setNextScene(b);
    manager->run(20);
    AlphaTransitionScene* fade = objectCast<AlphaTransitionScene>(manager->getRunningScene());
    ASSERT_NE(nullptr, fade);
    Image* picture = fade->getOldPicture()->getImage();
    ASSERT_NE(nullptr, picture);
    picture->lock();
    EXPECT_EQ(0xFF000000u, picture->row32(300)[400]);
    picture->unlock();
}

TEST_F(SceneManagerTest, FadeBlackShowsTheLoadingTextOnlyWhenLoadingTakesLong)
{
    manager->setNextScene(a);
    manager->run(20);
    loaderIdle = false;
    manager->setTransition("BLACK");
    manager->setNextScene(b);
    manager->run(20);
    FadeBlackTransitionScene* black = objectCast<FadeBlackTransitionScene>(manager->getRunningScene());
    ASSERT_NE(nullptr, black);
    ASSERT_NE(nullptr, black->getLoadingLabel());
    // Fading out, then waiting for the loader past the show delay.
    int elapsed = 0;
    while (black->getPhase() != FadeBlackTransitionScene::Waiting && elapsed < 1000) {
        manager->run(20);
        elapsed += 20;
    }
    ASSERT_EQ(FadeBlackTransitionScene::Waiting, black->getPhase());
    for (int t = 0; t < 3100; t += 20)
        manager->run(20);
    EXPECT_EQ(u"Loading", black->getLoadingLabel()->getText().substr(0, 7));
    // Dots: one more every 300 ms.
    const WString before = black->getLoadingLabel()->getText();
    for (int t = 0; t < 300; t += 20)
        manager->run(20);
    EXPECT_NE(before, black->getLoadingLabel()->getText());
    loaderIdle = true;
    // The text stays at least 1500 ms once shown.
    EXPECT_EQ(FadeBlackTransitionScene::Waiting, black->getPhase());
    int waited = 0;
    while (black->getPhase() == FadeBlackTransitionScene::Waiting && waited < 3000) {
        manager->run(20);
        waited += 20;
    }
    EXPECT_EQ(FadeBlackTransitionScene::FadingIn, black->getPhase());
    // The new scene's picture fades in over the old one, which is gone.
    EXPECT_TRUE(black->getNewPicture()->isVisible());
    EXPECT_FALSE(black->getOldPicture()->isVisible());
    EXPECT_GE(waited + 400, 1500);
    ASSERT_GT(framesUntilCurrent(b, 50), 0);
}

TEST_F(SceneManagerTest, FadeBlackWithQuickLoadingNeverShowsTheText)
{
    manager->setNextScene(a);
    manager->run(20);
    manager->setTransition("BLACK");
    manager->setNextScene(b);
    manager->run(20);
    FadeBlackTransitionScene* black = objectCast<FadeBlackTransitionScene>(manager->getRunningScene());
    ASSERT_NE(nullptr, black);
    RefPointer<Label> label(black->getLoadingLabel());
    ASSERT_GT(framesUntilCurrent(b, 50), 0);
    EXPECT_EQ(0, label->getAlpha());
    EXPECT_EQ(u"Loading", label->getText());
}

TEST_F(SceneManagerTest, CloseBoxAsksTheSceneThePlayerSees)
{
    EXPECT_FALSE(SceneManager::onWindowClose(nullptr));
    manager->setNextScene(a);
    manager->run(20);
    manager->setTransition("FADE");
    manager->setNextScene(b);
    manager->run(20);
    takeJournal();
    EXPECT_TRUE(SceneManager::onWindowClose(nullptr));
    EXPECT_EQ((Lines {"B quit"}), takeJournal());
}

} // namespace
