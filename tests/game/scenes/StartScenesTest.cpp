#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "app/TorteluneMain.h"
#include "framework/core/BasicProperties.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/Random.h"
#include "framework/core/PropertyStore.h"
#include "framework/core/SetupStore.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/ImageLock.h"
#include "framework/gui/Button.h"
#include "framework/scenegraph/Sprite.h"
#include "framework/gui/SceneManager.h"
#include "framework/platform/GameWindow.h"
#include "framework/resources/ResourceManager.h"
#include "framework/resources/ResourceSection.h"
#include "framework/scenegraph/Modifier.h"
#include "game/data/GameData.h"
#include "game/dialogs/DialogYesNo.h"
#include "game/scenes/SceneGame.h"
#include "game/scenes/SceneLoad.h"
#include "game/scenes/SceneSplash.h"
#include "framework/gui/TransitionScene.h"
#include "game/scenes/SceneTortelune.h"
#include "framework/graphics/Graphics.h"
#include "game/data/TuningTable.h"
#include "host/FakeHostPlatform.h"
#include "host/WindowMessages.h"
#include "support/EncodedImages.h"
#include "support/GameDataFixtures.h"
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
    <SceneLoad id="SCENE_LOAD_BAR" width="800" height="600"><Vector id="components">
        <Sprite name="LOADING_BAR_FULL" x="250" y="500" width="300" height="20"/>
    </Vector></SceneLoad>
  </Node>
  <Node id="templates">
    <DialogPainter id="ARCADE_PAINTER" section="frames"/>
  </Node>
  <Node id="dialogs">
    <DialogYesNo id="DIALOG_YESNO" width="460" height="200" autocenter="true">
      <Vector id="components">
        <Label name="HEADER" x="30" y="20" width="300" height="30" wrapstyle="wordwrap" autofitheight="false"/>
        <Label name="MESSAGE" x="130" y="70" width="200" height="40" wrapstyle="wordwrap" autofitheight="false"/>
        <Button name="BUTTON_YES" x="140" y="128"/>
        <Button name="BUTTON_NO" x="320" y="128"/>
      </Vector>
    </DialogYesNo>
    <DialogTortelune id="DIALOG_DARK" x="100" y="100" width="200" height="100" dodarkenbackground="true"/>
    <DialogTortelune id="DIALOG_ICY" width="200" height="100">
      <Vector id="components"><Sprite name="SPRITE_ICETOP" width="200" height="10" visible="false"/></Vector>
    </DialogTortelune>
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
    bool saveRunningGame() override
    {
        WindowMessage message;
        quitPostedBeforeSave = GameWindow::instance && GameWindow::instance->peekMessage(message);
        events.push_back("save");
        return true;
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
    EXPECT_EQ(240, second->getHeight()) << "the template's 200 grown once by the 40-pixel message";
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

// The question grows from its template (460 x 200 with an empty message):
// a header 100 px wider than the message widens the dialog and the message by
// 100 and shifts every component by 50; the message's 40 px of height push
// the buttons down and make the dialog taller by as much.
TEST_F(StartScenesTest, YesNoQuestionGrowsWithItsMessageAndAWiderHeader)
{
    Scene* scene = SceneManager::instance->registerScene("SCENE_SELECTION");
    DialogYesNo* question = DialogYesNo::ask("CTEXT_QUESTION_QUIT", "CTEXT_QUIT_HEADER", nullptr, nullptr, nullptr,
                                             nullptr, scene);
    ASSERT_NE(nullptr, question);
    auto x = [&](const char* name) { return question->getComponent(name)->getX(); };
    auto y = [&](const char* name) { return question->getComponent(name)->getY(); };
    EXPECT_EQ(560, question->getWidth());
    EXPECT_EQ(240, question->getHeight());
    EXPECT_EQ(300, objectCast<Sprite>(question->getComponent("MESSAGE"))->getWidth());
    EXPECT_EQ(80, x("HEADER"));
    EXPECT_EQ(180, x("MESSAGE"));
    EXPECT_EQ(190, x("BUTTON_YES"));
    EXPECT_EQ(370, x("BUTTON_NO"));
    EXPECT_EQ(168, y("BUTTON_YES"));
    EXPECT_EQ(168, y("BUTTON_NO"));
    EXPECT_EQ(20, y("HEADER"));

    // A header narrower than the message changes no width; the growth in
    // height still comes (and, on a fresh question, only once).
    auto* narrow = objectCast<DialogYesNo>(scene->getOrCreateDialog("NARROW", "DIALOG_YESNO"));
    ASSERT_NE(nullptr, narrow);
    objectCast<Sprite>(narrow->getComponent("HEADER"))->setWidth(150);
    narrow->setup(u"message", u"header", nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(460, narrow->getWidth());
    EXPECT_EQ(240, narrow->getHeight());
    EXPECT_EQ(140, narrow->getComponent("BUTTON_YES")->getX());
    EXPECT_EQ(168, narrow->getComponent("BUTTON_YES")->getY());
    EXPECT_EQ(200, objectCast<Sprite>(narrow->getComponent("MESSAGE"))->getWidth());
}

// A darkened background is the whole screen in black at the low byte of
// "DIALOG_BACKGROUND_ALPHA" (0x160 -> 0x60), with the dialog's components
// kept where the dialog stood.
TEST_F(StartScenesTest, DarkenedBackgroundIsBlackAtTheTunedAlpha)
{
    ScopedGameTuning tuningScope;
    setTuningInt("DIALOG_BACKGROUND_ALPHA", 0x160);
    Scene* scene = SceneManager::instance->registerScene("SCENE_SELECTION");
    auto* dark = objectCast<DialogTortelune>(scene->getOrCreateDialog("DIALOG_DARK", "DIALOG_DARK"));
    ASSERT_NE(nullptr, dark);
    scene->showDialog(dark);
    EXPECT_EQ(0, dark->getX());
    EXPECT_EQ(800, dark->getWidth());
    EXPECT_EQ(600, dark->getHeight());
    EXPECT_EQ(100, dark->getComponentRoot()->getX());
    Image* layer = dark->getFrameImage();
    ASSERT_NE(nullptr, layer);
    ASSERT_EQ(4, layer->getBytesPerPixel());
    ImageLock lock(layer);
    for (int point : {0, 799, 600 * 800 - 1, 300 * 800 + 150}) {
        const uint8_t* pixel = layer->getPixels() + (point / 800) * layer->getPitch() + (point % 800) * 4;
        EXPECT_EQ(0, pixel[0] | pixel[1] | pixel[2]) << point;
        EXPECT_EQ(0x60, pixel[3]) << point;
    }
}

// A darkened dialog that has gone leaves its layer to the next one (a fresh
// layer costs its first touch inside the opening frame), which paints it
// over whole: nothing of the first shows through.
TEST_F(StartScenesTest, TheNextDarkenedDialogTakesTheLayerOfTheOneGoneAndPaintsItOverWhole)
{
    ScopedGameTuning tuningScope;
    setTuningInt("DIALOG_BACKGROUND_ALPHA", 0x160);
    Scene* scene = SceneManager::instance->registerScene("SCENE_SELECTION");
    Image* usedLayer = nullptr;
    {
        RefPointer<Dialog> first(scene->getOrCreateDialog("FIRST", "DIALOG_DARK"));
        ASSERT_NE(nullptr, first.get());
        scene->showDialog(first.get());
        usedLayer = first->getFrameImage();
        ASSERT_NE(nullptr, usedLayer);
        RefPointer<Graphics> graphics = usedLayer->getGraphics();
        graphics->setColour(0xFFFFFFFFu);
        graphics->clear();
        scene->forgetDialog(first.get());
        scene->getPurgeTask()->run(0);
    }
    auto* second = objectCast<DialogTortelune>(scene->getOrCreateDialog("SECOND", "DIALOG_DARK"));
    ASSERT_NE(nullptr, second);
    scene->showDialog(second);
    Image* layer = second->getFrameImage();
    EXPECT_EQ(usedLayer, layer);
    ASSERT_NE(nullptr, layer);
    {
        ImageLock lock(layer);
        for (int point : {0, 799, 600 * 800 - 1, 300 * 800 + 150}) {
            const uint8_t* pixel = layer->getPixels() + (point / 800) * layer->getPitch() + (point % 800) * 4;
            EXPECT_EQ(0, pixel[0] | pixel[1] | pixel[2]) << point;
            EXPECT_EQ(0x60, pixel[3]) << point;
        }
    }
    // A layer still held elsewhere is never handed on.
    RefPointer<Image> held(layer);
    scene->forgetDialog(second);
    scene->getPurgeTask()->run(0);
    auto* third = objectCast<DialogTortelune>(scene->getOrCreateDialog("THIRD", "DIALOG_DARK"));
    ASSERT_NE(nullptr, third);
    scene->showDialog(third);
    EXPECT_NE(held.get(), third->getFrameImage());
}

// The ice look belongs to the arcade and to the game scene while it plays
// the arcade or an exam; during a transition the scene it leads to counts.
TEST_F(StartScenesTest, IceLookInTheArcadeAndOnExamsOnly)
{
    ScopedGameTuning tuningScope;
    RefPointer<GameData> data(new GameData());
    GameData::instance = data.get();
    SceneManager* scenes = SceneManager::instance;
    Scene* selection = scenes->registerScene("SCENE_SELECTION");
    Scene* game = scenes->registerScene("SCENE_GAME");
    Scene* arcade = scenes->registerScene("SCENE_ARCADE");
    auto iceIn = [&](Scene* current, int mode, const char* theme) {
        scenes->setNextScene(current);
        scenes->run(20);
        data->state->mode = mode;
        data->state->levelManager.getLevel().themeName = theme;
        auto* dialog = objectCast<DialogTortelune>(current->getOrCreateDialog("ICY", "DIALOG_ICY"));
        EXPECT_NE(nullptr, dialog);
        if (!dialog)
            return false;
        const bool ice = dialog->isIceLook();
        current->showDialog(dialog);
        EXPECT_EQ(ice, dialog->getComponent("SPRITE_ICETOP")->isVisible());
        EXPECT_EQ(ice, dialog->getPainter() != nullptr) << "the arcade painter comes with the ice";
        current->forgetDialog(dialog);
        return ice;
    };
    EXPECT_TRUE(iceIn(arcade, 0, "cake"));
    EXPECT_FALSE(iceIn(game, 0, "cake"));
    EXPECT_TRUE(iceIn(game, 1, "cake"));
    EXPECT_TRUE(iceIn(game, 0, "exam2"));
    EXPECT_FALSE(iceIn(selection, 1, "exam2"));
    GameData::instance = nullptr;
}

// With a loader already part-way through its sections when the loading scene
// starts, the bar starts empty and fills over what is left:
// progress 1/4 at the start, then 2/4 and 3/4 give 1/3 and 2/3 of 300 px.
TEST_F(StartScenesTest, LoadingBarStartsEmptyAtTheProgressItFindsFirst)
{
    ResourceManager::create();
    ResourceManager* resources = ResourceManager::instance;
    const std::string xml = "<root><Vector id=\"Sections\"><Section name=\"s\">"
                            "<Image id=\"A\" file=\"none/a.png\"/><Image id=\"B\" file=\"none/b.png\"/>"
                            "<Image id=\"C\" file=\"none/c.png\"/><Image id=\"D\" file=\"none/d.png\"/>"
                            "</Section></Vector></root>";
    RefPointer<PropertyStore> store(new PropertyStore());
    ASSERT_TRUE(store->loadFromBuffer(xml.data(), xml.size()));
    {
        ResourceLock lock;
        RefPointer<ResourceSection> section(new ResourceSection(store->getVector("Sections")->getAt(0)->asNode()));
        resources->addSection(section.get());
    }
    resources->requestSection("s");
    resources->getLoadedResource("A", "s");
    ASSERT_DOUBLE_EQ(0.25, resources->getLoadProgress());

    SceneLoad::setLoadingSleep(0);
    auto* load = objectCast<SceneLoad>(SceneManager::instance->registerScene("SCENE_LOAD_BAR"));
    ASSERT_NE(nullptr, load);
    load->loadContent();
    auto* bar = objectCast<Sprite>(load->getComponent("LOADING_BAR_FULL"));
    ASSERT_NE(nullptr, bar);
    auto barWidth = [&] { return bar->getClipRect() ? bar->getClipRect()->width : -1; };
    load->update(20);
    EXPECT_EQ(0, barWidth());
    resources->getLoadedResource("B", "s");
    load->update(20);
    EXPECT_EQ(100, barWidth());
    resources->getLoadedResource("C", "s");
    load->update(20);
    EXPECT_EQ(200, barWidth());
    EXPECT_EQ(250, bar->getClipRect()->x);
    EXPECT_FALSE(load->isLoaded());
    SceneLoad::setLoadingSleep(100);
    ResourceManager::destroyInstance();
}

class SplashPictureTest : public ::testing::Test {
protected:
    std::string folder = makeTestFolder("splash");

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
                  "<root><Integer id=\"SPLASH_FADE_TIME\" value=\"320\"/>"
                  "<Integer id=\"SPLASH_DISPLAY_TIME\" value=\"1000\"/>"
                  "<Boolean id=\"SHOW_LARKSPIRE_ANIMATION\" value=\"false\"/></root>");
    RefPointer<SceneSplash> splash(new SceneSplash(nullptr));
    splash->setFolder(folder);
    splash->loadContent();
    EXPECT_TRUE(splash->isCoverShown());
    EXPECT_EQ(1000, splash->getDisplayTime());
    EXPECT_EQ(320, splash->getFadeTime());
    ASSERT_NE(nullptr, splash->getCover());
    EXPECT_EQ(255, splash->getCover()->getAlpha());
    // 200 ms after the cover the first picture comes; then the second.
    Modifier::updateTree(splash->getAnimTree(), 220);
    EXPECT_EQ(1, splash->getImageIndex());
    EXPECT_FALSE(splash->isSplashFinished());

    // The picture fades in over 320 ms, stands, fades out over 320 ms and
    // goes. In 20 ms frames the fraction moves by exactly 1/16 a frame, and
    // the alpha is the truncated 255 x fraction (fade-in) or 255 - 255 x
    // fraction (fade-out): 15, 31, 47, ... 255 and 239, 223, 207, ... 0.
    GameNode* picture = nullptr;
    for (GameNode* node = splash->getComponentRoot()->getFirstChild(); node; node = node->getNextSibling())
        picture = node;
    ASSERT_NE(nullptr, picture);
    ASSERT_NE(splash->getCover(), picture);
    std::vector<int> alphas;
    for (int frame = 0; frame < 200 && !picture->isRemoved(); ++frame) {
        GameNode::updateModifiers(picture, 20);
        alphas.push_back(objectCast<Sprite>(picture)->getAlpha());
    }
    ASSERT_TRUE(picture->isRemoved()) << "the picture leaves after its fade-out";
    std::vector<int> fadeIn, fadeOut;
    for (int i = 1; i <= 16; ++i) {
        fadeIn.push_back(255 * i / 16);
        fadeOut.push_back(255 - (255 * i + 15) / 16);
    }
    ASSERT_GE(alphas.size(), 32u);
    EXPECT_EQ(fadeIn, std::vector<int>(alphas.begin(), alphas.begin() + 16));
    const auto lastFull = std::find(alphas.rbegin(), alphas.rend(), 255);
    ASSERT_NE(alphas.rend(), lastFull);
    const std::vector<int> afterStand(lastFull.base(), alphas.end());
    ASSERT_GE(afterStand.size(), 16u);
    EXPECT_EQ(fadeOut, std::vector<int>(afterStand.begin(), afterStand.begin() + 16));
    // In between it stands at full for the display time, 1000 ms: 50 frames,
    // give or take the frame in which one step hands over to the next.
    const long standing = std::count(alphas.begin(), alphas.end(), 255);
    EXPECT_GE(standing, 49);
    EXPECT_LE(standing, 52);
    EXPECT_EQ(2, splash->getImageIndex()) << "the next picture follows";
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
    // The arcade's own stage animations run there as well: the twinkle adds one more.
    auto countRunning = [&] {
        int count = 0;
        for (Modifier* m = arcade->getAnimTree()->getFirstChild(); m; m = m->getNextSibling())
            ++count;
        return count;
    };
    const int before = countRunning();
    twinkling->addTwinkles(1);
    EXPECT_EQ(before + 1, countRunning());
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

// The target's sections and the dialogs' are kept unpacked; the sections of
// the scene left behind are not.
TEST_F(StartScenesTest, SwitchToKeepsTheTargetsSectionsAndTheDialogsInUse)
{
    ResourceManager::create();
    ResourceManager* resources = ResourceManager::instance;
    Scene* selection = SceneManager::instance->registerScene("SCENE_SELECTION");
    Scene* arcade = SceneManager::instance->registerScene("SCENE_ARCADE");
    enter(selection);
    SceneTortelune::switchTo({"scenearcade"}, "TRANSITION_TEST", "SCENE_ARCADE");
    EXPECT_TRUE(resources->isSectionInUse("scenearcade"));
    EXPECT_TRUE(resources->isSectionInUse("dialogs"));
    SceneTortelune::switchTo({"sceneselection"}, "TRANSITION_TEST", "SCENE_SELECTION");
    EXPECT_FALSE(resources->isSectionInUse("scenearcade"));
    EXPECT_TRUE(resources->isSectionInUse("sceneselection"));
    EXPECT_TRUE(resources->isSectionInUse("dialogs"));
    runFrames(600);
    EXPECT_NE(arcade, SceneManager::instance->getRunningScene());
    ResourceManager::destroyInstance();
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

    // Over the door itself, as the window reports the pointer's move.
    auto* door = objectCast<Button>(load->getComponent("DOOR"));
    ASSERT_NE(nullptr, door);
    const int doorX = door->getAbsoluteX() + door->getWidth() / 2;
    const int doorY = door->getAbsoluteY() + door->getHeight() / 2;
    window->setMousePosition(doorX, doorY);
    window->pushMessage(WM_MOUSEMOVE, 0, packPoint(doorX, doorY));
    WindowMessage message;
    while (GameWindow::instance->peekMessage(message))
        GameWindow::instance->dispatchMessage(message);
    runFrames(40);
    EXPECT_TRUE(door->isHovering());
    EXPECT_TRUE(chef->isVisible());
    Random::instance->release();
    Random::instance = nullptr;
}

} // namespace
