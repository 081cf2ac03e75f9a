#include "host/SingleInstanceLock.h"

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "host/Folders.h"
#include "host/HostLog.h"

namespace {

const char kRaiseRequest[] = "raise\n";
constexpr int kAcceptsPerCall = 8;
constexpr size_t kMaxPending = 16;
// The main loop asks about once a frame: about two seconds at 50 frames a second.
constexpr unsigned kSilentCallsAllowed = 100;

std::string safeFileName(const std::string& name)
{
    std::string safe;
    for (char c : name) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
        safe += plain ? c : '_';
    }
    return safe.empty() ? std::string("game") : safe;
}

// A path too long for a socket address uses the abstract namespace under a
// name derived from the path, which both copies compute alike.
socklen_t makeAddress(const std::string& path, sockaddr_un& address)
{
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.size() < sizeof address.sun_path) {
        std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
        return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size() + 1);
    }
    std::string name = "tortelune-" + std::to_string(std::hash<std::string>()(path));
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
}

bool isAbstract(const std::string& path)
{
    return path.size() >= sizeof(sockaddr_un::sun_path);
}

} // namespace

SingleInstanceLock::SingleInstanceLock(std::string name, std::string fallbackFolder)
{
    std::string folder = getRuntimeFolder();
    if (folder.empty())
        folder = fallbackFolder.empty() ? makerFolderUnder(getDataHome()) : fallbackFolder;
    std::string base = folder + "/" + safeFileName(name);
    lockPath = base + ".lock";
    socketPath = base + ".sock";
}

SingleInstanceLock::~SingleInstanceLock()
{
    release();
}

SingleInstanceLock::Result SingleInstanceLock::acquire()
{
    if (isHeld())
        return Result::Acquired;
    std::string folder = lockPath.substr(0, lockPath.find_last_of('/'));
    makeDirectoryTree(folder);
    int descriptor = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        hostLog("single instance: cannot open %s: %s", lockPath.c_str(), std::strerror(errno));
        return Result::Failed;
    }
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        int code = errno;
        ::close(descriptor);
        if (code == EWOULDBLOCK)
            return Result::AlreadyRunning;
        hostLog("single instance: cannot lock %s: %s", lockPath.c_str(), std::strerror(code));
        return Result::Failed;
    }
    lockDescriptor = descriptor;
    openListener();
    return Result::Acquired;
}

void SingleInstanceLock::openListener()
{
    // Only the lock holder gets here, so a socket file left by a crashed copy
    // can be removed safely.
    if (!isAbstract(socketPath))
        ::unlink(socketPath.c_str());
    int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (descriptor < 0) {
        hostLog("single instance: no socket: %s", std::strerror(errno));
        return;
    }
    sockaddr_un address;
    socklen_t length = makeAddress(socketPath, address);
    if (::bind(descriptor, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(descriptor, 4) != 0) {
        hostLog("single instance: cannot listen on %s: %s", socketPath.c_str(), std::strerror(errno));
        ::close(descriptor);
        return;
    }
    listenerDescriptor = descriptor;
}

void SingleInstanceLock::release()
{
    closePending();
    if (listenerDescriptor >= 0) {
        ::close(listenerDescriptor);
        listenerDescriptor = -1;
        if (!isAbstract(socketPath))
            ::unlink(socketPath.c_str());
    }
    if (lockDescriptor >= 0) {
        ::close(lockDescriptor);
        lockDescriptor = -1;
    }
}

bool SingleInstanceLock::requestRaise()
{
    int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (descriptor < 0)
        return false;
    sockaddr_un address;
    socklen_t length = makeAddress(socketPath, address);
    bool delivered = false;
    if (::connect(descriptor, reinterpret_cast<sockaddr*>(&address), length) == 0) {
        ssize_t size = static_cast<ssize_t>(sizeof kRaiseRequest - 1);
        delivered = ::send(descriptor, kRaiseRequest, static_cast<size_t>(size), MSG_NOSIGNAL) == size;
    }
    ::close(descriptor);
    return delivered;
}

bool SingleInstanceLock::takeRaiseRequest()
{
    if (listenerDescriptor < 0)
        return false;
    ++callCount;
    // A bounded number of new connections per call, so a flood cannot stall a frame.
    for (int attempt = 0; attempt < kAcceptsPerCall && pending.size() < kMaxPending; ++attempt) {
        int client = ::accept4(listenerDescriptor, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (client < 0)
            break;
        pending.push_back({client, callCount});
    }
    bool requested = false;
    for (size_t i = 0; i < pending.size();) {
        char buffer[16] = {};
        ssize_t size = ::recv(pending[i].descriptor, buffer, sizeof buffer - 1, MSG_DONTWAIT);
        bool waiting = size < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR);
        if (size > 0 && std::strncmp(buffer, kRaiseRequest, sizeof kRaiseRequest - 1) == 0)
            requested = true;
        // A caller that stays silent for long is dropped; one request per connection.
        if (waiting && callCount - pending[i].acceptedAtCall < kSilentCallsAllowed) {
            ++i;
            continue;
        }
        ::close(pending[i].descriptor);
        pending.erase(pending.begin() + static_cast<std::ptrdiff_t>(i));
    }
    return requested;
}

void SingleInstanceLock::closePending()
{
    for (const PendingClient& client : pending)
        ::close(client.descriptor);
    pending.clear();
}
