#pragma once

#include <cstdint>
#include <memory>
#include <string>

class HostWindow;
class SettingsStore;

// The size and depth of the desktop the game starts on.
struct DesktopMode {
    int width = 0;
    int height = 0;
    int bytesPerPixel = 4;
};

enum class MessageBoxKind { Error, Warning, Information };

// The services of the machine the game runs on. The framework reaches them
// through `HostPlatform::current()`; tests install a fake with `install`.
class HostPlatform {
public:
    virtual ~HostPlatform() = default;

    // A new, closed window.
    virtual std::unique_ptr<HostWindow> createWindow() = 0;
    // Connects to the display that windows go on; false with the reason when
    // there is none to connect to (a machine without a display never gets a
    // window nobody sees).
    virtual bool connectDisplay(std::string& reason)
    {
        (void)reason;
        return true;
    }
    virtual DesktopMode getDesktopMode() = 0;
    // Shows a modal message box; without a display the text goes to standard error.
    virtual void showMessageBox(const std::string& title, const std::string& text, MessageBoxKind kind) = 0;
    // Clipboard text is UTF-8. Setting answers false when the clipboard is unavailable;
    // getting answers empty text then.
    virtual bool setClipboardText(const std::string& text) = 0;
    virtual std::string getClipboardText() = 0;
    // Milliseconds since an arbitrary start, wrapping at 2^32.
    virtual uint32_t getMilliseconds() = 0;
    virtual void sleepMilliseconds(uint32_t milliseconds) = 0;
    // Sleeps until getMilliseconds() reaches `deadline` (a wrapping value: a
    // deadline up to 2^31 ms behind now has passed, and returns at once).
    virtual void sleepUntilMilliseconds(uint32_t deadline)
    {
        const int32_t left = static_cast<int32_t>(deadline - getMilliseconds());
        if (left > 0)
            sleepMilliseconds(static_cast<uint32_t>(left));
    }
    // Opens an http or https address in the user's browser; anything else is
    // refused (false). Never blocks on the browser.
    virtual bool openWebAddress(const std::string& address) = 0;
    // The settings of one game (in place of a registry key); opened once per game id.
    virtual std::shared_ptr<SettingsStore> openSettingsStore(const std::string& gameId) = 0;

    // The installed platform, or the real one when none is installed.
    static HostPlatform& current();
    // Installs a platform (borrowed, not owned); null returns to the real one.
    static void install(HostPlatform* platform);
};

// Whether an address may be handed to the browser: http or https (any case),
// followed by a host, with no blanks or control characters.
bool isOpenableWebAddress(const std::string& address);

// Shorthands for the clock of the current platform.
inline uint32_t getMilliseconds() { return HostPlatform::current().getMilliseconds(); }
inline void sleepMilliseconds(uint32_t milliseconds) { HostPlatform::current().sleepMilliseconds(milliseconds); }
