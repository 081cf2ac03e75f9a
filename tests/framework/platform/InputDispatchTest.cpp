#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "framework/platform/GameWindow.h"
#include "framework/platform/InputHandler.h"
#include "host/FakeHostPlatform.h"

namespace {

// Writes every event it gets into a shared journal, under its own name.
class JournalListener : public iInputListener {
public:
    JournalListener(std::string name, std::vector<std::string>* journal, bool takes = false)
        : takes(takes), name(std::move(name)), journal(journal)
    {
    }
    bool onKeyDown(int key) override { return note("keydown " + std::to_string(key)); }
    bool onKeyUp(int key) override { return note("keyup " + std::to_string(key)); }
    bool onChar(int character) override { return note("char " + std::to_string(character)); }
    bool onMouseMove(int x, int y, int keys) override
    {
        return note("move " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(keys));
    }
    bool onLeftDown(int x, int y, int, bool doubleClick) override
    {
        return note(std::string(doubleClick ? "leftdouble " : "leftdown ") + std::to_string(x) + "," +
                    std::to_string(y));
    }
    bool onLeftUp(int x, int y, int) override { return note("leftup " + std::to_string(x) + "," + std::to_string(y)); }
    bool onRightDown(int, int, int, bool doubleClick) override
    {
        return note(doubleClick ? "rightdouble" : "rightdown");
    }
    bool onRightUp(int, int, int) override { return note("rightup"); }
    bool onMiddleDown(int, int, int, bool doubleClick) override
    {
        return note(doubleClick ? "middledouble" : "middledown");
    }
    bool onMiddleUp(int, int, int) override { return note("middleup"); }
    void resetInput() override { ++resets; }

    std::function<void()> reaction;
    int resets = 0;
    bool takes;

private:
    bool note(const std::string& event)
    {
        journal->push_back(name + ": " + event);
        if (reaction)
            reaction();
        return takes;
    }
    std::string name;
    std::vector<std::string>* journal;
};

using Journal = std::vector<std::string>;

TEST(InputListenerContainer, HandsEventsOnInOrderUntilOneTakesIt)
{
    Journal journal;
    JournalListener first("first", &journal), taker("taker", &journal, true), last("last", &journal);
    iInputListenerContainer container;
    container.addListener(&first);
    container.addListener(&taker);
    container.addListener(&last);
    EXPECT_TRUE(container.onKeyDown(VK_LEFT));
    EXPECT_EQ(journal, (Journal{"first: keydown 37", "taker: keydown 37"}));

    journal.clear();
    taker.takes = false;
    EXPECT_FALSE(container.onChar('a'));
    EXPECT_EQ(journal.size(), 3u);
}

TEST(InputListenerContainer, DisabledListenersAreSkippedButNestedContainersDecideForThemselves)
{
    Journal journal;
    JournalListener asleep("asleep", &journal, true), inner("inner", &journal);
    iInputListenerContainer outer, nested;
    asleep.setInputEnabled(false);
    nested.addListener(&inner);
    nested.setInputEnabled(false);
    JournalListener focus("focus", &journal, true);
    nested.setFocusListener(&focus);
    outer.addListener(&asleep);
    outer.addListener(&nested);

    EXPECT_TRUE(outer.onLeftDown(5, 6, MK_LBUTTON, false));
    EXPECT_EQ(journal, (Journal{"focus: leftdown 5,6"})) << "a disabled container passes events to its focus listener only";

    journal.clear();
    focus.setInputEnabled(false);
    EXPECT_FALSE(outer.onLeftDown(5, 6, MK_LBUTTON, false));
    EXPECT_TRUE(journal.empty()) << "a disabled focus listener gets nothing";
}

TEST(InputListenerContainer, SwallowAllAnswersTakenForEverything)
{
    Journal journal;
    JournalListener passer("passer", &journal);
    iInputListenerContainer dialog;
    dialog.addListener(&passer);
    dialog.setSwallowAll(true);
    EXPECT_TRUE(dialog.onRightUp(1, 2, 0));
    EXPECT_EQ(journal, (Journal{"passer: rightup"}));
    dialog.setInputEnabled(false);
    EXPECT_TRUE(dialog.onRightUp(1, 2, 0)) << "even while disabled";
}

TEST(InputListenerContainer, RemovalReachesNestedContainersAndResetsEachOccurrence)
{
    Journal journal;
    JournalListener twice("twice", &journal), other("other", &journal);
    iInputListenerContainer outer, nested;
    nested.addListener(&twice);
    nested.addListener(&other);
    outer.addListener(&twice);
    outer.addListener(&nested);
    outer.setFocusListener(&twice);

    outer.removeListener(&twice);
    EXPECT_FALSE(outer.containsListener(&twice));
    EXPECT_FALSE(nested.containsListener(&twice));
    EXPECT_TRUE(nested.containsListener(&other));
    EXPECT_EQ(twice.resets, 2);
    EXPECT_EQ(outer.getFocusListener(), nullptr);

    outer.resetInput();
    EXPECT_EQ(other.resets, 1) << "resetting passes through nested containers";
}

// A listener that changes the list without taking the event must not cost the
// others their event; the ones it took out are skipped (they may be gone).
TEST(InputListenerContainer, ListenerThatChangesTheListDoesNotEndTheRound)
{
    Journal journal;
    JournalListener closer("closer", &journal), removed("removed", &journal), behind("behind", &journal),
        taker("taker", &journal, true), last("last", &journal);
    iInputListenerContainer container;
    for (JournalListener* listener : {&closer, &removed, &behind, &taker, &last})
        container.addListener(listener);
    JournalListener added("added", &journal);
    closer.reaction = [&] {
        container.removeListener(&removed);
        container.addListener(&added);
        closer.reaction = nullptr;
    };
    EXPECT_TRUE(container.onLeftUp(0, 0, 0));
    EXPECT_EQ(journal, (Journal{"closer: leftup 0,0", "behind: leftup 0,0", "taker: leftup 0,0"}));

    journal.clear();
    taker.takes = false;
    EXPECT_FALSE(container.onKeyUp(13));
    EXPECT_EQ(journal, (Journal{"closer: keyup 13", "behind: keyup 13", "taker: keyup 13", "last: keyup 13",
                                "added: keyup 13"}));
}

class InputHandlerTest : public ::testing::Test {
protected:
    InputHandlerTest()
    {
        std::memset(InputHandler::keyState, 0, sizeof InputHandler::keyState);
        InputHandler::hoverCount = 0;
        handler = new InputHandler();
    }
    ~InputHandlerTest() override { GameWindow::destroyInstance(); }

