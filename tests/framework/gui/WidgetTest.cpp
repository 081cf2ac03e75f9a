#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "GuiFixture.h"
#include "framework/core/PropertyStore.h"
#include "framework/gui/Button.h"
#include "framework/gui/Scene.h"
#include "framework/gui/Slider.h"
#include "framework/gui/Switch.h"
#include "framework/gui/ToolTip.h"
#include "framework/gui/ToolTipLabel.h"
#include "framework/sound/SoundManager.h"
#include "host/AudioOutput.h"
#include "host/WindowMessages.h"
#include "support/EncodedImages.h"
#include "support/TestFolders.h"

namespace {

int calls = 0;
BaseObject* lastArgument = nullptr;
int countCall(void*, BaseObject* argument)
{
    ++calls;
    lastArgument = argument;
    return 0;
}

class WidgetTest : public GuiFixture {
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        calls = 0;
        lastArgument = nullptr;
        // Four 20 x 10 frames; the left half of each is transparent.
        RefPointer<Image> strip = solidImage(20, 40, 0xFF808080);
        RefPointer<Graphics> graphics = strip->getGraphics();
        graphics->fillRectChannel(Graphics::ChannelAlpha, 0, 0, 0, 10, 40);
        addResource("ui", "button", strip.get());
        addResource("ui", "switch", solidImage(16, 128, 0xFF00A000).get());
        addResource("ui", "track", solidImage(110, 10, 0xFF303030).get());
        addResource("ui", "thumb", solidImage(10, 40, 0xFFC0C0C0).get());
    }

    // Parses one element and makes the object it names.
    template <class T>
    RefPointer<T> make(const std::string& xml)
    {
        const std::string text = "<root>" + xml + "</root>";
        store = new PropertyStore();
        EXPECT_TRUE(store->loadFromBuffer(text.data(), text.size()));
        AbstractProperty* entry = store->getChild("w");
        EXPECT_NE(nullptr, entry);
        return create<T>(entry->getTypeName(), entry->asNode());
    }

    RefPointer<PropertyStore> store;
};

TEST_F(WidgetTest, ButtonFollowsThePointerAndFiresOnlyOnAReleaseAfterAPressOnIt)
{
    RefPointer<Button> button =
        make<Button>("<Button id=\"w\" image=\"button\" section=\"ui\" x=\"100\" y=\"50\"/>");
    ASSERT_NE(nullptr, button);
    button->setCallback(GuiMethod(nullptr, &countCall));
    EXPECT_EQ(20, button->getWidth());
    EXPECT_EQ(10, button->getHeight());

    button->onMouseMove(105, 55, 0);
    EXPECT_EQ(Button::Over, button->getState());
    EXPECT_EQ(1, InputHandler::hoverCount);
    EXPECT_TRUE(button->onLeftDown(105, 55, 1, false));
    EXPECT_EQ(Button::Pressed, button->getCurrentFrame());
    // Off and back on with the button held, then released: it fires.
    button->onMouseMove(300, 55, 1);
    EXPECT_EQ(Button::Over, button->getState());
    button->onMouseMove(105, 55, 1);
    EXPECT_EQ(Button::Pressed, button->getState());
    EXPECT_TRUE(button->onLeftUp(105, 55, 0));
    EXPECT_EQ(1, calls);
    EXPECT_EQ(button.get(), lastArgument);
    EXPECT_EQ(Button::Normal, button->getState());

    // Pressed, moved off and released off: nothing.
    button->onLeftDown(105, 55, 1, false);
    button->onMouseMove(300, 55, 1);
    EXPECT_FALSE(button->onLeftUp(300, 55, 0));
    EXPECT_EQ(1, calls);
    EXPECT_EQ(Button::Normal, button->getState());

    // Moved on with the button held after a press elsewhere: no fire.
    button->onMouseMove(105, 55, 1);
    EXPECT_FALSE(button->onLeftUp(105, 55, 0));
    EXPECT_EQ(1, calls);
    button->resetInput();
    EXPECT_EQ(0, InputHandler::hoverCount);
}

