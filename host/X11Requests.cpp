#include "host/X11Requests.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <dlfcn.h>

#include "host/HostLog.h"
#include "host/TerminationRequest.h"

#if defined(SDL_VIDEO_DRIVER_X11)

namespace {

// SDL links the X library itself; its functions are looked up there rather
// than linked a second time.
struct XLibrary {
    using MapRaised = int (*)(Display*, Window);
    using UnmapWindow = int (*)(Display*, Window);
    using Flush = int (*)(Display*);
    using Sync = int (*)(Display*, Bool);
    using GetWindowAttributes = Status (*)(Display*, Window, XWindowAttributes*);
    using GetGeometry = Status (*)(Display*, Drawable, Window*, int*, int*, unsigned int*, unsigned int*,
                                   unsigned int*, unsigned int*);
    using TranslateCoordinates = Bool (*)(Display*, Window, Window, int, int, int*, int*, Window*);
    using InternAtom = Atom (*)(Display*, const char*, Bool);
    using SendEvent = Status (*)(Display*, Window, Bool, long, XEvent*);
    using ErrorHandler = int (*)(Display*, XErrorEvent*);
    using SetErrorHandler = ErrorHandler (*)(ErrorHandler);
    using IOErrorHandler = int (*)(Display*);
    using SetIOErrorHandler = IOErrorHandler (*)(IOErrorHandler);

    MapRaised mapRaised = nullptr;
    UnmapWindow unmapWindow = nullptr;
    Flush flush = nullptr;
    Sync sync = nullptr;
    GetWindowAttributes getWindowAttributes = nullptr;
    GetGeometry getGeometry = nullptr;
    TranslateCoordinates translateCoordinates = nullptr;
    InternAtom internAtom = nullptr;
    SendEvent sendEvent = nullptr;
    SetErrorHandler setErrorHandler = nullptr;
    SetIOErrorHandler setIOErrorHandler = nullptr;

    bool complete() const
    {
        return mapRaised && unmapWindow && flush && sync && getWindowAttributes && getGeometry &&
               translateCoordinates && internAtom && sendEvent && setErrorHandler && setIOErrorHandler;
    }
};

const XLibrary* xLibrary()
{
    static const XLibrary library = [] {
        XLibrary found;
        void* handle = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
        if (!handle)
            return found;
        found.mapRaised = reinterpret_cast<XLibrary::MapRaised>(dlsym(handle, "XMapRaised"));
        found.unmapWindow = reinterpret_cast<XLibrary::UnmapWindow>(dlsym(handle, "XUnmapWindow"));
        found.flush = reinterpret_cast<XLibrary::Flush>(dlsym(handle, "XFlush"));
        found.sync = reinterpret_cast<XLibrary::Sync>(dlsym(handle, "XSync"));
        found.getWindowAttributes =
            reinterpret_cast<XLibrary::GetWindowAttributes>(dlsym(handle, "XGetWindowAttributes"));
        found.getGeometry = reinterpret_cast<XLibrary::GetGeometry>(dlsym(handle, "XGetGeometry"));
        found.translateCoordinates =
            reinterpret_cast<XLibrary::TranslateCoordinates>(dlsym(handle, "XTranslateCoordinates"));
        found.internAtom = reinterpret_cast<XLibrary::InternAtom>(dlsym(handle, "XInternAtom"));
        found.sendEvent = reinterpret_cast<XLibrary::SendEvent>(dlsym(handle, "XSendEvent"));
        found.setErrorHandler = reinterpret_cast<XLibrary::SetErrorHandler>(dlsym(handle, "XSetErrorHandler"));
        found.setIOErrorHandler =
            reinterpret_cast<XLibrary::SetIOErrorHandler>(dlsym(handle, "XSetIOErrorHandler"));
        return found;
    }();
    return library.complete() ? &library : nullptr;
}

struct X11Target {
    const XLibrary* x = nullptr;
    Display* display = nullptr;
    Window window = 0;
};

bool x11Target(SDL_Window* window, X11Target& target)
{
    if (!window)
        return false;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return false;
    target.x = xLibrary();
    target.display = info.info.x11.display;
    target.window = info.info.x11.window;
    return target.x && target.display && target.window;
}

int lastIgnoredError = 0;

int noteError(Display*, XErrorEvent* error)
{
    lastIgnoredError = error ? error->error_code : -1;
    return 0;
}

// Called inside the Xlib call that met the closed connection; returning
// would let Xlib end the process with nothing saved.
int leaveAfterConnectionLoss(Display*)
{
    endAfterDisplayLoss();
}

} // namespace

void x11CatchConnectionLoss()
{
    if (const XLibrary* x = xLibrary())
        x->setIOErrorHandler(leaveAfterConnectionLoss);
}

