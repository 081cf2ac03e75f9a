#include "host/MessageBoxProcess.h"

#include <SDL.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "host/HostLog.h"

extern char** environ;

namespace {

// Names the game's process in the box process's environment; only the box
// process has it.
const char kBoxMarker[] = "TORTELUNE_MESSAGE_BOX";
constexpr int kPollMs = 50;
// The box process's exit code when SDL could show no box.
constexpr int kExitNotShown = 3;

Uint32 sdlFlags(MessageBoxKind kind)
{
    return kind == MessageBoxKind::Error     ? SDL_MESSAGEBOX_ERROR
         : kind == MessageBoxKind::Warning   ? SDL_MESSAGEBOX_WARNING
                                             : SDL_MESSAGEBOX_INFORMATION;
}

// In the box process: SDL's own child (which draws the box) shares the group,
// and any end of the box process ends them both.
void endBoxGroup(int)
{
    kill(0, SIGKILL);
}

// The box process runs this before anything else of the executable: it shows
// the box named by its arguments (title, text, kind) and ends, never reaching
// the game's main. glibc hands constructors the program's arguments.
__attribute__((constructor(101))) void runAsMessageBoxProcess(int argc, char** argv, char**)
{
    const char* marker = std::getenv(kBoxMarker);
    if (!marker)
        return;
    const pid_t game = static_cast<pid_t>(std::atol(marker));
    unsetenv(kBoxMarker);
    if (argc < 4)
        _exit(kExitNotShown);
    struct sigaction action = {};
    action.sa_handler = endBoxGroup;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
    // The game gone (killed, crashed) takes the box with it.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != game)
        endBoxGroup(0);
    const Uint32 flags = sdlFlags(static_cast<MessageBoxKind>(std::atoi(argv[3])));
    _exit(SDL_ShowSimpleMessageBox(flags, argv[1], argv[2], nullptr) == 0 ? 0 : kExitNotShown);
}

// The game's environment with the marker naming this process.
std::vector<std::string> boxEnvironment()
{
    std::vector<std::string> variables;
    const size_t markerLength = std::strlen(kBoxMarker);
    for (char** variable = environ; variable && *variable; ++variable) {
        if (std::strncmp(*variable, kBoxMarker, markerLength) == 0 && (*variable)[markerLength] == '=')
            continue;
        variables.emplace_back(*variable);
    }
    variables.push_back(std::string(kBoxMarker) + "=" + std::to_string(getpid()));
    return variables;
}

// The strings as the list of C strings that exec takes (they must outlive it).
std::vector<char*> nullTerminated(std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    for (std::string& string : strings)
        pointers.push_back(&string[0]);
    pointers.push_back(nullptr);
    return pointers;
}

pid_t startBoxProcess(const std::string& title, const std::string& text, MessageBoxKind kind)
{
    std::vector<std::string> arguments = {"tortelune-message-box", title, text,
                                          std::to_string(static_cast<int>(kind))};
    std::vector<std::string> variables = boxEnvironment();

    // A group of its own: the game ends the box and SDL's child of it in one
    // call, and a Ctrl-C in the terminal reaches only the game, which decides.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGPIPE})
        sigaddset(&defaults, signal);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    // None of the game's files (its lock, sockets, display connection) goes with it.
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addclosefrom_np(&files, STDERR_FILENO + 1);
    pid_t child = 0;
    const int result =
        posix_spawn(&child, "/proc/self/exe", &files, &attributes, nullTerminated(arguments).data(),
                    nullTerminated(variables).data());
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attributes);
    if (result != 0) {
        hostLog("message box: cannot start its process: %s", std::strerror(result));
        return -1;
    }
    return child;
}

} // namespace

MessageBoxOutcome showClosableMessageBox(const std::string& title, const std::string& text, MessageBoxKind kind,
                                         bool (*shouldClose)())
{
    const pid_t child = startBoxProcess(title, text, kind);
    if (child < 0) {
        // Shown from here, it cannot be closed on request, but it is seen.
        return SDL_ShowSimpleMessageBox(sdlFlags(kind), title.c_str(), text.c_str(), nullptr) == 0
                   ? MessageBoxOutcome::Answered
                   : MessageBoxOutcome::NotShown;
    }
    int status = 0;
    for (;;) {
        const pid_t ended = waitpid(child, &status, WNOHANG);
        if (ended == child)
            break;
        if (ended < 0 && errno != EINTR) {
            hostLog("message box: lost its process: %s", std::strerror(errno));
            return MessageBoxOutcome::NotShown;
        }
        if (shouldClose && shouldClose()) {
            // The process is not reaped yet, so its group still exists.
            kill(-child, SIGKILL);
            while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
            return MessageBoxOutcome::ClosedByRequest;
        }
        const timespec pause{0, kPollMs * 1000000L};
        nanosleep(&pause, nullptr);
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return MessageBoxOutcome::Answered;
    if (WIFSIGNALED(status))
        hostLog("message box: its process ended on signal %d", WTERMSIG(status));
    return MessageBoxOutcome::NotShown;
}
