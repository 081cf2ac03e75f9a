#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>

#include "host/FakeHostPlatform.h"
#include "host/Folders.h"
#include "host/HostWindow.h"
#include "host/SettingsStore.h"
#include "host/SystemInfo.h"
#include "support/TempFolder.h"

namespace {

class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const char* value) : name(name)
    {
        const char* old = std::getenv(name);
        hadValue = old != nullptr;
        if (old)
            previous = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~EnvironmentVariable()
    {
        if (hadValue)
            setenv(name, previous.c_str(), 1);
        else
            unsetenv(name);
    }

private:
    const char* name;
    std::string previous;
    bool hadValue = false;
};

TEST(Folders, XdgVariablesWithFallbacksUnderHome)
{
    EnvironmentVariable home("HOME", "/home/baker");
    {
        EnvironmentVariable config("XDG_CONFIG_HOME", "/cfg/");
        EnvironmentVariable data("XDG_DATA_HOME", "/dat");
        EXPECT_EQ(getConfigHome(), "/cfg");
        EXPECT_EQ(getDataHome(), "/dat");
    }
    {
        EnvironmentVariable config("XDG_CONFIG_HOME", nullptr);
        EnvironmentVariable data("XDG_DATA_HOME", "relative/is/ignored");
        EXPECT_EQ(getConfigHome(), "/home/baker/.config");
        EXPECT_EQ(getDataHome(), "/home/baker/.local/share");
        EXPECT_EQ(makerFolderUnder(getDataHome()), "/home/baker/.local/share/Quillmark/Games");
    }
    {
        EnvironmentVariable runtime("XDG_RUNTIME_DIR", "/no/such/runtime");
        EXPECT_EQ(getRuntimeFolder(), "");
    }
}

TEST(Folders, DirectoryTreesFilesAndListings)
{
    TempFolder folder;
    std::string deep = folder.path() + "/a/b/c/";
    EXPECT_TRUE(makeDirectoryTree(deep));
    EXPECT_TRUE(isDirectory(folder.path() + "/a/b/c"));
    EXPECT_TRUE(makeDirectoryTree(deep)) << "an existing tree is fine";
    std::ofstream(folder.path() + "/a/file.txt") << "12345";
    EXPECT_TRUE(isRegularFile(folder.path() + "/a/file.txt"));
    EXPECT_FALSE(makeDirectory(folder.path() + "/a/file.txt"));
    EXPECT_FALSE(makeDirectoryTree(folder.path() + "/a/file.txt/below"));

    std::vector<DirectoryEntry> entries;
    ASSERT_TRUE(listDirectory(folder.path() + "/a", entries));
    std::sort(entries.begin(), entries.end(), [](auto& x, auto& y) { return x.name < y.name; });
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "b");
    EXPECT_TRUE(entries[0].isDirectory);
    EXPECT_EQ(entries[1].name, "file.txt");
    EXPECT_FALSE(entries[1].isDirectory);
    EXPECT_FALSE(listDirectory(folder.path() + "/missing", entries));

    std::string contents;
    std::string error;
    EXPECT_TRUE(readWholeFile(folder.path() + "/a/file.txt", contents, 100, &error));
    EXPECT_EQ(contents, "12345");
    EXPECT_FALSE(readWholeFile(folder.path() + "/a/file.txt", contents, 4, &error));
    EXPECT_FALSE(readWholeFile(folder.path() + "/a", contents, 100, &error));
    EXPECT_FALSE(readWholeFile(folder.path() + "/none", contents, 100, &error));

    EXPECT_TRUE(renamePath(folder.path() + "/a/file.txt", folder.path() + "/a/moved.txt"));
    EXPECT_TRUE(removeFile(folder.path() + "/a/moved.txt"));
    EXPECT_FALSE(removeEmptyDirectory(folder.path() + "/a/b"));
    EXPECT_TRUE(removeEmptyDirectory(folder.path() + "/a/b/c"));
}

