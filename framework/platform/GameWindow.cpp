#include "framework/platform/GameWindow.h"

#include <algorithm>
#include <cstring>

#include "framework/core/Log.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "host/HostPlatform.h"
#include "host/HostWindow.h"

TT_DEFINE_RECORD(GameWindow, &Task::classRecord);
TT_REGISTER_CLASS(GameWindow);

GameWindow* GameWindow::instance = nullptr;

namespace {

const char kCreateFailedText[] = "Something went wrong with creating the game-window.\nThis game will quit now.";

} // namespace

GameWindow* GameWindow::create(const std::string& title, int width, int height, bool fullScreen,
                               int requestedBytesPerPixel, int iconResource)
{
    if (!instance) {
        instance = new GameWindow();
        instance->addRef();
    }
    instance->setIconResource(iconResource);
    instance->open(title, 0, 0, width, height, fullScreen, requestedBytesPerPixel);
    instance->centre();
    instance->show();
    return instance;
}

void GameWindow::destroyInstance()
{
    if (!instance)
        return;
    GameWindow* window = instance;
    instance = nullptr;
    window->release();
}

GameWindow::GameWindow() = default;

GameWindow::GameWindow(AbstractProperty*) {}

GameWindow::~GameWindow()
{
    recreating = true;
    destroyWindow();
    if (instance == this)
        instance = nullptr;
}

void GameWindow::open(const std::string& newTitle, int newX, int newY, int newWidth, int newHeight,
                      bool wantFullScreen, int newRequestedBytesPerPixel)
{
    title = newTitle;
    x = newX;
    y = newY;
    width = newWidth;
    height = newHeight;
    requestedBytesPerPixel = newRequestedBytesPerPixel;
    modeSwitchAllowed = true;
    DesktopMode desktop = HostPlatform::current().getDesktopMode();
    if (desktop.width > 0 && desktop.width <= width && desktop.height <= height) {
        modeSwitchAllowed = false;
        wantFullScreen = true;
    }
    fullScreen = wantFullScreen;
    create();
}

bool GameWindow::openHostWindow(std::string* error)
{
    if (!hostWindow)
        hostWindow = HostPlatform::current().createWindow();
    // Windowed frames take the desktop's depth; full screen may ask for its own.
    int desktopDepth = HostPlatform::current().getDesktopMode().bytesPerPixel;
    bool requested = requestedBytesPerPixel == 2 || requestedBytesPerPixel == 4;
    bytesPerPixel = fullScreen && requested ? requestedBytesPerPixel : desktopDepth;

    WindowSettings settings;
    settings.title = title;
    settings.width = width;
    settings.height = height;
    settings.fullScreen = fullScreen;
    settings.bytesPerPixel = bytesPerPixel;
    if (!hostWindow->open(settings, error))
        return false;
    // The display may refuse full screen; the window then opened in a window.
    if (fullScreen && !hostWindow->getSettings().fullScreen) {
        LOG_WARNING("window: full screen is not available on this display; the game runs in a window");
        fullScreen = false;
    }
    return true;
}

void GameWindow::create()
{
    if (!messageHandler)
        messageHandler = new MessageHandler();

    std::string error;
    if (openHostWindow(&error)) {
        createGraphics();
        if (graphics) {
            retried = false;
            setInactive(false);
            hostWindow->setCursorShape(cursorShape);
            if (!iconPixels.empty())
                hostWindow->setIcon(iconPixels.data(), iconWidth, iconHeight);
            return;
        }
        error = "no back buffer of " + std::to_string(width) + " x " + std::to_string(height);
        hostWindow->close();
    }
    LOG_ERROR("window: " + error);

    if (!retried) {
        // One more try in the other mode.
        fullScreen = !fullScreen;
        retried = true;
        setInactive(true);
        recreate();
        if (hostWindow && hostWindow->isOpen())
            hostWindow->raise();
        return;
    }
    HostPlatform::current().showMessageBox("Error", kCreateFailedText, MessageBoxKind::Error);
    postQuitMessage(0);
    setInactive(true);
}

void GameWindow::createGraphics()
{
    graphics = nullptr;
    presentAgain = true;
    scaler.reset();
    backImage = Image::create(width, height, bytesPerPixel);
    if (!backImage)
        return;
    Image::setScreenBytesPerPixel(bytesPerPixel);
    graphics = backImage->getGraphics();
}

