#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "host/MessageBoxProcess.h"

namespace {

// The box processes this process started that are still there (a zombie
// that nobody waited for counts).
int boxProcessesOfOurs()
{
    int found = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream cmdline(entry.path() / "cmdline");
        std::string first;
        std::getline(cmdline, first, '\0');
        if (first != "tortelune-message-box")
            continue;
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        std::getline(stat, line);
        // The parent's id is the second field after the name in parentheses.
        const size_t nameEnd = line.rfind(')');
        if (nameEnd != std::string::npos && std::atoi(line.c_str() + nameEnd + 4) == getpid())
            ++found;
    }
    return found;
}

// Clears the display for its lifetime, so that the box process finds none.
class NoDisplay {
public:
    NoDisplay()
    {
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
            if (const char* value = std::getenv(name))
                saved.emplace_back(name, value);
            unsetenv(name);
        }
    }
    ~NoDisplay()
    {
        for (const auto& [name, value] : saved)
            setenv(name.c_str(), value.c_str(), 1);
    }

private:
    std::vector<std::pair<std::string, std::string>> saved;
};

bool always() { return true; }

// The box process is this program started again; without a display it shows
// nothing, says so, and is waited for.
TEST(MessageBoxProcess, WithoutADisplayNothingIsShownAndNothingIsLeft)
{
    NoDisplay noDisplay;
    EXPECT_EQ(MessageBoxOutcome::NotShown,
              showClosableMessageBox("title", "text", MessageBoxKind::Warning, nullptr));
    EXPECT_EQ(0, boxProcessesOfOurs());
}

// A request to close ends the box process (and what it started) at once.
TEST(MessageBoxProcess, ARequestEndsTheBoxProcess)
{
    NoDisplay noDisplay;
    EXPECT_EQ(MessageBoxOutcome::ClosedByRequest,
              showClosableMessageBox("title", "text", MessageBoxKind::Error, &always));
    EXPECT_EQ(0, boxProcessesOfOurs());
}

} // namespace