TEST(Folders, ExecutableAndCurrentFolder)
{
    std::string executable = getExecutablePath();
    ASSERT_FALSE(executable.empty());
    EXPECT_EQ(executable.substr(executable.find_last_of('/') + 1), "test_host");
    EXPECT_EQ(getExecutableFolder() + "/test_host", executable);

    std::string before = getCurrentFolder();
    ASSERT_TRUE(setCurrentFolder(getExecutableFolder()));
    EXPECT_EQ(getCurrentFolder(), getExecutableFolder());
    EXPECT_FALSE(setCurrentFolder("/no/such/folder"));
    ASSERT_TRUE(setCurrentFolder(before));
}

TEST(SystemInfo, DescribesThisMachineWithoutDirectX)
{
    ScopedFakeHostPlatform platform;
    platform.desktop = {1920, 1080, 4};
    SystemInformation info = querySystemInformation();
    EXPECT_FALSE(info.osName.empty());
    EXPECT_GE(info.cpuCount, 1);
    EXPECT_GT(info.totalMemoryBytes, 0u);
    EXPECT_EQ(info.directXVersion, 0);
    EXPECT_EQ(info.desktopBitsPerPixel, 32);
    EXPECT_EQ(info.screenWidth, 1920);
    EXPECT_EQ(info.screenHeight, 1080);
}

TEST(SystemInfo, CpuSpeedFromCpuInfoText)
{
    EXPECT_EQ(cpuSpeedFromCpuInfo("processor\t: 0\nmodel name\t: X\ncpu MHz\t\t: 2399.6\ncpu MHz : 100\n"), 2400);
    EXPECT_EQ(cpuSpeedFromCpuInfo("processor : 0\nBogoMIPS : 50\n"), 0);
    EXPECT_EQ(cpuSpeedFromCpuInfo("cpu MHz : nonsense\n"), 0);
    EXPECT_EQ(cpuSpeedFromCpuInfo(""), 0);
}

TEST(RealPlatform, ClockIsMonotonicAndSleepWaits)
{
    HostPlatform& platform = HostPlatform::current();
    uint32_t start = platform.getMilliseconds();
    platform.sleepMilliseconds(15);
    uint32_t elapsed = platform.getMilliseconds() - start; // wraps correctly in unsigned arithmetic
    EXPECT_GE(elapsed, 15u);
    EXPECT_LT(elapsed, 5000u);
}

TEST(RealPlatform, DesktopDepthSwitch)
{
    {
        EnvironmentVariable depth("TORTELUNE_DESKTOP_DEPTH", "16");
        EXPECT_EQ(HostPlatform::current().getDesktopMode().bytesPerPixel, 2);
    }
    EnvironmentVariable depth("TORTELUNE_DESKTOP_DEPTH", nullptr);
    EXPECT_EQ(HostPlatform::current().getDesktopMode().bytesPerPixel, 4);
}

TEST(RealPlatform, WindowOnTheDummyDriverPresentsFramesAndKeepsPostedMessages)
{
    std::unique_ptr<HostWindow> window = HostPlatform::current().createWindow();
    WindowSettings settings;
    settings.title = "dummy";
    settings.bytesPerPixel = 2;
    std::string error;
    ASSERT_TRUE(window->open(settings, &error)) << error;
    EXPECT_TRUE(window->isOpen());
    WindowSurface surface;
    ASSERT_TRUE(window->lockSurface(surface));
    EXPECT_EQ(surface.width, 800);
    EXPECT_EQ(surface.height, 600);
    EXPECT_TRUE(surface.fresh);
    EXPECT_FALSE(window->lockSurface(surface)) << "locked already";
    window->unlockSurface();
    const SurfaceRect all{0, 0, 800, 600};
    EXPECT_TRUE(window->updateSurface(&all, 1));
    ASSERT_TRUE(window->lockSurface(surface));
    EXPECT_FALSE(surface.fresh) << "the same surface again";
    window->unlockSurface();
    window->setCursorShape(99);
    EXPECT_EQ(window->getCursorShape(), CURSOR_ARROW);
    window->setCursorShape(CURSOR_HAND);
    EXPECT_EQ(window->getCursorShape(), CURSOR_HAND);
    window->setTitle("renamed");
    EXPECT_EQ(window->getSettings().title, "renamed");

    WindowMessage message;
    while (window->peekMessage(message)) {
    }
    window->postMessage({WM_QUIT, 0, 0});
    ASSERT_TRUE(window->peekMessage(message));
    EXPECT_EQ(message.message, WM_QUIT);
    window->close();
    EXPECT_FALSE(window->isOpen());
    EXPECT_FALSE(window->lockSurface(surface));
    EXPECT_FALSE(window->updateSurface(&all, 1));
}

