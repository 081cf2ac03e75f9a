#include "host/MessageTranslator.h"

#include <SDL.h>

namespace {

constexpr uint32_t buttonFlag(uint8_t button)
{
    return button == SDL_BUTTON_LEFT ? MK_LBUTTON
         : button == SDL_BUTTON_RIGHT ? MK_RBUTTON
         : button == SDL_BUTTON_MIDDLE ? MK_MBUTTON
         : 0;
}

uint32_t firstMessageOf(uint8_t button)
{
    switch (button) {
    case SDL_BUTTON_LEFT: return WM_LBUTTONDOWN;
    case SDL_BUTTON_RIGHT: return WM_RBUTTONDOWN;
    case SDL_BUTTON_MIDDLE: return WM_MBUTTONDOWN;
    default: return 0;
    }
}

// Keys whose position, not their printed symbol, gives the code.
uint32_t virtualKeyForScancode(int scancode)
{
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return 'A' + static_cast<uint32_t>(scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return '1' + static_cast<uint32_t>(scancode - SDL_SCANCODE_1);
    switch (scancode) {
    case SDL_SCANCODE_0: return '0';
    case SDL_SCANCODE_SEMICOLON: return VK_OEM_1;
    case SDL_SCANCODE_EQUALS: return VK_OEM_PLUS;
    case SDL_SCANCODE_COMMA: return VK_OEM_COMMA;
    case SDL_SCANCODE_MINUS: return VK_OEM_MINUS;
    case SDL_SCANCODE_PERIOD: return VK_OEM_PERIOD;
    case SDL_SCANCODE_SLASH: return VK_OEM_2;
    case SDL_SCANCODE_GRAVE: return VK_OEM_3;
    case SDL_SCANCODE_LEFTBRACKET: return VK_OEM_4;
    case SDL_SCANCODE_BACKSLASH: return VK_OEM_5;
    case SDL_SCANCODE_RIGHTBRACKET: return VK_OEM_6;
    case SDL_SCANCODE_APOSTROPHE: return VK_OEM_7;
    case SDL_SCANCODE_NONUSBACKSLASH: return VK_OEM_102;
    default: return 0;
    }
}

uint32_t keypadKey(int32_t keycode, bool numLock)
{
    static const uint32_t navigation[10] = {VK_INSERT, VK_END,  VK_DOWN,  VK_NEXT, VK_LEFT,
                                            VK_CLEAR,  VK_RIGHT, VK_HOME, VK_UP,   VK_PRIOR};
    if (keycode == SDLK_KP_0)
        return numLock ? VK_NUMPAD0 : navigation[0];
    if (keycode >= SDLK_KP_1 && keycode <= SDLK_KP_9) {
        int digit = keycode - SDLK_KP_1 + 1;
        return numLock ? VK_NUMPAD0 + static_cast<uint32_t>(digit) : navigation[digit];
    }
    if (keycode == SDLK_KP_PERIOD)
        return numLock ? VK_DECIMAL : VK_DELETE;
    return 0;
}

} // namespace

uint32_t MessageTranslator::virtualKeyFor(int32_t keycode, int scancode, uint16_t modifiers)
{
    if (keycode >= 'a' && keycode <= 'z')
        return static_cast<uint32_t>(keycode - 'a' + 'A');
    if (keycode >= '0' && keycode <= '9')
        return static_cast<uint32_t>(keycode);
    if (keycode >= SDLK_F1 && keycode <= SDLK_F12)
        return VK_F1 + static_cast<uint32_t>(keycode - SDLK_F1);
    if (keycode >= SDLK_F13 && keycode <= SDLK_F24)
        return VK_F1 + 12 + static_cast<uint32_t>(keycode - SDLK_F13);
    if (uint32_t keypad = keypadKey(keycode, (modifiers & KMOD_NUM) != 0))
        return keypad;

    switch (keycode) {
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_RETURN:
    case SDLK_RETURN2:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT: return VK_MENU;
    case SDLK_LGUI: return VK_LWIN;
    case SDLK_RGUI: return VK_RWIN;
    case SDLK_APPLICATION: return VK_APPS;
    case SDLK_PAUSE: return VK_PAUSE;
    case SDLK_CAPSLOCK: return VK_CAPITAL;
    case SDLK_NUMLOCKCLEAR: return VK_NUMLOCK;
    case SDLK_SCROLLLOCK: return VK_SCROLL;
    case SDLK_PRINTSCREEN: return VK_SNAPSHOT;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_END: return VK_END;
    case SDLK_HOME: return VK_HOME;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_HELP: return VK_HELP;
    case SDLK_CLEAR: return VK_CLEAR;
    case SDLK_KP_MULTIPLY: return VK_MULTIPLY;
    case SDLK_KP_PLUS: return VK_ADD;
    case SDLK_KP_MINUS: return VK_SUBTRACT;
    case SDLK_KP_DIVIDE: return VK_DIVIDE;
    default: break;
    }
    // Punctuation, and letters of layouts whose symbols are not ASCII.
    return virtualKeyForScancode(scancode);
}

uint32_t MessageTranslator::mouseKeyFlags() const
{
    uint32_t flags = heldButtons;
    if (modifiers & KMOD_SHIFT)
        flags |= MK_SHIFT;
    if (modifiers & KMOD_CTRL)
        flags |= MK_CONTROL;
    return flags;
}

void MessageTranslator::reset()
{
    heldButtons = 0;
    modifiers = 0;
}

void MessageTranslator::translate(const SDL_Event& event, std::vector<WindowMessage>& messages)
{
    switch (event.type) {
    case SDL_QUIT:
        // Only a terminating signal gives this (the last window's close does
        // not): the game must end, not ask.
        messages.push_back({WM_ENDSESSION, 1, 0});
        break;

    case SDL_WINDOWEVENT:
        if (!belongsToWindow(event.window.windowID))
            break;
        switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE: messages.push_back({WM_CLOSE, 0, 0}); break;
        case SDL_WINDOWEVENT_EXPOSED: messages.push_back({WM_PAINT, 0, 0}); break;
        // A new size is a new surface, with nothing drawn into it yet.
        case SDL_WINDOWEVENT_SIZE_CHANGED: messages.push_back({WM_PAINT, 0, 0}); break;
        case SDL_WINDOWEVENT_MOVED:
            messages.push_back({WM_MOVE, 0, packPoint(event.window.data1, event.window.data2)});
            break;
        case SDL_WINDOWEVENT_MINIMIZED: messages.push_back({WM_SIZE, SIZE_MINIMIZED, 0}); break;
        case SDL_WINDOWEVENT_MAXIMIZED:
            messages.push_back({WM_SIZE, SIZE_MAXIMIZED, packPoint(clientWidth, clientHeight)});
            break;
        case SDL_WINDOWEVENT_RESTORED:
            messages.push_back({WM_SIZE, SIZE_RESTORED, packPoint(clientWidth, clientHeight)});
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            messages.push_back({WM_ACTIVATEAPP, 1, 0});
            messages.push_back({WM_ACTIVATE, WA_ACTIVE, 0});
            messages.push_back({WM_SETFOCUS, 0, 0});
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            // Buttons released while the window had no focus never reach it.
            heldButtons = 0;
            messages.push_back({WM_ACTIVATE, WA_INACTIVE, 0});
            messages.push_back({WM_ACTIVATEAPP, 0, 0});
            messages.push_back({WM_KILLFOCUS, 0, 0});
            break;
        default: break;
        }
        break;

    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (belongsToWindow(event.key.windowID))
            translateKey(event, messages);
        break;

    case SDL_TEXTINPUT:
        // Alt with a key is a system key (the character is not typed), but
        // AltGr on the right types the symbols of many layouts.
        if (belongsToWindow(event.text.windowID) && !(modifiers & KMOD_LALT))
            translateText(event.text.text, messages);
        break;

    case SDL_MOUSEMOTION: {
        if (!belongsToWindow(event.motion.windowID))
            break;
        heldButtons = ((event.motion.state & SDL_BUTTON_LMASK) ? MK_LBUTTON : 0) |
                      ((event.motion.state & SDL_BUTTON_RMASK) ? MK_RBUTTON : 0) |
                      ((event.motion.state & SDL_BUTTON_MMASK) ? MK_MBUTTON : 0);
        int x = event.motion.x, y = event.motion.y;
        windowToClient(x, y);
        messages.push_back({WM_MOUSEMOVE, mouseKeyFlags(), packPoint(x, y)});
        break;
    }

    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (belongsToWindow(event.button.windowID))
            translateButton(event, messages);
        break;

    case SDL_MOUSEWHEEL: {
        if (!belongsToWindow(event.wheel.windowID))
            break;
        int delta = event.wheel.y * 120;
        if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
            delta = -delta;
        uint32_t wParam = (static_cast<uint32_t>(static_cast<uint16_t>(delta)) << 16) | mouseKeyFlags();
        messages.push_back({WM_MOUSEWHEEL, wParam, 0});
        break;
    }

    default: break;
    }
}

