#include <gtest/gtest.h>

#include <functional>

#include "GuiFixture.h"
#include "support/LogCapture.h"
#include "framework/gui/Button.h"
#include "framework/gui/Dialog.h"
#include "framework/gui/Scene.h"
#include "host/WindowMessages.h"

namespace {

class DialogTest : public GuiFixture {
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        // A nine-piece frame: 10-pixel corners, 8-pixel edges.
        for (const char* corner : {"tl", "tr", "bl", "br"})
            addResource("frames", corner, solidImage(10, 10, 0xFF202020).get());
        addResource("frames", "top", solidImage(8, 10, 0xFF404040).get());
        addResource("frames", "bottom", solidImage(8, 10, 0xFF404040).get());
        addResource("frames", "left", solidImage(10, 8, 0xFF404040).get());
        addResource("frames", "right", solidImage(10, 8, 0xFF404040).get());
        addResource("frames", "centre", solidImage(8, 8, 0xFFE0E0E0).get());
        // Four opaque 20 x 10 button frames.
        addResource("ui", "button", solidImage(20, 40, 0xFF808080).get());
        loadSetup(
            "<root><Node id=\"templates\">"
            "<DialogPainter id=\"FRAME\" section=\"frames\"><Vector id=\"images\">"
            "<String value=\"tl\"/><String value=\"top\"/><String value=\"tr\"/><String value=\"left\"/>"
            "<String value=\"centre\"/><String value=\"right\"/><String value=\"bl\"/><String value=\"bottom\"/>"
            "<String value=\"br\"/></Vector></DialogPainter></Node>"
            "<Node id=\"dialogs\">"
            "<Dialog id=\"NESTED\" width=\"100\" height=\"80\"><Vector id=\"components\">"
            "<Sprite name=\"top\" x=\"1\"/>"
            "<Panel name=\"inner\" x=\"10\"><Vector id=\"components\"><Sprite name=\"deep\"/></Vector></Panel>"
            "<Panel name=\"gone\"><Vector id=\"components\"><Sprite name=\"hidden\"/></Vector></Panel>"
            "<Unknown id=\"nothing\"/>"
            "</Vector></Dialog>"
            "<Dialog id=\"FRAMED\" painterid=\"FRAME\" minwidth=\"45\" minheight=\"21\" usebuffer=\"true\">"
            "<Vector id=\"components\"><Sprite name=\"dot\" x=\"12\" y=\"12\" width=\"4\" height=\"4\"/></Vector>"
            "</Dialog>"
            "<Dialog id=\"PLAIN\" minwidth=\"45\" minheight=\"21\" width=\"30\" height=\"20\"/>"
            "<Dialog id=\"MOVABLE\" movable=\"true\" x=\"100\" y=\"100\" width=\"200\" height=\"100\"/>"
            "<Dialog id=\"BOX\" x=\"100\" y=\"100\" width=\"200\" height=\"100\"/>"
            "<Dialog id=\"LOOSE\" modal=\"false\" x=\"600\" y=\"0\" width=\"50\" height=\"50\"/>"
            "<Dialog id=\"ASK\" x=\"100\" y=\"100\" width=\"200\" height=\"100\"><Vector id=\"components\">"
            "<Button name=\"ok\" image=\"button\" section=\"ui\" x=\"20\" y=\"30\"/></Vector></Dialog>"
            "</Node><Node id=\"scenes\"><Scene id=\"S\"/></Node></root>");
        scene = SceneManager::instance->registerScene("S");
        ASSERT_NE(nullptr, scene);
    }

    Scene* scene = nullptr;
};

int okPresses = 0;
int countOkPress(void*, BaseObject*)
{
    ++okPresses;
    return 0;
}

// Records the clicks that reach it.
class ClickCounter : public iInputListener {
public:
    bool onLeftDown(int, int, int, bool) override
    {
        ++downs;
        return true;
    }
    bool onMouseMove(int, int, int) override
    {
        ++moves;
        return false;
    }
    void resetInput() override {}
    int downs = 0;
    int moves = 0;
};

