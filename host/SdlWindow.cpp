#include "host/SdlWindow.h"

#include <SDL.h>
#include <cmath>

#include "host/HostLog.h"
#include "host/SdlPlatform.h"

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

    Uint32 flags = SDL_WINDOW_SHOWN | (settings.fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    window = SDL_CreateWindow(settings.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, settings.width,
                              settings.height, flags);
    if (!window)
        return failWith("cannot create the window");

    // A frame shown at its own size goes straight into the window's image in
    // shared memory (SDL's software renderer, with the window surface kept
    // off the GPU): handing a finished software frame to a GPU renderer only
    // uploads and draws it again, and where that GPU is a software
    // rasteriser it costs most of a core at rest. A scaled full screen keeps
    // the accelerated renderer, which scales for free on real hardware.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    int shownWidth = 0, shownHeight = 0;
    SDL_GetWindowSize(window, &shownWidth, &shownHeight);
    if (shownWidth == settings.width && shownHeight == settings.height)
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer)
        renderer = SDL_CreateRenderer(window, -1, 0);
    if (!renderer)
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer)
        return failWith("cannot create a renderer");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    SDL_RenderSetLogicalSize(renderer, settings.width, settings.height);

    Uint32 format = settings.bytesPerPixel == 2 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_ARGB8888;
    texture = SDL_CreateTexture(renderer, format, SDL_TEXTUREACCESS_STREAMING, settings.width, settings.height);
    if (!texture)
        return failWith("cannot create the frame texture");
    // The frame is opaque: its top bytes are not a coverage to blend with.
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);

    translator.reset();
    translator.setWindowId(SDL_GetWindowID(window));
    translator.setClientSize(settings.width, settings.height);
    SDL_StartTextInput();
    setCursorShape(cursorShape);
    return true;
}

void SdlWindow::close()
{
    if (texture)
        SDL_DestroyTexture(texture);
    if (renderer)
        SDL_DestroyRenderer(renderer);
    if (window) {
        SDL_CaptureMouse(SDL_FALSE);
        SDL_DestroyWindow(window);
    }
    texture = nullptr;
    renderer = nullptr;
    window = nullptr;
}

bool SdlWindow::present(const void* pixels, int pitch)
{
    if (!texture || !pixels)
        return false;
    if (SDL_UpdateTexture(texture, nullptr, pixels, pitch) != 0)
        return false;
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_RenderPresent(renderer);
    return true;
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
    if (SDL_GetWindowFlags(window) & SDL_WINDOW_MINIMIZED)
        SDL_RestoreWindow(window);
    SDL_ShowWindow(window);
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
    float logicalX = 0, logicalY = 0;
    SDL_RenderWindowToLogical(renderer, globalX - windowX, globalY - windowY, &logicalX, &logicalY);
    x = static_cast<int>(std::floor(logicalX));
    y = static_cast<int>(std::floor(logicalY));
    return true;
}

bool SdlWindow::hasInputFocus() const
{
    return window && (SDL_GetWindowFlags(window) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

bool SdlWindow::peekMessage(WindowMessage& message)
{
    SDL_Event event;
    while (pending.empty() && SDL_PollEvent(&event)) {
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

void SdlWindow::postMessage(const WindowMessage& message)
{
    pending.push_back(message);
}
