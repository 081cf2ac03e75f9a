#include <gtest/gtest.h>

#include <SDL.h>
#include <cstring>
#include <string>
#include <vector>

#include "host/MessageTranslator.h"

namespace {

constexpr uint32_t kWindow = 7;

SDL_Event windowEvent(uint8_t kind, int data1 = 0, int data2 = 0, uint32_t windowId = kWindow)
{
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = windowId;
    event.window.event = kind;
    event.window.data1 = data1;
    event.window.data2 = data2;
    return event;
}

SDL_Event keyEvent(bool down, SDL_Keycode key, SDL_Scancode scancode, uint16_t modifiers = KMOD_NONE, bool repeat = false)
{
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = kWindow;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = scancode;
    event.key.keysym.mod = modifiers;
    return event;
}

SDL_Event buttonEvent(bool down, uint8_t button, int x, int y, uint8_t clicks = 1)
{
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.windowID = kWindow;
    event.button.button = button;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = clicks;
    event.button.x = x;
    event.button.y = y;
    return event;
}

SDL_Event motionEvent(int x, int y, uint32_t buttons = 0)
{
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = kWindow;
    event.motion.state = buttons;
    event.motion.x = x;
    event.motion.y = y;
    return event;
}

SDL_Event textEvent(const char* utf8)
{
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    event.text.windowID = kWindow;
    std::strncpy(event.text.text, utf8, sizeof event.text.text - 1);
    return event;
}

class MessageTranslatorTest : public ::testing::Test {
protected:
    MessageTranslatorTest()
    {
        translator.setWindowId(kWindow);
        translator.setClientSize(800, 600);
    }

    std::vector<WindowMessage> translate(const SDL_Event& event)
    {
        std::vector<WindowMessage> messages;
        translator.translate(event, messages);
        return messages;
    }
    std::vector<uint32_t> numbers(const SDL_Event& event)
    {
        std::vector<uint32_t> result;
        for (const WindowMessage& message : translate(event))
            result.push_back(message.message);
        return result;
    }

    MessageTranslator translator;
};

TEST_F(MessageTranslatorTest, WindowEventsBecomeWindowMessages)
{
    EXPECT_EQ(translate(windowEvent(SDL_WINDOWEVENT_CLOSE)), (std::vector<WindowMessage>{{WM_CLOSE, 0, 0}}));
    EXPECT_EQ(translate(windowEvent(SDL_WINDOWEVENT_EXPOSED)), (std::vector<WindowMessage>{{WM_PAINT, 0, 0}}));
    EXPECT_EQ(translate(windowEvent(SDL_WINDOWEVENT_MINIMIZED)),
              (std::vector<WindowMessage>{{WM_SIZE, SIZE_MINIMIZED, 0}}));
    EXPECT_EQ(translate(windowEvent(SDL_WINDOWEVENT_RESTORED)),
              (std::vector<WindowMessage>{{WM_SIZE, SIZE_RESTORED, packPoint(800, 600)}}));
    EXPECT_EQ(translate(windowEvent(SDL_WINDOWEVENT_MAXIMIZED)),
              (std::vector<WindowMessage>{{WM_SIZE, SIZE_MAXIMIZED, packPoint(800, 600)}}));
    EXPECT_EQ(translate(windowEvent(SDL_WINDOWEVENT_MOVED, -20, 35)),
              (std::vector<WindowMessage>{{WM_MOVE, 0, packPoint(-20, 35)}}));
    EXPECT_EQ(numbers(windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED)),
              (std::vector<uint32_t>{WM_ACTIVATEAPP, WM_ACTIVATE, WM_SETFOCUS}));
    EXPECT_EQ(translate(windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED))[1].wParam, WA_ACTIVE);
    EXPECT_EQ(numbers(windowEvent(SDL_WINDOWEVENT_FOCUS_LOST)),
              (std::vector<uint32_t>{WM_ACTIVATE, WM_ACTIVATEAPP, WM_KILLFOCUS}));
    EXPECT_EQ(translate(windowEvent(SDL_WINDOWEVENT_FOCUS_LOST))[0].wParam, WA_INACTIVE);

    SDL_Event quit{};
    quit.type = SDL_QUIT;
    EXPECT_EQ(translate(quit), (std::vector<WindowMessage>{{WM_ENDSESSION, 1, 0}}));
}

