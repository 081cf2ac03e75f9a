#include "host/SdlWindow.h"

#include <SDL.h>
#include <algorithm>

#include "host/HostLog.h"
#include "host/SdlPlatform.h"
#include "host/TerminationRequest.h"
#include "host/X11Requests.h"

SdlWindow::~SdlWindow()
{
    close();
    for (SDL_Cursor*& cursor : cursors) {
        if (cursor)
            SDL_FreeCursor(cursor);
        cursor = nullptr;
    }
}

bool SdlWindow::open(const WindowSettings& wanted, std::string* error)
{
    close();
    settings = wanted;
    if (settings.bytesPerPixel != 2)
        settings.bytesPerPixel = 4;

    auto failWith = [&](const char* what) {
        std::string reason = std::string(what) + ": " + SDL_GetError();
        hostLog("window: %s", reason.c_str());
        if (error)
            *error = reason;
        close();
        return false;
    };

    if (!SdlPlatform::ensureVideo())
        return failWith("no display");

    if (!createWindow(settings.fullScreen ? Placement::FullScreen : Placement::Windowed))
        return failWith("cannot create the window");
    if (settings.fullScreen && !realSizeMatches()) {
        // Without a window manager the desktop full-screen request leaves the
        // window at its old size while everything is drawn and mapped for the
        // desktop's: the picture is cropped and clicks miss. A borderless
        // window over the whole desktop shows the same; failing that, a window.
        hostLogNotice("window: full screen was not given its size; using a borderless window over the desktop");
        if (!createWindow(Placement::DesktopCovering) || !realSizeMatches()) {
            hostLog("window: the borderless window was not given its size either; opening a window");
            settings.fullScreen = false;
            if (!createWindow(Placement::Windowed))
                return failWith("cannot create the window");
        }
    }

    translator.reset();
    translator.setWindowId(SDL_GetWindowID(window));
    translator.setClientSize(settings.width, settings.height);
    SDL_StartTextInput();
    setCursorShape(cursorShape);
    return true;
}

bool SdlWindow::createWindow(Placement placement)
{
    destroyWindow();
    int x = SDL_WINDOWPOS_CENTERED;
    int y = SDL_WINDOWPOS_CENTERED;
    int width = settings.width;
    int height = settings.height;
    // Made hidden and mapped by us: SDL's own showing waits without a bound
    // for the map, which a window manager that is just starting may never do.
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (placement == Placement::FullScreen) {
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    } else if (placement == Placement::DesktopCovering) {
        SDL_Rect bounds;
        if (SDL_GetDisplayBounds(0, &bounds) != 0)
            return false;
        x = bounds.x;
        y = bounds.y;
        width = bounds.w;
        height = bounds.h;
        flags |= SDL_WINDOW_BORDERLESS;
    }
    // The frames are finished software pictures: they go straight into the
    // window's image in shared memory. Drawn through a GPU renderer they would
    // only be uploaded and drawn again, and where the GPU is a software
    // rasteriser that maps a large driver and costs most of a core at rest.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    window = SDL_CreateWindow(settings.title.c_str(), x, y, width, height, flags);
    if (!window)
        return false;
    surfaceFresh = true;
    show();
    return true;
}

void SdlWindow::show()
{
    shown = false;
    settled = false;
    hadFocus = false;
    requests = 0;
    resettles = 0;
    if (!x11RequestMap(window)) {
        // Other video drivers show the window without waiting on anyone.
        SDL_ShowWindow(window);
        shown = settled = true;
        return;
    }
    requests = 1;
    createdAt = lastRequest = lastCheck = shownAt = SDL_GetTicks();
    managerKnown = x11WindowManagerRunning(window);
    // The rest of settling is the frame loop's.
    while (!settle(true) && !shown && SDL_GetTicks() - createdAt < kShowWaitMs)
        SDL_Delay(5);
    if (!shown)
        hostLog("window: the window manager has not shown the window within %u ms; the game goes on and shows it "
                "when it does",
                kShowWaitMs);
}