TEST_F(WidgetTest, DisabledButtonShowsItsLastFrameAndNeverFires)
{
    RefPointer<Button> button = make<Button>("<Button id=\"w\" image=\"button\" section=\"ui\" enabled=\"false\"/>");
    button->setCallback(GuiMethod(nullptr, &countCall));
    EXPECT_EQ(Button::Disabled, button->getCurrentFrame());
    button->onMouseMove(15, 5, 0);
    EXPECT_EQ(0, InputHandler::hoverCount);
    EXPECT_FALSE(button->onLeftDown(15, 5, 1, false));
    EXPECT_EQ(Button::Disabled, button->getCurrentFrame());
    EXPECT_FALSE(button->onLeftUp(15, 5, 0));
    EXPECT_EQ(0, calls);
    button->setEnabled(true);
    EXPECT_EQ(Button::Over, button->getCurrentFrame());
}

TEST_F(WidgetTest, FireKeysAreParsedAndFireOnRelease)
{
    EXPECT_EQ((std::vector<int> {13, 32, 27}), Button::parseFireKeys(" 13 , 0x20,#1B"));
    // Entries that are not whole numbers are skipped, not read as key 0.
    EXPECT_EQ((std::vector<int> {13, 0x2F}), Button::parseFireKeys("13,enter,0xZ,,#2F"));
    RefPointer<Button> button =
        make<Button>("<Button id=\"w\" image=\"button\" section=\"ui\" firekey=\"13, 0x20\"/>");
    button->setCallback(GuiMethod(nullptr, &countCall));
    EXPECT_FALSE(button->onKeyDown(65));
    EXPECT_TRUE(button->onKeyDown(13));
    EXPECT_EQ(Button::Pressed, button->getState());
    EXPECT_TRUE(button->onKeyUp(32));
    EXPECT_EQ(1, calls);
    EXPECT_EQ(Button::Normal, button->getState());
    // A disabled button leaves its keys to others.
    button->setEnabled(false);
    EXPECT_FALSE(button->onKeyDown(13));
    EXPECT_FALSE(button->onKeyUp(13));
    EXPECT_EQ(1, calls);
}

TEST_F(WidgetTest, HitMaskThresholdAndPointsOutsideTheMask)
{
    RefPointer<Button> masked =
        make<Button>("<Button id=\"w\" image=\"button\" section=\"ui\" hitmaskthreshold=\"0\"/>");
    EXPECT_FALSE(masked->containsPoint(5, 5));
    EXPECT_TRUE(masked->containsPoint(15, 5));
    RefPointer<Button> plain = make<Button>("<Button id=\"w\" image=\"button\" section=\"ui\"/>");
    EXPECT_TRUE(plain->containsPoint(5, 5));

    // A mask smaller than the button: outside it nothing hits.
    addResource("ui", "mask", solidImage(4, 4, 0xFFFFFFFF).get());
    RefPointer<Button> small =
        make<Button>("<Button id=\"w\" image=\"button\" section=\"ui\" hitmask=\"mask\"/>");
    EXPECT_TRUE(small->containsPoint(2, 2));
    EXPECT_FALSE(small->containsPoint(12, 8));
}

TEST_F(WidgetTest, HoveredButtonsShowTheHandCursor)
{
    loadSetup("<root><Node id=\"scenes\"><Scene id=\"S\"><Vector id=\"scenecomponents\">"
              "<Button name=\"b\" image=\"button\" section=\"ui\" x=\"100\" y=\"100\"/>"
              "</Vector></Scene></Node></root>");
    Scene* scene = SceneManager::instance->registerScene("S");
    SceneManager::instance->setNextScene(scene);
    SceneManager::instance->run(20);
    ASSERT_NE(nullptr, scene->bindComponent("b", GuiMethod(nullptr, &countCall)));
    scene->getInputHandler()->onMouseMove(105, 105, 0);
    EXPECT_EQ(3, hostWindow()->getCursorShape());
    scene->getInputHandler()->onMouseMove(400, 400, 0);
    EXPECT_EQ(2, hostWindow()->getCursorShape());
    scene->getInputHandler()->onLeftDown(105, 105, 1, false);
    scene->getInputHandler()->onLeftUp(105, 105, 0);
    EXPECT_EQ(1, calls);
}

