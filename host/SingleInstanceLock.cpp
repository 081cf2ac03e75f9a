#include "host/SingleInstanceLock.h"

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "host/Folders.h"
#include "host/HostLog.h"

namespace {

const char kRaiseRequest[] = "raise\n";

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
    bool requested = false;
    // A bounded number of connections per call, so a flood cannot stall a frame.
    for (int attempt = 0; attempt < 8; ++attempt) {
        int client = ::accept4(listenerDescriptor, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            break;
        // The caller writes right after connecting; wait briefly for it.
        pollfd waiting{client, POLLIN, 0};
        char buffer[16] = {};
        if (::poll(&waiting, 1, 200) > 0) {
            ssize_t size = ::recv(client, buffer, sizeof buffer - 1, MSG_DONTWAIT);
            if (size > 0 && std::strncmp(buffer, kRaiseRequest, sizeof kRaiseRequest - 1) == 0)
                requested = true;
        }
        ::close(client);
    }
    return requested;
}
