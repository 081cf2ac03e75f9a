#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/TorteluneMain.h"
#include "framework/core/BasicProperties.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/Random.h"
#include "framework/core/SetupStore.h"
#include "framework/graphics/Image.h"
#include "framework/gui/Button.h"
#include "framework/scenegraph/Sprite.h"
#include "framework/gui/SceneManager.h"
#include "framework/platform/GameWindow.h"
#include "framework/scenegraph/Modifier.h"
#include "game/dialogs/DialogYesNo.h"
#include "game/scenes/SceneGame.h"
#include "game/scenes/SceneLoad.h"
#include "game/scenes/SceneSplash.h"
#include "host/FakeHostPlatform.h"
#include "support/EncodedImages.h"
#include "support/LogCapture.h"
#include "support/TestFolders.h"

namespace {

const char kDefinitions[] = R"(<root>
  <Node id="scenes">
    <SceneSelection id="SCENE_SELECTION" width="800" height="600"/>
    <SceneGameProbe id="SCENE_GAME" width="800" height="600"/>
    <SceneLoad id="SCENE_LOAD" width="800" height="600"/>
  </Node>
  <Node id="dialogs">
    <DialogYesNo id="DIALOG_YESNO" width="460" height="200" autocenter="true">
      <Vector id="components">
        <Button name="BUTTON_YES" x="140" y="128"/>
        <Button name="BUTTON_NO" x="320" y="128"/>
      </Vector>
    </DialogYesNo>
    <DialogTortelune id="DIALOG_PLAIN" width="301" height="201" autocenter="true"/>
    <DialogTortelune id="DIALOG_TWINKLING" width="300" height="200">
      <Vector id="twinkles">
        <Node x="10" y="20"/>
        <Node x="30" y="40"/>
      </Vector>
    </DialogTortelune>
  </Node>
  <Text id="CTEXT_QUESTION_QUIT" value="Quit?"/>
</root>)";

// The game scene, recording what the quit did and in which order.
class SceneGameProbe : public SceneGame {
public:
    explicit SceneGameProbe(AbstractProperty* configuration) : SceneGame(configuration) {}
    void saveRunningGame() override
    {
        WindowMessage message;
        quitPostedBeforeSave = GameWindow::instance && GameWindow::instance->peekMessage(message);
        events.push_back("save");
    }
    void leavePhase() override { events.push_back("leave phase"); }

    std::vector<std::string> events;
    bool quitPostedBeforeSave = false;
};
TT_REGISTER_CLASS(SceneGameProbe);

class StartScenesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        BasicProperties::createInstance();
        SetupStore::createInstance();
        ASSERT_TRUE(SetupStore::instance->loadFromTexts({kDefinitions}));
        GameWindow::create("Tortelune", 800, 600, false, 0, 102);
        SceneManager::create();
        TorteluneMain::create();
    }
    void TearDown() override
    {
        TorteluneMain::destroyInstance();
        SceneManager::destroyInstance();
        GameWindow::destroyInstance();
        SetupStore::destroyInstance();
        BasicProperties::destroyInstance();
    }

    // Runs the scene's animations and its dialogs' own modifiers.
    static void animate(Scene* scene, int ms)
    {
        for (int elapsed = 0; elapsed < ms; elapsed += 20) {
            for (const RefPointer<Dialog>& dialog : std::vector<RefPointer<Dialog>>(scene->getShownDialogs().begin(),
                                                                                     scene->getShownDialogs().end()))
                GameNode::updateModifiers(dialog.get(), 20);
            Modifier::updateTree(scene->getAnimTree(), 20);
        }
    }

    ScopedFakeHostPlatform host;
    LogCapture log;
};

int countQuestions(Scene* scene)
{
    int count = 0;
    for (const RefPointer<Dialog>& dialog : scene->getShownDialogs())
        count += dialog->getName() == "CTEXT_QUESTION_QUIT" ? 1 : 0;
    return count;
}

TEST_F(StartScenesTest, QuitQuestionIsAskedOnceWhileItIsOpen)
{
    Scene* scene = SceneManager::instance->registerScene("SCENE_SELECTION");
    ASSERT_NE(nullptr, scene);
    scene->quit();
    scene->quit();
    EXPECT_EQ(1, countQuestions(scene));
    ASSERT_NE(nullptr, objectCast<DialogYesNo>(scene->getDialog("CTEXT_QUESTION_QUIT")));
}