X11MapState x11MapState(SDL_Window* window)
{
    X11Target target;
    if (!x11Target(window, target))
        return X11MapState::Unknown;
    XWindowAttributes attributes;
    if (!target.x->getWindowAttributes(target.display, target.window, &attributes))
        return X11MapState::Unknown;
    switch (attributes.map_state) {
    case IsViewable: return X11MapState::Viewable;
    case IsUnviewable: return X11MapState::Unviewable;
    default: return X11MapState::Unmapped;
    }
}

bool x11RequestMap(SDL_Window* window)
{
    X11Target target;
    if (!x11Target(window, target))
        return false;
    target.x->mapRaised(target.display, target.window);
    target.x->flush(target.display);
    return true;
}

bool x11Unmap(SDL_Window* window)
{
    X11Target target;
    if (!x11Target(window, target))
        return false;
    target.x->unmapWindow(target.display, target.window);
    target.x->flush(target.display);
    return true;
}

bool x11WindowArea(SDL_Window* window, SDL_Rect& area)
{
    X11Target target;
    if (!x11Target(window, target))
        return false;
    Window root = 0, child = 0;
    int x = 0, y = 0;
    unsigned int w = 0, h = 0, border = 0, depth = 0;
    if (!target.x->getGeometry(target.display, target.window, &root, &x, &y, &w, &h, &border, &depth))
        return false;
    // The place relative to the parent is the frame's offset under a window manager.
    if (!target.x->translateCoordinates(target.display, target.window, root, 0, 0, &x, &y, &child))
        return false;
    area = {x, y, static_cast<int>(w), static_cast<int>(h)};
    return true;
}

bool x11WindowManagerRunning(SDL_Window* window)
{
    X11Target target;
    if (!x11Target(window, target))
        return false;
    XWindowAttributes attributes;
    if (!target.x->getWindowAttributes(target.display, target.window, &attributes))
        return false;
    XWindowAttributes root;
    if (!target.x->getWindowAttributes(target.display, attributes.root, &root))
        return false;
    // Whoever redirects the root's children's map requests is the window manager.
    return (root.all_event_masks & SubstructureRedirectMask) != 0;
}

bool x11RequestFullScreen(SDL_Window* window)
{
    X11Target target;
    if (!x11Target(window, target))
        return false;
    XWindowAttributes attributes;
    if (!target.x->getWindowAttributes(target.display, target.window, &attributes))
        return false;
    // The window manager's protocol for a mapped window: a message to the
    // root window naming the state to add (1) and where the request comes from (1, an application).
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = target.window;
    event.xclient.message_type = target.x->internAtom(target.display, "_NET_WM_STATE", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = 1;
    event.xclient.data.l[1] = static_cast<long>(target.x->internAtom(target.display, "_NET_WM_STATE_FULLSCREEN", False));
    event.xclient.data.l[2] = 0;
    event.xclient.data.l[3] = 1;
    target.x->sendEvent(target.display, attributes.root, False, SubstructureNotifyMask | SubstructureRedirectMask,
                        &event);
    target.x->flush(target.display);
    return true;
}

void x11ShowMappedWindow(SDL_Window* window)
{
    X11Target target;
    if (!x11Target(window, target)) {
        if (window)
            SDL_ShowWindow(window);
        return;
    }
    // SDL gives the focus to a mapped window when it saw no window manager
    // at its start; one that starts now may have made the window unviewable
    // again, which the server answers with an error that Xlib's default
    // handler ends the process for. The sync makes that error arrive here.
    target.x->sync(target.display, False);
    lastIgnoredError = 0;
    XLibrary::ErrorHandler previous = target.x->setErrorHandler(noteError);
    SDL_ShowWindow(window);
    target.x->sync(target.display, False);
    target.x->setErrorHandler(previous);
    if (lastIgnoredError)
        hostLog("window: the display refused the input focus while the window was shown (X error %d)",
                lastIgnoredError);
}

#else

void x11CatchConnectionLoss() {}

X11MapState x11MapState(SDL_Window*)
{
    return X11MapState::Unknown;
}

bool x11RequestMap(SDL_Window*)
{
    return false;
}

bool x11Unmap(SDL_Window*)
{
    return false;
}

bool x11WindowArea(SDL_Window*, SDL_Rect&)
{
    return false;
}

bool x11WindowManagerRunning(SDL_Window*)
{
    return false;
}

bool x11RequestFullScreen(SDL_Window*)
{
    return false;
}

void x11ShowMappedWindow(SDL_Window* window)
{
    if (window)
        SDL_ShowWindow(window);
}

#endif