    void openWindow()
    {
        GameWindow::create("input", 800, 600, false, 0, 0);
        GameWindow::instance->getMessageHandler()->addListener(handler.get());
    }

    ScopedFakeHostPlatform platform;
    RefPointer<InputHandler> handler;
    Journal journal;
};

TEST_F(InputHandlerTest, LastAddedListenerIsAskedFirst)
{
    JournalListener scene("scene", &journal), dialog("dialog", &journal);
    handler->addListener(&scene);
    handler->addListener(&dialog);
    handler->onMessage(WM_KEYDOWN, 'A', 1);
    handler->run(20);
    EXPECT_EQ(journal, (Journal{"dialog: keydown 65", "scene: keydown 65"}));

    // Adding again moves it to the front and resets it.
    journal.clear();
    handler->addListener(&scene);
    EXPECT_EQ(scene.resets, 1);
    handler->onMessage(WM_KEYUP, 'A', 1);
    handler->run(20);
    EXPECT_EQ(journal, (Journal{"scene: keyup 65", "dialog: keyup 65"}));
    handler->addListener(nullptr);
}

TEST_F(InputHandlerTest, ModalContainerResetsEveryOtherListener)
{
    JournalListener button("button", &journal);
    iInputListenerContainer modal;
    modal.setSwallowAll(true);
    handler->addListener(&button);
    handler->addListener(&modal);
    EXPECT_EQ(button.resets, 1);
    handler->onMessage(WM_LBUTTONDOWN, MK_LBUTTON, packPoint(1, 1));
    handler->run(20);
    EXPECT_TRUE(journal.empty()) << "the modal container takes the click";
}

TEST_F(InputHandlerTest, QueuesUntilTheFrameAndDeliversInArrivalOrder)
{
    JournalListener listener("l", &journal);
    handler->addListener(&listener);
    handler->onMessage(WM_MOUSEMOVE, 0, packPoint(10, 20));
    handler->onMessage(WM_LBUTTONDOWN, MK_LBUTTON, packPoint(11, 21));
    handler->onMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, packPoint(11, 21));
    handler->onMessage(WM_LBUTTONUP, 0, packPoint(12, 22));
    handler->onMessage(WM_RBUTTONDBLCLK, MK_RBUTTON, 0);
    handler->onMessage(WM_MBUTTONDOWN, MK_MBUTTON, 0);
    handler->onMessage(WM_CHAR, 0xE9, 1);
    handler->onMessage(WM_PAINT, 0, 0);
    handler->onMessage(WM_MOUSEWHEEL, 0, 0);
    handler->onMessage(MSG_WINDOW_DEACTIVATED, 0, 0);
    EXPECT_TRUE(journal.empty());
    EXPECT_EQ(handler->getQueuedCount(), 7u);
    EXPECT_EQ(InputHandler::mouseX, 0);
    EXPECT_EQ(InputHandler::mouseKeys, MK_MBUTTON);