bool SdlWindow::settle(bool checkNow)
{
    if (settled || !window)
        return true;
    const Uint32 now = SDL_GetTicks();
    if (!checkNow && now - lastCheck < kSettleCheckIntervalMs)
        return false;
    lastCheck = now;
    if (!shown && x11MapState(window) == X11MapState::Viewable) {
        // Only a viewable window is handed to SDL: it may give it the focus.
        x11ShowMappedWindow(window);
        shown = true;
    }
    hadFocus = hadFocus || (SDL_GetWindowFlags(window) & SDL_WINDOW_INPUT_FOCUS) != 0;
    // A window manager that starts after the window was made may frame even
    // a borderless window over the desktop: the place counts too.
    const bool coversScreen = !shown || !settings.fullScreen || windowCoversScreen();
    // Windowed, the game runs without the focus; full screen pauses until it has it.
    if (shown && coversScreen && (hadFocus || !settings.fullScreen)) {
        settled = true;
        return true;
    }
    if (now - createdAt >= kSettleMs) {
        const char* missing = !shown          ? "shown the window"
                              : !coversScreen ? "made the window full screen"
                                              : "given the window the focus";
        hostLog("window: the window manager has not %s within %u ms; the game stops asking", missing, kSettleMs);
        settled = true;
        return true;
    }
    // A window manager that was starting may have taken a request and lost
    // it; a new request reaches it once it runs. The pause doubles each time
    // up to a limit, and the requests end after kSettleMs, so that a window
    // manager that keeps the window hidden on purpose is not overruled for ever.
    const Uint32 pause = std::min<Uint32>(kFirstRetryMs << std::min(requests - 1, 4u), kLastRetryMs);
    if (now - lastRequest < pause)
        return false;
    if (!shown) {
        x11RequestMap(window);
    } else if (x11WindowManagerRunning(window)) {
        // Without a window manager nobody would take these; opening chose a
        // window over the desktop then.
        if (!coversScreen)
            x11RequestFullScreen(window);
        if (!hadFocus)
            SDL_RaiseWindow(window);
    }
    ++requests;
    lastRequest = now;
    return false;
}

bool SdlWindow::realSizeMatches()
{
    // A window that a window manager has yet to map is its to size.
    if (!shown)
        return true;
    // A window manager may take a moment to apply the size; without one the
    // answer never changes.
    const Uint32 start = SDL_GetTicks();
    for (;;) {
        SDL_PumpEvents();
        int expectedWidth = 0, expectedHeight = 0;
        SDL_GetWindowSize(window, &expectedWidth, &expectedHeight);
        SDL_Rect area;
        if (!x11WindowArea(window, area))
            return true;
        const int realWidth = area.w, realHeight = area.h;
        if (realWidth == expectedWidth && realHeight == expectedHeight)
            return true;
        if (SDL_GetTicks() - start >= kRealSizeWaitMs) {
            // Without a window manager this is the normal way to full screen (see open).
            hostLogNotice("window: the display made the window %dx%d where %dx%d was asked for", realWidth, realHeight,
                    expectedWidth, expectedHeight);
            return false;
        }
        SDL_Delay(10);
    }
}

void SdlWindow::close()
{
    destroyWindow();
}

void SdlWindow::destroyWindow()
{
    unlockSurface();
    if (standIn)
        SDL_FreeSurface(standIn);
    standIn = nullptr;
    // The window's own surface goes with the window.
    windowSurface = nullptr;
    // A lost display is not talked to again; the process is ending.
    if (window && !displayConnectionLost()) {
        SDL_CaptureMouse(SDL_FALSE);
        // Unmapped here, SDL finds nothing left to hide: its own hiding would
        // wait for the unmap's notification without a bound.
        x11Unmap(window);
        SDL_DestroyWindow(window);
    }
    window = nullptr;
}