TEST_F(DialogTest, FindsComponentsThroughNestedPanelsButNotThroughRemovedOnes)
{
    LogCapture log;
    Dialog* dialog = scene->getOrCreateDialog("", "NESTED");
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ("NESTED", dialog->getName());
    ASSERT_NE(nullptr, dialog->getComponent("top"));
    GameNode* deep = dialog->getComponent("deep");
    ASSERT_NE(nullptr, deep);
    EXPECT_EQ("deep", deep->getName());
    EXPECT_EQ(nullptr, dialog->getComponent("nothing"));
    EXPECT_TRUE(log.contains("Unknown"));

    GameNode* gone = dialog->getComponent("gone");
    ASSERT_NE(nullptr, dialog->getComponent("hidden"));
    dialog->removeComponent(gone);
    EXPECT_EQ(gone, dialog->getComponent("gone"));
    EXPECT_EQ(nullptr, dialog->getComponent("hidden"));
    dialog->addComponent(gone);
    EXPECT_NE(nullptr, dialog->getComponent("hidden"));
    EXPECT_EQ(nullptr, dialog->bindComponent("missing", GuiMethod()));
}

TEST_F(DialogTest, SizesPassThroughThePainterOnlyWhenThereIsOne)
{
    Dialog* framed = scene->getOrCreateDialog("", "FRAMED");
    ASSERT_NE(nullptr, framed->getPainter());
    // 20 pixels of corners plus whole 8-pixel edges.
    EXPECT_EQ(52, framed->getWidth());
    EXPECT_EQ(28, framed->getHeight());
    framed->setAutoEnlarge(false);
    framed->setWidth(45);
    EXPECT_EQ(45, framed->getWidth());

    Dialog* plain = scene->getOrCreateDialog("", "PLAIN");
    EXPECT_EQ(nullptr, plain->getPainter());
    EXPECT_EQ(30, plain->getWidth());
    EXPECT_EQ(20, plain->getHeight());
    // Every change of size or content marks the dialog for redrawing.
    const std::function<void(Dialog*)> changes[] = {
        [](Dialog* d) { d->setWidth(31); },
        [](Dialog* d) { d->setHeight(21); },
        [](Dialog* d) { d->addComponent(new Sprite(0, 0, 4, 4)); },
    };
    for (const auto& change : changes) {
        plain->setDirty(false);
        change(plain);
        EXPECT_TRUE(plain->isDirty());
    }
}

TEST_F(DialogTest, BufferIsRebuiltOnlyWhenSomethingChanged)
{
    Dialog* dialog = scene->getOrCreateDialog("", "FRAMED");
    scene->showDialog(dialog);
    RefPointer<Image> target = Image::create(800, 600, 4);
    RefPointer<Graphics> graphics = target->getGraphics();
    dialog->render(graphics.get());
    const int first = dialog->getRefreshCount();
    EXPECT_EQ(1, first);
    // The components were drawn into the image, not left for the tree walk.
    EXPECT_FALSE(dialog->getComponentRoot()->isVisible());
    dialog->render(graphics.get());
    dialog->render(graphics.get());
    EXPECT_EQ(first, dialog->getRefreshCount());

    static_cast<Sprite*>(dialog->getComponent("dot"))->setAlpha(100);
    dialog->render(graphics.get());
    EXPECT_EQ(first + 1, dialog->getRefreshCount());
    dialog->render(graphics.get());
    EXPECT_EQ(first + 1, dialog->getRefreshCount());

    dialog->getPainter()->setChanged(true);
    dialog->render(graphics.get());
    EXPECT_EQ(first + 2, dialog->getRefreshCount());

    // Leaving the buffer: the image is rebuilt without the components, which the tree walk draws again.
    dialog->setUseBuffer(false);
    dialog->render(graphics.get());
    EXPECT_EQ(first + 3, dialog->getRefreshCount());
    EXPECT_TRUE(dialog->getComponentRoot()->isVisible());
}