TEST_F(WidgetTest, UrlButtonOpensItsAddressOnAClickAndOnAKey)
{
    RefPointer<Button> button = make<Button>(
        "<URLButton id=\"w\" image=\"button\" section=\"ui\" url=\"https://example.org/\" firekey=\"13\"/>");
    ASSERT_NE(nullptr, objectCast<URLButton>(button.get()));
    button->onLeftDown(15, 5, 1, false);
    EXPECT_TRUE(button->onLeftUp(15, 5, 0));
    ASSERT_EQ(1u, platform.openedAddresses.size());
    button->onKeyUp(13);
    EXPECT_EQ(2u, platform.openedAddresses.size());

    RefPointer<Button> unsafe =
        make<Button>("<URLButton id=\"w\" image=\"button\" section=\"ui\" url=\"file:///etc/passwd\"/>");
    unsafe->onLeftDown(15, 5, 1, false);
    unsafe->onLeftUp(15, 5, 0);
    EXPECT_EQ(2u, platform.openedAddresses.size());
}

// The "file" picture comes through an image resource (JPEG too), and the
// callback runs while the button is still pressed.
TEST_F(WidgetTest, UrlButtonPictureThroughTheImageResourceAndCallbackSeesThePress)
{
    // Resource names are relative to the working folder and lower case.
    const std::string picture = makeRelativeTestFolder("urlbutton") + "/visit.jpg";
    const std::vector<uint8_t> jpeg = testimages::encodeJpeg(8, 20, 3, std::vector<uint8_t>(8 * 20 * 3, 90));
    writeTestFile(picture, std::string(jpeg.begin(), jpeg.end()));
    RefPointer<Button> button = make<Button>("<URLButton id=\"w\" file=\"" + picture +
                                             "\" url=\"https://example.org/\" x=\"10\" y=\"10\"/>");
    ASSERT_NE(nullptr, button);
    ASSERT_NE(nullptr, button->getImage());
    EXPECT_EQ(8, button->getWidth());
    EXPECT_EQ(5, button->getHeight()) << "four frames stacked";

    static int stateSeen = -1;
    stateSeen = -1;
    button->setCallback(GuiMethod(button.get(), [](void* context, BaseObject*) {
        stateSeen = static_cast<Button*>(context)->getState();
        return 0;
    }));
    EXPECT_TRUE(button->onLeftDown(12, 12, 1, false));
    EXPECT_TRUE(button->onLeftUp(12, 12, 0));
    EXPECT_EQ(Button::Pressed, stateSeen);
    EXPECT_EQ(Button::Normal, button->getState());
    EXPECT_EQ(1u, platform.openedAddresses.size());
}

TEST_F(WidgetTest, RadioSwitchesUncheckTheRestOfTheirGroup)
{
    RefPointer<Switch> first = make<Switch>("<Switch id=\"w\" image=\"switch\" section=\"ui\" groupid=\"1\" "
                                            "checked=\"true\"/>");
    RefPointer<Switch> second = make<Switch>("<Switch id=\"w\" image=\"switch\" section=\"ui\" groupid=\"1\" x=\"50\"/>");
    RefPointer<Switch> other = make<Switch>("<Switch id=\"w\" image=\"switch\" section=\"ui\" groupid=\"2\" "
                                            "checked=\"true\" x=\"100\"/>");
    second->setCallback(GuiMethod(nullptr, &countCall));
    first->setCallback(GuiMethod(nullptr, &countCall));
    EXPECT_EQ(16, first->getHeight());
    EXPECT_EQ(4, first->getCurrentFrame());

    EXPECT_TRUE(second->onLeftDown(55, 5, 1, false));
    EXPECT_TRUE(second->onLeftUp(55, 5, 0));
    EXPECT_TRUE(second->isChecked());
    EXPECT_FALSE(first->isChecked());
    EXPECT_TRUE(other->isChecked());
    EXPECT_EQ(1, calls);
    // Unchecking one leaves the rest of its group as they are.
    other->setChecked(false);
    EXPECT_TRUE(second->isChecked());

    // A checked radio switch stays checked and calls nothing, but takes the click.
    EXPECT_TRUE(second->onLeftDown(55, 5, 1, false));
    EXPECT_TRUE(second->onLeftUp(55, 5, 0));
    EXPECT_TRUE(second->isChecked());
    EXPECT_EQ(1, calls);
}