// Full screen takes the desktop's size (the dummy display's 1024 x 768): the
// surface is that large, and a click in it comes back in frame pixels
// through the area that shows the frame.
TEST(RealPlatform, FullScreenOnTheDummyDriverHasTheDesktopsSurfaceAndMapsClicksBack)
{
    std::unique_ptr<HostWindow> window = HostPlatform::current().createWindow();
    WindowSettings settings;
    settings.title = "dummy full screen";
    settings.fullScreen = true;
    std::string error;
    ASSERT_TRUE(window->open(settings, &error)) << error;
    SDL_Rect desktop;
    ASSERT_EQ(SDL_GetDisplayBounds(0, &desktop), 0);
    WindowSurface surface;
    ASSERT_TRUE(window->lockSurface(surface));
    EXPECT_EQ(surface.width, desktop.w);
    EXPECT_EQ(surface.height, desktop.h);
    EXPECT_EQ(surface.bytesPerPixel, 4);
    window->unlockSurface();

    uint32_t windowId = 0;
    for (uint32_t id = 1; id < 1000 && !windowId; ++id) {
        SDL_Window* candidate = SDL_GetWindowFromID(id);
        if (candidate && std::string(SDL_GetWindowTitle(candidate)) == settings.title)
            windowId = id;
    }
    ASSERT_NE(windowId, 0u);
    WindowMessage message;
    while (window->peekMessage(message)) {
    }
    const SurfaceRect area = fitFrame(desktop.w, desktop.h, 800, 600);
    const int corners[][4] = {{area.x, area.y, 0, 0}, {area.x + area.width - 1, area.y + area.height - 1, 799, 599}};
    for (const auto& corner : corners) {
        SDL_Event event{};
        event.type = SDL_MOUSEBUTTONDOWN;
        event.button.windowID = windowId;
        event.button.button = SDL_BUTTON_LEFT;
        event.button.state = SDL_PRESSED;
        event.button.clicks = 1;
        event.button.x = corner[0];
        event.button.y = corner[1];
        ASSERT_EQ(SDL_PushEvent(&event), 1);
        event.type = SDL_MOUSEBUTTONUP;
        event.button.state = SDL_RELEASED;
        ASSERT_EQ(SDL_PushEvent(&event), 1);
        bool seen = false;
        while (window->peekMessage(message)) {
            if (message.message == WM_LBUTTONDOWN) {
                EXPECT_EQ(message.lParam, packPoint(corner[2], corner[3]));
                seen = true;
            }
        }
        EXPECT_TRUE(seen);
    }
    window->close();
}

// A video driver without a clipboard (the tests' dummy one) refuses the text
// and reads back nothing; one with a clipboard gives the text back.
TEST(RealPlatform, ClipboardRoundTripOrCleanRefusal)
{
    HostPlatform& platform = HostPlatform::current();
    if (!platform.setClipboardText("Brioche \xE2\x82\xAC")) {
        EXPECT_EQ(platform.getClipboardText(), "");
        return;
    }
    EXPECT_EQ(platform.getClipboardText(), "Brioche \xE2\x82\xAC");
}

// A deadline is reached, never slept past by much; one behind now, also
// across the clock's wrap, returns at once rather than sleeping for weeks.
TEST(RealPlatform, SleepUntilReachesTheDeadlineAndSkipsAPassedOne)
{
    HostPlatform& platform = HostPlatform::current();
    for (int32_t ahead : {15, 1, 0, -1, -1000, INT32_MIN + 1}) {
        const uint32_t start = platform.getMilliseconds();
        platform.sleepUntilMilliseconds(start + static_cast<uint32_t>(ahead));
        const uint32_t elapsed = platform.getMilliseconds() - start;
        if (ahead > 0) {
            EXPECT_GE(elapsed, static_cast<uint32_t>(ahead)) << ahead;
        }
        EXPECT_LT(elapsed, 5000u) << ahead;
    }
}