void MessageTranslator::translateKey(const SDL_Event& event, std::vector<WindowMessage>& messages)
{
    const SDL_Keysym& key = event.key.keysym;
    modifiers = key.mod;
    uint32_t virtualKey = virtualKeyFor(key.sym, key.scancode, key.mod);
    if (virtualKey == 0)
        return;

    bool down = event.type == SDL_KEYDOWN;
    bool altHeld = (key.mod & KMOD_ALT) != 0;
    bool system = altHeld || virtualKey == VK_MENU || virtualKey == VK_F10;

    uint32_t lParam = KF_REPEAT_COUNT_ONE | (static_cast<uint32_t>(key.scancode & 0xFF) << 16);
    if (altHeld)
        lParam |= KF_ALTDOWN;
    if (!down)
        lParam |= KF_PREVIOUSLY_DOWN | KF_RELEASED;
    else if (event.key.repeat)
        lParam |= KF_PREVIOUSLY_DOWN;

    uint32_t message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    messages.push_back({message, virtualKey, lParam});

    // SDL types no text for these keys; the framework expects their characters.
    if (down && !system) {
        bool control = (key.mod & KMOD_CTRL) != 0;
        uint32_t character = 0;
        switch (virtualKey) {
        case VK_BACK: character = control ? 0 : 0x08; break;
        case VK_TAB: character = control ? 0 : 0x09; break;
        case VK_RETURN: character = control ? 0 : 0x0D; break;
        case VK_ESCAPE: character = 0x1B; break;
        default: break;
        }
        if (character)
            messages.push_back({WM_CHAR, character, lParam});
    }
}