void GameWindow::findChangedRows()
{
    // Runs of changed rows less than this far apart are drawn as one; past
    // kMaxRuns runs, everything from the first to the last changed row is.
    constexpr int kJoinGap = 8;
    constexpr size_t kMaxRuns = 16;
    changedRows.clear();
    const uint8_t* pixels = backImage->getPixels();
    const size_t rowBytes = size_t(backImage->getWidth()) * size_t(bytesPerPixel);
    for (int y = 0; y < backImage->getHeight(); ++y) {
        const uint8_t* now = pixels + std::ptrdiff_t(y) * backImage->getPitch();
        const uint8_t* before = &lastPresented[rowBytes * size_t(y)];
        if (std::memcmp(now, before, rowBytes) == 0)
            continue;
        // The first and last changed byte: whole blocks compared first.
        constexpr size_t kBlock = 64;
        size_t first = 0, end = rowBytes;
        while (first + kBlock <= end && std::memcmp(now + first, before + first, kBlock) == 0)
            first += kBlock;
        while (now[first] == before[first])
            ++first;
        while (end - first >= kBlock && std::memcmp(now + end - kBlock, before + end - kBlock, kBlock) == 0)
            end -= kBlock;
        size_t last = end - 1;
        while (now[last] == before[last])
            --last;
        const int left = int(first / size_t(bytesPerPixel)), right = int(last / size_t(bytesPerPixel));
        if (!changedRows.empty() && y - changedRows.back().last <= kJoinGap) {
            FrameScaler::RowSpan& run = changedRows.back();
            run.last = y;
            run.left = std::min(run.left, left);
            run.right = std::max(run.right, right);
        } else {
            changedRows.push_back({y, y, left, right});
        }
    }
    if (changedRows.size() > kMaxRuns) {
        FrameScaler::RowSpan all{changedRows.front().first, changedRows.back().last, backImage->getWidth(), 0};
        for (const FrameScaler::RowSpan& run : changedRows) {
            all.left = std::min(all.left, run.left);
            all.right = std::max(all.right, run.right);
        }
        changedRows.assign(1, all);
    }
}

void GameWindow::present()
{
    if (inactive || recreating) {
        HostPlatform::current().sleepMilliseconds(10);
        return;
    }
    if (!hostWindow || !backImage || !backImage->getPixels())
        return;
    // A still screen costs nothing to show: only the rows that differ from
    // the last frame shown are drawn and handed over, all of them when the
    // display may have lost the picture.
    const size_t rowBytes = size_t(backImage->getWidth()) * size_t(bytesPerPixel);
    const size_t frameBytes = rowBytes * size_t(backImage->getHeight());
    const bool everything = presentAgain || lastPresented.size() != frameBytes;
    if (!everything && backImage->getSerial() == presentedSerial &&
        backImage->getContentVersion() == presentedVersion && backImage->getLockCount() == presentedLocks)
        return;
    if (everything)
        changedRows.assign(1, FrameScaler::RowSpan{0, backImage->getHeight() - 1});
    else
        findChangedRows();
    if (changedRows.empty())
        return;

    bool shown = false;
    WindowSurface surface;
    if (hostWindow->lockSurface(surface)) {
        const std::vector<SurfaceRect>& areas = scaler.draw(surface, backImage.get(), changedRows, everything);
        hostWindow->unlockSurface();
        shown = !areas.empty() && hostWindow->updateSurface(areas.data(), int(areas.size()));
    }
    // A frame the display refused is dropped; the next one is shown whole.
    if (!shown && !presentFailureLogged)
        LOG_WARNING("window: the display did not take a frame");
    presentFailureLogged = !shown;
    presentAgain = !shown;
    if (!shown)
        return;
    presentedSerial = backImage->getSerial();
    presentedVersion = backImage->getContentVersion();
    presentedLocks = backImage->getLockCount();
    lastPresented.resize(frameBytes);
    const uint8_t* pixels = backImage->getPixels();
    for (const FrameScaler::RowSpan& span : changedRows)
        for (int y = span.first; y <= span.last; ++y)
            std::memcpy(&lastPresented[rowBytes * size_t(y)], pixels + std::ptrdiff_t(y) * backImage->getPitch(),
                        rowBytes);
}

void GameWindow::run(int /*elapsedMs*/)
{
    present();
}

void GameWindow::destroyWindow()
{
    graphics = nullptr;
    backImage = nullptr;
    scaler.reset();
    if (hostWindow) {
        if (mouseCaptured)
            hostWindow->setMouseCapture(false);
        hostWindow->close();
    }
    mouseCaptured = false;
    hostWindow.reset();
}

void GameWindow::recreate()
{
    recreating = true;
    destroyWindow();
    recreating = false;
    create();
    centre();
    show();
}

void GameWindow::setIconPicture(Image* picture)
{
    if (!picture || picture->getWidth() <= 0 || picture->getHeight() <= 0 || !picture->lock())
        return;
    const int w = picture->getWidth();
    const int h = picture->getHeight();
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
    const bool opaque = !picture->hasAlphaChannel();
    for (int row = 0; row < h; ++row) {
        for (int column = 0; column < w; ++column) {
            uint32_t argb = 0;
            if (picture->getBytesPerPixel() == 4) {
                argb = picture->row32(row)[column];
            } else if (picture->getBytesPerPixel() == 2) {
                // RGB565 widened by repeating the top bits; alpha from the plane.
                const uint32_t p = picture->row16(row)[column];
                const uint32_t r = (p >> 11) & 0x1F, g = (p >> 5) & 0x3F, b = p & 0x1F;
                const uint32_t a = picture->getAlphaPlane() ? picture->alphaRow(row)[column] : 255u;
                argb = (a << 24) | (((r << 3) | (r >> 2)) << 16) | (((g << 2) | (g >> 4)) << 8) | ((b << 3) | (b >> 2));
            }
            pixels[static_cast<size_t>(row) * w + column] = opaque ? (argb | 0xFF000000u) : argb;
        }
    }
    picture->unlock();
    iconPixels = std::move(pixels);
    iconWidth = w;
    iconHeight = h;
    if (hostWindow && hostWindow->isOpen())
        hostWindow->setIcon(iconPixels.data(), iconWidth, iconHeight);
}