TEST_F(WidgetTest, CheckBoxTogglesOnlyAfterAPressOnIt)
{
    RefPointer<Switch> box = make<Switch>("<Switch id=\"w\" image=\"switch\" section=\"ui\"/>");
    box->setCallback(GuiMethod(nullptr, &countCall));
    box->onLeftDown(5, 5, 1, false);
    box->onMouseMove(300, 5, 1);
    box->onMouseMove(5, 5, 1);
    EXPECT_TRUE(box->onLeftUp(5, 5, 0));
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(1, calls);
    // A release beside it is left to whatever is under the pointer.
    box->onLeftDown(5, 5, 1, false);
    EXPECT_FALSE(box->onLeftUp(300, 5, 0));
    EXPECT_TRUE(box->isChecked());
    // A press elsewhere and a release on it only shows the over frame.
    EXPECT_FALSE(box->onLeftUp(5, 5, 0));
    EXPECT_EQ(Switch::Over, box->getState());
    EXPECT_EQ(5, box->getCurrentFrame());
    box->setEnabled(false);
    EXPECT_EQ(7, box->getCurrentFrame());
    // Boxes outside any group are checked and unchecked one at a time.
    RefPointer<Switch> another = make<Switch>("<Switch id=\"w\" image=\"switch\" section=\"ui\" checked=\"true\"/>");
    box->setChecked(false);
    EXPECT_EQ(3, box->getCurrentFrame());
    box->setChecked(true);
    EXPECT_TRUE(another->isChecked());
    box->setChecked(false);
}

TEST_F(WidgetTest, ClickOnTheCaptionTogglesTheSwitch)
{
    RefPointer<Switch> box = make<Switch>("<Switch id=\"w\" image=\"switch\" section=\"ui\"/>");
    RefPointer<Sprite> caption(new Sprite(40, 0, 60, 16));
    EXPECT_FALSE(box->containsPoint(50, 5));
    box->setHitShape(caption.get());
    EXPECT_TRUE(box->onLeftDown(50, 5, 1, false));
    EXPECT_TRUE(box->onLeftUp(50, 5, 0));
    EXPECT_TRUE(box->isChecked());
}

TEST_F(WidgetTest, SceneShownAgainKeepsItsContent)
{
    addResource("scenes", "back", solidImage(8, 8, 0xFF112233).get());
    loadSetup("<root><Node id=\"scenes\"><Scene id=\"S\" scenebackground=\"back\" section=\"scenes\">"
              "<Vector id=\"scenecomponents\"><Sprite name=\"s\"/></Vector></Scene></Node></root>");
    Scene* scene = SceneManager::instance->registerScene("S");
    scene->show();
    GameNode* first = scene->getComponent("s");
    ASSERT_NE(nullptr, first);
    Image* background = scene->getFrameImage();
    EXPECT_NE(nullptr, background);
    scene->hide();
    scene->show();
    EXPECT_EQ(first, scene->getComponent("s"));
    EXPECT_EQ(1, scene->getComponentRoot()->getChildCount());
    EXPECT_EQ(background, scene->getFrameImage());
}

const char* const kSlider = "<Slider id=\"w\" image=\"track\" section=\"ui\" x=\"100\" y=\"100\">"
                            "<Button id=\"button\" image=\"thumb\" section=\"ui\"/>"
                            "<Button id=\"incbutton\" image=\"thumb\" section=\"ui\"/>"
                            "<Button id=\"decbutton\" image=\"thumb\" section=\"ui\"/></Slider>";