TEST_F(MessageTranslatorTest, EventsOfOtherWindowsAndUninterestingEventsGiveNothing)
{
    EXPECT_TRUE(translate(windowEvent(SDL_WINDOWEVENT_CLOSE, 0, 0, kWindow + 1)).empty());
    EXPECT_TRUE(translate(windowEvent(SDL_WINDOWEVENT_ENTER)).empty());
    SDL_Event joystick{};
    joystick.type = SDL_JOYAXISMOTION;
    EXPECT_TRUE(translate(joystick).empty());
}

TEST_F(MessageTranslatorTest, KeysBecomeVirtualKeyCodes)
{
    struct Case {
        SDL_Keycode key;
        SDL_Scancode scancode;
        uint32_t virtualKey;
    } cases[] = {
        {SDLK_a, SDL_SCANCODE_A, 'A'},
        {SDLK_z, SDL_SCANCODE_Z, 'Z'},
        {SDLK_7, SDL_SCANCODE_7, '7'},
        {SDLK_LEFT, SDL_SCANCODE_LEFT, VK_LEFT},
        {SDLK_DELETE, SDL_SCANCODE_DELETE, VK_DELETE},
        {SDLK_HOME, SDL_SCANCODE_HOME, VK_HOME},
        {SDLK_F1, SDL_SCANCODE_F1, VK_F1},
        {SDLK_F12, SDL_SCANCODE_F12, VK_F1 + 11},
        {SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, VK_SHIFT},
        {SDLK_RCTRL, SDL_SCANCODE_RCTRL, VK_CONTROL},
        {SDLK_SPACE, SDL_SCANCODE_SPACE, VK_SPACE},
        {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, VK_RETURN},
        {SDLK_COMMA, SDL_SCANCODE_COMMA, VK_OEM_COMMA},
        // A letter key of a layout whose symbol is not ASCII keeps its position's code.
        {0x00E9, SDL_SCANCODE_2, '2'},
        {0x00F6, SDL_SCANCODE_SEMICOLON, VK_OEM_1},
    };
    for (const Case& c : cases) {
        std::vector<WindowMessage> down = translate(keyEvent(true, c.key, c.scancode));
        ASSERT_FALSE(down.empty()) << c.key;
        EXPECT_EQ(down[0].message, WM_KEYDOWN) << c.key;
        EXPECT_EQ(down[0].wParam, c.virtualKey) << c.key;
        std::vector<WindowMessage> up = translate(keyEvent(false, c.key, c.scancode));
        ASSERT_EQ(up.size(), 1u);
        EXPECT_EQ(up[0].message, WM_KEYUP);
        EXPECT_EQ(up[0].wParam, c.virtualKey);
        EXPECT_NE(up[0].lParam & KF_RELEASED, 0u);
    }
    // The keypad follows Num Lock.
    EXPECT_EQ(translate(keyEvent(true, SDLK_KP_4, SDL_SCANCODE_KP_4, KMOD_NUM))[0].wParam, VK_NUMPAD0 + 4);
    EXPECT_EQ(translate(keyEvent(true, SDLK_KP_4, SDL_SCANCODE_KP_4))[0].wParam, VK_LEFT);
    EXPECT_TRUE(translate(keyEvent(true, SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN)).empty());
}

