#pragma once

struct SDL_Window;
struct SDL_Rect;

// Requests made straight to the X server for a window that SDL made, where
// SDL's X11 back end would wait without a bound for an answer that a window
// manager may never give (mapping waits for the map notification). Every
// call here is one request or one round trip to the server, which always
// answers. On any other video driver nothing is done and false (or Unknown)
// comes back, so that callers fall back to SDL's own calls.

enum class X11MapState { Unknown, Unmapped, Unviewable, Viewable };

// The window's map state as the server has it.
X11MapState x11MapState(SDL_Window* window);
// Asks for the window to be mapped and raised; a window manager takes the
// request and maps it when it gets to it. Does not wait.
bool x11RequestMap(SDL_Window* window);
// Unmaps the window at once (an unmap is never the window manager's to grant).
bool x11Unmap(SDL_Window* window);
// Routes the loss of the connection to any X server (Xlib would end the
// process right after telling it) to endAfterDisplayLoss, so that the game
// saves first. Without X11 nothing is done.
void x11CatchConnectionLoss();
// The server's own idea of the window's place on the screen and size.
bool x11WindowArea(SDL_Window* window, SDL_Rect& area);
// Whether a window manager runs on the window's screen (it may be starting
// still, and miss requests).
bool x11WindowManagerRunning(SDL_Window* window);
// Asks the window manager to make the mapped window full screen (what SDL
// asks when it shows a full-screen window, once).
bool x11RequestFullScreen(SDL_Window* window);
// Shows a window that is already viewable through SDL, so that SDL knows it
// shown (and gives it the input focus when it saw no window manager), with
// an X error in between (a window manager that unmaps it meanwhile) logged
// instead of ending the process. Without X11 it is SDL_ShowWindow.
void x11ShowMappedWindow(SDL_Window* window);