TEST_F(WidgetTest, SliderMapsTheThumbToValuesAndPinsTheEnds)
{
    // Made disabled, its three buttons are disabled with it.
    std::string disabledXml = kSlider;
    disabledXml.insert(disabledXml.find(" x="), " enabled=\"false\"");
    RefPointer<Slider> disabled = make<Slider>(disabledXml);
    EXPECT_FALSE(disabled->isEnabled());
    for (Button* button : {disabled->getThumb(), disabled->getIncButton(), disabled->getDecButton()}) {
        ASSERT_NE(nullptr, button);
        EXPECT_FALSE(button->isEnabled());
    }

    RefPointer<Slider> slider = make<Slider>(kSlider);
    ASSERT_NE(nullptr, slider->getThumb());
    slider->setCallback(GuiMethod(nullptr, &countCall));
    EXPECT_EQ(0, slider->getThumbNode()->getX());
    slider->setValue(0.5f);
    EXPECT_EQ(50, slider->getThumbNode()->getX());
    EXPECT_EQ(0, calls);

    // A press on the track jumps the thumb's corner there; dragging follows.
    EXPECT_TRUE(slider->onLeftDown(125, 105, 1, false));
    EXPECT_FLOAT_EQ(0.25f, slider->getValue());
    EXPECT_EQ(Button::Pressed, slider->getThumb()->getState());
    slider->onMouseMove(400, 105, 1);
    EXPECT_FLOAT_EQ(1.0f, slider->getValue());
    slider->onMouseMove(0, 105, 1);
    EXPECT_FLOAT_EQ(0.0f, slider->getValue());
    slider->onLeftUp(0, 105, 0);
    EXPECT_EQ(Button::Normal, slider->getThumb()->getState());
    EXPECT_EQ(3, calls);
}

TEST_F(WidgetTest, SliderStepsStopExactlyAtTheEnds)
{
    RefPointer<Slider> slider = make<Slider>(kSlider);
    slider->setCallback(GuiMethod(nullptr, &countCall));
    slider->setValue(0.95f);
    slider->increment();
    EXPECT_FLOAT_EQ(1.0f, slider->getValue());
    slider->setValue(0.05f);
    slider->decrement();
    EXPECT_FLOAT_EQ(0.0f, slider->getValue());
    EXPECT_EQ(2, calls);
    // The step buttons sit left and right of the track and step by a tenth.
    Button* inc = slider->getIncButton();
    EXPECT_EQ(110, inc->getX());
    EXPECT_TRUE(slider->onLeftDown(215, 105, 1, false));
    EXPECT_TRUE(slider->onLeftUp(215, 105, 0));
    EXPECT_NEAR(0.1f, slider->getValue(), 1e-6);
}

TEST_F(WidgetTest, SliderWithoutAUsableTrackIgnoresInput)
{
    RefPointer<Slider> noThumb = make<Slider>("<Slider id=\"w\" image=\"track\" section=\"ui\"/>");
    noThumb->setCallback(GuiMethod(nullptr, &countCall));
    EXPECT_TRUE(noThumb->onLeftDown(20, 5, 1, false));
    noThumb->onMouseMove(50, 5, 1);
    noThumb->increment();
    EXPECT_EQ(0.0f, noThumb->getValue());
    RefPointer<Slider> flat = make<Slider>("<Slider id=\"w\" image=\"track\" section=\"ui\" minvalue=\"2\" "
                                           "maxvalue=\"2\"><Button id=\"button\" image=\"thumb\" section=\"ui\"/>"
                                           "</Slider>");
    flat->setValue(5.0f);
    EXPECT_EQ(2.0f, flat->getValue());
    EXPECT_EQ(0, flat->getThumbNode()->getX());
    flat->onLeftDown(20, 5, 1, false);
    flat->onMouseMove(60, 5, 1);
    EXPECT_EQ(2.0f, flat->getValue());
    EXPECT_FALSE(std::isnan(flat->getValue()));
    EXPECT_EQ(0, calls);
}