TEST_F(DialogTest, DragStartsOnlyAfterMoreThanThreePixels)
{
    Dialog* dialog = scene->getOrCreateDialog("", "MOVABLE");
    scene->showDialog(dialog);
    iInputListenerContainer& input = dialog->getInputContainer();
    EXPECT_TRUE(input.onLeftDown(150, 150, 1, false));
    input.onMouseMove(153, 147, 1);
    EXPECT_EQ(1, dialog->getDragState());
    EXPECT_EQ(100, dialog->getX());
    // A release after a small movement is a click inside the dialog.
    EXPECT_TRUE(dialog->onLeftUp(153, 147, 0));
    EXPECT_EQ(0, dialog->getDragState());

    input.onLeftDown(150, 150, 1, false);
    input.onMouseMove(154, 150, 1);
    EXPECT_EQ(2, dialog->getDragState());
    EXPECT_EQ(104, dialog->getX());
    EXPECT_FALSE(input.isInputEnabled());
    input.onMouseMove(164, 160, 1);
    EXPECT_EQ(114, dialog->getX());
    EXPECT_EQ(110, dialog->getY());
    EXPECT_TRUE(input.onLeftUp(164, 160, 0));
    EXPECT_TRUE(input.isInputEnabled());
    EXPECT_EQ(0, dialog->getDragState());
}

TEST_F(DialogTest, ShownDialogTakesEveryClickFromTheSceneAndOlderDialogs)
{
    ClickCounter sceneListener, olderListener;
    scene->getInputContainer().addListener(&sceneListener, true);
    scene->show();
    Dialog* older = scene->getOrCreateDialog("", "BOX");
    Dialog* newer = scene->getOrCreateDialog("", "MOVABLE");
    older->getInputContainer().addListener(&olderListener, true);
    scene->showDialog(older);
    scene->showDialog(newer);
    EXPECT_TRUE(scene->isDialogShown("BOX"));
    EXPECT_TRUE(scene->isDialogShown("MOVABLE"));

    scene->getInputHandler()->onLeftDown(700, 500, 1, false);
    EXPECT_EQ(0, sceneListener.downs);
    EXPECT_EQ(0, olderListener.downs);

    // Hidden again, the newer one lets the older one hear.
    scene->hideDialog(newer);
    scene->getInputHandler()->onLeftDown(700, 500, 1, false);
    EXPECT_EQ(1, olderListener.downs);
    EXPECT_EQ(0, sceneListener.downs);
    scene->getInputContainer().removeListener(&sceneListener);
    older->getInputContainer().removeListener(&olderListener);
}

// The whole way a player's click takes: the window's messages, the scene's
// input handler on the next frame, the dialog, its bound button.
TEST_F(DialogTest, BoundButtonOfAShownDialogFiresFromTheWindowsMouseMessages)
{
    SceneManager::instance->setNextScene(scene);
    SceneManager::instance->run(16);
    Dialog* dialog = scene->getOrCreateDialog("", "ASK");
    ASSERT_NE(nullptr, dialog);
    scene->showDialog(dialog);
    okPresses = 0;
    ASSERT_NE(nullptr, dialog->bindComponent("ok", GuiMethod(nullptr, &countOkPress)));
    const auto click = [&](int downX, int downY, int upX, int upY) {
        hostWindow()->pushMessage(WM_MOUSEMOVE, 0, packPoint(downX, downY));
        hostWindow()->pushMessage(WM_LBUTTONDOWN, MK_LBUTTON, packPoint(downX, downY));
        hostWindow()->pushMessage(WM_MOUSEMOVE, MK_LBUTTON, packPoint(upX, upY));
        hostWindow()->pushMessage(WM_LBUTTONUP, 0, packPoint(upX, upY));
        WindowMessage message;
        while (GameWindow::instance->peekMessage(message))
            GameWindow::instance->dispatchMessage(message);
        SceneManager::instance->run(16);
    };
    // The button covers x 120..139 and y 130..139 of the window.
    struct Press {
        int downX, downY, upX, upY;
        int fired;
    };
    const Press presses[] = {
        {125, 135, 125, 135, 1}, // inside
        {120, 130, 120, 130, 1}, // its first pixel
        {139, 139, 139, 139, 1}, // its last pixel
        {119, 135, 119, 135, 0}, // one left of it
        {140, 135, 140, 135, 0}, // one right of it
        {125, 129, 125, 129, 0}, // one above it
        {125, 140, 125, 140, 0}, // one below it
        {125, 135, 160, 135, 0}, // pressed on it, let go beside it
        {160, 135, 125, 135, 0}, // pressed beside it, let go on it
    };
    for (const Press& press : presses) {
        SCOPED_TRACE(testing::Message() << press.downX << "," << press.downY << " -> " << press.upX << ","
                                        << press.upY);
        const int before = okPresses;
        click(press.downX, press.downY, press.upX, press.upY);
        EXPECT_EQ(press.fired, okPresses - before);
        EXPECT_EQ(0u, scene->getInputHandler()->getQueuedCount());
    }

    // Hidden, the dialog's button hears nothing any more.
    scene->hideDialog(dialog);
    const int before = okPresses;
    click(125, 135, 125, 135);
    EXPECT_EQ(before, okPresses);
}