TEST_F(StartScenesTest, YesNoWithoutHandlersClosesOnceAndRunsTheCallbackOnce)
{
    Scene* scene = SceneManager::instance->registerScene("SCENE_SELECTION");
    SceneManager::instance->setNextScene(scene);
    SceneManager::instance->run(20);
    ASSERT_EQ(scene, SceneManager::instance->getCurrentScene());
    DialogYesNo* question = DialogYesNo::ask("CTEXT_QUESTION_QUIT", "CTEXT_QUIT_HEADER", nullptr, nullptr, nullptr,
                                             nullptr, scene);
    ASSERT_NE(nullptr, question);
    static int closed;
    closed = 0;
    question->closeCallback = GuiMethod(nullptr, [](void*, BaseObject*) { return ++closed; });
    scene->showDialog(question);
    animate(scene, 1000);
    // Both answers close: the second close of the fading dialog is ignored.
    DialogYesNo::closeDialogHandler(question, nullptr);
    DialogYesNo::closeDialogHandler(question, nullptr);
    EXPECT_TRUE(question->isClosing());
    animate(scene, 2000);
    EXPECT_EQ(1, closed);
    EXPECT_EQ(nullptr, scene->getDialog("CTEXT_QUESTION_QUIT"));
}

TEST_F(StartScenesTest, AskingTwiceLeavesOneFreshQuestion)
{
    Scene* scene = SceneManager::instance->registerScene("SCENE_SELECTION");
    DialogYesNo* first = DialogYesNo::ask("CTEXT_QUESTION_QUIT", "", nullptr, nullptr, nullptr, nullptr, scene);
    RefPointer<DialogYesNo> keep(first);
    scene->showDialog(first);
    DialogYesNo* second = DialogYesNo::ask("CTEXT_QUESTION_QUIT", "", nullptr, nullptr, nullptr, nullptr, scene);
    ASSERT_NE(nullptr, second);
    EXPECT_NE(first, second);
    EXPECT_EQ(second, scene->getDialog("CTEXT_QUESTION_QUIT"));
    EXPECT_EQ(200, second->getHeight());
}

TEST_F(StartScenesTest, ConfirmingTheQuitSavesTheRunningLevelFirst)
{
    auto* game = objectCast<SceneGameProbe>(SceneManager::instance->registerScene("SCENE_GAME"));
    ASSERT_NE(nullptr, game);
    TorteluneMain::instance->setScenes(nullptr, game);
    game->saveOnLeave = true;
    TorteluneMain::quit();
    EXPECT_EQ((std::vector<std::string>{"save", "leave phase"}), game->events);
    EXPECT_FALSE(game->quitPostedBeforeSave);
    WindowMessage message;
    ASSERT_TRUE(GameWindow::instance->peekMessage(message));
    EXPECT_EQ(static_cast<uint32_t>(WM_QUIT), message.message);

    // Without a level being played nothing is saved.
    game->events.clear();
    game->saveOnLeave = false;
    TorteluneMain::quit();
    EXPECT_EQ((std::vector<std::string>{"leave phase"}), game->events);
}

TEST_F(StartScenesTest, QuitQuestionInTheGameSceneAnswersNoThroughTheScene)
{
    auto* game = objectCast<SceneGameProbe>(SceneManager::instance->registerScene("SCENE_GAME"));
    TorteluneMain::instance->setScenes(nullptr, game);
    SceneManager::instance->setNextScene(game);
    SceneManager::instance->run(20);
    TorteluneMain::askQuit(game);
    DialogYesNo* question = objectCast<DialogYesNo>(game->getDialog("CTEXT_QUESTION_QUIT"));
    ASSERT_NE(nullptr, question);
    animate(game, 1000);
    SceneGame::resumeAfterQuitQuestion(game, nullptr);
    animate(game, 2000);
    EXPECT_EQ(1, game->quitDeclined);
    EXPECT_EQ(0, countQuestions(game));
    WindowMessage message;
    EXPECT_FALSE(GameWindow::instance->peekMessage(message));
}

TEST_F(StartScenesTest, LoadingSceneRemembersAClickUntilLoadingEnds)
{
    auto* load = objectCast<SceneLoad>(SceneManager::instance->registerScene("SCENE_LOAD"));
    ASSERT_NE(nullptr, load);
    EXPECT_TRUE(load->onLeftUp(10, 10, 0));
    EXPECT_TRUE(load->isClickPending());
    EXPECT_FALSE(load->isLeaving());
    // Without a loader there is nothing left to load: the remembered click acts.
    load->update(20);
    EXPECT_TRUE(load->isLoaded());
    EXPECT_TRUE(load->isLeaving());
    EXPECT_FALSE(load->isClickPending());
    // Further clicks are ignored once it is leaving.
    EXPECT_FALSE(load->onLeftUp(10, 10, 0));
}