TEST_F(WidgetTest, ToolTipShowsAfterTheShowDelayAndGoesAfterTheRemoveDelay)
{
    RefPointer<ToolTip> tip = make<ToolTip>("<ToolTip id=\"w\"><ToolTipLabel id=\"renderer\" width=\"100\"/></ToolTip>");
    ASSERT_NE(nullptr, tip->getRenderer());
    RefPointer<GameTree> tree(new GameTree());
    Sprite* first = new Sprite(100, 100, 50, 20);
    Sprite* second = new Sprite(300, 100, 50, 20);
    first->setToolTip(u"first");
    second->setToolTip(u"second");
    GameNode::addChild(tree.get(), first);
    GameNode::addChild(tree.get(), second);
    tip->setRoot(tree.get());

    tip->onMouseMove(110, 110, 0);
    tip->run(20);
    EXPECT_EQ(first, tip->getCurrentNode());
    int shownAfter = 0;
    while (!tip->isShowing() && shownAfter < 2000) {
        tip->run(20);
        shownAfter += 20;
    }
    EXPECT_EQ(1000, shownAfter);
    EXPECT_EQ(110, tip->getTipX());
    EXPECT_EQ(134, tip->getTipY());
    int visibleFor = 0;
    while (tip->isShowing() && visibleFor < 20000) {
        tip->run(20);
        visibleFor += 20;
    }
    EXPECT_EQ(10000, visibleFor);

    // Another sprite and back: both delays start again.
    tip->onMouseMove(310, 110, 0);
    tip->run(20);
    tip->onMouseMove(110, 110, 0);
    tip->run(20);
    tip->run(980);
    EXPECT_FALSE(tip->isShowing());
    tip->run(20);
    EXPECT_TRUE(tip->isShowing());
}

TEST_F(WidgetTest, ShownDialogHidesTheTipsOfWhatLiesBeforeIt)
{
    loadSetup("<root><Node id=\"dialogs\"><Dialog id=\"D\" x=\"500\" y=\"500\" width=\"10\" height=\"10\"/>"
              "</Node><Node id=\"scenes\"><Scene id=\"S\"/></Node></root>");
    Scene* scene = SceneManager::instance->registerScene("S");
    RefPointer<ToolTip> tip = make<ToolTip>("<ToolTip id=\"w\" showdelay=\"20\"><ToolTipLabel id=\"renderer\"/></ToolTip>");
    Sprite* sprite = new Sprite(100, 100, 50, 20);
    sprite->setToolTip(u"under");
    scene->addComponent(sprite);
    SceneManager::instance->setToolTip(tip.get());
    SceneManager::instance->setNextScene(scene);
    SceneManager::instance->run(20);
    EXPECT_EQ(scene->getTree(), tip->getRoot());
    // The scene's own input hears the tooltip's listener too.
    EXPECT_TRUE(scene->getInputContainer().containsListener(tip.get()));
    tip->onMouseMove(110, 110, 0);
    tip->run(20);
    EXPECT_EQ(sprite, tip->getCurrentNode());
    scene->showDialog(scene->getOrCreateDialog("", "D"));
    tip->run(20);
    EXPECT_EQ(nullptr, tip->getCurrentNode());
    SceneManager::instance->setToolTip(nullptr);
    EXPECT_FALSE(scene->getInputContainer().containsListener(tip.get()));
}

TEST_F(WidgetTest, VerticalSliderGrowsDownwards)
{
    addResource("ui", "column", solidImage(10, 110, 0xFF303030).get());
    RefPointer<Slider> slider = make<Slider>("<Slider id=\"w\" image=\"column\" section=\"ui\" vertical=\"true\" "
                                             "minvalue=\"10\" maxvalue=\"20\"><Button id=\"button\" "
                                             "image=\"thumb\" section=\"ui\"/></Slider>");
    slider->setValue(15.0f);
    EXPECT_EQ(0, slider->getThumbNode()->getX());
    EXPECT_EQ(50, slider->getThumbNode()->getY());
    slider->onLeftDown(5, 105, 1, false);
    EXPECT_FLOAT_EQ(20.0f, slider->getValue());
}