TEST_F(DialogTest, FullScreenHandlerIsMadeAlsoWithoutAWindow)
{
    // Tools build the gui without a window; nothing is listened to then.
    GameWindow::destroyInstance();
    PropertyNode configuration;
    RefPointer<FullScreenHandler> handler(new FullScreenHandler(&configuration));
    EXPECT_EQ(0u, handler->getInputHandler()->getQueuedCount());
}

TEST_F(DialogTest, NonModalDialogLetsHoverAndClicksThrough)
{
    ClickCounter sceneListener;
    scene->getInputContainer().addListener(&sceneListener, true);
    scene->show();
    Dialog* loose = scene->getOrCreateDialog("", "LOOSE");
    EXPECT_FALSE(loose->isModal());
    scene->showDialog(loose);
    scene->getInputHandler()->onMouseMove(100, 100, 0);
    scene->getInputHandler()->onLeftDown(100, 100, 1, false);
    EXPECT_EQ(1, sceneListener.moves);
    EXPECT_EQ(1, sceneListener.downs);
    scene->getInputContainer().removeListener(&sceneListener);
}

TEST_F(DialogTest, ClosedDialogIsForgottenAndBuiltAfresh)
{
    SceneManager::instance->setNextScene(scene);
    SceneManager::instance->run(16);
    Dialog* first = scene->getOrCreateDialog("", "BOX");
    scene->showDialog(first);
    EXPECT_EQ(first, scene->getOrCreateDialog("", "BOX"));
    EXPECT_FALSE(scene->isDialogShown("BOX"));
    scene->showDialog(first);
    first->close();
    EXPECT_EQ(nullptr, scene->getDialog("BOX"));
    EXPECT_FALSE(scene->isDialogShown("BOX"));
    Dialog* second = scene->getOrCreateDialog("", "BOX");
    EXPECT_NE(nullptr, second);
    EXPECT_EQ(second, scene->getDialog("BOX"));
    // The same class under another name is another dialog.
    EXPECT_NE(second, scene->getOrCreateDialog("OTHER_BOX", "BOX"));
}

TEST_F(DialogTest, MissingDefinitionsAreLoggedAndNotStored)
{
    LogCapture log;
    EXPECT_EQ(nullptr, scene->getOrCreateDialog("", "NO_SUCH_DIALOG"));
    EXPECT_EQ(nullptr, scene->getDialog("NO_SUCH_DIALOG"));
    EXPECT_TRUE(log.contains("NO_SUCH_DIALOG"));
    EXPECT_EQ(nullptr, SceneManager::instance->registerScene("NO_SUCH_SCENE"));
    EXPECT_EQ(nullptr, SceneManager::instance->getScene("NO_SUCH_SCENE"));
    EXPECT_TRUE(log.contains("NO_SUCH_SCENE"));
}

TEST_F(DialogTest, AutoCenterPlacesTheDialogInTheMiddleOfTheWindow)
{
    Dialog* dialog = scene->getOrCreateDialog("", "BOX");
    dialog->setAutoCenter(true);
    dialog->show();
    EXPECT_EQ(300, dialog->getX());
    EXPECT_EQ(250, dialog->getY());
}

} // namespace
