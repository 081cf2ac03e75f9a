#include <gtest/gtest.h>

#include <map>
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
#include "framework/gui/TransitionScene.h"
#include "game/scenes/SceneTortelune.h"
#include "framework/graphics/Graphics.h"
#include "game/data/TuningTable.h"
#include "host/FakeHostPlatform.h"
#include "support/EncodedImages.h"
#include "support/LogCapture.h"
#include "support/TestFolders.h"

namespace {

// Pictures of one opaque colour, by name, for the scenes' sprites.
Image* lookUpPicture(const std::string& name, const std::string& /*section*/)
{
    static std::map<std::string, RefPointer<Image>> pictures;
    struct Size {
        const char* name;
        int width, height;
    };
    for (Size size : {Size {"ICETOP", 50, 20}, Size {"CHEF", 10, 80}, Size {"CAKES", 10, 60}, Size {"DOOR", 20, 20}}) {
        if (name != size.name)
            continue;
        RefPointer<Image>& picture = pictures[name];
        if (!picture) {
            picture = Image::create(size.width, size.height, 4);
            picture->getGraphics()->setColour(0xFF336699u);
            picture->getGraphics()->clear();
            picture->getGraphics()->fillChannel(Graphics::ChannelAlpha, 255, 0, 0);
        }
        return picture.get();
    }
    return nullptr;
}

const char kDefinitions[] = R"(<root>
  <Node id="scenes">
    <SceneSelection id="SCENE_SELECTION" width="800" height="600"/>
    <SceneGameProbe id="SCENE_GAME" width="800" height="600"/>
    <SceneLoad id="SCENE_LOAD" width="800" height="600"/>
    <SceneArcade id="SCENE_ARCADE" width="800" height="600"/>
    <SceneLoad id="SCENE_LOAD_SHOP" width="800" height="600">
      <Vector id="scenecomponents">
        <Sprite name="LAYER3" x="0" y="618"/>
        <Button name="DOOR" image="DOOR" section="preloading" x="470" y="404"/>
        <Sprite name="PASTRY" image="CAKES" section="preloading" framecount="6" x="248" y="390" visible="false"/>
        <Sprite name="HENRI" image="CHEF" section="preloading" framecount="8" x="466" y="368" visible="false"/>
        <Sprite name="CLICK_TEXT" image="DOOR" section="preloading" x="230" y="540"/>
      </Vector>
    </SceneLoad>
    <AlphaTransition id="TRANSITION_TEST" time="200" wait="false"/>
    <AlphaTransition id="TRANSITION_LOAD" time="200" wait="false"/>
  </Node>
  <Node id="dialogs">
    <DialogYesNo id="DIALOG_YESNO" width="460" height="200" autocenter="true">
      <Vector id="components">
        <Button name="BUTTON_YES" x="140" y="128"/>
        <Button name="BUTTON_NO" x="320" y="128"/>
      </Vector>
    </DialogYesNo>
    <DialogTortelune id="DIALOG_PLAIN" width="301" height="201" autocenter="true"/>
    <DialogTortelune id="DIALOG_ICE" width="200" height="100" autocenter="true" dodarkenbackground="true">
      <Vector id="components">
        <Sprite name="SPRITE_ICETOP" image="ICETOP" section="dialogs" x="20" y="-10" visible="false"/>
      </Vector>
    </DialogTortelune>
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
        previousLookup = Sprite::getImageLookup();
        Sprite::setImageLookup(&lookUpPicture);
    }
    void TearDown() override
    {
        Sprite::setImageLookup(previousLookup);
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

    // Shows `scene` and runs one frame.
    static void enter(Scene* scene)
    {
        SceneManager::instance->setNextScene(scene);
        SceneManager::instance->run(20);
    }
    // Starts a transition from the current scene to `target` and runs one
    // frame of it.
    static TransitionScene* startTransition(const char* target)
    {
        SceneManager::instance->setTransition("TRANSITION_TEST");
        SceneManager::instance->setNextScene(SceneManager::instance->getScene(target));
        SceneManager::instance->run(20);
        return objectCast<TransitionScene>(SceneManager::instance->getRunningScene());
    }
    static void runFrames(int ms)
    {
        for (int elapsed = 0; elapsed < ms; elapsed += 20)
            SceneManager::instance->run(20);
    }

    ScopedFakeHostPlatform host;
    LogCapture log;
    Sprite::ImageLookup previousLookup = nullptr;
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

TEST_F(StartScenesTest, QuitQuestionDuringATransitionIsAskedOnceInTheTarget)
{
    enter(SceneManager::instance->registerScene("SCENE_SELECTION"));
    SceneManager::instance->registerScene("SCENE_ARCADE");
    TransitionScene* transition = startTransition("SCENE_ARCADE");
    ASSERT_NE(nullptr, transition);
    Scene* arcade = SceneManager::instance->getScene("SCENE_ARCADE");
    TorteluneMain::askQuit(transition);
    Dialog* first = arcade->getDialog("CTEXT_QUESTION_QUIT");
    ASSERT_NE(nullptr, first);
    // A second close while the transition plays finds the question in the target.
    TorteluneMain::askQuit(transition);
    EXPECT_EQ(first, arcade->getDialog("CTEXT_QUESTION_QUIT"));
    EXPECT_EQ(1, countQuestions(arcade));
    EXPECT_EQ(0, countQuestions(transition));
}

TEST_F(StartScenesTest, IceTopIsStampedIntoTheDarkLayerAlsoDuringATransition)
{
    enter(SceneManager::instance->registerScene("SCENE_SELECTION"));
    SceneManager::instance->registerScene("SCENE_ARCADE");
    ASSERT_NE(nullptr, startTransition("SCENE_ARCADE"));
    Scene* arcade = SceneManager::instance->getScene("SCENE_ARCADE");
    auto* dialog = objectCast<DialogTortelune>(arcade->getOrCreateDialog("DIALOG_ICE", "DIALOG_ICE"));
    ASSERT_NE(nullptr, dialog);
    // The arcade is the scene the transition leads to: the ice look applies.
    EXPECT_TRUE(dialog->isIceLook());
    arcade->showDialog(dialog);
    Image* layer = dialog->getFrameImage();
    ASSERT_NE(nullptr, layer);
    ASSERT_EQ(800, layer->getWidth());
    auto alphaAt = [&](int x, int y) {
        layer->lock();
        uint32_t value = layer->row32(y)[x] >> 24;
        layer->unlock();
        return value;
    };
    // The dialog sits at (300, 250); its ice top (50 x 20) at (320, 240),
    // reaching 10 pixels above the frame into the veil.
    EXPECT_EQ(255u, alphaAt(320, 240));
    EXPECT_EQ(255u, alphaAt(369, 249));
    EXPECT_EQ(static_cast<uint32_t>(tuning().DIALOG_BACKGROUND_ALPHA & 0xFF), alphaAt(319, 240));
    EXPECT_EQ(static_cast<uint32_t>(tuning().DIALOG_BACKGROUND_ALPHA & 0xFF), alphaAt(370, 245));

    // Twinkles run in the arcade's animations, not in the transition's.
    Random::instance = new Random(3);
    Random::instance->addRef();
    auto* twinkling = objectCast<DialogTortelune>(arcade->getOrCreateDialog("DIALOG_TWINKLING", "DIALOG_TWINKLING"));
    ASSERT_NE(nullptr, twinkling);
    EXPECT_EQ(nullptr, arcade->getAnimTree()->getFirstChild());
    twinkling->addTwinkles(1);
    EXPECT_NE(nullptr, arcade->getAnimTree()->getFirstChild());
    Random::instance->release();
    Random::instance = nullptr;
}

TEST_F(StartScenesTest, SwitchToGivesTheTargetItsInputWhenTheTransitionEnds)
{
    Scene* selection = SceneManager::instance->registerScene("SCENE_SELECTION");
    Scene* arcade = SceneManager::instance->registerScene("SCENE_ARCADE");
    enter(selection);
    for (auto input : {SceneTortelune::TargetInput::LeaveOff, SceneTortelune::TargetInput::EnableAtEnd}) {
        Scene* target = SceneManager::instance->getRunningScene() == arcade ? selection : arcade;
        SceneTortelune::switchTo({}, "TRANSITION_TEST", target == arcade ? "SCENE_ARCADE" : "SCENE_SELECTION",
                                 input);
        runFrames(60);
        EXPECT_NE(nullptr, objectCast<TransitionScene>(SceneManager::instance->getRunningScene()));
        EXPECT_FALSE(target->getInputContainer().isInputEnabled());
        runFrames(600);
        ASSERT_EQ(target, SceneManager::instance->getRunningScene());
        EXPECT_EQ(input == SceneTortelune::TargetInput::EnableAtEnd, target->getInputContainer().isInputEnabled());
    }
}

TEST_F(StartScenesTest, LoadingSceneWithoutPanLayersTakesTheClickAndSwitchesThroughTheTransition)
{
    SceneManager::instance->registerScene("SCENE_SELECTION");
    auto* load = objectCast<SceneLoad>(SceneManager::instance->registerScene("SCENE_LOAD"));
    enter(load);
    runFrames(40);
    ASSERT_TRUE(load->isLoaded());
    EXPECT_TRUE(load->onLeftUp(100, 100, 0));
    EXPECT_TRUE(load->isLeaving());
    // The zoom (no time without tuning), then the switch to the selection.
    runFrames(100);
    auto* transition = objectCast<TransitionScene>(SceneManager::instance->getRunningScene());
    ASSERT_NE(nullptr, transition);
    EXPECT_EQ(SceneManager::instance->getScene("SCENE_SELECTION"), transition->getTo());
}

TEST_F(StartScenesTest, ChefWavesWhileThePointerIsOverAndThePastryChangesWhenItLeaves)
{
    Random::instance = new Random(11);
    Random::instance->addRef();
    auto* load = objectCast<SceneLoad>(SceneManager::instance->registerScene("SCENE_LOAD_SHOP"));
    ASSERT_NE(nullptr, load);
    auto* window = static_cast<FakeHostWindow*>(GameWindow::instance->getHostWindow());
    window->setMousePosition(10, 10);
    enter(load);
    runFrames(100);
    ASSERT_TRUE(load->isLoaded());
    Sprite* chef = load->getChef();
    Sprite* pastry = load->getPastry();
    ASSERT_NE(nullptr, chef);
    ASSERT_NE(nullptr, pastry);
    // Away at first: the chef stays in, the pastry comes after his frames (8 x 75 ms).
    EXPECT_FALSE(chef->isVisible());
    EXPECT_FALSE(pastry->isVisible());
    runFrames(700);
    EXPECT_FALSE(chef->isVisible());
    EXPECT_TRUE(pastry->isVisible());

    // Over the click text: the chef steps out, plays his frames, and goes in again.
    window->setMousePosition(240, 545);
    runFrames(40);
    EXPECT_TRUE(chef->isVisible());
    runFrames(300);
    EXPECT_TRUE(chef->isVisible());
    EXPECT_GT(chef->getCurrentFrame(), 2);
    runFrames(400);
    EXPECT_FALSE(chef->isVisible());

    // Away again: the pastry goes while the chef's frames play, then comes back.
    window->setMousePosition(10, 10);
    runFrames(40);
    EXPECT_FALSE(pastry->isVisible());
    runFrames(700);
    EXPECT_TRUE(pastry->isVisible());
    Random::instance->release();
    Random::instance = nullptr;
}

} // namespace