TEST_F(MessageTranslatorTest, RepeatedKeyDownIsMarkedAsPreviouslyDown)
{
    EXPECT_EQ(translate(keyEvent(true, SDLK_LEFT, SDL_SCANCODE_LEFT))[0].lParam & KF_PREVIOUSLY_DOWN, 0u);
    EXPECT_NE(translate(keyEvent(true, SDLK_LEFT, SDL_SCANCODE_LEFT, 0, true))[0].lParam & KF_PREVIOUSLY_DOWN, 0u);
}

TEST_F(MessageTranslatorTest, ControlKeysGetSynthesisedCharacters)
{
    struct Case {
        SDL_Keycode key;
        SDL_Scancode scancode;
        uint32_t virtualKey;
        uint32_t character;
    } cases[] = {
        {SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, VK_BACK, 8},
        {SDLK_TAB, SDL_SCANCODE_TAB, VK_TAB, 9},
        {SDLK_RETURN, SDL_SCANCODE_RETURN, VK_RETURN, 13},
        {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, VK_RETURN, 13},
        {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, VK_ESCAPE, 27},
    };
    for (const Case& c : cases) {
        std::vector<WindowMessage> messages = translate(keyEvent(true, c.key, c.scancode));
        ASSERT_EQ(messages.size(), 2u) << c.key;
        EXPECT_EQ(messages[0].message, WM_KEYDOWN);
        EXPECT_EQ(messages[0].wParam, c.virtualKey);
        EXPECT_EQ(messages[1].message, WM_CHAR);
        EXPECT_EQ(messages[1].wParam, c.character);
        // Holding the key repeats the character; releasing it types nothing.
        EXPECT_EQ(translate(keyEvent(true, c.key, c.scancode, 0, true)).size(), 2u);
        EXPECT_EQ(translate(keyEvent(false, c.key, c.scancode)).size(), 1u);
    }
    // Other keys type through text input only.
    EXPECT_EQ(translate(keyEvent(true, SDLK_a, SDL_SCANCODE_A)).size(), 1u);
    // Shift+Tab still types a tab.
    EXPECT_EQ(translate(keyEvent(true, SDLK_TAB, SDL_SCANCODE_TAB, KMOD_LSHIFT)).size(), 2u);
}

TEST_F(MessageTranslatorTest, AltMakesSystemKeysAndTypesNothing)
{
    std::vector<WindowMessage> alt = translate(keyEvent(true, SDLK_LALT, SDL_SCANCODE_LALT, KMOD_LALT));
    ASSERT_EQ(alt.size(), 1u);
    EXPECT_EQ(alt[0].message, WM_SYSKEYDOWN);
    EXPECT_EQ(alt[0].wParam, VK_MENU);

    std::vector<WindowMessage> enter = translate(keyEvent(true, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT));
    ASSERT_EQ(enter.size(), 1u) << "no character for Alt+Enter";
    EXPECT_EQ(enter[0].message, WM_SYSKEYDOWN);
    EXPECT_EQ(enter[0].wParam, VK_RETURN);
    EXPECT_NE(enter[0].lParam & KF_ALTDOWN, 0u);
    EXPECT_TRUE(translate(textEvent("a")).empty()) << "Alt+A types nothing";

    std::vector<WindowMessage> enterUp = translate(keyEvent(false, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT));
    EXPECT_EQ(enterUp[0].message, WM_SYSKEYUP);
    std::vector<WindowMessage> altUp = translate(keyEvent(false, SDLK_LALT, SDL_SCANCODE_LALT, KMOD_NONE));
    EXPECT_EQ(altUp[0].message, WM_SYSKEYUP);

    // Released Alt: back to ordinary keys and typing.
    EXPECT_EQ(translate(keyEvent(true, SDLK_RETURN, SDL_SCANCODE_RETURN))[0].message, WM_KEYDOWN);
    EXPECT_EQ(translate(textEvent("a")).size(), 1u);
}