TEST_F(StartScenesTest, DialogCentresOnTheScreenAndTwinklesAtItsPlaces)
{
    Scene* scene = SceneManager::instance->registerScene("SCENE_SELECTION");
    SceneManager::instance->setNextScene(scene);
    SceneManager::instance->run(20);
    auto* plain = objectCast<DialogTortelune>(scene->getOrCreateDialog("DIALOG_PLAIN", "DIALOG_PLAIN"));
    ASSERT_NE(nullptr, plain);
    scene->showDialog(plain);
    EXPECT_EQ(249, plain->getX());
    EXPECT_EQ(199, plain->getY());
    // Without positions: the twinkle node, and no twinkle in it.
    plain->addTwinkles(2);
    GameNode* none = plain->getComponent("NODE_TWINKLES");
    ASSERT_NE(nullptr, none);
    EXPECT_EQ(nullptr, none->getFirstChild());

    Random::instance = new Random(7);
    Random::instance->addRef();
    auto* twinkling = objectCast<DialogTortelune>(scene->getOrCreateDialog("DIALOG_TWINKLING", "DIALOG_TWINKLING"));
    ASSERT_NE(nullptr, twinkling);
    ASSERT_EQ(2u, twinkling->getTwinklePositions().size());
    twinkling->addTwinkles(3);
    int count = 0;
    for (GameNode* node = twinkling->getComponent("NODE_TWINKLES")->getFirstChild(); node; node = node->getNextSibling()) {
        ++count;
        EXPECT_TRUE(node->getX() == 10 || node->getX() == 30);
        EXPECT_FALSE(node->isVisible());
    }
    EXPECT_EQ(3, count);
    // The loops end with the dialog: closing it lets the last twinkles go.
    twinkling->close();
    animate(scene, 20000);
    Random::instance->release();
    Random::instance = nullptr;
}

class SplashPictureTest : public ::testing::Test {
protected:
    // One folder per test: test programs run side by side.
    std::string folder =
        makeTestFolder(std::string("splash-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());

    void writePictures()
    {
        std::vector<uint8_t> grey(16 * 8, 200);
        std::vector<uint8_t> jpeg = testimages::encodeJpeg(16, 8, 1, grey);
        writeTestFile(folder + "/splash0.jpg", std::string(jpeg.begin(), jpeg.end()));
        testimages::PngSpec spec;
        spec.width = 6;
        spec.height = 4;
        std::vector<uint16_t> samples(6 * 4 * 3, 90);
        std::vector<uint8_t> png = testimages::encodePng(spec, samples);
        writeTestFile(folder + "/splash1.png", std::string(png.begin(), png.end()));
        // A ".jpg" that is no JPEG falls back to the PNG of the same number.
        writeTestFile(folder + "/splash1.jpg", "not a picture");
    }
};

TEST_F(SplashPictureTest, JpegFirstThenPngAndTheSeriesEndsAtTheFirstGap)
{
    writePictures();
    LogCapture log;
    RefPointer<Image> first = SceneSplash::readSplashPicture(folder, 0);
    ASSERT_NE(nullptr, first.get());
    EXPECT_EQ(16, first->getWidth());
    RefPointer<Image> second = SceneSplash::readSplashPicture(folder, 1);
    ASSERT_NE(nullptr, second.get());
    EXPECT_EQ(6, second->getWidth());
    EXPECT_EQ(nullptr, SceneSplash::readSplashPicture(folder, 2).get());
}

TEST_F(SplashPictureTest, BrandingFileSetsTheTimesAndTheCover)
{
    ScopedFakeHostPlatform host;
    LogCapture log;
    {
        RefPointer<SceneSplash> splash(new SceneSplash(nullptr));
        splash->setFolder(folder);
        splash->loadContent();
        // Without the file: the defaults, and the brand animation stands first.
        EXPECT_FALSE(splash->isCoverShown());
        EXPECT_EQ(1700, splash->getDisplayTime());
        EXPECT_EQ(500, splash->getFadeTime());
        EXPECT_EQ(nullptr, splash->getCover());
    }
    writePictures();
    writeTestFile(folder + "/branding.xml",
                  "<root><Integer id=\"SPLASH_FADE_TIME\" value=\"300\"/>"
                  "<Integer id=\"SPLASH_DISPLAY_TIME\" value=\"1000\"/>"
                  "<Boolean id=\"SHOW_LARKSPIRE_ANIMATION\" value=\"false\"/></root>");
    RefPointer<SceneSplash> splash(new SceneSplash(nullptr));
    splash->setFolder(folder);
    splash->loadContent();
    EXPECT_TRUE(splash->isCoverShown());
    EXPECT_EQ(1000, splash->getDisplayTime());
    EXPECT_EQ(300, splash->getFadeTime());
    ASSERT_NE(nullptr, splash->getCover());
    EXPECT_EQ(255, splash->getCover()->getAlpha());
    // 200 ms after the cover the first picture comes; then the second.
    Modifier::updateTree(splash->getAnimTree(), 220);
    EXPECT_EQ(1, splash->getImageIndex());
    EXPECT_FALSE(splash->isSplashFinished());
}

} // namespace
