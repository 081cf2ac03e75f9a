#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/platform/GameWindow.h"
#include "framework/platform/MessageHandler.h"
#include "host/FakeHostPlatform.h"

namespace {

// Records every message the window's listeners are shown.
class RecordingListener : public iMessageListener {
public:
    void onMessage(uint32_t message, uint32_t wParam, uint32_t lParam) override
    {
        messages.push_back({message, wParam, lParam});
    }
    std::vector<uint32_t> numbers() const
    {
        std::vector<uint32_t> result;
        for (const WindowMessage& message : messages)
            result.push_back(message.message);
        return result;
    }
    std::vector<WindowMessage> messages;
};

class GameWindowTest : public ::testing::Test {
protected:
    ~GameWindowTest() override { GameWindow::destroyInstance(); }

    GameWindow* openWindow(bool fullScreen, int requestedBytesPerPixel = 0)
    {
        GameWindow* window = GameWindow::create("Tortelune", 800, 600, fullScreen, requestedBytesPerPixel, 102);
        window->getMessageHandler()->addListener(&listener);
        return window;
    }
    FakeHostWindow& host() { return *platform.lastWindow(); }

    ScopedFakeHostPlatform platform;
    RecordingListener listener;
};

TEST_F(GameWindowTest, OpensWindowedWithABackBufferInTheDesktopDepth)
{
    GameWindow* window = openWindow(false);
    ASSERT_EQ(GameWindow::instance, window);
    EXPECT_EQ(window->getReferenceCount(), 1);
    ASSERT_TRUE(host().isOpen());
    EXPECT_EQ(host().getSettings().title, "Tortelune");
    EXPECT_EQ(host().getSettings().width, 800);
    EXPECT_EQ(host().getSettings().height, 600);
    EXPECT_FALSE(host().getSettings().fullScreen);
    EXPECT_EQ(window->getBytesPerPixel(), 4);
    ASSERT_NE(window->getBackImage(), nullptr);
    EXPECT_EQ(window->getBackImage()->getWidth(), 800);
    EXPECT_EQ(window->getBackImage()->getBytesPerPixel(), 4);
    EXPECT_NE(window->getGraphics(), nullptr);
    EXPECT_TRUE(window->isModeSwitchAllowed());
    EXPECT_FALSE(window->isInactive());
    EXPECT_EQ(window->getIconResource(), 102);
    EXPECT_TRUE(platform.messageBoxes.empty());
}

TEST_F(GameWindowTest, SixteenBitDesktopGivesSixteenBitFrames)
{
    platform.desktop.bytesPerPixel = 2;
    GameWindow* window = openWindow(false);
    EXPECT_EQ(window->getBytesPerPixel(), 2);
    EXPECT_EQ(host().getSettings().bytesPerPixel, 2);
    EXPECT_EQ(window->getBackImage()->getBytesPerPixel(), 2);
    EXPECT_EQ(Image::getScreenBytesPerPixel(), 2);
    window->present();
    EXPECT_EQ(host().lastFrame.size(), 800u * 600u * 2u);
    Image::setScreenBytesPerPixel(4);
}

TEST_F(GameWindowTest, FullScreenMayAskForItsOwnDepth)
{
    GameWindow* window = openWindow(true, 2);
    EXPECT_TRUE(host().getSettings().fullScreen);
    EXPECT_EQ(window->getBytesPerPixel(), 2);
    window->toggleFullScreen();
    EXPECT_EQ(window->getBytesPerPixel(), 4) << "windowed takes the desktop's";
    Image::setScreenBytesPerPixel(4);
}

TEST_F(GameWindowTest, DesktopNoLargerThanTheWindowForcesFullScreenWithoutSwitching)
{
    platform.desktop = {800, 600, 4};
    GameWindow* window = openWindow(false);
    EXPECT_TRUE(window->isFullScreen());
    EXPECT_TRUE(host().getSettings().fullScreen);
    EXPECT_FALSE(window->isModeSwitchAllowed());
    window->dispatchMessage({WM_SYSKEYDOWN, VK_RETURN, KF_ALTDOWN});
    EXPECT_TRUE(window->isFullScreen()) << "Alt+Enter does nothing";
    EXPECT_EQ(platform.windowsCreated, 1);
}

TEST_F(GameWindowTest, DesktopOnePixelWiderKeepsTheWindow)
{
    platform.desktop = {801, 600, 4};
    GameWindow* window = openWindow(false);
    EXPECT_FALSE(window->isFullScreen());
    EXPECT_TRUE(window->isModeSwitchAllowed());
}

TEST_F(GameWindowTest, FailedCreationIsRetriedOnceInTheOtherMode)
{
    platform.failingOpens = 1;
    GameWindow* window = openWindow(false);
    EXPECT_TRUE(window->isFullScreen());
    ASSERT_NE(platform.lastWindow(), nullptr);
    EXPECT_TRUE(host().isOpen());
    EXPECT_TRUE(host().getSettings().fullScreen);
    EXPECT_FALSE(window->isInactive());
    EXPECT_TRUE(platform.messageBoxes.empty());
    WindowMessage message;
    EXPECT_FALSE(window->peekMessage(message));
}

TEST_F(GameWindowTest, SecondFailureShowsTheErrorBoxAndPostsQuit)
{
    platform.failingOpens = 2;
    GameWindow* window = openWindow(true);
    ASSERT_EQ(platform.messageBoxes.size(), 1u);
    EXPECT_EQ(platform.messageBoxes[0].title, "Error");
    EXPECT_EQ(platform.messageBoxes[0].text,
              "Something went wrong with creating the game-window.\nThis game will quit now.");
    EXPECT_TRUE(window->isInactive());
    WindowMessage message;
    ASSERT_TRUE(window->peekMessage(message));
    EXPECT_EQ(message.message, WM_QUIT);
    EXPECT_EQ(window->getGraphics(), nullptr);
    // Frames and clipboard calls are harmless without a window.
    window->present();
    EXPECT_EQ(platform.sleeps, std::vector<uint32_t>{10});
}

TEST_F(GameWindowTest, AltEnterTwiceSwitchesTwiceWithOneBroadcastEach)
{
    GameWindow* window = openWindow(false);
    window->dispatchMessage({WM_SYSKEYDOWN, VK_RETURN, KF_ALTDOWN});
    EXPECT_TRUE(window->isFullScreen());
    EXPECT_TRUE(host().getSettings().fullScreen);
    // A held key's repeats do not switch again.
    window->dispatchMessage({WM_SYSKEYDOWN, VK_RETURN, KF_ALTDOWN | KF_PREVIOUSLY_DOWN});
    window->dispatchMessage({WM_SYSKEYUP, VK_RETURN, KF_ALTDOWN | KF_RELEASED});
    window->dispatchMessage({WM_SYSKEYDOWN, VK_RETURN, KF_ALTDOWN});
    EXPECT_FALSE(window->isFullScreen());
    EXPECT_FALSE(host().getSettings().fullScreen);

    std::vector<WindowMessage> switches;
    for (const WindowMessage& message : listener.messages)
        if (message.message == MSG_MODE_SWITCHED)
            switches.push_back(message);
    ASSERT_EQ(switches.size(), 2u);
    EXPECT_EQ(switches[0].wParam, 1u);
    EXPECT_EQ(switches[1].wParam, 0u);
    EXPECT_NE(window->getGraphics(), nullptr) << "the back buffer is made anew";
    EXPECT_EQ(platform.windowsCreated, 3);
}

TEST_F(GameWindowTest, OtherSystemKeysAndEnterAloneDoNotSwitch)
{
    GameWindow* window = openWindow(false);
    window->dispatchMessage({WM_KEYDOWN, VK_RETURN, 1});
    window->dispatchMessage({WM_SYSKEYDOWN, 'F', KF_ALTDOWN});
    EXPECT_FALSE(window->isFullScreen());
    window->setFullScreenMode(false);
    EXPECT_EQ(platform.windowsCreated, 1) << "the same mode changes nothing";
}

TEST_F(GameWindowTest, MinimiseAndRestoreBroadcastAndPauseTheFrames)
{
    GameWindow* window = openWindow(false);
    window->dispatchMessage({WM_SIZE, SIZE_MINIMIZED, 0});
    EXPECT_TRUE(window->isInactive());
    EXPECT_EQ(listener.numbers(), (std::vector<uint32_t>{WM_SIZE, MSG_WINDOW_DEACTIVATED}));

    int presented = host().presentCount;
    window->run(20);
    EXPECT_EQ(host().presentCount, presented);
    EXPECT_EQ(platform.sleeps, std::vector<uint32_t>{10});

    window->dispatchMessage({WM_SIZE, SIZE_RESTORED, packPoint(800, 600)});
    EXPECT_FALSE(window->isInactive());
    EXPECT_EQ(listener.messages.back().message, MSG_WINDOW_REACTIVATED);
    window->run(20);
    EXPECT_EQ(host().presentCount, presented + 1);
}

TEST_F(GameWindowTest, FocusLossPausesOnlyInFullScreen)
{
    GameWindow* window = openWindow(false);
    window->dispatchMessage({WM_KILLFOCUS, 0, 0});
    EXPECT_FALSE(window->isInactive());
    EXPECT_FALSE(window->hasFocus());
    EXPECT_EQ(listener.messages.back().message, MSG_WINDOW_DEACTIVATED);
    window->dispatchMessage({WM_SETFOCUS, 0, 0});
    EXPECT_TRUE(window->hasFocus());
    EXPECT_EQ(listener.messages.back().message, MSG_WINDOW_REACTIVATED);

    window->toggleFullScreen();
    window->dispatchMessage({WM_KILLFOCUS, 0, 0});
    EXPECT_TRUE(window->isInactive());
    window->dispatchMessage({WM_ACTIVATEAPP, 1, 0});
    EXPECT_FALSE(window->isInactive());
}

TEST_F(GameWindowTest, MaximiseSwitchesToFullScreen)
{
    GameWindow* window = openWindow(false);
    window->dispatchMessage({WM_SIZE, SIZE_MAXIMIZED, packPoint(800, 600)});
    EXPECT_TRUE(window->isFullScreen());
}

TEST_F(GameWindowTest, PresentShowsTheBackBuffer)
{
    GameWindow* window = openWindow(false);
    Image* back = window->getBackImage();
    ASSERT_TRUE(back->lock());
    back->row32(0)[0] = 0xFF102030;
    back->row32(599)[799] = 0xFF405060;
    back->unlock();
    window->dispatchMessage({WM_PAINT, 0, 0});
    ASSERT_EQ(host().lastFrame.size(), 800u * 600u * 4u);
    const uint32_t* pixels = reinterpret_cast<const uint32_t*>(host().lastFrame.data());
    EXPECT_EQ(pixels[0], 0xFF102030u);
    EXPECT_EQ(pixels[800 * 600 - 1], 0xFF405060u);
}

TEST_F(GameWindowTest, AStillFrameIsShownOnceUntilTheDisplayMayHaveLostIt)
{
    for (bool fullScreen : {false, true}) {
        SCOPED_TRACE(fullScreen ? "full screen" : "windowed");
        GameWindow* window = openWindow(fullScreen);
        int shown = host().presentCount;
        window->run(20);
        EXPECT_EQ(host().presentCount, shown + 1) << "a new window shows its first frame";
        window->run(20);
        window->run(20);
        EXPECT_EQ(host().presentCount, shown + 1) << "the same frame again is not handed over";

        Image* back = window->getBackImage();
        ASSERT_TRUE(back->lock());
        back->row32(599)[799] ^= 1;
        back->unlock();
        window->run(20);
        EXPECT_EQ(host().presentCount, shown + 2) << "one changed pixel is shown";

        // Each of these may leave the display without the frame.
        const WindowMessage again[] = {{WM_PAINT, 0, 0}, {WM_SETFOCUS, 0, 0}, {WM_ACTIVATEAPP, 1, 0},
                                       {WM_SIZE, SIZE_RESTORED, 0}};
        for (const WindowMessage& message : again) {
            const int before = host().presentCount;
            window->dispatchMessage(message);
            window->run(20);
            EXPECT_EQ(host().presentCount, before + 1) << "message " << message.message;
        }

        // A mode switch makes a new window, which gets the frame though it did not change.
        window->toggleFullScreen();
        window->run(20);
        EXPECT_EQ(host().presentCount, 1);
        GameWindow::destroyInstance();
    }
}

TEST_F(GameWindowTest, AScaledFullScreenShowsTheFrameBetweenBarsAndOnlyWhatChanged)
{
    platform.fullScreenWidth = 1280;
    platform.fullScreenHeight = 720;
    GameWindow* window = openWindow(true);
    Image* back = window->getBackImage();
    ASSERT_TRUE(back->lock());
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            back->row32(y)[x] = 0xFF20A040u;
    back->unlock();
    auto surfacePixel = [&](int x, int y) {
        return reinterpret_cast<const uint32_t*>(host().lastFrame.data())[y * 1280 + x] & 0xFFFFFFu;
    };
    window->run(20);
    ASSERT_EQ(host().lastFrame.size(), 1280u * 720u * 4u);
    EXPECT_EQ(host().lastUpdate, (std::vector<SurfaceRect>{{0, 0, 1280, 720}}));
    for (int y : {0, 359, 719}) {
        for (int x : {0, 159, 1120, 1279})
            EXPECT_EQ(surfacePixel(x, y), 0u) << "bar at " << x << ", " << y;
        for (int x : {160, 640, 1119})
            EXPECT_EQ(surfacePixel(x, y), 0x20A040u) << "frame at " << x << ", " << y;
    }

    // One changed pixel: a small area about its place, the rest left as it is.
    ASSERT_TRUE(back->lock());
    back->row32(300)[400] = 0xFFFFFFFFu;
    back->unlock();
    window->run(20);
    ASSERT_EQ(host().lastUpdate.size(), 1u);
    const SurfaceRect changed = host().lastUpdate[0];
    EXPECT_LE(changed.x, 640);
    EXPECT_GE(changed.x + changed.width, 641);
    EXPECT_LE(changed.y, 360);
    EXPECT_GE(changed.y + changed.height, 361);
    EXPECT_LT(changed.width, 20);
    EXPECT_LT(changed.height, 20);
    // Frame (400, 300) at scale 1.2, mixed a little with its green neighbours.
    EXPECT_GE(surfacePixel(160 + 480, 360) & 0xF0F0F0u, 0xF0F0F0u);

    // An expose shows everything again; a resize gives a new surface, bars and all.
    window->dispatchMessage({WM_PAINT, 0, 0});
    EXPECT_EQ(host().lastUpdate, (std::vector<SurfaceRect>{{0, 0, 1280, 720}}));
    host().resizeSurface(1024, 768);
    window->dispatchMessage({WM_PAINT, 0, 0});
    ASSERT_EQ(host().lastFrame.size(), 1024u * 768u * 4u);
    EXPECT_EQ(host().lastUpdate, (std::vector<SurfaceRect>{{0, 0, 1024, 768}}));
    EXPECT_EQ(reinterpret_cast<const uint32_t*>(host().lastFrame.data())[0] & 0xFFFFFFu, 0x20A040u);
}

// What only the changed parts put on the screen must be what a whole frame
// would: scattered changes, some at the frame's edges, on a plain and on a
// scaled full screen.
TEST_F(GameWindowTest, ChangedPartsShownAloneGiveTheWholeFramesPicture)
{
    for (int surfaceWidth : {800, 1280}) {
        SCOPED_TRACE(surfaceWidth);
        platform.fullScreenWidth = surfaceWidth;
        platform.fullScreenHeight = surfaceWidth == 800 ? 600 : 720;
        GameWindow* window = openWindow(true);
        window->run(20);
        Image* back = window->getBackImage();
        std::mt19937 random(11);
        for (int round = 0; round < 8; ++round) {
            ASSERT_TRUE(back->lock());
            for (int change = 0; change < 1 + round * 3; ++change) {
                const int x = change == 0 ? (round % 2 ? 799 : 0) : int(random() % 800);
                const int y = change == 0 ? (round % 3 ? 599 : 0) : int(random() % 600);
                back->row32(y)[x] = random() | 0xFF000000u;
            }
            back->unlock();
            window->run(20);
            const std::vector<uint8_t> shown = host().lastFrame;
            window->dispatchMessage({WM_PAINT, 0, 0});
            ASSERT_EQ(host().lastFrame, shown) << "round " << round;
        }
        // Both ends of one row changed: everything between them is shown too.
        ASSERT_TRUE(back->lock());
        back->row32(300)[0] ^= 0x00FFFFFFu;
        back->row32(300)[799] ^= 0x00FFFFFFu;
        back->unlock();
        window->run(20);
        const std::vector<uint8_t> shown = host().lastFrame;
        window->dispatchMessage({WM_PAINT, 0, 0});
        EXPECT_EQ(host().lastFrame, shown);
        GameWindow::destroyInstance();
    }
}

TEST_F(GameWindowTest, AFrameTheDisplayRefusedIsShownWholeNextTime)
{
    GameWindow* window = openWindow(false);
    window->run(20);
    host().refuseUpdates = true;
    Image* back = window->getBackImage();
    ASSERT_TRUE(back->lock());
    back->row32(10)[10] = 0xFF0000FFu;
    back->unlock();
    window->run(20);
    host().refuseUpdates = false;
    window->run(20);
    EXPECT_EQ(host().lastUpdate, (std::vector<SurfaceRect>{{0, 0, 800, 600}}));
    EXPECT_EQ(reinterpret_cast<const uint32_t*>(host().lastFrame.data())[10 * 800 + 10], 0xFF0000FFu);
}

bool takeClose(void* context)
{
    ++*static_cast<int*>(context);
    return true;
}

TEST_F(GameWindowTest, CloseGoesToTheCloseHandlerWhenThereIsOne)
{
    GameWindow* window = openWindow(false);
    int asked = 0;
    window->setCloseHandler(takeClose, &asked);
    window->dispatchMessage({WM_CLOSE, 0, 0});
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(host().isOpen());
    WindowMessage message;
    EXPECT_FALSE(window->peekMessage(message));

    window->setCloseHandler(nullptr, nullptr);
    window->dispatchMessage({WM_CLOSE, 0, 0});
    EXPECT_EQ(window->getHostWindow(), nullptr);
    ASSERT_TRUE(window->peekMessage(message));
    EXPECT_EQ(message.message, WM_QUIT);
}

TEST_F(GameWindowTest, ListenersSeeMessagesBeforeTheWindowActs)
{
    GameWindow* window = openWindow(false);
    window->dispatchMessage({WM_MOUSEMOVE, 0, packPoint(3, 4)});
    window->dispatchMessage({WM_KILLFOCUS, 0, 0});
    EXPECT_EQ(listener.numbers(), (std::vector<uint32_t>{WM_MOUSEMOVE, WM_KILLFOCUS, MSG_WINDOW_DEACTIVATED}));
}

TEST_F(GameWindowTest, AWindowNobodyHoldsOutlivesTheMessagesItDispatches)
{
    // Not counted by anyone (a member or a local): dispatching must not end it.
    GameWindow unheld;
    unheld.dispatchMessage({WM_MOUSEMOVE, 0, packPoint(1, 2)});
    unheld.dispatchMessage({WM_SETCURSOR, 0, 0});
    unheld.setCursorShape(0);
    EXPECT_EQ(unheld.getCursor(), 0);
    EXPECT_EQ(unheld.getReferenceCount(), 0);
}

TEST_F(GameWindowTest, LeftButtonCapturesTheMouseUntilReleased)
{
    GameWindow* window = openWindow(false);
    window->dispatchMessage({WM_LBUTTONDOWN, MK_LBUTTON, packPoint(1, 1)});
    EXPECT_TRUE(host().mouseCaptured);
    window->dispatchMessage({WM_LBUTTONUP, 0, packPoint(-5, 1)});
    EXPECT_FALSE(host().mouseCaptured);
}

TEST_F(GameWindowTest, CursorShapesReachTheWindow)
{
    GameWindow* window = openWindow(false);
    window->setCursorShape(1);
    EXPECT_EQ(host().getCursorShape(), 1);
    window->setCursorShape(6);
    EXPECT_EQ(window->getCursor(), 6);
    EXPECT_EQ(host().getCursorShape(), 6);
    window->setCursorShape(0);
    EXPECT_EQ(host().getCursorShape(), 0); // the lowest shape is a shape of its own
    window->setCursorShape(-1);
    EXPECT_EQ(host().getCursorShape(), 2);
    window->setCursorShape(6);
    window->setCursorShape(7);
    EXPECT_EQ(host().getCursorShape(), 2);
    window->setCursorShape(42);
    EXPECT_EQ(host().getCursorShape(), 2);
    window->toggleFullScreen();
    EXPECT_EQ(host().getCursorShape(), 2) << "a new window keeps the shape";
}

TEST_F(GameWindowTest, ClipboardNeedsAWindow)
{
    EXPECT_FALSE(copyToClipboard("nothing"));
    platform.clipboard = "kept";
    EXPECT_EQ(pasteFromClipboard(), "");
    openWindow(false);
    EXPECT_TRUE(copyToClipboard("Sacher"));
    EXPECT_EQ(pasteFromClipboard(), "Sacher");
    platform.clipboardAvailable = false;
    EXPECT_FALSE(copyToClipboard("x"));
    EXPECT_EQ(pasteFromClipboard(), "");
}

TEST_F(GameWindowTest, RaiseRequestRestoresTheWindow)
{
    GameWindow* window = openWindow(false);
    window->restoreAndRaise();
    window->minimise();
    EXPECT_EQ(host().raiseCount, 1);
    EXPECT_EQ(host().minimiseCount, 1);
}

TEST_F(GameWindowTest, PostedQuitComesBeforeWaitingWindowMessages)
{
    GameWindow* window = openWindow(false);
    host().pushMessage(WM_MOUSEMOVE);
    window->postQuitMessage(3);
    WindowMessage message;
    ASSERT_TRUE(window->peekMessage(message));
    EXPECT_EQ(message, (WindowMessage{WM_QUIT, 3, 0}));
    ASSERT_TRUE(window->peekMessage(message));
    EXPECT_EQ(message.message, WM_MOUSEMOVE);
}

} // namespace