TEST_F(MessageTranslatorTest, TextBecomesUtf16Characters)
{
    std::vector<WindowMessage> messages = translate(textEvent("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8D\xB0"));
    std::vector<uint32_t> characters;
    for (const WindowMessage& message : messages) {
        EXPECT_EQ(message.message, WM_CHAR);
        characters.push_back(message.wParam);
    }
    // a, e acute, euro sign, and a surrogate pair for U+1F370.
    EXPECT_EQ(characters, (std::vector<uint32_t>{'a', 0xE9, 0x20AC, 0xD83C, 0xDF70}));

    // Malformed bytes become U+FFFD, one per bad byte, and typing goes on.
    characters.clear();
    for (const WindowMessage& message : translate(textEvent("\xC3x\xFF")))
        characters.push_back(message.wParam);
    EXPECT_EQ(characters, (std::vector<uint32_t>{0xFFFD, 'x', 0xFFFD}));
}

TEST_F(MessageTranslatorTest, MouseButtonsCarryFlagsAndPackedPositions)
{
    EXPECT_EQ(translate(motionEvent(10, 20)), (std::vector<WindowMessage>{{WM_MOUSEMOVE, 0, packPoint(10, 20)}}));
    EXPECT_EQ(translate(buttonEvent(true, SDL_BUTTON_LEFT, 10, 20)),
              (std::vector<WindowMessage>{{WM_LBUTTONDOWN, MK_LBUTTON, packPoint(10, 20)}}));
    EXPECT_EQ(translate(motionEvent(11, 21, SDL_BUTTON_LMASK)),
              (std::vector<WindowMessage>{{WM_MOUSEMOVE, MK_LBUTTON, packPoint(11, 21)}}));
    EXPECT_EQ(translate(buttonEvent(true, SDL_BUTTON_RIGHT, 11, 21)),
              (std::vector<WindowMessage>{{WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, packPoint(11, 21)}}));
    EXPECT_EQ(translate(buttonEvent(false, SDL_BUTTON_LEFT, 12, 22)),
              (std::vector<WindowMessage>{{WM_LBUTTONUP, MK_RBUTTON, packPoint(12, 22)}}));
    EXPECT_EQ(translate(buttonEvent(false, SDL_BUTTON_RIGHT, 12, 22)),
              (std::vector<WindowMessage>{{WM_RBUTTONUP, 0, packPoint(12, 22)}}));
    EXPECT_EQ(translate(buttonEvent(true, SDL_BUTTON_MIDDLE, 1, 2)),
              (std::vector<WindowMessage>{{WM_MBUTTONDOWN, MK_MBUTTON, packPoint(1, 2)}}));
    EXPECT_EQ(translate(buttonEvent(false, SDL_BUTTON_MIDDLE, 1, 2)),
              (std::vector<WindowMessage>{{WM_MBUTTONUP, 0, packPoint(1, 2)}}));
    EXPECT_TRUE(translate(buttonEvent(true, SDL_BUTTON_X1, 1, 2)).empty());
}

TEST_F(MessageTranslatorTest, ShiftAndControlShowInMouseFlags)
{
    translate(keyEvent(true, SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, KMOD_LSHIFT));
    EXPECT_EQ(translate(motionEvent(1, 1))[0].wParam, MK_SHIFT);
    translate(keyEvent(true, SDLK_RCTRL, SDL_SCANCODE_RCTRL, KMOD_LSHIFT | KMOD_RCTRL));
    EXPECT_EQ(translate(buttonEvent(true, SDL_BUTTON_LEFT, 1, 1))[0].wParam, MK_LBUTTON | MK_SHIFT | MK_CONTROL);
    translate(keyEvent(false, SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, KMOD_RCTRL));
    translate(keyEvent(false, SDLK_RCTRL, SDL_SCANCODE_RCTRL, KMOD_NONE));
    EXPECT_EQ(translate(buttonEvent(false, SDL_BUTTON_LEFT, 1, 1))[0].wParam, 0u);
}