bool SdlWindow::lockSurface(WindowSurface& surface)
{
    if (!window || lockedSurface)
        return false;
    // SDL makes a new surface after the window changed size; until then it
    // hands out the same one.
    SDL_Surface* own = SDL_GetWindowSurface(window);
    if (!own)
        return false;
    if (own != windowSurface)
        surfaceFresh = true;
    windowSurface = own;
    const Uint32 format = own->format->format;
    SDL_Surface* drawn = own;
    if (format != SDL_PIXELFORMAT_RGB888 && format != SDL_PIXELFORMAT_ARGB8888 && format != SDL_PIXELFORMAT_RGB565) {
        // Another layout (a display of 24 or 15 bits, another byte order):
        // drawn into a stand-in and converted by SDL when shown.
        if (!standIn || standIn->w != own->w || standIn->h != own->h) {
            if (standIn)
                SDL_FreeSurface(standIn);
            standIn = SDL_CreateRGBSurfaceWithFormat(0, own->w, own->h, 32, SDL_PIXELFORMAT_RGB888);
            surfaceFresh = true;
            if (!standIn)
                return false;
        }
        drawn = standIn;
    } else if (standIn) {
        SDL_FreeSurface(standIn);
        standIn = nullptr;
    }
    if (SDL_MUSTLOCK(drawn) && SDL_LockSurface(drawn) != 0)
        return false;
    lockedSurface = drawn;
    surface.pixels = static_cast<uint8_t*>(drawn->pixels);
    surface.pitch = drawn->pitch;
    surface.width = drawn->w;
    surface.height = drawn->h;
    surface.bytesPerPixel = drawn->format->BytesPerPixel == 2 ? 2 : 4;
    surface.fresh = surfaceFresh;
    surfaceFresh = false;
    return true;
}

void SdlWindow::unlockSurface()
{
    if (lockedSurface && SDL_MUSTLOCK(lockedSurface))
        SDL_UnlockSurface(lockedSurface);
    lockedSurface = nullptr;
}

bool SdlWindow::updateSurface(const SurfaceRect* rects, int count)
{
    if (!window || !windowSurface || lockedSurface || !rects || count <= 0)
        return false;
    updateRects.clear();
    for (int i = 0; i < count; ++i)
        updateRects.push_back(SDL_Rect{rects[i].x, rects[i].y, rects[i].width, rects[i].height});
    if (standIn) {
        for (SDL_Rect& rect : updateRects) {
            SDL_Rect target = rect;
            SDL_BlitSurface(standIn, &rect, windowSurface, &target);
        }
    }
    if (SDL_UpdateWindowSurfaceRects(window, updateRects.data(), count) == 0)
        return true;
    // The surface went with a size change SDL has seen and we have not yet:
    // the next lock gets the new one.
    surfaceFresh = true;
    return false;
}

SurfaceRect SdlWindow::frameArea() const
{
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    return fitFrame(width, height, settings.width, settings.height);
}

void SdlWindow::minimise()
{
    if (window)
        SDL_MinimizeWindow(window);
}

void SdlWindow::raise()
{
    if (!window)
        return;
    if (SDL_GetWindowFlags(window) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) {
        // SDL's restoring maps the window and waits for the window manager
        // without a bound; a request of our own is answered by the map
        // notification, which SDL takes as any other.
        if (!x11RequestMap(window)) {
            SDL_RestoreWindow(window);
            SDL_ShowWindow(window);
        }
    }
    SDL_RaiseWindow(window);
}

void SdlWindow::setTitle(const std::string& title)
{
    settings.title = title;
    if (window)
        SDL_SetWindowTitle(window, title.c_str());
}

void SdlWindow::setIcon(const uint32_t* pixels, int width, int height)
{
    if (!window || !pixels || width <= 0 || height <= 0)
        return;
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(pixels), width, height, 32, width * 4,
                                                           SDL_PIXELFORMAT_ARGB8888);
    if (!icon)
        return;
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
}

void SdlWindow::setCursorShape(int shape)
{
    if (shape < 0 || shape > 6)
        shape = CURSOR_ARROW;
    cursorShape = shape;
    if (!window)
        return;
    if (shape == CURSOR_NONE) {
        SDL_ShowCursor(SDL_DISABLE);
        return;
    }
    // There is no help cursor among SDL's; the arrow stands in for it.
    static const SDL_SystemCursor systemCursors[7] = {
        SDL_SYSTEM_CURSOR_ARROW, SDL_SYSTEM_CURSOR_WAITARROW, SDL_SYSTEM_CURSOR_ARROW, SDL_SYSTEM_CURSOR_HAND,
        SDL_SYSTEM_CURSOR_ARROW, SDL_SYSTEM_CURSOR_WAIT,      SDL_SYSTEM_CURSOR_IBEAM};
    if (!cursors[shape])
        cursors[shape] = SDL_CreateSystemCursor(systemCursors[shape]);
    if (cursors[shape])
        SDL_SetCursor(cursors[shape]);
    SDL_ShowCursor(SDL_ENABLE);
}