void GameWindow::setTitle(const std::string& text)
{
    title = text;
    if (hostWindow)
        hostWindow->setTitle(text);
}

void GameWindow::setFullScreenMode(bool value)
{
    if (value == fullScreen)
        return;
    fullScreen = value;
    recreate();
    if (messageHandler)
        messageHandler->broadcast(MSG_MODE_SWITCHED, fullScreen ? 1 : 0, 0);
}

void GameWindow::minimise()
{
    if (hostWindow)
        hostWindow->minimise();
}

void GameWindow::restoreAndRaise()
{
    if (hostWindow)
        hostWindow->raise();
}

void GameWindow::setCursorShape(int shape)
{
    if (shape < 0 || shape > 6)
        shape = 2;
    if (shape == cursorShape)
        return;
    cursorShape = shape;
    applyCursor();
}

void GameWindow::applyCursor()
{
    if (hostWindow)
        hostWindow->setCursorShape(cursorShape);
}

bool GameWindow::getPointerPosition(int& pointerX, int& pointerY) const
{
    return hostWindow && hostWindow->isOpen() && hostWindow->getMousePosition(pointerX, pointerY);
}

bool GameWindow::peekMessage(WindowMessage& message)
{
    if (!posted.empty()) {
        message = posted.front();
        posted.pop_front();
        return true;
    }
    return hostWindow && hostWindow->peekMessage(message);
}

void GameWindow::postQuitMessage(int code)
{
    posted.push_back({WM_QUIT, static_cast<uint32_t>(code), 0});
}

void GameWindow::dispatchMessage(const WindowMessage& message)
{
    // Kept alive through the listeners, which may release the window.
    RefPointer<GameWindow> keepAlive(getReferenceCount() > 0 ? this : nullptr);
    if (messageHandler)
        messageHandler->broadcast(message.message, message.wParam, message.lParam);

    switch (message.message) {
    case WM_SETCURSOR: applyCursor(); break;
    case WM_DESTROY:
        if (!recreating)
            postQuitMessage(0);
        break;
    case WM_SIZE:
        if (message.wParam == SIZE_MINIMIZED) {
            if (messageHandler)
                messageHandler->broadcast(MSG_WINDOW_DEACTIVATED, 0, 0);
            setInactive(true);
        } else if (message.wParam == SIZE_MAXIMIZED) {
            toggleFullScreen();
            show();
        } else if (message.wParam == SIZE_RESTORED) {
            presentAgain = true;
            if (messageHandler)
                messageHandler->broadcast(MSG_WINDOW_REACTIVATED, 0, 0);
            setInactive(false);
        }
        break;
    case WM_SETFOCUS:
        presentAgain = true;
        setInactive(false);
        focused = true;
        if (messageHandler)
            messageHandler->broadcast(MSG_WINDOW_REACTIVATED, 0, 0);
        break;
    case WM_KILLFOCUS:
        if (fullScreen)
            setInactive(true);
        if (messageHandler)
            messageHandler->broadcast(MSG_WINDOW_DEACTIVATED, 0, 0);
        focused = false;
        break;
    case WM_PAINT:
        presentAgain = true;
        present();
        break;
    case WM_CLOSE:
        if (closeHandler && closeHandler(closeHandlerContext))
            break;
        // Nobody asks the player: the window goes and the program quits.
        destroyWindow();
        postQuitMessage(0);
        break;
    case WM_SYSCOLORCHANGE: recreate(); break;
    case WM_ACTIVATEAPP:
        if (message.wParam) {
            presentAgain = true;
            setInactive(false);
        }
        break;
    case WM_KEYDOWN: onKeyDown(static_cast<int>(message.wParam)); break;
    case WM_SYSKEYDOWN:
        // Alt+Enter switches the mode once per press, not on every repeat.
        if (message.wParam == VK_RETURN && modeSwitchAllowed && !(message.lParam & KF_PREVIOUSLY_DOWN))
            toggleFullScreen();
        break;
    case WM_LBUTTONDOWN:
        if (hostWindow) {
            hostWindow->setMouseCapture(true);
            mouseCaptured = true;
        }
        applyCursor();
        break;
    case WM_LBUTTONUP:
        if (hostWindow)
            hostWindow->setMouseCapture(false);
        mouseCaptured = false;
        break;
    default: break;
    }
}

bool copyToClipboard(const std::string& text)
{
    if (!GameWindow::instance || !GameWindow::instance->getHostWindow())
        return false;
    return HostPlatform::current().setClipboardText(text);
}

std::string pasteFromClipboard()
{
    if (!GameWindow::instance || !GameWindow::instance->getHostWindow())
        return std::string();
    return HostPlatform::current().getClipboardText();
}