void MessageTranslator::translateText(const char* utf8, std::vector<WindowMessage>& messages)
{
    static const uint32_t smallestOfLength[4] = {0, 0x80, 0x800, 0x10000};
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8);
    size_t length = SDL_strlen(utf8);
    size_t index = 0;
    while (index < length) {
        unsigned char lead = bytes[index];
        size_t extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : 4;
        uint32_t codePoint = 0xFFFD;
        size_t used = 1;
        if (extra == 0) {
            codePoint = lead;
        } else if (extra <= 3) {
            uint32_t value = lead & (0x3Fu >> extra);
            size_t k = 1;
            for (; k <= extra && index + k < length && (bytes[index + k] & 0xC0) == 0x80; ++k)
                value = (value << 6) | (bytes[index + k] & 0x3F);
            bool complete = k == extra + 1;
            bool wellFormed = complete && value >= smallestOfLength[extra] && value <= 0x10FFFF &&
                              !(value >= 0xD800 && value <= 0xDFFF);
            if (wellFormed) {
                codePoint = value;
                used = extra + 1;
            }
        }
        index += used;

        if (codePoint >= 0x10000) {
            uint32_t offset = codePoint - 0x10000;
            messages.push_back({WM_CHAR, 0xD800 + (offset >> 10), 1});
            messages.push_back({WM_CHAR, 0xDC00 + (offset & 0x3FF), 1});
        } else {
            messages.push_back({WM_CHAR, codePoint, 1});
        }
    }
}

void MessageTranslator::translateButton(const SDL_Event& event, std::vector<WindowMessage>& messages)
{
    uint32_t flag = buttonFlag(event.button.button);
    uint32_t first = firstMessageOf(event.button.button);
    if (!flag)
        return;
    int x = event.button.x, y = event.button.y;
    windowToClient(x, y);
    const uint32_t lParam = packPoint(x, y);
    if (event.type == SDL_MOUSEBUTTONDOWN) {
        heldButtons |= flag;
        // SDL counts clicks in a row; every second one is a double click, so a
        // triple click gives down, double click, down.
        bool doubleClick = event.button.clicks >= 2 && event.button.clicks % 2 == 0;
        messages.push_back({doubleClick ? first + 2 : first, mouseKeyFlags(), lParam});
    } else {
        heldButtons &= ~flag;
        messages.push_back({first + 1, mouseKeyFlags(), lParam});
    }
}
