/* Test helper for the window smoke test: waits for a top-level window with a
 * given title, checks that it shows a frame of the expected colour ("any" takes
 * any colour but black, the colour before the first frame), and then
 * asks it to close the way a window manager's close box does
 * (WM_DELETE_WINDOW). An action after the colour replaces the close request:
 * "click X Y" presses and releases the left button at window pixel (X, Y),
 * "key return" presses and releases Return (any key symbol; capitals with Shift), "none" only checks, "geometry"
 * prints "GEOMETRY X Y WIDTH HEIGHT" (the window's place on the screen) and
 * "ICON WIDTH HEIGHT" (the first picture of its _NET_WM_ICON, 0 0 for none).
 * Exit codes: 0 done, 2 no such window in time, 3 the window never showed the
 * colour, 4 no display. */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static long long nowMs(void)
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (long long)now.tv_sec * 1000 + now.tv_nsec / 1000000;
}

static void sleepMs(int ms)
{
    struct timespec wait = {ms / 1000, (long)(ms % 1000) * 1000000L};
    nanosleep(&wait, NULL);
}

/* Each channel within 4 of the expected one: a 16-bit frame comes back with
 * its low bits filled in, by replication or by scaling depending on the renderer. */
static int closeTo(unsigned long seen, unsigned long expected)
{
    for (int shift = 0; shift < 24; shift += 8) {
        int difference = (int)((seen >> shift) & 0xFF) - (int)((expected >> shift) & 0xFF);
        if (difference < -4 || difference > 4)
            return 0;
    }
    return 1;
}