TEST_F(WidgetTest, ToolTipNearTheBottomEdgeMovesBesideThePointer)
{
    RefPointer<ToolTip> tip = make<ToolTip>("<ToolTip id=\"w\" showdelay=\"20\"><ToolTipLabel id=\"renderer\"/></ToolTip>");
    RefPointer<GameTree> tree(new GameTree());
    Sprite* sprite = new Sprite(0, 500, 800, 100);
    sprite->setToolTip(u"x");
    GameNode::addChild(tree.get(), sprite);
    tip->setRoot(tree.get());
    tip->onMouseMove(100, 590, 0);
    tip->run(20);
    tip->run(20);
    EXPECT_EQ(116, tip->getTipX());
    // Near the bottom right corner it goes left of the pointer.
    tip->onMouseMove(799, 590, 0);
    tip->run(20);
    tip->onMouseMove(799, 591, 0);
    tip->run(20);
    tip->run(20);
    EXPECT_LT(tip->getTipX(), 799);
}

TEST_F(WidgetTest, FullScreenHandlerLaysOutItsButtonsAndMutesOnDeactivation)
{
    loadSetup("<root><Node id=\"templates\"><FullScreenHandler id=\"FS\" x=\"800\">"
              "<Button id=\"button_quit\" image=\"button\" section=\"ui\"/>"
              "<Button id=\"button_restore\" image=\"button\" section=\"ui\"/>"
              "<Button id=\"button_minimize\" image=\"button\" section=\"ui\"/>"
              "</FullScreenHandler></Node></root>");
    FullScreenHandler* handler = FullScreenHandler::create("FS");
    ASSERT_NE(nullptr, handler);
    EXPECT_EQ(-20, handler->getQuitButton()->getX());
    EXPECT_EQ(-40, handler->getRestoreButton()->getX());
    EXPECT_EQ(-60, handler->getMinimizeButton()->getX());

    // Windowed: neither shown nor taking input.
    handler->showFlag = true;
    FullScreenHandler::refresh(nullptr);
    FullScreenHandler::setActive(true);
    EXPECT_FALSE(handler->isVisible());
    EXPECT_FALSE(handler->getContainer().isInputEnabled());

    GameWindow::instance->setFullScreen(true);
    FullScreenHandler::refresh(nullptr);
    FullScreenHandler::setActive(true);
    EXPECT_TRUE(handler->isVisible());
    EXPECT_TRUE(handler->getContainer().isInputEnabled());
    handler->getContainer().onLeftDown(790, 5, 1, false);
    handler->getContainer().onLeftUp(790, 5, 0);
    handler->getContainer().onLeftDown(750, 5, 1, false);
    handler->getContainer().onLeftUp(750, 5, 0);
    EXPECT_EQ(1, hostWindow()->minimiseCount);

    SoundManager::createInstance(std::make_unique<host::RecordingAudioOutput>());
    ASSERT_TRUE(SoundManager::isSoundOn());
    handler->onMessage(MSG_WINDOW_DEACTIVATED, 0, 0);
    EXPECT_TRUE(SoundManager::instance->isMuted());
    handler->onMessage(MSG_WINDOW_REACTIVATED, 0, 0);
    EXPECT_FALSE(SoundManager::instance->isMuted());
    SoundManager::releaseInstance();
}

TEST_F(WidgetTest, FullScreenOnlyDesktopHasNoRestoreButton)
{
    GameWindow::destroyInstance();
    platform.desktop = {800, 600, 4};
    GameWindow::create("Tortelune", 800, 600, true, 4, 0);
    loadSetup("<root><Node id=\"templates\"><FullScreenHandler id=\"FS\">"
              "<Button id=\"button_quit\" image=\"button\" section=\"ui\"/>"
              "<Button id=\"button_restore\" image=\"button\" section=\"ui\"/>"
              "<Button id=\"button_minimize\" image=\"button\" section=\"ui\"/>"
              "</FullScreenHandler></Node></root>");
    FullScreenHandler* handler = FullScreenHandler::create("FS");
    ASSERT_NE(nullptr, handler);
    EXPECT_EQ(nullptr, handler->getRestoreButton());
    EXPECT_EQ(-40, handler->getMinimizeButton()->getX());
}

} // namespace
