#include "host/SingleInstanceLock.h"

#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
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

// A fixed hash (64-bit FNV-1a), so that builds of any compiler derive the same name.
uint64_t stableHash(const std::string& text)
{
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

// Copies may spell one data folder differently (a link, "..", a doubled
// slash); its real path makes them agree on the socket.
std::string realSocketPath(const std::string& socketPath)
{
    size_t slash = socketPath.find_last_of('/');
    if (slash == std::string::npos)
        return socketPath;
    std::string folder = slash == 0 ? std::string("/") : socketPath.substr(0, slash);
    char* resolved = ::realpath(folder.c_str(), nullptr);
    if (!resolved)
        return socketPath;
    std::string real = resolved;
    std::free(resolved);
    if (real != "/")
        real += "/";
    return real + socketPath.substr(slash + 1);
}

struct SocketAddress {
    sockaddr_un address;
    socklen_t length;
    // The socket file, empty for a name in the abstract namespace.
    std::string file;
};

// A path too long for a socket address uses the abstract namespace under a
// name derived from the real path, which every copy computes alike.
SocketAddress addressFor(const std::string& socketPath, const std::string& lockName)
{
    SocketAddress result;
    sockaddr_un& address = result.address;
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    std::string path = realSocketPath(socketPath);
    if (path.size() < sizeof address.sun_path) {
        std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
        result.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size() + 1);
        result.file = path;
        return result;
    }
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(stableHash(path)));
    std::string name = lockName.substr(0, 64) + "-" + hash;
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    result.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    return result;
}

} // namespace

SingleInstanceLock::SingleInstanceLock(std::string name, std::string dataFolder)
    : lockName(safeFileName(name))
{
    std::string folder = dataFolder.empty() ? makerFolderUnder(getDataHome()) : dataFolder;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    std::string base = folder + "/" + lockName;
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
    SocketAddress address = addressFor(socketPath, lockName);
    // Only the lock holder gets here, so a socket file left by a crashed copy
    // can be removed safely.
    if (!address.file.empty())
        ::unlink(address.file.c_str());
    int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (descriptor < 0) {
        hostLog("single instance: no socket: %s", std::strerror(errno));
        return;
    }
    if (::bind(descriptor, reinterpret_cast<sockaddr*>(&address.address), address.length) != 0 ||
        ::listen(descriptor, 4) != 0) {
        hostLog("single instance: cannot listen on %s: %s", socketPath.c_str(), std::strerror(errno));
        ::close(descriptor);
        return;
    }
    listenerDescriptor = descriptor;
    boundSocketFile = address.file;
}

void SingleInstanceLock::release()
{
    closePending();
    if (listenerDescriptor >= 0) {
        ::close(listenerDescriptor);
        listenerDescriptor = -1;
        if (!boundSocketFile.empty())
            ::unlink(boundSocketFile.c_str());
        boundSocketFile.clear();
    }
    if (lockDescriptor >= 0) {
        ::close(lockDescriptor);
        lockDescriptor = -1;
    }
}

int SingleInstanceLock::connectToRunningCopy() const
{
    SocketAddress address = addressFor(socketPath, lockName);
    // Not blocking: a running copy that has stopped accepting (its queue
    // full) must not hang the copy that asks.
    int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (descriptor < 0)
        return -1;
    if (::connect(descriptor, reinterpret_cast<sockaddr*>(&address.address), address.length) != 0) {
        ::close(descriptor);
        return -1;
    }
    int flags = ::fcntl(descriptor, F_GETFL);
    if (flags >= 0)
        ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
    return descriptor;
}

bool SingleInstanceLock::requestRaise()
{
    int descriptor = connectToRunningCopy();
    if (descriptor < 0)
        return false;
    ssize_t size = static_cast<ssize_t>(sizeof kRaiseRequest - 1);
    // A few bytes into a fresh connection's empty buffer: this never waits.
    bool delivered = ::send(descriptor, kRaiseRequest, static_cast<size_t>(size), MSG_NOSIGNAL | MSG_DONTWAIT) == size;
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
