// Temporary entry point until the application shell lands: honours
// "-unittest", and otherwise opens the window and shows a cleared frame until
// the window is closed.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/StringUtils.h"
#include "host/HostPlatform.h"
#include "host/HostWindow.h"

namespace {

bool hasUnitTestSwitch(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (toLowerAscii(argv[i]).find("-unittest") != std::string::npos)
            return true;
    }
    return false;
}

// A warm pastry cream, in the frame's pixel format.
std::vector<uint8_t> clearedFrame(int width, int height, int bytesPerPixel)
{
    const uint8_t red = 0xF3, green = 0xE2, blue = 0xC4;
    std::vector<uint8_t> frame(static_cast<size_t>(width) * static_cast<size_t>(height) *
                               static_cast<size_t>(bytesPerPixel));
    if (bytesPerPixel == 2) {
        // RGB565: r * 31 / 255 in the top five bits, and so on.
        uint16_t pixel = static_cast<uint16_t>(((red >> 3) << 11) | ((green >> 2) << 5) | (blue >> 3));
        for (size_t i = 0; i + 1 < frame.size(); i += 2) {
            frame[i] = static_cast<uint8_t>(pixel & 0xFF);
            frame[i + 1] = static_cast<uint8_t>(pixel >> 8);
        }
    } else {
        for (size_t i = 0; i + 3 < frame.size(); i += 4) {
            frame[i] = blue;
            frame[i + 1] = green;
            frame[i + 2] = red;
            frame[i + 3] = 0xFF;
        }
    }
    return frame;
}

int showWindowUntilClosed()
{
    HostPlatform& platform = HostPlatform::current();
    DesktopMode desktop = platform.getDesktopMode();

    WindowSettings settings;
    settings.title = "Tortelune";
    settings.fullScreen = desktop.width > 0 && desktop.width <= 800 && desktop.height <= 600;
    settings.bytesPerPixel = desktop.bytesPerPixel;

    std::unique_ptr<HostWindow> window = platform.createWindow();
    std::string error;
    if (!window->open(settings, &error)) {
        settings.fullScreen = !settings.fullScreen;
        if (!window->open(settings, &error)) {
            platform.showMessageBox("Error",
                                    "Something went wrong with creating the game-window.\nThis game will quit now.",
                                    MessageBoxKind::Error);
            return 1;
        }
    }

    std::vector<uint8_t> frame = clearedFrame(settings.width, settings.height, settings.bytesPerPixel);
    int pitch = settings.width * settings.bytesPerPixel;
    for (;;) {
        WindowMessage message;
        while (window->peekMessage(message)) {
            if (message.message == WM_CLOSE || message.message == WM_QUIT) {
                window->close();
                return 0;
            }
        }
        window->present(frame.data(), pitch);
        platform.sleepMilliseconds(20);
    }
}

} // namespace

int main(int argc, char** argv)
{
    // Nothing else may run with the switch: no file, lock or window is touched.
    if (hasUnitTestSwitch(argc, argv))
        return 0;
    return showWindowUntilClosed();
}