void SdlWindow::setMouseCapture(bool captured)
{
    if (window)
        SDL_CaptureMouse(captured ? SDL_TRUE : SDL_FALSE);
}

bool SdlWindow::getMousePosition(int& x, int& y) const
{
    if (!window)
        return false;
    int globalX = 0, globalY = 0, windowX = 0, windowY = 0;
    SDL_GetGlobalMouseState(&globalX, &globalY);
    SDL_GetWindowPosition(window, &windowX, &windowY);
    x = globalX - windowX;
    y = globalY - windowY;
    surfaceToFrame(frameArea(), settings.width, settings.height, x, y);
    return true;
}

bool SdlWindow::hasInputFocus() const
{
    return window && (SDL_GetWindowFlags(window) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

bool SdlWindow::peekMessage(WindowMessage& message)
{
    if (takeTerminationRequest())
        pending.push_back({WM_ENDSESSION, 1, 0});
    if (!settled)
        settle(false);
    SDL_Event event;
    while (pending.empty() && SDL_PollEvent(&event)) {
        resettleAfterMove(event);
        reclaimFocusFromNewManager(event);
        if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
            surfaceFresh = true;
        translator.setFrameArea(frameArea());
        translated.clear();
        translator.translate(event, translated);
        for (const WindowMessage& message : translated) {
            // A full-screen window is reported maximised when the desktop sizes
            // it; only a windowed window's maximise is the player's request.
            if (settings.fullScreen && message.message == WM_SIZE && message.wParam == SIZE_MAXIMIZED)
                continue;
            pending.push_back(message);
        }
    }
    if (pending.empty())
        return false;
    message = pending.front();
    pending.pop_front();
    return true;
}

bool SdlWindow::windowCoversScreen()
{
    SDL_Rect bounds, area;
    const int display = SDL_GetWindowDisplayIndex(window);
    if (SDL_GetDisplayBounds(display < 0 ? 0 : display, &bounds) != 0 || !x11WindowArea(window, area))
        return true;
    return SDL_RectEquals(&area, &bounds) == SDL_TRUE;
}

void SdlWindow::resettleAfterMove(const SDL_Event& event)
{
    if (!settled || !shown || !settings.fullScreen || !window || event.type != SDL_WINDOWEVENT ||
        (event.window.event != SDL_WINDOWEVENT_MOVED && event.window.event != SDL_WINDOWEVENT_SIZE_CHANGED))
        return;
    // Bounded, so that a window manager that will not have a full-screen
    // window is not asked for ever.
    if (resettles >= kMaxResettles)
        return;
    if (windowCoversScreen())
        return;
    ++resettles;
    settled = false;
    requests = 1;
    createdAt = lastCheck = SDL_GetTicks();
    // The first new request goes out at the first retry's pause.
    lastRequest = createdAt - kFirstRetryMs;
}

void SdlWindow::reclaimFocusFromNewManager(const SDL_Event& event)
{
    if (managerKnown || !shown || !settings.fullScreen || !window || event.type != SDL_WINDOWEVENT ||
        event.window.event != SDL_WINDOWEVENT_FOCUS_LOST)
        return;
    // Later on, or with no window manager about, a focus loss is the player's doing.
    const Uint32 now = SDL_GetTicks();
    if (now - shownAt >= kSettleMs || !x11WindowManagerRunning(window))
        return;
    // A window manager starting beside the game (both started at login)
    // focuses its own window as it starts: without the focus the full-screen
    // game pauses on a screen nobody asked to leave, so it asks once more.
    managerKnown = true;
    hadFocus = false;
    hostLog("window: a window manager that started after the window took the focus; asking for it again");
    if (!settled)
        return;
    settled = false;
    requests = 1;
    createdAt = lastCheck = now;
    lastRequest = now - kFirstRetryMs;
}

void SdlWindow::postMessage(const WindowMessage& message)
{
    pending.push_back(message);
}