    handler->run(20);
    EXPECT_EQ(journal, (Journal{"l: move 10,20 0", "l: leftdown 11,21", "l: leftdouble 11,21", "l: leftup 12,22",
                                "l: rightdouble", "l: middledown", "l: char 233"}));
    EXPECT_EQ(handler->getQueuedCount(), 0u);

    // The last of the mouse messages is one too.
    handler->onMessage(WM_MBUTTONDBLCLK, MK_MBUTTON, packPoint(5, 6));
    EXPECT_EQ(handler->getQueuedCount(), 1u);
    EXPECT_EQ(InputHandler::mouseX, 5);
    handler->onMessage(WM_RBUTTONDOWN, MK_RBUTTON, 0);
    journal.clear();
    handler->run(20);
    EXPECT_EQ(journal, (Journal{"l: middledouble", "l: rightdown"}));
}

TEST_F(InputHandlerTest, SystemKeysOnlySetTheKeyState)
{
    JournalListener listener("l", &journal);
    handler->addListener(&listener);
    handler->onMessage(WM_SYSKEYDOWN, VK_MENU, KF_ALTDOWN);
    handler->onMessage(WM_SYSKEYDOWN, 'X', KF_ALTDOWN);
    EXPECT_TRUE(InputHandler::isKeyDown(VK_MENU));
    EXPECT_TRUE(InputHandler::isKeyDown('X'));
    handler->onMessage(WM_SYSKEYUP, 'X', KF_ALTDOWN | KF_RELEASED);
    EXPECT_FALSE(InputHandler::isKeyDown('X'));
    handler->run(20);
    EXPECT_TRUE(journal.empty());

    handler->onMessage(WM_KEYDOWN, VK_SHIFT, 1);
    EXPECT_TRUE(InputHandler::isKeyDown(VK_SHIFT));
    EXPECT_FALSE(InputHandler::isKeyDown(-1));
    EXPECT_FALSE(InputHandler::isKeyDown(300));
}

TEST_F(InputHandlerTest, CoordinatesAreClampedToTheWindow)
{
    openWindow();
    JournalListener listener("l", &journal);
    handler->addListener(&listener);
    // Dragging left of or above the window while captured gives 0, not 65535.
    handler->onMessage(WM_MOUSEMOVE, MK_LBUTTON, packPoint(-3, -40));
    handler->onMessage(WM_LBUTTONUP, 0, packPoint(950, 700));
    handler->run(20);
    EXPECT_EQ(journal, (Journal{"l: move 0,0 1", "l: leftup 800,600"}));
    EXPECT_EQ(InputHandler::mouseX, 800);
    EXPECT_EQ(InputHandler::mouseY, 600);
    EXPECT_EQ(InputHandler::mouseKeys, 0);
}