TEST_F(MessageTranslatorTest, EverySecondClickInARowIsADoubleClick)
{
    const uint8_t buttons[] = {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE};
    const uint32_t downs[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
    const uint32_t doubles[] = {WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK};
    for (int b = 0; b < 3; ++b) {
        std::vector<uint32_t> seen;
        for (uint8_t clicks = 1; clicks <= 5; ++clicks) {
            seen.push_back(translate(buttonEvent(true, buttons[b], 5, 5, clicks))[0].message);
            EXPECT_EQ(translate(buttonEvent(false, buttons[b], 5, 5, clicks))[0].message, downs[b] + 1);
        }
        EXPECT_EQ(seen, (std::vector<uint32_t>{downs[b], doubles[b], downs[b], doubles[b], downs[b]}));
    }
}

TEST_F(MessageTranslatorTest, NegativeAndLargeCoordinatesPackAsSigned16Bit)
{
    uint32_t packed = translate(motionEvent(-5, -1))[0].lParam;
    EXPECT_EQ(packed, 0xFFFFFFFBu);
    EXPECT_EQ(pointX(packed), -5);
    EXPECT_EQ(pointY(packed), -1);
    EXPECT_EQ(packed & 0xFFFF, 65531u) << "read unsigned, a captured drag left of the window is above 60000";

    packed = translate(buttonEvent(true, SDL_BUTTON_LEFT, -300, 900))[0].lParam;
    EXPECT_EQ(pointX(packed), -300);
    EXPECT_EQ(pointY(packed), 900);

    // Beyond 16 bits the value is clamped, not wrapped into the other sign.
    packed = packPoint(40000, -40000);
    EXPECT_EQ(pointX(packed), 32767);
    EXPECT_EQ(pointY(packed), -32768);
}

// A full screen of 1280 x 720 shows the 800 x 600 frame at scale 1.2 between
// bars of 160 pixels; positions come back in frame pixels, the bars beyond them.
TEST_F(MessageTranslatorTest, PositionsMapThroughTheScaledFrameAndItsBars)
{
    translator.setFrameArea(fitFrame(1280, 720, 800, 600));
    struct Case {
        int windowX, windowY, x, y;
    };
    const Case cases[] = {
        {160, 0, 0, 0},       {1119, 719, 799, 599}, {1119, 0, 799, 0},  {160, 719, 0, 599},
        {640, 360, 400, 300}, {0, 0, -134, 0},       {159, 10, -1, 8},   {1120, 10, 800, 8},
        {1279, 719, 932, 599},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(std::to_string(test.windowX) + ", " + std::to_string(test.windowY));
        EXPECT_EQ(translate(motionEvent(test.windowX, test.windowY))[0].lParam, packPoint(test.x, test.y));
        EXPECT_EQ(translate(buttonEvent(true, SDL_BUTTON_LEFT, test.windowX, test.windowY))[0].lParam,
                  packPoint(test.x, test.y));
        translate(buttonEvent(false, SDL_BUTTON_LEFT, test.windowX, test.windowY));
    }
    // Letterboxed the other way: bars above and below.
    translator.setFrameArea(fitFrame(1280, 1024, 800, 600));
    EXPECT_EQ(translate(motionEvent(0, 32))[0].lParam, packPoint(0, 0));
    EXPECT_EQ(translate(motionEvent(1279, 991))[0].lParam, packPoint(799, 599));
    EXPECT_EQ(translate(motionEvent(0, 0))[0].lParam, packPoint(0, -20));
}

TEST_F(MessageTranslatorTest, ANewWindowSizeAsksForAWholeFrame)
{
    EXPECT_EQ(translate(windowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 1024, 768)),
              (std::vector<WindowMessage>{{WM_PAINT, 0, 0}}));
}

TEST_F(MessageTranslatorTest, FocusLossForgetsHeldButtons)
{
    translate(buttonEvent(true, SDL_BUTTON_LEFT, 1, 1));
    translate(windowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
    EXPECT_EQ(translator.mouseKeyFlags(), 0u);
}

} // namespace
