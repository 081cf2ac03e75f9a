#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/RefPointer.h"
#include "framework/platform/FrameScaler.h"
#include "framework/platform/MessageHandler.h"
#include "framework/platform/Task.h"
#include "host/WindowMessages.h"

class Graphics;
class HostWindow;
class Image;

// The one top-level window of the game: the back buffer that every frame is
// drawn into and that the window's task presents, windowed and full-screen
// modes, the cursor, and the window procedure that acts on the window's
// messages after its MessageHandler has shown them to the listeners.
class GameWindow : public Task {
    TT_CLASS_RECORD(GameWindow)
public:
    static GameWindow* instance;
    // Makes the instance (taking one reference) and opens the window at the
    // size given; see open for the choice of mode.
    static GameWindow* create(const std::string& title, int width, int height, bool fullScreen,
                              int requestedBytesPerPixel, int iconResource);
    // Drops the instance's reference (destroying the window with it).
    static void destroyInstance();

    GameWindow();
    explicit GameWindow(AbstractProperty*);
    ~GameWindow() override;

    // Stores the wishes and creates the window. A desktop no larger than the
    // window forces full screen and forbids switching modes.
    virtual void open(const std::string& title, int x, int y, int width, int height, bool fullScreen,
                      int requestedBytesPerPixel);
    // Creates the window and its back buffer; a failure is retried once in the
    // other mode, then the "Error" message box is shown and the quit message posted.
    virtual void create();
    virtual void show() {}
    // Draws the rows of the back buffer that changed since the last frame shown
    // into the window's surface, scaled to it, and shows them (sleeps 10 ms
    // instead while inactive).
    virtual void present();
    void run(int elapsedMs) override;
    // The desktop places the window; kept for callers that centre it.
    virtual void centre() {}
    // Closes the window and frees the back buffer.
    virtual void destroyWindow();
    virtual void recreate();

    Graphics* getGraphics() const { return graphics.get(); }
    Image* getBackImage() const { return backImage.get(); }
    // The display keeps its own copy of the frame; the back buffer is the image of the screen.
    Image* getFrontImage() const { return backImage.get(); }
    HostWindow* getHostWindow() const { return hostWindow.get(); }
    MessageHandler* getMessageHandler() const { return messageHandler.get(); }

    void setTitle(const std::string& text);
    const std::string& getTitle() const { return title; }
    // Keys reach this before default processing; nothing happens here.
    virtual void onKeyDown(int /*key*/) {}

    bool isRecreating() const { return recreating; }
    int getX() const { return x; }
    int getY() const { return y; }
    void setX(int value) { x = value; }
    void setY(int value) { y = value; }
    int getWidth() const { return width; }
    int getHeight() const { return height; }
    void setWidth(int value) { width = value; }
    void setHeight(int value) { height = value; }
    void setSize(int newWidth, int newHeight)
    {
        width = newWidth;
        height = newHeight;
    }

    bool isFullScreen() const { return fullScreen; }
    // The flag only; setFullScreenMode switches the display.
    void setFullScreen(bool value) { fullScreen = value; }
    // Switches the mode (recreating the window) and broadcasts MSG_MODE_SWITCHED
    // with the new flag; nothing when the mode is already that.
    virtual void setFullScreenMode(bool value);
    void toggleFullScreen() { setFullScreenMode(!fullScreen); }
    bool isModeSwitchAllowed() const { return modeSwitchAllowed; }
    void minimise();
    // Restores a minimised window and brings it to the front (a second copy asked for it).
    void restoreAndRaise();
    bool isInactive() const { return inactive; }
    void setInactive(bool value) { inactive = value; }
    bool hasFocus() const { return focused; }
    int getBytesPerPixel() const { return bytesPerPixel; }
    void setRequestedBytesPerPixel(int value) { requestedBytesPerPixel = value; }
    void setIconResource(int value) { iconResource = value; }
    int getIconResource() const { return iconResource; }
    // The window's icon from a picture (4 bytes per pixel, or 2 with an alpha
    // plane); kept and given again to every window the mode switch makes.
    void setIconPicture(Image* picture);

    // 0 none, 1 arrow with hourglass, 2 arrow, 3 hand, 4 help, 5 hourglass, 6 text beam.
    void setCursorShape(int shape);
    int getCursor() const { return cursorShape; }
    void applyCursor();

    // The pointer in client coordinates, also outside the window; false without a window.
    bool getPointerPosition(int& pointerX, int& pointerY) const;

    // The message pump: takes the next message (quit messages posted here come
    // first); false when none waits. Never blocks.
    bool peekMessage(WindowMessage& message);
    // The window procedure: the listeners see the message, then the window acts on it.
    void dispatchMessage(const WindowMessage& message);
    void postQuitMessage(int code);

    // Who takes the close box instead of quitting at once (the scene manager,
    // which asks the player). Answers true when it took the request.
    using CloseHandler = bool (*)(void* context);
    void setCloseHandler(CloseHandler handler, void* context)
    {
        closeHandler = handler;
        closeHandlerContext = context;
    }

private:
    bool openHostWindow(std::string* error);
    void createGraphics();
    // Fills changedRows with the back buffer's rows that differ from
    // lastPresented, with the columns between their first and last change.
    void findChangedRows();

    std::unique_ptr<HostWindow> hostWindow;
    RefPointer<MessageHandler> messageHandler;
    RefPointer<Image> backImage;
    RefPointer<Graphics> graphics;
    std::deque<WindowMessage> posted;

    int bytesPerPixel = 4;
    int requestedBytesPerPixel = 0;
    std::string title = "Quillmark";
    bool fullScreen = true;
    bool modeSwitchAllowed = true;
    bool focused = true;
    bool recreating = false;
    bool retried = false;
    bool mouseCaptured = false;
    int x = 0;
    int y = 0;
    int width = 640;
    int height = 480;
    int iconResource = 0;
    // ARGB pixels of the icon, rows packed; empty for none.
    std::vector<uint32_t> iconPixels;
    int iconWidth = 0;
    int iconHeight = 0;
    int cursorShape = 2;
    bool inactive = false;
    bool presentFailureLogged = false;
    // The bytes of the last frame the display took, and whether the next
    // frame must be shown even when it equals them (a new window, an expose,
    // focus coming back, a refused frame).
    std::vector<uint8_t> lastPresented;
    bool presentAgain = true;
    // The back buffer as it was when last shown: nobody drew into it or
    // locked it since when these still hold.
    uint64_t presentedSerial = 0;
    uint32_t presentedVersion = 0;
    uint32_t presentedLocks = 0;
    std::vector<FrameScaler::RowSpan> changedRows;
    FrameScaler scaler;
    CloseHandler closeHandler = nullptr;
    void* closeHandlerContext = nullptr;
};

// The clipboard, through the window; both do nothing without a window.
// Text is UTF-8. Pasting gives empty text when the clipboard holds none.
bool copyToClipboard(const std::string& text);
std::string pasteFromClipboard();