TEST_F(InputHandlerTest, InactiveHandlerQueuesNothingAndDeactivationDropsTheQueue)
{
    JournalListener listener("l", &journal);
    handler->addListener(&listener);
    handler->onMessage(WM_KEYDOWN, 'A', 1);
    handler->setActive(false);
    EXPECT_EQ(handler->getQueuedCount(), 0u);
    handler->onMessage(WM_KEYDOWN, 'B', 1);
    EXPECT_EQ(handler->getQueuedCount(), 0u);
    EXPECT_FALSE(InputHandler::isKeyDown('B'));
    handler->setActive(true);
    handler->run(20);
    EXPECT_TRUE(journal.empty());
}

TEST_F(InputHandlerTest, PointerOutsideTheWindowMovesEveryIdleFrame)
{
    openWindow();
    JournalListener listener("l", &journal);
    handler->addListener(&listener);
    FakeHostWindow& host = *platform.lastWindow();

    host.setMousePosition(400, 300);
    handler->run(20);
    EXPECT_TRUE(journal.empty()) << "inside the window nothing is made up";

    host.setMousePosition(-20, 300);
    handler->run(20);
    handler->run(20);
    EXPECT_EQ(journal, (Journal{"l: move 0,300 0", "l: move 0,300 0"}));

    // On the window's very edge counts as outside.
    for (const auto& [x, y] : {std::pair {400, 0}, std::pair {400, 600}, std::pair {0, 300}, std::pair {800, 300}}) {
        journal.clear();
        host.setMousePosition(x, y);
        handler->run(20);
        EXPECT_EQ(journal.size(), 1u) << x << "," << y;
    }
    host.setMousePosition(400, 1);
    journal.clear();
    handler->run(20);
    EXPECT_TRUE(journal.empty()) << "one pixel inside";

    journal.clear();
    host.setMousePosition(900, 300);
    handler->onMessage(WM_KEYDOWN, 'A', 1);
    handler->run(20);
    EXPECT_EQ(journal, (Journal{"l: keydown 65"})) << "only when nothing else is queued";

    journal.clear();
    host.setFocused(false);
    GameWindow::instance->dispatchMessage({WM_KILLFOCUS, 0, 0});
    handler->run(20);
    EXPECT_TRUE(journal.empty()) << "and only while the window has the focus";
}

TEST_F(InputHandlerTest, HoverCountPicksTheHandCursor)
{
    openWindow();
    handler->onMessage(WM_MOUSEMOVE, 0, packPoint(5, 5));
    handler->run(20);
    EXPECT_EQ(GameWindow::instance->getCursor(), 2);
    {
        HoverFlag hover;
        hover.set(true);
        hover.set(true);
        EXPECT_EQ(InputHandler::hoverCount, 1);
        handler->onMessage(WM_MOUSEMOVE, 0, packPoint(6, 5));
        handler->run(20);
        EXPECT_EQ(GameWindow::instance->getCursor(), 3);
        EXPECT_EQ(platform.lastWindow()->getCursorShape(), 3);
    }
    EXPECT_EQ(InputHandler::hoverCount, 0);
    handler->onMessage(WM_MOUSEMOVE, 0, packPoint(7, 5));
    handler->run(20);
    EXPECT_EQ(GameWindow::instance->getCursor(), 2);
}

TEST_F(InputHandlerTest, WindowMessagesReachTheHandlerThroughTheMessageHandler)
{
    openWindow();
    JournalListener listener("l", &journal);
    handler->addListener(&listener);
    GameWindow::instance->dispatchMessage({WM_KEYDOWN, VK_ESCAPE, 1});
    GameWindow::instance->dispatchMessage({WM_CHAR, 27, 1});
    handler->run(20);
    EXPECT_EQ(journal, (Journal{"l: keydown 27", "l: char 27"}));

    // A destroyed handler leaves the window's listeners.
    handler = nullptr;
    EXPECT_EQ(GameWindow::instance->getMessageHandler()->getListenerCount(), 0u);
}

TEST_F(InputHandlerTest, ListenerThatDeactivatesTheHandlerDropsTheRest)
{
    JournalListener listener("l", &journal);
    listener.reaction = [&] { handler->setActive(false); };
    handler->addListener(&listener);
    handler->onMessage(WM_KEYDOWN, 'A', 1);
    handler->onMessage(WM_KEYDOWN, 'B', 1);
    handler->run(20);
    EXPECT_EQ(journal, (Journal{"l: keydown 65"}));
}

} // namespace