TEST_F(GameWindowTest, IconPictureReachesEveryWindowTheModeSwitchMakes)
{
    GameWindow* window = openWindow(false);
    RefPointer<Image> picture = Image::create(2, 1, 4);
    picture->lock();
    picture->row32(0)[0] = 0x80FF0000u;
    picture->row32(0)[1] = 0xFF00FF00u;
    picture->unlock();
    window->setIconPicture(picture.get());
    EXPECT_EQ((std::vector<uint32_t>{0x80FF0000u, 0xFF00FF00u}), host().iconPixels);
    window->dispatchMessage({WM_SYSKEYDOWN, VK_RETURN, KF_ALTDOWN});
    ASSERT_EQ(2, platform.windowsCreated);
    EXPECT_EQ(2, host().iconWidth);
    EXPECT_EQ(1, host().iconHeight);
    EXPECT_EQ((std::vector<uint32_t>{0x80FF0000u, 0xFF00FF00u}), host().iconPixels);

    // A 16-bit picture is widened, its alpha taken from its plane.
    RefPointer<Image> narrow = Image::create(1, 1, 2);
    narrow->lock();
    narrow->row16(0)[0] = 0xF81F;
    narrow->alphaRow(0)[0] = 0x40;
    narrow->unlock();
    window->setIconPicture(narrow.get());
    EXPECT_EQ((std::vector<uint32_t>{0x40FF00FFu}), host().iconPixels);
}

TEST_F(GameWindowTest, RefusedFullScreenLeavesAWindowAndSaysSo)
{
    platform.refuseFullScreen = true;
    GameWindow* window = openWindow(true);
    EXPECT_FALSE(window->isFullScreen());
    EXPECT_FALSE(host().getSettings().fullScreen);
    EXPECT_NE(window->getGraphics(), nullptr);
}