TEST(FakePlatform, ClockSleepsClipboardAndScriptedWindows)
{
    ScopedFakeHostPlatform fake;
    EXPECT_EQ(&HostPlatform::current(), &fake);
    fake.clock = 0xFFFFFFF0u;
    sleepMilliseconds(0x20);
    EXPECT_EQ(getMilliseconds(), 0x10u) << "the clock wraps at 2^32";
    EXPECT_EQ(fake.sleeps, std::vector<uint32_t>{0x20});

    fake.clipboardAvailable = false;
    EXPECT_FALSE(fake.setClipboardText("x"));
    EXPECT_EQ(fake.getClipboardText(), "");

    fake.failingOpens = 1;
    std::unique_ptr<HostWindow> window = fake.createWindow();
    EXPECT_EQ(fake.lastWindow(), window.get());
    WindowSettings settings;
    EXPECT_FALSE(window->open(settings, nullptr));
    EXPECT_TRUE(window->open(settings, nullptr));
    EXPECT_EQ(fake.lastWindow()->openCount, 2);

    fake.lastWindow()->pushMessage(WM_KEYDOWN, VK_LEFT, 1);
    WindowMessage message;
    ASSERT_TRUE(window->peekMessage(message));
    EXPECT_EQ(message, (WindowMessage{WM_KEYDOWN, VK_LEFT, 1}));
    EXPECT_FALSE(window->peekMessage(message));

    WindowSurface surface;
    ASSERT_TRUE(window->lockSurface(surface));
    EXPECT_TRUE(surface.fresh);
    std::fill_n(reinterpret_cast<uint32_t*>(surface.pixels), 800 * 600, 0xFF112233u);
    const SurfaceRect all{0, 0, 800, 600};
    EXPECT_FALSE(window->updateSurface(&all, 1)) << "not while locked";
    window->unlockSurface();
    EXPECT_TRUE(window->updateSurface(&all, 1));
    EXPECT_EQ(fake.lastWindow()->presentCount, 1);
    ASSERT_EQ(fake.lastWindow()->lastFrame.size(), 800u * 600u * 4u);
    EXPECT_EQ(reinterpret_cast<const uint32_t*>(fake.lastWindow()->lastFrame.data())[800 * 600 - 1], 0xFF112233u);

    EXPECT_EQ(fake.openSettingsStore("a").get(), fake.openSettingsStore("a").get());
    EXPECT_NE(fake.openSettingsStore("a").get(), fake.openSettingsStore("b").get());
    window.reset();
    EXPECT_EQ(fake.lastWindow(), nullptr);
    fake.showMessageBox("Error", "text", MessageBoxKind::Error);
    ASSERT_EQ(fake.messageBoxes.size(), 1u);
    EXPECT_EQ(fake.messageBoxes[0].title, "Error");
}

} // namespace

namespace {

TEST(WebAddress, OnlyHttpAndHttpsWithoutBlanksAreOpened)
{
    EXPECT_TRUE(isOpenableWebAddress("http://example.org"));
    EXPECT_TRUE(isOpenableWebAddress("HTTPS://example.org/a?b=c&d"));
    EXPECT_FALSE(isOpenableWebAddress("https://"));
    EXPECT_FALSE(isOpenableWebAddress("file:///etc/passwd"));
    EXPECT_FALSE(isOpenableWebAddress("javascript:alert(1)"));
    EXPECT_FALSE(isOpenableWebAddress("--help"));
    EXPECT_FALSE(isOpenableWebAddress("http://a b"));
    EXPECT_FALSE(isOpenableWebAddress("http://a\nb"));
    EXPECT_FALSE(isOpenableWebAddress(""));

    ScopedFakeHostPlatform fake;
    EXPECT_TRUE(HostPlatform::current().openWebAddress("https://example.org"));
    EXPECT_FALSE(HostPlatform::current().openWebAddress("ftp://example.org"));
    EXPECT_EQ(fake.openedAddresses, std::vector<std::string>{"https://example.org"});
}

TEST(WebAddress, RealPlatformRefusesOtherSchemesWithoutStartingAnything)
{
    EXPECT_FALSE(HostPlatform::current().openWebAddress("file:///etc/passwd"));
}

} // namespace
