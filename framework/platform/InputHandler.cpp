#include "framework/platform/InputHandler.h"

#include <cstring>

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/platform/GameWindow.h"

TT_DEFINE_RECORD(InputHandler, &Task::classRecord);
TT_REGISTER_CLASS(InputHandler);

uint8_t InputHandler::keyState[256] = {};
int InputHandler::mouseX = 0;
int InputHandler::mouseY = 0;
int InputHandler::mouseKeys = 0;
int InputHandler::hoverCount = 0;

namespace {

bool isMouseMessage(uint32_t message)
{
    return message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK;
}

// A coordinate read unsigned from its 16 bits: a negative one (a drag past the
// left or top edge while the mouse is captured) reads above 60000 and becomes
// 0; one beyond the window's size becomes the size.
int clampCoordinate(uint32_t value, int limit)
{
    if (value > 60000)
        return 0;
    return static_cast<int>(value) > limit ? limit : static_cast<int>(value);
}

} // namespace

InputHandler::InputHandler() = default;

InputHandler::InputHandler(AbstractProperty*) {}

InputHandler::~InputHandler()
{
    // The window's message handler holds plain pointers; none may outlive us.
    if (GameWindow::instance && GameWindow::instance->getMessageHandler())
        GameWindow::instance->getMessageHandler()->removeListener(this);
}

void InputHandler::onMessage(uint32_t message, uint32_t wParam, uint32_t lParam)
{
    if (!isActive() || message >= WM_MOUSEWHEEL)
        return;
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        keyState[wParam & 0xFF] = 1;
        queue.push_back({message, wParam, lParam});
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        keyState[wParam & 0xFF] = 0;
        queue.push_back({message, wParam, lParam});
        break;
    case WM_CHAR: queue.push_back({message, wParam, lParam}); break;
    default:
        if (isMouseMessage(message)) {
            mouseX = static_cast<int>(lParam & 0xFFFF);
            mouseY = static_cast<int>(lParam >> 16);
            mouseKeys = static_cast<int>(wParam);
            queue.push_back({message, wParam, lParam});
        }
        break;
    }
}

void InputHandler::addListener(iInputListener* listener)
{
    if (!listener)
        return;
    removeListener(listener);
    iInputListenerContainer* nested = listener->asInputContainer();
    if (nested && nested->isSwallowAll())
        container.resetInput();
    container.addListener(listener, true);
}

void InputHandler::removeListener(iInputListener* listener)
{
    container.removeListener(listener);
}

void InputHandler::setActive(bool value)
{
    Task::setActive(value);
    if (!value)
        queue.clear();
}

bool InputHandler::onMouseMove(int x, int y, int keys)
{
    lastDeliveredX = x;
    lastDeliveredY = y;
    const bool taken = container.onMouseMove(x, y, keys);
    // After the listeners: their hover flags for this very move decide the shape.
    if (GameWindow::instance)
        GameWindow::instance->setCursorShape(hoverCount > 0 ? 3 : 2);
    return taken;
}

void InputHandler::run(int /*elapsedMs*/)
{
    GameWindow* window = GameWindow::instance;
    int width = window ? window->getWidth() : 800;
    int height = window ? window->getHeight() : 600;

    // A pointer outside the window still produces moves, so hover states end.
    int pointerX = 0, pointerY = 0;
    if (queue.empty() && window && window->hasFocus() && window->getPointerPosition(pointerX, pointerY)) {
        if (pointerX <= 0 || pointerX >= width || pointerY <= 0 || pointerY >= height) {
            uint32_t lParam = packPoint(pointerX, pointerY);
            queue.push_back({WM_MOUSEMOVE, 0, lParam});
            mouseX = static_cast<int>(lParam & 0xFFFF);
            mouseY = static_cast<int>(lParam >> 16);
            mouseKeys = 0;
        }
    }

    // Listeners may deactivate this handler (dropping the rest of the queue)
    // or destroy its scene; the handler stays alive until the loop ends.
    RefPointer<InputHandler> keepAlive(getReferenceCount() > 0 ? this : nullptr);
    while (!queue.empty()) {
        WindowMessage message = queue.front();
        queue.pop_front();
        if (isMouseMessage(message.message)) {
            int x = clampCoordinate(message.lParam & 0xFFFF, width);
            int y = clampCoordinate(message.lParam >> 16, height);
            mouseX = x;
            mouseY = y;
            mouseKeys = static_cast<int>(message.wParam);
            message.lParam = static_cast<uint32_t>(x) | (static_cast<uint32_t>(y) << 16);
        }
        deliver(message);
    }
}

void InputHandler::deliver(const WindowMessage& message)
{
    int x = static_cast<int>(message.lParam & 0xFFFF);
    int y = static_cast<int>(message.lParam >> 16);
    int keys = static_cast<int>(message.wParam);
    switch (message.message) {
    case WM_MOUSEMOVE: onMouseMove(x, y, keys); break;
    case WM_LBUTTONDOWN: onLeftDown(x, y, keys, false); break;
    case WM_LBUTTONDBLCLK: onLeftDown(x, y, keys, true); break;
    case WM_LBUTTONUP: onLeftUp(x, y, keys); break;
    case WM_RBUTTONDOWN: onRightDown(x, y, keys, false); break;
    case WM_RBUTTONDBLCLK: onRightDown(x, y, keys, true); break;
    case WM_RBUTTONUP: onRightUp(x, y, keys); break;
    case WM_MBUTTONDOWN: onMiddleDown(x, y, keys, false); break;
    case WM_MBUTTONDBLCLK: onMiddleDown(x, y, keys, true); break;
    case WM_MBUTTONUP: onMiddleUp(x, y, keys); break;
    case WM_KEYDOWN: onKeyDown(static_cast<int>(message.wParam)); break;
    case WM_KEYUP: onKeyUp(static_cast<int>(message.wParam)); break;
    case WM_CHAR: onChar(static_cast<int>(message.wParam)); break;
    default: break; // system keys only update keyState
    }
}