static Window findWindow(Display* display, Window parent, const char* title)
{
    Window root, parentOut, *children = NULL;
    unsigned int count = 0;
    char* name = NULL;
    int same = 0;
    if (XFetchName(display, parent, &name) && name) {
        same = strcmp(name, title) == 0;
        XFree(name);
    }
    if (!same) {
        /* Some windows (SDL's message boxes) name themselves only in UTF-8. */
        Atom type;
        int format;
        unsigned long count = 0, left = 0;
        unsigned char* data = NULL;
        if (XGetWindowProperty(display, parent, XInternAtom(display, "_NET_WM_NAME", False), 0, 256, False,
                               AnyPropertyType, &type, &format, &count, &left, &data) == Success && data) {
            same = format == 8 && strlen(title) == count && memcmp(data, title, count) == 0;
            XFree(data);
        }
    }
    {
        if (same) {
            XWindowAttributes attributes;
            if (XGetWindowAttributes(display, parent, &attributes) && attributes.map_state == IsViewable)
                return parent;
        }
    }
    if (!XQueryTree(display, parent, &root, &parentOut, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && !found; ++i)
        found = findWindow(display, children[i], title);
    if (children)
        XFree(children);
    return found;
}

static int ignoreErrors(Display* display, XErrorEvent* error)
{
    (void)display;
    (void)error;
    return 0;
}

int main(int argc, char** argv)
{
    if (argc < 4) {
        fprintf(stderr, "usage: %s TITLE TIMEOUT_MS RRGGBB|any\n", argv[0]);
        return 1;
    }
    const char* title = argv[1];
    long long deadline = nowMs() + atoi(argv[2]);
    int anyColour = strcmp(argv[3], "any") == 0;
    unsigned long expected = anyColour ? 0 : strtoul(argv[3], NULL, 16);

    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "no display\n");
        return 4;
    }
    /* Windows come and go while the tree is walked. */
    XSetErrorHandler(ignoreErrors);

    Window window = 0;
    while (!window && nowMs() < deadline) {
        window = findWindow(display, DefaultRootWindow(display), title);
        if (!window)
            sleepMs(50);
    }
    if (!window) {
        fprintf(stderr, "no window titled \"%s\"\n", title);
        return 2;
    }

    unsigned long seen = 0;
    int shown = 0;
    while (!shown && nowMs() < deadline) {
        XWindowAttributes attributes;
        /* SDL may make the window anew (another one for its renderer): look again. */
        if (!XGetWindowAttributes(display, window, &attributes)) {
            Window again = findWindow(display, DefaultRootWindow(display), title);
            if (again)
                window = again;
        } else {
            XImage* image = XGetImage(display, window, attributes.width / 2, attributes.height / 2, 1, 1, AllPlanes,
                                      ZPixmap);
            if (image) {
                seen = XGetPixel(image, 0, 0) & 0xFFFFFF;
                XDestroyImage(image);
                shown = anyColour ? seen != 0 : closeTo(seen, expected);
            }
        }
        if (!shown) {
            sleepMs(50);
            Window again = findWindow(display, DefaultRootWindow(display), title);
            if (again)
                window = again;
        }
    }
    if (!shown) {
        fprintf(stderr, "the window shows %06lx, not %06lx\n", seen, expected);
        return 3;
    }
    printf("window shows %06lx\n", seen);

    const char* action = argc > 4 ? argv[4] : "close";
    if (strcmp(action, "none") == 0) {
        XCloseDisplay(display);
        return 0;
    }
    if (strcmp(action, "geometry") == 0) {
        XWindowAttributes attributes;
        int x = 0, y = 0;
        Window child;
        if (!XGetWindowAttributes(display, window, &attributes) ||
            !XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child)) {
            XCloseDisplay(display);
            return 3;
        }
        printf("GEOMETRY %d %d %d %d\n", x, y, attributes.width, attributes.height);
        Atom type;
        int format;
        unsigned long count = 0, left = 0;
        unsigned char* data = NULL;
        long iconWidth = 0, iconHeight = 0;
        if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_ICON", False), 0, 2, False,
                               XA_CARDINAL, &type, &format, &count, &left, &data) == Success &&
            data && count == 2) {
            iconWidth = ((long*)data)[0];
            iconHeight = ((long*)data)[1];
        }
        if (data)
            XFree(data);
        printf("ICON %ld %ld\n", iconWidth, iconHeight);
        XCloseDisplay(display);
        return 0;
    }
    if (strcmp(action, "click") == 0 && argc > 6) {
        int x = atoi(argv[5]);
        int y = atoi(argv[6]);
        /* The pointer comes to the place first, as a player's hand does. */
        XEvent motion;
        memset(&motion, 0, sizeof motion);
        motion.xmotion.type = MotionNotify;
        motion.xmotion.display = display;
        motion.xmotion.window = window;
        motion.xmotion.root = DefaultRootWindow(display);
        motion.xmotion.x = x;
        motion.xmotion.y = y;
        motion.xmotion.same_screen = True;
        XSendEvent(display, window, True, PointerMotionMask, &motion);
        XFlush(display);
        sleepMs(100);
        for (int press = 1; press >= 0; --press) {
            XEvent button;
            memset(&button, 0, sizeof button);
            button.xbutton.type = press ? ButtonPress : ButtonRelease;
            button.xbutton.display = display;
            button.xbutton.window = window;
            button.xbutton.root = DefaultRootWindow(display);
            button.xbutton.x = x;
            button.xbutton.y = y;
            button.xbutton.button = Button1;
            button.xbutton.state = press ? 0 : Button1Mask;
            button.xbutton.same_screen = True;
            XSendEvent(display, window, True, press ? ButtonPressMask : ButtonReleaseMask, &button);
            XFlush(display);
            sleepMs(60);
        }
        XCloseDisplay(display);
        return 0;
    }
    if (strcmp(action, "key") == 0 && argc > 5) {
        KeySym symbol = XStringToKeysym(strcmp(argv[5], "return") == 0 ? "Return" : argv[5]);
        KeyCode code = XKeysymToKeycode(display, symbol);
        /* A capital letter is typed with Shift held, as a hand types it. */
        KeySym lower = symbol, upper = symbol;
        XConvertCase(symbol, &lower, &upper);
        unsigned int shift = symbol == upper && lower != upper ? ShiftMask : 0;
        for (int press = 1; press >= 0; --press) {
            XEvent key;
            memset(&key, 0, sizeof key);
            key.xkey.type = press ? KeyPress : KeyRelease;
            key.xkey.display = display;
            key.xkey.window = window;
            key.xkey.root = DefaultRootWindow(display);
            key.xkey.keycode = code;
            key.xkey.state = shift;
            key.xkey.same_screen = True;
            XSendEvent(display, window, True, press ? KeyPressMask : KeyReleaseMask, &key);
            XFlush(display);
            sleepMs(60);
        }
        XCloseDisplay(display);
        return 0;
    }

    XEvent event;
    memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
    XCloseDisplay(display);
    return 0;
}
